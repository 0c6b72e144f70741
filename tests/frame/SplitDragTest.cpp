// Dragging a splitter bar: a drag starts only on the bar and only while
// nothing else holds the mouse, keeps the point where the bar was grabbed,
// and gives the mouse back when it ends.
#include "GuiTestSupport.h"
#include "frame/SplitDrag.h"

namespace {

class SplitDrag : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr));
        ASSERT_TRUE(other.CreateEx(0, nullptr, L"other", WS_POPUP | WS_VISIBLE, 320, 0, 50, 50, nullptr, nullptr));
    }
    void TearDown() override
    {
        ::ReleaseCapture();
        other.DestroyWindow();
        owner.DestroyWindow();
        GuiTest::TearDown();
    }
    CWnd owner, other;
};

TEST_F(SplitDrag, KeepsTheGrabPointAlongItsAxis)
{
    // A bar at x 100..106 (moves left-right) and one at y 200..206 (moves up-down).
    const struct {
        BOOL alongY;
        CRect bar;
        CPoint grab, to;
        int split;
    } cases[] = {
        {FALSE, CRect(100, 0, 106, 300), CPoint(104, 50), CPoint(150, 80), 146},
        {FALSE, CRect(100, 0, 106, 300), CPoint(100, 10), CPoint(20, 10), 20},
        {TRUE, CRect(0, 200, 300, 206), CPoint(40, 203), CPoint(70, 120), 117},
        {TRUE, CRect(0, 200, 300, 206), CPoint(299, 205), CPoint(0, 260), 255},
    };
    for (const auto& c : cases) {
        CSplitDrag drag(c.alongY);
        ASSERT_TRUE(drag.Begin(owner, c.grab, c.bar)) << c.grab.x << "," << c.grab.y;
        EXPECT_TRUE(drag.IsDragging());
        EXPECT_EQ(::GetCapture(), owner.m_hWnd);
        EXPECT_EQ(drag.SplitAt(c.grab), c.alongY ? c.bar.top : c.bar.left);
        EXPECT_EQ(drag.SplitAt(c.to), c.split);
        drag.End();
        EXPECT_FALSE(drag.IsDragging());
        EXPECT_EQ(::GetCapture(), static_cast<HWND>(nullptr));
    }
}

TEST_F(SplitDrag, StartsOnlyOnTheBarAndOnlyWhenTheMouseIsFree)
{
    const CRect bar(100, 0, 106, 300);
    CSplitDrag drag(FALSE);
    // Beside the bar (its right edge is outside).
    for (CPoint pt : {CPoint(99, 10), CPoint(106, 10), CPoint(103, 300)}) {
        EXPECT_FALSE(drag.Begin(owner, pt, bar)) << pt.x << "," << pt.y;
        EXPECT_FALSE(drag.IsDragging());
        EXPECT_EQ(::GetCapture(), static_cast<HWND>(nullptr));
    }
    // Another window holds the mouse: no drag takes it away.
    other.SetCapture();
    EXPECT_FALSE(drag.Begin(owner, CPoint(103, 10), bar));
    EXPECT_EQ(::GetCapture(), other.m_hWnd);
    ::ReleaseCapture();
    // Ending without a drag leaves another window's capture alone.
    other.SetCapture();
    drag.End();
    EXPECT_EQ(::GetCapture(), other.m_hWnd);
}

}  // namespace
