#pragma once
// The address-book view: the unit's address book (home entry first, then up
// to 399 entries) as a sortable list that the user edits cell by cell or in
// the edit dialog, opens and saves as *.L00 files on the PC and exports to
// the card as PC\POINT\TONAVI\POINTREG.L00.
//
// Files: AbWnd.cpp creation, layout, paint, idle, cells, refresh and sorting;
// AbWndEdit.cpp the editing and clipboard commands and the history;
// AbWndFiles.cpp open, save, export, import, leaving and the context menu.
#include <vector>

#include "common/DibImage.h"
#include "controls/CustomButton.h"
#include "frame/ViewWnd.h"
#include "controls/CustomListCtrl.h"
#include "views/device/AbListModel.h"

class CAbWnd : public CViewWnd, public CAbListModel {
public:
    CAbWnd();
    ~CAbWnd() override;

    // Shows the book's entries again (a new count rebuilds the row order).
    void RefreshList();

    // The map look-up of an entry: the record in, the position found out;
    // FALSE when no position was received. Null while the program has no map
    // page to look on (the map button is then disabled).
    using MapLookupFn = BOOL (*)(CWnd* parent, DOCPI_RECORD& rec);
    static MapLookupFn s_mapLookup;
    // The PC's file dialog (ShowFileDialog's arguments).
    using FileDialogFn = BOOL (*)(HWND owner, const wchar_t* folder, int kind, BOOL open, wchar_t* path);
    static FileDialogFn s_fileDialog;

    // The rows as the list has them selected, ascending.
    std::vector<int> SelectedRows() const;
    BOOL ListHasFocus() const;

    // Unsaved changes of the book are asked about before leaving.
    BOOL HasUnsavedWork() const override;
    BOOL CanLeave() override;

    CCustomListCtrl m_list;
    CCustomButton m_btnImport, m_btnOpen, m_btnSavePc, m_btnExport, m_btnIcon, m_btnEdit, m_btnGoogle;
    CImageList m_rowImages;
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
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    void SortChanged() override;

    // Cells and sorting (AbWnd.cpp).
    void OnGetDispInfo(NMHDR* nm, LRESULT* result);
    void OnColumnClick(NMHDR* nm, LRESULT* result);
    void OnUpdate() { RefreshList(); }

    // Editing (AbWndEdit.cpp).
    void OnBeginLabelEdit(NMHDR* nm, LRESULT* result);
    void OnEndLabelEdit(NMHDR* nm, LRESULT* result);
    void OnEdit();
    void OnAdd();
    void OnMapLookup();
    void OnIcon();
    void OnCopy();
    void OnCut();
    void OnDelete();
    void OnPaste();
    void OnSelectAll();
    void OnUndo();
    void OnRedo();
    void OnClearUndoRedo();
    void OnUpdateEdit(CCmdUI* ui);
    void OnUpdateAdd(CCmdUI* ui);
    void OnUpdateMapLookup(CCmdUI* ui);
    void OnUpdateCopy(CCmdUI* ui);
    void OnUpdateCut(CCmdUI* ui);
    void OnUpdateDelete(CCmdUI* ui);
    void OnUpdatePaste(CCmdUI* ui);
    void OnUpdateSelectAll(CCmdUI* ui);
    void OnUpdateUndo(CCmdUI* ui);
    void OnUpdateRedo(CCmdUI* ui);
    // Shows a message with the list disabled meanwhile, then gives it the focus.
    int AskOverList(const wchar_t* text, int style);

    // Files and leaving (AbWndFiles.cpp).
    void OnOpen();
    void OnSaveToPc();
    void OnExport();
    void OnImport();
    void OnBack();
    void OnTop();
    void OnUpdateCurrent(CCmdUI* ui)
    {
        if (!PassOn(ui))
            ui->Enable(TRUE);
    }
    // TRUE (and the command's update goes on to the other views) while hidden.
    BOOL PassOn(CCmdUI* ui) const;
    // The export to a chosen card; TRUE when the file was written.
    BOOL Export();
    // Empties the book and shows the empty list (leaving the view).
    void ResetView();
    DECLARE_MESSAGE_MAP()

    BOOL CreateButtons();
    BOOL IsBrazilRegion() const;
};
