// The reader's visit: the temporary folder and the update of every feed, the
// workers' reports, choosing a feed row, adding and deleting feeds, leaving.
#include <process.h>

#include "common/FileUtil.h"
#include "common/WebUtil.h"
#include "core/Global.h"
#include "frame/CmdUIText.h"
#include "frame/MessageDlg.h"
#include "frame/ProgressDlg.h"
#include "res/feeds_ids.h"
#include "res/frame_ids.h"
#include "views/poi/PoiReaderLink.h"
#include "views/poi/PoiReaderWnd.h"
#include "views/poi/UrlEntryDlg.h"

namespace {

// A new folder of its own under the temporary folder: "$$$xxxx\". The name
// comes from GetTempFileNameW, whose reservation file is removed again, and a
// folder that exists already is never taken (it would be deleted at the end).
BOOL MakeReaderFolder(CString& folder)
{
    wchar_t temp[MAX_PATH + 1] = {};
    if (!::GetTempPathW(MAX_PATH, temp))
        return FALSE;
    for (int attempt = 0; attempt < 16; ++attempt) {
        wchar_t file[MAX_PATH + 1] = {};
        if (!::GetTempFileNameW(temp, L"$$$", 0, file))
            return FALSE;
        CString path = file;
        ::DeleteFileW(file);
        const int dot = path.ReverseFind(L'.');
        if (dot > 0)
            path = path.Left(dot);
        if (::CreateDirectoryW(path, nullptr)) {
            folder = path + L"\\";
            return TRUE;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return FALSE;
    }
    return FALSE;
}

struct FetchJob {
    CString url, local, title;
    BOOL ok = FALSE;
};

unsigned __stdcall FetchThread(void* arg)
{
    auto* job = static_cast<FetchJob*>(arg);
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    job->ok = theGlobal.m_docRssPoi.FetchFeed(job->url, job->local, job->title);
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return 0;
}

}  // namespace

void CPoiReaderWnd::OnShowWindow(BOOL show, UINT status)
{
    Default();
    if (show && status == 0)
        StartVisit();
}

void CPoiReaderWnd::StartVisit()
{
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    CString folder;
    if (!MakeReaderFolder(folder)) {
        ShowMessage(theGlobal.UiString(13), 0);
        return;
    }
    theGlobal.m_rssTempFolder = folder;
    m_visitActive = 1;
    if (m_pane.m_titleList.GetItemCount() > 0)
        m_pane.m_titleList.SetItemState(0, CFeedTitleListCtrl::DisabledBit, CFeedTitleListCtrl::DisabledBit);
    if (doc.StartUpdate(m_link))
        UpdateFeedRows();
    ShowMap(TRUE, MapPageUrl(), BuildFeedMapPostBody());
}

void CPoiReaderWnd::UpdateFeedRows()
{
    CFeedTitleListCtrl& list = m_pane.m_titleList;
    list.SetItemCount(theGlobal.m_docRssPoi.CountUpdatedFeeds() + 2);
    // The new items cannot be chosen while the update writes them.
    list.SetItemState(0, CFeedTitleListCtrl::DisabledBit,
                      theGlobal.m_rssUpdateBusy ? static_cast<UINT>(CFeedTitleListCtrl::DisabledBit) : 0u);
    list.UpdateScrollBars();
    list.Invalidate(FALSE);
}

LRESULT CPoiReaderWnd::OnUpdateDone(WPARAM, LPARAM)
{
    m_pane.m_titleList.SetItemState(0, CFeedTitleListCtrl::DisabledBit, 0);
    m_pane.m_titleList.Invalidate(FALSE);
    return 0;
}

void CPoiReaderWnd::OnUrlListUpdate()
{
    UpdateFeedRows();
}

void CPoiReaderWnd::OnUpdate()
{
    UpdateFeedRows();
    m_pane.RefreshItemList();
}

void CPoiReaderWnd::OnItemsLoaded()
{
    m_feedSwitch = 0;
    m_anime.Stop();
    m_anime.ShowWindow(SW_HIDE);
    m_mapSelection = -1;
    theGlobal.UpdateAllViews();
    if (theGlobal.m_docRssPoi.GetFeedCount() >= 1) {
        m_autoScale = 1;
        SetTimer(TimerMap, 0, nullptr);
    }
}

void CPoiReaderWnd::OnFeedDispInfo(NMHDR* nm, LRESULT* result)
{
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(nm);
    *result = 0;
    LVITEMW& item = info->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0 || item.iSubItem != 0)
        return;
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    CString text;
    if (item.iItem == 0) {
        const int total = doc.GetTotalItemCount();
        text = theGlobal.UiString(212);
        if (total >= 1)
            text.AppendFormat(L"(%d)", total);
    } else if (item.iItem == 1) {
        text = theGlobal.UiString(213);
    } else {
        POI_RSS_URL feed{};
        if (!doc.GetFeed(item.iItem - 2, &feed))
            return;
        if (feed.newCount < 1)
            text.Format(L"%s", feed.title);
        else
            text.Format(L"%s(%d)", feed.title, feed.newCount);
    }
    lstrcpynW(item.pszText, text, item.cchTextMax);
}

void CPoiReaderWnd::OnFeedChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    const int r = m_pane.m_titleList.GetCurSel();
    const int i = r - 2;
    if (i == doc.m_selectedFeed)
        return;
    if (r >= 2 && (i >= doc.m_feedFiles.GetSize() || doc.m_feedFiles[i].IsEmpty())) {
        // A switch still pending would load this feed's old cache during the message.
        KillTimer(TimerSwitch);
        KillTimer(TimerLoad);
        m_feedSwitch = 0;
        ShowMessage(theGlobal.UiString(48), 0);
        // The rows shown must belong to the chosen feed, or a star would land in
        // its cache: the list is emptied once a running load has ended.
        theGlobal.m_rssLoadCancel = 1;
        CDocRssPoi::WaitForItemLoad(s_workerWaitMs);
        m_anime.Stop();
        m_anime.ShowWindow(SW_HIDE);
        ClearItemRows();
        doc.ClearListedItems();
        doc.m_selectedFeed = i;
        m_pane.m_titleList.SetFocus();
        return;
    }
    KillTimer(TimerSwitch);
    KillTimer(TimerLoad);
    if (r >= 0) {
        m_feedSwitch = 1;
        SetTimer(TimerSwitch, 500, nullptr);
    }
}

void CPoiReaderWnd::OnSwitchTimer()
{
    KillTimer(TimerSwitch);
    if (m_pane.m_titleList.GetCurSel() < 0)
        return;
    ClearItemRows();
    theGlobal.m_rssLoadCancel = 1;
    SetTimer(TimerLoad, 500, nullptr);
}

void CPoiReaderWnd::ClearItemRows()
{
    ShowMap(FALSE);
    CRssItemListCtrl& items = m_pane.m_itemList;
    for (int row = 0; row < items.GetItemCount(); ++row)
        items.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, 0);
    items.m_items.RemoveAll();
    m_pane.m_order.RemoveAll();
    items.UpdateScrollBars();
    items.Invalidate(FALSE);
    m_pane.m_sortKey = CPoiRssListWnd::kNoSortKey;
    m_pane.m_sortAscending = 1;
    items.SetSortArrow(CPoiRssListWnd::kNoSortKey, TRUE);
}

void CPoiReaderWnd::OnLoadTimer()
{
    KillTimer(TimerLoad);
    const int r = m_pane.m_titleList.GetCurSel();
    if (r < 0)
        return;
    if (theGlobal.m_rssLoadBusy) {
        SetTimer(TimerLoad, 500, nullptr);
        return;
    }
    theGlobal.m_rssLoadCancel = 0;
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    m_anime.ShowWindow(SW_SHOW);
    m_anime.Start();
    if (!doc.StartItemLoad(m_link, r)) {
        // Refused while the update still writes what the row shows: try again.
        if (theGlobal.m_rssUpdateBusy)
            SetTimer(TimerLoad, 500, nullptr);
        else
            OnItemsLoaded();
        return;
    }
    if (r == 1) {
        // The favourites were copied on this thread.
        OnItemsLoaded();
        OnUpdate();
    }
}

CPoiReaderWnd::AddResult CPoiReaderWnd::AddFeedOnWorker(const CString& url)
{
    FetchJob job;
    job.url = url;
    const uintptr_t handle = _beginthreadex(nullptr, 0, FetchThread, &job, 0, nullptr);
    if (!handle)
        return theGlobal.m_docRssPoi.AddFeed(url) ? AddDone : AddFailed;
    HANDLE thread = reinterpret_cast<HANDLE>(handle);
    CProgressDlg progress;
    CWnd* main = AfxGetMainWnd();
    const BOOL shown = progress.Start(main ? main : this);
    if (shown) {
        progress.m_message.SetWindowText(theGlobal.UiString(231) + L" " + url);
        progress.SetRange(1);
    }
    BOOL cancelled = FALSE;
    for (;;) {
        const DWORD w = ::MsgWaitForMultipleObjects(1, &thread, FALSE, 50, QS_ALLINPUT);
        if (w == WAIT_OBJECT_0)
            break;
        if (shown) {
            progress.PumpMessages();
            if (progress.m_cancel && !cancelled) {
                cancelled = TRUE;
                CDocRssPoi::CancelDownload();
            }
        } else {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_SENDMESSAGE)) {
            }
        }
    }
    ::CloseHandle(thread);
    if (shown)
        progress.DestroyWindow();
    if (cancelled && !job.ok)
        return AddCancelled;
    if (!job.ok)
        return AddFailed;
    return theGlobal.m_docRssPoi.AddFetchedFeed(url, job.local, job.title) ? AddDone : AddFailed;
}

void CPoiReaderWnd::OnAddFeed()
{
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    if (doc.GetFeedCount() >= RSS_MAX_FEEDS) {
        ShowMessage(theGlobal.UiString(19), 0);
        return;
    }
    CUrlEntryDlg dlg;
    if (dlg.DoModal() != IDOK)
        return;
    switch (AddFeedOnWorker(dlg.GetUrl())) {
    case AddDone: OnUrlListUpdate(); break;
    case AddFailed: ShowMessage(ErrorText(doc), 0); break;
    case AddCancelled: break;  // the user's own choice: nothing to tell
    }
}

BOOL CPoiReaderWnd::FeedWorkRunning()
{
    return theGlobal.m_rssUpdateBusy || theGlobal.m_rssLoadBusy;
}

void CPoiReaderWnd::OnUpdateAddFeed(CCmdUI* ui)
{
    // The document refuses to change the feed list while a worker reads it.
    ui->Enable(!FeedWorkRunning());
}

void CPoiReaderWnd::OnDeleteFeed()
{
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    const int r = m_pane.m_titleList.GetCurSel();
    if (!FeedListHasFocus() || r <= 1)
        return;
    CString question;
    question.Format(L"%s\n%s", doc.GetFeedTitle(r - 2).GetString(), theGlobal.UiString(71).GetString());
    if (ShowMessage(question, 4) != IDYES)
        return;
    doc.ResetFeedSelection();
    if (r - 2 <= RSS_MAX_FEEDS - 1 && r - 2 < doc.m_feedSelection.GetSize())
        doc.m_feedSelection[r - 2] = 1;
    if (!doc.DeleteSelectedFeeds()) {
        ShowMessage(ErrorText(doc), 0);
        return;
    }
    doc.m_selectedFeed = RSS_SHOW_NOTHING;
    m_pane.m_titleList.ClearSelection();
    UpdateFeedRows();
    theGlobal.UpdateAllViews();
}

void CPoiReaderWnd::OnUpdateDeleteFeed(CCmdUI* ui)
{
    const int r = m_pane.m_titleList.GetCurSel();
    ui->Enable(!m_feedSwitch && !FeedWorkRunning() && FeedListHasFocus() &&
               m_pane.m_titleList.GetSelectedCount() > 0 && r >= 2);
    SetCmdUIText(ui, theGlobal.UiString(270));
}

void CPoiReaderWnd::OnBack()
{
    Leave(1);
}

void CPoiReaderWnd::OnTop()
{
    Leave(0);
}

void CPoiReaderWnd::Leave(int back)
{
    KillTimer(TimerSwitch);
    KillTimer(TimerLoad);
    m_anime.Stop();
    m_anime.ShowWindow(SW_HIDE);
    // Flags, the running download's client and its event, all under the
    // document's lock (the worker may be ending that download right now).
    CDocRssPoi::CancelFeedWork();
    // Whatever reads the new-items file next finds the stars set in it.
    theGlobal.m_docRssPoi.WriteNewItemMarks();
    m_back = back;
    SetTimer(TimerLeave, 100, nullptr);
}

void CPoiReaderWnd::OnLeaveTimer()
{
    if (theGlobal.m_rssLoadBusy || theGlobal.m_rssUpdateBusy || theGlobal.m_downloadBusy)
        return;
    KillTimer(TimerLeave);
    FinishLeave();
}

void CPoiReaderWnd::FinishLeave()
{
    theGlobal.m_docRssPoi.DropFeedWork();
    theGlobal.m_rssTempFolder.Empty();
    m_pane.m_titleList.SetItemCount(0);
    m_pane.m_titleList.UpdateScrollBars();
    m_pane.m_titleList.Invalidate(FALSE);
    m_pane.m_itemList.m_items.RemoveAll();
    m_pane.m_order.RemoveAll();
    m_pane.m_itemList.UpdateScrollBars();
    m_pane.m_itemList.Invalidate(FALSE);
    m_visitActive = 0;
    ShowMap(FALSE);
    CWnd* main = AfxGetMainWnd();
    if (!main || main == this)
        return;
    if (m_back == 0)
        main->SendMessage(WM_COMMAND, ID_MENU_REFRESH, 0);
    main->SendMessage(WM_COMMAND, ID_MAIN_MENU, 0);
}

void CPoiReaderWnd::OnTimer(UINT_PTR id)
{
    switch (id) {
    case TimerSwitch: OnSwitchTimer(); break;
    case TimerLoad: OnLoadTimer(); break;
    case TimerMapDebounce:
        KillTimer(TimerMapDebounce);
        SetTimer(TimerMap, 10, nullptr);
        break;
    case TimerMap: OnMapTimer(); break;
    case TimerLeave: OnLeaveTimer(); break;
    default: Default(); break;
    }
}
