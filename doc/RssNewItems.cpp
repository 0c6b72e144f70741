// NewItem.kml in the reader's temporary folder: one folder per parsed feed with
// the feed's new items, read back as the new-items row, newest first.
#include <algorithm>

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
XmlElementPtr FindFolder(IXMLDOMNode* root, int fileId)
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
    CRssLock hold(m_newItemFileLock);
    rss::ComScope com;
    CXmlDocument xml;
    XmlElementPtr root = rss::LoadUtf16(xml, NewItemPath());
    if (!root)
        return FALSE;
    // A feed parsed twice in one update keeps one folder.
    if (XmlElementPtr old = FindFolder(root, fileId)) {
        XmlNodePtr removed;
        root->removeChild(old, removed.Receive());
    }
    XmlElementPtr folder = xml.AppendElement(L"Folder", root);
    if (!folder)
        return FALSE;
    VARIANT id;
    VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = fileId;
    BSTR name = SysAllocString(L"FileID");
    bool ok = name && SUCCEEDED(folder->setAttribute(name, id));
    SysFreeString(name);
    for (INT_PTR i = 0; ok && i < m_feedItems.GetSize(); ++i)
        ok = rss::WritePlacemark(xml, folder, nullptr, m_feedItems[i], rss::PM_NEW_ITEM, false) != nullptr;
    return ok && xml.Save(NewItemPath());
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
    rss::ComScope com;
    CXmlDocument xml;
    XmlElementPtr root = rss::LoadUtf16(xml, NewItemPath());
    XmlElementPtr folder = root ? FindFolder(root, m_feeds[feed].fileId) : XmlElementPtr();
    if (!folder)
        return FALSE;
    XmlNodePtr removed;
    if (FAILED(root->removeChild(folder, removed.Receive())))
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
