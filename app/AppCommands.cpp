// The application commands of the caption menu: about, product page, help,
// options, language and model selection, version check.
#include "app/App.h"

#include <shlwapi.h>

#include "common/FileUtil.h"
#include "common/HttpDownload.h"
#include "core/Global.h"
#include "core/TempFolder.h"
#include "frame/CmdUIText.h"
#include "frame/AboutDlg.h"
#include "frame/LanguageSelectDlg.h"
#include "frame/MessageDlg.h"
#include "frame/ModelSelectDlg.h"
#include "frame/OptionDlg.h"
#include "frame/VerCheckDlg.h"
#include "frame/UrlOpener.h"

namespace {

// The maker's product pages, by brand and language.
const wchar_t kPageNorthAmerica[] = L"https://www.halvern.com/us/mirovale/";
const wchar_t kPageAustralia[] = L"https://www.halvern.com/au/mirovale/";
const wchar_t kPageEurope[] = L"https://www.halvern.eu/seravine/";

HWND MainHandle()
{
    CWnd* main = AfxGetMainWnd();
    return main ? main->GetSafeHwnd() : nullptr;
}

void ListNames(const wchar_t* folder, CStringArray& names)
{
    wchar_t pattern[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, pattern, MAX_PATH);
    ::PathRemoveFileSpecW(pattern);
    ::PathAppendW(pattern, folder);
    ::PathAppendW(pattern, L"*.dat");
    CStringArray files;
    ListFiles(pattern, files);
    names.RemoveAll();
    for (INT_PTR i = 0; i < files.GetSize(); ++i) {
        const int slash = files[i].ReverseFind(L'\\');
        names.Add(slash >= 0 ? files[i].Mid(slash + 1) : files[i]);
    }
}

}  // namespace

BOOL DownloadVersionFile()
{
    CString folder;
    if (!MakeDownloadFolder(folder))
        return FALSE;
    theGlobal.m_tempFolderPath = folder;
    GetHttpFile(theGlobal.WebBaseUrl() + L"version/Mirovale2009.xml", nullptr, folder + L"Mirovale2009.xml", 3000, 1);
    return TRUE;
}

void CVelmora11App::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CVelmora11App::OnWebPage()
{
    const wchar_t* page = theGlobal.m_areaCode == 1
                              ? (UiText(365) == L"English_AU" ? kPageAustralia : kPageNorthAmerica)
                              : kPageEurope;
    OpenInBrowser(MainHandle(), page);
}

void CVelmora11App::OnHelp()
{
    const CString page = theGlobal.WebBaseUrl() + L"help/pcapp3/" + UiText(362) + L"/index.htm";
    OpenInBrowser(MainHandle(), page);
}

void CVelmora11App::OnOptions()
{
    COptionDlg dlg;
    if (dlg.DoModal() == IDOK && MainHandle())
        theGlobal.UpdateAllViews();
}

void CVelmora11App::OnLanguageSelect()
{
    CStringArray names;
    ListNames(L"language", names);
    if (names.GetSize() == 0) {
        ShowMessage(UiText(3), 0, FALSE);
        return;
    }
    CLanguageSelectDlg dlg;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        dlg.m_files.Add(names[i]);
    if (dlg.DoModal() != IDOK || dlg.m_selected < 0 || dlg.m_selected >= dlg.m_files.GetSize())
        return;
    const CString chosen = dlg.GetSelectedFile();
    if (chosen == theGlobal.m_languageFile)
        return;
    theGlobal.m_languageFile = chosen;
    ShowMessage(UiText(38), 0, FALSE);
}

void CVelmora11App::OnModelSelect()
{
    const CString prefix = theGlobal.m_naviFile.Left(2);
    int page;
    if (theGlobal.m_areaCode == 1)
        page = prefix == L"US" ? 0 : prefix == L"AU" ? 1 : 2;
    else
        page = prefix == L"EU" ? 0 : 1;
    CStringArray names;
    ListNames(L"navi", names);
    if (names.GetSize() == 0) {
        StartupMessage(L"An error has occurred (navi file)");
        return;
    }
    CModelSelectDlg dlg;
    dlg.m_region = page;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        dlg.AddModelFile(names[i]);
    if (dlg.DoModal() != IDOK)
        return;
    if (dlg.m_changed)
        ShowMessage(UiText(38), 0, FALSE);
    theGlobal.UpdateAllViews();
}

void CVelmora11App::OnVersionCheck()
{
    CWaitCursor wait;
    if (!DownloadVersionFile()) {
        StartupMessage(L"_MSG_ERR_CD");
        return;
    }
    // The dialog compares and removes the folder itself.
    CVerCheckDlg dlg;
    dlg.m_result = -1;
    dlg.DoModal();
}

void CVelmora11App::OnUpdateAppAbout(CCmdUI* ui)
{
    ui->Enable(TRUE);
    SetCmdUIText(ui, UiText(277));
}

void CVelmora11App::OnUpdateWebPage(CCmdUI* ui)
{
    ui->Enable(TRUE);
    SetCmdUIText(ui, UiText(276));
}

void CVelmora11App::OnUpdateHelp(CCmdUI* ui)
{
    ui->Enable(TRUE);
    SetCmdUIText(ui, UiText(275));
}

void CVelmora11App::OnUpdateOptions(CCmdUI* ui)
{
    ui->Enable(TRUE);
    SetCmdUIText(ui, UiText(278));
}

void CVelmora11App::OnUpdateLanguageSelect(CCmdUI* ui)
{
    ui->Enable(TRUE);
    SetCmdUIText(ui, L"Language Selection");
}

void CVelmora11App::OnUpdateModelSelect(CCmdUI* ui)
{
    ui->Enable(TRUE);
    SetCmdUIText(ui, UiText(282));
}

void CVelmora11App::OnUpdateVersionCheck(CCmdUI* ui)
{
    ui->Enable(TRUE);
    SetCmdUIText(ui, UiText(283));
}
