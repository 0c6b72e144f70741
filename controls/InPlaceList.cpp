#include "controls/InPlaceList.h"

#include <algorithm>

#include "controls/EditMessages.h"
#include "controls/InPlacePlacement.h"

BEGIN_MESSAGE_MAP(CInPlaceList, CInPlacePicker)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_RBUTTONUP()
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
    CInPlacePicker::SetCurSel(index);
    if (!m_hWnd)
        m_selIndex = m_hotIndex;
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
    if (!AttachWindow(wnd))
        return FALSE;
    Layout();
    return TRUE;
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

BOOL CInPlaceList::MoveKey(UINT key)
{
    const int count = GetCount();
    switch (key) {
    case VK_UP:
        if (count > 0)
            SetHot(m_hotIndex <= 0 ? count - 1 : m_hotIndex - 1);
        return TRUE;
    case VK_DOWN:
        if (count > 0)
            SetHot(m_hotIndex < 0 || m_hotIndex >= count - 1 ? 0 : m_hotIndex + 1);
        return TRUE;
    case VK_TAB:
    case VK_LEFT:
    case VK_RIGHT:
        PostEditorColumnMove(m_hWnd, key == VK_LEFT || (key == VK_TAB && GetKeyState(VK_SHIFT) < 0) ? -1 : 1);
        return TRUE;
    default:
        return FALSE;
    }
}
