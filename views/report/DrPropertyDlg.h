#pragma once
// The drive reports' summary: one panel per ticked report of the view's list
// (start, end, duration, distance, kind and the three texts) and a summary
// panel over them all, in a scrolling window; saved as delimited text or
// printed. Escape and the close box close it.
#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "controls/CustomButton.h"
#include "controls/CustomDialog.h"
#include "controls/ScrollHostWnd.h"
#include "doc/DrivingReport.h"
#include "res/report_ids.h"

struct DR_PANEL {
    DR_PROPERTY_DATA data;
    int number;  // 1-based place of the report in the list handed over
};

class CDrPropertyCtrl : public CScrollHostWnd {
public:
    enum { kPanelHeight = 310, kUnit = 10, kUnitsPerPanel = 31, kBufferHeight = 940 };

    CDrPropertyCtrl();
    ~CDrPropertyCtrl() override;

    void AddPanel(const DR_PANEL& panel) { m_panels.push_back(panel); }
    void SetSummary(const DR_PROPERTY_DATA& summary) { m_summary = summary; }
    void UpdateScrollInfo();
    // Largest scroll position, in 10-pixel units.
    int MaxPosition() const;
    int GetPosition() const;
    void SetPosition(int pos);

    void DrawReportPanel(HDC dc, const RECT& r, int index, BOOL printing) const;
    void DrawSummaryPanel(HDC dc, const RECT& r, BOOL printing) const;
    BOOL PreTranslateMessage(MSG* msg) override;

    std::vector<DR_PANEL> m_panels;
    DR_PROPERTY_DATA m_summary{};
    CCustomScrollBar m_scroll;
    HFONT m_font = nullptr;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    void DrawPanelRows(HDC dc, const RECT& r, const DR_PROPERTY_DATA& d, BOOL printing, BOOL withTexts) const;
    void ScrollBy(int delta);
    void SyncBar();
};

class CDrPropertyFrame : public CWnd {
public:
    CDrPropertyFrame();
    ~CDrPropertyFrame() override;
    void FillFromDocument();

    CDrPropertyCtrl m_ctrl;
    CWordArray m_reports;  // report indexes in the view's display order

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CDrPropertyDlg : public CCustomDialog {
public:
    enum { kSaveId = IDC_DR_SAVE, kPrintId = IDC_DR_PRINT };

    CDrPropertyDlg();
    ~CDrPropertyDlg() override;
    BOOL OnInitDialog() override;

    // The save dialog of the text export: path in (proposed name) and out.
    using SaveDialogFn = BOOL (*)(HWND owner, const wchar_t* folder, wchar_t path[MAX_PATH]);
    static SaveDialogFn s_saveDialog;
    // The print dialogs (default printer, setup, print).
    using PrintDialogFn = BOOL(WINAPI*)(PRINTDLGW* pd);
    static PrintDialogFn s_printDialog;

    // Writes the header and one line per report panel; FALSE when the file
    // cannot be written (an old file stays as it was).
    BOOL SaveAsText(const wchar_t* path) const;
    // One line of twelve fields, each quoted where it needs it.
    static CString FormatReportRow(const DR_PANEL& panel, wchar_t delimiter);
    static CString FormatHeaderRow(wchar_t delimiter);
    static wchar_t Delimiter();
    // Pages a print of n report panels and the summary takes, five panels a page.
    static int PageCount(int reportPanels) { return (reportPanels + 1 + 4) / 5; }
    // Device pixels per 1000 units on a page of that size: 4000, or less so
    // that five panels fit.
    static int PrintScale(int pageWidth, int pageHeight);
    // Prints on dc; FALSE when the document could not be started.
    BOOL PrintOn(HDC dc);

    CCustomButton m_btnPrint, m_btnSave, m_btnClose;
    CDrPropertyFrame m_frame;

protected:
    void OnSave();
    void OnPrint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    HFONT m_font = nullptr;
};
