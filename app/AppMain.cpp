// Program entry: the application object (app/App.cpp) does the rest.
#include <windows.h>

#include "classlib/CWinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR cmdLine, int show)
{
    return AfxWinMain(instance, previous, cmdLine, show);
}
