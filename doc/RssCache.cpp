// The per-feed item caches in the RSS folder: KML files that keep every item the
// reader knows of a feed with its new, read and favourite marks.
#include <shlwapi.h>

#include "core/Global.h"
#include "doc/DocPaths.h"
#include "doc/DocRssPoi.h"
#include "doc/RssPlacemark.h"
#include "doc/RssText.h"

namespace {

const wchar_t kKml22Namespace[] = L"http://www.opengis.net/kml/2.2";

}  // namespace

CString CDocRssPoi::FeedCachePath(int feed) const
{
    return WithBackslash(theGlobal.m_rssFolder) + m_feeds[feed].fileName;
}

BOOL CDocRssPoi::NewCacheName(CString& path)
{
    if (theGlobal.m_rssFolder.IsEmpty() || !CreateFolderPath(theGlobal.m_rssFolder))
        return FALSE;
    // The temporary name is unique only as .TMP: make sure its .kml is free too.
    for (int tries = 0; tries < 100; ++tries) {
        wchar_t name[MAX_PATH + 1] = {};
        if (!GetTempFileNameW(theGlobal.m_rssFolder, L"LOG", 0, name))
            return FALSE;
        DeleteFileW(name);
        PathRemoveExtensionW(name);
        if (!PathAddExtensionW(name, L".kml"))
            return FALSE;
        if (GetFileAttributesW(name) == INVALID_FILE_ATTRIBUTES) {
            path = name;
            return TRUE;
        }
    }
    return FALSE;
}

void CDocRssPoi::StoreCacheName(int feed, const CString& path)
{
    CopyField(m_feeds[feed].fileName, PathFindFileNameW(path));
}

BOOL CDocRssPoi::WriteFeedCache(const wchar_t* path, const CArray<DOCPI_RSS_ITEM>& items, BOOL withReadItem)
{
    CXmlDocument xml;
    XmlElementPtr root = xml.Create(L"kml", XML_UTF16);
    if (!root || !rss::SetNamespace(root, kKml22Namespace))
        return FALSE;
    XmlElementPtr document = xml.AppendElement(L"Document", root);
    if (!document || !xml.AppendTextElement(L"MirovaleFileVersion", document, L"2.0"))
        return FALSE;
    for (const DOCPI_RSS_ITEM& item : items)
        if (!rss::WritePlacemark(xml, document, nullptr, item, rss::PM_CACHE, withReadItem != FALSE))
            return FALSE;
    return xml.Save(path);
}

BOOL CDocRssPoi::ReadFeedCache(const wchar_t* path, CArray<DOCPI_RSS_ITEM>& items, int mode, BOOL clearFirst)
{
    if (clearFirst)
        items.RemoveAll();
    CXmlDocument xml;
    XmlElementPtr root = path ? xml.Load(path) : XmlElementPtr();
    XmlElementPtr document = root ? XmlGetChildElement(root, L"Document", 0) : XmlElementPtr();
    if (!document)
        return FALSE;
    // A placemark that breaks the layout is passed over, so that one damaged
    // entry does not cost the items behind it when the cache is rewritten.
    BOOL whole = TRUE;
    for (const XmlElementPtr& pm : rss::ChildElements(document, L"Placemark")) {
        if (items.GetSize() >= RSS_MAX_ITEMS_PER_FEED)
            break;
        DOCPI_RSS_ITEM item;
        if (!pm || !rss::ReadPlacemark(pm, item, rss::PM_CACHE)) {
            whole = FALSE;
            continue;
        }
        item.readItem = rss::MetadataFlag(pm, L"readitem") ? 1 : 0;
        item.newItem = rss::MetadataFlag(pm, L"newitem") ? 1 : 0;
        if (mode == 0) {
            if (item.readItem == 1)
                continue;
            item.newItem = 0;
        } else if (mode == 1) {
            if (item.readItem != 1)
                continue;
            item.newItem = 1;
        } else if (mode == 3) {
            item.newItem = 0;
        }
        items.Add(item);
    }
    return whole;
}

BOOL CDocRssPoi::SaveShownItemsAsCache(int feed)
{
    if (feed < 0 || feed >= GetFeedCount())
        return FALSE;
    CString path;
    bool isNew = !m_feeds[feed].fileName[0];
    if (isNew ? !NewCacheName(path) : (path = FeedCachePath(feed), false))
        return FALSE;
    CArray<DOCPI_RSS_ITEM> copy;
    {
        CRssLock hold(m_itemLock);
        copy.Copy(m_shownItems);
    }
    if (!WriteFeedCache(path, copy, FALSE))
        return FALSE;
    if (isNew) {
        StoreCacheName(feed, path);
        SaveFeedList();
    }
    return TRUE;
}

BOOL CDocRssPoi::MergeNewItemsIntoCache(int feed)
{
    if (feed < 0 || feed >= GetFeedCount())
        return FALSE;
    CArray<DOCPI_RSS_ITEM> merged;
    merged.Copy(m_feedItems);
    CString path;
    bool isNew = !m_feeds[feed].fileName[0];
    if (isNew) {
        if (!NewCacheName(path))
            return FALSE;
    } else {
        path = FeedCachePath(feed);
        ReadFeedCache(path, merged, 0, FALSE);
    }
    if (!WriteFeedCache(path, merged, TRUE))
        return FALSE;
    if (isNew)
        StoreCacheName(feed, path);
    SaveFeedList();
    return TRUE;
}
