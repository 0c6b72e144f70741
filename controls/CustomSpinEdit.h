#pragma once
// A small numeric field between a skinned decrement button (left) and an
// increment button (right). Tells its parent about every change with the
// registered messages below (SendMessage, wParam 0, lParam 0); the parent reads
// m_value.
#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "core/RegisteredMessages.h"

// The inner edit: no context menu; its own EN_KILLFOCUS becomes WM_KILLFOCUS
// of the spin control.
class CSpinEdit : public CEdit {
protected:
    void OnContextMenu(CWnd*, CPoint) {}
    void OnKillFocusReflect();
    DECLARE_MESSAGE_MAP()
};

class CCustomSpinEdit : public CWnd {
public:
    enum { EditId = 10000, TimerDelay = 1, TimerRepeat = 2 };
    enum { ButtonNone = 0, ButtonDec = 1, ButtonInc = 2 };
    static constexpr COLORREF kBackground = 0x463C3C, kDisabled = 0x595252;

    CCustomSpinEdit();
    ~CCustomSpinEdit() override;

    void SetBkColor(COLORREF color);
    void ClearAndDisable();
    void Validate(BOOL updateText);
    void SetValue(int value);
    BOOL PreTranslateMessage(MSG* msg) override;

    CSpinEdit m_edit;
    int m_value = 0;
    int m_min = 0, m_max = 0;
    BOOL m_enabled = TRUE;
    BOOL m_decEnabled = TRUE, m_incEnabled = TRUE;
    int m_activeButton = ButtonNone;
    BOOL m_decPressed = FALSE, m_incPressed = FALSE, m_decHot = FALSE, m_incHot = FALSE;
    CRect m_decRect, m_incRect;
    COLORREF m_textColor = RGB(0xFF, 0xFF, 0xFF);

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnLButtonDblClk(UINT flags, CPoint pt) { OnLButtonDown(flags, pt); }
    void OnLButtonUp(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);
    void OnTimer(UINT_PTR id);
    void OnKillFocus(CWnd* next);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    DECLARE_MESSAGE_MAP()

private:
    void Step(int button);
    void StopTimers();
    void NotifyParent(UINT msg);
    const DIB_IMAGE& Picture(bool inc) const;

    COLORREF m_bkColor = kBackground;
    HBRUSH m_bkBrush = nullptr;
    HBRUSH m_disabledBrush = nullptr;
    HFONT m_font = nullptr;
    // normal, pressed, hot, disabled; right (increment) then left (decrement)
    DIB_IMAGE m_pictures[8]{};
};
