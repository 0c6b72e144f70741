#pragma once
// The date editor of a list cell: a month calendar over the cell. Enter, Tab
// or a click on a day commits the date as "yyyy/mm/dd"; Escape, Alt or a click
// outside the calendar cancels.
#include "classlib/CMonthCalCtrl.h"
#include "controls/InPlaceDateTimeEditor.h"

class CInPlaceDate : public CInPlaceDateTimeEditor<CMonthCalCtrl> {
public:
    CInPlaceDate() : CInPlaceDateTimeEditor(FALSE) {}

    // Moves the hidden window under the cell at its smallest whole size, then subclasses it.
    BOOL AttachTo(HWND wnd, POINT origin);
    // "yyyy/mm/dd"; empty means today.
    void SetDateText(const wchar_t* text);

    POINT m_origin{0, 0};
    SYSTEMTIME m_date{};
    SIZE m_size{0, 0};

protected:
    BOOL Accept() override;
    void OnLButtonUp(UINT, CPoint pt);
    void OnWindowPosChanging(WINDOWPOS* pos);
    DECLARE_MESSAGE_MAP()

private:
    // MCM_GETCURSEL; FALSE for the unusable end of the range (after 2038/01/18).
    BOOL ReadDate();
};
