#include "common/FileReplace.h"
#include "common/FileUtil.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "doc/DocPi.h"
#include "doc/DocPaths.h"
#include "doc/WorkFolder.h"

namespace {

// Total size of the card folder's KML files that model type 0 accepts (1.4 MiB).
constexpr double kMaxCardKmlBytes = 1.4 * 1048576;

}  // namespace

CString GetPoiCardFolder(const wchar_t* root, int modelType)
{
    CString folder = WithBackslash(root);
    folder += (modelType == 0 || modelType == 2) ? L"POI\\" : L"NDB\\CUSTOMPOI\\";
    return folder;
}

BOOL CDocPi::CheckCardFileCount(const wchar_t* folder, int recordCount, int perFile)
{
    if (!folder || perFile <= 0)
        return FALSE;
    int count = 0;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(WithBackslash(folder) + L"*.kml", &fd);
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
    return WriteFileReplacing(WithBackslash(folder) + L"Custom_POI.ver", bytes, sizeof(bytes));
}

BOOL CDocPi::ExportToCard(const wchar_t* targetPath)
{
    m_errorCode = DOCERR_NONE;
    CString target = targetPath ? targetPath : L"";
    int slash = target.ReverseFind(L'\\');
    CString cardFolder = slash > 0 ? target.Left(slash) : CString();
    CString fileName = target.Mid(slash + 1);
    CString title = fileName;
    int dot = title.ReverseFind(L'.');
    if (dot >= 0)
        title.Truncate(dot);
    // A name Windows keeps or cannot store is never written to the card.
    if (title.IsEmpty() || HasInvalidFileNameChar(fileName) || IsReservedFileName(fileName)) {
        m_errorCode = PIERR_WRITE_KML;
        return FALSE;
    }

    CWorkFolder work;
    if (!work.Create(L"POI") || cardFolder.IsEmpty() || !CreateFolderPath(cardFolder)) {
        m_errorCode = PIERR_CREATE_FOLDER;
        return FALSE;
    }

    // Split into files of the unit's size, written first on the PC.
    int perFile = GetMaxPoiPerFile();
    if (perFile <= 0) {
        m_errorCode = PIERR_WRITE_KML;
        return FALSE;
    }
    int count = GetRecordCount();
    int files = count / perFile + (count % perFile ? 1 : 0);
    CStringArray workFiles;
    for (int k = 0; k < files; ++k) {
        CString path = MakeUniqueFileName(work.SubPath() + fileName);
        if (path.IsEmpty() || !WriteKml(path, k * perFile, (k + 1) * perFile)) {
            m_errorCode = PIERR_WRITE_KML;
            return FALSE;
        }
        workFiles.Add(path);
    }

    // Copy in record order under names that overwrite nothing on the card.
    for (const CString& source : workFiles) {
        CString dest = MakeUniqueFileName(target);
        if (dest.IsEmpty()) {
            m_errorCode = DOCERR_WRITE;
            return FALSE;
        }
        if (!CopyFileW(source, dest, TRUE)) {
            // The name was free before: whatever is there now is our partial copy.
            if (GetLastError() != ERROR_FILE_EXISTS)
                DeleteFileW(dest);
            m_errorCode = DOCERR_WRITE;
            return FALSE;
        }
        if (theGlobal.m_modelType == 0 && static_cast<double>(SumKmlFileSizes(cardFolder)) > kMaxCardKmlBytes) {
            DeleteFileW(dest);
            m_errorCode = PIERR_CARD_SIZE;
            return FALSE;
        }
    }
    return TRUE;
}
