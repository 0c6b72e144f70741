#pragma once
// The fuel-report view: the fuel log as an editable 14-column list with a row
// for a new record, its statistics pane with five tabs, the eco picture, and
// the commands to open, save, merge, graph and map the records.
//
// Files: FeWnd.cpp creation, layout, paint, idle, refresh, cells and sorting;
// FeWndEdit.cpp cell edits, clipboard, delete, undo and redo, merge, graph,
// map, tips and the context menu; FeWndFiles.cpp open, save, new, the master
// file and leaving the view.
#include <vector>

#include "classlib/CImageList.h"
#include "common/DibImage.h"
#include "controls/CustomButton.h"
#include "controls/LightListCtrl.h"
#include "frame/ViewWnd.h"
#include "views/report/FuelListModel.h"
#include "views/report/StatisticsWnd.h"

class CFeWnd : public CViewWnd, public CFuelListModel {
public:
    CFeWnd();
    ~CFeWnd() override;

    // The common file dialog (kind, open or save, path in and out).
    using FileDialogFn = BOOL (*)(HWND owner, const wchar_t* folder, int kind, BOOL open, wchar_t* path);
    // Opens a web address in the browser.
    using OpenUrlFn = void (*)(HWND owner, const wchar_t* url);
    static FileDialogFn s_fileDialog;
    static OpenUrlFn s_openUrl;

    void RefreshList();
    void SetStatisticsMode(int mode);
    // The map-search address of an encoded query.
    static CString BuildMapSearchUrl(const wchar_t* encodedQuery);

    std::vector<int> SelectedRows() const;
    BOOL IsCurrent() const;
    BOOL ListHasFocus() const;

    // An edited log is asked about before it is dropped: leaving with Back
    // or Top, quitting, Open and New all ask the same save question.
    BOOL HasUnsavedWork() const override;
    BOOL CanLeave() override;

    CLightListCtrl m_list;
    CImageList m_images;
    CStatisticsWnd m_statistics;
    CCustomButton m_tabTotal, m_tabAverage, m_tabMaximum, m_tabMinimum, m_tabCO2;
    CCustomButton m_btnOpen, m_btnGraph, m_btnMerge, m_btnSaveMaster, m_btnSave;
    DIB_IMAGE m_statusTop{}, m_eco[5]{};
    int m_statisticsMode = -1;
    int m_firstRefresh = 0;
    int m_editing = 1;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    LRESULT OnUserIdle(WPARAM, LPARAM);
    void OnContextMenu(CWnd* wnd, CPoint pt);
    void OnRButtonDown(UINT flags, CPoint pt);
    void LayoutControls();
    void SortChanged() override;

    // Cells and sorting (FeWnd.cpp).
    void OnGetDispInfo(NMHDR* nm, LRESULT* result);
    void OnColumnClick(NMHDR* nm, LRESULT* result);
    void OnUpdate() { RefreshList(); }
    void OnStatisticsTab(UINT id);

    // Editing (FeWndEdit.cpp).
    void OnBeginLabelEdit(NMHDR* nm, LRESULT* result);
    void OnEndLabelEdit(NMHDR* nm, LRESULT* result);
    void OnEditCell();
    void OnDelete();
    void OnCopy();
    void OnCut();
    void OnPaste();
    void OnSelectAll();
    void OnUndo();
    void OnRedo();
    void OnMerge();
    void OnGraph();
    void OnShowOnMap();
    void OnTips();
    void OnUpdateCopy(CCmdUI* ui);
    void OnUpdateCut(CCmdUI* ui);
    void OnUpdateDelete(CCmdUI* ui);
    void OnUpdatePaste(CCmdUI* ui);
    void OnUpdateSelectAll(CCmdUI* ui);
    void OnUpdateMerge(CCmdUI* ui);
    void OnUpdateMap(CCmdUI* ui);
    void OnUpdateGraph(CCmdUI* ui);
    void OnUpdateUndo(CCmdUI* ui);
    void OnUpdateRedo(CCmdUI* ui);
    void OnUpdateEditCell(CCmdUI* ui);
    void OnUpdateTabs(CCmdUI* ui)
    {
        if (!Declines(ui))
            ui->Enable(TRUE);
    }
    // The body offers every command to every view, the shown one first: a
    // hidden fuel view leaves the decision to the others and does nothing.
    BOOL Declines(CCmdUI* ui) const;
    // Shows a message with the list's pending editor dropped, then gives the list the focus.
    int AskOverList(const wchar_t* text, int style);
    BOOL CanCopy() const;
    // Selects and focuses one row, every other row deselected.
    void SelectOnly(int row);

    // Files and leaving (FeWndFiles.cpp).
    void OnFileOpen();
    void OnFileSave();
    void OnFileNew();
    void OnSaveSelected();
    void OnSaveMaster();
    void OnWriteMaster();
    void OnBack();
    void OnTop();
    void OnUpdateHasRecords(CCmdUI* ui);
    void OnUpdateCurrent(CCmdUI* ui)
    {
        if (!Declines(ui))
            ui->Enable(TRUE);
    }
    void LeaveView();
    void ShowDocumentError();
    DECLARE_MESSAGE_MAP()

    BOOL CreateButtons();
};
