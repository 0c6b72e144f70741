#include "common/FileReplace.h"

#include <iterator>
#include <string>

BOOL WriteFileReplacing(LPCWSTR path, const void* data, size_t size, DWORD* error)
{
    DWORD dummy;
    DWORD& err = error ? *error : dummy;
    err = ERROR_SUCCESS;
    if (!path || !*path || (size && !data) || size > 0xFFFFFFFFu) {
        err = ERROR_INVALID_PARAMETER;
        return FALSE;
    }
    wchar_t full[MAX_PATH * 4];
    wchar_t* name = nullptr;
    DWORD n = GetFullPathNameW(path, static_cast<DWORD>(std::size(full)), full, &name);
    if (n == 0 || n >= std::size(full) || !name) {
        err = n == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
        return FALSE;
    }
    // A read-only file is not ours to replace (Wine would let the rename through).
    DWORD attr = GetFileAttributesW(full);
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        err = ERROR_ACCESS_DENIED;
        return FALSE;
    }
    std::wstring folder(full, name - full);
    wchar_t temp[MAX_PATH * 4];
    if (!GetTempFileNameW(folder.c_str(), L"new", 0, temp)) {
        err = GetLastError();
        return FALSE;
    }
    HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        DWORD written = 0;
        if (size && !WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr)) {
            err = GetLastError();
            ok = false;
        } else if (written != size) {
            err = ERROR_DISK_FULL;
            ok = false;
        } else if (!FlushFileBuffers(file)) {
            err = GetLastError();
            ok = false;
        }
        CloseHandle(file);
    } else {
        err = GetLastError();
    }
    if (ok && !MoveFileExW(temp, full, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        err = GetLastError();
        ok = false;
    }
    if (!ok)
        DeleteFileW(temp);
    return ok ? TRUE : FALSE;
}
