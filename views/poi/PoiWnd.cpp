#include "views/poi/PoiWnd.h"

#include "common/ButtonStrips.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/ListPagePaint.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"

namespace {

constexpr int kButtonWidth = 192, kButtonHeight = 48;
// Headings of the six columns: longitude, latitude, name, address, telephone, description.
constexpr int kHeadings[CPoiListModel::kColumnCount] = {182, 183, 178, 179, 180, 181};

BOOL CaptionButton(CCustomButton& button, int caption)
{
    return BuildButtonImage(&button.m_strip, theGlobal.UiString(caption), kButtonWidth, kButtonHeight, 200, TRUE);
}

BOOL PictureButton(CCustomButton& button, const wchar_t* caption, const wchar_t* skin)
{
    return BuildNumberedButtonImage(&button.m_strip, caption, kButtonWidth, kButtonHeight, skin, TRUE,
                                    RECT{35, 0, kButtonWidth, kButtonHeight});
}

}  // namespace

BEGIN_MESSAGE_MAP(CPoiWnd, CViewWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_RBUTTONDOWN()
    ON_WM_CONTEXTMENU()
    ON_REGISTERED_MESSAGE(WM_USER_IDLE, OnUserIdle)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_POI_LIST, OnGetDispInfo)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_POI_LIST, OnColumnClick)
    ON_NOTIFY(LVN_BEGINLABELEDITW, IDC_POI_LIST, OnBeginLabelEdit)
    ON_NOTIFY(LVN_ENDLABELEDITW, IDC_POI_LIST, OnEndLabelEdit)
    ON_COMMAND(ID_UPDATE, OnUpdate)
    ON_COMMAND(ID_EDIT, OnEdit)
    ON_UPDATE_COMMAND_UI(ID_EDIT, OnUpdateEdit)
    ON_COMMAND(ID_NEW, OnNew)
    ON_UPDATE_COMMAND_UI(ID_NEW, OnUpdateNew)
    ON_COMMAND(ID_DELETE, OnDelete)
    ON_UPDATE_COMMAND_UI(ID_DELETE, OnUpdateDelete)
    ON_COMMAND(ID_EDIT_COPY, OnCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateCopy)
    ON_COMMAND(ID_EDIT_CUT, OnCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdatePaste)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnSelectAll)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateSelectAll)
    ON_COMMAND(ID_RESET, OnResetPosition)
    ON_UPDATE_COMMAND_UI(ID_RESET, OnUpdateResetPosition)
    ON_COMMAND(ID_EDIT_UNDO, OnUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateUndo)
    ON_COMMAND(ID_EDIT_REDO, OnRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateRedo)
    ON_COMMAND(ID_FILE_SAVE, OnSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateSave)
    ON_COMMAND(ID_EXPORT, OnExport)
    ON_UPDATE_COMMAND_UI(ID_EXPORT, OnUpdateSave)
    ON_COMMAND(ID_BACK, OnBack)
    ON_UPDATE_COMMAND_UI(ID_BACK, OnUpdateAlways)
    ON_COMMAND(ID_TOP, OnTop)
END_MESSAGE_MAP()

CPoiWnd::CPoiWnd() : CPoiListModel(&theGlobal.m_docPiCsv)
{
    InitDibImage(&m_footer);
}

CPoiWnd::~CPoiWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_footer);
}

CDocPi* CPoiWnd::GetDocument() const
{
    switch (m_mode) {
    case 3: return &theGlobal.m_docPiKml;
    case 4: return &theGlobal.m_docPiMap;
    default: return &theGlobal.m_docPiCsv;
    }
}

CDWordArray& CPoiWnd::ColumnWidths() const
{
    switch (m_mode) {
    case 3: return theGlobal.m_piKmlColumns;
    case 4: return theGlobal.m_piMapColumns;
    default: return theGlobal.m_piCsvColumns;
    }
}

BOOL CPoiWnd::IsCurrent() const
{
    return theGlobal.m_viewKind == m_mode;
}

BOOL CPoiWnd::ListHasFocus() const
{
    return m_list.GetSafeHwnd() && ::GetFocus() == m_list.GetSafeHwnd();
}

std::vector<int> CPoiWnd::SelectedRows() const
{
    std::vector<int> rows;
    POSITION pos = m_list.GetFirstSelectedItemPosition();
    while (pos)
        rows.push_back(m_list.GetNextSelectedItem(pos));
    return rows;
}

int CPoiWnd::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    SetDocument(GetDocument());
    if (!m_list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_EDITLABELS, CRect(0, 0, 0, 0), this,
                       IDC_POI_LIST))
        return -1;
    m_list.m_cellMode = TRUE;
    m_list.m_tabNavigation = TRUE;
    CDWordArray& widths = ColumnWidths();
    widths.SetSize(kColumnCount);
    for (int i = 0; i < kColumnCount; ++i)
        m_list.InsertColumn(i, theGlobal.UiString(kHeadings[i]), LVCFMT_LEFT, static_cast<int>(widths[i]));
    for (int i = 0; i < kColumnCount; ++i)
        m_list.m_columnProps[i].type = i < 2 ? CCustomListCtrl::EditNone : CCustomListCtrl::EditText;
    HistorySetSort(kNoSort, 1);
    m_list.SetAllColumnsSortable(TRUE);
    if (!CreateButtons())
        return -1;
    if (!LoadDibFromPack(L"status_top.bmp", &m_footer))
        return -1;
    RegisterForUpdates();
    return 0;
}

BOOL CPoiWnd::CreateButtons()
{
    const CRect none(0, 0, 0, 0);
    struct {
        CCustomButton* button;
        UINT id;
    } const buttons[] = {{&m_btnLonLat, ID_LONLAT}, {&m_btnEdit, ID_EDIT},     {&m_btnSearch, ID_SEARCH},
                         {&m_btnNew, ID_NEW},       {&m_btnGoogle, ID_GOOGLE}, {&m_btnSavePc, ID_FILE_SAVE},
                         {&m_btnExport, ID_EXPORT}};
    for (const auto& b : buttons)
        if (!b.button->Create(none, this, b.id, FALSE))
            return FALSE;
    const int type = theGlobal.m_modelType;
    if (!CaptionButton(m_btnLonLat, 112) || !CaptionButton(m_btnEdit, 114) || !CaptionButton(m_btnSearch, 116) ||
        !CaptionButton(m_btnNew, 119) || !PictureButton(m_btnSavePc, L"PC", L"save_pc") ||
        !PictureButton(m_btnExport, type == 0 || type == 2 ? L"USB/SD" : L"SD", L"save_sd"))
        return FALSE;
    for (const auto& b : buttons)
        b.button->SetRoundRegion();
    m_btnLonLat.ShowWindow(SW_HIDE);
    m_btnSearch.ShowWindow(SW_HIDE);
    return TRUE;
}

void CPoiWnd::OnSize(UINT, int cx, int cy)
{
    if (cx == 0 || cy == 0)
        return;
    CRect c;
    GetClientRect(&c);
    const int w = kButtonWidth, h = kButtonHeight;
    m_list.MoveWindow(c.left + 6, c.top + 21, c.Width() - w - 32, c.Height() - 112);
    m_btnSavePc.MoveWindow(c.right - 6 - w, c.bottom - 50, w, h);
    m_btnExport.MoveWindow(c.right - 6 - 2 * w - 20, c.bottom - 50, w, h);
    if (m_mode == 4) {
        m_btnGoogle.MoveWindow(c.right - 6 - w, c.top + 110, w, h);
    } else {
        m_btnNew.MoveWindow(c.right - 6 - w, c.top + 290, w, h);
        m_btnEdit.MoveWindow(c.right - 6 - w, c.top + 380, w, h);
    }
}

void CPoiWnd::OnPaint()
{
    PaintListPage(*this, m_footer, m_list);
}

LRESULT CPoiWnd::OnUserIdle(WPARAM, LPARAM)
{
    const CCmdUI::Button buttons[] = {{&m_btnLonLat, ID_LONLAT}, {&m_btnEdit, ID_EDIT},   {&m_btnSavePc, ID_FILE_SAVE},
                                      {&m_btnSearch, ID_SEARCH}, {&m_btnNew, ID_NEW},     {&m_btnExport, ID_EXPORT}};
    CCmdUI::UpdateButtons(this, buttons);
    return 0;
}

void CPoiWnd::OnRButtonDown(UINT, CPoint)
{
    m_list.SetFocus();
    Default();
}

void CPoiWnd::OnDestroy() { CloseList(kColumnCount); }

void CPoiWnd::CloseList(int columns)
{
    CDWordArray& widths = ColumnWidths();
    widths.SetSize(columns);
    for (int i = 0; i < columns && i < m_list.GetColumnCount(); ++i) {
        HD_ITEMW hd{};
        hd.mask = HDI_WIDTH;
        if (m_list.m_header.GetItem(i, &hd))
            widths[i] = static_cast<DWORD>(hd.cxy);
    }
    ClearUndo();
    ClearRedo();
    Default();
}
