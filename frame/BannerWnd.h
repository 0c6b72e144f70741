#pragma once
// One partner's banner in the partners dialog: the partner's logo as a button
// and its web address as an underlined link below it. Partner 0 is the street
// directory (ID_WHERE_IS), 1 the route planner (ID_VIA_MICHELIN, address from
// UI string 430); any other number shows the background only.
#include "classlib/Afx.h"
#include "controls/CustomButton.h"

class CBannerWnd : public CWnd {
public:
    CBannerWnd() = default;
    ~CBannerWnd() override;

    // Before the window is made; numbers other than 0 and 1 change nothing.
    void SetPartner(int partner);
    int GetPartner() const { return m_partner; }
    const CString& GetLinkText() const { return m_linkText; }
    const CRect& GetLinkRect() const { return m_linkRect; }

    CCustomButton m_btnWhereIs, m_btnViaMichelin;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    void OnLButtonDown(UINT flags, CPoint pt);
    BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    // The client area less the logo's part: where the link text goes.
    CRect TextArea() const;
    int m_partner = -1;
    CString m_linkText;
    HFONT m_linkFont = nullptr;
    CRect m_linkRect;
};
