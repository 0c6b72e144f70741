#pragma once
// The skinned selection bar of a list row: the left and right end pictures at
// their own width inside the bar, the middle picture over what lies between
// (tiled or stretched). Our lists and the views' own lists draw it alike.
#include <windows.h>

#include "common/DibImage.h"

// Link text (underlined titles and names) over the selection bar: light, as
// the bar itself is a dark teal.
constexpr COLORREF kLinkTextOnSelection = RGB(254, 254, 254);

void DrawSelectionBar(HDC dc, const RECT& bar, const DIB_IMAGE& left, const DIB_IMAGE& mid, const DIB_IMAGE& right,
                      BOOL tileMid = FALSE);

// Fills a rectangle with the colour through the DC pen and brush (which the
// list's painting selects), border included.
void FillWithDcColour(HDC dc, const RECT& rc, COLORREF colour);
