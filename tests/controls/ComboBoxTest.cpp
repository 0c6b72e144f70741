// The skinned combo box: item size, wheel steps, two-column items, face
// colours and drop button pictures, reflected notifications.
#include "ControlsBTestSupport.h"
#include "controls/CustomComboBox.h"

using namespace controlstest;

namespace {

constexpr int kComboId = 321;

class ComboBoxTest : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenSkinPack());
        ASSERT_TRUE(parent.CreateAt(40, 40, 400, 300));
        ASSERT_TRUE(combo.Create(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_VISIBLE |
                                     WS_TABSTOP,
                                 CRect(20, 20, 260, 200), &parent, kComboId));
        combo.AddString(L"Alpha#12");
        combo.AddString(L"Beta#7");
        combo.AddString(L"Gamma");
        parent.log.clear();
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        GuiTest::TearDown();
    }
    int SelChanges() const { return parent.Count(WM_COMMAND, MAKEWPARAM(kComboId, CBN_SELCHANGE)); }
    void Wheel(short delta) { combo.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0); }
    // Face pixel at the end of the text area, clear of any text.
    COLORREF FacePixel()
    {
        CRect rc;
        combo.GetClientRect(&rc);
        Settle(parent.m_hWnd);
        return ClientPixel(combo.m_hWnd, rc.right - 17 - 4, rc.bottom / 2);
    }
    CLogParent parent;
    CCustomComboBox combo;
};

TEST_F(ComboBoxTest, ItemsAreFourteenPixelsHigh)
{
    EXPECT_EQ(14, combo.GetItemHeight(0));
}

TEST_F(ComboBoxTest, WheelMovesOneItemPerNotchAndTellsTheParent)
{
    struct Case {
        int start;
        short delta;
        int selection, changes;
    } cases[] = {
        {2, -120, 2, 0},  // towards the user on the last item: stays
        {0, 120, 0, 0},   // away on the first: stays
        {1, -120, 2, 1},
        {1, 120, 0, 1},
        {-1, -120, 0, 1},
    };
    for (const auto& c : cases) {
        combo.SetCurSel(c.start);
        parent.log.clear();
        Wheel(c.delta);
        EXPECT_EQ(c.selection, combo.GetCurSel()) << "start " << c.start << " delta " << c.delta;
        EXPECT_EQ(c.changes, SelChanges()) << "start " << c.start << " delta " << c.delta;
    }
}

TEST_F(ComboBoxTest, KeyboardSelectionStillReachesTheParent)
{
    combo.SetCurSel(0);
    combo.SetFocus();
    PumpPending();
    parent.log.clear();
    combo.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    PumpPending();
    EXPECT_EQ(1, combo.GetCurSel());
    EXPECT_EQ(1, SelChanges());
}

TEST_F(ComboBoxTest, TwoColumnItemShowsNameAndRightAlignedNumber)
{
    HDC mem = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 222, -14, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    DRAWITEMSTRUCT dis{ODT_COMBOBOX, kComboId, 0, ODA_DRAWENTIRE, 0, combo.m_hWnd, mem, {0, 0, 222, 14}, 0};
    combo.DrawItem(&dis);
    GdiFlush();
    auto pixel = [&](int x, int y) {
        const BYTE* p = static_cast<const BYTE*>(bits) + (y * 222 + x) * 4;
        return RGB(p[2], p[1], p[0]);
    };
    int leftmost = -1, rightmostNumber = -1;
    for (int x = 0; x < 222; ++x)
        for (int y = 0; y < 14; ++y)
            if (pixel(x, y) != CCustomComboBox::kItem) {
                if (leftmost < 0)
                    leftmost = x;
                if (x < 90)
                    rightmostNumber = x;
            }
    EXPECT_EQ(CCustomComboBox::kItem, pixel(200, 7));
    EXPECT_GE(leftmost, 2);
    EXPECT_LE(leftmost, 4);
    // "12" ends 77 pixels after the item's left edge.
    EXPECT_LE(rightmostNumber, 76);
    EXPECT_GE(rightmostNumber, 72);

    dis.itemAction = ODA_SELECT;
    dis.itemState = ODS_SELECTED;
    combo.DrawItem(&dis);
    GdiFlush();
    EXPECT_EQ(CCustomComboBox::kItemSelected, pixel(200, 7));

    // An empty selection is item (UINT)-1: filled, no text asked for.
    dis.itemID = static_cast<UINT>(-1);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = 0;
    combo.DrawItem(&dis);
    GdiFlush();
    EXPECT_EQ(CCustomComboBox::kItem, pixel(5, 7));

    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

TEST_F(ComboBoxTest, FocusChangesTheFaceColoursAndStaysWithTheControl)
{
    combo.SetCurSel(0);
    parent.SetFocus();
    PumpPending();
    EXPECT_EQ(CCustomComboBox::kFace, FacePixel());
    combo.SetFocus();
    PumpPending();
    EXPECT_TRUE(combo.m_focused);
    EXPECT_EQ(CCustomComboBox::kFaceFocused, FacePixel());
    parent.SetFocus();
    PumpPending();
    EXPECT_FALSE(combo.m_focused);
    EXPECT_EQ(0, parent.Count(WM_COMMAND, MAKEWPARAM(kComboId, CBN_SETFOCUS)));
    EXPECT_EQ(0, parent.Count(WM_COMMAND, MAKEWPARAM(kComboId, CBN_KILLFOCUS)));
}

TEST_F(ComboBoxTest, DropButtonShowsHotThenPressedPictures)
{
    SkinPicture normal(L"combo_normal_btn.bmp"), hot(L"combo_hot_btn.bmp"), pressed(L"combo_pressed_btn.bmp");
    ASSERT_NE(normal.At(8, 10), hot.At(8, 10));
    ASSERT_NE(normal.At(8, 10), pressed.At(8, 10));
    CRect rc;
    combo.GetClientRect(&rc);
    const int bx = rc.right - 1 - 17 + 8, by = 1 + 9;
    Settle(parent.m_hWnd);
    EXPECT_EQ(normal.At(8, 9 * normal.image.height / (rc.Height() - 2)), ClientPixel(combo.m_hWnd, bx, by));

    SendMouse(combo.m_hWnd, WM_MOUSEMOVE, bx, by);
    EXPECT_TRUE(combo.m_hot);
    Settle(parent.m_hWnd);
    EXPECT_EQ(hot.At(8, 9 * hot.image.height / (rc.Height() - 2)), ClientPixel(combo.m_hWnd, bx, by));
    combo.SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(combo.m_hot);

    combo.ShowDropDown(TRUE);
    PumpPending();
    EXPECT_TRUE(combo.m_dropped);
    Settle(parent.m_hWnd);
    EXPECT_EQ(pressed.At(8, 9 * pressed.image.height / (rc.Height() - 2)), ClientPixel(combo.m_hWnd, bx, by));
    combo.ShowDropDown(FALSE);
    PumpPending();
    EXPECT_FALSE(combo.m_dropped);
    EXPECT_EQ(0, parent.Count(WM_COMMAND, MAKEWPARAM(kComboId, CBN_DROPDOWN)));
    EXPECT_EQ(0, parent.Count(WM_COMMAND, MAKEWPARAM(kComboId, CBN_CLOSEUP)));
}

TEST_F(ComboBoxTest, FaceShowsTheSelectedItemsTwoColumns)
{
    combo.SetCurSel(1);
    combo.SetFocus();
    Settle(parent.m_hWnd);
    ClientShot shot = CaptureClient(combo.m_hWnd);
    const RECT name{7, 2, 40, shot.height - 2}, number{40, 2, 85, shot.height - 2}, gap{85, 2, 150, shot.height - 2};
    EXPECT_GT(shot.Count(CCustomComboBox::kFaceTextFocused, name), 3);
    EXPECT_GT(shot.Count(CCustomComboBox::kFaceTextFocused, number), 3);
    EXPECT_EQ(0, shot.Count(CCustomComboBox::kFaceTextFocused, gap));
}

TEST_F(ComboBoxTest, MissingPictureFailsTheCreation)
{
    EXPECT_FALSE(theFileArchive.Open(L"Z:\\no such pack.qpk"));
    CCustomComboBox other;
    EXPECT_FALSE(other.Create(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VISIBLE,
                              CRect(20, 60, 200, 200), &parent, kComboId + 1));
    EXPECT_TRUE(OpenSkinPack());
}

}  // namespace
