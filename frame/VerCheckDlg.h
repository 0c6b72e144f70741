#pragma once
// Tells the user whether a newer version is published, offers its download
// page, and holds the start-up check switch (the VerCheck setting, changed at
// once when the box is clicked).
#include "controls/CustomButton.h"
#include "controls/CustomCheckButton.h"
#include "controls/CustomDialog.h"

class CVerCheckDlg : public CCustomDialog {
public:
    CVerCheckDlg();
    ~CVerCheckDlg() override;

    BOOL OnInitDialog() override;

    // -1: not checked yet (the dialog checks when it opens); else 0 failed,
    // 1 not newer, 2 newer (preset by start-up).
    int m_result = -1;
    CCustomButton m_btnDownload, m_btnOK;
    CCustomCheckButton m_checkStartup;

    // The page the Download button opens for the brand and language.
    static const wchar_t* DownloadPage(int areaCode, const CString& languageTag);
    // The panel's message: UI string 44, 46 or 47 for results 2, 1, 0.
    CString MessageText() const;

protected:
    void OnDownload();
    void OnCheckClicked();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

    HFONT m_font = nullptr;
};
