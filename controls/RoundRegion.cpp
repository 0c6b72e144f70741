#include "controls/RoundRegion.h"

void SetCornerCutRegion(HWND window, int w, int h)
{
    HRGN region = ::CreateRectRgn(0, 0, w + 1, h + 1);
    const POINT corners[4] = {{0, 0}, {0, h - 1}, {w - 1, h - 1}, {w - 1, 0}};
    for (const POINT& c : corners) {
        HRGN pixel = ::CreateRectRgn(c.x, c.y, c.x + 1, c.y + 1);
        ::CombineRgn(region, region, pixel, RGN_DIFF);
        ::DeleteObject(pixel);
    }
    // The window owns the region once it is set.
    if (!::SetWindowRgn(window, region, TRUE))
        ::DeleteObject(region);
}
