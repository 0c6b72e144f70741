#include "doc/WorkFolder.h"

#include "common/FileUtil.h"

BOOL CWorkFolder::Create(const wchar_t* subFolder)
{
    Remove();
    wchar_t temp[MAX_PATH] = {};
    wchar_t name[MAX_PATH] = {};
    DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH || !GetTempFileNameW(temp, L"$$$", 0, name))
        return FALSE;
    m_placeholder = name;
    CString folder = name;
    int dot = folder.ReverseFind(L'.');
    if (dot > folder.ReverseFind(L'\\'))
        folder.Truncate(dot);
    folder += L'\\';
    if (!CreateDirectoryW(folder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return FALSE;
    m_path = folder;
    m_subPath = folder + subFolder + L"\\";
    if (!CreateDirectoryW(m_subPath, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return FALSE;
    return TRUE;
}

void CWorkFolder::Remove()
{
    if (!m_path.IsEmpty() && GetFileAttributesW(m_path) != INVALID_FILE_ATTRIBUTES)
        DeleteFolderTree(m_path);
    if (!m_placeholder.IsEmpty())
        DeleteFileW(m_placeholder);
    m_path.Empty();
    m_subPath.Empty();
    m_placeholder.Empty();
}
