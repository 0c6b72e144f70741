// The feed list file, the item accessors and the item lists.
#include <cmath>
#include <string>

#include "FeedTestSupport.h"

using namespace feedtest;

namespace {

DOCPI_RSS_ITEM Item(const wchar_t* name, double lon = 139.0, double lat = 35.0, int fileId = 0, long long date = 0)
{
    DOCPI_RSS_ITEM it{};
    wcscpy(it.poi.name, name);
    it.poi.longitude = lon;
    it.poi.latitude = lat;
    it.check = it.newItem = it.readItem = 1;
    it.fileId = fileId;
    it.pubDate = date;
    CoCreateGuid(&it.guid);
    return it;
}


class FeedList : public FeedTest {};

TEST_F(FeedList, FileRoundTripKeepsTitlesStampsAndIdentifiers)
{
    AddFeedRecord(L"http://a.example/feed?x=1,2", 3);
    wcscpy(Doc().m_feeds[0].title, L"News, \"local\"");
    Doc().m_feeds[0].readTime = 20240101120000;
    Doc().m_feeds[0].updateTime = 20240102130000;
    Doc().m_feeds[0].newCount = 7;
    wcscpy(Doc().m_feeds[0].fileName, L"LOG1A2B.kml");
    ASSERT_TRUE(Doc().SaveFeedList());

    auto bytes = testsupport::ReadBytes(m_rss.File(L"RssUrlList.csv"));
    std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text, "read,count,title,url,filename,FileID\r\n"
                    "20240101120000,20240102130000,\"News, \"\"local\"\"\",\"http://a.example/feed?x=1,2\",LOG1A2B.kml,3\r\n");

    ASSERT_TRUE(Doc().LoadFeedList());
    ASSERT_EQ(Doc().GetFeedCount(), 1);
    POI_RSS_URL f{};
    ASSERT_TRUE(Doc().GetFeed(0, &f));
    EXPECT_STREQ(f.title, L"News, \"local\"");
    EXPECT_STREQ(f.url, L"http://a.example/feed?x=1,2");
    EXPECT_EQ(f.updateTime, 20240102130000);
    EXPECT_EQ(f.readTime, 20240101120000);
    EXPECT_EQ(f.newCount, 0);
    EXPECT_EQ(Doc().m_feeds[0].fileId, 3);
    EXPECT_FALSE(Doc().GetFeed(1, &f));
}

TEST_F(FeedList, DamagedFileIsCutToTheRecordsFields)
{
    std::string text = "read,count,title,url,filename,FileID\r\n";
    for (int i = 0; i < 250; ++i) {
        std::string title = i == 0 ? std::string(900, 'T') : "t" + std::to_string(i);
        std::string url = i == 1 ? "http://x/" + std::string(700, 'u') : "http://x/" + std::to_string(i);
        std::string name = i == 2 ? std::string(100, 'n') : i == 3 ? "..\\..\\evil.txt" : "LOG" + std::to_string(i) + ".kml";
        int id = i == 4 ? 5 : i == 5 ? 999 : i;  // feed 4 takes 5, so feed 5's own 5 would repeat
        text += "0,0," + title + "," + url + "," + name + "," + std::to_string(id) + "\r\n";
    }
    testsupport::WriteBytes(m_rss.File(L"RssUrlList.csv"), text);
    ASSERT_TRUE(Doc().LoadFeedList());
    ASSERT_EQ(Doc().GetFeedCount(), 200);
    EXPECT_EQ(Doc().m_feedFiles.GetSize(), 200);
    EXPECT_EQ(wcslen(Doc().m_feeds[0].title), 499u);
    EXPECT_EQ(wcslen(Doc().m_feeds[1].url), 499u);
    EXPECT_STREQ(Doc().m_feeds[2].fileName, L"");  // too long for the field: a new cache is made
    EXPECT_STREQ(Doc().m_feeds[3].fileName, L"");  // not a plain name in the RSS folder
    // Identifiers stay unique and in range.
    bool seen[200] = {};
    for (const POI_RSS_URL& f : Doc().m_feeds) {
        ASSERT_GE(f.fileId, 0);
        ASSERT_LT(f.fileId, 200);
        EXPECT_FALSE(seen[f.fileId]);
        seen[f.fileId] = true;
    }
    ASSERT_TRUE(Doc().SaveFeedList());
    ASSERT_TRUE(Doc().LoadFeedList());
    EXPECT_EQ(Doc().GetFeedCount(), 200);
}

TEST_F(FeedList, TitleOutsideTheCharacterGroupReadsBackWithQuestionMarks)
{
    doctest::SetModel(0);  // group 1
    AddFeedRecord(L"http://x/1", 0);
    wcscpy(Doc().m_feeds[0].title, L"Caf\u00e9 \u6771\u4eac");
    ASSERT_TRUE(Doc().SaveFeedList());
    ASSERT_TRUE(Doc().LoadFeedList());
    CString title = Doc().GetFeedTitle(0);
    EXPECT_EQ(title.Find(L'\u6771'), -1);
    EXPECT_NE(title.Find(L'?'), -1);
}

TEST_F(FeedList, DeletingFirstAndThirdOfFourKeepsTheOthersAligned)
{
    for (int i = 0; i < 4; ++i) {
        AddFeedRecord(L"http://x/" + std::to_wstring(i));
        swprintf(Doc().m_feeds[i].fileName, 64, L"LOG%d.kml", i);
        testsupport::WriteBytes(m_rss.File(Doc().m_feeds[i].fileName), std::string("x"));
        Doc().m_feedFiles[i] = (L"file" + std::to_wstring(i)).c_str();
    }
    Doc().ResetFeedSelection();
    Doc().m_feedSelection[0] = 1;
    Doc().m_feedSelection[2] = 1;
    ASSERT_TRUE(Doc().DeleteSelectedFeeds());
    ASSERT_EQ(Doc().GetFeedCount(), 2);
    EXPECT_STREQ(Doc().m_feeds[0].url, L"http://x/1");
    EXPECT_STREQ(Doc().m_feeds[1].url, L"http://x/3");
    EXPECT_EQ(Doc().m_feedFiles[0], CString(L"file1"));
    EXPECT_EQ(Doc().m_feedFiles[1], CString(L"file3"));
    EXPECT_FALSE(testsupport::FileExists(m_rss.File(L"LOG0.kml")));
    EXPECT_TRUE(testsupport::FileExists(m_rss.File(L"LOG1.kml")));
    EXPECT_FALSE(testsupport::FileExists(m_rss.File(L"LOG2.kml")));
}

TEST_F(FeedList, AddFeedRefusals)
{
    EXPECT_FALSE(Doc().AddFeed(L""));
    EXPECT_EQ(Doc().GetErrorCode(), RSSERR_EMPTY_URL);
    // Nothing listens on port 9 of the loopback.
    EXPECT_FALSE(Doc().AddFeed(L"http://127.0.0.1:9/feed.xml"));
    EXPECT_EQ(Doc().GetErrorCode(), RSSERR_NOT_FEED);
    theGlobal.m_rssUpdateBusy = 1;
    EXPECT_FALSE(Doc().AddFeed(L"http://127.0.0.1:9/feed.xml"));
    EXPECT_EQ(Doc().GetErrorCode(), RSSERR_BUSY);
    theGlobal.m_rssUpdateBusy = 0;
    EXPECT_EQ(Doc().GetFeedCount(), 0);
    CString text;
    Doc().SetErrorCode(RSSERR_POSITION);
    EXPECT_EQ(Doc().GetErrorString(text), CString(L"S36  (S182,S183)"));
    Doc().SetErrorCode(RSSERR_NOT_FEED);
    EXPECT_EQ(Doc().GetErrorString(text), CString(L"S48"));
    Doc().SetErrorCode(RSSERR_BUSY);
    EXPECT_EQ(Doc().GetErrorString(text), CString(L"S17"));
}

TEST_F(FeedList, NowStamp)
{
    Doc().UpdateNowStamp();
    EXPECT_GT(Doc().m_nowStamp, 20260000000000);
    Doc().m_nowStamp = 20240101120000;
    Doc().m_feedItems.Add(Item(L"a", 1, 1, 0, 20240101125959));
    Doc().AdjustNowStamp();
    EXPECT_EQ(Doc().m_nowStamp, 20240101125959);
    Doc().m_nowStamp = 20240101120000;
    Doc().m_feedItems[0].pubDate = 20240101130001;
    Doc().AdjustNowStamp();
    EXPECT_EQ(Doc().m_nowStamp, 20240101120000);
}

TEST_F(FeedList, CountsAndChecks)
{
    for (int i = 0; i < 1500; ++i) {
        DOCPI_RSS_ITEM it = Item(L"x");
        it.check = i >= 900;
        Doc().m_shownItems.Add(it);
    }
    EXPECT_EQ(Doc().GetShownItemCount(), 1000);
    EXPECT_EQ(Doc().CountCheckedItems(), 100);
    theGlobal.m_rssLoadBusy = 1;
    EXPECT_EQ(Doc().CountCheckedItems(), 0);
    theGlobal.m_rssLoadBusy = 0;
    EXPECT_TRUE(Doc().SetItemCheck(0, 1));
    EXPECT_EQ(Doc().GetItemCheck(0), 1);
    EXPECT_FALSE(Doc().SetItemCheck(1500, 1));
    DOCPI_RSS_ITEM out;
    EXPECT_FALSE(Doc().GetItem(-1, &out));

    for (int n : {600, 600, 0}) {
        int i = AddFeedRecord(L"u");
        Doc().m_feeds[i].newCount = n;
    }
    EXPECT_EQ(Doc().GetTotalItemCount(), 1000);
}

TEST_F(FeedList, FileIdentifiers)
{
    for (int id : {0, 1, 3})
        AddFeedRecord(L"u", id);
    EXPECT_EQ(Doc().FindFreeFileId(), 2);
    EXPECT_EQ(Doc().FindFeedByFileId(3), 2);
    EXPECT_EQ(Doc().FindFeedByFileId(7), -1);
    Doc().m_feeds.RemoveAll();
    for (int id = 0; id < 200; ++id)
        AddFeedRecord(L"u", id);
    EXPECT_EQ(Doc().FindFreeFileId(), -1);
}

TEST_F(FeedList, SameItemTest)
{
    DOCPI_RSS_ITEM a = Item(L"Cafe"), b = Item(L"Cafe");
    wcscpy(b.itemLink, L"http://other");
    EXPECT_TRUE(IsSameFeedItem(a, b));
    wcscpy(b.poi.name, L"cafe");
    EXPECT_FALSE(IsSameFeedItem(a, b));
    b = a;
    b.poi.latitude = std::nan("");
    EXPECT_FALSE(IsSameFeedItem(a, b));
}

TEST_F(FeedList, MapQueryEncodesEveryFeedText)
{
    DOCPI_RSS_ITEM it = Item(L"A&B", 139.25, 35.5);
    wcscpy(it.poi.description, L"<p>tag</p>");
    wcscpy(it.imageLink, L"img1.jpg");
    Doc().m_shownItems.Add(it);
    EXPECT_EQ(Doc().BuildMapQuery(0),
              CString(L"&name[]=A%26B&address[]=&tel[]=&description[]=&lat[]=35.500000&lng[]=139.250000&URL[]=img1.jpg"));
    // A description from the feed cannot add parameters to the request.
    wcscpy(it.poi.description, L"x&lat[]=0");
    Doc().m_shownItems.Add(it);
    CString q = Doc().BuildMapQuery(1);
    EXPECT_NE(q.Find(L"&description[]=x%26lat%5B%5D%3D0&"), -1) << testsupport::Utf8(q.GetString());
    EXPECT_EQ(Doc().BuildMapQuery(2), CString());
}

TEST_F(FeedList, ValidateLooksAtTheItemsThatAreWritten)
{
    Doc().m_shownItems.Add(Item(L"ok"));
    EXPECT_TRUE(Doc().ValidateItems());
    // Unchecked items are not written: their position or name stops nothing.
    DOCPI_RSS_ITEM bad = Item(L"north", 10, 90.5);
    bad.check = 0;
    Doc().m_shownItems.Add(bad);
    DOCPI_RSS_ITEM nowhere = Item(L"nowhere", -255.0, -255.0);
    nowhere.check = 0;
    Doc().m_shownItems.Add(nowhere);
    EXPECT_TRUE(Doc().ValidateItems());
    Doc().m_shownItems[1].check = 1;
    EXPECT_FALSE(Doc().ValidateItems());
    EXPECT_EQ(Doc().GetErrorCode(), RSSERR_POSITION);
    Doc().m_shownItems[1] = Item(L"");
    EXPECT_FALSE(Doc().ValidateItems());
    EXPECT_EQ(Doc().GetErrorCode(), RSSERR_NO_NAME);
    // Past the first thousand nothing is written either.
    Doc().m_shownItems[1] = Item(L"ok");
    for (int i = 3; i < RSS_MAX_SHOWN; ++i)
        Doc().m_shownItems.Add(Item(L"ok"));
    Doc().m_shownItems.Add(Item(L"", 10, 95));
    EXPECT_TRUE(Doc().ValidateItems());
}

TEST_F(FeedList, PoiRecordLeavesTheFeedPartOut)
{
    DOCPI_RSS_ITEM it = Item(L"n", 1.5, 2.5);
    wcscpy(it.poi.address, L"addr");
    DOCPI_RECORD rec{};
    CDocRssPoi::GetItemAsPoiRecord(it, &rec);
    EXPECT_STREQ(rec.name, L"n");
    EXPECT_STREQ(rec.address, L"addr");
    EXPECT_EQ(rec.longitude, 1.5);
    EXPECT_EQ(rec.latitude, 2.5);
}

}  // namespace
