#pragma once
// What the feed workers hold of the reader: its window, or none once the view
// is gone. The view frees it when the workers have ended; one that a worker
// may still hold after a time-out is left alive on purpose.
#include <atomic>

#include "doc/DocRssPoi.h"

class CFeedReaderLink : public IFeedReader {
public:
    CFeedReaderLink(HWND window, UINT doneMessage) : m_window(window), m_doneMessage(doneMessage) {}
    HWND GetReaderWindow() override { return m_window.load(); }
    // From the update worker: only a posted note; the window clears row 0's
    // mark on its own thread.
    void OnUpdateFinished() override
    {
        if (HWND window = m_window.load())
            ::PostMessageW(window, m_doneMessage, 0, 0);
    }
    void Detach() { m_window.store(nullptr); }

private:
    std::atomic<HWND> m_window;
    UINT m_doneMessage;
};
