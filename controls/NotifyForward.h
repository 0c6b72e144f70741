#pragma once
// Panes that hold a list or header pass its notifications on to the view.
#include "classlib/Afx.h"

// Sends the WM_NOTIFY pane received to pane's parent and returns its answer in
// result; FALSE (not handled) when pane has no parent.
BOOL ForwardNotifyToParent(CWnd* pane, WPARAM wp, LPARAM lp, LRESULT* result);
