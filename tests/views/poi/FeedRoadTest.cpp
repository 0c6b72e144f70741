// The feed reader as a user meets it: the real Mirovale.exe under Wine with
// its feed list pointing at feeds served on the loopback. From the start menu
// the reader updates every feed, is left half-way and opened again; a feed is
// read, an item starred and the checked items exported to the card drive R:,
// which is read back. Then the program is closed while an update runs, many
// times with seeded random timing: it must end every time, cleanly.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "LocalHttpServer.h"
#include "ProgramRun.h"
#include "SkinTestFixture.h"
#include "TestFiles.h"
#include "res/dialog_ids.h"
#include "res/feeds_ids.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"

using namespace testsupport;

namespace {

std::string Rss2(const std::string& title, const std::vector<std::string>& names, const char* encoding = "UTF-8")
{
    std::string items;
    for (size_t i = 0; i < names.size(); ++i) {
        char b[600];
        snprintf(b, sizeof b,
                 "<item><title>%s</title><link>http://example.com/%zu</link><description>About it</description>"
                 "<pubDate>Tue, %02zu Jan 2020 10:00:00 GMT</pubDate><georss:point>35.%04zu 139.%04zu</georss:point>"
                 "</item>\n",
                 names[i].c_str(), i, i + 1, i, i);
        items += b;
    }
    return std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>\n" +
           "<rss version=\"2.0\" xmlns:georss=\"http://www.georss.org/georss\">\n<channel><title>" + title +
           "</title><link>http://example.com/</link><description>d</description>\n" + items + "</channel></rss>\n";
}

std::string Atom(int n)
{
    std::string entries;
    for (int i = 0; i < n; ++i) {
        char b[500];
        snprintf(b, sizeof b,
                 "<entry><title>Hut %d</title><id>urn:h%d</id><link rel=\"alternate\" href=\"http://example.com/h%d\"/>"
                 "<updated>2020-01-0%dT10:00:00Z</updated><georss:point>46.%04d 7.%04d</georss:point></entry>\n",
                 i, i, i, i + 1, i, i);
        entries += b;
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<feed xmlns=\"http://www.w3.org/2005/Atom\" "
           "xmlns:georss=\"http://www.georss.org/georss\">\n<title>Mountain huts</title><id>urn:x</id>"
           "<updated>2020-01-05T10:00:00Z</updated>\n" +
           entries + "</feed>\n";
}

std::string Kml(int n)
{
    std::string body;
    for (int i = 0; i < n; ++i) {
        char b[200];
        snprintf(b, sizeof b, "<Placemark><name>Spring %d</name><Point><coordinates>138.%04d,36.1,0</coordinates></Point></Placemark>\n",
                 i, i);
        body += b;
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document>"
           "<name>Hot springs</name>" + body + "</Document></kml>\n";
}

std::wstring RssFolder()
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
    return std::wstring(path) + L"\\Mirovale\\RSS\\";
}

// The feeds the program knows at start: the list file as it writes it.
void WriteFeedList(const std::wstring& base, const std::vector<std::string>& paths)
{
    RemoveTree(RssFolder());
    ::SHCreateDirectoryExW(nullptr, RssFolder().c_str(), nullptr);
    std::string text = "read,count,title,url,filename,FileID\r\n";
    const std::string host(base.begin(), base.end());
    for (size_t i = 0; i < paths.size(); ++i)
        text += "0,0,Feed " + std::to_string(i) + "," + host + paths[i] + ",," + std::to_string(i) + "\r\n";
    WriteBytes(RssFolder() + L"RssUrlList.csv", text);
}

// A UTF-16 file of the program (caches, favourites, card KML) as text.
std::wstring ReadUtf16(const std::wstring& path)
{
    const Bytes bytes = ReadBytes(path);
    std::wstring text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

// A loopback server of feeds that counts the requests per path; a path may answer late.
class FeedServer {
public:
    FeedServer()
        : m_server([this](const HttpRequest& r, HttpConnection& c) { Serve(r, c); })
    {
    }
    void Page(const std::string& path, const std::string& body, int delayMs = 0)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_pages[path] = {body, delayMs};
    }
    int Hits(const std::string& path)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_hits[path];
    }
    std::wstring Base() const { return m_server.BaseUrl(); }

private:
    void Serve(const HttpRequest& r, HttpConnection& c)
    {
        std::pair<std::string, int> page;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            ++m_hits[r.target];
            auto it = m_pages.find(r.target);
            if (it == m_pages.end()) {
                c.Reply(404, "none");
                return;
            }
            page = it->second;
        }
        if (page.second)
            m_server.Wait(page.second);
        if (!m_server.Stopping())
            c.Reply(200, page.first, "application/xml");
    }
    std::mutex m_lock;
    std::map<std::string, std::pair<std::string, int>> m_pages;
    std::map<std::string, int> m_hits;
    LocalHttpServer m_server;
};

HWND OpenReader(HWND main)
{
    return OpenFromStartMenu(main, ID_CATEGORY_POI, ID_POI_RSS_READER, L"PoiGeoRss");
}

}  // namespace

TEST(FeedRoad, UpdateLeaveAgainReadStarAndExportToTheCard)
{
    ClearCard();
    FeedServer feeds;
    feeds.Page("/harbour.xml", Rss2("Harbour news", {"Pier", "Lighthouse", "Fish market"}));
    feeds.Page("/cafes.xml", Rss2("Caf\xE9s", {"Caf\xE9 du port"}, "ISO-8859-1"));
    feeds.Page("/huts.xml", Atom(2));
    feeds.Page("/springs.xml", Kml(3));
    feeds.Page("/slow.xml", Rss2("Slow", {"Late"}), 4000);
    WriteFeedList(feeds.Base(), {"/harbour.xml", "/cafes.xml", "/huts.xml", "/slow.xml", "/springs.xml"});

    ProgramRun run;
    HWND main = run.StartWith(kReadyIni);
    ASSERT_NE(main, nullptr);

    // The first visit: left with Back while the slow feed is still coming.
    HWND reader = OpenReader(main);
    ASSERT_NE(reader, nullptr);
    const DWORD start = ::GetTickCount();
    while (feeds.Hits("/slow.xml") == 0 && ::GetTickCount() - start < 10000)
        PumpFor(50);
    ASSERT_EQ(feeds.Hits("/slow.xml"), 1);
    Shot(main, L"feed_road_1_updating");
    RealClick(FindById(main, ID_BACK));
    ASSERT_TRUE(WaitPage(main, L"MainMenu", 5000)) << "Back waited for the slow feed";
    EXPECT_EQ(feeds.Hits("/springs.xml"), 0);

    // Again: every feed is fetched anew; the slow one answers in time now.
    feeds.Page("/slow.xml", Rss2("Slow", {"Late"}), 200);
    reader = OpenReader(main);
    ASSERT_NE(reader, nullptr);
    const DWORD again = ::GetTickCount();
    while (feeds.Hits("/springs.xml") == 0 && ::GetTickCount() - again < 15000)
        PumpFor(50);
    ASSERT_EQ(feeds.Hits("/springs.xml"), 1);
    EXPECT_EQ(feeds.Hits("/harbour.xml"), 2);
    PumpFor(1000);
    Shot(main, L"feed_road_2_updated");

    // Read the first feed: its row is the third of the feed list.
    HWND titles = FindById(reader, IDC_FEED_TITLE_LIST);
    HWND items = FindById(reader, IDC_RSS_ITEM_LIST);
    ASSERT_NE(titles, nullptr);
    ASSERT_NE(items, nullptr);
    RECT tr;
    ::GetClientRect(titles, &tr);
    POINT row2{60, 36 * 2 + 18};
    ::ClientToScreen(titles, &row2);
    RealClickAt(row2.x, row2.y);
    PumpFor(2500);
    Shot(main, L"feed_road_3_read");

    // Star the first item (its fourth cell).
    RECT ir;
    ::GetWindowRect(items, &ir);
    RealClickAt(ir.left + 1 + 22 + 50 + 22 + 11, ir.top + 24 + 18);
    PumpFor(800);
    const std::wstring favourites = ReadUtf16(RssFolder() + L"RssFavoriteList.kml");
    EXPECT_NE(favourites.find(L"Pier"), std::wstring::npos) << "the star is kept in the favourites file";
    Shot(main, L"feed_road_4_starred");

    // Export the checked items to the card.
    RealClick(FindById(reader, ID_EXPORT));
    HWND chooser = PickCard(run, IDC_REMOVABLE_NAME);
    ASSERT_NE(chooser, nullptr);
    NameOnCard(chooser, L"Harbour");
    RealClick(Shown(chooser, IDOK));
    ASSERT_TRUE(WaitGone(chooser));
    HWND done = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(done, nullptr);
    Shot(done, L"feed_road_5_exported");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(done));

    const std::wstring card = ReadUtf16(CardRoot() + L"NDB\\CUSTOMPOI\\Harbour.kml");
    ASSERT_FALSE(card.empty());
    for (const wchar_t* name : {L"Pier", L"Lighthouse", L"Fish market"})
        EXPECT_NE(card.find(name), std::wstring::npos) << name;
    EXPECT_EQ(card.find(L"Late"), std::wstring::npos);
    EXPECT_EQ(card.find(L"Caf"), std::wstring::npos);
    // Read twice, the feed's items are there once each.
    EXPECT_EQ(card.find(L"Pier"), card.rfind(L"Pier"));

    EXPECT_EQ(run.Quit(main), 0u);
    RemoveTree(RssFolder());
}

TEST(FeedRoad, ClosingWhileAnUpdateRunsEndsTheProgramEveryTime)
{
    FeedServer feeds;
    feeds.Page("/a.xml", Rss2("A", {"One", "Two"}));
    feeds.Page("/slow.xml", Rss2("Slow", {"Late"}), 3000);
    feeds.Page("/b.xml", Kml(5));
    WriteFeedList(feeds.Base(), {"/a.xml", "/slow.xml", "/b.xml", "/slow.xml", "/a.xml"});
    const unsigned seed = 20261211;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> wait(0, 1500);
    for (int round = 0; round < 6; ++round) {
        ProgramRun run;
        HWND main = run.StartWith(kReadyIni);
        ASSERT_NE(main, nullptr);
        ASSERT_NE(OpenReader(main), nullptr);
        const int ms = wait(random);
        PumpFor(static_cast<DWORD>(ms));
        const DWORD start = ::GetTickCount();
        EXPECT_EQ(run.Quit(main, 20000), 0u) << "seed " << seed << " round " << round << " after " << ms << " ms";
        EXPECT_LT(::GetTickCount() - start, 10000u) << "round " << round;
    }
    RemoveTree(RssFolder());
}
