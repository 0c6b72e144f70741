#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "IconTestSupport.h"
#include "TestFiles.h"
#include "doc/DocIcon.h"

namespace {

using testsupport::CardRoot;

// The pixel bytes of a 24-bit BMP (headers differ between writers).
testsupport::Bytes Pixels(const testsupport::Bytes& bmp)
{
    return bmp.size() > 54 ? testsupport::Bytes(bmp.begin() + 54, bmp.end()) : testsupport::Bytes();
}

// The icon exports with the user's temporary folder pointed at a folder of
// the test's own, so that leftovers can be seen.
class IconExport : public testing::Test {
protected:
    void SetUp() override
    {
        testsupport::ClearCard();
        ASSERT_TRUE(icontest::OpenStockPack(packDir));
        theGlobal.m_iconFolder = iconDir.Path().c_str();
    }
    void TearDown() override { testsupport::ClearCard(); }
    testsupport::TempDir packDir, iconDir;
    doctest::PrivateTemp tempDir;
};

TEST_F(IconExport, UserIconBitmapsAndMapCloseFilesOnTheCard)
{
    doctest::SetModel(0);
    icontest::WriteUserIcons(iconDir.Path(), 3, 32);
    CDocIcon doc;
    doc.LoadIcons();
    ASSERT_TRUE(doc.ExportUserIconBitmaps(CardRoot().c_str()));
    std::wstring folder = CardRoot() + L"usericon\\";
    std::vector<std::wstring> expected = {L"poi_mapclose.bmp", L"poi_mapclose.spr", L"u00.bmp", L"u01.bmp",
                                          L"u02.bmp"};
    EXPECT_EQ(expected, testsupport::ListFolder(folder));
    EXPECT_EQ(Pixels(testsupport::ReadBytes(iconDir.File(L"u01.bmp"))), Pixels(testsupport::ReadBytes(folder + L"u01.bmp")));
    EXPECT_EQ(Pixels(icontest::SolidBmp(32, {250, 0, 250})), Pixels(testsupport::ReadBytes(folder + L"poi_mapclose.bmp")));
    EXPECT_TRUE(GetFileAttributesW((folder + L"poi_mapclose.bmp").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    std::string spr = "BmpFlags = 0\r\nDefFlags = ALPHA_PIXEL | ALPHA_LAYER\r\nDefPhase = 1\r\nStripes = 32\r\n"
                      "DefAlpha = 16\r\n";
    EXPECT_EQ(testsupport::Bytes(spr.begin(), spr.end()), testsupport::ReadBytes(folder + L"poi_mapclose.spr"));

    // The user deletes an icon; the next export leaves only the current ones.
    ASSERT_TRUE(doc.DeleteUserIcon(0));
    doc.LoadIcons();
    testsupport::WriteBytes(folder + L"stray.bmp", std::string("old"));
    ASSERT_TRUE(doc.ExportUserIconBitmaps(CardRoot().c_str()));
    expected = {L"poi_mapclose.bmp", L"poi_mapclose.spr", L"u01.bmp", L"u02.bmp"};
    EXPECT_EQ(expected, testsupport::ListFolder(folder));
    EXPECT_TRUE(testsupport::ListFolder(tempDir.Path()).empty());
}

TEST_F(IconExport, FolderThatCannotBeCreated)
{
    doctest::SetModel(2);
    testsupport::WriteBytes(CardRoot() + L"usericon", std::string("a file"));
    CDocIcon doc;
    doc.LoadIcons();
    EXPECT_FALSE(doc.ExportUserIconBitmaps(CardRoot().c_str()));
    EXPECT_EQ(7, doc.GetErrorCode());
}

TEST_F(IconExport, SymbolFileThroughTheConverter)
{
    doctest::SetModel(5);
    icontest::WriteUserIcons(iconDir.Path(), 3, 32);
    CDocIcon doc;
    doc.LoadIcons();
    ASSERT_TRUE(doc.ExportCustomPoiSymbols(CardRoot().c_str()));
    testsupport::Bytes symb = testsupport::ReadBytes(CardRoot() + L"NDB\\CUSTOMPOI\\CustomPOI.symb");
    EXPECT_GT(symb.size(), 3u * 32 * 32);
    EXPECT_EQ(std::vector<std::wstring>{L"CustomPOI.symb"}, testsupport::ListFolder(CardRoot() + L"NDB\\CUSTOMPOI\\"));
    EXPECT_TRUE(testsupport::ListFolder(tempDir.Path()).empty()) << "work folder left behind";

    // Again over the old file.
    ASSERT_TRUE(doc.ExportCustomPoiSymbols(CardRoot().c_str()));
    EXPECT_EQ(symb.size(), testsupport::ReadBytes(CardRoot() + L"NDB\\CUSTOMPOI\\CustomPOI.symb").size());
}

TEST_F(IconExport, UserIconNamesOutsideTheAnsiCodePage)
{
    doctest::SetModel(5);
    testsupport::WriteBytes(iconDir.File(L"\u03A9mega.bmp"), icontest::SolidBmp(32, {9, 9, 9}));
    testsupport::WriteBytes(iconDir.File(L"\u6771\u4EAC.bmp"), icontest::SolidBmp(32, {8, 8, 8}));
    CDocIcon doc;
    doc.LoadIcons();
    ASSERT_EQ(2, doc.GetUserCount());
    ASSERT_TRUE(doc.ExportCustomPoiSymbols(CardRoot().c_str()));
    EXPECT_FALSE(testsupport::ReadBytes(CardRoot() + L"NDB\\CUSTOMPOI\\CustomPOI.symb").empty());
    EXPECT_TRUE(testsupport::ListFolder(tempDir.Path()).empty());
}

TEST_F(IconExport, NoUserIconWritesNoSymbolFile)
{
    doctest::SetModel(7);
    CDocIcon doc;
    doc.LoadIcons();
    EXPECT_TRUE(doc.ExportCustomPoiSymbols(CardRoot().c_str()));
    EXPECT_TRUE(testsupport::ListFolder(CardRoot()).empty());
}

TEST_F(IconExport, WorkPathTooLongForTheConverterFailsCleanly)
{
    doctest::SetModel(5);
    icontest::WriteUserIcons(iconDir.Path(), 1, 32);
    CDocIcon doc;
    doc.LoadIcons();
    std::wstring deep = tempDir.Path() + std::wstring(140, L'd') + L"\\";
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    SetEnvironmentVariableW(L"TMP", deep.c_str());
    SetEnvironmentVariableW(L"TEMP", deep.c_str());
    EXPECT_FALSE(doc.ExportCustomPoiSymbols(CardRoot().c_str()));
    EXPECT_EQ(6, doc.GetErrorCode());
    EXPECT_TRUE(testsupport::ListFolder(deep).empty());
    EXPECT_TRUE(testsupport::ListFolder(CardRoot()).empty());
}

}  // namespace
