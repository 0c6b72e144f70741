#pragma once
// The card's list of installed apps (Oskra-APPS\Applist.dat), which the unit
// reads: fixed 1538-byte records without a header.
#include <string>

#include "classlib/Afx.h"

constexpr int APPLIST_RECORD_SIZE = 1538;

struct APPLIST_ENTRY {
    CString name;
    CString path;  // program file relative to the card root
    BOOL flag = FALSE;
    CString version;
};
using CAppListEntries = CArray<APPLIST_ENTRY>;

// An empty file is an empty list. FALSE for a length that is not a whole number of records, or
// a text without its terminator (a damaged file).
BOOL ParseAppList(const std::string& bytes, CAppListEntries& entries);
// Texts longer than 255 characters are cut.
std::string BuildAppList(const CAppListEntries& entries);
// The app id an entry's path names: the folder that holds the program file.
CString AppListEntryId(const APPLIST_ENTRY& entry);
// The index of the first entry of the app id, or -1.
int FindAppListEntry(const CAppListEntries& entries, const CString& id);
