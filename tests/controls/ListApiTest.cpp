// The custom list's rows, columns and image lists, called as owners call them.
#include "ListTestSupport.h"

using namespace listtest;

namespace {

class ListApi : public ListTest {};

TEST_F(ListApi, NegativeAndOutOfRangeIndexesAreRefusedAndChangeNothing)
{
    Make(0, 3);
    ASSERT_EQ(-1, list.GetCurSel());  // nothing selected: what owners then pass on
    const int none = list.GetCurSel();
    EXPECT_EQ(0, list.GetItemData(none, 0));
    EXPECT_EQ(0, list.GetItemData(0, -1));
    EXPECT_EQ(0, list.GetItemData(0, CCustomListCtrl::MaxColumns));
    EXPECT_EQ(-1, list.GetItemImage(none, 0));
    EXPECT_EQ(-1, list.GetItemImage(0, -1));
    EXPECT_EQ(0u, list.GetItemState(none, ~0u));
    EXPECT_FALSE(list.SetItemState(none, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_FALSE(list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED));
    wchar_t buf[16] = L"x";
    struct Case {
        int row, column;
    } cases[] = {{-1, 0}, {0, -1}, {3, 0}, {0, 57}, {-100000, 0}, {0, -100000}};
    for (const auto& c : cases) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
        item.iItem = c.row;
        item.iSubItem = c.column;
        item.pszText = buf;
        item.cchTextMax = 16;
        item.iImage = 5;
        item.lParam = 9;
        item.state = item.stateMask = LVIS_SELECTED;
        EXPECT_FALSE(list.GetItem(&item)) << c.row << "," << c.column;
        EXPECT_FALSE(list.SetItem(&item)) << c.row << "," << c.column;
    }
    EXPECT_EQ(0, list.GetSelectedCount());
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(100 + r, list.GetItemData(r, 0));
        EXPECT_EQ(-1, list.GetItemImage(r, 0));
    }
    EXPECT_EQ(nullptr, list.EditSubItem(-1, 0));
    EXPECT_EQ(nullptr, list.EditSubItem(0, -1));
    LVITEMW bad{};
    bad.iItem = -1;
    EXPECT_THROW(list.InsertItem(&bad), CInvalidArgException);
    EXPECT_EQ(3, list.GetItemCount());
}

TEST_F(ListApi, RowsTextsImagesAndParams)
{
    Make(0, 0);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = 50;  // past the end: appended
    item.pszText = const_cast<wchar_t*>(L"first");
    item.iImage = 2;
    item.lParam = 77;
    EXPECT_EQ(0, list.InsertItem(&item));
    item.iItem = 0;
    item.pszText = LPSTR_TEXTCALLBACKW;
    EXPECT_EQ(0, list.InsertItem(&item));
    EXPECT_EQ(L"first", Text(1, 0));
    EXPECT_EQ(L"", Text(0, 0));  // a callback text is neither copied nor shown
    EXPECT_EQ(LPSTR_TEXTCALLBACKW, list.m_items[0].text[0]);
    EXPECT_EQ(2, list.GetItemImage(1, 0));
    EXPECT_EQ(77, list.GetItemData(1, 0));
    EXPECT_EQ(-1, list.GetItemImage(1, 1));

    // A long text is cut to the caller's buffer.
    LVITEMW set{};
    set.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    set.iItem = 1;
    set.iSubItem = 2;
    set.pszText = const_cast<wchar_t*>(L"abcdefghij");
    set.iImage = 4;
    set.lParam = 5;
    ASSERT_TRUE(list.SetItem(&set));
    wchar_t small[5] = L"????";
    LVITEMW get{};
    get.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    get.iItem = 1;
    get.iSubItem = 2;
    get.pszText = small;
    get.cchTextMax = 4;
    ASSERT_TRUE(list.GetItem(&get));
    EXPECT_STREQ(L"abc", small);
    EXPECT_EQ(4, get.iImage);
    EXPECT_EQ(5, get.lParam);
    EXPECT_EQ(77, list.m_items[1].item.lParam);  // only column 0 feeds the row header

    // A copied row owns copies of its texts.
    CCustomListCtrl::_listitem copy(list.m_items[1]);
    EXPECT_NE(copy.text[0], list.m_items[1].text[0]);
    EXPECT_STREQ(copy.text[2], L"abcdefghij");
    copy.SetText(2, copy.text[2]);  // its own text again: still intact
    EXPECT_STREQ(copy.text[2], L"abcdefghij");
    EXPECT_EQ(copy.item.pszText, copy.text[0]);
}

TEST_F(ListApi, SelectionWalkAndCurrentRow)
{
    Make(0, 6);
    EXPECT_EQ(nullptr, list.GetFirstSelectedItemPosition());
    list.SetItemState(4, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ((std::vector<int>{1, 3, 4}), Selected());
    EXPECT_EQ(3, list.GetCurSel());  // selected and focused first
    list.SetItemState(3, LVIS_FOCUSED, 0);
    EXPECT_EQ(1, list.GetCurSel());
    list.SetCurSel(5);
    EXPECT_EQ((std::vector<int>{5}), Selected());
    EXPECT_EQ(LVIS_FOCUSED | LVIS_SELECTED, list.GetItemState(5, ~0u));
    EXPECT_EQ(0, parent.Count(LVN_ITEMCHANGED));
    list.NotifySelChange();
    ASSERT_EQ(1, parent.Count(LVN_ITEMCHANGED));
    EXPECT_EQ(5, parent.notes[0].item);
    EXPECT_EQ(0u, parent.notes[0].newState | parent.notes[0].oldState | parent.notes[0].changed);
}

TEST_F(ListApi, ColumnsSortArrowsAndWidths)
{
    Make(0, 1);
    list.InsertColumn(3, L"Narrow", LVCFMT_CENTER, -1);
    HD_ITEMW hd{};
    hd.mask = HDI_WIDTH | HDI_FORMAT;
    list.m_header.GetItem(3, &hd);
    EXPECT_EQ(16, hd.cxy);
    EXPECT_EQ(HDF_CENTER, hd.fmt);
    EXPECT_EQ(CCustomListCtrl::EditText, list.m_columnProps[0].type);
    EXPECT_EQ(CCustomListCtrl::EditNone, list.m_columnProps[3].type);
    list.SetSortArrow(2, TRUE);
    list.SetSortArrow(0, FALSE);
    for (int c = 0; c < 4; ++c) {
        list.m_header.GetItem(c, &hd);
        EXPECT_EQ(c == 0 ? HDF_SORTDOWN : 0, hd.fmt & (HDF_SORTUP | HDF_SORTDOWN)) << c;
    }
    list.SetColumnAlignments(3, 0, 2, 7);
    EXPECT_EQ(2, list.GetColumnAlignment(1));
    EXPECT_EQ(0, list.GetColumnAlignment(2));
    EXPECT_EQ(HDF_CENTER, list.GetColumnAlignment(3));  // from the header
}

TEST_F(ListApi, ImageListsSetRowHeightAndAreOwnedByTheList)
{
    Make(0, 2);
    CImageList big, small;
    ASSERT_TRUE(big.Create(48, 48, ILC_COLOR24, 1, 1));
    ASSERT_TRUE(small.Create(16, 16, ILC_COLOR24, 1, 1));
    EXPECT_EQ(nullptr, list.SetImageList(&big, LVSIL_SMALL));
    EXPECT_EQ(49, list.m_rowHeight);
    HIMAGELIST ownCopy = list.m_imageListSmall;
    EXPECT_NE(big.GetSafeHandle(), ownCopy);
    // The list's own copy is destroyed, never handed back.
    EXPECT_EQ(nullptr, list.SetImageList(&small, LVSIL_SMALL));
    EXPECT_EQ(36, list.m_rowHeight);
    EXPECT_EQ(nullptr, list.SetImageList(nullptr, LVSIL_SMALL));
    EXPECT_EQ(36, list.m_rowHeight);
    EXPECT_EQ(nullptr, list.m_imageListSmall);
}

TEST_F(ListApi, OwnerDataComesFromTheParent)
{
    parent.dispInfo = [](NMLVDISPINFOW* di) {
        static wchar_t own[64];
        swprintf(own, 64, L"cell %d.%d", di->item.iItem, di->item.iSubItem);
        di->item.pszText = own;
        di->item.iImage = di->item.iItem;
        di->item.lParam = 1000 + di->item.iItem;
    };
    Make(LVS_OWNERDATA, 0);
    list.m_items.SetSize(20);
    list.UpdateScrollBars();
    EXPECT_EQ(L"cell 7.2", Text(7, 2));
    EXPECT_EQ(1007, list.GetItemData(7, 1));
    EXPECT_EQ(7, list.GetItemImage(7, 0));
    list.SetItemState(7, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(7, list.GetCurSel());
    EXPECT_EQ(0, list.GetItemData(20, 0));
}

}  // namespace
