#include "doc/FileWrite.h"

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

BOOL WriteFileReplacing(const wchar_t* path, const void* data, DWORD size)
{
    if (!path || !*path)
        return FALSE;
    CString temp = CString(path) + L".$$$";
    HANDLE h = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD written = 0;
    BOOL ok = (size == 0 || WriteFile(h, data, size, &written, nullptr)) && written == size;
    ok = FlushFileBuffers(h) && ok;
    ok = CloseHandle(h) && ok;
    if (ok)
        ok = MoveFileExW(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileW(temp);
    return ok;
}
