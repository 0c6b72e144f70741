#include "classlib/CDialog.h"

#include "classlib/CWinApp.h"

namespace {
// The dialog manager's own procedure sees nothing: our window procedure takes
// every message first and passes the rest to the dialog class's procedure.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

BOOL CDialog::CreateFromTemplate(HWND parent)
{
    HINSTANCE inst = AfxGetResourceHandle();
    HRSRC res = ::FindResourceW(inst, MAKEINTRESOURCEW(m_nIDTemplate), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    HGLOBAL data = res ? ::LoadResource(inst, res) : nullptr;
    auto* tmpl = data ? static_cast<LPCDLGTEMPLATEW>(::LockResource(data)) : nullptr;
    if (!tmpl)
        return FALSE;
    HWND hwnd;
    {
        afx::CreationScope scope(this);
        hwnd = ::CreateDialogIndirectParamW(inst, tmpl, parent, &AfxDlgProc, 0);
    }
    if (!hwnd) {
        if (m_hWnd)
            UnsubclassWindow();
        return FALSE;
    }
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    // The owner is a top-level window: the given parent's, else the front one.
    CWnd* owner = GetSafeOwner(m_pParentWnd);
    HWND ownerHwnd = owner ? owner->m_hWnd : nullptr;
    bool reenable = ownerHwnd && ::IsWindowEnabled(ownerHwnd);
    if (reenable)
        ::EnableWindow(ownerHwnd, FALSE);
    m_bModal = TRUE;
    m_nModalResult = -1;
    m_modalLoop = true;  // EndDialog during OnInitDialog must stop the loop before it starts
    if (CreateFromTemplate(ownerHwnd)) {
        if (m_modalLoop) {
            if (!(GetStyle() & WS_VISIBLE) && ShowAtModalStart())
                ShowWindow(SW_SHOWNORMAL);
            RunModalLoop();
        }
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_modalLoop = false;
    // The owner gets the activation back before the dialog goes.
    if (reenable)
        ::EnableWindow(ownerHwnd, TRUE);
    if (ownerHwnd && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(ownerHwnd);
    DestroyWindow();
    m_bModal = FALSE;
    return m_nModalResult;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    m_bModal = FALSE;
    return CreateFromTemplate(parent ? parent->m_hWnd : nullptr);
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    if (m_bModal)
        EndModalLoop(result);
    else
        DestroyWindow();
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;  // the dialog manager puts the focus on the first control
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::Failed&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Keyboard navigation (Tab, arrows, Enter, Escape, mnemonics) of this dialog.
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd)))
        return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}
