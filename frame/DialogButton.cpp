#include "frame/DialogButton.h"

#include "common/ButtonStrips.h"

BOOL MakeDialogButton(CCustomButton& button, CDialog* dialog, UINT id, const CString& label, int x, int y,
                      int maxPercent, UINT extraFlags)
{
    if (!BuildButtonImage(&button.m_strip, label, 146, 38, maxPercent, FALSE) || !button.CreateFromDlgItem(id, dialog))
        return FALSE;
    button.SetWindowPos(static_cast<HWND>(nullptr), x, y, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | extraFlags);
    button.SetRoundRegion();
    return TRUE;
}
