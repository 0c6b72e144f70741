#include "classlib/CWnd.h"

#include <mutex>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "classlib/CWinApp.h"
#include "classlib/TempMap.h"
#include "classlib/WndException.h"

namespace {

// Every window object of the process by handle. Windows live on the UI thread;
// the lock only keeps a stray look-up from another thread from tearing the map.
std::mutex g_mapLock;
std::unordered_map<HWND, CWnd*> g_permanent;
afx::TempMap<CWnd, HWND> g_tempWnds;

// Per thread: the message being handled and the object being created.
struct ThreadState {
    MSG current{};
    bool ncDestroyDefaulted = false;
    CWnd* pWndInit = nullptr;       // waiting for its HCBT_CREATEWND
    std::vector<CWnd*> creating;    // attached, CreateWindowEx not returned yet
    HHOOK hook = nullptr;
    int hookUsers = 0;
};
thread_local ThreadState t_state;

void MapAdd(HWND h, CWnd* w)
{
    std::lock_guard<std::mutex> lock(g_mapLock);
    g_permanent[h] = w;
}

void MapRemove(HWND h)
{
    std::lock_guard<std::mutex> lock(g_mapLock);
    g_permanent.erase(h);
}

// Sets the message Default() refers to for the length of a scope.
struct CurrentMessage {
    MSG saved;
    bool savedNcDestroy;
    CurrentMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp)
        : saved(t_state.current), savedNcDestroy(t_state.ncDestroyDefaulted)
    {
        t_state.current = MSG{h, msg, wp, lp, 0, {}};
        t_state.ncDestroyDefaulted = false;
    }
    ~CurrentMessage()
    {
        t_state.current = saved;
        t_state.ncDestroyDefaulted = savedNcDestroy;
    }
};

}  // namespace

// ---------------------------------------------------------------------------
// Window procedure

LRESULT AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CurrentMessage current(hwnd, msg, wp, lp);
    LRESULT result = 0;
    try {
        result = wnd->WindowProc(msg, wp, lp);
    } catch (const std::exception& e) {
        result = AfxProcessWndProcException(e, &t_state.current);
    } catch (...) {
        result = AfxProcessWndProcException(std::runtime_error("unknown exception"), &t_state.current);
    }
    if (msg == WM_NCDESTROY) {
        if (!t_state.ncDestroyDefaulted && wnd->m_pfnSuper)
            ::CallWindowProcW(wnd->m_pfnSuper, hwnd, msg, wp, lp);
        wnd->OnNcDestroyFinal();
    }
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    return AfxCallWndProc(wnd, hwnd, msg, wp, lp);
}

// Attaches the object being created to its window before the window's first
// message, so WM_GETMINMAXINFO, WM_NCCREATE and what a control sends its parent
// during creation (WM_MEASUREITEM) already reach the object.
LRESULT CALLBACK AfxCbtHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_CREATEWND && t_state.pWndInit) {
        CWnd* wnd = t_state.pWndInit;
        t_state.pWndInit = nullptr;
        HWND hwnd = reinterpret_cast<HWND>(wp);
        wnd->Attach(hwnd);
        // Nothing may be thrown through the system's creation code.
        try {
            wnd->PreSubclassWindow();
        } catch (const std::exception& e) {
            AfxProcessWndProcException(e, nullptr);
        }
        auto old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
        if (old != &AfxWndProc)
            wnd->m_pfnSuper = old;
        if (!wnd->m_pfnSuper)
            wnd->m_pfnSuper = &::DefWindowProcW;
        t_state.creating.push_back(wnd);
    }
    return ::CallNextHookEx(t_state.hook, code, wp, lp);
}

namespace afx {
CreationScope::CreationScope(CWnd* wnd)
{
    if (t_state.hookUsers++ == 0)
        t_state.hook = ::SetWindowsHookExW(WH_CBT, &AfxCbtHook, nullptr, ::GetCurrentThreadId());
    m_saved = t_state.pWndInit;
    t_state.pWndInit = wnd;
    m_wnd = wnd;
}

CreationScope::~CreationScope()
{
    if (t_state.pWndInit == m_wnd)
        t_state.pWndInit = nullptr;  // creation failed before the hook saw it
    t_state.pWndInit = m_saved;
    auto& c = t_state.creating;
    for (auto it = c.begin(); it != c.end(); ++it) {
        if (*it == m_wnd) {
            c.erase(it);
            break;
        }
    }
    if (--t_state.hookUsers == 0) {
        ::UnhookWindowsHookEx(t_state.hook);
        t_state.hook = nullptr;
    }
}
}  // namespace afx

// ---------------------------------------------------------------------------
// Handle map, attach and subclass

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // The object goes first: destroy the window, and if it is not ours to
        // destroy (another thread's), at least stop routing to a dead object.
        if (!::DestroyWindow(m_hWnd) && m_hWnd)
            Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    std::lock_guard<std::mutex> lock(g_mapLock);
    auto it = g_permanent.find(hwnd);
    return it == g_permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    if (CWnd* w = FromHandlePermanent(hwnd))
        return w;
    return g_tempWnds.Get(hwnd, [](HWND h) {
        auto* w = new CWnd;
        w->m_hWnd = h;
        return w;
    });
}

void CWnd::DeleteTempMap()
{
    g_tempWnds.Clear([](CWnd* w) { w->m_hWnd = nullptr; });
}

BOOL CWnd::Attach(HWND hwnd)
{
    if (!hwnd || m_hWnd)
        return FALSE;
    // A temporary wrapper of the same handle must not outlive the real owner.
    CWnd* temp = nullptr;
    g_tempWnds.Forget(hwnd, &temp);
    if (temp) {
        temp->m_hWnd = nullptr;
        delete temp;
    }
    m_hWnd = hwnd;
    MapAdd(hwnd, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h)
        MapRemove(h);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || !::IsWindow(hwnd) || FromHandlePermanent(hwnd) || !Attach(hwnd))
        return FALSE;
    PreSubclassWindow();
    auto old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    m_pfnSuper = old ? old : &::DefWindowProcW;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND child = parent ? ::GetDlgItem(parent->m_hWnd, static_cast<int>(id)) : nullptr;
    return child ? SubclassWindow(child) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return nullptr;
    if (m_pfnSuper && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == &AfxWndProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::OnNcDestroyFinal()
{
    HWND hwnd = m_hWnd;
    if (!hwnd)
        return;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        // Closing the main window ends the program's message loop.
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    UnsubclassWindow();
    if (m_modalLoop) {
        // Destroyed while its modal loop runs (its owner went): end the loop.
        m_modalLoop = false;
        ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
    }
    PostNcDestroy();  // may delete this
}

// ---------------------------------------------------------------------------
// Creation

const wchar_t* AfxDefaultWndClass()
{
    static const wchar_t* name = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    return name;
}

const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // One class per distinct set of arguments, named after them.
    static std::unordered_map<std::wstring, std::wstring> registered;
    wchar_t name[96];
    swprintf(name, 96, L"Mirovale:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor), static_cast<void*>(background),
             static_cast<void*>(icon));
    auto it = registered.find(name);
    if (it != registered.end())
        return it->second.c_str();
    WNDCLASSW wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!::RegisterClassW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    return registered.emplace(name, name).first->second.c_str();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxDefaultWndClass();
    return TRUE;
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, void*)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, void* param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU idOrMenu, void* param)
{
    if (m_hWnd)
        return FALSE;
    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return FALSE;
    HWND hwnd;
    {
        afx::CreationScope scope(this);
        hwnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    if (!hwnd) {
        // A failed creation (WM_CREATE -1) has already destroyed and detached it.
        if (m_hWnd)
            UnsubclassWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

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
        t_state.ncDestroyDefaulted = true;
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, msg, wp, lp);
    return ::DefWindowProcW(m_hWnd, msg, wp, lp);
}

LRESULT CWnd::Default()
{
    const MSG& m = t_state.current;
    if (m.message == WM_NULL)
        return 0;  // inside a reflected notification: the control has no default for it
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    return &t_state.current;
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
    for (auto it = t_state.creating.rbegin(); it != t_state.creating.rend(); ++it) {
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
    CurrentMessage current(child, WM_NULL, 0, 0);
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
    const MSG& m = t_state.current;
    return OnChildNotify(m.message, m.wParam, m.lParam, result);
}

namespace {
// Collects what the update handlers decide for one command, touching nothing.
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        m_enabled = on;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(const wchar_t*) override {}
    BOOL m_enabled = TRUE;
};
}  // namespace

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
        CTestCmdUI state;
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
    // popup, the main window) hands on to its owners and the application.
    if (!beyondSelf || (code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI) || !m_hWnd || (GetStyle() & WS_CHILD))
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
    while (m_modalLoop) {
        if (!AfxPumpMessage()) {
            // The program is quitting: end this loop and hand the quit on.
            ::PostQuitMessage(static_cast<int>(AfxGetLastQuitCode()));
            m_modalLoop = false;
            m_nModalResult = -1;
            break;
        }
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

void CWnd::GetWindowText(CString& text) const
{
    int n = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 2);
    int got = ::GetWindowTextW(m_hWnd, buf.data(), n + 2);
    text = CString(buf.data(), got);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND item = ::GetDlgItem(m_hWnd, id);
    int n = ::GetWindowTextLengthW(item);
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 2);
    int got = ::GetWindowTextW(item, buf.data(), n + 2);
    text = CString(buf.data(), got);
    return got;
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
