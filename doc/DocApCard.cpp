#include <windows.h>
#include <shellapi.h>

#include "common/DibImage.h"
#include "common/FileReplace.h"
#include "common/FileUtil.h"
#include "common/HttpDownload.h"
#include "common/LogWriter.h"
#include "core/Global.h"
#include "doc/DocAp.h"
#include "doc/DocPaths.h"
#include "doc/WorkFolder.h"

namespace {

const wchar_t kAgent[] = L"10KRTVX/1.000000";

bool IsFile(const CString& path)
{
    DWORD attr = GetFileAttributesW(path);
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const CString& path)
{
    DWORD attr = GetFileAttributesW(path);
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The card's list: a missing file is an empty list.
bool ReadCardList(const CString& appsFolder, CAppListEntries& entries)
{
    entries.RemoveAll();
    CString path = appsFolder + L"Applist.dat";
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        return true;
    return CDocAp::ReadApplistFile(path, entries) != FALSE;
}

// The last folder name of a work folder path ending in a backslash.
CString FolderName(CString path)
{
    path.TrimRight(L"\\");
    return path.Mid(path.ReverseFind(L'\\') + 1);
}

}  // namespace

BOOL CDocAp::HasDeviceFile(const wchar_t* cardRoot)
{
    return cardRoot && IsFile(GetAppsCardFolder(cardRoot) + L"Device.dat");
}

BOOL CDocAp::ReadDeviceFile(const wchar_t* cardRoot)
{
    std::string bytes;
    if (!cardRoot || !ReadWholeFile(GetAppsCardFolder(cardRoot) + L"Device.dat", bytes) || bytes.size() < 16)
        return FALSE;
    memcpy(m_deviceNumber, bytes.data(), 16);
    return TRUE;
}

BOOL CDocAp::ReadApplistFile(const wchar_t* path, CAppListEntries& entries)
{
    std::string bytes;
    entries.RemoveAll();
    return path && ReadWholeFile(path, bytes) && ParseAppList(bytes, entries);
}

BOOL CDocAp::LoadCardApps(const wchar_t* cardRoot)
{
    if (!cardRoot)
        return FALSE;
    CString folder = GetAppsCardFolder(cardRoot);
    CAppListEntries entries;
    if (!ReadCardList(folder, entries)) {
        // A damaged list is not taken for an empty card.
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    m_cardApps.RemoveAll();
    m_cardIcons.DeleteImageList();
    if (!m_cardIcons.Create(AP_ICON_WIDTH, AP_ICON_HEIGHT, ILC_COLOR32, 0, 0))
        return FALSE;
    for (const APPLIST_ENTRY& entry : entries) {
        CString id = AppListEntryId(entry);
        const CDocApRecord* offered = nullptr;
        for (const CDocApRecord& app : m_serverApps) {
            if (app.m_id == id) {
                offered = &app;
                break;
            }
        }
        if (!offered || !IsSafeAppFileName(id))
            continue;
        CDocApRecord app = *offered;
        app.m_name = entry.name;
        app.m_flag = entry.flag ? 1 : 0;
        app.m_version = entry.version;
        app.m_checked = 0;
        CString installed = folder + id;
        CStringArray names;
        if (!IsFolder(installed) || !app.GetFileNames(names))
            continue;
        bool complete = true;
        for (const CString& name : names)
            complete = complete && IsFile(installed + L"\\" + name);
        CString icon = app.GetImageFileName(0);
        DIB_IMAGE image;
        InitDibImage(&image);
        if (!complete || icon.IsEmpty() || !LoadBmpFile(installed + L"\\" + icon, &image)) {
            FreeDibImage(&image);
            continue;
        }
        m_cardIcons.Add(image.bitmap, static_cast<HBITMAP>(nullptr));
        FreeDibImage(&image);
        app.m_iconIndex = m_cardIcons.GetImageCount() - 1;
        app.m_installedFolder = installed;
        app.m_size = app.GetInstalledSize();
        m_cardApps.Add(app);
    }
    m_cardEntries = entries;
    m_cardRoot = cardRoot;
    return TRUE;
}

BOOL CDocAp::SaveCardApplist(const wchar_t* cardRoot)
{
    if (!cardRoot) {
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    CString path = GetAppsCardFolder(cardRoot) + L"Applist.dat";
    if (m_cardEntries.IsEmpty()) {
        if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
            return TRUE;
        if (DeleteFileW(path))
            return TRUE;
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    std::string bytes = BuildAppList(m_cardEntries);
    if (!WriteFileReplacing(path, bytes.data(), bytes.size())) {
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    return TRUE;
}

BOOL CDocAp::DeleteCardApp(int index)
{
    if (index < 0 || index >= m_cardApps.GetSize() || m_cardApps[index].m_installedFolder.IsEmpty())
        return FALSE;
    if (!m_cardApps[index].DeleteFiles()) {
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    // Only this app's entry goes; the others keep their names and paths.
    int entry = FindAppListEntry(m_cardEntries, m_cardApps[index].m_id);
    if (entry >= 0)
        m_cardEntries.RemoveAt(entry);
    m_cardApps.RemoveAt(index);
    return SaveCardApplist(m_cardRoot);
}

BOOL CDocAp::DownloadAppFiles(const CDocApRecord& app, const CString& folder)
{
    struct Step {
        CString url;
        const wchar_t* failed;
        const wchar_t* done;
        bool required;
    };
    CArray<Step> steps;
    steps.Add({app.GetUrl(AP_URL_EXE), L"AP Failed Download EXE File URL:%s Path:%s", L"AP Download EXE File Path:%s", true});
    for (const CString& dll : app.m_dllUrls)
        steps.Add({dll, L"AP Failed Download DLL File URL:%s Path:%s", L"AP Download DLL File Path:%s", false});
    steps.Add({app.GetUrl(AP_URL_IMAGE_NORMAL), L"AP Failed Download Normal Image URL:%s Path:%s",
               L"AP Download Normal Image Path:%s", false});
    steps.Add({app.GetUrl(AP_URL_IMAGE_PUSH), L"AP Failed Download Push Image URL:%s Path:%s",
               L"AP Download Push Image Path:%s", false});
    steps.Add({app.GetUrl(AP_URL_IMAGE_DISABLE), L"AP Failed Download InActive URL:%s Path:%s",
               L"AP Download Disable Image Path:%s", false});
    steps.Add({app.GetUrl(AP_URL_REG), L"AP Failed Download Enc File URL:%s Path:%s", L"AP Download Enc File Path:%s", false});
    for (const Step& step : steps) {
        // Only the program file is required; an app may come without the others.
        if (step.url.IsEmpty() && !step.required)
            continue;
        CString name = AppFileNameFromUrl(step.url);
        CString path = folder + name;
        if (name.IsEmpty() ||
            !GetHttpFile(step.url, kAgent, path, m_downloadTimeout, m_downloadRetries, &m_cancel)) {
            WriteLogF(step.failed, step.url.GetString(), path.GetString());
            return FALSE;
        }
        WriteLogF(step.done, path.GetString());
    }
    return TRUE;
}

BOOL CDocAp::TransferToCard(const wchar_t* cardRoot, int /*country*/, int /*modelType*/)
{
    m_errorCode = DOCERR_NONE;
    if (!cardRoot || !*cardRoot) {
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    CString appsFolder = GetAppsCardFolder(cardRoot);
    // The card's own list is merged, so apps not offered any more stay listed;
    // a damaged one is left alone rather than overwritten.
    CAppListEntries entries;
    if (!ReadCardList(appsFolder, entries)) {
        WriteLog(L"AP Failed Check Applist Data");
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }

    CWorkFolder work;
    if (!work.Create(L"APPS")) {
        WriteLog(L"AP Failed Create Temp Folder");
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    WriteLog(L"AP Create Temp Folder");
    theGlobal.m_appTempFolder = FolderName(work.Path());
    theGlobal.SaveSettings();
    auto fail = [&]() {
        work.Remove();
        theGlobal.m_appTempFolder.Empty();
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    };

    int ticked = 0;
    for (const CDocApRecord& app : m_serverApps) {
        if (!app.m_checked)
            continue;
        ++ticked;
        CString folder = work.SubPath() + app.m_id + L"\\";
        CStringArray names;
        if (!IsSafeAppFileName(app.m_id) || !app.GetFileNames(names) ||
            (!CreateDirectoryW(folder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)) {
            WriteLogF(L"AP Failed Create APP Folder Path:%s", folder.GetString());
            return fail();
        }
        WriteLogF(L"AP Create APP Folder Path:%s", folder.GetString());
        if (!DownloadAppFiles(app, folder))
            return fail();
    }

    // Device.dat: the unit's number; whatever the unit keeps after it stays.
    std::string device(reinterpret_cast<const char*>(m_deviceNumber), 16);
    std::string oldDevice;
    if (ReadWholeFile(appsFolder + L"Device.dat", oldDevice) && oldDevice.size() > 16)
        device += oldDevice.substr(16);

    WriteLog(L"AP Check Applist Data");
    for (const CDocApRecord& app : m_serverApps) {
        if (!app.m_checked)
            continue;
        APPLIST_ENTRY e;
        e.name = app.m_name;
        e.path = CString(AP_CARD_FOLDER) + L"\\" + app.m_id + L"\\" + app.GetExeFileName();
        e.flag = app.m_flag != 0;
        e.version = app.m_version;
        int at = FindAppListEntry(entries, app.m_id);
        if (at >= 0)
            entries[at] = e;
        else
            entries.Add(e);
    }
    WriteLog(L"AP Create Applist Data");
    std::string list = BuildAppList(entries);

    if (!CreateFolderPath(appsFolder)) {
        WriteLog(L"AP Failed Create Oskra-APPS Folder");
        return fail();
    }
    WriteLog(L"AP Create Oskra-APPS Folder");

    // The app folders first; the unit's list names them only once they are there.
    CString to = appsFolder;
    to.TrimRight(L"\\");
    std::wstring from = (work.SubPath() + L"*.*").GetString();
    from.push_back(L'\0');
    std::wstring dest = to.GetString();
    dest.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = dest.c_str();
    // No error dialog: the caller reports the failure.
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    if (ticked > 0 && (SHFileOperationW(&op) != 0 || op.fAnyOperationsAborted)) {
        WriteLogF(L"AP Failed Copy to SD Card from:%s to:%s", work.SubPath().GetString(), to.GetString());
        return fail();
    }
    // The shell copy can report success for files it could not write (Wine
    // does so on a full or read-only card): the unit's list is written only
    // once every file on the card is what was downloaded.
    for (const CDocApRecord& app : m_serverApps) {
        CStringArray names;
        if (!app.m_checked || !app.GetFileNames(names))
            continue;
        for (const CString& name : names) {
            std::string downloaded, copied;
            CString relative = app.m_id + L"\\" + name;
            if (!ReadWholeFile(work.SubPath() + relative, downloaded) ||
                !ReadWholeFile(appsFolder + relative, copied) || downloaded != copied) {
                WriteLogF(L"AP Failed Copy to SD Card from:%s to:%s", work.SubPath().GetString(), to.GetString());
                return fail();
            }
        }
    }
    WriteLogF(L"AP Copy to SD Card from:%s to:%s", work.SubPath().GetString(), to.GetString());
    if (!WriteFileReplacing(appsFolder + L"Device.dat", device.data(), device.size())) {
        WriteLog(L"AP Failed Save Device File");
        return fail();
    }
    WriteLog(L"AP Save Device File");
    if (!WriteFileReplacing(appsFolder + L"Applist.dat", list.data(), list.size())) {
        WriteLog(L"AP Failed Save Applist File");
        return fail();
    }
    WriteLog(L"AP Save Applist File");

    work.Remove();
    theGlobal.m_appTempFolder.Empty();
    WriteLog(L"AP Delete Temp Folder");
    return TRUE;
}
