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
    wchar_t name[MAX_PATH] = {};
    if (root.IsEmpty() || !::GetTempFileNameW(root, L"$$$", 0, name))
        return FALSE;
    ::DeleteFileW(name);  // only the name was wanted
    ::PathRemoveExtensionW(name);
    ::PathAddBackslashW(name);
    const int result = ::SHCreateDirectoryExW(nullptr, name, nullptr);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_EXISTS && result != ERROR_ALREADY_EXISTS)
        return FALSE;
    folder = name;
    return TRUE;
}
