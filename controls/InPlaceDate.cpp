#include "controls/InPlaceDate.h"

#include <cwchar>

#include "classlib/Afx.h"

#include "controls/InPlacePlacement.h"

BEGIN_MESSAGE_MAP(CInPlaceDate, CMonthCalCtrl)
    ON_WM_CHAR()
    ON_WM_SYSKEYDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_DESTROY()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

BOOL CInPlaceDate::AttachTo(HWND wnd, POINT origin)
{
    m_cancelled = FALSE;
    m_text.Empty();
    RECT need{0, 0, 0, 0};
    ::SendMessageW(wnd, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    // The calendar's whole smallest size and our one-pixel frame: a fixed
    // 134 x 127 crops it wherever the font or the platform draws it larger.
    m_size = {need.right - need.left + 2 * GetSystemMetrics(SM_CXBORDER),
              need.bottom - need.top + 2 * GetSystemMetrics(SM_CYBORDER)};
    HWND owner = ::GetParent(wnd);
    const RECT cell{origin.x, origin.y, origin.x + m_size.cx, origin.y + m_size.cy};
    m_origin = PlaceInPlacePopup(owner, cell, m_size);
    ::SetWindowPos(wnd, nullptr, m_origin.x, m_origin.y, m_size.cx, m_size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW | SWP_FRAMECHANGED);
    if (!SubclassWindow(wnd))
        return FALSE;
    SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
    return TRUE;
}

void CInPlaceDate::SetDateText(const wchar_t* text)
{
    SYSTEMTIME date{};
    int y = 0, m = 0, d = 0;
    if (text && *text && swscanf(text, L"%d/%d/%d", &y, &m, &d) == 3) {
        date.wYear = static_cast<WORD>(y);
        date.wMonth = static_cast<WORD>(m);
        date.wDay = static_cast<WORD>(d);
    } else {
        GetLocalTime(&date);
        date.wHour = date.wMinute = date.wSecond = date.wMilliseconds = 0;
    }
    m_date = date;
    SetMaxSelCount(1);
    SetCurSel(&date);
    const SYSTEMTIME first{1970, 1, 4, 1, 0, 0, 0, 0}, last{2038, 1, 1, 18, 0, 0, 0, 0};
    SetRange(&first, &last);
}

BOOL CInPlaceDate::ReadDate()
{
    SYSTEMTIME date{};
    if (!GetCurSel(&date))
        return FALSE;
    date.wHour = date.wMinute = date.wSecond = date.wMilliseconds = 0;
    m_date = date;
    return !(date.wYear == 2038 && date.wMonth == 1 && date.wDay > 18);
}

void CInPlaceDate::Finish(BOOL cancel)
{
    if (cancel) {
        m_cancelled = TRUE;
    } else {
        if (!ReadDate())
            return;  // the calendar stays open
        m_text.Format(L"%04d/%02d/%02d", m_date.wYear, m_date.wMonth, m_date.wDay);
    }
    if (CWnd* main = AfxGetMainWnd())
        main->BringWindowToTop();
    DestroyWindow();
}

void CInPlaceDate::Close()
{
    if (!m_hWnd)
        return;
    if (ReadDate())
        m_text.Format(L"%04d/%02d/%02d", m_date.wYear, m_date.wMonth, m_date.wDay);
    UnsubclassWindow();
}

void CInPlaceDate::OnChar(UINT ch, UINT, UINT)
{
    if (ch == L'\r' || ch == L'\t')
        Finish(FALSE);
    else if (ch == 0x1B)
        Finish(TRUE);
    else
        Default();
}

void CInPlaceDate::OnSysKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_MENU)
        PostMessage(WM_CHAR, 0x1B, 0);
    else
        Default();
}

void CInPlaceDate::OnLButtonUp(UINT, CPoint pt)
{
    Default();
    if (!m_hWnd)
        return;
    MCHITTESTINFO info{};
    info.pt = pt;
    // A day of this month or one of the neighbours' days shown beside it.
    if ((HitTest(&info) & MCHT_CALENDARDATE) == MCHT_CALENDARDATE)
        PostMessage(WM_CHAR, L'\r', 0);
}

BOOL CInPlaceDate::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN) {
        POINT pt{static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
        ::ClientToScreen(msg->hwnd, &pt);
        CRect own;
        GetWindowRect(&own);
        if (!own.PtInRect(pt)) {
            PostMessage(WM_CHAR, 0x1B, 0);
            return TRUE;
        }
    }
    return CMonthCalCtrl::PreTranslateMessage(msg);
}

void CInPlaceDate::OnWindowPosChanging(WINDOWPOS* pos)
{
    Default();
    pos->x = m_origin.x;
    pos->y = m_origin.y;
    pos->cx = m_size.cx;
    pos->cy = m_size.cy;
}

void CInPlaceDate::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    ::InflateRect(&params->rgrc[0], -GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER));
}

void CInPlaceDate::OnNcPaint()
{
    HDC dc = ::GetWindowDC(m_hWnd);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
    ::ReleaseDC(m_hWnd, dc);
}

void CInPlaceDate::OnDestroy()
{
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
    Default();
}
