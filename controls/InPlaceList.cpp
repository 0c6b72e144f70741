#include "controls/InPlaceList.h"

#include <algorithm>

#include "controls/EditMessages.h"
#include "controls/InPlacePlacement.h"

BEGIN_MESSAGE_MAP(CInPlaceList, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_SYSKEYDOWN()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

void CInPlaceList::ResetContent()
{
    m_choices.RemoveAll();
    m_itemRects.RemoveAll();
    m_pFont = nullptr;
    m_tracking = FALSE;
    m_hotIndex = m_selIndex = -1;
}

void CInPlaceList::SetCurSel(int index)
{
    // A value beyond the choices (say, read from a file) selects none.
    if (index < 0 || index >= GetCount())
        index = -1;
    if (m_hWnd) {
        if (index != m_hotIndex)
            SetHot(index);
    } else {
        m_hotIndex = m_selIndex = index;
    }
}

void CInPlaceList::SetHot(int index)
{
    if (index == m_hotIndex)
        return;
    m_hotIndex = index;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CInPlaceList::SetFont(CFont* font)
{
    m_pFont = font;
    if (m_hWnd) {
        CWnd::SetFont(font, TRUE);
        Layout();
    }
}

BOOL CInPlaceList::AttachTo(HWND wnd)
{
    if (!SubclassWindow(wnd))
        return FALSE;
    ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
    const DWORD pos = GetMessagePos();
    m_lastPoint = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ScreenToClient(&m_lastPoint);
    m_pressed = FALSE;
    Layout();
    return TRUE;
}

void CInPlaceList::Detach()
{
    if (m_tracking && m_hWnd)
        TrackMouseEvent(TME_LEAVE | TME_CANCEL);
    m_tracking = FALSE;
    if (m_hWnd)
        UnsubclassWindow();
}

void CInPlaceList::Layout()
{
    if (!m_hWnd)
        return;
    HFONT font = m_pFont ? static_cast<HFONT>(*m_pFont) : GetFontHandle();
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, font);
    const CRect cell(m_cellRect);
    int w = cell.Width(), y = 0;
    m_itemRects.RemoveAll();
    for (int i = 0; i < GetCount(); ++i) {
        const CString& text = m_choices[i];
        SIZE size{0, 0};
        const wchar_t* measured = text.IsEmpty() ? L" " : text.GetString();
        GetTextExtentPoint32W(dc, measured, lstrlenW(measured), &size);
        w = std::max<int>(w, size.cx + 4);
        m_itemRects.Add(RECT{0, y, 0, y + size.cy + 2});
        y += size.cy + 2;
    }
    SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    for (auto& rc : m_itemRects)
        rc.right = w;
    const int height = y + 2;
    HWND owner = ::GetParent(m_hWnd);
    const POINT at = PlaceInPlacePopup(owner, m_cellRect, SIZE{w + 2, height});
    SetWindowPos(static_cast<HWND>(nullptr), at.x, at.y, w + 2, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
}

int CInPlaceList::ChoiceAt(CPoint pt) const
{
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(pt))
        return -1;
    for (int i = 0; i < m_itemRects.GetSize(); ++i)
        if (PtInRect(&m_itemRects[i], pt))
            return i;
    return -1;
}

void CInPlaceList::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(255, 255, 255));
    HFONT font = m_pFont ? static_cast<HFONT>(*m_pFont) : GetFontHandle();
    HGDIOBJ old = dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    const UINT align = m_align == 1 ? DT_RIGHT : m_align == 2 ? DT_CENTER : DT_LEFT;
    for (int i = 0; i < GetCount() && i < m_itemRects.GetSize(); ++i) {
        CRect rc(m_itemRects[i]);
        if (i == m_hotIndex) {
            CRect inner = rc;
            inner.DeflateRect(1, 1);
            dc.FillSolidRect(&inner, 0xC19379);
            dc.SetTextColor(0xFDFDFD);
        } else {
            dc.SetTextColor(0x493B30);
        }
        CRect text = rc;
        text.DeflateRect(2, 1);
        dc.DrawText(m_choices[i], &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
        if (i == m_selIndex) {
            text.OffsetRect(1, 0);  // the value the edit started with, emphasised
            dc.DrawText(m_choices[i], &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
        }
    }
    dc.SelectObject(old);
}

void CInPlaceList::OnMouseMove(UINT, CPoint pt)
{
    if (!m_tracking)
        m_tracking = TrackMouseEvent(TME_LEAVE);
    if (pt != m_lastPoint) {
        m_lastPoint = pt;
        SetHot(ChoiceAt(pt));
    }
}

void CInPlaceList::OnMouseLeave()
{
    m_tracking = FALSE;
    SetHot(-1);
}

void CInPlaceList::ButtonDown(CPoint pt)
{
    m_pressed = TRUE;
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(pt))
        PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
}

void CInPlaceList::ButtonUp(CPoint pt)
{
    if (!m_pressed)
        return;
    m_pressed = FALSE;
    const int choice = ChoiceAt(pt);
    if (choice >= 0) {
        SetHot(choice);
        PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    }
}

void CInPlaceList::OnKeyDown(UINT key, UINT, UINT)
{
    const int count = GetCount();
    switch (key) {
    case VK_UP:
        if (count > 0)
            SetHot(m_hotIndex <= 0 ? count - 1 : m_hotIndex - 1);
        break;
    case VK_DOWN:
        if (count > 0)
            SetHot(m_hotIndex < 0 || m_hotIndex >= count - 1 ? 0 : m_hotIndex + 1);
        break;
    case VK_HOME:
        if (count > 0)
            SetHot(0);
        break;
    case VK_END:
        if (count > 0)
            SetHot(count - 1);
        break;
    case VK_TAB:
    case VK_LEFT:
    case VK_RIGHT: {
        const int step = key == VK_LEFT || (key == VK_TAB && GetKeyState(VK_SHIFT) < 0) ? -1 : 1;
        HWND owner = ::GetParent(m_hWnd);
        ::SetFocus(owner);  // the focus loss commits the edit
        ::PostMessageW(owner, WM_EDITOR_MOVE_COLUMN, static_cast<WPARAM>(step), 0);
        break;
    }
    case VK_ESCAPE:
        SetHot(-1);
        Default();
        break;
    default:
        Default();  // Enter goes on to the list's editor procedure
        break;
    }
}

void CInPlaceList::OnSysKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_MENU)
        PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    else
        Default();
}
