// The list header and the list's painting, layout and scrolling: pixels of
// the real skin, the non-client band, and the scroll arithmetic.
#include "ListTestSupport.h"
#include "SkinTestFixture.h"
#include "controls/LightListCtrl.h"

using namespace listtest;

namespace {

class ListDraw : public ListTest {
protected:
    // Pixel of the list's window (header band included), from the screen.
    COLORREF WindowPixel(int x, int y)
    {
        RECT rc;
        list.GetWindowRect(&rc);
        HDC dc = ::GetDC(nullptr);
        const COLORREF c = ::GetPixel(dc, rc.left + x, rc.top + y);
        ::ReleaseDC(nullptr, dc);
        return c;
    }
};

// Text drawn by DrawHeaderItem on a memory DC: its leftmost and rightmost ink columns.
std::pair<int, int> HeaderTextSpan(int format, int width = 200, bool sortable = false, const wchar_t* text = L"Ab")
{
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, 24);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT rc{0, 0, width, 24};
    CCustomHeaderCtrl::DrawHeaderItem(&rc, TRUE, 0x231E1E, mem, text, format, 0x807E7E, sortable);
    int first = -1, last = -1;
    for (int x = 0; x < width; ++x)
        for (int y = 2; y < 20; ++y)
            if (GetPixel(mem, x, y) != 0x231E1E && GetPixel(mem, x, y) != 0x807E7E) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return {first, last};
}

TEST(ListHeader, CaptionAlignmentFollowsTheFormat)
{
    const auto left = HeaderTextSpan(HDF_LEFT), right = HeaderTextSpan(HDF_RIGHT), centre = HeaderTextSpan(HDF_CENTER);
    EXPECT_GE(left.first, 7);
    EXPECT_LE(left.first, 9);
    EXPECT_GE(right.second, 200 - 7 - 3);  // ends at the right inset
    EXPECT_LE(right.second, 200 - 7);
    const int mid = (centre.first + centre.second) / 2;
    EXPECT_NEAR(100, mid, 3);
}

TEST(ListHeader, SortArrowsOnlyInWideSortableCells)
{
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 100, 24);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT rc{0, 0, 100, 24};
    CCustomHeaderCtrl::DrawHeaderItem(&rc, TRUE, 0x231E1E, mem, nullptr, HDF_SORTUP, 0x807E7E, TRUE);
    const int mid = 12;
    EXPECT_EQ(0x545151u, GetPixel(mem, 100 - 18 + 5, mid - 2));  // lit upward base
    EXPECT_EQ(0xAAAAAAu, GetPixel(mem, 100 - 18 + 5, mid - 4));
    EXPECT_EQ(0x3A3737u, GetPixel(mem, 100 - 18 + 5, mid));      // dim downward base
    CCustomHeaderCtrl::DrawHeaderItem(&rc, TRUE, 0x231E1E, mem, nullptr, HDF_SORTDOWN, 0x807E7E, TRUE);
    EXPECT_EQ(0x3A3737u, GetPixel(mem, 100 - 18 + 5, mid - 2));
    EXPECT_EQ(0x545151u, GetPixel(mem, 100 - 18 + 5, mid));
    RECT narrow{0, 0, 15, 24};
    CCustomHeaderCtrl::DrawHeaderItem(&narrow, TRUE, 0x231E1E, mem, nullptr, HDF_SORTUP, 0x807E7E, TRUE);
    for (int x = 0; x < 15; ++x)
        EXPECT_EQ(0x231E1Eu, GetPixel(mem, x, mid - 2)) << x;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

TEST_F(ListDraw, HeaderClicksDividersAndWidthLimit)
{
    Make(0, 3);
    list.SetColumnsSortable(2, TRUE, FALSE);
    Settle();
    RECT wnd;
    list.GetWindowRect(&wnd);
    auto headerClick = [&](int x1, int x2) {
        ::SetCursorPos(wnd.left + x1, wnd.top + 12);
        Drain(20);
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        Drain(40);
        MoveTo(nullptr, wnd.left + x2, wnd.top + 12);
        MouseButton(MOUSEEVENTF_LEFTUP);
        Drain(static_cast<DWORD>(GetDoubleClickTime()) + 30);
    };
    headerClick(60, 60);  // sortable column 0
    ASSERT_EQ(1, parent.Count(LVN_COLUMNCLICK));
    EXPECT_EQ(-1, parent.Of(LVN_COLUMNCLICK)[0].item);
    EXPECT_EQ(0, parent.Of(LVN_COLUMNCLICK)[0].subItem);
    headerClick(200, 200);  // column 1 is not sortable
    headerClick(60, 200);   // released outside the pressed column
    EXPECT_EQ(1, parent.Count(LVN_COLUMNCLICK));

    // Divider of column 0 (at x 150) dragged to a width of 3: the column goes.
    headerClick(150, 3);
    HD_ITEMW hd{};
    hd.mask = HDI_WIDTH;
    list.m_header.GetItem(0, &hd);
    EXPECT_EQ(0, hd.cxy);
    EXPECT_EQ(1, list.m_header.HitTest(CPoint(100, 5), TRUE));  // the next divider now sits at 100

    hd.cxy = 40000;
    list.m_header.SetItem(2, &hd);
    int sum = 0;
    for (int c = 0; c < 3; ++c) {
        list.m_header.GetItem(c, &hd);
        sum += hd.cxy;
    }
    EXPECT_EQ(32767, sum);
}

TEST_F(ListDraw, TwoCloseDividersTheLaterWins)
{
    Make(0, 0);
    HD_ITEMW hd{};
    hd.mask = HDI_WIDTH;
    hd.cxy = 3;
    list.m_header.SetItem(1, &hd);  // dividers at 150 and 153
    EXPECT_EQ(1, list.m_header.HitTest(CPoint(151, 5), TRUE));
    EXPECT_EQ(0, list.m_header.HitTest(CPoint(148, 5), TRUE));
}

TEST_F(ListDraw, RowsSelectionSkinHeaderBandAndPseudoRows)
{
    Make(0, 3);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetSortArrow(0, TRUE);
    list.SetAllColumnsSortable(TRUE);
    Settle();
    skintest::Pixels px(list.m_hWnd);
    RECT client;
    list.GetClientRect(&client);
    // Unselected row and the filler below the rows: the list's background.
    EXPECT_EQ(0x231E1Eu, px.At(60, 5));
    EXPECT_EQ(0x231E1Eu, px.At(60, client.bottom - 3));
    // Grid line at the right edge of the first column.
    EXPECT_EQ(0x817E7Eu, px.At(149, 5));
    // The selected row shows the selection skin's middle piece.
    EXPECT_TRUE(skintest::Near(skintest::DibPixel(list.m_selSkinMid, 0, 3), px.At(60, 36 + 3), 2));
    // Header band above the client area: its fill and its bottom line.
    EXPECT_EQ(0x231E1Eu, WindowPixel(60, 3));
    EXPECT_EQ(0x807E7Eu, WindowPixel(60, 23));
    RECT w;
    list.GetWindowRect(&w);
    POINT origin{0, 0};
    ::ClientToScreen(list.m_hWnd, &origin);
    EXPECT_EQ(24, origin.y - w.top);
    // Without the skin the selection is flat.
    list.m_useSelectionSkin = FALSE;
    Settle();
    skintest::Pixels flat(list.m_hWnd);
    EXPECT_EQ(0x6CD1D0u, flat.At(60, 36 + 3));
}

// Lists whose first columns hold icons or ticks start the skin after them.
TEST_F(ListDraw, TheSelectionSkinStartsAtItsColumn)
{
    Make(0, 3);
    list.m_skinFromColumn = 1;
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    Settle();
    skintest::Pixels px(list.m_hWnd);
    EXPECT_EQ(0x231E1Eu, px.At(60, 36 + 3));
    EXPECT_TRUE(skintest::Near(skintest::DibPixel(list.m_selSkinMid, 0, 3), px.At(150 + 40, 36 + 3), 2));
    // Ended at a column, the rest of the row keeps the background.
    list.m_skinToColumn = 1;
    list.Invalidate(FALSE);
    Settle();
    skintest::Pixels ended(list.m_hWnd);
    EXPECT_TRUE(skintest::Near(skintest::DibPixel(list.m_selSkinMid, 0, 3), ended.At(150 + 40, 36 + 3), 2));
    EXPECT_EQ(0x231E1Eu, ended.At(250 + 40, 36 + 3));
}

class CParityList : public CCustomListCtrl {
public:
    std::vector<int> ids;
    void DrawItem(DRAWITEMSTRUCT* dis) override
    {
        ids.push_back(static_cast<int>(dis->itemID));
        CCustomListCtrl::DrawItem(dis);
    }
};

TEST_F(ListDraw, PseudoRowsKeepTheParity)
{
    CParityList tall;
    ASSERT_TRUE(tall.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(420, 10, 620, 250), &parent, 9));
    tall.InsertColumn(0, L"A", LVCFMT_LEFT, 100);
    tall.m_items.SetSize(3);
    tall.UpdateScrollBars();
    tall.ids.clear();
    ::RedrawWindow(tall.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_GE(tall.ids.size(), 6u);
    EXPECT_EQ((std::vector<int>{0, 1, 2, -1, -2, -1}), std::vector<int>(tall.ids.begin(), tall.ids.begin() + 6));
}

TEST_F(ListDraw, ScrollArithmetic)
{
    Make(0, 10, {10, 10, 410, 10 + 24 + 200});  // client 200 high
    RECT client;
    list.GetClientRect(&client);
    ASSERT_EQ(200, client.bottom);
    EXPECT_EQ(5, list.m_rowsPerPage);
    SCROLLINFO si{sizeof(si), SIF_ALL};
    list.GetScrollInfo(SB_VERT, &si);
    EXPECT_EQ(0, si.nMin);
    EXPECT_EQ(9, si.nMax);
    EXPECT_EQ(5u, si.nPage);
    EXPECT_TRUE(list.GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(list.GetStyle() & WS_HSCROLL);  // all columns fit
    EXPECT_EQ(0, list.GetScrollPos(SB_HORZ));
    list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(1, list.m_topIndex);
    list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(2, list.m_topIndex);
    list.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(5, list.m_topIndex);  // the last position
    list.SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(0, list.m_topIndex);
    list.EnsureVisible(7);
    EXPECT_EQ(3, list.m_topIndex);
    LVHITTESTINFO hit{};
    hit.pt = {200, 36 * 4 + 10};  // the last row of the page
    EXPECT_EQ(7, list.SubItemHitTest(&hit));
    EXPECT_EQ(1, hit.iSubItem);

    // Wider columns: a horizontal bar scrolling 10 pixels a line.
    HD_ITEMW hd{};
    hd.mask = HDI_WIDTH;
    hd.cxy = 600;
    list.m_header.SetItem(2, &hd);
    list.UpdateScrollBars();
    EXPECT_TRUE(list.GetStyle() & WS_HSCROLL);
    list.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(10, list.GetScrollPos(SB_HORZ));
    RECT cell{};
    list.GetSubItemRect(3, 1, LVIR_BOUNDS, &cell);
    EXPECT_EQ(150 - 10, cell.left);
    EXPECT_EQ(0, cell.top);
}

TEST_F(ListDraw, DividerDoubleClickSizesAnEmptySortableColumnToItsCaption)
{
    Make(0, 0);
    list.SetAllColumnsSortable(TRUE);
    HDC dc = ::GetDC(list.m_hWnd);
    HGDIOBJ old = SelectObject(dc, list.m_fontBold);
    RECT rc{0, 0, 0, 0};
    DrawTextW(dc, L"Kind", -1, &rc, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ::ReleaseDC(list.m_hWnd, dc);
    list.AutoWidth(2);
    HD_ITEMW hd{};
    hd.mask = HDI_WIDTH;
    list.m_header.GetItem(2, &hd);
    EXPECT_EQ(rc.right + 10 + 18 + 12, hd.cxy);
}

TEST_F(ListDraw, LightListShortDateAndRedZero)
{
    CLightListCtrl light;
    ASSERT_TRUE(light.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 630, 200), &parent, 9));
    for (int c = 0; c < 6; ++c)
        light.InsertColumn(c, L"C", LVCFMT_LEFT, 100);
    light.m_columnProps[1].type = CCustomListCtrl::EditDate;
    const wchar_t* texts[][6] = {{L"a", L"2024/02/29", L"", L"", L"", L"0.00"},
                                 {L"b", L"not a date", L"", L"", L"", L"0.001"}};
    for (int r = 0; r < 2; ++r) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<wchar_t*>(texts[r][0]);
        light.InsertItem(&item);
        for (int c = 1; c < 6; ++c)
            light.m_items[r].SetText(c, texts[r][c]);
    }
    light.UpdateScrollBars();
    ::RedrawWindow(light.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    skintest::Pixels px(light.m_hWnd);
    auto redIn = [&](int row) {
        int red = 0;
        for (int x = 500; x < 600; ++x)
            for (int y = row * 36; y < row * 36 + 36; ++y)
                red += px.At(x, y) == 0x0000FF;
        return red;
    };
    EXPECT_GT(redIn(0), 5);
    EXPECT_EQ(0, redIn(1));
    wchar_t cell[32] = L"";
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = 0;
    item.iSubItem = 1;
    item.pszText = cell;
    item.cchTextMax = 32;
    light.GetItem(&item);
    EXPECT_STREQ(L"2024/02/29", cell);  // shown as a short date, kept as it was
    // The date cell shows the same ink as the short date drawn the same way.
    SYSTEMTIME st{2024, 2, 4, 29, 0, 0, 0, 0};
    wchar_t expect[40];
    ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE | LOCALE_NOUSEROVERRIDE, &st, nullptr, expect, 40), 0);
    HDC dc = ::GetDC(light.m_hWnd);
    HGDIOBJ old = SelectObject(dc, light.m_font);
    SIZE shortSize{}, rawSize{};
    GetTextExtentPoint32W(dc, expect, lstrlenW(expect), &shortSize);
    GetTextExtentPoint32W(dc, L"2024/02/29", 10, &rawSize);
    SelectObject(dc, old);
    ::ReleaseDC(light.m_hWnd, dc);
    int lastInk = 0;
    for (int x = 100; x < 200; ++x)
        for (int y = 5; y < 31; ++y)
            if (px.At(x, y) != 0x231E1E && px.At(x, y) != 0x817E7E)
                lastInk = x;
    EXPECT_NEAR(100 + 6 + shortSize.cx, lastInk, 2);
    light.DestroyWindow();
}

}  // namespace
