#pragma once
// Double-buffered painting: draw into a CMemDC made over the target DC and a
// rectangle, in the target's own coordinates; the picture is copied to the
// target when the CMemDC goes. When no buffer can be made (an empty rectangle,
// no memory) it draws straight into the target instead.
#include <windows.h>

#include "classlib/CDC.h"

class CMemDC : public CDC {
public:
    CMemDC(CDC* target, const RECT& rect) : CMemDC(target ? target->m_hDC : nullptr, rect) {}
    CMemDC(HDC target, const RECT& rect);
    ~CMemDC() override;
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    // FALSE when drawing goes straight to the target.
    BOOL IsBuffered() const { return m_bitmap != nullptr; }
    // Nothing is copied to the target at the end (the drawing was abandoned).
    void Discard() { m_discard = true; }

private:
    HDC m_target;
    RECT m_rect;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    bool m_discard = false;
};
