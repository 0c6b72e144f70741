#pragma once
// The date editor of a list cell: a month calendar over the cell. Enter, Tab
// or a click on a day commits the date as "yyyy/mm/dd"; Escape, Alt or a click
// outside the calendar cancels.
#include "classlib/CMonthCalCtrl.h"

class CInPlaceDate : public CMonthCalCtrl {
public:
    // Moves the hidden window under the cell at its smallest whole size, then subclasses it.
    BOOL AttachTo(HWND wnd, POINT origin);
    // Reads the chosen date into m_text (the closing routine) and hands the window back.
    void Close();
    // "yyyy/mm/dd"; empty means today.
    void SetDateText(const wchar_t* text);
    BOOL PreTranslateMessage(MSG* msg) override;

    CString m_text;
    POINT m_origin{0, 0};
    BOOL m_cancelled = FALSE;
    SYSTEMTIME m_date{};
    SIZE m_size{0, 0};

protected:
    void OnChar(UINT ch, UINT, UINT);
    void OnSysKeyDown(UINT key, UINT, UINT);
    void OnLButtonUp(UINT, CPoint pt);
    void OnWindowPosChanging(WINDOWPOS* pos);
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params);
    void OnNcPaint();
    void OnDestroy();
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; }
    DECLARE_MESSAGE_MAP()

private:
    // MCM_GETCURSEL; FALSE for the unusable end of the range (after 2038/01/18).
    BOOL ReadDate();
    void Finish(BOOL cancel);
};
