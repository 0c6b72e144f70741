// The map look-up of the map-search list: the dialog that waits for a place
// from the web map page, and taking the place it shows into the list.
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "views/poi/PoiSendToCarDlg.h"
#include "views/poi/PoiWnd.h"

void CPoiWnd::OnGoogle()
{
    OpenMapDialog(0);
}

void CPoiWnd::OpenMapDialog(int flag)
{
    CDocPi& received = theGlobal.m_docPiReceived;
    // One look-up at a time: a place arriving meanwhile goes to the open dialog.
    if (theGlobal.m_hMapDlg)
        return;
    if (received.GetRecordCount() == 0 && flag == 1) {
        theGlobal.m_hMapDlg = nullptr;
        return;
    }
    CPtrArray& stack = theGlobal.m_dialogStack;
    CWnd* parent = stack.GetSize() > 0 ? static_cast<CDialog*>(stack[stack.GetSize() - 1]) : nullptr;
    CPoiSendToCarDlg dlg(parent);
    dlg.m_mode = 2;
    const INT_PTR answer = dlg.DoModal();
    theGlobal.m_hMapDlg = nullptr;
    if (answer != IDOK || received.GetRecordCount() == 0)
        return;
    CDocPi& doc = *GetDocument();
    if (doc.GetRecordCount() >= POI_MAX_RECORDS) {
        ShowMessage(theGlobal.UiString(19), 0);
        return;
    }
    // The place as it is now: a link may have replaced it while the dialog closed.
    DOCPI_RECORD rec{};
    received.GetRecord(0, &rec);
    const int index = doc.GetRecordCount();
    m_history.RecordAdded(m_history.NewGroup(), index, rec, m_viewOrder);
    doc.AddRecord(rec);
    received.ResetDocument();
    doc.SetModified(1);
    // The rows go back to the document's order; the header must not show a
    // sort that no longer holds.
    HistorySetSort(kNoSort, 1);
    theGlobal.UpdateAllViews();
}
