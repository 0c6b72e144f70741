#include "frame/ViewWnd.h"

#include "core/Global.h"

CViewWnd::~CViewWnd()
{
    theGlobal.UnregisterView(this);
    if (GetSafeHwnd())
        DestroyWindow();
}

void CViewWnd::RegisterForUpdates()
{
    theGlobal.UnregisterView(this);
    theGlobal.RegisterView(this);
}

LRESULT CViewWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY)
        theGlobal.UnregisterView(this);
    return CWnd::WindowProc(msg, wp, lp);
}
