#include "controls/NotifyForward.h"

BOOL ForwardNotifyToParent(CWnd* pane, WPARAM wp, LPARAM lp, LRESULT* result)
{
    CWnd* parent = pane ? pane->GetParent() : nullptr;
    if (!parent)
        return FALSE;
    const LRESULT answer = parent->SendMessage(WM_NOTIFY, wp, lp);
    if (result)
        *result = answer;
    return TRUE;
}
