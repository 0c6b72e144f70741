#pragma once
// A static text painted in its own colour over the parent's background; the
// skinned dialog makes one for every styled label.
#include "classlib/CStatic.h"

class CCustomStatic : public CStatic {
public:
    explicit CCustomStatic(COLORREF textColor) : m_textColor(textColor) {}

    COLORREF m_textColor;
    COLORREF m_fillColor = RGB(255, 255, 255);
    // 1: transparent; otherwise the client area is filled with m_fillColor first.
    int m_transparent = 1;
    // Pixels kept clear right of the text's box, for glyphs that draw past
    // their measured width (right-aligned text would lose them at the edge).
    int m_rightRoom = 0;

protected:
    // The text's flags and rectangle (SS_CENTER, SS_RIGHT, SS_CENTERIMAGE) for dc's font.
    void LayoutText(HDC dc, const CString& text, RECT* rect, UINT* format) const;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return 0; }
    LRESULT OnSetText(WPARAM, LPARAM);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
