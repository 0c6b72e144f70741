#pragma once
// Every page the program opens in the user's browser goes through here: it is
// handed to the system, or to the hook a test installed in its place.
#include <windows.h>

using BrowserHook = void (*)(HWND parent, const wchar_t* address);

// Pages go to hook instead of the system; null hands them to the system again.
void SetBrowserHook(BrowserHook hook);
void OpenInBrowser(HWND parent, const wchar_t* address);
