#include "classlib/CWnd.h"

#include <vector>

#include "classlib/CWinApp.h"
#include "classlib/EditingKeys.h"
#include "classlib/WndThreadState.h"

namespace {
afx::ThreadState& State()
{
    return afx::GetThreadState();
}
}  // namespace

// Dispatch of a window's messages: message maps, reflection to child controls,
// command update and routing, the pre-translation walk, the modal loop; and the
// helpers that need more than one call.

// ---------------------------------------------------------------------------
// Dispatch

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = 0;
    if (!OnWndMsg(msg, wp, lp, &result))
        result = DefWindowProc(msg, wp, lp);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCDESTROY)
        State().ncDestroyDefaulted = true;
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, msg, wp, lp);
    return ::DefWindowProcW(m_hWnd, msg, wp, lp);
}

LRESULT CWnd::Default()
{
    const MSG& m = State().current;
    if (m.message == WM_NULL)
        return 0;  // inside a reflected notification: the control has no default for it
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    return &State().current;
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    switch (msg) {
    case WM_COMMAND:
        if (OnCommand(wp, lp)) {
            *result = 0;
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY:
        return OnNotify(wp, lp, result);
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (dis->CtlType != ODT_MENU && ReflectToChild(dis->hwndItem, msg, wp, lp, result))
            return TRUE;
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (mis->CtlType != ODT_MENU) {
            CWnd* child = FindChildForItem(mis->CtlID);
            if (child && ReflectToChild(child->m_hWnd, msg, wp, lp, result))
                return TRUE;
        }
        break;
    }
    case WM_COMPAREITEM:
        if (ReflectToChild(reinterpret_cast<COMPAREITEMSTRUCT*>(lp)->hwndItem, msg, wp, lp, result))
            return TRUE;
        break;
    case WM_DELETEITEM:
        if (ReflectToChild(reinterpret_cast<DELETEITEMSTRUCT*>(lp)->hwndItem, msg, wp, lp, result))
            return TRUE;
        break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lp && ReflectToChild(reinterpret_cast<HWND>(lp), msg, wp, lp, result))
            return TRUE;
        break;
    default:
        break;
    }
    afx::MsgCall call;
    call.message = msg;
    call.wParam = wp;
    call.lParam = lp;
    if (DispatchMsgMap(afx::EntryKind::Message, call) || DispatchMsgMap(afx::EntryKind::Registered, call)) {
        *result = call.result;
        return TRUE;
    }
    return FALSE;
}

CWnd* CWnd::FindChildForItem(UINT ctlId) const
{
    // An owner-drawn control asks its size while it is being created, before
    // its parent could know it by id; the object under creation answers then.
    for (auto it = State().creating.rbegin(); it != State().creating.rend(); ++it) {
        CWnd* w = *it;
        if (w->m_hWnd && ::GetParent(w->m_hWnd) == m_hWnd && static_cast<UINT>(::GetDlgCtrlID(w->m_hWnd)) == ctlId)
            return w;
    }
    return FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(ctlId)));
}

BOOL CWnd::ReflectToChild(HWND child, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    CWnd* wnd = FromHandlePermanent(child);
    if (!wnd || wnd == this)
        return FALSE;
    // The child's Default() must not replay the parent's message on the child.
    afx::CurrentMessage current(child, WM_NULL, 0, 0);
    return wnd->OnChildNotify(msg, wp, lp, result);
}

BOOL CWnd::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    return ReflectChildNotify(msg, wp, lp, result);
}

BOOL CWnd::ReflectChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    afx::MsgCall call;
    call.message = msg;
    call.wParam = wp;
    call.lParam = lp;
    if (msg == WM_COMMAND) {
        call.code = HIWORD(wp);
        call.id = LOWORD(wp);
        if (!DispatchMsgMap(afx::EntryKind::ReflectCommand, call))
            return FALSE;
    } else if (msg == WM_NOTIFY) {
        auto* nm = reinterpret_cast<NMHDR*>(lp);
        call.code = nm->code;
        call.id = static_cast<UINT>(nm->idFrom);
        if (!DispatchMsgMap(afx::EntryKind::ReflectNotify, call))
            return FALSE;
    } else {
        return FALSE;
    }
    if (result)
        *result = call.result;
    return TRUE;
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* result)
{
    const MSG& m = State().current;
    return OnChildNotify(m.message, m.wParam, m.lParam, result);
}

BOOL CWnd::OnCommand(WPARAM wp, LPARAM lp)
{
    UINT id = LOWORD(wp);
    HWND control = reinterpret_cast<HWND>(lp);
    int code = HIWORD(wp);
    LRESULT ignored = 0;
    if (control && ReflectToChild(control, WM_COMMAND, wp, lp, &ignored))
        return TRUE;
    // Menus (code 0) and accelerators (code 1) come without a control.
    if (!control)
        code = CN_COMMAND;
    if (id == 0)
        return FALSE;
    // Menus, accelerators, posted commands and clicks: a command that its
    // update handler disables is dropped, whatever sent it.
    const bool beyondSelf = control == nullptr;
    if (code == CN_COMMAND) {
        CCmdUIProbe state;
        state.m_nID = id;
        RouteCommand(id, CN_UPDATE_COMMAND_UI, &state, nullptr, beyondSelf);
        if (!state.m_enabled)
            return TRUE;
    }
    return RouteCommand(id, code, nullptr, nullptr, beyondSelf);
}

BOOL CWnd::RouteCommand(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info, bool beyondSelf)
{
    if (OnCmdMsg(id, code, extra, info))
        return TRUE;
    // Child windows keep to their own map; a top-level window (a dialog, a
    // popup, the main window) hands program commands (0x8000..0xEFFF, not the
    // small ids of dialog controls nor system commands) on to its owners and
    // the application.
    if (!beyondSelf || (code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI) || id < 0x8000 || id >= 0xF000 ||
        !m_hWnd || (GetStyle() & WS_CHILD))
        return FALSE;
    for (HWND owner = ::GetWindow(m_hWnd, GW_OWNER); owner; owner = ::GetWindow(owner, GW_OWNER)) {
        CWnd* wnd = FromHandlePermanent(owner);
        if (wnd && wnd->OnCmdMsg(id, code, extra, info))
            return TRUE;
    }
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, extra, info);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lp, LRESULT* result)
{
    auto* nm = reinterpret_cast<NMHDR*>(lp);
    if (!nm)
        return FALSE;
    if (nm->hwndFrom && ReflectToChild(nm->hwndFrom, WM_NOTIFY, nm->idFrom, lp, result))
        return TRUE;
    afx::MsgCall call;
    call.message = WM_NOTIFY;
    call.wParam = nm->idFrom;
    call.lParam = lp;
    call.code = nm->code;
    call.id = static_cast<UINT>(nm->idFrom);
    if (!DispatchMsgMap(afx::EntryKind::Notify, call))
        return FALSE;
    *result = call.result;
    return TRUE;
}

BOOL CWnd::WalkPreTranslateTree(MSG* msg)
{
    // The editing keys of an edit field or a cell editor are its own: only
    // the window itself looks at them before they go to it.
    if (afx::IsOwnEditingKey(*msg)) {
        CWnd* wnd = FromHandlePermanent(msg->hwnd);
        return (wnd && wnd->PreTranslateMessage(msg)) || afx::CarryOutEditingKey(*msg);
    }
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        CWnd* wnd = FromHandlePermanent(h);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (!(::GetWindowLongW(h, GWL_STYLE) & WS_CHILD))
            break;  // the top-level window was the last one asked
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Modal loop

int CWnd::RunModalLoop()
{
    m_modalLoop = true;
    // The same idle passes as the main loop (the application's OnIdle frees the
    // temporary wrappers and refreshes the windows behind), and this window is
    // told of each pass.
    afx::IdlePasses idle(m_hWnd);
    MSG peek;
    while (m_modalLoop) {
        idle.RunWhileQueueEmpty();
        do {
            if (!m_modalLoop)
                break;
            if (!AfxPumpMessage()) {
                // The program is quitting: end this loop and hand the quit on.
                ::PostQuitMessage(static_cast<int>(AfxGetLastQuitCode()));
                m_modalLoop = false;
                m_nModalResult = -1;
                break;
            }
            idle.MessagePumped();
        } while (::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
    return m_nModalResult;
}

void CWnd::EndModalLoop(int result)
{
    m_nModalResult = result;
    if (m_modalLoop) {
        m_modalLoop = false;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the loop's GetMessage
    }
}

// ---------------------------------------------------------------------------
// Helpers

CWnd* CWnd::GetSafeOwner(CWnd* parent)
{
    HWND h = parent ? parent->m_hWnd : nullptr;
    if (!h) {
        CWnd* main = AfxGetMainWnd();
        h = main ? main->m_hWnd : nullptr;
    }
    if (!h)
        return nullptr;
    while (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) {
        HWND up = ::GetParent(h);
        if (!up)
            break;
        h = up;
    }
    return FromHandle(::GetLastActivePopup(h));
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND h = m_hWnd;
    while (h && (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD))
        h = ::GetParent(h);
    return FromHandle(h);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = GetStyle();
    DWORD next = (style & ~remove) | add;
    if (style == next)
        return FALSE;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(next));
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = GetExStyle();
    DWORD next = (style & ~remove) | add;
    if (style == next)
        return FALSE;
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(next));
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

void CWnd::ClientToScreen(RECT* rc) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rc), 2);
}

void CWnd::ScreenToClient(RECT* rc) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rc), 2);
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    HWND center = alternateOwner ? alternateOwner->m_hWnd : nullptr;
    if (!center)
        center = (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    RECT area{};
    if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
        ::GetWindowRect(center, &area);
    } else {
        MONITORINFO mi{sizeof(mi)};
        ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi);
        area = mi.rcWork;
    }
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x = (area.left + area.right - w) / 2, y = (area.top + area.bottom - h) / 2;
    if (GetStyle() & WS_CHILD) {
        POINT p{x, y};
        ::ScreenToClient(::GetParent(m_hWnd), &p);
        x = p.x;
        y = p.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CString AfxGetWindowText(HWND hwnd)
{
    CString text;
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length > 0) {
        // The length may be more than the text (double-byte counts): one more.
        wchar_t* buffer = text.GetBuffer(length + 1);
        const int got = ::GetWindowTextW(hwnd, buffer, length + 1);
        text.ReleaseBuffer(got);
    }
    return text;
}

void CWnd::GetWindowText(CString& text) const
{
    text = AfxGetWindowText(m_hWnd);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    text = AfxGetWindowText(::GetDlgItem(m_hWnd, id));
    return text.GetLength();
}

CDC* CWnd::GetDC()
{
    HDC dc = ::GetDC(m_hWnd);
    if (!dc)
        return nullptr;
    auto* wrapper = new CDC;
    wrapper->Attach(dc);
    return wrapper;
}

int CWnd::ReleaseDC(CDC* dc)
{
    if (!dc)
        return 0;
    int r = ::ReleaseDC(m_hWnd, dc->Detach());
    delete dc;
    return r;
}

BOOL CWnd::TrackMouseEvent(DWORD flags, DWORD hoverTime)
{
    TRACKMOUSEEVENT tme{sizeof(tme)};
    tme.dwFlags = flags;
    tme.hwndTrack = m_hWnd;
    tme.dwHoverTime = hoverTime;
    return ::TrackMouseEvent(&tme);
}

BOOL CWnd::GetScrollInfo(int bar, SCROLLINFO* si, UINT mask) const
{
    si->cbSize = sizeof(SCROLLINFO);
    si->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, si);
}
