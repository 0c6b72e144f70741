#include "views/device/AbWnd.h"

#include "classlib/CWaitCursor.h"
#include "common/ButtonStrips.h"
#include "core/Global.h"
#include "core/NaviModelData.h"
#include "core/RegisteredMessages.h"
#include "frame/ListPagePaint.h"
#include "res/device_ids.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"

namespace {

constexpr int kButtonWidth = 192, kButtonHeight = 48;
constexpr COLORREF kMask = RGB(255, 0, 255);
constexpr int kDefaultWidths[CAbListModel::kColumnCount] = {70, 88, 155, 270, 170};
constexpr int kAddressBookView = 8;

BOOL CaptionButton(CCustomButton& button, int caption)
{
    return BuildButtonImage(&button.m_strip, theGlobal.UiString(caption), kButtonWidth, kButtonHeight, 200, TRUE);
}

BOOL PictureButton(CCustomButton& button, int caption, const wchar_t* skin)
{
    return BuildNumberedButtonImage(&button.m_strip, theGlobal.UiString(caption), kButtonWidth, kButtonHeight, skin,
                                    TRUE, RECT{35, 0, kButtonWidth, kButtonHeight});
}

}  // namespace

BEGIN_MESSAGE_MAP(CAbWnd, CViewWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_RBUTTONDOWN()
    ON_WM_CONTEXTMENU()
    ON_REGISTERED_MESSAGE(WM_USER_IDLE, OnUserIdle)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_AB_LIST, OnGetDispInfo)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_AB_LIST, OnColumnClick)
    ON_NOTIFY(LVN_BEGINLABELEDITW, IDC_AB_LIST, OnBeginLabelEdit)
    ON_NOTIFY(LVN_ENDLABELEDITW, IDC_AB_LIST, OnEndLabelEdit)
    ON_COMMAND(ID_UPDATE, OnUpdate)
    ON_COMMAND(ID_BACK, OnBack)
    ON_UPDATE_COMMAND_UI(ID_BACK, OnUpdateCurrent)
    ON_COMMAND(ID_TOP, OnTop)
    ON_UPDATE_COMMAND_UI(ID_TOP, OnUpdateCurrent)
    ON_COMMAND(ID_FILE_SAVE, OnSaveToPc)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateCurrent)
    ON_COMMAND(ID_EXPORT, OnExport)
    ON_UPDATE_COMMAND_UI(ID_EXPORT, OnUpdateCurrent)
    ON_COMMAND(ID_FILE_OPEN, OnOpen)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateCurrent)
    ON_COMMAND(ID_IMPORT, OnImport)
    ON_UPDATE_COMMAND_UI(ID_IMPORT, OnUpdateCurrent)
    ON_COMMAND(ID_GOOGLE, OnMapLookup)
    ON_UPDATE_COMMAND_UI(ID_GOOGLE, OnUpdateMapLookup)
    ON_COMMAND(ID_EDIT, OnEdit)
    ON_UPDATE_COMMAND_UI(ID_EDIT, OnUpdateEdit)
    ON_COMMAND(ID_EDIT_COPY, OnCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateCopy)
    ON_COMMAND(ID_EDIT_CUT, OnCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateCut)
    ON_COMMAND(ID_DELETE, OnDelete)
    ON_UPDATE_COMMAND_UI(ID_DELETE, OnUpdateDelete)
    ON_COMMAND(ID_EDIT_PASTE, OnPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdatePaste)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnSelectAll)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateSelectAll)
    ON_COMMAND(ID_EDIT_UNDO, OnUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateUndo)
    ON_COMMAND(ID_EDIT_REDO, OnRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateRedo)
    ON_COMMAND(ID_DELETE_UNDOREDO, OnClearUndoRedo)
    ON_COMMAND(ID_ADD, OnAdd)
    ON_UPDATE_COMMAND_UI(ID_ADD, OnUpdateAdd)
END_MESSAGE_MAP()

CAbWnd::CAbWnd() : CViewWnd(kAddressBookView), CAbListModel(theGlobal.m_docAb)
{
    InitDibImage(&m_footer);
}

CAbWnd::~CAbWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_footer);
}

BOOL CAbWnd::ListHasFocus() const
{
    return m_list.GetSafeHwnd() && ::GetFocus() == m_list.GetSafeHwnd();
}

BOOL CAbWnd::IsBrazilRegion() const { return theGlobal.m_naviModel.m_region == REGION_BR; }

std::vector<int> CAbWnd::SelectedRows() const
{
    std::vector<int> rows;
    POSITION pos = m_list.GetFirstSelectedItemPosition();
    while (pos)
        rows.push_back(m_list.GetNextSelectedItem(pos));
    return rows;
}

int CAbWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!m_list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS | LVS_OWNERDATA,
                       CRect(0, 0, 0, 0), this, IDC_AB_LIST))
        return -1;
    m_list.m_cellMode = TRUE;
    m_list.m_tabNavigation = TRUE;
    // The icon and position columns keep the plain background and no focus.
    m_list.m_skinFromColumn = 2;

    m_rowImages.Create(32, 32, ILC_COLOR32 | ILC_MASK, 3, 0);
    if (HBITMAP flags = static_cast<HBITMAP>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_AB_POSITION),
                                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
        ImageList_AddMasked(m_rowImages.GetSafeHandle(), flags, kMask);
        ::DeleteObject(flags);
    }
    CDocIcon& icons = theGlobal.m_docIcon;
    if (!icons.m_pickerIcons)
        icons.LoadIcons();
    m_list.SetImageList(icons.m_pickerIcons ? CImageList::FromHandle(icons.m_pickerIcons) : nullptr, LVSIL_SMALL);
    m_list.SetImageList(&m_rowImages, LVSIL_STATE);
    // Only icons the card file can store are offered in the cell.
    m_list.m_iconLimit = StorableImageCount();

    CDWordArray& widths = theGlobal.m_abColumns;
    if (widths.GetSize() < kColumnCount) {
        widths.SetSize(kColumnCount);
        for (int i = 0; i < kColumnCount; ++i)
            widths[i] = kDefaultWidths[i];
    }
    const CString headings[kColumnCount] = {theGlobal.UiString(177), L"Lon/Lat", theGlobal.UiString(178),
                                            theGlobal.UiString(179), theGlobal.UiString(180)};
    const int formats[kColumnCount] = {LVCFMT_CENTER, LVCFMT_CENTER, LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_LEFT};
    const int editors[kColumnCount] = {CCustomListCtrl::EditIcon, CCustomListCtrl::EditNone, CCustomListCtrl::EditText,
                                       CCustomListCtrl::EditText, CCustomListCtrl::EditText};
    for (int i = 0; i < kColumnCount; ++i)
        m_list.InsertColumn(i, headings[i], formats[i], static_cast<int>(widths[i]));
    for (int i = 0; i < kColumnCount; ++i)
        m_list.m_columnProps[i].type = editors[i];
    m_list.SetAllColumnsSortable(TRUE);
    m_sortColumn = kNoSort;
    m_sortOrder = 1;
    SortChanged();
    if (!CreateButtons())
        return -1;
    if (!LoadDibFromPack(L"status_top.bmp", &m_footer))
        return -1;
    RegisterForUpdates();
    RefreshList();
    return 0;
}

BOOL CAbWnd::CreateButtons()
{
    const CRect none(0, 0, 0, 0);
    struct {
        CCustomButton* button;
        UINT id;
    } const buttons[] = {{&m_btnImport, ID_IMPORT}, {&m_btnOpen, ID_FILE_OPEN}, {&m_btnSavePc, ID_FILE_SAVE},
                         {&m_btnExport, ID_EXPORT}, {&m_btnIcon, ID_ICON},      {&m_btnEdit, ID_EDIT},
                         {&m_btnGoogle, ID_GOOGLE}};
    for (const auto& b : buttons)
        if (!b.button->Create(none, this, b.id, FALSE))
            return FALSE;
    if (!CaptionButton(m_btnImport, 125) || !CaptionButton(m_btnOpen, 118) ||
        !PictureButton(m_btnSavePc, 117, L"save_pc") || !PictureButton(m_btnExport, 120, L"save_sd") ||
        !CaptionButton(m_btnIcon, 113) || !CaptionButton(m_btnEdit, 114) ||
        !m_btnGoogle.LoadBitmaps(L"btn_Google_%s.bmp", L"btn_Google_0.bmp", L"0", L"1", L"2", L"3", L"4"))
        return FALSE;
    for (const auto& b : buttons)
        b.button->SetRoundRegion();
    m_btnIcon.ShowWindow(SW_HIDE);
    if (IsBrazilRegion())
        m_btnGoogle.ShowWindow(SW_HIDE);
    return TRUE;
}

void CAbWnd::OnSize(UINT, int cx, int cy)
{
    if (cx == 0 || cy == 0)
        return;
    CRect c;
    GetClientRect(&c);
    const int w = kButtonWidth, h = kButtonHeight;
    const int right = c.right - 6, bottom = c.bottom - 60;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    m_list.SetWindowPos(HWND{}, c.left + 7, c.top + 21, c.Width() - w - 35, c.Height() - 113, flags);
    m_btnSavePc.SetWindowPos(HWND{}, right - 2 * w - 20, bottom + 10, w, h, flags);
    m_btnExport.SetWindowPos(HWND{}, right - w, bottom + 10, w, h, flags);
    m_btnOpen.SetWindowPos(HWND{}, right - w, c.top + 110, w, h, flags);
    m_btnImport.SetWindowPos(HWND{}, right - w, c.top + 200, w, h, flags);
    if (IsBrazilRegion()) {
        m_btnEdit.SetWindowPos(HWND{}, right - w, c.top + 290, w, h, flags);
    } else {
        // The map button is as large as its picture.
        const int gw = m_btnGoogle.m_strip.width > 0 ? m_btnGoogle.m_strip.width : w;
        const int gh = m_btnGoogle.GetFrameHeight() > 0 ? m_btnGoogle.GetFrameHeight() : h;
        m_btnGoogle.SetWindowPos(HWND{}, right - w, c.top + 290 + (h - gh) / 2, gw, gh, flags);
        m_btnEdit.SetWindowPos(HWND{}, right - w, c.top + 380, w, h, flags);
    }
}

void CAbWnd::OnPaint()
{
    PaintListPage(*this, m_footer, m_list);
}

LRESULT CAbWnd::OnUserIdle(WPARAM, LPARAM)
{
    const CCmdUI::Button buttons[] = {{&m_btnSavePc, ID_FILE_SAVE}, {&m_btnExport, ID_EXPORT},
                                      {&m_btnGoogle, ID_GOOGLE},    {&m_btnEdit, ID_EDIT}};
    CCmdUI::UpdateButtons(this, buttons);
    return 0;
}

void CAbWnd::OnRButtonDown(UINT, CPoint)
{
    m_list.SetFocus();
    Default();
}

BOOL CAbWnd::OnCommand(WPARAM wp, LPARAM lp)
{
    // The hidden icon button's command stays here: through the main window
    // the same id is the header's icon button.
    if (LOWORD(wp) == ID_ICON && m_btnIcon.GetSafeHwnd() && reinterpret_cast<HWND>(lp) == m_btnIcon.GetSafeHwnd()) {
        OnIcon();
        return TRUE;
    }
    return CViewWnd::OnCommand(wp, lp);
}

void CAbWnd::OnDestroy()
{
    CDWordArray& widths = theGlobal.m_abColumns;
    widths.SetSize(kColumnCount);
    for (int i = 0; i < kColumnCount && i < m_list.GetColumnCount(); ++i) {
        HD_ITEMW hd{};
        hd.mask = HDI_WIDTH;
        if (m_list.m_header.GetItem(i, &hd))
            widths[i] = static_cast<DWORD>(hd.cxy);
    }
    ClearUndo();
    ClearRedo();
    Default();
}

void CAbWnd::SortChanged()
{
    if (m_list.GetSafeHwnd())
        m_list.SetSortArrow(m_sortColumn, m_sortOrder);
}

// ---------------------------------------------------------------------------
// Cells, refresh and sorting

void CAbWnd::OnGetDispInfo(NMHDR* nm, LRESULT* result)
{
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(nm)->item;
    *result = 1;
    if (item.iItem < 0 || item.iItem >= m_viewOrder.GetSize() + 1)
        return;
    DOCAB_UI_RECORD rec{};
    if (item.mask & LVIF_TEXT) {
        if (!RecordOfRow(item.iItem, rec))
            return;
        if (item.pszText && item.cchTextMax > 0)
            lstrcpynW(item.pszText, CellText(rec, item.iSubItem), item.cchTextMax);
    }
    if (item.mask & LVIF_IMAGE) {
        item.iImage = -1;
        if ((item.iSubItem == ColIcon || item.iSubItem == ColPosition) && RecordOfRow(item.iItem, rec))
            item.iImage = item.iSubItem == ColIcon ? CategoryImage(rec.category) : rec.positionKind;
    }
    *result = 0;
}

void CAbWnd::RefreshList()
{
    SyncViewOrder();
    if (!m_list.GetSafeHwnd())
        return;
    const int rows = static_cast<int>(m_viewOrder.GetSize()) + 1;
    if (m_list.m_items.GetSize() != rows) {
        m_list.m_items.SetSize(rows);
        if (m_list.m_focusItem >= rows)
            m_list.m_focusItem = -1;
    }
    m_list.UpdateScrollBars();
    m_list.Invalidate(FALSE);
}

void CAbWnd::OnColumnClick(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    CWaitCursor wait;
    ClickColumn(reinterpret_cast<NMLISTVIEW*>(nm)->iSubItem);
    RefreshList();
}
