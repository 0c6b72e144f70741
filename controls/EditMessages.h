#pragma once
// Messages of the in-place cell editors, registered by static initialisation
// before start-up.
#include <windows.h>

// Posted to the list (or tree) by its editor window: wParam TRUE cancel, FALSE
// commit; lParam the cell, row in the high word and column in the low word.
extern const UINT WM_END_EDIT_LABEL;

// Posted by an editor to its list after it gave the focus back: move the
// current column (wParam -1 left, +1 right) and edit the new cell.
constexpr UINT WM_EDITOR_MOVE_COLUMN = WM_USER + 0x121;
