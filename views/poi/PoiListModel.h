#pragma once
// What a POI list view knows besides its window: which record each row shows,
// the sort, the one-record clipboard and the edit history, over the view's
// document. Every change to records or row order goes through here, so that
// it is recorded and can be undone.
#include <vector>

#include "frame/CellText.h"
#include "views/poi/PoiHistory.h"

class CPoiListModel : public IPoiHistoryView {
public:
    enum { kNoSort = 6, kColumnCount = 6 };
    // Results of CheckFieldText.
    enum { FieldRefused = CellTextRefused, FieldOk = CellTextOk, FieldCut = CellTextCut };

    explicit CPoiListModel(CDocPi* doc = nullptr) : m_doc(doc) {}
    ~CPoiListModel() override = default;

    void SetDocument(CDocPi* doc) { m_doc = doc; }
    CDocPi& Document() const { return *m_doc; }

    // The record shown in a row; FALSE for a row or record that is not there.
    BOOL RecordOfRow(int row, DOCPI_RECORD& rec) const;
    // A cell's text as the list shows it.
    static CString CellText(const DOCPI_RECORD& rec, int column);

    // Rebuilds the row order as the document's order when its length no longer
    // matches the record count; TRUE when it did.
    BOOL SyncViewOrder();
    // Exchange sort of the first n rows by key (0..5; 6 keeps the order).
    void SortByColumn(int n, int key, int ascending);
    // A column header click: recorded, then sorted (the same column again
    // turns the order round).
    void ClickColumn(int column);

    // The record of a row replaced (the edit dialog).
    BOOL ChangeRow(int row, const DOCPI_RECORD& rec);
    // An in-place text for column 2..5: FieldRefused when the unit cannot show
    // a character, FieldCut when it was cut to the field's length.
    static int CheckFieldText(int column, CString& text);
    // The text stored in that column of every row, as one action.
    void SetFieldOfRows(const std::vector<int>& rows, int column, const CString& text);
    // Appends a new record; FALSE at the document's limit.
    BOOL AddNew(const DOCPI_RECORD& rec);
    // Removes the records of the rows (ascending) as one action.
    void DeleteRows(const std::vector<int>& rows);
    // The record of a row into the clipboard.
    BOOL CopyRow(int row);
    BOOL HasClipboard() const { return m_clipboard.GetSize() > 0; }
    // Pastes the clipboard above row (after the last row when row is not one);
    // the document appends it. -1 at the document's limit, 0 without a
    // clipboard record, 1 when pasted.
    int Paste(int row);
    // Clears the positions of the rows' records as one action.
    void ResetPositions(const std::vector<int>& rows);
    // Empties document, clipboard, history and sort (leaving the view).
    void ResetAll();

    BOOL CanUndo() const { return m_history.CanUndo(); }
    BOOL CanRedo() const { return m_history.CanRedo(); }
    void Undo() { m_history.Undo(); }
    void Redo() { m_history.Redo(); }
    void ClearUndo() { m_history.ClearUndo(); }
    void ClearRedo() { m_history.ClearRedo(); }
    const CPoiHistory& History() const { return m_history; }

    // IPoiHistoryView
    CDocPi& HistoryDocument() override { return *m_doc; }
    CWordArray& HistoryViewOrder() override { return m_viewOrder; }
    int HistorySortKey() const override { return m_sortKey; }
    int HistorySortOrder() const override { return m_sortOrder; }
    void HistorySetSort(int key, int order) override;
    void HistoryDocumentChanged() override {}
    void HistoryRefresh() override { SyncViewOrder(); }

    CWordArray m_viewOrder;
    int m_sortKey = kNoSort;
    int m_sortOrder = 1;
    CArray<DOCPI_RECORD> m_clipboard;

protected:
    int RecordIndex(int row) const;

    CDocPi* m_doc;
    CPoiHistory m_history{*this};
};
