// The skinned scroll bar in a host's non-client area: placement, part
// geometry, thumb arithmetic, dragging, auto-repeat, painting and the shared skin.
#include "ControlsBTestSupport.h"
#include "ScrollHostB.h"
#include "controls/ScrlText.h"

using namespace controlstest;

namespace {

class ScrollBarTest : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenSkinPack());
        ASSERT_TRUE(parent.CreateAt(40, 40, 400, 400));
    }
    void TearDown() override
    {
        if (host.m_hWnd)
            host.DestroyWindow();
        parent.DestroyWindow();
        GuiTest::TearDown();
    }
    // Screen point of a point in the vertical bar's own coordinates.
    POINT BarScreen(CCustomScrollBar& bar, int x, int y)
    {
        POINT pt{x, y};
        bar.ClientToScreen(&pt);
        return pt;
    }
    // Bar point in the host's window-DC coordinates.
    COLORREF BarPixel(CCustomScrollBar& bar, int x, int y)
    {
        CRect hostRect, barRect;
        host.GetWindowRect(&hostRect);
        bar.GetWindowRect(&barRect);
        return WindowPixel(host.m_hWnd, barRect.left - hostRect.left + x, barRect.top - hostRect.top + y);
    }
    CLogParent parent;
    CTestScrollHost host;
};

TEST_F(ScrollBarTest, RangeWithinThePageHidesTheBarAndKeepsTheClientWidth)
{
    ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 210), false));
    host.SetRange(SB_VERT, 50, 100);
    CRect client;
    host.GetClientRect(&client);
    EXPECT_FALSE(host.GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(host.m_vbar.IsWindowVisible());
    EXPECT_EQ(200, client.Width());

    host.SetRange(SB_VERT, 306, 100);
    host.GetClientRect(&client);
    EXPECT_TRUE(host.GetStyle() & WS_VSCROLL);
    EXPECT_TRUE(host.m_vbar.IsWindowVisible());
    EXPECT_EQ(200 - 16, client.Width());
    CRect bar;
    host.m_vbar.GetClientRect(&bar);
    EXPECT_EQ(16, bar.Width());
    EXPECT_EQ(200, bar.Height());
}

TEST_F(ScrollBarTest, HitTestTableArrowsWinOverPages)
{
    ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 210), false));
    struct Case {
        int pos, y, part;
    } cases[] = {
        {0, 5, 2},   {0, 15, 2},  {0, 16, 1},  {0, 55, 1},  {0, 56, 5},   {0, 184, 5},  {0, 185, 3},
        {0, 199, 3}, {100, 100, 4}, {100, 150, 1}, {100, 184, 1}, {100, 190, 3}, {100, 10, 2},
    };
    for (const auto& c : cases) {
        host.SetRange(SB_VERT, 199, 100, c.pos);  // the bar's range is 0..100
        EXPECT_EQ(c.part, host.m_vbar.HitTest(CPoint(8, c.y))) << "pos " << c.pos << " y " << c.y;
    }
}

TEST_F(ScrollBarTest, ThumbFollowsTheHostPositionAndClamps)
{
    struct Case {
        int hostHeight, pos, thumb;
    } cases[] = {
        {200, 0, 16}, {200, 50, 80}, {200, 100, 145},
        {60, 50, 16},  // bar too short for arrows and thumb: the lower bound wins
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 10 + c.hostHeight), false));
        host.SetRange(SB_VERT, 199, 100, c.pos);
        EXPECT_EQ(c.thumb, host.m_vbar.m_thumbPos) << "height " << c.hostHeight << " pos " << c.pos;
        host.DestroyWindow();
    }
    // An empty range puts the thumb at the start.
    ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 210), false));
    host.SetRange(SB_VERT, 199, 100, 100);
    host.m_vbar.SetScrollRange(5, 5, FALSE);
    host.m_vbar.UpdateThumbFromPos();
    EXPECT_EQ(16, host.m_vbar.m_thumbPos);
}

TEST_F(ScrollBarTest, ThumbLengthDoesNotDependOnThePage)
{
    ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 210), false));
    for (int page : {10, 150}) {
        host.SetRange(SB_VERT, 300, page);
        EXPECT_EQ(40, host.m_vbar.GetPartRect(CCustomScrollBar::PartThumb).Height()) << page;
    }
}

TEST_F(ScrollBarTest, DraggingTheThumbSendsTrackPositionsThenEndScroll)
{
    ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 210), false));
    host.SetRange(SB_VERT, 199, 100, 0);
    HWND bar = host.m_vbar.m_hWnd;
    SendMouse(bar, WM_LBUTTONDOWN, 8, 36, MK_LBUTTON);
    EXPECT_EQ(bar, GetCapture());
    EXPECT_EQ(0, host.Count(WM_VSCROLL, SB_THUMBTRACK));
    SendMouse(bar, WM_MOUSEMOVE, 8, 100, MK_LBUTTON);
    // Thumb centred on the pointer: 80; position 100 * (80 - 16) / 129.
    EXPECT_EQ(80, host.m_vbar.m_thumbPos);
    ASSERT_EQ(1, host.Count(WM_VSCROLL, SB_THUMBTRACK));
    EXPECT_EQ(49, HIWORD(host.scrolls.back().second));
    EXPECT_EQ(49, host.m_vbar.m_trackPos);
    EXPECT_EQ(49, host.GetScrollPos(SB_VERT));
    SendMouse(bar, WM_LBUTTONUP, 8, 100);
    EXPECT_EQ(1, host.Count(WM_VSCROLL, SB_ENDSCROLL));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(16 + 129 * 49 / 100, host.m_vbar.m_thumbPos);
}

TEST_F(ScrollBarTest, NonClientClickReachesTheBarThroughPreTranslation)
{
    ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 210), false));
    host.SetRange(SB_VERT, 199, 100, 0);
    POINT pt = BarScreen(host.m_vbar, 8, 150);
    EXPECT_EQ(HTVSCROLL, host.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    POINT inside{50, 50};
    host.ClientToScreen(&inside);
    EXPECT_EQ(HTCLIENT, host.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)));

    host.PostMessage(WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(pt.x, pt.y));
    ASSERT_TRUE(PumpUntil([&] { return host.Count(WM_VSCROLL, SB_PAGEDOWN) == 1; }, 1000));
    EXPECT_EQ(10, host.GetScrollPos(SB_VERT));
    ::PostMessageW(host.m_vbar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(8, 150));
    ASSERT_TRUE(PumpUntil([&] { return host.Count(WM_VSCROLL, SB_ENDSCROLL) == 1; }, 1000));
}

TEST_F(ScrollBarTest, HeldArrowRepeatsAfterTheKeyboardDelayUntilRelease)
{
    FastKeyboardRepeat fast;  // 250 ms delay, 50 ms repeat
    ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 210), false));
    host.SetRange(SB_VERT, 299, 100, 100);
    POINT pt = BarScreen(host.m_vbar, 8, 8);
    const DWORD start = GetTickCount();
    host.PostMessage(WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(pt.x, pt.y));
    ASSERT_TRUE(PumpUntil([&] { return host.Count(WM_VSCROLL, SB_LINEUP) == 1; }, 1000));
    PumpUntil([] { return false; }, 150);
    if (GetTickCount() - start < 240) {
        EXPECT_EQ(1, host.Count(WM_VSCROLL, SB_LINEUP));  // still waiting for the delay
    }
    ASSERT_TRUE(PumpUntil([&] { return host.Count(WM_VSCROLL, SB_LINEUP) >= 4; }, 2000));
    EXPECT_GE(GetTickCount() - start, 250u + 2 * 50u - 20u);
    ::PostMessageW(host.m_vbar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
    ASSERT_TRUE(PumpUntil([&] { return host.Count(WM_VSCROLL, SB_ENDSCROLL) == 1; }, 1000));
    const int after = host.Count(WM_VSCROLL, SB_LINEUP);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(after, host.Count(WM_VSCROLL, SB_LINEUP));
    EXPECT_EQ(100 - after, host.GetScrollPos(SB_VERT));
}

TEST_F(ScrollBarTest, HeldPageAreaKeepsPagingPastThePointer)
{
    FastKeyboardRepeat fast;
    ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 210), false));
    host.SetRange(SB_VERT, 199, 100, 0);  // thumb 16..56
    SendMouse(host.m_vbar.m_hWnd, WM_LBUTTONDOWN, 8, 60, MK_LBUTTON);
    EXPECT_EQ(1, host.Count(WM_VSCROLL, SB_PAGEDOWN));
    // After two pages the thumb has passed the pointer; paging goes on to the end.
    ASSERT_TRUE(PumpUntil([&] { return host.GetScrollPos(SB_VERT) == 100; }, 3000));
    EXPECT_GE(host.Count(WM_VSCROLL, SB_PAGEDOWN), 10);
    SendMouse(host.m_vbar.m_hWnd, WM_LBUTTONUP, 8, 60);
    EXPECT_EQ(145, host.m_vbar.m_thumbPos);
}

TEST_F(ScrollBarTest, PaintsNormalHotAndPressedThumbFromTheSkin)
{
    SkinPicture normal(L"scrl_thumb_vert_normal.bmp"), hot(L"scrl_thumb_vert_hot.bmp"),
        pressed(L"scrl_thumb_vert_pressed.bmp"), arrow(L"scrl_arrow_up_normal.bmp");
    ASSERT_NE(normal.At(8, 20), hot.At(8, 20));
    ASSERT_NE(normal.At(8, 20), pressed.At(8, 20));
    ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 210), false));
    host.SetRange(SB_VERT, 199, 100, 0);
    Settle(parent.m_hWnd);
    EXPECT_EQ(arrow.At(8, 8), BarPixel(host.m_vbar, 8, 8));
    EXPECT_EQ(normal.At(8, 20), BarPixel(host.m_vbar, 8, 16 + 20));

    POINT pt = BarScreen(host.m_vbar, 8, 36);
    SetCursorPos(pt.x, pt.y);
    host.PostMessage(WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(pt.x, pt.y));
    ASSERT_TRUE(PumpUntil([&] { return host.m_vbar.m_hover != FALSE; }, 1000));
    GdiFlush();
    EXPECT_EQ(hot.At(8, 20), BarPixel(host.m_vbar, 8, 16 + 20));

    SendMouse(host.m_vbar.m_hWnd, WM_LBUTTONDOWN, 8, 36, MK_LBUTTON);
    GdiFlush();
    EXPECT_EQ(pressed.At(8, 20), BarPixel(host.m_vbar, 8, 16 + 20));
    SendMouse(host.m_vbar.m_hWnd, WM_LBUTTONUP, 8, 36);
}

// The shared corner picture, or the one the host gives.
TEST_F(ScrollBarTest, BothBarsShowTheSizeBoxInTheCorner)
{
    SkinPicture box(L"scrl_sizebox.bmp");
    DIB_IMAGE own{};
    InitDibImage(&own);
    ASSERT_TRUE(CreateDib(&own, 16, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            BYTE* p = own.bits + y * DibRowSize(16) + 3 * x;
            p[0] = 0x20, p[1] = 0xC0, p[2] = 0x40;  // blue, green, red
        }
    ASSERT_NE(box.At(8, 8), RGB(0x40, 0xC0, 0x20));
    for (const DIB_IMAGE* picture : {static_cast<const DIB_IMAGE*>(nullptr), static_cast<const DIB_IMAGE*>(&own)}) {
        SCOPED_TRACE(picture ? "own picture" : "shared picture");
        CTestScrollHost host;
        host.sizeBox = picture;
        ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 210), true));
        host.SetRange(SB_VERT, 400, 100);
        host.SetRange(SB_HORZ, 400, 100);
        Settle(parent.m_hWnd);
        CRect client, vbar, hbar;
        host.GetClientRect(&client);
        EXPECT_EQ(184, client.Width());
        EXPECT_EQ(184, client.Height());
        host.m_vbar.GetClientRect(&vbar);
        host.m_hbar.GetClientRect(&hbar);
        EXPECT_EQ(184, vbar.Height());
        EXPECT_EQ(184, hbar.Width());
        EXPECT_EQ(picture ? RGB(0x40, 0xC0, 0x20) : box.At(8, 8), WindowPixel(host.m_hWnd, 184 + 8, 184 + 8));
        host.DestroyWindow();
    }
    FreeDibImage(&own);
}

TEST_F(ScrollBarTest, BarsShareOneSkinAndTheLastFreesIt)
{
    const int before = theScrollBarSkin.refCount;
    ASSERT_TRUE(host.CreateIn(&parent, CRect(10, 10, 210, 210), true));
    EXPECT_EQ(before + 2, theScrollBarSkin.refCount);
    host.DestroyWindow();
    EXPECT_EQ(before, theScrollBarSkin.refCount);
    if (before == 0) {
        for (const auto& image : theScrollBarSkin.images)
            EXPECT_EQ(nullptr, image.bitmap);
    }
}

TEST_F(ScrollBarTest, HostObjectGoingAwayReleasesItsBarsSkin)
{
    const int before = theScrollBarSkin.refCount;
    const LONG late = CWnd::GetLateDestroyCount();
    auto* temporary = new CTestScrollHost;
    ASSERT_TRUE(temporary->CreateIn(&parent, CRect(10, 10, 210, 210), true));
    EXPECT_EQ(before + 2, theScrollBarSkin.refCount);
    delete temporary;  // its window and the bars' go first, with the whole objects
    EXPECT_EQ(before, theScrollBarSkin.refCount);
    auto* text = new CScrlText;
    ASSERT_TRUE(text->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 210), &parent, 3));
    EXPECT_EQ(before + 1, theScrollBarSkin.refCount);
    delete text;
    EXPECT_EQ(before, theScrollBarSkin.refCount);
    EXPECT_EQ(late, CWnd::GetLateDestroyCount());
}

TEST_F(ScrollBarTest, MissingSkinFailsTheBarAndLeavesNothingLoaded)
{
    ASSERT_EQ(0, theScrollBarSkin.refCount);
    EXPECT_FALSE(theFileArchive.Open(L"Z:\\no such pack.qpk"));
    CCustomScrollBar bar;
    EXPECT_FALSE(bar.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), &parent, 59649));
    EXPECT_EQ(0, theScrollBarSkin.refCount);
    for (const auto& image : theScrollBarSkin.images)
        EXPECT_EQ(nullptr, image.bitmap);
    EXPECT_TRUE(OpenSkinPack());
}

}  // namespace
