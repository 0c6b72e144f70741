// The application's run loop with its idle passes, PreTranslateMessage in the
// main loop, a modal dialog's loop and a control's own loop, and exceptions
// that escape handlers.
#include <string>
#include <vector>

#include "GuiTestResources.h"
#include "GuiTestSupport.h"

namespace {

std::vector<std::string> g_walk;

// Records that it was offered a key message; optionally keeps it.
template <class Base>
class CWalkLogged : public Base {
public:
    std::string name;
    BOOL consume = FALSE;
    int keyDowns = 0;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) {
            g_walk.push_back(name);
            if (consume)
                return TRUE;
        }
        return Base::PreTranslateMessage(msg);
    }
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_KEYDOWN)
            ++keyDowns;
        return Base::WindowProc(msg, wp, lp);
    }
};

struct Tree {
    CWalkLogged<CWnd> frame, panel;
    CWalkLogged<CEdit> edit;
    Tree()
    {
        frame.name = "frame";
        panel.name = "panel";
        edit.name = "edit";
        EXPECT_TRUE(frame.CreateEx(0, nullptr, L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
        EXPECT_TRUE(panel.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 200, 100), &frame, 1));
        EXPECT_TRUE(edit.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &panel, 2));
    }
};

class CIdleApp : public TestApp {
public:
    std::vector<LONG> counts;
    int periods = 0;
    BOOL OnIdle(LONG count) override
    {
        counts.push_back(count);
        BOOL more = CWinApp::OnIdle(count);
        if (!more && ++periods == 1)
            PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);  // starts a new idle period
        else if (!more)
            PostQuitMessage(7);
        return more;
    }
};

using MessageLoop = GuiTest;

TEST_F(MessageLoop, RunPassesIdleCountsAndReturnsTheQuitCode)
{
    CIdleApp idleApp;
    DropQuit();
    EXPECT_EQ(idleApp.Run(), 7);
    EXPECT_EQ(idleApp.counts, (std::vector<LONG>{0, 1, 0, 1}));
}

TEST_F(MessageLoop, MainLoopOffersKeysFromFocusUpToTopLevel)
{
    Tree tree;
    g_walk.clear();
    tree.edit.PostMessage(WM_KEYDOWN, 'A', 1);
    PostQuitMessage(0);
    app.Run();
    EXPECT_EQ(g_walk, (std::vector<std::string>{"edit", "panel", "frame"}));
    EXPECT_EQ(tree.edit.keyDowns, 1);
}

TEST_F(MessageLoop, ConsumedMessageStopsTheWalkAndIsNotDispatched)
{
    Tree tree;
    tree.panel.consume = TRUE;
    g_walk.clear();
    tree.edit.PostMessage(WM_KEYDOWN, 'A', 1);
    PostQuitMessage(0);
    app.Run();
    EXPECT_EQ(g_walk, (std::vector<std::string>{"edit", "panel"}));
    EXPECT_EQ(tree.edit.keyDowns, 0);
}

TEST_F(MessageLoop, ControlsOwnLoopUsesTheSameWalk)
{
    // What a popup menu's own loop does: pump until it is done.
    Tree tree;
    g_walk.clear();
    tree.edit.PostMessage(WM_KEYDOWN, 'A', 1);
    tree.edit.PostMessage(WM_NULL);
    bool done = false;
    while (!done && AfxPumpMessage()) {
        const MSG* last = AfxGetLastPumpedMessage();
        done = last->message == WM_NULL;
    }
    EXPECT_EQ(g_walk, (std::vector<std::string>{"edit", "panel", "frame"}));
}

class CWalkDialog : public CWalkLogged<CDialog> {
public:
    CWalkDialog(CWnd* owner)
    {
        m_nIDTemplate = IDD_TEST;
        m_pParentWnd = owner;
        name = "dialog";
        edit.name = "dialog-edit";
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        edit.SubclassDlgItem(IDC_NAME, this);
        edit.PostMessage(WM_KEYDOWN, 'A', 1);
        // Escape in the edit: the dialog's keyboard handling cancels.
        edit.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
        return TRUE;
    }
    CWalkLogged<CEdit> edit;
};

TEST_F(MessageLoop, ModalDialogLoopOffersKeysToControlThenDialog)
{
    CWalkLogged<CWnd> owner;
    owner.name = "owner";
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    g_walk.clear();
    CWalkDialog dlg(&owner);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    // The dialog is top-level: its owner is not part of the walk.
    EXPECT_EQ(g_walk, (std::vector<std::string>{"dialog-edit", "dialog", "dialog-edit", "dialog"}));
    EXPECT_EQ(dlg.edit.keyDowns, 1);  // Escape was taken by the dialog
}

// Counts the idle passes of whatever loop runs.
class CIdleCountingApp : public TestApp {
public:
    std::vector<LONG> counts;
    BOOL OnIdle(LONG count) override
    {
        counts.push_back(count);
        return CWinApp::OnIdle(count);
    }
};

// Ends itself at its second idle pass; a message in between starts a new period.
class CIdleDialog : public CDialog {
public:
    explicit CIdleDialog(CWnd* owner)
    {
        m_nIDTemplate = IDD_TEST;
        m_pParentWnd = owner;
    }
    std::vector<LPARAM> kicks;
    std::vector<size_t> appPassesAtKick;
    CIdleCountingApp* app = nullptr;

protected:
    LRESULT OnKickIdle(WPARAM, LPARAM count)
    {
        kicks.push_back(count);
        appPassesAtKick.push_back(app->counts.size());
        if (kicks.size() == 2)
            PostMessage(WM_APP);
        if (kicks.size() == 4)
            EndDialog(IDOK);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleDialog, CDialog)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

TEST_F(MessageLoop, ModalLoopGivesTheSameIdlePassesAsTheMainLoop)
{
    CIdleCountingApp idleApp;
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    CIdleDialog dlg(&owner);
    dlg.app = &idleApp;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    // Passes 0 and 1 (where the temporary wrappers are freed), then a new
    // period after the posted message; the dialog hears of each pass first.
    ASSERT_GE(dlg.kicks.size(), 4u);
    EXPECT_EQ(dlg.kicks[0], 0);
    EXPECT_EQ(dlg.kicks[1], 1);
    EXPECT_EQ(dlg.kicks[2], 0);
    EXPECT_EQ(dlg.kicks[3], 1);
    ASSERT_GE(idleApp.counts.size(), 3u);
    EXPECT_EQ(idleApp.counts[0], 0);
    EXPECT_EQ(idleApp.counts[1], 1);
    EXPECT_EQ(dlg.appPassesAtKick[1], 1u);
    owner.DestroyWindow();
}

// Handlers that fail.
class CThrowingWnd : public CWnd {
public:
    int handled = 0;
    bool throwOnCreate = false;
    bool throwOnKey = false;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (throwOnKey && msg->message == WM_KEYDOWN)
            throw std::runtime_error("pre-translate failed");
        return FALSE;
    }

protected:
    int OnCreate(LPCREATESTRUCTW)
    {
        if (throwOnCreate)
            AfxThrowFileException(CFileException::diskFull, -1, L"X:\\full.bin");
        return 0;
    }
    void OnFail() { AfxThrowInvalidArgException(); }
    void OnFine() { ++handled; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_WM_CREATE()
    ON_COMMAND(1, OnFail)
    ON_COMMAND(2, OnFine)
END_MESSAGE_MAP()

TEST_F(MessageLoop, ExceptionInHandlerIsReportedAndTheWindowGoesOn)
{
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    wnd.SendMessage(WM_COMMAND, 1);
    wnd.PostMessage(WM_COMMAND, 1);
    wnd.PostMessage(WM_COMMAND, 2);
    PostQuitMessage(0);
    app.Run();
    ASSERT_EQ(app.reported.size(), 2u);
    EXPECT_EQ(app.reportedMessages[0], static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(wnd.handled, 1);
    EXPECT_TRUE(IsWindow(wnd.m_hWnd));
}

TEST_F(MessageLoop, ExceptionInCreateFailsTheCreation)
{
    CThrowingWnd wnd;
    wnd.throwOnCreate = true;
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    ASSERT_EQ(app.reported.size(), 1u);
    EXPECT_NE(app.reported[0].find(L"full.bin"), std::wstring::npos) << std::string(app.reported[0].begin(), app.reported[0].end());
}

TEST_F(MessageLoop, ExceptionInPreTranslateIsReportedAndTheLoopGoesOn)
{
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    wnd.throwOnKey = true;
    wnd.PostMessage(WM_KEYDOWN, 'A', 1);
    wnd.PostMessage(WM_COMMAND, 2);
    PostQuitMessage(0);
    app.Run();
    EXPECT_EQ(app.reported, (std::vector<std::wstring>{L"pre-translate failed"}));
    EXPECT_EQ(wnd.handled, 1);
}

class CTimerWnd : public CWnd {
public:
    int ticks = 0;

protected:
    void OnTimer(UINT_PTR id)
    {
        if (id == 5 && ++ticks == 2)
            KillTimer(5);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTimerWnd, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST_F(MessageLoop, TimerReachesOnTimerUntilKilled)
{
    CTimerWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_NE(wnd.SetTimer(5, 10), 0u);
    ASSERT_TRUE(PumpUntil([&] { return wnd.ticks >= 2; }));
    Sleep(50);
    PumpPending();
    EXPECT_EQ(wnd.ticks, 2);
}

}  // namespace
