#include "doc/DocPaths.h"

#include <shlobj.h>

BOOL CreateFolderPath(const wchar_t* folder)
{
    if (!folder || !*folder)
        return FALSE;
    int rc = SHCreateDirectoryExW(nullptr, folder, nullptr);
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_EXISTS || rc == ERROR_ALREADY_EXISTS) {
        DWORD attr = GetFileAttributesW(folder);
        return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
    }
    return FALSE;
}

CString WithBackslash(const wchar_t* folder)
{
    CString s = folder ? folder : L"";
    if (s.IsEmpty() || s[s.GetLength() - 1] != L'\\')
        s += L'\\';
    return s;
}

BOOL IsReservedFileName(const wchar_t* name)
{
    if (!name)
        return FALSE;
    CString base = name;
    int dot = base.Find(L'.');
    if (dot >= 0)
        base.Truncate(dot);
    base.TrimRight(L" ");
    base.MakeUpper();
    static const wchar_t* const fixed[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* f : fixed)
        if (base == f)
            return TRUE;
    if (base.GetLength() == 4 && (base.Left(3) == L"COM" || base.Left(3) == L"LPT")) {
        // The superscript digits name devices as well.
        const wchar_t n = base[3];
        return (n >= L'1' && n <= L'9') || n == L'\u00B9' || n == L'\u00B2' || n == L'\u00B3';
    }
    return FALSE;
}
