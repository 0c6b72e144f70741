// The fuel list's rules over a real fuel document: every recorded command is
// undone to exactly the state before it and redone to exactly the state after
// it; sorting, merging preconditions, the new-record row and the paste limit.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "FuelTestData.h"
#include "views/report/FuelListModel.h"
#include "views/report/FuelMerge.h"

using namespace fueltest;

namespace {

// The whole state a user could see: records in index order, rows, sort.
struct State {
    std::vector<int> records, rows;
    int sortColumn, sortDirection;
    bool operator==(const State&) const = default;
};

std::string Show(const std::vector<int>& v)
{
    std::string s;
    for (int x : v)
        s += std::to_string(x) + " ";
    return s;
}

class FuelHistory : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prepare();
        doc.RemoveAll();
    }
    // Records with distances 10, 20, ... in row order.
    void Fill(int n)
    {
        for (int i = 0; i < n; ++i)
            doc.m_records.Add(Record((i + 1) * 10, 2010, 1, i + 1));
        model.m_rowOrder.clear();
        for (int i = 0; i < n; ++i)
            model.m_rowOrder.push_back(i);
    }
    State Now() const
    {
        State s{Distances(doc), {}, model.m_sortColumn, model.m_sortDirection};
        for (int row = 0; row < model.RecordRowCount(); ++row)
            s.rows.push_back(doc.m_records[model.RecordOfRow(row)].distance);
        return s;
    }
    CDocFe doc;
    CFuelListModel model{&doc};
};

struct Scenario {
    const char* name;
    std::function<void(CFuelListModel&)> arrange;  // before the command (not recorded)
    std::function<void(CFuelListModel&)> act;      // one user command
    std::vector<int> rowsAfter;                    // distances in row order after it
};

TEST_F(FuelHistory, EachCommandIsUndoneAndRedoneAsOneGroup)
{
    auto none = [](CFuelListModel&) {};
    const Scenario scenarios[] = {
        {"paste three at row 1", none,
         [](CFuelListModel& m) {
             m.CopyRows({0, 2, 4});
             bool limit = false;
             EXPECT_EQ(m.Paste(1, limit), 3);
         },
         {10, 10, 30, 50, 20, 30, 40, 50, 60, 70, 80}},
        {"paste with no current row appends", none,
         [](CFuelListModel& m) {
             m.CopyRows({1});
             bool limit = false;
             m.Paste(-1, limit);
         },
         {10, 20, 30, 40, 50, 60, 70, 80, 20}},
        {"delete records 2 and 5", none, [](CFuelListModel& m) { m.DeleteRows({2, 5}); },
         {10, 20, 40, 50, 70, 80}},
        {"delete records 5, 2 and 7 shown in that order",
         [](CFuelListModel& m) { m.m_rowOrder = {0, 1, 5, 2, 7, 3, 4, 6}; },
         [](CFuelListModel& m) { m.DeleteRows({2, 3, 4}); }, {10, 20, 40, 50, 70}},
        {"delete everything", none, [](CFuelListModel& m) { m.DeleteRows({0, 1, 2, 3, 4, 5, 6, 7}); }, {}},
        {"header click sorts by distance",
         [](CFuelListModel& m) { m.m_rowOrder = {3, 1, 7, 0, 2, 6, 4, 5}; },
         [](CFuelListModel& m) { m.ClickColumn(2); }, {10, 20, 30, 40, 50, 60, 70, 80}},
        {"cell edit of a record row", none,
         [](CFuelListModel& m) { m.EditCell(3, 2, [](DOCFUEL_VIEW_DATA& r) { r.distance = 999; }); },
         {10, 20, 30, 999, 50, 60, 70, 80}},
        {"a record typed into the new-record row", none,
         [](CFuelListModel& m) { EXPECT_EQ(m.EditCell(8, 2, [](DOCFUEL_VIEW_DATA& r) { r.distance = 4321; }), 8); },
         {10, 20, 30, 40, 50, 60, 70, 80, 4321}},
        {"merge of rows 2 to 4",
         [](CFuelListModel& m) {
             m.m_sortColumn = 0;
             m.m_sortDirection = 1;
             m.SortByColumn(0, 1);
         },
         [](CFuelListModel& m) {
             ASSERT_EQ(m.CheckMerge({2, 3, 4}), 0);
             FUEL_MERGE merge;
             ASSERT_TRUE(ComputeFuelMerge(*m.m_doc, {2, 3, 4}, merge));
             std::vector<DOCFUEL_VIEW_DATA> before(2);
             m.m_doc->GetRecordText(2, before[0]);
             m.m_doc->GetRecordText(3, before[1]);
             m.m_doc->SetRecordText(merge.merged, merge.keptIndex);
             EXPECT_EQ(m.ApplyMerge(merge.keptIndex, merge.before, {2, 3}, before), 2);
         },
         {10, 20, 120, 60, 70, 80}},
    };
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.name);
        doc.RemoveAll();
        model.ResetRows();
        model.m_sortColumn = kFuelNoSort;
        model.m_sortDirection = 1;
        Fill(8);
        s.arrange(model);
        const State before = Now();
        s.act(model);
        const State after = Now();
        EXPECT_EQ(Show(after.rows), Show(s.rowsAfter));
        ASSERT_FALSE(model.m_undo.empty());
        const int group = model.m_undo.back().group;
        for (const auto& e : model.m_undo)
            EXPECT_EQ(e.group, group) << "one command, one group";
        EXPECT_TRUE(model.m_redo.empty());

        model.Undo();
        EXPECT_TRUE(model.m_undo.empty());
        EXPECT_EQ(Show(Now().records), Show(before.records));
        EXPECT_EQ(Show(Now().rows), Show(before.rows));
        EXPECT_TRUE(Now() == before);

        model.Redo();
        EXPECT_TRUE(model.m_redo.empty());
        EXPECT_EQ(Show(Now().records), Show(after.records));
        EXPECT_EQ(Show(Now().rows), Show(after.rows));
        EXPECT_TRUE(Now() == after);

        // And back again: a second round trip lands in the same places.
        model.Undo();
        EXPECT_TRUE(Now() == before);
    }
}

TEST_F(FuelHistory, GroupsNumberOnAndANewCommandEmptiesRedo)
{
    Fill(4);
    model.EditCell(0, 2, [](DOCFUEL_VIEW_DATA& r) { r.distance = 1; });
    model.EditCell(1, 2, [](DOCFUEL_VIEW_DATA& r) { r.distance = 2; });
    model.DeleteRows({2, 3});
    ASSERT_EQ(model.m_undo.size(), 4u);
    EXPECT_EQ(model.m_undo[0].group, 0);
    EXPECT_EQ(model.m_undo[1].group, 1);
    EXPECT_EQ(model.m_undo[2].group, 2);
    EXPECT_EQ(model.m_undo[3].group, 2);
    model.Undo();
    model.Undo();
    EXPECT_EQ(model.m_redo.size(), 3u);
    model.EditCell(0, 2, [](DOCFUEL_VIEW_DATA& r) { r.distance = 5; });
    EXPECT_TRUE(model.m_redo.empty());
    EXPECT_EQ(model.m_undo.back().group, 1);
    EXPECT_EQ(Distances(doc), (std::vector<int>{5, 20, 30, 40}));
}

TEST_F(FuelHistory, RecordTypedIntoTheNewRowComesBackWithItsValue)
{
    theGlobal.m_distanceUnit = 1;
    theGlobal.m_amountUnit = 1;
    theGlobal.m_mileageUnit = 3;
    ASSERT_EQ(model.RowCount(), 1);
    ASSERT_TRUE(model.IsNewRow(0));
    model.m_sortColumn = 0;
    ASSERT_EQ(model.EditCell(0, 2, [](DOCFUEL_VIEW_DATA& r) { r.distance = 123; }), 0);
    DOCFUEL_VIEW_DATA r{};
    ASSERT_TRUE(doc.GetRecordText(0, r));
    EXPECT_EQ(r.distance, 123);
    EXPECT_EQ(r.distanceUnit, 1);
    EXPECT_EQ(r.amountUnit, 1);
    EXPECT_EQ(r.mileageUnit, 3);
    EXPECT_EQ(r.priceUnit, doc.GetMainCurrency());
    EXPECT_EQ(r.latitude, kNoPosition);
    EXPECT_EQ(r.longitude, kNoPosition);
    EXPECT_EQ(std::wstring(r.date), L"0000/00/00");
    EXPECT_EQ(model.m_sortColumn, kFuelNoSort);
    model.Undo();
    EXPECT_EQ(doc.GetCount(), 0);
    EXPECT_EQ(model.RecordRowCount(), 0);
    model.Redo();
    ASSERT_EQ(doc.GetCount(), 1);
    EXPECT_EQ(doc.m_records[0].distance, 123) << "redo keeps what the user typed";
    theGlobal.m_distanceUnit = theGlobal.m_amountUnit = theGlobal.m_mileageUnit = 0;
}

TEST_F(FuelHistory, DateSortOrdersOneDayByTimeAndAClickReverses)
{
    doc.m_records.Add(Record(10, 2010, 2, 1, 18));
    doc.m_records.Add(Record(20, 2010, 1, 5, 9));
    doc.m_records.Add(Record(30, 2010, 2, 1, 7));
    doc.m_records.Add(Record(40, 2009, 12, 30, 21));
    model.SyncRowOrder();
    EXPECT_EQ(Show(Now().rows), Show({40, 20, 30, 10}));
    EXPECT_EQ(model.m_dateOrder, 1);
    model.ClickColumn(0);
    EXPECT_EQ(model.m_sortDirection, 0);
    EXPECT_EQ(Show(Now().rows), Show({10, 30, 20, 40}));
    model.ClickColumn(0);
    EXPECT_EQ(Show(Now().rows), Show({40, 20, 30, 10}));
    model.ClickColumn(13);
    EXPECT_EQ(model.m_sortColumn, 13);
    EXPECT_EQ(model.m_sortDirection, 1);
}

TEST_F(FuelHistory, MergeNeedsAdjacentRowsInDateOrderAndOneUnit)
{
    Fill(5);
    model.SyncRowOrder();
    model.m_sortColumn = 0;
    model.SortByColumn(0, 1);
    EXPECT_EQ(model.CheckMerge({1, 2}), 0);
    EXPECT_EQ(model.CheckMerge({1, 3}), 63);
    doc.m_records[3].priceUnit = 5;
    EXPECT_EQ(model.CheckMerge({2, 3}), 64);
    model.ClickColumn(2);
    EXPECT_EQ(model.CheckMerge({2, 3}), 64) << "the unit check comes first";
    doc.m_records[3].priceUnit = 3;
    EXPECT_EQ(model.CheckMerge({2, 3}), 63);
    model.Undo();
    // A date typed while sorted by date: no longer known to be in order.
    model.EditCell(1, 0, [](DOCFUEL_VIEW_DATA& r) { wcscpy(r.date, L"2011/01/01"); });
    EXPECT_EQ(model.CheckMerge({2, 3}), 63);
    model.ClickColumn(0);
    EXPECT_EQ(model.CheckMerge({2, 3}), 63) << "descending";
    model.ClickColumn(0);
    EXPECT_EQ(model.CheckMerge({2, 3}), 0);
    // Undoing the sorts brings back the order of before the date was typed
    // over, which is not known to be in date order.
    model.Undo();
    model.Undo();
    EXPECT_EQ(model.m_sortColumn, 0);
    EXPECT_EQ(model.m_sortDirection, 1);
    EXPECT_EQ(model.CheckMerge({2, 3}), 63);
    model.Redo();
    model.Redo();
    EXPECT_EQ(model.CheckMerge({2, 3}), 0);
}

TEST_F(FuelHistory, PasteStopsAtTheLimit)
{
    for (int i = 0; i < kMaxFuelRecords - 1; ++i)
        doc.m_records.Add(Record(i));
    model.SyncRowOrder();
    model.CopyRows({0, 1, 2});
    bool limit = false;
    EXPECT_EQ(model.Paste(-1, limit), 1);
    EXPECT_TRUE(limit);
    EXPECT_EQ(doc.GetErrorCode(), FEERR_LIMIT);
    EXPECT_EQ(doc.GetCount(), kMaxFuelRecords);
    EXPECT_EQ(model.RowCount(), kMaxFuelRecords) << "no new-record row at the limit";
    EXPECT_FALSE(model.IsNewRow(kMaxFuelRecords));
}

TEST(FuelMergeRule, SumsNewestRecordAndNearestValues)
{
    Prepare();
    CDocFe doc;
    DOCFUEL_DATA a = Record(1000, 2010, 1, 1), b = Record(2005, 2010, 1, 2), c = Record(500, 2010, 1, 3);
    a.latitude = 35000000, a.longitude = 139000000;
    b.price = 123;
    c.price = 0;
    a.amount = 1000, b.amount = 2050, c.amount = 700;
    wcscpy(b.memo, L"highway");
    for (auto& r : {a, b, c})
        doc.m_records.Add(r);
    FUEL_MERGE m;
    ASSERT_TRUE(ComputeFuelMerge(doc, {0, 1, 2}, m));
    EXPECT_EQ(m.keptIndex, 2);
    EXPECT_EQ(m.merged.distance, 3505);
    EXPECT_EQ(m.merged.amount, 3750);
    EXPECT_EQ(m.merged.price, 123);
    EXPECT_EQ(m.merged.latitude, 35000000);
    EXPECT_EQ(m.merged.longitude, 139000000);
    EXPECT_EQ(std::wstring(m.merged.memo), L"highway");
    EXPECT_EQ(std::wstring(m.merged.date), L"2010/01/03");
    EXPECT_EQ(m.before.distance, 500);
    EXPECT_FALSE(m.overflow);

    doc.m_records[0].distance = 99000;
    ASSERT_TRUE(ComputeFuelMerge(doc, {0, 1}, m));
    EXPECT_TRUE(m.overflow) << "101005 tenths do not fit a record";
    EXPECT_EQ(m.keptIndex, 1);
    EXPECT_EQ(m.merged.latitude, 35000000) << "only the oldest had a position";
}

}  // namespace

namespace {

// The memo sort against the exchange sort compared in the locale's order
// directly: the same rows in the same places, equal memos included.
TEST_F(FuelHistory, MemoSortMatchesTheExchangeSortInTheLocalesOrder)
{
    const wchar_t* words[] = {L"beta", L"Alpha", L"gamma", L"alpha", L"", L"Beta", L"\u00e9t\u00e9", L"ete", L"Zulu", L"b"};
    const int n = 60;
    for (int i = 0; i < n; ++i) {
        DOCFUEL_DATA r = Record(i + 1);
        wcscpy(r.memo, words[(i * 7) % 10]);
        doc.m_records.Add(r);
        model.m_rowOrder.push_back(i);
    }
    for (int direction : {1, 0}) {
        std::vector<int> expected = model.m_rowOrder;
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b) {
                const int c = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, doc.m_records[expected[a]].memo, -1,
                                               doc.m_records[expected[b]].memo, -1);
                if (direction ? c == CSTR_GREATER_THAN : c == CSTR_LESS_THAN)
                    std::swap(expected[a], expected[b]);
            }
        model.SortRecords(n, 0, 13, direction);
        EXPECT_EQ(Show(model.m_rowOrder), Show(expected)) << "direction " << direction;
    }
}

}  // namespace
