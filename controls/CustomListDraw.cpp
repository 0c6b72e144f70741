// The custom list: painting through the back buffer, layout, scrolling, the
// non-client band with header and bars, and the header's notifications.
#include <algorithm>

#include "classlib/CMemDC.h"
#include "controls/CustomListCtrl.h"
#include "controls/ListNotify.h"
#include "controls/SelectionBar.h"

namespace {

void SyncBar(CCustomScrollBar& bar, HWND host, int which)
{
    if (!bar.m_hWnd)
        return;
    SCROLLINFO si{sizeof(si), SIF_ALL};
    ::GetScrollInfo(host, which, &si);
    bar.SetScrollRange(si.nMin, si.nMax - static_cast<int>(si.nPage) + 1, FALSE);
    bar.SetScrollPos(si.nPos, FALSE);
    bar.UpdateThumbFromPos();
}

// A request for what a cell shows: its text into buffer (emptied first), image and state.
LVITEMW ShownCell(int row, int column, wchar_t* buffer, int size)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = size;
    item.iImage = -1;
    item.stateMask = static_cast<UINT>(-1);
    buffer[0] = L'\0';
    return item;
}

}  // namespace

int CCustomListCtrl::GetRowHeight() const
{
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_LISTVIEW;
    mis.CtlID = m_hWnd ? static_cast<UINT>(GetDlgCtrlID()) : 0;
    mis.itemID = static_cast<UINT>(-1);
    mis.itemHeight = static_cast<UINT>(m_rowHeight);
    const_cast<CCustomListCtrl*>(this)->MeasureItem(&mis);
    return mis.itemHeight > 0 ? static_cast<int>(mis.itemHeight) : 1;
}

int CCustomListCtrl::HorzPos() const
{
    return (GetStyle() & WS_HSCROLL) ? GetScrollPos(SB_HORZ) : 0;
}

void CCustomListCtrl::ReplaceHeader()
{
    if (m_headerShown)
        m_header.PlaceAboveParent(nullptr);
}

// ---------------------------------------------------------------------------
// Painting

void CCustomListCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    // One copy of the whole client area; the background is never erased apart.
    CMemDC mem(&dc, client);
    DrawList(&mem);
}

void CCustomListCtrl::DrawList(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->SetBkMode(OPAQUE);
    HGDIOBJ oldPen = dc->SelectStockObject(DC_PEN);
    HGDIOBJ oldBrush = dc->SelectStockObject(DC_BRUSH);
    const int h = GetRowHeight();
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTVIEW;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
    dis.hwndItem = m_hWnd;
    dis.hDC = dc->GetSafeHdc();
    int x0 = client.left;
    if (m_indent > 0) {
        SetDCPenColor(*dc, m_bkColor);
        SetDCBrushColor(*dc, m_bkColor);
        dc->Rectangle(0, 0, m_indent, client.bottom);
        x0 += m_indent;
    }
    x0 -= HorzPos();
    int y = client.top;
    int row = m_topIndex;
    for (; row < GetItemCount() && y < client.bottom; ++row, y += h) {
        dis.rcItem = {x0, y, client.right, y + h};
        dis.itemID = static_cast<UINT>(row);
        DrawItem(&dis);
    }
    // Pseudo-rows keep the parity of the rows: itemID & 1 goes on alternating.
    for (; y < client.bottom; ++row, y += h) {
        dis.rcItem = {x0, y, client.right, y + h};
        dis.itemID = static_cast<UINT>((row & 1) ? -1 : -2);
        DrawItem(&dis);
    }
    dc->SelectStockObject(DEFAULT_GUI_FONT);

    if (m_bandActive) {
        CRect band(std::min(m_bandStart.x, m_bandEnd.x), std::min(m_bandStart.y, m_bandEnd.y),
                   std::max(m_bandStart.x, m_bandEnd.x), std::max(m_bandStart.y, m_bandEnd.y));
        CRect clipped;
        if (IntersectRect(&clipped, &band, &client) && !clipped.IsRectEmpty()) {
            HDC mem = CreateCompatibleDC(*dc);
            HBITMAP bmp = CreateCompatibleBitmap(*dc, clipped.Width(), clipped.Height());
            HGDIOBJ oldBmp = SelectObject(mem, bmp);
            SelectObject(mem, GetStockObject(DC_PEN));
            SelectObject(mem, GetStockObject(DC_BRUSH));
            SetDCPenColor(mem, 0xB40700);
            SetDCBrushColor(mem, 0xE4BAA0);
            Rectangle(mem, 0, 0, clipped.Width(), clipped.Height());
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 104, 0};
            AlphaBlend(*dc, clipped.left, clipped.top, clipped.Width(), clipped.Height(), mem, 0, 0, clipped.Width(),
                       clipped.Height(), blend);
            SelectObject(mem, oldBmp);
            DeleteObject(bmp);
            DeleteDC(mem);
        }
    }
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}

CCustomListCtrl::RowLook CCustomListCtrl::BeginRowDraw(CDC& dc, const DRAWITEMSTRUCT* dis)
{
    // Unsigned: the pseudo-rows' -1 and -2 are never rows.
    const bool real = dis->itemID < static_cast<UINT>(GetItemCount());
    const int row = real ? static_cast<int>(dis->itemID) : -1;
    const bool selected = real && (m_items[row].item.state & LVIS_SELECTED);
    dc.SelectObject(selected ? &m_fontBold : &m_font);
    return RowLook{row, selected, selected ? SelectedBack : m_bkColor, selected ? SelectedText : PlainText};
}

int CCustomListCtrl::GetColumnWidth(int column) const
{
    HD_ITEMW hd{};
    hd.mask = HDI_WIDTH;
    m_header.GetItem(column, &hd);
    return hd.cxy - (column == 0 ? m_indent : 0);
}

void CCustomListCtrl::DrawCellFocus(CDC& dc, const RECT& cell)
{
    CRect focus(cell.left + 1, cell.top + 9, cell.right - 2, cell.bottom - 10);
    dc.DrawFocusRect(&focus);
    dc.SetBkMode(TRANSPARENT);
}

void CCustomListCtrl::DrawGridLine(CDC& dc, const RECT& cell) const
{
    SetDCPenColor(dc, m_gridColor);
    dc.MoveTo(cell.right - 1, cell.top);
    dc.LineTo(cell.right - 1, cell.bottom);
}

bool CCustomListCtrl::DrawRowBack(CDC& dc, const RECT& rc, const RowLook& look, BOOL tileMid)
{
    if (!look.selected || !m_useSelectionSkin || !m_selSkinMid.bitmap) {
        FillWithDcColour(dc, rc, look.back);
        return false;
    }
    // The right edge of column in row coordinates, at most the row's end.
    auto columnRight = [&](int column) {
        int x = rc.left;
        for (int i = 0; i <= column && i < GetColumnCount(); ++i)
            x += std::max(GetColumnWidth(i), 0);
        return std::min<int>(x, rc.right);
    };
    const int skinLeft = m_skinFromColumn > 0 ? columnRight(m_skinFromColumn - 1) : rc.left;
    int skinRight = rc.right;
    if (m_skinToColumn >= 0 && m_skinToColumn < GetColumnCount())
        skinRight = std::max(skinLeft, columnRight(m_skinToColumn) - 3);
    if (skinLeft > rc.left)
        FillWithDcColour(dc, CRect(rc.left, rc.top, skinLeft, rc.bottom), m_bkColor);
    if (skinRight > skinLeft)
        DrawSelectionBar(dc, CRect(skinLeft, rc.top, skinRight, rc.bottom), m_selSkinLeft, m_selSkinMid,
                         m_selSkinRight, tileMid);
    if (skinRight < rc.right)
        FillWithDcColour(dc, CRect(skinRight, rc.top, rc.right, rc.bottom), m_bkColor);
    // Over the skin the text must not paint a box of the flat colour.
    dc.SetBkMode(TRANSPARENT);
    return true;
}

void CCustomListCtrl::DrawItem(DRAWITEMSTRUCT* dis)
{
    CDC dc;
    dc.Attach(dis->hDC);
    const RECT& rc = dis->rcItem;
    const RowLook look = BeginRowDraw(dc, dis);
    DrawRowBack(dc, rc, look);
    dc.SetTextColor(look.text);
    dc.SetBkColor(look.back);

    int x = rc.left;
    for (int i = 0; i < GetColumnCount(); ++i) {
        const int width = GetColumnWidth(i);
        if (width <= 0)
            continue;
        CRect cell(x, rc.top, x + width, rc.bottom);
        x += width;
        if (look.row >= 0) {
            if (i >= m_columnProps.GetSize())
                break;
            if (m_cellMode && look.row == m_curRow && i == m_curCol) {
                if (m_editing)
                    dc.SetTextColor(look.back);  // the text hides under the editor
                else if (i >= m_skinFromColumn)
                    DrawCellFocus(dc, cell);
            } else {
                dc.SetTextColor(look.text);
            }
            if (m_columnProps[i].type == EditReadOnly)
                dc.SetTextColor(ReadOnlyText);
            RECT sub = cell;
            DrawSubItem(&dc, &sub, look.row, i);
            dc.SetTextColor(look.text);
        }
        DrawGridLine(dc, cell);
    }
    dc.SetBkMode(OPAQUE);
    dc.Detach();
}

BOOL CCustomListCtrl::GetCellContent(int row, int column, wchar_t* buffer, int size, LPCWSTR& text, int& image,
                                     UINT& state) const
{
    text = nullptr;
    image = -1;
    state = 0;
    if (GetStyle() & LVS_OWNERDATA) {
        LVITEMW item = ShownCell(row, column, buffer, size);
        if (!GetItem(&item))
            return FALSE;
        text = buffer;
        image = item.iImage;
        state = item.state;
        return TRUE;
    }
    const _listitem& r = m_items[row];
    text = _listitem::IsTextAllocated(r.text[column]) ? r.text[column] : nullptr;
    image = r.image[column];
    state = r.item.state;
    return TRUE;
}

void CCustomListCtrl::DrawCellImageAtLeft(CDC* dc, RECT& rc, int column, int image, UINT state) const
{
    const bool sub = column > 0 && m_imageListSub;
    HIMAGELIST list = sub ? m_imageListSub : m_imageListSmall;
    const SIZE icon = sub ? m_iconSub : m_iconSmall;
    if (image < 0 || !list)
        return;
    if (image != INT_MAX) {
        const int w = rc.right - rc.left;
        const int y = rc.top + (GetRowHeight() - icon.cy) / 2;
        UINT style = ILD_NORMAL;
        if (column == 0)
            style |= state & LVIS_OVERLAYMASK;
        if (state & LVIS_CUT)
            style |= ILD_BLEND25;
        ImageList_DrawEx(list, image, *dc, rc.left + 2, y, std::min<int>(icon.cx, w - 2), icon.cy, CLR_NONE, CLR_NONE,
                         style);
    }
    rc.left += icon.cx + 4;
}

void CCustomListCtrl::DrawSubItem(CDC* dc, RECT* cell, int row, int column)
{
    const int format = GetColumnAlignment(column);
    wchar_t buffer[TextBufferSize + 1];
    LPCWSTR text = nullptr;
    int image = -1;
    UINT state = 0;
    if (!GetCellContent(row, column, buffer, TextBufferSize + 1, text, image, state))
        return;
    const bool sub = column > 0 && m_imageListSub;
    HIMAGELIST list = sub ? m_imageListSub : m_imageListSmall;
    const SIZE icon = sub ? m_iconSub : m_iconSmall;
    RECT rc = *cell;
    if (image >= 0 && list) {
        if (image != INT_MAX) {
            const int w = rc.right - rc.left;
            int x = rc.left + 2;
            if ((format & 3) == HDF_CENTER)
                x = rc.left + (w - icon.cx) / 2;
            else if ((format & 3) == HDF_RIGHT)
                x = rc.right - icon.cx - 2;
            x = std::max<int>(x, rc.left + 2);
            const int y = rc.top + (GetRowHeight() - icon.cy) / 2;
            UINT style = ILD_NORMAL;
            if (column == 0)
                style |= state & LVIS_OVERLAYMASK;
            if (state & LVIS_CUT)
                style |= ILD_BLEND25;
            ImageList_DrawEx(list, image, *dc, x, y, std::min<int>(icon.cx, w - 2), icon.cy, CLR_NONE, CLR_NONE, style);
        }
        rc.left += icon.cx + 4;
    }
    if (text && *text) {
        rc.left += 11;
        rc.right -= 11;
        HGDIOBJ old = nullptr;
        if (state & BoldBit)
            old = dc->SelectObject(&m_fontBold);
        dc->DrawText(text, &rc, ColumnTextFlags(format));
        if (old)
            dc->SelectObject(&m_font);
    }
}

BOOL CCustomListCtrl::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    if (msg == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        if (result)
            *result = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(msg, wp, lp, result);
}

// ---------------------------------------------------------------------------
// Layout and scrolling

void CCustomListCtrl::OnSize(UINT, int cx, int cy)
{
    Default();
    UpdateScrollBars();
    ReplaceHeader();
}

int CCustomListCtrl::UpdateScrollBars()
{
    if (!m_hWnd)
        return 0;
    CRect client;
    GetClientRect(&client);
    const int h = GetRowHeight();
    m_rowsPerPage = std::max(1, static_cast<int>(client.Height() / h));

    int right = 0;
    if (GetColumnCount() > 0) {
        RECT last;
        m_header.GetItemRect(GetColumnCount() - 1, &last);
        right = last.right;
    }
    const bool needH = GetColumnCount() > 0 && right > client.right;
    // A range no larger than the page hides a bar, as it should.
    SCROLLINFO si{sizeof(si), SIF_ALL};
    GetScrollInfo(SB_HORZ, &si);
    SCROLLINFO hs{sizeof(hs), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 1, 0};
    if (needH) {
        hs.nMax = right - 1;
        hs.nPage = static_cast<UINT>(client.right);
        hs.nPos = std::max(0, si.nPos);
    }
    hs.nPos = std::min(hs.nPos, hs.nMax - static_cast<int>(hs.nPage) + 1);
    hs.nPos = std::max(0, hs.nPos);
    SetScrollInfo(SB_HORZ, &hs, FALSE);

    const bool needV = m_rowsPerPage < GetItemCount();
    si = SCROLLINFO{sizeof(si), SIF_ALL};
    GetScrollInfo(SB_VERT, &si);
    SCROLLINFO vs{sizeof(vs), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 1, 0};
    if (needV) {
        vs.nMax = GetItemCount() - 1;
        vs.nPage = static_cast<UINT>(m_rowsPerPage);
        vs.nPos = std::max(0, si.nPos);
    }
    vs.nPos = std::min(vs.nPos, vs.nMax - static_cast<int>(vs.nPage) + 1);
    vs.nPos = std::max(0, vs.nPos);
    SetScrollInfo(SB_VERT, &vs, FALSE);
    m_topIndex = vs.nPos;

    const DWORD style = GetStyle();
    const DWORD want = (needH ? WS_HSCROLL : 0) | (needV ? WS_VSCROLL : 0);
    if ((style & (WS_HSCROLL | WS_VSCROLL)) != want) {
        ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>((style & ~(WS_HSCROLL | WS_VSCROLL)) | want));
        FrameChanged();
        UpdateWindow();
    }
    SyncBar(m_hScroll, m_hWnd, SB_HORZ);
    SyncBar(m_vScroll, m_hWnd, SB_VERT);
    return 1;
}

void CCustomListCtrl::ScrollTo(int bar, int pos)
{
    SCROLLINFO si{sizeof(si), SIF_ALL};
    GetScrollInfo(bar, &si);
    pos = std::max(si.nMin, std::min(pos, si.nMax - static_cast<int>(si.nPage) + 1));
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(bar, &si, FALSE);
    if (bar == SB_VERT) {
        m_topIndex = pos;
        SyncBar(m_vScroll, m_hWnd, SB_VERT);
    } else {
        SyncBar(m_hScroll, m_hWnd, SB_HORZ);
        ReplaceHeader();
    }
    Invalidate(FALSE);
    UpdateWindow();
}

void CCustomListCtrl::OnVScroll(UINT code, UINT pos, CScrollBar* bar)
{
    if (!bar)
        ScrollByCode(SB_VERT, code, pos);
}

void CCustomListCtrl::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    if (!bar)
        ScrollByCode(SB_HORZ, code, pos);
}

// A line is a row vertically and 10 pixels horizontally.
void CCustomListCtrl::ScrollByCode(int which, UINT code, UINT pos)
{
    if (m_editorWnd || m_togglePending)
        EndEdit(FALSE);
    SCROLLINFO si{sizeof(si), SIF_ALL};
    GetScrollInfo(which, &si);
    const int line = which == SB_VERT ? 1 : 10;
    const int trackPos = which == SB_VERT ? m_vScroll.m_trackPos : m_hScroll.m_trackPos;
    int p = si.nPos;
    switch (code) {
    case SB_LINEUP: p -= line; break;
    case SB_LINEDOWN: p += line; break;
    case SB_PAGEUP: p -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: p += static_cast<int>(si.nPage); break;
    case SB_TOP: p = si.nMin; break;
    case SB_BOTTOM: p = si.nMax; break;
    case SB_ENDSCROLL: UpdateScrollBars(); return;
    default:
        // The 16-bit word unless the bar holds the full value.
        p = (trackPos & 0xFFFF) == static_cast<int>(pos) ? trackPos : static_cast<int>(pos);
        break;
    }
    ScrollTo(which, p);
}

BOOL CCustomListCtrl::OnMouseWheel(UINT, short delta, CPoint)
{
    if (GetStyle() & WS_VSCROLL) {
        SendMessage(WM_VSCROLL, delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        UpdateScrollBars();
    }
    return TRUE;
}

BOOL CCustomListCtrl::EnsureVisible(int row)
{
    if (row >= m_topIndex && row <= m_topIndex + m_rowsPerPage - 1)
        return TRUE;
    if (m_editorWnd || m_togglePending)
        EndEdit(FALSE);
    int top = m_topIndex;
    if (row < m_topIndex)
        top = row;
    else if (row >= m_topIndex + m_rowsPerPage)
        top = row + 1 - m_rowsPerPage;
    ScrollTo(SB_VERT, top);
    UpdateScrollBars();
    return FALSE;
}

BOOL CCustomListCtrl::SetFocusColumn(int column, BOOL scroll)
{
    if (column == m_curCol)
        return TRUE;
    const int step = column > m_curCol ? 1 : -1;
    bool taken = false;
    for (int i = m_curCol + step; i >= 0 && i < GetColumnCount(); i += step) {
        HD_ITEMW hd{};
        hd.mask = HDI_WIDTH;
        m_header.GetItem(i, &hd);
        const int type = i < m_columnProps.GetSize() ? m_columnProps[i].type : EditNone;
        if (type != EditNone && hd.cxy > 3) {
            m_curCol = i;
            taken = true;
            if ((step > 0 && i >= column) || (step < 0 && i <= column))
                break;
        }
    }
    if (scroll && taken) {
        RECT rc;
        m_header.GetItemRect(m_curCol, &rc);
        const int pos = HorzPos();
        OffsetRect(&rc, -pos, 0);
        CRect client;
        GetClientRect(&client);
        int delta = 0;
        if (rc.left < client.left)
            delta = rc.left - client.left;
        else if (rc.right > client.right)
            delta = rc.right - client.right;
        if (delta != 0 && (GetStyle() & WS_HSCROLL)) {
            if (m_editorWnd || m_togglePending)
                EndEdit(FALSE);
            ScrollTo(SB_HORZ, pos + delta);
        }
    }
    return m_curCol == column;
}

BOOL CCustomListCtrl::GetSubItemRect(int row, int column, int area, RECT* rc) const
{
    if (!rc || !IsRow(row) || column < 0 || column >= GetColumnCount())
        return FALSE;
    const int h = GetRowHeight();
    m_header.GetItemRect(column, rc);
    OffsetRect(rc, -HorzPos(), 0);
    const bool sub = column > 0 && m_imageListSub;
    const SIZE icon = sub ? m_iconSub : m_iconSmall;
    if (area == LVIR_ICON) {
        rc->right = GetItemImage(row, column) < 0 ? rc->left : rc->left + icon.cx;
    } else if (area == LVIR_LABEL) {
        const int type = column < m_columnProps.GetSize() ? m_columnProps[column].type : EditNone;
        if ((type == EditIcon || type == EditIconOrText) && GetItemImage(row, column) >= 0)
            rc->left += icon.cx + 4;
    }
    if (column == 0) {
        rc->left += m_indent;
        if (rc->right < rc->left)
            rc->right = rc->left;
    }
    rc->top = (row - m_topIndex) * h;
    rc->bottom = rc->top + h;
    return TRUE;
}

int CCustomListCtrl::SubItemHitTest(LVHITTESTINFO* info) const
{
    if (!info)
        return -1;
    const int last = std::min(m_topIndex + m_rowsPerPage, GetItemCount() - 1);
    for (int row = std::max(0, m_topIndex); row <= last; ++row)
        for (int c = 0; c < GetColumnCount(); ++c) {
            RECT rc;
            if (GetSubItemRect(row, c, LVIR_BOUNDS, &rc) && PtInRect(&rc, info->pt)) {
                info->iItem = row;
                info->iSubItem = c;
                return row;
            }
        }
    return -1;
}

// ---------------------------------------------------------------------------
// Non-client band

void CCustomListCtrl::OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params)
{
    if (m_header.m_hWnd) {
        if (m_headerShown) {
            if (!(m_header.GetStyle() & WS_VISIBLE))
                m_header.ShowWindow(SW_SHOWNA);
            m_header.PlaceAboveParent(params);
        } else if (m_header.GetStyle() & WS_VISIBLE) {
            m_header.ShowWindow(SW_HIDE);
        }
    }
    CScrollHostWnd::OnNcCalcSize(calcValid, params);
}

LRESULT CCustomListCtrl::OnNcHitTest(CPoint pt)
{
    const LRESULT hit = m_header.HitTestNC(pt.x, pt.y);
    return hit != -2 ? hit : CScrollHostWnd::OnNcHitTest(pt);
}

BOOL CCustomListCtrl::OnSetCursor(CWnd*, UINT hitTest, UINT)
{
    // Over the header band the header's mouse handling picks the cursor.
    if (hitTest == HTBORDER && m_headerShown)
        return TRUE;
    return static_cast<BOOL>(Default());
}

void CCustomListCtrl::OnNcPaint()
{
    if (m_headerShown)
        m_header.RedrawNC();
    CScrollHostWnd::OnNcPaint();
}

BOOL CCustomListCtrl::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd == m_hWnd) {
        if (m_headerShown && m_header.ForwardNCMouse(msg))
            return TRUE;
        if (ForwardToBars(msg))
            return TRUE;
    }
    // A click beside an open date or time editor belongs to it (it cancels or commits).
    if (m_editorWnd && msg->hwnd != m_editorWnd && !::IsChild(m_editorWnd, msg->hwnd) &&
        (msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN)) {
        if (m_editorKind == EditDate && m_dateEditor.m_hWnd == m_editorWnd)
            return m_dateEditor.PreTranslateMessage(msg);
        if (m_editorKind == EditTime && m_timeEditor.m_hWnd == m_editorWnd)
            return m_timeEditor.PreTranslateMessage(msg);
    }
    return CWnd::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------
// Header notifications and column widths

void CCustomListCtrl::OnHeaderNotify(UINT, NMHDR* nm, LRESULT* result)
{
    auto* hn = reinterpret_cast<NMHEADERW*>(nm);
    switch (nm->code) {
    case HDN_TRACKW:
    case HDN_ENDTRACKW:
        UpdateScrollBars();
        ReplaceHeader();
        Invalidate(FALSE);
        UpdateWindow();
        break;
    case HDN_ITEMCLICKW: {
        NMLISTVIEW lv = ListViewNotify(-1, hn->iItem);
        SendNotify(&lv.hdr, LVN_COLUMNCLICK);
        break;
    }
    case HDN_DIVIDERDBLCLICKW:
        AutoWidth(hn->iItem);
        break;
    default:
        break;
    }
    if (result)
        *result = 0;
}

void CCustomListCtrl::AutoWidth(int column)
{
    if (column < 0 || column >= GetColumnCount())
        return;
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ oldFont = SelectObject(dc, m_fontBold);
    HD_ITEMW hd{};
    hd.mask = HDI_TEXT;
    m_header.GetItem(column, &hd);
    int width = -1;
    if (hd.pszText && *hd.pszText) {
        RECT rc{0, 0, 0, 0};
        DrawTextW(dc, hd.pszText, -1, &rc, DT_CALCRECT | DT_NOPREFIX);
        width = rc.right - rc.left + 10 + (m_header.IsSortable(column) ? 18 : 0);
    }
    const bool sub = column > 0 && m_imageListSub;
    const int iconWidth = sub ? m_iconSub.cx : m_iconSmall.cx;
    wchar_t buffer[TextBufferSize];
    for (int row = 0; row < GetItemCount(); ++row) {
        LVITEMW item = ShownCell(row, column, buffer, TextBufferSize);
        if (!GetItem(&item))
            continue;
        SelectObject(dc, (item.state & BoldBit) ? m_fontBold : m_font);
        RECT rc{0, 0, 0, 0};
        DrawTextW(dc, buffer, -1, &rc, DT_CALCRECT | DT_NOPREFIX);
        int candidate = rc.right - rc.left + (column == 0 ? m_indent : 0);
        candidate += item.iImage >= 0 ? iconWidth + 14 : 10;
        width = std::max(width, candidate);
    }
    SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);
    if (width < 0)
        return;
    HD_ITEMW set{};
    set.mask = HDI_WIDTH;
    set.cxy = width + 12;
    m_header.SetItem(column, &set);
    UpdateScrollBars();
    Invalidate(FALSE);
    ReplaceHeader();
}

void CCustomListCtrl::AutoSizeColumns()
{
    for (int c = 0; c < GetColumnCount(); ++c)
        AutoWidth(c);
    if (GetColumnCount() == 0)
        return;
    RECT last;
    m_header.GetItemRect(GetColumnCount() - 1, &last);
    CRect client;
    GetClientRect(&client);
    if (last.right < client.Width()) {
        HD_ITEMW hd{};
        hd.mask = HDI_WIDTH;
        m_header.GetItem(0, &hd);
        hd.cxy += client.Width() - last.right;
        m_header.SetItem(0, &hd);
        UpdateScrollBars();
        Invalidate(FALSE);
    }
    m_header.RedrawNC();
}
