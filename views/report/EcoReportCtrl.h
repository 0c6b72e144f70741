#pragma once
// The eco panel of the drive-report view: how the current report's drive
// divides over four driving levels (shares and a stacked bar) and how many
// sudden accelerations and decelerations it holds. Its tips button sends
// ID_TIPS to the view through the main window.
#include "common/GdiplusText.h"
#include "controls/CustomButton.h"

class CEcoReportCtrl : public CWnd {
public:
    enum { kLevels = 4 };
    static const COLORREF kLevelColours[kLevels];

    CEcoReportCtrl();
    ~CEcoReportCtrl() override;

    // The values of a report of the drive-report document; below 0 clears them.
    void SetReport(int index);
    void Clear();
    // Draws the panel into dc as it shows at width x height.
    void Draw(HDC dc, int width, int height);

    int m_shares[kLevels]{};
    int m_accelerations = 0, m_decelerations = 0;
    int m_valid = 0;
    CCustomButton m_btnTips;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CUtilGdiplus m_text;
    HFONT m_fontLarge = nullptr, m_fontSmall = nullptr;
};
