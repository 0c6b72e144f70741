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
    // TRUE when a removable drive holds the apps device file.
    static BOOL HasAppsCard();
    // The chosen drive's root ("E:\"), empty after Cancel.
    CString GetDrivePath() const;
    // Shows the dialog; TRUE with root set when the user chose a drive.
    static BOOL ChooseDrive(BOOL requireAppsDeviceFile, CString& root);
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

    // Test seams. The free space of a root in MB (FALSE when it cannot be
    // read) and the drive strings as GetLogicalDriveStringsW gives them.
    using FreeSpaceFn = BOOL (*)(const wchar_t* root, ULONGLONG* freeMB);
    using DriveStringsFn = DWORD(WINAPI*)(DWORD length, wchar_t* buffer);
    static FreeSpaceFn s_freeSpace;
    static DriveStringsFn s_driveStrings;
    static BOOL RealFreeSpace(const wchar_t* root, ULONGLONG* freeMB);

    // Lists the removable drives again; none selected, OK disabled.
    void RefreshDriveList();
    // The free MB of a listed row, -1 for no row.
    LONGLONG GetRowFreeMB(int row) const;
    // The root of a listed row ("E:\"), empty for no row.
    CString GetRowRoot(int row) const;
    BOOL IsOkEnabled() const { return m_okEnabled; }

    CCustomListCtrl m_list;
    CCustomButton m_btnRefresh, m_btnOK, m_btnCancel;

protected:
    struct DriveRow {
        const wchar_t* root;  // into m_driveStrings
        ULONGLONG freeMB;
    };

    void ClearDriveList();
    void EnableOK(BOOL enable);
    void PlaceNameEdit();
    void OnRefresh();
    void OnItemChanged(NMHDR* nm, LRESULT* result);
    void OnDblClk(NMHDR* nm, LRESULT* result);
    LRESULT OnDeviceChange(WPARAM event, LPARAM data);
    BOOL OnEraseBkgnd(CDC* dc);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnPaint();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CString m_requiredFile;
    wchar_t m_driveStrings[262] = {};
    const wchar_t* m_chosenRoot = nullptr;
    CArray<DriveRow> m_rows;
    BOOL m_okEnabled = FALSE;
    HFONT m_fontName = nullptr, m_fontLabel = nullptr;
    HBRUSH m_editBrush = nullptr;
};
