// The list's cells, its refresh and sorting by a column.
#include "classlib/CWaitCursor.h"
#include "views/poi/PoiWnd.h"

void CPoiWnd::OnGetDispInfo(NMHDR* nm, LRESULT* result)
{
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(nm);
    LVITEMW& item = info->item;
    *result = 1;
    if (item.iItem < 0 || item.iItem >= m_viewOrder.GetSize())
        return;
    if (item.mask & LVIF_TEXT) {
        DOCPI_RECORD rec{};
        if (!RecordOfRow(item.iItem, rec))
            return;
        if (item.pszText && item.cchTextMax > 0)
            lstrcpynW(item.pszText, CellText(rec, KeyOfColumn(item.iSubItem)), item.cchTextMax);
    }
    *result = 0;
}

void CPoiWnd::RefreshList()
{
    SyncViewOrder();
    if (!m_list.GetSafeHwnd())
        return;
    const INT_PTR count = GetDocument()->GetRecordCount();
    if (m_list.m_items.GetSize() != count) {
        m_list.m_items.SetSize(count);
        if (m_list.m_focusItem >= count)
            m_list.m_focusItem = -1;
    }
    m_list.UpdateScrollBars();
    m_list.Invalidate(FALSE);
}

void CPoiWnd::OnColumnClick(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    // The CSV lists (modes 0 and 1) keep the file's order.
    if (m_mode < 2)
        return;
    CWaitCursor wait;
    SortByHeader(KeyOfColumn(reinterpret_cast<NMLISTVIEW*>(nm)->iSubItem));
    RefreshList();
    m_list.SetSortArrow(ColumnOfKey(m_sortKey), m_sortOrder);
}
