#pragma once
// The lower pane of the drive-report view: a framed owner-data list with one
// row per drive report (number, tick, name, kind, three user texts) and the
// report index that maps its rows to the reports of the drive-report
// document. Its notifications go to the view, which fills and edits the cells.
#include "classlib/CImageList.h"
#include "controls/CustomListCtrl.h"

class CDriveReportListCtrl : public CCustomListCtrl {
public:
    CDriveReportListCtrl();
    ~CDriveReportListCtrl() override;
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    void DrawSubItem(CDC* dc, RECT* cell, int row, int column) override;

    HFONT m_fontLink = nullptr, m_fontLinkBold = nullptr;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    DECLARE_MESSAGE_MAP()
};

class CDrListWnd : public CWnd {
public:
    enum { kColumnCount = 7 };
    // Headings (UI strings; -1 for none) and in-place editor types per column.
    static const int kHeadings[kColumnCount];
    static const int kEditors[kColumnCount];

    CDrListWnd();
    ~CDrListWnd() override;

    // Sorts the first n entries of the index by a column (1 to 6) of the
    // reports' list data; FALSE, nothing changed, for n below 2, more rows
    // than the index holds or another column.
    BOOL SortReports(int n, int column, BOOL ascending);
    // Whether report a goes after report b in that column's ascending order.
    static int CompareReports(int a, int b, int column);

    CDriveReportListCtrl m_list;
    CImageList m_images;
    CWordArray m_index;
    int m_sortColumn = -1;
    BOOL m_ascending = TRUE;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    BOOL OnNotify(WPARAM wp, LPARAM lp, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()
};
