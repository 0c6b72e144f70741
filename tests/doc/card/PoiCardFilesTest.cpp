#include <gtest/gtest.h>

#include <windows.h>

#include "TestFiles.h"
#include "doc/DocPi.h"

namespace {

using testsupport::Bytes;

TEST(PoiCardFiles, CustomPoiVersionFileBytes)
{
    testsupport::ClearCard();
    std::wstring folder = testsupport::CardRoot() + L"NDB\\VersionManage\\Version";
    ASSERT_TRUE(CDocPi::WriteCustomPoiVersion(folder.c_str()));
    Bytes expected = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x31, 0, 0x2E, 0, 0x30, 0, 0x30, 0};
    EXPECT_EQ(expected, testsupport::ReadBytes(folder + L"\\Custom_POI.ver"));
    // Written again over the old one: no temporary file is left, whatever
    // its name, in the folder or beside it.
    ASSERT_TRUE(CDocPi::WriteCustomPoiVersion((folder + L"\\").c_str()));
    EXPECT_EQ(expected, testsupport::ReadBytes(folder + L"\\Custom_POI.ver"));
    EXPECT_EQ(std::vector<std::wstring>{L"Custom_POI.ver"}, testsupport::ListFolder(folder + L"\\"));
    EXPECT_EQ(std::vector<std::wstring>{L"Version"},
              testsupport::ListFolder(testsupport::CardRoot() + L"NDB\\VersionManage\\"));
    testsupport::ClearCard();
}

TEST(PoiCardFiles, VersionFileRefusedWhenTheFolderCannotBeMade)
{
    testsupport::ClearCard();
    std::wstring blocker = testsupport::CardRoot() + L"NDB";
    testsupport::WriteBytes(blocker, std::string("a file, not a folder"));
    EXPECT_FALSE(CDocPi::WriteCustomPoiVersion((blocker + L"\\VersionManage\\Version").c_str()));
    testsupport::ClearCard();
}

TEST(PoiCardFiles, CardFileCountLimitsTheFolderToOneHundredFiles)
{
    testsupport::TempDir dir;
    for (int i = 0; i < 99; ++i)
        testsupport::WriteBytes(dir.File(L"f" + std::to_wstring(i) + L".kml"), std::string("x"));
    testsupport::WriteBytes(dir.File(L"other.txt"), std::string("x"));
    EXPECT_TRUE(CDocPi::CheckCardFileCount(dir.Path().c_str(), 100, 100));   // one file
    EXPECT_FALSE(CDocPi::CheckCardFileCount(dir.Path().c_str(), 101, 100));  // two files
    EXPECT_TRUE(CDocPi::CheckCardFileCount(dir.Path().c_str(), 0, 100));
    EXPECT_FALSE(CDocPi::CheckCardFileCount(dir.Path().c_str(), 1, 0));      // unknown model
    std::wstring noSlash = dir.Path().substr(0, dir.Path().size() - 1);
    EXPECT_TRUE(CDocPi::CheckCardFileCount(noSlash.c_str(), 300, 300));
}

}  // namespace
