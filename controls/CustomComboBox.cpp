#include "controls/CustomComboBox.h"

#include "classlib/CMemDC.h"
#include "common/ButtonStrips.h"
#include "common/Utility.h"

BEGIN_MESSAGE_MAP(CCustomComboBox, CComboBox)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_WM_MOUSEWHEEL()
    ON_CONTROL_REFLECT(CBN_SETFOCUS, OnSetFocusReflect)
    ON_CONTROL_REFLECT(CBN_KILLFOCUS, OnKillFocusReflect)
    ON_CONTROL_REFLECT(CBN_DROPDOWN, OnDropDownReflect)
    ON_CONTROL_REFLECT(CBN_CLOSEUP, OnCloseUpReflect)
END_MESSAGE_MAP()

void DrawTwoColumnText(HDC dc, const wchar_t* text, const RECT& rect)
{
    const UINT flags = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
    const wchar_t* hash = wcschr(text, L'#');
    RECT rc = rect;
    if (!hash) {
        DrawTextW(dc, text, -1, &rc, flags);
        return;
    }
    DrawTextW(dc, text, static_cast<int>(hash - text), &rc, flags);
    RECT number = rect;
    number.right = number.left + CCustomComboBox::NumberColumnWidth;
    DrawTextW(dc, hash + 1, -1, &number, flags | DT_RIGHT);
}

CCustomComboBox::CCustomComboBox() = default;

CCustomComboBox::~CCustomComboBox()
{
    FreeDibImage(&m_normal);
    FreeDibImage(&m_hotImage);
    FreeDibImage(&m_pressed);
    if (m_font)
        DeleteObject(m_font);
}

int CCustomComboBox::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!LoadDibFromPack(L"combo_normal_btn.bmp", &m_normal) || !LoadDibFromPack(L"combo_hot_btn.bmp", &m_hotImage) ||
        !LoadDibFromPack(L"combo_pressed_btn.bmp", &m_pressed))
        return -1;
    if (!m_font)
        CreateTahomaFont(FALSE, &m_font, 100, FALSE);
    return 0;
}

void CCustomComboBox::OnDestroy()
{
    Default();
    if (m_font) {
        DeleteObject(m_font);
        m_font = nullptr;
    }
}

void CCustomComboBox::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    mis->itemWidth = ItemWidth;
    mis->itemHeight = ItemHeight;
}

void CCustomComboBox::DrawItem(LPDRAWITEMSTRUCT dis)
{
    // The selection field is the face, which paints itself.
    if (dis->itemState & ODS_COMBOBOXEDIT) {
        Invalidate(FALSE);
        return;
    }
    HDC dc = dis->hDC;
    HGDIOBJ oldFont = m_font ? SelectObject(dc, m_font) : nullptr;
    bool filled = false;
    if (dis->itemAction & ODA_SELECT) {
        HBRUSH b = CreateSolidBrush((dis->itemState & ODS_SELECTED) ? kItemSelected : kItem);
        FillRect(dc, &dis->rcItem, b);
        DeleteObject(b);
        filled = true;
    } else if (dis->itemAction & ODA_DRAWENTIRE) {
        HBRUSH b = CreateSolidBrush((dis->itemState & ODS_SELECTED) ? kItemSelected : kItem);
        FillRect(dc, &dis->rcItem, b);
        DeleteObject(b);
        filled = true;
    }
    if (filled) {
        SetTextColor(dc, kItemText);
        SetBkMode(dc, TRANSPARENT);
        // An empty list draws item (UINT)-1: compare unsigned.
        if (dis->itemID < static_cast<UINT>(GetCount())) {
            CString text;
            GetLBText(static_cast<int>(dis->itemID), text);
            RECT rc = dis->rcItem;
            OffsetRect(&rc, 2, 0);
            DrawTwoColumnText(dc, text, rc);
        }
    }
    if (oldFont)
        SelectObject(dc, oldFont);
}

void CCustomComboBox::DrawFace(HDC dc)
{
    CRect client;
    GetClientRect(&client);
    HGDIOBJ oldFont = m_font ? SelectObject(dc, m_font) : nullptr;
    CRect inner = client;
    inner.DeflateRect(1, 1);

    CRect button(inner.right - 17, inner.top, inner.right, inner.bottom);
    const DIB_IMAGE& pic = m_dropped ? m_pressed : m_hot ? m_hotImage : m_normal;
    if (pic.bitmap) {
        SetStretchBltMode(dc, COLORONCOLOR);
        DrawDibEx(&pic, dc, button.left, button.top, button.Width(), button.Height(), 0, 0, pic.width, pic.height);
    }

    CRect text = inner;
    text.right -= m_normal.width;
    HBRUSH b = CreateSolidBrush(m_focused ? kFaceFocused : kFace);
    FillRect(dc, &text, b);
    DeleteObject(b);

    text.DeflateRect(1, 1);
    text.OffsetRect(5, 0);
    CString caption;
    GetWindowText(caption);
    SetTextColor(dc, m_focused ? kFaceTextFocused : kFaceText);
    SetBkMode(dc, TRANSPARENT);
    DrawTwoColumnText(dc, caption, text);

    DrawFrameLines(&client, dc);
    if (oldFont)
        SelectObject(dc, oldFont);
}

void CCustomComboBox::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CMemDC mem(&dc, client);
    DrawFace(mem);
}

void CCustomComboBox::OnMouseMove(UINT, CPoint pt)
{
    CRect inner;
    GetClientRect(&inner);
    inner.DeflateRect(1, 1);
    const BOOL hot = inner.PtInRect(pt);
    if (hot != m_hot) {
        m_hot = hot;
        Invalidate(FALSE);
    }
    // The hot look goes when the mouse leaves the control.
    if (!m_tracking) {
        TrackMouseEvent(TME_LEAVE);
        m_tracking = true;
    }
    Default();
}

LRESULT CCustomComboBox::OnMouseLeave(WPARAM, LPARAM)
{
    m_tracking = false;
    if (m_hot) {
        m_hot = FALSE;
        Invalidate(FALSE);
    }
    return Default();
}

BOOL CCustomComboBox::OnMouseWheel(UINT, short delta, CPoint)
{
    if (m_dropped)
        return static_cast<BOOL>(Default());  // the open list scrolls itself
    const int count = GetCount();
    if (count <= 0)
        return TRUE;
    const int current = GetCurSel();
    int next = delta <= 0 ? current + 1 : current - 1;
    if (next > count - 1)
        next = count - 1;
    if (next < 0)
        next = 0;
    // One notch, one item: the default processing would move it once more.
    if (next != current) {
        SetCurSel(next);
        ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(m_hWnd));
        Invalidate(FALSE);
    }
    return TRUE;
}

void CCustomComboBox::OnSetFocusReflect()
{
    m_focused = TRUE;
    Invalidate(FALSE);
}

void CCustomComboBox::OnKillFocusReflect()
{
    m_focused = FALSE;
    Invalidate(FALSE);
}

void CCustomComboBox::OnDropDownReflect()
{
    m_dropped = TRUE;
    Invalidate(FALSE);
}

void CCustomComboBox::OnCloseUpReflect()
{
    m_dropped = FALSE;
    Invalidate(FALSE);
}
