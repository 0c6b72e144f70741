#include "core/TempFolder.h"

#include <shlobj.h>
#include <shlwapi.h>

namespace {

// The full form of path ending in a backslash; empty when it cannot be made.
CString FullFolderPath(const wchar_t* path)
{
    wchar_t full[MAX_PATH] = {};
    if (!path || !*path)
        return CString();
    const DWORD n = ::GetFullPathNameW(path, MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH - 1)
        return CString();
    ::PathAddBackslashW(full);
    return full;
}

CString TempRoot()
{
    wchar_t temp[MAX_PATH] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH, temp);
    return n == 0 || n >= MAX_PATH ? CString() : FullFolderPath(temp);
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
    if (!PathInsideFolder(full, root))
        return FALSE;
    path = full;
    return TRUE;
}

BOOL PathInsideFolder(const wchar_t* path, const wchar_t* folder)
{
    const CString full = FullFolderPath(path), root = FullFolderPath(folder);
    const int rootLength = root.GetLength();
    // Both end in a backslash, so a matching start ends on a whole name.
    return !root.IsEmpty() && full.GetLength() > rootLength &&
           ::CompareStringOrdinal(full, rootLength, root, rootLength, TRUE) == CSTR_EQUAL;
}

BOOL PathInsideTempFolder(const wchar_t* path)
{
    const CString root = TempRoot();
    return !root.IsEmpty() && PathInsideFolder(path, root);
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
