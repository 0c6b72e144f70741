#include "views/poi/FeedSplitter.h"

CFeedSplitter::CFeedSplitter(BOOL alongY) : m_alongY(alongY), m_drag(alongY)
{
    for (DIB_IMAGE* image : {&m_top, &m_tile, &m_bottom})
        InitDibImage(image);
}

CFeedSplitter::~CFeedSplitter()
{
    for (DIB_IMAGE* image : {&m_top, &m_tile, &m_bottom})
        FreeDibImage(image);
}

void CFeedSplitter::LoadPictures()
{
    const struct {
        const wchar_t* name;
        DIB_IMAGE* image;
    } pictures[] = {{L"splitter_top.bmp", &m_top}, {L"splitter_tile.bmp", &m_tile}, {L"splitter_bottom.bmp", &m_bottom}};
    for (const auto& p : pictures)
        if (LoadDibFromPack(p.name, p.image) && m_alongY)
            RotateDibLeft(p.image);
}

int CFeedSplitter::Thickness() const
{
    if (!m_tile.bitmap)
        return 6;
    return m_alongY ? m_tile.height : m_tile.width;
}

void CFeedSplitter::Paint(HDC dc) const
{
    if (!m_top.bitmap || !m_tile.bitmap || !m_bottom.bitmap)
        return;
    // The top picture starts the bar; the bottom one ends it on the right of
    // a bar that lies across.
    const CRect tile = m_alongY ? CRect(bar.left + m_top.width, bar.top, bar.right - m_bottom.width, bar.bottom)
                                : CRect(bar.left, bar.top + m_top.height, bar.right, bar.bottom - m_bottom.height);
    FillRectWithDib(dc, &m_tile, &tile, TRUE);
    DrawDib(&m_top, dc, bar.left, bar.top);
    if (m_alongY)
        DrawDib(&m_bottom, dc, bar.right - m_bottom.width, bar.top);
    else
        DrawDib(&m_bottom, dc, bar.left, bar.bottom - m_bottom.height);
}

void CFeedSplitter::MouseDown(CWnd& owner, CPoint pt, const std::function<void()>& feedback)
{
    if (m_drag.Begin(owner, pt, bar))
        feedback();
}

void CFeedSplitter::MouseMove(CPoint pt, const std::function<void()>& feedback)
{
    if (!m_drag.IsDragging()) {
        m_drag.SetCursor(bar.PtInRect(pt));
        return;
    }
    feedback();
    split = m_drag.SplitAt(pt);
    feedback();
}

BOOL CFeedSplitter::MouseUp(const std::function<void()>& feedback)
{
    if (!m_drag.IsDragging())
        return FALSE;
    feedback();
    m_drag.End();
    return TRUE;
}
