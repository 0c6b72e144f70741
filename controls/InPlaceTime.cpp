#include "controls/InPlaceTime.h"

#include <cwchar>

#include "classlib/Afx.h"

BEGIN_MESSAGE_MAP(CInPlaceTime, CDateTimeCtrl)
    ON_WM_CHAR()
    ON_WM_SYSKEYDOWN()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_DESTROY()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

BOOL CInPlaceTime::AttachTo(HWND wnd)
{
    m_cancelled = FALSE;
    m_text.Empty();
    if (!SubclassWindow(wnd))
        return FALSE;
    SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
    return TRUE;
}

void CInPlaceTime::SetTimeText(const wchar_t* text)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    int h = now.wHour, m = now.wMinute, s = now.wSecond;
    if (text && *text) {
        h = m = s = 0;
        swscanf(text, L"%d:%d:%d", &h, &m, &s);
    }
    // Any day will do; the picker shows only the time.
    SYSTEMTIME t{2006, 2, 4, 16, static_cast<WORD>(h), static_cast<WORD>(m), static_cast<WORD>(s), 0};
    m_time = t;
    SetTime(&t);
}

void CInPlaceTime::ReadTime()
{
    SYSTEMTIME t{};
    if (GetTime(&t) == GDT_VALID)
        m_time = t;
}

// One rule for every way the edit ends: the seconds are kept, as the picker
// (which shows none) got them from the cell.
void CInPlaceTime::FormatText()
{
    m_text.Format(L"%02d:%02d:%02d", m_time.wHour, m_time.wMinute, m_time.wSecond);
}

void CInPlaceTime::Finish(BOOL cancel)
{
    if (cancel)
        m_cancelled = TRUE;
    else
        ReadTime();
    if (CWnd* main = AfxGetMainWnd())
        main->BringWindowToTop();
    DestroyWindow();
}

void CInPlaceTime::Close()
{
    if (!m_hWnd)
        return;
    ReadTime();
    FormatText();
    UnsubclassWindow();
}

void CInPlaceTime::OnChar(UINT ch, UINT, UINT)
{
    if (ch == L'\r' || ch == L'\t')
        Finish(FALSE);
    else if (ch == 0x1B)
        Finish(TRUE);
    else
        Default();
}

void CInPlaceTime::OnSysKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_MENU)
        PostMessage(WM_CHAR, 0x1B, 0);
    else
        Default();
}

BOOL CInPlaceTime::PreTranslateMessage(MSG* msg)
{
    const UINT m = msg->message;
    if (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) {
        POINT pt{static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
        ::ClientToScreen(msg->hwnd, &pt);
        CRect own;
        GetWindowRect(&own);
        if (!own.PtInRect(pt)) {
            if (m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN) {
                PostMessage(WM_CHAR, L'\r', 0);  // a click beside the picker commits
                return TRUE;
            }
        } else if (msg->hwnd == m_hWnd) {
            // The picker's spin buttons get their own mouse messages.
            POINT local = pt;
            ScreenToClient(&local);
            HWND child = ::ChildWindowFromPointEx(m_hWnd, local, CWP_SKIPINVISIBLE);
            if (child && child != m_hWnd) {
                ::ScreenToClient(child, &pt);
                ::SendMessageW(child, m, msg->wParam, MAKELPARAM(pt.x, pt.y));
                return TRUE;
            }
        }
    }
    return CDateTimeCtrl::PreTranslateMessage(msg);
}

void CInPlaceTime::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    ::InflateRect(&params->rgrc[0], -GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER));
}

void CInPlaceTime::OnNcPaint()
{
    HDC dc = ::GetWindowDC(m_hWnd);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
    ::ReleaseDC(m_hWnd, dc);
}

void CInPlaceTime::OnDestroy()
{
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
    if (m_cancelled)
        m_text.Empty();
    else
        FormatText();
    Default();
}
