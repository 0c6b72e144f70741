#pragma once
// A dialog's template button made a skinned one.
#include "classlib/Afx.h"
#include "controls/CustomButton.h"

// The label drawn on the standard 146 x 38 button picture (its font fitted
// from maxPercent down), the template item id taken over, placed at (x, y)
// with round corners. FALSE when the picture or the button could not be made.
BOOL MakeDialogButton(CCustomButton& button, CDialog* dialog, UINT id, const CString& label, int x, int y,
                      int maxPercent, UINT extraFlags = 0);
