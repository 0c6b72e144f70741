// Saving the list as a KML file on the PC and exporting it to the unit's card.
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "views/poi/PoiCardChooser.h"
#include "views/poi/PoiKmlOutput.h"
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

PoiKmlOutput CPoiWnd::KmlOutput()
{
    CDocPi& doc = *GetDocument();
    return {doc, [&doc](const CString& name) { doc.SetFolderName(name); },
            [&doc](const CString& path) { return doc.Save(path); }};
}

void CPoiWnd::OnSave()
{
    if (!AcceptInvalidRecords())
        return;
    CWnd* main = AfxGetMainWnd();
    if (SavePoiKmlToPc(main ? main->GetSafeHwnd() : GetSafeHwnd(), s_saveDialog, KmlOutput()))
        GetDocument()->SetModified(0);
}

void CPoiWnd::OnExport()
{
    CDocPi& doc = *GetDocument();
    if (!AcceptInvalidRecords())
        return;
    CString root, name;
    if (!s_chooseCard(ProposedSaveName(L"POI"), root, name))
        return;
    PoiKmlOutput out = KmlOutput();
    out.write = [&doc](const CString& path) { return doc.ExportToCard(path); };
    if (!ExportPoiToCard(root, name, doc.GetRecordCount(), out))
        return;
    doc.SetModified(0);
    ShowMessage(theGlobal.UiString(16), 0);
}

void CPoiWnd::OnUpdateSave(CCmdUI* ui)
{
    ui->Enable(IsCurrent() && GetDocument()->GetRecordCount() > 0);
}
