#pragma once
// The program's registered window messages, each registered once by static
// initialisation before start-up. Two registrations of one name anywhere in the
// process give the same number.
#include <windows.h>

// Idle pass: the application sends it to the main window, which hands it on
// to its panes and views to refresh their buttons. The name ends in a blank.
extern const UINT WM_USER_IDLE;
// An alpha button changed state: the parent repaints it (wParam 0, lParam 0).
extern const UINT WM_DRAW_ALPHA_IMAGE;
// The mouse entered a button: wParam timeGetTime(), lParam the command id.
extern const UINT WM_BUTTON_BEGIN_MOUSE_TRACK;
// The mouse left a button (or the button went while tracked); same parameters.
extern const UINT WM_BUTTON_LEAVE_MOUSE_TRACK;
// An in-place editor ended.
extern const UINT WM_END_EDIT_LABEL;
// A spin edit's value changed / the focus moved out of its field.
extern const UINT WM_SPIN_VALUE_CHANGE;
extern const UINT WM_SPIN_FOCUS_MOVE;
// A watched shell folder changed.
extern const UINT WM_SHELL_CHANGE_NOTIFY;
// Map look-up results and failures.
extern const UINT WM_ADD_GOOGLE_DATA;
extern const UINT WM_ERROR_GOOGLE_DATA;
