#include "frame/MainWindowCalls.h"

void SendToMain(UINT command)
{
    if (CWnd* main = AfxGetMainWnd())
        ::SendMessageW(main->GetSafeHwnd(), WM_COMMAND, command, 0);
}

bool MainWindowMinimised()
{
    CWnd* main = AfxGetMainWnd();
    return main && main->GetSafeHwnd() && ::IsIconic(main->GetSafeHwnd());
}
