#pragma once
// The bottom band: the unit model's name and the partner button. The footer
// pane beside it exists but is always laid out at zero size.
#include "classlib/Afx.h"
#include "common/GdiplusText.h"
#include "controls/CustomButton.h"
#include "frame/PaneImages.h"

class CStatusWnd : public CWnd {
public:
    CStatusWnd();
    ~CStatusWnd() override;
    int GetPaneHeight() const { return m_images[2].height; }
    // Shown only in the start menu with no category open, when the language
    // file's switch (UI string 364) is exactly "TRUE".
    void UpdatePartnerButton();
    CCustomButton m_partner;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    LRESULT OnNcHitTest(CPoint) { return PaneNcHitTest(); }
    void OnRefreshSensis() { UpdatePartnerButton(); }
    DECLARE_MESSAGE_MAP()

private:
    CPaneImages<3> m_images;
    CUtilGdiplus m_text;
};

class CFooterWnd : public CWnd {
public:
    CFooterWnd();
    ~CFooterWnd() override;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    LRESULT OnNcHitTest(CPoint) { return PaneNcHitTest(); }
    DECLARE_MESSAGE_MAP()

private:
    CPaneImages<4> m_images;
};

// UI string n equals text exactly; FALSE when the table is too short.
BOOL UiStringIs(int n, const wchar_t* text);
