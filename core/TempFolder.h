#pragma once
// Folders the program makes and removes under the user's temporary folder.
#include <windows.h>

#include "classlib/CString.h"

// The user's temporary folder joined with name, normalised, ending in a
// backslash. FALSE (path empty) unless the result lies strictly inside the
// temporary folder: a settings value such as "..\..\" or "C:\" never names a
// folder outside it.
BOOL TempSubfolder(const wchar_t* name, CString& path);
// A fresh empty folder "%TEMP%\$$$xxxx\" for a download, made by this call
// (a name already taken, by a file or a leftover folder, is skipped). FALSE
// when it cannot be made.
BOOL MakeDownloadFolder(CString& folder);
// TRUE when path lies strictly inside folder once both are made full ("." and
// ".." resolved, "/" read as "\\"): whole names are compared without case, so
// "C:\\Temp2" is not inside "C:\\Temp", and the folder itself is not inside.
BOOL PathInsideFolder(const wchar_t* path, const wchar_t* folder);
// PathInsideFolder for the user's temporary folder: what may be deleted there.
BOOL PathInsideTempFolder(const wchar_t* path);
