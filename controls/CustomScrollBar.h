#pragma once
// A bitmap-skinned scroll bar that lives in its host's non-client area.
//
// The bar is a child of the host placed just outside the host's client area,
// where the system clips it away: it never paints or receives clicks as a
// window of its own. The host keeps the scroll state in its own scroll
// information (SetScrollInfo on itself, which switches WS_VSCROLL/WS_HSCROLL)
// and drives the bar through the static host operations:
//   WM_NCCALCSIZE   UpdateFromHost for each bar, vertical first, no default
//   WM_NCHITTEST    HitTestNC, unless it answers -2
//   WM_NCPAINT      RedrawNC for each bar, then DrawSizeBox
//   PreTranslate    ForwardNCMouse for each bar
// The bar sends the host WM_VSCROLL/WM_HSCROLL (lParam 0) like a system bar;
// SB_THUMBTRACK carries the position in the high word and in m_trackPos,
// which is the one to read for positions beyond 16 bits.
#include "classlib/Afx.h"
#include "common/DibImage.h"

// The 21 pictures all bars share, loaded by the first bar and freed by the last.
struct SCROLLBAR_SKIN {
    enum {
        SizeBox = 0,
        ArrowUp = 1,     // normal, hot, pressed follow for each arrow
        ArrowDown = 4,
        ArrowLeft = 7,
        ArrowRight = 10,
        PageVert = 13,
        PageHorz = 14,
        ThumbVert = 15,  // normal, hot, pressed
        ThumbHorz = 18,
        Count = 21
    };
    DIB_IMAGE images[Count];
    int refCount;
};
extern SCROLLBAR_SKIN theScrollBarSkin;
extern const wchar_t* const kScrollBarSkinFiles[SCROLLBAR_SKIN::Count];

class CCustomScrollBar : public CScrollBar {
public:
    // Part codes of the hit test.
    enum { PartNone = 0, PartThumb = 1, PartFirstArrow = 2, PartLastArrow = 3, PartPageBefore = 4, PartPageAfter = 5 };
    enum { TimerDelay = 100, TimerRepeat = 101 };

    CCustomScrollBar();
    // Destroys its window while still a scroll bar, so the skin is released.
    ~CCustomScrollBar() override;

    // Host operations.
    static LRESULT UpdateFromHost(CCustomScrollBar* bar, NCCALCSIZE_PARAMS* params);
    static LRESULT HitTestNC(CCustomScrollBar* bar, int x, int y);
    static void RedrawNC(CCustomScrollBar* bar);
    // The host's own corner picture, when it gives one, in place of the shared one.
    static void DrawSizeBox(CWnd* host, const DIB_IMAGE* picture = nullptr);
    static BOOL ForwardNCMouse(MSG* msg, CCustomScrollBar* bar);

    // Shared skin, reference counted.
    static BOOL LoadSkin();
    static void FreeSkin();
    // Bar thickness of a vertical (SB_VERT) or horizontal (SB_HORZ) bar.
    static int Thickness(int bar);

    BOOL IsVertical() const { return m_scrollMsg == WM_VSCROLL; }
    int GetThumbLength() const;
    // Rectangle of a part in bar coordinates (empty for PartNone).
    CRect GetPartRect(int part) const;
    int HitTest(CPoint pt) const;
    // Thumb from the host's position, clamped, repainted.
    void UpdateThumbFromPos();

    UINT m_scrollMsg = WM_VSCROLL;
    int m_pressedPart = PartNone;
    int m_thumbPos = 0;
    BOOL m_buttonDown = FALSE;
    CPoint m_lastPoint;
    BOOL m_hover = FALSE;
    int m_trackPos = 0;

    // Mouse handling in bar coordinates (direct while captured, or forwarded).
    void BarMouseMove(CPoint pt);
    void BarButtonDown(CPoint pt);
    void BarButtonUp(CPoint pt);

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnTimer(UINT_PTR id);
    void OnMouseMove(UINT, CPoint pt) { BarMouseMove(pt); }
    void OnLButtonDown(UINT, CPoint pt) { BarButtonDown(pt); }
    void OnLButtonDblClk(UINT, CPoint pt) { BarButtonDown(pt); }
    void OnLButtonUp(UINT, CPoint pt) { BarButtonUp(pt); }
    void OnCaptureChanged(CWnd* wnd);
    DECLARE_MESSAGE_MAP()

private:
    int HostBar() const { return IsVertical() ? SB_VERT : SB_HORZ; }
    int FirstArrowLength() const;
    int LastArrowStart() const;
    void ClampThumb();
    void SendScroll(WPARAM code);
    void DoPartAction(int part);
    void Paint(HDC dc);
    BOOL m_skinLoaded = FALSE;
};
