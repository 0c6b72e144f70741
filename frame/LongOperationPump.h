#pragma once
// The message pump of long operations on the user-interface thread (imports,
// reports, waits): runs what is queued now and returns. A quit request that
// arrives meanwhile is not swallowed: it is posted again for the main loop,
// and the caller learns of it to stop early.
#include <windows.h>

// FALSE when the program was asked to quit (the WM_QUIT stays queued).
BOOL PumpPendingMessages();
