#include "TestFiles.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <stdexcept>

namespace testsupport {

std::wstring ExeDir()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathRemoveFileSpecW(path);
    std::wstring dir = path;
    dir += L'\\';
    return dir;
}

std::wstring SourceFile(const std::wstring& relative)
{
    wchar_t src[MAX_PATH] = {};
    GetEnvironmentVariableW(L"MIROVALE_SOURCE", src, MAX_PATH);
    std::wstring path = src;
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    if (path.size() > 1 && path[0] == L'\\')
        path = L"Z:" + path;  // a host path as Wine's root drive shows it
    return path + L"\\" + relative;
}

TempDir::TempDir()
{
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static LONG counter = 0;
    for (;;) {
        wchar_t name[MAX_PATH];
        swprintf(name, MAX_PATH, L"%lsmvt_%lu_%ld_%lu\\", base, GetCurrentProcessId(),
                 InterlockedIncrement(&counter), GetTickCount());
        if (CreateDirectoryW(name, nullptr)) {
            m_path = name;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary folder");
    }
}

TempDir::~TempDir() { RemoveTree(m_path); }

std::wstring CardRoot() { return L"R:\\"; }

void RemoveTree(const std::wstring& folder)
{
    std::wstring dir = folder;
    while (!dir.empty() && dir.back() == L'\\')
        dir.pop_back();
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring full = dir + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

void ClearCard()
{
    std::wstring root = CardRoot();
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((root + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring full = root + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(full);
        else
            DeleteFileW(full.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}

Bytes ReadBytes(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + Utf8(path));
    Bytes data(GetFileSize(h, nullptr));
    DWORD got = 0;
    if (!data.empty())
        ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    CloseHandle(h);
    data.resize(got);
    return data;
}

void WriteBytes(const std::wstring& path, const Bytes& data)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + Utf8(path));
    DWORD put = 0;
    if (!data.empty())
        WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &put, nullptr);
    CloseHandle(h);
    if (put != data.size())
        throw std::runtime_error("short write to " + Utf8(path));
}

void WriteBytes(const std::wstring& path, const std::string& data)
{
    WriteBytes(path, Bytes(data.begin(), data.end()));
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> ListFolder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..")
            names.push_back(n);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

Bytes Utf16Bytes(const std::wstring& text, bool bom)
{
    Bytes out;
    if (bom) {
        out.push_back(0xFF);
        out.push_back(0xFE);
    }
    for (wchar_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
    return out;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

Bytes Scramble(Bytes data)
{
    for (auto& b : data)
        b = static_cast<std::uint8_t>(~b);
    return data;
}

void WriteScrambledText(const std::wstring& path, const std::wstring& text)
{
    WriteBytes(path, Scramble(Utf16Bytes(text)));
}

std::wstring ReadScrambledText(const std::wstring& path)
{
    Bytes plain = Scramble(ReadBytes(path));
    std::wstring text;
    for (size_t i = 0; i + 1 < plain.size(); i += 2)
        text += static_cast<wchar_t>(plain[i] | (plain[i + 1] << 8));
    if (!text.empty() && text[0] == 0xFEFF)
        text.erase(0, 1);
    return text;
}

}  // namespace testsupport
