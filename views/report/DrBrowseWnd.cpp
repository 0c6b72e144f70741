#include "views/report/DrBrowseWnd.h"

#include "classlib/CMemDC.h"
#include "common/ButtonStrips.h"
#include "controls/NotifyForward.h"
#include "core/Global.h"
#include "frame/CmdUIText.h"
#include "res/report_ids.h"

namespace {

const COLORREF kBack = RGB(0x05, 0x05, 0x0A);
const COLORREF kOutline = RGB(0x96, 0x96, 0x98);
const COLORREF kBox = RGB(0x1E, 0x1E, 0x23);
const COLORREF kInnerBox = RGB(0x3C, 0x3C, 0x46);

void Box(HDC dc, const RECT& r, COLORREF fill, COLORREF outline)
{
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(DC_BRUSH));
    ::SetDCPenColor(dc, outline);
    ::SetDCBrushColor(dc, fill);
    ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
}

void Latch(CCustomButton& button, bool on)
{
    button.m_checked = on;
    int state = on ? 2 : 0;
    if (!on && button.GetSafeHwnd() && !button.IsWindowEnabled())
        state = 4;
    button.ChangeState(state);
    if (button.GetSafeHwnd())
        button.Invalidate(TRUE);
}

}  // namespace

BEGIN_MESSAGE_MAP(CDrBrowseWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_CONTROL(CBN_SELCHANGE, IDC_DR_DISTANCE, OnSelChangeDistance)
END_MESSAGE_MAP()

CDrBrowseWnd::CDrBrowseWnd() = default;

CDrBrowseWnd::~CDrBrowseWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

RECT CDrBrowseWnd::PanelRect(const RECT& c)
{
    return {c.left, c.top + 64, c.right - kButtonWidth - 20, c.bottom};
}

RECT CDrBrowseWnd::DistanceBox(const RECT& c)
{
    return {c.right - kButtonWidth, c.top + 290, c.right - kButtonWidth + 192, c.top + 344};
}

int CDrBrowseWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    const CRect none(0, 0, 0, 0);
    if (!m_browser.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, none, this, 0xFFFF))
        return -1;
    if (!m_eco.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, none, this, 0xFFFF))
        return -1;
    if (!m_btnImport.Create(CRect(0, 0, 120, 24), this, ID_IMPORT_REPORT, FALSE) ||
        !BuildButtonImage(&m_btnImport.m_strip, UiText(125), kButtonWidth, kButtonHeight, 200, TRUE))
        return -1;
    m_btnImport.SetRoundRegion();
    if (!m_btnReport.Create(CRect(0, 0, 120, 24), this, ID_REPORT, FALSE) ||
        !BuildButtonImage(&m_btnReport.m_strip, UiText(126), kButtonWidth, kButtonHeight, 200, TRUE))
        return -1;
    m_btnReport.SetRoundRegion();
    if (!m_btnMap.Create(none, this, ID_VIEW_DRIVE_REPORT, FALSE) ||
        !BuildLargeButtonImage(&m_btnMap.m_strip, UiText(157)))
        return -1;
    m_btnMap.SetRoundRegion();
    if (!m_btnEco.Create(none, this, ID_VIEW_ECO_REPORT, FALSE) ||
        !BuildLargeButtonImage(&m_btnEco.m_strip, UiText(158)))
        return -1;
    m_btnEco.SetRoundRegion();
    m_btnMap.m_checked = TRUE;
    if (m_btnMap.GetState() != 2)
        m_btnMap.ChangeState(2);
    if (!m_distance.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                           CRect(0, 0, 76, 150), this, IDC_DR_DISTANCE))
        return -1;
    m_text.SetTextColor(RGB(0xF8, 0xD8, 0x5A));
    return 0;
}

void CDrBrowseWnd::OnSize(UINT, int cx, int cy)
{
    if (cx == 0 || cy == 0)
        return;
    CRect c;
    GetClientRect(&c);
    const RECT panel = PanelRect(c);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    for (CWnd* w : {static_cast<CWnd*>(&m_browser), static_cast<CWnd*>(&m_eco)})
        w->SetWindowPos(static_cast<HWND>(nullptr), panel.left, panel.top, panel.right - panel.left,
                        panel.bottom - panel.top, flags);
    m_btnImport.SetWindowPos(static_cast<HWND>(nullptr), c.right - kButtonWidth, c.top + 110, kButtonWidth,
                             kButtonHeight, flags);
    m_btnReport.SetWindowPos(static_cast<HWND>(nullptr), c.right - kButtonWidth, c.top + 200, kButtonWidth,
                             kButtonHeight, flags);
    m_distance.SetWindowPos(static_cast<HWND>(nullptr), c.right - 84, c.top + 307, 0, 0, flags | SWP_NOSIZE);
    m_btnMap.SetWindowPos(static_cast<HWND>(nullptr), c.left, c.top + 20, kModeWidth, kModeHeight, flags);
    m_btnEco.SetWindowPos(static_cast<HWND>(nullptr), c.left + kModeWidth + 4, c.top + 20, kModeWidth, kModeHeight,
                          flags);
    Invalidate(FALSE);
}

void CDrBrowseWnd::Draw(HDC dc, const RECT& c)
{
    ::SetBkColor(dc, kBack);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &c, nullptr, 0, nullptr);
    const RECT panel = PanelRect(c);
    {
        HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
        HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
        ::SetDCPenColor(dc, kOutline);
        ::Rectangle(dc, panel.left, panel.top, panel.right, panel.bottom);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
    }
    if (!m_btnMap.m_checked)
        return;
    RECT box = DistanceBox(c);
    Box(dc, box, kBox, kOutline);
    RECT inner{box.left + 4, box.top + 7, box.right - 4, box.bottom - 7};
    Box(dc, inner, kInnerBox, kInnerBox);
    RECT label{inner.left + 5, inner.top + 10, inner.right - 80 - 5, inner.bottom - 10};
    m_text.DrawTextFit(dc, UiText(225), 120, FALSE, 1, 1, label);
}

void CDrBrowseWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    Draw(dc.m_hDC, client);
}

void CDrBrowseWnd::OnLButtonDown(UINT, CPoint)
{
    FocusOnLButtonDown(this);
}

void CDrBrowseWnd::OnSelChangeDistance()
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DR_DISTANCE, CBN_SELCHANGE),
                            reinterpret_cast<LPARAM>(m_distance.m_hWnd));
}

BOOL CDrBrowseWnd::OnNotify(WPARAM wp, LPARAM lp, LRESULT* result) { return ForwardNotifyToParent(this, wp, lp, result); }

void CDrBrowseWnd::SetPanelMode(int mode)
{
    Latch(m_btnMap, mode == 0);
    Latch(m_btnEco, mode == 1);
    Invalidate(FALSE);
}
