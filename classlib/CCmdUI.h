#pragma once
// Command-update objects: an update handler enables, checks or renames the
// element behind a command (a menu item or a button window) through CCmdUI.
// A button window is told with EnableWindow, BM_SETCHECK (which the skinned
// buttons take like the system's) and its window text.
#include <windows.h>

#include <span>

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

    // A view's idle pass over its buttons: each live button is enabled,
    // checked and renamed by its command's update handler along the target's
    // route (a button whose command nobody handles is disabled when asked).
    struct Button {
        CWnd* button;
        UINT id;
    };
    static void UpdateButtons(CCmdTarget* target, std::span<const Button> buttons, BOOL disableIfNoHandler = TRUE);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    UINT m_nIndexMax = 0;
    CMenu* m_pMenu = nullptr;     // the menu whose item is updated, or null
    CMenu* m_pSubMenu = nullptr;  // the item's sub-menu, or null
    CWnd* m_pOther = nullptr;     // the button (or other window) updated, or null
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};

// Asks the update handlers what they decide for one command, touching
// nothing: whether it is enabled.
class CCmdUIProbe : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        m_enabled = on;
        m_set = TRUE;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(const wchar_t*) override {}
    BOOL m_enabled = TRUE;
    BOOL m_set = FALSE;  // a handler said
};

namespace afx {
// Routes along the target's command route: a window's RouteCommand, or the
// target's own OnCmdMsg for any other target.
BOOL RouteCmd(CCmdTarget* target, UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info);
}  // namespace afx
