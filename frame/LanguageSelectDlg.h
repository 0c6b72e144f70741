#pragma once
// Chooses the language file. It can run before any language file is loaded,
// so its caption and button are fixed English texts.
#include "controls/CustomButton.h"
#include "controls/CustomComboBox.h"
#include "controls/CustomDialog.h"

class CLanguageSelectDlg : public CCustomDialog {
public:
    CLanguageSelectDlg();
    ~CLanguageSelectDlg() override;

    // The file name of the chosen row; a bad row raises CInvalidArgException.
    CString GetSelectedFile() const { return m_files.GetAt(m_selected); }

    BOOL OnInitDialog() override;

    CStringArray m_files;  // names with extension, no folder; filled by the caller
    int m_selected = -1;   // the chosen row
    CCustomButton m_btnOK;
    CCustomComboBox m_combo;

protected:
    void OnSelChange();
    DECLARE_MESSAGE_MAP()
};
