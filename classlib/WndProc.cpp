#include "classlib/CWnd.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

#include "classlib/CWinApp.h"
#include "classlib/TempMap.h"
#include "classlib/WndException.h"
#include "classlib/WndThreadState.h"

// The window procedure of every window the layer owns, the handle map, and the
// start (attach, subclass) and end (WM_NCDESTROY) of an object's hold on a window.

namespace {

// Every window object of the process by handle. Windows live on the UI thread;
// the lock only keeps a stray look-up from another thread from tearing the map.
std::mutex g_mapLock;
std::unordered_map<HWND, CWnd*> g_permanent;
afx::TempMap<CWnd, HWND> g_tempWnds;
thread_local afx::ThreadState t_state;

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

}  // namespace

afx::ThreadState& afx::GetThreadState()
{
    return t_state;
}

afx::CurrentMessage::CurrentMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    : m_saved(t_state.current), m_savedNcDestroy(t_state.ncDestroyDefaulted)
{
    t_state.current = MSG{h, msg, wp, lp, 0, {}};
    t_state.ncDestroyDefaulted = false;
}

afx::CurrentMessage::~CurrentMessage()
{
    t_state.current = m_saved;
    t_state.ncDestroyDefaulted = m_savedNcDestroy;
}

// Window procedure

LRESULT AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    afx::CurrentMessage current(hwnd, msg, wp, lp);
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
        try {
            wnd->OnNcDestroyFinal();
        } catch (const std::exception& e) {
            AfxProcessWndProcException(e, &t_state.current);
        }
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

// ---------------------------------------------------------------------------
// Handle map, attach and subclass

namespace {
std::atomic<LONG> g_lateDestroys{0};
}

void CWnd::operator delete(CWnd* wnd, std::destroying_delete_t)
{
    // A delete from the window's own end (PostNcDestroy) while this one runs:
    // the outer delete finishes the object.
    if (wnd->m_deleting)
        return;
    wnd->m_deleting = true;
    if (wnd->m_hWnd && wnd->m_createdHere && FromHandlePermanent(wnd->m_hWnd) == wnd)
        wnd->DestroyWindow();
    void* whole = dynamic_cast<void*>(wnd);
    wnd->~CWnd();
    ::operator delete(whole);
}

LONG CWnd::GetLateDestroyCount()
{
    return g_lateDestroys.load();
}

CWnd::~CWnd()
{
    if (!m_hWnd || FromHandlePermanent(m_hWnd) != this)
        return;
    if (m_createdHere && ::IsWindow(m_hWnd)) {
        // The owner let the object go before its window: the derived classes'
        // handlers cannot run any more. Said, then at least nothing leaks.
        ++g_lateDestroys;
        wchar_t text[96];
        swprintf(text, 96, L"Mirovale: window %p destroyed after its object\n", static_cast<void*>(m_hWnd));
        ::OutputDebugStringW(text);
        if (::DestroyWindow(m_hWnd))
            return;
    }
    if (m_hWnd)
        UnsubclassWindow();
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
    // A temporary wrapper of the same handle stays valid until the next idle
    // pass; FromHandle answers with this object from now on.
    m_hWnd = hwnd;
    MapAdd(hwnd, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    m_createdHere = false;
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
