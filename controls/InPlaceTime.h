#pragma once
// The time editor of a list cell: a time picker ("HH:mm") over the cell.
// Enter, Tab or a click outside commit the time as "hh:mm:ss"; Escape or Alt
// cancel. The seconds are those the cell held, whichever way the edit ends.
#include "classlib/CDateTimeCtrl.h"

class CInPlaceTime : public CDateTimeCtrl {
public:
    BOOL AttachTo(HWND wnd);
    // Reads the picker into m_text (the closing routine) and hands the window back.
    void Close();
    // "hh:mm:ss"; empty means now.
    void SetTimeText(const wchar_t* text);
    BOOL PreTranslateMessage(MSG* msg) override;

    CString m_text;
    BOOL m_cancelled = FALSE;
    SYSTEMTIME m_time{};

protected:
    void OnChar(UINT ch, UINT, UINT);
    void OnSysKeyDown(UINT key, UINT, UINT);
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params);
    void OnNcPaint();
    void OnDestroy();
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; }
    DECLARE_MESSAGE_MAP()

private:
    void ReadTime();
    void Finish(BOOL cancel);
    void FormatText();
};
