#pragma once
// Value forms of the settings file: "l,t,r,b" rectangles and comma lists of ints.
#include <windows.h>

#include "classlib/Afx.h"

RECT ParseRectText(const wchar_t* text);
CString FormatRectText(int left, int top, int right, int bottom);
// The comma-separated fields as the list; FALSE (and an empty list) when the
// text is empty or a field is not a number from 0 to 65535, so that the
// caller falls back to its default.
BOOL ParseIntListText(const wchar_t* text, CDWordArray& values);
// A splitter ratio stored as ten-thousandths: FALSE unless 0 to 10000.
BOOL ParseRatioText(const wchar_t* text, float& ratio);
// The folder when it is a full path (a drive or a UNC share), else fallback:
// data folders are never relative to the current folder.
CString FullFolderOr(const wchar_t* folder, const wchar_t* fallback);
// The web base address: an http or https address, ending in "/" (added when
// missing); anything else (empty, another scheme) gives fallback.
CString WebBaseOr(const wchar_t* text, const wchar_t* fallback);
CString FormatIntListText(const CDWordArray& values);
