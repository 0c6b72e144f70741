// The feed reader's own files byte for byte: an item cache, the favourites
// file and the new-items file, each written through its real writer from
// fixed items (fixed guids and dates, so nothing depends on the clock).
#include <functional>
#include <string>

#include "FeedTestSupport.h"
#include "GoldenFiles.h"

using namespace feedtest;

namespace {

DOCPI_RSS_ITEM Item(const wchar_t* name, unsigned guidTail, long long date)
{
    DOCPI_RSS_ITEM it{};
    wcscpy(it.poi.name, name);
    it.poi.longitude = 139.5;
    it.poi.latitude = 35.25;
    it.check = it.newItem = 1;
    it.fileId = 10;
    it.pubDate = date;
    it.guid = GUID{0x6B29FC40, 0xCA47, 0x1067, {0xB3, 0x1D, 0x00, 0xDD, 0x01, 0x06, 0x62, 0x00}};
    it.guid.Data1 += guidTail;
    return it;
}

// Two items: one with every text, markup characters, a non-ASCII name and a
// position west and south; one without position, read and a favourite.
CArray<DOCPI_RSS_ITEM> Items()
{
    CArray<DOCPI_RSS_ITEM> items;
    DOCPI_RSS_ITEM a = Item(L"Caf\u00E9 <A&B>", 1, 20100105102030);
    wcscpy(a.poi.address, L"1 Main St");
    wcscpy(a.poi.telephone, L"+81 3 1234");
    wcscpy(a.poi.description, L"say \"hi\"");
    wcscpy(a.itemLink, L"http://example.com/a?x=1&y=2");
    wcscpy(a.imageLink, L"http://example.com/a.jpg");
    a.poi.longitude = -0.125;
    a.poi.latitude = -33.8675;
    a.readItem = 0;
    DOCPI_RSS_ITEM b = Item(L"B", 2, 7);
    b.poi.longitude = b.poi.latitude = -255.0;
    b.readItem = 1;
    b.newItem = 0;
    b.favorite = 1;
    b.fileId = 12;
    items.Add(a);
    items.Add(b);
    return items;
}

class FeedFilesGolden : public FeedTest {};

TEST_F(FeedFilesGolden, EachFileHasTheBytesOfItsGoldenCopy)
{
    const struct {
        const wchar_t* golden;
        std::function<std::wstring()> write;  // the written file's path; empty when it failed
    } cases[] = {
        {L"feed_cache.kml",
         [&] {
             std::wstring path = m_rss.File(L"LOG1A2B.kml");
             return Doc().WriteFeedCache(path.c_str(), Items(), TRUE) ? path : L"";
         }},
        {L"RssFavoriteList.kml",
         [&] {
             // Created empty, then two favourites: the newest comes first.
             bool ok = Doc().CreateFavorites() != FALSE;
             for (const DOCPI_RSS_ITEM& it : Items()) {
                 DOCPI_RSS_ITEM marked = it;
                 marked.favorite = 1;
                 ok = ok && Doc().UpdateFavoriteFile(marked);
             }
             return ok ? m_rss.File(L"RssFavoriteList.kml") : L"";
         }},
        {L"NewItem.kml",
         [&] {
             // Two feeds' folders, the second with one item.
             bool ok = Doc().CreateNewItemFile() != FALSE;
             Doc().m_feedItems.RemoveAll();
             Doc().m_feedItems.Append(Items());
             ok = ok && Doc().AppendNewItemFolder(10);
             Doc().m_feedItems.SetSize(1);
             ok = ok && Doc().AppendNewItemFolder(12);
             return ok ? theGlobal.m_rssTempFolder.GetString() + std::wstring(L"NewItem.kml") : L"";
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testsupport::Utf8(c.golden));
        std::wstring written = c.write();
        ASSERT_FALSE(written.empty());
        golden::Expect(c.golden, written);
    }
}

}  // namespace
