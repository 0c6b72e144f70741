#pragma once
// Shows the hourglass for the life of the object.
#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor() : m_old(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_old); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore() { ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)); }

private:
    HCURSOR m_old;
};
