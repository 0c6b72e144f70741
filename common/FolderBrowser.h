#pragma once
// The shell's folder dialog with the free space of the selected drive.
#include <windows.h>

#include "classlib/CString.h"

// path: the initial selection (used when it exists) and the result. TRUE when
// the user chose a file-system folder: path is then its path with a trailing
// backslash. FALSE otherwise, with path empty.
// freeSpace: the free-space line with "%d" for the megabytes (no line when
// null). keepClear: a screen rectangle the dialog must not cover (the caller's
// commands), or null for the system's place.
BOOL BrowseForFolder(WCHAR path[MAX_PATH], HWND owner, LPCWSTR title, LPCWSTR freeSpace = nullptr,
                     const RECT* keepClear = nullptr);

// Where a window of size w x h goes to stay clear of keepClear inside the work
// area: below it, else above, else right, else left of it, each as near to
// its left or top edge as the work area allows; at its place when none fits.
RECT PlaceClearOf(const RECT& window, const RECT& keepClear, const RECT& workArea);

// The free-space line for megabytes: each "%d" of format becomes the number.
CString FreeSpaceText(LPCWSTR format, ULONGLONG megabytes);
