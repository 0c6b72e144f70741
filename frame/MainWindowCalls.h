#pragma once
// What a view asks of the main window without knowing its class.
#include "classlib/Afx.h"

// Sends the main window a menu command (WM_COMMAND); nothing without one.
void SendToMain(UINT command);
// TRUE while the main window is minimised: panes skip their painting then.
bool MainWindowMinimised();
