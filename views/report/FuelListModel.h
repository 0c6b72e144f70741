#pragma once
// The fuel list's rules without a window: which record each row shows, the
// sort by a column, the edits, deletions, pastes and merges of the user, and
// the undo and redo histories that replay them group by group.
//
// Rows map to record indices through the row order; while fewer than 1000
// records exist, one more row follows the records: the new-record row.
#include <functional>
#include <vector>

#include "doc/DocFe.h"
#include "views/report/FuelText.h"

// One history entry: what to restore and how.
struct DOCFUEL_OPERATE_DATA {
    enum { Edit = 1, Delete = 2, Add = 3, Sort = 4 };
    DOCFUEL_VIEW_DATA record{};
    int op = 0;
    int group = 0;
    int index = -1;
    int sortColumn = kFuelNoSort;
    std::vector<WORD> order;  // the row order at the time (delete, add, sort)
    int sortDirection = 1;
    int dateOrder = 0;  // the date-order flag that goes with the sort (sort)
};

class CFuelListModel {
public:
    explicit CFuelListModel(CDocFe* doc) : m_doc(doc) {}
    virtual ~CFuelListModel() = default;

    int RowCount() const;
    int RecordRowCount() const { return static_cast<int>(m_rowOrder.size()); }
    bool IsNewRow(int row) const;
    // The record index of a row, -1 for the new-record row or beyond.
    int RecordOfRow(int row) const;

    // Rebuilds the row order from the document when it is empty; a rebuilt
    // list is shown in date order.
    void SyncRowOrder();
    void SortRecords(int count, int first, int column, int direction);
    void SortByColumn(int column, int direction);
    // A header click: recorded, then the column sorted (the same column again
    // reverses the direction).
    void ClickColumn(int column);

    // A checked edit of a cell: apply changes the display record. On the
    // new-record row a record is made first. Returns the record index, -1
    // when nothing was stored.
    int EditCell(int row, int column, const std::function<void(DOCFUEL_VIEW_DATA&)>& apply);
    // Removes the records of the rows (record rows only), recorded as one group.
    void DeleteRows(const std::vector<int>& rows);
    void CopyRows(const std::vector<int>& rows);
    // Inserts the clipboard at a row (-1: after the last record). Returns the
    // number pasted; limitHit when the log became full on the way.
    int Paste(int row, bool& limitHit);
    // 0 when the rows may be merged, else the UI string that says why not
    // (64 different units or currency, 63 not adjacent or not in date order).
    int CheckMerge(const std::vector<int>& rows) const;
    // Records and applies a merge the dialog stored: the kept record's value
    // before, and the records it marked (their values before), in its order.
    // Returns the first merged row.
    int ApplyMerge(int keptIndex, const DOCFUEL_VIEW_DATA& keptBefore, const std::vector<int>& removed,
                   const std::vector<DOCFUEL_VIEW_DATA>& removedBefore);

    void Undo();
    void Redo();
    void ClearUndo() { m_undo.clear(); }
    void ClearRedo() { m_redo.clear(); }
    // Empties rows, clipboard stays, both histories.
    void ResetRows();

    static __int64 SortKey(const DOCFUEL_DATA& r, int column);

    CDocFe* m_doc;
    std::vector<int> m_rowOrder;
    int m_sortColumn = kFuelNoSort;
    int m_sortDirection = 1;
    int m_dateOrder = 0;
    std::vector<DOCFUEL_OPERATE_DATA> m_undo, m_redo;
    std::vector<DOCFUEL_DATA> m_clipboard;

protected:
    // The sort shown changed (the view moves its header arrow).
    virtual void SortChanged() {}

    int NewGroup() const { return m_undo.empty() ? 0 : m_undo.back().group + 1; }
    std::vector<WORD> Snapshot() const;
    void Restore(const std::vector<WORD>& order);
    DOCFUEL_VIEW_DATA ReadRecord(int index) const;
    void InsertAt(int index, const DOCFUEL_VIEW_DATA& r);
    bool RemoveAt(int index);
    // Removes the marked records and their rows; row entries above shift down.
    void RemoveMarked(const std::vector<int>& indices);

    void UndoEdit(std::vector<DOCFUEL_OPERATE_DATA>& from, std::vector<DOCFUEL_OPERATE_DATA>& to, int group);
    void UndoDelete(int group);
    void UndoAdd(int group);
    void RedoDelete(int group);
    void RedoAdd(int group);
    void ReplaySort(std::vector<DOCFUEL_OPERATE_DATA>& from, std::vector<DOCFUEL_OPERATE_DATA>& to);
};
