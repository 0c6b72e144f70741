#include "common/FileReplace.h"
#include "common/FileUtil.h"

#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"

#include <atomic>
#include <string>
#include <thread>

using namespace testsupport;

namespace {

void MakeTree(const std::wstring& root)
{
    CreateDirectoryW((root + L"sub").c_str(), nullptr);
    CreateDirectoryW((root + L"sub\\deeper").c_str(), nullptr);
    CreateDirectoryW((root + L"empty").c_str(), nullptr);
    WriteBytes(root + L"a.txt", std::string("a"));
    WriteBytes(root + L"sub\\b.txt", std::string("b"));
    WriteBytes(root + L"sub\\deeper\\c.txt", std::string("c"));
}

bool IsFolder(const std::wstring& path)
{
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TEST(FileUtil, DeleteFolderTreeRemovesEverything)
{
    TempDir dir;
    std::wstring root = dir.File(L"tree\\");
    CreateDirectoryW(root.c_str(), nullptr);
    MakeTree(root);
    EXPECT_TRUE(DeleteFolderTree(root.c_str()));
    EXPECT_FALSE(IsFolder(root));
    // Without the trailing backslash too.
    CreateDirectoryW(root.c_str(), nullptr);
    MakeTree(root);
    EXPECT_TRUE(DeleteFolderTree(dir.File(L"tree").c_str()));
    EXPECT_FALSE(IsFolder(root));
}

TEST(FileUtil, DeleteFolderTreeStopsAtReadOnlyFile)
{
    TempDir dir;
    std::wstring root = dir.File(L"ro\\");
    CreateDirectoryW(root.c_str(), nullptr);
    MakeTree(root);
    SetFileAttributesW((root + L"sub\\b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(DeleteFolderTree(root.c_str()));
    EXPECT_TRUE(IsFolder(root));
    EXPECT_TRUE(FileExists(root + L"sub\\b.txt"));
    SetFileAttributesW((root + L"sub\\b.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileUtil, DeleteFolderTreeRefusesDangerousPaths)
{
    TempDir dir;
    std::wstring inner = dir.File(L"inner\\");
    CreateDirectoryW(inner.c_str(), nullptr);
    WriteBytes(dir.File(L"keep.txt"), std::string("keep"));
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    SetCurrentDirectoryW(dir.Path().c_str());
    const wchar_t* refused[] = {
        nullptr, L"", L"C:\\", L"C:", L"Z:\\", L"\\\\server\\share\\", L"inner\\", L".\\", L"..\\",
        (inner + L"..\\").c_str(),  // resolves to the folder above
        dir.File(L"keep.txt").c_str(), dir.File(L"missing\\").c_str(),
    };
    std::wstring innerUp = inner + L"..\\";
    refused[9] = innerUp.c_str();
    std::wstring keep = dir.File(L"keep.txt"), missing = dir.File(L"missing\\");
    refused[10] = keep.c_str();
    refused[11] = missing.c_str();
    for (const wchar_t* path : refused)
        EXPECT_FALSE(DeleteFolderTree(path)) << (path ? path : L"(null)");
    SetCurrentDirectoryW(cwd);
    EXPECT_TRUE(FileExists(dir.File(L"keep.txt")));
    EXPECT_TRUE(IsFolder(inner));
}

// A Unix symbolic link made with the host's ln (Wine runs host programs).
bool MakeHostLink(const std::wstring& target, const std::wstring& link)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (!unixName)
        return false;
    char* t = unixName(target.c_str());
    char* l = unixName(link.c_str());
    if (!t || !l)
        return false;
    std::string cmd = std::string("ln -s \"") + t + "\" \"" + l + "\"";
    HeapFree(GetProcessHeap(), 0, t);
    HeapFree(GetProcessHeap(), 0, l);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA("Z:\\bin\\ln", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // A host process's handle cannot be waited for: watch for the link.
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    for (int i = 0; i < 100; ++i) {
        if (GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(50);
    }
    return false;
}

TEST(FileUtil, DeleteFolderTreeDoesNotFollowLinks)
{
    TempDir outside, dir;
    WriteBytes(outside.File(L"precious.txt"), std::string("data"));
    std::wstring root = dir.File(L"withlink\\");
    CreateDirectoryW(root.c_str(), nullptr);
    WriteBytes(root + L"own.txt", std::string("x"));
    std::wstring target = outside.Path();
    target.pop_back();
    bool made = CreateSymbolicLinkW((root + L"link").c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
                GetFileAttributesW((root + L"link").c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!made)
        made = MakeHostLink(target, root + L"link");
    ASSERT_TRUE(made) << "could not make a folder link";
    EXPECT_TRUE(GetFileAttributesW((root + L"link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    // Wine cannot remove a host link to a non-empty folder (ERROR_DIR_NOT_EMPTY),
    // so the result may be FALSE; what the link points to must survive either way.
    BOOL removed = DeleteFolderTree(root.c_str());
    EXPECT_EQ(removed != FALSE, !IsFolder(root));
    EXPECT_FALSE(FileExists(root + L"own.txt"));
    EXPECT_TRUE(FileExists(outside.File(L"precious.txt")));
    // The folder asked for being a link itself: at most the link goes.
    ASSERT_TRUE(MakeHostLink(target, dir.File(L"linked")));
    removed = DeleteFolderTree(dir.File(L"linked\\").c_str());
    EXPECT_EQ(removed != FALSE, !IsFolder(dir.File(L"linked")));
    EXPECT_TRUE(FileExists(outside.File(L"precious.txt")));
}

TEST(FileUtil, ListFilesAppendsFullPathsOfFilesOnly)
{
    TempDir dir;
    WriteBytes(dir.File(L"one.dat"), std::string("1"));
    WriteBytes(dir.File(L"two.dat"), std::string("2"));
    WriteBytes(dir.File(L"other.txt"), std::string("3"));
    CreateDirectoryW(dir.File(L"folder.dat").c_str(), nullptr);
    CStringArray files;
    files.Add(L"already there");
    ListFiles(dir.File(L"*.dat").c_str(), files);
    ASSERT_EQ(3, files.GetSize());
    EXPECT_EQ(CString(L"already there"), files[0]);
    std::wstring a(files[1].GetString()), b(files[2].GetString());
    if (a > b)
        std::swap(a, b);
    EXPECT_EQ(dir.File(L"one.dat"), a);
    EXPECT_EQ(dir.File(L"two.dat"), b);
    ListFiles(dir.File(L"none*.xyz").c_str(), files);
    ListFiles(nullptr, files);
    EXPECT_EQ(3, files.GetSize());
}

TEST(FileUtil, ReplacingWriteKeepsOldContentOnFailure)
{
    TempDir dir;
    std::wstring path = dir.File(L"f.bin");
    ASSERT_TRUE(WriteFileReplacing(path.c_str(), "one", 3));
    ASSERT_TRUE(WriteFileReplacing(path.c_str(), "two!", 4));
    Bytes b = ReadBytes(path);
    EXPECT_EQ("two!", std::string(b.begin(), b.end()));
    EXPECT_FALSE(WriteFileReplacing(dir.File(L"nope\\f.bin").c_str(), "x", 1));
    CreateDirectoryW(dir.File(L"adir").c_str(), nullptr);
    EXPECT_FALSE(WriteFileReplacing(dir.File(L"adir").c_str(), "x", 1));
    EXPECT_TRUE(IsFolder(dir.File(L"adir")));
}
