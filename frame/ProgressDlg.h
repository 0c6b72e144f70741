#pragma once
// A skinned modeless dialog that shows the progress of a long loop its caller
// runs on the user-interface thread. The caller starts it, writes the message,
// sets the range, and after each step pumps messages, reads the cancel flag,
// moves the bar and the percentage. While it is shown the caller's top-level
// window is disabled: the user can only watch, minimize or cancel.
#include "controls/CustomButton.h"
#include "controls/CustomDialog.h"
#include "controls/CustomLightStatic.h"
#include "controls/CustomProgressCtrl.h"

class CProgressDlg : public CCustomDialog {
public:
    CProgressDlg();
    ~CProgressDlg() override;

    // Shows the dialog over parent; FALSE (the owner left as it was) when it
    // cannot be created.
    BOOL Start(CWnd* parent);
    // Range 0 .. max(n, 1).
    void SetRange(int n);
    // Runs every waiting message. A quit met here sets the cancel flag and is
    // kept until the dialog is destroyed, then put back for the main loop: a
    // quit left waiting in the queue would wake the caller's wait at once, and
    // its loop would spin until the work ended.
    void PumpMessages();
    BOOL QuitSeen() const { return m_quitSeen; }
    // "42 %" for the position; repaints only when the text changes.
    void UpdatePercent(int position);
    // Enables the owner again when Start disabled it, then destroys the dialog.
    BOOL DestroyWindow() override;

    BOOL OnInitDialog() override;
    // The dialog has no OK: Enter must not end the display under the caller.
    void OnOK() override {}
    void OnCancel() override;

    // The percentage that position stands for, 0 to 100.
    static int PercentOf(int minimum, int maximum, int position);

    CCustomLightStatic m_message;  // item 1005: the caller writes here
    CCustomLightStatic m_percent;
    CCustomProgressCtrl m_progress;
    CCustomButton m_btnCancel;
    HANDLE m_cancelEvent = nullptr;  // manual reset; the caller signals it
    int m_cancel = 0;                // set by Cancel; read and cleared by the caller

protected:
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    void PutQuitBack();

    int m_min = 0, m_max = 100, m_step = 1;
    BOOL m_quitSeen = FALSE;
    int m_quitCode = 0;
    CWnd* m_owner = nullptr;
    int m_ownerDisabled = 0;
    CCustomStatic m_static1003{RGB(0, 0, 0)}, m_static1007{RGB(72, 76, 113)};
};
