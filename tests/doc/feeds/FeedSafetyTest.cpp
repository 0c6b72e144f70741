// What the reader view needs of the feed document: files it may delete, the
// list file's encoding, busy guards, marks set once, loads during an update.
#include <string>

#include "FeedTestSupport.h"

using namespace feedtest;

namespace {

class FeedSafety : public FeedTest {};

std::string ReadText(const std::wstring& path)
{
    const auto bytes = testsupport::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

DOCPI_RSS_ITEM Marked(const wchar_t* name, int fileId)
{
    DOCPI_RSS_ITEM it{};
    wcscpy(it.poi.name, name);
    it.poi.longitude = 139.5;
    it.poi.latitude = 35.25;
    it.check = it.newItem = it.readItem = 1;
    it.fileId = fileId;
    CoCreateGuid(&it.guid);
    return it;
}

TEST_F(FeedSafety, AFeedAddedFromALocalFileIsNeverDeleted)
{
    const std::wstring local = m_temp.File(L"my own feed.xml");
    testsupport::WriteBytes(local, Rss2(Rss2Items(3)));
    testsupport::LocalHttpServer server([](const testsupport::HttpRequest&, testsupport::HttpConnection& c) {
        c.Reply(200, Rss2(Rss2Items(2), "Web feed"), "application/rss+xml");
    });
    ASSERT_TRUE(Doc().AddFeed(local.c_str()));
    ASSERT_TRUE(Doc().AddFeed((server.BaseUrl() + L"/feed.xml").c_str()));
    ASSERT_EQ(Doc().GetFeedCount(), 2);
    const CString downloaded = Doc().m_feedFiles[1];
    ASSERT_FALSE(downloaded.IsEmpty());
    EXPECT_NE(downloaded, CString(local.c_str()));
    EXPECT_TRUE(testsupport::FileExists(downloaded.GetString()));

    EXPECT_TRUE(Doc().DeleteFeedFiles());
    EXPECT_TRUE(testsupport::FileExists(local)) << "the user's file was deleted";
    EXPECT_EQ(ReadText(local), Rss2(Rss2Items(3)));
    EXPECT_FALSE(testsupport::FileExists(downloaded.GetString()));
}

TEST_F(FeedSafety, AnAddressOutsideTheCodePageKeepsItsSubscription)
{
    const wchar_t* urls[] = {L"http://example.com/\u6771\u4eac/feed.xml", L"http://example.com/caf\u00e9\u20ac.rss",
                             L"http://example.com/plain.rss"};
    for (int i = 0; i < 3; ++i)
        AddFeedRecord(urls[i], i);
    ASSERT_TRUE(Doc().SaveFeedList());
    const std::string bytes = ReadText(m_rss.File(L"RssUrlList.csv"));
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    ASSERT_TRUE(Doc().LoadFeedList());
    ASSERT_EQ(Doc().GetFeedCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_STREQ(Doc().m_feeds[i].url, urls[i]);

    // A list the code page holds keeps being written in it, without a mark.
    Doc().m_feeds.RemoveAt(0, 2);
    ASSERT_TRUE(Doc().SaveFeedList());
    const std::string plain = ReadText(m_rss.File(L"RssUrlList.csv"));
    EXPECT_EQ(plain.rfind("read,count,title,url,filename,FileID\r\n", 0), 0u);
    ASSERT_TRUE(Doc().LoadFeedList());
    EXPECT_STREQ(Doc().m_feeds[0].url, urls[2]);
}

TEST_F(FeedSafety, DeletingFeedsWaitsForTheWorkers)
{
    for (int i = 0; i < 3; ++i)
        AddFeedRecord(L"http://x/" + std::to_wstring(i), i);
    Doc().ResetFeedSelection();
    Doc().m_feedSelection[1] = 1;
    for (volatile int* flag : {&theGlobal.m_rssUpdateBusy, &theGlobal.m_rssLoadBusy}) {
        *flag = 1;
        EXPECT_FALSE(Doc().DeleteSelectedFeeds());
        EXPECT_EQ(Doc().GetErrorCode(), RSSERR_BUSY);
        EXPECT_EQ(Doc().GetFeedCount(), 3);
        *flag = 0;
    }
    EXPECT_TRUE(Doc().DeleteSelectedFeeds());
    ASSERT_EQ(Doc().GetFeedCount(), 2);
    EXPECT_STREQ(Doc().m_feeds[1].url, L"http://x/2");
}

TEST_F(FeedSafety, MarkingAnItemTwiceKeepsOneFavourite)
{
    AddFeedRecord(L"http://x/0", 0);
    Doc().m_selectedFeed = RSS_SHOW_NOTHING;
    DOCPI_RSS_ITEM item = Marked(L"Harbour", 0);
    Doc().m_shownItems.Add(item);
    Doc().m_shownItems.Add(Marked(L"Castle", 0));
    ASSERT_TRUE(Doc().SetItemFavorite(0, 1));
    ASSERT_TRUE(Doc().SetItemFavorite(0, 1));
    ASSERT_TRUE(Doc().SetItemFavorite(1, 1));
    EXPECT_EQ(Doc().m_favorites.GetSize(), 2);
    // The file read back holds each once.
    ASSERT_TRUE(Doc().LoadFavorites());
    ASSERT_EQ(Doc().m_favorites.GetSize(), 2);
    EXPECT_STREQ(Doc().m_favorites[0].poi.name, L"Castle");
    EXPECT_STREQ(Doc().m_favorites[1].poi.name, L"Harbour");
    // Unmarked once, it is gone.
    ASSERT_TRUE(Doc().SetItemFavorite(0, 0));
    ASSERT_TRUE(Doc().LoadFavorites());
    ASSERT_EQ(Doc().m_favorites.GetSize(), 1);
    EXPECT_STREQ(Doc().m_favorites[0].poi.name, L"Castle");
}

TEST_F(FeedSafety, TheMarkLandsOnTheItemThatWasClicked)
{
    AddFeedRecord(L"http://x/0", 0);
    for (const wchar_t* n : {L"A", L"B", L"C"})
        Doc().m_shownItems.Add(Marked(n, 0));
    const GUID b = Doc().m_shownItems[1].guid;
    ASSERT_TRUE(Doc().SetItemFavorite(1, 1));
    ASSERT_EQ(Doc().m_favorites.GetSize(), 1);
    EXPECT_TRUE(IsEqualGUID(Doc().m_favorites[0].guid, b));
    EXPECT_EQ(Doc().m_shownItems[1].favorite, 1);
    EXPECT_EQ(Doc().m_shownItems[0].favorite + Doc().m_shownItems[2].favorite, 0);
    EXPECT_FALSE(Doc().SetItemFavorite(3, 1));
}

TEST_F(FeedSafety, FeedRowsLoadWhileTheUpdateRuns)
{
    TestReader reader;
    for (int i = 0; i < 2; ++i)
        AddFeedRecord(L"http://x/" + std::to_wstring(i), i);
    Doc().m_feeds[0].processed = 1;
    theGlobal.m_rssUpdateBusy = 1;
    // The new items are being written; feed 1 is not processed yet.
    EXPECT_FALSE(Doc().StartItemLoad(&reader, 0));
    EXPECT_FALSE(Doc().StartItemLoad(&reader, 3));
    EXPECT_EQ(theGlobal.m_rssLoadBusy, 0);
    // The favourites and a processed feed are read.
    EXPECT_TRUE(Doc().StartItemLoad(&reader, 1));
    EXPECT_EQ(Doc().m_selectedFeed, RSS_SHOW_FAVORITES);
    EXPECT_EQ(theGlobal.m_rssLoadBusy, 0);
    ASSERT_TRUE(Doc().StartItemLoad(&reader, 2));
    EXPECT_EQ(Doc().m_selectedFeed, 0);
    EXPECT_TRUE(DispatchUntil([&] { return reader.ready.load() == 1; }));
    EXPECT_TRUE(CDocRssPoi::WaitForFeedWorkers(0) || DispatchUntil([] { return theGlobal.m_rssLoadBusy == 0; }));
    theGlobal.m_rssUpdateBusy = 0;
}

}  // namespace
