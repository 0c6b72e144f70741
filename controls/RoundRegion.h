#pragma once
#include <windows.h>

// Gives a window the region of a w x h face (one pixel more each way, as the
// faces are drawn) with its four corner pixels cut off.
void SetCornerCutRegion(HWND window, int w, int h);
