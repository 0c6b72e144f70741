#include "controls/InPlaceDate.h"

#include <cwchar>

#include "classlib/Afx.h"

#include "controls/InPlacePlacement.h"

BEGIN_MESSAGE_MAP(CInPlaceDate, CInPlaceDateTimeEditor<CMonthCalCtrl>)
    ON_WM_LBUTTONUP()
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

BOOL CInPlaceDate::AttachTo(HWND wnd, POINT origin)
{
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
    return AttachWindow(wnd);
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

BOOL CInPlaceDate::Accept()
{
    if (!ReadDate())
        return FALSE;
    m_text.Format(L"%04d/%02d/%02d", m_date.wYear, m_date.wMonth, m_date.wDay);
    return TRUE;
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

void CInPlaceDate::OnWindowPosChanging(WINDOWPOS* pos)
{
    Default();
    pos->x = m_origin.x;
    pos->y = m_origin.y;
    pos->cx = m_size.cx;
    pos->cy = m_size.cy;
}
