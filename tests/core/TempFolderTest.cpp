// Folders under the user's temporary folder: a settings value never names a
// folder outside it; each download folder is new and leaves no placeholder file.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

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

TEST(TempFolder, DownloadFolderIsMadeFreshEachTime)
{
    // Folders left behind (as by a crashed run), each with a stale version
    // file: no later call may hand one of them out again.
    std::vector<std::wstring> made;
    for (int i = 0; i < 40; ++i) {
        CString folder;
        ASSERT_TRUE(MakeDownloadFolder(folder));
        const std::wstring path(folder);
        ASSERT_EQ(path.back(), L'\\');
        EXPECT_EQ(path.find(TempRoot() + L"$$$"), 0u);
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_EQ(::GetFileAttributesW((path + L"Mirovale2009.xml").c_str()), INVALID_FILE_ATTRIBUTES)
            << "a folder of an earlier call came back";
        EXPECT_EQ(std::find(made.begin(), made.end(), path), made.end());
        // No placeholder file beside it.
        EXPECT_EQ(::GetFileAttributesW((path.substr(0, path.size() - 1) + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
        HANDLE h = ::CreateFileW((path + L"Mirovale2009.xml").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        ::CloseHandle(h);
        made.push_back(path);
    }
    for (const std::wstring& path : made) {
        ::DeleteFileW((path + L"Mirovale2009.xml").c_str());
        ::RemoveDirectoryW(path.c_str());
    }
}

TEST(TempFolder, PathInsideFolderComparesWholeNamesWithoutCase)
{
    const struct { const wchar_t* path; const wchar_t* folder; bool inside; } cases[] = {
        {L"C:\\Temp\\a", L"C:\\Temp", true},
        {L"C:\\Temp\\a\\", L"C:\\Temp\\", true},
        {L"c:\\TEMP\\A\\b", L"C:\\temp", true},
        {L"C:/Temp/a", L"C:\\Temp", true},
        {L"C:\\Temp2", L"C:\\Temp", false},
        {L"C:\\Temp2\\a", L"C:\\Temp", false},
        {L"C:\\Temp", L"C:\\Temp", false},
        {L"C:\\Temp\\", L"C:\\Temp", false},
        {L"C:\\Temp\\.", L"C:\\Temp", false},
        {L"C:\\Temp\\a\\..", L"C:\\Temp", false},
        {L"C:\\Temp\\..\\Windows", L"C:\\Temp", false},
        {L"C:\\Temp\\a\\..\\..\\Temp\\b", L"C:\\Temp", true},
        {L"C:\\Temp\\..\\Temp2\\x", L"C:\\Temp", false},
        {L"C:\\", L"C:\\Temp", false},
        {L"D:\\Temp\\a", L"C:\\Temp", false},
        {L"", L"C:\\Temp", false},
        {L"C:\\Temp\\a", L"", false},
        {nullptr, L"C:\\Temp", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, PathInsideFolder(c.path, c.folder) != FALSE)
            << (c.path ? c.path : L"(null)") << " in " << c.folder;
}

TEST(TempFolder, OnlyWhatLiesInsideTheTemporaryFolderMayBeDeleted)
{
    const std::wstring root = TempRoot();
    const std::wstring bare = root.substr(0, root.size() - 1);
    EXPECT_TRUE(PathInsideTempFolder((root + L"$$$1A2B\\").c_str()));
    EXPECT_FALSE(PathInsideTempFolder(root.c_str()));
    EXPECT_FALSE(PathInsideTempFolder((bare + L"2\\x").c_str()));
    EXPECT_FALSE(PathInsideTempFolder((root + L"x\\..\\..").c_str()));
}
