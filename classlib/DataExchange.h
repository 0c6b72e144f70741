#pragma once
// Data exchange between a dialog's members and its controls (DoDataExchange).
// Each DDX_ function moves one value in the direction m_bSaveAndValidate says;
// a value that does not validate is reported, focused and Fail() ends the
// exchange.
#include <windows.h>

#include "classlib/CString.h"

class CWnd;

class CDataExchange {
public:
    struct Failed {};
    CDataExchange(CWnd* dlg, BOOL saveAndValidate) : m_pDlgWnd(dlg), m_bSaveAndValidate(saveAndValidate) {}
    HWND PrepareCtrl(int id);
    [[noreturn]] void Fail();

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    HWND m_hWndLastControl = nullptr;
};

void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
