// NewItem.kml in the reader's temporary folder: one folder per parsed feed with
// the feed's new items, read back as the new-items row, newest first.
#include <algorithm>
#include <cstring>
#include <map>
#include <set>
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

// The fragment written in front of the root's end where the file ends, not by
// reading and writing the items of every feed before it again. Only the tail of
// the file is read; a failed write puts the old tail back.
bool AppendBeforeRootEnd(const CString& path, const std::wstring& fragment)
{
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = false;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart >= 2 && size.QuadPart % 2 == 0) {
        const LONGLONG tailBytes = size.QuadPart < 256 ? size.QuadPart : 256;
        std::wstring tail(static_cast<size_t>(tailBytes / 2), L'\0');
        LARGE_INTEGER at{};
        at.QuadPart = size.QuadPart - tailBytes;
        DWORD got = 0;
        if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
            ReadFile(file, tail.data(), static_cast<DWORD>(tailBytes), &got, nullptr) && got == tailBytes) {
            std::wstring replacement;
            size_t cut = tail.rfind(L"</kml>");
            if (cut != std::wstring::npos) {
                replacement = fragment + tail.substr(cut);
            } else if ((cut = tail.rfind(L"<kml/>")) != std::wstring::npos) {
                replacement = L"<kml>\r\n" + fragment + L"</kml>" + tail.substr(cut + 6);
            }
            if (!replacement.empty()) {
                LARGE_INTEGER from{};
                from.QuadPart = at.QuadPart + static_cast<LONGLONG>(cut) * 2;
                const DWORD bytes = static_cast<DWORD>(replacement.size() * 2);
                DWORD written = 0;
                ok = SetFilePointerEx(file, from, nullptr, FILE_BEGIN) &&
                     WriteFile(file, replacement.data(), bytes, &written, nullptr) && written == bytes &&
                     SetEndOfFile(file);
                if (!ok) {
                    const std::wstring old = tail.substr(cut);
                    DWORD back = 0;
                    SetFilePointerEx(file, from, nullptr, FILE_BEGIN);
                    WriteFile(file, old.data(), static_cast<DWORD>(old.size() * 2), &back, nullptr);
                    SetEndOfFile(file);
                }
            }
        }
    }
    CloseHandle(file);
    return ok;
}

}  // namespace

BOOL CDocRssPoi::CreateNewItemFile()
{
    if (theGlobal.m_rssTempFolder.IsEmpty() || !CreateFolderPath(theGlobal.m_rssTempFolder))
        return FALSE;
    CRssLock hold(m_newItemFileLock);
    m_newItemFolders.clear();
    m_removedNewItemFolders.clear();
    m_newItemFavorites.clear();
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
    if (!AppendBeforeRootEnd(NewItemPath(), fragment))
        return FALSE;
    m_newItemFolders.insert(fileId);
    m_removedNewItemFolders.erase(fileId);
    return TRUE;
}

BOOL CDocRssPoi::ReadNewItems()
{
    std::set<int> removed;
    std::map<std::wstring, int> marks;
    {
        CRssLock hold(m_newItemFileLock);
        removed = m_removedNewItemFolders;
        marks = m_newItemFavorites;
    }
    CXmlDocument xml;
    XmlElementPtr root = theGlobal.m_rssTempFolder.IsEmpty() ? XmlElementPtr() : xml.Load(NewItemPath());
    if (!root) {
        m_feedItems.RemoveAll();
        return FALSE;
    }
    // A placemark that breaks the layout is passed over; the others are shown.
    BOOL whole = TRUE;
    for (const XmlElementPtr& folder : rss::ChildElements(root, L"Folder")) {
        CString folderId;
        // An opened feed's folder is still in the file; its items are not new any more.
        if (XmlGetAttribute(folder, L"FileID", folderId) && !folderId.IsEmpty() && removed.count(_wtoi(folderId)))
            continue;
        for (const XmlElementPtr& pm : rss::ChildElements(folder, L"Placemark")) {
            DOCPI_RSS_ITEM item;
            if (!pm || !rss::ReadPlacemark(pm, item, rss::PM_NEW_ITEM)) {
                whole = FALSE;
                continue;
            }
            auto mark = marks.find(std::wstring(rss::GuidText(item.guid)));
            if (mark != marks.end())
                item.favorite = mark->second;
            item.check = item.newItem = item.readItem = 1;
            m_feedItems.Add(item);
        }
    }
    return whole;
}

BOOL CDocRssPoi::WriteNewItemMarks()
{
    CRssLock hold(m_newItemFileLock);
    if (m_newItemFavorites.empty())
        return TRUE;
    if (theGlobal.m_rssTempFolder.IsEmpty())
        return FALSE;
    CXmlDocument xml;
    const CString path = NewItemPath();
    XmlElementPtr root = rss::LoadUtf16(xml, path);
    if (!root)
        return FALSE;
    for (const XmlElementPtr& folder : rss::ChildElements(root, L"Folder"))
        for (const XmlElementPtr& pm : rss::ChildElements(folder, L"Placemark")) {
            const CString guid = rss::PlacemarkGuid(pm);
            for (const auto& [markGuid, favorite] : m_newItemFavorites)
                if (!guid.IsEmpty() && rss::SameText(guid, markGuid.c_str()) &&
                    !rss::RewriteFavorite(xml, pm, favorite))
                    return FALSE;
        }
    if (!xml.Save(path))
        return FALSE;
    m_newItemFavorites.clear();
    return TRUE;
}

BOOL CDocRssPoi::RemoveNewItemFolder(int feed)
{
    if (feed < 0 || feed >= GetFeedCount() || theGlobal.m_rssTempFolder.IsEmpty())
        return FALSE;
    CRssLock hold(m_newItemFileLock);
    // Noted, not cut out of the file: reading and writing every feed's items
    // for each feed opened is what made opening slow.
    const int fileId = m_feeds[feed].fileId;
    if (m_newItemFolders.count(fileId)) {
        m_newItemFolders.erase(fileId);
        m_removedNewItemFolders.insert(fileId);
        return TRUE;
    }
    if (m_removedNewItemFolders.count(fileId))
        return FALSE;
    // A file this update did not write (none of its folders is known here).
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
