// The spin edit: steps, clamping, typing, auto-repeat, wheel, focus moves,
// colours and button pictures.
#include "ControlsBTestSupport.h"
#include "controls/CustomSpinEdit.h"

using namespace controlstest;

namespace {

class SpinEditTest : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenSkinPack());
        parent.watched = {WM_SPIN_VALUE_CHANGE, WM_SPIN_FOCUS_MOVE, WM_MOUSEWHEEL};
        ASSERT_TRUE(parent.CreateAt(40, 40, 300, 200));
        ASSERT_TRUE(spin.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(20, 20, 100, 40), &parent, 55));
        spin.m_min = 0;
        spin.m_max = 31;
        spin.SetValue(0);
        parent.log.clear();
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        GuiTest::TearDown();
    }
    CString Text()
    {
        CString t;
        spin.m_edit.GetWindowText(t);
        return t;
    }
    void Click(const CRect& rc)
    {
        CPoint c = rc.CenterPoint();
        SendMouse(spin.m_hWnd, WM_LBUTTONDOWN, c.x, c.y, MK_LBUTTON);
        SendMouse(spin.m_hWnd, WM_LBUTTONUP, c.x, c.y);
    }
    int Changes() const { return parent.Count(WM_SPIN_VALUE_CHANGE); }
    COLORREF Pixel(const CRect& rc)
    {
        Settle(parent.m_hWnd);
        return ClientPixel(spin.m_hWnd, rc.left + 8, rc.top + 8);
    }
    CLogParent parent;
    CCustomSpinEdit spin;
};

TEST_F(SpinEditTest, StepsAndValuesFollowTheRange)
{
    enum Action { Inc, Dec, WheelUp, WheelDown, Set };
    struct Case {
        int start;
        Action action;
        int arg;
        const wchar_t* text;
        int value;
        BOOL incEnabled, decEnabled;
        int changes;
    } cases[] = {
        {31, Inc, 0, L"31", 31, FALSE, TRUE, 0},
        {31, Dec, 0, L"30", 30, TRUE, TRUE, 1},
        {0, Dec, 0, L"0", 0, TRUE, FALSE, 0},
        {0, Inc, 0, L"1", 1, TRUE, TRUE, 1},
        {5, WheelUp, 0, L"6", 6, TRUE, TRUE, 1},
        {5, WheelDown, 0, L"4", 4, TRUE, TRUE, 1},
        {5, Set, -5, L"0", 0, TRUE, FALSE, 0},
        {5, Set, 40, L"31", 31, FALSE, TRUE, 0},
    };
    for (const auto& c : cases) {
        spin.SetValue(c.start);
        parent.log.clear();
        switch (c.action) {
        case Inc: Click(spin.m_incRect); break;
        case Dec: Click(spin.m_decRect); break;
        case WheelUp: spin.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0); break;
        case WheelDown: spin.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0); break;
        case Set: spin.SetValue(c.arg); break;
        }
        const int line = static_cast<int>(&c - cases);
        EXPECT_EQ(CString(c.text), Text()) << line;
        EXPECT_EQ(c.value, spin.m_value) << line;
        EXPECT_EQ(c.incEnabled, spin.m_incEnabled) << line;
        EXPECT_EQ(c.decEnabled, spin.m_decEnabled) << line;
        EXPECT_EQ(c.changes, Changes()) << line;
    }
    EXPECT_EQ(0, parent.Count(WM_MOUSEWHEEL));  // the wheel stays with the spin
}

TEST_F(SpinEditTest, TypedValueIsClampedAndShownWhenTheFieldIsLeft)
{
    spin.m_edit.SetFocus();
    spin.m_edit.SetWindowText(L"45");
    spin.m_edit.PostMessage(WM_KEYUP, '5', 0);
    ASSERT_TRUE(PumpUntil([&] { return Changes() == 1; }, 1000));
    EXPECT_EQ(31, spin.m_value);
    EXPECT_EQ(CString(L"45"), Text());  // typing is not disturbed
    parent.SetFocus();
    PumpPending();
    EXPECT_EQ(CString(L"31"), Text());  // leaving shows the value in force
    EXPECT_EQ(1, parent.Count(WM_SPIN_FOCUS_MOVE));
}

TEST_F(SpinEditTest, EmptyFieldCountsAsZeroOrTheMinimum)
{
    for (int minimum : {0, 5}) {
        spin.m_min = minimum;
        spin.SetValue(9);
        spin.m_edit.SetWindowText(L"");
        spin.m_edit.PostMessage(WM_KEYUP, VK_BACK, 0);
        PumpPending();
        EXPECT_EQ(minimum, spin.m_value);
        EXPECT_FALSE(spin.m_decEnabled);
    }
}

TEST_F(SpinEditTest, OnlyTwoDigitsCanBeTyped)
{
    spin.m_edit.SetWindowText(L"");
    spin.m_edit.SetFocus();
    for (wchar_t c : {L'1', L'2', L'3'})
        spin.m_edit.SendMessage(WM_CHAR, c, 0);
    EXPECT_EQ(CString(L"12"), Text());
}

TEST_F(SpinEditTest, HeldButtonRepeatsAndFollowsTheMouse)
{
    FastKeyboardRepeat fast;  // 250 ms delay, 50 ms repeat
    POINT inc = spin.m_incRect.CenterPoint(), dec = spin.m_decRect.CenterPoint();
    spin.ClientToScreen(&inc);
    spin.ClientToScreen(&dec);
    SetCursorPos(inc.x, inc.y);
    CPoint c = spin.m_incRect.CenterPoint();
    SendMouse(spin.m_hWnd, WM_LBUTTONDOWN, c.x, c.y, MK_LBUTTON);
    EXPECT_EQ(1, spin.m_value);
    PumpUntil([] { return false; }, 120);
    EXPECT_EQ(1, spin.m_value);
    ASSERT_TRUE(PumpUntil([&] { return spin.m_value >= 4; }, 1500));

    SetCursorPos(dec.x, dec.y);
    CPoint d = spin.m_decRect.CenterPoint();
    SendMouse(spin.m_hWnd, WM_MOUSEMOVE, d.x, d.y, MK_LBUTTON);
    const int top = spin.m_value;
    ASSERT_TRUE(PumpUntil([&] { return spin.m_value <= top - 2; }, 1500));
    SendMouse(spin.m_hWnd, WM_LBUTTONUP, d.x, d.y);
    const int stopped = spin.m_value;
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(stopped, spin.m_value);
}

TEST_F(SpinEditTest, ButtonsShowNormalHotAndDisabledPictures)
{
    SkinPicture decNormal(L"spin_left_normal.bmp"), incHot(L"spin_right_hot.bmp"),
        incNormal(L"spin_right_normal.bmp"), decDisabled(L"spin_left_disable.bmp"),
        incDisabled(L"spin_right_disable.bmp");
    ASSERT_NE(incNormal.At(8, 8), incHot.At(8, 8));
    ASSERT_NE(decNormal.At(8, 8), decDisabled.At(8, 8));
    spin.SetValue(5);
    EXPECT_EQ(decNormal.At(8, 8), Pixel(spin.m_decRect));
    EXPECT_EQ(incNormal.At(8, 8), Pixel(spin.m_incRect));

    POINT inc = spin.m_incRect.CenterPoint();
    spin.ClientToScreen(&inc);
    SetCursorPos(inc.x, inc.y);
    SendMouse(spin.m_hWnd, WM_MOUSEMOVE, spin.m_incRect.CenterPoint().x, spin.m_incRect.CenterPoint().y);
    EXPECT_TRUE(spin.m_incHot);
    EXPECT_EQ(incHot.At(8, 8), Pixel(spin.m_incRect));
    EXPECT_TRUE(spin.m_incHot);
    spin.SendMessage(WM_MOUSELEAVE);

    spin.SetValue(0);
    EXPECT_EQ(decDisabled.At(8, 8), Pixel(spin.m_decRect));

    spin.ClearAndDisable();
    EXPECT_TRUE(Text().IsEmpty());
    EXPECT_FALSE(spin.IsWindowEnabled());
    EXPECT_EQ(decDisabled.At(8, 8), Pixel(spin.m_decRect));
    EXPECT_EQ(incDisabled.At(8, 8), Pixel(spin.m_incRect));
    Click(spin.m_incRect);
    EXPECT_TRUE(Text().IsEmpty());
}

TEST_F(SpinEditTest, FieldUsesTheOwnersBackgroundColour)
{
    spin.SetBkColor(RGB(10, 120, 30));
    spin.SetValue(7);
    Settle(parent.m_hWnd);
    EXPECT_EQ(RGB(10, 120, 30), ClientPixel(spin.m_edit.m_hWnd, 1, 1));
    spin.ClearAndDisable();
    Settle(parent.m_hWnd);
    EXPECT_EQ(CCustomSpinEdit::kDisabled, ClientPixel(spin.m_edit.m_hWnd, 1, 1));
}

}  // namespace
