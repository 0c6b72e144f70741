// The web-page handler the road tests register in place of the browser:
// page_recorder FILE ADDRESS appends ADDRESS to FILE as a UTF-8 line.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 2;
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, nullptr, 0, nullptr, nullptr);
    std::string line(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, line.data(), bytes, nullptr, nullptr);
    line += "\n";
    HANDLE file = ::CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok ? 0 : 1;
}
