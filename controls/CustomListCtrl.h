#pragma once
// The program's report list: a self-drawn window with the calls and
// notifications of the system list view in report mode (LVITEMW, LVCOLUMNW,
// LVN_*, LVS_*) on a row store of its own, a skinned header and skinned scroll
// bars in its non-client area, and in-place cell editors.
//
// Files: CustomListCtrl.cpp rows, columns and creation; CustomListDraw.cpp
// painting, layout, scrolling and the header's notifications;
// CustomListInput.cpp mouse, keyboard and the notifications to the parent;
// CustomListEdit.cpp the editing protocol.
//
// Owners may change m_items directly (SetSize, RemoveAt, _listitem::SetText),
// then call UpdateScrollBars and repaint. Every row or column index given to
// the calls is checked: out of range (negative included) is refused.
#include <windows.h>
#include <commctrl.h>

#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "controls/CustomHeaderCtrl.h"
#include "controls/InPlaceDate.h"
#include "controls/InPlaceEdit.h"
#include "controls/InPlaceIconList.h"
#include "controls/InPlaceList.h"
#include "controls/InPlaceTime.h"
#include "controls/ScrollHostWnd.h"

class CCustomListCtrl : public CScrollHostWnd {
public:
    enum { MaxColumns = 57, TextBufferSize = 2048 };
    enum { HeaderId = 0xE900, HScrollId = 0xE901, VScrollId = 0xE902 };
    enum { TimerBand = 100, TimerClickEdit = 101, ClickEditDelay = 50 };
    enum { BandBit = 0x10, BoldBit = 0x40 };
    // Editor types of a column (ColumnPropertyData::type).
    enum {
        EditNone = 0, EditChoice = 1, EditIcon = 2, EditText = 3, EditIconOrText = 4, EditTextNoIme = 5,
        EditIconOrTextNoIme = 6, EditNoWindow = 7, EditTime = 8, EditDate = 9, EditCheck = 10, EditReadOnly = 11
    };

    struct _listitem {
        LVITEMW item;
        LPWSTR text[MaxColumns];
        int image[MaxColumns];
        LPARAM param[MaxColumns];

        _listitem();
        explicit _listitem(const LVITEMW& from);
        _listitem(const _listitem& other);
        _listitem(_listitem&& other) noexcept;
        _listitem& operator=(const _listitem& other);
        _listitem& operator=(_listitem&& other) noexcept;
        ~_listitem();
        // Frees the old text when it was allocated; NULL and LPSTR_TEXTCALLBACKW are kept as they are.
        void SetText(int column, LPCWSTR newText);
        static BOOL IsTextAllocated(LPCWSTR t) { return t != nullptr && t != LPSTR_TEXTCALLBACKW; }

    private:
        void Free();
        void CopyFrom(const _listitem& other);
        void Steal(_listitem& other);
    };

    struct ColumnPropertyData {
        int type = EditNone;
        CString options;  // choices of type 1, '\n'-separated
    };

    CCustomListCtrl();
    ~CCustomListCtrl() override;

    // Drawing virtuals.
    virtual void MeasureItem(MEASUREITEMSTRUCT* mis) {}
    virtual void DrawItem(DRAWITEMSTRUCT* dis);
    virtual void DrawSubItem(CDC* dc, RECT* cell, int row, int column);
    virtual void DrawList(CDC* dc);
    // What a cell shows: its text (null for none; owner data is copied into
    // buffer), image and the row's state. FALSE when owner data has no item.
    BOOL GetCellContent(int row, int column, wchar_t* buffer, int size, LPCWSTR& text, int& image, UINT& state) const;
    // Draws a cell's image 2 pixels from the cell's left edge, whatever the
    // column's alignment, and moves rc.left past it.
    void DrawCellImageAtLeft(CDC* dc, RECT& rc, int column, int image, UINT state) const;

    // The pieces of DrawItem, for derived lists that draw their rows themselves.
    static constexpr COLORREF SelectedBack = 0x6CD1D0, SelectedText = 0x000000, PlainText = 0xFEFEFE,
                              ReadOnlyText = 0x808080;
    struct RowLook {
        int row;  // -1 for the pseudo-rows below the last
        bool selected;
        COLORREF back, text;
    };
    // The row dis draws and its colours; selects its font (bold when selected).
    RowLook BeginRowDraw(CDC& dc, const DRAWITEMSTRUCT* dis);
    // The header width of a column, the first one less the indent.
    int GetColumnWidth(int column) const;
    // The focus frame of the current cell; the text then goes on transparently.
    static void DrawCellFocus(CDC& dc, const RECT& cell);
    // The grid line along the cell's right edge.
    void DrawGridLine(CDC& dc, const RECT& cell) const;
    // The row's background: the selection skin from m_skinFromColumn on when
    // the row is selected (then TRUE, and the text goes on transparently),
    // else the flat colour.
    bool DrawRowBack(CDC& dc, const RECT& rc, const RowLook& look, BOOL tileMid = FALSE);

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

    // Rows.
    int GetItemCount() const { return static_cast<int>(m_items.GetSize()); }
    int InsertItem(const LVITEMW* item);
    BOOL GetItem(LVITEMW* item) const;
    BOOL SetItem(const LVITEMW* item);
    BOOL SetItemState(int row, UINT mask, UINT value);
    UINT GetItemState(int row, UINT mask) const;
    LPARAM GetItemData(int row, int column) const;
    int GetItemImage(int row, int column) const;
    int GetSelectedCount() const;
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    int GetCurSel() const;
    void SetCurSel(int row);
    void NotifySelChange();
    BOOL IsRow(int row) const { return row >= 0 && row < GetItemCount(); }
    static BOOL IsColumn(int column) { return column >= 0 && column < MaxColumns; }

    // Columns.
    int GetColumnCount() const { return m_header.GetItemCount(); }
    int InsertColumn(int index, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1);
    int InsertColumnRecord(int index, const LVCOLUMNW* column);
    void SetColumnAlignments(int count, ...);
    int GetColumnAlignment(int column) const;
    void SetAllColumnsSortable(BOOL sortable);
    void SetColumnsSortable(int count, ...);
    void SetSortArrow(int column, BOOL ascending);
    // The previous list, as a temporary wrapper (NULL when there was none or it was our own copy).
    CImageList* SetImageList(CImageList* list, int which);

    // Layout and scrolling (CustomListDraw.cpp).
    int UpdateScrollBars();
    BOOL EnsureVisible(int row);
    BOOL SetFocusColumn(int column, BOOL scroll);
    BOOL GetSubItemRect(int row, int column, int area, RECT* rc) const;
    int SubItemHitTest(LVHITTESTINFO* info) const;
    void AutoSizeColumns();
    void AutoWidth(int column);
    int GetRowHeight() const;

    // Editing (CustomListEdit.cpp).
    HWND EditSubItem(int row, int column);
    void EndEdit(BOOL cancel);
    // Commits the open edit, if any, and drops a pending click edit. Views
    // call it before they take the list's values (OK, a view switch).
    void EndAnyEdit();
    static LRESULT CALLBACK EditorWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    // Public state, set by owners and derived lists.
    CArray<_listitem> m_items;
    CArray<ColumnPropertyData> m_columnProps;
    BOOL m_useSelectionSkin = TRUE;
    // A selected row's skin and the focus frame start at this column; the
    // columns before it (icons, ticks) keep the list background.
    int m_skinFromColumn = 0;
    // The skin ends just inside this column's right edge, the rest of the row
    // keeping the background; -1: it runs to the row's end.
    int m_skinToColumn = -1;
    BOOL m_cellMode = FALSE;
    BOOL m_tabNavigation = FALSE;
    BOOL m_headerShown = TRUE;
    COLORREF m_bkColor = 0x231E1E;
    COLORREF m_gridColor = 0x817E7E;
    int m_iconLimit = 0;
    CCustomHeaderCtrl m_header;
    CCustomScrollBar m_hScroll;
    CCustomScrollBar m_vScroll;

    // Internal state, readable by derived lists and tests.
    DIB_IMAGE m_selSkinMid, m_selSkinLeft, m_selSkinRight;
    CFont m_font, m_fontBold, m_fontDate, m_fontChoice;
    HIMAGELIST m_imageListSmall = nullptr, m_imageListSub = nullptr;
    BOOL m_ownSmall = FALSE, m_ownSub = FALSE;  // our own duplicates, destroyed by us
    SIZE m_iconSmall{0, 0}, m_iconSub{0, 0};
    int m_rowHeight = 36;
    int m_indent = 0;
    int m_topIndex = 0;
    int m_rowsPerPage = 1;
    int m_focusItem = -1;
    int m_anchorItem = -1;
    int m_toggleItem = -1;
    BOOL m_rangeClick = FALSE;
    BOOL m_hasFocus = FALSE;
    BOOL m_dragArmed = FALSE;
    POINT m_downPoint{0, 0};
    BOOL m_bandActive = FALSE;
    POINT m_bandStart{0, 0}, m_bandEnd{0, 0};
    HWND m_editorWnd = nullptr;
    WNDPROC m_editorOldProc = nullptr;
    BOOL m_editing = FALSE;
    int m_editorKind = EditNone;
    BOOL m_clickEditPending = FALSE;
    BOOL m_clickOnIcon = FALSE;
    BOOL m_toggleRequest = FALSE;
    BOOL m_togglePending = FALSE;  // a check toggle was posted and not yet committed
    CString m_typedText;
    CInPlaceEdit m_edit;
    CInPlaceList m_choiceList;
    CInPlaceIconList m_iconList;
    CInPlaceDate m_dateEditor;
    CInPlaceTime m_timeEditor;
    HIMAGELIST m_iconLimitList = nullptr;  // the picker's cut-down copy during an icon edit
    int m_curRow = -1;
    int m_curCol = -1;
    CWordArray m_columnAlign;
    int m_sortColumn = -1;
    BOOL m_sortAscending = TRUE;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return FALSE; }
    void OnSize(UINT type, int cx, int cy);
    void OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params);
    LRESULT OnNcHitTest(CPoint pt);
    void OnNcPaint();
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);
    void OnHeaderNotify(UINT id, NMHDR* nm, LRESULT* result);
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnLButtonDblClk(UINT flags, CPoint pt) { OnLButtonDown(flags, pt); }
    void OnLButtonUp(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    void OnRButtonDown(UINT flags, CPoint pt);
    void OnRButtonUp(UINT flags, CPoint pt);
    void OnMButtonDown(UINT flags, CPoint pt);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    UINT OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void OnTimer(UINT_PTR id);
    void OnSetFocus(CWnd* old);
    void OnKillFocus(CWnd* next);
    LRESULT OnEndEditLabel(WPARAM wp, LPARAM lp);
    LRESULT OnEditorMoveColumn(WPARAM wp, LPARAM lp);
    DECLARE_MESSAGE_MAP()

    // Helpers shared by the files of the list.
    LRESULT SendNotify(NMHDR* nm, UINT code) const;
    void NotifyItemChanged(int row, UINT newState, UINT oldState, UINT changed);
    void ClearAll(UINT bits);
    void SetRange(int from, int to, UINT bits);
    void MoveFocusTo(int row);
    void MoveRowTo(int target);
    void MoveColumn(int step);
    void TypedKey();
    void BeginBand(CPoint pt);
    void UpdateBand(int keyFlags = -1);
    void AutoScrollBand();
    void ReplaceHeader();
    void ScrollTo(int bar, int pos);
    // A scroll bar code (SB_*) for the vertical or horizontal bar.
    void ScrollByCode(int which, UINT code, UINT pos);
    int HorzPos() const;
    CRect RowBounds(int row) const;
    void CommitEdit(int kind);
    void RestoreEditorProc();
    void OpenEditorSetup(int kind, const CRect& rect, const LVITEMW& cell);
    void ReleaseIconLimitList();
    bool m_inLayout = false;
};
