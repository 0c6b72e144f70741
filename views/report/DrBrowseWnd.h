#pragma once
// The upper pane of the drive-report view: the two panel-mode buttons, the
// route-map browser and the eco panel in the same place, the import and
// report buttons, and the distance combo in its box. Commands go to the main
// window, notifications and the combo's selection change to the view.
#include "common/GdiplusText.h"
#include "controls/CustomButton.h"
#include "controls/CustomComboBox.h"
#include "controls/WebBrowser.h"
#include "views/report/EcoReportCtrl.h"

class CDrBrowseWnd : public CWnd {
public:
    CDrBrowseWnd();
    ~CDrBrowseWnd() override;

    // 0 route map, 1 eco rating: latches the matching mode button.
    void SetPanelMode(int mode);
    // The browser's and eco panel's rectangle in a client area (L, T, R, B).
    static RECT PanelRect(const RECT& client);
    // The distance box in a client area.
    static RECT DistanceBox(const RECT& client);
    // Draws the panel's own background into dc.
    void Draw(HDC dc, const RECT& client);

    CCustomButton m_btnImport, m_btnReport, m_btnMap, m_btnEco;
    CCustomComboBox m_distance;
    CEcoReportCtrl m_eco;
    CWebBrowserWnd m_browser;

    static constexpr int kButtonWidth = 192, kButtonHeight = 48;
    static constexpr int kModeWidth = 246, kModeHeight = 40;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnSelChangeDistance();
    BOOL OnNotify(WPARAM wp, LPARAM lp, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()

    CUtilGdiplus m_text;
};
