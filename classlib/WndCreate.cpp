#include "classlib/CWnd.h"

#include <stdexcept>
#include <string>
#include <unordered_map>

#include "classlib/CWinApp.h"
#include "classlib/WndException.h"
#include "classlib/WndThreadState.h"

namespace {
afx::ThreadState& State()
{
    return afx::GetThreadState();
}
}  // namespace

// Creating windows: the creation hook that attaches an object before its
// window's first message, window classes, and Create/CreateEx/DestroyWindow.

// Attaches the object being created to its window before the window's first
// message, so WM_GETMINMAXINFO, WM_NCCREATE and what a control sends its parent
// during creation (WM_MEASUREITEM) already reach the object.
LRESULT CALLBACK AfxCbtHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_CREATEWND && State().pWndInit) {
        CWnd* wnd = State().pWndInit;
        State().pWndInit = nullptr;
        HWND hwnd = reinterpret_cast<HWND>(wp);
        wnd->Attach(hwnd);
        wnd->m_createdHere = true;
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
        State().creating.push_back(wnd);
    }
    return ::CallNextHookEx(State().hook, code, wp, lp);
}

namespace afx {
CreationScope::CreationScope(CWnd* wnd)
{
    if (State().hookUsers++ == 0)
        State().hook = ::SetWindowsHookExW(WH_CBT, &AfxCbtHook, nullptr, ::GetCurrentThreadId());
    m_saved = State().pWndInit;
    State().pWndInit = wnd;
    m_wnd = wnd;
}

CreationScope::~CreationScope()
{
    if (State().pWndInit == m_wnd)
        State().pWndInit = nullptr;  // creation failed before the hook saw it
    State().pWndInit = m_saved;
    auto& c = State().creating;
    for (auto it = c.begin(); it != c.end(); ++it) {
        if (*it == m_wnd) {
            c.erase(it);
            break;
        }
    }
    if (--State().hookUsers == 0) {
        ::UnhookWindowsHookEx(State().hook);
        State().hook = nullptr;
    }
}
}  // namespace afx

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
