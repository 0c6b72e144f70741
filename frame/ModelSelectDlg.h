#pragma once
// Chooses the region and the navigation unit's model, i.e. one navi model file.
// OK checks that the file loads, stores it as the NaviFile setting and, when
// the region changes, resets the unit settings to the region's defaults.
#include "common/GdiplusText.h"
#include "controls/CustomButton.h"
#include "controls/CustomComboBox.h"
#include "controls/CustomDialog.h"

class CModelSelectDlg : public CCustomDialog {
public:
    CModelSelectDlg();
    ~CModelSelectDlg() override;

    // Sorts a navi file name (no folder) into the list of its region; names of
    // regions the brand does not offer are ignored.
    void AddModelFile(const CString& fileName);

    BOOL OnInitDialog() override;
    void OnOK() override;

    CStringArray m_files[3];  // per region of the brand
    int m_region = 0;         // preselected, then the region combo's row
    int m_changed = 0;        // 1 after OK chose another file than the remembered one
    CCustomButton m_btnOK, m_btnCancel;
    CCustomComboBox m_regionCombo, m_modelCombo;

protected:
    void FillModels();
    void OnRegionChange();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

    CUtilGdiplus m_labelText;
    CString m_label1, m_label2;
};
