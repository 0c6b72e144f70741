// Feeds shaped as publishers write them, served over the loopback and parsed.
#include <map>
#include <string>

#include "FeedTestSupport.h"

using namespace feedtest;

namespace {

const char kDecl[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string Rdf(const std::string& items, bool titleOnRoot = false)
{
    return std::string(kDecl) +
           "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" xmlns=\"http://purl.org/rss/1.0/\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:geo=\"http://www.w3.org/2003/01/geo/wgs84_pos#\">\n" +
           (titleOnRoot ? "<title>Root title</title>" : "") +
           "<channel rdf:about=\"http://example.com/\"><title>RDF feed</title><link>http://example.com/</link></channel>\n" +
           items + "</rdf:RDF>\n";
}
std::string RdfItem(const std::string& title, const std::string& date, double lat, double lon)
{
    char b[400];
    snprintf(b, sizeof b,
             "<item rdf:about=\"http://example.com/%s\"><title>%s</title><link>http://example.com/%s</link>"
             "<dc:date>%s</dc:date><geo:lat>%.4f</geo:lat><geo:long>%.4f</geo:long></item>\n",
             title.c_str(), title.c_str(), title.c_str(), date.c_str(), lat, lon);
    return b;
}
std::string Atom(const std::string& entries)
{
    return std::string(kDecl) +
           "<feed xmlns=\"http://www.w3.org/2005/Atom\" xmlns:georss=\"http://www.georss.org/georss\">\n"
           "<title type=\"text\">Atom feed</title><id>urn:x</id><updated>2030-01-05T10:00:00Z</updated>\n" +
           entries + "</feed>\n";
}
std::string AtomEntry(const std::string& title, const std::string& updated, const std::string& point)
{
    return "<entry><title>" + title + "</title><id>urn:" + title +
           "</id><link rel=\"self\" href=\"http://example.com/self\"/><link rel=\"alternate\" type=\"text/html\" "
           "href=\"http://example.com/" +
           title + "\"/><updated>" + updated + "</updated><summary>s</summary><georss:point>" + point +
           "</georss:point></entry>\n";
}
std::string Kml(int placemarks, bool nested)
{
    auto pm = [](const std::string& n, double lon, double lat) {
        char b[200];
        snprintf(b, sizeof b, "<Placemark><name>%s</name><Point><coordinates>%.6f,%.6f,0</coordinates></Point></Placemark>\n",
                 n.c_str(), lon, lat);
        return std::string(b);
    };
    std::string body;
    if (nested) {
        body = pm("P1", 139.1, 35.1) + "<Folder><name>F1</name>" + pm("P2", 139.2, 35.2) + "<Folder><name>F2</name>" +
               pm("P3", 139.3, 35.3) + "</Folder></Folder><Folder><name>F3</name>" + pm("P4", 139.4, 35.4) +
               "</Folder>" + "<Placemark><name>far</name><Point><coordinates>200,35</coordinates></Point></Placemark>" +
               "<Placemark><Point><coordinates>1,2</coordinates></Point></Placemark>" +
               "<Placemark><name>nopoint</name></Placemark>";
    } else {
        for (int i = 0; i < placemarks; ++i)
            body += pm("K" + std::to_string(i), 139.0 + i * 1e-4, 35.0);
    }
    return std::string(kDecl) + "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document><name>KML feed</name>" + body +
           "</Document></kml>\n";
}

enum Serve { NORMAL, SLOW, CUT_OFF };

struct FeedCase {
    const char* name;
    std::string body;
    int status;
    Serve serve;
    bool downloads;
    bool parses;
    int items;
    const wchar_t* firstName;
    double firstLat, firstLon;
    long long firstDate;
};

std::vector<FeedCase> Cases()
{
    std::string bigRss = Rss2(Rss2Items(1500));
    return {
        {"rss2-georss",
         Rss2(Rss2Item("Tokyo", "Tue, 05 Jan 2030 10:20:30 +0900", GeoRss(35.681, 139.767)) +
              Rss2Item("Osaka", "Tue, 05 Jan 2030 10:20:30 GMT", GeoRss(34.7, 135.5))),
         200, NORMAL, true, true, 2, L"Tokyo", 35.681, 139.767, 20300105012030},
        {"rss2-w3c-geo",
         Rss2(Rss2Item("Direct", "Sat, 05 Jan 2030 10:20:30 EST", W3cGeo(51.5, -0.12)) +
              Rss2Item("Point", "Sat, 05 Jan 2030 10:20:30 -0500",
                       "<geo:Point>" + W3cGeo(48.85, 2.35) + "</geo:Point>")),
         200, NORMAL, true, true, 2, L"Direct", 51.5, -0.12, 20300105152030},
        {"rss1-rdf", Rdf(RdfItem("One", "2030-01-05T10:20:30+09:00", 35.5, 139.5) + RdfItem("Two", "2030-01-06T00:00:00Z", 36, 140)),
         200, NORMAL, true, true, 2, L"One", 35.5, 139.5, 20300105012030},
        {"atom", Atom(AtomEntry("A1", "2030-01-05T10:20:30.25+01:00", "35.1 139.1") + AtomEntry("A2", "2030-01-05T10:20:30Z", "bad")),
         200, NORMAL, true, true, 1, L"A1", 35.1, 139.1, 20300105092030},
        {"kml-nested", Kml(0, true), 200, NORMAL, true, true, 5, L"P1", 35.1, 139.1, -1},
        {"kml-huge", Kml(3000, false), 200, NORMAL, true, true, 1000, L"K0", 35.0, 139.0, -1},
        {"dates-missing", Rss2(Rss2Item("NoDate1", "", GeoRss(1, 2)) + Rss2Item("NoDate2", "", GeoRss(3, 4))), 200, NORMAL,
         true, true, 2, L"NoDate1", 1, 2, -1},
        {"cdata-entities-html",
         Rss2(Rss2Item("<![CDATA[Fish & Chips]]>", "Tue, 05 Jan 2030 10:20:30 GMT", GeoRss(50, 1),
                       "<description>&lt;p&gt;Fresh &amp; hot&lt;/p&gt;</description>") +
              Rss2Item("Caf&#233; &amp; Bar", "Tue, 05 Jan 2030 10:20:31 GMT", GeoRss(50, 1),
                       "<description><![CDATA[<div><b>x</b></div>]]></description>")),
         200, NORMAL, true, true, 2, L"Fish & Chips", 50, 1, -1},
        {"non-ascii-title",
         Rss2(Rss2Item("\xE6\x9D\xB1\xE4\xBA\xAC \xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "Tue, 05 Jan 2030 10:20:30 GMT",
                       GeoRss(35, 139))),
         200, NORMAL, true, true, 1, nullptr, 35, 139, -1},
        {"utf8-bom", "\xEF\xBB\xBF" + Rss2(Rss2Item("Bom", "Tue, 05 Jan 2030 10:20:30 GMT", GeoRss(1, 1))), 200, NORMAL, true,
         true, 1, L"Bom", 1, 1, -1},
        {"declared-latin1-sent-utf8",
         Rss2(Rss2Item("Z\xC3\xBCrich", "Tue, 05 Jan 2030 10:20:30 GMT", GeoRss(47.37, 8.54)), "t",
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"),
         200, NORMAL, true, true, 1, nullptr, 47.37, 8.54, -1},
        {"declared-utf8-sent-latin1",
         Rss2(Rss2Item("Z\xFCrich", "Tue, 05 Jan 2030 10:20:30 GMT", GeoRss(47.37, 8.54))), 200, NORMAL, true, false, 0,
         nullptr, 0, 0, -1},
        {"slow", Rss2(Rss2Item("Slow", "Tue, 05 Jan 2030 10:20:30 GMT", GeoRss(1, 1))), 200, SLOW, true, true, 1, L"Slow", 1, 1,
         -1},
        {"cut-off", Rss2(Rss2Items(50)), 200, CUT_OFF, false, false, 0, nullptr, 0, 0, -1},
        {"error-page", "<html><body><h1>500 Internal Server Error</h1></body></html>", 500, NORMAL, false, false, 0, nullptr,
         0, 0, -1},
        {"forbidden", "<html><body>403</body></html>", 403, NORMAL, false, false, 0, nullptr, 0, 0, -1},
        {"html-200", "<!DOCTYPE html><html><head><title>x</title></head><body><p>Not a feed<br></body></html>", 200, NORMAL,
         true, false, 0, nullptr, 0, 0, -1},
        {"not-xml", "hello, world", 200, NORMAL, true, false, 0, nullptr, 0, 0, -1},
        {"unknown-root", std::string(kDecl) + "<atom><title>x</title></atom>", 200, NORMAL, true, false, 0, nullptr, 0, 0, -1},
        {"rss-without-channel", std::string(kDecl) + "<rss version=\"2.0\"><item><title>x</title></item></rss>", 200, NORMAL,
         true, false, 0, nullptr, 0, 0, -1},
        {"upper-case-root", std::string(kDecl) + "<RSS xmlns:georss=\"http://www.georss.org/georss\"><channel>" + Rss2Item("Up", "Tue, 05 Jan 2030 10:20:30 GMT", GeoRss(1, 2)) +
                                "</channel></RSS>",
         200, NORMAL, true, true, 1, L"Up", 1, 2, -1},
        {"positions-skipped",
         Rss2(Rss2Item("NoBlank", "Tue, 05 Jan 2030 10:20:30 GMT", "<georss:point>139.767</georss:point>") +
              Rss2Item("PointLacksLat", "Tue, 05 Jan 2030 10:20:30 GMT",
                       "<geo:Point><geo:long>1</geo:long></geo:Point>" + GeoRss(1, 1)) +
              Rss2Item("NoPosition", "Tue, 05 Jan 2030 10:20:30 GMT", "") +
              Rss2Item("Words", "Tue, 05 Jan 2030 10:20:30 GMT", "<georss:point>north east</georss:point>") +
              Rss2Item("Kept", "Tue, 05 Jan 2030 10:20:30 GMT", "<georss:point>\n  35.5   139.25\n</georss:point>")),
         200, NORMAL, true, true, 1, L"Kept", 35.5, 139.25, -1},
        {"huge-rss", bigRss, 200, NORMAL, true, true, 1000, L"Item0", 35.0, 139.0, -1},
    };
}

class FeedParse : public FeedTest {};

TEST_F(FeedParse, RealShapedFeedsGiveItemsOrAClearRefusal)
{
    std::vector<FeedCase> cases = Cases();
    std::map<std::string, const FeedCase*> byPath;
    for (const FeedCase& c : cases)
        byPath["/" + std::string(c.name) + ".xml"] = &c;
    testsupport::LocalHttpServer server([&](const testsupport::HttpRequest& req, testsupport::HttpConnection& conn) {
        auto it = byPath.find(req.target);
        if (it == byPath.end()) {
            conn.Reply(404, "none");
            return;
        }
        const FeedCase& c = *it->second;
        if (c.serve == SLOW)
            server.Wait(1500);
        if (c.serve == CUT_OFF) {
            conn.SendRaw("HTTP/1.1 200 OK\r\nContent-Type: application/rss+xml\r\nContent-Length: " +
                         std::to_string(c.body.size()) + "\r\nConnection: close\r\n\r\n" + c.body.substr(0, c.body.size() / 2));
            conn.Close();
            return;
        }
        conn.Reply(c.status, c.body, "application/rss+xml");
    });
    Doc().UpdateNowStamp();
    ASSERT_TRUE(Doc().CreateNewItemFile());
    for (const FeedCase& c : cases) {
        SCOPED_TRACE(c.name);
        int i = AddFeedRecord(server.BaseUrl() + L"/" + testsupport::FromUtf8(c.name) + L".xml");
        Doc().SetErrorCode(0);
        DWORD start = GetTickCount();
        BOOL downloaded = Doc().DownloadFeed(i);
        EXPECT_LT(GetTickCount() - start, 15000u);
        EXPECT_EQ(downloaded != FALSE, c.downloads);
        if (!downloaded) {
            EXPECT_TRUE(Doc().m_feedFiles[i].IsEmpty());
            continue;
        }
        BOOL parsed = Doc().ParseFeed(i);
        EXPECT_EQ(parsed != FALSE, c.parses);
        EXPECT_EQ(Doc().m_feeds[i].processed, 1);
        if (!parsed) {
            EXPECT_EQ(Doc().GetErrorCode(), RSSERR_PARSE);
            EXPECT_STREQ(Doc().m_feeds[i].fileName, L"");  // no cache written
            EXPECT_EQ(Doc().m_feeds[i].updateTime, 0);
            continue;
        }
        ASSERT_EQ(Doc().m_feedItems.GetSize(), c.items);
        EXPECT_EQ(Doc().m_feeds[i].newCount, c.items);
        if (c.items == 0)
            continue;
        const DOCPI_RSS_ITEM& first = Doc().m_feedItems[0];
        if (c.firstName)
            EXPECT_STREQ(first.poi.name, c.firstName);
        else
            EXPECT_NE(first.poi.name[0], L'\0');
        EXPECT_NEAR(first.poi.latitude, c.firstLat, 1e-9);
        EXPECT_NEAR(first.poi.longitude, c.firstLon, 1e-9);
        if (c.firstDate >= 0)
            EXPECT_EQ(first.pubDate, c.firstDate);
        EXPECT_EQ(first.check + first.newItem + first.readItem, 3);
        EXPECT_EQ(first.fileId, Doc().m_feeds[i].fileId);
        EXPECT_NE(first.guid, GUID{});
        // Every taken item is in the feed's cache.
        CArray<DOCPI_RSS_ITEM> cached;
        Doc().ReadFeedCache((m_rss.Path() + Doc().m_feeds[i].fileName).c_str(), cached, 2, FALSE);
        EXPECT_EQ(cached.GetSize(), c.items);
    }
    // The KML reader's order: placemarks of a folder before its sub-folders.
    int kml = 4;
    ASSERT_STREQ(Doc().m_feeds[kml].url + wcslen(Doc().m_feeds[kml].url) - 14, L"kml-nested.xml");
    CArray<DOCPI_RSS_ITEM> cached;
    Doc().ReadFeedCache((m_rss.Path() + Doc().m_feeds[kml].fileName).c_str(), cached, 2, FALSE);
    std::wstring order;
    for (const DOCPI_RSS_ITEM& it : cached)
        order += std::wstring(it.poi.name) + L" ";
    EXPECT_EQ(order, L"P1 far P2 P3 P4 ");
    EXPECT_EQ(cached[1].poi.longitude, -255.0);  // 200,35 is out of range: no position
    EXPECT_EQ(cached[1].poi.latitude, -255.0);
    // HTML from the feed kept as text (the KML output blanks it).
    int html = 7;
    DOCPI_RSS_ITEM fish{};
    CArray<DOCPI_RSS_ITEM> fishes;
    Doc().ReadFeedCache((m_rss.Path() + Doc().m_feeds[html].fileName).c_str(), fishes, 2, FALSE);
    ASSERT_EQ(fishes.GetSize(), 2);
    fish = fishes[0];
    EXPECT_STREQ(fish.poi.name, L"Fish & Chips");
    EXPECT_STREQ(fish.poi.description, L"<p>Fresh & hot</p>");
    EXPECT_STREQ(fish.itemLink, L"http://example.com/Fish & Chips");
}

TEST_F(FeedParse, SecondParseTakesOnlyNewerEntries)
{
    int i = AddFeedRecord(L"x");
    Doc().m_nowStamp = 20300105102030;
    std::string items = Rss2Item("Old", "Sat, 05 Jan 2030 10:20:30 GMT", GeoRss(1, 1)) +
                        Rss2Item("Undated", "", GeoRss(2, 2));
    ASSERT_TRUE(ParseText(i, Rss2(items)));
    EXPECT_EQ(Doc().m_feedItems.GetSize(), 2);
    EXPECT_EQ(Doc().m_feeds[i].updateTime, 20300105102030);
    // Same entries again, plus one a second newer: only that one is new; the
    // unopened cached items stay in front of the count (RSS 2.0 counts them).
    items += Rss2Item("Newer", "Sat, 05 Jan 2030 10:20:31 GMT", GeoRss(3, 3));
    ASSERT_TRUE(ParseText(i, Rss2(items)));
    std::wstring names;
    for (const DOCPI_RSS_ITEM& it : Doc().m_feedItems)
        names += std::wstring(it.poi.name) + L" ";
    EXPECT_EQ(names, L"Newer Old Undated ");
    EXPECT_EQ(Doc().m_feeds[i].newCount, 3);
}

TEST_F(FeedParse, NewCountOfRss1AndRss2)
{
    auto seed = [&](int feed) {
        CArray<DOCPI_RSS_ITEM> cache;
        for (const wchar_t* n : {L"c1", L"c2"}) {
            DOCPI_RSS_ITEM it{};
            wcscpy(it.poi.name, n);
            it.readItem = 1;
            CoCreateGuid(&it.guid);
            cache.Add(it);
        }
        wcscpy(Doc().m_feeds[feed].fileName, (L"LOGC00" + std::to_wstring(feed) + L".kml").c_str());
        ASSERT_TRUE(Doc().WriteFeedCache((m_rss.Path() + Doc().m_feeds[feed].fileName).c_str(), cache, TRUE));
    };
    int rss2 = AddFeedRecord(L"a"), rss1 = AddFeedRecord(L"b");
    seed(rss2);
    seed(rss1);
    std::string three;
    std::string rdf;
    for (int k = 0; k < 3; ++k) {
        three += Rss2Item("n" + std::to_string(k), "Sat, 05 Jan 2030 10:20:3" + std::to_string(k) + " GMT", GeoRss(1, 1));
        rdf += RdfItem("n" + std::to_string(k), "2030-01-05T10:20:3" + std::to_string(k) + "Z", 1, 1);
    }
    ASSERT_TRUE(ParseText(rss2, Rss2(three)));
    EXPECT_EQ(Doc().m_feeds[rss2].newCount, 5);
    ASSERT_TRUE(ParseText(rss1, Rdf(rdf)));
    EXPECT_EQ(Doc().m_feeds[rss1].newCount, 3);
}

TEST_F(FeedParse, FeedTitles)
{
    struct {
        std::string file;
        const wchar_t* title;
    } cases[] = {
        {Rss2("", "  My feed  "), L"My feed"},
        {Rdf(""), L"RDF feed"},  // where RSS 1.0 puts it: under channel
        {Rdf("", true), L"Root title"},
        {Atom(""), L"Atom feed"},
        {Kml(1, false), L"KML feed"},
        {std::string(kDecl) + "<kml><Folder><name>Folder name</name></Folder></kml>", L"Folder name"},
        {std::string(kDecl) + "<kml><Document/></kml>", L"none title"},
        {"<html><body/></html>", L"none title"},
        {"garbage", L"none title"},
    };
    for (const auto& c : cases) {
        std::wstring path = m_temp.File(L"title.xml");
        testsupport::WriteBytes(path, c.file);
        EXPECT_EQ(Doc().ReadFeedTitle(path.c_str()), CString(c.title)) << c.file;
    }
}

TEST_F(FeedParse, AddFeedOverHttp)
{
    std::string feed = Rss2(Rss2Item("Added", "Tue, 05 Jan 2030 10:20:30 GMT", GeoRss(35, 139)), "Added feed");
    testsupport::LocalHttpServer server([&](const testsupport::HttpRequest& req, testsupport::HttpConnection& conn) {
        if (req.target == "/feed.xml")
            conn.Reply(200, feed, "application/rss+xml");
        else if (req.target == "/broken.xml")
            conn.Reply(200, std::string(kDecl) + "<rss version=\"2.0\"><nochannel/></rss>", "application/rss+xml");
        else
            conn.Reply(200, "<html><body>page</body></html>", "text/html");
    });
    AddFeedRecord(L"http://other/", 0);
    ASSERT_TRUE(Doc().AddFeed((server.BaseUrl() + L"/feed.xml").c_str()));
    ASSERT_EQ(Doc().GetFeedCount(), 2);
    EXPECT_STREQ(Doc().m_feeds[1].title, L"Added feed");
    EXPECT_EQ(Doc().m_feeds[1].fileId, 1);
    EXPECT_EQ(Doc().m_feeds[1].newCount, 1);
    EXPECT_EQ(Doc().GetErrorCode(), 0);
    EXPECT_EQ(server.Requests().size(), 1u);  // one download serves check, title and parse
    EXPECT_FALSE(Doc().AddFeed((server.BaseUrl() + L"/page.html").c_str()));
    EXPECT_EQ(Doc().GetErrorCode(), RSSERR_NOT_FEED);
    EXPECT_TRUE(Doc().AddFeed((server.BaseUrl() + L"/broken.xml").c_str()));
    EXPECT_EQ(Doc().GetErrorCode(), RSSERR_PARSE);
    EXPECT_EQ(Doc().GetFeedCount(), 3);
    EXPECT_TRUE(Doc().IsFeedFile((server.BaseUrl() + L"/feed.xml").c_str()));
    EXPECT_FALSE(Doc().IsFeedFile((server.BaseUrl() + L"/page.html").c_str()));
}

}  // namespace
