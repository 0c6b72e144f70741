// The scrolling text: wrapping into rows, the scroll range, keys, wheel, the
// bar's scroll messages and what is painted.
#include <string>

#include "ControlsBTestSupport.h"
#include "common/Utility.h"
#include "controls/ScrlText.h"

using namespace controlstest;

namespace {

std::wstring Rows(int n)
{
    std::wstring text;
    for (int i = 1; i <= n; ++i)
        text += (i > 1 ? L"\n" : L"") + std::wstring(L"Row ") + std::to_wstring(i);
    return text;
}

class ScrollingTextTest : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenSkinPack());
        parent.watched.push_back(WM_MOUSEWHEEL);
        ASSERT_TRUE(parent.CreateAt(40, 40, 400, 320));
        ASSERT_TRUE(text.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 310, 260), &parent, 77));
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        GuiTest::TearDown();
    }
    int Pos() { return text.GetScrollPos(SB_VERT); }
    BOOL Key(UINT key)
    {
        MSG msg{text.m_hWnd, WM_KEYDOWN, key, 0};
        return text.PreTranslateMessage(&msg);
    }
    CLogParent parent;
    CScrlText text;
};

TEST_F(ScrollingTextTest, EightRowsInA250PixelControlScrollOver306)
{
    text.SetText(Rows(8).c_str());
    EXPECT_EQ(8, text.GetLines().GetSize());
    EXPECT_EQ(306, text.GetContentHeight());
    EXPECT_TRUE(text.GetStyle() & WS_VSCROLL);
    EXPECT_TRUE(text.m_scrollBar.IsWindowVisible());
    SCROLLINFO si{sizeof(si), SIF_ALL};
    text.GetScrollInfo(SB_VERT, &si);
    EXPECT_EQ(0, si.nMin);
    EXPECT_EQ(306, si.nMax);
    EXPECT_EQ(250u, si.nPage);
    CRect client;
    text.GetClientRect(&client);
    EXPECT_EQ(300 - 16, client.Width());
}

TEST_F(ScrollingTextTest, MoreThanTenRowsAreWrappedNarrowerForTheBar)
{
    std::wstring words;
    for (int i = 0; i < 90; ++i)
        words += L"word" + std::to_wstring(i) + L" ";
    text.SetText(words.c_str());
    const int rows = static_cast<int>(text.GetLines().GetSize());
    ASSERT_GT(rows, 10);
    EXPECT_EQ(rows * 30 - 2, text.GetContentHeight());
    HFONT font = nullptr;
    ASSERT_TRUE(CreateTahomaFont(FALSE, &font, 117, FALSE));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    for (INT_PTR i = 0; i < text.GetLines().GetSize(); ++i) {
        SIZE size{};
        const CString& line = text.GetLines()[i];
        GetTextExtentPoint32W(dc, line, line.GetLength(), &size);
        EXPECT_LE(size.cx, 300 - 10 - 18) << i;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);

    text.SetText(Rows(12).c_str());
    EXPECT_EQ(358, text.GetContentHeight());
}

TEST_F(ScrollingTextTest, FittingTextRemovesTheBarAndUsesTheFullWidth)
{
    text.SetText(Rows(8).c_str());
    ASSERT_TRUE(Key(VK_END));
    EXPECT_GT(Pos(), 0);
    // Up to ten rows take 306 pixels: a 310-pixel control holds them.
    text.MoveWindow(10, 10, 300, 310);
    text.SetText(Rows(3).c_str());
    EXPECT_FALSE(text.GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(text.m_scrollBar.IsWindowVisible());
    CRect client;
    text.GetClientRect(&client);
    EXPECT_EQ(300, client.Width());
    EXPECT_EQ(0, Pos());  // no stale offset for the short text
}

TEST_F(ScrollingTextTest, BlankLineKeepsTheParagraphsAfterIt)
{
    text.SetText(L"First\n\nSecond\n");
    ASSERT_EQ(3, text.GetLines().GetSize());
    EXPECT_EQ(CString(L"First"), text.GetLines()[0]);
    EXPECT_TRUE(text.GetLines()[1].IsEmpty());
    EXPECT_EQ(CString(L"Second"), text.GetLines()[2]);
    text.SetText(nullptr);  // ignored
    EXPECT_EQ(3, text.GetLines().GetSize());
}

TEST_F(ScrollingTextTest, KeysScrollByTheTableAndAreConsumed)
{
    text.SetText(Rows(8).c_str());  // positions 0..57 (306 - 250 + 1)
    struct Case {
        int start;
        UINT key;
        int pos;
    } cases[] = {
        {0, VK_DOWN, 10}, {0, VK_NEXT, 35}, {0, VK_END, 57},  {40, VK_HOME, 0},  {0, VK_UP, 0},
        {20, VK_UP, 10},  {20, VK_PRIOR, 0}, {50, VK_NEXT, 57}, {20, VK_LEFT, 20}, {20, VK_RIGHT, 20},
    };
    for (const auto& c : cases) {
        text.SetScrollPos(SB_VERT, c.start, FALSE);
        EXPECT_TRUE(Key(c.key)) << c.key;
        EXPECT_EQ(c.pos, Pos()) << "start " << c.start << " key " << c.key;
    }
    EXPECT_FALSE(Key('A'));
    // Through the message loop as well.
    text.SetScrollPos(SB_VERT, 0, FALSE);
    text.SetFocus();
    text.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(PumpUntil([&] { return Pos() == 10; }, 1000));
    EXPECT_EQ(10, text.m_scrollBar.m_trackPos);
}

TEST_F(ScrollingTextTest, WheelScrollsOnlyWithTheBarAndStaysHere)
{
    text.MoveWindow(10, 10, 300, 310);
    text.SetText(Rows(3).c_str());
    POINT pt{50, 50};
    text.ClientToScreen(&pt);
    text.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(0, Pos());
    EXPECT_EQ(1, parent.Count(WM_MOUSEWHEEL));  // nothing to scroll: handed to the parent

    text.MoveWindow(10, 10, 300, 250);
    text.SetText(Rows(8).c_str());
    text.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(10, Pos());
    text.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(0, Pos());
    EXPECT_EQ(1, parent.Count(WM_MOUSEWHEEL));
}

TEST_F(ScrollingTextTest, BarArrowAndPageMoveByTenAndThirtyFive)
{
    text.SetText(Rows(8).c_str());
    HWND bar = text.m_scrollBar.m_hWnd;
    CRect rc;
    ::GetClientRect(bar, &rc);
    SendMouse(bar, WM_LBUTTONDOWN, 8, rc.bottom - 4, MK_LBUTTON);
    SendMouse(bar, WM_LBUTTONUP, 8, rc.bottom - 4);
    EXPECT_EQ(10, Pos());
    SendMouse(bar, WM_LBUTTONDOWN, 8, rc.bottom - 30, MK_LBUTTON);
    SendMouse(bar, WM_LBUTTONUP, 8, rc.bottom - 30);
    EXPECT_EQ(45, Pos());
    EXPECT_EQ(text.m_hWnd, GetFocus());
}

TEST_F(ScrollingTextTest, PaintsRowsWhiteOnGreyBlueAndShiftsThemWhenScrolled)
{
    text.SetText(Rows(8).c_str());
    Settle(parent.m_hWnd);
    ClientShot top = CaptureClient(text.m_hWnd);
    EXPECT_EQ(COLORREF(0x8B7B7B), top.At(2, 2));
    EXPECT_GT(top.Count(RGB(255, 255, 255), RECT{5, 10, 200, 28}), 10);
    EXPECT_EQ(0, top.Count(RGB(255, 255, 255), RECT{0, 0, 280, 10}));

    ASSERT_TRUE(Key(VK_DOWN));
    Settle(parent.m_hWnd);
    ClientShot scrolled = CaptureClient(text.m_hWnd);
    int differences = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 280; ++x)
            differences += scrolled.At(x, y) != top.At(x, y + 10);
    EXPECT_EQ(0, differences);
}

}  // namespace
