#include "classlib/CDC.h"

#include "classlib/CWnd.h"

CDC::~CDC()
{
    if (m_owned)
        DeleteDC();
}

BOOL CDC::Attach(HDC dc)
{
    if (!dc)
        return FALSE;
    m_hDC = dc;
    m_owned = false;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    m_hDC = nullptr;
    m_owned = false;
    return dc;
}

BOOL CDC::CreateCompatibleDC(HDC dc)
{
    if (m_owned)
        DeleteDC();
    m_hDC = ::CreateCompatibleDC(dc);
    m_owned = m_hDC != nullptr;
    return m_owned;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    BOOL ok = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_owned = false;
    return ok;
}

void CDC::FillSolidRect(const RECT* rc, COLORREF color)
{
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rc, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    RECT rc{x, y, x + cx, y + cy};
    FillSolidRect(&rc, color);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old{};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

CSize CDC::GetTextExtent(const wchar_t* text, int count) const
{
    SIZE s{};
    ::GetTextExtentPoint32W(m_hDC, text, count, &s);
    return s;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old{};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old{};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->GetSafeHwnd())
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->GetSafeHwnd() : nullptr)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd ? wnd->GetSafeHwnd() : nullptr)
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
