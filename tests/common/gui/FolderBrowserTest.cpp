#include "common/FolderBrowser.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "ImageFixtures.h"
#include "TestFiles.h"
#include "common/ShellServices.h"

using testsupport::TempDir;

namespace {

const wchar_t kTitle[] = L"Choose the test folder";
const wchar_t kFreeSpace[] = L"Free: %d MB";

BOOL CALLBACK MatchDialog(HWND h, LPARAM p)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t text[128] = {};
    GetWindowTextW(h, text, 128);
    if (pid == GetCurrentProcessId() && wcscmp(text, kTitle) == 0 && IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(p) = h;
        return FALSE;
    }
    return TRUE;
}

HWND FindOurDialog()
{
    HWND found = nullptr;
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CALLBACK MatchStatus(HWND h, LPARAM p)
{
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    if (wcsncmp(text, L"Free: ", 6) == 0 && IsWindowVisible(h)) {
        *reinterpret_cast<std::wstring*>(p) = text;
        return FALSE;
    }
    return TRUE;
}

// Text of a visible child window that starts with the free-space label.
std::wstring StatusText(HWND dialog)
{
    std::wstring found;
    EnumChildWindows(dialog, MatchStatus, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Runs BrowseForFolder while a second thread waits for the dialog, lets the
// selection settle, runs check on it and then presses the button.
struct DialogRun {
    BOOL result = FALSE;
    bool sawDialog = false;
    const RECT* keepClear = nullptr;
    void Run(WCHAR path[MAX_PATH], int button, const std::function<void(HWND)>& check)
    {
        std::atomic<bool> done{false};
        const bool hasInitial = path[0] != L'\0';
        std::thread watcher([&] {
            HWND dialog = nullptr;
            for (int i = 0; i < 400 && !dialog && !done; ++i) {
                Sleep(50);
                dialog = FindOurDialog();
            }
            if (!dialog)
                return;
            sawDialog = true;
            // With an initial folder, wait until it is selected and its free space shown.
            for (int i = 0; i < 300 && hasInitial && StatusText(dialog).empty(); ++i)
                Sleep(50);
            Sleep(200);
            if (check)
                check(dialog);
            PostMessageW(dialog, WM_COMMAND, button, 0);
        });
        result = BrowseForFolder(path, nullptr, kTitle, kFreeSpace, keepClear);
        done = true;
        watcher.join();
    }
};

void Shot(HWND dialog, const wchar_t* name)
{
    RECT r;
    GetWindowRect(dialog, &r);
    imagetest::ScopedDib image;
    CreateDib(&image, r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, image->bitmap);
    BitBlt(dc, 0, 0, image->width, image->height, screen, r.left, r.top, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    imagetest::SaveShot(image.img, name);
}

class FolderBrowser : public ::testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        ASSERT_TRUE(InitShell());
    }
    void TearDown() override
    {
        TermShell();
        OleUninitialize();
    }
};

}  // namespace

namespace {
long long FreeMegabytes(const std::wstring& path)
{
    ULARGE_INTEGER available, total, totalFree;
    if (!GetDiskFreeSpaceExW(path.c_str(), &available, &total, &totalFree))
        return -1;
    return std::min<long long>(static_cast<long long>(totalFree.QuadPart / 1048576), INT_MAX);
}
}  // namespace

TEST_F(FolderBrowser, ChoosingTheInitialFolderAddsABackslashAndShowsFreeSpace)
{
    // Directly under C:\ (Wine's tree does not open the hidden temporary folder).
    const std::wstring top = L"C:\\browse_test_" + std::to_wstring(GetCurrentProcessId());
    const std::wstring folder = top + L"\\Data";
    CreateDirectoryW(top.c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    WCHAR path[MAX_PATH];
    wcscpy_s(path, folder.c_str());
    std::wstring status;
    bool okEnabled = false;
    long long before = 0, after = 0;
    DialogRun run;
    // Under a loaded machine Wine's folder tree now and then drops the initial
    // selection (the dialog opens on the desktop); one more run tells that apart
    // from a real failure, which fails both times.
    for (int attempt = 0; attempt < 2; ++attempt) {
        wcscpy_s(path, folder.c_str());
        run = DialogRun();
        run.Run(path, IDOK, [&](HWND dialog) {
            before = FreeMegabytes(folder);
            status = StatusText(dialog);
            after = FreeMegabytes(folder);
            okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
            Shot(dialog, L"folder_browser");
        });
        if (!status.empty())
            break;
    }
    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(top.c_str());
    ASSERT_TRUE(run.sawDialog);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(folder + L"\\", std::wstring(path));
    EXPECT_TRUE(okEnabled);
    long long shown = -1;
    ASSERT_EQ(1, swscanf(status.c_str(), L"Free: %lld MB", &shown))
        << "status: [" << testsupport::Utf8(status) << "]";
    // Other programs write to the same disk meanwhile: the value lies between the two readings.
    EXPECT_LE(std::min(before, after) - 256, shown);
    EXPECT_GE(std::max(before, after) + 256, shown);
}

TEST_F(FolderBrowser, DriveRootKeepsItsOneBackslash)
{
    WCHAR path[MAX_PATH] = L"C:\\";
    DialogRun run;
    run.Run(path, IDOK, nullptr);
    ASSERT_TRUE(run.sawDialog);
    EXPECT_TRUE(run.result);
    EXPECT_STREQ(L"C:\\", path);
}

TEST_F(FolderBrowser, CancelEmptiesThePath)
{
    TempDir dir;
    WCHAR path[MAX_PATH];
    wcscpy_s(path, dir.Path().c_str());
    DialogRun run;
    run.Run(path, IDCANCEL, nullptr);
    ASSERT_TRUE(run.sawDialog);
    EXPECT_FALSE(run.result);
    EXPECT_STREQ(L"", path);
}

TEST_F(FolderBrowser, NonFileSystemSelectionCannotBeConfirmed)
{
    WCHAR path[MAX_PATH] = L"C:\\";
    bool okEnabled = true;
    std::wstring status = L"?";
    DialogRun run;
    run.Run(path, IDCANCEL, [&](HWND dialog) {
        LPITEMIDLIST drives = nullptr;
        SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives);
        SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(drives));
        Sleep(300);
        okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
        status = StatusText(dialog);
        ILFree(drives);
    });
    ASSERT_TRUE(run.sawDialog);
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(L"", status) << "no free space shown";
}

TEST_F(FolderBrowser, ImageListBackgroundIsRestored)
{
    HIMAGELIST images = GetSmallSystemImageList();
    ASSERT_NE(nullptr, images);
    ImageList_SetBkColor(images, RGB(1, 2, 3));
    COLORREF during = 0;
    WCHAR path[MAX_PATH] = L"";
    DialogRun run;
    run.Run(path, IDCANCEL, [&](HWND) { during = ImageList_GetBkColor(images); });
    ASSERT_TRUE(run.sawDialog);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), during);
    EXPECT_EQ(RGB(1, 2, 3), ImageList_GetBkColor(images));
}

// The caller's commands stay visible: the dialog moves off the rectangle it
// is given, and the free-space line is the caller's text.
TEST_F(FolderBrowser, StaysClearOfTheGivenRectangle)
{
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    // Where the dialog opens by itself: the middle of the screen.
    const RECT commands{screen.right / 4, screen.bottom / 4, screen.right * 3 / 4, screen.bottom / 2};
    RECT where{};
    WCHAR path[MAX_PATH] = L"";
    DialogRun run;
    run.keepClear = &commands;
    run.Run(path, IDCANCEL, [&](HWND dialog) {
        GetWindowRect(dialog, &where);
        Shot(dialog, L"folder_browser_placed");
    });
    ASSERT_TRUE(run.sawDialog);
    RECT overlap;
    EXPECT_FALSE(IntersectRect(&overlap, &where, &commands));
    EXPECT_GE(where.top, commands.bottom);
}

TEST(FolderBrowserPlace, Cases)
{
    const RECT work{0, 0, 1000, 800};
    struct Case {
        const char* what;
        RECT keepClear;
        RECT expect;  // for a 300 x 400 window at (100, 100)
    } cases[] = {
        {"below", {50, 20, 900, 300}, {50, 300, 350, 700}},
        {"below, pulled in from the right", {900, 20, 990, 300}, {700, 300, 1000, 700}},
        {"above when below is too low", {50, 500, 900, 790}, {50, 100, 350, 500}},
        {"right when neither fits", {0, 300, 600, 700}, {600, 300, 900, 700}},
        {"left when only that fits", {400, 100, 1000, 750}, {100, 100, 400, 500}},
        {"stays when nothing fits", {0, 0, 1000, 800}, {100, 100, 400, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RECT r = PlaceClearOf({100, 100, 400, 500}, c.keepClear, work);
        EXPECT_EQ(r.left, c.expect.left);
        EXPECT_EQ(r.top, c.expect.top);
        EXPECT_EQ(r.right, c.expect.right);
        EXPECT_EQ(r.bottom, c.expect.bottom);
    }
}

TEST(FolderBrowserText, TheFreeSpaceLineIsTheCallersText)
{
    EXPECT_STREQ(FreeSpaceText(L"Free space: %d MB", 5000000000ull).GetString(), L"Free space: 5000000000 MB");
    EXPECT_STREQ(FreeSpaceText(L"%s %d %n", 7).GetString(), L"%s 7 %n");
}
