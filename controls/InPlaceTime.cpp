#include "controls/InPlaceTime.h"

#include <cwchar>

#include "classlib/Afx.h"

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

BOOL CInPlaceTime::Accept()
{
    ReadTime();
    FormatText();
    return TRUE;
}

void CInPlaceTime::Destroying()
{
    if (m_cancelled)
        m_text.Empty();
    else
        FormatText();
}

BOOL CInPlaceTime::PreTranslateMessage(MSG* msg)
{
    // The picker's spin buttons get their own mouse messages.
    const UINT m = msg->message;
    if (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST && msg->hwnd == m_hWnd && IsOverWindow(msg)) {
        POINT pt{static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
        HWND child = ::ChildWindowFromPointEx(m_hWnd, pt, CWP_SKIPINVISIBLE);
        if (child && child != m_hWnd) {
            ::MapWindowPoints(m_hWnd, child, &pt, 1);
            ::SendMessageW(child, m, msg->wParam, MAKELPARAM(pt.x, pt.y));
            return TRUE;
        }
    }
    return CInPlaceDateTimeEditor::PreTranslateMessage(msg);
}
