// Geometry, device-context and GDI object helpers, image lists and tooltips.
#include "GuiTestSupport.h"

namespace {

TEST(Geometry, RectArithmetic)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
    r.DeflateRect(5, 5);
    EXPECT_EQ(r, CRect(15, 25, 105, 65));
    r.OffsetRect(-15, -25);
    EXPECT_EQ(r.TopLeft(), CPoint(0, 0));
    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_FALSE(r.PtInRect(CPoint(90, 40)));  // right and bottom are outside
    CRect empty(5, 5, 5, 9);
    EXPECT_TRUE(empty.IsRectEmpty());
    EXPECT_EQ(CPoint(MAKELPARAM(static_cast<WORD>(-3), 7)), CPoint(-3, 7));
}

// A target DC with a white 40 x 30 bitmap, for the double-buffer helper.
struct TargetDc {
    CClientDC screen{nullptr};
    CDC dc;
    CBitmap bmp;
    HGDIOBJ old = nullptr;
    TargetDc()
    {
        dc.CreateCompatibleDC(&screen);
        bmp.CreateCompatibleBitmap(screen, 40, 30);
        old = dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, 40, 30, RGB(255, 255, 255));
    }
    ~TargetDc() { dc.SelectObject(old); }
};

TEST(GdiObjects, MemDcDrawsInTargetCoordinatesAndCopiesAtTheEnd)
{
    TargetDc target;
    {
        CMemDC mem(&target.dc, CRect(10, 5, 30, 25));
        ASSERT_TRUE(mem.IsBuffered());
        mem.FillSolidRect(10, 5, 20, 20, RGB(0, 0, 255));
        mem.FillSolidRect(12, 7, 2, 2, RGB(255, 0, 0));
        EXPECT_EQ(target.dc.GetPixel(15, 15), RGB(255, 255, 255));  // nothing shows before the end
    }
    EXPECT_EQ(target.dc.GetPixel(15, 15), RGB(0, 0, 255));
    EXPECT_EQ(target.dc.GetPixel(12, 7), RGB(255, 0, 0));
    EXPECT_EQ(target.dc.GetPixel(9, 15), RGB(255, 255, 255));  // outside the rectangle
    EXPECT_EQ(target.dc.GetPixel(30, 15), RGB(255, 255, 255));
    {
        CMemDC mem(&target.dc, CRect(0, 0, 40, 30));
        mem.FillSolidRect(0, 0, 40, 30, RGB(0, 255, 0));
        mem.Discard();
    }
    EXPECT_EQ(target.dc.GetPixel(15, 15), RGB(0, 0, 255));
    {
        // No buffer for an empty rectangle: drawing goes straight through.
        CMemDC mem(&target.dc, CRect(5, 5, 5, 5));
        EXPECT_FALSE(mem.IsBuffered());
        mem.SetPixel(1, 1, RGB(0, 0, 0));
    }
    EXPECT_EQ(target.dc.GetPixel(1, 1), RGB(0, 0, 0));
    EXPECT_NE(target.dc.GetSafeHdc(), nullptr);  // the target DC is not taken
}

TEST(GdiObjects, MemoryDcDrawsIntoABitmap)
{
    CClientDC screen(nullptr);
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(screen, 20, 10));
    EXPECT_EQ(bmp.GetSize().cx, 20);
    HGDIOBJ old = mem.SelectObject(&bmp);
    mem.FillSolidRect(0, 0, 20, 10, RGB(255, 0, 0));
    CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
    mem.SelectObject(&pen);
    mem.MoveTo(0, 5);
    mem.LineTo(20, 5);
    EXPECT_EQ(mem.GetPixel(3, 2), RGB(255, 0, 0));
    EXPECT_EQ(mem.GetPixel(3, 5), RGB(0, 0, 255));
    CRgn rgn;
    ASSERT_TRUE(rgn.CreateRectRgn(0, 0, 10, 10));
    CRgn other;
    ASSERT_TRUE(other.CreateRectRgn(5, 0, 10, 10));
    EXPECT_EQ(rgn.CombineRgn(rgn, other, RGN_DIFF), SIMPLEREGION);
    EXPECT_TRUE(rgn.PtInRegion(2, 2));
    EXPECT_FALSE(rgn.PtInRegion(7, 2));
    mem.SelectObject(old);
}

class CPaintedWnd : public CWnd {
protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        CBrush brush(RGB(0, 128, 0));
        dc.FillRect(&rc, brush);
    }
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintedWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

using WindowPaint = GuiTest;

TEST_F(WindowPaint, PaintHandlerDrawsOnScreen)
{
    CPaintedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(WS_EX_TOPMOST, nullptr, L"paint", WS_POPUP | WS_VISIBLE, 50, 50, 80, 60, nullptr, nullptr));
    wnd.UpdateWindow();
    PumpPending();
    CWindowDC dc(&wnd);
    EXPECT_EQ(dc.GetPixel(40, 30), RGB(0, 128, 0));
}

TEST_F(WindowPaint, ImageListAndItsTemporaryWrapper)
{
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2));
    CClientDC screen(nullptr);
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(screen, 32, 16));
    EXPECT_EQ(list.Add(bmp, RGB(255, 0, 255)), 0);
    EXPECT_EQ(list.GetImageCount(), 2);
    CImageList* temp = CImageList::FromHandle(list.GetSafeHandle());
    EXPECT_NE(temp, &list);
    EXPECT_EQ(CImageList::FromHandle(list.GetSafeHandle()), temp);
    AfxDeleteTempObjects();
    EXPECT_EQ(list.GetImageCount(), 2);  // the wrapper owned nothing
}

TEST_F(WindowPaint, ToolTipToolsComeAndGo)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&wnd));
    EXPECT_TRUE(tip.AddTool(&wnd, L"whole window"));
    EXPECT_TRUE(tip.AddTool(&wnd, L"corner", CRect(0, 0, 10, 10), 7));
    EXPECT_EQ(tip.GetToolCount(), 2);
    tip.UpdateTipText(L"changed", &wnd, 7);
    tip.DelTool(&wnd, 7);
    EXPECT_EQ(tip.GetToolCount(), 1);
}

}  // namespace
