// NewItem.kml in the reader's temporary folder: one folder per parsed feed with
// the feed's new items, read back as the new-items row, newest first.
#include <algorithm>
#include <cstring>
#include <string>

#include "common/FileReplace.h"
#include "common/FileUtil.h"
#include "common/XmlWriter.h"

#include "core/Global.h"
#include "doc/DocPaths.h"
#include "doc/DocRssPoi.h"
#include "doc/RssPlacemark.h"
#include "doc/RssText.h"

namespace {

CString NewItemPath()
{
    return WithBackslash(theGlobal.m_rssTempFolder) + L"NewItem.kml";
}

// Folders carry their feed's identifier: a feed that failed appends none and an
// opened feed's folder is removed, so positions do not follow the feed list.
XmlElementPtr FindFolder(XmlNode root, int fileId)
{
    for (const XmlElementPtr& folder : rss::ChildElements(root, L"Folder")) {
        CString id;
        if (XmlGetAttribute(folder, L"FileID", id) && !id.IsEmpty() && _wtoi(id) == fileId)
            return folder;
    }
    return NULL;
}

}  // namespace

BOOL CDocRssPoi::CreateNewItemFile()
{
    if (theGlobal.m_rssTempFolder.IsEmpty() || !CreateFolderPath(theGlobal.m_rssTempFolder))
        return FALSE;
    CRssLock hold(m_newItemFileLock);
    rss::ComScope com;
    CXmlDocument xml;
    return xml.Create(L"kml", XML_UTF16) && xml.Save(NewItemPath());
}

BOOL CDocRssPoi::AppendNewItemFolder(int fileId)
{
    if (theGlobal.m_rssTempFolder.IsEmpty())
        return FALSE;
    // The folder is written on its own and spliced in before the root's end, so
    // that each feed's parse does not load and write the items of every feed
    // before it again.
    std::wstring fragment;
    {
        rss::ComScope com;
        CXmlDocument xml;
        XmlElementPtr folder = xml.Create(L"Folder", XML_UTF16);
        if (!folder)
            return FALSE;
        CString id;
        id.Format(L"%d", fileId);
        bool ok = XmlSetAttribute(folder, L"FileID", id) != FALSE;
        for (INT_PTR i = 0; ok && i < m_feedItems.GetSize(); ++i)
            ok = rss::WritePlacemark(xml, folder, nullptr, m_feedItems[i], rss::PM_NEW_ITEM, false) != nullptr;
        if (!ok || !rss::FragmentText(xml, 1, false, fragment))
            return FALSE;
    }
    CRssLock hold(m_newItemFileLock);
    std::wstring file;
    if (!rss::ReadUtf16File(NewItemPath(), file))
        return FALSE;
    size_t close = file.rfind(L"</kml>");
    size_t empty = file.rfind(L"<kml/>");
    if (close != std::wstring::npos)
        file.insert(close, fragment);
    else if (empty != std::wstring::npos)
        file.replace(empty, 6, L"<kml>\r\n" + fragment + L"</kml>");
    else
        return FALSE;
    return rss::WriteUtf16File(NewItemPath(), file);
}

BOOL CDocRssPoi::ReadNewItems()
{
    rss::ComScope com;
    CXmlDocument xml;
    XmlElementPtr root = theGlobal.m_rssTempFolder.IsEmpty() ? XmlElementPtr() : xml.Load(NewItemPath());
    if (!root) {
        m_feedItems.RemoveAll();
        return FALSE;
    }
    // A placemark that breaks the layout is passed over; the others are shown.
    BOOL whole = TRUE;
    for (const XmlElementPtr& folder : rss::ChildElements(root, L"Folder")) {
        for (const XmlElementPtr& pm : rss::ChildElements(folder, L"Placemark")) {
            DOCPI_RSS_ITEM item;
            if (!pm || !rss::ReadPlacemark(pm, item, rss::PM_NEW_ITEM)) {
                whole = FALSE;
                continue;
            }
            item.check = item.newItem = item.readItem = 1;
            m_feedItems.Add(item);
        }
    }
    return whole;
}

BOOL CDocRssPoi::RemoveNewItemFolder(int feed)
{
    if (feed < 0 || feed >= GetFeedCount() || theGlobal.m_rssTempFolder.IsEmpty())
        return FALSE;
    CRssLock hold(m_newItemFileLock);
    // The file as the program writes it: the folder's lines are cut out of the
    // text, without loading every feed's items.
    std::wstring file;
    if (rss::ReadUtf16File(NewItemPath(), file)) {
        std::wstring open = L"\r\n\t<Folder FileID=\"" + std::to_wstring(m_feeds[feed].fileId) + L"\"";
        size_t at = file.find(open);
        if (at != std::wstring::npos) {
            size_t start = at + 2, end = std::wstring::npos;
            size_t tail = start + open.size() - 2;
            if (file.compare(tail, 4, L"/>\r\n") == 0)
                end = tail + 4;
            else if (file.compare(tail, 3, L">\r\n") == 0 &&
                     (end = file.find(L"\r\n\t</Folder>\r\n", tail)) != std::wstring::npos)
                end += 2 + 10 + 2;
            if (end != std::wstring::npos) {
                file.erase(start, end - start);
                return rss::WriteUtf16File(NewItemPath(), file);
            }
        }
    }
    rss::ComScope com;
    CXmlDocument xml;
    XmlElementPtr root = rss::LoadUtf16(xml, NewItemPath());
    XmlElementPtr folder = root ? FindFolder(root, m_feeds[feed].fileId) : XmlElementPtr();
    if (!folder)
        return FALSE;
    if (!XmlRemoveChild(root, folder))
        return FALSE;
    return xml.Save(NewItemPath());
}

void CDocRssPoi::BuildNewItemsList()
{
    INT_PTR n = m_feedItems.GetSize();
    m_itemMarks.RemoveAll();
    m_itemMarks.SetSize(n);
    for (INT_PTR i = 0; i < n; ++i)
        m_itemMarks[i] = static_cast<int>(i);
    // Newest first; items of one date keep their file order.
    std::stable_sort(m_itemMarks.begin(), m_itemMarks.end(),
                     [this](int a, int b) { return m_feedItems[a].pubDate > m_feedItems[b].pubDate; });
    CRssLock hold(m_itemLock);
    m_shownItems.RemoveAll();
    for (INT_PTR k = 0; k < n && k < RSS_MAX_SHOWN; ++k) {
        const DOCPI_RSS_ITEM& item = m_feedItems[m_itemMarks[k]];
        if (item.newItem == 1)
            m_shownItems.Add(item);
    }
}
