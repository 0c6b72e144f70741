#pragma once
// Every page the program opens in the user's browser goes through here: it is
// handed to the system. Only when the environment names a record file
// (MIROVALE_URL_LOG, set by tests) is the address appended to it as a UTF-8
// line instead.
#include <windows.h>

void OpenInBrowser(HWND parent, const wchar_t* address);
