#pragma once
// A card folder that fills up or turns read-only: a small file system mounted
// under it for the test (where the host lets the test mount one).
#include <windows.h>

#include <string>

#include "HostShell.h"

namespace cardfs {

// A small file system on a card folder while the object lives.
class SmallCardFolder {
public:
    SmallCardFolder(const std::wstring& folder, size_t kib) : m_unix(hostshell::UnixPath(folder))
    {
        if (m_unix.empty())
            return;
        hostshell::Run("umount '" + m_unix + "' 2>/dev/null");
        m_mounted = hostshell::Run("mount -t tmpfs -o size=" + std::to_string(kib) + "k tmpfs '" + m_unix + "'") == 0;
    }
    ~SmallCardFolder()
    {
        if (m_mounted)
            hostshell::Run("umount '" + m_unix + "'");
    }
    bool Mounted() const { return m_mounted; }
    bool MakeReadOnly() { return hostshell::Run("mount -o remount,ro '" + m_unix + "'") == 0; }

private:
    std::string m_unix;
    bool m_mounted = false;
};

// Writes a file until the folder's file system is full.
inline void FillUp(const std::wstring& folder)
{
    HANDLE h = CreateFileW((folder + L"filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string block(4096, 'f');
    DWORD written = 1;
    while (h != INVALID_HANDLE_VALUE && WriteFile(h, block.data(), 4096, &written, nullptr) && written == 4096) {
    }
    CloseHandle(h);
}

}  // namespace cardfs
