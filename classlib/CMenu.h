#pragma once
// A menu handle with the calls the program makes on it. Owns the menu it
// created or loaded; FromHandle wrappers own nothing.
#include <windows.h>

class CWnd;

class CMenu {
public:
    CMenu() = default;
    virtual ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    static CMenu* FromHandle(HMENU menu);
    static void DeleteTempMap();

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    BOOL Attach(HMENU menu);
    HMENU Detach();
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(UINT id);
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr) { return ::AppendMenuW(m_hMenu, flags, id, text); }
    UINT GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
    UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    CMenu* GetSubMenu(int pos) const { return FromHandle(::GetSubMenu(m_hMenu, pos)); }
    UINT EnableMenuItem(UINT id, UINT flags) { return static_cast<UINT>(::EnableMenuItem(m_hMenu, id, flags)); }
    UINT CheckMenuItem(UINT id, UINT flags) { return ::CheckMenuItem(m_hMenu, id, flags); }
    BOOL GetMenuItemInfo(UINT item, MENUITEMINFOW* mii, BOOL byPos = FALSE) const { return ::GetMenuItemInfoW(m_hMenu, item, byPos, mii); }
    BOOL SetMenuItemInfo(UINT item, MENUITEMINFOW* mii, BOOL byPos = FALSE) { return ::SetMenuItemInfoW(m_hMenu, item, byPos, mii); }
    int GetMenuString(UINT item, wchar_t* text, int max, UINT flags) const { return ::GetMenuStringW(m_hMenu, item, text, max, flags); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rc = nullptr);

    HMENU m_hMenu = nullptr;
};
