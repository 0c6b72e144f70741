#include "views/device/IconSelectDlg.h"

#include "common/ButtonStrips.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "doc/DocIcon.h"
#include "frame/MessageDlg.h"
#include "res/device_ids.h"
#include "views/device/IconGrid.h"

namespace {

// The buttons sit below the grid (474 + 38); the window is made tall enough
// to show them with the usual bottom margin.
const int kWidth = 428, kHeight = 517;
const COLORREF kGridBack = RGB(123, 123, 139);

void FillRect(HDC dc, const RECT& r, COLORREF colour)
{
    ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

}  // namespace

const RECT CIconSelectDlg::kGridRect{25, 87, 403, 449};

BEGIN_MESSAGE_MAP(CIconSelectDlg, CCustomDialog)
    ON_COMMAND(IDC_ICON_STOCK_TAB, OnStockTab)
    ON_COMMAND(IDC_ICON_USER_TAB, OnUserTab)
    ON_NOTIFY_RANGE(NM_DBLCLK, IDC_ICON_STOCK_GRID, IDC_ICON_USER_GRID, OnItemNotify)
    ON_NOTIFY_RANGE(LVN_ITEMCHANGED, IDC_ICON_STOCK_GRID, IDC_ICON_USER_GRID, OnItemNotify)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CIconSelectDlg::CIconSelectDlg() : CCustomDialog(IDD_ICON_SELECT, nullptr), m_note(RGB(255, 255, 255)) {}

CIconSelectDlg::~CIconSelectDlg()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_noteFont)
        ::DeleteObject(m_noteFont);
}

int CIconSelectDlg::StockPosition(int preset) const
{
    if (preset < 0 || preset >= m_stockCount)
        return -1;
    if (!IsGroupedModel(theGlobal.m_modelType))
        return preset;
    // A row of the icon table; its picture's place in the grid.
    if (preset >= ICON_STOCK_GROUPED)
        return -1;
    return theGlobal.m_docIcon.m_groupTable[preset].pickerIndex;
}

BOOL CIconSelectDlg::OnInitDialog()
{
    PlaceOnMainWindow(kWidth, kHeight);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;

    CDocIcon& icons = theGlobal.m_docIcon;
    if (!icons.m_allIcons)
        icons.LoadIcons();
    m_stockCount = icons.GetStockCount();
    m_userCount = icons.GetUserCount();

    // Without its grids the dialog could choose nothing: it ends at once.
    if (!CreateIconGrid(m_stockGrid, this, kGridRect, IDC_ICON_STOCK_GRID) ||
        !CreateIconGrid(m_userGrid, this, kGridRect, IDC_ICON_USER_GRID)) {
        EndDialog(-1);
        return FALSE;
    }
    FillGrids();

    const struct {
        CCustomButton* button;
        UINT id;
        int label, x, y;
        bool tab;
    } buttons[] = {
        {&m_btnStockTab, IDC_ICON_STOCK_TAB, 142, 20, 44, true},
        {&m_btnUserTab, IDC_ICON_USER_TAB, 143, 214, 44, true},
        {&m_btnOK, IDOK, 135, 58, 474, false},
        {&m_btnCancel, IDCANCEL, 136, 224, 474, false},
    };
    for (const auto& b : buttons) {
        const BOOL built = b.tab ? BuildNumberedButtonImage(&b.button->m_strip, UiText(b.label), 194, 38, L"tab",
                                                             FALSE, RECT{0, 0, 194, 38})
                                 : BuildButtonImage(&b.button->m_strip, UiText(b.label), 146, 38, 100, FALSE);
        if (built && b.button->CreateFromDlgItem(b.id, this)) {
            b.button->SetWindowPos(static_cast<HWND>(nullptr), b.x, b.y, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            b.button->SetRoundRegion();
        }
    }
    if (HWND placeholder = ::GetDlgItem(m_hWnd, 0xFFFF))
        ::ShowWindow(placeholder, SW_HIDE);

    if (m_mode == kStockOnly) {
        m_userGrid.ShowWindow(SW_HIDE);
        m_userGrid.EnableWindow(FALSE);
        m_btnStockTab.ShowWindow(SW_HIDE);
        m_btnUserTab.ShowWindow(SW_HIDE);
        m_stockGrid.ShowWindow(SW_SHOW);
        m_stockGrid.SetCurSel(StockPosition(m_icon));
    } else if (m_icon >= m_stockCount && m_icon < m_stockCount + m_userCount) {
        ShowTab(kBothUserFirst);
        m_userGrid.SetCurSel(m_icon - m_stockCount);
    } else {
        // A stock icon, or none: -1, or a user icon that is gone.
        ShowTab(kBothStockFirst);
        m_stockGrid.SetCurSel(StockPosition(m_icon));
    }

    SetCaption(UiText(239));
    if (m_note.SubclassDlgItem(IDC_ICON_NOTE, this)) {
        CreateTahomaFont(FALSE, &m_noteFont, 140, FALSE);
        if (m_noteFont)
            m_note.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_noteFont), FALSE);
        m_note.m_transparent = 0;
        m_note.m_fillColor = kGridBack;
        m_note.SetWindowText(WrapTextToRect(&kGridRect, UiText(50), 2, 140, FALSE, FALSE));
        const CRect r(kGridRect);
        m_note.SetWindowPos(static_cast<HWND>(nullptr), r.left, r.top, r.Width(), r.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE);
        m_note.ShowWindow(SW_HIDE);
    }
    return TRUE;
}

void CIconSelectDlg::FillGrids()
{
    const CDocIcon& icons = theGlobal.m_docIcon;
    CIconGridFill fill(m_stockGrid, &m_userGrid);
    const bool grouped = IsGroupedModel(theGlobal.m_modelType);
    for (int c = 0; c < m_stockCount; ++c) {
        if (!grouped)
            fill.Add(m_stockGrid, c, c);
        else if (c < ICON_STOCK_GROUPED && icons.m_groupTable[c].isFirst)
            fill.Add(m_stockGrid, icons.m_groupTable[c].pickerIndex, c);
    }
    for (int j = 0; j < m_userCount; ++j)
        fill.Add(m_userGrid, j, m_stockCount + j);
}

// Shows the tab of mode (both-tab modes only): its grid, or the note when
// there are no user icons; latches its tab button and releases the other.
void CIconSelectDlg::ShowTab(int mode)
{
    m_mode = mode;
    const bool user = mode == kBothUserFirst;
    CCustomThumbCtrl& shown = user ? m_userGrid : m_stockGrid;
    CCustomThumbCtrl& hidden = user ? m_stockGrid : m_userGrid;
    hidden.ShowWindow(SW_HIDE);
    hidden.EnableWindow(FALSE);
    const bool noteOnly = user && m_userCount == 0;
    if (noteOnly) {
        shown.ShowWindow(SW_HIDE);
        shown.EnableWindow(FALSE);
    } else {
        shown.EnableWindow(TRUE);
        shown.ShowWindow(SW_SHOW);
    }
    if (m_note.m_hWnd) {
        m_note.EnableWindow(noteOnly);
        m_note.ShowWindow(noteOnly ? SW_SHOW : SW_HIDE);
    }
    (user ? m_btnUserTab : m_btnStockTab).SetCheck(TRUE);
    (user ? m_btnStockTab : m_btnUserTab).SetCheck(FALSE);
}

void CIconSelectDlg::OnUserTab()
{
    if (m_mode != kBothStockFirst)
        return;
    ShowTab(kBothUserFirst);
    if (m_userCount > 0) {
        m_userGrid.SetFocus();
        m_userGrid.Invalidate(FALSE);
    }
}

void CIconSelectDlg::OnStockTab()
{
    if (m_mode != kBothUserFirst)
        return;
    ShowTab(kBothStockFirst);
    m_stockGrid.SetFocus();
    m_stockGrid.Invalidate(FALSE);
}

void CIconSelectDlg::OnItemNotify(UINT id, NMHDR* nm, LRESULT* result)
{
    *result = 0;
    const auto* item = reinterpret_cast<const NMLISTVIEW*>(nm);
    if (item->iItem < 0)
        return;
    if (nm->code == static_cast<UINT>(LVN_ITEMCHANGED) && item->uNewState != LVIS_SELECTED)
        return;
    Choose(id == IDC_ICON_USER_GRID ? m_userGrid : m_stockGrid, item->iItem);
}

// The grid tells of the new item before it selects it itself: select it here,
// so that OK takes the icon that was clicked, not the one before it.
void CIconSelectDlg::Choose(CCustomThumbCtrl& grid, int item)
{
    if (&grid != &CurrentGrid() || item >= grid.GetItemCount())
        return;
    grid.SetCurSel(item);
    OnOK();
}

void CIconSelectDlg::OnOK()
{
    CCustomThumbCtrl& grid = CurrentGrid();
    if (grid.m_hWnd && grid.IsWindowVisible())
        grid.SetFocus();
    const int selected = grid.m_hWnd ? grid.GetCurSel() : -1;
    if (selected < 0 || selected >= grid.GetItemCount()) {
        MessageDlgWithParent(UiText(29), this);
        return;
    }
    m_icon = m_mode == kBothUserFirst ? m_stockCount + selected : selected;
    EndDialog(IDOK);
}

BOOL CIconSelectDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && m_hWnd && (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        if (msg->wParam == VK_TAB) {
            if (m_mode == kBothUserFirst)
                OnStockTab();
            else if (m_mode == kBothStockFirst)
                OnUserTab();
            // Tab only switches the tabs; it never moves the focus elsewhere.
            return TRUE;
        }
        if (PassKeyToGrid(CurrentGrid(), msg))
            return TRUE;
    }
    return CCustomDialog::PreTranslateMessage(msg);
}

BOOL CIconSelectDlg::OnEraseBkgnd(CDC* dc)
{
    // The grids paint their own area; erasing it too would make them flicker.
    ::ExcludeClipRect(dc->GetSafeHdc(), kGridRect.left, kGridRect.top, kGridRect.right, kGridRect.bottom);
    return CCustomDialog::OnEraseBkgnd(dc);
}

void CIconSelectDlg::OnPaint()
{
    CPaintDC paint(this);
    HDC dc = paint.m_hDC;
    const CRect grid(kGridRect);
    ::ExcludeClipRect(dc, grid.left, grid.top, grid.right, grid.bottom);
    const CRect outer(grid.left - 4, grid.top - 5, grid.right + 4, grid.bottom + 4);
    FillRect(dc, outer, RGB(92, 92, 104));
    FillRect(dc, CRect(grid.left - 1, grid.top - 1, grid.right + 1, grid.bottom + 1), RGB(148, 150, 155));
    FillRect(dc, CRect(20, 453, 407, 454), RGB(66, 66, 75));
    FillRect(dc, CRect(outer.left - 1, outer.top, outer.left, outer.bottom), RGB(235, 235, 251));
    FillRect(dc, CRect(outer.right, outer.top, outer.right + 1, outer.bottom), RGB(66, 66, 75));
}
