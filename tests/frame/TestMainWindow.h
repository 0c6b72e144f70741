#pragma once
// The program's main window inside a test program, made afresh for each test.
#include <windows.h>

#include "core/Global.h"
#include "frame/MainWnd.h"

// Empties the view registry an earlier main window left and starts again at
// the start menu with no category open.
inline void ForgetViews()
{
    theGlobal.m_views.RemoveAll();
    theGlobal.m_viewKind = 0;
    theGlobal.m_menuCategory = 0;
}

// A new main window, shown and enabled as the program shows it, made the
// application's main window; null when it could not be created.
inline CMainWnd* OpenMainWindow(CWinApp& app)
{
    auto* main = new CMainWnd;
    if (!main->Create())
        return nullptr;
    app.m_pMainWnd = main;
    main->ShowWindow(SW_SHOW);
    main->EnableWindow(TRUE);
    return main;
}

// Destroys the main window unless the test already did (it deletes itself).
inline void CloseMainWindow(CWinApp& app, HWND hwnd)
{
    if (::IsWindow(hwnd))
        ::DestroyWindow(hwnd);
    app.m_pMainWnd = nullptr;
}
