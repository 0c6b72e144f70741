// The version check: reading the published version, comparing part by part,
// removing the download folder, the loopback web service, and the dialog.
// The server header brings winsock2.h, which must come before windows.h.
#include <memory>

#include "PageRecorder.h"
#include "LocalHttpServer.h"

#include <windows.h>

#include <shlwapi.h>

#include <algorithm>

#include "DialogDriver.h"
#include "TestFiles.h"
#include "common/HttpDownload.h"
#include "core/Global.h"
#include "frame/VerCheckDlg.h"
#include "frame/VersionCheck.h"

using namespace dlgtest;
using namespace testsupport;

namespace {

std::wstring TempRoot()
{
    wchar_t temp[MAX_PATH] = {}, full[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    ::GetFullPathNameW(temp, MAX_PATH, full, nullptr);
    ::PathAddBackslashW(full);
    return full;
}

std::vector<std::wstring> DollarEntries()
{
    std::vector<std::wstring> found;
    for (const std::wstring& name : ListFolder(TempRoot()))
        if (name.rfind(L"$$$", 0) == 0)
            found.push_back(name);
    return found;
}

// A fresh "$$$" folder in the user's temporary folder, as the caller makes it.
std::wstring MakeDownloadFolder()
{
    wchar_t name[MAX_PATH] = {};
    ::GetTempFileNameW(TempRoot().c_str(), L"$$$", 0, name);
    ::DeleteFileW(name);
    ::PathRemoveExtensionW(name);
    ::CreateDirectoryW(name, nullptr);
    ::PathAddBackslashW(name);
    return name;
}

std::string VersionXml(const std::string& version)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Mirovale><Version>" + version + "</Version></Mirovale>\n";
}

struct ComInit {
    ComInit() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComInit() { ::CoUninitialize(); }
};

TEST(VersionCompare, PublishedTextsAndPartByPartOrder)
{
    const struct {
        const wchar_t* text;
        bool ok;
        int major, minor, third;
    } cases[] = {
        {L"231", true, 2, 3, 1},     {L"+230", true, 2, 3, 0}, {L"2.10.0", true, 2, 10, 0}, {L"2.3.1", true, 2, 3, 1},
        {L"0", true, 0, 0, 0},       {L"05", false},           {L" 231", false},            {L"231 ", false},
        {L"", false},                {L"2.3", false},          {L"2.3.1.4", false},         {L"2..1", false},
        {L"abc", false},             {L"-5", false},           {L"2.3.x", false},
    };
    for (const auto& c : cases) {
        VersionParts p;
        EXPECT_EQ(ParsePublishedVersion(c.text, p) != FALSE, c.ok) << Utf8(c.text);
        if (c.ok) {
            EXPECT_EQ(p.major, c.major) << Utf8(c.text);
            EXPECT_EQ(p.minor, c.minor) << Utf8(c.text);
            EXPECT_EQ(p.third, c.third) << Utf8(c.text);
        }
    }
    const struct {
        VersionParts a, b;
        int order;
    } orders[] = {
        {{2, 10, 0}, {2, 9, 0}, 1}, {{3, 0, 0}, {2, 10, 0}, 1}, {{2, 3, 10}, {2, 4, 0}, -1},
        {{2, 3, 0}, {2, 3, 0}, 0},  {{2, 3, 1}, {2, 3, 0}, 1},  {{1, 99, 99}, {2, 0, 0}, -1},
    };
    for (const auto& o : orders)
        EXPECT_EQ(CompareVersions(o.a, o.b), o.order) << o.a.major << "." << o.a.minor << "." << o.a.third;
}

class VersionFile : public ::testing::Test {
protected:
    void TearDown() override { theGlobal.m_tempFolderPath.Empty(); }
    ComInit com;
};

TEST_F(VersionFile, ResultsByPublishedFileAndTheFolderIsAlwaysRemoved)
{
    const struct {
        VersionParts own;
        std::string file;  // "" : no file downloaded
        int result;
    } cases[] = {
        {{2, 3, 0}, VersionXml("230"), 1},
        {{2, 3, 0}, VersionXml("231"), 2},
        {{2, 3, 0}, VersionXml("229"), 1},
        {{2, 3, 0}, VersionXml("2.3.1"), 2},
        {{2, 9, 0}, VersionXml("2.10.0"), 2},
        {{2, 10, 0}, VersionXml("290"), 1},   // the old number of 2.9.0
        {{2, 10, 0}, VersionXml("300"), 2},   // 3.0.0
        {{2, 10, 0}, VersionXml("2.9.5"), 1},
        {{2, 3, 0}, VersionXml("2.3"), 0},
        {{2, 3, 0}, VersionXml("05"), 0},
        {{2, 3, 0}, "<Mirovale><Other>231</Other></Mirovale>", 0},
        {{2, 3, 0}, "<Mirovale><Version>231</Version>", 0},  // not well-formed
        {{2, 3, 0}, "", 0},
        {{0, 0, 0}, VersionXml("1"), 2},  // no version resource: anything counts as newer
    };
    const std::vector<std::wstring> before = DollarEntries();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::wstring folder = MakeDownloadFolder();
        if (!c.file.empty())
            WriteBytes(folder + L"Mirovale2009.xml", c.file);
        theGlobal.m_tempFolderPath = folder.c_str();
        EXPECT_EQ(CheckVersionFileAgainst(c.own), c.result);
        EXPECT_TRUE(theGlobal.m_tempFolderPath.IsEmpty());
        EXPECT_FALSE(FileExists(folder));
    }
    EXPECT_EQ(DollarEntries(), before);
}

TEST_F(VersionFile, EmptyPathChecksNothingAndAFolderOutsideTempIsNeverDeleted)
{
    theGlobal.m_tempFolderPath.Empty();
    EXPECT_EQ(CheckVersionFile(), 0);

    const std::wstring outside = ExeDir() + L"$$$outside\\";
    ::CreateDirectoryW(outside.c_str(), nullptr);
    WriteBytes(outside + L"Mirovale2009.xml", VersionXml("9.9.9"));
    for (const std::wstring& path : {outside, TempRoot() + L"..\\" + outside.substr(outside.find(L"tests"))}) {
        theGlobal.m_tempFolderPath = path.c_str();
        CheckVersionFile();
        EXPECT_TRUE(FileExists(outside + L"Mirovale2009.xml")) << Utf8(path);
    }
    theGlobal.m_tempFolderPath = TempRoot().c_str();  // the temporary folder itself
    EXPECT_EQ(CheckVersionFile(), 0);
    EXPECT_TRUE(FileExists(TempRoot()));
    RemoveTree(outside);
}

TEST_F(VersionFile, DownloadedFromTheWebServiceAndNothingLeftBehind)
{
    LocalHttpServer server([](const HttpRequest& req, HttpConnection& conn) {
        if (req.target == "/mirovale/version/Mirovale2009.xml")
            conn.Reply(200, VersionXml("99.0.0"), "text/xml");
        else
            conn.Reply(404, "none");
    });
    const std::vector<std::wstring> before = DollarEntries();
    const CString base = (server.BaseUrl() + L"/mirovale/").c_str();
    for (const wchar_t* path : {L"version/Mirovale2009.xml", L"version/missing.xml"}) {
        const std::wstring folder = MakeDownloadFolder();
        theGlobal.m_tempFolderPath = folder.c_str();
        GetHttpFile(base + path, nullptr, (folder + L"Mirovale2009.xml").c_str(), 3000, 1);
        EXPECT_EQ(CheckVersionFile(), wcscmp(path, L"version/missing.xml") == 0 ? 0 : 2) << Utf8(path);
        EXPECT_FALSE(FileExists(folder));
    }
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(DollarEntries(), before);
}

class VersionDialog : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        savedArea = theGlobal.m_areaCode;
        savedCheck = theGlobal.m_verCheck;
        log = dir.File(L"urls.txt");
        recorder = std::make_unique<PageRecorder>(log);
    }
    void TearDown() override
    {
        recorder.reset();
        theGlobal.m_areaCode = savedArea;
        theGlobal.m_verCheck = savedCheck;
        theGlobal.m_tempFolderPath.Empty();
        DialogTest::TearDown();
    }
    std::string Opened() const
    {
        if (!FileExists(log))
            return "";
        const Bytes bytes = ReadBytes(log);
        return std::string(bytes.begin(), bytes.end());
    }
    ComInit com;
    TempDir dir;
    std::wstring log;
    std::unique_ptr<PageRecorder> recorder;
    int savedArea = 0, savedCheck = 0;
};

TEST_F(VersionDialog, ChecksWhenOpenedAndOffersTheDownloadOnlyForANewerVersion)
{
    theGlobal.m_areaCode = 1;
    const struct {
        std::string published;
        int result, message;
    } cases[] = {{"99.0.0", 2, 44}, {"0.0.1", 1, 46}, {"junk", 0, 47}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.published);
        const std::wstring folder = MakeDownloadFolder();
        WriteBytes(folder + L"Mirovale2009.xml", VersionXml(c.published));
        theGlobal.m_tempFolderPath = folder.c_str();
        CVerCheckDlg dlg;
        const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
            EXPECT_EQ(dlg.m_result, c.result);
            EXPECT_FALSE(FileExists(folder));
            EXPECT_STREQ(dlg.MessageText(), theGlobal.UiString(c.message));
            EXPECT_STREQ(dlg.GetCaption(), theGlobal.UiString(246));
            EXPECT_EQ(dlg.m_btnDownload.IsWindowEnabled() != FALSE, c.result == 2);
            if (c.result == 2)
                SaveShot(dlg.m_hWnd, L"version_check_newer");
            ClickChild(dlg.m_btnDownload.m_hWnd);
            ClickChild(dlg.m_btnOK.m_hWnd);
        });
        EXPECT_EQ(r, IDOK);
        EXPECT_EQ(Opened().empty(), c.result != 2);
        ::DeleteFileW(log.c_str());
    }
}

TEST_F(VersionDialog, DownloadPageByBrandAndLanguage)
{
    EXPECT_STREQ(CVerCheckDlg::DownloadPage(2, L"English_AU"), L"https://www.halvern.eu/seravine/");
    EXPECT_STREQ(CVerCheckDlg::DownloadPage(1, L"English_AU"), L"https://www.halvern.com/au/mirovale/");
    EXPECT_STREQ(CVerCheckDlg::DownloadPage(1, L"English_US"), L"https://www.halvern.com/us/mirovale/download/");
    EXPECT_STREQ(CVerCheckDlg::DownloadPage(1, L"english_au"), L"https://www.halvern.com/us/mirovale/download/");

    theGlobal.m_areaCode = 2;
    CVerCheckDlg dlg;
    dlg.m_result = 2;  // as start-up presets it: no check again
    RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        ClickChild(dlg.m_btnDownload.m_hWnd);
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(Opened(), "https://www.halvern.eu/seravine/\n");
}

TEST_F(VersionDialog, UncheckingTheBoxTurnsTheStartUpCheckOffAtOnce)
{
    theGlobal.m_verCheck = 1;
    CVerCheckDlg dlg;
    dlg.m_result = 1;
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_EQ(dlg.m_checkStartup.GetCheck(), 1);
        RealClick(dlg.m_checkStartup.m_hWnd, 8, 9);
        EXPECT_EQ(theGlobal.m_verCheck, 0);
        EXPECT_EQ(dlg.m_checkStartup.GetCheck(), 0);
        SaveShot(dlg.m_hWnd, L"version_check_unchecked");
        ClickChild(dlg.m_btnClose.m_hWnd);  // the caption's close button
    });
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_EQ(theGlobal.m_verCheck, 0);

    CVerCheckDlg again;
    again.m_result = 1;
    RunModal([&] { return again.DoModal(); }, [&](CCustomDialog&) {
        EXPECT_EQ(again.m_checkStartup.GetCheck(), 0);
        RealClick(again.m_checkStartup.m_hWnd, 8, 9);
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(theGlobal.m_verCheck, 1);
}

}  // namespace
