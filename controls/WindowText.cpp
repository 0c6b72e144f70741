#include "controls/WindowText.h"

LRESULT SetTextRepaintingParent(CWnd* label)
{
    const BOOL visible = label->IsWindowVisible();
    if (visible)
        label->ShowWindow(SW_HIDE);
    const LRESULT result = label->Default();
    if (HWND parent = ::GetParent(label->m_hWnd))
        ::UpdateWindow(parent);
    if (visible) {
        label->ShowWindow(SW_SHOWNA);
        label->UpdateWindow();
    }
    return result;
}
