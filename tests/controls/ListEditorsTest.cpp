// The choice, icon, date and time cell editors, opened on a list and driven
// by real keys and clicks; one table of the editor kinds first.
#include "ListTestSupport.h"

using namespace listtest;

namespace {

class ListEditors : public ListTest {
protected:
    // Column 1 of every row gets the editor of the given type.
    void MakeWith(int type, const wchar_t* cellText = nullptr, LPARAM param = 0, int rows = 6)
    {
        Make(LVS_EDITLABELS | LVS_SINGLESEL, rows);
        list.m_cellMode = TRUE;
        list.m_columnProps[1].type = type;
        for (int r = 0; r < rows; ++r) {
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = r;
            item.iSubItem = 1;
            item.pszText = const_cast<wchar_t*>(cellText ? cellText : L"");
            item.lParam = param;
            list.SetItem(&item);
        }
    }
    RECT EditorRect()
    {
        RECT rc{};
        ::GetWindowRect(list.m_editorWnd, &rc);
        ::MapWindowPoints(nullptr, list.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    // Puts the time picker's hour field under the pointer's click, then steps it up.
    void HourUp()
    {
        RECT rc{};
        ::GetClientRect(list.m_editorWnd, &rc);
        RealClick(list.m_editorWnd, 6, rc.bottom / 2);
        Key(VK_UP);
    }
    // Client point of a day on the open calendar, -1,-1 when not shown.
    POINT FindDay(int month, int day)
    {
        RECT client{};
        ::GetClientRect(list.m_editorWnd, &client);
        for (int y = 0; y < client.bottom; y += 2)
            for (int x = 0; x < client.right; x += 2) {
                MCHITTESTINFO info{};
                info.pt = {x, y};
                const DWORD hit = list.m_dateEditor.HitTest(&info);
                if ((hit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE && info.st.wMonth == month && info.st.wDay == day)
                    return {x, y};
            }
        return {-1, -1};
    }
    HWND Open(int row)
    {
        HWND wnd = list.EditSubItem(row, 1);
        Drain(40);
        return wnd;
    }
};

TEST_F(ListEditors, EachKindOpensItsWindowClass)
{
    struct Case {
        int type;
        const wchar_t* cls;  // nullptr: no window
    } cases[] = {
        {CCustomListCtrl::EditChoice, L"Static"},  {CCustomListCtrl::EditIcon, L"Static"},
        {CCustomListCtrl::EditText, L"Edit"},      {CCustomListCtrl::EditTextNoIme, L"Edit"},
        {CCustomListCtrl::EditNoWindow, nullptr},  {CCustomListCtrl::EditTime, DATETIMEPICK_CLASSW},
        {CCustomListCtrl::EditDate, MONTHCAL_CLASSW}, {CCustomListCtrl::EditNone, nullptr},
        {CCustomListCtrl::EditReadOnly, nullptr},
    };
    MakeWith(CCustomListCtrl::EditText, L"12:00:00");
    CImageList images;
    GiveIcons(list, images, 4);
    list.m_columnProps[1].options = L"x\ny";
    for (const auto& c : cases) {
        list.m_columnProps[1].type = c.type;
        HWND wnd = Open(1);
        if (!c.cls) {
            EXPECT_EQ(nullptr, wnd) << c.type;
            continue;
        }
        ASSERT_NE(nullptr, wnd) << c.type;
        wchar_t cls[64] = L"";
        GetClassNameW(wnd, cls, 64);
        EXPECT_STREQ(c.cls, cls) << c.type;
        EXPECT_TRUE(::IsWindowVisible(wnd)) << c.type;
        EXPECT_EQ(list.m_editorKind, c.type) << c.type;
        list.EndEdit(TRUE);
        EXPECT_FALSE(::IsWindow(wnd)) << c.type;
    }
    EXPECT_EQ(parent.enterMenuLoop, parent.exitMenuLoop);
}

TEST_F(ListEditors, ChoiceListPicksByKeysAndStoresTextAndIndex)
{
    MakeWith(CCustomListCtrl::EditChoice, L"Bike", 1);
    list.m_columnProps[1].options = L"Car\nBike\nWalk";
    ASSERT_NE(nullptr, Open(1));
    EXPECT_EQ(1, list.m_choiceList.m_hotIndex);
    EXPECT_EQ(1, list.m_choiceList.m_selIndex);
    RECT cell{}, popup = EditorRect();
    list.GetSubItemRect(1, 1, LVIR_LABEL, &cell);
    EXPECT_EQ(cell.left - 3, popup.left);
    EXPECT_EQ(cell.top + 8 - 2, popup.top);
    EXPECT_EQ(cell.right - cell.left + 2, popup.right - popup.left);  // as wide as the cell
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(0, list.m_choiceList.m_hotIndex);  // wrapped to Car
    Key(VK_RETURN);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    const Note end = parent.Of(LVN_ENDLABELEDITW)[0];
    EXPECT_EQ(L"Car", end.text);
    EXPECT_EQ(0, end.param);
    EXPECT_EQ(L"Car", Text(1, 1));
    EXPECT_EQ(0, list.GetItemData(1, 1));
}

TEST_F(ListEditors, ChoiceIndexBeyondTheChoicesSelectsNoneAndCommitsNothing)
{
    MakeWith(CCustomListCtrl::EditChoice, L"?", 7);
    list.m_columnProps[1].options = L"Car\nBike\nWalk";
    ASSERT_NE(nullptr, Open(0));
    EXPECT_EQ(-1, list.m_choiceList.m_hotIndex);
    EXPECT_EQ(-1, list.m_choiceList.m_selIndex);
    Settle();
    Key(VK_RETURN);
    EXPECT_EQ(0, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(7, list.GetItemData(0, 1));
}

TEST_F(ListEditors, AnEmptyChoiceKeepsTheLaterOnesAtTheirIndex)
{
    MakeWith(CCustomListCtrl::EditChoice, L"Walk", 2);
    list.m_columnProps[1].options = L"Car\n\nWalk\n";
    ASSERT_NE(nullptr, Open(0));
    ASSERT_EQ(3, list.m_choiceList.GetCount());
    EXPECT_EQ(2, list.m_choiceList.m_hotIndex);
    Key(VK_UP);
    Key(VK_UP);
    Key(VK_RETURN);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(L"Car", Text(0, 1));
    EXPECT_EQ(0, list.GetItemData(0, 1));
}

TEST_F(ListEditors, ChoiceListNearTheBottomStaysInside)
{
    MakeWith(CCustomListCtrl::EditChoice, L"a", 0, 8);
    list.m_columnProps[1].options = L"One\nTwo\nThree\nFour\nFive\nSix";
    const int last = list.m_rowsPerPage - 1;
    ASSERT_NE(nullptr, Open(last));
    RECT client, popup = EditorRect(), cell{};
    list.GetClientRect(&client);
    list.GetSubItemRect(last, 1, LVIR_LABEL, &cell);
    EXPECT_LE(popup.bottom, client.bottom);
    EXPECT_LT(popup.top, cell.top);  // moved up over the cell
    // A click on a choice commits it.
    RealClick(list.m_editorWnd, 10, 3 + list.m_choiceList.m_itemRects[2].top);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(L"Three", Text(last, 1));
}

TEST_F(ListEditors, IconGridLayoutKeysLimitAndClick)
{
    MakeWith(CCustomListCtrl::EditIcon);
    CImageList images;
    GiveIcons(list, images, 30);
    LVITEMW img{};
    img.mask = LVIF_IMAGE;
    img.iItem = 0;
    img.iSubItem = 1;
    img.iImage = 10;
    list.SetItem(&img);
    ASSERT_NE(nullptr, Open(0));
    const RECT popup = EditorRect();
    EXPECT_EQ(354, popup.right - popup.left);
    EXPECT_EQ(98, popup.bottom - popup.top);
    EXPECT_EQ(10, list.m_iconList.m_hotIndex);
    Key(VK_RIGHT);  // the last of its row: stays
    EXPECT_EQ(10, list.m_iconList.m_hotIndex);
    Key(VK_DOWN);
    EXPECT_EQ(21, list.m_iconList.m_hotIndex);
    Key(VK_DOWN);  // 32 does not exist
    EXPECT_EQ(21, list.m_iconList.m_hotIndex);
    Key(VK_LEFT);
    Key(VK_RETURN);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(20, parent.Of(LVN_ENDLABELEDITW)[0].image);
    EXPECT_EQ(20, list.GetItemImage(0, 1));

    list.m_iconLimit = 5;
    ASSERT_NE(nullptr, Open(1));
    EXPECT_EQ(5, ImageList_GetImageCount(list.m_iconList.m_imageList));
    const RECT cell3 = list.m_iconList.m_cellRects[3];
    RealClick(list.m_editorWnd, (cell3.left + cell3.right) / 2, (cell3.top + cell3.bottom) / 2);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    EXPECT_EQ(3, list.GetItemImage(1, 1));
    EXPECT_EQ(nullptr, list.m_iconLimitList);  // the cut-down copy went with the edit
}

TEST_F(ListEditors, DateOpensOnTheCellsDayAndClickOnADayCommits)
{
    MakeWith(CCustomListCtrl::EditDate, L"2024/02/29");
    ASSERT_NE(nullptr, Open(0));
    SYSTEMTIME sel{};
    ASSERT_TRUE(list.m_dateEditor.GetCurSel(&sel));
    EXPECT_EQ(2024, sel.wYear);
    EXPECT_EQ(2, sel.wMonth);
    EXPECT_EQ(29, sel.wDay);
    // Whole: the window holds the calendar's smallest size.
    RECT need{}, client{};
    list.m_dateEditor.GetMinReqRect(&need);
    ::GetClientRect(list.m_editorWnd, &client);
    EXPECT_GE(client.right, need.right - need.left);
    EXPECT_GE(client.bottom, need.bottom - need.top);
    // 1 March 2024, shown beside February, clicked.
    const POINT target = FindDay(3, 1);
    ASSERT_GE(target.x, 0);
    RealClick(list.m_editorWnd, target.x, target.y);
    Drain(100);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(L"2024/03/01", Text(0, 1));
}

TEST_F(ListEditors, DateEscapeAndOutsideClickCancelThenAnEditCommitsAgain)
{
    MakeWith(CCustomListCtrl::EditDate, L"2024/02/29");
    ASSERT_NE(nullptr, Open(0));
    Key(VK_ESCAPE);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    ASSERT_NE(nullptr, Open(1));
    const POINT other = Cell(4, 0);
    RealClick(list.m_hWnd, other.x, other.y);
    Drain(60);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    EXPECT_EQ(0, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(L"2024/02/29", Text(1, 1));
    // A later edit still commits.
    ASSERT_NE(nullptr, Open(2));
    const POINT day = FindDay(3, 1);
    ASSERT_GE(day.x, 0);
    RealClick(list.m_editorWnd, day.x, day.y);
    Drain(60);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(L"2024/03/01", Text(2, 1));
}

TEST_F(ListEditors, TimeKeepsTheSecondsOnEnterAndOnFocusLoss)
{
    MakeWith(CCustomListCtrl::EditTime, L"12:34:56");
    struct Case {
        bool change;
        bool byFocusLoss;
        const wchar_t* stored;
    } cases[] = {
        {false, false, L"12:34:56"},
        {false, true, L"12:34:56"},
        {true, false, L"13:34:56"},
        {true, true, L"13:34:56"},
    };
    int row = 0;
    for (const auto& c : cases) {
        parent.Clear();
        ASSERT_NE(nullptr, Open(row)) << row;
        EXPECT_TRUE(::GetFocus() == list.m_editorWnd || ::IsChild(list.m_editorWnd, ::GetFocus()));
        if (c.change)
            HourUp();
        if (c.byFocusLoss) {
            ::SetFocus(parent.m_hWnd);
            Drain(60);
        } else {
            Key(VK_RETURN);
        }
        EXPECT_EQ(nullptr, list.m_editorWnd) << row;
        EXPECT_EQ(c.change ? 1 : 0, parent.Count(LVN_ENDLABELEDITW)) << row;
        EXPECT_EQ(c.stored, Text(row, 1)) << row;
        ++row;
        list.SetFocus();
        Drain(30);
    }
}

TEST_F(ListEditors, TimeClickOutsideCommitsEscapeCancels)
{
    MakeWith(CCustomListCtrl::EditTime, L"08:00:00");
    ASSERT_NE(nullptr, Open(0));
    HourUp();
    Key(VK_ESCAPE);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    EXPECT_EQ(0, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(L"08:00:00", Text(0, 1));
    ASSERT_NE(nullptr, Open(1));
    HourUp();
    const POINT other = Cell(4, 0);
    RealClick(list.m_hWnd, other.x, other.y);
    Drain(60);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(L"09:00:00", Text(1, 1));
}

}  // namespace
