#pragma once
// Picks the memory card or USB stick an export writes to: lists the PC's
// removable drives with name, type and free space, follows drives coming and
// going, accepts a drive only with enough free space for the current view,
// and can ask for the file name the export writes.
#include "controls/CustomButton.h"
#include "controls/CustomDialog.h"
#include "controls/CustomListCtrl.h"

class CRemovableDlg : public CCustomDialog {
public:
    CRemovableDlg();
    ~CRemovableDlg() override;

    void SetFileName(const wchar_t* name) { m_fileName = name ? name : L""; }
    // Lists only drives that hold the unit's apps device file.
    void RequireAppsDeviceFile();
    // The chosen drive's root ("E:\"), empty after Cancel.
    CString GetDrivePath() const;
    // The file name as it was when OK was accepted.
    CString GetFileName() const { return m_fileName; }

    CString m_fileName;   // the name edit (1045)
    int m_askName = 0;    // set by the caller to show and check the name edit

    // Free space a drive needs for a view, in MB: more than this is accepted.
    static int ThresholdMB(int viewKind);
    // FALSE for a name the card cannot take as a file name.
    static BOOL IsAcceptableFileName(const CString& name);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* dx) override;

protected:
    DECLARE_MESSAGE_MAP()
    // Implementation members are the dialog's own.
};
