// Saving the list as a KML file on the PC and exporting it to the unit's card.
#include <shlwapi.h>

#include "common/AddedFiles.h"
#include "common/FileUtil.h"
#include "common/LogWriter.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "doc/DocPaths.h"
#include "frame/MessageDlg.h"
#include "views/poi/PoiCardChooser.h"
#include "views/poi/PoiSaveName.h"
#include "views/poi/PoiWnd.h"

CPoiWnd::SaveDialogFn CPoiWnd::s_saveDialog = AskKmlSavePath;
CPoiWnd::CardChooserFn CPoiWnd::s_chooseCard = ChoosePoiCard;

BOOL CPoiWnd::AcceptInvalidRecords()
{
    CDocPi& doc = *GetDocument();
    if (doc.Validate())
        return TRUE;
    return ShowMessage(ErrorText(doc), 1) == IDOK;
}

void CPoiWnd::OnSave()
{
    CDocPi& doc = *GetDocument();
    if (!AcceptInvalidRecords())
        return;
    CString path = ProposedSaveName(L"POI.KML");
    CWnd* main = AfxGetMainWnd();
    if (!s_saveDialog(main ? main->GetSafeHwnd() : GetSafeHwnd(), theGlobal.m_piIniFolder, path))
        return;
    const int slash = path.ReverseFind(L'\\');
    const CString fileName = path.Mid(slash + 1);
    CString title = fileName;
    const int dot = title.ReverseFind(L'.');
    if (dot > 0)
        title = title.Left(dot);
    doc.SetFolderName(title);
    WriteLog(L"POI Save to PC Start");
    if (!doc.Save(path)) {
        ShowMessage(ErrorText(doc), 0);
        return;
    }
    WriteLog(L"POI Save to PC End");
    doc.SetModified(0);
    theGlobal.m_piFileSpec = fileName;
    theGlobal.m_piIniFolder = path.Left(slash > 0 ? slash : 0);
}

void CPoiWnd::OnExport()
{
    CDocPi& doc = *GetDocument();
    if (!AcceptInvalidRecords())
        return;
    CString root, name;
    if (!s_chooseCard(ProposedSaveName(L"POI"), root, name))
        return;
    WriteLog(L"Export POI File Start");
    if (!ExportFiles(root, name))
        return;
    WriteLog(L"Export POI File End");
    doc.SetModified(0);
    ShowMessage(theGlobal.UiString(16), 0);
}

BOOL CPoiWnd::ExportFiles(const CString& root, const CString& name)
{
    CDocPi& doc = *GetDocument();
    const int type = theGlobal.m_modelType;
    const CString folder = GetPoiCardFolder(root, type);
    if (!CDocPi::CheckCardFileCount(folder, doc.GetRecordCount(), GetMaxPoiPerFile(type))) {
        ShowMessage(theGlobal.UiString(20), 0);
        return FALSE;
    }
    doc.SetFolderName(name);
    // A failed export takes back everything it added (KML files, icons, the
    // symbol and version files), so the card never holds a part of the list.
    CAddedFiles added;
    added.Watch(folder);
    added.Watch(WithBackslash(root) + L"usericon");
    added.Watch(WithBackslash(root) + L"NDB\\CUSTOMPOI");
    added.Watch(WithBackslash(root) + L"NDB\\VersionManage");
    auto removeAdded = [&] { added.TakeBack(); };

    WriteLog(L"KML Files Save Start");
    const BOOL written = doc.ExportToCard(folder + name + L".kml");
    WriteLog(L"KML Files Save End");
    if (!written) {
        removeAdded();
        ShowMessage(ErrorText(doc), 0);
        return FALSE;
    }
    CDocIcon& icons = theGlobal.m_docIcon;
    const BOOL iconsWritten = type == 0 || type == 2 ? icons.ExportUserIconBitmaps(root)
                                                     : icons.ExportCustomPoiSymbols(root);
    if (!iconsWritten) {
        removeAdded();
        ShowMessage(ErrorText(icons), 0);
        return FALSE;
    }
    if (type != 0 && type != 2) {
        wchar_t version[MAX_PATH];
        lstrcpynW(version, root, MAX_PATH);
        if (!::PathAppendW(version, L"NDB") || !::PathAppendW(version, L"VersionManage") ||
            !::PathAppendW(version, L"Version") || !CDocPi::WriteCustomPoiVersion(version)) {
            removeAdded();
            ShowMessage(theGlobal.UiString(10), 0);
            return FALSE;
        }
    }
    return TRUE;
}

void CPoiWnd::OnUpdateSave(CCmdUI* ui)
{
    ui->Enable(IsCurrent() && GetDocument()->GetRecordCount() > 0);
}
