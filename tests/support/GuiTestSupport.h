#pragma once
// Shared pieces of the window-layer tests: an application object that records
// reported exceptions instead of showing a box, message pumping with a time
// limit, and a fixture that gives every test its own application object.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Afx.h"

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp(L"classlib tests") {}
    LRESULT ProcessWndProcException(const std::exception& e, const MSG* msg) override
    {
        reported.push_back(std::wstring(AfxExceptionText(e)));
        reportedMessages.push_back(msg ? msg->message : 0);
        return 0;
    }
    std::vector<std::wstring> reported;
    std::vector<UINT> reportedMessages;
};

// Pumps messages (through the library's pump, so pre-translation happens)
// until done() or the time runs out; returns done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MSG peek;
        if (PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (peek.message == WM_QUIT)
                return done();
            AfxPumpMessage();
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

// Runs whatever is queued now.
inline void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT)
        AfxPumpMessage();
}

// Drops a WM_QUIT a test left behind, so the next test's loops run.
inline void DropQuit()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

class GuiTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        PumpPending();
        DropQuit();
    }
    TestApp app;
};

// Screen coordinates of a client point, as a mouse message's lParam wants them.
inline LPARAM ClientPoint(int x, int y)
{
    return MAKELPARAM(x, y);
}
