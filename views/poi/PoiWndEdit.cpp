// Editing: the edit dialog, cells edited in place, new records, deletion,
// select all and clearing positions.
#include "core/Global.h"
#include "frame/CmdUIText.h"
#include "frame/MessageDlg.h"
#include "views/poi/PoiEditDlg.h"
#include "views/poi/PoiWnd.h"

namespace {

// A menu item's text; buttons keep their pictures.
void SetItemText(CCmdUI* ui, int uiString, const wchar_t* keys)
{
    if (ui->m_pMenu)
        SetCmdUIText(ui, theGlobal.UiString(uiString) + keys);
}

}  // namespace

int CPoiWnd::AskOverList(const wchar_t* text, int style)
{
    // Off and on again: a pending click or capture of the list ends here.
    m_list.EnableWindow(FALSE);
    m_list.EnableWindow(TRUE);
    const int answer = ShowMessage(text, style);
    m_list.SetFocus();
    return answer;
}

void CPoiWnd::OnEdit()
{
    const int row = m_list.GetCurSel();
    DOCPI_RECORD rec{};
    if (GetDocument()->GetRecordCount() == 0 || !RecordOfRow(row, rec))
        return;
    CPoiEditDlg dlg;
    dlg.m_record = &rec;
    dlg.m_mode = 0;
    if (dlg.DoModal() != IDOK)
        return;
    ChangeRow(row, rec);
    theGlobal.UpdateAllViews();
    m_list.SetFocus();
}

void CPoiWnd::OnNew()
{
    if (GetDocument()->GetRecordCount() >= POI_MAX_RECORDS) {
        ShowMessage(theGlobal.UiString(19), 0);
        return;
    }
    DOCPI_RECORD rec{};
    rec.longitude = rec.latitude = POI_NO_POSITION;
    CPoiEditDlg dlg;
    dlg.m_record = &rec;
    dlg.m_mode = 1;
    if (dlg.DoModal() != IDOK)
        return;
    AddNew(rec);
    theGlobal.UpdateAllViews();
    m_list.SetFocus();
}

void CPoiWnd::OnDelete()
{
    if (!ListHasFocus())
        return;
    DeleteSelected();
}

void CPoiWnd::DeleteSelected()
{
    const int current = m_list.GetCurSel();
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    DeleteRows(rows);
    const int count = GetDocument()->GetRecordCount();
    m_list.SetCurSel(-1);
    m_list.m_items.SetSize(count);
    m_list.UpdateScrollBars();
    if (current >= 0 && current < count) {
        m_list.SetItemState(current, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_list.m_focusItem = current;
        m_list.m_anchorItem = current;
    }
    theGlobal.UpdateAllViews();
    m_list.Invalidate(FALSE);
}

void CPoiWnd::OnSelectAll()
{
    for (INT_PTR row = 0; row < m_viewOrder.GetSize() && row < m_list.GetItemCount(); ++row)
        m_list.SetItemState(static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
    m_list.NotifySelChange();
}

void CPoiWnd::OnResetPosition()
{
    if (!ListHasFocus())
        return;
    ResetPositions(SelectedRows());
    m_list.Invalidate(FALSE);
}

void CPoiWnd::OnBeginLabelEdit(NMHDR*, LRESULT* result)
{
    *result = m_list.m_curRow >= 0 && m_list.m_curCol >= 0 && m_list.m_curCol <= kColumnCount ? 0 : 1;
}

void CPoiWnd::OnEndLabelEdit(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    const int column = item.iSubItem;
    if (column < 2 || column >= kColumnCount || !item.pszText)
        return;
    CString text(item.pszText);
    const int check = CheckFieldText(column, text);
    if (check == FieldRefused) {
        AskOverList(theGlobal.UiString(4), 0);
        return;
    }
    std::vector<int> rows = SelectedRows();
    if (rows.empty())
        rows.push_back(item.iItem);
    if (rows.size() > 1 && AskOverList(theGlobal.UiString(6), 4) != IDYES)
        return;
    SetFieldOfRows(rows, column, text);
    if (check == FieldCut)
        ShowMessage(theGlobal.UiString(5), 0);
    m_list.SetFocus();
    RefreshList();
}

// A hidden view takes no command of the shown one.
void CPoiWnd::OnUpdateEdit(CCmdUI* ui)
{
    ui->Enable(IsCurrent() && m_list.GetSelectedCount() == 1);
}

void CPoiWnd::OnUpdateNew(CCmdUI* ui)
{
    ui->Enable(IsCurrent());
}

void CPoiWnd::OnUpdateDelete(CCmdUI* ui)
{
    ui->Enable(ListHasFocus() && IsCurrent() && m_list.GetSelectedCount() > 0);
    SetItemText(ui, 270, L"\tDel");
}

void CPoiWnd::OnUpdateSelectAll(CCmdUI* ui)
{
    ui->Enable(ListHasFocus() && IsCurrent() && GetDocument()->GetRecordCount() > 0);
    SetItemText(ui, 271, L"\tCtrl+A");
}

void CPoiWnd::OnUpdateResetPosition(CCmdUI* ui)
{
    ui->Enable(ListHasFocus() && (m_mode == 2 || m_mode == 3) && IsCurrent() && m_list.GetSelectedCount() > 0);
    SetItemText(ui, 272, L"");
}
