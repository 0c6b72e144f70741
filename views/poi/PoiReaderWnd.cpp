#include "views/poi/PoiReaderWnd.h"

#include <algorithm>

#include "classlib/CMemDC.h"
#include "common/ButtonStrips.h"
#include "common/FileUtil.h"
#include "common/Utility.h"
#include "common/WebUtil.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/CmdUIText.h"
#include "frame/ListPagePaint.h"
#include "res/feeds_ids.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/poi/PoiReaderLink.h"

namespace {

constexpr int kButtonWidth = 192, kButtonHeight = 48;
constexpr COLORREF kBack = RGB(5, 5, 10);

BOOL NavigateBrowser(CPoiReaderWnd* view, const wchar_t* url, const wchar_t* body)
{
    return NavigatePost(view->m_browserHost.m_browser.GetControlDispatch(), url, body);
}

BOOL PictureButton(CCustomButton& button, const wchar_t* caption, const wchar_t* skin)
{
    return BuildNumberedButtonImage(&button.m_strip, caption, kButtonWidth, kButtonHeight, skin, TRUE,
                                    RECT{35, 0, kButtonWidth, kButtonHeight});
}

}  // namespace

CPoiReaderWnd::NavigateFn CPoiReaderWnd::s_navigate = NavigateBrowser;
DWORD CPoiReaderWnd::s_workerWaitMs = 15000;

BEGIN_MESSAGE_MAP(CPoiReaderWnd, CViewWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_SHOWWINDOW()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_CONTEXTMENU()
    ON_REGISTERED_MESSAGE(WM_USER_IDLE, OnUserIdle)
    ON_MESSAGE(WM_FEED_UPDATE_DONE, OnUpdateDone)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_FEED_TITLE_LIST, OnFeedDispInfo)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_FEED_TITLE_LIST, OnFeedChanged)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_RSS_ITEM_LIST, OnItemDispInfo)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_RSS_ITEM_LIST, OnItemChanged)
    ON_NOTIFY(LVN_BEGINLABELEDITW, IDC_RSS_ITEM_LIST, OnBeginLabelEdit)
    ON_NOTIFY(LVN_ENDLABELEDITW, IDC_RSS_ITEM_LIST, OnEndLabelEdit)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_RSS_ITEM_LIST, OnColumnClick)
    ON_COMMAND(ID_URL_LIST_UPDATE, OnUrlListUpdate)
    ON_COMMAND(ID_UPDATE, OnUpdate)
    ON_COMMAND(ID_VIEW_GOOGLEMAPS, OnItemsLoaded)
    ON_COMMAND(ID_ENTRY, OnAddFeed)
    ON_UPDATE_COMMAND_UI(ID_ENTRY, OnUpdateAddFeed)
    ON_COMMAND(ID_URL_DELETE, OnDeleteFeed)
    ON_UPDATE_COMMAND_UI(ID_URL_DELETE, OnUpdateDeleteFeed)
    ON_COMMAND(ID_CHECK_ON, OnCheckOn)
    ON_UPDATE_COMMAND_UI(ID_CHECK_ON, OnUpdateCheckOnOff)
    ON_COMMAND(ID_CHECK_OFF, OnCheckOff)
    ON_UPDATE_COMMAND_UI(ID_CHECK_OFF, OnUpdateCheckOnOff)
    ON_COMMAND(ID_CHECK_ALL, OnCheckAll)
    ON_UPDATE_COMMAND_UI(ID_CHECK_ALL, OnUpdateCheckAll)
    ON_COMMAND(ID_UNCHECK_ALL, OnUncheckAll)
    ON_UPDATE_COMMAND_UI(ID_UNCHECK_ALL, OnUpdateUncheckAll)
    ON_COMMAND(ID_CHECK_NEW, OnCheckNew)
    ON_UPDATE_COMMAND_UI(ID_CHECK_NEW, OnUpdateCheckAll)
    ON_COMMAND(ID_CHECK_OLD, OnCheckOld)
    ON_UPDATE_COMMAND_UI(ID_CHECK_OLD, OnUpdateCheckAll)
    ON_COMMAND(ID_LINK_BROWSE, OnLink)
    ON_UPDATE_COMMAND_UI(ID_LINK_BROWSE, OnUpdateLink)
    ON_COMMAND(ID_PROPERTIES, OnProperty)
    ON_UPDATE_COMMAND_UI(ID_PROPERTIES, OnUpdateProperty)
    ON_COMMAND(ID_FILE_SAVE, OnSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateSave)
    ON_COMMAND(ID_EXPORT, OnExport)
    ON_UPDATE_COMMAND_UI(ID_EXPORT, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateNever)
    ON_COMMAND(ID_BACK, OnBack)
    ON_UPDATE_COMMAND_UI(ID_BACK, OnUpdateAlways)
    ON_COMMAND(ID_TOP, OnTop)
END_MESSAGE_MAP()

CPoiReaderWnd::CPoiReaderWnd()
{
    InitDibImage(&m_statusLine);
}

CPoiReaderWnd::~CPoiReaderWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_statusLine);
}

BOOL CPoiReaderWnd::IsCurrent() const
{
    return theGlobal.m_viewKind == 5;
}

int CPoiReaderWnd::ShownRows() const
{
    return std::min(theGlobal.m_docRssPoi.GetShownItemCount(), static_cast<int>(RSS_MAX_SHOWN));
}

BOOL CPoiReaderWnd::ItemListHasFocus() const
{
    return m_pane.m_itemList.GetSafeHwnd() && ::GetFocus() == m_pane.m_itemList.GetSafeHwnd();
}

BOOL CPoiReaderWnd::FeedListHasFocus() const
{
    return m_pane.m_titleList.GetSafeHwnd() && ::GetFocus() == m_pane.m_titleList.GetSafeHwnd();
}

int CPoiReaderWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!LoadDibFromPack(L"status_top.bmp", &m_statusLine))
        return -1;
    const CRect none(0, 0, 0, 0);
    const int type = theGlobal.m_modelType;
    if (!m_btnSavePc.Create(none, this, ID_FILE_SAVE, FALSE) || !m_btnExport.Create(none, this, ID_EXPORT, FALSE) ||
        !PictureButton(m_btnSavePc, L"PC", L"save_pc") ||
        !PictureButton(m_btnExport, type == 0 || type == 2 ? L"USB/SD" : L"SD", L"save_sd"))
        return -1;
    m_btnSavePc.SetRoundRegion();
    m_btnExport.SetRoundRegion();
    // Without a page engine the host still takes the requests.
    if (!m_browserHost.Create(nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, none, this, 0xE011))
        return -1;
    if (!m_pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, none, this, 0xE012))
        return -1;
    m_splitter.LoadPictures();
    if (!m_anime.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 64, 64), this, 0xE013))
        return -1;
    m_anime.LoadFrames();
    m_link = new CFeedReaderLink(m_hWnd, WM_FEED_UPDATE_DONE);
    RegisterForUpdates();
    return 0;
}

void CPoiReaderWnd::OnDestroy()
{
    theGlobal.m_rssLoadCancel = 1;
    theGlobal.m_rssCancel = 1;
    KillTimer(TimerSwitch);
    KillTimer(TimerLoad);
    m_anime.Stop();
    // The workers report to nobody from now on; the wait runs the messages
    // they send meanwhile, so neither side waits for the other.
    if (m_link)
        m_link->Detach();
    CDocRssPoi::CancelFeedWork();
    const BOOL ended = CDocRssPoi::WaitForFeedWorkers(s_workerWaitMs);
    theGlobal.m_docRssPoi.WriteNewItemMarks();
    if (ended) {
        delete m_link;
        theGlobal.m_docRssPoi.DeleteFeedFiles();
        if (!theGlobal.m_rssTempFolder.IsEmpty())
            DeleteFolderTree(theGlobal.m_rssTempFolder);
    }
    // else: a worker still holds the link and its files; both are left to it.
    m_link = nullptr;
    Default();
}

void CPoiReaderWnd::OnSize(UINT type, int cx, int cy)
{
    if (type == SIZE_MINIMIZED || cx == 0 || cy == 0)
        return;
    m_splitter.FollowSize(cy);
    PlaceChildren();
}

void CPoiReaderWnd::PlaceChildren()
{
    CRect c;
    GetClientRect(&c);
    const int W = c.Width(), H = c.Height();
    CWnd* main = AfxGetMainWnd();
    if (W <= 0 || H <= 0 || (main && main != this && main->IsIconic()))
        return;
    const int b = m_splitter.Thickness();
    m_splitter.Place(H, 6, W - 6);
    m_browserHost.MoveWindow(6, 21, W - 12, std::max(0, m_splitter.split - 25));
    m_pane.MoveWindow(6, m_splitter.split + b + 4, W - 12, std::max(0, H - m_splitter.split - b - 93));
    m_btnSavePc.MoveWindow(W - 198, H - 50, kButtonWidth, kButtonHeight);
    m_btnExport.MoveWindow(W - 410, H - 50, kButtonWidth, kButtonHeight);
    if (m_splitter.split - 5 > 64)
        m_anime.MoveWindow(W / 2 - 32, (m_splitter.split - 5) / 2 - 12, 64, 64);
    else
        m_anime.MoveWindow(W / 2 - 32, 0, 0, 0);
    Invalidate(FALSE);
}

void CPoiReaderWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CMemDC dc(&paint, client);
    dc.FillSolidRect(&client, kBack);
    if (m_statusLine.bitmap)
        DrawDibEx(&m_statusLine, dc, (client.Width() - m_statusLine.width) / 2, client.bottom - 60,
                  m_statusLine.width, 1, 0, 0, m_statusLine.width, m_statusLine.height);
    m_splitter.Paint(dc);
    FrameChild(dc, m_browserHost, *this);
}

// ---------------------------------------------------------------------------
// Splitter

int CPoiReaderWnd::ClampSplit(int split, int height, int barHeight)
{
    return std::min(std::max(split, 23), height - barHeight - 277);
}

void CPoiReaderWnd::OnLButtonDown(UINT, CPoint pt)
{
    m_splitter.MouseDown(*this, pt);
}

void CPoiReaderWnd::OnMouseMove(UINT, CPoint pt)
{
    m_splitter.MouseMove(*this, pt);
}

void CPoiReaderWnd::OnLButtonUp(UINT, CPoint)
{
    if (m_splitter.MouseUp(*this))
        PlaceChildren();
}

// ---------------------------------------------------------------------------
// Idle, menus, keys

LRESULT CPoiReaderWnd::OnUserIdle(WPARAM, LPARAM)
{
    const CCmdUI::Button buttons[] = {
        {&m_pane.m_btnAdd, ID_ENTRY},          {&m_pane.m_btnDelete, ID_URL_DELETE},
        {&m_btnSavePc, ID_FILE_SAVE},          {&m_btnExport, ID_EXPORT},
        {&m_pane.m_btnCheckAll, ID_CHECK_ALL}, {&m_pane.m_btnUncheckAll, ID_UNCHECK_ALL},
        {&m_pane.m_btnCheckNew, ID_CHECK_NEW}, {&m_pane.m_btnCheckOld, ID_CHECK_OLD},
        {&m_pane.m_btnLink, ID_LINK_BROWSE}};
    CCmdUI::UpdateButtons(this, buttons);
    return 0;
}

void CPoiReaderWnd::OnContextMenu(CWnd*, CPoint pt)
{
    UINT menuId = 0;
    if (FeedListHasFocus())
        menuId = IDR_FEED_MENU;
    else if (ItemListHasFocus())
        menuId = IDR_FEED_ITEM_MENU;
    ShowContextMenu(menuId, pt);
}

BOOL CPoiReaderWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == 'C' && ::GetKeyState(VK_CONTROL) < 0 && m_browserShown) {
        ExecBrowserCopy(&m_browserHost.m_browser);
        return TRUE;
    }
    return CViewWnd::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------
// The map page

CString CPoiReaderWnd::MapPageUrl()
{
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    CString url;
    url.Format(L"%sgeorss/georss.php?dummy=%lld", theGlobal.WebBaseUrl().GetString(),
               MakeDateTimeNumber(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond));
    return url;
}

void CPoiReaderWnd::ShowMap(BOOL show, const wchar_t* url, const wchar_t* body)
{
    m_browserShown = show;
    m_browserHost.ShowWindow(show ? SW_SHOW : SW_HIDE);
    m_lastUrl = show && url ? url : L"about:blank";
    m_lastBody = show && body ? body : L"";
    s_navigate(this, m_lastUrl, m_lastBody);
}
