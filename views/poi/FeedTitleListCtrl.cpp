#include "views/poi/FeedTitleListCtrl.h"

#include <algorithm>

#include "classlib/CMemDC.h"
#include "common/Utility.h"
#include "controls/ListNotify.h"
#include "controls/SelectionBar.h"

namespace {

constexpr COLORREF kSelectedBack = RGB(208, 209, 108);
constexpr COLORREF kPlainText = RGB(254, 254, 254);
constexpr COLORREF kTitleText = RGB(0, 237, 255);
constexpr COLORREF kDisabledText = RGB(0, 152, 163);
// The row spans the client width and this much more (as the report list's cells do).
constexpr int kRowExtra = 11;

BOOL AttachFont(CFont& font, BOOL bold, BOOL underline)
{
    HFONT f = nullptr;
    return CreateTahomaFont(bold, &f, 120, underline) && font.Attach(f);
}

}  // namespace

BEGIN_MESSAGE_MAP(CFeedTitleListCtrl, CScrollHostWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_TIMER()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CFeedTitleListCtrl::CFeedTitleListCtrl() : CScrollHostWnd(&m_vScroll, nullptr)
{
    InitDibImage(&m_selSkinMid);
    InitDibImage(&m_selSkinLeft);
    InitDibImage(&m_selSkinRight);
}

CFeedTitleListCtrl::~CFeedTitleListCtrl()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_selSkinMid);
    FreeDibImage(&m_selSkinLeft);
    FreeDibImage(&m_selSkinRight);
    if (m_ownImageList && m_imageList)
        ImageList_Destroy(m_imageList);
}

int CFeedTitleListCtrl::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!AttachFont(m_font, FALSE, FALSE) || !AttachFont(m_fontBold, TRUE, FALSE) ||
        !AttachFont(m_fontUnderline, FALSE, TRUE) || !AttachFont(m_fontBoldUnderline, TRUE, TRUE))
        return -1;
    m_leftMargin = 1;
    m_focusItem = -1;
    if (!LoadDibFromPack(L"customlist_sel_c.bmp", &m_selSkinMid) ||
        !LoadDibFromPack(L"customlist_sel_l.bmp", &m_selSkinLeft) ||
        !LoadDibFromPack(L"customlist_sel_r.bmp", &m_selSkinRight))
        return -1;
    if (m_tooltip.Create(this)) {
        m_tooltip.AddTool(this, LPSTR_TEXTCALLBACKW);
        m_tooltip.Activate(TRUE);
        m_tooltip.SetDelayTime(TTDT_RESHOW, TooltipDelay);
        m_tooltip.SetDelayTime(TTDT_INITIAL, TooltipDelay);
        m_tooltip.SetDelayTime(TTDT_AUTOPOP, 3000);
    }
    if (!m_vScroll.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), this, ScrollId))
        return -1;
    SetWindowPos(static_cast<const CWnd*>(nullptr), 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return 0;
}

void CFeedTitleListCtrl::OnDestroy()
{
    KillTimer(TooltipTimer);
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.DestroyWindow();
    m_items.RemoveAll();
    Default();
}

// ---------------------------------------------------------------------------
// Rows

void CFeedTitleListCtrl::SetItemCount(int count)
{
    count = std::max(0, count);
    if (count < GetItemCount()) {
        m_items.SetSize(count);
    } else {
        while (GetItemCount() < count) {
            _listitem row;
            row.item.iItem = GetItemCount();
            row.text[0] = LPSTR_TEXTCALLBACKW;
            m_items.Add(std::move(row));
        }
    }
    if (m_focusItem >= count)
        m_focusItem = -1;
}

int CFeedTitleListCtrl::GetCurSel() const
{
    for (int i = 0; i < GetItemCount(); ++i)
        if ((m_items[i].item.state & (LVIS_FOCUSED | LVIS_SELECTED)) == (LVIS_FOCUSED | LVIS_SELECTED))
            return i;
    for (int i = 0; i < GetItemCount(); ++i)
        if (m_items[i].item.state & LVIS_SELECTED)
            return i;
    return -1;
}

int CFeedTitleListCtrl::GetSelectedCount() const
{
    int n = 0;
    for (const _listitem& row : m_items)
        n += (row.item.state & LVIS_SELECTED) != 0;
    return n;
}

BOOL CFeedTitleListCtrl::SetItemState(int row, UINT mask, UINT value)
{
    if (!IsRow(row))
        return FALSE;
    UINT& state = m_items[row].item.state;
    state = (state & ~mask) | (value & mask);
    return TRUE;
}

UINT CFeedTitleListCtrl::GetItemState(int row, UINT mask) const
{
    return IsRow(row) ? m_items[row].item.state & mask : 0;
}

void CFeedTitleListCtrl::ClearSelection()
{
    for (int i = 0; i < GetItemCount(); ++i)
        SetItemState(i, LVIS_FOCUSED | LVIS_SELECTED, 0);
}

BOOL CFeedTitleListCtrl::GetItem(LVITEMW* item) const
{
    if (!item || !IsRow(item->iItem) || item->iSubItem < 0 || item->iSubItem >= CCustomListCtrl::MaxColumns)
        return FALSE;
    const _listitem& row = m_items[item->iItem];
    const int column = item->iSubItem;
    if (GetStyle() & LVS_OWNERDATA) {
        wchar_t buffer[TextBufferSize] = L"";
        NMLVDISPINFOW info{};
        info.item = *item;
        info.item.mask = item->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM);
        info.item.pszText = buffer;
        info.item.cchTextMax = TextBufferSize;
        info.item.iImage = -1;
        SendNotifyToParent(m_hWnd, &info.hdr, LVN_GETDISPINFOW);
        if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0 && info.item.pszText)
            lstrcpynW(item->pszText, info.item.pszText, item->cchTextMax);
        if (item->mask & LVIF_IMAGE)
            item->iImage = info.item.iImage;
        if (item->mask & LVIF_PARAM)
            item->lParam = info.item.lParam;
    } else {
        if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
            if (_listitem::IsTextAllocated(row.text[column]))
                lstrcpynW(item->pszText, row.text[column], item->cchTextMax);
            else
                item->pszText[0] = L'\0';
        }
        if (item->mask & LVIF_IMAGE)
            item->iImage = row.image[column];
        if (item->mask & LVIF_PARAM)
            item->lParam = row.param[column];
    }
    if (item->mask & LVIF_STATE)
        item->state = row.item.state & item->stateMask;
    return TRUE;
}

void CFeedTitleListCtrl::RowText(int row, CString& text, int& image, UINT& state) const
{
    wchar_t buffer[TextBufferSize] = L"";
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
    item.iItem = row;
    item.pszText = buffer;
    item.cchTextMax = TextBufferSize;
    item.iImage = -1;
    item.stateMask = static_cast<UINT>(-1);
    if (!GetItem(&item))
        item.iImage = -1;
    text = buffer;
    image = item.iImage;
    state = item.state;
}

BOOL CFeedTitleListCtrl::GetItemRect(int row, int column, RECT* rc, int which) const
{
    if (!rc || !IsRow(row) || column != 0)
        return FALSE;
    CRect client;
    GetClientRect(&client);
    rc->top = (row - m_topIndex) * m_rowHeight;
    rc->bottom = rc->top + m_rowHeight;
    rc->left = m_leftMargin;
    rc->right = client.right + kRowExtra;
    if (which == LVIR_ICON)
        rc->right = m_items[row].image[0] >= 0 ? rc->left + m_iconSize.cx : rc->left;
    return TRUE;
}

int CFeedTitleListCtrl::HitTest(CPoint pt) const
{
    const int last = std::min(GetItemCount(), m_topIndex + m_rowsPerPage + 1);
    for (int row = m_topIndex; row < last; ++row) {
        RECT rc;
        if (GetItemRect(row, 0, &rc, LVIR_BOUNDS) && PtInRect(&rc, pt))
            return row;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Scrolling

void CFeedTitleListCtrl::UpdateScrollBars()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    m_rowsPerPage = std::max(1, static_cast<int>(client.Height() / m_rowHeight));
    const bool need = m_rowsPerPage < GetItemCount();
    SCROLLINFO old{sizeof(old), SIF_ALL};
    ::GetScrollInfo(m_hWnd, SB_VERT, &old);
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 1, 0};
    if (need) {
        si.nMax = GetItemCount() - 1;
        si.nPage = static_cast<UINT>(m_rowsPerPage);
        si.nPos = std::max(0, old.nPos);
    }
    si.nPos = std::max(0, std::min(si.nPos, si.nMax - static_cast<int>(si.nPage) + 1));
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, FALSE);
    m_topIndex = si.nPos;
    const DWORD style = GetStyle();
    if (((style & WS_VSCROLL) != 0) != need) {
        ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(need ? style | WS_VSCROLL : style & ~WS_VSCROLL));
        SetWindowPos(static_cast<const CWnd*>(nullptr), 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        GetClientRect(&client);
        m_rowsPerPage = std::max(1, static_cast<int>(client.Height() / m_rowHeight));
    }
    if (m_vScroll.m_hWnd) {
        SCROLLINFO now{sizeof(now), SIF_ALL};
        ::GetScrollInfo(m_hWnd, SB_VERT, &now);
        m_vScroll.SetScrollRange(now.nMin, now.nMax - static_cast<int>(now.nPage) + 1, FALSE);
        m_vScroll.SetScrollPos(now.nPos, FALSE);
        m_vScroll.UpdateThumbFromPos();
    }
    Invalidate(FALSE);
}

void CFeedTitleListCtrl::ScrollTo(int pos)
{
    SCROLLINFO si{sizeof(si), SIF_ALL};
    ::GetScrollInfo(m_hWnd, SB_VERT, &si);
    pos = std::max(si.nMin, std::min(pos, si.nMax - static_cast<int>(si.nPage) + 1));
    si.fMask = SIF_POS;
    si.nPos = pos;
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, FALSE);
    m_topIndex = pos;
    if (m_vScroll.m_hWnd) {
        m_vScroll.SetScrollPos(pos, FALSE);
        m_vScroll.UpdateThumbFromPos();
        CCustomScrollBar::RedrawNC(&m_vScroll);
    }
    Invalidate(FALSE);
    UpdateWindow();
}

BOOL CFeedTitleListCtrl::EnsureVisible(int row)
{
    if (row >= m_topIndex && row < m_topIndex + m_rowsPerPage)
        return TRUE;
    ScrollTo(row < m_topIndex ? row : row - m_rowsPerPage + 1);
    UpdateScrollBars();
    return FALSE;
}

void CFeedTitleListCtrl::OnVScroll(UINT code, UINT pos, CScrollBar* bar)
{
    if (bar)
        return;
    SCROLLINFO si{sizeof(si), SIF_ALL};
    ::GetScrollInfo(m_hWnd, SB_VERT, &si);
    int p = si.nPos;
    switch (code) {
    case SB_LINEUP: p -= 1; break;
    case SB_LINEDOWN: p += 1; break;
    case SB_PAGEUP: p -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: p += static_cast<int>(si.nPage); break;
    case SB_TOP: p = si.nMin; break;
    case SB_BOTTOM: p = si.nMax; break;
    case SB_ENDSCROLL: UpdateScrollBars(); return;
    default:
        p = (m_vScroll.m_trackPos & 0xFFFF) == static_cast<int>(pos) ? m_vScroll.m_trackPos : static_cast<int>(pos);
        break;
    }
    ScrollTo(p);
}

BOOL CFeedTitleListCtrl::OnMouseWheel(UINT, short delta, CPoint)
{
    if (GetStyle() & WS_VSCROLL) {
        ScrollTo(m_topIndex + (delta < 0 ? 1 : -1));
        UpdateScrollBars();
    }
    return TRUE;
}

void CFeedTitleListCtrl::SetImageList(HIMAGELIST list)
{
    if (m_ownImageList && m_imageList)
        ImageList_Destroy(m_imageList);
    m_ownImageList = FALSE;
    m_imageList = list;
    if (list && !(GetStyle() & LVS_SHAREIMAGELISTS)) {
        m_imageList = ImageList_Duplicate(list);
        m_ownImageList = m_imageList != nullptr;
    }
    int cx = 0, cy = 0;
    if (m_imageList)
        ImageList_GetIconSize(m_imageList, &cx, &cy);
    m_iconSize = {cx, cy};
    m_rowHeight = std::max(36, cy + 1);
    UpdateScrollBars();
}

// ---------------------------------------------------------------------------
// Painting

void CFeedTitleListCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CMemDC mem(&dc, client);
    DrawList(&mem);
}

void CFeedTitleListCtrl::DrawList(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->SetBkMode(OPAQUE);
    HGDIOBJ oldPen = dc->SelectStockObject(DC_PEN);
    HGDIOBJ oldBrush = dc->SelectStockObject(DC_BRUSH);
    dc->FillSolidRect(&client, m_bkColor);
    dc->FillSolidRect(0, 0, m_leftMargin, client.bottom, m_bkColor);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTVIEW;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
    dis.hwndItem = m_hWnd;
    dis.hDC = dc->GetSafeHdc();
    int row = m_topIndex;
    for (int y = client.top; y < client.bottom; y += m_rowHeight, ++row) {
        dis.rcItem = {m_leftMargin, y, client.right, y + m_rowHeight};
        dis.itemID = static_cast<UINT>(row);
        DrawItem(&dis);
    }
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}

void CFeedTitleListCtrl::DrawItem(DRAWITEMSTRUCT* dis)
{
    CDC dc;
    dc.Attach(dis->hDC);
    const RECT& rc = dis->rcItem;
    const bool real = dis->itemID < static_cast<UINT>(GetItemCount());
    const bool selected = real && (m_items[static_cast<int>(dis->itemID)].item.state & LVIS_SELECTED);
    dc.SelectObject(selected ? &m_fontBold : &m_font);
    if (!selected) {
        dc.FillSolidRect(&rc, m_bkColor);
    } else if (m_useSelectionSkin && m_selSkinMid.bitmap) {
        DrawSelectionBar(dc, rc, m_selSkinLeft, m_selSkinMid, m_selSkinRight);
    } else {
        dc.FillSolidRect(&rc, kSelectedBack);
    }
    dc.SetTextColor(selected ? RGB(0, 0, 0) : kPlainText);
    dc.SetBkColor(selected ? kSelectedBack : m_bkColor);
    if (real) {
        CRect client;
        GetClientRect(&client);
        RECT cell{rc.left, rc.top, rc.left + client.Width() + kRowExtra - m_leftMargin, rc.bottom};
        DrawSubItem(&dc, &cell, static_cast<int>(dis->itemID), 0);
    }
    dc.Detach();
}

void CFeedTitleListCtrl::DrawSubItem(CDC* dc, RECT* cell, int row, int column)
{
    if (column != 0)
        return;
    CString text;
    int image = -1;
    UINT state = 0;
    RowText(row, text, image, state);
    const bool selected = (state & LVIS_SELECTED) != 0;
    RECT rc = *cell;
    const int h = rc.bottom - rc.top;
    if (image >= 0 && m_imageList) {
        ImageList_Draw(m_imageList, image, *dc, rc.left + 2, rc.top + (h - m_iconSize.cy) / 2, ILD_NORMAL);
        rc.left += 2 + m_iconSize.cx + 4;
    }
    if (row <= 1 && !text.IsEmpty() && m_imageList) {
        const int fixed = 4 | (row == 0 ? 1 : 0) | (selected ? 2 : 0);
        ImageList_Draw(m_imageList, fixed, *dc, rc.left + 4, rc.top + (h - m_iconSize.cy) / 2, ILD_TRANSPARENT);
        rc.left += 4 + m_iconSize.cx + 4;
    }
    rc.left += 11;
    rc.right -= 11;
    HGDIOBJ old = dc->SelectObject(selected ? &m_fontBoldUnderline : &m_fontUnderline);
    const int oldMode = ::SetBkMode(*dc, TRANSPARENT);
    if (state & DisabledBit)
        dc->SetTextColor(kDisabledText);
    else if (selected)
        dc->SetTextColor(kLinkTextOnSelection);
    else
        dc->SetTextColor(kTitleText);
    dc->DrawText(text, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    if (state & DisabledBit)
        dc->SetTextColor(kPlainText);
    ::SetBkMode(*dc, oldMode);
    dc->SelectObject(old);
}

// ---------------------------------------------------------------------------
// Input

void CFeedTitleListCtrl::NotifyItemChanged(int row, UINT newState, UINT oldState, UINT changed)
{
    SendItemChanged(m_hWnd, row, newState, oldState, changed);
}

void CFeedTitleListCtrl::MoveFocusTo(int row)
{
    if (row == m_focusItem || row < 0)
        return;
    SetItemState(m_focusItem, LVIS_FOCUSED, 0);
    SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
}

void CFeedTitleListCtrl::OnLButtonDown(UINT, CPoint pt)
{
    SetFocus();
    const int r = HitTest(pt);
    if (r >= 0 && (m_items[r].item.state & DisabledBit))
        return;
    MoveFocusTo(r);
    const int previous = m_focusItem;
    if (r < 0) {
        SetItemState(previous, LVIS_SELECTED, 0);
        if (IsRow(previous))
            NotifyItemChanged(previous, 0, LVIS_SELECTED, LVIS_SELECTED);
    } else if (GetItemState(r, LVIS_SELECTED)) {
        // Already chosen: it only becomes the focused row again.
        m_focusItem = r;
        EnsureVisible(r);
        Invalidate(FALSE);
        return;
    } else {
        SetItemState(previous, LVIS_SELECTED, 0);
        SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
        NotifyItemChanged(r, LVIS_SELECTED | LVIS_FOCUSED, 0, LVIF_STATE);
    }
    m_focusItem = r;
    if (IsRow(r))
        EnsureVisible(r);
    Invalidate(FALSE);
}

void CFeedTitleListCtrl::OnRButtonDown(UINT, CPoint pt)
{
    SetFocus();
    const int r = HitTest(pt);
    // A disabled row is not chosen by the right button either: during the
    // update it would load the new-items file while it is being written.
    if (r >= 0 && (m_items[r].item.state & DisabledBit))
        return;
    MoveFocusTo(r);
    ClearSelection();
    if (r < 0) {
        m_focusItem = -1;
        Invalidate(FALSE);
        return;
    }
    SetItemState(r, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    m_focusItem = r;
    EnsureVisible(r);
    Invalidate(FALSE);
    NotifyItemChanged(r, LVIS_FOCUSED | LVIS_SELECTED, 0, LVIF_STATE);
}

void CFeedTitleListCtrl::OnRButtonUp(UINT, CPoint pt)
{
    CPoint screen = pt;
    ClientToScreen(&screen);
    HWND parent = ::GetParent(m_hWnd);
    if (parent)
        ::SendMessageW(parent, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(screen.x, screen.y));
}

void CFeedTitleListCtrl::OnKeyDown(UINT key, UINT, UINT)
{
    if (key != VK_UP && key != VK_DOWN)
        return;
    const int step = key == VK_UP ? -1 : 1;
    if (GetItemCount() == 0)
        return;
    int target = std::max(0, std::min(GetItemCount() - 1, m_focusItem + step));
    if (GetItemState(target, DisabledBit)) {
        target += step;
        if (!IsRow(target))
            return;
    }
    MoveFocusTo(target);
    ClearSelection();
    SetItemState(target, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    NotifyItemChanged(target, LVIS_FOCUSED | LVIS_SELECTED, 0, LVIF_STATE);
    m_focusItem = target;
    EnsureVisible(target);
    Invalidate(FALSE);
}

void CFeedTitleListCtrl::OnSetFocus(CWnd*)
{
    m_hasFocus = TRUE;
    if (CWnd* parent = GetParent())
        parent->Invalidate(FALSE);
    Invalidate(FALSE);
}

void CFeedTitleListCtrl::OnKillFocus(CWnd*)
{
    m_hasFocus = FALSE;
    if (CWnd* parent = GetParent())
        parent->Invalidate(FALSE);
    Invalidate(FALSE);
}

void CFeedTitleListCtrl::OnSize(UINT, int, int)
{
    UpdateScrollBars();
}

// ---------------------------------------------------------------------------
// Tooltip

void CFeedTitleListCtrl::OnMouseMove(UINT, CPoint pt)
{
    if (pt == m_lastMouse)
        return;
    m_lastMouse = pt;
    m_tipText.Empty();
    m_tipRow = -1;
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.Pop();
    SetTimer(TooltipTimer, TooltipDelay, nullptr);
}

int CFeedTitleListCtrl::TitleHitTest(CPoint pt)
{
    CClientDC dc(this);
    const int last = std::min(GetItemCount(), m_topIndex + m_rowsPerPage + 1);
    for (int row = m_topIndex; row < last; ++row) {
        CString text;
        int image = -1;
        UINT state = 0;
        RowText(row, text, image, state);
        HGDIOBJ old = dc.SelectObject((state & LVIS_SELECTED) ? &m_fontBold : &m_font);
        const CSize extent = dc.GetTextExtent(text);
        dc.SelectObject(old);
        RECT cell;
        GetItemRect(row, 0, &cell, LVIR_BOUNDS);
        const int middle = (cell.top + cell.bottom) / 2;
        const RECT hit{cell.left + 39, middle - 7, cell.left + 39 + extent.cx, middle + 7};
        if (PtInRect(&hit, pt))
            return row;
    }
    return -1;
}

void CFeedTitleListCtrl::OnTimer(UINT_PTR id)
{
    if (id != TooltipTimer) {
        Default();
        return;
    }
    KillTimer(TooltipTimer);
    const int row = TitleHitTest(m_lastMouse);
    if (row < 0)
        return;
    int image = -1;
    UINT state = 0;
    m_tipRow = row;
    RowText(row, m_tipText, image, state);
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.SendMessage(TTM_POPUP);
}

BOOL CFeedTitleListCtrl::OnNotify(WPARAM wp, LPARAM lp, LRESULT* result)
{
    auto* nm = reinterpret_cast<NMHDR*>(lp);
    if (nm && nm->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
        info->lpszText = const_cast<wchar_t*>(m_tipText.GetString());
        if (result)
            *result = 0;
        return TRUE;
    }
    return CWnd::OnNotify(wp, lp, result);
}

// ---------------------------------------------------------------------------
// Non-client area

BOOL CFeedTitleListCtrl::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd == m_hWnd && ForwardToBars(msg))
        return TRUE;
    if (m_tooltip.GetSafeHwnd() && msg->hwnd == m_hWnd)
        m_tooltip.RelayEvent(msg);
    return CWnd::PreTranslateMessage(msg);
}
