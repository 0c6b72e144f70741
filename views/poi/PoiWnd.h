#pragma once
// The POI list view: one POI document as a sortable list that the user edits
// cell by cell or in the edit dialog, saves as a KML file on the PC and
// exports to the unit's card. Mode 2 shows the CSV conversion's document,
// mode 3 the opened KML file, mode 4 the map search's (a derived view).
//
// Files: PoiWnd.cpp creation, layout, paint, idle; PoiWndCells.cpp cells,
// refresh and sorting; PoiWndEdit.cpp edit commands; PoiWndClipboard.cpp copy,
// cut and paste; PoiWndSave.cpp save and export; PoiWndHistory.cpp undo and
// redo; PoiWndLeave.cpp Back, Top and the context menu; PoiWndMap.cpp the
// map look-up.
#include <vector>

#include "common/DibImage.h"
#include "controls/CustomButton.h"
#include "frame/ViewWnd.h"
#include "views/poi/PoiKmlOutput.h"
#include "views/poi/PoiListCtrl.h"
#include "views/poi/PoiListModel.h"

class CPoiWnd : public CViewWnd, public CPoiListModel {
public:
    CPoiWnd();
    ~CPoiWnd() override;

    // The mode's document: 3 the KML list's, 4 the map's, else the CSV list's.
    CDocPi* GetDocument() const;
    // Shows the document's records again (a new document, a new order).
    void RefreshList();

    using SaveDialogFn = KmlSaveDialogFn;
    using CardChooserFn = PoiCardChooserFn;
    static SaveDialogFn s_saveDialog;
    static CardChooserFn s_chooseCard;

    // The rows as the list has them selected, ascending.
    std::vector<int> SelectedRows() const;
    BOOL IsCurrent() const;
    BOOL ListHasFocus() const;

    // Unsaved records are asked about before leaving (PoiWndLeave.cpp).
    BOOL HasUnsavedWork() const override;
    BOOL CanLeave() override;

    CPoiListCtrl m_list;
    CCustomButton m_btnLonLat, m_btnEdit, m_btnSavePc, m_btnSearch, m_btnNew, m_btnExport, m_btnGoogle;
    DIB_IMAGE m_footer{};

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    LRESULT OnUserIdle(WPARAM, LPARAM);
    void OnRButtonDown(UINT flags, CPoint pt);
    void OnContextMenu(CWnd* wnd, CPoint pt);

    // Cells and sorting (PoiWndCells.cpp).
    void OnGetDispInfo(NMHDR* nm, LRESULT* result);
    void OnColumnClick(NMHDR* nm, LRESULT* result);
    // The record key a list column shows (kNoSort for none), and back; a
    // view showing fewer columns shifts them.
    virtual int KeyOfColumn(int column) const { return column >= 0 && column < kColumnCount ? column : kNoSort; }
    virtual int ColumnOfKey(int key) const { return key; }
    // Sorts by a header's key: recorded as an action of the history here.
    virtual void SortByHeader(int key) { ClickColumn(key); }
    void OnUpdate() { RefreshList(); }

    // Editing (PoiWndEdit.cpp).
    void OnEdit();
    void OnNew();
    void OnDelete();
    void OnSelectAll();
    void OnResetPosition();
    void OnBeginLabelEdit(NMHDR* nm, LRESULT* result);
    void OnEndLabelEdit(NMHDR* nm, LRESULT* result);
    void OnUpdateEdit(CCmdUI* ui);
    void OnUpdateNew(CCmdUI* ui);
    void OnUpdateDelete(CCmdUI* ui);
    void OnUpdateSelectAll(CCmdUI* ui);
    void OnUpdateResetPosition(CCmdUI* ui);
    void DeleteSelected();
    // Shows a message with the list disabled meanwhile, then gives it the focus.
    int AskOverList(const wchar_t* text, int style);

    // Clipboard (PoiWndClipboard.cpp).
    void OnCopy();
    void OnCut();
    void OnPaste();
    void OnUpdateCopy(CCmdUI* ui);
    void OnUpdatePaste(CCmdUI* ui);

    // Save and export (PoiWndSave.cpp).
    void OnSave();
    void OnExport();
    void OnUpdateSave(CCmdUI* ui);
    // The document's parts of the shared save and export.
    PoiKmlOutput KmlOutput();

    // History (PoiWndHistory.cpp).
    void OnUndo();
    void OnRedo();
    void OnUpdateUndo(CCmdUI* ui);
    void OnUpdateRedo(CCmdUI* ui);
    void HistorySetSort(int key, int order) override;
    void HistoryDocumentChanged() override;
    void HistoryRefresh() override;

    // The map look-up (PoiWndMap.cpp): flag 1 opens the dialog only for a
    // place already received; OK appends that place as one undoable action.
    void OnGoogle();
    void OpenMapDialog(int flag);

    // Leaving (PoiWndLeave.cpp).
    void OnBack();
    void OnTop();
    void OnUpdateAlways(CCmdUI* ui) { ui->Enable(TRUE); }
    void ResetView();
    DECLARE_MESSAGE_MAP()

    CDWordArray& ColumnWidths() const;
    // On destroy: keeps the widths of the first `columns` columns for the
    // next list and drops the undo history.
    void CloseList(int columns);
    BOOL m_replayChangedRecords = FALSE;
    BOOL CreateButtons();
};
