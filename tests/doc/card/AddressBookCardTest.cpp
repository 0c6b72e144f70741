// The address book on the card: POINTREG.L00 in the unit's exact layout, and a
// card that fills up or turns read-only under it.
#include <gtest/gtest.h>

#include <windows.h>

#include "AbTestSupport.h"
#include "DocTestSupport.h"
#include "GoldenFiles.h"
#include "SmallCardFolder.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "doc/DocAb.h"
#include "doc/DocPaths.h"

using namespace abtest;
using testsupport::Bytes;
using testsupport::CardRoot;

namespace {

// The save date and time of the header and the registration stamps of the
// entries change with the clock: checked, then zeroed for the golden copy.
Bytes WithoutClock(Bytes b, const std::vector<int>& stampedRecords)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    int year = (I32(b, 28) >> 16) & 0xFFFF;
    EXPECT_EQ(now.wYear, (year >> 12) * 1000 + ((year >> 8) & 15) * 100 + ((year >> 4) & 15) * 10 + (year & 15))
        << "BCD year";
    PutI32(b, 28, 0);
    PutI32(b, 36, 0);
    for (int k : stampedRecords) {
        EXPECT_EQ(now.wYear, I32(b, Rec(k) + 16) >> 16);
        PutI32(b, Rec(k) + 16, 0);
        PutI32(b, Rec(k) + 20, 0);
    }
    return b;
}

class AddressBookCard : public testing::Test {
protected:
    void SetUp() override
    {
        InitCharClassTable();
        testsupport::ClearCard();
        book.InitHome();
        DOCAB_UI_RECORD home = Entry(L"Home", 139.5, 35.25, 30, L"1 Main St", L"03-1111");
        book.SetHome(0, &home);
        book.AddEntry(Entry(L"Office", -0.5, 51.5, 30, L"Dock 4", L"020-7946"));
        book.AddEntry(Entry(L"NoPosition", AB_NO_POSITION, AB_NO_POSITION, 2));
    }
    void TearDown() override { testsupport::ClearCard(); }
    std::wstring File() const { return GetAbCardFile(CardRoot().c_str()).GetString(); }
    CDocAb book;
};

TEST_F(AddressBookCard, SavedFileMatchesTheUnitsLayout)
{
    doctest::SetModel(5);
    ASSERT_TRUE(book.CreateFolderAndSave(File().c_str()));
    EXPECT_EQ(CardRoot() + L"PC\\POINT\\TONAVI\\POINTREG.L00", File());
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.File(L"masked.L00"), WithoutClock(testsupport::ReadBytes(File()), {10, 11}));
    golden::Expect(L"POINTREG_m5.L00", dir.File(L"masked.L00"));
}

// The golden file read by the offsets of the unit's layout table.
TEST_F(AddressBookCard, GoldenFileHoldsTheLayoutsValues)
{
    Bytes g = testsupport::ReadBytes(golden::Path(L"POINTREG_m5.L00"));
    ASSERT_EQ(201288u, g.size());
    for (size_t i = 0; i < 60; ++i)
        EXPECT_EQ(0, g[i]) << "header byte " << i;  // the save stamp at 28 and 36 is masked
    // Home: number 0, position, model type 5's home category, texts with lengths.
    EXPECT_EQ(0, I16(g, Rec(0)));
    EXPECT_EQ(128563200, I32(g, Rec(0) + 4));
    EXPECT_EQ(32486400, I32(g, Rec(0) + 8));
    EXPECT_EQ(0x41020043, I32(g, Rec(0) + 12));
    EXPECT_EQ(-1, I16(g, Rec(0) + 40));
    EXPECT_EQ(4, I32(g, Rec(0) + 44));
    EXPECT_EQ(0, memcmp(g.data() + Rec(0) + 48, L"Home\0", 10));
    EXPECT_EQ(7, I32(g, Rec(0) + 184));
    EXPECT_EQ(0, memcmp(g.data() + Rec(0) + 188, L"03-1111\0", 16));
    EXPECT_EQ(9, I32(g, Rec(0) + 400));
    EXPECT_EQ(0, memcmp(g.data() + Rec(0) + 404, L"1 Main St\0", 20));
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(0x7FFFFFFF, I32(g, Rec(0) + 336 + 4 * k));
    // Specials 1-9 free; entries numbered by their place.
    for (int k = 1; k < 10; ++k)
        EXPECT_EQ(-1, I16(g, Rec(k))) << k;
    EXPECT_EQ(10, I16(g, Rec(10)));
    EXPECT_EQ(-460800, I32(g, Rec(10) + 4));  // -0.5 degrees
    EXPECT_EQ(0x4102001E, I32(g, Rec(10) + 12));
    EXPECT_EQ(6, I32(g, Rec(10) + 44));
    EXPECT_EQ(11, I16(g, Rec(11)));
    EXPECT_EQ(0x7FFFFFFF, I32(g, Rec(11) + 4));
    EXPECT_EQ(0x7FFFFFFF, I32(g, Rec(11) + 8));
    EXPECT_EQ(0x41020002, I32(g, Rec(11) + 12));
    for (int k = 12; k < 409; ++k)
        ASSERT_EQ(-1, I16(g, Rec(k))) << k;
    EXPECT_EQ(0x7FFFFFFF, I32(g, Rec(408) + 4));  // a free record is a cleared one
}

TEST_F(AddressBookCard, HomeCategoryFollowsTheModelType)
{
    struct Case {
        int model;
        int32_t category;
    } cases[] = {{0, 0x4102001E}, {2, 0x4102001E}, {1, 0x41020034}, {4, 0x41020034}, {6, 0x41020034},
                 {3, 0x41020043}, {5, 0x41020043}, {12, 0x41020043}};
    for (const Case& c : cases) {
        doctest::SetModel(c.model);
        ASSERT_TRUE(book.CreateFolderAndSave(File().c_str()));
        EXPECT_EQ(c.category, I32(testsupport::ReadBytes(File()), Rec(0) + 12)) << c.model;
    }
    // Read back, the home is the book's home again.
    CDocAb loaded;
    ASSERT_TRUE(loaded.Load(File().c_str()));
    EXPECT_EQ(0x4102001Eu, loaded.m_special[0].m_rec.category);
    EXPECT_EQ(2, loaded.GetEntryCount());
}

TEST_F(AddressBookCard, FullOrReadOnlyCardKeepsTheOldFile)
{
    doctest::SetModel(5);
    std::wstring folder = CardRoot() + L"PC\\POINT\\TONAVI\\";
    ASSERT_TRUE(CreateFolderPath(folder.c_str()));
    // Room for one card file and a little more, not for a second copy beside it.
    cardfs::SmallCardFolder small(folder, 260);
    if (!small.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    ASSERT_TRUE(book.CreateFolderAndSave(File().c_str()));
    Bytes old = testsupport::ReadBytes(File());
    book.AddEntry(Entry(L"Later", 1, 1));
    EXPECT_FALSE(book.CreateFolderAndSave(File().c_str()));
    EXPECT_EQ(6, book.GetErrorCode());
    EXPECT_EQ(old, testsupport::ReadBytes(File()));
    EXPECT_EQ((std::vector<std::wstring>{L"POINTREG.L00"}), testsupport::ListFolder(folder));
    EXPECT_EQ(3, book.GetEntryCount());

    ASSERT_TRUE(small.MakeReadOnly());
    EXPECT_FALSE(book.Save(File().c_str()));
    EXPECT_EQ(3, book.GetErrorCode());
    EXPECT_EQ(old, testsupport::ReadBytes(File()));
}

}  // namespace
