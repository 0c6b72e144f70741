#pragma once
// The feed reader: the feed map page in the browser host on top, the feed list
// pane below a horizontal splitter, Save to PC and Export at the bottom. A
// visit (from being shown until Back or Top) updates every feed on a worker;
// choosing a feed row loads its items on another; the workers report by
// SendMessage through a link object that outlives the view when a worker
// does not end in time.
//
// Files: PoiReaderWnd.cpp creation, layout, paint, idle, menus;
// PoiReaderVisit.cpp visit, workers' reports, feed rows, add, delete, leave;
// PoiReaderItems.cpp item cells, marks, sorting, map requests, link, save, export.
#include <memory>
#include <vector>

#include "common/DibImage.h"
#include "controls/CustomAnimeCtrl.h"
#include "controls/CustomButton.h"
#include "controls/WebBrowser.h"
#include "core/Global.h"
#include "doc/DocRssPoi.h"
#include "frame/ViewWnd.h"
#include "views/poi/FeedSplitter.h"
#include "views/poi/PoiKmlOutput.h"
#include "views/poi/PoiRssListWnd.h"

class CFeedReaderLink;

// The map page's request: the items sent, in order (indices into the shown
// items), for the selected row s (-1 for none) and the check marks.
//   s < 0: the checked items walking the order, at most 50;
//   s >= 0: the selected item, then at most 49 checked items: every checked
//   item in order when fewer than 50 are checked (the selected one is not sent
//   twice), else those after the selected row, then those before it.
std::vector<int> MapRequestItems(const std::vector<int>& order, const std::vector<bool>& checked, int selectedRow);

class CPoiReaderWnd : public CViewWnd {
public:
    enum : UINT_PTR {
        TimerSwitch = 10001, TimerLoad = 10002, TimerMapDebounce = 10004, TimerMap = 10005, TimerLeave = 10006
    };
    // Posted by the update worker's end (the UI thread clears row 0's mark).
    enum : UINT { WM_FEED_UPDATE_DONE = WM_APP + 0x140 };

    CPoiReaderWnd();
    ~CPoiReaderWnd() override;

    // Seams: the page load (the browser host here), the save dialog and the card chooser.
    using NavigateFn = BOOL (*)(CPoiReaderWnd* view, const wchar_t* url, const wchar_t* body);
    using SaveDialogFn = KmlSaveDialogFn;
    using CardChooserFn = PoiCardChooserFn;
    static NavigateFn s_navigate;
    static SaveDialogFn s_saveDialog;
    static CardChooserFn s_chooseCard;
    // How long leaving and closing wait for the workers before giving up.
    static DWORD s_workerWaitMs;

    // Shows or hides the browser host; "about:blank" with hiding.
    void ShowMap(BOOL show, const wchar_t* url = nullptr, const wchar_t* body = nullptr);
    // The map page's address with a new "dummy" number.
    static CString MapPageUrl();
    // The form body of a map request for the item list's current row s.
    CString BuildMapBody(int selectedRow);
    // The feed rows follow the document: count of updated feeds + 2.
    void UpdateFeedRows();
    int ShownRows() const;
    BOOL IsCurrent() const;

    CPoiRssListWnd m_pane;
    CWebBrowserWnd m_browserHost;
    CCustomAnimeCtrl m_anime;
    CCustomButton m_btnSavePc, m_btnExport;
    DIB_IMAGE m_statusLine{};
    BOOL m_browserShown = FALSE;
    CFeedSplitter m_splitter{TRUE, theGlobal.m_rssSplit, 0.5f, ClampSplit};
    int m_back = 0;
    int m_autoScale = 0;
    int m_feedSwitch = 0;
    int m_mapSelection = -1;
    int m_visitActive = 0;
    CString m_lastUrl, m_lastBody;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    void OnShowWindow(BOOL show, UINT status);
    void OnTimer(UINT_PTR id);
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    void OnContextMenu(CWnd* wnd, CPoint pt);
    LRESULT OnUserIdle(WPARAM, LPARAM);
    LRESULT OnUpdateDone(WPARAM, LPARAM);
    BOOL PreTranslateMessage(MSG* msg) override;

    // Visit and feeds (PoiReaderVisit.cpp).
    void StartVisit();
    void OnUrlListUpdate();
    void OnUpdate();
    void OnItemsLoaded();
    void OnFeedChanged(NMHDR* nm, LRESULT* result);
    void OnFeedDispInfo(NMHDR* nm, LRESULT* result);
    void OnSwitchTimer();
    void OnLoadTimer();
    // Empties the item rows, the view order and the sort; hides the map.
    void ClearItemRows();
    void OnAddFeed();
    void OnDeleteFeed();
    void OnUpdateDeleteFeed(CCmdUI* ui);
    void OnBack();
    void OnTop();
    void Leave(int back);
    void OnLeaveTimer();
    void FinishLeave();
    enum AddResult { AddDone, AddFailed, AddCancelled };
    AddResult AddFeedOnWorker(const CString& url);
    void OnUpdateAddFeed(CCmdUI* ui);
    static BOOL FeedWorkRunning();

    // Items (PoiReaderItems.cpp).
    void OnItemDispInfo(NMHDR* nm, LRESULT* result);
    void OnItemChanged(NMHDR* nm, LRESULT* result);
    void OnBeginLabelEdit(NMHDR* nm, LRESULT* result);
    void OnEndLabelEdit(NMHDR* nm, LRESULT* result);
    void OnColumnClick(NMHDR* nm, LRESULT* result);
    void OnCheckOn();
    void OnCheckOff();
    void OnCheckAll();
    void OnUncheckAll();
    void OnCheckNew();
    void OnCheckOld();
    void OnLink();
    void OnProperty();
    void OnSave();
    void OnExport();
    void OnUpdateSave(CCmdUI* ui);
    void OnUpdateCheckAll(CCmdUI* ui);
    void OnUpdateUncheckAll(CCmdUI* ui);
    void OnUpdateCheckOnOff(CCmdUI* ui);
    void OnUpdateLink(CCmdUI* ui);
    void OnUpdateProperty(CCmdUI* ui);
    void OnUpdateAlways(CCmdUI* ui) { ui->Enable(TRUE); }
    void OnUpdateNever(CCmdUI* ui) { ui->Enable(FALSE); }
    void RestartMapTimer();
    void OnMapTimer();
    void SetChecks(int value);
    PoiKmlOutput KmlOutput();
    DECLARE_MESSAGE_MAP()

    void PlaceChildren();
    // The split between the page and the lists kept inside the window.
    static int ClampSplit(int split, int height, int barHeight);
    BOOL ItemListHasFocus() const;
    BOOL FeedListHasFocus() const;

    CFeedReaderLink* m_link = nullptr;
};
