#pragma once
// Dialogs from resource templates. DoModal creates the dialog from its template
// and runs the library's own modal loop (so PreTranslateMessage reaches the
// dialog's controls and the dialog itself, which then does the keyboard
// navigation with IsDialogMessage); Create makes a modeless one.
// Flow: WM_INITDIALOG -> OnInitDialog (which exchanges data into the controls);
// IDOK -> OnOK (exchange back; EndDialog(IDOK) when it validates);
// IDCANCEL, Escape and the close box -> OnCancel (EndDialog(IDCANCEL)).
#include "classlib/CWnd.h"
#include "classlib/DataExchange.h"

class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    // IDOK, IDCANCEL or what EndDialog was given; -1 when the dialog could not be made.
    virtual INT_PTR DoModal();
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Modal: ends the loop with result. Modeless: destroys the window.
    void EndDialog(int result);
    BOOL IsModal() const { return m_bModal; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx) {}
    // DoModal shows a dialog that its start left hidden, unless this says no
    // (a dialog that shows itself later).
    virtual BOOL ShowAtModalStart() const { return TRUE; }
    // Moves data between the members and the controls; FALSE when a field did
    // not validate (the focus is then on it).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    BOOL PreTranslateMessage(MSG* msg) override;
    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void GotoDlgCtrl(CWnd* ctl) { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ctl->m_hWnd), 1); }
    void SetDefID(UINT id) { ::SendMessageW(m_hWnd, DM_SETDEFID, id, 0); }

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    LRESULT HandleInitDialog(WPARAM, LPARAM);
    BOOL CreateFromTemplate(HWND parent);
    DECLARE_MESSAGE_MAP()

    BOOL m_bModal = FALSE;
};
