// The report list's cells, their in-place editing and sorting by a column.
#include <algorithm>
#include <vector>

#include "classlib/CWaitCursor.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "views/report/DriveReportWnd.h"

namespace {

constexpr int kTextLimit = 128;

CString KindText(int kind)
{
    return kind >= 0 && kind <= 2 ? UiText(257 + kind) : CString();
}

}  // namespace

void CDriveReportWnd::OnGetDispInfo(NMHDR* nm, LRESULT* result)
{
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    *result = 1;
    const CWordArray& index = m_listPane.m_index;
    if (item.iItem < 0 || item.iItem >= index.GetSize())
        return;
    const int report = index[item.iItem];
    DR_LIST_DATA data{};
    const bool needData = (item.mask & (LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE)) != 0;
    if (needData && !theGlobal.m_docDr.GetListData(report, data))
        return;
    if (item.mask & LVIF_TEXT) {
        CString text;
        switch (item.iSubItem) {
        case 0: text.Format(L"%d", item.iItem + 1); break;
        case 2: text = data.name; break;
        case 3: text = KindText(data.kind); break;
        case 4: text = data.text1; break;
        case 5: text = data.text2; break;
        case 6: text = data.text3; break;
        default: break;
        }
        if (item.pszText && item.cchTextMax > 0)
            lstrcpynW(item.pszText, text, item.cchTextMax);
    }
    if ((item.mask & LVIF_PARAM) && item.iSubItem == 3)
        item.lParam = data.kind;
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 1)
        item.iImage = data.checked ? 2 : 1;
    *result = 0;
}

void CDriveReportWnd::OnBeginLabelEdit(NMHDR* nm, LRESULT* result)
{
    // The cell asked for: a tick click comes before the focus moves to its row.
    const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    *result = item.iItem >= 0 && item.iItem < m_listPane.m_index.GetSize() && item.iSubItem >= 0 &&
                      item.iSubItem <= 6
                  ? 0
                  : 1;
}

void CDriveReportWnd::OnEndLabelEdit(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    const int column = item.iSubItem;
    const bool hasText = (item.mask & LVIF_TEXT) != 0;
    CString text = hasText && item.pszText ? item.pszText : L"";
    bool refused = false, shortened = false;
    if (column >= 4 && column <= 6 && hasText) {
        if (!IsTextOfClass(text, theGlobal.m_naviModel.m_modelGroup))
            refused = true;
        else if (text.GetLength() > kTextLimit) {
            text = text.Left(kTextLimit);
            shortened = true;
        }
    }
    CDriveReportListCtrl& list = m_listPane.m_list;
    list.SetFocus();
    if (refused) {
        list.EnableWindow(FALSE);
        list.EnableWindow(TRUE);
        ShowMessage(UiText(4), 0);
        list.SetFocus();
        RefreshList();
        return;
    }
    std::vector<int> rows;
    POSITION pos = list.GetFirstSelectedItemPosition();
    while (pos)
        rows.push_back(list.GetNextSelectedItem(pos));
    // An edit of a row outside the selection (a tick clicked on another row)
    // is that row's alone.
    if (item.iItem >= 0 && item.iItem < m_listPane.m_index.GetSize() &&
        std::find(rows.begin(), rows.end(), item.iItem) == rows.end())
        rows.assign(1, item.iItem);
    if (rows.size() > 1) {
        list.EnableWindow(FALSE);
        list.EnableWindow(TRUE);
        if (ShowMessage(UiText(6), 4) != IDYES) {
            list.SetFocus();
            RefreshList();
            return;
        }
    }
    CDocDr& doc = theGlobal.m_docDr;
    const CWordArray& index = m_listPane.m_index;
    for (int row : rows) {
        if (row < 0 || row >= index.GetSize())
            continue;
        const int report = index[row];
        DR_LIST_DATA data{};
        if (!doc.GetListData(report, data))
            continue;
        switch (column) {
        case 1: data.checked = data.checked != 1 ? 1 : 0; break;
        case 3: data.kind = static_cast<INT32>(item.lParam); break;
        case 4: lstrcpynW(data.text1, text, kTextLimit + 1); break;
        case 5: lstrcpynW(data.text2, text, kTextLimit + 1); break;
        case 6: lstrcpynW(data.text3, text, kTextLimit + 1); break;
        default: continue;
        }
        CopyDrListData(data, doc.m_reports[report].m_listData);
        doc.SetModified(1);
        if (shortened)
            ShowMessage(UiText(5), 0);
    }
    list.SetFocus();
    RefreshList();
}

void CDriveReportWnd::OnColumnClick(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    CWaitCursor wait;
    CDriveReportListCtrl& list = m_listPane.m_list;
    CWordArray& index = m_listPane.m_index;
    const int row = CurrentRow();
    const int current = row >= 0 && row < index.GetSize() ? index[row] : -1;
    const int column = reinterpret_cast<NMLISTVIEW*>(nm)->iSubItem;
    if (column < 1 || column > 6)
        return;
    if (column == m_listPane.m_sortColumn) {
        m_listPane.m_ascending = !m_listPane.m_ascending;
    } else {
        m_listPane.m_sortColumn = column;
        m_listPane.m_ascending = TRUE;
    }
    m_listPane.SortReports(static_cast<int>(index.GetSize()), column, m_listPane.m_ascending);
    RefreshList();
    list.SetSortArrow(column, m_listPane.m_ascending);
    if (current < 0)
        return;
    for (int r = 0; r < list.GetItemCount(); ++r)
        list.SetItemState(r, LVIS_FOCUSED | LVIS_SELECTED, 0);
    for (int r = 0; r < index.GetSize(); ++r)
        if (index[r] == current) {
            list.SetItemState(r, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
            list.m_focusItem = list.m_anchorItem = r;
            list.EnsureVisible(r);
            list.Invalidate(FALSE);
            break;
        }
}
