#pragma once
// The feed reader's document: the subscribed GeoRSS feeds (RssUrlList.csv), their
// download and parse on worker threads, the per-feed item caches with their
// read, new and favourite marks, the favourites file, the new-items file of the
// running update, and the chosen items saved as KML or exported to the card.
#include <windows.h>

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "common/XmlDocument.h"
#include "doc/Doc.h"
#include "doc/PoiRecord.h"

class CHttpClient;

// Commands the workers send to the reader window (WM_COMMAND, lParam 0).
constexpr UINT ID_URL_LIST_UPDATE = 32920;  // one more feed processed
constexpr UINT ID_VIEW_GOOGLEMAPS = 32923;  // the item list is ready (last message)
// ID_UPDATE (32772, core/Global.h): the item list was built.

constexpr int RSS_MAX_FEEDS = 200;
constexpr int RSS_MAX_SHOWN = 1000;
// The favourites list holds as many items as a list shows.
constexpr int RSS_MAX_FAVORITES = RSS_MAX_SHOWN;
constexpr int RSS_MAX_ITEMS_PER_FEED = 1000;

// Values of m_selectedFeed besides feed indexes.
constexpr int RSS_SHOW_NOTHING = -3;
constexpr int RSS_SHOW_NEW = -2;
constexpr int RSS_SHOW_FAVORITES = -1;

enum RssDocError {
    RSSERR_PARSE = 6,
    RSSERR_WRITE_KML = 7,
    RSSERR_8 = 8,
    RSSERR_CREATE_FOLDER = 9,
    RSSERR_TOO_MANY_FILES = 10,
    RSSERR_LIMIT = 11,
    RSSERR_CARD_SIZE = 12,
    RSSERR_NO_NAME = 13,
    RSSERR_POSITION = 14,
    RSSERR_UPDATE = 15,
    RSSERR_EMPTY_URL = 16,
    RSSERR_NOT_FEED = 17,
    // The request overlapped a running update or load and did nothing.
    RSSERR_BUSY = 18,
};

struct DOCPI_RSS_ITEM {
    DOCPI_RECORD poi;
    int check;
    int newItem;
    int readItem;
    wchar_t itemLink[257];
    wchar_t imageLink[257];
    int favorite;
    GUID guid;
    int fileId;
    LONGLONG pubDate;
};

struct POI_RSS_URL {
    wchar_t title[500];
    wchar_t url[500];
    int newCount;
    LONGLONG readTime;
    LONGLONG updateTime;
    wchar_t fileName[64];
    int processed;
    int opened;
    int fileId;
};

// The reader window as the workers see it. The reader itself lives with the
// views; the document knows only this.
class IFeedReader {
public:
    virtual ~IFeedReader() = default;
    // Receives the WM_COMMAND reports, sent synchronously from the workers.
    virtual HWND GetReaderWindow() = 0;
    // Called by the update worker when it ends: the reader clears the busy mark
    // of its new-items row and repaints its feed pane (thread-safe calls only).
    virtual void OnUpdateFinished() = 0;
};

// Thread bodies; the parameter is an IFeedReader*. Each returns 0 or 1.
UINT UpdateAllFeedsThread(LPVOID reader);
UINT LoadNewItemsThread(LPVOID reader);
UINT LoadFeedItemsThread(LPVOID reader);
// Starts a body on a worker thread of normal priority; FALSE when it cannot start.
BOOL StartFeedThread(UINT (*body)(LPVOID), IFeedReader* reader);

// Duplicate test of the KML feed reader: same position and same name.
BOOL IsSameFeedItem(const DOCPI_RSS_ITEM& a, const DOCPI_RSS_ITEM& b);
// "lon,lat[,alt]"; a text without a comma, or an unreadable value, gives no
// position (both -255.0). No range check.
void ParseCoordinatesText(const CString& text, DOCPI_RECORD* record);
CString CutToSixDecimals(const CString& text);
// One coordinate of an RSS entry, read by the Option/Decimal setting.
double ParseFeedCoordinate(CString text);
int FindMonthName(const CString& text);
int MonthNumber(const CString& name);

class CDocRssPoi : public CDoc {
public:
    CDocRssPoi();
    ~CDocRssPoi() override;

    BOOL Load(const wchar_t*) override { return ReturnTrue(); }
    BOOL Save(const wchar_t* path) override;
    void InitErrorStrings() override;

    // Start-up: icon by model type, feed list and favourites.
    void InitializeFeeds();

    // Feed list.
    BOOL LoadFeedList();
    BOOL SaveFeedList();
    // The list file's bytes: the ANSI code page, or UTF-8 with a mark when
    // that page cannot hold a character.
    static std::string EncodeFeedList(const CString& text);
    BOOL AddFeed(const wchar_t* url);
    // AddFeed in two steps, so that the download can run on a worker: the
    // feed fetched and checked (no member changes but the download), then
    // added and parsed on the caller's thread.
    BOOL FetchFeed(const wchar_t* url, CString& local, CString& title);
    BOOL AddFetchedFeed(const wchar_t* url, const CString& local, const CString& title);
    BOOL GetFeed(int index, POI_RSS_URL* out) const;
    CString GetFeedTitle(int index) const;
    int GetFeedCount() const { return static_cast<int>(m_feeds.GetSize()); }
    void ResetFeedFlags();
    void ResetFeedSelection();
    BOOL DeleteSelectedFeeds();

    // Shown items (locked).
    BOOL GetItem(int index, DOCPI_RSS_ITEM* out);
    BOOL SetItemCheck(int index, int value);
    int GetItemCheck(int index);
    BOOL SetItemFavorite(int index, int value);
    void ClearItems();
    void ClearListedItems();

    BOOL ValidateItems();
    void UpdateNowStamp();
    void AdjustNowStamp();
    void SetFolderName(const CString& name) { m_folderName = name; }

    // Item lists.
    int GetShownItemCount() const;
    int CountCheckedItems();
    void FillItemList();
    int GetTotalItemCount() const;
    int CountUpdatedFeeds() const;
    void ClearFeedOpened();
    int FindFreeFileId() const;
    int FindFeedByFileId(int fileId) const;
    static void GetItemAsPoiRecord(const DOCPI_RSS_ITEM& item, DOCPI_RECORD* out);
    CString BuildMapQuery(int index);

    // Dates.
    static LONGLONG ParsePubDate(const CString& text);

    // Item caches.
    BOOL WriteFeedCache(const wchar_t* path, const CArray<DOCPI_RSS_ITEM>& items, BOOL withReadItem);
    BOOL ReadFeedCache(const wchar_t* path, CArray<DOCPI_RSS_ITEM>& items, int mode, BOOL clearFirst);
    BOOL SaveShownItemsAsCache(int feed);
    BOOL MergeNewItemsIntoCache(int feed);

    // Favourites.
    BOOL LoadFavorites();
    BOOL CreateFavorites();
    BOOL UpdateFavoriteFile(const DOCPI_RSS_ITEM& item);
    BOOL SetFavoriteInNewItems(const DOCPI_RSS_ITEM& item);
    BOOL SetFavoriteInCache(const DOCPI_RSS_ITEM& item);

    // New items of the running update.
    BOOL CreateNewItemFile();
    BOOL AppendNewItemFolder(int fileId);
    BOOL ReadNewItems();
    BOOL RemoveNewItemFolder(int feed);
    // The favourite marks kept for the file (see m_newItemFavorites) written into it.
    BOOL WriteNewItemMarks();
    void BuildNewItemsList();

    // Download and parse.
    BOOL DownloadFeed(int index);
    BOOL DownloadFile(const wchar_t* localPath, const wchar_t* url);
    BOOL DeleteFeedFiles();
    void NoteDownloadedFile(const CString& path);
    BOOL LoadSelectedFeedItems();
    BOOL ParseFeed(int index);
    BOOL ParseRss1Items(XmlNode root, int index, BOOL atom);
    BOOL ParseRss2Items(XmlNode root, int index);
    BOOL ParseKmlItems(XmlNode root, int index, BOOL readCache);
    BOOL ReadKmlPlacemarks(XmlNode node, int fileId);
    BOOL ReadKmlFolders(XmlNode node, int fileId);
    CString ReadFeedTitle(const wchar_t* pathOrUrl);
    BOOL IsFeedFile(const wchar_t* pathOrUrl);

    // The reader's side of cancelling: sets the cancel flags and stops the
    // running download. Safe from any thread, at any moment.
    static void CancelFeedWork();
    // Stops the running download only (the feed being added).
    static void CancelDownload();
    // Waits until both busy flags are clear, handling messages sent to this
    // thread meanwhile (the workers report synchronously). FALSE on time-out.
    static BOOL WaitForFeedWorkers(DWORD timeoutMs);
    // The same for a running item load only.
    static BOOL WaitForItemLoad(DWORD timeoutMs);
    // Called at each step of a download with the step's number (tests only).
    static void SetDownloadStepHook(std::function<void(int)> hook);
    // The reader's side of starting and ending work: an update of all feeds
    // (creates the temporary folder, sets the busy flag, clears the cancels);
    // the item list of a feed-list row (0 new items, 1 favourites, 2 + n feed n);
    // leaving the reader once the workers ended: the downloads and the
    // temporary folder deleted, the feeds' flags and the item lists reset.
    BOOL StartUpdate(IFeedReader* reader);
    BOOL StartItemLoad(IFeedReader* reader, int row);
    void DropFeedWork();

    // Output.
    BOOL WriteItemsKml(const wchar_t* path, int first, int last);
    BOOL ExportToCard(const wchar_t* targetPath);

    CArray<POI_RSS_URL> m_feeds;
    CArray<DOCPI_RSS_ITEM> m_feedItems;
    CArray<DOCPI_RSS_ITEM> m_kmlCacheItems;
    CArray<DOCPI_RSS_ITEM> m_kmlItems;
    // Placemarks of the KML feed being read, taken or not.
    int m_kmlPlacemarksSeen = 0;
    CStringArray m_feedFiles;
    CArray<int> m_itemMarks;
    LONGLONG m_nowStamp = 0;
    int m_selectedFeed = RSS_SHOW_NOTHING;
    HANDLE m_itemLock = nullptr;
    HANDLE m_newItemFileLock = nullptr;
    CArray<DOCPI_RSS_ITEM> m_favorites;
    CArray<DOCPI_RSS_ITEM> m_shownItems;
    int m_defaultIcon = 1;
    CString m_folderName;
    CWordArray m_feedSelection;
    // Held while a feed's cache, the feed list file or the new-items file is
    // rewritten: the update and an item load or a mark may run at once.
    std::mutex m_feedWorkLock;
    // The files the program downloaded (the only ones it deletes).
    CStringArray m_downloadedFiles;
    // The new-items file of the running update is only appended to: the
    // folders of opened feeds and the favourite marks set meanwhile are kept
    // here (under m_newItemFileLock) and applied when the file is read.
    std::set<int> m_newItemFolders, m_removedNewItemFolders;
    std::map<std::wstring, int> m_newItemFavorites;

    // The model's default stock icon (also when the user icon is deleted).
    void ResetDefaultIcon();

private:
    CString FeedCachePath(int feed) const;
    BOOL NewCacheName(CString& path);
    void StoreCacheName(int feed, const CString& path);
    int CountTakenItems(int taken) const;
};

// Takes a semaphore of count 1 for a scope.
class CRssLock {
public:
    explicit CRssLock(HANDLE semaphore) : m_semaphore(semaphore) { WaitForSingleObject(m_semaphore, INFINITE); }
    ~CRssLock() { ReleaseSemaphore(m_semaphore, 1, nullptr); }
    CRssLock(const CRssLock&) = delete;
    CRssLock& operator=(const CRssLock&) = delete;

private:
    HANDLE m_semaphore;
};
