#pragma once
// Self-painting controls that draw through a memory bitmap copy their parent's
// background into it first, so that they look transparent over a skin.
#include <windows.h>

// Asks child's parent to erase its background into dc, which stands for the
// child's client area.
void DrawParentBackground(HWND child, HDC dc);
