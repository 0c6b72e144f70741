#include "views/device/IconGridKeys.h"

BOOL PassKeyToGrid(CCustomThumbCtrl& grid, const MSG* msg)
{
    if (!grid.m_hWnd || msg->hwnd == grid.m_hWnd)
        return FALSE;
    grid.SetFocus();
    grid.SendMessage(WM_KEYDOWN, msg->wParam, msg->lParam);
    switch (msg->wParam) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
        return TRUE;
    default: return FALSE;
    }
}
