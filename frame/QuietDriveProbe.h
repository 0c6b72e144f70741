#pragma once
// Looks at drives without the system's "no disk" box: an empty card reader
// then answers "not ready" instead of asking the user for a disk. Restores
// the thread's error mode when it ends.
#include <windows.h>

class CQuietDriveProbe {
public:
    CQuietDriveProbe()
    {
        if (!::SetThreadErrorMode(::GetThreadErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &m_old))
            m_set = FALSE;
    }
    ~CQuietDriveProbe()
    {
        if (m_set)
            ::SetThreadErrorMode(m_old, nullptr);
    }
    CQuietDriveProbe(const CQuietDriveProbe&) = delete;
    CQuietDriveProbe& operator=(const CQuietDriveProbe&) = delete;

private:
    DWORD m_old = 0;
    BOOL m_set = TRUE;
};
