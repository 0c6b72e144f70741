// Feed shapes the readers met wrongly: a root "feed" whose entries are RSS
// "item"s, and a KML feed of more placemarks than the reader keeps.
#include <string>

#include "FeedTestSupport.h"

using namespace feedtest;

namespace {

class FeedShapes : public FeedTest {};

std::string FeedRooted(const std::string& children)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<feed xmlns=\"http://www.w3.org/2005/Atom\" "
           "xmlns:georss=\"http://www.georss.org/georss\">\n<title>Rooted</title>\n" +
           children + "</feed>\n";
}

std::string AtomEntry(const std::string& title, const std::string& point)
{
    return "<entry><title>" + title + "</title><id>urn:" + title +
           "</id><link rel=\"alternate\" href=\"http://example.com/" + title +
           "\"/><updated>2020-01-05T10:20:30Z</updated><georss:point>" + point + "</georss:point></entry>\n";
}

std::string Placemarks(int n)
{
    std::string body;
    for (int i = 0; i < n; ++i) {
        char b[200];
        snprintf(b, sizeof b, "<Placemark><name>K%d</name><Point><coordinates>%.6f,35.0,0</coordinates></Point></Placemark>\n",
                 i, 139.0 + i * 1e-4);
        body += b;
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document>"
           "<name>Many</name>" + body + "</Document></kml>\n";
}

std::wstring Names(const CArray<DOCPI_RSS_ITEM>& items)
{
    std::wstring names;
    for (const DOCPI_RSS_ITEM& it : items)
        names += std::wstring(it.poi.name) + L" ";
    return names;
}

TEST_F(FeedShapes, AFeedRootedListOfItemsIsRead)
{
    Doc().m_nowStamp = 20300105102030;
    int i = AddFeedRecord(L"x");
    ASSERT_TRUE(ParseText(i, FeedRooted(Rss2Item("First", "Sun, 05 Jan 2020 10:20:30 GMT", GeoRss(35.5, 139.5)) +
                                        Rss2Item("Second", "Sun, 05 Jan 2020 10:20:31 GMT", GeoRss(36, 140)))));
    ASSERT_EQ(Doc().m_feedItems.GetSize(), 2) << testsupport::Utf8(Names(Doc().m_feedItems));
    EXPECT_EQ(Names(Doc().m_feedItems), L"First Second ");
    EXPECT_DOUBLE_EQ(Doc().m_feedItems[0].poi.latitude, 35.5);
    EXPECT_DOUBLE_EQ(Doc().m_feedItems[0].poi.longitude, 139.5);
    EXPECT_STREQ(Doc().m_feedItems[0].itemLink, L"http://example.com/First");

    // Entries and items side by side: both, in the document's order.
    int j = AddFeedRecord(L"y");
    ASSERT_TRUE(ParseText(j, FeedRooted(AtomEntry("Entry", "1 2") +
                                        Rss2Item("Item", "Sun, 05 Jan 2020 10:20:31 GMT", GeoRss(3, 4)) +
                                        AtomEntry("Last", "5 6"))));
    EXPECT_EQ(Names(Doc().m_feedItems), L"Entry Item Last ");
}

TEST_F(FeedShapes, PlacemarksPastTheKeptThousandAreNotNewAgainAndAgain)
{
    Doc().m_nowStamp = 20300105102030;
    int i = AddFeedRecord(L"x");
    const std::string many = Placemarks(1500);
    ASSERT_TRUE(ParseText(i, many));
    ASSERT_EQ(Doc().m_feedItems.GetSize(), RSS_MAX_ITEMS_PER_FEED);
    EXPECT_STREQ(Doc().m_feedItems[0].poi.name, L"K0");
    // The user opens the feed: its items are read.
    Doc().m_selectedFeed = i;
    ASSERT_TRUE(Doc().LoadSelectedFeedItems());
    Doc().ResetFeedFlags();
    // The unchanged feed again, twice: nothing is new.
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(ParseText(i, many));
        EXPECT_EQ(Doc().m_feedItems.GetSize(), 0) << round << " " << testsupport::Utf8(Names(Doc().m_feedItems)).substr(0, 80);
        EXPECT_EQ(Doc().m_feeds[i].newCount, 0) << round;
    }
    // A placemark added in front is new.
    const std::string more = Placemarks(1).replace(Placemarks(1).find("K0"), 2, "Fresh");
    std::string both = many;
    both.insert(both.find("<Placemark>"), more.substr(more.find("<Placemark>"), more.find("</Placemark>") + 12 - more.find("<Placemark>")));
    ASSERT_TRUE(ParseText(i, both));
    EXPECT_EQ(Names(Doc().m_feedItems), L"Fresh ");
}

}  // namespace
