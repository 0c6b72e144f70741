#include "views/report/DriveReportWnd.h"

#include <map>

#include "classlib/CMemDC.h"
#include "classlib/CWaitCursor.h"
#include "common/FileUtil.h"
#include "common/FolderBrowser.h"
#include "common/Utility.h"
#include "common/WebUtil.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/MessageDlg.h"
#include "frame/ProgressDlg.h"
#include "res/frame_ids.h"
#include "res/report_ids.h"
#include "views/report/DrPropertyDlg.h"
#include "views/report/InfoDlg.h"
#include "views/report/ReportTexts.h"

namespace {

const COLORREF kBack = RGB(0x05, 0x05, 0x0A);

}  // namespace

CDriveReportWnd::BrowseFolderFn CDriveReportWnd::s_browseFolder = CDriveReportWnd::BrowseImportFolder;

BOOL CDriveReportWnd::BrowseImportFolder(wchar_t path[MAX_PATH], HWND owner, const RECT& keepClear)
{
    return BrowseForFolder(path, owner, nullptr, theGlobal.UiString(kUiFolderFreeSpace), &keepClear);
}

BEGIN_MESSAGE_MAP(CDriveReportWnd, CViewWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_SHOWWINDOW()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_REGISTERED_MESSAGE(WM_USER_IDLE, OnUserIdle)
    ON_COMMAND(ID_UPDATE, OnUpdate)
    ON_COMMAND(ID_IMPORT_REPORT, OnImportReport)
    ON_UPDATE_COMMAND_UI(ID_IMPORT_REPORT, OnUpdateImport)
    ON_COMMAND(ID_REPORT, OnReport)
    ON_UPDATE_COMMAND_UI(ID_REPORT, OnUpdateReport)
    ON_COMMAND(ID_VIEW_DRIVE_REPORT, OnMapMode)
    ON_UPDATE_COMMAND_UI(ID_VIEW_DRIVE_REPORT, OnUpdateMapMode)
    ON_COMMAND(ID_VIEW_ECO_REPORT, OnEcoMode)
    ON_UPDATE_COMMAND_UI(ID_VIEW_ECO_REPORT, OnUpdateEcoMode)
    ON_COMMAND(ID_TIPS, OnTips)
    ON_UPDATE_COMMAND_UI(ID_TIPS, OnUpdateAlways)
    ON_COMMAND(ID_TOP, OnTop)
    ON_COMMAND(ID_BACK, OnBack)
    ON_UPDATE_COMMAND_UI(ID_BACK, OnUpdateAlways)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateNever)
    ON_CONTROL(CBN_SELCHANGE, IDC_DR_DISTANCE, OnSelChangeDistance)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_DR_LIST, OnItemChanged)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_DR_LIST, OnGetDispInfo)
    ON_NOTIFY(LVN_BEGINLABELEDITW, IDC_DR_LIST, OnBeginLabelEdit)
    ON_NOTIFY(LVN_ENDLABELEDITW, IDC_DR_LIST, OnEndLabelEdit)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_DR_LIST, OnColumnClick)
END_MESSAGE_MAP()

CDriveReportWnd::CDriveReportWnd() = default;

CDriveReportWnd::~CDriveReportWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    for (DIB_IMAGE* dib : {&m_barLeft, &m_barTile, &m_barRight})
        FreeDibImage(dib);
}

int CDriveReportWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    const CRect none(0, 0, 0, 0);
    if (!m_browse.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, none, this, 0xFFFF))
        return -1;
    if (!m_listPane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, none, this, 0xFFFF))
        return -1;
    FillDistanceCombo();
    // A missing piece leaves an empty picture: the bar is then 0 high.
    const struct {
        const wchar_t* name;
        DIB_IMAGE* dib;
    } pieces[] = {{L"splitter_top.bmp", &m_barLeft}, {L"splitter_tile.bmp", &m_barTile},
                  {L"splitter_bottom.bmp", &m_barRight}};
    for (const auto& p : pieces)
        if (LoadDibFromPack(p.name, p.dib))
            RotateDibLeft(p.dib);
    RegisterForUpdates();
    ShowPanel();
    return 0;
}

void CDriveReportWnd::OnSize(UINT, int cx, int cy)
{
    if (cx == 0 || cy == 0)
        return;
    m_splitPos = static_cast<int>(cy * theGlobal.m_drSplit);
    ClampSplitter();
    LayoutPanes();
}

void CDriveReportWnd::ClampSplitter()
{
    CRect c;
    GetClientRect(&c);
    CRect narrow = c;
    narrow.DeflateRect(6, 0);
    if (narrow.Width() <= 0 || narrow.Height() <= 0)
        return;
    const int H = c.Height(), B = m_barTile.height;
    if (m_splitPos < 403)
        m_splitPos = 403;
    if (m_splitPos >= H - B - 203)
        m_splitPos = H - B - 203;
    // A view too small for both rules still keeps the bar inside it.
    if (m_splitPos < 0)
        m_splitPos = 0;
    theGlobal.m_drSplit = static_cast<float>(m_splitPos) / static_cast<float>(H);
    m_barRect.SetRect(narrow.left, narrow.top + m_splitPos, narrow.right, narrow.top + m_splitPos + B);
}

void CDriveReportWnd::LayoutPanes()
{
    CWnd* main = AfxGetMainWnd();
    if (main && main->GetSafeHwnd() && ::IsIconic(main->m_hWnd))
        return;
    CRect c;
    GetClientRect(&c);
    c.DeflateRect(6, 0);
    const int B = m_barTile.height;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    m_browse.SetWindowPos(static_cast<HWND>(nullptr), c.left, c.top, c.Width(), std::max(m_splitPos - 3, 0), flags);
    const int listTop = c.top + m_splitPos + B + 3;
    m_listPane.SetWindowPos(static_cast<HWND>(nullptr), c.left, listTop, c.Width(), std::max<int>(c.bottom - listTop, 0),
                            flags);
    Invalidate(FALSE);
}

void CDriveReportWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    dc.FillSolidRect(&client, kBack);
    const CRect& bar = m_barRect;
    if (bar.IsRectEmpty())
        return;
    DrawDib(&m_barLeft, dc, bar.left, bar.top);
    const RECT tile{bar.left + m_barLeft.width, bar.top, bar.right - m_barRight.width, bar.bottom};
    if (m_barTile.bitmap && tile.right > tile.left)
        FillRectWithDib(dc, &m_barTile, &tile, TRUE);
    DrawDib(&m_barRight, dc, bar.right - m_barRight.width, bar.top);
}

void CDriveReportWnd::DrawTracker()
{
    ClampSplitter();
    CRect r = m_barRect;
    ClientToScreen(&r);
    CRect window;
    GetWindowRect(&window);
    r.OffsetRect(-window.left, -window.top);
    r.InflateRect(1, 0);
    HDC dc = ::GetWindowDC(m_hWnd);
    const int B = m_barTile.height;
    RECT line{r.left, r.top, r.right, r.top + 1};
    ::InvertRect(dc, &line);
    line = {r.left, r.top + std::max(B - 1, 0), r.right, r.top + std::max(B - 1, 0) + 1};
    ::InvertRect(dc, &line);
    ::ReleaseDC(m_hWnd, dc);
}

void CDriveReportWnd::OnLButtonDown(UINT, CPoint pt)
{
    SetFocus();
    if (m_drag.Begin(*this, pt, m_barRect))
        DrawTracker();
}

void CDriveReportWnd::OnMouseMove(UINT, CPoint pt)
{
    if (m_drag.IsDragging()) {
        DrawTracker();
        m_splitPos = m_drag.SplitAt(pt);
        DrawTracker();
    } else {
        m_drag.SetCursor(m_barRect.PtInRect(pt));
    }
}

void CDriveReportWnd::OnLButtonUp(UINT, CPoint)
{
    if (!m_drag.IsDragging())
        return;
    DrawTracker();
    m_drag.End();
    LayoutPanes();
}

void CDriveReportWnd::FillDistanceCombo()
{
    CCustomComboBox& combo = m_browse.m_distance;
    if (!combo.GetSafeHwnd())
        return;
    combo.ResetContent();
    const wchar_t* items = theGlobal.m_distanceUnit == 0   ? L"20m\n50m\n100m\n200m\n500m\n1000m"
                           : theGlobal.m_distanceUnit == 1 ? L"50feet\n100feet\n200feet\n500feet\n1000feet\n2000feet"
                                                           : L"";
    CString item;
    for (int i = 0; AfxExtractSubString(item, items, i, L'\n') && !item.IsEmpty(); ++i)
        combo.AddString(item);
}

void CDriveReportWnd::RefreshList()
{
    CDocDr& doc = theGlobal.m_docDr;
    CWordArray& index = m_listPane.m_index;
    CDriveReportListCtrl& list = m_listPane.m_list;
    if (index.GetSize() != doc.GetCount()) {
        // A row's states belong to its report: remember them by report, not by row.
        std::map<WORD, UINT> states;
        int focusReport = -1, anchorReport = -1;
        for (INT_PTR r = 0; r < index.GetSize() && r < list.m_items.GetSize(); ++r) {
            if (const UINT state = list.m_items[r].item.state & (LVIS_SELECTED | LVIS_FOCUSED))
                states[index[r]] = state;
            if (r == list.m_focusItem)
                focusReport = index[r];
            if (r == list.m_anchorItem)
                anchorReport = index[r];
        }
        index.RemoveAll();
        for (int i = 0; i < doc.GetCount(); ++i)
            if (doc.m_reports[i].m_valid)
                index.Add(static_cast<WORD>(i));
        if (list.GetSafeHwnd()) {
            list.m_items.SetSize(index.GetSize());
            list.m_focusItem = list.m_anchorItem = -1;
            for (INT_PTR r = 0; r < index.GetSize(); ++r) {
                const auto found = states.find(index[r]);
                list.SetItemState(static_cast<int>(r), LVIS_SELECTED | LVIS_FOCUSED,
                                  found == states.end() ? 0 : found->second);
                if (index[r] == focusReport)
                    list.m_focusItem = static_cast<int>(r);
                if (index[r] == anchorReport)
                    list.m_anchorItem = static_cast<int>(r);
            }
        }
    }
    if (list.GetSafeHwnd()) {
        const INT_PTR rows = index.GetSize();
        if (list.m_items.GetSize() != rows) {
            list.m_items.SetSize(rows);
            if (list.m_focusItem >= rows)
                list.m_focusItem = -1;
        }
        list.UpdateScrollBars();
        list.Invalidate(FALSE);
    }
    if (m_panelMode == 1 && m_browse.m_eco.GetSafeHwnd())
        m_browse.m_eco.Invalidate(FALSE);
    CCustomComboBox& combo = m_browse.m_distance;
    if (combo.GetSafeHwnd()) {
        int sel = combo.GetCurSel();
        FillDistanceCombo();
        if (sel > 5)
            sel = 1;
        combo.SetCurSel(sel);
    }
}

void CDriveReportWnd::OnImportReport()
{
    CDocDr& doc = theGlobal.m_docDr;
    if (doc.GetCount() > kMaxReports) {
        ShowMessage(UiText(19), 0);
        return;
    }
    wchar_t folder[MAX_PATH] = {};
    lstrcpynW(folder, theGlobal.m_drImportIniFolder, MAX_PATH);
    // The mode and import buttons all lie on the browse panel.
    RECT commands{};
    m_browse.GetWindowRect(&commands);
    if (!s_browseFolder(folder, m_hWnd, commands))
        return;
    CWaitCursor wait;
    CString chosen = folder;
    if (!chosen.IsEmpty() && chosen[chosen.GetLength() - 1] != L'\\')
        chosen += L'\\';
    const int type = theGlobal.m_modelType;
    CStringArray files;
    ListFiles(chosen + (type == 0 || type == 2 ? L"*.gpx" : L"*.LTB"), files);
    if (files.GetSize() == 0) {
        ShowMessage(UiText(7), 0);
        return;
    }
    CProgressDlg progress;
    const BOOL shown = progress.Start(this);
    if (shown) {
        progress.m_message.SetWindowText(UiText(27));
        progress.m_message.UpdateWindow();
        progress.SetRange(static_cast<int>(files.GetSize()));
    }
    int failures = 0;
    BOOL allOk = TRUE;
    // A long import shows its rows as they come, twice a second.
    DWORD lastRefresh = ::GetTickCount();
    for (INT_PTR i = 0; i < files.GetSize(); ++i) {
        // Only reports that were added count against the limit.
        if (doc.GetCount() >= kMaxReports) {
            if (shown)
                progress.DestroyWindow();
            ShowMessage(UiText(19), 0);
            theGlobal.UpdateAllViews();
            Invalidate(FALSE);
            return;
        }
        if (doc.Load(files[i])) {
            doc.SetModified(1);
            if (::GetTickCount() - lastRefresh >= 500) {
                RefreshList();
                m_listPane.m_list.UpdateWindow();
                lastRefresh = ::GetTickCount();
            }
        } else {
            ++failures;
            allOk = FALSE;
        }
        if (!shown)
            continue;
        progress.PumpMessages();
        const int cancel = progress.m_cancel;
        progress.m_cancel = 0;
        if (cancel) {
            if (progress.m_cancelEvent)
                ::SetEvent(progress.m_cancelEvent);
            break;
        }
        progress.PumpMessages();
        progress.m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(i + 1), 0);
        progress.UpdatePercent(static_cast<int>(i + 1));
    }
    if (shown)
        progress.DestroyWindow();
    if (!allOk)
        ShowMessage(UiText(failures == files.GetSize() ? 8 : 9), 0);
    theGlobal.m_drImportIniFolder = chosen.Left(chosen.GetLength() - 1);
    theGlobal.UpdateAllViews();
    Invalidate(FALSE);
}

void CDriveReportWnd::ApplyDistance()
{
    const int sel = m_browse.m_distance.GetSafeHwnd() ? m_browse.m_distance.GetCurSel() : -1;
    if ((theGlobal.m_distanceUnit == 0 || theGlobal.m_distanceUnit == 1) && sel >= 0 && sel <= 5)
        theGlobal.m_docDr.SetSamplingAll(sel);
}

void CDriveReportWnd::OnItemChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    ApplyDistance();
    KillTimer(kTimerId);
    if (CurrentRow() >= 0)
        SetTimer(kTimerId, kTimerMs, nullptr);
}

CString CDriveReportWnd::RouteMapUrl(const SYSTEMTIME& t)
{
    CString url;
    url.Format(L"%straceroute2/TraceRoute.php?dummy=%lld", theGlobal.WebBaseUrl().GetString(),
               MakeDateTimeNumber(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond));
    return url;
}

CString CDriveReportWnd::RouteMapBody(int reportIndex)
{
    CDocDrivingReport report;
    if (!theGlobal.m_docDr.GetReport(reportIndex, report))
        report = CDocDrivingReport();
    return BuildRouteMapPostBody() + L"&" + report.BuildRouteQuery();
}

void CDriveReportWnd::ShowRouteMap(int row, BOOL focus)
{
    const CWordArray& index = m_listPane.m_index;
    if (row < 0 || row >= index.GetSize())
        return;
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    CWebBrowserWnd& host = m_browse.m_browser;
    host.ShowWindow(SW_SHOW);
    if (focus)
        host.SetFocus();
    NavigatePost(host.m_browser.GetControlDispatch(), RouteMapUrl(now), RouteMapBody(index[row]));
}

void CDriveReportWnd::BlankMap()
{
    CWebBrowserWnd& host = m_browse.m_browser;
    NavigatePost(host.m_browser.GetControlDispatch(), L"about:blank", L"");
    host.ShowWindow(SW_HIDE);
}

void CDriveReportWnd::OnTimer(UINT_PTR id)
{
    if (id != kTimerId) {
        Default();
        return;
    }
    KillTimer(kTimerId);
    const int row = CurrentRow();
    const CWordArray& index = m_listPane.m_index;
    const bool current = row >= 0 && row < index.GetSize();
    if (m_panelMode == 0) {
        if (current)
            ShowRouteMap(row, FALSE);
        else
            BlankMap();
    } else {
        if (current)
            m_browse.m_eco.SetReport(index[row]);
        else
            m_browse.m_eco.SetReport(-1);
        m_browse.m_eco.Invalidate(FALSE);
    }
}

void CDriveReportWnd::OnSelChangeDistance()
{
    ApplyDistance();
    const int row = CurrentRow();
    if (row >= 0)
        ShowRouteMap(row, TRUE);
}

void CDriveReportWnd::OnMapMode()
{
    if (m_panelMode != 1)
        return;
    m_browse.SetPanelMode(0);
    m_panelMode = 0;
    ShowPanel();
}

void CDriveReportWnd::OnEcoMode()
{
    if (m_panelMode != 0)
        return;
    m_browse.SetPanelMode(1);
    m_panelMode = 1;
    ShowPanel();
}

void CDriveReportWnd::ShowPanel()
{
    CWebBrowserWnd& host = m_browse.m_browser;
    if (m_panelMode == 0) {
        m_browse.m_eco.ShowWindow(SW_HIDE);
        const bool show = CurrentRow() >= 0 && theGlobal.m_docDr.GetCount() > 0;
        host.ShowWindow(show ? SW_SHOW : SW_HIDE);
        m_browse.m_distance.ShowWindow(SW_SHOW);
    } else {
        NavigatePost(host.m_browser.GetControlDispatch(), L"about:blank", L"");
        m_browse.m_eco.ShowWindow(SW_SHOW);
        host.ShowWindow(SW_HIDE);
        m_browse.m_distance.ShowWindow(SW_HIDE);
    }
    if (m_listPane.m_index.GetSize() > 0) {
        KillTimer(kTimerId);
        if (CurrentRow() >= 0)
            SetTimer(kTimerId, kTimerMs, nullptr);
    }
    m_browse.Invalidate(FALSE);
    Invalidate(FALSE);
}

void CDriveReportWnd::OnShowWindow(BOOL show, UINT)
{
    Default();
    if (show) {
        m_browse.m_distance.SetCurSel(1);
        m_listPane.m_list.SetFocus();
    } else {
        // A route asked for just before leaving is not posted to the hidden map.
        KillTimer(kTimerId);
        if (m_panelMode == 0)
            BlankMap();
    }
}

void CDriveReportWnd::OnReport()
{
    CDrPropertyDlg dlg;
    const CWordArray& index = m_listPane.m_index;
    for (INT_PTR r = 0; r < index.GetSize(); ++r)
        dlg.m_frame.m_reports.Add(index[r]);
    dlg.DoModal();
}

void CDriveReportWnd::OnTips()
{
    CInfoDlg dlg;
    if (m_browse.m_eco.m_btnTips.GetSafeHwnd())
        m_browse.m_eco.m_btnTips.GetWindowRect(&dlg.m_anchor);
    dlg.SetTitle(UiText(249));
    dlg.SetMessage(UiText(72));
    dlg.DoModal();
}

void CDriveReportWnd::OnTop()
{
    CWnd* main = AfxGetMainWnd();
    if (!main)
        return;
    main->SendMessage(WM_COMMAND, ID_MENU_REFRESH, 0);
    main->SendMessage(WM_COMMAND, ID_MAIN_MENU, 0);
}

void CDriveReportWnd::OnBack()
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, ID_MAIN_MENU, 0);
}

void CDriveReportWnd::OnUpdateReport(CCmdUI* ui)
{
    const CDocDr& doc = theGlobal.m_docDr;
    BOOL any = FALSE;
    for (int i = 0; i < doc.GetCount() && !any; ++i)
        any = doc.m_reports[i].m_listData.checked != 0;
    ui->Enable(any);
}

LRESULT CDriveReportWnd::OnUserIdle(WPARAM, LPARAM)
{
    const CCmdUI::Button buttons[] = {{&m_browse.m_btnReport, ID_REPORT},
                                      {&m_browse.m_btnImport, ID_IMPORT_REPORT},
                                      {&m_browse.m_eco.m_btnTips, ID_TIPS}};
    CCmdUI::UpdateButtons(this, buttons);
    return 0;
}

BOOL CDriveReportWnd::PreTranslateMessage(MSG* msg)
{
    if (m_panelMode == 0 && msg->message == WM_KEYDOWN && msg->wParam == 'C' && ::GetAsyncKeyState(VK_CONTROL) < 0 &&
        m_browse.m_browser.GetSafeHwnd() && m_browse.m_browser.IsWindowVisible()) {
        ExecBrowserCopy(&m_browse.m_browser.m_browser);
        return TRUE;
    }
    return CViewWnd::PreTranslateMessage(msg);
}

void CDriveReportWnd::OnDestroy()
{
    KillTimer(kTimerId);
    CDWordArray& widths = theGlobal.m_drColumns;
    CDriveReportListCtrl& list = m_listPane.m_list;
    if (list.GetSafeHwnd()) {
        for (int i = 0; i < list.GetColumnCount(); ++i) {
            HD_ITEMW hd{};
            hd.mask = HDI_WIDTH;
            if (!list.m_header.GetItem(i, &hd))
                continue;
            if (widths.GetSize() <= i)
                widths.SetSize(i + 1);
            widths[i] = static_cast<DWORD>(hd.cxy);
        }
    }
    Default();
}
