#pragma once
#include "classlib/Afx.h"
#include "classlib/CDialog.h"

// The dialog item that marks where a skinned control goes, and its rectangle in
// the dialog's client coordinates; NULL when the dialog has no such item.
HWND FindPlaceholder(CDialog* dialog, UINT id, CRect& rect);
