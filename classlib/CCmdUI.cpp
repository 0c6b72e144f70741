#include "classlib/CCmdUI.h"

#include "classlib/CMenu.h"
#include "classlib/CWnd.h"

BOOL afx::RouteCmd(CCmdTarget* target, UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info)
{
    if (auto* wnd = dynamic_cast<CWnd*>(target))
        return wnd->RouteCommand(id, code, extra, info);
    return target->OnCmdMsg(id, code, extra, info);
}

void CCmdUI::Enable(BOOL on)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        // Never leave the focus on a window that is being disabled.
        if (!on && ::GetFocus() == m_pOther->m_hWnd) {
            HWND parent = ::GetParent(m_pOther->m_hWnd);
            if (parent)
                ::SendMessageW(parent, WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther) {
        // Buttons, skinned or not, take BM_SETCHECK; no other window class of
        // the system gives the number a meaning.
        m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
    }
}

void CCmdUI::SetRadio(BOOL on)
{
    if (m_pMenu && !m_pSubMenu) {
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii);
        mii.fType = on ? (mii.fType | MFT_RADIOCHECK) : (mii.fType & ~MFT_RADIOCHECK);
        ::SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii);
    }
    SetCheck(on ? 1 : 0);
}

void CCmdUI::SetText(const wchar_t* text)
{
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        // Only the string changes: the item's type, state and data stay.
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_STRING;
        mii.dwTypeData = const_cast<wchar_t*>(text ? text : L"");
        ::SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii);
    } else if (m_pOther) {
        // Only a real change: an idle pass sets the same text again and again.
        CString now;
        m_pOther->GetWindowText(now);
        if (now != (text ? text : L""))
            m_pOther->SetWindowText(text);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;  // separators and the like are left alone
    m_bEnableChanged = FALSE;
    BOOL handled = afx::RouteCmd(target, m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!handled && disableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        if (!afx::RouteCmd(target, m_nID, CN_COMMAND, nullptr, &info))
            Enable(FALSE);
    }
    return handled;
}

void CCmdUI::UpdateMenu(HMENU menu, CCmdTarget* target, BOOL disableIfNoHandler)
{
    CCmdUI state;
    state.m_pMenu = CMenu::FromHandle(menu);
    state.m_nIndexMax = static_cast<UINT>(::GetMenuItemCount(menu));
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        UINT id = ::GetMenuItemID(menu, static_cast<int>(state.m_nIndex));
        if (id == 0)
            continue;  // separator
        if (id == static_cast<UINT>(-1)) {
            // A sub-menu: its state follows its first item's command.
            HMENU sub = ::GetSubMenu(menu, static_cast<int>(state.m_nIndex));
            if (!sub || ::GetMenuItemCount(sub) == 0)
                continue;
            UINT first = ::GetMenuItemID(sub, 0);
            if (first == 0 || first == static_cast<UINT>(-1))
                continue;
            // The parent item is enabled by position as its first command says.
            CCmdUIProbe p;
            p.m_nID = first;
            p.DoUpdate(target, disableIfNoHandler);
            if (p.m_set)
                ::EnableMenuItem(menu, state.m_nIndex, MF_BYPOSITION | (p.m_enabled ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
            continue;
        }
        if (id >= 0xF000)
            continue;  // system commands
        state.m_nID = id;
        state.m_pSubMenu = nullptr;
        state.DoUpdate(target, disableIfNoHandler);
    }
}

void CCmdUI::UpdateButtons(CCmdTarget* target, std::span<const Button> buttons, BOOL disableIfNoHandler)
{
    for (const Button& b : buttons) {
        if (!b.button || !::IsWindow(b.button->m_hWnd))
            continue;  // not made (yet), or gone
        CCmdUI state;
        state.m_nID = b.id;
        state.m_pOther = b.button;
        state.DoUpdate(target, disableIfNoHandler);
    }
}
