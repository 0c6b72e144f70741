#include "views/report/FeWnd.h"

#include "classlib/CMemDC.h"
#include "classlib/CWaitCursor.h"
#include "common/ButtonStrips.h"
#include "common/FileUtil.h"
#include "common/ThemeLibrary.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "core/SettingsText.h"
#include "res/frame_ids.h"
#include "res/fuel_ids.h"
#include "views/report/CheckImages.h"
#include "views/report/ReportTexts.h"

namespace {

constexpr int kTabWidth = 148, kTabHeight = 40, kButtonWidth = 192, kButtonHeight = 48;
constexpr int kEditors[kFuelColumnCount] = {
    CCustomListCtrl::EditDate, CCustomListCtrl::EditTime,     CCustomListCtrl::EditText,
    CCustomListCtrl::EditChoice, CCustomListCtrl::EditText,   CCustomListCtrl::EditChoice,
    CCustomListCtrl::EditReadOnly, CCustomListCtrl::EditChoice, CCustomListCtrl::EditText,
    CCustomListCtrl::EditChoice, CCustomListCtrl::EditReadOnly, CCustomListCtrl::EditText,
    CCustomListCtrl::EditText,   CCustomListCtrl::EditText};
constexpr COLORREF kBack = 0x0A0505;
const wchar_t* const kEcoPictures[5] = {L"eco_VeryGood.bmp", L"eco_Good.bmp", L"eco_Normal.bmp", L"eco_Bad.bmp",
                                        L"eco_VeryBad.bmp"};

void OpenInShell(HWND owner, const wchar_t* url)
{
    ::ShellExecuteW(owner, nullptr, url, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

CFeWnd::FileDialogFn CFeWnd::s_fileDialog = ShowFileDialog;
CFeWnd::OpenUrlFn CFeWnd::s_openUrl = OpenInShell;

BEGIN_MESSAGE_MAP(CFeWnd, CViewWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_CONTEXTMENU()
    ON_WM_RBUTTONDOWN()
    ON_REGISTERED_MESSAGE(WM_USER_IDLE, OnUserIdle)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_FUEL_LIST, OnGetDispInfo)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_FUEL_LIST, OnColumnClick)
    ON_NOTIFY(LVN_BEGINLABELEDITW, IDC_FUEL_LIST, OnBeginLabelEdit)
    ON_NOTIFY(LVN_ENDLABELEDITW, IDC_FUEL_LIST, OnEndLabelEdit)
    ON_COMMAND(ID_UPDATE, OnUpdate)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateCurrent)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateHasRecords)
    ON_COMMAND(ID_FUEL_FILE_NEW, OnFileNew)
    ON_UPDATE_COMMAND_UI(ID_FUEL_FILE_NEW, OnUpdateHasRecords)
    ON_COMMAND(ID_FUEL_SAVE_SELECTED, OnSaveSelected)
    ON_UPDATE_COMMAND_UI(ID_FUEL_SAVE_SELECTED, OnUpdateCopy)
    ON_COMMAND(ID_FUEL_SAVE_MASTER, OnSaveMaster)
    ON_UPDATE_COMMAND_UI(ID_FUEL_SAVE_MASTER, OnUpdateHasRecords)
    ON_COMMAND(ID_FUEL_WRITE_MASTER, OnWriteMaster)
    ON_UPDATE_COMMAND_UI(ID_FUEL_WRITE_MASTER, OnUpdateHasRecords)
    ON_COMMAND(ID_DELETE, OnDelete)
    ON_UPDATE_COMMAND_UI(ID_DELETE, OnUpdateDelete)
    ON_COMMAND(ID_EDIT_COPY, OnCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateCopy)
    ON_COMMAND(ID_EDIT_CUT, OnCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateCut)
    ON_COMMAND(ID_EDIT_PASTE, OnPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdatePaste)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnSelectAll)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateSelectAll)
    ON_COMMAND(ID_EDIT_UNDO, OnUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateUndo)
    ON_COMMAND(ID_EDIT_REDO, OnRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateRedo)
    ON_COMMAND_RANGE(ID_FUEL_TAB_TOTAL, ID_FUEL_TAB_TOTAL, OnStatisticsTab)
    ON_COMMAND_RANGE(ID_FUEL_TAB_AVERAGE, ID_FUEL_TAB_AVERAGE, OnStatisticsTab)
    ON_COMMAND_RANGE(ID_FUEL_TAB_MAXIMUM, ID_FUEL_TAB_MAXIMUM, OnStatisticsTab)
    ON_COMMAND_RANGE(ID_FUEL_TAB_MINIMUM, ID_FUEL_TAB_MINIMUM, OnStatisticsTab)
    ON_COMMAND_RANGE(ID_FUEL_TAB_CO2, ID_FUEL_TAB_CO2, OnStatisticsTab)
    ON_UPDATE_COMMAND_UI_RANGE(ID_FUEL_TAB_TOTAL, ID_FUEL_TAB_AVERAGE, OnUpdateTabs)
    ON_UPDATE_COMMAND_UI(ID_FUEL_TAB_CO2, OnUpdateTabs)
    ON_COMMAND(ID_FUEL_GRAPH, OnGraph)
    ON_UPDATE_COMMAND_UI(ID_FUEL_GRAPH, OnUpdateGraph)
    ON_COMMAND(ID_FUEL_MERGE, OnMerge)
    ON_UPDATE_COMMAND_UI(ID_FUEL_MERGE, OnUpdateMerge)
    ON_COMMAND(ID_FUEL_MAP, OnShowOnMap)
    ON_UPDATE_COMMAND_UI(ID_FUEL_MAP, OnUpdateMap)
    ON_COMMAND(ID_FUEL_TIPS, OnTips)
    ON_UPDATE_COMMAND_UI(ID_FUEL_TIPS, OnUpdateCurrent)
    ON_COMMAND(ID_FUEL_EDIT_CELL, OnEditCell)
    ON_UPDATE_COMMAND_UI(ID_FUEL_EDIT_CELL, OnUpdateEditCell)
    ON_COMMAND(ID_BACK, OnBack)
    ON_UPDATE_COMMAND_UI(ID_BACK, OnUpdateCurrent)
    ON_COMMAND(ID_TOP, OnTop)
END_MESSAGE_MAP()

CFeWnd::CFeWnd() : CFuelListModel(&theGlobal.m_docFe)
{
    InitDibImage(&m_statusTop);
    for (auto& image : m_eco)
        InitDibImage(&image);
}

CFeWnd::~CFeWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_statusTop);
    for (auto& image : m_eco)
        FreeDibImage(&image);
}

BOOL CFeWnd::IsCurrent() const
{
    return theGlobal.m_viewKind == 11;
}

BOOL CFeWnd::Declines(CCmdUI* ui) const
{
    if (IsCurrent())
        return FALSE;
    ui->ContinueRouting();
    return TRUE;
}

BOOL CFeWnd::ListHasFocus() const
{
    return m_list.GetSafeHwnd() && ::GetFocus() == m_list.GetSafeHwnd();
}

std::vector<int> CFeWnd::SelectedRows() const
{
    std::vector<int> rows;
    POSITION pos = m_list.GetFirstSelectedItemPosition();
    while (pos)
        rows.push_back(m_list.GetNextSelectedItem(pos));
    return rows;
}

int CFeWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    RemoveWindowTheme(m_hWnd);
    if (!m_list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS | LVS_OWNERDATA,
                       CRect(0, 0, 0, 0), this, IDC_FUEL_LIST))
        return -1;
    m_list.m_cellMode = TRUE;
    if (LoadCheckImages(m_images, 20, 13))
        m_list.SetImageList(&m_images, LVSIL_SMALL);
    CDWordArray& widths = theGlobal.m_fuelColumns;
    CDWordArray defaults;
    ParseIntListText(CGlobal::kDefaultFuelColumns, defaults);
    for (INT_PTR i = widths.GetSize(); i < kFuelColumnCount; ++i)
        widths.Add(i < defaults.GetSize() ? defaults[i] : 100);
    widths.SetSize(kFuelColumnCount);
    for (int i = 0; i < kFuelColumnCount; ++i) {
        const bool right = i == 2 || i == 4 || i == 6 || i == 8 || i == 10;
        m_list.InsertColumn(i, theGlobal.UiString(kFuelHeadings[i]), right ? LVCFMT_RIGHT : LVCFMT_LEFT,
                            static_cast<int>(widths[i]));
    }
    m_list.SetColumnAlignments(kFuelColumnCount, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0);
    for (int i = 0; i < kFuelColumnCount; ++i)
        m_list.m_columnProps[i].type = kEditors[i];
    m_list.m_columnProps[3].options = kFuelDistanceUnits;
    m_list.m_columnProps[5].options = kFuelAmountUnits;
    m_list.m_columnProps[7].options = kFuelMileageUnits;
    m_list.m_columnProps[9].options = FuelCurrencyNames();
    m_sortColumn = kFuelNoSort;
    m_sortDirection = 1;
    m_list.SetAllColumnsSortable(TRUE);
    if (!m_statistics.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, IDC_FUEL_STATISTICS))
        return -1;
    if (!CreateButtons())
        return -1;
    SetStatisticsMode(CStatisticsWnd::ModeTotal);
    if (!LoadDibFromPack(L"status_top.bmp", &m_statusTop))
        return -1;
    for (int i = 0; i < 5; ++i)
        if (!LoadDibFromPack(kEcoPictures[i], &m_eco[i]))
            return -1;
    RegisterForUpdates();
    return 0;
}

BOOL CFeWnd::CreateButtons()
{
    struct {
        CCustomButton* button;
        UINT id;
        int caption, width, height;
    } const buttons[] = {
        {&m_tabTotal, ID_FUEL_TAB_TOTAL, 163, kTabWidth, kTabHeight},
        {&m_tabAverage, ID_FUEL_TAB_AVERAGE, 164, kTabWidth, kTabHeight},
        {&m_tabMaximum, ID_FUEL_TAB_MAXIMUM, 165, kTabWidth, kTabHeight},
        {&m_tabMinimum, ID_FUEL_TAB_MINIMUM, 166, kTabWidth, kTabHeight},
        {&m_tabCO2, ID_FUEL_TAB_CO2, 167, kTabWidth, kTabHeight},
        {&m_btnOpen, ID_FILE_OPEN, 118, kButtonWidth, kButtonHeight},
        {&m_btnGraph, ID_FUEL_GRAPH, 162, kButtonWidth, kButtonHeight},
        {&m_btnMerge, ID_FUEL_MERGE, 159, kButtonWidth, kButtonHeight},
        {&m_btnSaveMaster, ID_FUEL_SAVE_MASTER, kUiSaveMasterFile, kButtonWidth, kButtonHeight},
        {&m_btnSave, ID_FILE_SAVE, 168, kButtonWidth, kButtonHeight},
    };
    for (const auto& b : buttons) {
        if (!b.button->Create(CRect(0, 0, 0, 0), this, b.id, FALSE))
            return FALSE;
        if (!BuildButtonImage(&b.button->m_strip, theGlobal.UiString(b.caption), b.width, b.height, 200, TRUE))
            return FALSE;
        b.button->SetRoundRegion();
    }
    return TRUE;
}

void CFeWnd::OnSize(UINT, int cx, int cy)
{
    if (cx != 0 && cy != 0)
        LayoutControls();
}

void CFeWnd::LayoutControls()
{
    CWnd* main = AfxGetMainWnd();
    if (main && main->GetSafeHwnd() && ::IsIconic(main->GetSafeHwnd()))
        return;
    CRect c;
    GetClientRect(&c);
    const int left = c.left + 7, right = c.right - 219;
    const bool tall = c.Height() >= 634;
    const int top = c.top + (tall ? 21 : 11), bottom = c.bottom - (tall ? 91 : 71);
    const int tabH = m_tabTotal.GetFrameHeight() ? m_tabTotal.GetFrameHeight() : kTabHeight;
    const int openH = m_btnOpen.GetFrameHeight() ? m_btnOpen.GetFrameHeight() : kButtonHeight;
    m_list.MoveWindow(left, top, right - left, bottom - tabH - top - 161);
    m_statistics.MoveWindow(left - 1, bottom - 140, 762, 140);
    CCustomButton* tabs[] = {&m_tabTotal, &m_tabAverage, &m_tabMaximum, &m_tabMinimum, &m_tabCO2};
    for (int i = 0; i < 5; ++i)
        tabs[i]->MoveWindow(left - 1 + i * (tabs[i]->m_strip.width + 4), bottom - tabH - 144, tabs[i]->m_strip.width, tabH);
    const int x = right + 21, w = m_btnOpen.m_strip.width;
    m_btnOpen.MoveWindow(x, top - 1, w, openH);
    m_btnMerge.MoveWindow(x, top + openH + 41, w, openH);
    m_btnGraph.MoveWindow(x, top + 2 * openH + 83, w, openH);
    m_btnSaveMaster.MoveWindow(c.right - 194, c.bottom - 50, w, openH);
    m_btnSave.MoveWindow(c.right - 400, c.bottom - 50, w, openH);
}

void CFeWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    dc.FillSolidRect(&client, kBack);
    const int level = m_doc->m_ecoLevel;
    if (level >= 0 && level <= 4) {
        const DIB_IMAGE& normal = m_eco[2];
        CRect eco(client.right - normal.width, client.bottom - 60 - normal.height, client.right, client.bottom - 60);
        FillRectWithDib(dc, &m_eco[level], &eco, TRUE);
    }
    if (m_list.GetSafeHwnd()) {
        CRect frame;
        m_list.GetWindowRect(&frame);
        ScreenToClient(&frame);
        frame.InflateRect(1, 1);
        CRect inside(frame);
        inside.DeflateRect(1, 1);
        dc.FillSolidRect(&inside, 0xDCDCDC);
        CBrush outline(0x989696);
        dc.FrameRect(&frame, outline);
    }
    if (m_statusTop.bitmap) {
        CRect strip((client.Width() - m_statusTop.width) / 2, client.bottom - 60,
                    (client.Width() + m_statusTop.width) / 2, client.bottom - 59);
        FillRectWithDib(dc, &m_statusTop, &strip, TRUE);
    }
}

void CFeWnd::OnDestroy()
{
    CDWordArray& widths = theGlobal.m_fuelColumns;
    widths.SetSize(kFuelColumnCount);
    for (int i = 0; i < kFuelColumnCount && i < m_list.GetColumnCount(); ++i) {
        HD_ITEMW hd{};
        hd.mask = HDI_WIDTH;
        if (m_list.m_header.GetItem(i, &hd))
            widths[i] = static_cast<DWORD>(hd.cxy);
    }
    m_list.m_items.RemoveAll();
    m_rowOrder.clear();
    m_doc->m_records.RemoveAll();
    m_doc->m_spareRecords.RemoveAll();
    ClearRedo();
    ClearUndo();
    Default();
}

LRESULT CFeWnd::OnUserIdle(WPARAM, LPARAM)
{
    const CCmdUI::Button buttons[] = {
        {&m_tabTotal, ID_FUEL_TAB_TOTAL},     {&m_tabAverage, ID_FUEL_TAB_AVERAGE},
        {&m_tabMaximum, ID_FUEL_TAB_MAXIMUM}, {&m_tabMinimum, ID_FUEL_TAB_MINIMUM},
        {&m_tabCO2, ID_FUEL_TAB_CO2},         {&m_btnOpen, ID_FILE_OPEN},
        {&m_btnGraph, ID_FUEL_GRAPH},         {&m_btnMerge, ID_FUEL_MERGE},
        {&m_btnSaveMaster, ID_FUEL_SAVE_MASTER}, {&m_btnSave, ID_FILE_SAVE},
        {&m_statistics.m_btnTips, ID_FUEL_TIPS}};
    CCmdUI::UpdateButtons(this, buttons);
    return 0;
}

void CFeWnd::OnRButtonDown(UINT, CPoint)
{
    m_list.SetFocus();
    Default();
}

void CFeWnd::SortChanged()
{
    if (m_list.GetSafeHwnd())
        m_list.SetSortArrow(m_sortColumn < kFuelNoSort ? m_sortColumn : -1, m_sortDirection);
}

void CFeWnd::RefreshList()
{
    if (!m_list.GetSafeHwnd())
        return;
    CWaitCursor wait;
    const int top = m_list.m_topIndex;
    SyncRowOrder();
    if (!m_firstRefresh) {
        m_sortColumn = 0;
        m_sortDirection = 1;
        SortByColumn(0, 1);
        m_firstRefresh = 1;
        SortChanged();
    }
    const int rows = RowCount();
    if (m_list.m_items.GetSize() != rows) {
        m_list.m_items.SetSize(rows);
        if (m_list.m_focusItem >= rows)
            m_list.m_focusItem = -1;
        if (m_list.m_curRow >= rows)
            m_list.m_curRow = -1;
    }
    m_list.UpdateScrollBars();
    m_list.Invalidate(FALSE);
    if (top < rows)
        m_list.EnsureVisible(top);
    m_statistics.m_mode = m_statisticsMode;
    m_statistics.UpdateLayout();
    m_statistics.Invalidate(FALSE);
    if (m_statisticsMode == CStatisticsWnd::ModeCO2)
        return;
    m_doc->JudgeEco();
    Invalidate(FALSE);
    if (CWnd* parent = GetParent())
        parent->Invalidate(FALSE);
}

void CFeWnd::SetStatisticsMode(int mode)
{
    if (mode == m_statisticsMode)
        return;
    m_statisticsMode = mode;
    CCustomButton* tabs[] = {&m_tabTotal, &m_tabAverage, &m_tabMaximum, &m_tabMinimum, &m_tabCO2};
    for (int i = 0; i < 5; ++i)
        if (tabs[i]->GetSafeHwnd())
            tabs[i]->SetCheck(i == mode);
    if (m_statistics.m_btnTips.GetSafeHwnd())
        m_statistics.m_btnTips.ShowWindow(mode == CStatisticsWnd::ModeCO2 ? SW_SHOW : SW_HIDE);
}

void CFeWnd::OnStatisticsTab(UINT id)
{
    if (!IsCurrent())
        return;
    int mode = CStatisticsWnd::ModeTotal;
    switch (id) {
    case ID_FUEL_TAB_AVERAGE: mode = CStatisticsWnd::ModeAverage; break;
    case ID_FUEL_TAB_MAXIMUM: mode = CStatisticsWnd::ModeMaximum; break;
    case ID_FUEL_TAB_MINIMUM: mode = CStatisticsWnd::ModeMinimum; break;
    case ID_FUEL_TAB_CO2: mode = CStatisticsWnd::ModeCO2; break;
    default: break;
    }
    SetStatisticsMode(mode);
    RefreshList();
}

void CFeWnd::OnGetDispInfo(NMHDR* nm, LRESULT* result)
{
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    *result = 1;
    if (item.iItem < 0 || item.iItem >= RowCount())
        return;
    if (item.mask & LVIF_IMAGE)
        item.iImage = -1;
    const int index = RecordOfRow(item.iItem);
    if (index < 0) {
        if (!IsNewRow(item.iItem))
            return;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
            item.pszText[0] = L'\0';
        // No current choice: every line of a list column, the first too, is a change.
        if (item.mask & LVIF_PARAM)
            item.lParam = -1;
        *result = 0;
        return;
    }
    DOCFUEL_VIEW_DATA r{};
    if (!m_doc->GetRecordText(index, r))
        return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynW(item.pszText, FuelCellText(r, item.iSubItem), item.cchTextMax);
    if (item.mask & LVIF_PARAM)
        item.lParam = FuelCellChoice(r, item.iSubItem);
    *result = 0;
}

void CFeWnd::OnColumnClick(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    CWaitCursor wait;
    ClickColumn(reinterpret_cast<NMLISTVIEW*>(nm)->iSubItem);
    RefreshList();
}
