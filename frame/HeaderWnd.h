#pragma once
// The band under the caption: page title, Back and Top, and for the POI views
// a title edit and an icon button. Every view command passes here and becomes
// the view switch.
#include "classlib/Afx.h"
#include "common/GdiplusText.h"
#include "controls/CustomButton.h"
#include "controls/IconButton.h"
#include "frame/PaneImages.h"
#include "frame/ViewWnd.h"

class CHeaderWnd : public CViewWnd {
public:
    CHeaderWnd();
    ~CHeaderWnd() override;
    int GetPaneHeight() const { return m_images[0].height; }
    // The page title the main window's view switch sets.
    void SetPageTitle(const CString& title);
    const CString& GetPageTitle() const { return m_pageTitle; }
    int GetViewIndex() const { return m_viewIndex; }
    // The default icon of the current view's document (views 2 to 5), which
    // is then marked modified; other views have none.
    void SetDocumentIcon(int value);
    CCustomButton m_back, m_top;
    CEdit m_titleEdit;
    CIconButton m_iconButton;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnDestroy();
    LRESULT OnNcHitTest(CPoint) { return PaneNcHitTest(); }
    void OnViewCommand(UINT id);
    void OnUpdateViewCommand(CCmdUI* ui);
    void RefreshHeader();
    void OnTitleChange();
    void OnIconSelect();
    DECLARE_MESSAGE_MAP()

private:
    CPaneImages<4> m_images;
    CString m_pageTitle;
    int m_viewIndex = 13;
    int m_editShown = SW_HIDE;
    HFONT m_editFont = nullptr;
    HBRUSH m_brush = nullptr;
    CUtilGdiplus m_text;
};
