#pragma once
// A window object attached to its handle.
//
// Life of a window: Create/CreateEx attach the object from the very first
// message of the creation (a creation hook subclasses the new window before
// WM_NCCREATE), SubclassWindow attaches an existing window, and WM_NCDESTROY
// detaches it and calls PostNcDestroy. Every message goes through one window
// procedure that catches exceptions, then WindowProc -> OnWndMsg, which
//   - hands WM_COMMAND, WM_NOTIFY, owner-draw, WM_CTLCOLOR* and scroll messages
//     of a child control back to the control first (OnChildNotify; reflection),
//   - checks a command against its command-update handler before running it,
//   - routes commands: this object's map, then (top-level windows, program
//     command ids) the owner chain, then the application,
//   - otherwise looks the message up in the class's message map,
// and whatever no handler takes goes to the window's original procedure.
#include <windows.h>

#include <new>

#include "classlib/CCmdTarget.h"
#include "classlib/CCmdUI.h"
#include "classlib/CDC.h"
#include "classlib/CGdiObject.h"
#include "classlib/CMenu.h"
#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/MessageLoop.h"

class CScrollBar;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    explicit CWnd(HWND attachTo) { Attach(attachTo); }
    // End of life: a window is destroyed while its whole object is alive, so
    // that every class of the object sees WM_DESTROY and WM_NCDESTROY.
    // - `delete` of a window object destroys a window it created first, before
    //   any destructor runs (below).
    // - An object that ends otherwise (a member, a local) must have its window
    //   destroyed by its owner first: destroying a parent destroys its children.
    // ~CWnd finds a window it created still alive only when that rule was
    // broken: it reports it (GetLateDestroyCount, the debugger output) and
    // destroys it, with only the base part of the object left. An attached or
    // subclassed window is handed back to its own procedure and lives on.
    ~CWnd() override;
    static void operator delete(CWnd* wnd, std::destroying_delete_t);
    static void* operator new(size_t size) { return ::operator new(size); }
    static void operator delete(void* p) { ::operator delete(p); }  // a throwing constructor
    // How many windows ~CWnd had to destroy (see above).
    static LONG GetLateDestroyCount();

    HWND m_hWnd = nullptr;
    HWND m_hWndOwner = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    // Handle map. FromHandle gives a temporary wrapper for a window no object
    // owns (valid until the next idle pass); FromHandlePermanent only real owners.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    static void DeleteTempMap();
    BOOL Attach(HWND hwnd);  // maps the object, no subclassing
    HWND Detach();
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual void PreSubclassWindow() {}

    // Creation. A null class name means the library's default window class.
    virtual BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, void* context = nullptr);
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, void* param = nullptr);
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU idOrMenu, void* param = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual BOOL DestroyWindow();
    virtual void PostNcDestroy() {}

    // Messages.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // The default processing of the message being handled now.
    LRESULT Default();
    static const MSG* GetCurrentMessage();
    // Offered every queued message in every loop, from the target window up
    // through its parents; TRUE consumes the message.
    virtual BOOL PreTranslateMessage(MSG* msg) { return FALSE; }
    static BOOL WalkPreTranslateTree(MSG* msg);
    virtual BOOL OnCommand(WPARAM wp, LPARAM lp);
    virtual BOOL OnNotify(WPARAM wp, LPARAM lp, LRESULT* result);
    // A message about this control that its parent hands back; TRUE when the
    // control took it and the parent should not handle it.
    virtual BOOL OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    BOOL ReflectChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    // This object's map; then, for a window without WS_CHILD, a program
    // command (0x8000..0xEFFF) and when asked, its owners and the application.
    BOOL RouteCommand(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info, bool beyondSelf = true);

    // Modal loop used by dialogs (and any window that wants one): runs until
    // EndModalLoop, with the same message pump as the main loop.
    int RunModalLoop();
    void EndModalLoop(int result);
    BOOL ContinueModal() const { return m_modalLoop; }

    // The window a popup should belong to: the last active popup of the
    // top-level window above parent (or of the main window when parent is null).
    static CWnd* GetSafeOwner(CWnd* parent = nullptr);

    // Plain forwards.
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageW(m_hWnd, msg, wp, lp); }
    BOOL SendChildNotifyLastMsg(LRESULT* result = nullptr);
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    // The window this one reports to: the one given to SetOwner; else a
    // child's parent, a popup's system owner.
    CWnd* GetOwner() const
    {
        if (m_hWndOwner)
            return FromHandle(m_hWndOwner);
        return (GetStyle() & WS_CHILD) ? GetParent() : FromHandle(::GetWindow(m_hWnd, GW_OWNER));
    }
    // A child's owner, kept by the object (the system keeps none for children).
    void SetOwner(CWnd* owner) { m_hWndOwner = owner ? owner->m_hWnd : nullptr; }
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
    CWnd* GetNextDlgGroupItem(CWnd* ctl, BOOL previous = FALSE) const
    {
        return FromHandle(::GetNextDlgGroupItem(m_hWnd, ctl ? ctl->m_hWnd : nullptr, previous));
    }
    CWnd* GetNextDlgTabItem(CWnd* ctl, BOOL previous = FALSE) const
    {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, ctl ? ctl->m_hWnd : nullptr, previous));
    }
    CWnd* SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, parent ? parent->m_hWnd : nullptr)); }
    BOOL IsChild(const CWnd* wnd) const { return wnd && ::IsChild(m_hWnd, wnd->m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* rc, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rc, erase); }
    void ValidateRect(const RECT* rc) { ::ValidateRect(m_hWnd, rc); }
    BOOL RedrawWindow(const RECT* rc = nullptr, HRGN rgn = nullptr, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, rc, rgn, flags);
    }
    void GetClientRect(RECT* rc) const { ::GetClientRect(m_hWnd, rc); }
    void GetWindowRect(RECT* rc) const { ::GetWindowRect(m_hWnd, rc); }
    void ClientToScreen(POINT* p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(RECT* rc) const;
    void ScreenToClient(POINT* p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(RECT* rc) const;
    void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, repaint); }
    void MoveWindow(const RECT* rc, BOOL repaint = TRUE) { MoveWindow(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, repaint); }
    BOOL SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, after ? after->m_hWnd : nullptr, x, y, cx, cy, flags);
    }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) { return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags); }
    void CenterWindow(CWnd* alternateOwner = nullptr);
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    int GetWindowText(wchar_t* buf, int max) const { return ::GetWindowTextW(m_hWnd, buf, max); }
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void SetDlgItemText(int id, const wchar_t* text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
    UINT GetDlgItemInt(int id, BOOL* ok = nullptr, BOOL isSigned = TRUE) const { return ::GetDlgItemInt(m_hWnd, id, ok, isSigned); }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendDlgItemMessageW(m_hWnd, id, msg, wp, lp); }
    void SetFont(CFont* font, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw); }
    void SetFont(HFONT font, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }
    HFONT GetFontHandle() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
    BOOL SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr); }
    CMenu* GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }
    int SetWindowRgn(HRGN rgn, BOOL redraw) { return ::SetWindowRgn(m_hWnd, rgn, redraw); }
    int GetWindowRgn(HRGN rgn) const { return ::GetWindowRgn(m_hWnd, rgn); }
    void SetRedraw(BOOL redraw = TRUE) { SendMessage(WM_SETREDRAW, redraw); }
    void MapWindowPoints(CWnd* to, POINT* pts, UINT count) const { ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, pts, count); }
    void MapWindowPoints(CWnd* to, RECT* rc) const { ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, reinterpret_cast<POINT*>(rc), 2); }
    CWnd* ChildWindowFromPoint(POINT pt, UINT flags = CWP_ALL) const { return FromHandle(::ChildWindowFromPointEx(m_hWnd, pt, flags)); }
    static CWnd* WindowFromPoint(POINT pt) { return FromHandle(::WindowFromPoint(pt)); }
    CDC* GetDC();
    int ReleaseDC(CDC* dc);

    // Timers: WM_TIMER goes to OnTimer (ON_WM_TIMER).
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    // Mouse tracking: asks for WM_MOUSELEAVE (TME_LEAVE; flags add TME_NONCLIENT,
    // TME_HOVER...). TME_CANCEL in flags ends it.
    BOOL TrackMouseEvent(DWORD flags, DWORD hoverTime = HOVER_DEFAULT);

    // Scroll information of the window's own bars.
    BOOL SetScrollInfo(int bar, SCROLLINFO* si, BOOL redraw = TRUE) { si->cbSize = sizeof(SCROLLINFO); return ::SetScrollInfo(m_hWnd, bar, si, redraw); }
    BOOL GetScrollInfo(int bar, SCROLLINFO* si, UINT mask = SIF_ALL) const;
    int GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }

protected:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class CDialog;
    friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK AfxCbtHook(int, WPARAM, LPARAM);
    void OnNcDestroyFinal();
    BOOL ReflectToChild(HWND child, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    CWnd* FindChildForItem(UINT ctlId) const;

    WNDPROC m_pfnSuper = nullptr;  // the procedure the window had before ours
    bool m_createdHere = false;    // made by Create/CreateEx or a dialog template
    bool m_modalLoop = false;
    int m_nModalResult = -1;
    bool m_deleting = false;  // inside operator delete
};

namespace afx {
// While alive, the next window created on this thread is attached to wnd from
// its first message on.
class CreationScope {
public:
    explicit CreationScope(CWnd* wnd);
    ~CreationScope();
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

private:
    CWnd* m_wnd;
    CWnd* m_saved;
};
}  // namespace afx

// A window's whole text (empty for no window).
CString AfxGetWindowText(HWND hwnd);

// The library's default window class (CS_DBLCLKS, arrow cursor, no brush).
const wchar_t* AfxDefaultWndClass();
// Registers (once per distinct set of arguments) a class with DefWindowProc as
// its procedure; returns its name.
const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr, HICON icon = nullptr);
LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

#include "classlib/CScrollBar.h"
