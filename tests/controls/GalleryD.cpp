// The tree, the shell folder tree and the thumbnail grid as a user sees them,
// drawn from the real skin pack; the run saves the screen as
// tests/shots/gallery_d.png.
#include <windows.h>

#include <shlobj.h>

#include <memory>
#include <vector>

#include "ControlsDTestSupport.h"
#include "SkinTestFixture.h"
#include "TestFiles.h"
#include "common/JpegWriter.h"
#include "controls/CustomThumbCtrl.h"
#include "controls/ShellTreeCtrl.h"

using namespace controlstest;

namespace {

// A picture of w x h: a colour wash with a frame, like a small photo.
void WritePhoto(const std::wstring& path, int w, int h, int seed, bool jpeg)
{
    DIB_IMAGE image{};
    CreateDib(&image, w, h);
    for (int y = 0; y < h; ++y) {
        BYTE* row = image.bits + static_cast<size_t>(y) * DibRowSize(w);
        for (int x = 0; x < w; ++x) {
            const bool frame = x < 4 || y < 4 || x >= w - 4 || y >= h - 4;
            row[x * 3] = frame ? 240 : static_cast<BYTE>(seed * 40 + x * 120 / w);
            row[x * 3 + 1] = frame ? 240 : static_cast<BYTE>(60 + y * 150 / h);
            row[x * 3 + 2] = frame ? 240 : static_cast<BYTE>(200 - seed * 30);
        }
    }
    if (jpeg)
        SaveJpeg(image.bits, w, h, image.stride, path.c_str());
    else
        SaveDibAsBmp(path.c_str(), &image);
    FreeDibImage(&image);
}

class GalleryD : public GuiTest {};

TEST_F(GalleryD, TreesAndThumbnails)
{
    ASSERT_TRUE(OpenSkinPack());
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_TRUE(InitShell());
    testsupport::TempDir dir;
    CreateDirectoryW(dir.File(L"Holiday 2009").c_str(), nullptr);
    CreateDirectoryW(dir.File(L"Holiday 2009\\Coast").c_str(), nullptr);
    const wchar_t* names[] = {L"Harbour.jpg", L"Bridge at night.jpg", L"Old town.bmp", L"Pass road.jpg",
                              L"Lake.bmp", L"Market square with a very long name.jpg", L"Tower.jpg"};
    const int sizes[][2] = {{640, 480}, {480, 640}, {320, 240}, {800, 450}, {300, 300}, {640, 480}, {200, 400}};
    for (int i = 0; i < 7; ++i)
        WritePhoto(dir.File(L"Holiday 2009\\") + names[i], sizes[i][0], sizes[i][1], i, i != 2 && i != 4);

    CNotifyParent parent;
    ASSERT_TRUE(parent.CreateAt(10, 10, 1000, 620));
    app.m_pMainWnd = &parent;
    std::vector<std::unique_ptr<CStatic>> labels;
    auto label = [&](int x, int y, const wchar_t* text) {
        auto l = std::make_unique<CStatic>();
        l->Create(text, WS_CHILD | WS_VISIBLE, CRect(x, y, x + 300, y + 16), &parent, 0xFFFF);
        labels.push_back(std::move(l));
    };

    // The tree: nested nodes, a caret, a closed branch, a long label, a scroll bar.
    label(10, 8, L"Tree: caret, open and closed branches");
    CCustomTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_EDITLABELS, CRect(10, 28, 230, 300), &parent, 1));
    HTREEITEM routes = tree.InsertItem(L"Routes");
    HTREEITEM europe = tree.InsertItem(L"Europe", routes);
    for (const wchar_t* r : {L"Alps crossing", L"Coast road", L"Lakes tour with a name longer than the pane"})
        tree.InsertItem(r, europe);
    HTREEITEM closed = tree.InsertItem(L"Asia", routes);
    tree.InsertItem(L"Silk road", closed);
    HTREEITEM points = tree.InsertItem(L"Points of interest");
    for (int i = 1; i <= 14; ++i)
        tree.InsertItem((L"Favourite " + std::to_wstring(i)).c_str(), points);
    tree.Expand(routes, TVE_EXPAND);
    tree.Expand(europe, TVE_EXPAND);
    tree.Expand(points, TVE_EXPAND);
    tree.SelectItem(tree.GetChildItem(europe));

    // The tree with an open label editor.
    label(10, 310, L"Tree: label being edited");
    CCustomTreeCtrl editing;
    ASSERT_TRUE(editing.Create(WS_CHILD | WS_VISIBLE | TVS_EDITLABELS, CRect(10, 330, 230, 420), &parent, 2));
    HTREEITEM folder = editing.InsertItem(L"My routes");
    HTREEITEM renamed = editing.InsertItem(L"Weekend trip", folder);
    editing.InsertItem(L"Commute", folder);
    editing.Expand(folder, TVE_EXPAND);
    editing.SelectItem(renamed);

    // The shell tree, opened to the pictures' folder.
    label(250, 8, L"Shell folder tree");
    CShellTreeCtrl shell;
    ASSERT_TRUE(shell.Create(WS_CHILD | WS_VISIBLE, CRect(250, 28, 500, 420), &parent, 3));
    shell.Initialize();
    LPITEMIDLIST holiday = ILCreateFromPathW(dir.File(L"Holiday 2009").c_str());
    EXPECT_TRUE(shell.SelectPidl(holiday));
    shell.EnsureVisible(shell.GetSelectedItem());

    // The thumbnail grid over the same folder.
    label(520, 8, L"Thumbnail grid: folder first, selection, caret");
    CCustomThumbCtrl grid;
    ASSERT_TRUE(grid.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(520, 28, 990, 420), &parent, 59660));
    CPidl pictures{holiday, 0};
    ASSERT_TRUE(grid.SetFolder(&pictures));
    pictures.Release();
    ASSERT_TRUE(PumpUntil([&] { return grid.GetPendingLoads() == 0; }, 10000));
    grid.SetFocus();
    grid.SetCurSel(2);

    // Icon-dialog look: no labels, "No Image" for an empty cell.
    label(10, 430, L"Thumbnail grid without labels (icon dialogs)");
    CCustomThumbCtrl icons;
    ASSERT_TRUE(icons.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 450, 500, 600), &parent, 59668));
    icons.m_noLabels = TRUE;
    icons.m_useShellIcon = FALSE;
    for (int i = 0; i < 3; ++i)
        icons.InsertItem(i);
    DIB_IMAGE icon{};
    CreateDib(&icon, 32, 32);
    memset(icon.bits, 0x90, static_cast<size_t>(DibRowSize(32)) * 32);
    icons.SetItemBitmap(0, &icon);
    FreeDibImage(&icon);
    icons.SetCurSel(0);

    ASSERT_TRUE(editing.EditLabel(renamed));
    PumpUntil([] { return false; }, 300);
    skintest::PointerAway();
    parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    PumpUntil([] { return false; }, 300);

    CRect screen;
    parent.GetWindowRect(&screen);
    const skintest::Pixels shot(screen);
    EXPECT_TRUE(shot.SavePng(L"gallery_d"));
    // Each control drew itself over the parent's grey.
    for (const CRect& r : {CRect(12, 30, 228, 298), CRect(252, 30, 498, 418), CRect(522, 30, 988, 418)})
        EXPECT_GT(shot.CountOther(r, RGB(0x30, 0x30, 0x30), 4), r.Width() * r.Height() / 2);

    editing.DestroyWindow();
    tree.DestroyWindow();
    shell.DestroyWindow();
    grid.DestroyWindow();
    icons.DestroyWindow();
    app.m_pMainWnd = nullptr;
    parent.DestroyWindow();
    ILFree(holiday);
    TermShell();
    CoUninitialize();
}

}  // namespace
