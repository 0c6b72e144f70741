#pragma once
// Registered messages the buttons send to their parent window, registered by
// static initialisation before start-up.
#include <windows.h>

// The mouse entered a button: wParam timeGetTime(), lParam the command id.
extern const UINT WM_BUTTON_BEGIN_MOUSE_TRACK;
// The mouse left a button (or the button went while tracked); same parameters.
extern const UINT WM_BUTTON_LEAVE_MOUSE_TRACK;
// An alpha button changed state: the parent repaints it (wParam 0, lParam 0).
extern const UINT WM_DRAW_ALPHA_IMAGE;

// The header icon button's command: choose the POI icon.
constexpr UINT ID_ICON_SELECT = 32821;

// Posts a button's command to the window in front: the main window's last
// active popup (the main window or the modal dialog before it), or the
// button's own top-level window when the program has no main window yet.
// WM_SYSCOMMAND when sysCommand is set, else WM_COMMAND; wParam id, lParam 0.
void PostButtonCommand(HWND button, UINT id, BOOL sysCommand);
