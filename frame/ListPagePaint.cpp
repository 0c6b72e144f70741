#include "frame/ListPagePaint.h"

#include "classlib/CMemDC.h"

namespace {

constexpr COLORREF kBack = RGB(5, 5, 10);
constexpr COLORREF kListFrame = RGB(150, 150, 152);

}  // namespace

void PaintListPage(CWnd& page, const DIB_IMAGE& footer, CWnd& list)
{
    CPaintDC paint(&page);
    CRect client;
    page.GetClientRect(&client);
    CMemDC dc(&paint, client);
    dc.FillSolidRect(&client, kBack);
    if (footer.bitmap)
        DrawDibEx(&footer, dc, (client.Width() - footer.width) / 2, client.bottom - 60, footer.width, 1, 0, 0,
                  footer.width, footer.height);
    FrameChild(dc, list, page);
}

void FrameChild(CDC& dc, const CWnd& child, const CWnd& parent)
{
    if (!child.GetSafeHwnd())
        return;
    CRect frame;
    child.GetWindowRect(&frame);
    parent.ScreenToClient(&frame);
    frame.InflateRect(1, 1);
    CBrush brush(kListFrame);
    dc.FrameRect(&frame, brush);
}
