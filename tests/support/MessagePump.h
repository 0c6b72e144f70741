#pragma once
// Waiting in a test while the test thread's windows get their messages.
#include <windows.h>

#include <functional>

namespace testsupport {

// Dispatches sent and posted messages straight (no pre-translation by the
// class library) until done() or the time runs out; returns done().
inline bool DispatchUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

}  // namespace testsupport
