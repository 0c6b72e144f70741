#pragma once
// Base of the body's views: a view registered for refreshes leaves the
// registry when its window goes (and, at the latest, when the object goes).
#include "classlib/Afx.h"

class CViewWnd : public CWnd {
public:
    // kind: the view's index in the body's table, which theGlobal.m_viewKind
    // holds while it is the current view; -1 for none.
    explicit CViewWnd(int kind = -1) : m_kind(kind) {}
    ~CViewWnd() override;
    // TRUE while this is the body's current view: its commands and buttons
    // act only then, and pass the rest on.
    BOOL IsCurrent() const;
    // Registers the view for ID_UPDATE once (call in OnCreate).
    void RegisterForUpdates();
    // The view's mode, set by the body before the window exists.
    int m_mode = 0;

    // May the user leave this view? Asked by Back, Top and by the main window
    // before quitting. A view holding edits that leaving would drop says so
    // in HasUnsavedWork; CanLeave then asks the user (save, drop or stay),
    // saves when told and answers whether the view may be left.
    virtual BOOL HasUnsavedWork() const { return FALSE; }
    virtual BOOL CanLeave() { return TRUE; }

    // The view's right-click menu: the second popup of the menu resource,
    // at pt (at the cursor when pt is (-1, -1), the keyboard's menu key),
    // with the main window's states and texts; the chosen command goes to
    // the main window.
    static void ShowContextMenu(UINT menuId, CPoint pt);

protected:
    const int m_kind;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};
