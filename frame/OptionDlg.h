#pragma once
// The options dialog: four pages (CSV, display units, time, ECO) chosen with
// tab buttons. It reads the nine Option settings from theGlobal when it opens
// and writes them back only on OK - and only from pages that loaded them.
#include "controls/CustomButton.h"
#include "controls/CustomDialog.h"
#include "frame/OptionPages.h"

class COptionDlg : public CCustomDialog {
public:
    COptionDlg();
    ~COptionDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;

    COptDlgBaseWnd* GetPage(int index) { return m_pages[index]; }
    int GetCurrentPage() const { return m_current; }
    CCustomButton m_btnOK, m_btnCancel;

protected:
    // Creates page index and loads its values; FALSE when it cannot be made.
    virtual BOOL CreatePage(int index);
    void OnTab(UINT id);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    DECLARE_MESSAGE_MAP()

    COptDlgCSVWnd m_csv;
    COptDlgUnitWnd m_unit;
    COptDlgTimeWnd m_time;
    COptDlgECOWnd m_eco;
    COptDlgBaseWnd* m_pages[4] = {&m_csv, &m_unit, &m_time, &m_eco};
    int m_current = 0;
};
