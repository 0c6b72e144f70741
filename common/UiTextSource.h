#pragma once
// The language's UI strings as the services see them. The core hands its table
// over when the program starts (tests hand their own), so that the services
// never read the global object above them.

#include "classlib/Afx.h"

// UI string n, or null when there is no such line.
using UiTextLookup = const wchar_t* (*)(int n);

void SetUiTextLookup(UiTextLookup lookup);
// UI string n, or null when no table was handed over or it has no such line.
const wchar_t* UiTextOrNull(int n);
// UI string n; like every lookup of the table, CInvalidArgException when
// there is no such line.
CString UiTextAt(int n);
