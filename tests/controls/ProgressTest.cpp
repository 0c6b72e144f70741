// The skinned progress bar (bar arithmetic, empty ranges, painting) and the
// busy animation (frame order, restart, painting).
#include "ControlsBTestSupport.h"
#include "controls/CustomAnimeCtrl.h"
#include "controls/CustomProgressCtrl.h"

using namespace controlstest;

namespace {

class ProgressTest : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenSkinPack());
        ASSERT_TRUE(parent.CreateAt(40, 40, 400, 200));
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        GuiTest::TearDown();
    }
    CLogParent parent;
};

// Paints the control into a 32-bit bitmap of width x 16 and finds the bar's
// right edge (exclusive) in its first row.
struct PaintedBar {
    int right = 0;
    COLORREF rows[8]{};
};
PaintedBar PaintBar(const CCustomProgressCtrl& ctrl, int width, int lower, int upper, int pos)
{
    HDC mem = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -16, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT all{0, 0, width, 16};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ctrl.Paint(mem, all, lower, upper, pos);
    GdiFlush();
    auto pixel = [&](int x, int y) {
        const BYTE* p = static_cast<const BYTE*>(bits) + (y * width + x) * 4;
        return RGB(p[2], p[1], p[0]);
    };
    PaintedBar result;
    for (int x = 3; x < width && pixel(x, 4) == 0x828282; ++x)
        result.right = x + 1;
    for (int r = 0; r < 8; ++r)
        result.rows[r] = pixel(3, 4 + r);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    return result;
}

TEST_F(ProgressTest, BarCoversItsShareOfTheWidth)
{
    CCustomProgressCtrl ctrl;  // no window, no background picture: the bar alone
    struct Case {
        int width, lower, upper, pos, right;
    } cases[] = {
        {206, 0, 100, 50, 101},  {206, 0, 100, 100, 201}, {206, 0, 100, 0, 0},
        {206, 10, 20, 15, 101},  {206, 5, 5, 5, 0},        // empty range: no division by zero
        {206, 0, 100, 150, 201}, {206, 20, 10, 15, 0},     // beyond the range, reversed range
    };
    for (const auto& c : cases) {
        PaintedBar bar = PaintBar(ctrl, c.width, c.lower, c.upper, c.pos);
        EXPECT_EQ(c.right, bar.right) << c.lower << ".." << c.upper << " at " << c.pos;
    }
    const COLORREF rows[8] = {0x828282, 0x767575, 0x656564, 0x585858, 0x585858, 0x585858, 0x585858, 0x525252};
    PaintedBar full = PaintBar(ctrl, 206, 0, 100, 100);
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(rows[r], full.rows[r]) << r;
}

TEST_F(ProgressTest, WindowPaintsTroughAndBarAndSurvivesAnEmptyRange)
{
    SkinPicture trough(L"progress_bar.bmp");
    CCustomProgressCtrl ctrl;
    ASSERT_TRUE(ctrl.Create(WS_VISIBLE, CRect(10, 10, 216, 26), &parent, 5));
    ctrl.SetRange32(0, 100);
    ctrl.SetPos(50);
    Settle(parent.m_hWnd);
    ClientShot shot = CaptureClient(ctrl.m_hWnd);
    const int right = CCustomProgressCtrl::BarRight(shot.width, 50);
    EXPECT_EQ(COLORREF(0x828282), shot.At(3, 4));
    EXPECT_EQ(COLORREF(0x525252), shot.At(right - 1, 11));
    EXPECT_NE(COLORREF(0x828282), shot.At(right, 4));
    // The trough is stretched to the client (Wine adds a static edge): one of its corner pixels.
    bool fromTrough = false;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            fromTrough = fromTrough || trough.At(x, y) == shot.At(0, 0);
    EXPECT_TRUE(fromTrough);

    ctrl.SetRange32(0, 0);
    ctrl.SetPos(0);
    Settle(parent.m_hWnd);
    shot = CaptureClient(ctrl.m_hWnd);
    EXPECT_NE(COLORREF(0x828282), shot.At(3, 4));
}

TEST_F(ProgressTest, AnimationCyclesThreeFramesAndRestartsAtTheFirst)
{
    SkinPicture frame0(L"Loading_Anime[0].bmp"), frame1(L"Loading_Anime[1].bmp");
    CCustomAnimeCtrl anime;
    ASSERT_TRUE(anime.Create(nullptr, nullptr, WS_CHILD, CRect(10, 40, 74, 104), &parent, 6));
    anime.LoadFrames();
    EXPECT_EQ(3, anime.GetFrameCount());
    EXPECT_FALSE(anime.IsWindowVisible());
    anime.Start();
    EXPECT_TRUE(anime.IsWindowVisible());
    EXPECT_EQ(0, anime.GetFrame());
    int seen[4];
    for (int& f : seen) {
        f = anime.GetFrame();
        anime.SendMessage(WM_TIMER, CCustomAnimeCtrl::TimerId);
    }
    EXPECT_EQ(0, seen[0]);
    EXPECT_EQ(1, seen[1]);
    EXPECT_EQ(2, seen[2]);
    EXPECT_EQ(0, seen[3]);
    anime.SendMessage(WM_TIMER, CCustomAnimeCtrl::TimerId);  // frame 1
    Settle(parent.m_hWnd);
    // Compare a pixel where the two frames differ.
    int x = 0, y = 0;
    for (int i = 0; i < 64 * 64 && frame0.At(x, y) == frame1.At(x, y); ++i) {
        x = i % 64;
        y = i / 64;
    }
    ASSERT_NE(frame0.At(x, y), frame1.At(x, y));
    EXPECT_EQ(frame1.At(x, y), ClientPixel(anime.m_hWnd, x, y));
    anime.Start();
    EXPECT_EQ(0, anime.GetFrame());
    Settle(parent.m_hWnd);
    EXPECT_EQ(frame0.At(x, y), ClientPixel(anime.m_hWnd, x, y));
    // The timer really runs at about 100 ms.
    ASSERT_TRUE(PumpUntil([&] { return anime.GetFrame() == 2; }, 1500));
    anime.Stop();
    EXPECT_FALSE(anime.IsWindowVisible());
    const int stopped = anime.GetFrame();
    PumpUntil([] { return false; }, 250);
    EXPECT_EQ(stopped, anime.GetFrame());
}

}  // namespace
