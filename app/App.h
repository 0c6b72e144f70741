#pragma once
// The application object: start-up in a fixed order (brand, single instance,
// settings, language and navi files, documents, main window, data folders,
// version check), the idle pass, the application commands, and the settings
// saved at exit.
#include "classlib/Afx.h"

class CVelmora11App : public CWinApp {
public:
    CVelmora11App();
    BOOL InitInstance() override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;

protected:
    void OnAppAbout();
    void OnWebPage();
    void OnHelp();
    void OnOptions();
    void OnLanguageSelect();
    void OnModelSelect();
    void OnVersionCheck();
    void OnUpdateAppAbout(CCmdUI* ui);
    void OnUpdateWebPage(CCmdUI* ui);
    void OnUpdateHelp(CCmdUI* ui);
    void OnUpdateOptions(CCmdUI* ui);
    void OnUpdateLanguageSelect(CCmdUI* ui);
    void OnUpdateModelSelect(CCmdUI* ui);
    void OnUpdateVersionCheck(CCmdUI* ui);
    void OnAppExit();
    DECLARE_MESSAGE_MAP()

private:
    // The start-up steps after the single-instance guard; FALSE ends the program.
    BOOL StartUp(int linkIndex);
    BOOL LoadLanguage();
    BOOL LoadNaviModel();
    BOOL CreateDataFolders();
    BOOL RunStartupVersionCheck();
    void MakeFuelMasterFolder();
    HANDLE m_semaphore = nullptr;
};

extern CVelmora11App theApp;

// Downloads the published version file into a fresh temporary folder named in
// theGlobal.m_tempFolderPath. FALSE only when the folder cannot be made; a
// failed download leaves the folder without the file for the check to remove.
BOOL DownloadVersionFile();
// A start-up message: the fixed text in a plain box with the program's title.
void StartupMessage(const wchar_t* text);
// The program's main-window title for the brand: "Mirovale" (area 1) or "Seravine".
const wchar_t* BrandTitle(int areaCode);
