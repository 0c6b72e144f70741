#pragma once
// The visual-theme and desktop-composition libraries, loaded at run time so the
// program also starts where they are missing, and the zoom outline that opening
// and closing dialogs draw.
#include <windows.h>

struct THEME_LIBRARY {
    FARPROC entry;   // NULL when the library or the export is missing
    HMODULE module;  // NULL when the library is missing
};

// SetWindowTheme of UxTheme.dll and DwmIsCompositionEnabled of dwmapi.dll.
extern THEME_LIBRARY* theUxThemeLibrary;
extern THEME_LIBRARY* theDwmLibrary;

// Creates both records; TRUE when both exist, found libraries or not.
BOOL LoadThemeLibraries();
void FreeThemeLibraries();
// Takes every visual style off the window; TRUE when that worked or when there
// is no theme library to ask.
BOOL RemoveWindowTheme(HWND hwnd);
// TRUE when the composition library reports desktop composition on.
BOOL IsCompositionOn();
// Ten XOR outlines from "from" towards "to" (screen coordinates), each shown
// for stepMs and erased again. With composition on they are drawn in mainWnd,
// clamped to it; otherwise on the desktop.
void AnimateZoomRect(const RECT* from, const RECT* to, DWORD stepMs, HWND mainWnd = nullptr);
