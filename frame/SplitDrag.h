#pragma once
// Dragging a splitter bar with the mouse. The owner keeps the split, clamps
// it and draws the feedback (an inverting draw, so drawing it again takes it
// away); this keeps the drag's state and the cursor.
#include "classlib/Afx.h"

// Over a bar: the splitter cursor (ours, else the system's), elsewhere the arrow.
// H: a bar that moves left and right; V: one that moves up and down.
void SetHSplitBarCursor(BOOL overBar);
void SetVSplitBarCursor(BOOL overBar);

class CSplitDrag {
public:
    // alongY: the bar moves up and down (the split is a y).
    explicit CSplitDrag(BOOL alongY) : m_alongY(alongY) {}

    // Mouse down: starts a drag when pt is on the bar and nothing holds the
    // mouse; TRUE when it did (the owner then draws its feedback).
    BOOL Begin(CWnd& owner, CPoint pt, const CRect& bar);
    // While dragging: the split that puts the bar under the mouse as it was grabbed.
    int SplitAt(CPoint pt) const { return (m_alongY ? pt.y : pt.x) - m_offset; }
    // Mouse up: ends the drag and gives the mouse back.
    void End();
    // The cursor for a point when not dragging.
    void SetCursor(BOOL overBar) const;
    BOOL IsDragging() const { return m_dragging; }

private:
    BOOL m_alongY;
    BOOL m_dragging = FALSE;
    int m_offset = 0;
};
