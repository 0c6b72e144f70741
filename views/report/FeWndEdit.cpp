// Cell edits, clipboard, deletion, history, merge, graph, map, tips and the
// context menu of the fuel list.
#include "classlib/CWaitCursor.h"
#include "common/WebUtil.h"
#include "core/Global.h"
#include "frame/CmdUIText.h"
#include "frame/MessageDlg.h"
#include "res/frame_ids.h"
#include "res/fuel_ids.h"
#include "views/report/FeUnityDlg.h"
#include "views/report/FeWnd.h"
#include "views/report/InfoDlg.h"
#include "views/report/MileageGraphDlg.h"
#include "views/report/ReportTexts.h"

namespace {

// A menu item's text; buttons keep their pictures.
void SetItemText(CCmdUI* ui, int uiString, const wchar_t* keys)
{
    if (ui->m_pMenu)
        SetCmdUIText(ui, theGlobal.UiString(uiString) + keys);
}

}  // namespace

int CFeWnd::AskOverList(const wchar_t* text, int style)
{
    // Off and on again: the editor and a pending click of the list end here.
    m_list.EnableWindow(FALSE);
    m_list.EnableWindow(TRUE);
    const int answer = ShowMessage(text, style);
    m_list.SetFocus();
    return answer;
}

void CFeWnd::SelectOnly(int row)
{
    m_list.SetCurSel(-1);
    if (row < 0 || row >= RowCount())
        return;
    m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.m_focusItem = row;
    m_list.m_anchorItem = row;
}

void CFeWnd::OnBeginLabelEdit(NMHDR*, LRESULT* result)
{
    m_editing = 1;
    if (m_list.GetSelectedCount() > 1 || m_list.m_curRow < 0 || m_list.m_curCol < 0) {
        m_editing = 0;
        *result = 1;
        return;
    }
    *result = 0;
}

void CFeWnd::OnEndLabelEdit(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    if (!m_editing)
        return;
    const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    const int column = item.iSubItem;
    if (column == 6 || column == 10 || column < 0 || column >= kFuelColumnCount)
        return;
    const wchar_t* text = item.pszText ? item.pszText : L"";
    int number = 0, check = FuelInputOk;
    CString memo;
    if (column == 2 || column == 4 || column == 8 || column == 11 || column == 12)
        check = ParseFuelNumber(column, text, number);
    else if (column == 13)
        check = CheckFuelMemo(text, memo);
    if (check == FuelInputRefused || check == FuelInputOutOfRange) {
        AskOverList(theGlobal.UiString(check == FuelInputOutOfRange ? kUiValueOutOfRange : 4), 0);
        return;
    }
    const int choice = static_cast<int>(item.lParam);
    const CString value = column == 13 ? memo : CString(text);
    EditCell(item.iItem, column, [&](DOCFUEL_VIEW_DATA& r) { ApplyFuelEdit(r, column, value, choice, number); });
    if (check == FuelInputCut)
        ShowMessage(theGlobal.UiString(5), 0);
    m_list.SetFocus();
    RefreshList();
}

void CFeWnd::OnEditCell()
{
    if (!IsCurrent())
        return;
    m_list.EditSubItem(m_list.m_curRow, m_list.m_curCol);
}

void CFeWnd::OnDelete()
{
    if (!IsCurrent())
        return;
    const int current = m_list.GetCurSel();
    DeleteRows(SelectedRows());
    RefreshList();
    SelectOnly(current);
    m_list.Invalidate(FALSE);
}

void CFeWnd::OnCopy()
{
    if (!IsCurrent())
        return;
    CopyRows(SelectedRows());
}

void CFeWnd::OnCut()
{
    if (!IsCurrent())
        return;
    OnCopy();
    OnDelete();
}

void CFeWnd::OnPaste()
{
    if (!IsCurrent())
        return;
    bool limit = false;
    Paste(m_list.GetCurSel(), limit);
    if (limit)
        ShowDocumentError();
    RefreshList();
}

void CFeWnd::OnSelectAll()
{
    if (!IsCurrent())
        return;
    for (int row = 0; row < RecordRowCount() && row < m_list.GetItemCount(); ++row)
        m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    m_list.NotifySelChange();
    RefreshList();
}

void CFeWnd::OnUndo()
{
    if (!IsCurrent())
        return;
    CWaitCursor wait;
    Undo();
    RefreshList();
}

void CFeWnd::OnRedo()
{
    if (!IsCurrent())
        return;
    CWaitCursor wait;
    Redo();
    RefreshList();
}

void CFeWnd::OnMerge()
{
    if (!IsCurrent())
        return;
    const std::vector<int> rows = SelectedRows();
    if (const int refused = CheckMerge(rows)) {
        AskOverList(theGlobal.UiString(refused), 0);
        return;
    }
    for (INT_PTR i = 0; i < m_doc->m_records.GetSize(); ++i)
        m_doc->m_records[i].mark = 0;
    CFeUnityDlg dlg;
    for (int row : rows)
        if (RecordOfRow(row) >= 0)
            dlg.m_indices.push_back(RecordOfRow(row));
    if (dlg.DoModal() == CFeUnityDlg::ResultMerged) {
        const int first = ApplyMerge(dlg.m_merge.keptIndex, dlg.m_merge.before, dlg.m_removed, dlg.m_removedBefore);
        RefreshList();
        SelectOnly(first);
    } else {
        for (INT_PTR i = 0; i < m_doc->m_records.GetSize(); ++i)
            m_doc->m_records[i].mark = 0;
    }
    RefreshList();
    m_list.SetFocus();
}

void CFeWnd::OnGraph()
{
    if (!IsCurrent())
        return;
    CMileageGraphDlg dlg;
    const int main = m_doc->GetMainCurrency();
    for (int row = 0; row < RecordRowCount(); ++row) {
        const int index = RecordOfRow(row);
        DOCFUEL_VIEW_DATA r{};
        // A record without a date has no place on the time axis.
        if (index < 0 || !m_doc->GetRecordText(index, r) || r.priceUnit != main || m_doc->m_records[index].year == 0)
            continue;
        dlg.AddSample(r.date, r.time, m_doc->GetRecordMileage(index, theGlobal.m_mileageUnit) / 100.0);
    }
    if (dlg.m_values.GetSize() > 0) {
        DOCFUEL_VIEW_DATA average{};
        m_doc->GetAverageStatistics(average);
        dlg.m_frame.m_graph.m_average = average.mileage / 100.0;
        dlg.DoModal();
    } else {
        ShowMessage(theGlobal.UiString(kUiGraphNothingToDraw), 0);
    }
    m_list.SetFocus();
}

CString CFeWnd::BuildMapSearchUrl(const wchar_t* encodedQuery)
{
    return CString(L"http://maps.google.com/maps?f=q&hl=en&geocode=&q=") + encodedQuery;
}

void CFeWnd::OnShowOnMap()
{
    if (!IsCurrent())
        return;
    DOCFUEL_VIEW_DATA r{};
    const int index = RecordOfRow(m_list.GetCurSel());
    if (index < 0 || !m_doc->GetRecordText(index, r))
        return;
    const double longitude = r.longitude / 1000000.0, latitude = r.latitude / 1000000.0;
    if (longitude < -180 || longitude > 180 || latitude < -90 || latitude > 90) {
        AskOverList(theGlobal.UiString(24), 0);
        return;
    }
    CString lat, lon;
    lat.Format(L"%f", latitude);
    lon.Format(L"%f", longitude);
    LocaleDecimalToDot(lat);
    LocaleDecimalToDot(lon);
    const CString url = BuildMapSearchUrl(UrlEncodeUtf8(lat + L" " + lon));
    CWnd* main = AfxGetMainWnd();
    s_openUrl(main ? main->GetSafeHwnd() : nullptr, url);
}

void CFeWnd::OnTips()
{
    if (!IsCurrent())
        return;
    CInfoDlg tips;
    if (m_statistics.m_btnTips.GetSafeHwnd())
        m_statistics.m_btnTips.GetWindowRect(&tips.m_anchor);
    tips.SetTitle(theGlobal.UiString(250));
    tips.SetMessage(theGlobal.UiString(73));
    tips.DoModal();
}

void CFeWnd::OnContextMenu(CWnd*, CPoint pt)
{
    ShowContextMenu(IDR_FUEL_MENU, pt);
}

// Update handlers: a hidden view takes none of the shown view's commands
// (the body offers every command to every view).

BOOL CFeWnd::CanCopy() const
{
    if (!IsCurrent() || m_list.GetCurSel() == -1)
        return FALSE;
    const int newRow = RecordRowCount();
    return !(IsNewRow(newRow) && (m_list.GetItemState(newRow, LVIS_SELECTED) & LVIS_SELECTED));
}

void CFeWnd::OnUpdateCopy(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    ui->Enable(CanCopy());
    SetItemText(ui, 268, L"\tCtrl+C");
}

void CFeWnd::OnUpdateCut(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    ui->Enable(CanCopy());
    SetItemText(ui, 267, L"\tCtrl+X");
}

void CFeWnd::OnUpdateDelete(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    ui->Enable(CanCopy());
    SetItemText(ui, 270, L"\tDel");
}

void CFeWnd::OnUpdatePaste(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    ui->Enable(!m_clipboard.empty() && ListHasFocus());
    SetItemText(ui, 269, L"\tCtrl+V");
}

void CFeWnd::OnUpdateSelectAll(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    ui->Enable(m_list.GetItemCount() > 1);
    SetItemText(ui, 271, L"\tCtrl+A");
}

void CFeWnd::OnUpdateMerge(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    int records = 0;
    for (int row : SelectedRows())
        if (RecordOfRow(row) >= 0)
            ++records;
    ui->Enable(records > 1);
    SetItemText(ui, 159, L"");
}

void CFeWnd::OnUpdateMap(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    const int newRow = RecordRowCount();
    ui->Enable(m_list.GetCurSel() != -1 && m_list.GetSelectedCount() <= 1 &&
               !(IsNewRow(newRow) && (m_list.GetItemState(newRow, LVIS_SELECTED) & LVIS_SELECTED)));
    SetItemText(ui, 148, L"");
}

void CFeWnd::OnUpdateGraph(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    ui->Enable(m_list.GetItemCount() > 1);
}

void CFeWnd::OnUpdateUndo(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    ui->Enable(!m_undo.empty());
}

void CFeWnd::OnUpdateRedo(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    ui->Enable(!m_redo.empty());
}

void CFeWnd::OnUpdateEditCell(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    const int column = m_list.m_curCol;
    ui->Enable(m_list.GetSelectedCount() <= 1 && IsNewRow(m_list.m_curRow) &&
               (column == 0 || column == 1 || column == 2 || column == 4 || column == 8 || column == 13));
}
