// Static texts over the parent's background: alignment, the centred block of
// several lines, changing the text without remnants, and the GDI+ label.
#include "SkinTestFixture.h"
#include "controls/CustomLightStatic.h"
#include "controls/CustomStatic.h"

using namespace skintest;

namespace {

const COLORREF kText = RGB(250, 250, 0);

class Static : public SkinGuiTest {
protected:
    // Rows and columns of the label that hold text pixels.
    static void TextExtent(const Pixels& p, int* top, int* bottom, int* left, int* right)
    {
        *top = p.Height(), *bottom = -1, *left = p.Width(), *right = -1;
        for (int y = 0; y < p.Height(); ++y)
            for (int x = 0; x < p.Width(); ++x)
                if (!Near(p.At(x, y), kParentColour, 30)) {
                    *top = std::min(*top, y);
                    *bottom = std::max(*bottom, y);
                    *left = std::min(*left, x);
                    *right = std::max(*right, x);
                }
    }
};

TEST_F(Static, ThreeLinesWithCentreImageAreCentredAsABlock)
{
    CCustomStatic label(kText);
    ASSERT_TRUE(label.Create(L"One\nTwo\nThree", WS_VISIBLE | SS_CENTERIMAGE, CRect(10, 10, 210, 130), &main));
    Settle(main);
    int top, bottom, left, right;
    TextExtent(Pixels(label.m_hWnd), &top, &bottom, &left, &right);
    ASSERT_GE(bottom, 0);
    // Three lines of the default GUI font, the block in the middle.
    EXPECT_GT(bottom - top, 30);
    EXPECT_NEAR(top, 120 - 1 - bottom, 6);
}

TEST_F(Static, OneLineWithCentreImageIsCentredVertically)
{
    CCustomStatic label(kText);
    ASSERT_TRUE(label.Create(L"Single", WS_VISIBLE | SS_CENTERIMAGE | SS_CENTER, CRect(10, 10, 210, 110), &main));
    Settle(main);
    int top, bottom, left, right;
    TextExtent(Pixels(label.m_hWnd), &top, &bottom, &left, &right);
    ASSERT_GE(bottom, 0);
    EXPECT_NEAR(top, 100 - 1 - bottom, 4);
    EXPECT_GT(left, 50);
    EXPECT_LT(right, 150);
}

TEST_F(Static, RightAlignedTextEndsAtTheRight)
{
    CCustomStatic label(kText);
    ASSERT_TRUE(label.Create(L"Right", WS_VISIBLE | SS_RIGHT, CRect(10, 10, 210, 40), &main));
    Settle(main);
    int top, bottom, left, right;
    TextExtent(Pixels(label.m_hWnd), &top, &bottom, &left, &right);
    EXPECT_GT(left, 120);
    EXPECT_GE(right, 190);
}

TEST_F(Static, NewTextLeavesNoRemnantOfTheOld)
{
    CCustomStatic label(kText);
    ASSERT_TRUE(label.Create(L"WWWWWWWWWWWWWWWW", WS_VISIBLE, CRect(10, 10, 210, 40), &main));
    Settle(main);
    int top, bottom, left, right;
    TextExtent(Pixels(label.m_hWnd), &top, &bottom, &left, &right);
    ASSERT_GT(right, 60);
    EXPECT_TRUE(::SetWindowTextW(label, L"i"));
    Settle(main);
    TextExtent(Pixels(label.m_hWnd), &top, &bottom, &left, &right);
    EXPECT_LT(right, 12);
    CString text;
    label.GetWindowText(text);
    EXPECT_STREQ(text, L"i");
    EXPECT_TRUE(label.IsWindowVisible());
}

TEST_F(Static, HiddenLabelStaysHiddenWhenItsTextChanges)
{
    CCustomStatic label(kText);
    ASSERT_TRUE(label.Create(L"Before", 0, CRect(10, 10, 210, 40), &main));
    label.SetWindowText(L"After");
    EXPECT_FALSE(label.IsWindowVisible());
}

TEST_F(Static, FilledWhenNotTransparent)
{
    CCustomStatic label(kText);
    label.m_transparent = 0;
    label.m_fillColor = RGB(9, 9, 9);
    ASSERT_TRUE(label.Create(L"", WS_VISIBLE, CRect(10, 10, 60, 40), &main));
    Settle(main);
    EXPECT_EQ(Pixels(label.m_hWnd).CountOther(RECT{0, 0, 50, 30}, RGB(9, 9, 9)), 0);
}

TEST_F(Static, LightStaticDrawsFittedTextWithoutFilling)
{
    CCustomLightStatic label;
    label.m_text.SetTextColor(RGB(255, 255, 255));
    label.m_percent = 200;
    ASSERT_TRUE(label.Create(L"A rather long caption", WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE,
                             CRect(10, 10, 130, 50), &main));
    Settle(main);
    const Pixels shown(label.m_hWnd);
    int top, bottom, left, right;
    TextExtent(shown, &top, &bottom, &left, &right);
    ASSERT_GE(bottom, 0);
    // Shrunk to fit: inside the box on every side.
    EXPECT_GT(left, 0);
    EXPECT_LT(right, 119);
    int white = 0;
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x)
            white += Near(shown.At(x, y), RGB(255, 255, 255), 20);
    EXPECT_GT(white, 20);
    EXPECT_EQ(shown.CountOther(RECT{0, 0, 120, 3}, kParentColour), 0);
}

}  // namespace
