// The feed parsers: the root decides the reader (RSS 1.0, RSS 2.0, a feed-rooted
// document with entries, KML); entries become items with a position, a title and
// a date newer than the feed's last update.
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "common/WebAddress.h"
#include "common/WebUtil.h"
#include "common/XmlDocument.h"
#include "core/Global.h"
#include "doc/DocPaths.h"
#include "doc/DocRssPoi.h"
#include "doc/RssText.h"

using rss::ChildElements;
using rss::ChildText;

namespace {

// A downloaded feed larger than this is refused rather than held as a DOM.
constexpr ULONGLONG kMaxFeedFileBytes = 32ull * 1024 * 1024;

// A number read with the locale decimal point; false when the text starts with
// none. Only plain decimal numbers count: "nan", "inf", "0x10", "1e2" are none.
bool ReadNumber(const CString& text, double& value)
{
    const wchar_t* s = text;
    wchar_t* end = nullptr;
    value = wcstod(s, &end);
    if (!end || end == s || !std::isfinite(value))
        return false;
    for (const wchar_t* p = s; p < end; ++p)
        if (wcschr(L"xXeEnNiIpP", *p))
            return false;
    return true;
}

// The setting Option/Decimal decides which separator a feed's numbers use.
void ToLocaleDecimal(CString& text)
{
    if (theGlobal.m_decimal == 0) {
        NormalizeDecimalSeparator(text);
        RemoveThousandsSeparator(text);
    } else if (theGlobal.m_decimal == 1) {
        CommaToLocaleDecimal(text);
    } else {
        DotToLocaleDecimal(text);
    }
}

// A coordinate of an entry; false for a text without a number, which
// ParseFeedCoordinate would read as 0.
bool ReadFeedNumber(CString text, double& value)
{
    text.Trim();
    ToLocaleDecimal(text);
    return ReadNumber(text, value);
}

// The entry's position by the first rule that applies; false: skip the entry.
bool ReadEntryPosition(XmlNode entry, double& lon, double& lat)
{
    CString x, y;
    if (XmlElementPtr point = XmlGetChildElement(entry, L"geo:Point", 0)) {
        if (!ChildText(point, L"geo:long", x) || !ChildText(point, L"geo:lat", y))
            return false;
        return ReadFeedNumber(x, lon) && ReadFeedNumber(y, lat);
    }
    if (XmlElementPtr point = XmlGetChildElement(entry, L"georss:point", 0)) {
        CString text;
        if (!XmlGetNodeText(point, text))
            return false;
        text.Trim();
        // "lat lon": a text without the blank is no position.
        int blank = text.FindOneOf(L" \t\r\n");
        if (blank < 0)
            return false;
        CString second = text.Mid(blank);
        second.Trim();
        return ReadFeedNumber(text.Left(blank), lat) && ReadFeedNumber(second, lon);
    }
    if (!ChildText(entry, L"geo:long", x) || !ChildText(entry, L"geo:lat", y))
        return false;
    return ReadFeedNumber(x, lon) && ReadFeedNumber(y, lat);
}

// The entry's web link: the text of an RSS link, or the address of a
// feed-rooted entry's alternate (or first) link.
CString EntryLink(XmlNode entry)
{
    CString link;
    std::vector<XmlElementPtr> links = ChildElements(entry, L"link");
    for (const XmlElementPtr& l : links) {
        CString href, rel;
        if (XmlGetAttribute(l, L"href", href)) {
            XmlGetAttribute(l, L"rel", rel);
            if (rel.IsEmpty() || rel == L"alternate")
                return href;
            if (link.IsEmpty())
                link = href;
        } else if (link.IsEmpty()) {
            XmlGetNodeText(l, link);
            link.Trim();
        }
    }
    return link;
}

LONGLONG EntryDate(XmlNode entry, bool& present)
{
    static const wchar_t* const names[] = {L"pubDate", L"dc:date", L"published", L"updated"};
    CString text;
    for (const wchar_t* name : names) {
        if (ChildText(entry, name, text)) {
            present = true;
            return CDocRssPoi::ParsePubDate(text);
        }
    }
    present = false;
    return 0;
}

}  // namespace

void ParseCoordinatesText(const CString& text, DOCPI_RECORD* record)
{
    if (!record)
        return;
    record->longitude = record->latitude = POI_NO_POSITION;
    int comma = text.Find(L',');
    if (comma < 0)
        return;
    CString x = CutToSixDecimals(text.Left(comma));
    CString y = CutToSixDecimals(text.Mid(comma + 1));
    x.Trim();
    y.Trim();
    DotToLocaleDecimal(x);
    DotToLocaleDecimal(y);
    double lon = 0, lat = 0;
    if (!ReadNumber(x, lon) || !ReadNumber(y, lat))
        return;
    record->longitude = lon;
    record->latitude = lat;
}

CString CutToSixDecimals(const CString& text)
{
    int d = text.Find(L'.');
    if (d >= 0 && text.GetLength() >= 8 && d + 7 <= text.GetLength())
        return text.Left(d + 7);
    return text;
}

double ParseFeedCoordinate(CString text)
{
    ToLocaleDecimal(text);
    double value = 0;
    return ReadNumber(text, value) ? value : 0;
}

BOOL CDocRssPoi::ParseFeed(int index)
{
    if (index < 0 || index >= GetFeedCount())
        AfxThrowInvalidArgException();
    m_feedItems.RemoveAll();
    if (m_feeds[index].fileName[0])
        ReadFeedCache(FeedCachePath(index), m_feedItems, 1, FALSE);

    BOOL ok = FALSE;
    {
        CXmlDocument xml;
        CString path = index < m_feedFiles.GetSize() ? m_feedFiles[index] : CString();
        WIN32_FILE_ATTRIBUTE_DATA info{};
        bool tooLarge = !path.IsEmpty() && GetFileAttributesExW(path, GetFileExInfoStandard, &info) &&
                        ((static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow) > kMaxFeedFileBytes;
        XmlElementPtr root = path.IsEmpty() || tooLarge ? XmlElementPtr() : xml.Load(path);
        CString name;
        if (root && XmlGetNodeName(root, name)) {
            if (_wcsicmp(name, L"rdf:RDF") == 0)
                ok = ParseRss1Items(root, index, FALSE);
            else if (_wcsicmp(name, L"rss") == 0)
                ok = ParseRss2Items(root, index);
            else if (_wcsicmp(name, L"feed") == 0)
                ok = ParseRss1Items(root, index, TRUE);
            else if (_wcsicmp(name, L"kml") == 0)
                ok = ParseKmlItems(root, index, TRUE);
        }
    }
    m_feeds[index].processed = 1;
    if (!ok)
        m_errorCode = RSSERR_PARSE;
    return ok;
}

namespace {

// The common frame of the RSS-style readers.
struct EntryReader {
    CDocRssPoi& doc;
    int index;
    bool undatedCacheRead = false;

    // Fills item from the entry; false when the entry is not taken.
    bool Read(XmlNode entry, LONGLONG lastUpdate, DOCPI_RSS_ITEM& item)
    {
        item = DOCPI_RSS_ITEM{};
        bool dated = false;
        LONGLONG date = EntryDate(entry, dated);
        if (dated && date <= lastUpdate)
            return false;
        CString title;
        if (!ChildText(entry, L"title", title))
            return false;
        title.Trim();
        CopyField(item.poi.name, rss::Shown(title, 64));
        CString text;
        if (ChildText(entry, L"address", text))
            CopyField(item.poi.address, rss::Shown(text, 128));
        if (ChildText(entry, L"telephone", text))
            CopyField(item.poi.telephone, rss::Shown(text, 64));
        if (ChildText(entry, L"description", text) || ChildText(entry, L"summary", text)) {
            text.Trim();
            CopyField(item.poi.description, rss::Shown(text, 64));
        }
        CopyField(item.itemLink, EntryLink(entry).Left(256));
        if (XmlElementPtr media = XmlGetChildElement(entry, L"media:content", 0)) {
            CString url;
            if (XmlGetAttribute(media, L"url", url))
                CopyField(item.imageLink, url.Left(256));
        }
        double lon = 0, lat = 0;
        if (!ReadEntryPosition(entry, lon, lat))
            return false;
        item.poi.longitude = lon;
        item.poi.latitude = lat;
        item.check = item.newItem = item.readItem = 1;
        item.fileId = doc.m_feeds[index].fileId;
        CoCreateGuid(&item.guid);
        if (dated) {
            item.pubDate = date;
            return true;
        }
        // An undated entry is new until the cache holds it; dated like a KML item.
        if (!undatedCacheRead) {
            undatedCacheRead = true;
            doc.m_kmlCacheItems.RemoveAll();
            if (doc.m_feeds[index].fileName[0])
                doc.ReadFeedCache(WithBackslash(theGlobal.m_rssFolder) + doc.m_feeds[index].fileName,
                                  doc.m_kmlCacheItems, 2, FALSE);
        }
        for (const DOCPI_RSS_ITEM& cached : doc.m_kmlCacheItems)
            if (IsSameFeedItem(cached, item))
                return false;
        for (const DOCPI_RSS_ITEM& taken : doc.m_feedItems)
            if (IsSameFeedItem(taken, item))
                return false;
        item.pubDate = doc.m_nowStamp;
        return true;
    }
};

}  // namespace

BOOL CDocRssPoi::ParseRss1Items(XmlNode root, int index, BOOL atom)
{
    if (index < 0 || index >= GetFeedCount() || !root)
        return FALSE;
    // A feed-rooted document names its entries "entry", or "item" as the RSS
    // feeds do; both are read, in the document's order.
    std::vector<XmlElementPtr> entries;
    if (atom) {
        for (XmlElementPtr child = XmlGetFirstElement(root); child; child = XmlGetNextElement(child)) {
            CString name;
            if (XmlGetNodeName(child, name) && (name == L"entry" || name == L"item"))
                entries.push_back(child);
        }
    } else {
        entries = ChildElements(root, L"item");
        if (entries.empty())
            entries = ChildElements(root, L"entry");
    }
    LONGLONG lastUpdate = m_feeds[index].updateTime;
    EntryReader reader{*this, index};
    int taken = 0;
    for (size_t k = 0; k < entries.size() && k < RSS_MAX_ITEMS_PER_FEED; ++k) {
        DOCPI_RSS_ITEM item;
        if (!entries[k] || !reader.Read(entries[k], lastUpdate, item))
            continue;
        m_feedItems.Add(item);
        ++taken;
    }
    AdjustNowStamp();
    m_feeds[index].updateTime = m_nowStamp;
    MergeNewItemsIntoCache(index);
    AppendNewItemFolder(m_feeds[index].fileId);
    m_feeds[index].newCount = taken < RSS_MAX_SHOWN ? taken : RSS_MAX_SHOWN;
    return TRUE;
}

BOOL CDocRssPoi::ParseRss2Items(XmlNode root, int index)
{
    if (index < 0 || index >= GetFeedCount() || !root)
        return FALSE;
    XmlElementPtr channel = XmlGetChildElement(root, L"channel", 0);
    if (!channel)
        return FALSE;
    std::vector<XmlElementPtr> entries = ChildElements(channel, L"item");
    LONGLONG lastUpdate = m_feeds[index].updateTime;
    EntryReader reader{*this, index};
    int taken = 0;
    for (size_t k = 0; k < entries.size() && k < RSS_MAX_ITEMS_PER_FEED; ++k) {
        DOCPI_RSS_ITEM item;
        if (!entries[k] || !reader.Read(entries[k], lastUpdate, item))
            continue;
        // New items first, in document order, before the cached ones.
        m_feedItems.InsertAt(taken, item);
        ++taken;
    }
    AdjustNowStamp();
    m_feeds[index].updateTime = m_nowStamp;
    AppendNewItemFolder(m_feeds[index].fileId);
    MergeNewItemsIntoCache(index);
    INT_PTR n = m_feedItems.GetSize();
    m_feeds[index].newCount = static_cast<int>(n < RSS_MAX_SHOWN ? n : RSS_MAX_SHOWN);
    return TRUE;
}

BOOL CDocRssPoi::ParseKmlItems(XmlNode root, int index, BOOL readCache)
{
    if (index < 0 || index >= GetFeedCount() || !root)
        return FALSE;
    m_kmlCacheItems.RemoveAll();
    m_kmlItems.RemoveAll();
    m_kmlPlacemarksSeen = 0;
    int fileId = m_feeds[index].fileId;
    if (readCache && m_feeds[index].fileName[0])
        ReadFeedCache(FeedCachePath(index), m_kmlCacheItems, 2, FALSE);
    XmlElementPtr document = XmlGetChildElement(root, L"Document", 0);
    XmlNode node = document ? document : root;
    if (!ReadKmlPlacemarks(node, fileId) || !ReadKmlFolders(node, fileId))
        return FALSE;
    m_feeds[index].updateTime = m_nowStamp;
    MergeNewItemsIntoCache(index);
    AppendNewItemFolder(fileId);
    INT_PTR n = m_feedItems.GetSize();
    m_feeds[index].newCount = static_cast<int>(n < RSS_MAX_SHOWN ? n : RSS_MAX_SHOWN);
    return TRUE;
}

BOOL CDocRssPoi::ReadKmlPlacemarks(XmlNode node, int fileId)
{
    for (const XmlElementPtr& pm : ChildElements(node, L"Placemark")) {
        // A feed gives at most as many items as the reader ever shows, and only
        // its first placemarks count: the cache that tells the known ones holds
        // that many, so those past it would come back as new on every update.
        if (m_feedItems.GetSize() >= RSS_MAX_ITEMS_PER_FEED || m_kmlPlacemarksSeen >= RSS_MAX_ITEMS_PER_FEED)
            return TRUE;
        if (!pm)
            return FALSE;
        ++m_kmlPlacemarksSeen;
        DOCPI_RSS_ITEM item{};
        CString text;
        if (!ChildText(pm, L"name", text))
            continue;
        CopyField(item.poi.name, rss::Shown(text, 64));
        if (ChildText(pm, L"address", text))
            CopyField(item.poi.address, rss::Shown(text, 128));
        if (ChildText(pm, L"telephone", text))
            CopyField(item.poi.telephone, rss::Shown(text, 64));
        if (ChildText(pm, L"description", text))
            CopyField(item.poi.description, rss::Shown(text, 64));
        XmlElementPtr point = XmlGetChildElement(pm, L"Point", 0);
        if (!point || XmlCountChildElements(point, L"coordinates") != 1 || !ChildText(point, L"coordinates", text))
            continue;
        ParseCoordinatesText(text, &item.poi);
        if (item.poi.longitude < -180.0 || item.poi.longitude > 180.0 || item.poi.latitude < -90.0 ||
            item.poi.latitude > 90.0)
            item.poi.longitude = item.poi.latitude = POI_NO_POSITION;
        if (ChildText(pm, L"link", text)) {
            text.Trim();
            CopyField(item.itemLink, text.Left(256));
        }
        bool duplicate = false;
        for (const DOCPI_RSS_ITEM& cached : m_kmlCacheItems)
            if (IsSameFeedItem(item, cached)) {
                duplicate = true;
                break;
            }
        if (duplicate)
            continue;
        item.pubDate = m_nowStamp + 1;
        item.check = item.newItem = item.readItem = 1;
        CoCreateGuid(&item.guid);
        item.fileId = fileId;
        m_feedItems.Add(item);
    }
    return TRUE;
}

BOOL CDocRssPoi::ReadKmlFolders(XmlNode node, int fileId)
{
    for (const XmlElementPtr& folder : ChildElements(node, L"Folder")) {
        if (!folder || !ReadKmlPlacemarks(folder, fileId) || !ReadKmlFolders(folder, fileId))
            return FALSE;
    }
    return TRUE;
}

namespace {

// A feed named by a web address is fetched into a temporary file first: path
// and downloaded become that file, which the caller deletes. False when it
// cannot be fetched.
bool FetchIfWebAddress(CDocRssPoi& doc, CString& path, CString& downloaded)
{
    if (!HasWebScheme(path))
        return true;
    wchar_t temp[MAX_PATH + 1] = {}, file[MAX_PATH + 1] = {};
    if (!GetTempPathW(MAX_PATH, temp) || !GetTempFileNameW(temp, L"rss", 0, file) || !doc.DownloadFile(file, path)) {
        if (file[0])
            DeleteFileW(file);
        return false;
    }
    downloaded = path = file;
    return true;
}

}  // namespace

BOOL CDocRssPoi::IsFeedFile(const wchar_t* pathOrUrl)
{
    CString path = pathOrUrl ? pathOrUrl : L"";
    CString downloaded;
    if (!FetchIfWebAddress(*this, path, downloaded))
        return FALSE;
    BOOL ok = FALSE;
    {
        CXmlDocument xml;
        XmlElementPtr root = path.IsEmpty() ? XmlElementPtr() : xml.Load(path);
        CString name;
        ok = root && XmlGetNodeName(root, name) &&
             (_wcsicmp(name, L"rdf:RDF") == 0 || _wcsicmp(name, L"rss") == 0 || _wcsicmp(name, L"feed") == 0 ||
              _wcsicmp(name, L"kml") == 0);
    }
    if (!downloaded.IsEmpty())
        DeleteFileW(downloaded);
    return ok;
}

CString CDocRssPoi::ReadFeedTitle(const wchar_t* pathOrUrl)
{
    CString path = pathOrUrl ? pathOrUrl : L"";
    CString downloaded;
    if (!FetchIfWebAddress(*this, path, downloaded))
        return L"none title";
    CString title;
    bool found = false;
    {
        CXmlDocument xml;
        XmlElementPtr root = path.IsEmpty() ? XmlElementPtr() : xml.Load(path);
        CString name;
        if (root && XmlGetNodeName(root, name)) {
            if (_wcsicmp(name, L"rdf:RDF") == 0 || _wcsicmp(name, L"feed") == 0) {
                // RSS 1.0 keeps its title in the channel element.
                found = ChildText(root, L"title", title);
                XmlElementPtr channel = found ? XmlElementPtr() : XmlGetChildElement(root, L"channel", 0);
                found = found || (channel && ChildText(channel, L"title", title));
            } else if (_wcsicmp(name, L"rss") == 0) {
                XmlElementPtr channel = XmlGetChildElement(root, L"channel", 0);
                found = channel && ChildText(channel, L"title", title);
            } else if (_wcsicmp(name, L"kml") == 0) {
                XmlElementPtr document = XmlGetChildElement(root, L"Document", 0);
                XmlNode node = document ? document : root;
                if (!(found = ChildText(node, L"name", title))) {
                    XmlElementPtr folder = XmlGetChildElement(node, L"Folder", 0);
                    found = folder && ChildText(folder, L"name", title);
                }
            }
        }
    }
    if (!downloaded.IsEmpty())
        DeleteFileW(downloaded);
    if (!found)
        return L"none title";
    title.Trim();
    return rss::Shown(title);
}
