#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "IconTestSupport.h"
#include "SymbolFileReader.h"
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

// User icon n's picture: a pattern of its own, so that a swapped or shifted
// symbol shows.
imagetest::Rgb UserIconPixel(int n, int x, int y)
{
    return {static_cast<BYTE>(40 * n + 10), static_cast<BYTE>(x * 8), static_cast<BYTE>(y * 8)};
}

// Writes user icons a0.bmp... of the icon size, plus files the folder may hold
// that are no user icons (other sizes and depths).
int WriteMixedIconFolder(const testsupport::TempDir& dir, int count)
{
    for (int n = 0; n < count; ++n) {
        std::wstring name = L"a" + std::to_wstring(n) + L".bmp";
        testsupport::WriteBytes(dir.File(name.c_str()),
                                imagetest::MakeBmp(32, 32, [n](int x, int y) { return UserIconPixel(n, x, y); }));
    }
    testsupport::WriteBytes(dir.File(L"small.bmp"), icontest::SolidBmp(24, {1, 2, 3}));
    testsupport::WriteBytes(dir.File(L"deep.bmp"), symboltest::SolidBmp(32, 32, 32, 0xFF102030));
    testsupport::WriteBytes(dir.File(L"grey.bmp"), symboltest::SolidBmp(32, 32, 8, 0x40));
    return count;
}

// The symbol file holds the user icons' group, and symbol n is user icon n
// with its pixels (rows as the bitmap stores them, bottom first).
void ExpectUserIconSymbols(const CDocIcon& doc, const std::wstring& path)
{
    symboltest::SymbolFile file;
    ASSERT_TRUE(symboltest::ReadSymbolFile(path, file));
    EXPECT_EQ(ICON_USER_GROUP, file.groupNumber);
    ASSERT_EQ(static_cast<std::uint32_t>(doc.GetUserCount()), file.count);
    for (int n = 0; n < doc.GetUserCount(); ++n) {
        SCOPED_TRACE(testing::Message() << "symbol " << n);
        const int icon = std::stoi(std::wstring(doc.GetUserIconName(n).GetString()).substr(1));
        const auto& e = file.entries[static_cast<size_t>(n)];
        EXPECT_EQ(n, e.id);
        EXPECT_EQ(32, e.width);
        EXPECT_EQ(32, e.height);
        EXPECT_EQ(0x81, e.format);
        testsupport::Bytes expected;
        for (int row = 0; row < 32; ++row)
            for (int x = 0; x < 32; ++x) {
                const imagetest::Rgb c = UserIconPixel(icon, x, 31 - row);
                const std::uint16_t word = symboltest::Rgb565(0xFF000000u | c.r << 16 | c.g << 8 | c.b);
                expected.push_back(static_cast<BYTE>(word));
                expected.push_back(static_cast<BYTE>(word >> 8));
            }
        EXPECT_TRUE(file.pixels[static_cast<size_t>(n)] == expected);
    }
}

TEST_F(IconExport, SymbolFileThroughTheConverter)
{
    doctest::SetModel(5);
    WriteMixedIconFolder(iconDir, 4);
    CDocIcon doc;
    doc.LoadIcons();
    ASSERT_EQ(4, doc.GetUserCount());  // the other sizes and depths are no user icons
    ASSERT_TRUE(doc.ExportCustomPoiSymbols(CardRoot().c_str()));
    const std::wstring symb = CardRoot() + L"NDB\\CUSTOMPOI\\CustomPOI.symb";
    ExpectUserIconSymbols(doc, symb);
    EXPECT_EQ(std::vector<std::wstring>{L"CustomPOI.symb"}, testsupport::ListFolder(CardRoot() + L"NDB\\CUSTOMPOI\\"));
    EXPECT_TRUE(testsupport::ListFolder(tempDir.Path()).empty()) << "work folder left behind";

    // Again over the old file, after one icon went.
    ASSERT_TRUE(doc.DeleteUserIcon(1));
    doc.LoadIcons();
    ASSERT_TRUE(doc.ExportCustomPoiSymbols(CardRoot().c_str()));
    ExpectUserIconSymbols(doc, symb);
}

// A work folder the converter cannot take as it is: letters outside the ANSI
// code page, or longer than its limit. Its short form is handed over instead.
TEST_F(IconExport, WorkFolderOutsideTheCodePageOrTooLongGoesByItsShortPath)
{
    doctest::SetModel(5);
    WriteMixedIconFolder(iconDir, 2);
    CDocIcon doc;
    doc.LoadIcons();
    const std::wstring cases[] = {tempDir.Path() + L"\u0141ukasz\\", tempDir.Path() + std::wstring(140, L'd') + L"\\"};
    for (const std::wstring& folder : cases) {
        SCOPED_TRACE(testing::Message() << folder.size());
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        SetEnvironmentVariableW(L"TMP", folder.c_str());
        SetEnvironmentVariableW(L"TEMP", folder.c_str());
        testsupport::ClearCard();
        ASSERT_TRUE(doc.ExportCustomPoiSymbols(CardRoot().c_str())) << doc.GetErrorCode();
        ExpectUserIconSymbols(doc, CardRoot() + L"NDB\\CUSTOMPOI\\CustomPOI.symb");
        EXPECT_TRUE(testsupport::ListFolder(folder).empty());
    }
}

TEST_F(IconExport, UserIconsNeverReplaceTheUnitsOwnFiles)
{
    doctest::SetModel(0);
    testsupport::WriteBytes(iconDir.File(L"POI_MAPCLOSE.BMP"), icontest::SolidBmp(32, {1, 200, 1}));
    testsupport::WriteBytes(iconDir.File(L"Poi_MapClose.bmp.bmp"), icontest::SolidBmp(32, {2, 2, 200}));
    CDocIcon doc;
    doc.LoadIcons();
    ASSERT_EQ(1, doc.GetUserCount());  // the unit's name is no user icon's
    EXPECT_STREQ(L"Poi_MapClose.bmp.bmp", doc.GetUserIconName(0));
    ASSERT_TRUE(doc.ExportUserIconBitmaps(CardRoot().c_str()));
    const std::wstring folder = CardRoot() + L"usericon\\";
    EXPECT_EQ(Pixels(icontest::SolidBmp(32, {250, 0, 250})), Pixels(testsupport::ReadBytes(folder + L"poi_mapclose.bmp")));
    EXPECT_TRUE(GetFileAttributesW((folder + L"poi_mapclose.bmp").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(Pixels(icontest::SolidBmp(32, {2, 2, 200})), Pixels(testsupport::ReadBytes(folder + L"Poi_MapClose.bmp.bmp")));
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

}  // namespace
