#pragma once
// A window object attached to its handle. The window layer grows from here.
#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }

    HWND m_hWnd = nullptr;
};
