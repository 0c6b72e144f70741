#include "views/report/FuelListModel.h"

#include <algorithm>

#include "common/ExchangeSort.h"

namespace {

using Entry = DOCFUEL_OPERATE_DATA;

}  // namespace

int CFuelListModel::RowCount() const
{
    const int records = RecordRowCount();
    return records < kMaxFuelRecords ? records + 1 : records;
}

bool CFuelListModel::IsNewRow(int row) const
{
    return row == RecordRowCount() && RecordRowCount() < kMaxFuelRecords;
}

int CFuelListModel::RecordOfRow(int row) const
{
    if (row < 0 || row >= RecordRowCount())
        return -1;
    const int index = m_rowOrder[row];
    return index >= 0 && index < m_doc->GetCount() ? index : -1;
}

void CFuelListModel::SyncRowOrder()
{
    if (!m_rowOrder.empty() || m_doc->GetCount() == 0)
        return;
    for (int i = 0; i < m_doc->GetCount(); ++i)
        m_rowOrder.push_back(i);
    // A log shown afresh is in date order, so the date-order flag is true.
    m_sortColumn = 0;
    m_sortDirection = 1;
    SortByColumn(0, 1);
    SortChanged();
}

__int64 CFuelListModel::SortKey(const DOCFUEL_DATA& r, int column)
{
    switch (column) {
    case 0: return r.year * 10000LL + r.month * 100 + r.day;
    case 1: return r.hour * 10000LL + r.minute * 100 + r.second;
    case 2: return r.distance;
    case 3: return r.distanceUnit;
    case 4: return r.amount;
    case 5: return r.amountUnit;
    case 6: return r.mileage;
    case 7: return r.mileageUnit;
    case 8: return r.price;
    case 9: return r.priceUnit;
    case 10: return r.cost;
    case 11: return r.latitude;
    case 12: return r.longitude;
    default: return 0;
    }
}

void CFuelListModel::SortRecords(int count, int first, int column, int direction)
{
    if (count < 2 || first < 0 || first + count > RecordRowCount() || column < 0 || column >= kFuelNoSort)
        return;
    const CArray<DOCFUEL_DATA>& records = m_doc->m_records;
    // The keys travel with their rows, so each comparison is a plain one.
    std::vector<__int64> keys(count);
    for (int k = 0; k < count; ++k) {
        const int index = m_rowOrder[first + k];
        keys[k] = index >= 0 && index < m_doc->GetCount() ? SortKey(records[index], column) : 0;
    }
    if (column == 13) {
        // Memos become ranks in the locale's order, ignoring case (equal
        // texts, equal ranks): one comparison sort instead of a quadratic
        // number of locale comparisons.
        std::vector<const wchar_t*> memos(count);
        for (int k = 0; k < count; ++k) {
            const int index = m_rowOrder[first + k];
            memos[k] = index >= 0 && index < m_doc->GetCount() ? records[index].memo : L"";
        }
        auto compare = [](const wchar_t* a, const wchar_t* b) {
            return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, -1, b, -1);
        };
        std::vector<int> byMemo(count);
        for (int k = 0; k < count; ++k)
            byMemo[k] = k;
        std::stable_sort(byMemo.begin(), byMemo.end(),
                         [&](int a, int b) { return compare(memos[a], memos[b]) == CSTR_LESS_THAN; });
        __int64 rank = 0;
        for (int k = 0; k < count; ++k) {
            if (k > 0 && compare(memos[byMemo[k - 1]], memos[byMemo[k]]) != CSTR_EQUAL)
                ++rank;
            keys[byMemo[k]] = rank;
        }
    }
    ExchangeSort(m_rowOrder, first, keys,
                 [direction](__int64 b, __int64 a) { return direction ? b < a : a < b; });
}

void CFuelListModel::SortByColumn(int column, int direction)
{
    SortRecords(RecordRowCount(), 0, column, direction);
    if (m_sortColumn != 0 || column != 0)
        return;
    // Records of one day follow their times in the same direction.
    const CArray<DOCFUEL_DATA>& records = m_doc->m_records;
    auto day = [&](int row) {
        const int index = m_rowOrder[row];
        return index >= 0 && index < m_doc->GetCount() ? SortKey(records[index], 0) : -1;
    };
    const int rows = RecordRowCount();
    for (int start = 0; start < rows;) {
        int end = start + 1;
        while (end < rows && day(end) == day(start))
            ++end;
        if (end - start > 1)
            SortRecords(end - start, start, 1, direction);
        start = end;
    }
    m_dateOrder = 1;
}

void CFuelListModel::ClickColumn(int column)
{
    if (column < 0 || column > 13)
        column = kFuelNoSort;
    Entry e;
    e.op = Entry::Sort;
    e.group = NewGroup();
    e.sortColumn = m_sortColumn;
    e.sortDirection = m_sortDirection;
    e.dateOrder = m_dateOrder;
    e.order = Snapshot();
    m_undo.push_back(std::move(e));
    ClearRedo();
    ClickSortColumn(column, m_sortColumn, m_sortDirection);
    SortByColumn(m_sortColumn, m_sortDirection);
    SortChanged();
}

int CFuelListModel::EditCell(int row, int column, const std::function<void(DOCFUEL_VIEW_DATA&)>& apply)
{
    int index = RecordOfRow(row);
    Entry* added = nullptr;
    if (index >= 0) {
        Entry e;
        e.record = ReadRecord(index);
        e.op = Entry::Edit;
        e.group = NewGroup();
        e.index = index;
        m_undo.push_back(std::move(e));
    } else if (IsNewRow(row)) {
        const DOCFUEL_VIEW_DATA fresh = MakeNewFuelRecord(*m_doc);
        index = m_doc->AddRecord(fresh);
        if (index < 0)
            return -1;
        m_sortColumn = kFuelNoSort;
        Entry e;
        e.record = ReadRecord(index);
        e.op = Entry::Add;
        e.group = NewGroup();
        e.index = index;
        e.order = Snapshot();
        m_undo.push_back(std::move(e));
        added = &m_undo.back();
        m_rowOrder.insert(m_rowOrder.begin() + row, index);
        SortChanged();
    } else {
        return -1;
    }
    ClearRedo();
    DOCFUEL_VIEW_DATA r = ReadRecord(index);
    apply(r);
    if ((column == 0 || column == 1) && m_sortColumn == 0)
        m_dateOrder = 0;
    m_doc->SetRecordText(r, index);
    m_doc->SetModified(1);
    // The new record's entry keeps what was typed, so a redo brings it back.
    if (added)
        added->record = ReadRecord(index);
    return index;
}

void CFuelListModel::DeleteRows(const std::vector<int>& rows)
{
    const int group = NewGroup();
    for (INT_PTR i = 0; i < m_doc->m_records.GetSize(); ++i)
        m_doc->m_records[i].mark = 0;
    std::vector<int> removed;
    for (int row : rows) {
        const int index = RecordOfRow(row);
        if (index < 0 || std::find(removed.begin(), removed.end(), index) != removed.end())
            continue;
        Entry e;
        e.record = ReadRecord(index);
        e.op = Entry::Delete;
        e.group = group;
        e.index = index - static_cast<int>(std::count_if(removed.begin(), removed.end(), [&](int r) { return r < index; }));
        e.order = Snapshot();
        m_undo.push_back(std::move(e));
        removed.push_back(index);
        m_doc->m_records[index].mark = 1;
    }
    if (removed.empty())
        return;
    ClearRedo();
    RemoveMarked(removed);
}

void CFuelListModel::RemoveMarked(const std::vector<int>& indices)
{
    std::vector<int> sorted(indices);
    std::sort(sorted.begin(), sorted.end());
    for (int row = RecordRowCount() - 1; row >= 0; --row)
        if (std::binary_search(sorted.begin(), sorted.end(), m_rowOrder[row]))
            m_rowOrder.erase(m_rowOrder.begin() + row);
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it)
        if (*it >= 0 && *it < m_doc->GetCount())
            m_doc->m_records.RemoveAt(*it);
    for (int& index : m_rowOrder)
        index -= static_cast<int>(std::lower_bound(sorted.begin(), sorted.end(), index) - sorted.begin());
    m_doc->SetModified(1);
}

void CFuelListModel::CopyRows(const std::vector<int>& rows)
{
    m_clipboard.clear();
    for (int row : rows) {
        const int index = RecordOfRow(row);
        if (index >= 0)
            m_clipboard.push_back(m_doc->m_records[index]);
    }
}

int CFuelListModel::Paste(int row, bool& limitHit)
{
    limitHit = false;
    const int group = NewGroup();
    const int at = row >= 0 && row <= RecordRowCount() ? row : RecordRowCount();
    int pasted = 0;
    for (const DOCFUEL_DATA& record : m_clipboard) {
        if (m_doc->GetCount() >= kMaxFuelRecords) {
            m_doc->SetErrorCode(FEERR_LIMIT);
            limitHit = true;
            break;
        }
        Entry e;
        e.order = Snapshot();
        const int index = static_cast<int>(m_doc->m_records.Add(record));
        m_rowOrder.insert(m_rowOrder.begin() + at + pasted, index);
        e.record = ReadRecord(index);
        e.op = Entry::Add;
        e.group = group;
        e.index = index;
        m_undo.push_back(std::move(e));
        ++pasted;
    }
    ClearRedo();
    if (pasted)
        m_doc->SetModified(1);
    m_dateOrder = 0;
    return pasted;
}

int CFuelListModel::CheckMerge(const std::vector<int>& rows) const
{
    std::vector<int> records;
    bool contiguous = true;
    int previous = -2;
    for (int row : rows) {
        if (RecordOfRow(row) < 0)
            continue;
        if (previous >= 0 && row != previous + 1)
            contiguous = false;
        previous = row;
        records.push_back(RecordOfRow(row));
    }
    for (size_t i = 1; i < records.size(); ++i) {
        const DOCFUEL_DATA& a = m_doc->m_records[records[0]];
        const DOCFUEL_DATA& b = m_doc->m_records[records[i]];
        if (a.distanceUnit != b.distanceUnit || a.amountUnit != b.amountUnit || a.priceUnit != b.priceUnit)
            return 64;
    }
    if (m_sortColumn != 0 || m_sortDirection != 1 || !m_dateOrder || !contiguous || records.size() < 2)
        return 63;
    return 0;
}

int CFuelListModel::ApplyMerge(int keptIndex, const DOCFUEL_VIEW_DATA& keptBefore, const std::vector<int>& removed,
                               const std::vector<DOCFUEL_VIEW_DATA>& removedBefore)
{
    const int group = NewGroup();
    Entry kept;
    kept.record = keptBefore;
    kept.op = Entry::Edit;
    kept.group = group;
    kept.index = keptIndex;
    m_undo.push_back(std::move(kept));
    int firstRow = -1;
    for (int row = 0; row < RecordRowCount(); ++row)
        if (m_rowOrder[row] == keptIndex ||
            std::find(removed.begin(), removed.end(), m_rowOrder[row]) != removed.end()) {
            firstRow = row;
            break;
        }
    std::vector<int> recorded;
    for (size_t k = 0; k < removed.size(); ++k) {
        const int index = removed[k];
        Entry e;
        e.record = k < removedBefore.size() ? removedBefore[k] : ReadRecord(index);
        e.op = Entry::Delete;
        e.group = group;
        e.index = index - static_cast<int>(std::count_if(recorded.begin(), recorded.end(), [&](int r) { return r < index; }));
        e.order = Snapshot();
        m_undo.push_back(std::move(e));
        recorded.push_back(index);
    }
    ClearRedo();
    RemoveMarked(removed);
    for (INT_PTR i = 0; i < m_doc->m_records.GetSize(); ++i)
        m_doc->m_records[i].mark = 0;
    return firstRow;
}

// History ----------------------------------------------------------------

std::vector<WORD> CFuelListModel::Snapshot() const
{
    return std::vector<WORD>(m_rowOrder.begin(), m_rowOrder.end());
}

void CFuelListModel::Restore(const std::vector<WORD>& order)
{
    m_rowOrder.assign(order.begin(), order.end());
}

DOCFUEL_VIEW_DATA CFuelListModel::ReadRecord(int index) const
{
    DOCFUEL_VIEW_DATA r{};
    m_doc->GetRecordText(index, r);
    return r;
}

void CFuelListModel::InsertAt(int index, const DOCFUEL_VIEW_DATA& r)
{
    if (m_doc->InsertRecord(index, DOCFUEL_DATA{}))
        m_doc->SetRecordText(r, index);
}

bool CFuelListModel::RemoveAt(int index)
{
    if (index < 0 || index >= m_doc->GetCount())
        return false;
    m_doc->m_records.RemoveAt(index);
    return true;
}

void CFuelListModel::UndoEdit(std::vector<Entry>& from, std::vector<Entry>& to, int group)
{
    Entry& e = from.back();
    Entry back;
    back.record = ReadRecord(e.index);
    back.op = Entry::Edit;
    back.group = group;
    back.index = e.index;
    m_doc->SetRecordText(e.record, e.index);
    from.pop_back();
    to.push_back(std::move(back));
}

void CFuelListModel::UndoDelete(int group)
{
    Entry& e = m_undo.back();
    Entry back;
    back.op = Entry::Delete;
    back.group = group;
    back.index = e.index;
    back.order = Snapshot();
    InsertAt(e.index, e.record);
    Restore(e.order);
    m_undo.pop_back();
    m_redo.push_back(std::move(back));
}

void CFuelListModel::UndoAdd(int group)
{
    Entry& e = m_undo.back();
    Entry back;
    // What is removed now is what a redo brings back.
    back.record = e.index >= 0 && e.index < m_doc->GetCount() ? ReadRecord(e.index) : e.record;
    back.op = Entry::Add;
    back.group = group;
    back.index = e.index;
    back.order = Snapshot();
    RemoveAt(e.index);
    Restore(e.order);
    m_undo.pop_back();
    m_redo.push_back(std::move(back));
}

void CFuelListModel::RedoDelete(int group)
{
    Entry& e = m_redo.back();
    Entry back;
    back.record = ReadRecord(e.index);
    back.op = Entry::Delete;
    back.group = group;
    back.index = e.index;
    back.order = Snapshot();
    RemoveAt(e.index);
    Restore(e.order);
    m_redo.pop_back();
    m_undo.push_back(std::move(back));
}

void CFuelListModel::RedoAdd(int group)
{
    Entry& e = m_redo.back();
    Entry back;
    back.record = e.record;
    back.op = Entry::Add;
    back.group = group;
    back.index = e.index;
    back.order = Snapshot();
    InsertAt(e.index, e.record);
    Restore(e.order);
    m_redo.pop_back();
    m_undo.push_back(std::move(back));
}

void CFuelListModel::ReplaySort(std::vector<Entry>& from, std::vector<Entry>& to)
{
    Entry& e = from.back();
    Entry back;
    back.op = Entry::Sort;
    back.group = e.group;
    back.sortColumn = m_sortColumn;
    back.sortDirection = m_sortDirection;
    back.dateOrder = m_dateOrder;
    back.order = Snapshot();
    Restore(e.order);
    m_sortColumn = e.sortColumn;
    m_sortDirection = e.sortDirection;
    // The order restored is only as sorted as it was then.
    m_dateOrder = e.dateOrder;
    from.pop_back();
    to.push_back(std::move(back));
    SortChanged();
}

void CFuelListModel::Undo()
{
    if (m_undo.empty())
        return;
    const int group = m_undo.back().group;
    if (m_undo.back().op == Entry::Sort) {
        ReplaySort(m_undo, m_redo);
        return;
    }
    bool changed = false;
    while (!m_undo.empty() && m_undo.back().group == group) {
        switch (m_undo.back().op) {
        case Entry::Edit: UndoEdit(m_undo, m_redo, group); break;
        case Entry::Delete: UndoDelete(group); break;
        case Entry::Add: UndoAdd(group); break;
        default: m_undo.pop_back(); continue;
        }
        changed = true;
    }
    // The log differs from what was saved, whichever way it went.
    if (changed)
        m_doc->SetModified(1);
}

void CFuelListModel::Redo()
{
    if (m_redo.empty())
        return;
    const int group = m_redo.back().group;
    if (m_redo.back().op == Entry::Sort) {
        ReplaySort(m_redo, m_undo);
        return;
    }
    bool changed = false;
    while (!m_redo.empty() && m_redo.back().group == group) {
        switch (m_redo.back().op) {
        case Entry::Edit: UndoEdit(m_redo, m_undo, group); break;
        case Entry::Delete: RedoDelete(group); break;
        case Entry::Add: RedoAdd(group); break;
        default: m_redo.pop_back(); continue;
        }
        changed = true;
    }
    if (changed)
        m_doc->SetModified(1);
}

void CFuelListModel::ResetRows()
{
    m_rowOrder.clear();
    ClearUndo();
    ClearRedo();
}
