#include "doc/DocPi.h"

#include "doc/FileWrite.h"

BOOL CDocPi::CheckCardFileCount(const wchar_t* folder, int recordCount, int perFile)
{
    if (!folder || perFile <= 0)
        return FALSE;
    CString pattern = folder;
    if (!pattern.IsEmpty() && pattern[pattern.GetLength() - 1] != L'\\')
        pattern += L'\\';
    pattern += L"*.kml";
    int count = 0;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(pattern, &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ++count > 100)
                break;
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    if (count > 100)
        return FALSE;
    int needed = recordCount / perFile + (recordCount % perFile ? 1 : 0);
    return count + needed <= 100;
}

BOOL CDocPi::WriteCustomPoiVersion(const wchar_t* folder)
{
    if (!CreateFolderPath(folder))
        return FALSE;
    // Twelve zero bytes, then "1.00" in UTF-16LE without a byte-order mark.
    static const BYTE bytes[20] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, '1', 0, '.', 0, '0', 0, '0', 0};
    CString path = folder;
    if (path[path.GetLength() - 1] != L'\\')
        path += L'\\';
    path += L"Custom_POI.ver";
    return WriteFileReplacing(path, bytes, sizeof(bytes));
}

BOOL CDocPi::ExportToCard(const wchar_t*) { m_errorCode = PIERR_CREATE_FOLDER; return FALSE; }
