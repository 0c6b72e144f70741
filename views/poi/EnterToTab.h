#pragma once
// Enter in a dialog's fields moves to the next field (the multi-line ones too)
// and never presses OK: WM_KEYDOWN VK_RETURN becomes VK_TAB before the dialog
// keys are handled. Call first in PreTranslateMessage.
#include <windows.h>

inline void PreTranslateEnterToTab(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
        msg->wParam = VK_TAB;
}
