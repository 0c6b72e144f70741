#pragma once
// Saving a POI list (the list view and the feed reader): the file dialog for
// the KML file on the PC and the name proposed for it.
#include <windows.h>

#include "classlib/CString.h"

// The KML save dialog over folder, starting from path; FALSE when cancelled.
BOOL AskKmlSavePath(HWND owner, const wchar_t* folder, CString& path);
// The header's title as a file name, or the fallback when it cannot be one.
CString ProposedSaveName(const wchar_t* fallback);
