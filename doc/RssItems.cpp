// The item lists of the feed document: counts, the favourites row, feed
// identifiers, the duplicate test, POI records and the map page's form data.
#include <cmath>

#include "common/WebUtil.h"
#include "core/Global.h"
#include "doc/DocRssPoi.h"
#include "doc/RssText.h"

int CDocRssPoi::GetShownItemCount() const
{
    INT_PTR n = m_shownItems.GetSize();
    return static_cast<int>(n < RSS_MAX_SHOWN ? n : RSS_MAX_SHOWN);
}

int CDocRssPoi::CountCheckedItems()
{
    if (theGlobal.m_rssLoadBusy)
        return 0;
    CRssLock hold(m_itemLock);
    int count = 0;
    for (INT_PTR i = 0; i < m_shownItems.GetSize() && i < RSS_MAX_SHOWN; ++i)
        count += m_shownItems[i].check == 1;
    return count;
}

void CDocRssPoi::FillItemList()
{
    ClearListedItems();
    {
        CRssLock hold(m_itemLock);
        for (const DOCPI_RSS_ITEM& item : m_favorites)
            m_shownItems.Add(item);
    }
    theGlobal.m_rssLoadBusy = 0;
}

int CDocRssPoi::GetTotalItemCount() const
{
    LONGLONG sum = 0;
    for (const POI_RSS_URL& feed : m_feeds)
        sum += feed.newCount;
    return static_cast<int>(sum < RSS_MAX_SHOWN ? sum : RSS_MAX_SHOWN);
}

int CDocRssPoi::CountUpdatedFeeds() const
{
    int n = 0;
    for (const POI_RSS_URL& feed : m_feeds)
        n += feed.processed != 0;
    return n;
}

void CDocRssPoi::ClearFeedOpened()
{
    for (POI_RSS_URL& feed : m_feeds)
        feed.opened = 0;
}

int CDocRssPoi::FindFreeFileId() const
{
    for (int id = 0; id < RSS_MAX_FEEDS; ++id)
        if (FindFeedByFileId(id) < 0)
            return id;
    return -1;
}

int CDocRssPoi::FindFeedByFileId(int fileId) const
{
    for (int i = 0; i < GetFeedCount(); ++i)
        if (m_feeds[i].fileId == fileId)
            return i;
    return -1;
}

BOOL IsSameFeedItem(const DOCPI_RSS_ITEM& a, const DOCPI_RSS_ITEM& b)
{
    if (!(a.poi.longitude == b.poi.longitude) || !(a.poi.latitude == b.poi.latitude))
        return FALSE;
    return CompareStringW(LOCALE_USER_DEFAULT, 0, a.poi.name, -1, b.poi.name, -1) == CSTR_EQUAL;
}

void CDocRssPoi::GetItemAsPoiRecord(const DOCPI_RSS_ITEM& item, DOCPI_RECORD* out)
{
    if (!out)
        return;
    CopyField(out->name, item.poi.name);
    CopyField(out->address, item.poi.address);
    CopyField(out->telephone, item.poi.telephone);
    CopyField(out->description, item.poi.description);
    out->longitude = item.poi.longitude;
    out->latitude = item.poi.latitude;
}

CString CDocRssPoi::BuildMapQuery(int index)
{
    DOCPI_RSS_ITEM item;
    if (index < 0 || !GetItem(index, &item))
        return CString();
    auto number = [](double v) {
        CString s;
        s.Format(L"%f", v);
        LocaleDecimalToDot(s);
        return s;
    };
    // The description comes from the feed: encoded like every other field, so
    // that its "&" or "=" cannot add parameters to the page's request.
    CString description = item.poi.description[0] == L'<' ? CString() : UrlEncodeUtf8(item.poi.description);
    CString query;
    query.Format(L"&name[]=%s&address[]=%s&tel[]=%s&description[]=%s&lat[]=%s&lng[]=%s&URL[]=%s",
                 UrlEncodeUtf8(item.poi.name).GetString(), UrlEncodeUtf8(item.poi.address).GetString(),
                 UrlEncodeUtf8(item.poi.telephone).GetString(), description.GetString(),
                 number(item.poi.latitude).GetString(), number(item.poi.longitude).GetString(),
                 UrlEncodeUtf8(item.imageLink).GetString());
    return query;
}
