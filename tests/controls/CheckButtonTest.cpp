// Check boxes and radio buttons: the system button messages, clicks by kind,
// the radio group rule, the picture chosen for each look, and what shows
// around the box.
#include "SkinTestFixture.h"
#include "common/DibImage.h"
#include "controls/CustomCheckButton.h"

using namespace skintest;

namespace {

class CheckButton : public SkinGuiTest {
protected:
    // BN_CLICKED notifications main received from id.
    int Clicked(UINT id) const
    {
        int n = 0;
        for (const LoggedMessage& m : main.log)
            n += m.msg == WM_COMMAND && LOWORD(m.wp) == id && HIWORD(m.wp) == BN_CLICKED && m.lp != 0;
        return n;
    }
};

struct ClickCase {
    const char* name;
    DWORD kind;
    std::vector<int> checksAfterEachClick;
};

TEST_F(CheckButton, ClicksChangeTheCheckByKindAndNotify)
{
    const ClickCase cases[] = {
        {"auto check box toggles", BS_AUTOCHECKBOX, {1, 0, 1}},
        {"three-state cycles", BS_AUTO3STATE, {1, 2, 0, 1}},
        {"plain check box leaves it to the owner", BS_CHECKBOX, {0, 0}},
        {"auto radio stays checked", BS_AUTORADIOBUTTON, {1, 1}},
    };
    UINT id = 500;
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        CCustomCheckButton check;
        ASSERT_TRUE(check.Create(L"Option", c.kind | WS_VISIBLE, CRect(10, 10, 150, 30), &main, ++id));
        main.Clear();
        for (size_t i = 0; i < c.checksAfterEachClick.size(); ++i) {
            Click(check, 5, 5);
            EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), c.checksAfterEachClick[i]) << "click " << i;
            EXPECT_EQ(Clicked(id), static_cast<int>(i + 1));
        }
        EndTracking(check);
    }
}

TEST_F(CheckButton, ReleasedOutsideChangesNothing)
{
    CCustomCheckButton check;
    ASSERT_TRUE(check.Create(L"Option", BS_AUTOCHECKBOX | WS_VISIBLE, CRect(10, 10, 150, 30), &main, 600));
    Mouse(check, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_EQ(check.GetButtonState() & (CCustomCheckButton::kPushed | CCustomCheckButton::kTracking),
              CCustomCheckButton::kPushed | CCustomCheckButton::kTracking);
    Mouse(check, WM_MOUSEMOVE, 300, 5, MK_LBUTTON);
    EXPECT_FALSE(check.GetButtonState() & CCustomCheckButton::kPushed);
    Mouse(check, WM_LBUTTONUP, 300, 5);
    EXPECT_EQ(check.GetCheck(), 0);
    EXPECT_EQ(Clicked(600), 0);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(check.GetButtonState() & CCustomCheckButton::kTracking, 0u);
}

TEST_F(CheckButton, AutoRadioClearsTheRestOfItsGroupBeforeNotifying)
{
    CCustomCheckButton radios[3], other;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(radios[i].Create(L"Choice", BS_AUTORADIOBUTTON | WS_VISIBLE | (i == 0 ? WS_GROUP : 0),
                                     CRect(10, 10 + 25 * i, 150, 30 + 25 * i), &main, 700 + i));
    // The next group starts here and is left alone.
    ASSERT_TRUE(other.Create(L"Elsewhere", BS_AUTORADIOBUTTON | WS_VISIBLE | WS_GROUP, CRect(10, 100, 150, 120), &main, 710));
    other.SetCheck(1);
    radios[0].SetCheck(1);
    radios[1].SetCheck(1);
    EXPECT_EQ(radios[0].GetCheck(), 0);
    Click(radios[2], 5, 5);
    EXPECT_EQ(radios[0].GetCheck(), 0);
    EXPECT_EQ(radios[1].GetCheck(), 0);
    EXPECT_EQ(radios[2].GetCheck(), 1);
    EXPECT_EQ(other.GetCheck(), 1);
    EXPECT_EQ(Clicked(702), 1);
    EndTracking(radios[2]);
}

TEST_F(CheckButton, ButtonStateBitsAndFont)
{
    CCustomCheckButton check;
    ASSERT_TRUE(check.Create(L"Option", BS_AUTOCHECKBOX | WS_VISIBLE, CRect(10, 10, 150, 30), &main, 800));
    PointerTo(check, 5, 5);
    Mouse(check, WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(::SendMessageW(check, BM_GETSTATE, 0, 0), static_cast<LRESULT>(CCustomCheckButton::kHot));
    ::SendMessageW(check, BM_SETSTATE, TRUE, 0);
    ::SendMessageW(check, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(::SendMessageW(check, BM_GETSTATE, 0, 0),
              static_cast<LRESULT>(CCustomCheckButton::kHot | CCustomCheckButton::kPushed | 2));
    EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), 2);
    HFONT font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(::SendMessageW(check, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE), 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(check, WM_GETFONT, 0, 0)), font);
    EndTracking(check);
}

struct LookCase {
    DWORD kind;
    int check;
    bool pushed;
    bool hot;
    int image;
};

TEST_F(CheckButton, EachLookHasItsPicture)
{
    const LookCase cases[] = {
        {BS_AUTORADIOBUTTON, 0, false, false, 0}, {BS_AUTORADIOBUTTON, 0, true, false, 1},
        {BS_AUTORADIOBUTTON, 0, false, true, 2},  {BS_AUTORADIOBUTTON, 1, false, false, 3},
        {BS_AUTORADIOBUTTON, 1, true, true, 4},   {BS_AUTORADIOBUTTON, 1, false, true, 5},
        {BS_AUTOCHECKBOX, 0, false, false, 6},    {BS_CHECKBOX, 0, true, false, 7},
        {BS_AUTOCHECKBOX, 0, false, true, 8},     {BS_AUTOCHECKBOX, 1, false, false, 9},
        {BS_AUTOCHECKBOX, 1, true, false, 10},    {BS_AUTO3STATE, 2, false, true, 11},
        {BS_PUSHBUTTON, 0, false, false, 0},  // any other kind draws as a radio button
    };
    for (const LookCase& c : cases) {
        CCustomCheckButton check;
        ASSERT_TRUE(check.Create(L"x", c.kind | WS_VISIBLE, CRect(10, 10, 150, 30), &main, 900));
        check.SetCheck(c.check);
        check.SetPushed(c.pushed);
        if (c.hot) {
            PointerTo(check, 5, 5);
            Mouse(check, WM_MOUSEMOVE, 5, 5);
        }
        EXPECT_EQ(check.GetImageIndex(), c.image) << "kind " << c.kind << " check " << c.check;
        EndTracking(check);
    }
}

// The 16 x 16 box as the pack's picture laid over the parent's colour.
COLORREF Blend(const DIB_IMAGE32& img, int x, int y, COLORREF under)
{
    const int rows = img.height < 0 ? -img.height : img.height;
    const BYTE* p = img.bits + (static_cast<size_t>(rows - 1 - y) * img.width + x) * 4;
    const int a = p[3];
    auto mix = [&](int src, int dst) { return (src * a + dst * (255 - a)) / 255; };
    return RGB(mix(p[2], GetRValue(under)), mix(p[1], GetGValue(under)), mix(p[0], GetBValue(under)));
}

TEST_F(CheckButton, PaintsThePictureOverTheParentsBackground)
{
    CCustomCheckButton check;
    ASSERT_TRUE(check.Create(L"Option", BS_AUTOCHECKBOX | WS_VISIBLE, CRect(10, 10, 150, 40), &main, 950));
    check.SetCheck(1);
    Settle(main);
    const Pixels shown(check.m_hWnd);
    DIB_IMAGE32 box{};
    ASSERT_TRUE(LoadDib32FromPack(L"checkbox_checked.tga", &box));
    int differing = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            differing += !Near(shown.At(x, y), Blend(box, x, y, kParentColour), 8);
    FreeDibImage32(&box);
    EXPECT_LE(differing, 8);
    // Below the box and after the text the parent shows through: no black field.
    EXPECT_EQ(shown.CountOther(RECT{0, 20, 140, 30}, kParentColour), 0);
    EXPECT_EQ(shown.CountOther(RECT{100, 0, 140, 30}, kParentColour), 0);
    // Some text to the right of the box.
    EXPECT_GT(shown.CountOther(RECT{25, 0, 100, 16}, kParentColour), 10);

    // Filled on request.
    check.m_noFill = 0;
    check.Invalidate();
    Settle(main);
    const Pixels filled(check.m_hWnd);
    EXPECT_EQ(filled.CountOther(RECT{100, 20, 140, 30}, check.m_bkColor), 0);
}

TEST_F(CheckButton, ParentThatDoesNotEraseLeavesTheOwnColourNotBlack)
{
    // The library's default class has no background brush: erasing does nothing.
    CWnd bare;
    ASSERT_TRUE(bare.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 100, main.m_hWnd, nullptr));
    CCustomCheckButton check;
    ASSERT_TRUE(check.Create(L"Option", BS_AUTOCHECKBOX | WS_VISIBLE, CRect(10, 10, 150, 40), &bare, 960));
    Settle(main);
    EXPECT_EQ(Pixels(check.m_hWnd).CountOther(RECT{100, 0, 140, 30}, check.m_bkColor), 0);
}

TEST_F(CheckButton, TakesThePlaceholdersPlaceTextAndGroup)
{
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, main.m_hWnd, nullptr));
    CWnd placeholder;
    ASSERT_TRUE(placeholder.CreateEx(0, L"BUTTON", L"Remember", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                                     CRect(20, 30, 140, 50), &dialog, 77));
    CCustomCheckButton check;
    ASSERT_TRUE(check.CreateFromDlgItem(&dialog, 77));
    CRect rect;
    check.GetWindowRect(&rect);
    dialog.ScreenToClient(&rect);
    EXPECT_TRUE(rect.EqualRect(CRect(20, 30, 140, 50)));
    CString text;
    check.GetWindowText(text);
    EXPECT_STREQ(text, L"Remember");
    EXPECT_EQ(check.GetStyle() & 0xF, static_cast<DWORD>(BS_AUTOCHECKBOX));
    EXPECT_FALSE(placeholder.IsWindowVisible());
    EXPECT_EQ(check.GetDlgCtrlID(), 77);
    dialog.DestroyWindow();
}

}  // namespace
