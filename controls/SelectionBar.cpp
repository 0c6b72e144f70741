#include "controls/SelectionBar.h"

#include <algorithm>

void DrawSelectionBar(HDC dc, const RECT& bar, const DIB_IMAGE& left, const DIB_IMAGE& mid, const DIB_IMAGE& right,
                      BOOL tileMid)
{
    // A bar narrower than its ends cuts them: nothing is drawn outside it.
    const RECT leftEnd{bar.left, bar.top, std::min<LONG>(bar.right, bar.left + left.width), bar.bottom};
    const RECT rightEnd{std::max<LONG>(leftEnd.right, bar.right - right.width), bar.top, bar.right, bar.bottom};
    const RECT middle{leftEnd.right, bar.top, rightEnd.left, bar.bottom};
    FillRectWithDib(dc, &left, &leftEnd, FALSE);
    if (!IsRectEmpty(&rightEnd))
        FillRectWithDib(dc, &right, &rightEnd, FALSE);
    if (!IsRectEmpty(&middle))
        FillRectWithDib(dc, &mid, &middle, tileMid);
}

void FillWithDcColour(HDC dc, const RECT& rc, COLORREF colour)
{
    SetDCPenColor(dc, colour);
    SetDCBrushColor(dc, colour);
    Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
}
