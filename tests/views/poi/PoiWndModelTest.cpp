// The POI list's rules without a window, over a real POI document: cell texts,
// sorting, deletion through a sorted order, paste placement, in-place texts,
// limits, the modified flag and the reset of leaving the view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/TextCheck.h"
#include "core/Global.h"
#include "views/poi/PoiListModel.h"

namespace {

DOCPI_RECORD Rec(const std::wstring& name, double lon = POI_NO_POSITION, double lat = POI_NO_POSITION,
                 const std::wstring& address = L"")
{
    DOCPI_RECORD r{};
    wcsncpy(r.name, name.c_str(), 64);
    wcsncpy(r.address, address.c_str(), 128);
    r.longitude = lon;
    r.latitude = lat;
    return r;
}

class PoiListModel : public testing::Test {
protected:
    void SetUp() override
    {
        InitCharClassTable();
        savedGroup = theGlobal.m_naviModel.m_modelGroup;
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
    }
    void TearDown() override { theGlobal.m_naviModel.m_modelGroup = savedGroup; }
    void Fill(const std::vector<DOCPI_RECORD>& records)
    {
        for (const auto& r : records)
            doc.AddRecord(r);
        model.SyncViewOrder();
    }
    std::vector<std::wstring> Rows() const
    {
        std::vector<std::wstring> names;
        for (INT_PTR row = 0; row < model.m_viewOrder.GetSize(); ++row) {
            DOCPI_RECORD r{};
            EXPECT_TRUE(model.RecordOfRow(static_cast<int>(row), r));
            names.push_back(r.name);
        }
        return names;
    }
    std::vector<std::wstring> Records() const
    {
        std::vector<std::wstring> names;
        for (int i = 0; i < doc.GetRecordCount(); ++i) {
            DOCPI_RECORD r{};
            doc.GetRecord(i, &r);
            names.push_back(r.name);
        }
        return names;
    }
    CDocPi doc;
    CPoiListModel model{&doc};
    int savedGroup = 0;
};

using Names = std::vector<std::wstring>;

TEST_F(PoiListModel, CellsShowSixDecimalsOrADashForNoPosition)
{
    const DOCPI_RECORD r = Rec(L"Pier", 151.2093, -33.8688, L"1 Quay St");
    EXPECT_STREQ(CPoiListModel::CellText(r, 0), L" 151.209300");
    EXPECT_STREQ(CPoiListModel::CellText(r, 1), L" -33.868800");
    EXPECT_STREQ(CPoiListModel::CellText(r, 2), L"Pier");
    EXPECT_STREQ(CPoiListModel::CellText(r, 3), L"1 Quay St");
    const DOCPI_RECORD none = Rec(L"x", -180.5, -90.5);
    EXPECT_STREQ(CPoiListModel::CellText(none, 0), L"-");
    EXPECT_STREQ(CPoiListModel::CellText(none, 1), L"-");
    const DOCPI_RECORD edge = Rec(L"x", -180, -90);
    EXPECT_STREQ(CPoiListModel::CellText(edge, 0), L"-180.000000");
    EXPECT_STREQ(CPoiListModel::CellText(edge, 1), L" -90.000000");
}

TEST_F(PoiListModel, SortsByEachColumnBothWays)
{
    Fill({Rec(L"delta", 10, 5, L"b"), Rec(L"Alpha", POI_NO_POSITION, 1, L"C"), Rec(L"charlie", -20, -70, L"a"),
          Rec(L"Bravo", 30, POI_NO_POSITION, L"d")});
    const struct {
        int key;
        int ascending;
        Names rows;
    } cases[] = {
        {0, 1, {L"Alpha", L"charlie", L"delta", L"Bravo"}},  // no position first
        {0, 0, {L"Bravo", L"delta", L"charlie", L"Alpha"}},
        {1, 1, {L"Bravo", L"charlie", L"Alpha", L"delta"}},
        {1, 0, {L"delta", L"Alpha", L"charlie", L"Bravo"}},
        {2, 1, {L"Alpha", L"Bravo", L"charlie", L"delta"}},  // case ignored
        {2, 0, {L"delta", L"charlie", L"Bravo", L"Alpha"}},
        {3, 1, {L"charlie", L"delta", L"Alpha", L"Bravo"}},
        {3, 0, {L"Bravo", L"Alpha", L"delta", L"charlie"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << "/" << c.ascending);
        model.m_viewOrder.RemoveAll();
        model.SyncViewOrder();
        model.SortByColumn(4, c.key, c.ascending);
        EXPECT_EQ(Rows(), c.rows);
    }
    // Key 6, or fewer rows than asked for, leave the order alone.
    model.m_viewOrder.RemoveAll();
    model.SyncViewOrder();
    model.SortByColumn(4, 6, 1);
    model.SortByColumn(5, 2, 1);
    EXPECT_EQ(Rows(), (Names{L"delta", L"Alpha", L"charlie", L"Bravo"}));
}

TEST_F(PoiListModel, EqualValuesMoveOnlyThroughTheExchangeSortsSwaps)
{
    // Equal values never swap with each other, but a swap with another value
    // moves them: b1 goes to the end when a comes first.
    Fill({Rec(L"b1", 5), Rec(L"a", 9), Rec(L"b2", 5), Rec(L"B3", 5)});
    model.SortByColumn(4, 0, 1);
    EXPECT_EQ(Rows(), (Names{L"b1", L"b2", L"B3", L"a"}));
    model.SortByColumn(4, 0, 0);
    EXPECT_EQ(Rows(), (Names{L"a", L"b2", L"B3", L"b1"}));
}

TEST_F(PoiListModel, ClicksOnOneColumnAlternateAndEachIsOneUndo)
{
    Fill({Rec(L"b"), Rec(L"c"), Rec(L"a")});
    model.ClickColumn(2);
    EXPECT_EQ(Rows(), (Names{L"a", L"b", L"c"}));
    EXPECT_EQ(model.m_sortKey, 2);
    EXPECT_EQ(model.m_sortOrder, 1);
    model.ClickColumn(2);
    EXPECT_EQ(Rows(), (Names{L"c", L"b", L"a"}));
    EXPECT_EQ(model.m_sortOrder, 0);
    model.ClickColumn(2);
    EXPECT_EQ(Rows(), (Names{L"a", L"b", L"c"}));
    EXPECT_EQ(model.m_sortOrder, 1);
    model.Undo();
    EXPECT_EQ(Rows(), (Names{L"c", L"b", L"a"}));
    EXPECT_EQ(model.m_sortOrder, 0);
    model.Undo();
    model.Undo();
    EXPECT_EQ(Rows(), (Names{L"b", L"c", L"a"}));
    EXPECT_EQ(model.m_sortKey, 6);
    EXPECT_EQ(Records(), (Names{L"b", L"c", L"a"}));
}

TEST_F(PoiListModel, DeletingRowsOfASortedListRemovesThoseRecordsAndUndoPutsThemBack)
{
    Fill({Rec(L"e"), Rec(L"b"), Rec(L"d"), Rec(L"a"), Rec(L"c"), Rec(L"f")});
    model.ClickColumn(2);  // rows a b c d e f = records 3 1 4 2 0 5
    const std::vector<int> sortedOrder = {3, 1, 4, 2, 0, 5};
    doc.SetModified(0);
    model.DeleteRows({1, 3});  // b and d
    EXPECT_EQ(Rows(), (Names{L"a", L"c", L"e", L"f"}));
    EXPECT_EQ(Records(), (Names{L"e", L"a", L"c", L"f"}));
    EXPECT_EQ(doc.IsModified(), 1);
    model.Undo();
    EXPECT_EQ(Records(), (Names{L"e", L"b", L"d", L"a", L"c", L"f"}));
    ASSERT_EQ(model.m_viewOrder.GetSize(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(model.m_viewOrder[i], sortedOrder[i]) << i;
    model.Redo();
    EXPECT_EQ(Rows(), (Names{L"a", L"c", L"e", L"f"}));
    EXPECT_EQ(Records(), (Names{L"e", L"a", L"c", L"f"}));
}

TEST_F(PoiListModel, PasteShowsTheRecordAboveTheRowAndTheDocumentAppendsIt)
{
    Fill({Rec(L"a"), Rec(L"b"), Rec(L"c")});
    EXPECT_EQ(model.Paste(0), 0);  // nothing copied yet
    ASSERT_TRUE(model.CopyRow(1));
    EXPECT_FALSE(model.CopyRow(3));
    EXPECT_EQ(model.Paste(-1), 1);
    EXPECT_EQ(Rows(), (Names{L"a", L"b", L"c", L"b"}));
    EXPECT_EQ(model.Paste(1), 1);
    EXPECT_EQ(Rows(), (Names{L"a", L"b", L"b", L"c", L"b"}));
    EXPECT_EQ(Records(), (Names{L"a", L"b", L"c", L"b", L"b"}));
    EXPECT_EQ(model.m_viewOrder[1], 4);
    model.Undo();
    EXPECT_EQ(Rows(), (Names{L"a", L"b", L"c", L"b"}));
    EXPECT_EQ(doc.GetRecordCount(), 4);
}

TEST_F(PoiListModel, EachModelHasItsOwnClipboard)
{
    CDocPi other;
    CPoiListModel kml(&other);
    Fill({Rec(L"a")});
    ASSERT_TRUE(model.CopyRow(0));
    EXPECT_FALSE(kml.HasClipboard());
    EXPECT_EQ(kml.Paste(-1), 0);
    EXPECT_EQ(other.GetRecordCount(), 0);
}

TEST_F(PoiListModel, NewAndPasteStopAtTheLimit)
{
    for (int i = 0; i < POI_MAX_RECORDS - 1; ++i)
        doc.AddRecord(Rec(L"p"));
    model.SyncViewOrder();
    ASSERT_TRUE(model.CopyRow(0));
    EXPECT_TRUE(model.AddNew(Rec(L"last")));
    EXPECT_EQ(doc.GetRecordCount(), POI_MAX_RECORDS);
    EXPECT_FALSE(model.AddNew(Rec(L"over")));
    EXPECT_EQ(model.Paste(0), -1);
    EXPECT_EQ(doc.GetRecordCount(), POI_MAX_RECORDS);
    EXPECT_EQ(model.m_viewOrder.GetSize(), POI_MAX_RECORDS);
}

TEST_F(PoiListModel, InPlaceTextsAreCheckedCutAndAppliedToEveryRowAsOneAction)
{
    CString text(L'n', 70);
    EXPECT_EQ(CPoiListModel::CheckFieldText(2, text), CPoiListModel::FieldCut);
    EXPECT_EQ(text.GetLength(), 64);
    CString address(L'a', 128);
    EXPECT_EQ(CPoiListModel::CheckFieldText(3, address), CPoiListModel::FieldOk);
    theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1;
    CString smiley(L"ok \x263A");
    EXPECT_EQ(CPoiListModel::CheckFieldText(5, smiley), CPoiListModel::FieldRefused);

    Fill({Rec(L"a"), Rec(L"b"), Rec(L"c"), Rec(L"d")});
    model.SetFieldOfRows({0, 2, 3}, 4, L"555");
    for (int i : {0, 2, 3}) {
        DOCPI_RECORD r{};
        doc.GetRecord(i, &r);
        EXPECT_STREQ(r.telephone, L"555") << i;
    }
    model.Undo();
    for (int i = 0; i < 4; ++i) {
        DOCPI_RECORD r{};
        doc.GetRecord(i, &r);
        EXPECT_STREQ(r.telephone, L"") << i;
    }
    EXPECT_FALSE(model.CanUndo());
}

TEST_F(PoiListModel, ResetPositionAndUndoMarkTheDocumentModified)
{
    Fill({Rec(L"a", 10, 20), Rec(L"b", 11, 21)});
    doc.SetModified(0);
    model.ResetPositions({1});
    DOCPI_RECORD r{};
    doc.GetRecord(1, &r);
    EXPECT_EQ(r.longitude, POI_NO_POSITION);
    EXPECT_EQ(r.latitude, POI_NO_POSITION);
    EXPECT_EQ(doc.IsModified(), 1);  // so leaving the view asks first
    doc.SetModified(0);               // saved
    model.Undo();
    doc.GetRecord(1, &r);
    EXPECT_EQ(r.longitude, 11);
    EXPECT_EQ(doc.IsModified(), 1);
    doc.SetModified(0);
    model.Redo();
    EXPECT_EQ(doc.IsModified(), 1);
}

TEST_F(PoiListModel, RefreshKeepsASortedOrderUntilTheCountChanges)
{
    Fill({Rec(L"b"), Rec(L"a")});
    model.ClickColumn(2);
    EXPECT_FALSE(model.SyncViewOrder());
    EXPECT_EQ(Rows(), (Names{L"a", L"b"}));
    doc.AddRecord(Rec(L"c"));
    EXPECT_TRUE(model.SyncViewOrder());
    EXPECT_EQ(Rows(), (Names{L"b", L"a", L"c"}));
}

TEST_F(PoiListModel, ResetAllEmptiesDocumentClipboardHistoryAndSort)
{
    Fill({Rec(L"b"), Rec(L"a")});
    model.ClickColumn(2);
    model.CopyRow(0);
    model.DeleteRows({0});
    model.Undo();
    ASSERT_TRUE(model.CanRedo());
    model.ResetAll();
    EXPECT_EQ(doc.GetRecordCount(), 0);
    EXPECT_EQ(doc.IsModified(), 0);
    EXPECT_FALSE(model.HasClipboard());
    EXPECT_FALSE(model.CanUndo());
    EXPECT_FALSE(model.CanRedo());
    EXPECT_EQ(model.m_sortKey, 6);
    EXPECT_EQ(model.m_sortOrder, 1);
    EXPECT_EQ(model.m_viewOrder.GetSize(), 0);
}

}  // namespace
