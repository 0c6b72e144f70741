#pragma once
// The splitter bar of the feed reader (between the page and the lists; it
// lies across and moves up and down) and of its list pane (between the feed
// and item lists; it moves left and right): its pictures, where it is, and
// the mouse dragging it. The owner clamps the split, lays out its children
// and draws the drag's feedback.
#include <functional>

#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "frame/SplitDrag.h"

class CFeedSplitter {
public:
    explicit CFeedSplitter(BOOL alongY);
    ~CFeedSplitter();
    CFeedSplitter(const CFeedSplitter&) = delete;
    CFeedSplitter& operator=(const CFeedSplitter&) = delete;

    // The bar's pictures from the skin, turned to lie across for a bar that
    // moves up and down.
    void LoadPictures();
    // How thick the bar is: its tile's, else 6.
    int Thickness() const;
    // The bar's two ends and the tile between them, when the skin has them.
    void Paint(HDC dc) const;

    // The mouse over the owner. feedback draws the drag's inverting lines at
    // the split; MouseUp answers TRUE when it ended a drag (the owner then
    // lays out its children).
    void MouseDown(CWnd& owner, CPoint pt, const std::function<void()>& feedback);
    void MouseMove(CPoint pt, const std::function<void()>& feedback);
    BOOL MouseUp(const std::function<void()>& feedback);

    int split = 0;
    CRect bar;

private:
    BOOL m_alongY;
    CSplitDrag m_drag;
    DIB_IMAGE m_top{}, m_tile{}, m_bottom{};
};
