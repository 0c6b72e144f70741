#pragma once
// The test program runs under Wine, which starts host programs too: the card
// tests use that to put a small or read-only file system under a card folder.
#include <windows.h>

#include <string>

namespace hostshell {

// The host path of a Windows path (empty when Wine cannot tell).
inline std::string UnixPath(const std::wstring& path)
{
    using Fn = char*(CDECL*)(LPCWSTR);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!fn)
        return std::string();
    char* unix = fn(path.c_str());
    std::string result = unix ? unix : "";
    if (unix)
        HeapFree(GetProcessHeap(), 0, unix);
    while (result.size() > 1 && result.back() == '/')
        result.pop_back();
    return result;
}

// Runs a command with the host's /bin/sh and returns its exit code, or -1. Wine
// does not pass a host program's exit code on, so the shell writes it to a file.
inline int Run(const std::string& command)
{
    wchar_t temp[MAX_PATH] = {}, file[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    if (!GetTempFileNameW(temp, L"sh", 0, file))
        return -1;
    std::string status = UnixPath(file);
    std::string script = command + "; echo $? > '" + status + "'";
    std::wstring line = L"Z:\\bin\\sh -c \"";
    for (char c : script)
        line += c == '"' ? std::wstring(L"\\\"") : std::wstring(1, static_cast<wchar_t>(c));
    line += L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    int rc = -1;
    if (!status.empty() &&
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        // The handle of a host process does not wait for it: poll for the status.
        for (int waited = 0; rc < 0 && waited < 30000; waited += 20) {
            char buf[16] = {};
            HANDLE h = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                   nullptr);
            DWORD read = 0;
            if (h != INVALID_HANDLE_VALUE) {
                if (ReadFile(h, buf, sizeof(buf) - 1, &read, nullptr) && read > 0 && buf[read - 1] == '\n')
                    rc = atoi(buf);
                CloseHandle(h);
            }
            if (rc < 0)
                Sleep(20);
        }
    }
    DeleteFileW(file);
    return rc;
}

}  // namespace hostshell
