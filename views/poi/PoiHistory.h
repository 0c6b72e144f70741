#pragma once
// The undo and redo stacks of a POI list view. Every user action that changes
// the view's document or the order of its rows records one group of entries;
// undo replays the newest group backwards, redo the newest undone group
// forwards. The history belongs to the view and lives only in memory.
//
// Undo and redo mark the document modified, so leaving the view asks before
// their result is dropped.
#include <memory>
#include <vector>

#include "classlib/Afx.h"
#include "doc/DocPi.h"

enum PoiOperation { PI_OP_CHANGED = 1, PI_OP_DELETED = 2, PI_OP_ADDED = 3, PI_OP_SORTED = 4 };

// One history entry (what each kind holds: see the Record functions).
struct PI_OPERATE_RECORD {
    DOCPI_RECORD poi{};
    int kind = 0;
    int group = 0;
    int index = 0;
    int sortKey = 0;
    int sortOrder = 0;
    std::unique_ptr<CWordArray> viewOrder;  // kinds 2, 3 and 4
};

// What the history works on: the view's document, its row order and its sort.
class IPoiHistoryView {
public:
    virtual ~IPoiHistoryView() = default;
    virtual CDocPi& HistoryDocument() = 0;
    virtual CWordArray& HistoryViewOrder() = 0;
    virtual int HistorySortKey() const = 0;
    virtual int HistorySortOrder() const = 0;
    // Takes the sort key and order and shows the list's sort arrow for them.
    virtual void HistorySetSort(int key, int order) = 0;
    // The document's records changed (all views refresh).
    virtual void HistoryDocumentChanged() = 0;
    // The list shows the document again.
    virtual void HistoryRefresh() = 0;
};

class CPoiHistory {
public:
    explicit CPoiHistory(IPoiHistoryView& view) : m_view(view) {}

    // The group number of a new action: the newest undo group + 1, or 0.
    int NewGroup() const;
    // An action's entries; each clears the redo stack.
    void RecordChanged(int group, int index, const DOCPI_RECORD& before);
    void RecordAdded(int group, int index, const DOCPI_RECORD& added, const CWordArray& orderBefore);
    void RecordSorted(int group, int key, int order, const CWordArray& orderBefore);
    // A deletion of records (indices in the document, in row order), recorded
    // before they are removed: each index is lowered by the records of the same
    // deletion recorded before it with a smaller index, so undo (newest first)
    // and redo (oldest first) land on the same records.
    void RecordDeletion(int group, const std::vector<int>& recordIndices, const CWordArray& orderBefore);

    BOOL CanUndo() const { return !m_undo.empty(); }
    BOOL CanRedo() const { return !m_redo.empty(); }
    void Undo();
    void Redo();
    void ClearUndo() { m_undo.clear(); }
    void ClearRedo() { m_redo.clear(); }

    const std::vector<PI_OPERATE_RECORD>& UndoStack() const { return m_undo; }
    const std::vector<PI_OPERATE_RECORD>& RedoStack() const { return m_redo; }

private:
    void Push(PI_OPERATE_RECORD entry);
    // Applies the newest group of from, pushing mirror entries onto to.
    void Replay(std::vector<PI_OPERATE_RECORD>& from, std::vector<PI_OPERATE_RECORD>& to, bool undo);
    std::unique_ptr<CWordArray> CopyOfOrder() const;
    void SetOrder(const CWordArray* order);
    DOCPI_RECORD Current(int index) const;

    IPoiHistoryView& m_view;
    std::vector<PI_OPERATE_RECORD> m_undo, m_redo;  // newest last
};
