#pragma once
// Window text helper of the self-painted labels (AfxGetWindowText reads).
#include "classlib/CWnd.h"

// WM_SETTEXT of a label drawn over its parent's background: the label is
// hidden while the text changes and the parent repaints the area, so no part
// of the old text stays behind. Returns the default processing's result.
LRESULT SetTextRepaintingParent(CWnd* label);
