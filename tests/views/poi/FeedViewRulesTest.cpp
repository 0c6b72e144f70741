// The feed reader's rules without a window: which items a map request sends,
// the pane's splitter clamp and the item order's sorting over the document.
#include <gtest/gtest.h>

#include <vector>

#include "core/Global.h"
#include "views/poi/PoiReaderWnd.h"
#include "views/poi/PoiRssListWnd.h"

namespace {

std::vector<int> Order(int n)
{
    std::vector<int> order;
    for (int i = 0; i < n; ++i)
        order.push_back(i);
    return order;
}

TEST(FeedMapRequest, ItemsSentForTheSelectionAndTheMarks)
{
    struct Case {
        const char* what;
        int rows;
        std::vector<int> checked;
        int selected;
        std::vector<int> sent;
    };
    std::vector<int> sixty, after, many;
    for (int i = 0; i < 60; ++i)
        sixty.push_back(i);
    // 60 checked, row 30 selected: 30, then 31..59 (29), then 29 down to 10 (20).
    after.push_back(30);
    for (int i = 31; i < 60; ++i)
        after.push_back(i);
    for (int i = 29; i >= 10; --i)
        after.push_back(i);
    for (int i = 0; i < 50; ++i)
        many.push_back(i);
    const Case cases[] = {
        {"none checked, none selected", 5, {}, -1, {}},
        {"checked in order, nothing selected", 6, {1, 4, 5}, -1, {1, 4, 5}},
        {"at most fifty without a selection", 60, sixty, -1, many},
        {"a checked selected item is sent once", 5, {0, 2, 4}, 2, {2, 0, 4}},
        {"an unchecked selected item comes first", 5, {0, 4}, 3, {3, 0, 4}},
        {"sixty checked: after the selection, then before it", 60, sixty, 30, after},
    };
    for (const Case& c : cases) {
        std::vector<bool> marks(static_cast<size_t>(c.rows));
        for (int i : c.checked)
            marks[i] = true;
        EXPECT_EQ(MapRequestItems(Order(c.rows), marks, c.selected), c.sent) << c.what;
    }
    // The rows follow the view order, not the item numbers.
    std::vector<bool> marks = {true, false, true};
    EXPECT_EQ(MapRequestItems({2, 1, 0}, marks, -1), (std::vector<int>{2, 0}));
    EXPECT_EQ(MapRequestItems({2, 1, 0}, marks, 1), (std::vector<int>{1, 2, 0}));
}

TEST(FeedListPane, SplitClamp)
{
    struct Case {
        int split, width, bar, expected;
    } const cases[] = {
        {420, 1400, 5, 420},  // inside 200 .. W - b - 700
        {100, 1400, 5, 200},  // below the lower bound
        {900, 1400, 5, 695},  // the item list keeps its room
        {300, 800, 5, 95},    // a narrow pane: the upper bound wins
        {50, 800, 5, 95},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPoiRssListWnd::ClampSplit(c.split, c.width, c.bar), c.expected) << c.split << " " << c.width;
}

class FeedSort : public ::testing::Test {
protected:
    void SetUp() override
    {
        CDocRssPoi& doc = theGlobal.m_docRssPoi;
        doc.ClearItems();
        struct Row {
            const wchar_t* name;
            const wchar_t* description;
            int isNew, check, favorite;
            long long date;
        } const rows[] = {
            {L"pier", L"b", 1, 0, 1, 20300103000000LL},
            {L"Anchor", L"a", 0, 1, 0, 20300101000000LL},
            {L"market", L"B", 1, 1, 0, 20300102000000LL},
            {L"anchor", L"c", 0, 0, 1, 20300104000000LL},
        };
        for (const Row& r : rows) {
            DOCPI_RSS_ITEM it{};
            wcscpy(it.poi.name, r.name);
            wcscpy(it.poi.description, r.description);
            it.newItem = r.isNew;
            it.check = r.check;
            it.favorite = r.favorite;
            it.pubDate = r.date;
            doc.m_shownItems.Add(it);
        }
        pane.RefreshItemList();  // no window: the order only
    }
    void TearDown() override { theGlobal.m_docRssPoi.ClearItems(); }
    std::vector<int> Sorted(int key, BOOL ascending)
    {
        EXPECT_TRUE(pane.SortItems(static_cast<int>(pane.m_order.GetSize()), key, ascending));
        std::vector<int> order;
        for (WORD w : pane.m_order)
            order.push_back(w);
        return order;
    }
    CPoiRssListWnd pane;
};

TEST_F(FeedSort, EveryKeyBothWays)
{
    ASSERT_EQ(pane.m_order.GetSize(), 4);
    struct Case {
        int key;
        BOOL ascending;
        std::vector<int> order;
    } const cases[] = {
        {0, TRUE, {1, 3, 2, 0}},   // not new first; equal ones in the exchange sort's order
        {0, FALSE, {0, 2, 1, 3}},
        {2, TRUE, {0, 3, 2, 1}},
        {3, FALSE, {0, 3, 2, 1}},
        {4, TRUE, {1, 3, 2, 0}},   // names without case: "Anchor" and "anchor" stay as they were
        {5, TRUE, {1, 0, 2, 3}},   // "b" and "B" are equal
        {6, FALSE, {3, 0, 2, 1}},
    };
    for (const Case& c : cases) {
        pane.m_order.RemoveAll();
        for (int i = 0; i < 4; ++i)
            pane.m_order.Add(static_cast<WORD>(i));
        EXPECT_EQ(Sorted(c.key, c.ascending), c.order) << c.key << " " << c.ascending;
    }
}

TEST_F(FeedSort, NothingToSortAndKeysThatDoNotSort)
{
    EXPECT_FALSE(pane.SortItems(5, 4, TRUE));
    EXPECT_FALSE(pane.SortItems(1, 4, TRUE));
    EXPECT_EQ(Sorted(1, TRUE), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Sorted(7, FALSE), (std::vector<int>{0, 1, 2, 3}));
    // Only the first count entries move.
    EXPECT_TRUE(pane.SortItems(2, 4, TRUE));
    EXPECT_EQ(pane.m_order[0], 1);
    EXPECT_EQ(pane.m_order[1], 0);
    EXPECT_EQ(pane.m_order[2], 2);
}

TEST_F(FeedSort, ARefreshKeepsASortedOrderUntilTheCountChanges)
{
    Sorted(4, FALSE);
    const std::vector<int> sorted = {0, 2, 1, 3};
    pane.RefreshItemList();
    std::vector<int> kept;
    for (WORD w : pane.m_order)
        kept.push_back(w);
    EXPECT_EQ(kept, sorted);
    theGlobal.m_docRssPoi.m_shownItems.RemoveAt(3);
    pane.RefreshItemList();
    ASSERT_EQ(pane.m_order.GetSize(), 3);
    EXPECT_EQ(pane.m_order[1], 1);
}

}  // namespace
