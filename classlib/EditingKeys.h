#pragma once
// The editing keys of the field being typed in: Delete and Ctrl+A, C, V, X, Z
// and Y pressed while an edit field or a list's or tree's cell editor has the
// focus belong to it. The pre-translation walk offers them to that window
// alone and then dispatches them to it, so no parent's shortcut (a view's
// Delete, Copy, Undo, the main window's accelerators) takes them instead.
#include <windows.h>

// Marks a window that is no edit field (a choice, icon, date or time cell
// editor) as a cell editor while it is open; the mark goes with FALSE.
void AfxSetCellEditor(HWND wnd, BOOL editor);

namespace afx {
// Whether msg is an editing key pressed in an edit field or a cell editor.
bool IsOwnEditingKey(const MSG& msg);
// What a plain edit field does not do by itself: Ctrl+A selects its whole
// text. TRUE when the key was carried out here (it is then not dispatched).
BOOL CarryOutEditingKey(const MSG& msg);
}  // namespace afx
