#include "controls/CustomSpinEdit.h"

#include <imm.h>

#include <algorithm>

#include "classlib/CMemDC.h"
#include "common/ButtonStrips.h"
#include "common/Utility.h"
#include "controls/KeyRepeat.h"

namespace {
const wchar_t* const kPictureFiles[8] = {
    L"spin_right_normal.bmp", L"spin_right_pressed.bmp", L"spin_right_hot.bmp", L"spin_right_disable.bmp",
    L"spin_left_normal.bmp",  L"spin_left_pressed.bmp",  L"spin_left_hot.bmp",  L"spin_left_disable.bmp",
};
enum { PicNormal = 0, PicPressed = 1, PicHot = 2, PicDisabled = 3 };
}  // namespace

BEGIN_MESSAGE_MAP(CSpinEdit, CEdit)
    ON_WM_CONTEXTMENU()
    ON_CONTROL_REFLECT(EN_KILLFOCUS, OnKillFocusReflect)
END_MESSAGE_MAP()

void CSpinEdit::OnKillFocusReflect()
{
    ::SendMessageW(::GetParent(m_hWnd), WM_KILLFOCUS, 0, 0);
}

BEGIN_MESSAGE_MAP(CCustomSpinEdit, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_WM_MOUSEWHEEL()
    ON_WM_TIMER()
    ON_WM_KILLFOCUS()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CCustomSpinEdit::CCustomSpinEdit()
{
    m_bkBrush = CreateSolidBrush(m_bkColor);
}

CCustomSpinEdit::~CCustomSpinEdit()
{
    for (auto& p : m_pictures)
        FreeDibImage(&p);
    if (m_bkBrush)
        DeleteObject(m_bkBrush);
    if (m_disabledBrush)
        DeleteObject(m_disabledBrush);
    if (m_font)
        DeleteObject(m_font);
}

int CCustomSpinEdit::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!m_font && !CreateTahomaFont(FALSE, &m_font, 110, FALSE))
        return -1;
    if (!m_edit.Create(WS_CHILD | WS_VISIBLE | ES_NUMBER | ES_CENTER, CRect(0, 0, 0, 0), this, EditId))
        return -1;
    m_edit.SetWindowText(L"0");
    m_edit.LimitText(2);
    m_edit.SetFont(m_font, FALSE);
    ImmAssociateContext(m_edit.m_hWnd, nullptr);
    for (int i = 0; i < 8; ++i)
        LoadDibFromPack(kPictureFiles[i], &m_pictures[i]);  // a missing one only leaves a blank
    if (!m_disabledBrush)
        m_disabledBrush = CreateSolidBrush(kDisabled);
    return 0;
}

void CCustomSpinEdit::OnDestroy()
{
    StopTimers();
    if (m_bkBrush) {
        DeleteObject(m_bkBrush);
        m_bkBrush = nullptr;
    }
    if (m_disabledBrush) {
        DeleteObject(m_disabledBrush);
        m_disabledBrush = nullptr;
    }
    Default();
    if (m_font) {
        DeleteObject(m_font);
        m_font = nullptr;
    }
}

void CCustomSpinEdit::SetBkColor(COLORREF color)
{
    m_bkColor = color;
    if (m_bkBrush)
        DeleteObject(m_bkBrush);
    m_bkBrush = CreateSolidBrush(color);
    if (m_hWnd)
        Invalidate(FALSE);
    if (m_edit.m_hWnd)
        m_edit.Invalidate();
}

void CCustomSpinEdit::ClearAndDisable()
{
    m_enabled = FALSE;
    m_edit.SetWindowText(L"");
    m_edit.EnableWindow(FALSE);
    EnableWindow(FALSE);
    Invalidate(FALSE);
}

void CCustomSpinEdit::Validate(BOOL updateText)
{
    CString text;
    m_edit.GetWindowText(text);
    int v = text.IsEmpty() ? 0 : _wtoi(text);
    if (v >= m_max) {
        v = m_max;
        m_incEnabled = FALSE;
        m_decEnabled = m_max > m_min;
    } else {
        m_incEnabled = TRUE;
        if (v > m_min) {
            m_decEnabled = TRUE;
        } else {
            v = m_min;
            m_decEnabled = FALSE;
        }
    }
    if (updateText) {
        CString s;
        s.Format(L"%d", v);
        m_edit.SetWindowText(s);
    }
    m_value = v;
    Invalidate(FALSE);
}

void CCustomSpinEdit::SetValue(int value)
{
    m_value = value;
    CString s;
    s.Format(L"%d", value);
    m_edit.SetWindowText(s);
    Validate(TRUE);
}

BOOL CCustomSpinEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYUP && msg->hwnd == m_edit.m_hWnd) {
        const WPARAM key = msg->wParam;
        if ((key >= '0' && key <= '9') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) || key == VK_DELETE ||
            key == VK_BACK) {
            Validate(FALSE);
            NotifyParent(WM_SPIN_VALUE_CHANGE);
        }
    }
    return CWnd::PreTranslateMessage(msg);
}

void CCustomSpinEdit::OnSize(UINT, int cx, int cy)
{
    if (cx <= 0 || cy <= 0)
        return;
    if (m_edit.m_hWnd)
        m_edit.MoveWindow(cx / 2 - 13, 2, 26, 16);
    CRect inner(0, 0, cx, cy);
    inner.DeflateRect(2, 2);
    m_decRect = CRect(inner.left, inner.top, inner.left + 17, inner.top + 16);
    m_incRect = CRect(inner.right - 17, inner.top, inner.right, inner.top + 16);
}

const DIB_IMAGE& CCustomSpinEdit::Picture(bool inc) const
{
    const int base = inc ? 0 : 4;
    const BOOL enabled = m_enabled && IsWindowEnabled() && (inc ? m_incEnabled : m_decEnabled);
    if (!enabled)
        return m_pictures[base + PicDisabled];
    if (inc ? m_incPressed : m_decPressed)
        return m_pictures[base + PicPressed];
    if (inc ? m_incHot : m_decHot)
        return m_pictures[base + PicHot];
    return m_pictures[base + PicNormal];
}

void CCustomSpinEdit::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CMemDC mem(&dc, client);
    HBRUSH back = CreateSolidBrush(kBackground);
    FillRect(mem, &client, back);
    DrawFrameLines(&client, mem);
    CRect inside = client;
    inside.DeflateRect(1, 1);
    FrameRect(mem, &inside, back);
    DeleteObject(back);
    for (int inc = 0; inc < 2; ++inc) {
        const CRect& rc = inc ? m_incRect : m_decRect;
        const DIB_IMAGE& pic = Picture(inc != 0);
        if (!pic.bitmap || rc.IsRectEmpty())
            continue;
        DrawDibEx(&pic, mem, rc.left, rc.top, std::min(pic.width, rc.Width()), std::min(pic.height, rc.Height()), 0, 0,
                  std::min(pic.width, rc.Width()), std::min(pic.height, rc.Height()));
    }
}

void CCustomSpinEdit::NotifyParent(UINT msg)
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent)
        ::SendMessageW(parent, msg, 0, 0);
}

void CCustomSpinEdit::Step(int button)
{
    if (!m_enabled || (button == ButtonDec && !m_decEnabled) || (button == ButtonInc && !m_incEnabled) ||
        button == ButtonNone)
        return;
    CString text;
    m_edit.GetWindowText(text);
    int v = (text.IsEmpty() ? 0 : _wtoi(text)) + (button == ButtonInc ? 1 : -1);
    v = std::clamp(v, m_min, std::max(m_min, m_max));
    m_incEnabled = v < m_max;
    m_decEnabled = v > m_min;
    CString s;
    s.Format(L"%d", v);
    m_edit.SetWindowText(s);
    m_edit.SetFocus();
    m_edit.SetSel(0, -1);
    m_value = v;
    Invalidate(FALSE);
    NotifyParent(WM_SPIN_VALUE_CHANGE);
}

void CCustomSpinEdit::StopTimers()
{
    KillTimer(TimerDelay);
    KillTimer(TimerRepeat);
}

void CCustomSpinEdit::OnLButtonDown(UINT, CPoint pt)
{
    if (::GetCapture())
        return;
    int button = ButtonNone;
    if (m_decRect.PtInRect(pt) && m_decEnabled && m_enabled) {
        m_decPressed = TRUE;
        button = ButtonDec;
    } else if (m_incRect.PtInRect(pt) && m_incEnabled && m_enabled) {
        m_incPressed = TRUE;
        button = ButtonInc;
    }
    if (button == ButtonNone)
        return;
    m_activeButton = button;
    Step(button);
    SetTimer(TimerDelay, KeyRepeatDelayMs());
}

void CCustomSpinEdit::OnTimer(UINT_PTR id)
{
    if (id == TimerDelay) {
        KillTimer(TimerDelay);
        if (m_activeButton == ButtonNone)
            return;
        SetTimer(TimerRepeat, KeyRepeatIntervalMs());
    } else if (id == TimerRepeat) {
        Step(m_activeButton);
    } else {
        Default();
    }
}

void CCustomSpinEdit::OnLButtonUp(UINT, CPoint)
{
    StopTimers();
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
    m_decPressed = m_incPressed = FALSE;
    m_activeButton = ButtonNone;
    Invalidate(FALSE);
}

void CCustomSpinEdit::OnMouseMove(UINT flags, CPoint pt)
{
    const bool held = m_decPressed || m_incPressed;
    if (m_decRect.PtInRect(pt)) {
        m_decHot = TRUE;
        m_incHot = FALSE;
        if (held) {
            // A held repeat follows the button under the mouse.
            m_activeButton = ButtonDec;
            m_decPressed = TRUE;
            m_incPressed = FALSE;
        }
    } else if (m_incRect.PtInRect(pt)) {
        m_incHot = TRUE;
        m_decHot = FALSE;
        if (held) {
            m_activeButton = ButtonInc;
            m_incPressed = TRUE;
            m_decPressed = FALSE;
        }
    } else {
        m_decHot = m_incHot = FALSE;
        StopTimers();
    }
    Invalidate(FALSE);
    TrackMouseEvent(TME_LEAVE);
}

LRESULT CCustomSpinEdit::OnMouseLeave(WPARAM, LPARAM)
{
    StopTimers();
    m_decHot = m_incHot = m_decPressed = m_incPressed = FALSE;
    m_activeButton = ButtonNone;
    Invalidate(FALSE);
    return 0;
}

BOOL CCustomSpinEdit::OnMouseWheel(UINT, short delta, CPoint)
{
    Step(delta <= 0 ? ButtonDec : ButtonInc);
    // Taken here: a scrollable parent must not scroll as well.
    return TRUE;
}

void CCustomSpinEdit::OnKillFocus(CWnd*)
{
    // Leaving the field shows the value that is in force.
    if (m_enabled && m_edit.m_hWnd && ::IsWindowEnabled(m_edit.m_hWnd)) {
        CString before;
        m_edit.GetWindowText(before);
        Validate(TRUE);
        CString after;
        m_edit.GetWindowText(after);
        if (before != after)
            NotifyParent(WM_SPIN_VALUE_CHANGE);
    }
    NotifyParent(WM_SPIN_FOCUS_MOVE);
}

HBRUSH CCustomSpinEdit::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (!wnd || wnd->m_hWnd != m_edit.m_hWnd)
        return reinterpret_cast<HBRUSH>(Default());
    if (m_enabled && m_edit.IsWindowEnabled()) {
        dc->SetTextColor(m_textColor);
        dc->SetBkColor(m_bkColor);
        dc->SetBkMode(OPAQUE);
        return m_bkBrush;
    }
    dc->SetTextColor(kDisabled);
    dc->SetBkColor(kDisabled);
    dc->SetBkMode(OPAQUE);
    return m_disabledBrush;
}
