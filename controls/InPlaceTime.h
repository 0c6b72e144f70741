#pragma once
// The time editor of a list cell: a time picker ("HH:mm") over the cell.
// Enter, Tab or a click outside commit the time as "hh:mm:ss"; Escape or Alt
// cancel. The seconds are those the cell held, whichever way the edit ends.
#include "classlib/CDateTimeCtrl.h"
#include "controls/InPlaceDateTimeEditor.h"

class CInPlaceTime : public CInPlaceDateTimeEditor<CDateTimeCtrl> {
public:
    CInPlaceTime() : CInPlaceDateTimeEditor(TRUE) {}

    BOOL AttachTo(HWND wnd) { return AttachWindow(wnd); }
    // "hh:mm:ss"; empty means now.
    void SetTimeText(const wchar_t* text);
    BOOL PreTranslateMessage(MSG* msg) override;

    SYSTEMTIME m_time{};

protected:
    BOOL Accept() override;
    void Destroying() override;

private:
    void ReadTime();
    void FormatText();
};
