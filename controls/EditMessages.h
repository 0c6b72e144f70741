#pragma once
// What the in-place cell editors post to their list (the registered
// WM_END_EDIT_LABEL is in core/RegisteredMessages.h: wParam TRUE cancel, FALSE
// commit; lParam the cell, row in the high word and column in the low word).
#include <windows.h>

#include "core/RegisteredMessages.h"

// Posted by an editor to its list after it gave the focus back: move the
// current column (wParam -1 left, +1 right) and edit the new cell.
constexpr UINT WM_EDITOR_MOVE_COLUMN = WM_USER + 0x121;

// Gives the focus back to the editor's list (the focus loss commits the edit)
// and asks it to edit the cell step columns over (-1 left, +1 right).
inline void PostEditorColumnMove(HWND editor, int step)
{
    HWND owner = ::GetParent(editor);
    ::SetFocus(owner);
    ::PostMessageW(owner, WM_EDITOR_MOVE_COLUMN, static_cast<WPARAM>(step), 0);
}
