#pragma once
// A date and time picker (common controls, class "SysDateTimePick32").
#include <windows.h>
#include <commctrl.h>

#include "classlib/CWnd.h"

class CDateTimeCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::CreateEx(0, DATETIMEPICK_CLASSW, nullptr, style | WS_CHILD, rect, parent, id);
    }
    BOOL SetFormat(const wchar_t* format) { return static_cast<BOOL>(SendMessage(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format))); }
    BOOL SetTime(const SYSTEMTIME* time)
    {
        return static_cast<BOOL>(SendMessage(DTM_SETSYSTEMTIME, time ? GDT_VALID : GDT_NONE, reinterpret_cast<LPARAM>(time)));
    }
    // GDT_VALID, GDT_NONE or GDT_ERROR.
    DWORD GetTime(SYSTEMTIME* time) const { return static_cast<DWORD>(SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time))); }
};
