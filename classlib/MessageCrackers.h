#pragma once
// ON_WM_* entries: each unpacks its message into the handler's usual typed
// parameters. The handler names are fixed (OnPaint, OnSize...); a handler that
// wants the default processing as well calls Default().
// Included by MessageMap.h; the map's .cpp includes CWnd.h.

#define AFX_PT CPoint(call.lParam)
#define AFX_WND(h) CWnd::FromHandle(reinterpret_cast<HWND>(h))

#define ON_WM_CREATE() AFX_MSG_ENTRY(WM_CREATE, call.result = self->OnCreate(reinterpret_cast<LPCREATESTRUCTW>(call.lParam)); return true;)
#define ON_WM_NCCREATE() AFX_MSG_ENTRY(WM_NCCREATE, call.result = self->OnNcCreate(reinterpret_cast<LPCREATESTRUCTW>(call.lParam)); return true;)
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, self->OnDestroy(); return true;)
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY(WM_NCDESTROY, self->OnNcDestroy(); return true;)
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, self->OnClose(); return true;)
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, self->OnPaint(); return true;)
#define ON_WM_NCPAINT() AFX_MSG_ENTRY(WM_NCPAINT, self->OnNcPaint(); return true;)
#define ON_WM_ERASEBKGND() \
    AFX_MSG_ENTRY(WM_ERASEBKGND, CDC dc_; dc_.Attach(reinterpret_cast<HDC>(call.wParam)); \
                  call.result = self->OnEraseBkgnd(&dc_); dc_.Detach(); return true;)
#define ON_WM_SIZE() AFX_MSG_ENTRY(WM_SIZE, self->OnSize(static_cast<UINT>(call.wParam), static_cast<short>(LOWORD(call.lParam)), static_cast<short>(HIWORD(call.lParam))); return true;)
#define ON_WM_MOVE() AFX_MSG_ENTRY(WM_MOVE, self->OnMove(static_cast<short>(LOWORD(call.lParam)), static_cast<short>(HIWORD(call.lParam))); return true;)
#define ON_WM_SHOWWINDOW() AFX_MSG_ENTRY(WM_SHOWWINDOW, self->OnShowWindow(static_cast<BOOL>(call.wParam), static_cast<UINT>(call.lParam)); return true;)
#define ON_WM_ENABLE() AFX_MSG_ENTRY(WM_ENABLE, self->OnEnable(static_cast<BOOL>(call.wParam)); return true;)
#define ON_WM_SETCURSOR() \
    AFX_MSG_ENTRY(WM_SETCURSOR, call.result = self->OnSetCursor(AFX_WND(call.wParam), LOWORD(call.lParam), HIWORD(call.lParam)); return true;)
#define ON_WM_NCHITTEST() AFX_MSG_ENTRY(WM_NCHITTEST, call.result = self->OnNcHitTest(AFX_PT); return true;)
#define ON_WM_NCCALCSIZE() \
    AFX_MSG_ENTRY(WM_NCCALCSIZE, self->OnNcCalcSize(static_cast<BOOL>(call.wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(call.lParam)); return true;)
#define ON_WM_GETMINMAXINFO() AFX_MSG_ENTRY(WM_GETMINMAXINFO, self->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(call.lParam)); return true;)
#define ON_WM_WINDOWPOSCHANGING() \
    AFX_MSG_ENTRY(WM_WINDOWPOSCHANGING, self->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(call.lParam)); return true;)
#define ON_WM_WINDOWPOSCHANGED() \
    AFX_MSG_ENTRY(WM_WINDOWPOSCHANGED, self->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(call.lParam)); return true;)

#define AFX_MOUSE(msg, fn) AFX_MSG_ENTRY(msg, self->fn(static_cast<UINT>(call.wParam), AFX_PT); return true;)
#define ON_WM_MOUSEMOVE() AFX_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE(WM_MBUTTONUP, OnMButtonUp)
// Non-client mouse: fn(UINT hitTest, CPoint screenPoint)
#define ON_WM_NCMOUSEMOVE() AFX_MOUSE(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_MOUSE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_MOUSE(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_MOUSE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONUP() AFX_MOUSE(WM_NCRBUTTONUP, OnNcRButtonUp)
#define ON_WM_MOUSELEAVE() AFX_MSG_ENTRY(WM_MOUSELEAVE, self->OnMouseLeave(); return true;)
#define ON_WM_NCMOUSELEAVE() AFX_MSG_ENTRY(WM_NCMOUSELEAVE, self->OnNcMouseLeave(); return true;)
// fn(UINT flags, short delta, CPoint screenPoint) returns BOOL
#define ON_WM_MOUSEWHEEL()                                                                               \
    AFX_MSG_ENTRY(WM_MOUSEWHEEL, call.result = self->OnMouseWheel(LOWORD(call.wParam),                     \
                                                                  static_cast<short>(HIWORD(call.wParam)), AFX_PT); return true;)

#define AFX_KEY(msg, fn) \
    AFX_MSG_ENTRY(msg, self->fn(static_cast<UINT>(call.wParam), LOWORD(call.lParam), HIWORD(call.lParam)); return true;)
#define ON_WM_KEYDOWN() AFX_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_SYSKEYDOWN() AFX_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_CHAR() AFX_KEY(WM_CHAR, OnChar)
#define ON_WM_GETDLGCODE() AFX_MSG_ENTRY(WM_GETDLGCODE, call.result = self->OnGetDlgCode(); return true;)

#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, self->OnTimer(static_cast<UINT_PTR>(call.wParam)); return true;)
#define ON_WM_SETFOCUS() AFX_MSG_ENTRY(WM_SETFOCUS, self->OnSetFocus(AFX_WND(call.wParam)); return true;)
#define ON_WM_KILLFOCUS() AFX_MSG_ENTRY(WM_KILLFOCUS, self->OnKillFocus(AFX_WND(call.wParam)); return true;)
#define ON_WM_CAPTURECHANGED() AFX_MSG_ENTRY(WM_CAPTURECHANGED, self->OnCaptureChanged(AFX_WND(call.lParam)); return true;)
#define ON_WM_ACTIVATE() \
    AFX_MSG_ENTRY(WM_ACTIVATE, self->OnActivate(LOWORD(call.wParam), AFX_WND(call.lParam), HIWORD(call.wParam)); return true;)
#define ON_WM_ACTIVATEAPP() AFX_MSG_ENTRY(WM_ACTIVATEAPP, self->OnActivateApp(static_cast<BOOL>(call.wParam), static_cast<DWORD>(call.lParam)); return true;)
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, self->OnSysCommand(static_cast<UINT>(call.wParam), call.lParam); return true;)
#define ON_WM_CONTEXTMENU() AFX_MSG_ENTRY(WM_CONTEXTMENU, self->OnContextMenu(AFX_WND(call.wParam), AFX_PT); return true;)
#define ON_WM_ENTERMENULOOP() AFX_MSG_ENTRY(WM_ENTERMENULOOP, self->OnEnterMenuLoop(static_cast<BOOL>(call.wParam)); return true;)
#define ON_WM_EXITMENULOOP() AFX_MSG_ENTRY(WM_EXITMENULOOP, self->OnExitMenuLoop(static_cast<BOOL>(call.wParam)); return true;)
#define ON_WM_INITMENUPOPUP()                                                                           \
    AFX_MSG_ENTRY(WM_INITMENUPOPUP, self->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(call.wParam)), \
                                                          LOWORD(call.lParam), HIWORD(call.lParam)); return true;)
#define ON_WM_COPYDATA() \
    AFX_MSG_ENTRY(WM_COPYDATA, call.result = self->OnCopyData(AFX_WND(call.wParam), reinterpret_cast<COPYDATASTRUCT*>(call.lParam)); return true;)
// fn(UINT code, UINT pos, CScrollBar* bar): bar is null for a window's own scroll bars
#define ON_WM_HSCROLL() \
    AFX_MSG_ENTRY(WM_HSCROLL, self->OnHScroll(LOWORD(call.wParam), HIWORD(call.wParam), CScrollBar::FromHandleBar(reinterpret_cast<HWND>(call.lParam))); return true;)
#define ON_WM_VSCROLL() \
    AFX_MSG_ENTRY(WM_VSCROLL, self->OnVScroll(LOWORD(call.wParam), HIWORD(call.wParam), CScrollBar::FromHandleBar(reinterpret_cast<HWND>(call.lParam))); return true;)
// fn(CDC*, CWnd* control, UINT CTLCOLOR_ kind) returns HBRUSH, for every WM_CTLCOLOR* message
#define ON_WM_CTLCOLOR()                                                                                        \
    afx::MsgMapEntry{afx::EntryKind::Message, WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, nullptr, 0, 0,                \
                     AFX_THUNK(CDC dc_; dc_.Attach(reinterpret_cast<HDC>(call.wParam));                           \
                               call.result = reinterpret_cast<LRESULT>(self->OnCtlColor(&dc_, AFX_WND(call.lParam), \
                                                                                        call.message - WM_CTLCOLORMSGBOX)); \
                               dc_.Detach(); return true;)},
#define ON_WM_DRAWITEM() \
    AFX_MSG_ENTRY(WM_DRAWITEM, self->OnDrawItem(static_cast<int>(call.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(call.lParam)); call.result = TRUE; return true;)
#define ON_WM_MEASUREITEM() \
    AFX_MSG_ENTRY(WM_MEASUREITEM, self->OnMeasureItem(static_cast<int>(call.wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(call.lParam)); call.result = TRUE; return true;)
