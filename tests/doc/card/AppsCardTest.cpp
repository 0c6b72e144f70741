// The apps on the card: the list file the unit reads, the device file, the app
// folders, and transfers from a loopback server.
#include "LocalHttpServer.h"  // winsock2.h before windows.h

#include <gtest/gtest.h>

#include <objbase.h>

#include <map>
#include <string>

#include "DocTestSupport.h"
#include "GoldenFiles.h"
#include "ImageFixtures.h"
#include "SmallCardFolder.h"
#include "TestFiles.h"
#include "doc/DocAp.h"
#include "doc/DocPaths.h"

using namespace testsupport;

namespace {

const char kDigits[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 15};

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

class AppsCard : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        ClearCard();
        icon = imagetest::MakeBmp(58, 54, [](int x, int y) { return imagetest::Rgb{BYTE(x), BYTE(y), 7}; });
        server = std::make_unique<LocalHttpServer>([this](const HttpRequest& r, HttpConnection& c) { Serve(r, c); });
        doc.m_downloadTimeout = 5000;
        doc.m_downloadRetries = 1;
        memcpy(doc.m_deviceNumber, kDigits, 16);
        apps = GetAppsCardFolder(CardRoot().c_str()).GetString();
    }
    void TearDown() override
    {
        server.reset();
        ClearCard();
        CoUninitialize();
    }
    // /apps/<id>/<file>: icons are bitmaps, other files name themselves.
    void Serve(const HttpRequest& r, HttpConnection& c)
    {
        std::string t = r.target.substr(0, r.target.find('?'));
        if (t.find("/missing") != std::string::npos)
            c.Reply(404, "<html>Not Found</html>", "text/html");
        else if (t.find("/servererror") != std::string::npos)
            c.Reply(500, "<html>Internal error</html>", "text/html");
        else if (t.find("/cut") != std::string::npos)
            c.SendRaw("HTTP/1.1 200 OK\r\nContent-Length: 9000\r\nConnection: close\r\n\r\npartial");
        else if (t.find("/big") != std::string::npos)
            c.Reply(200, std::string(300 * 1024, 'B'));
        else if (t.size() > 4 && t.compare(t.size() - 4, 4, ".bmp") == 0)
            c.Reply(200, Text(icon), "image/bmp");
        else
            c.Reply(200, "content of " + t);
    }
    // An offered app whose files live under /apps/<id>/ on the server.
    CDocApRecord App(const std::wstring& id, const std::wstring& exe, const wchar_t* version = L"1.0",
                     std::initializer_list<std::wstring> dlls = {})
    {
        std::wstring base = server->BaseUrl() + L"/apps/" + id + L"/";
        CDocApRecord a;
        a.m_id = id.c_str();
        a.m_name = (L"App " + id).c_str();
        a.m_applicationId = 10;
        a.m_version = version;
        a.m_urls[AP_URL_EXE] = (base + exe).c_str();
        a.m_urls[AP_URL_REG] = (base + id + L".enc").c_str();
        a.m_urls[AP_URL_IMAGE_NORMAL] = (base + L"n.bmp").c_str();
        a.m_urls[AP_URL_IMAGE_PUSH] = (base + L"p.bmp").c_str();
        a.m_urls[AP_URL_IMAGE_DISABLE] = (base + L"d.bmp?size=58").c_str();
        for (const std::wstring& dll : dlls)
            a.m_dllUrls.Add((base + dll).c_str());
        return a;
    }
    // The app's files on the card, as a transfer would have left them.
    void Install(const CDocApRecord& a)
    {
        std::wstring folder = apps + a.m_id.GetString() + L"\\";
        ASSERT_TRUE(CreateFolderPath(folder.c_str()));
        CStringArray names;
        ASSERT_TRUE(a.GetFileNames(names));
        for (const CString& n : names)
            WriteBytes(folder + n.GetString(), n.Right(4) == L".bmp" ? Text(icon) : std::string("installed ") + Utf8(n.GetString()));
    }
    void WriteList(std::initializer_list<APPLIST_ENTRY> entries)
    {
        CAppListEntries list;
        for (const APPLIST_ENTRY& e : entries)
            list.Add(e);
        ASSERT_TRUE(CreateFolderPath(apps.c_str()));
        WriteBytes(apps + L"Applist.dat", BuildAppList(list));
    }
    CAppListEntries ReadList()
    {
        CAppListEntries list;
        EXPECT_TRUE(CDocAp::ReadApplistFile((apps + L"Applist.dat").c_str(), list));
        return list;
    }
    std::map<std::wstring, Bytes> Snapshot()
    {
        std::map<std::wstring, Bytes> files;
        for (const std::wstring& n : ListFolder(apps))
            if (FileExists(apps + n) && !(GetFileAttributesW((apps + n).c_str()) & FILE_ATTRIBUTE_DIRECTORY))
                files[n] = ReadBytes(apps + n);
            else
                files[n + L"\\"] = {};
        return files;
    }

    Bytes icon;
    std::unique_ptr<LocalHttpServer> server;
    doctest::PrivateTemp temp;
    CDocAp doc;
    std::wstring apps;
};

const APPLIST_ENTRY kOld{L"Old one", L"Oskra-APPS\\old\\old_main.exe", FALSE, L"0.9"};
const APPLIST_ENTRY kKeep{L"Keeper", L"Oskra-APPS\\keep\\keeper.bin", TRUE, L"1.0"};

TEST_F(AppsCard, TransferInstallsTickedAppsAndKeepsTheCardsOtherEntries)
{
    WriteList({kOld, kKeep});
    WriteBytes(apps + L"Device.dat", std::string(kDigits, 16) + "UNIT");
    doc.m_serverApps.Add(App(L"keep", L"keeper.bin", L"1.2"));
    doc.m_serverApps.Add(App(L"newapp", L"new.exe", L"2.0", {L"n1.dll", L"n2.dll"}));
    doc.m_serverApps.Add(App(L"skipped", L"s.exe"));
    doc.m_serverApps[0].m_checked = 1;
    doc.m_serverApps[1].m_checked = 1;
    doc.m_serverApps[1].m_flag = 1;
    ASSERT_TRUE(doc.TransferToCard(CardRoot().c_str(), 81, 4)) << doc.GetErrorCode();

    golden::Expect(L"Applist_transfer.dat", apps + L"Applist.dat");
    std::vector<std::wstring> files = {L"d.bmp", L"n.bmp", L"n1.dll", L"n2.dll", L"new.exe", L"newapp.enc", L"p.bmp"};
    EXPECT_EQ(files, ListFolder(apps + L"newapp\\"));
    EXPECT_EQ("content of /apps/newapp/n2.dll", Text(ReadBytes(apps + L"newapp\\n2.dll")));
    EXPECT_EQ(icon, ReadBytes(apps + L"newapp\\d.bmp"));
    EXPECT_EQ("content of /apps/keep/keeper.bin", Text(ReadBytes(apps + L"keep\\keeper.bin")));
    EXPECT_FALSE(FileExists(apps + L"skipped"));
    EXPECT_EQ(std::string(kDigits, 16) + "UNIT", Text(ReadBytes(apps + L"Device.dat")));  // the unit's bytes stay
    EXPECT_EQ(0, temp.CountEntries()) << "work folder left behind";
    EXPECT_TRUE(theGlobal.m_appTempFolder.IsEmpty());
}

// The golden list read by the offsets of the unit's record layout.
TEST_F(AppsCard, GoldenListHoldsTheLayoutsValues)
{
    Bytes g = ReadBytes(golden::Path(L"Applist_transfer.dat"));
    ASSERT_EQ(3u * 1538u, g.size());
    auto text = [&](size_t at) { return std::wstring(reinterpret_cast<const wchar_t*>(g.data() + at)); };
    auto zeroFilled = [&](size_t at, size_t used) {
        for (size_t i = at + used; i < at + 512; ++i)
            if (g[i])
                return false;
        return true;
    };
    EXPECT_EQ(L"Old one", text(0));
    EXPECT_EQ(L"Oskra-APPS\\old\\old_main.exe", text(512));
    EXPECT_EQ(0, g[1024] | g[1025]);
    EXPECT_EQ(L"0.9", text(1026));
    size_t r = 1538;
    EXPECT_EQ(L"App keep", text(r));  // replaced in place
    EXPECT_EQ(L"Oskra-APPS\\keep\\keeper.bin", text(r + 512));
    EXPECT_EQ(L"1.2", text(r + 1026));
    r = 2 * 1538;
    EXPECT_EQ(L"App newapp", text(r));
    EXPECT_EQ(L"Oskra-APPS\\newapp\\new.exe", text(r + 512));
    EXPECT_EQ(0, g[r + 1024]);
    EXPECT_EQ(1, g[r + 1025]);
    EXPECT_EQ(L"2.0", text(r + 1026));
    EXPECT_TRUE(zeroFilled(r, 20) && zeroFilled(r + 512, 52) && zeroFilled(r + 1026, 8));
}

TEST_F(AppsCard, FailedDownloadsLeaveTheCardUntouched)
{
    WriteList({kOld, kKeep});
    WriteBytes(apps + L"Device.dat", std::string(kDigits, 16));
    std::map<std::wstring, Bytes> before = Snapshot();
    struct Case {
        int slot;
        const wchar_t* file;
    } cases[] = {{AP_URL_EXE, L"missing.exe"}, {AP_URL_IMAGE_PUSH, L"servererror.bmp"}, {AP_URL_REG, L"cut.enc"},
                 {AP_URL_EXE, L"..%5c..%5cx.exe/.."}};
    for (const Case& c : cases) {
        doc.m_serverApps.RemoveAll();
        doc.m_serverApps.Add(App(L"good", L"good.exe"));
        doc.m_serverApps.Add(App(L"broken", L"b.exe"));
        doc.m_serverApps[0].m_checked = doc.m_serverApps[1].m_checked = 1;
        doc.m_serverApps[1].m_urls[c.slot] = (server->BaseUrl() + L"/apps/broken/" + c.file).c_str();
        EXPECT_FALSE(doc.TransferToCard(CardRoot().c_str(), 81, 4)) << Utf8(c.file);
        EXPECT_EQ(3, doc.GetErrorCode());
        EXPECT_EQ(before, Snapshot()) << Utf8(c.file);
        EXPECT_EQ(0, temp.CountEntries()) << "work folder left behind";
        EXPECT_TRUE(theGlobal.m_appTempFolder.IsEmpty());
    }
    // An id from the web that would leave the apps folder is never used as a path.
    doc.m_serverApps.RemoveAll();
    doc.m_serverApps.Add(App(L"..", L"x.exe"));
    doc.m_serverApps[0].m_checked = 1;
    EXPECT_FALSE(doc.TransferToCard(CardRoot().c_str(), 81, 4));
    EXPECT_EQ(before, Snapshot());
    EXPECT_EQ((std::vector<std::wstring>{L"Oskra-APPS"}), ListFolder(CardRoot()));
}

TEST_F(AppsCard, AppTheCopyCouldNotPlaceIsNotListed)
{
    WriteList({kOld, kKeep});
    WriteBytes(apps + L"Device.dat", std::string(kDigits, 16));
    WriteBytes(apps + L"newapp", std::string("a file where the app's folder would go"));
    std::map<std::wstring, Bytes> before = Snapshot();
    doc.m_serverApps.Add(App(L"newapp", L"new.exe"));
    doc.m_serverApps[0].m_checked = 1;
    EXPECT_FALSE(doc.TransferToCard(CardRoot().c_str(), 81, 4));
    EXPECT_EQ(3, doc.GetErrorCode());
    EXPECT_EQ(before, Snapshot());
    EXPECT_EQ(0, temp.CountEntries());
}

TEST_F(AppsCard, DamagedListIsNeitherShownNorOverwritten)
{
    WriteList({kOld, kKeep});
    Bytes damaged = ReadBytes(apps + L"Applist.dat");
    damaged.resize(3000);
    WriteBytes(apps + L"Applist.dat", damaged);
    doc.m_serverApps.Add(App(L"keep", L"keeper.bin"));
    doc.m_cardApps.Add(App(L"shown", L"s.exe"));
    EXPECT_FALSE(doc.LoadCardApps(CardRoot().c_str()));
    EXPECT_EQ(2, doc.GetErrorCode());
    ASSERT_EQ(1, doc.m_cardApps.GetSize());  // the lists stay as they were
    EXPECT_STREQ(L"shown", doc.m_cardApps[0].m_id);

    doc.m_serverApps[0].m_checked = 1;
    EXPECT_FALSE(doc.TransferToCard(CardRoot().c_str(), 81, 4));
    EXPECT_EQ(3, doc.GetErrorCode());
    EXPECT_EQ(damaged, ReadBytes(apps + L"Applist.dat"));
}

TEST_F(AppsCard, CardListShowsOfferedCompleteApps)
{
    CDocApRecord keep = App(L"keep", L"keeper.bin", L"1.0", {L"k.dll"});
    CDocApRecord old = App(L"old", L"old_main.exe");
    CDocApRecord partial = App(L"partial", L"p.exe");
    CDocApRecord badIcon = App(L"badicon", L"b.exe");
    for (const CDocApRecord* a : {&keep, &old, &partial, &badIcon})
        Install(*a);
    DeleteFileW((apps + L"partial\\d.bmp").c_str());
    WriteBytes(apps + L"badicon\\n.bmp", std::string("PNG, not a bitmap"));
    WriteList({kOld, kKeep, {L"Part", L"Oskra-APPS\\partial\\p.exe", FALSE, L"1"},
               {L"Bad", L"Oskra-APPS\\badicon\\b.exe", FALSE, L"1"}});
    doc.m_serverApps.Add(keep);
    doc.m_serverApps.Add(partial);
    doc.m_serverApps.Add(badIcon);
    ASSERT_TRUE(doc.LoadCardApps(CardRoot().c_str()));
    ASSERT_EQ(1, doc.m_cardApps.GetSize());
    const CDocApRecord& a = doc.m_cardApps[0];
    EXPECT_STREQ(L"keep", a.m_id);
    EXPECT_STREQ(L"Keeper", a.m_name);  // name, flag and version from the card
    EXPECT_EQ(1, a.m_flag);
    EXPECT_EQ(0, a.m_iconIndex);
    EXPECT_EQ(1, doc.m_cardIcons.GetImageCount());
    EXPECT_EQ((apps + L"keep").c_str(), std::wstring(a.m_installedFolder.GetString()));
    // "installed keeper.bin", "installed k.dll", "installed keep.enc" and three icons.
    EXPECT_EQ(static_cast<LONGLONG>(3 * icon.size() + 20 + 15 + 18), a.m_size);
    EXPECT_EQ(4, doc.m_cardEntries.GetSize());
    EXPECT_STREQ(CardRoot().c_str(), doc.GetCardRoot());

    // No list file: an empty card.
    DeleteFileW((apps + L"Applist.dat").c_str());
    ASSERT_TRUE(doc.LoadCardApps(CardRoot().c_str()));
    EXPECT_EQ(0, doc.m_cardApps.GetSize());
}

TEST_F(AppsCard, DeletingAnAppKeepsTheOtherEntriesAsTheyWere)
{
    CDocApRecord keep = App(L"keep", L"keeper.bin");
    CDocApRecord other = App(L"other", L"other_prog.bin");
    Install(keep);
    Install(other);
    APPLIST_ENTRY otherEntry{L"Other", L"Oskra-APPS\\other\\other_prog.bin", TRUE, L"3.1"};
    WriteList({kOld, kKeep, otherEntry});
    doc.m_serverApps.Add(keep);
    doc.m_serverApps.Add(other);
    ASSERT_TRUE(doc.LoadCardApps(CardRoot().c_str()));
    ASSERT_EQ(2, doc.m_cardApps.GetSize());

    ASSERT_TRUE(doc.DeleteCardApp(0));
    CAppListEntries list = ReadList();
    ASSERT_EQ(2, list.GetSize());
    EXPECT_STREQ(kOld.path, list[0].path);  // not offered, still on the unit's list
    EXPECT_STREQ(L"Other", list[1].name);
    EXPECT_STREQ(L"Oskra-APPS\\other\\other_prog.bin", list[1].path);
    EXPECT_TRUE(list[1].flag);
    EXPECT_STREQ(L"3.1", list[1].version);
    EXPECT_TRUE(ListFolder(apps + L"keep\\").empty());
    EXPECT_FALSE(ListFolder(apps + L"other\\").empty());

    // The last shown app goes; the entry the service no longer offers stays.
    ASSERT_TRUE(doc.DeleteCardApp(0));
    list = ReadList();
    ASSERT_EQ(1, list.GetSize());
    EXPECT_STREQ(kOld.name, list[0].name);
    EXPECT_FALSE(doc.DeleteCardApp(0));
}

TEST_F(AppsCard, DeletingTheOnlyAppDeletesTheListFile)
{
    CDocApRecord keep = App(L"keep", L"keeper.bin");
    Install(keep);
    WriteList({kKeep});
    doc.m_serverApps.Add(keep);
    ASSERT_TRUE(doc.LoadCardApps(CardRoot().c_str()));
    ASSERT_TRUE(doc.DeleteCardApp(0));
    EXPECT_FALSE(FileExists(apps + L"Applist.dat"));
    EXPECT_EQ(0, doc.m_cardApps.GetSize());
}

TEST_F(AppsCard, DeviceFile)
{
    EXPECT_FALSE(CDocAp::HasDeviceFile(CardRoot().c_str()));
    ASSERT_TRUE(CreateFolderPath(apps.c_str()));
    const char digits[20] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 'x', 'y', 'z', '!'};
    struct Case {
        size_t size;
        bool read;
    } cases[] = {{15, false}, {16, true}, {20, true}};
    for (const Case& c : cases) {
        CDocAp d;
        WriteBytes(apps + L"Device.dat", std::string(digits, c.size));
        EXPECT_TRUE(CDocAp::HasDeviceFile(CardRoot().c_str()));
        EXPECT_EQ(c.read, d.ReadDeviceFile(CardRoot().c_str()) != FALSE) << c.size;
        CString text;
        d.GetDeviceNumber(text);
        EXPECT_STREQ(c.read ? L"123456789ABCDEF0" : L"0000000000000000", text) << c.size;
    }
}

TEST_F(AppsCard, FullOrReadOnlyCardKeepsTheOldListFile)
{
    ASSERT_TRUE(CreateFolderPath(apps.c_str()));
    cardfs::SmallCardFolder small(apps, 128);
    if (!small.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    WriteList({kOld, kKeep});
    WriteBytes(apps + L"Device.dat", std::string(kDigits, 16));
    Bytes list = ReadBytes(apps + L"Applist.dat");
    doc.m_serverApps.Add(App(L"bigapp", L"big.exe"));
    doc.m_serverApps[0].m_checked = 1;
    EXPECT_FALSE(doc.TransferToCard(CardRoot().c_str(), 81, 4));
    EXPECT_EQ(3, doc.GetErrorCode());
    EXPECT_EQ(list, ReadBytes(apps + L"Applist.dat"));
    EXPECT_EQ(std::string(kDigits, 16), Text(ReadBytes(apps + L"Device.dat")));
    EXPECT_EQ(0, temp.CountEntries());

    ASSERT_TRUE(small.MakeReadOnly());
    doc.m_serverApps[0] = App(L"small", L"s.exe");
    doc.m_serverApps[0].m_checked = 1;
    EXPECT_FALSE(doc.TransferToCard(CardRoot().c_str(), 81, 4));
    EXPECT_EQ(3, doc.GetErrorCode());
    EXPECT_EQ(list, ReadBytes(apps + L"Applist.dat"));
    EXPECT_FALSE(FileExists(apps + L"small"));
}

}  // namespace
