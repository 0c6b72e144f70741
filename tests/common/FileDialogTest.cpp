#include "common/FileUtil.h"

#include <gtest/gtest.h>

#include "UiTexts.h"
#include "tests/support/TestFiles.h"

#include <atomic>
#include <string>
#include <thread>

using namespace testsupport;

// The common dialog driven from a second thread: it types a name and confirms,
// or cancels.
namespace {

struct DialogDriver {
    std::wstring name;  // empty: cancel
    std::wstring seenTitle;
    std::atomic<bool> stop{false};
    std::thread thread;

    void Start()
    {
        thread = std::thread([this] {
            DWORD pid = GetCurrentProcessId();
            for (int tries = 0; tries < 300 && !stop; ++tries) {
                Sleep(50);
                HWND dlg = nullptr;
                for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
                     w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(w, &owner);
                    if (owner == pid && IsWindowVisible(w)) {
                        dlg = w;
                        break;
                    }
                }
                if (!dlg)
                    continue;
                wchar_t title[256] = L"";
                GetWindowTextW(dlg, title, 256);
                seenTitle = title;
                if (name.empty()) {
                    PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
                    return;
                }
                HWND edit = GetDlgItem(dlg, 0x47C);  // cmb13, the file name box
                if (!edit)
                    edit = GetDlgItem(dlg, 0x480);  // edt1
                if (!edit)
                    continue;
                SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
                PostMessageW(dlg, WM_COMMAND, IDOK, 0);
                return;
            }
        });
    }
    ~DialogDriver()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
    }
};

class FileDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(nullptr, m_owner);
        m_texts.Set(233, L"Open a file");
        m_texts.Set(234, L"Save a file");
    }
    void TearDown() override
    {
        DestroyWindow(m_owner);
    }
    // Runs the dialog with the driver typing name (or cancelling).
    BOOL Run(int kind, BOOL open, const std::wstring& typed, std::wstring& chosen, std::wstring* title = nullptr)
    {
        DialogDriver driver;
        driver.name = typed;
        driver.Start();
        wchar_t path[MAX_PATH] = L"";
        BOOL ok = ShowFileDialog(m_owner, m_folder.Path().c_str(), kind, open, path);
        driver.stop = true;
        driver.thread.join();
        chosen = path;
        if (title)
            *title = driver.seenTitle;
        return ok;
    }
    HWND m_owner = nullptr;
    testsupport::UiTexts m_texts{431};
    TempDir m_folder;
};

}  // namespace

TEST_F(FileDialog, RefusesBadArguments)
{
    wchar_t path[MAX_PATH] = L"x";
    EXPECT_FALSE(ShowFileDialog(m_owner, nullptr, 8, TRUE, path));
    EXPECT_FALSE(ShowFileDialog(m_owner, nullptr, 0, FALSE, path));
    EXPECT_FALSE(ShowFileDialog(nullptr, nullptr, 2, TRUE, path));
    EXPECT_FALSE(ShowFileDialog(m_owner, nullptr, 2, TRUE, nullptr));
}

TEST_F(FileDialog, SaveAddsDefaultExtension)
{
    TempDir elsewhere;
    wchar_t before[MAX_PATH];
    SetCurrentDirectoryW(elsewhere.Path().c_str());
    GetCurrentDirectoryW(MAX_PATH, before);

    struct Case {
        int kind;
        const wchar_t* typed;
        const wchar_t* result;
    };
    const Case cases[] = {
        {2, L"x.txt", L"x.txt.CSV"},
        {2, L"plain", L"plain.CSV"},
        {2, L"given.csv", L"given.csv"},
        {7, L"log.csv", L"log.csv"},  // an extension the filter offers stays alone
        {3, L"route", L"route.KML"},
    };
    for (const Case& c : cases) {
        std::wstring chosen, title;
        ASSERT_TRUE(Run(c.kind, FALSE, m_folder.File(c.typed), chosen, &title)) << c.typed;
        EXPECT_EQ(0, _wcsicmp(m_folder.File(c.result).c_str(), chosen.c_str())) << chosen;
        EXPECT_EQ(L"Save a file", title);
        wchar_t after[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, after);
        EXPECT_STREQ(before, after);
    }
}

TEST_F(FileDialog, OpenReturnsChosenFileAndCancelGivesFalse)
{
    WriteBytes(m_folder.File(L"pick.csv"), std::string("a,b\r\n"));
    std::wstring chosen, title;
    ASSERT_TRUE(Run(2, TRUE, m_folder.File(L"pick.csv"), chosen, &title));
    EXPECT_EQ(0, _wcsicmp(m_folder.File(L"pick.csv").c_str(), chosen.c_str())) << chosen;
    EXPECT_EQ(L"Open a file", title);
    EXPECT_FALSE(Run(2, TRUE, L"", chosen));
}
