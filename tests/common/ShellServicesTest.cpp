#include "common/ShellServices.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <algorithm>

#include "TestFiles.h"

using testsupport::TempDir;

namespace {

CPidl PidlOf(const std::wstring& path)
{
    return CPidl{ILCreateFromPathW(path.c_str()), 0};
}

// A held list freed at the end of the test.
struct HeldPidl {
    CPidl p;
    explicit HeldPidl(const std::wstring& path) : p(PidlOf(path)) {}
    explicit HeldPidl(int csidl) : p{} { SHGetSpecialFolderLocation(nullptr, csidl, &p.pidl); }
    ~HeldPidl() { p.Release(); }
};

struct HeldArray {
    CPidlArray items;
    ~HeldArray()
    {
        for (CPidl& p : items)
            p.Release();
    }
    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        for (const CPidl& p : items) {
            CString path = GetPidlPath(p.pidl);
            names.push_back(PathFindFileNameW(path));
        }
        return names;
    }
};

void MakeFile(const std::wstring& path, LONGLONG size = 10)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = size;
    SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
}

void SetWriteTime(const std::wstring& path, int year)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = 6;
    st.wDay = 1;
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

bool MakeShortcut(const std::wstring& link, const std::wstring& target)
{
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_ALL, IID_IShellLinkW, reinterpret_cast<void**>(&shellLink))))
        return false;
    shellLink->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    bool ok = SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Save(link.c_str(), TRUE));
    if (file)
        file->Release();
    shellLink->Release();
    return ok;
}

// A folder tree with sub-folders, pictures, music, archives and shortcuts.
class ShellServices : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InitShell());
        for (const wchar_t* folder : {L"beta", L"Alpha", L"x.jpg", L"a.zip", L"Alpha\\inner"})
            CreateDirectoryW(dir.File(folder).c_str(), nullptr);
        for (const wchar_t* file : {L"b.jpg", L"A.png", L"c.txt", L"d.mp3", L"e.R00", L"f.zip", L"g.cab"})
            MakeFile(dir.File(file));
        ASSERT_TRUE(MakeShortcut(dir.File(L"lnk.lnk"), dir.File(L"beta")));
        MakeShortcut(dir.File(L"unc.lnk"), L"\\\\server\\share");
    }
    void TearDown() override { TermShell(); }

    TempDir dir;
};

}  // namespace

TEST_F(ShellServices, InitBuildsTheProgramWideObjects)
{
    EXPECT_NE(nullptr, theDesktopFolder);
    EXPECT_NE(nullptr, theDesktopPidl.pidl);
    EXPECT_NE(nullptr, theMyComputerPidl.pidl);
    EXPECT_GE(theExcludedFolders.GetSize(), 5);
    EXPECT_EQ(2, theVirtualRootFolders.GetSize());
    EXPECT_NE(nullptr, theShellLink);
    EXPECT_NE(nullptr, thePersistFile);
    EXPECT_NE(nullptr, GetSmallSystemImageList());
}

TEST_F(ShellServices, DriveListsKeepEachRootOnce)
{
    for (int i = 0; i < 3; ++i)
        EnumLogicalDrives();
    std::vector<std::wstring> roots(theDriveRoots.begin(), theDriveRoots.end());
    std::vector<std::wstring> removable(theRemovableDriveRoots.begin(), theRemovableDriveRoots.end());
    EXPECT_EQ(1, std::count(roots.begin(), roots.end(), L"C:\\"));
    EXPECT_EQ(1, std::count(roots.begin(), roots.end(), L"R:\\"));
    EXPECT_EQ(1, std::count(removable.begin(), removable.end(), L"R:\\")) << "the card drive is removable";
    EXPECT_EQ(0, std::count(removable.begin(), removable.end(), L"C:\\"));

    HeldPidl card(L"R:\\"), c(L"C:\\"), folder(dir.Path());
    EXPECT_TRUE(IsRemovableDrivePidl(card.p.pidl));
    EXPECT_FALSE(IsRemovableDrivePidl(c.p.pidl));
    EXPECT_TRUE(IsDriveRootPidl(c.p.pidl));
    EXPECT_FALSE(IsDriveRootPidl(folder.p.pidl));
    EXPECT_TRUE(HasSubFoldersPidl(card.p)) << "removable drives always count as having sub-folders";
    EXPECT_TRUE(IsFolderPidl(card.p));
    EXPECT_EQ(0, IsNetDrivePidl(c.p.pidl));
}

TEST_F(ShellServices, FolderTreeChildrenAreSortedFoldersWithoutArchives)
{
    HeldPidl folder(dir.Path());
    HeldArray children;
    EXPECT_EQ(3, EnumShellFolder(folder.p, children.items));
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"beta", L"x.jpg"}), children.Names());
}

TEST_F(ShellServices, PictureBrowserItemsFoldersFirstThenByName)
{
    HeldPidl folder(dir.Path());
    HeldArray items;
    const int count = EnumShellFiles(folder.p, items.items, 0);
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"beta", L"x.jpg", L"A.png", L"b.jpg", L"d.mp3", L"e.R00", L"lnk.lnk"}),
              items.Names())
        << "no text file, archive or shortcut to a network share";
    EXPECT_EQ(8, count);
}

// The listing's facts are what the shell answers for each full item list:
// in a plain folder (read from the folder object) and in the Computer folder.
TEST_F(ShellServices, ListingFactsAgreeWithTheShell)
{
    HeldPidl folder(dir.Path());
    for (const CPidl* listed : {&folder.p, &theMyComputerPidl}) {
        HeldArray items;
        std::vector<ShellFileFacts> facts;
        const int count = EnumShellFiles(*listed, items.items, 0, &facts);
        ASSERT_GT(count, 0);
        ASSERT_EQ(static_cast<size_t>(count), facts.size());
        for (int i = 0; i < count; ++i) {
            const CPidl& item = items.items[i];
            SHFILEINFOW info{};
            SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item.pidl), 0, &info, sizeof info,
                           SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES);
            const std::wstring path(GetPidlPath(item.pidl).GetString());
            EXPECT_EQ(path, facts[i].path.GetString());
            EXPECT_STREQ(info.szDisplayName, facts[i].displayName) << path;
            const ULONG mask = SFGAO_FILESYSTEM | SFGAO_CANMOVE | SFGAO_FOLDER | SFGAO_LINK;
            EXPECT_EQ(info.dwAttributes & mask, facts[i].attributes & mask) << path;
            EXPECT_EQ(ClassifyShellFile(item), ClassifyShellFile(item, facts[i])) << path;
        }
    }
}

TEST_F(ShellServices, SortBySizeAndByTime)
{
    TempDir sized;
    MakeFile(sized.File(L"big.jpg"), 5LL * 1024 * 1024 * 1024);  // sparse: takes no room
    MakeFile(sized.File(L"small.jpg"), 1024);
    MakeFile(sized.File(L"middle.jpg"), 4096);
    SetWriteTime(sized.File(L"big.jpg"), 2001);
    SetWriteTime(sized.File(L"small.jpg"), 2020);
    SetWriteTime(sized.File(L"middle.jpg"), 2010);
    HeldPidl folder(sized.Path());
    HeldArray bySize, byTime;
    EnumShellFiles(folder.p, bySize.items, 1);
    EXPECT_EQ((std::vector<std::wstring>{L"small.jpg", L"middle.jpg", L"big.jpg"}), bySize.Names());
    EnumShellFiles(folder.p, byTime.items, 3);
    EXPECT_EQ((std::vector<std::wstring>{L"big.jpg", L"middle.jpg", L"small.jpg"}), byTime.Names());
}

TEST_F(ShellServices, CompareRulesInOrder)
{
    SHFILEINFOW a{}, b{};
    WIN32_FIND_DATAW fa{}, fb{};
    wcscpy_s(a.szDisplayName, L"zeta");
    wcscpy_s(b.szDisplayName, L"Alpha");
    a.dwAttributes = b.dwAttributes = SFGAO_FILESYSTEM | SFGAO_CANMOVE;
    EXPECT_GT(CompareShellItems(&a, &b, &fa, &fb, 0), 0);
    EXPECT_LT(CompareShellItems(&b, &a, &fb, &fa, 0), 0);
    a.dwAttributes = SFGAO_CANMOVE;  // not in the file system: first
    EXPECT_LT(CompareShellItems(&a, &b, &fa, &fb, 0), 0);
    a.dwAttributes = SFGAO_FILESYSTEM;  // cannot move: first
    EXPECT_LT(CompareShellItems(&a, &b, &fa, &fb, 0), 0);
    a.dwAttributes = SFGAO_FILESYSTEM | SFGAO_CANMOVE | SFGAO_FOLDER;  // folder: first
    EXPECT_LT(CompareShellItems(&a, &b, &fa, &fb, 0), 0);
    a.dwAttributes = b.dwAttributes;
    fa.nFileSizeHigh = 1;  // 4 GiB against 1 KiB
    fb.nFileSizeLow = 1024;
    EXPECT_GT(CompareShellItems(&a, &b, &fa, &fb, 1), 0);
    wcscpy_s(b.szDisplayName, L"ZETA");
    EXPECT_EQ(0, CompareShellItems(&a, &b, &fa, &fb, 0)) << "names compare without case";
}

TEST_F(ShellServices, ClassificationTable)
{
    // A deleted file: its list is made while it exists.
    MakeFile(dir.File(L"gone.txt"));
    HeldPidl gone(dir.File(L"gone.txt"));
    DeleteFileW(dir.File(L"gone.txt").c_str());
    struct Case { const wchar_t* name; int expected; } cases[] = {
        {L"x.jpg", 3}, {L"a.zip", 0}, {L"f.zip", 0}, {L"g.cab", 0}, {L"b.jpg", 3}, {L"A.png", 3},
        {L"d.mp3", 2}, {L"e.R00", 4}, {L"c.txt", 2}, {L"Alpha", 1}, {L"lnk.lnk", 0},
    };
    for (const Case& c : cases) {
        HeldPidl item(dir.File(c.name));
        ASSERT_NE(nullptr, item.p.pidl) << c.name;
        EXPECT_EQ(c.expected, ClassifyShellFile(item.p)) << c.name;
    }
    EXPECT_EQ(5, ClassifyShellFile(gone.p));
    EXPECT_EQ(0, ClassifyShellFile(theDesktopPidl));
    HeldPidl controls(CSIDL_CONTROLS);
    EXPECT_EQ(0, ClassifyShellFile(controls.p));
}

TEST_F(ShellServices, ShortcutsToLocalFoldersResolve)
{
    HeldPidl local(dir.File(L"lnk.lnk")), unc(dir.File(L"unc.lnk")), plain(dir.File(L"b.jpg"));
    WCHAR path[MAX_PATH] = {};
    ASSERT_TRUE(ResolveFolderShortcut(path, local.p.pidl));
    EXPECT_EQ(0, _wcsicmp(dir.File(L"beta").c_str(), path)) << path;
    EXPECT_FALSE(ResolveFolderShortcut(path, unc.p.pidl));
    EXPECT_FALSE(ResolveFolderShortcut(path, plain.p.pidl));
}

TEST_F(ShellServices, ExclusionRules)
{
    HeldPidl controls(CSIDL_CONTROLS), drives(CSIDL_DRIVES), folder(dir.Path());
    EXPECT_TRUE(IsExcludedShellItem(controls.p.pidl));
    EXPECT_TRUE(IsExcludedShellItem(theDesktopPidl.pidl));
    EXPECT_FALSE(IsExcludedShellItem(drives.p.pidl));
    EXPECT_FALSE(IsExcludedShellItem(folder.p.pidl));
}

TEST_F(ShellServices, PathsAndExtensions)
{
    HeldPidl jpg(dir.File(L"b.jpg")), folder(dir.File(L"Alpha"));
    EXPECT_EQ(0, _wcsicmp(dir.File(L"b.jpg").c_str(), GetPidlPath(jpg.p.pidl)));
    EXPECT_STREQ(L".jpg", GetPidlExtension(jpg.p.pidl));
    EXPECT_STREQ(L"", GetPidlExtension(folder.p.pidl));
    EXPECT_STREQ(L"", GetPidlPath(theMyComputerPidl.pidl));
    IShellFolder* sf = GetShellFolder(folder.p.pidl);
    ASSERT_NE(nullptr, sf);
    EXPECT_NE(theDesktopFolder, sf);
    sf->Release();
    sf = GetShellFolder(theDesktopPidl.pidl);
    EXPECT_EQ(theDesktopFolder, sf);
    sf->Release();
    SHFILEINFOW* info = GetShellFileInfo(SHGFI_ATTRIBUTES, folder.p.pidl);
    EXPECT_TRUE(info->dwAttributes & SFGAO_FOLDER);
    delete info;
}

TEST_F(ShellServices, ListBytesRoundTripAndDamagedBytesAreRefused)
{
    HeldPidl folder(dir.File(L"Alpha\\inner"));
    CByteArray bytes;
    ASSERT_TRUE(PidlToBytes(folder.p, bytes));
    CPidl back{};
    ASSERT_TRUE(PidlFromBytes(back, bytes));
    EXPECT_TRUE(ILIsEqual(folder.p.pidl, back.pidl));
    back.Release();

    CByteArray cut;
    for (INT_PTR i = 0; i + 3 < bytes.GetSize(); ++i)
        cut.Add(bytes[i]);
    CByteArray lying = bytes;
    lying[2] = 0xFF;  // first item claims to run past the list
    lying[3] = 0x7F;
    CByteArray empty;
    for (CByteArray* bad : {&cut, &lying, &empty}) {
        CPidl item{};
        item.Assign(folder.p.pidl);
        EXPECT_FALSE(PidlFromBytes(item, *bad));
        EXPECT_EQ(nullptr, item.pidl) << "the holder is released first";
    }
}

TEST_F(ShellServices, AssignCopiesAndReleaseFrees)
{
    HeldPidl folder(dir.Path());
    CPidl copy{};
    copy.Assign(folder.p.pidl);
    ASSERT_NE(nullptr, copy.pidl);
    EXPECT_NE(folder.p.pidl, copy.pidl);
    EXPECT_TRUE(ILIsEqual(folder.p.pidl, copy.pidl));
    EXPECT_TRUE(copy.Release());
    EXPECT_EQ(nullptr, copy.pidl);
    EXPECT_FALSE(copy.Release());
}
