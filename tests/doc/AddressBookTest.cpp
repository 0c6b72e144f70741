#include <gtest/gtest.h>

#include <string>

#include "AbTestSupport.h"
#include "DocTestSupport.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "doc/DocAb.h"
#include "doc/DocImport.h"

using namespace abtest;
using testsupport::Bytes;

namespace {

class AddressBook : public testing::Test {
protected:
    void SetUp() override
    {
        InitCharClassTable();
        doctest::SetModel(5);
        theGlobal.m_decimal = 0;
        book.InitHome();
    }
    // A saved book's bytes.
    Bytes Saved(CDocAb& doc, const wchar_t* name = L"book.L00")
    {
        EXPECT_TRUE(doc.Save(dir.File(name).c_str()));
        return testsupport::ReadBytes(dir.File(name));
    }
    testsupport::TempDir dir;
    CDocAb book;
};

TEST_F(AddressBook, CoordinatesAreStoredInQuarterArcSecondUnits)
{
    struct Case {
        double lon, lat;
        int32_t storedLon, storedLat;
    } cases[] = {
        {139.5, 35.25, 128563200, 32486400},     // 139.5 x 3600 x 256
        {-0.0000001, 0.0000001, 0, 0},           // toward zero
        {-139.5, -35.25, -128563200, -32486400},
        {AB_NO_POSITION, 35.0, 0x7FFFFFFF, 0x7FFFFFFF},  // either one: no position
        {10.0, AB_NO_POSITION, 0x7FFFFFFF, 0x7FFFFFFF},
        {1e12, 35.0, 0x7FFFFFFF, 0x7FFFFFFF},   // cannot be held: no position, not a wrapped value
        {INT32_MIN * 0.0390625 / 36000, 35.25, INT32_MIN, 32486400},  // the lowest value the field holds
    };
    for (const Case& c : cases) {
        CDocAbRecord r;
        r.SetPosition(c.lon, c.lat);
        EXPECT_EQ(c.storedLon, r.m_rec.longitude) << c.lon;
        EXPECT_EQ(c.storedLat, r.m_rec.latitude) << c.lat;
    }
    CDocAbRecord r;
    r.SetPosition(139.5, 35.25);
    EXPECT_DOUBLE_EQ(139.5, r.GetLongitude());
    EXPECT_DOUBLE_EQ(35.25, r.GetLatitude());
    r.m_rec.latitude = AB_NO_COORD;
    EXPECT_EQ(AB_NO_POSITION, r.GetLongitude());
}

TEST_F(AddressBook, TextsAreCutToTheUnitsFields)
{
    ASSERT_TRUE(book.SetEntry(0, Entry(L"ABCDEFGHIJKLMNOPQRST", 1, 1, 0, L"0123456789012345678901234567890123456789",
                                       L"01234567890123456789")));
    DOCAB_UI_RECORD out{};
    ASSERT_TRUE(book.GetEntry(0, &out));
    EXPECT_STREQ(L"ABCDEFGHIJKLMNOPQ", out.name);
    EXPECT_STREQ(L"01234567890123456789012345678901234", out.address);
    EXPECT_STREQ(L"012345678901234", out.phone);
    EXPECT_EQ(17u, book.m_entries[0].m_rec.nameLength);
}

TEST_F(AddressBook, EntryIndexesOutsideTheBookAreRefused)
{
    DOCAB_UI_RECORD e = Entry(L"x", 1, 1);
    for (int index : {-1, 399, 1000}) {
        EXPECT_FALSE(book.SetEntry(index, e)) << index;
        DOCAB_UI_RECORD out{};
        EXPECT_FALSE(book.GetEntry(index, &out)) << index;
    }
    for (int special : {-1, 10})
        EXPECT_FALSE(book.SetHome(special, &e)) << special;
    EXPECT_EQ(0, book.GetEntryCount());
    EXPECT_STREQ(L"Unnamed", book.m_special[0].GetName());
    EXPECT_TRUE(book.m_special[9].IsFree());  // what lies before the entries was not touched
    EXPECT_TRUE(book.SetEntry(0, e));
    EXPECT_TRUE(book.SetEntry(398, e));
    EXPECT_EQ(408, book.m_entries[398].m_rec.number);
}

TEST_F(AddressBook, SetEntryStampsNewEntriesAndComputesTheValidFlag)
{
    DOCAB_UI_RECORD e = Entry(L"x", AB_NO_POSITION, AB_NO_POSITION, 31);
    e.positionKind = 1;  // claims a position it does not have
    ASSERT_TRUE(book.SetEntry(5, e));
    const CDocAbRecord& r = book.m_entries[5];
    EXPECT_EQ(15, r.m_rec.number);
    EXPECT_EQ(0, r.m_positionKind);
    EXPECT_EQ(AB_CATEGORY_BASE, r.m_rec.category);  // 31 is out of range
    EXPECT_EQ(-1, r.m_rec.reserved40);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(now.wYear, static_cast<int>(r.m_rec.regDate >> 16));
    EXPECT_EQ(now.wMonth, static_cast<int>((r.m_rec.regDate >> 8) & 0xFF));
}

struct FlagCase {
    double lon;
    int given, kept;
};

TEST_F(AddressBook, SetEntryKeepsTheMapFlagOfAStoredPosition)
{
    const FlagCase cases[] = {
        {139.5, AB_FLAG_FROM_MAP, AB_FLAG_FROM_MAP}, {139.5, 1, 1}, {139.5, 0, 1},
        {AB_NO_POSITION, AB_FLAG_FROM_MAP, 0},       {1e12, AB_FLAG_FROM_MAP, 0},  // nothing stored
    };
    for (const FlagCase& c : cases) {
        DOCAB_UI_RECORD e = Entry(L"x", c.lon, 35.0);
        e.positionKind = c.given;
        ASSERT_TRUE(book.SetEntry(7, e));
        ASSERT_TRUE(book.SetHome(0, &e));
        DOCAB_UI_RECORD out{};
        ASSERT_TRUE(book.GetEntry(7, &out));
        EXPECT_EQ(c.kept, out.positionKind) << c.lon << " flag " << c.given;
        ASSERT_TRUE(book.GetHome(&out));
        EXPECT_EQ(c.kept, out.positionKind) << "home " << c.lon << " flag " << c.given;
    }
}

// A card file's coordinates come back as degrees that do not always convert
// back exactly: a rename must write the units it read.
TEST_F(AddressBook, ARenameKeepsTheStoredCoordinates)
{
    const int32_t stored[][2] = {{INT32_MIN, 115}, {-123, INT32_MIN + 1}, {128563200 + 229, -32486400 - 119}};
    for (const auto& xy : stored) {
        ASSERT_GE(book.AddEntry(Entry(L"old", 1, 1)), 0);
        Bytes b = Saved(book, L"card.L00");
        PutI32(b, Rec(10) + 4, xy[0]);
        PutI32(b, Rec(10) + 8, xy[1]);
        testsupport::WriteBytes(dir.File(L"card.L00"), b);
        CDocAb doc;
        doc.InitHome();
        ASSERT_TRUE(doc.Load(dir.File(L"card.L00").c_str()));
        DOCAB_UI_RECORD e{};
        ASSERT_TRUE(doc.GetEntry(0, &e));
        wcscpy(e.name, L"renamed");
        ASSERT_TRUE(doc.SetEntry(0, e));
        const Bytes after = Saved(doc, L"renamed.L00");
        EXPECT_EQ(xy[0], I32(after, Rec(10) + 4)) << xy[0] << "," << xy[1];
        EXPECT_EQ(xy[1], I32(after, Rec(10) + 8)) << xy[0] << "," << xy[1];
        // Pasted into a free entry, the position converts to the same units.
        ASSERT_EQ(1, doc.AddEntry(e));
        EXPECT_EQ(xy[0], doc.m_entries[1].m_rec.longitude);
        EXPECT_EQ(xy[1], doc.m_entries[1].m_rec.latitude);
        book.ClearAll();
    }
}

TEST_F(AddressBook, CategoryThirtySurvivesASaveAndLoad)
{
    for (int category : {0, 1, 29, 30})
        ASSERT_GE(book.AddEntry(Entry(L"c", 1, 1, category)), 0);
    Saved(book);
    CDocAb loaded;
    ASSERT_TRUE(loaded.Load(dir.File(L"book.L00").c_str()));
    int expected[] = {0, 1, 29, 30};
    for (int i = 0; i < 4; ++i) {
        DOCAB_UI_RECORD out{};
        ASSERT_TRUE(loaded.GetEntry(i, &out));
        EXPECT_EQ(expected[i], out.category);
    }
}

TEST_F(AddressBook, LoadRepairsDatesAndCategoriesAndReplacesTheHome)
{
    book.AddEntry(Entry(L"a", 1, 1));
    book.AddEntry(Entry(L"b", 2, 2));
    book.AddEntry(Entry(L"c", 3, 3));
    DOCAB_UI_RECORD home = Entry(L"Home", 139.5, 35.5);
    book.SetHome(0, &home);
    book.SetHome(3, &home);  // a special record other than the home
    Bytes b = Saved(book);
    PutI32(b, Rec(10) + 16, (2040 << 16) + (1 << 8) + 1);   // year out of range
    PutI32(b, Rec(11) + 16, (2020 << 16) + (2 << 8) + 31);  // 31 February: only ranges are checked
    PutI32(b, Rec(11) + 20, (24 << 16));                    // hour 24
    PutI32(b, Rec(12) + 12, AB_CATEGORY_BASE + 31);
    testsupport::WriteBytes(dir.File(L"edited.L00"), b);

    CDocAb doc;
    doc.InitHome();
    ASSERT_TRUE(doc.AddEntry(Entry(L"mine", 5, 5)) == 0);
    ASSERT_TRUE(doc.Load(dir.File(L"edited.L00").c_str()));
    EXPECT_EQ(0, doc.GetErrorCode());
    EXPECT_EQ(4, doc.GetEntryCount());
    EXPECT_STREQ(L"mine", doc.m_entries[0].GetName());
    EXPECT_EQ(0u, doc.m_entries[1].m_rec.regDate);
    EXPECT_EQ(static_cast<DWORD>((2020 << 16) + (2 << 8) + 31), doc.m_entries[2].m_rec.regDate);
    EXPECT_EQ(0u, doc.m_entries[2].m_rec.regTime);
    EXPECT_EQ(AB_CATEGORY_BASE + 1, doc.m_entries[3].m_rec.category);
    DOCAB_UI_RECORD out{};
    ASSERT_TRUE(doc.GetHome(&out));
    EXPECT_STREQ(L"Home", out.name);
    EXPECT_EQ(30, out.category);  // model-type value on the card, the stock one in the book
    EXPECT_DOUBLE_EQ(139.5, out.longitude);
    EXPECT_EQ(1, out.positionKind);
    EXPECT_TRUE(doc.m_special[3].IsFree());
}

TEST_F(AddressBook, ABadTextLengthInADroppedSpecialRecordIsSkipped)
{
    book.AddEntry(Entry(L"kept", 1, 1));
    DOCAB_UI_RECORD home = Entry(L"Home", 139.5, 35.5);
    book.SetHome(0, &home);
    book.SetHome(3, &home);
    Bytes b = Saved(book);
    PutI32(b, Rec(3) + 44, 40);     // name length past its field
    PutI32(b, Rec(3) + 184, 1000);  // and the phone's
    testsupport::WriteBytes(dir.File(L"special.L00"), b);
    CDocAb doc;
    doc.InitHome();
    ASSERT_TRUE(doc.Load(dir.File(L"special.L00").c_str()));
    EXPECT_EQ(0, doc.GetErrorCode());
    EXPECT_EQ(1, doc.GetEntryCount());
    EXPECT_STREQ(L"kept", doc.m_entries[0].GetName());
    DOCAB_UI_RECORD out{};
    ASSERT_TRUE(doc.GetHome(&out));
    EXPECT_STREQ(L"Home", out.name);
    EXPECT_TRUE(doc.m_special[3].IsFree());
}

TEST_F(AddressBook, LoadIntoAFullishBookTakesWhatFits)
{
    for (int i = 0; i < 150; ++i)
        book.AddEntry(Entry(L"f", 1, 1));
    Saved(book);
    CDocAb doc;
    for (int i = 0; i < 300; ++i)
        doc.AddEntry(Entry(L"d", 2, 2));
    EXPECT_FALSE(doc.Load(dir.File(L"book.L00").c_str()));
    EXPECT_EQ(10, doc.GetErrorCode());
    EXPECT_EQ(399, doc.GetEntryCount());
    EXPECT_STREQ(L"f", doc.m_entries[398].GetName());
}

TEST_F(AddressBook, DamagedFilesAreRefusedAndTheBookKeepsItsEntries)
{
    book.AddEntry(Entry(L"file", 1, 1));
    Bytes good = Saved(book);
    struct Case {
        const char* what;
        Bytes bytes;
    };
    Bytes shortFile(good.begin(), good.end() - 1);
    Bytes longFile = good;
    longFile.push_back(0);
    Bytes longName = good;
    PutI32(longName, Rec(10) + 44, 40);  // more characters than the field holds
    Bytes longAddress = good;
    PutI32(longAddress, Rec(10) + 400, 36);
    Bytes homeText = good;
    PutI32(homeText, Rec(0) + 184, 1000);
    Case cases[] = {{"empty", Bytes()},
                    {"truncated", shortFile},
                    {"header only", Bytes(good.begin(), good.begin() + 60)},
                    {"too long", longFile},
                    {"name length", longName},
                    {"address length", longAddress},
                    {"home phone length", homeText}};
    for (const Case& c : cases) {
        testsupport::WriteBytes(dir.File(L"bad.L00"), c.bytes);
        CDocAb doc;
        doc.InitHome();
        doc.AddEntry(Entry(L"kept", 2, 2));
        EXPECT_FALSE(doc.Load(dir.File(L"bad.L00").c_str())) << c.what;
        EXPECT_EQ(2, doc.GetErrorCode()) << c.what;
        EXPECT_EQ(1, doc.GetEntryCount()) << c.what;
        EXPECT_STREQ(L"kept", doc.m_entries[0].GetName()) << c.what;
        EXPECT_STREQ(L"Unnamed", doc.m_special[0].GetName()) << c.what;
    }
    CDocAb doc;
    EXPECT_FALSE(doc.Load(dir.File(L"missing.L00").c_str()));
    EXPECT_EQ(2, doc.GetErrorCode());
}

TEST_F(AddressBook, ImportTakesNamesPositionsAndTheBooksLimit)
{
    std::string csv = "name,lon,lat,addr,tel\r\n"
                      ",139.5,35.5,Street 1,03-1234\r\n"
                      "Far,200,35,,\r\n"
                      "Caf\xe9,1,2,,\r\n";
    testsupport::WriteBytes(dir.File(L"in.csv"), csv);
    CDocImport table;
    ASSERT_TRUE(table.SetDelimiterAndLoad(2, dir.File(L"in.csv").c_str()));
    CDocAb doc;
    ASSERT_TRUE(doc.ImportCsvRows(1, &table, 2, 3, 1, 4, 5));
    ASSERT_EQ(3, doc.GetEntryCount());
    DOCAB_UI_RECORD out{};
    ASSERT_TRUE(doc.GetEntry(0, &out));
    EXPECT_STREQ(L"Unnamed", out.name);
    EXPECT_STREQ(L"Street 1", out.address);
    EXPECT_STREQ(L"03-1234", out.phone);
    EXPECT_DOUBLE_EQ(139.5, out.longitude);
    EXPECT_EQ(1, out.positionKind);
    ASSERT_TRUE(doc.GetEntry(1, &out));
    EXPECT_EQ(AB_NO_POSITION, out.longitude);  // out of range: no position
    EXPECT_EQ(0, out.positionKind);

    std::string many;
    for (int i = 0; i < 400; ++i)
        many += "n" + std::to_string(i) + ",1,1\r\n";
    testsupport::WriteBytes(dir.File(L"many.csv"), many);
    ASSERT_TRUE(table.SetDelimiterAndLoad(2, dir.File(L"many.csv").c_str()));
    CDocAb full;
    EXPECT_FALSE(full.ImportCsvRows(0, &table, 2, 3, 1, 0, 0));
    EXPECT_EQ(10, full.GetErrorCode());
    EXPECT_EQ(399, full.GetEntryCount());
    EXPECT_STREQ(L"n398", full.m_entries[398].GetName());
}

TEST_F(AddressBook, CheckNamesWantsAHomeAndNamedEntries)
{
    CDocAb doc;
    EXPECT_FALSE(doc.CheckNames());  // no home
    EXPECT_EQ(12, doc.GetErrorCode());
    doc.InitHome();
    doc.AddEntry(Entry(L"a"));
    EXPECT_TRUE(doc.CheckNames());
    doc.AddEntry(Entry(L""));
    EXPECT_FALSE(doc.CheckNames());
}

TEST_F(AddressBook, AFailedSaveKeepsTheOldFile)
{
    book.AddEntry(Entry(L"old", 1, 1));
    Bytes old = Saved(book);
    SetFileAttributesW(dir.File(L"book.L00").c_str(), FILE_ATTRIBUTE_READONLY);
    book.AddEntry(Entry(L"new", 1, 1));
    EXPECT_FALSE(book.Save(dir.File(L"book.L00").c_str()));
    EXPECT_EQ(3, book.GetErrorCode());
    SetFileAttributesW(dir.File(L"book.L00").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(old, testsupport::ReadBytes(dir.File(L"book.L00")));
    EXPECT_EQ((std::vector<std::wstring>{L"book.L00"}), testsupport::ListFolder(dir.Path()));
    EXPECT_FALSE(book.CreateFolderAndSave(L"book.L00"));  // no folder part
    EXPECT_EQ(8, book.GetErrorCode());
}

TEST_F(AddressBook, PoiRecordConversionsCopyTheSharedFields)
{
    DOCAB_UI_RECORD ab = Entry(L"Name", 139.5, 35.5, 7, L"Addr", L"Tel");
    DOCPI_RECORD poi = doctest::MakePoi(L"old", 1, 2, L"x", L"y", L"desc");
    ConvertAbUiToPoiRecord(ab, &poi);
    EXPECT_STREQ(L"Name", poi.name);
    EXPECT_STREQ(L"Addr", poi.address);
    EXPECT_STREQ(L"Tel", poi.telephone);
    EXPECT_STREQ(L"desc", poi.description);
    EXPECT_DOUBLE_EQ(35.5, poi.latitude);
    DOCAB_UI_RECORD back = Entry(L"z", 0, 0, 9);
    ConvertPoiRecordToAbUi(poi, &back);
    EXPECT_STREQ(L"Name", back.name);
    EXPECT_EQ(9, back.category);
    EXPECT_DOUBLE_EQ(139.5, back.longitude);
}

}  // namespace
