#pragma once
// What the address-book view knows besides its window: which entry each row
// shows (row 0 is always the home entry), the sort, the one-entry clipboard
// and the edit history, over the address-book document. Every change to
// entries or to the row order goes through here, so that it is recorded and
// can be undone.
//
// Undo and redo mark the book modified, as every other change does, so that
// leaving the view asks before their result is dropped.
#include <memory>
#include <vector>

#include "doc/DocAb.h"
#include "frame/CellText.h"

enum AbOperation { AB_OP_CHANGED = 1, AB_OP_DELETED = 2, AB_OP_ADDED = 3, AB_OP_SORTED = 4 };

// One step of the history.
struct AB_OPERATE_RECORD {
    DOCAB_UI_RECORD entry{};  // the data the step restores, where the kind needs it
    int kind = 0;
    int group = 0;
    int index = 0;  // the entry; -1 the home entry (kind 1 only)
    int sortColumn = 0;
    int sortOrder = 0;
    std::unique_ptr<CWordArray> viewOrder;  // kinds 2, 3 and 4
    // Kind 2: when the deleted entry was first registered, given back by undo.
    DWORD regDate = 0, regTime = 0;
};

class CAbListModel {
public:
    enum { kColumnCount = 5, kNoSort = 5, kHomeIndex = -1, kNoEntry = -2 };
    enum { ColIcon = 0, ColPosition = 1, ColName = 2, ColAddress = 3, ColPhone = 4 };
    // Results of CheckFieldText.
    enum { FieldRefused = CellTextRefused, FieldOk = CellTextOk, FieldCut = CellTextCut };
    // The position flag of an entry whose position came from the map page.
    enum { kFlagFromMap = AB_FLAG_FROM_MAP };

    explicit CAbListModel(CDocAb& doc) : m_doc(doc) {}
    virtual ~CAbListModel() = default;
    CAbListModel(const CAbListModel&) = delete;
    CAbListModel& operator=(const CAbListModel&) = delete;

    CDocAb& Document() const { return m_doc; }

    // The list's rows: the home entry and one per used entry.
    int RowCount() const { return m_doc.GetEntryCount() + 1; }
    // The entry a row shows: kHomeIndex for row 0, kNoEntry past the rows.
    int EntryOfRow(int row) const;
    BOOL RecordOfRow(int row, DOCAB_UI_RECORD& rec) const;
    // A cell's text (columns 2 to 4; the others have none).
    static CString CellText(const DOCAB_UI_RECORD& rec, int column);
    // The picture of a category in the icon document's stock list, or -1.
    static int CategoryImage(int category);
    // The category that shows a picture of that list, -1 when the card file
    // cannot store any category with it.
    static int CategoryOfImage(int image);
    // How many pictures of that list an entry can take (the in-place picker's limit).
    static int StorableImageCount();

    // Rebuilds the row order in entry order when its length no longer matches
    // the entry count; TRUE when it did.
    BOOL SyncViewOrder();
    // Exchange sort of the first n rows below the home by column (0..4; 5 keeps the order).
    void SortEntries(int n, int column, int order);
    // A header click: recorded, then sorted (the same column again turns the order round).
    void ClickColumn(int column);

    // Whether the in-place editor may open on a cell.
    BOOL CanEditCell(int row, int column) const;
    static int FieldLimit(int column);
    // An in-place text for columns 2..4: FieldRefused when the unit cannot show
    // a character, FieldCut when it was cut to the field's length.
    static int CheckFieldText(int column, CString& text);
    // One action over rows (ascending, row 0 the home): a text for columns 2..4
    // or a category for column 0. Entries placed from the map keep their texts.
    void SetFieldOfRows(const std::vector<int>& rows, int column, const CString& text, int category);
    // A row's entry replaced (edit dialog, map look-up, icon) as one action.
    BOOL ChangeRow(int row, const DOCAB_UI_RECORD& rec);
    // A new entry at the end; its index, or -1 when the book is full.
    int AddNew(const DOCAB_UI_RECORD& rec);
    // The entries of the rows (ascending, none of them row 0) freed as one action.
    void DeleteRows(const std::vector<int>& rows);
    // A row's entry (not the home) into the clipboard.
    BOOL CopyRow(int row);
    BOOL HasClipboard() const { return m_clipboard.GetSize() > 0; }
    // Pastes the clipboard just above row (at the end when row is not an
    // entry row): -1 with the book full, 0 without a clipboard record, 1 pasted.
    int Paste(int row);
    // Empties the book, its history and the sort (leaving the view). The
    // dropped book has nothing left to save, so it is not modified.
    void ResetAll();

    BOOL CanUndo() const { return !m_undo.empty(); }
    BOOL CanRedo() const { return !m_redo.empty(); }
    void Undo();
    void Redo();
    void ClearUndo() { m_undo.clear(); }
    void ClearRedo() { m_redo.clear(); }
    const std::vector<AB_OPERATE_RECORD>& UndoStack() const { return m_undo; }
    const std::vector<AB_OPERATE_RECORD>& RedoStack() const { return m_redo; }

    CWordArray m_viewOrder;
    int m_sortColumn = kNoSort;
    int m_sortOrder = 1;
    CArray<DOCAB_UI_RECORD> m_clipboard;

protected:
    // The sort column or order changed (the view moves the header's mark).
    virtual void SortChanged() {}

private:
    int NewGroup() const { return m_undo.empty() ? 0 : m_undo.back().group + 1; }
    void Push(AB_OPERATE_RECORD rec);
    BOOL ReadEntry(int index, DOCAB_UI_RECORD& rec) const;
    void WriteEntry(int index, const DOCAB_UI_RECORD& rec);
    void FreeEntry(int index);
    std::unique_ptr<CWordArray> CopyOrder() const;
    // One step back (undo) or forward (redo): the record's answer goes onto the other stack.
    void Replay(std::vector<AB_OPERATE_RECORD>& from, std::vector<AB_OPERATE_RECORD>& to, bool undo);
    // b comes before a in the column's order.
    bool ComesBefore(const DOCAB_UI_RECORD& b, const DOCAB_UI_RECORD& a, int column, int order) const;

    CDocAb& m_doc;
    std::vector<AB_OPERATE_RECORD> m_undo, m_redo;
};
