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

// Sent to a modal window at each idle pass of its loop (wParam MSGF_DIALOGBOX,
// lParam the idle count): the place for a dialog's own command updates.
constexpr UINT WM_KICKIDLE = 0x036A;

namespace afx {
// The idle passes every loop gives while its queue is empty: the main loop
// and each modal loop alike. A pass asks the application's OnIdle(count)
// (and first tells the modal window, when there is one), 0, 1, ... until
// no more is wanted; a new period starts after any message AfxIsIdleMessage
// counts.
class IdlePasses {
public:
    explicit IdlePasses(HWND modal = nullptr) : m_modal(modal) {}
    // Runs passes while the period lasts and the queue stays empty.
    void RunWhileQueueEmpty();
    // After each pumped message.
    void MessagePumped();

private:
    HWND m_modal;
    bool m_idle = true;
    LONG m_count = 0;
};
}  // namespace afx
