#pragma once
// Pages named by language files, received links or downloaded feeds are opened
// only when they are web pages: http or https with a host. Anything else (a
// local file, a program, a share, a script) is never handed to the system.
#include <windows.h>

BOOL IsWebLink(const wchar_t* address);
// Opens the page through OpenInBrowser; FALSE (nothing opened) when it is not a web page.
BOOL OpenWebLink(HWND parent, const wchar_t* address);
