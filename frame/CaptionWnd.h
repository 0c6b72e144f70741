#pragma once
// The title bar of the main window: brand title, the system buttons and the
// menu button that opens the program's menu.
#include "classlib/Afx.h"
#include "common/GdiplusText.h"
#include "controls/CustomButton.h"
#include "frame/PaneImages.h"

class CCaptionWnd : public CWnd {
public:
    CCaptionWnd();
    ~CCaptionWnd() override;
    int GetPaneHeight() const { return m_images[0].height; }
    CCustomButton m_close, m_minimize, m_maximize, m_restore, m_menu;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnWindowPosChanged(WINDOWPOS* pos);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    LRESULT OnNcHitTest(CPoint) { return PaneNcHitTest(); }
    void OnMenuButton(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    BOOL BuildMenuButtonFrames();
    void ShowZoomButtons();
    CPaneImages<5> m_images;
    CUtilGdiplus m_text;
};
