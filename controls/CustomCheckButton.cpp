#include "controls/CustomCheckButton.h"

#include "classlib/CMemDC.h"
#include "common/DibImage.h"
#include "common/ThemeLibrary.h"
#include "controls/DialogPlaceholder.h"
#include "controls/ParentBackground.h"
#include "controls/WindowText.h"

namespace {

// Radio pictures 0-5, check box pictures 6-11; within each: unchecked normal,
// pushed, hot, then checked normal, pushed, hot. The check box has no pushed
// pictures: its hot one stands in.
const wchar_t* const kImages[12] = {
    L"radio_unchecked.tga",    L"radio_unchecked_pressed.tga", L"radio_unchecked_hot.tga",
    L"radio_checked.tga",      L"radio_checked_pressed.tga",   L"radio_checked_hot.tga",
    L"checkbox_unchecked.tga", L"checkbox_unchecked_hot.tga",  L"checkbox_unchecked_hot.tga",
    L"checkbox_checked.tga",   L"checkbox_checked_hot.tga",    L"checkbox_checked_hot.tga",
};

}  // namespace

BEGIN_MESSAGE_MAP(CCustomCheckButton, CWnd)
    ON_MESSAGE(BM_GETCHECK, OnGetCheck)
    ON_MESSAGE(BM_SETCHECK, OnSetCheck)
    ON_MESSAGE(BM_GETSTATE, OnGetState)
    ON_MESSAGE(BM_SETSTATE, OnSetState)
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_WM_ENABLE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CCustomCheckButton::Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, AfxDefaultWndClass(), text, style | WS_CHILD, rect, parent, id);
}

void CCustomCheckButton::PreSubclassWindow()
{
    LoadImages();
}

void CCustomCheckButton::LoadImages()
{
    RemoveWindowTheme(m_hWnd);
    m_disabledTextColor = RGB(0x62, 0x6D, 0x7B);
    m_textColor = RGB(0x30, 0x3B, 0x49);
    m_bkColor = RGB(0xEC, 0xEE, 0xF0);
    m_textFormat = DT_WORDBREAK;
    m_noFill = 1;
    m_font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    m_imageList.DeleteImageList();
    if (!m_imageList.Create(16, 16, ILC_COLOR32 | ILC_MASK, 12, 0))
        return;
    // With the theme library the list keeps the alpha channel; without it the
    // pictures get a magenta key instead.
    const bool alpha = theUxThemeLibrary && theUxThemeLibrary->module;
    for (const wchar_t* name : kImages) {
        DIB_IMAGE32 image{};
        if (!LoadDib32FromPack(name, &image)) {
            // Keeps the indexes of the later pictures.
            CreateDib32(&image, 16, 16);
        }
        if (alpha) {
            m_imageList.Add(image.bitmap, static_cast<HBITMAP>(nullptr));
        } else {
            AlphaToMagentaKey(&image);
            m_imageList.Add(image.bitmap, RGB(255, 0, 255));
        }
        FreeDibImage32(&image);
    }
}

bool CCustomCheckButton::IsCheckBox() const
{
    const UINT kind = Kind();
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}

int CCustomCheckButton::GetImageIndex() const
{
    int index = IsCheckBox() ? 6 : 0;
    if (m_buttonState & kCheckMask)
        index += 3;
    if (m_buttonState & kPushed)
        index += 1;
    else if (m_buttonState & kHot)
        index += 2;
    return index;
}

BOOL CCustomCheckButton::CreateFromDlgItem(CDialog* dialog, UINT id)
{
    CRect rect;
    HWND placeholder = FindPlaceholder(dialog, id, rect);
    if (!placeholder)
        return FALSE;
    ::ShowWindow(placeholder, SW_HIDE);
    const CString text = AfxGetWindowText(placeholder);
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(placeholder, GWL_STYLE));
    if (!Create(text, style | WS_VISIBLE, rect, dialog, id))
        return FALSE;
    // Take the placeholder's place in the tab order and its group.
    ::SetWindowPos(m_hWnd, placeholder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

void CCustomCheckButton::SetCheck(int value)
{
    const UINT bits = static_cast<UINT>(value) & kCheckMask;
    if ((m_buttonState & kCheckMask) != bits) {
        m_buttonState = (m_buttonState & ~kCheckMask) | bits;
        Repaint();
    }
    if (value != 1 || Kind() != BS_AUTORADIOBUTTON)
        return;
    HWND parent = ::GetParent(m_hWnd);
    if (!parent)
        return;
    // Once round the group.
    HWND other = ::GetNextDlgGroupItem(parent, m_hWnd, FALSE);
    for (int guard = 0; other && other != m_hWnd && guard < 1000; ++guard) {
        if ((::GetWindowLongW(other, GWL_STYLE) & 0xF) == BS_AUTORADIOBUTTON)
            ::SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
        other = ::GetNextDlgGroupItem(parent, other, FALSE);
    }
}

void CCustomCheckButton::SetPushed(BOOL pushed)
{
    const UINT next = pushed ? (m_buttonState | kPushed) : (m_buttonState & ~kPushed);
    if (next != m_buttonState) {
        m_buttonState = next;
        Repaint();
    }
}

LRESULT CCustomCheckButton::OnGetCheck(WPARAM, LPARAM)
{
    return GetCheck();
}

LRESULT CCustomCheckButton::OnSetCheck(WPARAM wp, LPARAM)
{
    SetCheck(static_cast<int>(wp));
    return 0;
}

LRESULT CCustomCheckButton::OnGetState(WPARAM, LPARAM)
{
    return m_buttonState;
}

LRESULT CCustomCheckButton::OnSetState(WPARAM wp, LPARAM)
{
    SetPushed(wp != 0);
    return 0;
}

LRESULT CCustomCheckButton::OnSetFont(WPARAM wp, LPARAM)
{
    m_font = reinterpret_cast<HFONT>(wp);
    return 0;
}

LRESULT CCustomCheckButton::OnGetFont(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_font);
}

LRESULT CCustomCheckButton::OnSetText(WPARAM, LPARAM)
{
    return SetTextRepaintingParent(this);
}

void CCustomCheckButton::OnEnable(BOOL)
{
    Default();
    Repaint();
}

void CCustomCheckButton::OnPaint()
{
    CPaintDC dc(this);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = m_hWnd;
    dis.hDC = dc;
    GetClientRect(&dis.rcItem);
    DrawItem(&dis);
}

void CCustomCheckButton::DrawItem(DRAWITEMSTRUCT* dis)
{
    const CRect client(dis->rcItem);
    if (client.IsRectEmpty())
        return;
    CMemDC mem(dis->hDC, client);
    if (m_noFill == 1) {
        DrawParentBackground(m_hWnd, mem, m_bkColor);
    } else {
        HBRUSH brush = ::CreateSolidBrush(m_bkColor);
        ::FillRect(mem, &client, brush);
        ::DeleteObject(brush);
    }
    HGDIOBJ oldFont = ::SelectObject(mem, m_font ? m_font : ::GetStockObject(DEFAULT_GUI_FONT));
    const BOOL enabled = IsWindowEnabled();
    int top = client.top;
    if (m_textFormat & DT_VCENTER)
        top += (client.Height() - 15) / 2;
    if (enabled)
        m_imageList.Draw(mem, GetImageIndex(), CPoint(client.left, top), ILD_NORMAL);
    else
        m_imageList.DrawEx(mem, GetImageIndex(), CPoint(client.left, top), CSize(0, 0), CLR_NONE, RGB(255, 255, 255),
                           ILD_BLEND50);
    const CString text = AfxGetWindowText(m_hWnd);
    ::SetTextColor(mem, enabled ? m_textColor : m_disabledTextColor);
    ::SetBkMode(mem, TRANSPARENT);
    RECT textRect = client;
    textRect.left += 25;
    ::DrawTextW(mem, text, text.GetLength(), &textRect, m_textFormat);
    ::SelectObject(mem, oldFont);
}

void CCustomCheckButton::OnMouseMove(UINT flags, CPoint pt)
{
    CRect client;
    GetClientRect(&client);
    const BOOL inside = client.PtInRect(pt);
    if (inside && !(m_buttonState & kHot)) {
        TrackMouseEvent(TME_LEAVE);
        m_buttonState |= kHot;
        Repaint();
    }
    if ((flags & MK_LBUTTON) && ::GetCapture() == m_hWnd)
        SetPushed(inside);
}

void CCustomCheckButton::OnMouseLeave()
{
    m_buttonState &= ~kHot;
    Repaint();
}

void CCustomCheckButton::OnLButtonDown(UINT, CPoint)
{
    SetCapture();
    m_buttonState |= kTracking;
    SetPushed(TRUE);
}

void CCustomCheckButton::OnLButtonUp(UINT, CPoint pt)
{
    if (!(m_buttonState & kTracking))
        return;
    m_buttonState &= ~(kTracking | kHot);
    if (!(m_buttonState & kPushed)) {
        ::ReleaseCapture();
        Repaint();
        return;
    }
    m_buttonState &= ~kPushed;
    Repaint();
    ::ReleaseCapture();
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(pt))
        return;
    switch (Kind()) {
    case BS_AUTOCHECKBOX: SetCheck(GetCheck() ? 0 : 1); break;
    case BS_AUTO3STATE: SetCheck((GetCheck() + 1) % 3); break;
    case BS_AUTORADIOBUTTON: SetCheck(1); break;
    default: break;
    }
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}

void CCustomCheckButton::OnCaptureChanged(CWnd*)
{
    if (m_buttonState & kTracking) {
        m_buttonState &= ~(kTracking | kHot | kPushed);
        Repaint();
    }
    Default();
}

void CCustomCheckButton::OnDestroy()
{
    m_font = nullptr;
    m_imageList.DeleteImageList();
    Default();
}
