// Folders under the user's temporary folder: a settings value never names a
// folder outside it; download folders leave no placeholder file behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFiles.h"
#include "core/TempFolder.h"

namespace {

std::wstring TempRoot()
{
    wchar_t temp[MAX_PATH] = {}, full[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    ::GetFullPathNameW(temp, MAX_PATH, full, nullptr);
    std::wstring root = full;
    if (root.back() != L'\\')
        root += L'\\';
    return root;
}

}  // namespace

TEST(TempFolder, OnlyFoldersInsideTheTemporaryFolder)
{
    const std::wstring root = TempRoot();
    struct Case {
        const wchar_t* name;
        const wchar_t* expected;  // relative to the root; null: refused
    } const cases[] = {
        {L"apps", L"apps\\"},
        {L"apps\\sub\\", L"apps\\sub\\"},
        {L"a\\..\\b", L"b\\"},
        {L"..\\..\\", nullptr},
        {L"..", nullptr},
        {L"apps\\..\\..\\x", nullptr},
        {L".", nullptr},
        {L"", nullptr},
        {L"C:\\", nullptr},
        {L"\\Windows", nullptr},
        {L"\\\\server\\share", nullptr},
    };
    for (const Case& c : cases) {
        CString path;
        const BOOL ok = TempSubfolder(c.name, path);
        EXPECT_EQ(ok != FALSE, c.expected != nullptr) << c.name;
        if (c.expected)
            EXPECT_EQ(std::wstring(path), root + c.expected) << c.name;
        else
            EXPECT_TRUE(path.IsEmpty()) << c.name;
    }
}

TEST(TempFolder, DownloadFolderLeavesNoPlaceholderFile)
{
    CString folder;
    ASSERT_TRUE(MakeDownloadFolder(folder));
    const std::wstring path(folder);
    ASSERT_EQ(path.back(), L'\\');
    EXPECT_EQ(path.find(TempRoot() + L"$$$"), 0u);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    // The name GetTempFileName reserved, with its ".tmp", is gone again.
    const std::wstring reserved = path.substr(0, path.size() - 1) + L".tmp";
    EXPECT_EQ(::GetFileAttributesW(reserved.c_str()), INVALID_FILE_ATTRIBUTES);
    ::RemoveDirectoryW(path.c_str());
}
