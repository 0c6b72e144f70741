// The icon selection dialog under Xvfb with the real skin pack: which tab and
// icon a preset opens on, the numbers a click or a key returns, OK without a
// choice, Cancel, the Tab key, and how it looks.
#include "IconSelectFixture.h"
#include "SkinTestFixture.h"
#include "frame/MessageDlg.h"
#include "res/device_ids.h"

using namespace dlgtest;
using namespace icontest;

namespace {

class IconSelect : public IconFixture {};

TEST_F(IconSelect, PresetOpensItsTabWithItsIconSelected)
{
    const struct {
        int model, users, preset;
        int mode;                   // tab shown
        int stockSel, userSel;      // selected grid items
        int stockItems;
    } cases[] = {
        {0, 5, 14, 0, 2, -1, 58},       // a row sharing row 2's picture
        {0, 5, 73, 0, 57, -1, 58},      // the last picture, scrolled into view
        {0, 5, 0, 0, 0, -1, 58},
        {0, 5, -1, 0, -1, -1, 58},      // none
        {0, 5, 74 + 3, 1, -1, 3, 58},   // the fourth user icon
        {0, 5, 74 + 5, 0, -1, -1, 58},  // a user icon that is gone
        {2, 1, 66, 0, 52, -1, 58},
        {5, 5, 7, 0, 7, -1, 30},
        {5, 5, 30 + 4, 1, -1, 4, 30},
        {4, 2, 29, 0, 29, -1, 30},      // 24-pixel icons
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.model << " preset " << c.preset);
        UseModel(c.model, c.users);
        CIconSelectDlg dlg;
        dlg.m_icon = c.preset;
        const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog& d) {
            EXPECT_STREQ(d.GetCaption(), theGlobal.UiString(239));
            EXPECT_EQ(dlg.m_mode, c.mode);
            EXPECT_EQ(dlg.m_stockGrid.GetItemCount(), c.stockItems);
            EXPECT_EQ(dlg.m_userGrid.GetItemCount(), c.users);
            EXPECT_EQ(dlg.m_stockGrid.IsWindowVisible() != FALSE, c.mode == 0);
            EXPECT_EQ(dlg.m_userGrid.IsWindowVisible() != FALSE, c.mode == 1);
            EXPECT_EQ(dlg.m_btnStockTab.GetState(), c.mode == 0 ? 2 : 0);
            EXPECT_EQ(dlg.m_btnUserTab.GetState(), c.mode == 1 ? 2 : 0);
            EXPECT_EQ(dlg.m_stockGrid.GetCurSel(), c.stockSel);
            if (c.mode == 1)
                EXPECT_EQ(dlg.m_userGrid.GetCurSel(), c.userSel);
            if (c.stockSel >= 0) {
                CRect item, client;
                dlg.m_stockGrid.GetItemRect(&item, c.stockSel);
                dlg.m_stockGrid.GetClientRect(&client);
                EXPECT_GE(item.top, 0);
                EXPECT_LE(item.bottom, client.bottom);
            }
            ClickChild(dlg.m_btnCancel.m_hWnd);
        });
        // Cancel leaves the caller's number as it was.
        EXPECT_EQ(r, IDCANCEL);
        EXPECT_EQ(dlg.m_icon, c.preset);
    }
}

TEST_F(IconSelect, AClickOnAnIconReturnsItsNumber)
{
    const struct {
        int model, users, preset;
        bool userTab;  // click the user tab first
        bool userGrid;
        int item, result;
    } cases[] = {
        {0, 3, 2, false, false, 31, 31},      // the picture's image index
        {0, 3, 14, false, false, 0, 0},
        {0, 3, 74 + 1, false, true, 2, 74 + 2},
        {5, 3, 0, false, false, 12, 12},      // the stock icon number
        {5, 3, -1, true, true, 0, 30},
        {4, 3, 29, true, true, 1, 31},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.model << " item " << c.item);
        UseModel(c.model, c.users);
        CIconSelectDlg dlg;
        dlg.m_icon = c.preset;
        const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
            if (c.userTab) {
                ClickChild(dlg.m_btnUserTab.m_hWnd);
                PumpUntil([&] { return dlg.m_userGrid.IsWindowVisible() != FALSE; }, 1000);
            }
            ClickItem(c.userGrid ? dlg.m_userGrid : dlg.m_stockGrid, c.item);
            WaitEnded(dlg);
        });
        EXPECT_EQ(r, IDOK);
        EXPECT_EQ(dlg.m_icon, c.result);
    }
}

TEST_F(IconSelect, AnArrowKeyChoosesTheNextIcon)
{
    UseModel(5, 0);
    CIconSelectDlg dlg;
    dlg.m_icon = 7;
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        PressKey(VK_RIGHT);
        WaitEnded(dlg);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_EQ(dlg.m_icon, 8);
}

TEST_F(IconSelect, OkWithoutAnIconAsksForOneAndStays)
{
    UseModel(0, 0);
    CIconSelectDlg dlg;
    dlg.m_icon = -1;
    std::vector<CString> asked;
    auto pressOk = [&] {
        RunModal([&] {
            ClickChild(dlg.m_btnOK.m_hWnd);
            PumpUntil([&] { return Ended(dlg) || theGlobal.m_dialogStack.GetSize() > 1; }, 1500);
            return INT_PTR(0);
        }, [&](CCustomDialog& box) {
            asked.push_back(static_cast<CMessageDlg&>(box).GetText());
            PressKey(VK_RETURN);
        });
    };
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        pressOk();
        EXPECT_FALSE(Ended(dlg));
        // No user icons: the user tab shows the note instead of a grid.
        ClickChild(dlg.m_btnUserTab.m_hWnd);
        PumpUntil([&] { return dlg.m_mode == 1; }, 1000);
        EXPECT_TRUE(dlg.m_note.IsWindowVisible());
        EXPECT_FALSE(dlg.m_stockGrid.IsWindowVisible());
        EXPECT_FALSE(dlg.m_userGrid.IsWindowVisible());
        CString note = AfxGetWindowText(dlg.m_note.m_hWnd), expected = theGlobal.UiString(50);
        note.Remove(L'\n');
        note.Remove(L' ');
        expected.Remove(L' ');
        EXPECT_STREQ(note, expected);
        SaveShot(dlg.m_hWnd, L"icon_select_note");
        pressOk();
        EXPECT_FALSE(Ended(dlg));
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_EQ(dlg.m_icon, -1);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_STREQ(asked[0], theGlobal.UiString(29));
    EXPECT_STREQ(asked[1], theGlobal.UiString(29));
}

TEST_F(IconSelect, TabKeySwitchesTabsButNotInStockOnlyUse)
{
    UseModel(0, 2);
    CIconSelectDlg dlg;
    dlg.m_icon = 5;
    RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        PressKey(VK_TAB);
        EXPECT_EQ(dlg.m_mode, 1);
        EXPECT_TRUE(dlg.m_userGrid.IsWindowVisible());
        EXPECT_FALSE(dlg.m_stockGrid.IsWindowVisible());
        EXPECT_EQ(::GetFocus(), dlg.m_userGrid.m_hWnd);
        EXPECT_EQ(dlg.m_btnUserTab.GetState(), 2);
        PressKey(VK_TAB);
        EXPECT_EQ(dlg.m_mode, 0);
        EXPECT_TRUE(dlg.m_stockGrid.IsWindowVisible());
        EXPECT_EQ(::GetFocus(), dlg.m_stockGrid.m_hWnd);
        EXPECT_EQ(dlg.m_btnStockTab.GetState(), 2);
        ClickChild(dlg.m_btnCancel.m_hWnd);
    });

    CIconSelectDlg stockOnly;
    stockOnly.m_mode = CIconSelectDlg::kStockOnly;
    stockOnly.m_icon = 14;
    const INT_PTR r = RunModal([&] { return stockOnly.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_FALSE(stockOnly.m_btnStockTab.IsWindowVisible());
        EXPECT_FALSE(stockOnly.m_btnUserTab.IsWindowVisible());
        EXPECT_EQ(stockOnly.m_stockGrid.GetCurSel(), 2);
        PressKey(VK_TAB);
        EXPECT_EQ(stockOnly.m_mode, CIconSelectDlg::kStockOnly);
        EXPECT_TRUE(stockOnly.m_stockGrid.IsWindowVisible());
        EXPECT_FALSE(stockOnly.m_userGrid.IsWindowVisible());
        EXPECT_FALSE(Ended(stockOnly));
        ClickChild(stockOnly.m_btnOK.m_hWnd);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_EQ(stockOnly.m_icon, 2);
}

TEST_F(IconSelect, FrameAroundTheGridsAndButtonsInside)
{
    UseModel(0, 4);
    CIconSelectDlg dlg;
    dlg.m_icon = 20;
    RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog& d) {
        SaveShot(d.m_hWnd, L"icon_select_stock");
        const skintest::Pixels shot(d.m_hWnd);
        const RECT& g = CIconSelectDlg::kGridRect;
        EXPECT_EQ(shot.At(g.left - 3, g.top + 40), RGB(92, 92, 104));
        EXPECT_EQ(shot.At(g.left - 1, g.top + 40), RGB(148, 150, 155));
        EXPECT_EQ(shot.At(g.left - 5, g.top + 40), RGB(235, 235, 251));
        EXPECT_EQ(shot.At(g.right + 4, g.top + 40), RGB(66, 66, 75));
        EXPECT_EQ(shot.At(200, 453), RGB(66, 66, 75));
        EXPECT_EQ(shot.At(g.left + 2, g.top + 2), RGB(123, 123, 139));  // the light grid
        // Five 48-pixel cells 70 pixels apart in a row.
        CRect fifth;
        dlg.m_stockGrid.GetItemRect(&fifth, 4);
        EXPECT_EQ(fifth.left, 4 * 70);
        EXPECT_EQ(fifth.Width(), 48);
        CRect client, ok;
        d.GetClientRect(&client);
        dlg.m_btnOK.GetWindowRect(&ok);
        d.ScreenToClient(&ok);
        EXPECT_EQ(ok.TopLeft(), CPoint(58, 474));
        EXPECT_LE(ok.bottom, client.bottom);
        ClickChild(dlg.m_btnUserTab.m_hWnd);
        PumpUntil([&] { return dlg.m_userGrid.IsWindowVisible() != FALSE; }, 1000);
        SaveShot(d.m_hWnd, L"icon_select_user");
        ClickChild(dlg.m_btnCancel.m_hWnd);
    });
}

}  // namespace
