#pragma once
// The drive-report view: imports track files from a folder into the drive-
// report document, lists the reports, and shows the current one as a route on
// the map page or as its eco rating. The browse panel sits above a splitter
// bar, the report list below it.
//
// Files: DriveReportWnd.cpp creation, layout, splitter, import, modes and
// commands; DriveReportCells.cpp the list's cells, editing and sorting.
#include "common/DibImage.h"
#include "frame/SplitDrag.h"
#include "frame/ViewWnd.h"
#include "views/report/DrBrowseWnd.h"
#include "views/report/DrListWnd.h"

class CDriveReportWnd : public CViewWnd {
public:
    enum { kTimerId = 2525, kTimerMs = 500, kMaxReports = 1000 };

    CDriveReportWnd();
    ~CDriveReportWnd() override;

    // The folder chooser of the import: path in (remembered folder) and out
    // (chosen folder with a trailing backslash); FALSE when cancelled.
    // keepClear: the screen rectangle of the view's commands.
    using BrowseFolderFn = BOOL (*)(wchar_t path[MAX_PATH], HWND owner, const RECT& keepClear);
    // The shell's folder dialog in the program's language, clear of keepClear.
    static BOOL BrowseImportFolder(wchar_t path[MAX_PATH], HWND owner, const RECT& keepClear);
    static BrowseFolderFn s_browseFolder;

    void RefreshList();
    void FillDistanceCombo();
    void ShowPanel();
    void ClampSplitter();
    void LayoutPanes();
    // The row shown current (focused and selected, else the first selected), or -1.
    int CurrentRow() const { return m_listPane.m_list.GetCurSel(); }
    // The page address and form body of the route map for a report.
    static CString RouteMapUrl(const SYSTEMTIME& utc);
    static CString RouteMapBody(int reportIndex);

    BOOL PreTranslateMessage(MSG* msg) override;

    CDrBrowseWnd m_browse;
    CDrListWnd m_listPane;
    int m_panelMode = 0;
    DIB_IMAGE m_barLeft{}, m_barTile{}, m_barRight{};
    int m_splitPos = 0;
    CRect m_barRect;
    CSplitDrag m_drag{TRUE};

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    void OnShowWindow(BOOL show, UINT status);
    void OnTimer(UINT_PTR id);
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    LRESULT OnUserIdle(WPARAM, LPARAM);
    void OnUpdate() { RefreshList(); }
    void OnImportReport();
    void OnReport();
    void OnMapMode();
    void OnEcoMode();
    void OnTips();
    void OnTop();
    void OnBack();
    void OnSelChangeDistance();
    void OnItemChanged(NMHDR* nm, LRESULT* result);
    void OnUpdateReport(CCmdUI* ui);
    void OnUpdateImport(CCmdUI*) {}
    void OnUpdateAlways(CCmdUI* ui) { ui->Enable(TRUE); }
    void OnUpdateNever(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnUpdateMapMode(CCmdUI* ui) { ui->Enable(m_panelMode == 1); }
    void OnUpdateEcoMode(CCmdUI* ui) { ui->Enable(m_panelMode == 0); }

    // The list's cells, editing and sorting (DriveReportCells.cpp).
    void OnGetDispInfo(NMHDR* nm, LRESULT* result);
    void OnBeginLabelEdit(NMHDR* nm, LRESULT* result);
    void OnEndLabelEdit(NMHDR* nm, LRESULT* result);
    void OnColumnClick(NMHDR* nm, LRESULT* result);
    DECLARE_MESSAGE_MAP()

    void DrawTracker();
    void ApplyDistance();
    void ShowRouteMap(int row, BOOL focus);
    void BlankMap();
};
