#pragma once
// The pane under the fuel list: the log's totals, averages, maxima, minima
// or CO2 in value boxes with their units, figured from the document at each
// paint, and the tips button of the CO2 tab.
#include <vector>

#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "common/GdiplusText.h"
#include "controls/CustomButton.h"
#include "controls/CustomScrollBar.h"
#include "doc/DocFe.h"

// One column of the pane: heading, value text and unit name.
struct FUEL_STAT_CELL {
    CString heading, value, unit;
};

class CStatisticsWnd : public CWnd {
public:
    enum { ModeTotal = 0, ModeAverage = 1, ModeMaximum = 2, ModeMinimum = 3, ModeCO2 = 4, ModeNone = 5 };
    CStatisticsWnd();
    ~CStatisticsWnd() override;

    // The columns of a mode for a document, as the pane draws them.
    static std::vector<FUEL_STAT_CELL> Cells(int mode, const CDocFe& doc);
    // Content width of a mode: 625 totals, 730 the others, 0 none.
    static int ContentWidth(int mode);
    static int HeadingWidth(int mode) { return mode == ModeTotal ? 175 : mode == ModeCO2 ? 155 : 140; }
    static int BoxWidth(int mode) { return mode == ModeTotal || mode == ModeCO2 ? 175 : 140; }

    void UpdateLayout();
    void Clear();
    // Draws the pane into a DC of the client's size.
    void Draw(HDC dc, const RECT& client);

    int m_mode = ModeNone;
    CCustomButton m_btnTips;
    CCustomScrollBar m_hScroll, m_vScroll;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return FALSE; }
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params);
    void OnNcPaint();
    LRESULT OnNcHitTest(CPoint pt);
    BOOL PreTranslateMessage(MSG* msg) override;
    DECLARE_MESSAGE_MAP()

    void SyncScrollBars();
    void Scroll(int bar, UINT code, int step);

    DIB_IMAGE m_back{};
    DIB_IMAGE m_sizeBox{};
    CUtilGdiplus m_text;
};
