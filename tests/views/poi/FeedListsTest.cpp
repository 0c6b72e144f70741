// The reader's two lists and its address dialog under Xvfb: the feed title
// list's disabled row, keys, scroll bar and tooltip; the item list's selected
// row; the dialog's limits.
#include "FeedReaderFixture.h"
#include "views/poi/UrlEntryDlg.h"

using namespace feedview;

namespace {

class FeedLists : public FeedReaderView {
protected:
    void Rows(int feeds)
    {
        for (int i = doc().GetFeedCount(); i < feeds; ++i)
            Subscribe("/f" + std::to_string(i), (L"Feed number " + std::to_wstring(i)).c_str());
        if (!view.m_hWnd)
            CreateView();
        // The visit's update finds none of them and ends at once.
        Visit();
        titles().SetItemCount(feeds + 2);
        titles().UpdateScrollBars();
        PumpPending();
    }
    POINT RowPoint(int row)
    {
        RECT rc{};
        titles().GetItemRect(row, 0, &rc, LVIR_BOUNDS);
        return {60, (rc.top + rc.bottom) / 2};
    }
    void ClickRow(int row, bool right = false)
    {
        const POINT p = RowPoint(row);
        skintest::Mouse(titles().m_hWnd, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, p.x, p.y,
                        right ? MK_RBUTTON : MK_LBUTTON);
        // (The right button's release opens the context menu, which waits for the user.)
        if (!right)
            skintest::Mouse(titles().m_hWnd, WM_LBUTTONUP, p.x, p.y);
    }
    bool Selected(int row) { return titles().GetItemState(row, LVIS_SELECTED) != 0; }
};

TEST_F(FeedLists, ADisabledRowCannotBeChosenByAnyMeans)
{
    TextAnswers answers({});  // the feeds have no download: the reader says so
    Rows(3);
    {
        TextAnswers answers({});  // none of the feeds was downloaded
        ClickRow(2);
    }
    ASSERT_TRUE(Selected(2));
    titles().SetItemState(1, CFeedTitleListCtrl::DisabledBit, CFeedTitleListCtrl::DisabledBit);
    ClickRow(1);
    EXPECT_FALSE(Selected(1));
    EXPECT_TRUE(Selected(2));
    // Up from row 2 jumps over row 1 to row 0; up again leaves the rows: nothing.
    titles().SetFocus();
    titles().SendMessage(WM_KEYDOWN, VK_UP, 0);
    EXPECT_TRUE(Selected(0));
    EXPECT_FALSE(Selected(2));
    titles().SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(Selected(2));
    EXPECT_FALSE(Selected(1));
    // The right button does not choose it either (the update writes what it shows).
    ClickRow(1, true);
    EXPECT_FALSE(Selected(1));
    EXPECT_TRUE(Selected(2));
    titles().SetItemState(1, CFeedTitleListCtrl::DisabledBit, 0);
    ClickRow(1, true);
    EXPECT_TRUE(Selected(1));
    EXPECT_FALSE(Selected(2));
    EXPECT_TRUE(skintest::Pixels(view.m_pane.m_hWnd).SavePng(L"feed_lists_title_rows"));
}

TEST_F(FeedLists, ClickingTheChosenRowAgainTellsNobody)
{
    Rows(2);
    ClickRow(1);
    ASSERT_TRUE(DispatchUntil([this] { return view.m_feedSwitch == 1; }, 1000));
    view.m_feedSwitch = 0;
    doc().m_selectedFeed = 5;  // anything but the row's: a notification would start a switch
    ClickRow(1);
    EXPECT_EQ(view.m_feedSwitch, 0);
    EXPECT_TRUE(Selected(1));
}

TEST_F(FeedLists, TheScrollBarFollowsTheRows)
{
    Rows(30);
    EXPECT_TRUE(titles().GetStyle() & WS_VSCROLL);
    titles().EnsureVisible(31);
    EXPECT_GT(titles().GetTopIndex(), 0);
    RECT rc;
    titles().GetItemRect(31, 0, &rc, LVIR_BOUNDS);
    RECT client;
    titles().GetClientRect(&client);
    EXPECT_LE(rc.bottom, client.bottom);
    titles().EnsureVisible(0);
    EXPECT_EQ(titles().GetTopIndex(), 0);
    titles().EnsureVisible(31);
    titles().SetItemCount(4);
    titles().UpdateScrollBars();
    EXPECT_FALSE(titles().GetStyle() & WS_VSCROLL);
    EXPECT_EQ(titles().GetTopIndex(), 0);
}

TEST_F(FeedLists, ALongTitleShowsWholeInTheTooltip)
{
    Subscribe("/long", L"A very long feed title that the narrow list cannot show in one line at all, not even half");
    Rows(1);
    const POINT p = RowPoint(2);
    EXPECT_EQ(titles().TitleHitTest(CPoint(p.x, p.y)), 2);
    EXPECT_EQ(titles().TitleHitTest(CPoint(10, p.y)), -1);  // left of the title
    skintest::Mouse(titles().m_hWnd, WM_MOUSEMOVE, p.x, p.y);
    ASSERT_TRUE(DispatchUntil([this] { return !titles().GetTooltipText().IsEmpty(); }, 2000));
    EXPECT_EQ(std::wstring(titles().GetTooltipText()), Title(2));
    EXPECT_EQ(titles().m_tipRow, 2);
    // Moving on empties it until the mouse rests again.
    skintest::Mouse(titles().m_hWnd, WM_MOUSEMOVE, p.x + 5, p.y);
    EXPECT_TRUE(titles().GetTooltipText().IsEmpty());
}

TEST_F(FeedLists, ASelectedItemRowKeepsNumberCheckAndStarOnThePlainBackground)
{
    Page("/kml.xml", Kml("Kml feed", 4));
    Subscribe("/kml.xml", L"Kml feed");
    Visit();
    Choose(2);
    ASSERT_EQ(items().GetItemCount(), 4);
    items().SetFocus();
    items().SetCurSel(1);
    items().Invalidate(FALSE);
    PumpPending();
    skintest::Pixels pixels(items().m_hWnd);
    RECT number, description;
    ASSERT_TRUE(items().GetSubItemRect(1, 1, LVIR_BOUNDS, &number));
    ASSERT_TRUE(items().GetSubItemRect(1, 5, LVIR_BOUNDS, &description));
    const int y = number.top + 3;
    EXPECT_TRUE(skintest::Near(pixels.At(number.right - 4, y), items().m_bkColor, 2));
    EXPECT_FALSE(skintest::Near(pixels.At(description.right - 20, y), items().m_bkColor, 8));
    // An unselected row is plain all along.
    RECT other;
    ASSERT_TRUE(items().GetSubItemRect(2, 5, LVIR_BOUNDS, &other));
    EXPECT_TRUE(skintest::Near(pixels.At(other.right - 20, other.top + 3), items().m_bkColor, 2));
    EXPECT_TRUE(pixels.SavePng(L"feed_lists_selected_item"));
}

TEST_F(FeedLists, ASelectedItemRowBlendsItsImages)
{
    Page("/kml.xml", Kml("Kml feed", 4));
    Subscribe("/kml.xml", L"Kml feed");
    Visit();
    Choose(2);
    ASSERT_EQ(items().GetItemCount(), 4);
    items().SetFocus();
    items().SetCurSel(1);
    items().Invalidate(FALSE);
    PumpPending();
    skintest::Pixels pixels(items().m_hWnd);
    // New mark, check box and star: the same images in rows 1 and 2, tinted in row 1 only.
    for (int column : {0, 2, 3}) {
        RECT selected, plain;
        ASSERT_TRUE(items().GetSubItemRect(1, column, LVIR_BOUNDS, &selected));
        ASSERT_TRUE(items().GetSubItemRect(2, column, LVIR_BOUNDS, &plain));
        int differing = 0;
        for (int y = 0; y < selected.bottom - selected.top; ++y)
            for (int x = selected.left + 2; x < selected.left + 18 && x < selected.right; ++x)
                differing += !skintest::Near(pixels.At(x, selected.top + y), pixels.At(x, plain.top + y), 6);
        EXPECT_GT(differing, 2) << column;
    }
}

TEST_F(FeedLists, ASelectedTitleStaysReadableOnTheSelectionBar)
{
    Rows(3);
    {
        TextAnswers answers({});  // none of the feeds was downloaded
        ClickRow(2);
    }
    ASSERT_TRUE(Selected(2));
    titles().Invalidate(FALSE);
    PumpPending();
    skintest::Pixels pixels(titles().m_hWnd);
    auto lightPixels = [&](int row) {
        RECT rc{};
        titles().GetItemRect(row, 0, &rc, LVIR_BOUNDS);
        int light = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = std::max<int>(rc.left, 0); x < std::min<int>(rc.right, 200); ++x) {
                const COLORREF c = pixels.At(x, y);
                light += GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 200;
            }
        return light;
    };
    // The title's strokes stand out of the dark teal bar as they do on the plain rows.
    EXPECT_GT(lightPixels(2), 40);
    EXPECT_TRUE(pixels.SavePng(L"feed_lists_selected_title"));
}

TEST_F(FeedLists, TheAddressDialogLimitsTheLengthOnly)
{
    CreateView();
    // Empty is accepted: the document reports it.
    CUrlEntryDlg empty;
    EXPECT_EQ(RunModal([&] { return empty.DoModal(); },
                       [](CCustomDialog& dlg) {
                           SaveShot(dlg.m_hWnd, L"feed_url_dialog");
                           dlg.SendMessage(WM_COMMAND, IDOK, 0);
                       }),
              IDOK);
    EXPECT_TRUE(empty.GetUrl().IsEmpty());

    const std::wstring five(500, L'a');
    CUrlEntryDlg exact;
    EXPECT_EQ(RunModal([&] { return exact.DoModal(); },
                       [&](CCustomDialog& dlg) {
                           HWND edit = ::GetDlgItem(dlg.m_hWnd, IDC_URL_EDIT);
                           ::SetWindowTextW(edit, five.c_str());
                           ::SetFocus(edit);
                           ::SendMessageW(edit, EM_SETSEL, 500, 500);
                           ::SendMessageW(edit, WM_CHAR, L'b', 0);  // a 501st is not taken
                           EXPECT_EQ(::GetWindowTextLengthW(edit), 500);
                           dlg.SendMessage(WM_COMMAND, IDOK, 0);
                       }),
              IDOK);
    EXPECT_EQ(std::wstring(exact.GetUrl()), five);

    // Set from outside past the limit: the text-too-long message, the dialog stays.
    CUrlEntryDlg tooLong;
    TextAnswers answers({});
    EXPECT_EQ(RunModal([&] { return tooLong.DoModal(); },
                       [&](CCustomDialog& dlg) {
                           ::SendDlgItemMessageW(dlg.m_hWnd, IDC_URL_EDIT, EM_LIMITTEXT, 600, 0);
                           ::SetDlgItemTextW(dlg.m_hWnd, IDC_URL_EDIT, (five + L"x").c_str());
                           dlg.SendMessage(WM_COMMAND, IDOK, 0);
                           EXPECT_FALSE(Ended(dlg));
                           dlg.SendMessage(WM_COMMAND, IDCANCEL, 0);
                       }),
              IDCANCEL);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0], Ui(5));
}

}  // namespace
