#pragma once
// Every page the program opens in the user's browser goes through here. When
// the environment names a record file (MIROVALE_URL_LOG) the address is
// appended to it as a UTF-8 line instead; under Wine nothing is started.
#include <windows.h>

void OpenInBrowser(HWND parent, const wchar_t* address);
