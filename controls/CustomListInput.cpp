// The custom list: mouse, keyboard, focus, the rubber band and the
// notifications they send to the parent.
#include <algorithm>

#include "controls/CustomListCtrl.h"
#include "controls/ListNotify.h"

namespace {

bool KeyHeld(int vk)
{
    return GetKeyState(vk) < 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// State helpers (every row index goes through the range-checked calls)

void CCustomListCtrl::ClearAll(UINT bits)
{
    for (auto& row : m_items)
        row.item.state &= ~bits;
}

void CCustomListCtrl::SetRange(int from, int to, UINT bits)
{
    if (from < 0)
        from = to;
    const int lo = std::max(0, std::min(from, to)), hi = std::min(GetItemCount() - 1, std::max(from, to));
    for (int i = lo; i <= hi; ++i)
        m_items[i].item.state |= bits;
}

CRect CCustomListCtrl::RowBounds(int row) const
{
    CRect bounds;
    for (int c = 0; c < GetColumnCount(); ++c) {
        RECT rc;
        if (GetSubItemRect(row, c, LVIR_BOUNDS, &rc))
            UnionRect(&bounds, &bounds, &rc);
    }
    return bounds;
}

// ---------------------------------------------------------------------------
// Left button

void CCustomListCtrl::OnLButtonDown(UINT flags, CPoint pt)
{
    if (m_editorWnd) {
        EndEdit(FALSE);
        return;
    }
    SetFocus();
    m_downPoint = pt;
    m_dragArmed = FALSE;
    if (m_clickEditPending) {
        KillTimer(TimerClickEdit);
        m_clickEditPending = FALSE;
        m_clickOnIcon = FALSE;
    }
    m_toggleItem = -1;
    m_rangeClick = FALSE;
    if (GetColumnCount() == 0)
        return;  // nothing to hit
    LVHITTESTINFO hit{};
    hit.pt = pt;
    hit.iSubItem = 0;
    const int r = SubItemHitTest(&hit);
    const int c = r >= 0 ? hit.iSubItem : 0;

    // A check cell toggles at once, unless the parent says no.
    if (r >= 0 && c < m_columnProps.GetSize() && m_columnProps[c].type == EditCheck &&
        !(flags & (MK_SHIFT | MK_CONTROL))) {
        wchar_t buffer[TextBufferSize] = L"";
        NMLVDISPINFOW info = CellDispInfo(r, c, buffer, TextBufferSize);
        if (SendNotify(&info.hdr, LVN_BEGINLABELEDITW) == 0) {
            m_toggleRequest = TRUE;
            EditSubItem(r, c);
        }
    }

    if (r >= 0 && r != m_focusItem) {
        SetItemState(m_focusItem, LVIS_FOCUSED, 0);
        SetItemState(r, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    const bool armEdit = c == m_curCol || !m_cellMode;
    if (GetStyle() & LVS_SINGLESEL) {
        SetItemState(m_focusItem, LVIS_SELECTED, 0);
        if (r < 0) {
            NotifyItemChanged(m_focusItem, 0, LVIS_SELECTED, LVIS_SELECTED);
        } else {
            if (GetItemState(r, LVIS_SELECTED)) {
                if (armEdit) {
                    RECT icon{};
                    m_clickEditPending = TRUE;
                    m_clickOnIcon = GetSubItemRect(r, c, LVIR_ICON, &icon) && PtInRect(&icon, pt);
                }
            } else {
                SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
                NotifyItemChanged(r, 0, 0, 0);
            }
            m_dragArmed = TRUE;
        }
    } else if (r < 0) {
        BeginBand(pt);
    } else {
        if (flags & MK_CONTROL) {
            m_toggleItem = r;
            m_anchorItem = r;
        } else if (flags & MK_SHIFT) {
            m_rangeClick = TRUE;
            ClearAll(LVIS_FOCUSED | LVIS_SELECTED);
            SetRange(m_anchorItem, r, LVIS_SELECTED);
            NotifyItemChanged(r, LVIS_SELECTED, 0, LVIS_SELECTED);
        } else if (GetItemState(r, LVIS_SELECTED)) {
            if (armEdit) {
                RECT icon{};
                m_clickEditPending = TRUE;
                m_clickOnIcon = GetSubItemRect(r, c, LVIR_ICON, &icon) && PtInRect(&icon, pt);
            }
            m_anchorItem = r;
        } else {
            ClearAll(LVIS_FOCUSED | LVIS_SELECTED);
            SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
            NotifyItemChanged(r, 0, 0, 0);
            m_anchorItem = r;
        }
        m_dragArmed = TRUE;
    }
    m_focusItem = r;
    m_curRow = r;
    SetFocusColumn(c, FALSE);
    if (IsRow(m_focusItem))
        EnsureVisible(m_focusItem);
    Invalidate(FALSE);
}

void CCustomListCtrl::OnLButtonUp(UINT, CPoint)
{
    if (m_bandActive) {
        KillTimer(TimerBand);
        m_bandActive = FALSE;
        if (::GetCapture() == m_hWnd)
            ReleaseCapture();
        Invalidate(FALSE);
        m_anchorItem = GetCurSel();
        return;
    }
    if (IsRow(m_toggleItem)) {
        const UINT old = GetItemState(m_toggleItem, LVIS_SELECTED);
        SetItemState(m_toggleItem, LVIS_SELECTED, old ^ LVIS_SELECTED);
        NotifyItemChanged(m_toggleItem, old ^ LVIS_SELECTED, old, LVIS_SELECTED);
        Invalidate(FALSE);
        m_toggleItem = -1;
    } else if (!m_rangeClick && GetSelectedCount() > 1) {
        for (auto& row : m_items) {
            if (row.item.state & LVIS_FOCUSED)
                row.item.state |= LVIS_SELECTED;
            else
                row.item.state &= ~(LVIS_FOCUSED | LVIS_SELECTED);
        }
        NotifyItemChanged(GetCurSel(), 0, 0, 0);
        Invalidate(FALSE);
    }
    m_rangeClick = FALSE;
    m_dragArmed = FALSE;
    if (m_clickEditPending)
        SetTimer(TimerClickEdit, ClickEditDelay);
}

void CCustomListCtrl::OnMouseMove(UINT flags, CPoint pt)
{
    if (m_bandActive) {
        if (pt != m_bandEnd) {
            m_bandEnd = pt;
            AutoScrollBand();
            UpdateBand(static_cast<int>(flags));
            Invalidate(FALSE);
        }
        return;
    }
    if (!m_dragArmed)
        return;
    // Out of the system's drag rectangle around the button-down point.
    const int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
    if (std::abs(pt.x - m_downPoint.x) <= cx && std::abs(pt.y - m_downPoint.y) <= cy)
        return;
    if (IsRow(m_toggleItem) && !GetItemState(m_toggleItem, LVIS_SELECTED)) {
        SetItemState(m_toggleItem, LVIS_SELECTED, LVIS_SELECTED);
        NotifyItemChanged(m_toggleItem, LVIS_SELECTED, 0, LVIS_SELECTED);
        Invalidate(FALSE);
    }
    m_toggleItem = -1;
    LVHITTESTINFO hit{};
    hit.pt = m_downPoint;
    const int row = SubItemHitTest(&hit);
    UpdateWindow();
    // One drag per press: the parent's drag loop normally takes the rest.
    m_dragArmed = FALSE;
    NMLISTVIEW nm = ListViewNotify(row, row >= 0 ? hit.iSubItem : 0, m_downPoint);
    SendNotify(&nm.hdr, LVN_BEGINDRAG);
}

// ---------------------------------------------------------------------------
// Rubber band

void CCustomListCtrl::BeginBand(CPoint pt)
{
    if (m_bandActive)
        return;
    for (auto& row : m_items)
        row.item.state = (row.item.state & LVIS_SELECTED) ? (row.item.state | BandBit) : (row.item.state & ~BandBit);
    SetCapture();
    m_bandActive = TRUE;
    m_bandStart = m_bandEnd = pt;
    UINT speed = 0;
    SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    SetTimer(TimerBand, 1600 - 50 * std::min<UINT>(speed, 31));
    AutoScrollBand();
}

void CCustomListCtrl::UpdateBand(int keyFlags)
{
    // The keys as they were at the mouse message, else as they are now.
    const bool ctrl = keyFlags >= 0 ? (keyFlags & MK_CONTROL) != 0 : KeyHeld(VK_CONTROL);
    const bool shift = keyFlags >= 0 ? (keyFlags & MK_SHIFT) != 0 : KeyHeld(VK_SHIFT);
    CRect band(std::min(m_bandStart.x, m_bandEnd.x), std::min(m_bandStart.y, m_bandEnd.y),
               std::max(m_bandStart.x, m_bandEnd.x), std::max(m_bandStart.y, m_bandEnd.y));
    for (int i = 0; i < GetItemCount(); ++i) {
        UINT& state = m_items[i].item.state;
        const UINT old = state & LVIS_SELECTED;
        const UINT base = (ctrl || shift) && (state & BandBit) ? LVIS_SELECTED : 0;
        UINT now = base;
        CRect rowRect = RowBounds(i), overlap;
        // A band of no width still touches the rows it crosses.
        const CRect probe(band.left, band.top, std::max(band.right, band.left + 1), std::max(band.bottom, band.top + 1));
        if (IntersectRect(&overlap, &rowRect, &probe))
            now = ctrl && (state & BandBit) ? 0 : LVIS_SELECTED;
        state = (state & ~LVIS_SELECTED) | now;
        if (now != old)
            NotifyItemChanged(i, now, old, now ^ old);
    }
}

void CCustomListCtrl::AutoScrollBand()
{
    CRect client;
    GetClientRect(&client);
    const int h = GetRowHeight();
    bool changed = false;
    if (GetStyle() & WS_VSCROLL) {
        int c = 0;
        if (m_bandEnd.y < client.top)
            c = (client.top - m_bandEnd.y) / h + 1;
        else if (m_bandEnd.y > client.bottom)
            c = (client.bottom - m_bandEnd.y) / h - 1;
        if (c != 0) {
            EndEdit(FALSE);
            const int old = GetScrollPos(SB_VERT);
            ScrollTo(SB_VERT, old - c);
            const int now = GetScrollPos(SB_VERT);
            if (now != old) {
                m_bandStart.y += (old - now) * h;
                changed = true;
            }
        }
    }
    if (GetStyle() & WS_HSCROLL) {
        int c = 0;
        if (m_bandEnd.x < client.left)
            c = (client.left - m_bandEnd.x) / h + 1;
        else if (m_bandEnd.x > client.right)
            c = (client.right - m_bandEnd.x) / h - 1;
        if (c != 0) {
            EndEdit(FALSE);
            const int old = GetScrollPos(SB_HORZ);
            ScrollTo(SB_HORZ, old - c);
            const int now = GetScrollPos(SB_HORZ);
            if (now != old) {
                m_bandStart.x += old - now;
                changed = true;
            }
        }
    }
    if (changed) {
        UpdateScrollBars();
        Invalidate(FALSE);
    }
}

// ---------------------------------------------------------------------------
// Right and middle buttons

void CCustomListCtrl::OnRButtonDown(UINT, CPoint pt)
{
    if (m_editorWnd)
        EndEdit(FALSE);
    SetFocus();
    m_downPoint = pt;
    m_dragArmed = FALSE;
    KillTimer(TimerClickEdit);
    m_clickEditPending = FALSE;
    m_clickOnIcon = FALSE;
    m_toggleItem = -1;
    LVHITTESTINFO hit{};
    hit.pt = pt;
    const int r = GetColumnCount() > 0 ? SubItemHitTest(&hit) : -1;
    const int c = r >= 0 ? hit.iSubItem : 0;
    RECT icon{};
    m_clickOnIcon = r >= 0 && GetSubItemRect(r, c, LVIR_ICON, &icon) && PtInRect(&icon, pt);
    if (r != m_focusItem) {
        SetItemState(m_focusItem, LVIS_FOCUSED, 0);
        SetItemState(r, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    if ((GetStyle() & LVS_SINGLESEL) || !GetItemState(r, LVIS_SELECTED))
        ClearAll(LVIS_SELECTED);
    SetItemState(r, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    m_focusItem = m_curRow = r;
    SetFocusColumn(c, FALSE);
    if (IsRow(r))
        EnsureVisible(r);
    Invalidate(FALSE);
    NotifyItemChanged(r, LVIS_FOCUSED | LVIS_SELECTED, 0, LVIS_FOCUSED | LVIS_SELECTED);
}

void CCustomListCtrl::OnRButtonUp(UINT, CPoint pt)
{
    ClientToScreen(&pt);
    HWND parent = ::GetParent(m_hWnd);
    if (parent)
        ::SendMessageW(parent, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(pt.x, pt.y));
}

void CCustomListCtrl::OnMButtonDown(UINT, CPoint)
{
    SetFocus();
}

// ---------------------------------------------------------------------------
// Keyboard

void CCustomListCtrl::MoveColumn(int step)
{
    SetFocusColumn(m_curCol + step, TRUE);
    Invalidate(FALSE);
    UpdateScrollBars();
    ReplaceHeader();
}

void CCustomListCtrl::MoveRowTo(int target)
{
    if (GetItemCount() == 0)
        return;
    target = std::max(0, std::min(target, GetItemCount() - 1));
    if (target == m_focusItem)
        return;
    if (KeyHeld(VK_SHIFT)) {
        SetItemState(m_focusItem, LVIS_FOCUSED, 0);
        const bool hadFocus = m_focusItem >= 0;
        if (hadFocus)
            SetItemState(target, LVIS_FOCUSED, LVIS_FOCUSED);
        ClearAll(LVIS_SELECTED);
        if (GetStyle() & LVS_SINGLESEL) {
            if (hadFocus)
                SetItemState(target, LVIS_SELECTED, LVIS_SELECTED);
        } else {
            SetRange(m_anchorItem, target, LVIS_SELECTED);
        }
    } else {
        SetItemState(m_focusItem, LVIS_FOCUSED, 0);
        SetItemState(target, LVIS_FOCUSED, LVIS_FOCUSED);
        ClearAll(LVIS_SELECTED);
        SetItemState(target, LVIS_SELECTED, LVIS_SELECTED);
        m_anchorItem = target;
    }
    NotifyItemChanged(target, 0, 0, 0);
    m_focusItem = m_curRow = target;
    EnsureVisible(target);
    Invalidate(FALSE);
}

void CCustomListCtrl::TypedKey()
{
    if (!(GetStyle() & LVS_EDITLABELS) || m_curCol < 0 || m_curCol >= GetColumnCount() ||
        m_curCol >= m_columnProps.GetSize())
        return;
    const int type = m_columnProps[m_curCol].type;
    if (type >= EditText && type <= EditNoWindow)
        EditSubItem(m_curRow, m_curCol);
    else
        MoveRowTo(m_focusItem);
}

void CCustomListCtrl::OnKeyDown(UINT key, UINT, UINT)
{
    if (!m_hasFocus || m_editing)
        return;
    // One row at least, also when only one row fits the page.
    const int page = std::max(1, m_rowsPerPage - 1);
    switch (key) {
    case VK_TAB:
        if (m_tabNavigation)
            MoveColumn(KeyHeld(VK_SHIFT) ? -1 : 1);
        break;
    case VK_LEFT: MoveColumn(-1); break;
    case VK_RIGHT: MoveColumn(1); break;
    case VK_UP: MoveRowTo(m_focusItem - 1); break;
    case VK_DOWN: MoveRowTo(m_focusItem + 1); break;
    case VK_PRIOR: MoveRowTo(m_focusItem - page); break;
    case VK_NEXT: MoveRowTo(m_focusItem + page); break;
    case VK_RETURN:
        m_typedText.Empty();
        EditSubItem(m_curRow, m_curCol);
        break;
    case VK_SPACE:
        if (m_curCol >= 0 && m_curCol < m_columnProps.GetSize() && m_columnProps[m_curCol].type == EditCheck) {
            m_toggleRequest = TRUE;
            EditSubItem(m_curRow, m_curCol);
        }
        break;
    case VK_F2:
        m_typedText.Empty();
        TypedKey();
        break;
    default:
        break;  // letters and digits arrive as characters
    }
}

void CCustomListCtrl::OnChar(UINT ch, UINT, UINT)
{
    // The character as typed (case, layout, script), not the key's letter.
    if (!m_hasFocus || m_editing || ch < 0x20 || ch == L' ' || !IsCharAlphaNumericW(static_cast<wchar_t>(ch)))
        return;
    m_typedText = CString(static_cast<wchar_t>(ch));
    TypedKey();
}

void CCustomListCtrl::OnTimer(UINT_PTR id)
{
    if (id == TimerBand) {
        if (!m_bandActive) {
            KillTimer(TimerBand);
            return;
        }
        AutoScrollBand();
        UpdateBand();
        Invalidate(FALSE);
        return;
    }
    if (id == TimerClickEdit) {
        KillTimer(TimerClickEdit);
        m_clickEditPending = FALSE;
        if (m_hasFocus && GetItemState(m_curRow, LVIS_SELECTED)) {
            m_typedText.Empty();
            EditSubItem(m_curRow, m_curCol);
        }
        return;
    }
    Default();
}

// ---------------------------------------------------------------------------
// Focus

void CCustomListCtrl::OnSetFocus(CWnd*)
{
    Default();
    if (!m_hasFocus) {
        NMHDR nm{};
        SendNotify(&nm, NM_SETFOCUS);
    }
    m_hasFocus = TRUE;
    Invalidate(FALSE);
    FrameChanged();  // the header repaints in its focused colour
}

void CCustomListCtrl::OnKillFocus(CWnd*)
{
    Default();
    if (m_hasFocus) {
        NMHDR nm{};
        SendNotify(&nm, NM_KILLFOCUS);
    }
    m_hasFocus = FALSE;
    Invalidate(FALSE);
    FrameChanged();
}
