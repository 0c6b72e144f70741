#pragma once
// A month calendar (common controls, class "SysMonthCal32").
#include <windows.h>
#include <commctrl.h>

#include "classlib/CWnd.h"

class CMonthCalCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::CreateEx(0, MONTHCAL_CLASSW, nullptr, style | WS_CHILD, rect, parent, id);
    }
    BOOL SetMaxSelCount(int count) { return static_cast<BOOL>(SendMessage(MCM_SETMAXSELCOUNT, static_cast<WPARAM>(count))); }
    BOOL SetCurSel(const SYSTEMTIME* date) { return static_cast<BOOL>(SendMessage(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(date))); }
    BOOL GetCurSel(SYSTEMTIME* date) const { return static_cast<BOOL>(SendMessage(MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(date))); }
    // Both limits given.
    BOOL SetRange(const SYSTEMTIME* first, const SYSTEMTIME* last)
    {
        SYSTEMTIME range[2] = {*first, *last};
        return static_cast<BOOL>(SendMessage(MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)));
    }
    BOOL GetMinReqRect(RECT* rc) const { return static_cast<BOOL>(SendMessage(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(rc))); }
    // MCHT_* of a client point; info->st gets the date there.
    DWORD HitTest(MCHITTESTINFO* info) const
    {
        info->cbSize = sizeof(MCHITTESTINFO);
        return static_cast<DWORD>(SendMessage(MCM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
    }
};
