#include "classlib/CMemDC.h"

CMemDC::CMemDC(HDC target, const RECT& rect) : m_target(target), m_rect(rect)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (target && width > 0 && height > 0 && CreateCompatibleDC(target)) {
        m_bitmap = ::CreateCompatibleBitmap(target, width, height);
        if (m_bitmap) {
            m_oldBitmap = ::SelectObject(m_hDC, m_bitmap);
            // The caller draws in the target's coordinates.
            ::SetViewportOrgEx(m_hDC, -rect.left, -rect.top, nullptr);
            return;
        }
        DeleteDC();
    }
    Attach(target);
}

CMemDC::~CMemDC()
{
    if (!m_bitmap) {
        Detach();
        return;
    }
    ::SetViewportOrgEx(m_hDC, 0, 0, nullptr);
    if (!m_discard)
        ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_hDC, 0,
                 0, SRCCOPY);
    ::SelectObject(m_hDC, m_oldBitmap);
    ::DeleteObject(m_bitmap);
    DeleteDC();
}
