#pragma once
// Command-update objects: an update handler enables, checks or renames the
// element behind a command (a menu item or a button window) through CCmdUI.
#include <windows.h>

#include "classlib/CCmdTarget.h"

class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);  // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(const wchar_t* text);
    // The handler declines: the query goes on to the next target of the route.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target's route for an update handler. Without one, and with
    // disableIfNoHandler, the element is disabled when no command handler exists
    // either. TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

    // Runs the update pass over every item of a popup menu (ids below 0xF000;
    // a sub-menu item through its sub-menu's first item).
    static void UpdateMenu(HMENU menu, CCmdTarget* target, BOOL disableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    UINT m_nIndexMax = 0;
    CMenu* m_pMenu = nullptr;     // the menu whose item is updated, or null
    CMenu* m_pSubMenu = nullptr;  // the item's sub-menu, or null
    CWnd* m_pOther = nullptr;     // the button (or other window) updated, or null
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};

namespace afx {
// Routes along the target's command route: a window's RouteCommand, or the
// target's own OnCmdMsg for any other target.
BOOL RouteCmd(CCmdTarget* target, UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info);
}  // namespace afx
