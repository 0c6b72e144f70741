// Taking back what a failed operation added: new files and new folders go,
// what was there before stays.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "common/AddedFiles.h"

using testsupport::FileExists;
using testsupport::ListFolder;
using testsupport::WriteBytes;

namespace {

TEST(AddedFiles, NewFilesAndFoldersGoOldOnesStay)
{
    testsupport::TempDir dir;
    const std::wstring a = dir.Path() + L"a\\", made = dir.Path() + L"made\\";
    ::CreateDirectoryW(a.c_str(), nullptr);
    ::CreateDirectoryW((a + L"old").c_str(), nullptr);
    WriteBytes(a + L"kept.txt", std::string("old"));
    CAddedFiles added;
    added.Watch(a.c_str());
    added.Watch(made.substr(0, made.size() - 1).c_str());  // not there yet, named without a backslash

    WriteBytes(a + L"kept.txt", std::string("replaced"));
    WriteBytes(a + L"new.bmp", std::string("x"));
    ::SetFileAttributesW((a + L"new.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    ::CreateDirectoryW((a + L"sub").c_str(), nullptr);
    WriteBytes(a + L"sub\\deep.txt", std::string("x"));
    WriteBytes(a + L"old\\inner.txt", std::string("x"));
    ::CreateDirectoryW(made.c_str(), nullptr);
    ::CreateDirectoryW((made + L"Version").c_str(), nullptr);
    WriteBytes(made + L"Version\\v.ver", std::string("x"));

    added.TakeBack();
    EXPECT_EQ(ListFolder(a), (std::vector<std::wstring>{L"kept.txt", L"old"}));
    EXPECT_EQ(ListFolder(a + L"old\\"), std::vector<std::wstring>{});
    EXPECT_FALSE(FileExists(made));
    // Replaced files are not restored: what the operation wrote stays.
    const testsupport::Bytes kept = testsupport::ReadBytes(a + L"kept.txt");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "replaced");
}

}  // namespace
