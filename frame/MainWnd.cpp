#include "frame/MainWnd.h"

#include <shellapi.h>

#include "common/LogWriter.h"
#include "common/ThemeLibrary.h"
#include "core/AppMessages.h"
#include "core/CopyDataBlock.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/MainWndClass.h"
#include "frame/MessageDlg.h"
#include "frame/ViewTable.h"
#include "res/frame_ids.h"
#include "res/resource.h"

namespace {

constexpr int kDefaultWidth = 1024, kDefaultHeight = 768, kShortHeight = 738;

bool IsSmallScreen(int w, int h) { return w == kDefaultWidth && h == kDefaultHeight; }

bool OnScreen(int x, int y, int w, int h) { return x >= 0 && y >= 0 && x < w && y < h; }

}  // namespace

BEGIN_MESSAGE_MAP(CMainWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_NCCALCSIZE()
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
    ON_WM_NCHITTEST()
    ON_WM_NCRBUTTONUP()
    ON_WM_GETMINMAXINFO()
    ON_WM_WINDOWPOSCHANGING()
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
    ON_WM_ACTIVATEAPP()
    ON_WM_ACTIVATE()
    ON_WM_SETFOCUS()
    ON_WM_ENTERMENULOOP()
    ON_WM_EXITMENULOOP()
    ON_WM_INITMENUPOPUP()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_QUERYENDSESSION, OnQueryEndSession)
    ON_WM_TIMER()
    ON_WM_COPYDATA()
    ON_MESSAGE(WM_PENDING_LINK, OnPendingLink)
    ON_REGISTERED_MESSAGE(WM_USER_IDLE, OnUserIdle)
    ON_REGISTERED_MESSAGE(WM_SHELL_CHANGE_NOTIFY, OnShellChange)
    ON_COMMAND(ID_SELCHANGED, OnSelChanged)
END_MESSAGE_MAP()

CMainWnd::CMainWnd() = default;

CMainWnd::~CMainWnd()
{
    m_autoDelete = FALSE;
    if (GetSafeHwnd())
        DestroyWindow();
    if (m_accel)
        ::DestroyAcceleratorTable(m_accel);
}

CRect CMainWnd::InitialRect(const RECT& saved, int screenWidth, int screenHeight, bool* centre)
{
    CRect rect(saved);
    if (!OnScreen(rect.left, rect.top, screenWidth, screenHeight) &&
        !OnScreen(rect.right, rect.top, screenWidth, screenHeight))
        rect.SetRectEmpty();
    *centre = rect.IsRectEmpty() != FALSE;
    if (*centre)
        rect = CRect(0, 0, kDefaultWidth, kDefaultHeight);
    if (IsSmallScreen(screenWidth, screenHeight))
        rect = CRect(0, 0, kDefaultWidth, kShortHeight);
    return rect;
}

BOOL CMainWnd::Create(const wchar_t*, const wchar_t*, DWORD, const RECT&, CWnd*, UINT, void*)
{
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = ::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kMainWndClass;
    if (!::RegisterClassW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return FALSE;
    const wchar_t* cls = kMainWndClass;
    wchar_t title[128] = {};
    ::LoadStringW(AfxGetResourceHandle(), IDS_APP_NAME, title, 128);
    bool centre = false;
    const CRect rect = InitialRect(theGlobal.m_windowRect, ::GetSystemMetrics(SM_CXSCREEN),
                                   ::GetSystemMetrics(SM_CYSCREEN), &centre);
    if (!CreateEx(WS_EX_APPWINDOW, cls, title,
                  WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                      WS_MAXIMIZEBOX,
                  rect, nullptr, 0))
        return FALSE;
    // From here on the window owns its object (deleted after its last message).
    m_autoDelete = TRUE;
    if (centre) {
        CRect r;
        GetWindowRect(&r);
        const int x = (::GetSystemMetrics(SM_CXSCREEN) - r.Width()) / 2;
        const int y = (::GetSystemMetrics(SM_CYSCREEN) - r.Height()) / 2;
        SetWindowPos(HWND{}, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::BringWindowToTop(m_hWnd);
    ::SetForegroundWindow(m_hWnd);
    return TRUE;
}

void CMainWnd::PostNcDestroy()
{
    if (m_autoDelete) {
        m_autoDelete = FALSE;
        delete this;
    }
}

int CMainWnd::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    EnableWindow(FALSE);  // until start-up is done
    RemoveWindowTheme(m_hWnd);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    const CRect none(0, 0, 0, 0);
    struct Pane {
        CWnd* wnd;
        const wchar_t* log;
    } panes[] = {{&m_caption, L"create Caption window"}, {&m_header, L"create Header window"},
                 {&m_body, L"create Body window"},       {&m_footer, L"create Footer window"},
                 {&m_status, L"create Status window"}};
    for (const Pane& pane : panes) {
        if (!pane.wnd->Create(nullptr, nullptr, style, none, this, 0xFFFF))
            return -1;
        WriteLog(pane.log);
    }
    m_accel = ::LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_FRAME_ACCEL));
    if (!m_accel)
        return -1;
    m_activeAccel = m_accel;
    UpdateWindowRegion();
    return 0;
}

void CMainWnd::OnDestroy()
{
    ShowWindow(SW_HIDE);
    ::SetWindowRgn(m_hWnd, nullptr, FALSE);
    if (m_region) {
        ::DeleteObject(m_region);
        m_region = nullptr;
    }
    Default();
}

void CMainWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (cx != 0 || cy != 0)
        RecalcLayout();
    UpdateWindow();
}

void CMainWnd::OnMove(int, int)
{
    Default();
    if (IsZoomed()) {
        theGlobal.m_maximized = 1;
    } else {
        theGlobal.m_maximized = 0;
        if (!IsIconic())
            GetWindowRect(&theGlobal.m_windowRect);
    }
}

void CMainWnd::RecalcLayout()
{
    if (!IsIconic() && m_caption.GetSafeHwnd()) {
        CRect client;
        GetClientRect(&client);
        const int w = client.Width(), h = client.Height();
        const int c = m_caption.GetPaneHeight(), d = m_header.GetPaneHeight(), s = m_status.GetPaneHeight();
        const UINT flags = SWP_NOZORDER | SWP_FRAMECHANGED;
        m_caption.SetWindowPos(HWND{}, 0, 0, w, c + 1, flags);
        m_header.SetWindowPos(HWND{}, 0, c + 1, w, d, flags);
        m_body.SetWindowPos(HWND{}, 0, c + d + 1, w, h - s - c - d - 1, flags);
        m_footer.SetWindowPos(HWND{}, 0, 0, 0, 0, flags);
        m_status.SetWindowPos(HWND{}, 0, h - s, w, s, flags);
        m_status.Invalidate(FALSE);
        UpdateWindowRegion();
    }
    if (IsZoomed()) {
        theGlobal.m_maximized = 1;
    } else {
        theGlobal.m_maximized = 0;
        if (!IsIconic())
            GetWindowRect(&theGlobal.m_windowRect);
    }
}

void CMainWnd::UpdateWindowRegion()
{
    ::SetWindowRgn(m_hWnd, nullptr, FALSE);
    if (m_region) {
        ::DeleteObject(m_region);
        m_region = nullptr;
    }
    if (IsIconic() || IsZoomed())
        return;
    CRect r;
    GetWindowRect(&r);
    HRGN region = ::CreateRoundRectRgn(0, 0, r.Width() + 1, r.Height() + 1, 16, 16);
    // The window owns a region it was given; keep a copy of our own to free.
    m_region = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(m_region, region, nullptr, RGN_COPY);
    ::SetWindowRgn(m_hWnd, region, TRUE);
}

LRESULT CMainWnd::OnNcHitTest(CPoint pt)
{
    CRect status;
    m_status.GetWindowRect(&status);
    CRect grip(status.right - 32, status.bottom - 32, status.right, status.bottom);
    if (grip.PtInRect(pt))
        return HTBOTTOMRIGHT;
    CRect outer;
    GetWindowRect(&outer);
    CRect inner = outer;
    inner.DeflateRect(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
    if (outer.PtInRect(pt) && !inner.PtInRect(pt)) {
        const bool left = pt.x < inner.left, right = pt.x >= inner.right;
        if (pt.y < inner.top)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (pt.y >= inner.bottom)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        return left ? HTLEFT : HTRIGHT;
    }
    CRect caption;
    m_caption.GetWindowRect(&caption);
    caption.bottom = caption.top + 24;
    if (caption.PtInRect(pt))
        return HTCAPTION;
    return HTBORDER;
}

void CMainWnd::OnNcRButtonUp(UINT hit, CPoint pt)
{
    if (hit == HTCAPTION || hit == HTSYSMENU) {
        const LPARAM at = MAKELPARAM(pt.x, pt.y);
        SendMessage(WM_NCLBUTTONDOWN, hit, at);
        SendMessage(WM_NCLBUTTONUP, hit, at);
        HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
        const UINT chosen =
            menu ? ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, pt.x, pt.y, 0, m_hWnd, nullptr) : 0;
        if (chosen)
            PostMessage(WM_SYSCOMMAND, chosen, 0);
    }
    Default();
}

void CMainWnd::OnGetMinMaxInfo(MINMAXINFO* info)
{
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    info->ptMinTrackSize.x = kDefaultWidth;
    info->ptMinTrackSize.y = IsSmallScreen(w, h) ? kShortHeight : kDefaultHeight;
    Default();
}

void CMainWnd::OnWindowPosChanging(WINDOWPOS* pos)
{
    Default();
    if (!IsZoomed() || (pos->flags & SWP_NOSIZE))
        return;
    CRect rect(pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy);
    MONITORINFO info{sizeof(info)};
    if (!::GetMonitorInfoW(::MonitorFromPoint(rect.CenterPoint(), MONITOR_DEFAULTTONEAREST), &info))
        return;
    CRect work(info.rcWork);
    rect.IntersectRect(&rect, &work);
    // Leave one pixel on the edge of an auto-hidden taskbar so it can still appear.
    if (HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr)) {
        APPBARDATA bar{sizeof(bar)};
        bar.hWnd = tray;
        const UINT state = static_cast<UINT>(::SHAppBarMessage(ABM_GETSTATE, &bar));
        if ((state & ABS_AUTOHIDE) && (state & ABS_ALWAYSONTOP) && ::SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) {
            CRect barRect(bar.rc);
            MONITORINFO barInfo{sizeof(barInfo)};
            ::GetMonitorInfoW(::MonitorFromPoint(barRect.CenterPoint(), MONITOR_DEFAULTTONEAREST), &barInfo);
            if (::EqualRect(&barInfo.rcMonitor, &info.rcMonitor)) {
                const UINT edges[4] = {ABE_TOP, ABE_BOTTOM, ABE_LEFT, ABE_RIGHT};
                for (UINT edge : edges) {
                    APPBARDATA query{sizeof(query)};
                    query.uEdge = edge;
                    if (reinterpret_cast<HWND>(::SHAppBarMessage(ABM_GETAUTOHIDEBAR, &query)) != tray)
                        continue;
                    if (edge == ABE_TOP)
                        ++rect.top;
                    else if (edge == ABE_BOTTOM)
                        --rect.bottom;
                    else if (edge == ABE_LEFT)
                        ++rect.left;
                    else
                        --rect.right;
                }
            }
        }
    }
    pos->x = rect.left;
    pos->y = rect.top;
    pos->cx = rect.Width();
    pos->cy = rect.Height();
}

LRESULT CMainWnd::OnSettingChange(WPARAM flags, LPARAM)
{
    Default();
    if (flags == SPI_SETWORKAREA && IsZoomed()) {
        ::LockWindowUpdate(m_hWnd);
        ShowWindow(SW_RESTORE);
        ShowWindow(SW_MAXIMIZE);
        ::LockWindowUpdate(nullptr);
        UpdateWindow();
    } else if (flags == SPI_SETNONCLIENTMETRICS) {
        // The shell's file-icon cache initialisation (shell32 ordinal 660).
        using FileIconInitFn = BOOL(WINAPI*)(BOOL);
        if (HMODULE shell = ::GetModuleHandleW(L"shell32.dll"))
            if (auto init = reinterpret_cast<FileIconInitFn>(reinterpret_cast<void*>(::GetProcAddress(shell, MAKEINTRESOURCEA(660)))))
                init(FALSE);
    }
    return 0;
}

void CMainWnd::OnActivateApp(BOOL active, DWORD)
{
    if (active && IsIconic() && !IsWindowEnabled()) {
        ShowWindow(SW_RESTORE);
    }
    if (active)
        UpdateWindow();
    theGlobal.m_appActive = active ? 1 : 0;
    Default();
}

void CMainWnd::OnActivate(UINT state, CWnd*, BOOL minimized)
{
    if ((state == WA_ACTIVE || state == WA_CLICKACTIVE) && !minimized)
        theGlobal.m_appActive = 1;
    Default();
}

void CMainWnd::OnSetFocus(CWnd*)
{
    if (m_body.GetSafeHwnd())
        m_body.SetFocus();
}

void CMainWnd::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu)
{
    if (sysMenu || !popup) {
        Default();
        return;
    }
    CCmdUI::UpdateMenu(popup->m_hMenu, this, TRUE);
}

BOOL CMainWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info)
{
    if (CWinApp* app = AfxGetApp(); app && app->OnCmdMsg(id, code, extra, info))
        return TRUE;
    CWnd* const panes[] = {&m_body, &m_caption, &m_header, &m_footer, &m_status};
    for (CWnd* pane : panes)
        if (pane->GetSafeHwnd() && pane->OnCmdMsg(id, code, extra, info))
            return TRUE;
    return CWnd::OnCmdMsg(id, code, extra, info);
}

BOOL CMainWnd::PreTranslateMessage(MSG* msg)
{
    if (m_activeAccel && IsWindowEnabled() && ::TranslateAcceleratorW(m_hWnd, m_activeAccel, msg))
        return TRUE;
    return CWnd::PreTranslateMessage(msg);
}

LRESULT CMainWnd::OnUserIdle(WPARAM, LPARAM)
{
    CWnd* const panes[] = {&m_body, &m_caption, &m_header, &m_footer, &m_status};
    for (CWnd* pane : panes)
        if (pane->GetSafeHwnd())
            pane->SendMessage(WM_USER_IDLE, 0, 0);
    return 0;
}

void CMainWnd::OnSelChanged()
{
    const int index = m_header.GetViewIndex();
    const VIEW_TABLE_ROW* row = FindViewRow(index);
    if (!row)
        return;
    theGlobal.m_viewKind = index;
    m_header.SetPageTitle(theGlobal.UiString(row->titleString));
    const int backTop = index == 0 ? SW_HIDE : SW_SHOWNORMAL;
    m_header.m_back.ShowWindow(backTop);
    m_header.m_top.ShowWindow(backTop);
    m_header.Invalidate(FALSE);
    m_caption.Invalidate(FALSE);
    m_status.UpdatePartnerButton();
    m_status.Invalidate(FALSE);
    m_body.SwitchView(index);
    theGlobal.UpdateAllViews();
}

// ---------------------------------------------------------------------------
// Closing

BOOL CMainWnd::SaveModifiedDocuments()
{
    // Every view with unsaved work is shown and asked the question of its
    // own Back and Top.
    for (const VIEW_TABLE_ROW& row : kViewCreationOrder) {
        auto* view = dynamic_cast<CViewWnd*>(m_body.GetView(row.index));
        if (!view || !view->HasUnsavedWork())
            continue;
        if (theGlobal.m_viewKind != row.index) {
            SendMessage(WM_COMMAND, row.command, 0);
            // The header posted its switch; make it now, before the question.
            MSG msg;
            while (::PeekMessageW(&msg, m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE) && msg.wParam == ID_SELCHANGED)
                ::PeekMessageW(&msg, m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE);
            OnSelChanged();
        }
        if (!view->CanLeave())
            return FALSE;
    }
    return TRUE;
}

BOOL CMainWnd::ConfirmQuit()
{
    return ShowMessage(theGlobal.UiString(33), 4, TRUE) == IDYES && SaveModifiedDocuments();
}

void CMainWnd::OnClose()
{
    if (!ConfirmQuit())
        return;
    EnableWindow(FALSE);
    // The flags, the running download's client and its event, under the lock
    // the feed workers take to give them up.
    CDocRssPoi::CancelFeedWork();
    if (theGlobal.m_rssLoadBusy || theGlobal.m_rssUpdateBusy) {
        SetTimer(CloseTimer, 100);
        return;
    }
    DestroyWindow();
}

LRESULT CMainWnd::OnQueryEndSession(WPARAM, LPARAM)
{
    return ConfirmQuit();
}

void CMainWnd::OnTimer(UINT_PTR id)
{
    if (id != CloseTimer) {
        Default();
        return;
    }
    if (!theGlobal.m_rssLoadBusy && !theGlobal.m_rssUpdateBusy) {
        KillTimer(CloseTimer);
        DestroyWindow();
    }
}

BOOL CMainWnd::OnCopyData(CWnd*, COPYDATASTRUCT* data)
{
    // Only a whole block is read, and only within the bytes it carries. The
    // link is handled once the sender has its answer: a notice or dialog shown
    // from inside the sent message would keep the second start waiting for
    // the user.
    CString text;
    if (data && data->cbData != 0 && ReadCommandLineBlock(data, text)) {
        m_pendingLinks.push_back(text);
        PostMessage(WM_PENDING_LINK, 0, 0);
    }
    Default();
    return FALSE;
}
