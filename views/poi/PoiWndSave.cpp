// Saving the list as a KML file on the PC and exporting it to the unit's card.
#include "views/poi/PoiCardChooser.h"
#include "views/poi/PoiKmlOutput.h"
#include "views/poi/PoiSaveName.h"
#include "views/poi/PoiWnd.h"

CPoiWnd::SaveDialogFn CPoiWnd::s_saveDialog = AskKmlSavePath;
CPoiWnd::CardChooserFn CPoiWnd::s_chooseCard = ChoosePoiCard;

PoiKmlOutput CPoiWnd::KmlOutput()
{
    CDocPi& doc = *GetDocument();
    return {doc,
            [&doc] { return doc.Validate(); },
            [&doc](const CString& name) { doc.SetFolderName(name); },
            [&doc](const CString& path) { return doc.Save(path); },
            [&doc](const CString& path) { return doc.ExportToCard(path); },
            doc.GetRecordCount(),
            [&doc] { doc.SetModified(0); }};
}

void CPoiWnd::OnSave()
{
    CWnd* main = AfxGetMainWnd();
    SavePoiKmlToPc(main ? main->GetSafeHwnd() : GetSafeHwnd(), s_saveDialog, KmlOutput());
}

void CPoiWnd::OnExport()
{
    ExportPoiToCard(s_chooseCard, KmlOutput());
}

void CPoiWnd::OnUpdateSave(CCmdUI* ui)
{
    ui->Enable(IsCurrent() && GetDocument()->GetRecordCount() > 0);
}
