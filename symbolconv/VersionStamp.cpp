#include "symbolconv/VersionStamp.h"

#include <windows.h>

namespace runemark {

namespace {

const wchar_t kKeyPath[] = L"Software\\Runemark\\";

void SetDword(HKEY key, const wchar_t* name, DWORD value)
{
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

DWORD GetSubVersion(HKEY key)
{
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExW(key, L"SubVersion", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        size != sizeof value)
        return 0;
    return value;
}

}  // namespace

std::uint32_t ReadVersionStamp()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        key = nullptr;
        if (RegCreateKeyW(HKEY_LOCAL_MACHINE, kKeyPath, &key) == ERROR_SUCCESS) {
            SetDword(key, L"Version", kConverterVersion);
            SetDword(key, L"SubVersion", 0);
        } else {
            key = nullptr;
        }
    }
    DWORD subVersion = 0;
    if (key) {
        subVersion = GetSubVersion(key);
        RegCloseKey(key);
    }
    return kConverterVersion << 16 | (subVersion & 0xFFFF);
}

void BumpSubVersion()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    SetDword(key, L"Version", kConverterVersion);
    SetDword(key, L"SubVersion", GetSubVersion(key) + 1);
    RegCloseKey(key);
}

}  // namespace runemark
