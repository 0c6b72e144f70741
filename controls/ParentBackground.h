#pragma once
// Self-painting controls that draw through a memory bitmap copy their parent's
// background into it first, so that they look transparent over a skin.
#include <windows.h>

// Fills dc, which stands for child's client area, with fallback, then asks
// child's parent to erase its background into it. A parent that paints its
// background only in WM_PAINT leaves the fallback colour.
void DrawParentBackground(HWND child, HDC dc, COLORREF fallback);
