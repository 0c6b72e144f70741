#pragma once
// The main window's own window class. A second start looks for the first by
// this class as well as by the title, so that another program's window with
// the same title never receives the link.
#include <windows.h>

constexpr wchar_t kMainWndClass[] = L"MirovaleMainWindow";

// The running instance's main window of that title, or null.
inline HWND FindRunningMainWindow(const wchar_t* title) { return ::FindWindowW(kMainWndClass, title); }
