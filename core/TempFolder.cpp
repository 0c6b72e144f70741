#include "core/TempFolder.h"

#include <shlobj.h>
#include <shlwapi.h>

namespace {

CString TempRoot()
{
    wchar_t temp[MAX_PATH] = {}, full[MAX_PATH] = {};
    DWORD n = ::GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH || !::GetFullPathNameW(temp, MAX_PATH, full, nullptr))
        return CString();
    ::PathAddBackslashW(full);
    return full;
}

}  // namespace

BOOL TempSubfolder(const wchar_t* name, CString& path)
{
    path.Empty();
    const CString root = TempRoot();
    if (root.IsEmpty() || !name || !*name || ::PathIsRelativeW(name) == FALSE || name[0] == L'\\' || name[0] == L'/')
        return FALSE;
    wchar_t joined[MAX_PATH * 2] = {}, full[MAX_PATH] = {};
    if (root.GetLength() + lstrlenW(name) + 2 >= MAX_PATH)
        return FALSE;
    lstrcpyW(joined, root);
    lstrcatW(joined, name);
    if (!::GetFullPathNameW(joined, MAX_PATH, full, nullptr))
        return FALSE;
    ::PathAddBackslashW(full);
    const int rootLength = root.GetLength();
    if (lstrlenW(full) <= rootLength || ::CompareStringOrdinal(full, rootLength, root, rootLength, TRUE) != CSTR_EQUAL)
        return FALSE;
    path = full;
    return TRUE;
}

BOOL MakeDownloadFolder(CString& folder)
{
    folder.Empty();
    const CString root = TempRoot();
    if (root.IsEmpty())
        return FALSE;
    // Only a folder made now is fresh: one left behind by a crashed run may
    // hold a stale version file, so an existing name is skipped, never reused.
    unsigned unique = (::GetTickCount() ^ (::GetCurrentProcessId() << 4)) & 0xFFFF;
    for (int tries = 0; tries < 0x10000; ++tries, unique = (unique + 1) & 0xFFFF) {
        if (unique == 0)
            continue;
        CString name;
        name.Format(L"%s$$$%X", root.GetString(), unique);
        if (::CreateDirectoryW(name, nullptr)) {
            folder = name + L"\\";
            return TRUE;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return FALSE;
    }
    return FALSE;
}
