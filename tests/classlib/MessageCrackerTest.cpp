// The ON_WM_* entries unpack their messages into typed parameters.
#include <string>
#include <vector>

#include "GuiTestSupport.h"

namespace {

// Has an entry for every message the layer unpacks; records what arrived.
class CAllMessagesWnd : public CWnd {
public:
    std::vector<std::string> log;
    CBrush staticBrush{RGB(1, 2, 3)};
    void Note(const std::string& s) { log.push_back(s); }

protected:
    int OnCreate(LPCREATESTRUCTW cs) { Note("create"); return 0; }
    BOOL OnNcCreate(LPCREATESTRUCTW) { Note("nccreate"); return static_cast<BOOL>(Default()); }
    void OnDestroy() { Note("destroy"); }
    void OnNcDestroy() { Note("ncdestroy"); Default(); }
    void OnClose() { Note("close"); }
    void OnPaint() { CPaintDC dc(this); }
    void OnNcPaint() { Default(); }
    BOOL OnEraseBkgnd(CDC* dc) { return dc->GetSafeHdc() != nullptr; }
    void OnSize(UINT, int cx, int cy) {}
    void OnMove(int, int) {}
    void OnShowWindow(BOOL show, UINT) { Note(show ? "show" : "hide"); }
    void OnEnable(BOOL on) { Note(on ? "enable" : "disable"); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return TRUE; }
    LRESULT OnNcHitTest(CPoint pt) { Note("hit " + std::to_string(pt.x) + "," + std::to_string(pt.y)); return HTCLIENT; }
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
    void OnGetMinMaxInfo(MINMAXINFO*) {}
    void OnWindowPosChanging(WINDOWPOS*) {}
    void OnWindowPosChanged(WINDOWPOS*) { Default(); }
    void OnMouseMove(UINT, CPoint) {}
    void OnLButtonDown(UINT, CPoint) {}
    void OnLButtonUp(UINT, CPoint) {}
    void OnLButtonDblClk(UINT, CPoint pt) { Note("dblclk " + std::to_string(pt.x)); }
    void OnRButtonDown(UINT, CPoint) {}
    void OnRButtonUp(UINT, CPoint) {}
    void OnRButtonDblClk(UINT, CPoint) {}
    void OnMButtonDown(UINT, CPoint) {}
    void OnMButtonUp(UINT, CPoint) {}
    void OnNcMouseMove(UINT, CPoint) {}
    void OnNcLButtonDown(UINT hit, CPoint) { Note("nclbuttondown " + std::to_string(hit)); }
    void OnNcLButtonUp(UINT, CPoint) {}
    void OnNcLButtonDblClk(UINT, CPoint) {}
    void OnNcRButtonUp(UINT, CPoint) {}
    void OnMouseLeave() { Note("mouseleave"); }
    void OnNcMouseLeave() {}
    BOOL OnMouseWheel(UINT, short delta, CPoint pt) { Note("wheel " + std::to_string(delta) + " " + std::to_string(pt.x)); return TRUE; }
    void OnKeyDown(UINT key, UINT repeat, UINT) { Note("keydown " + std::to_string(key) + " x" + std::to_string(repeat)); }
    void OnKeyUp(UINT, UINT, UINT) {}
    void OnSysKeyDown(UINT, UINT, UINT) {}
    void OnChar(UINT, UINT, UINT) {}
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS; }
    void OnTimer(UINT_PTR) {}
    void OnSetFocus(CWnd*) {}
    void OnKillFocus(CWnd*) {}
    void OnCaptureChanged(CWnd*) {}
    void OnActivate(UINT, CWnd*, BOOL) {}
    void OnActivateApp(BOOL, DWORD) {}
    void OnSysCommand(UINT id, LPARAM) { Note("syscommand " + std::to_string(id)); }
    void OnContextMenu(CWnd*, CPoint pt) { Note("contextmenu " + std::to_string(pt.y)); }
    void OnEnterMenuLoop(BOOL) { Note("entermenuloop"); }
    void OnExitMenuLoop(BOOL) { Note("exitmenuloop"); }
    void OnInitMenuPopup(CMenu* menu, UINT, BOOL) { Note(menu ? "initmenupopup" : "initmenupopup null"); }
    BOOL OnCopyData(CWnd*, COPYDATASTRUCT* cds) { Note("copydata " + std::to_string(cds->cbData)); return TRUE; }
    void OnHScroll(UINT code, UINT, CScrollBar* bar) { Note("hscroll " + std::to_string(code) + (bar ? " bar" : " own")); }
    void OnVScroll(UINT code, UINT pos, CScrollBar*) { Note("vscroll " + std::to_string(code) + " " + std::to_string(pos)); }
    HBRUSH OnCtlColor(CDC* dc, CWnd*, UINT kind)
    {
        Note("ctlcolor " + std::to_string(kind));
        dc->SetBkColor(RGB(1, 2, 3));
        return staticBrush;
    }
    void OnDrawItem(int, LPDRAWITEMSTRUCT) {}
    void OnMeasureItem(int, LPMEASUREITEMSTRUCT) {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAllMessagesWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_NCCREATE()
    ON_WM_DESTROY()
    ON_WM_NCDESTROY()
    ON_WM_CLOSE()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_SHOWWINDOW()
    ON_WM_ENABLE()
    ON_WM_SETCURSOR()
    ON_WM_NCHITTEST()
    ON_WM_NCCALCSIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONUP()
    ON_WM_NCMOUSEMOVE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_NCRBUTTONUP()
    ON_WM_MOUSELEAVE()
    ON_WM_NCMOUSELEAVE()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_SYSKEYDOWN()
    ON_WM_CHAR()
    ON_WM_GETDLGCODE()
    ON_WM_TIMER()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_CAPTURECHANGED()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_WM_SYSCOMMAND()
    ON_WM_CONTEXTMENU()
    ON_WM_ENTERMENULOOP()
    ON_WM_EXITMENULOOP()
    ON_WM_INITMENUPOPUP()
    ON_WM_COPYDATA()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

using MessageCrackers = GuiTest;

TEST_F(MessageCrackers, ParametersArriveUnpacked)
{
    CAllMessagesWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"all", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"nccreate", "create"}));
    wnd.log.clear();

    CStatic label;
    ASSERT_TRUE(label.Create(L"x", WS_VISIBLE, CRect(0, 0, 20, 20), &wnd));
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(SBS_HORZ | WS_VISIBLE, CRect(0, 30, 100, 45), &wnd, 5));
    HDC dc = ::GetDC(label);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(wnd.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(label.m_hWnd))),
              static_cast<HBRUSH>(wnd.staticBrush));
    EXPECT_EQ(::GetBkColor(dc), RGB(1, 2, 3));
    ::ReleaseDC(label, dc);
    wnd.SendMessage(WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(bar.m_hWnd));
    wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), 0);
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(static_cast<WORD>(-5), 9));
    wnd.SendMessage(WM_KEYDOWN, VK_F2, 3);
    wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(12, 34));
    wnd.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);  // handled: the default would start a move
    wnd.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(6, 7));
    wnd.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd.m_hWnd), MAKELPARAM(1, 2));
    wnd.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    COPYDATASTRUCT cds{0, 4, nullptr};
    EXPECT_TRUE(wnd.SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)));
    wnd.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(wnd.SendMessage(WM_GETDLGCODE), DLGC_WANTALLKEYS);
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"ctlcolor 6", "hscroll 1 bar", "vscroll 5 300", "wheel -120 -5",
                                                 "keydown 113 x3", "hit 12,34", "nclbuttondown 2", "dblclk 6",
                                                 "contextmenu 2", "syscommand 61536", "copydata 4", "mouseleave"}));
    wnd.log.clear();
    wnd.EnableWindow(FALSE);
    wnd.ShowWindow(SW_SHOWNOACTIVATE);
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"disable", "show", "destroy", "ncdestroy"}));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

}  // namespace

namespace {

class CTrackedWnd : public CWnd {
public:
    int leaves = 0;

protected:
    void OnMouseLeave() { ++leaves; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTrackedWnd, CWnd)
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

TEST_F(MessageCrackers, MouseTrackingReportsTheLeave)
{
    CTrackedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"track", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
    SetCursorPos(25, 25);
    PumpPending();
    ASSERT_TRUE(wnd.TrackMouseEvent(TME_LEAVE));
    SetCursorPos(600, 600);
    EXPECT_TRUE(PumpUntil([&] { return wnd.leaves == 1; }));
}

}  // namespace
