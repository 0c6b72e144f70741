#include "views/poi/PoiListModel.h"

#include <algorithm>

#include "common/ExchangeSort.h"
#include "core/Global.h"

namespace {

// Longest text each column's field keeps (columns 2..5).
int FieldLimit(int column)
{
    return column == 3 ? 128 : 64;
}

wchar_t* FieldOf(DOCPI_RECORD& rec, int column)
{
    switch (column) {
    case 2: return rec.name;
    case 3: return rec.address;
    case 4: return rec.telephone;
    case 5: return rec.description;
    default: return nullptr;
    }
}

const wchar_t* FieldOf(const DOCPI_RECORD& rec, int column)
{
    return FieldOf(const_cast<DOCPI_RECORD&>(rec), column);
}

CString Coordinate(double value, double lowest)
{
    if (value < lowest)
        return L"-";
    CString text;
    text.Format(L"%11.6f", value);
    return text;
}

}  // namespace

int CPoiListModel::RecordIndex(int row) const
{
    return row >= 0 && row < m_viewOrder.GetSize() ? m_viewOrder[row] : -1;
}

BOOL CPoiListModel::RecordOfRow(int row, DOCPI_RECORD& rec) const
{
    const int index = RecordIndex(row);
    return index >= 0 && m_doc->GetRecord(index, &rec);
}

CString CPoiListModel::CellText(const DOCPI_RECORD& rec, int column)
{
    switch (column) {
    case 0: return Coordinate(rec.longitude, -180.0);
    case 1: return Coordinate(rec.latitude, -90.0);
    default: {
        const wchar_t* text = FieldOf(rec, column);
        return text ? CString(text) : CString();
    }
    }
}

BOOL CPoiListModel::SyncViewOrder()
{
    const int count = m_doc->GetRecordCount();
    if (m_viewOrder.GetSize() == count)
        return FALSE;
    m_viewOrder.SetSize(count);
    for (int i = 0; i < count; ++i)
        m_viewOrder[i] = static_cast<WORD>(i);
    return TRUE;
}

void CPoiListModel::SortByColumn(int n, int key, int ascending)
{
    if (m_viewOrder.GetSize() < n || n < 2 || key < 0 || key >= kColumnCount)
        return;
    // Each row's value is read once and travels with its row.
    struct Row {
        double number;
        CString text;
    };
    std::vector<Row> rows(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        Row& r = rows[static_cast<size_t>(i)];
        DOCPI_RECORD rec{};
        rec.longitude = rec.latitude = POI_NO_POSITION;
        m_doc->GetRecord(m_viewOrder[i], &rec);
        if (key == 0)
            r.number = rec.longitude;
        else if (key == 1)
            r.number = rec.latitude;
        else
            r.text = FieldOf(rec, key);
    }
    // Texts in the locale's order ignoring case; positions as numbers, the
    // unset value included.
    ExchangeSort(m_viewOrder, 0, rows, [key, ascending](const Row& b, const Row& a) {
        if (key < 2)
            return ascending ? b.number < a.number : a.number < b.number;
        const Row& first = ascending ? a : b;
        const Row& second = ascending ? b : a;
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, first.text, -1, second.text, -1) ==
               CSTR_GREATER_THAN;
    });
}

void CPoiListModel::ClickColumn(int column)
{
    const int key = column >= 0 && column < kColumnCount ? column : kNoSort;
    m_history.RecordSorted(m_history.NewGroup(), m_sortKey, m_sortOrder, m_viewOrder);
    ClickSortColumn(key, m_sortKey, m_sortOrder);
    SortByColumn(static_cast<int>(m_viewOrder.GetSize()), m_sortKey, m_sortOrder);
}

BOOL CPoiListModel::ChangeRow(int row, const DOCPI_RECORD& rec)
{
    const int index = RecordIndex(row);
    DOCPI_RECORD before{};
    if (index < 0 || !m_doc->GetRecord(index, &before))
        return FALSE;
    m_history.RecordChanged(m_history.NewGroup(), index, before);
    m_doc->SetRecord(index, rec);
    m_doc->SetModified(1);
    return TRUE;
}

int CPoiListModel::CheckFieldText(int column, CString& text)
{
    return CheckCellText(text, FieldLimit(column));
}

void CPoiListModel::SetFieldOfRows(const std::vector<int>& rows, int column, const CString& text)
{
    const int group = m_history.NewGroup();
    for (int row : rows) {
        const int index = RecordIndex(row);
        DOCPI_RECORD rec{};
        if (index < 0 || !m_doc->GetRecord(index, &rec))
            continue;
        wchar_t* field = FieldOf(rec, column);
        if (!field)
            return;
        m_history.RecordChanged(group, index, rec);
        lstrcpynW(field, text, FieldLimit(column) + 1);
        m_doc->SetRecord(index, rec);
        m_doc->SetModified(1);
    }
}

BOOL CPoiListModel::AddNew(const DOCPI_RECORD& rec)
{
    const int index = m_doc->GetRecordCount();
    if (index >= POI_MAX_RECORDS)
        return FALSE;
    m_history.RecordAdded(m_history.NewGroup(), index, rec, m_viewOrder);
    m_viewOrder.Add(static_cast<WORD>(index));
    m_doc->AddRecord(rec);
    m_doc->SetModified(1);
    return TRUE;
}

void CPoiListModel::DeleteRows(const std::vector<int>& rowsIn)
{
    std::vector<int> rows;
    std::vector<int> records;
    for (int row : rowsIn) {
        const int index = RecordIndex(row);
        if (index >= 0 && index < m_doc->GetRecordCount() &&
            std::find(records.begin(), records.end(), index) == records.end()) {
            rows.push_back(row);
            records.push_back(index);
        }
    }
    if (rows.empty())
        return;
    m_doc->ResetCheckFlags();
    m_history.RecordDeletion(m_history.NewGroup(), records, m_viewOrder);
    for (int index : records)
        m_doc->m_checkFlags[index] = 1;
    m_doc->DeleteCheckedRecords();
    m_doc->SetModified(1);

    // Rows keep showing the same records under their new indices.
    const CWordArray& removed = m_doc->m_removedIndices;
    for (INT_PTR i = 0; i < m_viewOrder.GetSize(); ++i) {
        int below = 0;
        for (INT_PTR k = 0; k < removed.GetSize(); ++k)
            if (removed[k] < m_viewOrder[i])
                ++below;
        m_viewOrder[i] = static_cast<WORD>(m_viewOrder[i] - below);
    }
    std::sort(rows.begin(), rows.end());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        m_viewOrder.RemoveAt(*it);
}

BOOL CPoiListModel::CopyRow(int row)
{
    DOCPI_RECORD rec{};
    if (!RecordOfRow(row, rec))
        return FALSE;
    m_clipboard.RemoveAll();
    m_clipboard.Add(rec);
    return TRUE;
}

int CPoiListModel::Paste(int row)
{
    const int index = m_doc->GetRecordCount();
    if (index >= POI_MAX_RECORDS)
        return -1;
    if (!HasClipboard())
        return 0;
    const DOCPI_RECORD rec = m_clipboard[0];
    const int length = static_cast<int>(m_viewOrder.GetSize());
    const int at = row >= 0 && row < length ? row : length;
    m_history.RecordAdded(m_history.NewGroup(), index, rec, m_viewOrder);
    m_viewOrder.InsertAt(at, static_cast<WORD>(index));
    m_doc->AddRecord(rec);
    m_doc->SetModified(1);
    return 1;
}

void CPoiListModel::ResetPositions(const std::vector<int>& rows)
{
    const int group = m_history.NewGroup();
    for (int row : rows) {
        const int index = RecordIndex(row);
        DOCPI_RECORD rec{};
        if (index < 0 || !m_doc->GetRecord(index, &rec))
            continue;
        m_history.RecordChanged(group, index, rec);
        rec.longitude = rec.latitude = POI_NO_POSITION;
        m_doc->SetRecord(index, rec);
        // A changed record must not be dropped without the save question.
        m_doc->SetModified(1);
    }
}

void CPoiListModel::ResetAll()
{
    m_doc->ResetDocument();
    m_doc->SetModified(0);
    m_clipboard.RemoveAll();
    ClearUndo();
    ClearRedo();
    HistorySetSort(kNoSort, 1);
    m_viewOrder.RemoveAll();
}

void CPoiListModel::HistorySetSort(int key, int order)
{
    m_sortKey = key;
    m_sortOrder = order;
}
