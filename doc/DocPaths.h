#pragma once
// Folders and file names of the documents' card writers.
#include <windows.h>

#include "classlib/Afx.h"

// Creates folder and any missing parents; an existing folder is success.
BOOL CreateFolderPath(const wchar_t* folder);
// folder with a trailing backslash.
CString WithBackslash(const wchar_t* folder);
// TRUE for a name Windows keeps for devices (CON, PRN, AUX, NUL, COM1-9,
// LPT1-9, also with a superscript digit), with or without an extension.
BOOL IsReservedFileName(const wchar_t* name);
