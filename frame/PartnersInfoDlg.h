#pragma once
// The partners dialog of the start menu: one or two panels, each a partner's
// banner over a scrolling description. The language file decides: UI string
// 383 names the first panel's partner, 385 the second's (negative: one panel
// only), 384 and 386 hold the texts, 405 the title.
#include "controls/CustomDialog.h"
#include "controls/ScrlText.h"
#include "frame/BannerWnd.h"

class CPartnersInfoDlg : public CCustomDialog {
public:
    enum { TextId1 = 1001, TextId2 = 1002, BannerId1 = 1003, BannerId2 = 1004 };
    CPartnersInfoDlg();
    ~CPartnersInfoDlg() override;

    BOOL OnInitDialog() override;
    int GetPanelCount() const { return m_panels; }

    // Panel rectangles in client pixels: banner and text of panels 1 and 2.
    static const RECT kBanner[2], kText[2];

    CScrlText m_text[2];
    CBannerWnd m_banner[2];

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPartnerCommand(UINT id);
    DECLARE_MESSAGE_MAP()

    int m_panels = 1;
};
