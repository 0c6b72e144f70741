// The icon edit dialog under Xvfb with the real skin pack: deleting user icons
// from the folder with the button and the Del key, which icon is selected
// next, icons gone before, documents that keep their icon, and how it looks.
#include "IconSelectFixture.h"
#include "SkinTestFixture.h"
#include "res/device_ids.h"
#include "views/device/IconEditDlg.h"

using namespace dlgtest;
using namespace icontest;

namespace {

class IconEdit : public IconFixture {
protected:
    bool IconFile(int j) const
    {
        wchar_t name[32];
        wsprintfW(name, L"user%02d.bmp", j);
        return testsupport::FileExists(icons->File(name));
    }
};

TEST_F(IconEdit, DeletingSelectsTheFollowingIconOrTheNewLastOne)
{
    const struct {
        int icons, selected;
        bool key;          // Del instead of the button
        int left, next;    // icons left and the selection afterwards
    } cases[] = {
        {3, 1, false, 2, 1},   // the middle one: the old third is now second
        {3, 2, true, 2, 1},    // the last one: the new last one
        {1, 0, false, 0, -1},  // the only one: nothing left, nothing selected
        {3, -1, true, 3, -1},  // nothing selected: nothing happens
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.icons << " icons, selected " << c.selected);
        UseModel(5, c.icons);
        CIconEditDlg dlg;
        RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog& d) {
            EXPECT_STREQ(d.GetCaption(), theGlobal.UiString(240));
            ASSERT_EQ(dlg.m_grid.GetItemCount(), c.icons);
            dlg.m_grid.SetCurSel(c.selected);
            if (c.key) {
                dlg.m_grid.SetFocus();
                PressKey(VK_DELETE);
            } else {
                ClickChild(dlg.m_btnDelete.m_hWnd);
            }
            PumpUntil([&] { return dlg.m_grid.GetItemCount() == c.left; }, 2000);
            EXPECT_EQ(dlg.m_grid.GetItemCount(), c.left);
            EXPECT_EQ(dlg.m_grid.GetCurSel(), c.next);
            ClickChild(dlg.m_btnOK.m_hWnd);
        });
        EXPECT_EQ(theGlobal.m_docIcon.GetUserCount(), c.left);
        if (c.selected >= 0)
            EXPECT_FALSE(IconFile(c.selected));
        int files = 0;
        for (int j = 0; j < c.icons; ++j)
            files += IconFile(j) ? 1 : 0;
        EXPECT_EQ(files, c.left);
    }
}

// User icons are numbered by their place in the folder: a document whose icon
// came after the deleted one keeps its picture, not its number.
TEST_F(IconEdit, OtherDocumentsKeepTheirIcons)
{
    UseModel(5, 3);
    const int stock = theGlobal.m_docIcon.GetStockCount();
    CDocPi& kml = theGlobal.m_docPiKml;
    const int savedIcon = kml.m_defaultIcon;
    kml.m_defaultIcon = stock + 2;  // user02.bmp
    CIconEditDlg dlg;
    RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        dlg.m_grid.SetCurSel(0);
        ClickChild(dlg.m_btnDelete.m_hWnd);
        PumpUntil([&] { return dlg.m_grid.GetItemCount() == 2; }, 2000);
        ClickChild(dlg.m_btnOK.m_hWnd);
    });
    EXPECT_EQ(kml.m_defaultIcon, stock + 1);
    EXPECT_EQ(theGlobal.m_docIcon.GetUserIconName(kml.m_defaultIcon - stock), L"user02.bmp");
    kml.m_defaultIcon = savedIcon;
}

TEST_F(IconEdit, AnIconRemovedOutsideCountsAsDeleted)
{
    UseModel(0, 2);
    CIconEditDlg dlg;
    RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        ::DeleteFileW(icons->File(L"user00.bmp").c_str());
        dlg.m_grid.SetCurSel(0);
        ClickChild(dlg.m_btnDelete.m_hWnd);
        PumpUntil([&] { return dlg.m_grid.GetItemCount() == 1; }, 2000);
        EXPECT_EQ(dlg.m_grid.GetItemCount(), 1);
        EXPECT_EQ(dlg.m_grid.GetCurSel(), 0);
        EXPECT_TRUE(::FindWindowW(nullptr, theGlobal.UiString(15)) == nullptr);
        ClickChild(dlg.m_btnOK.m_hWnd);
    });
    EXPECT_TRUE(IconFile(1));
}

TEST_F(IconEdit, FrameAroundTheGridAndButtonsBelowIt)
{
    UseModel(0, 4);
    CIconEditDlg dlg;
    RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog& d) {
        dlg.m_grid.SetCurSel(1);
        SaveShot(d.m_hWnd, L"icon_edit");
        const skintest::Pixels shot(d.m_hWnd);
        const RECT& g = CIconEditDlg::kGridRect;
        EXPECT_EQ(shot.At(g.left - 1, g.top + 40), RGB(203, 204, 207));
        EXPECT_EQ(shot.At(g.right, g.top + 40), RGB(203, 204, 207));
        EXPECT_EQ(shot.At(g.left + 2, g.top + 2), RGB(123, 123, 139));
        CRect client, del, ok;
        d.GetClientRect(&client);
        dlg.m_btnDelete.GetWindowRect(&del);
        dlg.m_btnOK.GetWindowRect(&ok);
        d.ScreenToClient(&del);
        d.ScreenToClient(&ok);
        EXPECT_EQ(del.TopLeft(), CPoint(20, 428));
        EXPECT_EQ(ok.TopLeft(), CPoint(254, 428));
        EXPECT_LE(ok.bottom, client.bottom);
        ClickChild(dlg.m_btnOK.m_hWnd);
    });
}

}  // namespace
