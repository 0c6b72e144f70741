// The progress dialog as its caller uses it: started over the main window,
// pumped, moved, cancelled with real input, and destroyed.
#include <windows.h>

#include <commctrl.h>

#include "DialogDriver.h"
#include "core/Global.h"
#include "frame/ProgressDlg.h"

using namespace dlgtest;
using namespace skintest;

namespace {

class ProgressDialog : public DialogTest {};

TEST(ProgressPercent, IntegerShareCappedAtBothEnds)
{
    const struct {
        int min, max, pos, percent;
    } cases[] = {
        {0, 100, 42, 42}, {0, 3, 1, 33}, {0, 3, 2, 66}, {0, 1, 1, 100}, {0, 10, 25, 100},
        {0, 10, -5, 0},   {0, 1, 0, 0},  {0, 0, 5, 0},  {0, 2000000, 2000000, 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CProgressDlg::PercentOf(c.min, c.max, c.pos), c.percent) << c.pos << " of " << c.max;
}

TEST_F(ProgressDialog, StartShowsTheDialogOverADisabledOwnerAndDestroyGivesItBack)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Start(&main));
    EXPECT_FALSE(main.IsWindowEnabled());
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_STREQ(dlg.GetCaption(), theGlobal.UiString(235));
    EXPECT_FALSE(dlg.m_btnClose.IsWindowVisible());
    EXPECT_TRUE(dlg.m_btnMinimize.IsWindowVisible());
    EXPECT_EQ(dlg.m_progress.SendMessage(PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_EQ(::WaitForSingleObject(dlg.m_cancelEvent, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CRect window;
    dlg.GetWindowRect(&window);
    EXPECT_EQ(window.Width(), 420);
    EXPECT_EQ(window.Height(), 241 + dlg.GetTopHeight());

    dlg.m_message.SetWindowText(L"Reading the drive reports");
    dlg.RepaintChild(&dlg.m_message);
    dlg.SetRange(8);
    dlg.m_progress.SendMessage(PBM_SETPOS, 3, 0);
    dlg.UpdatePercent(3);
    EXPECT_STREQ(AfxGetWindowText(dlg.m_percent.m_hWnd), L"37 %");
    SaveShot(dlg.m_hWnd, L"progress");
    dlg.DestroyWindow();
    EXPECT_TRUE(main.IsWindowEnabled());
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(ProgressDialog, AnOwnerDisabledBeforeStaysDisabled)
{
    main.EnableWindow(FALSE);
    {
        CProgressDlg dlg;
        ASSERT_TRUE(dlg.Start(&main));
        dlg.DestroyWindow();
    }
    EXPECT_FALSE(main.IsWindowEnabled());
    main.EnableWindow(TRUE);
}

TEST_F(ProgressDialog, RangeOfZeroOrLessBecomesOne)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Start(&main));
    for (int n : {0, -7}) {
        dlg.SetRange(n);
        PBRANGE r{};
        dlg.m_progress.SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&r));
        EXPECT_EQ(r.iLow, 0);
        EXPECT_EQ(r.iHigh, 1);
        dlg.UpdatePercent(1);
        EXPECT_STREQ(AfxGetWindowText(dlg.m_percent.m_hWnd), L"100 %");
    }
    dlg.SetRange(4);
    dlg.UpdatePercent(9);  // beyond the end
    EXPECT_STREQ(AfxGetWindowText(dlg.m_percent.m_hWnd), L"100 %");
}

TEST_F(ProgressDialog, CancelByClickAndEscapeSetsTheFlagAndLatchesTheButton)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Start(&main));
    Settle(dlg.m_hWnd);
    ClickChild(dlg.m_btnCancel.m_hWnd);
    dlg.PumpMessages();
    EXPECT_EQ(dlg.m_cancel, 1);
    EXPECT_EQ(dlg.m_btnCancel.GetState(), kStateChecked);
    EXPECT_TRUE(dlg.m_hWnd != nullptr && dlg.IsWindowVisible());  // the caller ends it
    dlg.m_cancel = 0;
    ClickChild(dlg.m_btnCancel.m_hWnd);
    dlg.PumpMessages();
    EXPECT_EQ(dlg.m_cancel, 1);
    EXPECT_EQ(dlg.m_btnCancel.GetState(), kStateChecked);

    dlg.m_cancel = 0;
    ::SetForegroundWindow(dlg.m_hWnd);
    dlg.SetFocus();
    PressKey(VK_ESCAPE);
    dlg.PumpMessages();
    EXPECT_EQ(dlg.m_cancel, 1);
    // Enter is no OK here: the dialog stays for the caller.
    PressKey(VK_RETURN);
    dlg.PumpMessages();
    EXPECT_NE(dlg.m_hWnd, nullptr);
    dlg.DestroyWindow();
}

TEST_F(ProgressDialog, CallerLoopKeepsTheProgramResponsiveAndAQuitIsNotLost)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Start(&main));
    dlg.SetRange(5);
    int step = 0;
    for (; step < 5; ++step) {
        main.PostMessage(WM_COMMAND, 4321);
        if (step == 2)
            ::PostQuitMessage(7);
        dlg.PumpMessages();
        if (dlg.m_cancel) {
            dlg.m_cancel = 0;
            ::SetEvent(dlg.m_cancelEvent);
            break;
        }
        dlg.PumpMessages();
        dlg.m_progress.SendMessage(PBM_SETPOS, step + 1, 0);
        dlg.UpdatePercent(step + 1);
    }
    EXPECT_EQ(step, 2);  // the quit ended the loop
    EXPECT_EQ(main.CountCommand(WM_COMMAND, 4321), 3);
    EXPECT_EQ(::WaitForSingleObject(dlg.m_cancelEvent, 0), WAIT_OBJECT_0);
    dlg.DestroyWindow();
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

DWORD WINAPI SlowWork(void*)
{
    ::Sleep(600);
    return 0;
}

// A caller that waits for a worker between pumps: a quit met while the worker
// still runs cancels it and lets the caller wait, not spin; the program gets
// its quit back once the dialog is gone.
TEST_F(ProgressDialog, AQuitDuringAWorkerWaitsInsteadOfSpinning)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Start(&main));
    HANDLE worker = ::CreateThread(nullptr, 0, &SlowWork, nullptr, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    ::PostQuitMessage(3);
    int rounds = 0;
    while (::MsgWaitForMultipleObjects(1, &worker, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0) {
        ++rounds;
        dlg.PumpMessages();
    }
    ::CloseHandle(worker);
    EXPECT_TRUE(dlg.QuitSeen());
    EXPECT_EQ(dlg.m_cancel, 1);
    // About one round per 50 ms, not one per pass of a busy loop.
    EXPECT_LT(rounds, 40);
    dlg.DestroyWindow();
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
