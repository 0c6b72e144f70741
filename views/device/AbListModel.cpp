#include "views/device/AbListModel.h"

#include <utility>

#include "common/ExchangeSort.h"
#include "common/FixedField.h"
#include "core/Global.h"

namespace {


}  // namespace

int CAbListModel::EntryOfRow(int row) const
{
    if (row == 0)
        return kHomeIndex;
    if (row < 1 || row > m_viewOrder.GetSize())
        return kNoEntry;
    return m_viewOrder[row - 1];
}

BOOL CAbListModel::ReadEntry(int index, DOCAB_UI_RECORD& rec) const
{
    rec = DOCAB_UI_RECORD{};
    return index == kHomeIndex ? m_doc.GetHome(&rec) : m_doc.GetEntry(index, &rec);
}

void CAbListModel::WriteEntry(int index, const DOCAB_UI_RECORD& rec)
{
    if (index == kHomeIndex)
        m_doc.SetHome(0, &rec);
    else
        m_doc.SetEntry(index, rec);
}

void CAbListModel::FreeEntry(int index)
{
    if (index >= 0 && index < AB_ENTRY_COUNT)
        m_doc.m_entries[index].Clear();
}

BOOL CAbListModel::RecordOfRow(int row, DOCAB_UI_RECORD& rec) const
{
    const int entry = EntryOfRow(row);
    return entry != kNoEntry && ReadEntry(entry, rec);
}

CString CAbListModel::CellText(const DOCAB_UI_RECORD& rec, int column)
{
    switch (column) {
    case ColName: return rec.name;
    case ColAddress: return rec.address;
    case ColPhone: return rec.phone;
    default: return CString();
    }
}

int CAbListModel::CategoryImage(int category)
{
    if (!IsGroupedModel(theGlobal.m_modelType))
        return category;
    if (category < 0 || category >= ICON_STOCK_GROUPED)
        return -1;
    return theGlobal.m_docIcon.m_groupTable[category].pickerIndex;
}

int CAbListModel::CategoryOfImage(int image)
{
    if (!IsGroupedModel(theGlobal.m_modelType))
        return image >= 0 && image <= AB_MAX_CATEGORY ? image : -1;
    // The card file holds categories 0 to 30: the first of those rows with the picture.
    return theGlobal.m_docIcon.FirstIconWithImage(image, AB_MAX_CATEGORY);
}

int CAbListModel::StorableImageCount()
{
    const int stock = theGlobal.m_docIcon.GetStockCount();
    if (!IsGroupedModel(theGlobal.m_modelType))
        return stock < AB_MAX_CATEGORY + 1 ? stock : AB_MAX_CATEGORY + 1;
    int count = 0;
    for (int row = 0; row <= AB_MAX_CATEGORY; ++row)
        count += theGlobal.m_docIcon.m_groupTable[row].isFirst ? 1 : 0;
    return count;
}

BOOL CAbListModel::SyncViewOrder()
{
    if (m_doc.GetEntryCount() == m_viewOrder.GetSize())
        return FALSE;
    m_viewOrder.RemoveAll();
    for (int i = 0; i < AB_ENTRY_COUNT; ++i)
        if (!m_doc.m_entries[i].IsFree())
            m_viewOrder.Add(static_cast<WORD>(i));
    return TRUE;
}

bool CAbListModel::ComesBefore(const DOCAB_UI_RECORD& b, const DOCAB_UI_RECORD& a, int column, int order) const
{
    if (column == ColIcon || column == ColPosition) {
        const int va = column == ColIcon ? a.category : a.positionKind, vb = column == ColIcon ? b.category : b.positionKind;
        return order ? vb < va : va < vb;
    }
    if (column < ColName || column > ColPhone)
        return false;
    const wchar_t* ta = column == ColName ? a.name : column == ColAddress ? a.address : a.phone;
    const wchar_t* tb = column == ColName ? b.name : column == ColAddress ? b.address : b.phone;
    const int cmp = order ? ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, ta, -1, tb, -1)
                          : ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, tb, -1, ta, -1);
    return cmp == CSTR_GREATER_THAN;
}

void CAbListModel::SortEntries(int n, int column, int order)
{
    if (n > m_viewOrder.GetSize() || n < 2 || column == kNoSort)
        return;
    // Each entry is read once and travels with its row, so the sort orders
    // exactly as reading at every comparison would; an unreadable one never moves.
    struct Entry {
        DOCAB_UI_RECORD record;
        bool readable;
    };
    std::vector<Entry> entries(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        Entry& e = entries[static_cast<size_t>(i)];
        e.readable = m_doc.GetEntry(m_viewOrder[i], &e.record) != FALSE;
    }
    ExchangeSort(m_viewOrder, 0, entries, [&](const Entry& b, const Entry& a) {
        return a.readable && b.readable && ComesBefore(b.record, a.record, column, order);
    });
}

void CAbListModel::ClickColumn(int column)
{
    const int k = column >= 0 && column < kColumnCount ? column : kNoSort;
    AB_OPERATE_RECORD rec;
    rec.kind = AB_OP_SORTED;
    rec.group = NewGroup();
    rec.sortColumn = m_sortColumn;
    rec.sortOrder = m_sortOrder;
    rec.viewOrder = CopyOrder();
    Push(std::move(rec));
    ClickSortColumn(k, m_sortColumn, m_sortOrder);
    SortEntries(m_doc.GetEntryCount(), m_sortColumn, m_sortOrder);
    SortChanged();
}

BOOL CAbListModel::CanEditCell(int row, int column) const
{
    if (row < 0 || column < 0)
        return FALSE;
    if (column == ColIcon)
        return row >= 1;
    if (column < ColName || column > ColPhone)
        return FALSE;
    DOCAB_UI_RECORD rec{};
    return RecordOfRow(row, rec) && rec.positionKind != kFlagFromMap;
}

int CAbListModel::FieldLimit(int column)
{
    switch (column) {
    case ColName: return 17;
    case ColAddress: return 35;
    case ColPhone: return 15;
    default: return 0;
    }
}

int CAbListModel::CheckFieldText(int column, CString& text)
{
    return CheckCellText(text, FieldLimit(column));
}

void CAbListModel::Push(AB_OPERATE_RECORD rec)
{
    m_undo.push_back(std::move(rec));
    m_redo.clear();
}

std::unique_ptr<CWordArray> CAbListModel::CopyOrder() const
{
    auto copy = std::make_unique<CWordArray>();
    copy->Copy(m_viewOrder);
    return copy;
}

void CAbListModel::SetFieldOfRows(const std::vector<int>& rows, int column, const CString& text, int category)
{
    if (column != ColIcon && (column < ColName || column > ColPhone))
        return;
    const int group = NewGroup();
    bool changed = false;
    for (int row : rows) {
        const int entry = EntryOfRow(row);
        DOCAB_UI_RECORD rec{};
        if (entry == kNoEntry || !ReadEntry(entry, rec))
            continue;
        // An entry placed from the map keeps the texts that go with its position.
        if (column != ColIcon && rec.positionKind == kFlagFromMap)
            continue;
        AB_OPERATE_RECORD step;
        step.kind = AB_OP_CHANGED;
        step.group = group;
        step.index = entry;
        step.entry = rec;
        Push(std::move(step));
        if (column == ColIcon)
            rec.category = category;
        else if (column == ColName)
            CopyField(rec.name, text.Left(17));
        else if (column == ColAddress)
            CopyField(rec.address, text.Left(35));
        else
            CopyField(rec.phone, text.Left(15));
        WriteEntry(entry, rec);
        changed = true;
    }
    if (changed)
        m_doc.SetModified(1);
}

BOOL CAbListModel::ChangeRow(int row, const DOCAB_UI_RECORD& rec)
{
    const int entry = EntryOfRow(row);
    DOCAB_UI_RECORD before{};
    if (entry == kNoEntry || !ReadEntry(entry, before))
        return FALSE;
    AB_OPERATE_RECORD step;
    step.kind = AB_OP_CHANGED;
    step.group = NewGroup();
    step.index = entry;
    step.entry = before;
    Push(std::move(step));
    WriteEntry(entry, rec);
    m_doc.SetModified(1);
    return TRUE;
}

int CAbListModel::AddNew(const DOCAB_UI_RECORD& rec)
{
    const int free = m_doc.FindFreeEntry();
    if (free < 0)
        return -1;
    AB_OPERATE_RECORD step;
    step.kind = AB_OP_ADDED;
    step.group = NewGroup();
    step.index = free;
    step.viewOrder = CopyOrder();
    Push(std::move(step));
    const int index = m_doc.AddEntry(rec);
    if (index >= 0)
        m_viewOrder.Add(static_cast<WORD>(index));
    m_doc.SetModified(1);
    return index;
}

void CAbListModel::DeleteRows(const std::vector<int>& rows)
{
    const int group = NewGroup();
    std::vector<int> positions;
    CWordArray before;
    before.Copy(m_viewOrder);
    for (int row : rows) {
        if (row < 1 || row > m_viewOrder.GetSize())
            continue;
        const int entry = m_viewOrder[row - 1];
        AB_OPERATE_RECORD step;
        step.kind = AB_OP_DELETED;
        step.group = group;
        step.index = entry;
        m_doc.GetEntry(entry, &step.entry);
        step.regDate = m_doc.m_entries[entry].m_rec.regDate;
        step.regTime = m_doc.m_entries[entry].m_rec.regTime;
        step.viewOrder = std::make_unique<CWordArray>();
        step.viewOrder->Copy(before);
        Push(std::move(step));
        FreeEntry(entry);
        positions.push_back(row - 1);
    }
    if (positions.empty())
        return;
    m_doc.SetModified(1);
    for (auto it = positions.rbegin(); it != positions.rend(); ++it)
        m_viewOrder.RemoveAt(*it);
}

BOOL CAbListModel::CopyRow(int row)
{
    if (row < 1)
        return FALSE;
    DOCAB_UI_RECORD rec{};
    if (!RecordOfRow(row, rec))
        return FALSE;
    m_clipboard.RemoveAll();
    m_clipboard.Add(rec);
    return TRUE;
}

int CAbListModel::Paste(int row)
{
    if (m_doc.GetEntryCount() >= AB_ENTRY_COUNT)
        return -1;
    if (!HasClipboard())
        return 0;
    int c = row;
    if (c < 1 || c > m_viewOrder.GetSize())
        c = static_cast<int>(m_viewOrder.GetSize()) + 1;
    const int free = m_doc.FindFreeEntry();
    if (free < 0)
        return -1;
    AB_OPERATE_RECORD step;
    step.kind = AB_OP_ADDED;
    step.group = NewGroup();
    step.index = free;
    step.entry = m_clipboard[0];
    step.viewOrder = CopyOrder();
    Push(std::move(step));
    m_viewOrder.InsertAt(c - 1, static_cast<WORD>(free));
    m_doc.AddEntry(m_clipboard[0]);
    m_doc.SetModified(1);
    return 1;
}

void CAbListModel::ResetAll()
{
    m_doc.ClearAll();
    m_doc.InitHome();
    m_doc.SetModified(0);
    ClearUndo();
    ClearRedo();
    m_viewOrder.RemoveAll();
    m_sortColumn = kNoSort;
    m_sortOrder = 1;
    SortChanged();
}

void CAbListModel::Undo() { Replay(m_undo, m_redo, true); }
void CAbListModel::Redo() { Replay(m_redo, m_undo, false); }

void CAbListModel::Replay(std::vector<AB_OPERATE_RECORD>& from, std::vector<AB_OPERATE_RECORD>& to, bool undo)
{
    if (from.empty())
        return;
    const int group = from.back().group;
    bool dataChanged = false;
    // A group is replayed newest record first; a sort is always one record.
    while (!from.empty() && from.back().group == group) {
        AB_OPERATE_RECORD rec = std::move(from.back());
        from.pop_back();
        AB_OPERATE_RECORD answer;
        answer.kind = rec.kind;
        answer.group = rec.group;
        answer.index = rec.index;
        switch (rec.kind) {
        case AB_OP_CHANGED:
            ReadEntry(rec.index, answer.entry);
            WriteEntry(rec.index, rec.entry);
            dataChanged = true;
            break;
        case AB_OP_DELETED:
            answer.viewOrder = CopyOrder();
            if (undo) {
                // The entry comes back as it was, its registration included.
                m_doc.SetEntry(rec.index, rec.entry);
                if (rec.index >= 0 && rec.index < AB_ENTRY_COUNT) {
                    m_doc.m_entries[rec.index].m_rec.regDate = rec.regDate;
                    m_doc.m_entries[rec.index].m_rec.regTime = rec.regTime;
                }
            } else {
                m_doc.GetEntry(rec.index, &answer.entry);
                if (rec.index >= 0 && rec.index < AB_ENTRY_COUNT) {
                    answer.regDate = m_doc.m_entries[rec.index].m_rec.regDate;
                    answer.regTime = m_doc.m_entries[rec.index].m_rec.regTime;
                }
                FreeEntry(rec.index);
            }
            if (rec.viewOrder)
                m_viewOrder.Copy(*rec.viewOrder);
            dataChanged = true;
            break;
        case AB_OP_ADDED:
            answer.viewOrder = CopyOrder();
            if (undo) {
                m_doc.GetEntry(rec.index, &answer.entry);
                FreeEntry(rec.index);
            } else {
                m_doc.SetEntry(rec.index, rec.entry);
            }
            if (rec.viewOrder)
                m_viewOrder.Copy(*rec.viewOrder);
            dataChanged = true;
            break;
        case AB_OP_SORTED:
            answer.sortColumn = m_sortColumn;
            answer.sortOrder = m_sortOrder;
            answer.viewOrder = CopyOrder();
            if (rec.viewOrder)
                m_viewOrder.Copy(*rec.viewOrder);
            m_sortColumn = rec.sortColumn;
            m_sortOrder = rec.sortOrder;
            SortChanged();
            to.push_back(std::move(answer));
            return;
        default:
            continue;  // an unknown step is dropped
        }
        to.push_back(std::move(answer));
    }
    if (dataChanged)
        m_doc.SetModified(1);
}
