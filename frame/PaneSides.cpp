#include "frame/PaneSides.h"

#include "frame/PaneImages.h"

void PaintPaneSides(CDC& dc, const CRect& client, const DIB_IMAGE& left, const DIB_IMAGE& right)
{
    dc.FillSolidRect(&client, kPaneBack);
    CRect strip(0, 0, left.width, client.bottom);
    FillRectWithDib(dc, &left, &strip, TRUE);
    strip = CRect(client.right - right.width, 0, client.right, client.bottom);
    FillRectWithDib(dc, &right, &strip, TRUE);
}
