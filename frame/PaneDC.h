#pragma once
// Double-buffered painting of the panes and views: draw into it in the
// target's coordinates; the picture goes to the target when it is destroyed.
#include <windows.h>

#include "classlib/CDC.h"

class CPaneMemDC : public CDC {
public:
    CPaneMemDC(CDC* target, const RECT& rect) : m_target(target->m_hDC), m_rect(rect)
    {
        int w = rect.right - rect.left, h = rect.bottom - rect.top;
        if (w > 0 && h > 0 && CreateCompatibleDC(m_target)) {
            m_bitmap = ::CreateCompatibleBitmap(m_target, w, h);
            if (m_bitmap) {
                m_old = ::SelectObject(m_hDC, m_bitmap);
                ::SetWindowOrgEx(m_hDC, rect.left, rect.top, nullptr);
                return;
            }
            DeleteDC();
        }
        Attach(m_target);  // no buffer: straight to the target
    }
    ~CPaneMemDC() override
    {
        if (m_bitmap) {
            ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top,
                     m_hDC, m_rect.left, m_rect.top, SRCCOPY);
            ::SelectObject(m_hDC, m_old);
            ::DeleteObject(m_bitmap);
            DeleteDC();
        } else {
            Detach();
        }
    }
    CPaneMemDC(const CPaneMemDC&) = delete;
    CPaneMemDC& operator=(const CPaneMemDC&) = delete;

private:
    HDC m_target;
    RECT m_rect;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};
