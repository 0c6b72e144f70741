#pragma once
// The contacts of the Windows Address Book, read through WABOpen of the library
// that the registry names.
#include "classlib/Afx.h"

// Fields of one contact row, in row order.
enum WabField {
    WAB_DISPLAY_NAME, WAB_HOME_ADDRESS, WAB_HOME_PHONE, WAB_MOBILE_PHONE, WAB_COMPANY,
    WAB_BUSINESS_ADDRESS, WAB_BUSINESS_PHONE, WAB_COMMENT, WAB_EMAIL, WAB_FIELD_COUNT
};

// The library path of HKLM "Software\Microsoft\WAB\DLLPath" (default value) with
// one %NAME% reference expanded; empty when the key or value is missing.
CString GetWabDllPath();

// Appends one row of WAB_FIELD_COUNT texts per contact. TRUE on success, also
// when no address book is installed (nothing appended); FALSE when the address
// book cannot be opened or read.
BOOL ReadWabContacts(CArray<CStringArray>& rows);
