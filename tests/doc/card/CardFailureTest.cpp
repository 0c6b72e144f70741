// A card that fills up or turns read-only in the middle of an export: a small
// file system is mounted under the card's POI folder for the test.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <algorithm>

#include "IconTestSupport.h"
#include "SmallCardFolder.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "doc/DocPi.h"

namespace {

using testsupport::CardRoot;
using cardfs::FillUp;
using cardfs::SmallCardFolder;

class CardFailure : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        InitCharClassTable();
        testsupport::ClearCard();
        ASSERT_TRUE(icontest::OpenStockPack(packDir));
        theGlobal.m_iconFolder = packDir.Path().c_str();
        doctest::SetModel(0);
        theGlobal.m_docIcon.LoadIcons();
        for (int i = 0; i < 600; ++i) {
            wchar_t name[16];
            swprintf(name, 16, L"p%04d", i);
            doc.AddRecord(doctest::MakePoi(name, 139.0, 35.0, L"Some street 1", L"03-0000", L"d"));
        }
    }
    void TearDown() override
    {
        testsupport::ClearCard();
        CoUninitialize();
    }
    testsupport::TempDir packDir;
    doctest::PrivateTemp tempDir;
    CDocPi doc;
};

TEST_F(CardFailure, FullCardKeepsOldFilesAndLeavesNoPartialFile)
{
    std::wstring folder = CardRoot() + L"POI\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    // Room for the old file and the first of the two export files, not the second.
    ASSERT_TRUE(doc.WriteKml(packDir.File(L"part.kml").c_str(), 0, 300));
    size_t part = testsupport::ReadBytes(packDir.File(L"part.kml")).size();
    SmallCardFolder small(folder, (part + 4095) / 4096 * 4 + 8);
    if (!small.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    testsupport::WriteBytes(folder + L"old.kml", std::string(2000, 'o'));

    EXPECT_FALSE(doc.ExportToCard((folder + L"trip.kml").c_str()));
    EXPECT_EQ(3, doc.GetErrorCode());
    EXPECT_EQ((std::vector<std::wstring>{L"old.kml", L"trip.kml"}), testsupport::ListFolder(folder));
    EXPECT_EQ(std::string(2000, 'o'), [&] {
        auto b = testsupport::ReadBytes(folder + L"old.kml");
        return std::string(b.begin(), b.end());
    }());
    EXPECT_TRUE(testsupport::ListFolder(tempDir.Path()).empty()) << "work folder left behind";
    EXPECT_EQ(600, doc.GetRecordCount());

    // The same card turned read-only: nothing is written, nothing is lost.
    ASSERT_TRUE(small.MakeReadOnly());
    testsupport::Bytes before = testsupport::ReadBytes(folder + L"trip.kml");
    EXPECT_FALSE(doc.ExportToCard((folder + L"trip.kml").c_str()));
    EXPECT_EQ(3, doc.GetErrorCode());
    EXPECT_EQ((std::vector<std::wstring>{L"old.kml", L"trip.kml"}), testsupport::ListFolder(folder));
    EXPECT_EQ(before, testsupport::ReadBytes(folder + L"trip.kml"));
    EXPECT_TRUE(testsupport::ListFolder(tempDir.Path()).empty());
}

TEST_F(CardFailure, VersionFileOnAFullCardLeavesTheOldOne)
{
    std::wstring folder = CardRoot() + L"POI\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    SmallCardFolder small(folder, 256);
    if (!small.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    ASSERT_TRUE(CDocPi::WriteCustomPoiVersion(folder.c_str()));
    testsupport::Bytes ver = testsupport::ReadBytes(folder + L"Custom_POI.ver");
    FillUp(folder);
    EXPECT_FALSE(CDocPi::WriteCustomPoiVersion(folder.c_str()));
    EXPECT_EQ(ver, testsupport::ReadBytes(folder + L"Custom_POI.ver"));
    ASSERT_TRUE(small.MakeReadOnly());
    EXPECT_FALSE(CDocPi::WriteCustomPoiVersion(folder.c_str()));
    EXPECT_EQ(ver, testsupport::ReadBytes(folder + L"Custom_POI.ver"));
}

TEST_F(CardFailure, IconBitmapsOnAFullCardKeepTheOldOnes)
{
    icontest::WriteUserIcons(packDir.Path(), 3, 32);
    theGlobal.m_docIcon.LoadIcons();
    ASSERT_EQ(3, theGlobal.m_docIcon.GetUserCount());
    std::wstring folder = CardRoot() + L"usericon\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    SmallCardFolder small(folder, 64);
    if (!small.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    // A first export fits; then the card fills up.
    ASSERT_TRUE(theGlobal.m_docIcon.ExportUserIconBitmaps(CardRoot().c_str()));
    testsupport::Bytes old = testsupport::ReadBytes(folder + L"u01.bmp");
    FillUp(folder);
    EXPECT_FALSE(theGlobal.m_docIcon.ExportUserIconBitmaps(CardRoot().c_str()));
    EXPECT_EQ(6, theGlobal.m_docIcon.GetErrorCode());
    EXPECT_EQ(old, testsupport::ReadBytes(folder + L"u01.bmp"));
    EXPECT_TRUE(GetFileAttributesW((folder + L"poi_mapclose.bmp").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    std::vector<std::wstring> expected = {L"filler", L"poi_mapclose.bmp", L"poi_mapclose.spr", L"u00.bmp",
                                          L"u01.bmp", L"u02.bmp"};
    EXPECT_EQ(expected, testsupport::ListFolder(folder));  // no half-written or temporary file
}

}  // namespace
