#include "views/poi/PoiFromCsvWnd.h"

#include <shlwapi.h>

#include "common/LogWriter.h"
#include "common/WebUtil.h"
#include "core/Global.h"
#include "frame/CmdUIText.h"
#include "frame/MainWindowCalls.h"
#include "frame/MessageDlg.h"
#include "res/frame_ids.h"

namespace {

// Replaces the rows of to with those of from.
void TakeRows(const CCsvTable& from, CCsvTable& to)
{
    const wchar_t delimiter = from.GetDelimiter();
    to.RemoveAll();
    to.SetDelimiter(delimiter);
    for (int r = 0; r < from.GetRowCount(); ++r) {
        const CStringArray& cells = *from.GetRow(r);
        CString line;
        for (INT_PTR c = 0; c < cells.GetSize(); ++c) {
            if (c)
                line += delimiter;
            line += CCsvTable::QuoteField(cells[c], delimiter);
        }
        to.AddRow(line);
    }
}

int Selection(const CCustomComboBox& combo)
{
    const int sel = combo.GetSafeHwnd() ? combo.GetCurSel() : CB_ERR;
    return sel < 0 ? 0 : sel;
}

}  // namespace

// The body offers every command to all views, the shown one first: a hidden
// import view leaves the decision to the others and does nothing itself, so a
// key pressed on another page never opens or converts anything here.
void CPoiFromCsvWnd::OnUpdateShown(CCmdUI* ui)
{
    if (!IsShown())
        ui->ContinueRouting();
    else
        ui->Enable(TRUE);
}

void CPoiFromCsvWnd::OnUpdateConvert(CCmdUI* ui)
{
    if (!IsShown())
        ui->ContinueRouting();
    else
        ui->Enable(ImportDocument().GetRowCount() > 0);
}

void CPoiFromCsvWnd::OnLButtonDown(UINT, CPoint)
{
    FocusOnLButtonDown(this);
}

void CPoiFromCsvWnd::OnShowWindow(BOOL show, UINT)
{
    Default();
    if (show && ImportDocument().GetRowCount() == 0)
        ResetColumnCombos();
}

LRESULT CPoiFromCsvWnd::OnUserIdle(WPARAM, LPARAM)
{
    CCustomButton* buttons[] = {&m_open, &m_convert};
    const UINT ids[] = {ID_FILE_OPEN, ID_CONVERT};
    for (int i = 0; i < 2; ++i) {
        CCustomButton& b = *buttons[i];
        if (!b.GetSafeHwnd())
            continue;
        const BOOL was = b.IsWindowEnabled();
        const CCmdUI::Button one[] = {{&b, ids[i]}};
        CCmdUI::UpdateButtons(this, one);
        if (b.IsWindowEnabled() != was)
            b.Invalidate(FALSE);
    }
    return 0;
}

void CPoiFromCsvWnd::OnGetDispInfo(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return;
    CString text;
    if (item.iSubItem == 0)
        text.Format(L"%d", item.iItem + 1);
    else
        ImportDocument().GetCell(item.iItem, item.iSubItem - 1, text);
    int length = text.GetLength() < kCellChars ? text.GetLength() : static_cast<int>(kCellChars);
    if (length > item.cchTextMax - 1)
        length = item.cchTextMax - 1;
    wmemcpy(item.pszText, text, static_cast<size_t>(length));
    item.pszText[length] = L'\0';
}

void CPoiFromCsvWnd::OnUpdate()
{
    if (!m_list.GetSafeHwnd())
        return;
    const int rows = ImportDocument().GetRowCount();
    if (rows < m_list.GetItemCount()) {
        // The old rows' places go with them.
        m_list.m_focusItem = m_list.m_anchorItem = -1;
        m_list.m_curRow = -1;
        m_list.m_topIndex = 0;
    }
    m_list.m_items.SetSize(rows);
    m_list.UpdateScrollBars();
    m_list.Invalidate(FALSE);
}

void CPoiFromCsvWnd::ShowReadRows()
{
    theGlobal.UpdateAllViews();
    Invalidate(FALSE);
    m_list.SetFocus();
    const CDocImport& doc = ImportDocument();
    FillColumnCombos(doc.GetRowCount(), doc.m_table.GetMaxColumnCount());
}

void CPoiFromCsvWnd::OnFileOpen()
{
    if (!IsShown())
        return;
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, theGlobal.m_piCsvFileSpec, MAX_PATH);
    HWND owner = AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr;
    if (!s_fileDialog || !s_fileDialog(owner, theGlobal.m_piCsvIniFolder, 2, TRUE, path))
        return;
    WriteLog(L"CSV File Open Start");
    CDocImport& doc = ImportDocument();
    if (!doc.SetDelimiterAndLoad(GetCsvDelimiterKind(theGlobal.m_delimiter), path))
        ShowMessage(UiText(8), 0);
    else if (doc.GetRowCount() == 0)
        ShowMessage(UiText(24), 0);

    theGlobal.m_piCsvFileSpec = ::PathFindFileNameW(path);
    wchar_t folder[MAX_PATH];
    lstrcpynW(folder, path, MAX_PATH);
    ::PathRemoveFileSpecW(folder);
    theGlobal.m_piCsvIniFolder = folder;
    ShowReadRows();
    WriteLog(L"CSV File Open End");
}

void CPoiFromCsvWnd::OnOpenAb()
{
    if (!IsShown())
        return;
    // Without an installed address book there is nothing to read: say so and
    // keep the rows the view holds.
    if (!s_addressBookInstalled || !s_addressBookInstalled()) {
        ShowMessage(UiText(8), 0);
        return;
    }
    // Read aside first: a book that fails half-way leaves the rows as they were.
    CDocImport contacts;
    if (!s_readAddressBook || !s_readAddressBook(contacts))
        ShowMessage(UiText(8), 0);
    else
        TakeRows(contacts.m_table, ImportDocument().m_table);
    ShowReadRows();
}

void CPoiFromCsvWnd::OnConvert()
{
    if (!IsShown() || ImportDocument().GetRowCount() == 0)
        return;
    WriteLog(L"CSV Data Convert Start");
    const int start = Selection(m_startRow);
    int c[kColumnCombos];
    for (int k = 0; k < kColumnCombos; ++k)
        c[k] = Selection(m_columns[k]);
    CDocImport& rows = ImportDocument();
    CString error;
    if (m_mode == 1) {
        CDocAb& book = theGlobal.m_docAb;
        if (!book.ImportCsvRows(start, &rows, c[0], c[1], c[2], c[3], c[4]))
            ShowMessage(book.GetErrorString(error), 0);
        book.SetModified(1);
    } else {
        CDocPi& pois = theGlobal.m_docPiCsv;
        pois.ResetDocument();
        if (!pois.ImportRows(start, &rows, c[0], c[1], c[2], c[3], c[4], c[5]))
            ShowMessage(pois.GetErrorString(error), 0);
        pois.SetModified(pois.GetRecordCount() > 0);
    }
    WriteLog(L"CSV Data Convert End");
    theGlobal.UpdateAllViews();
    if (m_mode == 1) {
        rows.m_table.RemoveAll();
        ResetColumnCombos();
        OnUpdate();
        SendToMain(ID_DELETE_UNDOREDO);
        SendToMain(ID_ADDRESS_BOOK);
    } else {
        // The rows stay: Back from the list finds the preview as it was.
        SendToMain(ID_POI_EDIT_CSV);
    }
}

void CPoiFromCsvWnd::ClearImport()
{
    ImportDocument().m_table.RemoveAll();
    ResetColumnCombos();
    OnUpdate();
}

void CPoiFromCsvWnd::OnBack()
{
    if (!IsShown())
        return;
    ClearImport();
    SendToMain(m_mode == 1 ? ID_ADDRESS_BOOK : ID_MAIN_MENU);
}

void CPoiFromCsvWnd::OnTop()
{
    if (!IsShown())
        return;
    ClearImport();
    SendToMain(ID_MENU_REFRESH);
    SendToMain(ID_MAIN_MENU);
}
