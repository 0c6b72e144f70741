#pragma once
// Value forms of the settings file: "l,t,r,b" rectangles and comma lists of ints.
#include <windows.h>

#include "classlib/Afx.h"

RECT ParseRectText(const wchar_t* text);
CString FormatRectText(int left, int top, int right, int bottom);
// Appends every comma-separated field as an int; an empty text gives one 0.
void ParseIntListText(const wchar_t* text, CDWordArray& values);
CString FormatIntListText(const CDWordArray& values);
