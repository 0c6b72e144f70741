// The custom list: row records, creation and the row and column calls.
#include "controls/CustomListCtrl.h"

#include <cstdarg>
#include <cstdlib>
#include <cwchar>

#include "common/Utility.h"
#include "controls/EditMessages.h"
#include "controls/ListNotify.h"

namespace {

LPWSTR CopyText(LPCWSTR t)
{
    return CCustomListCtrl::_listitem::IsTextAllocated(t) ? _wcsdup(t) : const_cast<LPWSTR>(t);
}

// Copies at most max - 1 characters and the terminator.
void CopyCut(LPWSTR to, int max, LPCWSTR from)
{
    if (!to || max <= 0)
        return;
    to[0] = L'\0';
    if (from && from != LPSTR_TEXTCALLBACKW && from != to)
        wcsncpy_s(to, static_cast<size_t>(max), from, _TRUNCATE);
}

}  // namespace

// ---------------------------------------------------------------------------
// Row records

CCustomListCtrl::_listitem::_listitem()
{
    item = {};
    for (int i = 0; i < MaxColumns; ++i) {
        text[i] = nullptr;
        image[i] = -1;
        param[i] = 0;
    }
}

CCustomListCtrl::_listitem::_listitem(const LVITEMW& from) : _listitem()
{
    item = from;
    const int c = from.iSubItem;
    if (c >= 0 && c < MaxColumns) {
        text[c] = CopyText(from.pszText);
        if (from.mask & LVIF_IMAGE)
            image[c] = from.iImage;
        if (from.mask & LVIF_PARAM)
            param[c] = from.lParam;
    }
    item.pszText = text[0];
}

CCustomListCtrl::_listitem::_listitem(const _listitem& other)
{
    CopyFrom(other);
}

CCustomListCtrl::_listitem::_listitem(_listitem&& other) noexcept
{
    Steal(other);
}

CCustomListCtrl::_listitem& CCustomListCtrl::_listitem::operator=(const _listitem& other)
{
    if (this != &other) {
        Free();
        CopyFrom(other);
    }
    return *this;
}

CCustomListCtrl::_listitem& CCustomListCtrl::_listitem::operator=(_listitem&& other) noexcept
{
    if (this != &other) {
        Free();
        Steal(other);
    }
    return *this;
}

CCustomListCtrl::_listitem::~_listitem()
{
    Free();
}

void CCustomListCtrl::_listitem::Free()
{
    for (auto& t : text) {
        if (IsTextAllocated(t))
            free(t);
        t = nullptr;
    }
    item.pszText = nullptr;
}

void CCustomListCtrl::_listitem::CopyFrom(const _listitem& other)
{
    item = other.item;
    for (int i = 0; i < MaxColumns; ++i) {
        text[i] = CopyText(other.text[i]);
        image[i] = other.image[i];
        param[i] = other.param[i];
    }
    item.pszText = text[0];
}

void CCustomListCtrl::_listitem::Steal(_listitem& other)
{
    item = other.item;
    for (int i = 0; i < MaxColumns; ++i) {
        text[i] = other.text[i];
        other.text[i] = nullptr;
        image[i] = other.image[i];
        param[i] = other.param[i];
    }
    item.pszText = text[0];
    other.item.pszText = nullptr;
}

void CCustomListCtrl::_listitem::SetText(int column, LPCWSTR newText)
{
    if (column < 0 || column >= MaxColumns)
        return;
    LPWSTR copy = CopyText(newText);  // before freeing: newText may be the old text
    if (IsTextAllocated(text[column]))
        free(text[column]);
    text[column] = copy;
    item.pszText = text[0];
}

// ---------------------------------------------------------------------------
// Construction and creation

BEGIN_MESSAGE_MAP(CCustomListCtrl, CScrollHostWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_SETCURSOR()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_NOTIFY_RANGE(HDN_TRACKW, HeaderId, HeaderId, OnHeaderNotify)
    ON_NOTIFY_RANGE(HDN_ENDTRACKW, HeaderId, HeaderId, OnHeaderNotify)
    ON_NOTIFY_RANGE(HDN_ITEMCLICKW, HeaderId, HeaderId, OnHeaderNotify)
    ON_NOTIFY_RANGE(HDN_DIVIDERDBLCLICKW, HeaderId, HeaderId, OnHeaderNotify)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_GETDLGCODE()
    ON_WM_TIMER()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_REGISTERED_MESSAGE(WM_END_EDIT_LABEL, OnEndEditLabel)
    ON_MESSAGE(WM_EDITOR_MOVE_COLUMN, OnEditorMoveColumn)
END_MESSAGE_MAP()

CCustomListCtrl::CCustomListCtrl() : CScrollHostWnd(&m_vScroll, &m_hScroll)
{
    InitDibImage(&m_selSkinMid);
    InitDibImage(&m_selSkinLeft);
    InitDibImage(&m_selSkinRight);
}

CCustomListCtrl::~CCustomListCtrl()
{
    // The editors, header and bars are children: they go with the window,
    // while this object and theirs are whole.
    if (m_hWnd && m_createdHere)
        DestroyWindow();
    ReleaseIconLimitList();
    if (m_ownSmall && m_imageListSmall)
        ImageList_Destroy(m_imageListSmall);
    if (m_ownSub && m_imageListSub)
        ImageList_Destroy(m_imageListSub);
    FreeDibImage(&m_selSkinMid);
    FreeDibImage(&m_selSkinLeft);
    FreeDibImage(&m_selSkinRight);
}

int CCustomListCtrl::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    HFONT f = nullptr;
    if (!CreateTahomaFont(FALSE, &f, 120, FALSE) || !m_font.Attach(f))
        return -1;
    if (!CreateTahomaFont(TRUE, &f, 120, FALSE) || !m_fontBold.Attach(f))
        return -1;
    if (!CreateTahomaFont(FALSE, &f, 100, FALSE) || !m_fontDate.Attach(f))
        return -1;
    if (!CreateTahomaFont(FALSE, &f, 100, FALSE) || !m_fontChoice.Attach(f))
        return -1;
    m_indent = 1;
    m_focusItem = m_anchorItem = m_toggleItem = -1;
    m_curRow = m_curCol = -1;
    m_rangeClick = m_dragArmed = m_bandActive = FALSE;
    m_editorWnd = nullptr;
    m_editorOldProc = nullptr;
    m_editing = m_clickEditPending = m_clickOnIcon = m_toggleRequest = m_togglePending = FALSE;
    m_editorKind = EditNone;
    m_cellMode = FALSE;
    m_tabNavigation = FALSE;

    DWORD headerStyle = WS_CHILD | WS_VISIBLE | 0x280;
    if (!(GetStyle() & LVS_NOSORTHEADER))
        headerStyle = (headerStyle & ~0x200u) | HDS_BUTTONS;
    if (!m_header.Create(headerStyle, CRect(0, 0, 0, 24), this, HeaderId))
        return -1;
    if (!LoadDibFromPack(L"customlist_sel_c.bmp", &m_selSkinMid) ||
        !LoadDibFromPack(L"customlist_sel_l.bmp", &m_selSkinLeft) ||
        !LoadDibFromPack(L"customlist_sel_r.bmp", &m_selSkinRight))
        return -1;
    if (!m_hScroll.Create(WS_CHILD | SBS_HORZ, CRect(0, 0, 0, 0), this, HScrollId))
        return -1;
    if (!m_vScroll.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), this, VScrollId))
        return -1;
    FrameChanged();
    return 0;
}

void CCustomListCtrl::OnDestroy()
{
    // The editor goes first, so the main window leaves its menu-loop state
    // and gets its accelerators back; the parent may be going too, so nothing
    // is committed now (views commit with EndAnyEdit before they close).
    if (m_editorWnd)
        EndEdit(TRUE);
    m_togglePending = FALSE;
    m_editorKind = EditNone;
    KillTimer(TimerBand);
    KillTimer(TimerClickEdit);
    m_font.DeleteObject();
    m_fontBold.DeleteObject();
    m_fontDate.DeleteObject();
    m_fontChoice.DeleteObject();
    if (!(GetStyle() & LVS_SHAREIMAGELISTS)) {
        if (m_imageListSmall)
            ImageList_Destroy(m_imageListSmall);
        if (m_imageListSub)
            ImageList_Destroy(m_imageListSub);
    }
    m_imageListSmall = m_imageListSub = nullptr;
    m_ownSmall = m_ownSub = FALSE;
    m_iconSmall = m_iconSub = SIZE{0, 0};
    m_rowHeight = 36;
    Default();
}

// ---------------------------------------------------------------------------
// Rows

int CCustomListCtrl::InsertItem(const LVITEMW* item)
{
    if (!item)
        return -1;
    if (item->iItem < 0)
        AfxThrowInvalidArgException();
    const int at = item->iItem < GetItemCount() ? item->iItem : GetItemCount();
    m_items.InsertAt(at, _listitem(*item));
    UpdateScrollBars();
    if (m_hWnd)
        Invalidate(FALSE);
    return at;
}

BOOL CCustomListCtrl::GetItem(LVITEMW* item) const
{
    if (!item || !IsRow(item->iItem) || !IsColumn(item->iSubItem))
        return FALSE;
    const _listitem& row = m_items[item->iItem];
    if (GetStyle() & LVS_OWNERDATA) {
        NMLVDISPINFOW info{};
        info.item = *item;
        SendNotify(&info.hdr, LVN_GETDISPINFOW);
        if (item->mask & LVIF_TEXT) {
            // The parent either filled the caller's buffer or pointed at its own text.
            const int max = info.item.cchTextMax < item->cchTextMax ? info.item.cchTextMax : item->cchTextMax;
            if (info.item.pszText != item->pszText)
                CopyCut(item->pszText, max > 0 ? max : item->cchTextMax, info.item.pszText);
            else if (item->pszText && item->cchTextMax > 0)
                item->pszText[item->cchTextMax - 1] = L'\0';
        }
        if (item->mask & LVIF_IMAGE)
            item->iImage = info.item.iImage;
        if (item->mask & LVIF_PARAM)
            item->lParam = info.item.lParam;
    } else {
        const int c = item->iSubItem;
        if (item->mask & LVIF_TEXT) {
            if (item->pszText && item->cchTextMax > 0)
                item->pszText[0] = L'\0';
            if (_listitem::IsTextAllocated(row.text[c]))
                CopyCut(item->pszText, item->cchTextMax, row.text[c]);
        }
        if (item->mask & LVIF_IMAGE)
            item->iImage = row.image[c];
        if (item->mask & LVIF_PARAM)
            item->lParam = row.param[c];
    }
    if (item->mask & LVIF_STATE)
        item->state = row.item.state & item->stateMask;
    return TRUE;
}

BOOL CCustomListCtrl::SetItem(const LVITEMW* item)
{
    if (!item || !IsRow(item->iItem) || !IsColumn(item->iSubItem))
        return FALSE;
    _listitem& row = m_items[item->iItem];
    const int c = item->iSubItem;
    if (item->mask & LVIF_TEXT)
        row.SetText(c, item->pszText);
    if (item->mask & LVIF_IMAGE) {
        row.image[c] = item->iImage;
        if (c == 0)
            row.item.iImage = item->iImage;
    }
    if (item->mask & LVIF_PARAM) {
        row.param[c] = item->lParam;
        if (c == 0)
            row.item.lParam = item->lParam;
    }
    if (item->mask & LVIF_STATE)
        row.item.state = (row.item.state & ~item->stateMask) | (item->state & item->stateMask);
    return TRUE;
}

BOOL CCustomListCtrl::SetItemState(int row, UINT mask, UINT value)
{
    if (!IsRow(row))
        return FALSE;
    UINT& state = m_items[row].item.state;
    state = (state & ~mask) | (value & mask);
    return TRUE;
}

UINT CCustomListCtrl::GetItemState(int row, UINT mask) const
{
    return IsRow(row) ? (m_items[row].item.state & mask) : 0;
}

LPARAM CCustomListCtrl::GetItemData(int row, int column) const
{
    if (!IsRow(row) || !IsColumn(column))
        return 0;
    if (GetStyle() & LVS_OWNERDATA) {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.iSubItem = column;
        return GetItem(&item) ? item.lParam : 0;
    }
    return m_items[row].param[column];
}

int CCustomListCtrl::GetItemImage(int row, int column) const
{
    if (!IsRow(row) || !IsColumn(column))
        return -1;
    if (GetStyle() & LVS_OWNERDATA) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        item.iSubItem = column;
        item.iImage = -1;
        return GetItem(&item) ? item.iImage : -1;
    }
    return m_items[row].image[column];
}

int CCustomListCtrl::GetSelectedCount() const
{
    int n = 0;
    for (const auto& row : m_items)
        if (row.item.state & LVIS_SELECTED)
            ++n;
    return n;
}

POSITION CCustomListCtrl::GetFirstSelectedItemPosition() const
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (m_items[i].item.state & LVIS_SELECTED)
            return reinterpret_cast<POSITION>(static_cast<INT_PTR>(i) + 1);
    return nullptr;
}

int CCustomListCtrl::GetNextSelectedItem(POSITION& pos) const
{
    const int current = static_cast<int>(reinterpret_cast<INT_PTR>(pos)) - 1;
    pos = nullptr;
    for (int i = current + 1; i < GetItemCount(); ++i)
        if (m_items[i].item.state & LVIS_SELECTED) {
            pos = reinterpret_cast<POSITION>(static_cast<INT_PTR>(i) + 1);
            break;
        }
    return current;
}

int CCustomListCtrl::GetCurSel() const
{
    // The states live in the rows, also with owner data: read them there.
    int firstSelected = -1;
    for (int i = 0; i < GetItemCount(); ++i) {
        const UINT s = m_items[i].item.state;
        if ((s & (LVIS_SELECTED | LVIS_FOCUSED)) == (LVIS_SELECTED | LVIS_FOCUSED))
            return i;
        if ((s & LVIS_SELECTED) && firstSelected < 0)
            firstSelected = i;
    }
    return firstSelected;
}

void CCustomListCtrl::SetCurSel(int row)
{
    for (int i = 0; i < GetItemCount(); ++i) {
        UINT& s = m_items[i].item.state;
        s = i == row ? (s | LVIS_SELECTED | LVIS_FOCUSED) : (s & ~(LVIS_SELECTED | LVIS_FOCUSED));
    }
}

void CCustomListCtrl::NotifySelChange()
{
    NotifyItemChanged(GetCurSel(), 0, 0, 0);
    if (m_hWnd)
        Invalidate(FALSE);
}

// ---------------------------------------------------------------------------
// Columns

int CCustomListCtrl::InsertColumn(int index, LPCWSTR heading, int format, int width)
{
    LVCOLUMNW col{};
    col.mask = LVCF_FMT | LVCF_TEXT | (width >= 0 ? LVCF_WIDTH : 0);
    col.fmt = format;
    col.cx = width;
    col.pszText = const_cast<LPWSTR>(heading ? heading : L"");
    col.cchTextMax = heading ? static_cast<int>(wcslen(heading)) : 0;
    col.iSubItem = -1;
    return InsertColumnRecord(index, &col);
}

int CCustomListCtrl::InsertColumnRecord(int index, const LVCOLUMNW* column)
{
    if (!column || !IsColumn(index) || GetColumnCount() >= MaxColumns)
        return -1;
    HD_ITEMW hd{};
    if (column->mask & LVCF_FMT)
        hd.mask |= HDI_FORMAT;
    if (column->mask & LVCF_IMAGE)
        hd.mask |= HDI_IMAGE;
    if (column->mask & LVCF_ORDER)
        hd.mask |= HDI_ORDER;
    if (column->mask & LVCF_TEXT)
        hd.mask |= HDI_TEXT;
    if (column->mask & LVCF_WIDTH)
        hd.mask |= HDI_WIDTH;
    hd.cxy = column->cx;
    hd.pszText = column->pszText;
    hd.cchTextMax = column->cchTextMax;
    hd.iImage = column->iImage;
    hd.iOrder = column->iOrder;
    switch (column->fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: hd.fmt = HDF_RIGHT; break;
    case LVCFMT_CENTER: hd.fmt = HDF_CENTER; break;
    default: hd.fmt = HDF_LEFT; break;
    }
    if (m_columnProps.GetSize() < index + 1)
        m_columnProps.SetSize(index + 1);
    m_columnProps[index].type = index == 0 ? EditText : EditNone;
    m_columnProps[index].options.Empty();
    const int at = m_header.InsertItem(index, &hd);
    FrameChanged();
    return at < 0 ? -1 : index;
}

void CCustomListCtrl::SetColumnAlignments(int count, ...)
{
    va_list args;
    va_start(args, count);
    for (int i = 0; i < count; ++i) {
        const int v = va_arg(args, int);
        m_columnAlign.Add(static_cast<WORD>(v == 1 || v == 2 ? v : 0));
    }
    va_end(args);
}

int CCustomListCtrl::GetColumnAlignment(int column) const
{
    if (column >= 0 && column < m_columnAlign.GetSize())
        return m_columnAlign[column];
    if (column < 0 || column >= GetColumnCount())
        return 0;
    HD_ITEMW hd{};
    hd.mask = HDI_FORMAT;
    m_header.GetItem(column, &hd);
    return hd.fmt;
}

void CCustomListCtrl::SetAllColumnsSortable(BOOL sortable)
{
    for (int i = 0; i < GetColumnCount(); ++i)
        m_header.SetSortable(i, sortable);
    m_header.RedrawNC();
}

void CCustomListCtrl::SetColumnsSortable(int count, ...)
{
    va_list args;
    va_start(args, count);
    for (int i = 0; i < count; ++i) {
        const int flag = va_arg(args, int);
        if (i < GetColumnCount())
            m_header.SetSortable(i, flag != 0);
    }
    va_end(args);
    m_header.RedrawNC();
}

void CCustomListCtrl::SetSortArrow(int column, BOOL ascending)
{
    m_sortColumn = column;
    m_sortAscending = ascending;
    for (int i = 0; i < GetColumnCount(); ++i) {
        HD_ITEMW hd{};
        hd.mask = HDI_FORMAT;
        m_header.GetItem(i, &hd);
        int fmt = hd.fmt & ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == column)
            fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
        if (fmt != hd.fmt) {
            hd.fmt = fmt;
            m_header.SetItem(i, &hd);
        }
    }
}

CImageList* CCustomListCtrl::SetImageList(CImageList* list, int which)
{
    const bool small = which == LVSIL_SMALL;
    HIMAGELIST& slot = small ? m_imageListSmall : m_imageListSub;
    BOOL& own = small ? m_ownSmall : m_ownSub;
    SIZE& size = small ? m_iconSmall : m_iconSub;
    // Our own duplicate is destroyed here, so it is never handed out.
    HIMAGELIST previous = own ? nullptr : slot;
    if (own && slot)
        ImageList_Destroy(slot);
    slot = nullptr;
    own = FALSE;
    size = SIZE{0, 0};
    HIMAGELIST given = list ? list->GetSafeHandle() : nullptr;
    if (given) {
        if (GetStyle() & LVS_SHAREIMAGELISTS) {
            slot = given;
        } else {
            slot = ImageList_Duplicate(given);
            own = slot != nullptr;
        }
        int cx = 0, cy = 0;
        ImageList_GetIconSize(slot, &cx, &cy);
        size = SIZE{cx, cy};
        m_rowHeight = cy + 1 > 36 ? cy + 1 : 36;
    } else {
        m_rowHeight = 36;
    }
    UpdateScrollBars();
    return previous ? CImageList::FromHandle(previous) : nullptr;
}

// ---------------------------------------------------------------------------
// Notifications

LRESULT CCustomListCtrl::SendNotify(NMHDR* nm, UINT code) const
{
    return SendNotifyToParent(m_hWnd, nm, code);
}

void CCustomListCtrl::NotifyItemChanged(int row, UINT newState, UINT oldState, UINT changed)
{
    SendItemChanged(m_hWnd, row, newState, oldState, changed);
}
