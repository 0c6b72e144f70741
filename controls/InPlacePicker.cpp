#include "controls/InPlacePicker.h"

BEGIN_MESSAGE_MAP(CInPlacePicker, CWnd)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_SYSKEYDOWN()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

void CInPlacePicker::SetCurSel(int index)
{
    // A value beyond the items (say, read from a file) selects none.
    if (index < 0 || index >= ItemCount())
        index = -1;
    if (m_hWnd)
        SetHot(index);
    else
        m_hotIndex = index;
}

void CInPlacePicker::SetHot(int index)
{
    if (index == m_hotIndex)
        return;
    const int old = m_hotIndex;
    m_hotIndex = index;
    if (m_hWnd)
        HotChanged(old);
}

BOOL CInPlacePicker::AttachWindow(HWND wnd)
{
    if (!SubclassWindow(wnd))
        return FALSE;
    ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
    const DWORD pos = GetMessagePos();
    m_lastPoint = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ScreenToClient(&m_lastPoint);
    m_pressed = FALSE;
    return TRUE;
}

void CInPlacePicker::Detach()
{
    if (m_tracking && m_hWnd)
        TrackMouseEvent(TME_LEAVE | TME_CANCEL);
    m_tracking = FALSE;
    if (m_hWnd)
        UnsubclassWindow();
}

int CInPlacePicker::ItemAt(CPoint pt) const
{
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(pt))
        return -1;
    const CArray<RECT>& rects = ItemRects();
    for (int i = 0; i < rects.GetSize(); ++i)
        if (PtInRect(&rects[i], pt))
            return i;
    return -1;
}

void CInPlacePicker::OnMouseMove(UINT, CPoint pt)
{
    if (!m_tracking)
        m_tracking = TrackMouseEvent(TME_LEAVE);
    if (pt != m_lastPoint) {
        m_lastPoint = pt;
        SetHot(ItemAt(pt));
    }
}

void CInPlacePicker::OnMouseLeave()
{
    m_tracking = FALSE;
    SetHot(-1);
}

void CInPlacePicker::ButtonDown(CPoint pt)
{
    m_pressed = TRUE;
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(pt))
        PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
}

void CInPlacePicker::ButtonUp(CPoint pt)
{
    if (!m_pressed)
        return;
    m_pressed = FALSE;
    const int item = ItemAt(pt);
    if (item >= 0) {
        SetHot(item);
        PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    }
}

void CInPlacePicker::OnKeyDown(UINT key, UINT, UINT)
{
    const int count = ItemCount();
    switch (key) {
    case VK_HOME:
        if (count > 0)
            SetHot(0);
        break;
    case VK_END:
        if (count > 0)
            SetHot(count - 1);
        break;
    case VK_ESCAPE:
        SetHot(-1);
        Default();
        break;
    default:
        if (!MoveKey(key))
            Default();  // Enter goes on to the list's editor procedure
        break;
    }
}

void CInPlacePicker::OnSysKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_MENU)
        PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    else
        Default();
}
