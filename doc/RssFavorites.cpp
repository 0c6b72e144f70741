// The favourites file RssFavoriteList.kml (newest first) and the favourite mark
// written into the item caches and the new-items file.
#include "core/Global.h"
#include "doc/DocPaths.h"
#include "doc/DocRssPoi.h"
#include "doc/RssPlacemark.h"
#include "doc/RssText.h"

namespace {

const wchar_t kFavoritesName[] = L"RssFavoriteList.kml";

CString FavoritesPath()
{
    return WithBackslash(theGlobal.m_rssFolder) + kFavoritesName;
}

// Sets the mark of the placemark with the item's guid among the placemarks of
// container; the file is saved whether one matched or not.
BOOL MarkInContainer(CXmlDocument& xml, XmlNode container, const DOCPI_RSS_ITEM& item, const CString& path)
{
    CString guid = rss::GuidText(item.guid);
    if (guid.IsEmpty())
        return FALSE;
    for (const XmlElementPtr& pm : rss::ChildElements(container, L"Placemark")) {
        if (!XmlGetChildElement(pm, L"metadata", 0))
            return FALSE;
        if (rss::SameText(rss::PlacemarkGuid(pm), guid)) {
            if (!rss::RewriteFavorite(xml, pm, item.favorite))
                return FALSE;
            break;
        }
    }
    return xml.Save(path);
}

}  // namespace

BOOL CDocRssPoi::LoadFavorites()
{
    return ReadFeedCache(FavoritesPath(), m_favorites, 3, TRUE);
}

BOOL CDocRssPoi::CreateFavorites()
{
    if (theGlobal.m_rssFolder.IsEmpty() || !CreateFolderPath(theGlobal.m_rssFolder))
        return FALSE;
    CXmlDocument xml;
    XmlElementPtr root = xml.Create(L"kml", XML_UTF16);
    return root && xml.AppendElement(L"Document", root) && xml.Save(FavoritesPath());
}

namespace {

// A new favourite written as text in front of the first placemark of the file as
// the program writes it, without loading the whole list; false when the file
// does not have that form.
bool InsertFavoriteText(const CString& path, const DOCPI_RSS_ITEM& item)
{
    std::wstring placemark;
    {
        CXmlDocument frag;
        XmlElementPtr root = frag.Create(L"Document", XML_UTF16);
        if (!root || !rss::WritePlacemark(frag, root, nullptr, item, rss::PM_FAVORITE, false) ||
            !rss::FragmentText(frag, 1, true, placemark))
            return false;
    }
    std::wstring file;
    if (!rss::ReadUtf16File(path, file) || file.find(L"<kml>\r\n\t<Document>") == std::wstring::npos)
        return false;
    size_t at = file.find(L"\r\n\t\t<Placemark>");
    if (at != std::wstring::npos) {
        file.insert(at + 2, placemark);
    } else if ((at = file.find(L"\t</Document>")) != std::wstring::npos) {
        file.insert(at, placemark);
    } else if ((at = file.find(L"\t<Document/>")) != std::wstring::npos) {
        file.replace(at, 13, L"\t<Document>\r\n" + placemark + L"\t</Document>");
    } else {
        return false;
    }
    return rss::WriteUtf16File(path, file);
}

}  // namespace

BOOL CDocRssPoi::UpdateFavoriteFile(const DOCPI_RSS_ITEM& item)
{
    if (rss::GuidText(item.guid).IsEmpty())
        return FALSE;
    if (item.favorite == 1 && InsertFavoriteText(FavoritesPath(), item))
        return TRUE;
    CXmlDocument xml;
    CString path = FavoritesPath();
    XmlElementPtr root = rss::LoadUtf16(xml, path);
    XmlElementPtr document = root ? XmlGetChildElement(root, L"Document", 0) : XmlElementPtr();
    if (!document)
        return FALSE;
    CString guid = rss::GuidText(item.guid);
    if (guid.IsEmpty())
        return FALSE;
    if (item.favorite == 1) {
        XmlElementPtr first = XmlGetChildElement(document, L"Placemark", 0);
        if (!rss::WritePlacemark(xml, document, first, item, rss::PM_FAVORITE, false))
            return FALSE;
    } else {
        for (const XmlElementPtr& pm : rss::ChildElements(document, L"Placemark")) {
            if (!XmlGetChildElement(pm, L"metadata", 0))
                return FALSE;
            if (rss::SameText(rss::PlacemarkGuid(pm), guid)) {
                if (!XmlRemoveChild(document, pm))
                    return FALSE;
                break;
            }
        }
    }
    return xml.Save(path);
}

BOOL CDocRssPoi::SetFavoriteInNewItems(const DOCPI_RSS_ITEM& item)
{
    if (theGlobal.m_rssTempFolder.IsEmpty())
        return FALSE;
    CRssLock hold(m_newItemFileLock);
    // A folder of this update: the mark is kept here and applied when the file
    // is read, instead of loading and writing the whole file for one mark.
    if (m_newItemFolders.count(item.fileId) && FindFeedByFileId(item.fileId) >= 0) {
        const CString guid = rss::GuidText(item.guid);
        if (guid.IsEmpty())
            return FALSE;
        m_newItemFavorites[std::wstring(guid)] = item.favorite;
        return TRUE;
    }
    CXmlDocument xml;
    CString path = WithBackslash(theGlobal.m_rssTempFolder) + L"NewItem.kml";
    XmlElementPtr root = rss::LoadUtf16(xml, path);
    if (!root || FindFeedByFileId(item.fileId) < 0)
        return FALSE;
    // The folder is found by the feed it belongs to, not by its position.
    for (const XmlElementPtr& folder : rss::ChildElements(root, L"Folder")) {
        CString id;
        if (XmlGetAttribute(folder, L"FileID", id) && _wtoi(id) == item.fileId && !id.IsEmpty())
            return MarkInContainer(xml, folder, item, path);
    }
    return FALSE;
}

BOOL CDocRssPoi::SetFavoriteInCache(const DOCPI_RSS_ITEM& item)
{
    int feed = FindFeedByFileId(item.fileId);
    if (feed < 0 || !m_feeds[feed].fileName[0])
        return FALSE;
    CXmlDocument xml;
    CString path = FeedCachePath(feed);
    XmlElementPtr root = rss::LoadUtf16(xml, path);
    XmlElementPtr document = root ? XmlGetChildElement(root, L"Document", 0) : XmlElementPtr();
    if (!document)
        return FALSE;
    return MarkInContainer(xml, document, item, path);
}
