#include "classlib/MessageLoop.h"

#include <stdexcept>

#include "classlib/CWinApp.h"
#include "classlib/CWnd.h"
#include "classlib/WndException.h"

namespace {
thread_local MSG t_last{};
thread_local WPARAM t_quitCode = 0;
thread_local POINT t_lastMousePos{-1, -1};
thread_local UINT t_lastMouseMsg = 0;
}  // namespace

BOOL AfxPreTranslateMessage(MSG* msg)
{
    // An exception here would otherwise leave the loop and end the program.
    try {
        if (CWinApp* app = AfxGetApp())
            return app->PreTranslateMessage(msg);
        return CWnd::WalkPreTranslateTree(msg);
    } catch (const std::exception& e) {
        AfxProcessWndProcException(e, msg);
    } catch (...) {
        AfxProcessWndProcException(std::runtime_error("unknown exception"), msg);
    }
    return TRUE;  // the message that failed is not dispatched
}

BOOL AfxPumpMessage()
{
    MSG msg;
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        t_quitCode = got == 0 ? msg.wParam : 0;
        t_last = msg;
        return FALSE;
    }
    t_last = msg;
    if (msg.message != WM_NULL && !AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

WPARAM AfxGetLastQuitCode()
{
    return t_quitCode;
}

const MSG* AfxGetLastPumpedMessage()
{
    return &t_last;
}

BOOL AfxIsIdleMessage(const MSG* msg)
{
    constexpr UINT kSysTimer = 0x0118;  // caret blink
    if (msg->message == WM_PAINT || msg->message == kSysTimer)
        return FALSE;
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        if (msg->message == t_lastMouseMsg && msg->pt.x == t_lastMousePos.x && msg->pt.y == t_lastMousePos.y)
            return FALSE;
        t_lastMouseMsg = msg->message;
        t_lastMousePos = msg->pt;
    }
    return TRUE;
}

void afx::IdlePasses::RunWhileQueueEmpty()
{
    MSG peek;
    while (m_idle && !::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
        BOOL more = FALSE;
        try {
            if (m_modal && ::IsWindow(m_modal))
                ::SendMessageW(m_modal, WM_KICKIDLE, MSGF_DIALOGBOX, m_count);
            if (CWinApp* app = AfxGetApp())
                more = app->OnIdle(m_count);
        } catch (const std::exception& e) {
            AfxProcessWndProcException(e, nullptr);
        }
        ++m_count;
        if (!more)
            m_idle = false;
    }
}

void afx::IdlePasses::MessagePumped()
{
    if (AfxIsIdleMessage(AfxGetLastPumpedMessage())) {
        m_idle = true;
        m_count = 0;
    }
}
