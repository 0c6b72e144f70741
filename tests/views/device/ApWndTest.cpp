// The apps view in a test window against a loopback apps service and the
// card drive R:: what it lists, the marks and their limit, the write to the
// card, failures, a damaged card list, a cancelled chooser and a cancelled
// download.
#include "LocalHttpServer.h"  // winsock2.h before windows.h

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "ImageFixtures.h"
#include "ScriptedAnswers.h"
#include "TestFiles.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "doc/DocPaths.h"
#include "doc/DocAp.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/device/ApWnd.h"

using namespace dlgtest;
using namespace testsupport;

namespace {

const char kDigits[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 15};

struct Offer {
    std::string id, version;
    std::string description = "";
    int appId = 10;  // -1: none given
};

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }
std::wstring Ui(int n) { return std::wstring(theGlobal.UiString(n)); }

struct ChooserAnswer {
    int calls = 0;
    std::vector<BOOL> required;
    std::wstring root;  // empty: Cancel
} g_chooser;

BOOL AnswerChooser(BOOL requireDeviceFile, CString& root)
{
    ++g_chooser.calls;
    g_chooser.required.push_back(requireDeviceFile);
    if (g_chooser.root.empty())
        return FALSE;
    root = g_chooser.root.c_str();
    return TRUE;
}

bool g_cardFound = true;
BOOL FindCard() { return g_cardFound; }

std::vector<std::wstring> g_pages;
void RecordPage(HWND, const wchar_t* address) { g_pages.push_back(address); }

class AppsView : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        ClearCard();
        icon = imagetest::MakeBmp(58, 54, [](int x, int y) { return imagetest::Rgb{BYTE(x), BYTE(y), 7}; });
        server = std::make_unique<LocalHttpServer>([this](const HttpRequest& r, HttpConnection& c) { Serve(r, c); });
        const std::wstring base = server->BaseUrl();
        baseUrl.assign(base.begin(), base.end());
        saved.service = theGlobal.m_appsService;
        saved.device = theGlobal.m_deviceNo;
        saved.model = theGlobal.m_modelType;
        saved.viewKind = theGlobal.m_viewKind;
        theGlobal.m_viewKind = 12;  // the apps view is the current one
        theGlobal.m_appsService = server->BaseUrl().c_str();
        theGlobal.m_deviceNo = L"00000000000000AF";
        theGlobal.m_modelType = 4;
        CDocAp& d = doc();
        d.InitErrorStrings();
        d.ClearAll();
        d.m_downloadTimeout = 5000;
        d.m_downloadRetries = 1;
        g_chooser = ChooserAnswer();
        g_chooser.root = CardRoot();
        g_cardFound = true;
        g_pages.clear();
        CApWnd::s_chooseDrive = AnswerChooser;
        CApWnd::s_findAppsCard = FindCard;
        CApWnd::s_openPage = RecordPage;
        apps = CardRoot() + L"Oskra-APPS\\";
        ASSERT_TRUE(CreateFolderPath(apps.c_str()));
        WriteBytes(apps + L"Device.dat", std::string(kDigits, 16));
        main.MoveWindow(0, 0, 1010, 740);
        ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700), &main, 0xFFFF));
    }
    void TearDown() override
    {
        if (view.m_hWnd)
            view.DestroyWindow();
        stopping = true;
        server.reset();
        doc().ClearAll();
        theGlobal.m_appsService = saved.service;
        theGlobal.m_deviceNo = saved.device;
        theGlobal.m_modelType = saved.model;
        theGlobal.m_viewKind = saved.viewKind;
        ClearCard();
        DialogTest::TearDown();
    }
    static CDocAp& doc() { return theGlobal.m_docAp; }
    std::string Url(const std::string& id, const std::string& file) const
    {
        return baseUrl + "/apps/" + id + "/" + file;
    }
    std::string ListXml() const
    {
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DownloadList><MirovaleVersion>1</MirovaleVersion>";
        for (const Offer& o : offers) {
            xml += "<item>" + (o.appId < 0 ? std::string() : "<applicationId>" + std::to_string(o.appId) + "</applicationId>") +
                   "<name>" + o.id + "</name><version>" + o.version +
                   "</version><descriptionURL>" + (o.description.empty() ? Url(o.id, "about.html") : o.description) +
                   "</descriptionURL><imageURL><Normal>" + Url(o.id, "n.bmp") + "</Normal><Push>" + Url(o.id, "p.bmp") +
                   "</Push><Disable>" + Url(o.id, "d.bmp") + "</Disable></imageURL><exefileURL>" +
                   Url(o.id, o.id + ".exe") + "</exefileURL><regfileURL>" + Url(o.id, o.id + ".enc") +
                   "</regfileURL><filesize>1572864</filesize></item>";
        }
        return xml + "</DownloadList>";
    }
    void Serve(const HttpRequest& r, HttpConnection& c)
    {
        const std::string t = r.target;
        if (t.find("DownloadListAPI") != std::string::npos) {
            const int call = ++listCalls;
            if (call <= failingLists) {
                c.Reply(500, "<html>down</html>", "text/html");
                return;
            }
            // A slow reply ends early when the test is over.
            const int delay = listDelayMs + (call > 1 ? laterListDelayMs : 0);
            for (int waited = 0; waited < delay && !stopping; waited += 50)
                ::Sleep(50);
            if (stopping)
                c.Close();
            else
                c.Reply(200, ListXml(), "text/xml");
        } else if (t.find("/missing") != std::string::npos) {
            c.Reply(404, "<html>Not Found</html>", "text/html");
        } else if (t.size() > 4 && t.compare(t.size() - 4, 4, ".bmp") == 0) {
            c.Reply(200, Text(icon), "image/bmp");
        } else {
            c.Reply(200, "content of " + t);
        }
    }
    // An installed app: its files and its entry in the card's list.
    void Install(const std::string& id, const std::string& version)
    {
        const std::wstring wid(id.begin(), id.end());
        const std::wstring folder = apps + wid + L"\\";
        ASSERT_TRUE(CreateFolderPath(folder.c_str()));
        for (const std::wstring& name : {wid + L".exe", wid + L".enc", std::wstring(L"n.bmp"), std::wstring(L"p.bmp"),
                                         std::wstring(L"d.bmp")})
            WriteBytes(folder + name, name.size() > 4 && name.substr(name.size() - 4) == L".bmp" ? Text(icon)
                                                                                               : "installed");
        installed.Add(APPLIST_ENTRY{CString(wid.c_str()), CString((L"Oskra-APPS\\" + wid + L"\\" + wid + L".exe").c_str()),
                                    FALSE, CString(std::wstring(version.begin(), version.end()).c_str())});
        WriteBytes(apps + L"Applist.dat", BuildAppList(installed));
    }
    // Version 1.0 of each app offered and of each installed.
    void OfferAndInstall(std::initializer_list<const char*> offered, std::initializer_list<const char*> onCard)
    {
        offers.clear();
        for (const char* id : offered)
            offers.push_back({id, "1.0"});
        for (const char* id : onCard)
            Install(id, "1.0");
    }
    std::map<std::wstring, Bytes> Snapshot()
    {
        std::map<std::wstring, Bytes> files;
        for (const std::wstring& n : ListFolder(apps))
            files[n] = (GetFileAttributesW((apps + n).c_str()) & FILE_ATTRIBUTE_DIRECTORY) ? Bytes{} : ReadBytes(apps + n);
        return files;
    }
    void Show()
    {
        view.ShowWindow(SW_SHOW);
        view.SendMessage(WM_COMMAND, ID_UPDATE, 0);
        PumpPending();
    }
    // A real click on a cell of a list (rows of the list's height, no header).
    void ClickCell(CApWebListCtrl& list, int row, int column)
    {
        int x = 0;
        for (int c = 0; c < column; ++c) {
            HD_ITEMW hd{};
            hd.mask = HDI_WIDTH;
            list.m_header.GetItem(c, &hd);
            x += hd.cxy;
        }
        HD_ITEMW hd{};
        hd.mask = HDI_WIDTH;
        list.m_header.GetItem(column, &hd);
        RealClick(list.m_hWnd, x + hd.cxy / 2, list.GetRowHeight() * row + list.GetRowHeight() / 2);
        PumpUntil([] { return false; }, 150);
    }

    Bytes icon;
    std::atomic<bool> stopping{false};
    std::string baseUrl;
    std::unique_ptr<LocalHttpServer> server;
    std::vector<Offer> offers{{"alpha", "1.0"}, {"bravo", "2.0"}, {"charlie", "1.0"}};
    int listDelayMs = 0;
    // The first failingLists list requests fail; those after the first wait
    // laterListDelayMs more.
    std::atomic<int> listCalls{0};
    int failingLists = 0, laterListDelayMs = 0;
    CAppListEntries installed;
    std::wstring apps;
    CApWnd view;
    struct {
        CString service, device;
        int model = 0;
        int viewKind = 0;
    } saved;
};

TEST_F(AppsView, ListsTheOfferedAndTheInstalledApps)
{
    Install("bravo", "1.0");    // an older version: an update
    Install("charlie", "1.0");  // current
    ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
    Show();
    EXPECT_TRUE(answers.asked.empty()) << testsupport::Utf8(answers.asked.empty() ? L"" : answers.asked[0]);
    ASSERT_EQ(view.m_webList.GetItemCount(), 3);
    ASSERT_EQ(view.m_cardList.GetItemCount(), 2);
    EXPECT_TRUE(view.m_webList.IsWindowEnabled());
    EXPECT_TRUE(view.m_cardList.IsWindowEnabled());
    EXPECT_STREQ(CApWnd::WebRowText(0), L"FT<1.50MB>alpha");
    EXPECT_STREQ(CApWnd::WebRowText(1), L"TT<1.50MB>bravo");
    EXPECT_STREQ(CApWnd::WebRowText(2), L"FF<1.50MB>charlie");
    const int checks[] = {1, 1, 3};
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(CApWnd::CheckImage(r), checks[r]) << r;
    EXPECT_EQ(view.m_webList.GetRowHeight(), 73);
    // The remembered number is known: the chooser lists every drive.
    EXPECT_EQ(g_chooser.required, std::vector<BOOL>{FALSE});
    EXPECT_EQ(std::wstring(doc().GetCardRoot()), CardRoot());
    SaveShot(view.m_hWnd, L"apps_lists");
}

TEST_F(AppsView, NoServiceOrNoDeviceNumberSaySoAndLoadNothing)
{
    theGlobal.m_appsService.Empty();
    {
        ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
        Show();
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(418)});
    }
    EXPECT_TRUE(server->Requests().empty());
    view.ShowWindow(SW_HIDE);

    theGlobal.m_appsService = server->BaseUrl().c_str();
    theGlobal.m_deviceNo.Empty();
    g_cardFound = false;
    {
        ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
        Show();
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(416)});
    }
    EXPECT_EQ(g_chooser.calls, 0);
    EXPECT_TRUE(server->Requests().empty());
    EXPECT_FALSE(view.m_webList.IsWindowEnabled());
}

TEST_F(AppsView, ACardFoundGivesItsDeviceNumber)
{
    theGlobal.m_deviceNo.Empty();
    const char digits[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0};
    WriteBytes(apps + L"Device.dat", std::string(digits, 16));
    Show();
    EXPECT_EQ(g_chooser.required, std::vector<BOOL>{TRUE});
    EXPECT_STREQ(theGlobal.m_deviceNo, L"123456789ABCDEF0");
    auto requests = server->Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_NE(requests[0].body.find("devno=123456789ABCDEF0"), std::string::npos);
}

TEST_F(AppsView, MarksStopAtEightAppsOnTheCard)
{
    OfferAndInstall({"n1", "n2", "n3", "n4", "a1", "a2", "a3", "a4", "a5"}, {"a1", "a2", "a3", "a4", "a5"});
    Show();
    ASSERT_EQ(view.m_webList.GetItemCount(), 9);
    ::SetForegroundWindow(main.m_hWnd);
    // An installed, current app cannot be marked.
    ClickCell(view.m_webList, 4, 0);
    EXPECT_EQ(doc().CountChecked(), 0);
    ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
    for (int row : {0, 1, 2})
        ClickCell(view.m_webList, row, 0);
    EXPECT_EQ(doc().CountChecked(), 3);
    EXPECT_TRUE(answers.asked.empty());
    ClickCell(view.m_webList, 3, 0);
    EXPECT_EQ(doc().CountChecked(), 3);
    EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(422)});
    // Unmarking one makes room for another.
    ClickCell(view.m_webList, 2, 0);
    ClickCell(view.m_webList, 3, 0);
    EXPECT_EQ(doc().CountChecked(), 3);
    EXPECT_EQ(doc().m_serverApps[2].m_checked, 0);
    EXPECT_EQ(doc().m_serverApps[3].m_checked, 1);
    SaveShot(view.m_hWnd, L"apps_marked");
}

TEST_F(AppsView, ExportWritesTheMarkedAppsAndReadsTheCardBack)
{
    Install("charlie", "1.0");
    Show();
    view.SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_FALSE(view.m_export.IsWindowEnabled());
    doc().m_serverApps[0].m_checked = 1;
    view.SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_TRUE(view.m_export.IsWindowEnabled());
    ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
    view.SendMessage(WM_COMMAND, ID_EXPORT, 0);
    PumpPending();
    EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(16)});
    EXPECT_EQ(Text(ReadBytes(apps + L"alpha\\alpha.exe")), "content of /apps/alpha/alpha.exe");
    ASSERT_EQ(view.m_cardList.GetItemCount(), 2);
    EXPECT_STREQ(CApWnd::CardRowText(0).Mid(CApWnd::CardRowText(0).Find(L'>') + 1), L"charlie");
}

TEST_F(AppsView, AFailedDownloadLeavesTheCardAsItWas)
{
    Install("charlie", "1.0");
    Show();
    std::map<std::wstring, Bytes> before = Snapshot();
    doc().m_serverApps[0].m_urls[AP_URL_EXE] = (server->BaseUrl() + L"/apps/alpha/missing.exe").c_str();
    doc().m_serverApps[0].m_checked = 1;
    ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
    view.SendMessage(WM_COMMAND, ID_EXPORT, 0);
    PumpPending();
    CString expected;
    doc().GetErrorString(expected);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0], std::wstring(expected));
    EXPECT_NE(answers.asked[0], Ui(16));
    EXPECT_EQ(before, Snapshot());
}

TEST_F(AppsView, ADamagedCardListIsSaidAndOffersNothingToWrite)
{
    WriteBytes(apps + L"Applist.dat", std::string("garbage that is no list"));
    ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
    Show();
    CString expected;
    doc().GetErrorString(expected);
    EXPECT_EQ(doc().GetErrorCode(), DOCERR_READ);
    EXPECT_EQ(answers.asked, std::vector<std::wstring>{std::wstring(expected)});
    EXPECT_TRUE(doc().GetCardRoot().IsEmpty());
    EXPECT_FALSE(view.m_cardList.IsWindowEnabled());
    doc().m_serverApps[0].m_checked = 1;
    view.SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_FALSE(view.m_export.IsWindowEnabled());
}

// With the chooser cancelled no card is read: not even an apps folder in the
// PC's current folder.
TEST_F(AppsView, ACancelledChooserReadsNoCard)
{
    TempDir cwd;
    wchar_t old[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, old);
    ASSERT_TRUE(::SetCurrentDirectoryW(cwd.Path().c_str()));
    std::wstring savedApps = apps;
    apps = cwd.Path() + L"\\Oskra-APPS\\";
    ASSERT_TRUE(CreateFolderPath(apps.c_str()));
    Install("charlie", "1.0");
    apps = savedApps;
    g_chooser.root.clear();
    Show();
    ::SetCurrentDirectoryW(old);
    EXPECT_EQ(view.m_webList.GetItemCount(), 3);
    EXPECT_EQ(view.m_cardList.GetItemCount(), 0);
    EXPECT_TRUE(doc().GetCardRoot().IsEmpty());
}

TEST_F(AppsView, OnlyWebPagesOpenFromTheInfoButton)
{
    offers = {{"alpha", "1.0", "https://apps.example/alpha"}, {"bravo", "1.0", "file:///C:/windows/notepad.exe"},
              {"charlie", "1.0", "javascript:alert(1)"},
              // A quote would end the address on the browser's command line.
              {"delta", "1.0", "https://apps.example/d\" --load-extension=C:\\x"}};
    Show();
    ::SetForegroundWindow(main.m_hWnd);
    for (int row = 0; row < 4; ++row)
        ClickCell(view.m_webList, row, 2);
    EXPECT_EQ(g_pages, std::vector<std::wstring>{L"https://apps.example/alpha"});
}

TEST_F(AppsView, DeletingAnInstalledAppAsksFirst)
{
    Install("charlie", "1.0");
    Show();
    ::SetForegroundWindow(main.m_hWnd);
    {
        ScriptedAnswers answers({{Ui(71), IDCANCEL}}, ScriptedAnswers::GivenText);
        ClickCell(view.m_cardList, 0, 1);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(71)});
    }
    EXPECT_EQ(view.m_cardList.GetItemCount(), 1);
    {
        ScriptedAnswers answers({{Ui(71), IDOK}}, ScriptedAnswers::GivenText);
        ClickCell(view.m_cardList, 0, 1);
    }
    EXPECT_EQ(view.m_cardList.GetItemCount(), 0);
    EXPECT_FALSE(FileExists(apps + L"charlie\\charlie.exe"));
}

HWND g_progress;

// The progress dialog is the program's window with the message item 1005.
void CALLBACK PressCancelOnProgress(HWND, UINT, UINT_PTR, DWORD)
{
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetNextWindow(w, GW_HWNDNEXT)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(w, &pid);
        if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(w) && ::GetDlgItem(w, 1005)) {
            g_progress = w;
            ::PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
        }
    }
}

// The list is slow to come: Cancel on the progress dialog ends the wait at
// once, says nothing and loads nothing; the window answered meanwhile.
TEST_F(AppsView, CancelEndsASlowDownload)
{
    listDelayMs = 20000;
    g_progress = nullptr;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 400, PressCancelOnProgress);
    ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
    const DWORD start = ::GetTickCount();
    Show();
    const DWORD took = ::GetTickCount() - start;
    ::KillTimer(nullptr, timer);
    EXPECT_NE(g_progress, nullptr);
    EXPECT_LT(took, 10000u);
    EXPECT_TRUE(answers.asked.empty());
    EXPECT_EQ(view.m_webList.GetItemCount(), 0);
}

// The commands the view sent the main window, in order.
std::vector<UINT> Commands(const skintest::CRecorderWnd& main)
{
    std::vector<UINT> sent;
    for (const skintest::LoggedMessage& m : main.log)
        if (m.msg == WM_COMMAND)
            sent.push_back(LOWORD(m.wp));
    return sent;
}

TEST_F(AppsView, BackAndTopEmptyTheDocumentAndGoToTheStartMenu)
{
    for (UINT command : {ID_BACK, ID_TOP}) {
        view.ShowWindow(SW_HIDE);
        Show();
        ASSERT_GT(doc().m_serverApps.GetSize(), 0) << command;
        ASSERT_FALSE(doc().GetCardRoot().IsEmpty()) << command;
        main.Clear();
        view.SendMessage(WM_COMMAND, command, 0);
        EXPECT_EQ(doc().m_serverApps.GetSize(), 0) << command;
        EXPECT_TRUE(doc().GetCardRoot().IsEmpty()) << command;
        // The start menu is refreshed before it is shown.
        EXPECT_EQ(Commands(main), (std::vector<UINT>{ID_MENU_REFRESH, ID_MAIN_MENU})) << command;
        EXPECT_STREQ(theGlobal.m_deviceNo, L"00000000000000AF");
    }
}

// The red tag of an update says so, and the note names the write button by
// the caption it shows.
TEST_F(AppsView, TheTagAndTheNoteSayWhatTheUserSees)
{
    EXPECT_NE(Ui(412).find(L"Update"), std::wstring::npos) << testsupport::Utf8(Ui(412));
    EXPECT_NE(Ui(424).find(std::wstring(L"click ") + CApWnd::kWriteCaption), std::wstring::npos)
        << testsupport::Utf8(Ui(424));
}

// The rows name each app as the service names it for the user; an app
// without a display name shows its id.
TEST_F(AppsView, RowsShowTheDisplayName)
{
    offers = {{"alpha", "1.0", "", 10}, {"bravo", "1.0", "", 2}, {"charlie", "1.0", "", -1}};
    Install("bravo", "0.9");
    Show();
    ASSERT_EQ(view.m_webList.GetItemCount(), 3);
    EXPECT_STREQ(CApWnd::WebRowText(0), L"FT<1.50MB>alpha");
    EXPECT_STREQ(CApWnd::WebRowText(1), L"TT<1.50MB>Video");
    EXPECT_STREQ(CApWnd::WebRowText(2), L"FT<1.50MB>charlie");
    ASSERT_EQ(view.m_cardList.GetItemCount(), 1);
    doc().m_cardApps[0].m_name = L"Video on the card";
    const CString card = CApWnd::CardRowText(0);
    EXPECT_STREQ(card.Mid(card.Find(L'>') + 1), L"Video on the card");
}

// Apps the service no longer offers are not listed but still take their
// places on the card.
TEST_F(AppsView, WithdrawnAppsCountTowardsTheEight)
{
    OfferAndInstall({"n1", "n2", "n3", "n4", "a1", "a2", "a3"}, {"a1", "a2", "a3", "w1", "w2"});
    Show();
    ASSERT_EQ(view.m_cardList.GetItemCount(), 3);
    ::SetForegroundWindow(main.m_hWnd);
    ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
    for (int row : {0, 1, 2, 3})
        ClickCell(view.m_webList, row, 0);
    EXPECT_EQ(doc().CountChecked(), 3);
    EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(422)});
}

// Cancel in the chooser keeps what the view shows: the lists, the card and
// the marks; nothing is downloaded again.
TEST_F(AppsView, DriveSelectCancelledKeepsEverything)
{
    Install("charlie", "1.0");
    Show();
    doc().m_serverApps[0].m_checked = 1;
    const size_t requests = server->Requests().size();
    g_chooser.root.clear();
    ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
    view.SendMessage(WM_COMMAND, ID_DRIVE_SELECT, 0);
    PumpPending();
    EXPECT_EQ(g_chooser.calls, 2);
    EXPECT_TRUE(answers.asked.empty());
    EXPECT_EQ(server->Requests().size(), requests);
    EXPECT_EQ(view.m_webList.GetItemCount(), 3);
    EXPECT_EQ(view.m_cardList.GetItemCount(), 1);
    EXPECT_EQ(std::wstring(doc().GetCardRoot()), CardRoot());
    EXPECT_EQ(doc().CountChecked(), 1);
}

// A chosen card whose list download fails: the download is tried once more,
// silently, and the card is read either way.
TEST_F(AppsView, DriveSelectTriesAFailedDownloadOnceMoreAndReadsTheCard)
{
    Install("charlie", "1.0");
    g_chooser.root.clear();
    Show();
    ASSERT_TRUE(doc().GetCardRoot().IsEmpty());
    g_chooser.root = CardRoot();
    const struct {
        int failing, lists;
        INT_PTR offered;
    } cases[] = {{1, 2, 3}, {2, 2, 0}};
    for (const auto& c : cases) {
        listCalls = 0;
        failingLists = c.failing;
        ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
        view.SendMessage(WM_COMMAND, ID_DRIVE_SELECT, 0);
        PumpPending();
        EXPECT_TRUE(answers.asked.empty()) << c.failing;
        EXPECT_EQ(listCalls.load(), c.lists) << c.failing;
        EXPECT_EQ(doc().m_serverApps.GetSize(), c.offered) << c.failing;
        EXPECT_EQ(std::wstring(doc().GetCardRoot()), CardRoot()) << c.failing;
        EXPECT_TRUE(view.m_cardList.IsWindowEnabled()) << c.failing;
    }
    EXPECT_EQ(view.m_cardList.GetItemCount(), 0);  // nothing offered: nothing to show
}

std::vector<BOOL> g_cardShown;
CApWnd* g_view;
void CALLBACK NoteCardShown(HWND, UINT, UINT_PTR, DWORD) { g_cardShown.push_back(g_view->ShowsCard()); }

// While a task runs the heading does not read the card root the worker
// writes: here the first load reads the card, then the retried download is
// slow.
TEST_F(AppsView, TheCardHeadingWaitsForTheTask)
{
    g_chooser.root.clear();
    Show();
    g_chooser.root = CardRoot();
    listCalls = 0;
    failingLists = 1;
    laterListDelayMs = 1200;
    g_cardShown.clear();
    g_view = &view;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, NoteCardShown);
    view.SendMessage(WM_COMMAND, ID_DRIVE_SELECT, 0);
    ::KillTimer(nullptr, timer);
    ASSERT_EQ(listCalls.load(), 2);
    ASSERT_GE(g_cardShown.size(), 5u);
    EXPECT_EQ(std::count(g_cardShown.begin(), g_cardShown.end(), TRUE), 0);
    EXPECT_TRUE(view.ShowsCard());
}

}  // namespace
