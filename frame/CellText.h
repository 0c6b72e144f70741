#pragma once
// A text typed into a list cell that goes to the unit: refused when the unit
// cannot show one of its characters, else cut to the field's length.
#include "classlib/CString.h"

enum { CellTextRefused = -1, CellTextOk = 0, CellTextCut = 1 };

// CellTextRefused (text untouched), CellTextCut (text cut to limit) or CellTextOk.
int CheckCellText(CString& text, int limit);
