#pragma once
// The mouse behaviour that the skinned push button and the alpha buttons share:
// pressing with capture, hot tracking with enter and leave messages to the
// parent, the latched (checked) look, and the command posted to the window in
// front. How a state change shows is up to the derived class.
#include "classlib/Afx.h"
#include "controls/SkinState.h"

class CSkinButtonBase : public CWnd {
public:
    // The owner latches the button; the state follows on its next change.
    BOOL m_checked = FALSE;
    // The command goes out when the button goes down, not when it comes up.
    BOOL m_clickOnPress = FALSE;

    int GetState() const { return m_state; }
    // Latches the button (state 2) or releases it (0, or 4 when disabled).
    // BM_SETCHECK does the same and BM_GETCHECK answers, so command updates
    // (CCmdUI::SetCheck) drive it like a system button.
    void SetCheck(BOOL checked);

protected:
    // Stores the state; the derived class makes its picture current.
    virtual void SetStateValue(int state) { m_state = state; }
    // A state change that must show (repaint or ask the parent to).
    virtual void ShowStateChange() = 0;
    // The window text changed (WM_SETTEXT); by default it shows like a state change.
    virtual void TextChanged() { ShowStateChange(); }
    // SetStateValue and ShowStateChange when the state differs.
    void ApplyState(int state);
    // The state a released or left button falls back to.
    int RestState() const { return m_checked ? kStateChecked : kStateHot; }
    void ResetFlags();
    void PostCommand() const;
    void SendToParent(UINT msg, WPARAM wp, LPARAM lp) const;
    void EndTracking();

    void OnLButtonDown(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    void OnLButtonDblClk(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    void OnMouseLeave();
    void OnEnable(BOOL enable);
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnNcHitTest(CPoint pt);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnDestroy();
    LRESULT OnSetCheckMsg(WPARAM check, LPARAM);
    LRESULT OnGetCheckMsg(WPARAM, LPARAM);
    LRESULT OnSetTextMsg(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    int m_state = kStateNormal;
    UINT m_id = static_cast<UINT>(-1);
    BOOL m_sysCommand = FALSE;
    BOOL m_pressed = FALSE;   // went down here; the mouse is captured
    BOOL m_tracking = FALSE;  // leave notification requested, enter message sent
    RECT m_hitRect{};         // the part of the window that takes the mouse
};
