#include "frame/StatusWnd.h"

#include "common/ThemeLibrary.h"
#include "core/Global.h"
#include "classlib/CMemDC.h"
#include "res/frame_ids.h"

namespace {

enum { kLeft, kRight, kTile };
const wchar_t* const kStatusImages[3] = {L"status_left.bmp", L"status_right.bmp", L"status_tile.bmp"};
enum { kTop, kBottom, kSideLeft, kSideRight };
const wchar_t* const kFooterImages[4] = {L"footer_bkgnd_top.bmp", L"footer_bkgnd_bottom.bmp",
                                         L"footer_bkgnd_left.bmp", L"footer_bkgnd_right.bmp"};

}  // namespace

BOOL UiStringIs(int n, const wchar_t* text)
{
    return n >= 0 && n < theGlobal.m_uiStrings.GetSize() && theGlobal.UiString(n) == text;
}

BEGIN_MESSAGE_MAP(CStatusWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_COMMAND(ID_REFRESH_SENSIS, OnRefreshSensis)
END_MESSAGE_MAP()

CStatusWnd::CStatusWnd() = default;

CStatusWnd::~CStatusWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

int CStatusWnd::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    RemoveWindowTheme(m_hWnd);
    if (!m_images.Load(kStatusImages))
        return -1;
    if (!m_partner.Create(CRect(0, 0, 0, 0), this, ID_SENSIS, FALSE) ||
        !m_partner.LoadBitmaps(L"btn_sensis_status_%s.bmp", L"btn_sensis_status_normal.bmp", L"normal", L"normal",
                               L"normal", L"normal", L"normal"))
        return -1;
    m_text.SetTextColor(RGB(157, 156, 162));
    UpdatePartnerButton();
    return 0;
}

void CStatusWnd::UpdatePartnerButton()
{
    const bool show = theGlobal.m_viewKind == 0 && theGlobal.m_menuCategory == 0 && UiStringIs(364, L"TRUE");
    if (m_partner.GetSafeHwnd())
        m_partner.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CStatusWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    const int w = m_partner.m_strip.width;
    m_partner.SetWindowPos(HWND{}, cx / 2 - w / 2, 0, w, m_partner.GetFrameHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CStatusWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    dc.FillSolidRect(&client, kPaneBack);
    const DIB_IMAGE& left = m_images[kLeft];
    const DIB_IMAGE& right = m_images[kRight];
    CRect middle(left.width, 0, client.right - right.width, client.bottom);
    FillRectWithDib(dc, &m_images[kTile], &middle, TRUE);
    DrawDibEx(&left, dc, 0, 0, left.width, client.bottom, 0, 0, left.width, left.height);
    DrawDibEx(&right, dc, client.right - right.width, 0, right.width, client.bottom, 0, 0, right.width, right.height);
    m_text.DrawText(dc, theGlobal.m_naviModel.GetModelName(), 127, client.bottom - 29, 100, TRUE,
                    Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
}

BEGIN_MESSAGE_MAP(CFooterWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CFooterWnd::CFooterWnd() = default;

CFooterWnd::~CFooterWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

int CFooterWnd::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    RemoveWindowTheme(m_hWnd);
    return m_images.Load(kFooterImages) ? 0 : -1;
}

void CFooterWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CMemDC dc(&paint, client);
    dc.FillSolidRect(&client, kPaneBack);
    DrawDib(&m_images[kTop], dc, 0, 0);
    DrawDib(&m_images[kBottom], dc, 0, client.bottom - m_images[kBottom].height);
    DrawDib(&m_images[kSideLeft], dc, 0, 0);
    DrawDib(&m_images[kSideRight], dc, client.right - m_images[kSideRight].width, 0);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.DrawText(L"FOOTER", &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}
