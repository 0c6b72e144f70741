#include "controls/SkinButtonBase.h"

#include <mmsystem.h>

#include "controls/ButtonMessages.h"

BEGIN_MESSAGE_MAP(CSkinButtonBase, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_ENABLE()
    ON_WM_SIZE()
    ON_WM_NCHITTEST()
    ON_WM_SETCURSOR()
    ON_WM_DESTROY()
    ON_MESSAGE(BM_SETCHECK, OnSetCheckMsg)
    ON_MESSAGE(BM_GETCHECK, OnGetCheckMsg)
    ON_MESSAGE(WM_SETTEXT, OnSetTextMsg)
END_MESSAGE_MAP()

void CSkinButtonBase::SetCheck(BOOL checked)
{
    m_checked = checked;
    ApplyState(checked ? kStateChecked : (m_hWnd && !IsWindowEnabled() ? kStateDisabled : kStateNormal));
}

LRESULT CSkinButtonBase::OnSetCheckMsg(WPARAM check, LPARAM)
{
    SetCheck(check != BST_UNCHECKED);
    return 0;
}

LRESULT CSkinButtonBase::OnGetCheckMsg(WPARAM, LPARAM)
{
    return m_checked ? BST_CHECKED : BST_UNCHECKED;
}

LRESULT CSkinButtonBase::OnSetTextMsg(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    TextChanged();
    return result;
}

void CSkinButtonBase::ApplyState(int state)
{
    if (state == m_state)
        return;
    SetStateValue(state);
    ShowStateChange();
}

void CSkinButtonBase::ResetFlags()
{
    m_checked = FALSE;
    m_clickOnPress = FALSE;
    m_pressed = FALSE;
    m_tracking = FALSE;
}

void CSkinButtonBase::PostCommand() const
{
    PostButtonCommand(m_hWnd, m_id, m_sysCommand);
}

void CSkinButtonBase::SendToParent(UINT msg, WPARAM wp, LPARAM lp) const
{
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessageW(parent, msg, wp, lp);
}

void CSkinButtonBase::EndTracking()
{
    m_tracking = FALSE;
    SendToParent(WM_BUTTON_LEAVE_MOUSE_TRACK, timeGetTime(), m_id);
}

void CSkinButtonBase::OnLButtonDown(UINT, CPoint pt)
{
    if (m_clickOnPress) {
        ApplyState(kStatePressed);
        CRect client;
        GetClientRect(&client);
        if (client.PtInRect(pt))
            PostCommand();
        return;
    }
    m_pressed = TRUE;
    ApplyState(kStatePressed);
    SetCapture();
}

void CSkinButtonBase::OnLButtonUp(UINT, CPoint pt)
{
    if (!m_pressed && !m_clickOnPress)
        return;
    const BOOL wasPressed = m_pressed;
    m_pressed = FALSE;
    if (wasPressed && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ApplyState(RestState());
    CRect client;
    GetClientRect(&client);
    // A click-on-press button already posted on the way down: one click, one command.
    if (!m_clickOnPress && client.PtInRect(pt))
        PostCommand();
}

void CSkinButtonBase::OnLButtonDblClk(UINT, CPoint)
{
    // Only reaches a window class with double clicks; the first click of the
    // pair already posted the command.
}

void CSkinButtonBase::OnMouseMove(UINT, CPoint pt)
{
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(pt)) {
        if (m_pressed) {
            ApplyState(kStatePressed);
        } else if (!m_tracking && !m_checked) {
            TrackMouseEvent(TME_LEAVE);
            m_tracking = TRUE;
            ApplyState(kStateHot);
            SendToParent(WM_BUTTON_BEGIN_MOUSE_TRACK, timeGetTime(), m_id);
        }
    } else if (m_pressed) {
        ApplyState(RestState());
    }
}

void CSkinButtonBase::OnMouseLeave()
{
    EndTracking();
    if (!IsWindowEnabled() && m_state == kStateDisabled)
        return;
    ApplyState(m_checked ? kStateChecked : kStateNormal);
}

void CSkinButtonBase::OnEnable(BOOL enable)
{
    Default();
    // A latched button enabled again shows latched.
    ApplyState(enable ? (m_checked ? kStateChecked : kStateNormal) : kStateDisabled);
}

void CSkinButtonBase::OnSize(UINT, int cx, int cy)
{
    Default();
    m_hitRect = RECT{0, 0, cx, cy};
}

LRESULT CSkinButtonBase::OnNcHitTest(CPoint pt)
{
    CRect hit(m_hitRect);
    ClientToScreen(&hit);
    return hit.PtInRect(pt) ? Default() : HTTRANSPARENT;
}

BOOL CSkinButtonBase::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

void CSkinButtonBase::OnDestroy()
{
    if (m_tracking) {
        TrackMouseEvent(TME_LEAVE | TME_CANCEL);
        EndTracking();
    }
    Default();
}
