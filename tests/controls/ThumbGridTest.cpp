// The thumbnail grid: geometry, filling from a folder with pictures decoded in
// the background, the notifications of mouse and keys, focus, drag, scroll.
#include <windows.h>

#include <shlobj.h>

#include "ControlsDTestSupport.h"
#include "TestFiles.h"
#include "common/JpegWriter.h"
#include "controls/CustomThumbCtrl.h"

using namespace controlstest;

namespace {

constexpr int kId = 59660;

// A picture w x h of one colour.
void WritePicture(const std::wstring& path, int w, int h, COLORREF colour, bool jpeg)
{
    DIB_IMAGE image{};
    ASSERT_TRUE(CreateDib(&image, w, h));
    for (int y = 0; y < h; ++y) {
        BYTE* row = image.bits + static_cast<size_t>(y) * DibRowSize(w);
        for (int x = 0; x < w; ++x) {
            row[x * 3] = GetBValue(colour);
            row[x * 3 + 1] = GetGValue(colour);
            row[x * 3 + 2] = GetRValue(colour);
        }
    }
    if (jpeg)
        ASSERT_TRUE(SaveJpeg(image.bits, w, h, image.stride, path.c_str()));
    else
        ASSERT_TRUE(SaveDibAsBmp(path.c_str(), &image));
    FreeDibImage(&image);
}

class ThumbGrid : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenSkinPack());
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_TRUE(InitShell());
        ASSERT_TRUE(parent.CreateAt(20, 20, 640, 560));
        app.m_pMainWnd = &parent;
    }
    void TearDown() override
    {
        grid.DestroyWindow();
        app.m_pMainWnd = nullptr;
        parent.DestroyWindow();
        TermShell();
        CoUninitialize();
        GuiTest::TearDown();
    }
    // A grid whose client area is exactly width x height.
    void Make(int width, int height, int items)
    {
        ASSERT_TRUE(grid.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 10 + width, 10 + height),
                                &parent, kId));
        for (int i = 0; i < items; ++i)
            grid.InsertItem(i);
        PumpPending();
    }
    // Centre of item i's painted cell, in client coordinates.
    POINT Centre(int i)
    {
        RECT rc;
        grid.GetItemRect(&rc, i);
        return {rc.left + 10 + 47, rc.top + 5 + 47};
    }
    CNotifyParent parent;
    CCustomThumbCtrl grid;
};

TEST_F(ThumbGrid, GeometryAndHitTest)
{
    Make(400, 300, 6);
    EXPECT_EQ(grid.GetColumns(), 3);
    RECT rc;
    grid.GetItemRect(&rc, 4);
    EXPECT_EQ(rc.left, 124);
    EXPECT_EQ(rc.top, 138);
    // The cell is painted at (134, 143), 94 square; a click hits what is painted.
    struct { int x, y, item; } table[] = {
        {134, 143, 4}, {227, 236, 4}, {133, 150, -1}, {228, 150, -1}, {150, 142, -1}, {150, 237, -1},
        {10, 5, 0}, {5, 5, -1}, {258, 5, 2}, {380, 200, -1},
    };
    for (const auto& t : table)
        EXPECT_EQ(grid.HitTest(CPoint(t.x, t.y)), t.item) << t.x << "," << t.y;
}

TEST_F(ThumbGrid, SmallCellsOfTheIconDialogs)
{
    Make(378, 362, 12);
    grid.m_cellWidth = grid.m_cellHeight = 48;
    grid.m_gapX = grid.m_gapY = 22;
    grid.m_marginLeft = grid.m_marginTop = 16;
    grid.UpdateScrollBars();
    EXPECT_EQ(grid.GetColumns(), 5);
    RECT rc;
    grid.GetItemRect(&rc, 7);
    EXPECT_EQ(rc.left, 140);
    EXPECT_EQ(rc.top, 70);
    EXPECT_EQ(rc.right - rc.left, 48);
    // Item 7 is painted at (156, 86), 48 square.
    struct { int x, y, item; } table[] = {
        {156, 86, 7}, {203, 133, 7}, {155, 100, -1}, {204, 100, -1}, {170, 85, -1}, {170, 134, -1},
        {16, 16, 0}, {15, 16, -1}, {296, 16, 4}, {100, 300, -1},
    };
    for (const auto& t : table)
        EXPECT_EQ(grid.HitTest(CPoint(t.x, t.y)), t.item) << t.x << "," << t.y;
}

TEST_F(ThumbGrid, FolderListsSubFoldersFirstAndDecodesPicturesInTheBackground)
{
    testsupport::TempDir dir;
    CreateDirectoryW(dir.File(L"zz folder").c_str(), nullptr);
    WritePicture(dir.File(L"a wide.jpg"), 200, 100, RGB(200, 40, 40), true);
    WritePicture(dir.File(L"b tall.bmp"), 50, 120, RGB(40, 200, 40), false);
    WritePicture(dir.File(L"c small.bmp"), 20, 30, RGB(40, 40, 200), false);
    testsupport::WriteBytes(dir.File(L"d broken.jpg"), std::string("not a picture at all"));
    testsupport::WriteBytes(dir.File(L"notes.txt"), std::string("text"));
    Make(520, 400, 0);
    CPidl folder{ILCreateFromPathW(dir.Path().c_str()), 0};
    ASSERT_TRUE(grid.SetFolder(&folder));
    folder.Release();

    ASSERT_EQ(grid.GetItemCount(), 5);
    EXPECT_EQ(grid.GetItem(0).isIconItem, 1);
    EXPECT_STREQ(grid.GetItem(0).name, L"zz folder");
    ASSERT_TRUE(grid.GetItem(0).thumbnail);
    EXPECT_EQ(grid.GetItem(0).thumbnail->width, 32);
    CString path;
    grid.GetItemPath(1, path);
    EXPECT_EQ(std::wstring(path.GetString()), dir.File(L"a wide.jpg"));

    ASSERT_TRUE(PumpUntil([&] { return grid.GetPendingLoads() == 0; }, 5000));
    struct { int index, width, height; } sizes[] = {{1, 94, 47}, {2, 39, 94}, {3, 20, 30}};
    for (const auto& s : sizes) {
        ASSERT_TRUE(grid.GetItem(s.index).thumbnail) << s.index;
        EXPECT_EQ(grid.GetItem(s.index).thumbnail->width, s.width) << s.index;
        EXPECT_EQ(grid.GetItem(s.index).thumbnail->height, s.height) << s.index;
        EXPECT_EQ(grid.GetItem(s.index).isIconItem, 0);
    }
    EXPECT_EQ(grid.GetItem(4).thumbnail, nullptr);  // unreadable: the fallback icon is drawn

    // On screen: each picture centred in its cell.
    grid.UpdateWindow();
    PumpPending();
    POINT c1 = Centre(1), c2 = Centre(2), c3 = Centre(3);
    EXPECT_TRUE(Near(ClientPixel(grid, c1.x, c1.y), RGB(200, 40, 40), 24));
    EXPECT_TRUE(Near(ClientPixel(grid, c2.x, c2.y), RGB(40, 200, 40), 8));
    EXPECT_TRUE(Near(ClientPixel(grid, c3.x, c3.y), RGB(40, 40, 200), 8));
    EXPECT_EQ(ClientPixel(grid, c2.x - 30, c2.y), RGB(0x1E, 0x1E, 0x23));  // beside the tall picture: background
}

// A photo cut inside its header gets no thumbnail (the "No Image" cell of the
// icon dialogs); the whole one beside it does.
TEST_F(ThumbGrid, DamagedJpegGetsNoThumbnail)
{
    testsupport::TempDir dir;
    WritePicture(dir.File(L"a whole.jpg"), 400, 200, RGB(200, 40, 40), true);
    const testsupport::Bytes whole = testsupport::ReadBytes(dir.File(L"a whole.jpg"));
    testsupport::WriteBytes(dir.File(L"b cut.jpg"), testsupport::Bytes(whole.begin(), whole.begin() + 300));
    Make(520, 400, 0);
    grid.m_useShellIcon = FALSE;
    CPidl folder{ILCreateFromPathW(dir.Path().c_str()), 0};
    ASSERT_TRUE(grid.SetFolder(&folder));
    folder.Release();
    ASSERT_TRUE(PumpUntil([&] { return grid.GetPendingLoads() == 0; }, 5000));
    ASSERT_EQ(grid.GetItemCount(), 2);
    ASSERT_TRUE(grid.GetItem(0).thumbnail);
    EXPECT_EQ(grid.GetItem(0).thumbnail->width, 94);
    EXPECT_EQ(grid.GetItem(1).thumbnail, nullptr);
    grid.UpdateWindow();
    PumpPending();
    const POINT c0 = Centre(0);
    EXPECT_TRUE(Near(ClientPixel(grid, c0.x, c0.y), RGB(200, 40, 40), 24));
}

TEST_F(ThumbGrid, ItemsInsertedWhileAFolderLoadsKeepThePicturesOnTheirItems)
{
    testsupport::TempDir dir;
    const int widths[] = {90, 70, 50, 30};
    for (int i = 0; i < 4; ++i)
        WritePicture(dir.File(L"p" + std::to_wstring(i) + L".bmp"), widths[i], 20, RGB(60, 60, 60), false);
    Make(520, 400, 0);
    CPidl folder{ILCreateFromPathW(dir.Path().c_str()), 0};
    ASSERT_TRUE(grid.SetFolder(&folder));
    folder.Release();
    // Before the decoder's results are picked up: one in front, one between.
    grid.InsertItem(0);
    grid.InsertItem(3);
    ASSERT_TRUE(PumpUntil([&] { return grid.GetPendingLoads() == 0; }, 5000));
    ASSERT_EQ(grid.GetItemCount(), 6);
    for (int i = 0; i < grid.GetItemCount(); ++i) {
        const auto& item = grid.GetItem(i);
        if (!item.item) {
            EXPECT_EQ(item.thumbnail, nullptr) << i;
            continue;
        }
        const std::wstring name(item.name.GetString());
        const int picture = name[1] - L'0';
        ASSERT_TRUE(item.thumbnail) << i;
        EXPECT_EQ(item.thumbnail->width, widths[picture]) << i;
    }
}

TEST_F(ThumbGrid, SmallCellsGetPicturesDecodedToTheirSize)
{
    testsupport::TempDir dir;
    WritePicture(dir.File(L"wide.bmp"), 200, 100, RGB(200, 40, 40), false);
    WritePicture(dir.File(L"tall.bmp"), 50, 120, RGB(40, 200, 40), false);
    Make(378, 362, 0);
    grid.m_cellWidth = grid.m_cellHeight = 48;
    CPidl folder{ILCreateFromPathW(dir.Path().c_str()), 0};
    ASSERT_TRUE(grid.SetFolder(&folder));
    folder.Release();
    ASSERT_TRUE(PumpUntil([&] { return grid.GetPendingLoads() == 0; }, 5000));
    ASSERT_EQ(grid.GetItemCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const auto& item = grid.GetItem(i);
        ASSERT_TRUE(item.thumbnail) << i;
        const bool wide = std::wstring(item.name.GetString()).find(L"wide") != std::wstring::npos;
        EXPECT_EQ(item.thumbnail->width, wide ? 48 : 20) << i;
        EXPECT_EQ(item.thumbnail->height, wide ? 24 : 48) << i;
    }
}

TEST_F(ThumbGrid, MadeAgainItLeavesNoFontBehind)
{
    Make(400, 300, 2);
    grid.DestroyWindow();
    const int fonts = CountGdiObjects(OBJ_FONT), dcs = CountGdiObjects(OBJ_MEMDC);
    ASSERT_GT(fonts, 0);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(grid.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 410, 310), &parent, kId));
        grid.UpdateWindow();
        grid.DestroyWindow();
    }
    EXPECT_EQ(CountGdiObjects(OBJ_FONT), fonts);
    EXPECT_EQ(CountGdiObjects(OBJ_MEMDC), dcs);
}

TEST_F(ThumbGrid, UnreadableFolderKeepsTheGrid)
{
    Make(400, 300, 3);
    CPidl gone{ILCreateFromPathW(L"C:\\no such folder here"), 0};
    if (gone.pidl)
        EXPECT_FALSE(grid.SetFolder(&gone));
    gone.Release();
    EXPECT_EQ(grid.GetItemCount(), 3);
}

TEST_F(ThumbGrid, RepeatedListingsEndEmpty)
{
    testsupport::TempDir dir;
    for (int i = 0; i < 8; ++i)
        CreateDirectoryW(dir.File(L"sub" + std::to_wstring(i)).c_str(), nullptr);
    for (int i = 0; i < 4; ++i)
        WritePicture(dir.File(L"p" + std::to_wstring(i) + L".bmp"), 60, 40, RGB(90, 90, 90), false);
    Make(520, 400, 0);
    CPidl folder{ILCreateFromPathW(dir.Path().c_str()), 0};
    auto round = [&] {
        ASSERT_TRUE(grid.SetFolder(&folder));
        ASSERT_TRUE(PumpUntil([&] { return grid.GetPendingLoads() == 0; }, 5000));
        grid.DeleteAllItems();
    };
    // (Handle counts cannot be compared here: GetGuiResources answers 0 under Wine.)
    for (int i = 0; i < 3; ++i)
        round();
    EXPECT_EQ(grid.GetItemCount(), 0);
    EXPECT_EQ(grid.GetCurSel(), -1);
    folder.Release();
}

TEST_F(ThumbGrid, MouseNotifications)
{
    Make(400, 300, 5);
    const POINT one = Centre(1), four = Centre(4);
    RealClick(grid, one.x, one.y);
    auto changes = parent.Of(LVN_ITEMCHANGED);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].item, -1);
    EXPECT_EQ(changes[0].oldState, static_cast<UINT>(LVIS_SELECTED));
    EXPECT_EQ(changes[1].item, 1);
    EXPECT_EQ(changes[1].newState, static_cast<UINT>(LVIS_SELECTED));
    EXPECT_EQ(changes[1].point.x, one.x);
    EXPECT_EQ(::GetFocus(), grid.m_hWnd);

    // Empty space: the pair ends in -1, the caret stays.
    parent.notes.clear();
    RealClick(grid, 390, 290);
    changes = parent.Of(LVN_ITEMCHANGED);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].item, 1);
    EXPECT_EQ(changes[1].item, -1);
    EXPECT_EQ(grid.GetCaretItem(), 1);

    // A double click message on an item not selected: selection only (with real
    // input the first click has selected it already); then on the selected one.
    parent.notes.clear();
    grid.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(four.x, four.y));
    EXPECT_EQ(parent.CountNotes(NM_DBLCLK), 0);
    EXPECT_EQ(grid.GetCurSel(), 4);
    parent.notes.clear();
    RealDoubleClick(grid, four.x, four.y);
    ASSERT_EQ(parent.CountNotes(NM_DBLCLK), 1);
    EXPECT_EQ(parent.Of(NM_DBLCLK)[0].item, 4);
    EXPECT_EQ(parent.CountNotes(LVN_ITEMCHANGED), 0);

    // Right click: selection, then the context menu at the screen point.
    parent.notes.clear();
    RealRightClick(grid, one.x, one.y);
    EXPECT_EQ(grid.GetCurSel(), 1);
    POINT screen = one;
    ClientToScreen(grid, &screen);
    int menus = 0;
    for (const Note& n : parent.notes)
        if (n.message == WM_CONTEXTMENU) {
            ++menus;
            EXPECT_EQ(n.wParam, reinterpret_cast<WPARAM>(grid.m_hWnd));
            EXPECT_EQ(n.point.x, screen.x);
            EXPECT_EQ(n.point.y, screen.y);
        }
    EXPECT_EQ(menus, 1);
}

TEST_F(ThumbGrid, DragStartsFromTheSelectedItem)
{
    Make(400, 300, 3);
    const POINT two = Centre(2);
    RealDrag(grid, two.x, two.y, 30, 20);
    ASSERT_EQ(parent.CountNotes(LVN_BEGINDRAG), 1);
    const Note drag = parent.Of(LVN_BEGINDRAG)[0];
    EXPECT_EQ(drag.item, 2);
    EXPECT_EQ(drag.point.x, two.x);
    EXPECT_EQ(drag.point.y, two.y);

    DIB_IMAGE picture{};
    ASSERT_TRUE(CreateDib(&picture, 40, 20));
    memset(picture.bits, 0xC0, static_cast<size_t>(DibRowSize(40)) * 20);
    ASSERT_TRUE(grid.SetItemBitmap(2, &picture));
    FreeDibImage(&picture);
    POINT origin{};
    CImageList* image = grid.CreateDragImage(2, &origin);
    ASSERT_TRUE(image);
    int w = 0, h = 0;
    image->GetIconSize(&w, &h);
    EXPECT_EQ(w, 124);
    EXPECT_EQ(h, 138);
    EXPECT_EQ(origin.x, 248);
    EXPECT_EQ(origin.y, 0);
    // Drawn over white: the picture shows, the black background lets white through.
    HDC dc = CreateCompatibleDC(nullptr);
    DIB_IMAGE out{};
    ASSERT_TRUE(CreateDib(&out, 124, 138));
    memset(out.bits, 0xFF, static_cast<size_t>(DibRowSize(124)) * 138);
    HGDIOBJ old = SelectObject(dc, out.bitmap);
    image->Draw(dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_EQ(DibPixel(out, 57, 52), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(DibPixel(out, 2, 2), RGB(0xFF, 0xFF, 0xFF));
    FreeDibImage(&out);
    delete image;
}

TEST_F(ThumbGrid, KeysMoveTheCaret)
{
    // 3 columns, 3 whole rows visible, 7 rows of items.
    Make(400, 3 * 138 + 20, 20);
    ASSERT_EQ(grid.GetColumns(), 3);
    struct { int from; WORD key; int to; } table[] = {
        {0, VK_RIGHT, 1}, {2, VK_RIGHT, 2}, {1, VK_LEFT, 0}, {3, VK_LEFT, 3}, {1, VK_DOWN, 4}, {19, VK_DOWN, 19},
        {17, VK_DOWN, 19}, {4, VK_UP, 1}, {1, VK_UP, 1}, {1, VK_NEXT, 13}, {13, VK_PRIOR, 1}, {16, VK_NEXT, 19},
        {7, VK_HOME, 0}, {7, VK_END, 19}, {18, VK_RIGHT, 19},
    };
    grid.SetFocus();
    for (const auto& t : table) {
        grid.SetCurSel(t.from);
        parent.notes.clear();
        RealKey(t.key);
        EXPECT_EQ(grid.GetCaretItem(), t.to) << t.from << " key " << t.key;
        EXPECT_EQ(grid.GetCurSel(), t.to);
        const auto changes = parent.Of(LVN_ITEMCHANGED);
        if (t.from == t.to) {
            EXPECT_TRUE(changes.empty());
        } else {
            ASSERT_EQ(changes.size(), 2u);
            EXPECT_EQ(changes[0].item, t.from);
            EXPECT_EQ(changes[1].item, t.to);
            EXPECT_EQ(changes[1].point.x, 0);
        }
        // The caret's row is on screen.
        RECT rc, client;
        grid.GetItemRect(&rc, t.to);
        grid.GetClientRect(&client);
        EXPECT_GE(rc.top, 0);
        EXPECT_LE(rc.top + 138, client.bottom);
    }
}

TEST_F(ThumbGrid, FocusChangesGoToTheFrontWindow)
{
    Make(400, 300, 2);
    CEdit other;
    ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE, CRect(500, 10, 600, 30), &parent, 5));
    other.SetFocus();
    parent.notes.clear();
    grid.SetFocus();
    other.SetFocus();
    int focusCommands = 0;
    for (const Note& n : parent.notes)
        focusCommands += n.message == WM_COMMAND && LOWORD(n.wParam) == ID_FOCUSCHANGED;
    EXPECT_EQ(focusCommands, 2);
}

TEST_F(ThumbGrid, WheelAndBarScroll)
{
    Make(400, 300, 30);  // 10 rows of 138 in 300 pixels
    ASSERT_TRUE(grid.GetStyle() & WS_VSCROLL);
    const POINT c = Centre(0);
    RealWheel(grid, c.x, c.y, -WHEEL_DELTA);
    EXPECT_EQ(grid.GetScrollPos(SB_VERT), 99);
    RealWheel(grid, c.x, c.y, WHEEL_DELTA);
    EXPECT_EQ(grid.GetScrollPos(SB_VERT), 0);
    grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(grid.GetScrollPos(SB_VERT), 138 + 69);
    RECT rc;
    grid.GetItemRect(&rc, 3);
    EXPECT_EQ(rc.top, 138 - 207);
}

TEST_F(ThumbGrid, SetItemBitmapStoresACopyAndClears)
{
    Make(400, 300, 2);
    DIB_IMAGE picture{};
    ASSERT_TRUE(CreateDib(&picture, 10, 10));
    memset(picture.bits, 0, static_cast<size_t>(DibRowSize(10)) * 10);  // pure black is lifted
    EXPECT_TRUE(grid.SetItemBitmap(1, &picture));
    FreeDibImage(&picture);
    ASSERT_TRUE(grid.GetItem(1).thumbnail);
    EXPECT_NE(DibPixel(*grid.GetItem(1).thumbnail, 0, 0), RGB(0, 0, 0));
    EXPECT_TRUE(grid.SetItemBitmap(1, nullptr));
    EXPECT_EQ(grid.GetItem(1).thumbnail, nullptr);
    EXPECT_FALSE(grid.SetItemBitmap(2, nullptr));
    EXPECT_FALSE(grid.SetItemBitmap(-1, nullptr));
}

}  // namespace
