#pragma once
// Shared helpers of command-update handlers and views.
#include "classlib/Afx.h"

// Sets the text of a command's element; a menu item keeps its type (owner
// drawn or not) and its item data.
void SetCmdUIText(CCmdUI* ui, const wchar_t* text);
// WM_LBUTTONDOWN: the clicked window takes the focus, then default processing.
void FocusOnLButtonDown(CWnd* wnd);
