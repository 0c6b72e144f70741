#pragma once
// Small file helpers of the documents' card writers.
#include <windows.h>

#include "classlib/Afx.h"

// Creates folder and any missing parents; an existing folder is success.
BOOL CreateFolderPath(const wchar_t* folder);
// Writes bytes to path through a temporary file beside it, so that a failed
// write (a full or pulled card) leaves the old file as it was and no partial
// file behind.
BOOL WriteFileReplacing(const wchar_t* path, const void* data, DWORD size);
