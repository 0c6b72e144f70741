#include "frame/ViewWnd.h"

#include "controls/CustomMenu.h"
#include "core/Global.h"

CViewWnd::~CViewWnd()
{
    theGlobal.UnregisterView(this);
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CViewWnd::IsCurrent() const { return m_kind >= 0 && theGlobal.m_viewKind == m_kind; }

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

void CViewWnd::ShowContextMenu(UINT menuId, CPoint pt)
{
    CWnd* main = AfxGetMainWnd();
    if (!menuId || !main)
        return;
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(menuId));
    HMENU popup = menu ? ::GetSubMenu(menu, 1) : nullptr;
    if (!popup) {
        if (menu)
            ::DestroyMenu(menu);
        return;
    }
    if (pt.x == -1 && pt.y == -1)
        ::GetCursorPos(&pt);
    // The main window's update pass gives the items their states and texts.
    main->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 1);
    CCustomMenu custom;
    custom.LoadMenu(popup);
    const UINT chosen = custom.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, pt.x - 1, pt.y - 1, main);
    ::DestroyMenu(menu);
    if (chosen)
        main->SendMessage(WM_COMMAND, chosen, 0);
}
