#pragma once
// The tips balloon: a small modal window next to the button that opened it,
// framed by eight skin pieces with rounded corners, with a mark picture, a
// bold title and a word-wrapped message. A click anywhere closes it.
//
// The caller sets the texts and the anchor (the screen rectangle of the button)
// and runs DoModal. In the message the two characters backslash and "n" at the
// start of a word force a line break.
#include <functional>

#include "classlib/CDialog.h"
#include "common/DibImage.h"

class CInfoDlg : public CDialog {
public:
    CInfoDlg();
    ~CInfoDlg() override;

    void SetTitle(LPCWSTR text) { m_title = text ? text : L""; }
    void SetMessage(LPCWSTR text) { m_message = text ? text : L""; }
    BOOL OnInitDialog() override;

    // Screen rectangle of the control that opened the balloon.
    RECT m_anchor{};

    // Widest line of the wrapped message, in pixels.
    static constexpr int kMaxLineWidth = 572;
    static constexpr int kMinHeight = 125;

    struct Wrapped {
        CString text;    // the message with line feeds
        int width = 0;   // of its widest line
        int breaks = 0;  // line feeds added
    };
    // Wraps message at kMaxLineWidth, measuring with textWidth.
    static Wrapped WrapText(const CString& message, const std::function<int(const CString&)>& textWidth);
    // Where a w x h balloon goes below anchor: kept 20 px inside the parent
    // window, then inside the monitor's work area.
    static RECT Place(const RECT& anchor, int w, int h, const RECT& parent, const RECT& workArea);

    const CString& GetMessage() const { return m_message; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBreakCount() const { return m_breaks; }
    BOOL IsOnDialogStack() const { return m_onStack; }
    // Every frame piece and the mark are loaded; without them nothing is drawn.
    BOOL IsSkinned() const;

protected:
    enum Piece { kTopLeft, kTop, kTopRight, kLeft, kRight, kBottomLeft, kBottom, kBottomRight, kMark, kPieceCount };

    void LayoutText();
    void WrapMessage(HDC dc);
    void BuildRegion();
    void LeaveDialogStack();

    void OnLButtonDown(UINT flags, CPoint pt);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    DIB_IMAGE m_pieces[kPieceCount];
    CString m_title, m_message;
    HFONT m_titleFont = nullptr, m_messageFont = nullptr;
    HRGN m_region = nullptr;  // owned by the window once set
    int m_width = 0, m_height = 0;
    int m_breaks = 0;
    BOOL m_onStack = FALSE;
};
