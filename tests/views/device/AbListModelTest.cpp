// The address book's rows, sort, clipboard and edit history over a real
// address-book document: every kind of action undone and redone as one group,
// the modified flag that leaving relies on, and the icons the card file can hold.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "common/TextCheck.h"
#include "core/Global.h"
#include "views/device/AbListModel.h"

namespace {

DOCAB_UI_RECORD Entry(const std::wstring& name, const std::wstring& phone = L"", int category = 3)
{
    DOCAB_UI_RECORD r{};
    wcsncpy(r.name, name.c_str(), 64);
    wcsncpy(r.address, (name + L" Road").c_str(), 128);
    wcsncpy(r.phone, phone.c_str(), 64);
    r.longitude = r.latitude = AB_NO_POSITION;
    r.category = category;
    return r;
}

class Book : public CAbListModel {
public:
    Book() : CAbListModel(doc) { doc.InitHome(); }
    // n entries "E0".."E(n-1)" with phones counting down (900, 899, ...), in entry order.
    void Fill(int n)
    {
        for (int i = 0; i < n; ++i)
            doc.AddEntry(Entry(L"E" + std::to_wstring(i), L"555-" + std::to_wstring(900 - i)));
        SyncViewOrder();
        doc.SetModified(0);
    }
    // What the list shows: the name of every row (home first) and the sort mark.
    std::vector<std::wstring> Rows() const
    {
        std::vector<std::wstring> rows;
        for (int r = 0; r < RowCount(); ++r) {
            DOCAB_UI_RECORD rec{};
            rows.push_back(RecordOfRow(r, rec) ? std::wstring(rec.name) + L"|" + rec.phone + L"|" +
                                                     std::to_wstring(rec.category)
                                               : L"<none>");
        }
        rows.push_back(L"sort " + std::to_wstring(m_sortColumn) + L"," + std::to_wstring(m_sortOrder));
        return rows;
    }
    void SortChanged() override { ++sortMarks; }
    // A row's entry given a position as the map look-up stores it (flag 2 is
    // placed from the map, 1 any other position, 0 none); no history of it.
    void Place(int row, int flag)
    {
        DOCAB_UI_RECORD rec{};
        ASSERT_TRUE(RecordOfRow(row, rec));
        rec.longitude = flag ? 139.5 : AB_NO_POSITION;
        rec.latitude = flag ? 35.25 : AB_NO_POSITION;
        rec.positionKind = flag;
        ASSERT_TRUE(ChangeRow(row, rec));
        ClearUndo();
    }
    CDocAb doc;
    int sortMarks = 0;
};

struct HistoryCase {
    const char* name;
    int entries;
    std::function<void(Book&)> action;
    size_t records;  // records of the action's one group
    std::function<void(const Book&)> check;  // after the action
};

void PrintTo(const HistoryCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class AbHistory : public ::testing::TestWithParam<HistoryCase> {};

// Each action is one group: one Undo gives back the book as it was, one Redo
// the book as the action left it, and the book is modified after both.
TEST_P(AbHistory, OneUndoAndOneRedoPerAction)
{
    const HistoryCase& c = GetParam();
    Book book;
    book.Fill(c.entries);
    const auto before = book.Rows();
    c.action(book);
    const auto after = book.Rows();
    ASSERT_EQ(book.UndoStack().size(), c.records);
    for (const AB_OPERATE_RECORD& r : book.UndoStack())
        EXPECT_EQ(r.group, 0);
    c.check(book);

    book.doc.SetModified(0);  // as after a save
    book.Undo();
    EXPECT_EQ(book.Rows(), before);
    EXPECT_FALSE(book.CanUndo());
    EXPECT_EQ(book.RedoStack().size(), c.records);
    const bool sortOnly = book.RedoStack().front().kind == AB_OP_SORTED;
    EXPECT_EQ(book.doc.IsModified(), sortOnly ? 0 : 1) << "leaving must ask about an undone change";

    book.doc.SetModified(0);
    book.Redo();
    EXPECT_EQ(book.Rows(), after);
    EXPECT_FALSE(book.CanRedo());
    EXPECT_EQ(book.doc.IsModified(), sortOnly ? 0 : 1);
    // And back once more: the answers of the replay are themselves right.
    book.Undo();
    EXPECT_EQ(book.Rows(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, AbHistory,
    ::testing::Values(
        HistoryCase{"ThreeRowsEditedInPlace", 5,
                    [](Book& b) { b.SetFieldOfRows({1, 3, 4}, CAbListModel::ColName, L"Same", 0); }, 3,
                    [](const Book& b) {
                        EXPECT_EQ(b.Rows()[1].substr(0, 5), L"Same|");
                        EXPECT_EQ(b.Rows()[2].substr(0, 3), L"E1|");
                        EXPECT_EQ(b.Rows()[4].substr(0, 5), L"Same|");
                    }},
        HistoryCase{"HomeRowEditedInPlace", 2,
                    [](Book& b) { b.SetFieldOfRows({0}, CAbListModel::ColPhone, L"555-0000", 0); }, 1,
                    [](const Book& b) {
                        EXPECT_EQ(b.UndoStack()[0].index, CAbListModel::kHomeIndex);
                        EXPECT_EQ(b.Rows()[0], L"Unnamed|555-0000|30");
                    }},
        HistoryCase{"HomeAndEntryIconsTogether", 3,
                    [](Book& b) { b.SetFieldOfRows({0, 2}, CAbListModel::ColIcon, L"", 7); }, 2,
                    [](const Book& b) {
                        EXPECT_EQ(b.Rows()[0], L"Unnamed||7");
                        EXPECT_EQ(b.Rows()[2], L"E1|555-899|7");
                    }},
        HistoryCase{"RowsTwoAndFiveOfSixDeleted", 6, [](Book& b) { b.DeleteRows({2, 5}); }, 2,
                    [](const Book& b) {
                        const auto rows = b.Rows();
                        ASSERT_EQ(rows.size(), 6u);
                        EXPECT_EQ(rows[1].substr(0, 3), L"E0|");
                        EXPECT_EQ(rows[2].substr(0, 3), L"E2|");
                        EXPECT_EQ(rows[3].substr(0, 3), L"E3|");
                        EXPECT_EQ(rows[4].substr(0, 3), L"E5|");
                    }},
        HistoryCase{"PastedAboveRowThree", 4,
                    [](Book& b) {
                        b.CopyRow(1);
                        b.Paste(3);
                    },
                    1,
                    [](const Book& b) {
                        const auto rows = b.Rows();
                        EXPECT_EQ(rows[3].substr(0, 3), L"E0|");
                        EXPECT_EQ(rows[4].substr(0, 3), L"E2|");
                        EXPECT_EQ(b.UndoStack()[0].index, 4);  // the free entry it went into
                    }},
        HistoryCase{"PastedWithNoCurrentRow", 2,
                    [](Book& b) {
                        b.CopyRow(2);
                        b.Paste(-1);
                    },
                    1, [](const Book& b) { EXPECT_EQ(b.Rows()[3].substr(0, 3), L"E1|"); }},
        HistoryCase{"Added", 2, [](Book& b) { b.AddNew(Entry(L"New", L"1", 0)); }, 1,
                    [](const Book& b) {
                        EXPECT_EQ(b.Rows()[3], L"New|1|0");
                        EXPECT_EQ(b.UndoStack()[0].kind, AB_OP_ADDED);
                    }},
        HistoryCase{"EditedInTheDialog", 3,
                    [](Book& b) { b.ChangeRow(2, Entry(L"Dialog", L"42", 5)); }, 1,
                    [](const Book& b) { EXPECT_EQ(b.Rows()[2], L"Dialog|42|5"); }},
        HistoryCase{"SortedByPhone", 4, [](Book& b) { b.ClickColumn(CAbListModel::ColPhone); }, 1,
                    [](const Book& b) {
                        const auto rows = b.Rows();
                        EXPECT_EQ(rows[1].substr(0, 3), L"E3|");
                        EXPECT_EQ(rows[4].substr(0, 3), L"E0|");
                        EXPECT_EQ(rows.back(), L"sort 4,1");
                    }}),
    [](const ::testing::TestParamInfo<HistoryCase>& info) { return info.param.name; });

TEST(AbHistoryOrder, TwoSortsUndoneAndRedoneOneByOne)
{
    Book book;
    book.Fill(4);
    book.ChangeRow(2, Entry(L"A", L"555-999"));  // E1 becomes A, first by name, last by phone
    const auto unsorted = book.Rows();
    book.ClickColumn(CAbListModel::ColName);
    const auto byName = book.Rows();
    EXPECT_EQ(byName[1].substr(0, 2), L"A|");
    book.ClickColumn(CAbListModel::ColPhone);
    const auto byPhone = book.Rows();
    EXPECT_EQ(byPhone.back(), L"sort 4,1");
    EXPECT_EQ(byPhone[4].substr(0, 2), L"A|");
    book.Undo();
    EXPECT_EQ(book.Rows(), byName);
    book.Undo();
    EXPECT_EQ(book.Rows(), unsorted);
    EXPECT_EQ(book.m_sortColumn, CAbListModel::kNoSort);
    book.Redo();
    book.Redo();
    EXPECT_EQ(book.Rows(), byPhone);
}

TEST(AbHistoryOrder, TheSameColumnTwiceTurnsTheOrderRound)
{
    Book book;
    book.Fill(3);
    book.ClickColumn(CAbListModel::ColName);
    EXPECT_EQ(book.Rows()[1].substr(0, 3), L"E0|");
    book.ClickColumn(CAbListModel::ColName);
    EXPECT_EQ(book.Rows()[1].substr(0, 3), L"E2|");
    EXPECT_EQ(book.Rows().back(), L"sort 2,0");
    // A refresh with the same count keeps the order; another count rebuilds it.
    EXPECT_FALSE(book.SyncViewOrder());
    EXPECT_EQ(book.Rows()[1].substr(0, 3), L"E2|");
    book.doc.AddEntry(Entry(L"Z"));
    EXPECT_TRUE(book.SyncViewOrder());
    EXPECT_EQ(book.Rows()[1].substr(0, 3), L"E0|");
}

TEST(AbHistoryOrder, ANewActionAfterUndoEmptiesRedo)
{
    Book book;
    book.Fill(2);
    book.DeleteRows({1});
    book.Undo();
    ASSERT_TRUE(book.CanRedo());
    book.SetFieldOfRows({1}, CAbListModel::ColName, L"X", 0);
    EXPECT_FALSE(book.CanRedo());
    EXPECT_EQ(book.UndoStack().back().group, 0);  // the undo stack was empty again
}

TEST(AbHistoryOrder, DeleteTwiceThenUndoBothRestoresEveryRow)
{
    Book book;
    book.Fill(6);
    const auto full = book.Rows();
    book.DeleteRows({2, 5});
    book.DeleteRows({1});
    EXPECT_EQ(book.UndoStack().back().group, 1);
    book.Undo();
    book.Undo();
    EXPECT_EQ(book.Rows(), full);
    book.Redo();
    book.Redo();
    EXPECT_EQ(book.RowCount(), 4);
}

TEST(AbHistoryOrder, AnUndoneDeletionKeepsTheEntrysRegistration)
{
    Book book;
    book.Fill(3);
    book.doc.m_entries[1].m_rec.regDate = (2019 << 16) + (3 << 8) + 7;
    book.doc.m_entries[1].m_rec.regTime = (8 << 16) + (9 << 8) + 10;
    book.DeleteRows({2});
    book.Undo();
    EXPECT_EQ(book.doc.m_entries[1].m_rec.regDate, DWORD((2019 << 16) + (3 << 8) + 7));
    EXPECT_EQ(book.doc.m_entries[1].m_rec.regTime, DWORD((8 << 16) + (9 << 8) + 10));
    book.Redo();
    book.Undo();
    EXPECT_EQ(book.doc.m_entries[1].m_rec.regDate, DWORD((2019 << 16) + (3 << 8) + 7));
}

TEST(AbBook, FullBookRefusesAddAndPaste)
{
    Book book;
    book.Fill(AB_ENTRY_COUNT);
    book.CopyRow(1);
    EXPECT_EQ(book.AddNew(Entry(L"One too many")), -1);
    EXPECT_EQ(book.Paste(1), -1);
    EXPECT_FALSE(book.CanUndo());
    EXPECT_EQ(book.doc.IsModified(), 0);
}

TEST(AbBook, HomeIsNeverCopiedAndPasteNeedsARecord)
{
    Book book;
    book.Fill(1);
    EXPECT_FALSE(book.CopyRow(0));
    EXPECT_EQ(book.Paste(1), 0);
    EXPECT_TRUE(book.CopyRow(1));
    EXPECT_EQ(book.m_clipboard.GetSize(), 1);
}

TEST(AbBook, LeavingEmptiesTheBookAndLeavesNothingUnsaved)
{
    Book book;
    book.Fill(3);
    book.ClickColumn(CAbListModel::ColName);
    book.SetFieldOfRows({0}, CAbListModel::ColName, L"Home", 0);
    ASSERT_EQ(book.doc.IsModified(), 1);
    book.ResetAll();
    EXPECT_EQ(book.RowCount(), 1);
    EXPECT_EQ(book.Rows()[0], L"Unnamed||30");
    EXPECT_EQ(book.Rows().back(), L"sort 5,1");
    EXPECT_FALSE(book.CanUndo());
    EXPECT_EQ(book.doc.IsModified(), 0);
}

struct CellCase {
    int row, column, flag;
    BOOL editable;
};

TEST(AbBook, WhichCellsOpenAnEditor)
{
    const CellCase cases[] = {
        {0, 0, 1, FALSE}, {1, 0, 1, TRUE},  {1, 0, 2, TRUE},  {0, 1, 1, FALSE}, {1, 1, 1, FALSE}, {0, 2, 1, TRUE},
        {1, 2, 1, TRUE},  {1, 3, 0, TRUE},  {1, 4, 1, TRUE},  {-1, 2, 1, FALSE}, {1, -1, 1, FALSE}, {5, 2, 1, FALSE},
        {1, 2, 2, FALSE}, {1, 4, 2, FALSE},  // placed from the map: the texts stay
    };
    for (const CellCase& c : cases) {
        Book book;
        book.Fill(1);
        book.Place(1, c.flag);
        EXPECT_EQ(book.CanEditCell(c.row, c.column), c.editable) << c.row << "," << c.column << " flag " << c.flag;
    }
}

TEST(AbBook, EntriesFromTheMapKeepTheirTextsInAMultiRowEdit)
{
    Book book;
    book.Fill(2);
    book.Place(2, CAbListModel::kFlagFromMap);
    book.SetFieldOfRows({1, 2}, CAbListModel::ColName, L"Both", 0);
    EXPECT_EQ(book.Rows()[1].substr(0, 5), L"Both|");
    EXPECT_EQ(book.Rows()[2].substr(0, 3), L"E1|");
    EXPECT_EQ(book.UndoStack().size(), 1u);
}

TEST(AbBook, TextsAreCheckedAndCutToTheUnitsFields)
{
    InitCharClassTable();
    const int savedGroup = theGlobal.m_naviModel.m_modelGroup;
    theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1;
    CString smiley(L"ok \x263A");
    EXPECT_EQ(CAbListModel::CheckFieldText(CAbListModel::ColName, smiley), CAbListModel::FieldRefused);
    CString name(L"Twenty characters!!");
    name += L"x";
    EXPECT_EQ(CAbListModel::CheckFieldText(CAbListModel::ColName, name), CAbListModel::FieldCut);
    EXPECT_EQ(name.GetLength(), 17);
    CString phone(L"555-0100");
    EXPECT_EQ(CAbListModel::CheckFieldText(CAbListModel::ColPhone, phone), CAbListModel::FieldOk);
    Book book;
    book.Fill(1);
    book.SetFieldOfRows({1}, CAbListModel::ColAddress, L"1234567890123456789012345678901234567890", 0);
    DOCAB_UI_RECORD rec{};
    book.RecordOfRow(1, rec);
    EXPECT_EQ(std::wstring(rec.address).size(), 35u);
    theGlobal.m_naviModel.m_modelGroup = savedGroup;
}

// Model types 0 and 2 share pictures between rows of the 74-row icon table;
// the card file holds categories 0 to 30 only.
TEST(AbIcons, APictureIsStoredAsARowTheCardCanHoldOrNotAtAll)
{
    const int savedType = theGlobal.m_modelType;
    theGlobal.m_modelType = 0;
    const auto& table = theGlobal.m_docIcon.m_groupTable;
    int pictures = 0;
    for (const auto& row : table)
        pictures = std::max(pictures, row.pickerIndex + 1);
    const int storable = CAbListModel::StorableImageCount();
    EXPECT_LT(storable, pictures);  // some pictures have no row below 31
    for (int p = 0; p < pictures; ++p) {
        const int category = CAbListModel::CategoryOfImage(p);
        if (p < storable) {
            ASSERT_GE(category, 0) << p;
            EXPECT_LE(category, AB_MAX_CATEGORY);
            EXPECT_EQ(table[category].pickerIndex, p);
            EXPECT_EQ(CAbListModel::CategoryImage(category), p);
        } else {
            EXPECT_EQ(category, -1) << "picture " << p << " would be stored as another icon";
        }
    }
    theGlobal.m_modelType = 5;
    EXPECT_EQ(CAbListModel::CategoryOfImage(12), 12);
    EXPECT_EQ(CAbListModel::CategoryOfImage(31), -1);
    theGlobal.m_modelType = savedType;
}
