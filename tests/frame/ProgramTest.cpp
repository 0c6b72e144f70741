// The real program started under Wine with prepared settings and data files,
// driven through its windows with real input.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>
#include <string>

#include "LocalHttpServer.h"
#include "ProgramRun.h"
#include "SkinTestFixture.h"
#include "TestFiles.h"
#include "frame/MainWndClass.h"
#include "frame/OptionPages.h"
#include "res/dialog_ids.h"
#include "res/frame_ids.h"

namespace {

std::wstring Text(HWND hwnd)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    return text;
}

HWND StartMenuButton(HWND main, UINT command)
{
    HWND menu = FindDescendant(main, L"MainMenu");
    return menu ? ::GetDlgItem(menu, static_cast<int>(command)) : nullptr;
}

}  // namespace

TEST(Program, StartsIntoTheStartMenuAndEveryTaskReachesItsPage)
{
    ProgramRun run;
    run.WriteIni(kReadyIni);
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Text(main), L"Mirovale");
    RECT r;
    ::GetWindowRect(main, &r);
    // First start: 1024 x 768, centred on the 1280 x 1024 screen.
    EXPECT_EQ(r.right - r.left, 1024);
    EXPECT_EQ(r.bottom - r.top, 768);
    EXPECT_EQ(r.left, (::GetSystemMetrics(SM_CXSCREEN) - 1024) / 2);
    EXPECT_EQ(ShownPage(main), L"MainMenu");
    PumpFor(500);
    skintest::Pixels(main).SavePng(L"program_start_menu");

    struct Task {
        UINT category, task;
        const wchar_t* page;
    } const tasks[] = {
        {ID_CATEGORY_POI, ID_POI_FROM_CSV, L"FromCSV"},  {ID_CATEGORY_POI, ID_POI_RSS_READER, L"PoiGeoRss"},
        {ID_CATEGORY_POI, ID_POI_MAP, L"PoiMap"},        {ID_CATEGORY_TOOLS, ID_CLONING, L"SettingsReplicator"},
        {ID_CATEGORY_TOOLS, ID_PICTURE_EDIT, L"PictureEditor"}, {ID_CATEGORY_TOOLS, ID_ADDRESS_BOOK, L"AddressBookEdit"},
        {ID_CATEGORY_DRIVE, ID_DRIVE_REPORT, L"DriveReport"},   {ID_CATEGORY_DRIVE, ID_SET_FUEL_MASTER, L"FuelReport"},
    };
    for (const Task& t : tasks) {
        SCOPED_TRACE(testing::Message() << "task " << t.task);
        HWND category = StartMenuButton(main, t.category);
        HWND task = StartMenuButton(main, t.task);
        ASSERT_TRUE(category && task);
        RealClick(category);
        // The category's tasks come in with a short animation.
        for (int i = 0; i < 100 && !::IsWindowVisible(task); ++i)
            PumpFor(50);
        ASSERT_TRUE(::IsWindowVisible(task));
        PumpFor(300);
        if (t.task == ID_POI_FROM_CSV)
            skintest::Pixels(main).SavePng(L"program_category_poi");
        RealClick(task);
        if (t.task == ID_PICTURE_EDIT) {
            // The first show asks what to make: a POI icon.
            HWND ask = WaitDialog(run, IDC_MSG_TEXT);
            ASSERT_NE(ask, nullptr);
            for (HWND child : ChildWindows(ask))
                if (::GetDlgCtrlID(child) == IDC_MSG_BUTTON_2 && ::IsWindowVisible(child))
                    RealClick(child);
        }
        ASSERT_TRUE(WaitPage(main, t.page));
        if (t.task == ID_POI_FROM_CSV) {
            PumpFor(300);
            skintest::Pixels(main).SavePng(L"program_page_csv");
        }
        // Back leaves the page for the start menu.
        HWND back = nullptr;
        for (HWND pane : ChildWindows(main))
            if (HWND b = ::GetDlgItem(pane, ID_BACK))
                back = b;
        ASSERT_NE(back, nullptr);
        EXPECT_TRUE(::IsWindowVisible(back));
        RealClick(back);
        ASSERT_TRUE(WaitPage(main, L"MainMenu"));
        EXPECT_FALSE(::IsWindowVisible(back));
    }
    // The caption's menu button opens the program's menu (a popup of the program).
    const size_t before = run.TopWindows().size();
    HWND menuButton = nullptr;
    for (HWND pane : ChildWindows(main))
        if (HWND b = ::GetDlgItem(pane, ID_MENU_HELP))
            menuButton = b;
    ASSERT_NE(menuButton, nullptr);
    RealClick(menuButton);
    PumpFor(500);
    EXPECT_GT(run.TopWindows().size(), before);
    RECT screen;
    ::GetWindowRect(main, &screen);
    skintest::Pixels(screen).SavePng(L"program_menu");
    INPUT escape[2] = {};
    escape[0].type = escape[1].type = INPUT_KEYBOARD;
    escape[0].ki.wVk = escape[1].ki.wVk = VK_ESCAPE;
    escape[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, escape, sizeof(INPUT));
    PumpFor(500);
    // Apps opens at once from its category; with no apps service in the
    // settings it says so first.
    RealClick(StartMenuButton(main, ID_CATEGORY_APPS));
    std::wstring said;
    HWND box = run.WaitMessageBox(15000, &said);
    ASSERT_NE(box, nullptr);
    std::erase_if(said, [](wchar_t c) { return iswspace(c); });  // the box breaks its lines itself
    EXPECT_NE(said.find(L"Theappsserviceisnotsetup"), std::wstring::npos) << std::string(said.begin(), said.end());
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitPage(main, L"Apps"));

    EXPECT_EQ(run.Quit(main), 0u);
    // Settings written at exit, the chosen files kept.
    EXPECT_EQ(run.ReadIni(L"File", L"LanguageFile"), L"English_US.dat");
    EXPECT_EQ(run.ReadIni(L"Window", L"Position"), std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
                                                       std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom));
}

namespace {

// Controls of the choosers: the language combo and the model's region combo.
const int kLanguageCombo = 1000, kRegionCombo = 1002;

// The splash is a topmost popup of the program; while a chooser asks, none
// of them may stand visible over it.
bool SplashVisible(ProgramRun& run)
{
    for (HWND w : run.TopWindows())
        if (::IsWindowVisible(w) && (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) &&
            (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
            return true;
    return false;
}

// Waits until the program's window and its controls have painted what they
// show (no update region left), so a screenshot shows the window, not what
// stood there before.
bool WaitPainted(HWND hwnd, DWORD ms = 5000)
{
    const DWORD start = ::GetTickCount();
    auto pending = [](HWND w) {
        if (::GetUpdateRect(w, nullptr, FALSE))
            return true;
        for (HWND c = ::GetWindow(w, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            if (::IsWindowVisible(c) && ::GetUpdateRect(c, nullptr, FALSE))
                return true;
        return false;
    };
    while (!::IsWindowVisible(hwnd) || pending(hwnd)) {
        if (::GetTickCount() - start > ms)
            return false;
        PumpFor(20);
    }
    PumpFor(100);
    return true;
}

}  // namespace

TEST(Program, StartFailuresTellTheUserWhy)
{
    struct Case {
        bool language, navi;
        const wchar_t* ini;
        int chooser;  // a control of the chooser the user cancels, or 0
        const wchar_t* message;
    } const cases[] = {
        {false, true, L"[File]\nNaviFile=US_KV410.dat\n", 0, L"An error has occurred (language file)"},
        {true, true, L"[File]\nNaviFile=US_KV410.dat\n", kLanguageCombo,
         L"No language was chosen, so the program ends. Start it again to choose one."},
        {true, false, L"[File]\nLanguageFile=English_US.dat\n", 0, L"An error has occurred (navi file)"},
        {true, true, L"[File]\nLanguageFile=English_US.dat\n", kRegionCombo,
         L"No navigation unit model was chosen, so the program ends. Start it again to choose one."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ini);
        ProgramRun run(c.language, c.navi);
        run.WriteIni(c.ini);
        ASSERT_TRUE(run.Start());
        if (c.chooser) {
            HWND chooser = WaitDialog(run, c.chooser);
            ASSERT_NE(chooser, nullptr);
            EXPECT_FALSE(SplashVisible(run));
            ::PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
            PumpFor(300);
        }
        std::wstring text, caption;
        HWND box = run.WaitMessageBox(20000, &text, &caption);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(text, c.message);
        EXPECT_EQ(caption, L"Halvern PC Application");
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_NE(run.WaitExit(10000), static_cast<DWORD>(STILL_ACTIVE));
        EXPECT_TRUE(run.TopWindows().empty());
    }
}

TEST(Program, FirstStartAsksLanguageAndModelAndKeepsTheChoice)
{
    ProgramRun run;
    run.WriteIni(L"[Option]\nVerCheck=0\nAnimation=0\n");
    ASSERT_TRUE(run.Start());
    HWND chooser = WaitDialog(run, kLanguageCombo);
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(WaitPainted(chooser));
    skintest::Pixels(chooser).SavePng(L"program_language_chooser");
    // OK takes the row chosen for the brand.
    ::PostMessageW(chooser, WM_COMMAND, IDOK, 0);
    PumpFor(300);
    chooser = WaitDialog(run, kRegionCombo);
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(WaitPainted(chooser));
    skintest::Pixels(chooser).SavePng(L"program_model_chooser");
    ::PostMessageW(chooser, WM_COMMAND, IDOK, 0);
    HWND main = run.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(SplashVisible(run));
    EXPECT_EQ(run.Quit(main), 0u);
    EXPECT_EQ(run.ReadIni(L"File", L"LanguageFile"), L"English_US.dat");
    EXPECT_NE(run.ReadIni(L"File", L"NaviFile"), L"");
}

namespace {

// Stands in for a running first instance: the named semaphore and a window
// of the main window's class and title that records what arrives; above it,
// another program's window with the same title.
struct FirstInstance {
    HANDLE semaphore = nullptr;
    HWND window = nullptr;
    HWND sameTitle = nullptr;
    static inline std::vector<std::vector<BYTE>> blocks;
    static inline std::vector<ULONG_PTR> kinds;

    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_COPYDATA) {
            auto* data = reinterpret_cast<COPYDATASTRUCT*>(lp);
            const BYTE* p = static_cast<const BYTE*>(data->lpData);
            blocks.emplace_back(p, p + data->cbData);
            kinds.push_back(data->dwData);
            return 0;
        }
        return ::DefWindowProcW(h, msg, wp, lp);
    }
    FirstInstance()
    {
        blocks.clear();
        kinds.clear();
        semaphore = ::CreateSemaphoreW(nullptr, 0, 1, L"Halvern PC Application");
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kMainWndClass;
        ::RegisterClassW(&wc);
        window = ::CreateWindowW(wc.lpszClassName, L"Mirovale", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.lpszClassName = L"AnotherProgram";
        ::RegisterClassW(&wc);
        sameTitle = ::CreateWindowW(wc.lpszClassName, L"Mirovale", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    wc.hInstance, nullptr);
    }
    ~FirstInstance()
    {
        ::DestroyWindow(sameTitle);
        ::DestroyWindow(window);
        ::CloseHandle(semaphore);
    }
};

}  // namespace

TEST(Program, SecondStartHandsItsLinkToTheFirstAndEnds)
{
    FirstInstance first;
    ASSERT_TRUE(first.semaphore && first.window);
    {
        ProgramRun run(false, false);
        // A link longer than the block holds: the text is cut, the length is not.
        const std::wstring link = L"mirovale:name=Caf%C3%A9&lat=35.5&long=139.7&notes=" + std::wstring(2100, L'x');
        ASSERT_TRUE(run.Start(link));
        EXPECT_EQ(run.WaitExit(20000), 0u);
        PumpFor(100);
        ASSERT_EQ(FirstInstance::blocks.size(), 1u);
        EXPECT_EQ(FirstInstance::kinds[0], 0u);
        const std::vector<BYTE>& block = FirstInstance::blocks[0];
        ASSERT_EQ(block.size(), 4100u);
        INT32 length = 0;
        memcpy(&length, block.data(), 4);
        const std::wstring line = L"\"" + run.Folder() + L"Mirovale.exe\" " + link;
        EXPECT_EQ(length, static_cast<INT32>(line.size()));
        const auto* text = reinterpret_cast<const wchar_t*>(block.data() + 4);
        EXPECT_EQ(std::wstring(text), line.substr(0, 2047));
    }
    {
        // Without a link the second start ends silently.
        ProgramRun run(false, false);
        ASSERT_TRUE(run.Start());
        EXPECT_EQ(run.WaitExit(20000), 0u);
        PumpFor(100);
        EXPECT_EQ(FirstInstance::blocks.size(), 1u);
    }
    {
        // The scheme word as a page may write it.
        ProgramRun run(false, false);
        ASSERT_TRUE(run.Start(L"MiroVale:name=Upper&lat=1&long=2"));
        EXPECT_EQ(run.WaitExit(20000), 0u);
        PumpFor(100);
        ASSERT_EQ(FirstInstance::blocks.size(), 2u);
        const auto* text = reinterpret_cast<const wchar_t*>(FirstInstance::blocks[1].data() + 4);
        EXPECT_NE(std::wstring(text).find(L"MiroVale:name=Upper"), std::wstring::npos);
    }
}

TEST(Program, LeftoverAppsFolderIsRemovedOnlyInsideTheTemporaryFolder)
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring inside = std::wstring(temp) + L"mirovale_apps_left\\";
    const std::wstring outside = std::wstring(temp) + L"..\\mirovale_outside_temp\\";
    for (const std::wstring& folder : {inside, outside}) {
        ::CreateDirectoryW(folder.c_str(), nullptr);
        testsupport::WriteBytes(folder + L"keep.txt", std::string("data"));
    }
    for (const wchar_t* value : {L"..\\mirovale_outside_temp", L"mirovale_apps_left"}) {
        SCOPED_TRACE(testing::Message() << value);
        ProgramRun run;
        run.WriteIni(std::wstring(L"[File]\nAppTempFolder=") + value + L"\n" + (kReadyIni + 7));
        ASSERT_TRUE(run.Start());
        HWND main = run.WaitMainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(run.Quit(main), 0u);
        EXPECT_EQ(run.ReadIni(L"File", L"AppTempFolder"), L"");
    }
    EXPECT_TRUE(testsupport::FileExists(outside + L"keep.txt"));
    EXPECT_FALSE(testsupport::FileExists(inside + L"keep.txt"));
    testsupport::RemoveTree(outside);
    testsupport::RemoveTree(inside);
}

TEST(Program, PagesOpenThroughTheRecordedSeam)
{
    ProgramRun run;
    run.WriteIni(kReadyIni);
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    ::SendMessageW(main, WM_COMMAND, ID_HOMEPAGE, 0);
    ::SendMessageW(main, WM_COMMAND, ID_HELP, 0);
    const std::string text = run.OpenedPages(2);
    EXPECT_NE(text.find("https://www.halvern.com/us/mirovale/\n"), std::string::npos) << text;
    EXPECT_NE(text.find("/help/pcapp3/"), std::string::npos) << text;
    EXPECT_NE(text.find("/index.htm\n"), std::string::npos) << text;
}

// Option/WebBase of the settings moves the program's site: the start-up
// version file and the help pages come from there.
TEST(Program, TheWebBaseOfTheSettingsServesTheSitesPages)
{
    testsupport::LocalHttpServer server([](const testsupport::HttpRequest&, testsupport::HttpConnection& c) {
        c.Reply(404, "", "text/plain");
    });
    const std::wstring base = server.BaseUrl() + L"/site/";
    std::wstring ini = kReadyIni;
    ini.replace(ini.find(L"VerCheck=0"), 10, L"VerCheck=1\nWebBase=" + base);
    ProgramRun run;
    HWND main = run.StartWith(ini);
    ASSERT_NE(main, nullptr);
    // The version check asks in the background: give it time to arrive.
    WaitFor([](void* s) { return !static_cast<testsupport::LocalHttpServer*>(s)->Requests().empty(); }, &server, 10000);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/site/version/Mirovale2009.xml");
    ::SendMessageW(main, WM_COMMAND, ID_HELP, 0);
    const std::string pages = run.OpenedPages();
    EXPECT_EQ(pages.find(testsupport::Utf8(base) + "help/pcapp3/"), 0u) << pages;
    EXPECT_EQ(run.Quit(main), 0u);
}

TEST(Program, ApplicationCommandsOpenTheirDialogs)
{
    ProgramRun run;
    run.WriteIni(kReadyIni);
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    struct Case {
        UINT command;
        int control;  // one of the dialog's own, 0: the about box, which has none
        const wchar_t* shot;
    } const cases[] = {
        {ID_APP_ABOUT, 0, L"program_about"},
        {ID_OPTION, ID_OPTION_TAB_CSV, L"program_options"},
        {ID_LANGUAGE_SELECT, kLanguageCombo, L"program_language_select"},
        {ID_MODEL_SELECT, kRegionCombo, L"program_model_select"},
        {ID_VERSION_CHECK, 1095, L"program_version_check"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "command " << c.command);
        ::PostMessageW(main, WM_COMMAND, c.command, 0);
        HWND dialog = nullptr;
        const DWORD start = ::GetTickCount();
        while (!dialog && ::GetTickCount() - start < 15000) {
            for (HWND box : run.TopWindows(L"#32770"))
                if (::IsWindowVisible(box))
                    dialog = box;
            PumpFor(50);
        }
        ASSERT_NE(dialog, nullptr);
        if (c.control)
            EXPECT_TRUE(HasControl(dialog, c.control));
        // Modal: the main window waits.
        EXPECT_FALSE(::IsWindowEnabled(main));
        PumpFor(300);
        skintest::Pixels(dialog).SavePng(c.shot);
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_NE(run.WaitExit(0), 0u);
        const DWORD closing = ::GetTickCount();
        while (::IsWindow(dialog) && ::GetTickCount() - closing < 5000)
            PumpFor(50);
        EXPECT_FALSE(::IsWindow(dialog));
        EXPECT_TRUE(::IsWindowEnabled(main));
    }
    EXPECT_EQ(run.Quit(main), 0u);
    // Cancelled choosers kept the files.
    EXPECT_EQ(run.ReadIni(L"File", L"LanguageFile"), L"English_US.dat");
    EXPECT_EQ(run.ReadIni(L"File", L"NaviFile"), L"US_KV410.dat");
}

TEST(Program, ViewSwitchFadesOnlyWithAnimationOn)
{
    for (int animation : {1, 0}) {
        SCOPED_TRACE(testing::Message() << "Animation=" << animation);
        ProgramRun run;
        run.WriteIni(L"[File]\nLanguageFile=English_US.dat\nNaviFile=US_KV410.dat\n[Option]\nVerCheck=0\nAnimation=" +
                     std::to_wstring(animation) + L"\n");
        ASSERT_TRUE(run.Start());
        HWND main = run.WaitMainWindow();
        ASSERT_NE(main, nullptr);
        ::PostMessageW(main, WM_COMMAND, ID_DRIVE_REPORT, 0);
        bool seen = false;
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < 400 && !seen) {
            seen = !run.TopWindows(L"effect window").empty();
            PumpFor(5);
        }
        EXPECT_EQ(seen, animation == 1);
        ASSERT_TRUE(WaitPage(main, L"DriveReport"));
        PumpFor(800);
        EXPECT_TRUE(run.TopWindows(L"effect window").empty());
    }
}

namespace {

std::vector<std::wstring> DollarEntries()
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::vector<std::wstring> names;
    for (const std::wstring& name : testsupport::ListFolder(temp))
        if (name.rfind(L"$$$", 0) == 0)
            names.push_back(name);
    return names;
}

}  // namespace

TEST(Program, VersionCheckAtStartLeavesNothingInTheTemporaryFolder)
{
    const std::vector<std::wstring> before = DollarEntries();
    ProgramRun run;
    // The published version cannot be fetched here (the web host does not resolve).
    run.WriteIni(L"[File]\nLanguageFile=English_US.dat\nNaviFile=US_KV410.dat\n[Option]\nVerCheck=1\n");
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    ::WaitForInputIdle(run.Process(), 15000);
    EXPECT_EQ(run.Quit(main), 0u);
    EXPECT_EQ(DollarEntries(), before);
}
