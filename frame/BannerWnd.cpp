#include "frame/BannerWnd.h"

#include "classlib/CDC.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "frame/MainMenuWnd.h"
#include "res/dialog_ids.h"

namespace {

const COLORREF kBack = RGB(92, 92, 104);
const COLORREF kLink = RGB(96, 192, 248);

BOOL LoadLogo(CCustomButton& button, const wchar_t* picture)
{
    return button.LoadBitmaps(L"%s", picture, picture, picture, picture, picture, picture);
}

}  // namespace

BEGIN_MESSAGE_MAP(CBannerWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CBannerWnd::~CBannerWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    if (m_linkFont)
        ::DeleteObject(m_linkFont);
}

void CBannerWnd::SetPartner(int partner)
{
    if (partner == 0) {
        m_partner = 0;
        m_linkText = kPartnerHomePage;
    } else if (partner == 1) {
        m_partner = 1;
        m_linkText = theGlobal.WebAddress(430);
    }
}

CRect CBannerWnd::TextArea() const
{
    CRect r;
    GetClientRect(&r);
    r.DeflateRect(5, 76, 5, 7);
    return r;
}

int CBannerWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    const CRect none(0, 0, 0, 0);
    if (!m_btnWhereIs.Create(none, this, ID_WHERE_IS, FALSE) || !m_btnViaMichelin.Create(none, this, ID_VIA_MICHELIN, FALSE))
        return -1;
    LoadLogo(m_btnWhereIs, L"banner_whereis.bmp");
    LoadLogo(m_btnViaMichelin, L"banner_viamichelin.bmp");
    m_btnWhereIs.ShowWindow(SW_HIDE);
    m_btnViaMichelin.ShowWindow(SW_HIDE);
    // The link's font shrinks until the whole address fits the banner.
    m_linkRect = TextArea();
    int percent = 117;
    if (!m_linkText.IsEmpty()) {
        CClientDC dc(this);
        percent = FitFontPercent(dc.GetSafeHdc(), percent, &m_linkRect, m_linkText, FALSE);
    }
    if (!CreateTahomaFont(FALSE, &m_linkFont, percent, TRUE))
        return -1;
    // The link answers clicks only over its text.
    if (!m_linkText.IsEmpty()) {
        CClientDC dc(this);
        HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), m_linkFont);
        SIZE size{};
        ::GetTextExtentPoint32W(dc.GetSafeHdc(), m_linkText, m_linkText.GetLength(), &size);
        ::SelectObject(dc.GetSafeHdc(), old);
        const int spare = m_linkRect.Width() - size.cx;
        if (spare > 0)
            m_linkRect.DeflateRect(spare / 2, 0, spare - spare / 2, 0);
    } else {
        m_linkRect.right = m_linkRect.left;
    }
    return 0;
}

void CBannerWnd::OnSize(UINT, int cx, int cy)
{
    if (cx == 0 || cy == 0)
        return;
    CCustomButton* logo = m_partner == 0 ? &m_btnWhereIs : m_partner == 1 ? &m_btnViaMichelin : nullptr;
    if (!logo || !logo->GetSafeHwnd())
        return;
    CRect area;
    GetClientRect(&area);
    area.DeflateRect(10, 10, 10, 27);
    const int w = logo->m_strip.width, h = logo->GetFrameHeight();
    logo->SetWindowPos(HWND{}, area.left + (area.Width() - w) / 2, area.top + (area.Height() - h) / 2, w, h,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    logo->SetRoundRegion();
    logo->ShowWindow(SW_SHOW);
}

void CBannerWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, kBack);
    if (m_partner != 0 && m_partner != 1)
        return;
    CRect text = TextArea();
    HDC hdc = dc.GetSafeHdc();
    HGDIOBJ old = ::SelectObject(hdc, m_linkFont);
    ::SetTextColor(hdc, kLink);
    ::SetBkMode(hdc, TRANSPARENT);
    ::DrawTextW(hdc, m_linkText, m_linkText.GetLength(), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(hdc, old);
}

void CBannerWnd::OnDestroy()
{
    if (m_linkFont) {
        ::DeleteObject(m_linkFont);
        m_linkFont = nullptr;
    }
    Default();
}

void CBannerWnd::OnLButtonDown(UINT, CPoint pt)
{
    if (!m_linkRect.PtInRect(pt))
        return;
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, m_partner == 1 ? ID_VIA_MICHELIN : ID_WHERE_IS, 0);
}

BOOL CBannerWnd::OnSetCursor(CWnd* wnd, UINT hit, UINT)
{
    if (wnd != this || hit != HTCLIENT)
        return static_cast<BOOL>(Default());
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    ::SetCursor(::LoadCursorW(nullptr, m_linkRect.PtInRect(pt) ? IDC_HAND : IDC_ARROW));
    return TRUE;
}
