// The reader's item list: cells, marks, sorting, the map page's requests, the
// item's link and properties, Save to PC and the export to the card.
#include <algorithm>

#include "common/FileUtil.h"
#include "common/Utility.h"
#include "common/WebUtil.h"
#include "core/Global.h"
#include "doc/DocIcon.h"
#include "doc/DocPi.h"
#include "frame/CmdUIText.h"
#include "frame/MessageDlg.h"
#include "frame/UrlOpener.h"
#include "frame/WebLink.h"
#include "res/feeds_ids.h"
#include "views/poi/PoiCardChooser.h"
#include "views/poi/PoiEditDlg.h"
#include "views/poi/PoiKmlOutput.h"
#include "views/poi/PoiSaveName.h"
#include "views/poi/PoiReaderWnd.h"

namespace {

constexpr size_t kMapItems = 50;

}  // namespace

CPoiReaderWnd::SaveDialogFn CPoiReaderWnd::s_saveDialog = AskKmlSavePath;
CPoiReaderWnd::CardChooserFn CPoiReaderWnd::s_chooseCard = ChoosePoiCard;

std::vector<int> MapRequestItems(const std::vector<int>& order, const std::vector<bool>& checked, int selectedRow)
{
    std::vector<int> sent;
    const int rows = static_cast<int>(order.size());
    auto isChecked = [&](int row) {
        const int item = order[row];
        return item >= 0 && item < static_cast<int>(checked.size()) && checked[item];
    };
    if (selectedRow < 0 || selectedRow >= rows) {
        for (int row = 0; row < rows && sent.size() < kMapItems; ++row)
            if (isChecked(row))
                sent.push_back(order[row]);
        return sent;
    }
    sent.push_back(order[selectedRow]);
    const size_t checkedCount = std::count(checked.begin(), checked.end(), true);
    if (checkedCount < kMapItems) {
        // The selected item is on the page already: not sent a second time.
        for (int row = 0; row < rows && sent.size() < kMapItems; ++row)
            if (row != selectedRow && isChecked(row))
                sent.push_back(order[row]);
        return sent;
    }
    for (int row = selectedRow + 1; row < rows && sent.size() < kMapItems; ++row)
        if (isChecked(row))
            sent.push_back(order[row]);
    for (int row = selectedRow - 1; row >= 0 && sent.size() < kMapItems; --row)
        if (isChecked(row))
            sent.push_back(order[row]);
    return sent;
}

// ---------------------------------------------------------------------------
// Cells

void CPoiReaderWnd::OnItemDispInfo(NMHDR* nm, LRESULT* result)
{
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(nm);
    LVITEMW& cell = info->item;
    DOCPI_RSS_ITEM item;
    const int index = m_pane.ItemOfRow(cell.iItem);
    if (index < 0 || !theGlobal.m_docRssPoi.GetItem(index, &item)) {
        *result = 1;
        return;
    }
    *result = 0;
    CString text;
    int image = -1;
    switch (cell.iSubItem) {
    case 0: image = item.newItem ? 5 : 0; break;
    case 1: text.Format(L"%d", cell.iItem + 1); break;
    case 2: image = item.check == 1 ? 2 : 1; break;
    case 3: image = item.favorite == 1 ? 4 : 3; break;
    case 4: text = item.poi.name; break;
    case 5:
        if (item.poi.description[0] != L'<')
            text = item.poi.description;
        break;
    case 6: {
        const LONGLONG n = item.pubDate;
        const int year = static_cast<int>(n / 10000000000LL);
        const int month = static_cast<int>(n % 10000000000LL / 100000000LL);
        const int day = static_cast<int>(n % 100000000LL / 1000000LL);
        if (IsValidDateTime(year, month, day, 0, 0, 0)) {
            SYSTEMTIME st{};
            st.wYear = static_cast<WORD>(year);
            st.wMonth = static_cast<WORD>(month);
            st.wDay = static_cast<WORD>(day);
            wchar_t date[41] = L"";
            if (::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE | LOCALE_NOUSEROVERRIDE, &st, nullptr, date, 40))
                text = date;
        }
        break;
    }
    default: break;
    }
    if ((cell.mask & LVIF_TEXT) && cell.pszText && cell.cchTextMax > 0)
        lstrcpynW(cell.pszText, text, cell.cchTextMax);
    if (cell.mask & LVIF_IMAGE)
        cell.iImage = image;
}

void CPoiReaderWnd::OnItemChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    const int row = m_pane.m_itemList.GetCurSel();
    if (row == m_mapSelection)
        return;
    if (m_pane.m_itemList.GetSelectedCount() > 0)
        RestartMapTimer();
    else
        *result = 1;
}

void CPoiReaderWnd::RestartMapTimer()
{
    // A feed load waiting for the running one (timer 10002) stays pending.
    KillTimer(TimerMapDebounce);
    KillTimer(TimerMap);
    SetTimer(TimerMapDebounce, 500, nullptr);
}

CString CPoiReaderWnd::BuildMapBody(int selectedRow)
{
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    std::vector<int> order;
    for (INT_PTR i = 0; i < m_pane.m_order.GetSize(); ++i)
        order.push_back(m_pane.m_order[i]);
    std::vector<bool> checked(static_cast<size_t>(std::max(0, ShownRows())));
    for (int i = 0; i < static_cast<int>(checked.size()); ++i)
        checked[i] = doc.GetItemCheck(i) == 1;
    CString body = BuildFeedMapPostBody();
    body += m_autoScale ? L"&auto_scale=1" : L"&auto_scale=0";
    m_autoScale = 0;
    body += selectedRow < 0 ? L"&popup=0" : L"&popup=1";
    for (int item : MapRequestItems(order, checked, selectedRow))
        body += doc.BuildMapQuery(item);
    return body;
}

void CPoiReaderWnd::OnMapTimer()
{
    KillTimer(TimerMap);
    const int s = m_pane.m_itemList.GetCurSel();
    if (s < 0 && theGlobal.m_docRssPoi.CountCheckedItems() <= 0) {
        ShowMap(FALSE);
        return;
    }
    m_mapSelection = s;
    ShowMap(TRUE, MapPageUrl(), BuildMapBody(s));
}

// ---------------------------------------------------------------------------
// Marks and sorting

void CPoiReaderWnd::OnBeginLabelEdit(NMHDR* nm, LRESULT* result)
{
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(nm);
    const int column = info->item.iSubItem;
    const bool allowed = m_pane.m_itemList.GetSelectedCount() < 2 && m_pane.m_itemList.IsRow(info->item.iItem) &&
                         (column == 2 || column == 3);
    *result = allowed ? 0 : 1;
}

void CPoiReaderWnd::OnEndLabelEdit(NMHDR* nm, LRESULT* result)
{
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(nm);
    *result = 0;
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    const int index = m_pane.ItemOfRow(info->item.iItem);
    DOCPI_RSS_ITEM item;
    if (index < 0 || !doc.GetItem(index, &item))
        return;
    if (info->item.iSubItem == 2) {
        doc.SetItemCheck(index, item.check == 1 ? 0 : 1);
        RestartMapTimer();
    } else if (info->item.iSubItem == 3) {
        if (item.favorite != 1 && doc.m_favorites.GetSize() >= RSS_MAX_FAVORITES)
            ShowMessage(theGlobal.UiString(19), 0);
        else
            doc.SetItemFavorite(index, item.favorite == 1 ? 0 : 1);
    }
    m_pane.m_itemList.Invalidate(FALSE);
}

void CPoiReaderWnd::OnColumnClick(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    auto* info = reinterpret_cast<NMLISTVIEW*>(nm);
    const int column = info->iSubItem;
    const HCURSOR old = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    const int key = column == 0 || (column >= 2 && column <= 6) ? column : CPoiRssListWnd::kNoSortKey;
    if (key == m_pane.m_sortKey)
        m_pane.m_sortAscending = !m_pane.m_sortAscending;
    else
        m_pane.m_sortAscending = 1;
    m_pane.m_sortKey = key;
    m_pane.SortItems(static_cast<int>(m_pane.m_order.GetSize()), key, m_pane.m_sortAscending);
    UpdateFeedRows();
    m_pane.Invalidate(FALSE);
    m_pane.RefreshItemList();
    m_pane.m_itemList.SetSortArrow(key, m_pane.m_sortAscending);
    ::SetCursor(old);
}

void CPoiReaderWnd::SetChecks(int value)
{
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    for (int i = 0; i < ShownRows(); ++i)
        doc.SetItemCheck(i, value);
    m_pane.m_itemList.Invalidate(FALSE);
    RestartMapTimer();
}

void CPoiReaderWnd::OnCheckAll()
{
    SetChecks(1);
}

void CPoiReaderWnd::OnUncheckAll()
{
    SetChecks(0);
}

void CPoiReaderWnd::OnCheckNew()
{
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    for (int row = 0; row < ShownRows(); ++row) {
        DOCPI_RSS_ITEM item;
        const int index = m_pane.ItemOfRow(row);
        if (index >= 0 && doc.GetItem(index, &item))
            doc.SetItemCheck(index, item.newItem ? 1 : 0);
    }
    m_pane.m_itemList.Invalidate(FALSE);
    RestartMapTimer();
}

void CPoiReaderWnd::OnCheckOld()
{
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    for (int row = 0; row < ShownRows(); ++row) {
        DOCPI_RSS_ITEM item;
        const int index = m_pane.ItemOfRow(row);
        if (index >= 0 && doc.GetItem(index, &item))
            doc.SetItemCheck(index, item.newItem ? 0 : 1);
    }
    m_pane.m_itemList.Invalidate(FALSE);
    RestartMapTimer();
}

void CPoiReaderWnd::OnCheckOn()
{
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    for (int row = 0; row < ShownRows() && row < m_pane.m_itemList.GetItemCount(); ++row)
        if (m_pane.m_itemList.GetItemState(row, LVIS_SELECTED))
            doc.SetItemCheck(m_pane.ItemOfRow(row), 1);
    m_pane.m_itemList.Invalidate(FALSE);
}

void CPoiReaderWnd::OnCheckOff()
{
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    for (int row = 0; row < ShownRows() && row < m_pane.m_itemList.GetItemCount(); ++row)
        if (m_pane.m_itemList.GetItemState(row, LVIS_SELECTED))
            doc.SetItemCheck(m_pane.ItemOfRow(row), 0);
    m_pane.m_itemList.Invalidate(FALSE);
}

void CPoiReaderWnd::OnUpdateCheckAll(CCmdUI* ui)
{
    ui->Enable(ShownRows() > 0);
}

void CPoiReaderWnd::OnUpdateUncheckAll(CCmdUI* ui)
{
    ui->Enable(theGlobal.m_docRssPoi.CountCheckedItems() > 0);
}

void CPoiReaderWnd::OnUpdateCheckOnOff(CCmdUI* ui)
{
    ui->Enable(ItemListHasFocus() && ShownRows() > 0 && m_pane.m_itemList.GetSelectedCount() > 0);
    SetCmdUIText(ui, theGlobal.UiString(ui->m_nID == ID_CHECK_ON ? 284 : 285));
}

// ---------------------------------------------------------------------------
// Link and properties

void CPoiReaderWnd::OnLink()
{
    DOCPI_RSS_ITEM item;
    const int row = m_pane.m_itemList.GetCurSel();
    const int index = m_pane.ItemOfRow(row);
    if (index < 0 || !theGlobal.m_docRssPoi.GetItem(index, &item) || !item.itemLink[0] ||
        !IsWebLink(item.itemLink)) {
        ShowMessage(theGlobal.UiString(49), 0);
        return;
    }
    CWnd* main = AfxGetMainWnd();
    OpenInBrowser(main ? main->GetSafeHwnd() : GetSafeHwnd(), item.itemLink);
}

void CPoiReaderWnd::OnUpdateLink(CCmdUI* ui)
{
    ui->Enable(ItemListHasFocus() && m_pane.m_itemList.GetSelectedCount() == 1);
    SetCmdUIText(ui, theGlobal.UiString(148));
}

void CPoiReaderWnd::OnProperty()
{
    DOCPI_RSS_ITEM item;
    const int index = m_pane.ItemOfRow(m_pane.m_itemList.GetCurSel());
    if (index < 0 || !theGlobal.m_docRssPoi.GetItem(index, &item))
        return;
    DOCPI_RECORD record{};
    CDocRssPoi::GetItemAsPoiRecord(item, &record);
    if (record.description[0] == L'<')
        record.description[0] = L'\0';
    CPoiEditDlg dlg;
    dlg.m_mode = 4;
    dlg.m_record = &record;
    dlg.DoModal();
}

void CPoiReaderWnd::OnUpdateProperty(CCmdUI* ui)
{
    ui->Enable(ItemListHasFocus() && m_pane.m_itemList.GetSelectedCount() == 1);
    SetCmdUIText(ui, theGlobal.UiString(286));
}

// ---------------------------------------------------------------------------
// Save and export

void CPoiReaderWnd::OnUpdateSave(CCmdUI* ui)
{
    ui->Enable(IsCurrent() && ShownRows() >= 1 && theGlobal.m_docRssPoi.CountCheckedItems() >= 1);
}

PoiKmlOutput CPoiReaderWnd::KmlOutput()
{
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    return {doc,
            [&doc] { return doc.ValidateItems(); },
            [&doc](const CString& name) { doc.SetFolderName(name); },
            [this, &doc](const CString& path) { return doc.WriteItemsKml(path, 0, ShownRows()); },
            [&doc](const CString& path) { return doc.ExportToCard(path); },
            doc.CountCheckedItems(),
            {}};
}

void CPoiReaderWnd::OnSave()
{
    CWnd* main = AfxGetMainWnd();
    SavePoiKmlToPc(main ? main->GetSafeHwnd() : GetSafeHwnd(), s_saveDialog, KmlOutput());
}

void CPoiReaderWnd::OnExport()
{
    ExportPoiToCard(s_chooseCard, KmlOutput());
}
