#pragma once
// What the in-place cell editors post to their list (the registered
// WM_END_EDIT_LABEL is in core/RegisteredMessages.h: wParam TRUE cancel, FALSE
// commit; lParam the cell, row in the high word and column in the low word).
#include <windows.h>

#include "core/RegisteredMessages.h"

// Posted by an editor to its list after it gave the focus back: move the
// current column (wParam -1 left, +1 right) and edit the new cell.
constexpr UINT WM_EDITOR_MOVE_COLUMN = WM_USER + 0x121;
