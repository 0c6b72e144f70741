#include "views/poi/PoiHistory.h"

namespace {
std::unique_ptr<CWordArray> Copy(const CWordArray& order)
{
    auto copy = std::make_unique<CWordArray>();
    copy->Copy(order);
    return copy;
}
}  // namespace

int CPoiHistory::NewGroup() const
{
    return m_undo.empty() ? 0 : m_undo.back().group + 1;
}

void CPoiHistory::Push(PI_OPERATE_RECORD entry)
{
    m_undo.push_back(std::move(entry));
    ClearRedo();
}

void CPoiHistory::RecordChanged(int group, int index, const DOCPI_RECORD& before)
{
    PI_OPERATE_RECORD e;
    e.kind = PI_OP_CHANGED;
    e.group = group;
    e.index = index;
    e.poi = before;
    Push(std::move(e));
}

void CPoiHistory::RecordAdded(int group, int index, const DOCPI_RECORD& added, const CWordArray& orderBefore)
{
    PI_OPERATE_RECORD e;
    e.kind = PI_OP_ADDED;
    e.group = group;
    e.index = index;
    e.poi = added;
    e.viewOrder = Copy(orderBefore);
    Push(std::move(e));
}

void CPoiHistory::RecordSorted(int group, int key, int order, const CWordArray& orderBefore)
{
    PI_OPERATE_RECORD e;
    e.kind = PI_OP_SORTED;
    e.group = group;
    e.sortKey = key;
    e.sortOrder = order;
    e.viewOrder = Copy(orderBefore);
    Push(std::move(e));
}

void CPoiHistory::RecordDeletion(int group, const std::vector<int>& recordIndices, const CWordArray& orderBefore)
{
    for (size_t i = 0; i < recordIndices.size(); ++i) {
        int lower = 0;
        for (size_t j = 0; j < i; ++j)
            if (recordIndices[j] < recordIndices[i])
                ++lower;
        PI_OPERATE_RECORD e;
        e.kind = PI_OP_DELETED;
        e.group = group;
        e.index = recordIndices[i] - lower;
        e.poi = Current(recordIndices[i]);
        e.viewOrder = Copy(orderBefore);
        Push(std::move(e));
    }
}

std::unique_ptr<CWordArray> CPoiHistory::CopyOfOrder() const
{
    return Copy(m_view.HistoryViewOrder());
}

void CPoiHistory::SetOrder(const CWordArray* order)
{
    // Kind 4 copies have the length of the view order (the history is cleared
    // whenever the document is replaced); copying the whole array keeps that
    // safe even if they ever differed.
    if (order)
        m_view.HistoryViewOrder().Copy(*order);
}

DOCPI_RECORD CPoiHistory::Current(int index) const
{
    DOCPI_RECORD rec{};
    m_view.HistoryDocument().GetRecord(index, &rec);
    return rec;
}

void CPoiHistory::Undo()
{
    Replay(m_undo, m_redo, true);
}

void CPoiHistory::Redo()
{
    Replay(m_redo, m_undo, false);
}

void CPoiHistory::Replay(std::vector<PI_OPERATE_RECORD>& from, std::vector<PI_OPERATE_RECORD>& to, bool undo)
{
    if (from.empty())
        return;
    CDocPi& doc = m_view.HistoryDocument();
    const int group = from.back().group;
    const bool sortOnly = from.back().kind == PI_OP_SORTED;
    bool applied = false;
    while (!from.empty() && from.back().group == group) {
        PI_OPERATE_RECORD e = std::move(from.back());
        from.pop_back();
        PI_OPERATE_RECORD mirror;
        mirror.kind = e.kind;
        mirror.group = group;
        mirror.index = e.index;
        bool changedRecords = false;
        switch (e.kind) {
        case PI_OP_CHANGED:
            mirror.poi = Current(e.index);
            doc.SetRecord(e.index, e.poi);
            break;
        case PI_OP_DELETED:
            mirror.viewOrder = CopyOfOrder();
            if (undo) {
                doc.InsertRecord(e.index, e.poi);
            } else {
                mirror.poi = Current(e.index);
                if (e.index >= 0 && e.index < doc.GetRecordCount())
                    doc.m_records.RemoveAt(e.index);
            }
            SetOrder(e.viewOrder.get());
            changedRecords = true;
            break;
        case PI_OP_ADDED:
            mirror.viewOrder = CopyOfOrder();
            if (undo) {
                mirror.poi = Current(e.index);
                if (e.index >= 0 && e.index < doc.GetRecordCount())
                    doc.m_records.RemoveAt(e.index);
            } else {
                doc.InsertRecord(e.index, e.poi);
            }
            SetOrder(e.viewOrder.get());
            changedRecords = true;
            break;
        case PI_OP_SORTED:
            mirror.sortKey = m_view.HistorySortKey();
            mirror.sortOrder = m_view.HistorySortOrder();
            mirror.viewOrder = CopyOfOrder();
            SetOrder(e.viewOrder.get());
            m_view.HistorySetSort(e.sortKey, e.sortOrder);
            break;
        default:
            continue;  // removed without effect
        }
        applied = true;
        to.push_back(std::move(mirror));
        if (changedRecords)
            m_view.HistoryDocumentChanged();
        if (sortOnly)
            break;
    }
    // What undo or redo leaves differs from what was saved (or is unknown):
    // leaving the view must ask before it is dropped.
    if (applied)
        doc.SetModified(1);
    m_view.HistoryRefresh();
}
