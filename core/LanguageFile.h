#pragma once
#include "classlib/Afx.h"

// A complete language file has UI strings 0 to 430.
constexpr INT_PTR kUiStringCount = 436;

// Reads a language file into its lines (line n is UI string n), whatever their
// count. FALSE when it cannot be read or is not a scrambled UTF-16 text.
BOOL ParseLanguageFile(const wchar_t* path, CStringArray& lines);
// UI string n of the loaded language; empty when the file has no such line.
CString UiText(int n);
