#pragma once
// The splitter bar of the feed reader (between the page and the lists; it
// lies across and moves up and down) and of its list pane (between the feed
// and item lists; it moves left and right): its pictures, where it is, the
// share of the owner it keeps in the settings, and the mouse dragging it
// with its inverted edges as feedback. The owner lays out its children.
#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "frame/SplitDrag.h"

class CFeedSplitter {
public:
    // The split kept inside the owner's length for a bar of that thickness.
    using ClampFn = int (*)(int split, int length, int thickness);
    // ratio: the setting that keeps the split as a share of the owner's
    // length (fallback while the owner has none).
    CFeedSplitter(BOOL alongY, float& ratio, float fallback, ClampFn clamp);
    ~CFeedSplitter();
    CFeedSplitter(const CFeedSplitter&) = delete;
    CFeedSplitter& operator=(const CFeedSplitter&) = delete;

    // The bar's pictures from the skin, turned to lie across for a bar that
    // moves up and down.
    void LoadPictures();
    // How thick the bar is: its tile's, else 6.
    int Thickness() const;
    // The split from the setting for the owner's new length.
    void FollowSize(int length);
    // The split clamped and kept for the owner's length; the bar runs from
    // `from` to `to` across.
    void Place(int length, int from, int to);
    // The bar's two ends and the tile between them, when the skin has them.
    void Paint(HDC dc) const;

    // The mouse over the owner; MouseUp answers TRUE when it ended a drag
    // (the owner then lays out its children).
    void MouseDown(CWnd& owner, CPoint pt);
    void MouseMove(CWnd& owner, CPoint pt);
    BOOL MouseUp(CWnd& owner);

    int split = 0;
    CRect bar;

private:
    // Clamps and keeps the split, then inverts the lines at its two edges
    // (drawing it again takes it away).
    void DrawFeedback(CWnd& owner);

    BOOL m_alongY;
    float& m_ratio;
    float m_fallback;
    ClampFn m_clamp;
    CSplitDrag m_drag;
    DIB_IMAGE m_top{}, m_tile{}, m_bottom{};
};
