#include "frame/UrlOpener.h"

#include <shellapi.h>

#include <string>

namespace {

bool Record(const wchar_t* address)
{
    wchar_t path[MAX_PATH] = {};
    DWORD n = ::GetEnvironmentVariableW(L"MIROVALE_URL_LOG", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;  // asked to record: never start a browser from a test
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, address, -1, nullptr, 0, nullptr, nullptr);
    std::string line(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, address, -1, line.data(), bytes, nullptr, nullptr);
    line += "\n";
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
    return true;
}

}  // namespace

void OpenInBrowser(HWND parent, const wchar_t* address)
{
    if (!address || !*address || Record(address))
        return;
    ::ShellExecuteW(parent, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
}
