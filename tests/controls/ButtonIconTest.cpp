// The header icon button: faces from the pack, one command per click (also
// for a double click), and the document's icon at the model's offset.
#include "SkinTestFixture.h"

#include <commctrl.h>

#include "common/DibImage.h"
#include "common/FileArchive.h"
#include "controls/ButtonMessages.h"
#include "controls/IconButton.h"
#include "core/Global.h"

using namespace skintest;

namespace {

const COLORREF kIconColour = RGB(255, 0, 0);
HIMAGELIST g_icons = nullptr;
int g_index = -1;
HIMAGELIST TestIcons() { return g_icons; }
int TestIndex(int) { return g_index; }

class IconButton : public SkinGuiTest {
protected:
    void SetUp() override
    {
        SkinGuiTest::SetUp();
        documents = theIconButtonSource;
        ASSERT_TRUE(button.Create(CRect(10, 10, 66, 44), &main, 33));
        main.Clear();
    }
    void TearDown() override
    {
        theIconButtonSource = documents;
        if (g_icons)
            ImageList_Destroy(g_icons);
        g_icons = nullptr;
        theGlobal.m_naviModel.m_naviModelType = -1;
        SkinGuiTest::TearDown();
    }
    // An image list of one red square icon of size x size.
    static void MakeIcons(int size)
    {
        g_icons = ImageList_Create(size, size, ILC_COLOR24, 1, 0);
        DIB_IMAGE red{};
        CreateDib(&red, size, size);
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, red.bitmap);
        RECT all{0, 0, size, size};
        HBRUSH brush = ::CreateSolidBrush(kIconColour);
        ::FillRect(dc, &all, brush);
        ::DeleteObject(brush);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ImageList_Add(g_icons, red.bitmap, nullptr);
        FreeDibImage(&red);
    }
    // The top-left red pixel of the button, or (-1, -1).
    POINT RedCorner()
    {
        Settle(main);
        const Pixels shown(button.m_hWnd);
        for (int y = 0; y < shown.Height(); ++y)
            for (int x = 0; x < shown.Width(); ++x)
                if (shown.At(x, y) == kIconColour)
                    return POINT{x, y};
        return POINT{-1, -1};
    }
    CIconButton button;
    ICON_BUTTON_SOURCE documents{};
};

TEST_F(IconButton, OneClickOneCommandToTheParent)
{
    Click(button, 10, 10);
    PumpPending();
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_ICON_SELECT), 1);
    EXPECT_EQ(button.GetState(), kStateHot);
}

TEST_F(IconButton, DoubleClickOpensTheSelectionOnce)
{
    Click(button, 10, 10);
    Mouse(button, WM_LBUTTONDBLCLK, 10, 10, MK_LBUTTON);
    Mouse(button, WM_LBUTTONUP, 10, 10);
    PumpPending();
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_ICON_SELECT), 1);
}

TEST_F(IconButton, DraggedOutShowsHotAndPostsNothing)
{
    Mouse(button, WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    EXPECT_EQ(button.GetState(), kStatePressed);
    Mouse(button, WM_MOUSEMOVE, 200, 10, MK_LBUTTON);
    EXPECT_EQ(button.GetState(), kStateHot);
    Mouse(button, WM_LBUTTONUP, 200, 10);
    PumpPending();
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_ICON_SELECT), 0);
    button.EnableWindow(FALSE);
    EXPECT_EQ(button.GetState(), kStateDisabled);
}

TEST_F(IconButton, FaceWithoutIconWhenTheDocumentHasNone)
{
    MakeIcons(32);
    theIconButtonSource = {&TestIcons, &TestIndex};
    button.m_kind = 4;
    g_index = -1;
    EXPECT_EQ(RedCorner().x, -1);
    // The normal face, tiled.
    DIB_IMAGE face{};
    ASSERT_TRUE(LoadDibFromPack(L"btn_icon_normal.bmp", &face));
    Settle(main);
    const Pixels shown(button.m_hWnd);
    EXPECT_TRUE(Near(shown.At(28, 17), DibPixel(face, 28, 17), 2));
    FreeDibImage(&face);
}

struct IconCase {
    int modelType;
    int iconSize;
    POINT corner;
};

TEST_F(IconButton, IconAtTheModelsOffset)
{
    const IconCase cases[] = {{0, 32, {12, 1}}, {1, 24, {16, 5}}, {4, 24, {16, 5}}, {12, 32, {12, 1}}};
    for (const IconCase& c : cases) {
        MakeIcons(c.iconSize);
        theIconButtonSource = {&TestIcons, &TestIndex};
        theGlobal.m_naviModel.m_naviModelType = c.modelType;
        button.m_kind = 2;
        g_index = 0;
        button.Invalidate();
        const POINT p = RedCorner();
        EXPECT_EQ(p.x, c.corner.x) << "model type " << c.modelType;
        EXPECT_EQ(p.y, c.corner.y) << "model type " << c.modelType;
        ImageList_Destroy(g_icons);
        g_icons = nullptr;
    }
    // Kinds outside 2-5 show nothing.
    MakeIcons(32);
    button.m_kind = 7;
    button.Invalidate();
    EXPECT_EQ(RedCorner().x, -1);
}

TEST_F(IconButton, ByDefaultTheViewsDocumentGivesTheIcon)
{
    ASSERT_TRUE(documents.iconIndex);
    theGlobal.m_docPiKml.m_defaultIcon = 7;
    EXPECT_EQ(-1, documents.iconIndex(3)) << "an empty document shows no icon";
    DOCPI_RECORD rec{};
    rec.longitude = rec.latitude = -255.0;
    theGlobal.m_docPiKml.AddRecord(rec);
    EXPECT_EQ(7, documents.iconIndex(3));
    EXPECT_EQ(-1, documents.iconIndex(2)) << "the CSV document is still empty";
    EXPECT_EQ(-1, documents.iconIndex(5)) << "no feed document yet";
    EXPECT_EQ(-1, documents.iconIndex(1));
}

TEST_F(IconButton, MissingFaceFailsTheCreation)
{
    const CString pack = theFileArchive.GetPath();
    theFileArchive.Open(L"C:\\no\\such.qpk");
    CIconButton other;
    EXPECT_FALSE(other.Create(CRect(0, 0, 56, 34), &main, 34));
    theFileArchive.Open(pack);
}

}  // namespace
