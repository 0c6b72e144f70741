// Downloads of the feeds and the reader's worker threads, with the cancel
// protocol the reader drives: cancel flags, the running download's client and
// its cancel event, and busy flags that the workers clear as their very last act.
#include <process.h>

#include <atomic>
#include <mutex>

#include "common/FileUtil.h"
#include "common/HttpClient.h"
#include "core/Global.h"
#include "doc/DocPaths.h"
#include "doc/DocRssPoi.h"
#include "doc/RssText.h"

namespace {

// Guards theGlobal.m_activeHttpClient and theGlobal.m_cancelEvent: the worker
// clears them under it before it destroys the client or closes the event, and
// the reader uses them only under it.
std::mutex g_slotLock;
// The one set of download slots in theGlobal belongs to one download at a time.
std::atomic<bool> g_slotTaken{false};
std::mutex g_hookLock;
std::function<void(int)> g_stepHook;

// WinHTTP here ignores its time-outs; a server that never answers is given up.
constexpr DWORD kDownloadLimitMs = 120000;

void Step(int n)
{
    std::function<void(int)> hook;
    {
        std::lock_guard<std::mutex> hold(g_hookLock);
        hook = g_stepHook;
    }
    if (hook)
        hook(n);
}

void Report(IFeedReader* reader, UINT id)
{
    HWND window = reader ? reader->GetReaderWindow() : nullptr;
    if (window)
        SendMessageW(window, WM_COMMAND, id, 0);
}

struct ThreadStart {
    UINT (*body)(LPVOID);
    IFeedReader* reader;
};

unsigned __stdcall ThreadTrampoline(void* arg)
{
    ThreadStart start = *static_cast<ThreadStart*>(arg);
    delete static_cast<ThreadStart*>(arg);
    return start.body(start.reader);
}

}  // namespace

void CDocRssPoi::SetDownloadStepHook(std::function<void(int)> hook)
{
    std::lock_guard<std::mutex> hold(g_hookLock);
    g_stepHook = std::move(hook);
}

BOOL StartFeedThread(UINT (*body)(LPVOID), IFeedReader* reader)
{
    auto* start = new ThreadStart{body, reader};
    uintptr_t h = _beginthreadex(nullptr, 0, ThreadTrampoline, start, 0, nullptr);
    if (!h) {
        delete start;
        return FALSE;
    }
    CloseHandle(reinterpret_cast<HANDLE>(h));
    return TRUE;
}

BOOL CDocRssPoi::DownloadFile(const wchar_t* localPath, const wchar_t* url)
{
    if (!localPath || !url)
        return FALSE;
    bool expected = false;
    if (!g_slotTaken.compare_exchange_strong(expected, true))
        return FALSE;  // another download holds the slots
    theGlobal.m_downloadBusy = 1;
    theGlobal.m_httpGetStarted = 0;
    // A copy from an earlier download must not pass for this one.
    DeleteFileW(localPath);

    BOOL result = FALSE;
    auto* client = new CHttpClient;
    client->SetStartedFlag(&theGlobal.m_httpGetStarted);
    HANDLE cancelEvent = nullptr;
    Step(1);
    if (client->Initialize(url, localPath)) {
        Step(2);
        if (!theGlobal.m_downloadCancel && client->OpenRequest(CHttpClient::VERB_GET)) {
            Step(3);
            cancelEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
            HANDLE worker = nullptr;
            {
                std::lock_guard<std::mutex> hold(g_slotLock);
                // A cancel that came before the slots were published is seen here.
                if (cancelEvent && !theGlobal.m_downloadCancel) {
                    worker = client->StartGet();
                    if (worker) {
                        theGlobal.m_cancelEvent = cancelEvent;
                        theGlobal.m_activeHttpClient = client;
                    }
                }
            }
            Step(4);
            if (worker) {
                HANDLE waits[2] = {worker, cancelEvent};
                DWORD w = WaitForMultipleObjects(2, waits, FALSE, kDownloadLimitMs);
                Step(5);
                if (w == WAIT_OBJECT_0) {
                    result = client->GetResult() == 0 && GetFileAttributesW(localPath) != INVALID_FILE_ATTRIBUTES;
                } else {
                    client->Abort();
                    result = FALSE;
                }
            }
        }
    }
    {
        std::lock_guard<std::mutex> hold(g_slotLock);
        theGlobal.m_activeHttpClient = nullptr;
        theGlobal.m_cancelEvent = nullptr;
    }
    Step(6);
    // Nobody can reach the client or the event any more.
    delete client;
    if (cancelEvent)
        CloseHandle(cancelEvent);
    if (!result)
        DeleteFileW(localPath);
    theGlobal.m_downloadBusy = 0;
    g_slotTaken = false;
    return result;
}

void CDocRssPoi::CancelDownload()
{
    theGlobal.m_downloadCancel = 1;
    std::lock_guard<std::mutex> hold(g_slotLock);
    if (theGlobal.m_activeHttpClient)
        theGlobal.m_activeHttpClient->Terminate();
    if (theGlobal.m_cancelEvent)
        SetEvent(theGlobal.m_cancelEvent);
}

void CDocRssPoi::CancelFeedWork()
{
    theGlobal.m_rssLoadCancel = 1;
    theGlobal.m_rssCancel = 1;
    theGlobal.m_downloadCancel = 1;
    std::lock_guard<std::mutex> hold(g_slotLock);
    if (theGlobal.m_activeHttpClient)
        theGlobal.m_activeHttpClient->Terminate();
    if (theGlobal.m_cancelEvent)
        SetEvent(theGlobal.m_cancelEvent);
}

namespace {

BOOL WaitWhile(bool (*busy)(), DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (busy()) {
        if (GetTickCount() - start >= timeoutMs)
            return FALSE;
        // A worker may be waiting in SendMessage for this thread.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return TRUE;
}

}  // namespace

BOOL CDocRssPoi::WaitForFeedWorkers(DWORD timeoutMs)
{
    return WaitWhile([] { return theGlobal.m_rssUpdateBusy || theGlobal.m_rssLoadBusy; }, timeoutMs);
}

BOOL CDocRssPoi::WaitForItemLoad(DWORD timeoutMs)
{
    return WaitWhile([] { return theGlobal.m_rssLoadBusy != 0; }, timeoutMs);
}

BOOL CDocRssPoi::DownloadFeed(int index)
{
    if (index < 0 || index >= GetFeedCount())
        return FALSE;
    CString path;
    path.Format(L"%sfeed_%03d.xml", WithBackslash(theGlobal.m_rssTempFolder).GetString(), index);
    if (m_feedFiles.GetSize() < GetFeedCount())
        m_feedFiles.SetSize(GetFeedCount());
    if (!DownloadFile(path, m_feeds[index].url)) {
        // The copy of an earlier visit is gone with the failed download.
        if (m_feedFiles[index] == path)
            m_feedFiles[index].Empty();
        return FALSE;
    }
    m_feedFiles[index] = path;
    NoteDownloadedFile(path);
    UpdateNowStamp();
    return TRUE;
}

void CDocRssPoi::NoteDownloadedFile(const CString& path)
{
    for (const CString& known : m_downloadedFiles)
        if (known.CompareNoCase(path) == 0)
            return;
    m_downloadedFiles.Add(path);
}

BOOL CDocRssPoi::DeleteFeedFiles()
{
    // Only what the program downloaded: a feed added from a local file lists
    // the user's own file among the feed files.
    BOOL all = TRUE;
    for (const CString& path : m_downloadedFiles) {
        if (!DeleteFileW(path) && GetLastError() != ERROR_FILE_NOT_FOUND)
            all = FALSE;
        for (CString& feedFile : m_feedFiles)
            if (feedFile.CompareNoCase(path) == 0)
                feedFile.Empty();
    }
    m_downloadedFiles.RemoveAll();
    return all;
}

BOOL CDocRssPoi::LoadSelectedFeedItems()
{
    // The update may be writing this feed's cache, the list file or the new-items file.
    std::lock_guard<std::mutex> work(m_feedWorkLock);
    int feed = m_selectedFeed;
    if (feed < 0 || feed >= GetFeedCount() || !m_feeds[feed].fileName[0])
        return FALSE;
    CArray<DOCPI_RSS_ITEM> items;
    if (!ReadFeedCache(FeedCachePath(feed), items, 2, FALSE) && items.IsEmpty())
        return FALSE;
    {
        CRssLock hold(m_itemLock);
        m_shownItems.vec().swap(items.vec());
    }
    if (!m_feeds[feed].opened) {
        SaveShownItemsAsCache(feed);
        RemoveNewItemFolder(feed);
        m_feeds[feed].opened = 1;
        m_feeds[feed].readTime = m_nowStamp;
        m_feeds[feed].newCount = 0;
        SaveFeedList();
    }
    return TRUE;
}

UINT UpdateAllFeedsThread(LPVOID param)
{
    auto* reader = static_cast<IFeedReader*>(param);
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    doc.UpdateNowStamp();
    UINT exitCode = 0;
    if (doc.CreateNewItemFile()) {
        for (int i = 0; i < doc.GetFeedCount(); ++i) {
            if (theGlobal.m_rssCancel)
                break;
            const BOOL downloaded = doc.DownloadFeed(i);
            {
                // A feed row may be loaded (and a mark set) while the update runs.
                std::lock_guard<std::mutex> work(doc.m_feedWorkLock);
                if (downloaded)
                    doc.ParseFeed(i);
                else
                    doc.m_feeds[i].processed = 1;
            }
            Report(reader, ID_URL_LIST_UPDATE);
        }
        if (!theGlobal.m_rssCancel)
            theGlobal.m_changedFewModel = 0;
        exitCode = 1;
    }
    if (reader)
        reader->OnUpdateFinished();
    // Last: once clear, the reader may go away with everything it shares.
    theGlobal.m_rssUpdateBusy = 0;
    return exitCode;
}

UINT LoadNewItemsThread(LPVOID param)
{
    auto* reader = static_cast<IFeedReader*>(param);
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    doc.ClearItems();
    doc.ReadNewItems();
    if (!theGlobal.m_rssLoadCancel && !doc.m_feedItems.IsEmpty())
        doc.BuildNewItemsList();
    Report(reader, ID_UPDATE);
    Report(reader, ID_VIEW_GOOGLEMAPS);
    theGlobal.m_rssLoadBusy = 0;
    return 1;
}

UINT LoadFeedItemsThread(LPVOID param)
{
    auto* reader = static_cast<IFeedReader*>(param);
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    doc.ClearListedItems();
    doc.LoadSelectedFeedItems();
    Report(reader, ID_UPDATE);
    Report(reader, ID_VIEW_GOOGLEMAPS);
    theGlobal.m_rssLoadBusy = 0;
    return 1;
}

BOOL CDocRssPoi::StartUpdate(IFeedReader* reader)
{
    if (theGlobal.m_rssUpdateBusy || theGlobal.m_rssLoadBusy || theGlobal.m_rssTempFolder.IsEmpty() ||
        !CreateFolderPath(theGlobal.m_rssTempFolder))
        return FALSE;
    theGlobal.m_rssUpdateBusy = 1;
    theGlobal.m_rssCancel = 0;
    theGlobal.m_downloadCancel = 0;
    if (!StartFeedThread(UpdateAllFeedsThread, reader)) {
        theGlobal.m_rssUpdateBusy = 0;
        return FALSE;
    }
    return TRUE;
}

BOOL CDocRssPoi::StartItemLoad(IFeedReader* reader, int row)
{
    // During an update the favourites and the feeds already processed can be
    // read (under the work lock); the new items are still being written.
    if (theGlobal.m_rssLoadBusy || row < 0 || row >= GetFeedCount() + 2)
        return FALSE;
    if (theGlobal.m_rssUpdateBusy && (row == 0 || (row >= 2 && !m_feeds[row - 2].processed)))
        return FALSE;
    theGlobal.m_rssLoadBusy = 1;
    theGlobal.m_rssLoadCancel = 0;
    if (row == 1) {
        m_selectedFeed = RSS_SHOW_FAVORITES;
        FillItemList();  // on this thread; clears the busy flag
        return TRUE;
    }
    m_selectedFeed = row == 0 ? RSS_SHOW_NEW : row - 2;
    if (!StartFeedThread(row == 0 ? LoadNewItemsThread : LoadFeedItemsThread, reader)) {
        theGlobal.m_rssLoadBusy = 0;
        return FALSE;
    }
    return TRUE;
}

void CDocRssPoi::DropFeedWork()
{
    DeleteFeedFiles();
    if (!theGlobal.m_rssTempFolder.IsEmpty())
        DeleteFolderTree(theGlobal.m_rssTempFolder);
    ResetFeedFlags();
    ClearItems();
    ClearFeedOpened();
    m_selectedFeed = RSS_SHOW_NOTHING;
}
