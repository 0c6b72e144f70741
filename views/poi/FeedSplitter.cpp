#include "views/poi/FeedSplitter.h"

CFeedSplitter::CFeedSplitter(BOOL alongY, float& ratio, float fallback, ClampFn clamp)
    : m_alongY(alongY), m_ratio(ratio), m_fallback(fallback), m_clamp(clamp), m_drag(alongY)
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

void CFeedSplitter::FollowSize(int length)
{
    split = static_cast<int>(static_cast<float>(length) * m_ratio);
}

void CFeedSplitter::Place(int length, int from, int to)
{
    const int b = Thickness();
    split = m_clamp(split, length, b);
    m_ratio = length > 0 ? static_cast<float>(split) / static_cast<float>(length) : m_fallback;
    bar = m_alongY ? CRect(from, split, to, split + b) : CRect(split, from, split + b, to);
}

void CFeedSplitter::Paint(HDC dc) const
{
    if (!m_top.bitmap || !m_tile.bitmap || !m_bottom.bitmap)
        return;
    // The top picture starts the bar; the bottom one ends it, on the right
    // of a bar that lies across.
    const CRect tile = m_alongY ? CRect(bar.left + m_top.width, bar.top, bar.right - m_bottom.width, bar.bottom)
                                : CRect(bar.left, bar.top + m_top.height, bar.right, bar.bottom - m_bottom.height);
    FillRectWithDib(dc, &m_tile, &tile, TRUE);
    DrawDib(&m_top, dc, bar.left, bar.top);
    if (m_alongY)
        DrawDib(&m_bottom, dc, bar.right - m_bottom.width, bar.top);
    else
        DrawDib(&m_bottom, dc, bar.left, bar.bottom - m_bottom.height);
}

void CFeedSplitter::DrawFeedback(CWnd& owner)
{
    CRect c;
    owner.GetClientRect(&c);
    const int b = Thickness();
    const int length = m_alongY ? c.Height() : c.Width();
    split = m_clamp(split, length, b);
    m_ratio = length > 0 ? static_cast<float>(split) / static_cast<float>(length) : m_fallback;
    CWindowDC dc(&owner);
    // The edges reach one pixel past the bar's ends.
    if (m_alongY) {
        PatBlt(dc, bar.left - 1, split, bar.Width() + 2, 1, DSTINVERT);
        PatBlt(dc, bar.left - 1, split + b - 1, bar.Width() + 2, 1, DSTINVERT);
    } else {
        PatBlt(dc, split, bar.top - 1, 1, bar.Height() + 2, DSTINVERT);
        PatBlt(dc, split + b - 1, bar.top - 1, 1, bar.Height() + 2, DSTINVERT);
    }
}

void CFeedSplitter::MouseDown(CWnd& owner, CPoint pt)
{
    if (m_drag.Begin(owner, pt, bar))
        DrawFeedback(owner);
}

void CFeedSplitter::MouseMove(CWnd& owner, CPoint pt)
{
    if (!m_drag.IsDragging()) {
        m_drag.SetCursor(bar.PtInRect(pt));
        return;
    }
    DrawFeedback(owner);
    split = m_drag.SplitAt(pt);
    DrawFeedback(owner);
}

BOOL CFeedSplitter::MouseUp(CWnd& owner)
{
    if (!m_drag.IsDragging())
        return FALSE;
    DrawFeedback(owner);
    m_drag.End();
    return TRUE;
}
