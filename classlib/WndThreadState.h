#pragma once
// Per-thread state of the window layer, shared by its own files only: the
// message being handled (for Default) and the window being created (for the
// creation hook and for owner-drawn controls measured during creation).
#include <windows.h>

#include <vector>

class CWnd;

namespace afx {

struct ThreadState {
    MSG current{};
    bool ncDestroyDefaulted = false;
    CWnd* pWndInit = nullptr;     // waiting for its HCBT_CREATEWND
    std::vector<CWnd*> creating;  // attached, CreateWindowEx not returned yet
    HHOOK hook = nullptr;
    int hookUsers = 0;
};

ThreadState& GetThreadState();

// Sets the message Default() refers to for the length of a scope.
class CurrentMessage {
public:
    CurrentMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    ~CurrentMessage();
    CurrentMessage(const CurrentMessage&) = delete;
    CurrentMessage& operator=(const CurrentMessage&) = delete;

private:
    MSG m_saved;
    bool m_savedNcDestroy;
};

}  // namespace afx
