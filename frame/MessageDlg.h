#pragma once
// The program's one message box: a skinned modal dialog with a caption, a text
// of up to three lines and two or three image buttons. Every report to the
// user goes through ShowMessage (or MessageDlgWithParent inside a dialog).
//
// Styles (buttons left to right; Enter; Escape and the close button):
//   0  OK                      IDOK;              IDOK
//   1  OK, Cancel              IDOK;              IDCANCEL
//   3  Yes, No, Cancel         IDYES if asked;    IDCANCEL
//   4  Yes, No                 IDYES if asked;    nothing (no close button)
//  10  Yes, No, Cancel (second label set)  -;     IDCANCEL
//  11  Yes, Cancel (second label set)      -;     IDCANCEL
// Styles 3 and 4 also answer the keys Y and N, unless custom labels are set.
// A text starting with ESC 'L' or ESC 'R' is aligned left or right.
#include "controls/CustomButton.h"
#include "controls/CustomDialog.h"
#include "controls/CustomLightStatic.h"

class CMessageDlg : public CCustomDialog {
public:
    // caption NULL: the style's default caption.
    CMessageDlg(LPCWSTR caption, CWnd* parent);
    ~CMessageDlg() override;

    // Custom labels of the Yes and No buttons of style 4 (Y and N then do nothing).
    void SetButtonTexts(LPCWSTR first, LPCWSTR last);
    // Runs the box; IDOK, IDCANCEL, IDYES or IDNO.
    virtual INT_PTR DoMessage(LPCWSTR text, int style);

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Enter answers IDYES in styles 3 and 4.
    int m_enterMeansYes = 0;
    // When set, Escape and the close button answer this in any style.
    int m_escapeAnswer = 0;

    // What the box shows, for callers that look (and tests).
    const CString& GetText() const { return m_text; }
    const CString& GetShownText() const { return m_shownText; }
    CCustomButton* GetButton(UINT id);
    CCustomLightStatic m_textStatic;

protected:
    void OnButton(UINT id);
    DECLARE_MESSAGE_MAP()

    CCustomButton m_buttons[5];  // items 1008..1012
    CString m_text, m_shownText;
    int m_style = 0;
    CString m_first, m_last;
    int m_customLabels = 0;
    CString m_captionText;
    BOOL m_hasCaption = FALSE;
};

// A style-0 box over parent with the program's caption; IDOK without a box for
// an empty text or a null parent.
INT_PTR MessageDlgWithParent(LPCWSTR text, CWnd* parent);

// The message box over the innermost open skinned dialog, else the main window;
// IDOK without a box for an empty text.
int ShowMessage(LPCWSTR text, int style, BOOL enterMeansYes = FALSE);
