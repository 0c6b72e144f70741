#include "controls/ButtonMessages.h"

#include "classlib/CWnd.h"

void PostButtonCommand(HWND button, UINT id, BOOL sysCommand)
{
    CWnd* owner = CWnd::GetSafeOwner(nullptr);
    HWND target = owner ? owner->m_hWnd : ::GetAncestor(button, GA_ROOT);
    // A null target would turn the command into a thread message.
    if (target)
        ::PostMessageW(target, sysCommand ? WM_SYSCOMMAND : WM_COMMAND, id, 0);
}
