#include "controls/WindowText.h"

CString GetWindowTextOf(HWND hwnd)
{
    CString text;
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length > 0) {
        wchar_t* buffer = text.GetBuffer(length + 1);
        const int got = ::GetWindowTextW(hwnd, buffer, length + 1);
        text.ReleaseBuffer(got);
    }
    return text;
}

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
