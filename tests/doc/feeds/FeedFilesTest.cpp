// The item caches, the favourites file and the new-items file.
#include <algorithm>
#include <string>
#include <vector>

#include "FeedTestSupport.h"

using namespace feedtest;

namespace {

DOCPI_RSS_ITEM Item(const wchar_t* name, int fileId = 0, long long date = 0, int readItem = 1)
{
    DOCPI_RSS_ITEM it{};
    wcscpy(it.poi.name, name);
    it.poi.longitude = 139.5;
    it.poi.latitude = 35.25;
    it.check = it.newItem = 1;
    it.readItem = readItem;
    it.fileId = fileId;
    it.pubDate = date;
    CoCreateGuid(&it.guid);
    return it;
}

std::wstring Names(const CArray<DOCPI_RSS_ITEM>& items)
{
    std::wstring s;
    for (const DOCPI_RSS_ITEM& it : items)
        s += std::wstring(it.poi.name) + L"(" + std::to_wstring(it.newItem) + L")";
    return s;
}

std::string Text(const std::wstring& path)
{
    auto b = testsupport::ReadBytes(path);
    std::wstring w;
    for (size_t i = 2; i + 1 < b.size(); i += 2)
        w += static_cast<wchar_t>(b[i] | (b[i + 1] << 8));
    return testsupport::Utf8(w);
}

class FeedFiles : public FeedTest {};

TEST_F(FeedFiles, CacheLayoutAndModes)
{
    CArray<DOCPI_RSS_ITEM> items;
    items.Add(Item(L"A&B", 0, 20100105102030, 0));
    items.Add(Item(L"B", 0, 7, 1));
    std::wstring path = m_rss.File(L"c.kml");
    ASSERT_TRUE(Doc().WriteFeedCache(path.c_str(), items, TRUE));
    std::string text = Text(path);
    EXPECT_EQ(text.find("<?xml version=\"1.0\" encoding=\"UTF-16\""), 0u);
    EXPECT_NE(text.find("<kml xmlns=\"http://www.opengis.net/kml/2.2\">"), std::string::npos) << text;
    EXPECT_NE(text.find("<MirovaleFileVersion>2.0</MirovaleFileVersion>"), std::string::npos);
    EXPECT_NE(text.find("<name>A&amp;B</name>"), std::string::npos);
    EXPECT_NE(text.find("<coordinates>139.500000,35.250000</coordinates>"), std::string::npos);
    EXPECT_NE(text.find("<pubDate>20100105102030</pubDate>\r\n\t\t\t\t<readitem>0</readitem>\r\n\t\t\t\t<newitem>1</newitem>"),
              std::string::npos)
        << text;

    struct {
        int mode;
        const wchar_t* names;
    } cases[] = {{0, L"A&B(0)"}, {1, L"B(1)"}, {2, L"A&B(1)B(1)"}, {3, L"A&B(0)B(0)"}};
    for (const auto& c : cases) {
        CArray<DOCPI_RSS_ITEM> back;
        EXPECT_TRUE(Doc().ReadFeedCache(path.c_str(), back, c.mode, FALSE));
        EXPECT_EQ(Names(back), c.names) << "mode " << c.mode;
    }
    CArray<DOCPI_RSS_ITEM> back;
    Doc().ReadFeedCache(path.c_str(), back, 2, FALSE);
    EXPECT_EQ(memcmp(&back[0].guid, &items[0].guid, sizeof(GUID)), 0);
    EXPECT_EQ(back[0].pubDate, 20100105102030);

    // Without readitem, mode 1 seeds nothing.
    ASSERT_TRUE(Doc().WriteFeedCache(path.c_str(), items, FALSE));
    back.RemoveAll();
    Doc().ReadFeedCache(path.c_str(), back, 1, FALSE);
    EXPECT_EQ(back.GetSize(), 0);
}

TEST_F(FeedFiles, OnlyAnExactOneCountsAsAFlag)
{
    // (The blank of " 1" is trimmed when the text is read.)
    for (const char* value : {"01", "1.0", "1"}) {
        std::string file = std::string("<kml><Document><Placemark><name>n</name><Point><coordinates>1,2</coordinates></Point>"
                                       "<metadata><readitem>") + value + "</readitem></metadata></Placemark></Document></kml>";
        testsupport::WriteBytes(m_rss.File(L"f.kml"), file);
        CArray<DOCPI_RSS_ITEM> back;
        Doc().ReadFeedCache(m_rss.File(L"f.kml").c_str(), back, 2, FALSE);
        ASSERT_EQ(back.GetSize(), 1);
        EXPECT_EQ(back[0].readItem, std::string(value) == "1" ? 1 : 0) << value;
    }
}

TEST_F(FeedFiles, BadPlacemarkCostsOnlyItself)
{
    const std::string good = "<Placemark><name>%</name><Point><coordinates>1,2</coordinates></Point><metadata/></Placemark>";
    auto pm = [&](const std::string& n) {
        std::string s = good;
        s.replace(s.find('%'), 1, n);
        return s;
    };
    std::string bad[] = {
        "<Placemark><name>x</name><Point><coordinates>1,2</coordinates></Point></Placemark>",  // no metadata
        "<Placemark><Point><coordinates>1,2</coordinates></Point><metadata/></Placemark>",  // no name
        "<Placemark><name>x</name><metadata/></Placemark>",  // no Point
        "<Placemark><name>x</name><Point><coordinates>1,2</coordinates><coordinates>1,2</coordinates></Point><metadata/></Placemark>",
        "<Placemark><name>x</name><Point><coordinates>1,2</coordinates></Point><metadata><itemGUID>nope</itemGUID></metadata></Placemark>",
    };
    int feed = AddFeedRecord(L"u");
    wcscpy(Doc().m_feeds[feed].fileName, L"LOGAAAA.kml");
    for (const std::string& b : bad) {
        std::string file = "<kml><Document>" + pm("A") + b + pm("B") + "</Document></kml>";
        testsupport::WriteBytes(m_rss.File(L"LOGAAAA.kml"), file);
        CArray<DOCPI_RSS_ITEM> back;
        EXPECT_FALSE(Doc().ReadFeedCache(m_rss.File(L"LOGAAAA.kml").c_str(), back, 2, FALSE));
        EXPECT_EQ(Names(back), L"A(0)B(0)") << b;
        // The merge after a parse keeps both good items for good.
        Doc().m_feedItems.RemoveAll();
        Doc().m_feedItems.Add(Item(L"C"));
        ASSERT_TRUE(Doc().MergeNewItemsIntoCache(feed));
        back.RemoveAll();
        EXPECT_TRUE(Doc().ReadFeedCache(m_rss.File(L"LOGAAAA.kml").c_str(), back, 2, FALSE));
        EXPECT_EQ(Names(back), L"C(1)A(0)B(0)") << b;
    }
    // A missing guid gives the zero GUID.
    testsupport::WriteBytes(m_rss.File(L"g.kml"), "<kml><Document>" + pm("A") + "</Document></kml>");
    CArray<DOCPI_RSS_ITEM> back;
    Doc().ReadFeedCache(m_rss.File(L"g.kml").c_str(), back, 2, FALSE);
    ASSERT_EQ(back.GetSize(), 1);
    EXPECT_EQ(back[0].guid, GUID{});
}

TEST_F(FeedFiles, ReadStopsAtAThousandEntries)
{
    CArray<DOCPI_RSS_ITEM> items;
    for (int i = 0; i < 1500; ++i)
        items.Add(Item(L"x"));
    std::wstring path = m_rss.File(L"big.kml");
    ASSERT_TRUE(Doc().WriteFeedCache(path.c_str(), items, TRUE));
    CArray<DOCPI_RSS_ITEM> back;
    Doc().ReadFeedCache(path.c_str(), back, 2, FALSE);
    EXPECT_EQ(back.GetSize(), 1000);
    back.SetSize(400);
    Doc().ReadFeedCache(path.c_str(), back, 2, FALSE);
    EXPECT_EQ(back.GetSize(), 1000);
}

TEST_F(FeedFiles, MergeOpenAndMergeAgain)
{
    // Cache: opened A (readItem 0), unopened B (readItem 1); the download brings C.
    int feed = AddFeedRecord(L"u");
    CArray<DOCPI_RSS_ITEM> cache;
    cache.Add(Item(L"A", 0, 1, 0));
    cache.Add(Item(L"B", 0, 2, 1));
    Doc().m_feedItems.RemoveAll();
    ASSERT_TRUE(Doc().MergeNewItemsIntoCache(feed));  // makes the cache file
    CString name = Doc().m_feeds[feed].fileName;
    EXPECT_EQ(name.Left(3), CString(L"LOG"));
    EXPECT_EQ(name.Right(4), CString(L".kml"));
    // Up to four hexadecimal digits (Wine does not pad them to four).
    CString digits = name.Mid(3, name.GetLength() - 7);
    EXPECT_GE(digits.GetLength(), 1);
    EXPECT_LE(digits.GetLength(), 4);
    EXPECT_EQ(digits.SpanIncluding(L"0123456789abcdefABCDEF"), digits);
    for (const std::wstring& f : testsupport::ListFolder(m_rss.Path()))
        EXPECT_EQ(f.find(L".TMP"), std::wstring::npos) << testsupport::Utf8(f);
    ASSERT_TRUE(Doc().WriteFeedCache((m_rss.Path() + Doc().m_feeds[feed].fileName).c_str(), cache, TRUE));

    Doc().m_feedItems.RemoveAll();
    Doc().ReadFeedCache((m_rss.Path() + Doc().m_feeds[feed].fileName).c_str(), Doc().m_feedItems, 1, FALSE);
    EXPECT_EQ(Names(Doc().m_feedItems), L"B(1)");
    Doc().m_feedItems.Add(Item(L"C"));
    ASSERT_TRUE(Doc().MergeNewItemsIntoCache(feed));
    CArray<DOCPI_RSS_ITEM> back;
    Doc().ReadFeedCache((m_rss.Path() + Doc().m_feeds[feed].fileName).c_str(), back, 2, FALSE);
    EXPECT_EQ(Names(back), L"B(1)C(1)A(0)");
    EXPECT_EQ(back[0].readItem + back[1].readItem + back[2].readItem, 2);

    // The list file was written with the cache name.
    ASSERT_TRUE(Doc().LoadFeedList());
    EXPECT_EQ(CString(Doc().m_feeds[feed].fileName), name);
}

TEST_F(FeedFiles, FavouritesNewestFirstAndUnmarkRemovesOne)
{
    for (const wchar_t* n : {L"A", L"B", L"C"}) {
        DOCPI_RSS_ITEM it = Item(n);
        it.favorite = 1;
        ASSERT_TRUE(Doc().UpdateFavoriteFile(it));
    }
    ASSERT_TRUE(Doc().LoadFavorites());
    EXPECT_EQ(Names(Doc().m_favorites), L"C(0)B(0)A(0)");
    DOCPI_RSS_ITEM b = Doc().m_favorites[1];
    ASSERT_TRUE(Doc().UpdateFavoriteFile(b));  // marked twice: in the file twice
    b.favorite = 0;
    ASSERT_TRUE(Doc().UpdateFavoriteFile(b));
    Doc().LoadFavorites();
    EXPECT_EQ(Names(Doc().m_favorites), L"C(0)B(0)A(0)");
    auto before = testsupport::ReadBytes(m_rss.File(L"RssFavoriteList.kml"));
    DOCPI_RSS_ITEM stranger = Item(L"Z");
    EXPECT_TRUE(Doc().UpdateFavoriteFile(stranger));
    EXPECT_EQ(testsupport::ReadBytes(m_rss.File(L"RssFavoriteList.kml")), before);
}

TEST_F(FeedFiles, NewItemFoldersFollowTheirFeeds)
{
    // Three feeds; feed 1 fails (no folder), feeds 0 and 2 have items.
    for (int i = 0; i < 3; ++i)
        AddFeedRecord(L"u", 10 + i);
    ASSERT_TRUE(Doc().CreateNewItemFile());
    Doc().m_feedItems.RemoveAll();
    Doc().m_feedItems.Add(Item(L"a0", 10, 20100105102030));
    Doc().m_feedItems.Add(Item(L"a1", 10, 0));
    ASSERT_TRUE(Doc().AppendNewItemFolder(10));
    Doc().m_feedItems.RemoveAll();
    Doc().m_feedItems.Add(Item(L"c0", 12, 20100106000000));
    ASSERT_TRUE(Doc().AppendNewItemFolder(12));

    // Marking an item of feed 2 reaches feed 2's folder, not position 2.
    DOCPI_RSS_ITEM c0 = Doc().m_feedItems[0];
    c0.favorite = 1;
    ASSERT_TRUE(Doc().SetFavoriteInNewItems(c0));
    std::string text = Text(theGlobal.m_rssTempFolder.GetString() + std::wstring(L"NewItem.kml"));
    EXPECT_NE(text.find("?>\r\n<kml>\r\n\t<Folder FileID=\"10\">\r\n\t\t<Placemark>\r\n\t\t\t<pubDate>20100105102030</pubDate>\r\n"
                        "\t\t\t<name>a0</name>"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.substr(text.size() - 20), "\t</Folder>\r\n</kml>\r\n");
    ASSERT_NE(text.find("<name>c0</name>"), std::string::npos);
    // The mark is read back with the file (it is kept beside it, not written into it).
    Doc().ClearItems();
    ASSERT_TRUE(Doc().ReadNewItems());
    ASSERT_EQ(Doc().m_feedItems.GetSize(), 3);
    EXPECT_STREQ(Doc().m_feedItems[2].poi.name, L"c0");
    EXPECT_EQ(Doc().m_feedItems[2].favorite, 1);
    EXPECT_EQ(Doc().m_feedItems[0].favorite + Doc().m_feedItems[1].favorite, 0);

    // Opening feed 2 removes its own folder; feed 0's items stay.
    EXPECT_TRUE(Doc().RemoveNewItemFolder(2));
    EXPECT_FALSE(Doc().RemoveNewItemFolder(2));
    Doc().ClearItems();
    ASSERT_TRUE(Doc().ReadNewItems());
    Doc().BuildNewItemsList();
    ASSERT_EQ(Doc().GetShownItemCount(), 2);
    EXPECT_STREQ(Doc().m_shownItems[0].poi.name, L"a0");
    EXPECT_STREQ(Doc().m_shownItems[1].poi.name, L"a1");
    EXPECT_FALSE(Doc().RemoveNewItemFolder(1));  // never had a folder
    // An empty folder, as a feed without new items leaves it.
    int empty = AddFeedRecord(L"u", 13);
    Doc().m_feedItems.RemoveAll();
    ASSERT_TRUE(Doc().AppendNewItemFolder(13));
    EXPECT_TRUE(Doc().RemoveNewItemFolder(empty));
    EXPECT_FALSE(Doc().RemoveNewItemFolder(empty));
    Doc().ClearItems();
    ASSERT_TRUE(Doc().ReadNewItems());
    EXPECT_EQ(Doc().m_feedItems.GetSize(), 2);
}

TEST_F(FeedFiles, NewItemsNewestFirstAndAtMostAThousand)
{
    AddFeedRecord(L"u", 0);
    ASSERT_TRUE(Doc().CreateNewItemFile());
    Doc().m_feedItems.RemoveAll();
    Doc().m_feedItems.Add(Item(L"mid", 0, 20100105102030));
    Doc().m_feedItems.Add(Item(L"none", 0, 0));
    Doc().m_feedItems.Add(Item(L"new", 0, 20100106000000));
    for (int i = 0; i < 1200; ++i)
        Doc().m_feedItems.Add(Item(L"old", 0, 20000101000000 + i));
    ASSERT_TRUE(Doc().AppendNewItemFolder(0));
    Doc().ClearItems();
    ASSERT_TRUE(Doc().ReadNewItems());
    EXPECT_EQ(Doc().m_feedItems.GetSize(), 1203);
    Doc().BuildNewItemsList();
    ASSERT_EQ(Doc().m_shownItems.GetSize(), 1000);
    EXPECT_STREQ(Doc().m_shownItems[0].poi.name, L"new");
    EXPECT_STREQ(Doc().m_shownItems[1].poi.name, L"mid");
    EXPECT_EQ(Doc().m_shownItems[2].pubDate, 20000101000000 + 1199);
}

TEST_F(FeedFiles, FavouriteMarkTravelsByTheRowShown)
{
    int feed = AddFeedRecord(L"u", 4);
    ASSERT_TRUE(Doc().CreateNewItemFile());
    Doc().m_feedItems.RemoveAll();
    Doc().m_feedItems.Add(Item(L"x", 4, 20100105102030));
    ASSERT_TRUE(Doc().MergeNewItemsIntoCache(feed));
    ASSERT_TRUE(Doc().AppendNewItemFolder(4));
    std::wstring cache = m_rss.Path() + Doc().m_feeds[feed].fileName;

    // New items shown: cache, new-items file and favourites.
    Doc().ClearItems();
    Doc().ReadNewItems();
    Doc().BuildNewItemsList();
    Doc().m_selectedFeed = RSS_SHOW_NEW;
    ASSERT_TRUE(Doc().SetItemFavorite(0, 1));
    EXPECT_NE(Text(cache).find("<Favorite>1</Favorite>"), std::string::npos);
    auto newItemMark = [] {
        CArray<DOCPI_RSS_ITEM> saved;
        saved.Copy(Doc().m_feedItems);
        Doc().m_feedItems.RemoveAll();
        Doc().ReadNewItems();
        const int mark = Doc().m_feedItems.GetSize() == 1 ? Doc().m_feedItems[0].favorite : -1;
        Doc().m_feedItems.Copy(saved);
        return mark;
    };
    EXPECT_EQ(newItemMark(), 1);
    ASSERT_EQ(Doc().m_favorites.GetSize(), 1);
    // The list kept in memory is the list the file gives.
    DOCPI_RSS_ITEM kept = Doc().m_favorites[0];
    ASSERT_TRUE(Doc().LoadFavorites());
    ASSERT_EQ(Doc().m_favorites.GetSize(), 1);
    const DOCPI_RSS_ITEM& read = Doc().m_favorites[0];
    EXPECT_STREQ(kept.poi.name, read.poi.name);
    EXPECT_EQ(kept.guid, read.guid);
    EXPECT_EQ(kept.pubDate, read.pubDate);
    EXPECT_EQ(kept.fileId, read.fileId);
    EXPECT_EQ(kept.favorite, 1);
    EXPECT_EQ(read.favorite, 1);
    EXPECT_EQ(kept.newItem, read.newItem);
    EXPECT_EQ(kept.readItem, read.readItem);
    EXPECT_EQ(kept.check, read.check);

    // Favourites shown, feed opened: only the cache.
    Doc().m_feeds[feed].opened = 1;
    Doc().FillItemList();
    Doc().m_selectedFeed = RSS_SHOW_FAVORITES;
    ASSERT_TRUE(Doc().SetItemFavorite(0, 0));
    EXPECT_NE(Text(cache).find("<Favorite>0</Favorite>"), std::string::npos);
    EXPECT_EQ(newItemMark(), 1);
    EXPECT_EQ(Doc().m_favorites.GetSize(), 0);
    // The item of a deleted feed changes no file.
    DOCPI_RSS_ITEM orphan = Item(L"o", 99);
    EXPECT_FALSE(Doc().SetFavoriteInCache(orphan));
}

}  // namespace

TEST_F(FeedFiles, ManyMarksReadBackAsExactlyTheMarkedItems)
{
    const int feed = AddFeedRecord(L"u", 4);
    Doc().m_feedItems.RemoveAll();
    for (int i = 0; i < 60; ++i)
        Doc().m_feedItems.Add(Item((L"i" + std::to_wstring(i)).c_str(), 4, 20100105102030 + i));
    ASSERT_TRUE(Doc().MergeNewItemsIntoCache(feed));
    Doc().ClearListedItems();
    Doc().m_shownItems.Copy(Doc().m_feedItems);
    Doc().m_selectedFeed = feed;
    // Every third item marked, the ninth twice, then two of them unmarked.
    std::vector<int> marked;
    for (int i = 0; i < 60; i += 3) {
        ASSERT_TRUE(Doc().SetItemFavorite(i, 1));
        marked.insert(marked.begin(), i);
    }
    ASSERT_TRUE(Doc().SetItemFavorite(9, 1));
    for (int i : {21, 45}) {
        ASSERT_TRUE(Doc().SetItemFavorite(i, 0));
        marked.erase(std::find(marked.begin(), marked.end(), i));
    }
    // The favourites file: the marked items, newest first, each once.
    ASSERT_TRUE(Doc().LoadFavorites());
    std::vector<std::wstring> names, expected;
    for (const DOCPI_RSS_ITEM& f : Doc().m_favorites)
        names.push_back(f.poi.name);
    for (int i : marked)
        expected.push_back(L"i" + std::to_wstring(i));
    EXPECT_EQ(names, expected);
    // The feed's cache: the mark on exactly those items.
    CArray<DOCPI_RSS_ITEM> cached;
    ASSERT_TRUE(Doc().ReadFeedCache((m_rss.Path() + Doc().m_feeds[feed].fileName).c_str(), cached, 2, TRUE));
    ASSERT_EQ(cached.GetSize(), 60);
    for (int i = 0; i < 60; ++i) {
        const bool isMarked = std::find(marked.begin(), marked.end(), i) != marked.end();
        EXPECT_EQ(cached[i].favorite, isMarked ? 1 : 0) << i;
    }
}
