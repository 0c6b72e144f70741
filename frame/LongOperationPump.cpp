#include "frame/LongOperationPump.h"

#include "classlib/MessageLoop.h"

BOOL PumpPendingMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it queued for the main loop, which ends the program.
            return FALSE;
        }
        if (!AfxPumpMessage()) {
            ::PostQuitMessage(static_cast<int>(AfxGetLastQuitCode()));
            return FALSE;
        }
    }
    return TRUE;
}
