#pragma once
// Registered messages of the frame that the shared list does not hold yet.
#include <windows.h>

// Idle pass: the application sends it to the main window, which hands it on
// to its panes and views to refresh their buttons. The name ends in a blank.
extern const UINT WM_USER_IDLE;
// A watched shell folder changed (accepted and ignored by the main window).
extern const UINT WM_SHELL_CHANGE_NOTIFY;
