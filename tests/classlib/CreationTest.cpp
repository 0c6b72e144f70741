// Windows attached to their objects from the first message of their creation,
// subclassing of existing windows, the handle map, the end of a window, and
// the program entry.
#include <string>
#include <vector>

#include "GuiTestSupport.h"

namespace {

class CFirstMessageWnd : public CWnd {
public:
    std::vector<UINT> seen;
    bool mappedAtNcCreate = false;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        seen.push_back(msg);
        if (msg == WM_NCCREATE)
            mappedAtNcCreate = FromHandlePermanent(m_hWnd) == this;
        return CWnd::WindowProc(msg, wp, lp);
    }
};

using Creation = GuiTest;

TEST_F(Creation, ObjectSeesTheWindowFromItsFirstMessage)
{
    CFirstMessageWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_FALSE(wnd.seen.empty());
    EXPECT_TRUE(wnd.seen[0] == WM_GETMINMAXINFO || wnd.seen[0] == WM_NCCREATE) << wnd.seen[0];
    EXPECT_TRUE(wnd.mappedAtNcCreate);
    auto create = std::find(wnd.seen.begin(), wnd.seen.end(), static_cast<UINT>(WM_CREATE));
    auto ncCreate = std::find(wnd.seen.begin(), wnd.seen.end(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_LT(ncCreate, create);
}

class CMeasuredCombo : public CComboBox {
public:
    int measured = 0;
    int drawn = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override
    {
        ++measured;
        mis->itemHeight = 23;
    }
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        ++drawn;
        FillRect(dis->hDC, &dis->rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
};

TEST_F(Creation, OwnerDrawnComboIsMeasuredDuringItsCreation)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    CMeasuredCombo combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, CRect(10, 10, 200, 200),
                             &parent, 77));
    EXPECT_GE(combo.measured, 1);
    EXPECT_EQ(combo.GetItemHeight(0), 23);
    combo.AddString(L"one");
    combo.SetCurSel(0);
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    parent.UpdateWindow();
    PumpPending();
    EXPECT_GE(combo.drawn, 1);
}

class CCountingEdit : public CEdit {
public:
    int chars = 0;
    bool preSubclassed = false;
    void PreSubclassWindow() override { preSubclassed = true; }

protected:
    void OnChar(UINT, UINT, UINT)
    {
        ++chars;
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingEdit, CEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()

TEST_F(Creation, SubclassAndUnsubclassAnExistingControl)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    HWND raw = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(raw, nullptr);
    {
        CCountingEdit edit;
        ASSERT_TRUE(edit.SubclassWindow(raw));
        EXPECT_TRUE(edit.preSubclassed);
        EXPECT_EQ(CWnd::FromHandlePermanent(raw), &edit);
        EXPECT_FALSE(CCountingEdit().SubclassWindow(raw));  // one owner per window
        ::SendMessageW(raw, WM_CHAR, 'a', 1);
        EXPECT_EQ(edit.chars, 1);
        EXPECT_EQ(edit.UnsubclassWindow(), raw);
        EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
        ::SendMessageW(raw, WM_CHAR, 'b', 1);
        EXPECT_EQ(edit.chars, 1);
    }
    // The object is gone, the unsubclassed window lives on with its own procedure.
    ASSERT_TRUE(IsWindow(raw));
    wchar_t text[8] = {};
    GetWindowTextW(raw, text, 8);
    EXPECT_STREQ(text, L"ab");
}

TEST_F(Creation, SubclassingObjectGoingFirstLeavesTheWindow)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    HWND raw = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent.m_hWnd, nullptr, nullptr, nullptr);
    {
        CCountingEdit edit;
        ASSERT_TRUE(edit.SubclassWindow(raw));
    }
    ASSERT_TRUE(IsWindow(raw));
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    ::SendMessageW(raw, WM_CHAR, 'z', 1);  // its own procedure again
    wchar_t text[8] = {};
    GetWindowTextW(raw, text, 8);
    EXPECT_STREQ(text, L"z");
}

TEST_F(Creation, TemporaryWrapperForAWindowNobodyOwns)
{
    HWND raw = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CWnd* temp = CWnd::FromHandle(raw);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, raw);
    EXPECT_EQ(CWnd::FromHandle(raw), temp);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    AfxDeleteTempObjects();
    EXPECT_TRUE(IsWindow(raw));  // a wrapper owns nothing
    DestroyWindow(raw);
}

class CSelfDeletingWnd : public CWnd {
public:
    static int deleted;
    ~CSelfDeletingWnd() override { ++deleted; }
    void PostNcDestroy() override { delete this; }
};
int CSelfDeletingWnd::deleted = 0;

TEST_F(Creation, EndOfWindowDetachesAndCallsPostNcDestroy)
{
    auto* wnd = new CSelfDeletingWnd;
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    HWND h = wnd->m_hWnd;
    CSelfDeletingWnd::deleted = 0;
    DestroyWindow(h);
    EXPECT_EQ(CSelfDeletingWnd::deleted, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

// A derived window whose end handlers read its own members, as views save
// their column widths when their window goes.
class CEndRecordingWnd : public CWnd {
public:
    static std::vector<std::wstring> log;
    std::wstring name = L"view";
    CEndRecordingWnd* child = nullptr;
    ~CEndRecordingWnd() override { name.clear(); }

protected:
    void OnDestroy() { log.push_back(name + L" destroy"); }
    void OnNcDestroy()
    {
        log.push_back(name + L" ncdestroy");
        Default();
    }
    DECLARE_MESSAGE_MAP()
};
std::vector<std::wstring> CEndRecordingWnd::log;

BEGIN_MESSAGE_MAP(CEndRecordingWnd, CWnd)
    ON_WM_DESTROY()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

TEST_F(Creation, DeletingAWindowObjectRunsItsOwnEndHandlersFirst)
{
    CEndRecordingWnd::log.clear();
    const LONG late = CWnd::GetLateDestroyCount();
    auto* wnd = new CEndRecordingWnd;
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    auto* child = new CEndRecordingWnd;
    child->name = L"child";
    ASSERT_TRUE(child->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), wnd, 5));
    HWND h = wnd->m_hWnd;
    CWnd* asBase = wnd;
    delete asBase;
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    const std::vector<std::wstring> expected = {L"view destroy", L"child destroy", L"child ncdestroy",
                                                L"view ncdestroy"};
    EXPECT_EQ(CEndRecordingWnd::log, expected);
    EXPECT_EQ(late, CWnd::GetLateDestroyCount());
    delete child;  // its window went with its parent's
}

TEST_F(Creation, SelfDeletingWindowDeletedByItsOwnerEndsOnce)
{
    auto* wnd = new CSelfDeletingWnd;
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    HWND h = wnd->m_hWnd;
    CSelfDeletingWnd::deleted = 0;
    delete wnd;
    EXPECT_EQ(CSelfDeletingWnd::deleted, 1);
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(Creation, ObjectEndingBeforeItsWindowIsReportedAndLeavesNoWindow)
{
    const LONG late = CWnd::GetLateDestroyCount();
    HWND h;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
        h = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    EXPECT_EQ(late + 1, CWnd::GetLateDestroyCount());
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
        wnd.DestroyWindow();  // the rule kept
    }
    EXPECT_EQ(late + 1, CWnd::GetLateDestroyCount());
}

TEST_F(Creation, DefaultClassTakesDoubleClicks)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_TRUE(GetClassLongW(wnd.m_hWnd, GCL_STYLE) & CS_DBLCLKS);
    EXPECT_EQ(AfxRegisterWndClass(0, nullptr), AfxRegisterWndClass(0, nullptr));
}

// The program's application object, as wWinMain hands over to it.
class CEntryApp : public TestApp {
public:
    bool startOk = true;
    bool exited = false;
    std::wstring cmdLine;
    CWnd mainWnd;
    BOOL InitInstance() override
    {
        cmdLine = m_lpCmdLine;
        if (!mainWnd.CreateEx(0, nullptr, L"main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr))
            return FALSE;
        m_pMainWnd = &mainWnd;
        mainWnd.PostMessage(WM_CLOSE);  // the user closes the program
        return startOk;
    }
    int ExitInstance() override
    {
        exited = true;
        return CWinApp::ExitInstance() + 40;
    }
};

TEST_F(Creation, EntryRunsUntilTheMainWindowCloses)
{
    CEntryApp entry;
    DropQuit();
    EXPECT_EQ(AfxWinMain(GetModuleHandleW(nullptr), nullptr, const_cast<wchar_t*>(L"/x"), SW_HIDE), 40);
    EXPECT_EQ(entry.cmdLine, L"/x");
    EXPECT_TRUE(entry.exited);
    EXPECT_EQ(entry.m_pMainWnd, nullptr);
    EXPECT_EQ(entry.mainWnd.m_hWnd, nullptr);
}

TEST_F(Creation, FailedStartDestroysTheMainWindowAndExits)
{
    CEntryApp entry;
    entry.startOk = false;
    DropQuit();
    EXPECT_EQ(AfxWinMain(GetModuleHandleW(nullptr), nullptr, nullptr, SW_HIDE), 40);
    EXPECT_TRUE(entry.exited);
    EXPECT_EQ(entry.mainWnd.m_hWnd, nullptr);
    PumpPending();
    DropQuit();
}

}  // namespace
