// Editing: cells in place, the edit dialog, new entries, the map look-up, the
// icon, the clipboard, select all and the history.
#include "core/Global.h"
#include "frame/CmdUIText.h"
#include "frame/MessageDlg.h"
#include "views/device/AbWnd.h"
#include "views/device/IconSelectDlg.h"
#include "views/poi/PoiEditDlg.h"

namespace {

// A menu item's text; buttons keep their pictures.
void SetItemText(CCmdUI* ui, const CString& text)
{
    if (ui->m_pMenu)
        SetCmdUIText(ui, text);
}

}  // namespace

CAbWnd::MapLookupFn CAbWnd::s_mapLookup = nullptr;

int CAbWnd::AskOverList(const wchar_t* text, int style)
{
    // Off and on again: a pending click or capture of the list ends here.
    m_list.EnableWindow(FALSE);
    m_list.EnableWindow(TRUE);
    const int answer = ShowMessage(text, style);
    m_list.SetFocus();
    return answer;
}

void CAbWnd::OnBeginLabelEdit(NMHDR*, LRESULT* result)
{
    *result = CanEditCell(m_list.m_curRow, m_list.m_curCol) ? 0 : 1;
}

void CAbWnd::OnEndLabelEdit(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    const int column = item.iSubItem;
    CString text;
    int category = 0;
    int check = FieldOk;
    if (column >= ColName && column <= ColPhone) {
        if (!(item.mask & LVIF_TEXT) || !item.pszText)
            return;
        text = item.pszText;
        check = CheckFieldText(column, text);
    } else if (column == ColIcon) {
        if (!(item.mask & LVIF_IMAGE))
            return;
        category = CategoryOfImage(item.iImage);
        // A picture the card file cannot hold is never stored as another one.
        if (category < 0)
            return;
    } else {
        return;
    }
    m_list.SetFocus();
    if (check == FieldRefused) {
        AskOverList(theGlobal.UiString(4), 0);
        return;
    }
    std::vector<int> rows = SelectedRows();
    if (rows.empty())
        rows.push_back(item.iItem);
    if (rows.size() > 1 && AskOverList(theGlobal.UiString(6), 4) != IDYES)
        return;
    SetFieldOfRows(rows, column, text, category);
    if (check == FieldCut)
        ShowMessage(theGlobal.UiString(5), 0);
    m_list.SetFocus();
    RefreshList();
}

void CAbWnd::OnEdit()
{
    if (!IsCurrent())
        return;
    const int row = m_list.GetCurSel();
    DOCAB_UI_RECORD rec{};
    if (!RecordOfRow(row, rec))
        return;
    DOCPI_RECORD poi{};
    ConvertAbUiToPoiRecord(rec, &poi);
    CPoiEditDlg dlg;
    dlg.m_record = &poi;
    dlg.m_mode = 3;
    if (dlg.DoModal() != IDOK)
        return;
    ConvertPoiRecordToAbUi(poi, &rec);
    ChangeRow(row, rec);
    RefreshList();
    m_list.SetFocus();
}

void CAbWnd::OnAdd()
{
    if (!IsCurrent())
        return;
    if (Document().GetEntryCount() >= AB_ENTRY_COUNT) {
        ShowMessage(theGlobal.UiString(19), 0);
        return;
    }
    DOCPI_RECORD poi{};
    poi.longitude = poi.latitude = AB_NO_POSITION;
    CPoiEditDlg dlg;
    dlg.m_record = &poi;
    dlg.m_mode = 3;
    if (dlg.DoModal() != IDOK)
        return;
    DOCAB_UI_RECORD rec{};
    ConvertPoiRecordToAbUi(poi, &rec);
    rec.category = 0;
    rec.positionKind = 0;
    AddNew(rec);
    RefreshList();
    m_list.SetFocus();
}

void CAbWnd::OnMapLookup()
{
    if (!IsCurrent())
        return;
    const int row = m_list.GetCurSel();
    DOCAB_UI_RECORD rec{};
    if (!s_mapLookup || !RecordOfRow(row, rec))
        return;
    DOCPI_RECORD poi{};
    ConvertAbUiToPoiRecord(rec, &poi);
    const INT_PTR open = theGlobal.m_dialogStack.GetSize();
    CWnd* parent = open > 0 ? static_cast<CWnd*>(theGlobal.m_dialogStack[open - 1]) : nullptr;
    const BOOL found = s_mapLookup(parent, poi);
    theGlobal.m_hMapDlg = nullptr;
    if (!found)
        return;
    ConvertPoiRecordToAbUi(poi, &rec);
    rec.positionKind = kFlagFromMap;
    ChangeRow(row, rec);
    RefreshList();
}

void CAbWnd::OnIcon()
{
    if (!IsCurrent())
        return;
    const int row = m_list.GetCurSel();
    DOCAB_UI_RECORD rec{};
    if (row < 1 || !RecordOfRow(row, rec)) {
        m_list.SetFocus();
        return;
    }
    CIconSelectDlg dlg;
    dlg.m_mode = CIconSelectDlg::kStockOnly;
    dlg.m_icon = rec.category;
    if (dlg.DoModal() == IDOK) {
        const int category = CategoryOfImage(dlg.m_icon);
        // A picture the card file cannot hold leaves the entry as it was.
        if (category >= 0) {
            rec.category = category;
            ChangeRow(row, rec);
            RefreshList();
        }
    }
    m_list.SetFocus();
}

void CAbWnd::OnCopy()
{
    if (!IsCurrent())
        return;
    if (!ListHasFocus())
        return;
    CopyRow(m_list.GetCurSel());
}

void CAbWnd::OnCut()
{
    if (!IsCurrent())
        return;
    if (!ListHasFocus())
        return;
    OnCopy();
    OnDelete();
}

void CAbWnd::OnDelete()
{
    if (!IsCurrent())
        return;
    if (!ListHasFocus())
        return;
    const int current = m_list.GetCurSel();
    const std::vector<int> rows = SelectedRows();
    for (int row : rows)
        if (row < 1)
            return;
    if (rows.empty())
        return;
    DeleteRows(rows);
    const int count = Document().GetEntryCount();
    m_list.SetCurSel(-1);
    m_list.m_items.SetSize(count + 1);
    m_list.UpdateScrollBars();
    // The row that took the current row's place stays current.
    if (current >= 1 && current <= count)
        m_list.SetCurSel(current);
    theGlobal.UpdateAllViews();
}

void CAbWnd::OnPaste()
{
    if (!IsCurrent())
        return;
    if (!ListHasFocus())
        return;
    if (Paste(m_list.GetCurSel()) < 0) {
        ShowMessage(theGlobal.UiString(19), 0);
        return;
    }
    theGlobal.UpdateAllViews();
}

void CAbWnd::OnSelectAll()
{
    if (!IsCurrent())
        return;
    for (INT_PTR row = 1; row <= m_viewOrder.GetSize() && row < m_list.GetItemCount(); ++row)
        m_list.SetItemState(static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
    m_list.NotifySelChange();
}

void CAbWnd::OnUndo()
{
    if (!IsCurrent())
        return;
    Undo();
    RefreshList();
}

void CAbWnd::OnRedo()
{
    if (!IsCurrent())
        return;
    Redo();
    RefreshList();
}

void CAbWnd::OnClearUndoRedo()
{
    ClearUndo();
    ClearRedo();
}

// The body offers every command to all views, the shown one first: a hidden
// address book leaves the decision to the others and does nothing itself.
BOOL CAbWnd::PassOn(CCmdUI* ui) const
{
    if (IsCurrent())
        return FALSE;
    ui->ContinueRouting();
    return TRUE;
}

void CAbWnd::OnUpdateEdit(CCmdUI* ui)
{
    if (PassOn(ui))
        return;
    DOCAB_UI_RECORD rec{};
    ui->Enable(m_list.GetSelectedCount() == 1 && RecordOfRow(m_list.GetCurSel(), rec) &&
               rec.positionKind != kFlagFromMap);
}

void CAbWnd::OnUpdateAdd(CCmdUI* ui)
{
    if (PassOn(ui))
        return;
    ui->Enable(TRUE);
    SetItemText(ui, theGlobal.UiString(138));
}

void CAbWnd::OnUpdateMapLookup(CCmdUI* ui)
{
    if (PassOn(ui))
        return;
    ui->Enable(s_mapLookup && m_list.GetCurSel() >= 0 && m_list.GetSelectedCount() == 1);
    SetItemText(ui, L"Edit Lon / Lat ");
}

void CAbWnd::OnUpdateCopy(CCmdUI* ui)
{
    if (PassOn(ui))
        return;
    ui->Enable(ListHasFocus() && m_list.GetSelectedCount() == 1 &&
               !(m_list.GetItemState(0, LVIS_SELECTED) & LVIS_SELECTED));
    SetItemText(ui, theGlobal.UiString(268) + L"\tCtrl+C");
}

void CAbWnd::OnUpdateCut(CCmdUI* ui)
{
    if (PassOn(ui))
        return;
    ui->Enable(ListHasFocus() && m_list.GetSelectedCount() == 1 &&
               !(m_list.GetItemState(0, LVIS_SELECTED) & LVIS_SELECTED));
    SetItemText(ui, theGlobal.UiString(267) + L"\tCtrl+X");
}

void CAbWnd::OnUpdateDelete(CCmdUI* ui)
{
    if (PassOn(ui))
        return;
    ui->Enable(ListHasFocus() && m_list.GetSelectedCount() > 0 &&
               !(m_list.GetItemState(0, LVIS_SELECTED) & LVIS_SELECTED));
    SetItemText(ui, theGlobal.UiString(270) + L"\tDel");
}

void CAbWnd::OnUpdatePaste(CCmdUI* ui)
{
    if (PassOn(ui))
        return;
    ui->Enable(ListHasFocus() && HasClipboard() && m_list.GetCurSel() != 0);
    SetItemText(ui, theGlobal.UiString(269) + L"\tCtrl+V");
}

void CAbWnd::OnUpdateSelectAll(CCmdUI* ui)
{
    if (PassOn(ui))
        return;
    ui->Enable(ListHasFocus() && Document().GetEntryCount() > 0);
    SetItemText(ui, theGlobal.UiString(271) + L"\tCtrl+A");
}

void CAbWnd::OnUpdateUndo(CCmdUI* ui)
{
    if (!PassOn(ui))
        ui->Enable(CanUndo());
}

void CAbWnd::OnUpdateRedo(CCmdUI* ui)
{
    if (!PassOn(ui))
        ui->Enable(CanRedo());
}
