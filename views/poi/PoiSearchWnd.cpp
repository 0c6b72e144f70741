#include "views/poi/PoiSearchWnd.h"

#include "common/ButtonStrips.h"
#include "core/AppMessages.h"
#include "core/Global.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"

namespace {

constexpr int kButtonWidth = 192, kButtonHeight = 48;
// Headings of name, address, telephone and description; their sort keys are
// the POI list's columns 2 to 5.
constexpr int kHeadings[CPoiSearchWnd::kSearchColumns] = {178, 179, 180, 181};
constexpr int kFirstKey = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CPoiSearchWnd, CPoiWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_OPEN_PENDING, OnOpenPending)
    ON_COMMAND(ID_GOOGLE, OnGoogle)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnDisable)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnDisable)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnDisable)
    ON_UPDATE_COMMAND_UI(ID_RESET, OnDisable)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnDisable)
    ON_UPDATE_COMMAND_UI(ID_EDIT, OnDisable)
    ON_UPDATE_COMMAND_UI(ID_NEW, OnDisable)
END_MESSAGE_MAP()

CPoiSearchWnd::CPoiSearchWnd()
{
    m_mode = 4;
}

int CPoiSearchWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    SetDocument(GetDocument());
    if (!m_list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, CRect(0, 0, 0, 0), this,
                       IDC_POI_LIST))
        return -1;
    m_list.m_cellMode = TRUE;
    m_list.m_tabNavigation = TRUE;
    CDWordArray& widths = ColumnWidths();
    widths.SetSize(kSearchColumns);
    for (int i = 0; i < kSearchColumns; ++i) {
        m_list.InsertColumn(i, theGlobal.UiString(kHeadings[i]), LVCFMT_LEFT, static_cast<int>(widths[i]));
        m_list.m_columnProps[i].type = CCustomListCtrl::EditNone;
    }
    HistorySetSort(kNoSort, 1);
    m_list.SetAllColumnsSortable(TRUE);
    if (!CreateButtons())
        return -1;
    // The look-up button's own pictures; EXPORT as a caption button.
    if (!m_btnGoogle.LoadBitmaps(L"btn_Google_%s.bmp", L"btn_Google_0.bmp", L"0", L"1", L"2", L"3", L"4") ||
        !BuildButtonImage(&m_btnExport.m_strip, theGlobal.UiString(124), kButtonWidth, kButtonHeight, 200, TRUE))
        return -1;
    m_btnGoogle.SetRoundRegion();
    m_btnExport.SetRoundRegion();
    m_btnSavePc.ShowWindow(SW_HIDE);
    if (!LoadDibFromPack(L"status_top.bmp", &m_footer))
        return -1;
    RegisterForUpdates();
    return 0;
}

void CPoiSearchWnd::OnSize(UINT type, int cx, int cy)
{
    CPoiWnd::OnSize(type, cx, cy);
    if (cx == 0 || cy == 0)
        return;
    CRect c;
    GetClientRect(&c);
    m_btnExport.MoveWindow(c.right - 6 - kButtonWidth, c.bottom - 50, kButtonWidth, kButtonHeight);
}

void CPoiSearchWnd::OnDestroy() { CloseList(kSearchColumns); }

void CPoiSearchWnd::OnShowWindow(BOOL show, UINT)
{
    Default();
    if (show)
        PostMessage(WM_OPEN_PENDING, 0, 0);
}

LRESULT CPoiSearchWnd::OnOpenPending(WPARAM, LPARAM)
{
    if (IsWindowVisible() && IsCurrent())
        OpenMapDialog(1);
    return 0;
}

int CPoiSearchWnd::KeyOfColumn(int column) const
{
    return column >= 0 && column < kSearchColumns ? column + kFirstKey : kNoSort;
}

int CPoiSearchWnd::ColumnOfKey(int key) const
{
    return key >= kFirstKey && key < kFirstKey + kSearchColumns ? key - kFirstKey : kNoSort;
}

void CPoiSearchWnd::SortByHeader(int key)
{
    // A sort here is not an action of the history.
    const int order = key == m_sortKey ? (m_sortOrder ? 0 : 1) : 1;
    SortByColumn(static_cast<int>(m_viewOrder.GetSize()), key, order);
    HistorySetSort(key, order);
}

void CPoiSearchWnd::HistorySetSort(int key, int order)
{
    CPoiListModel::HistorySetSort(key, order);
    if (m_list.GetSafeHwnd())
        m_list.SetSortArrow(ColumnOfKey(key), order);
}
