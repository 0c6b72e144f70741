#pragma once
// The shell's folder dialog with the free space of the selected drive.
#include <windows.h>

// path: the initial selection (used when it exists) and the result. TRUE when
// the user chose a file-system folder: path is then its path with a trailing
// backslash. FALSE otherwise, with path empty.
BOOL BrowseForFolder(WCHAR path[MAX_PATH], HWND owner, LPCWSTR title);
