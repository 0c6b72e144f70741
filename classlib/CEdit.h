#pragma once
// An edit control (class "EDIT").
#include "classlib/CWnd.h"

class CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::CreateEx(0, L"EDIT", nullptr, style | WS_CHILD, rect, parent, id);
    }
    void SetSel(int start, int end, BOOL noScroll = FALSE)
    {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
        if (!noScroll)
            SendMessage(EM_SCROLLCARET);
    }
    void GetSel(int& start, int& end) const
    {
        DWORD s = 0, e = 0;
        SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        start = static_cast<int>(s);
        end = static_cast<int>(e);
    }
    void ReplaceSel(const wchar_t* text, BOOL canUndo = FALSE) { SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text)); }
    void SetLimitText(UINT max) { SendMessage(EM_LIMITTEXT, max); }
    void LimitText(int max = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(max)); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
    void SetMargins(UINT left, UINT right) { SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(left, right)); }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
};
