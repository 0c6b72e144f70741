#pragma once
// What the buttons send to the window in front and to their parent (the
// registered messages are in core/RegisteredMessages.h).
#include <windows.h>

#include "core/RegisteredMessages.h"

// The header icon button's command: choose the POI icon.
constexpr UINT ID_ICON_SELECT = 32821;

// Posts a button's command to the window in front: the main window's last
// active popup (the main window or the modal dialog before it), or the
// button's own top-level window when the program has no main window yet.
// WM_SYSCOMMAND when sysCommand is set, else WM_COMMAND; wParam id, lParam 0.
void PostButtonCommand(HWND button, UINT id, BOOL sysCommand);
