#include "frame/SplitDrag.h"

namespace {

// The class library's splitter cursors: a bar moving left-right, up-down.
constexpr WORD kHSplitCursor = 30980;
constexpr WORD kVSplitCursor = 30981;

void SetSplitBarCursor(BOOL overBar, WORD ours, const wchar_t* system)
{
    HCURSOR cursor = nullptr;
    if (overBar) {
        cursor = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(ours));
        if (!cursor)
            cursor = ::LoadCursorW(nullptr, system);
    } else {
        cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    }
    ::SetCursor(cursor);
}

}  // namespace

void SetHSplitBarCursor(BOOL overBar) { SetSplitBarCursor(overBar, kHSplitCursor, IDC_SIZEWE); }

void SetVSplitBarCursor(BOOL overBar) { SetSplitBarCursor(overBar, kVSplitCursor, IDC_SIZENS); }

BOOL CSplitDrag::Begin(CWnd& owner, CPoint pt, const CRect& bar)
{
    if (m_dragging || !bar.PtInRect(pt) || ::GetCapture())
        return FALSE;
    m_offset = m_alongY ? pt.y - bar.top : pt.x - bar.left;
    m_dragging = TRUE;
    owner.SetCapture();
    return TRUE;
}

void CSplitDrag::End()
{
    if (!m_dragging)
        return;
    m_dragging = FALSE;
    ::ReleaseCapture();
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

void CSplitDrag::SetCursor(BOOL overBar) const
{
    if (m_alongY)
        SetVSplitBarCursor(overBar);
    else
        SetHSplitBarCursor(overBar);
}
