#pragma once
// A block of text word-wrapped into rows of fixed height, white on grey-blue,
// scrolled with a skinned vertical bar in its non-client area, the wheel and
// the keyboard.
#include "classlib/Afx.h"
#include "controls/ScrollHostWnd.h"

class CScrlText : public CScrollHostWnd {
public:
    enum { BarId = 59650, RowPitch = 30, MinContentHeight = 306, LineStep = 10, PageStep = 35 };

    CScrlText() : CScrollHostWnd(&m_scrollBar, nullptr) {}
    ~CScrlText() override;

    // Stores and wraps the text; NULL does nothing.
    void SetText(LPCWSTR text);
    BOOL PreTranslateMessage(MSG* msg) override;

    const CStringArray& GetLines() const { return m_lines; }
    int GetContentHeight() const;

    CCustomScrollBar m_scrollBar;
    COLORREF m_textColor = RGB(0xFF, 0xFF, 0xFF);
    COLORREF m_bkColor = 0x8B7B7B;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);
    void OnLButtonDown(UINT flags, CPoint pt);
    DECLARE_MESSAGE_MAP()

private:
    void Wrap();
    void UpdateScrollRange();
    // Keyboard and wheel: moves to pos, makes the thumb follow.
    void ScrollTo(int pos);

    HFONT m_font = nullptr;
    CString m_text;
    CStringArray m_lines;
    bool m_inSize = false;
};
