#pragma once
// The address of a new feed: one edit line with OK and Cancel. The dialog
// only limits the length; the feed document checks the address itself.
#include "controls/CustomButton.h"
#include "controls/CustomDialog.h"

class CUrlEntryDlg : public CCustomDialog {
public:
    enum { kMaxLength = 500 };

    CUrlEntryDlg();
    ~CUrlEntryDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    // The address typed (valid after IDOK).
    CString GetUrl() const { return m_url; }

    CString m_url;
    CCustomButton m_btnOK, m_btnCancel;

protected:
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    HFONT m_editFont = nullptr;
    HBRUSH m_editBrush = nullptr;
};
