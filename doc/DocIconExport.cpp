#include <utility>
#include <vector>

#include "common/DibImage.h"
#include "common/FileReplace.h"
#include "common/FileUtil.h"
#include "doc/DocIcon.h"
#include "doc/DocPaths.h"
#include "doc/WorkFolder.h"
#include "symbolconv/Runemark.h"

namespace {

// The display settings the unit reads for the close-up map icons.
const char kSprText[] =
    "BmpFlags = 0\r\nDefFlags = ALPHA_PIXEL | ALPHA_LAYER\r\nDefPhase = 1\r\nStripes = 32\r\nDefAlpha = 16\r\n";

// The longest work path the symbol converter takes, in ANSI bytes.
constexpr int kMaxConvertPathBytes = 149;

// The path as the converter's ANSI command-line word, when it fits whole.
bool AnsiPathFits(const wchar_t* path, char* out, int size)
{
    // No best fit: "\u0141" must not quietly become "L", a folder that does not exist.
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, out, size, nullptr, &lossy);
    return bytes > 0 && bytes - 1 <= kMaxConvertPathBytes && !lossy;
}

// A form of the work folder's path the converter can take: as it is, or its
// short (8.3) form when the long one holds letters outside the ANSI code page
// (a user folder named with them) or is too long. FALSE when neither fits.
bool ConverterPath(const CString& path, char* out, int size)
{
    if (AnsiPathFits(path, out, size))
        return true;
    wchar_t shortPath[MAX_PATH];
    const DWORD n = GetShortPathNameW(path, shortPath, MAX_PATH);
    return n > 0 && n < MAX_PATH && AnsiPathFits(shortPath, out, size);
}

}  // namespace

BOOL CDocIcon::ExportUserIconBitmaps(const CString& cardRoot)
{
    m_errorCode = DOCERR_NONE;
    CString folder = WithBackslash(cardRoot) + L"usericon\\";
    if (!CreateFolderPath(folder)) {
        m_errorCode = ICERR_CREATE_FOLDER;
        return FALSE;
    }
    int userCount = m_allIcons ? ImageList_GetImageCount(m_allIcons) - m_stockCount : 0;
    // (icon index, file name) of the user icons; never over the unit's own files.
    std::vector<std::pair<int, CString>> current;
    for (int n = 0; n < userCount && n < m_userIconNames.GetSize(); ++n)
        if (!IsUnitIconFileName(m_userIconNames[n]))
            current.emplace_back(m_stockCount + n, m_userIconNames[n]);

    // Bitmaps of the icons that are gone are removed; the current ones are
    // written over their old copies afterwards, so a failure part way leaves
    // no KML file on the card without its icons.
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(folder + L"*.bmp", &fd);
    if (h != INVALID_HANDLE_VALUE) {
        BOOL failed = FALSE;
        do {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            CString name = fd.cFileName;
            bool keep = IsUnitIconFileName(name);
            for (const auto& c : current)
                keep = keep || name.CompareNoCase(c.second) == 0;
            if (keep)
                continue;
            SetFileAttributesW(folder + name, FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileW(folder + name))
                failed = TRUE;
        } while (!failed && FindNextFileW(h, &fd));
        FindClose(h);
        if (failed) {
            m_errorCode = ICERR_DELETE;
            return FALSE;
        }
    }

    // The close-up map icon, hidden on the card.
    CString mapClose = folder + L"poi_mapclose.bmp";
    SetFileAttributesW(mapClose, FILE_ATTRIBUTE_NORMAL);
    DIB_IMAGE dib;
    InitDibImage(&dib);
    BOOL saved = LoadDibFromPack(L"poi_mapclose.bmp", &dib) && SaveDibAsBmp(mapClose, &dib);
    FreeDibImage(&dib);
    if (GetFileAttributesW(mapClose) != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(mapClose, FILE_ATTRIBUTE_HIDDEN);
    if (!saved) {
        m_errorCode = ICERR_WRITE;
        return FALSE;
    }

    if (!WriteFileReplacing(folder + L"poi_mapclose.spr", kSprText, sizeof(kSprText) - 1)) {
        m_errorCode = ICERR_WRITE;
        return FALSE;
    }

    for (const auto& [index, name] : current) {
        CString path = folder + name;
        SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
        if (!SaveIconBmp(index, path)) {
            m_errorCode = ICERR_WRITE;
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CDocIcon::ExportCustomPoiSymbols(const CString& cardRoot)
{
    m_errorCode = DOCERR_NONE;
    int userCount = m_allIcons ? ImageList_GetImageCount(m_allIcons) - m_stockCount : 0;
    if (userCount <= 0 || m_userIconNames.IsEmpty())
        return TRUE;

    CWorkFolder work;
    if (!work.Create(L"Icon")) {
        m_errorCode = ICERR_CREATE_FOLDER;
        return FALSE;
    }
    // The converter numbers the bitmaps in the order it lists them and reads
    // ANSI names only: named by their index, user icon n is symbol n whatever
    // the user's file names hold.
    for (int n = 0; n < userCount && n < m_userIconNames.GetSize(); ++n) {
        CString name;
        name.Format(L"%03d.bmp", n);
        if (!SaveIconBmp(m_stockCount + n, work.SubPath() + name)) {
            m_errorCode = ICERR_WRITE;
            return FALSE;
        }
    }

    // "/ID", the user icons' group and the folder, as ANSI command-line words.
    char id[] = "/ID";
    char group[16];
    wsprintfA(group, "%d", ICON_USER_GROUP);
    char folder[MAX_PATH * 2] = {};
    if (!ConverterPath(work.SubPath(), folder, sizeof(folder))) {
        m_errorCode = ICERR_WRITE;
        return FALSE;
    }
    char* argv[] = {id, group, folder};
    if (StartConvert(3, argv) != RUNEMARK_OK) {
        m_errorCode = ICERR_WRITE;
        return FALSE;
    }

    CString symbolFolder = WithBackslash(cardRoot) + L"NDB\\CUSTOMPOI\\";
    if (!CreateFolderPath(symbolFolder)) {
        m_errorCode = ICERR_CREATE_FOLDER;
        return FALSE;
    }
    // Copied beside the old file first, so a failed copy leaves the old one.
    CString dest = symbolFolder + L"CustomPOI.symb";
    CString temp = dest + L".$$$";
    BOOL copied = CopyFileW(work.SubPath() + L".symb", temp, FALSE) &&
                  MoveFileExW(temp, dest, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!copied) {
        DeleteFileW(temp);
        m_errorCode = ICERR_WRITE;
        return FALSE;
    }
    return TRUE;
}
