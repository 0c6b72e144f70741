#include "classlib/CMenu.h"

#include "classlib/CWinApp.h"
#include "classlib/CWnd.h"
#include "classlib/TempMap.h"

namespace {
afx::TempMap<CMenu, HMENU> g_tempMenus;
}

CMenu* CMenu::FromHandle(HMENU menu)
{
    if (!menu)
        return nullptr;
    return g_tempMenus.Get(menu, [](HMENU h) {
        auto* m = new CMenu;
        m->m_hMenu = h;
        return m;
    });
}

void CMenu::DeleteTempMap()
{
    g_tempMenus.Clear([](CMenu* m) { m->m_hMenu = nullptr; });
}

BOOL CMenu::Attach(HMENU menu)
{
    if (!menu)
        return FALSE;
    DestroyMenu();
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::LoadMenu(UINT id)
{
    return Attach(::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    BOOL ok = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return ok;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rc)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->GetSafeHwnd() : nullptr, rc);
}
