#include "classlib/DataExchange.h"

#include <cwchar>

#include "classlib/CWnd.h"

HWND CDataExchange::PrepareCtrl(int id)
{
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    return m_hWndLastControl;
}

void CDataExchange::Fail()
{
    if (m_hWndLastControl && ::IsWindowEnabled(m_hWndLastControl))
        ::SendMessageW(m_pDlgWnd->m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_hWndLastControl), 1);
    throw Failed{};
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND ctl = dx->PrepareCtrl(id);
    if (!ctl)
        return;
    if (dx->m_bSaveAndValidate)
        CWnd::FromHandle(ctl)->GetWindowText(value);
    else
        ::SetWindowTextW(ctl, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    HWND ctl = dx->PrepareCtrl(id);
    if (!ctl)
        return;
    if (dx->m_bSaveAndValidate) {
        CString text;
        CWnd::FromHandle(ctl)->GetWindowText(text);
        text.Trim();
        wchar_t* end = nullptr;
        long v = std::wcstol(text, &end, 10);
        if (text.IsEmpty() || (end && *end)) {
            ::MessageBeep(MB_ICONEXCLAMATION);
            dx->Fail();
        }
        value = static_cast<int>(v);
    } else {
        wchar_t buf[16];
        swprintf(buf, 16, L"%d", value);
        ::SetWindowTextW(ctl, buf);
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND ctl = dx->PrepareCtrl(id);
    if (!ctl)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(ctl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(ctl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}
