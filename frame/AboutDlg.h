#pragma once
// The about box: the brand's splash picture with the program's version. A
// left click closes it with IDOK, a right click or Escape with IDCANCEL.
#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "controls/CustomStatic.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    BOOL OnInitDialog() override;

    const DIB_IMAGE& GetImage() const { return m_image; }
    CCustomStatic m_label{RGB(0xBC, 0xBC, 0xBC)};

protected:
    void LeaveDialogStack();
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnRButtonDown(UINT flags, CPoint pt);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    DIB_IMAGE m_image;
    HFONT m_font = nullptr;
    BOOL m_onStack = FALSE;
};
