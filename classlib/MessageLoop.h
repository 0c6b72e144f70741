#pragma once
// The one message pump every loop of the program uses: the application's main
// loop, every modal loop and any control's own loop. Each queued message is
// first offered to PreTranslateMessage from its target window up through the
// parents to the top-level window.
#include <windows.h>

// Takes one message (waiting for it), offers it for pre-translation, then
// translates and dispatches it. FALSE when it was WM_QUIT (or GetMessage failed).
BOOL AfxPumpMessage();
// The pre-translation walk alone: the application's PreTranslateMessage, which
// by default walks from msg->hwnd up to its top-level window.
BOOL AfxPreTranslateMessage(MSG* msg);
// The exit code of the last WM_QUIT AfxPumpMessage took.
WPARAM AfxGetLastQuitCode();
// The last message AfxPumpMessage took on this thread.
const MSG* AfxGetLastPumpedMessage();
// FALSE for messages that must not start a new idle period (paint, caret blink,
// a mouse move that did not move).
BOOL AfxIsIdleMessage(const MSG* msg);
