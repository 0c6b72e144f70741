#pragma once
// A progress bar (common control "msctls_progress32").
#include <windows.h>
#include <commctrl.h>

#include "classlib/CWnd.h"

class CProgressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::CreateEx(0, PROGRESS_CLASSW, nullptr, style | WS_CHILD, rect, parent, id);
    }
    void SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
    void GetRange(int& lower, int& upper) const
    {
        PBRANGE r{};
        SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&r));
        lower = r.iLow;
        upper = r.iHigh;
    }
    int SetPos(int pos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int OffsetPos(int delta) { return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(delta))); }
    int SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(step))); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};
