#include "app/App.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <clocale>
#include <cstdlib>

#include "common/FileArchive.h"
#include "common/FileUtil.h"
#include "common/HttpDownload.h"
#include "common/LogWriter.h"
#include "common/ShellServices.h"
#include "common/TextCheck.h"
#include "common/ThemeLibrary.h"
#include "core/CopyDataBlock.h"
#include "core/Global.h"
#include "core/TempFolder.h"
#include "core/RegisteredMessages.h"
#include "frame/MainMenuWnd.h"
#include "frame/MainWnd.h"
#include "frame/MainWndClass.h"
#include "frame/LanguageSelectDlg.h"
#include "frame/MessageDlg.h"
#include "frame/ModelSelectDlg.h"
#include "frame/ReceivedLink.h"
#include "frame/SplashWnd.h"
#include "frame/VerCheckDlg.h"
#include "frame/VersionCheck.h"
#include "res/frame_ids.h"
#include "res/resource.h"

CVelmora11App theApp;

namespace {

const wchar_t kAreaKey[] = L"SOFTWARE\\Halvern\\Mirovale";

// "<program folder>\<folder>\*.dat"
CString DataPattern(const wchar_t* folder)
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    ::PathRemoveFileSpecW(path);
    ::PathAppendW(path, folder);
    ::PathAppendW(path, L"*.dat");
    return path;
}

CString FileNameOnly(const CString& path)
{
    const int slash = path.ReverseFind(L'\\');
    return slash >= 0 ? path.Mid(slash + 1) : path;
}

void ListDataFiles(const wchar_t* folder, CStringArray& names)
{
    CStringArray files;
    ListFiles(DataPattern(folder), files);
    names.RemoveAll();
    for (INT_PTR i = 0; i < files.GetSize(); ++i)
        names.Add(FileNameOnly(files[i]));
}

// Reads AREA_CODE; FALSE when the key or a DWORD value is missing.
BOOL ReadAreaCode(int& areaCode)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAreaKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    DWORD type = 0, value = 0, size = sizeof(value);
    const LONG result = ::RegQueryValueExW(key, L"AREA_CODE", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        return FALSE;
    areaCode = value == 1 || value == 2 ? static_cast<int>(value) : 1;
    return TRUE;
}

bool FolderCreated(const CString& folder)
{
    const int result = ::SHCreateDirectoryExW(nullptr, folder, nullptr);
    return result == ERROR_SUCCESS || result == ERROR_FILE_EXISTS || result == ERROR_ALREADY_EXISTS;
}

}  // namespace

const wchar_t* BrandTitle(int areaCode)
{
    return areaCode == 1 ? L"Mirovale" : L"Seravine";
}

namespace {
// The splash of a running start-up; it stands topmost, so anything start-up
// asks or tells the user hides it first.
CSplashWnd* g_splash = nullptr;

void HideSplash()
{
    if (g_splash && g_splash->GetSafeHwnd())
        g_splash->ShowWindow(SW_HIDE);
}

}  // namespace

void StartupMessage(const wchar_t* text)
{
    HideSplash();
    wchar_t title[128] = {};
    ::LoadStringW(AfxGetResourceHandle(), IDS_APP_TITLE, title, 128);
    ::MessageBoxW(nullptr, text, title, MB_OK);
}

BEGIN_MESSAGE_MAP(CVelmora11App, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_HOMEPAGE, OnWebPage)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND(ID_OPTION, OnOptions)
    ON_COMMAND(ID_LANGUAGE_SELECT, OnLanguageSelect)
    ON_COMMAND(ID_MODEL_SELECT, OnModelSelect)
    ON_COMMAND(ID_VERSION_CHECK, OnVersionCheck)
    ON_UPDATE_COMMAND_UI(ID_APP_ABOUT, OnUpdateAppAbout)
    ON_UPDATE_COMMAND_UI(ID_HOMEPAGE, OnUpdateWebPage)
    ON_UPDATE_COMMAND_UI(ID_HELP, OnUpdateHelp)
    ON_UPDATE_COMMAND_UI(ID_OPTION, OnUpdateOptions)
    ON_UPDATE_COMMAND_UI(ID_LANGUAGE_SELECT, OnUpdateLanguageSelect)
    ON_UPDATE_COMMAND_UI(ID_MODEL_SELECT, OnUpdateModelSelect)
    ON_UPDATE_COMMAND_UI(ID_VERSION_CHECK, OnUpdateVersionCheck)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CVelmora11App::CVelmora11App() : CWinApp(L"Mirovale") {}

BOOL CVelmora11App::InitInstance()
{
    setlocale(LC_ALL, "");
    INITCOMMONCONTROLSEX controls{8, 0x1FF};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();

    if (!ReadAreaCode(theGlobal.m_areaCode)) {
        ::MessageBoxW(nullptr, L"Registry can not be read. Please reinstall the application.", L"error", MB_OK);
        return FALSE;
    }
    const wchar_t* commandLine = ::GetCommandLineW();
    const wchar_t* link = FindLinkScheme(commandLine);
    const int linkIndex = link ? static_cast<int>(link - commandLine) : -1;

    wchar_t semaphoreName[128] = {};
    ::LoadStringW(AfxGetResourceHandle(), IDS_APP_NAME, semaphoreName, 128);
    m_semaphore = ::CreateSemaphoreW(nullptr, 0, 1, semaphoreName);
    if (!m_semaphore || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another instance runs: hand it the link, if any, and end.
        if (linkIndex > 0)
            if (HWND first = FindRunningMainWindow(BrandTitle(theGlobal.m_areaCode))) {
                CMDLINE_COPYDATA block;
                FillCommandLineBlock(block, commandLine);
                SendCommandLineBlock(first, block);
            }
        if (m_semaphore)
            ::CloseHandle(m_semaphore);
        m_semaphore = nullptr;
        return FALSE;
    }
    return StartUp(linkIndex);
}

BOOL CVelmora11App::StartUp(int linkIndex)
{
    LoadThemeLibraries();
    ::LoadLibraryW(L"riched32.dll");
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    ::PathRenameExtensionW(path, L".qpk");
    theFileArchive.Open(path);

    // Without the picture in the pack start-up goes on without a splash.
    CSplashWnd splash;
    splash.Create();
    g_splash = &splash;
    struct SplashScope {
        ~SplashScope() { g_splash = nullptr; }
    } splashScope;

    ::CoInitialize(nullptr);
    InitShell();
    srand(timeGetTime());
    InitCharClassTable();

    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    ::PathRemoveExtensionW(path);
    lstrcatW(path, L".ini");
    SetProfileName(path);
    theGlobal.LoadSettings();
    WriteLog(L"INI File Load");

    // Leftovers of an apps transfer, only inside the temporary folder.
    if (!theGlobal.m_appTempFolder.IsEmpty()) {
        CString leftover;
        if (TempSubfolder(theGlobal.m_appTempFolder, leftover))
            DeleteFolderTree(leftover);
        theGlobal.m_appTempFolder.Empty();
    }

    if (!LoadLanguage())
        return FALSE;
    WriteLog(L"Language File Load");
    if (!LoadNaviModel())
        return FALSE;
    WriteLog(L"Navi File Load");
    theGlobal.m_modelType = theGlobal.m_naviModel.m_naviModelType;
    if (theGlobal.m_modelType < 0 || theGlobal.m_modelType > 12) {
        StartupMessage(L"navi model error");
        return FALSE;
    }
    WriteLog(L"Setting Navi Model");

    theGlobal.InitDocumentErrorTexts();
    WriteLog(L"Init Error String");
    theGlobal.m_docPiCsv.ResetDefaultIcon();
    theGlobal.m_docPiKml.ResetDefaultIcon();
    theGlobal.m_docPiMap.ResetDefaultIcon();
    theGlobal.m_docRssPoi.InitializeFeeds();
    theGlobal.m_docCl.InitDefaults();
    theGlobal.m_docAb.InitHome();
    WriteLog(L"Init doc data");
    theGlobal.m_docIcon.LoadIcons();
    WriteLog(L"Init Icon data");

    WriteLog(L"new Main window");
    auto* main = new CMainWnd;
    m_pMainWnd = main;
    if (!main->Create()) {
        // A window that existed deleted its object on the way out.
        if (!::IsWindow(main->GetSafeHwnd()))
            m_pMainWnd = nullptr;
        StartupMessage(MainWindowFailureText());
        return FALSE;
    }
    main->SetWindowText(BrandTitle(theGlobal.m_areaCode));
    WriteLog(L"create Main window");

    if (!CreateDataFolders())
        return FALSE;
    WriteLog(L"create Folder");
    main->SendMessage(WM_COMMAND, ID_INIT_IG, 0);
    WriteLog(L"Init Image Shell");
    theGlobal.UpdateAllViews();
    WriteLog(L"Update all views");
    main->SendMessage(WM_USER_IDLE, 0, 0);
    WriteLog(L"Init Menu");

    main->ShowWindow(theGlobal.m_maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    main->UpdateWindow();
    main->EnableWindow(TRUE);
    if (splash.GetSafeHwnd())
        splash.DestroyWindow();
    WriteLog(L"Show window");

    if (theGlobal.m_verCheck) {
        if (!RunStartupVersionCheck())
            return FALSE;
        WriteLog(L"App Version check");
    }
    if (linkIndex > 0) {
        CMDLINE_COPYDATA block;
        FillCommandLineBlock(block, ::GetCommandLineW());
        SendCommandLineBlock(main->GetSafeHwnd(), block);
        WriteLog(L"copy data");
    }
    MakeFuelMasterFolder();
    WriteLog(L"create Master File Folder");
    return TRUE;
}

BOOL CVelmora11App::LoadLanguage()
{
    if (theGlobal.LoadLanguageFile(theGlobal.m_languageFile))
        return TRUE;
    CStringArray names;
    ListDataFiles(L"language", names);
    if (names.GetSize() == 0) {
        StartupMessage(L"An error has occurred (language file)");
        return FALSE;
    }
    HideSplash();
    CLanguageSelectDlg dlg;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        dlg.m_files.Add(names[i]);
    if (dlg.DoModal() != IDOK || dlg.m_selected < 0 || dlg.m_selected >= dlg.m_files.GetSize()) {
        StartupMessage(L"No language was chosen, so the program ends. Start it again to choose one.");
        return FALSE;
    }
    theGlobal.m_languageFile = dlg.GetSelectedFile();
    if (!theGlobal.LoadLanguageFile(theGlobal.m_languageFile)) {
        StartupMessage(L"An error has occurred (language file)");
        return FALSE;
    }
    return TRUE;
}

BOOL CVelmora11App::LoadNaviModel()
{
    if (theGlobal.m_naviModel.LoadNaviFile(theGlobal.m_naviFile, theGlobal.m_areaCode))
        return TRUE;
    CStringArray names;
    ListDataFiles(L"navi", names);
    if (names.GetSize() == 0) {
        StartupMessage(L"An error has occurred (navi file)");
        return FALSE;
    }
    HideSplash();
    CModelSelectDlg dlg;
    dlg.m_region = 0;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        dlg.AddModelFile(names[i]);
    if (dlg.DoModal() != IDOK) {
        StartupMessage(L"No navigation unit model was chosen, so the program ends. Start it again to choose one.");
        return FALSE;
    }
    if (!theGlobal.m_naviModel.LoadNaviFile(theGlobal.m_naviFile, theGlobal.m_areaCode)) {
        StartupMessage(L"An error has occurred (navi file)");
        return FALSE;
    }
    return TRUE;
}

BOOL CVelmora11App::CreateDataFolders()
{
    if (!FolderCreated(theGlobal.m_iconFolder) || !FolderCreated(theGlobal.m_splashFolder)) {
        StartupMessage(L"_MSG_ERR_CW");
        return FALSE;
    }
    if (!FolderCreated(theGlobal.m_rssFolder))
        StartupMessage(L"_MSG_ERR_CW");
    return TRUE;
}

BOOL CVelmora11App::RunStartupVersionCheck()
{
    if (!DownloadVersionFile()) {
        StartupMessage(L"_MSG_ERR_CD");
        return FALSE;
    }
    // The check removes the download folder in every case.
    if (CheckVersionFile() == 2) {
        CVerCheckDlg dlg;
        dlg.m_result = 2;
        dlg.DoModal();
    }
    return TRUE;
}

void CVelmora11App::MakeFuelMasterFolder()
{
    if (::PathIsDirectoryW(theGlobal.m_drFuelMasterFolder))
        return;
    LPITEMIDLIST pidl = nullptr;
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &pidl)) || !pidl)
        return;
    const BOOL ok = ::SHGetPathFromIDListW(pidl, folder);
    ::CoTaskMemFree(pidl);
    if (!ok)
        return;
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    ::PathStripPathW(program);
    ::PathRemoveExtensionW(program);
    ::PathAppendW(folder, program);
    ::CreateDirectoryW(folder, nullptr);
    theGlobal.m_drFuelMasterFolder = folder;
}

BOOL CVelmora11App::OnIdle(LONG count)
{
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd())
        m_pMainWnd->SendMessage(WM_USER_IDLE, 0, 0);
    return CWinApp::OnIdle(count);
}

int CVelmora11App::ExitInstance()
{
    if (m_semaphore) {
        TermShell();
        theGlobal.SaveSettings();
        ::CoUninitialize();
        ::CloseHandle(m_semaphore);
        m_semaphore = nullptr;
        FreeThemeLibraries();
    }
    return CWinApp::ExitInstance();
}

void CVelmora11App::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd())
        m_pMainWnd->SendMessage(WM_CLOSE, 0, 0);
}
