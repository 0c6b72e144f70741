// The feed document as a whole: members, the feed list and its file, the locked
// accessors of the shown items, validation and the time stamps.
#include <time.h>

#include <mutex>
#include <string>

#include "common/CsvTable.h"
#include "common/FileReplace.h"
#include "common/WebAddress.h"
#include "core/Global.h"
#include "doc/DocPaths.h"
#include "doc/DocRssPoi.h"
#include "doc/RssText.h"

namespace {

const wchar_t kFeedListName[] = L"RssUrlList.csv";
const wchar_t kFeedListHeader[] = L"read,count,title,url,filename,FileID";

// A cache name from the list file is used as a name in the RSS folder only.
bool IsPlainFileName(const CString& name)
{
    return !name.IsEmpty() && name.FindOneOf(L"\\/:") < 0 && name != L"." && name != L"..";
}

}  // namespace

CDocRssPoi::CDocRssPoi()
    : m_itemLock(CreateSemaphoreW(nullptr, 1, 1, nullptr)), m_newItemFileLock(CreateSemaphoreW(nullptr, 1, 1, nullptr))
{
}

CDocRssPoi::~CDocRssPoi()
{
    if (m_itemLock)
        CloseHandle(m_itemLock);
    if (m_newItemFileLock)
        CloseHandle(m_newItemFileLock);
}

void CDocRssPoi::ResetDefaultIcon()
{
    m_defaultIcon = (theGlobal.m_modelType == 0 || theGlobal.m_modelType == 2) ? 2 : 1;
}

void CDocRssPoi::InitErrorStrings()
{
    m_errorTexts.RemoveAll();
    CDoc::InitErrorStrings();
    AppendErrorText(UiText(8));   // 6
    AppendPoiErrorTexts();        // 7 to 14
    AppendErrorText(UiText(68));  // 15
    AppendErrorText(UiText(36));  // 16
    AppendErrorText(UiText(48));  // 17
    AppendErrorText(UiText(17));  // 18
}

void CDocRssPoi::InitializeFeeds()
{
    ResetDefaultIcon();
    if (theGlobal.m_rssFolder.IsEmpty())
        return;
    LoadFeedList();
    if (!LoadFavorites())
        CreateFavorites();
}

BOOL CDocRssPoi::Save(const wchar_t* path)
{
    return WriteItemsKml(path, 0, GetShownItemCount());
}

BOOL CDocRssPoi::LoadFeedList()
{
    m_feeds.RemoveAll();
    m_feedFiles.RemoveAll();
    CCsvTable table;
    table.SetDelimiter(L',');
    if (theGlobal.m_rssFolder.IsEmpty() || !table.Load(WithBackslash(theGlobal.m_rssFolder) + kFeedListName))
        return FALSE;
    int rows = table.GetRowCount() < RSS_MAX_FEEDS + 1 ? table.GetRowCount() : RSS_MAX_FEEDS + 1;
    bool used[RSS_MAX_FEEDS] = {};
    for (int r = 1; r < rows; ++r) {
        POI_RSS_URL feed{};
        feed.readTime = rss::ReadInt64(table.GetCell(r, 0));
        feed.updateTime = rss::ReadInt64(table.GetCell(r, 1));
        // A hand-edited or damaged file may hold texts longer than the fields.
        CopyField(feed.title, rss::Shown(table.GetCell(r, 2)));
        CopyField(feed.url, table.GetCell(r, 3));
        CString fileName = table.GetCell(r, 4);
        if (IsPlainFileName(fileName) && fileName.GetLength() < 64)
            CopyField(feed.fileName, fileName);
        feed.fileId = _wtoi(table.GetCell(r, 5));
        // Two feeds sharing an identifier would share their new-items folder.
        if (feed.fileId < 0 || feed.fileId >= RSS_MAX_FEEDS || used[feed.fileId])
            feed.fileId = -1;
        else
            used[feed.fileId] = true;
        m_feeds.Add(feed);
        m_feedFiles.Add(L"");
    }
    for (POI_RSS_URL& feed : m_feeds) {
        if (feed.fileId < 0) {
            int id = 0;
            while (used[id])
                ++id;
            used[id] = true;
            feed.fileId = id;
        }
    }
    return TRUE;
}

BOOL CDocRssPoi::SaveFeedList()
{
    if (theGlobal.m_rssFolder.IsEmpty() || !CreateFolderPath(theGlobal.m_rssFolder))
        return FALSE;
    CString text = kFeedListHeader;
    text += L"\r\n";
    for (const POI_RSS_URL& feed : m_feeds) {
        CString line;
        line.Format(L"%lld,%lld,%s,%s,%s,%d\r\n", feed.readTime, feed.updateTime,
                    CCsvTable::QuoteField(feed.title, L',').GetString(), CCsvTable::QuoteField(feed.url, L',').GetString(),
                    CCsvTable::QuoteField(feed.fileName, L',').GetString(), feed.fileId);
        text += line;
    }
    const std::string bytes = EncodeFeedList(text);
    return WriteFileReplacing(WithBackslash(theGlobal.m_rssFolder) + kFeedListName, bytes.data(), bytes.size());
}

std::string CDocRssPoi::EncodeFeedList(const CString& text)
{
    // The list reader knows the UTF-8 mark, so no address turns into "?".
    return EncodeTextFile(text, static_cast<size_t>(text.GetLength()));
}

BOOL CDocRssPoi::AddFeed(const wchar_t* url)
{
    CString local, title;
    return FetchFeed(url, local, title) && AddFetchedFeed(url, local, title);
}

BOOL CDocRssPoi::FetchFeed(const wchar_t* url, CString& local, CString& title)
{
    m_errorCode = DOCERR_NONE;
    if (!url || !*url) {
        m_errorCode = RSSERR_EMPTY_URL;
        return FALSE;
    }
    // The feed list and the download slots belong to a running update.
    if (theGlobal.m_rssUpdateBusy || theGlobal.m_rssLoadBusy) {
        m_errorCode = RSSERR_BUSY;
        return FALSE;
    }
    if (FindFreeFileId() < 0) {
        m_errorCode = RSSERR_LIMIT;
        return FALSE;
    }
    if (wcslen(url) >= 500) {
        m_errorCode = RSSERR_NOT_FEED;
        return FALSE;
    }
    theGlobal.m_downloadCancel = 0;
    // One download serves the feed check, the title and the first parse.
    CString folder = theGlobal.m_rssTempFolder;
    if (folder.IsEmpty()) {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = temp;
    }
    CString path;
    path.Format(L"%sfeed_%03d.xml", WithBackslash(folder).GetString(), GetFeedCount());
    local = url;
    if (HasWebScheme(url)) {
        if (!DownloadFile(path, url)) {
            m_errorCode = RSSERR_NOT_FEED;
            return FALSE;
        }
        local = path;
    }
    if (!IsFeedFile(local)) {
        if (local == path)
            DeleteFileW(path);
        m_errorCode = RSSERR_NOT_FEED;
        return FALSE;
    }
    title = ReadFeedTitle(local);
    return TRUE;
}

BOOL CDocRssPoi::AddFetchedFeed(const wchar_t* url, const CString& local, const CString& title)
{
    int fileId = FindFreeFileId();
    if (!url || fileId < 0) {
        m_errorCode = RSSERR_LIMIT;
        return FALSE;
    }
    POI_RSS_URL feed{};
    CopyField(feed.url, url);
    CopyField(feed.title, title);
    feed.fileId = fileId;
    // A load worker may be reading the feed list.
    std::lock_guard<std::mutex> work(m_feedWorkLock);
    int index = GetFeedCount();
    m_feeds.Add(feed);
    m_feedFiles.SetSize(index);
    m_feedFiles.Add(local);
    if (local.CompareNoCase(url) != 0)
        NoteDownloadedFile(local);
    UpdateNowStamp();
    ParseFeed(index);  // a failed parse leaves error 6; the feed stays
    return TRUE;
}

BOOL CDocRssPoi::GetFeed(int index, POI_RSS_URL* out) const
{
    if (!out || index < 0 || index >= GetFeedCount())
        return FALSE;
    const POI_RSS_URL& feed = m_feeds[index];
    out->readTime = feed.readTime;
    out->updateTime = feed.updateTime;
    out->newCount = feed.newCount;
    CopyField(out->title, feed.title);
    CopyField(out->url, feed.url);
    CopyField(out->fileName, feed.fileName);
    return TRUE;
}

CString CDocRssPoi::GetFeedTitle(int index) const
{
    if (index < 0 || index >= GetFeedCount())
        return CString();
    return m_feeds[index].title;
}

void CDocRssPoi::ResetFeedFlags()
{
    for (POI_RSS_URL& feed : m_feeds)
        feed.newCount = feed.processed = 0;
}

void CDocRssPoi::ResetFeedSelection()
{
    m_feedSelection.RemoveAll();
    m_feedSelection.SetSize(GetFeedCount());
    for (WORD& w : m_feedSelection)
        w = 0;
}

BOOL CDocRssPoi::DeleteSelectedFeeds()
{
    m_errorCode = DOCERR_NONE;
    // A worker indexes the feed list while it runs.
    if (theGlobal.m_rssUpdateBusy || theGlobal.m_rssLoadBusy) {
        m_errorCode = RSSERR_BUSY;
        return FALSE;
    }
    std::lock_guard<std::mutex> work(m_feedWorkLock);
    for (int i = GetFeedCount() - 1; i >= 0; --i) {
        if (i >= m_feedSelection.GetSize() || m_feedSelection[i] != 1)
            continue;
        if (m_feeds[i].fileName[0])
            DeleteFileW(FeedCachePath(i));
        if (m_feeds[i].newCount != 0)
            RemoveNewItemFolder(i);
        m_feeds.RemoveAt(i);
        if (i < m_feedFiles.GetSize())
            m_feedFiles.RemoveAt(i);
        m_feedSelection.RemoveAt(i);
    }
    SaveFeedList();
    return TRUE;
}

BOOL CDocRssPoi::GetItem(int index, DOCPI_RSS_ITEM* out)
{
    CRssLock hold(m_itemLock);
    if (!out || index < 0 || index >= m_shownItems.GetSize())
        return FALSE;
    *out = m_shownItems[index];
    return TRUE;
}

BOOL CDocRssPoi::SetItemCheck(int index, int value)
{
    CRssLock hold(m_itemLock);
    if (index < 0 || index >= m_shownItems.GetSize())
        return FALSE;
    m_shownItems[index].check = value;
    return TRUE;
}

int CDocRssPoi::GetItemCheck(int index)
{
    CRssLock hold(m_itemLock);
    if (index < 0 || index >= m_shownItems.GetSize())
        return 0;
    return m_shownItems[index].check;
}

BOOL CDocRssPoi::SetItemFavorite(int index, int value)
{
    DOCPI_RSS_ITEM item;
    {
        // Marked and copied in one hold: a load may replace the list between two.
        CRssLock hold(m_itemLock);
        if (index < 0 || index >= m_shownItems.GetSize())
            return FALSE;
        m_shownItems[index].favorite = value;
        item = m_shownItems[index];
    }
    // The caches and the new-items file may be written by the update meanwhile.
    std::lock_guard<std::mutex> work(m_feedWorkLock);
    // Marked before (twice in a row, or from another row): the file holds it already.
    bool held = false;
    if (item.favorite == 1)
        for (const DOCPI_RSS_ITEM& favorite : m_favorites)
            held = held || IsEqualGUID(favorite.guid, item.guid);
    if (m_selectedFeed == RSS_SHOW_NEW) {
        SetFavoriteInNewItems(item);
        SetFavoriteInCache(item);
    } else if (m_selectedFeed == RSS_SHOW_FAVORITES) {
        int feed = FindFeedByFileId(item.fileId);
        if (feed >= 0) {
            if (!m_feeds[feed].opened)
                SetFavoriteInNewItems(item);
            SetFavoriteInCache(item);
        }
    } else if (m_selectedFeed >= 0) {
        SaveShownItemsAsCache(m_selectedFeed);
    }
    // The list follows the file: a new mark goes in front as the file has it,
    // without reading the whole file back; anything else is read back.
    if (held)
        return TRUE;
    if (UpdateFavoriteFile(item) && item.favorite == 1) {
        DOCPI_RSS_ITEM favorite = item;
        favorite.check = 1;
        favorite.newItem = favorite.readItem = 0;
        m_favorites.InsertAt(0, favorite);
        if (m_favorites.GetSize() > RSS_MAX_FAVORITES)
            m_favorites.SetSize(RSS_MAX_FAVORITES);
    } else {
        LoadFavorites();
    }
    return TRUE;
}

void CDocRssPoi::ClearItems()
{
    {
        CRssLock hold(m_itemLock);
        m_shownItems.RemoveAll();
        m_feedItems.RemoveAll();
    }
    ResetDefaultIcon();
}

void CDocRssPoi::ClearListedItems()
{
    CRssLock hold(m_itemLock);
    m_shownItems.RemoveAll();
}

BOOL CDocRssPoi::ValidateItems()
{
    // Only the checked items among the first shown ones are written; an
    // unchecked item without a position keeps nothing from being saved.
    for (int i = 0; i < RSS_MAX_SHOWN; ++i) {
        DOCPI_RSS_ITEM item;
        if (!GetItem(i, &item))
            break;
        if (item.check != 1)
            continue;
        if (!item.poi.name[0]) {
            m_errorCode = RSSERR_NO_NAME;
            return FALSE;
        }
        if (item.poi.longitude < -180.0 || item.poi.longitude > 180.0 || item.poi.latitude < -90.0 ||
            item.poi.latitude > 90.0) {
            m_errorCode = RSSERR_POSITION;
            return FALSE;
        }
    }
    return TRUE;
}

void CDocRssPoi::UpdateNowStamp()
{
    __time64_t now = _time64(nullptr);
    struct tm t {};
    if (_gmtime64_s(&t, &now) != 0)
        t = tm{};
    m_nowStamp = (t.tm_year + 1900LL) * 10000000000LL + (t.tm_mon + 1LL) * 100000000LL + t.tm_mday * 1000000LL +
                 t.tm_hour * 10000LL + t.tm_min * 100LL + t.tm_sec;
}

void CDocRssPoi::AdjustNowStamp()
{
    LONGLONG newest = 0;
    for (const DOCPI_RSS_ITEM& item : m_feedItems)
        if (item.pubDate > newest)
            newest = item.pubDate;
    if (m_nowStamp < newest && newest <= m_nowStamp + 10000)
        m_nowStamp = newest;
}
