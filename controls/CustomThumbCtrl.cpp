#include "controls/CustomThumbCtrl.h"

#include <algorithm>
#include <vector>

#include "common/Utility.h"
#include "controls/ListNotify.h"

namespace {

constexpr COLORREF kBack = 0x231E1E;
constexpr COLORREF kBackNoLabels = 0x8B7B7B;
constexpr COLORREF kOutline = 0xAAA5A2;
constexpr COLORREF kLabelFrame = 0x989696;
constexpr COLORREF kSelFrame = 0x25B4D9;
constexpr COLORREF kSelFrameInner = 0x2FD4FE;
constexpr UINT kLabelFormat = DT_WORDBREAK | DT_CENTER | DT_END_ELLIPSIS | DT_EDITCONTROL | DT_NOPREFIX;

void Frame(HDC dc, const RECT& rc, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void Fill(HDC dc, const RECT& rc, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
}

CRect Grown(const RECT& rc, int dx, int dy)
{
    return CRect(rc.left - dx, rc.top - dy, rc.right + dx, rc.bottom + dy);
}

}  // namespace

BEGIN_MESSAGE_MAP(CCustomThumbCtrl, CScrollHostWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_MBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CCustomThumbCtrl::CCustomThumbCtrl() : CScrollHostWnd(&m_vScroll, &m_hScroll)
{
    m_vScroll.m_scrollMsg = WM_VSCROLL;
    m_hScroll.m_scrollMsg = WM_HSCROLL;
}

CCustomThumbCtrl::~CCustomThumbCtrl()
{
    if (m_hWnd && m_createdHere)
        DestroyWindow();
    m_loader.reset();
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
        FreeItem(m_items[i]);
    if (m_memDC)
        DeleteDC(m_memDC);
    FreeDibImage(&m_backBuffer);
    if (m_noImageFont)
        DeleteObject(m_noImageFont);
}

int CCustomThumbCtrl::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    m_memDC = CreateCompatibleDC(nullptr);
    if (!m_memDC)
        return -1;
    m_noLabels = FALSE;
    m_iconList.Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 0);
    SHFILEINFOW info{};
    if (SHGetFileInfoW(L".bmp", FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_ICON) &&
        info.hIcon) {
        m_iconList.Add(info.hIcon);
        DestroyIcon(info.hIcon);
    } else {
        m_iconList.Add(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128)));
    }
    if (m_noImageFont)
        DeleteObject(m_noImageFont);
    m_noImageFont = nullptr;
    CreateTahomaFont(TRUE, &m_noImageFont, 100, FALSE);
    if (!m_hScroll.Create(WS_CHILD | SBS_HORZ, CRect(0, 0, 0, 0), this, HorzBarId) ||
        !m_vScroll.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), this, VertBarId))
        return -1;
    m_loader = std::make_unique<CThumbLoader>(CellWidth, CellHeight);
    m_selItem = -1;
    m_caretItem = 0;
    m_loadIndex = 0;
    UpdateScrollBars();
    EnsureVisible(0);
    return 0;
}

void CCustomThumbCtrl::OnDestroy()
{
    DeleteAllItems();
    Default();
    // A later Create makes them again.
    if (m_memDC) {
        DeleteDC(m_memDC);
        m_memDC = nullptr;
    }
    if (m_noImageFont) {
        DeleteObject(m_noImageFont);
        m_noImageFont = nullptr;
    }
}

void CCustomThumbCtrl::FreeItem(THUMB& item)
{
    if (item.item) {
        item.item->Release();
        delete item.item;
        item.item = nullptr;
    }
    if (item.thumbnail) {
        FreeDibImage(item.thumbnail);
        delete item.thumbnail;
        item.thumbnail = nullptr;
    }
}

void CCustomThumbCtrl::DeleteAllItems()
{
    if (m_loader)
        m_loader->Reset();
    m_pendingLoads = 0;
    m_loadIndex = static_cast<int>(m_items.GetSize());
    if (m_hWnd)
        KillTimer(TimerLoad);
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
        FreeItem(m_items[i]);
    m_items.RemoveAll();
    m_extraLabel = 0;
    m_selItem = -1;
    m_caretItem = 0;
    if (m_hWnd) {
        UpdateScrollBars();
        Repaint();
    }
}

void CCustomThumbCtrl::MeasureLabel(THUMB& item)
{
    RECT rc{0, 0, m_cellWidth, LabelHeight};
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, item.name, -1, &rc, DT_CALCRECT | kLabelFormat);
    SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    item.labelRect = rc;
}

BOOL CCustomThumbCtrl::SetFolder(const CPidl* folder)
{
    if (!folder || !folder->pidl || !m_hWnd)
        return FALSE;
    CWaitCursor wait;
    CPidl copy{nullptr, 0};
    copy.Assign(folder->pidl);
    CPidlArray found;
    std::vector<ShellFileFacts> facts;
    const int count = EnumShellFiles(copy, found, 0, &facts);
    if (count == 0 && !IsFolderPidl(copy)) {
        copy.Release();
        return FALSE;  // nothing to enumerate: the grid stays as it was
    }
    DeleteAllItems();
    // Pictures are decoded at the size of the cells (the icon dialogs use small ones).
    if (!m_loader || m_loader->BoxWidth() != m_cellWidth || m_loader->BoxHeight() != m_cellHeight)
        m_loader = std::make_unique<CThumbLoader>(m_cellWidth, m_cellHeight);
    std::vector<bool> taken(static_cast<size_t>(found.GetSize()), false);
    // Folders, hidden items and drives first, with their shell icons.
    for (INT_PTR i = 0; i < found.GetSize(); ++i) {
        const int kind = ClassifyShellFile(found[i], facts[i]);
        if (kind == 3 || !(kind == 1 || kind == 0 || IsDriveRootPidl(found[i].pidl)))
            continue;
        SHFILEINFOW info{};
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(found[i].pidl), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES | SHGFI_ADDOVERLAYS);
        THUMB item{new CPidl(found[i]), new DIB_IMAGE{}, 1, {}, info.szDisplayName};
        found[i].pidl = nullptr;  // the item owns it now
        if (CreateDib(item.thumbnail, 32, 32)) {
            FillDibBackground(item.thumbnail);
            if (info.hIcon) {
                HGDIOBJ old = SelectObject(m_memDC, item.thumbnail->bitmap);
                DrawIconEx(m_memDC, 0, 0, info.hIcon, 32, 32, 0, nullptr, DI_NORMAL);
                SelectObject(m_memDC, old);
            }
        } else {
            delete item.thumbnail;
            item.thumbnail = nullptr;
        }
        if (info.hIcon)
            DestroyIcon(info.hIcon);  // one per item, or the handles run out
        MeasureLabel(item);
        m_items.Add(item);
        taken[i] = true;
    }
    // Then the pictures, decoded in the background.
    for (INT_PTR i = 0; i < found.GetSize(); ++i) {
        if (taken[i] || !found[i].pidl || ClassifyShellFile(found[i], facts[i]) != 3)
            continue;
        // The listing's own facts: asking the shell again per picture took
        // longer than the rest of the listing together.
        THUMB item{new CPidl(found[i]), nullptr, 0, {}, facts[i].displayName};
        found[i].pidl = nullptr;
        MeasureLabel(item);
        if (m_items.GetSize() < MaxLoadIndex)
            item.loadId = ++m_nextLoadId;
        m_items.Add(item);
        if (item.loadId) {
            m_loader->Queue(item.loadId, facts[i].path.GetString());
            ++m_pendingLoads;
        }
    }
    for (INT_PTR i = 0; i < found.GetSize(); ++i)
        found[i].Release();
    copy.Release();
    m_loadIndex = 0;
    UpdateScrollBars();
    SetTimer(TimerLoad, 10);
    OnTimer(TimerLoad);
    FrameChanged();
    return TRUE;
}

int CCustomThumbCtrl::InsertItem(int index)
{
    const int count = static_cast<int>(m_items.GetSize());
    if (index < 0 || index > count)
        index = count;
    THUMB item{nullptr, nullptr, 0, {}, CString()};
    m_items.InsertAt(index, item);
    UpdateScrollBars();
    Repaint();
    return index;
}

BOOL CCustomThumbCtrl::SetItemBitmap(int index, const DIB_IMAGE* bitmap)
{
    if (index < 0 || index >= m_items.GetSize())
        return FALSE;
    THUMB& item = m_items[index];
    if (item.thumbnail) {
        FreeDibImage(item.thumbnail);
        delete item.thumbnail;
        item.thumbnail = nullptr;
    }
    if (bitmap) {
        auto* copy = new DIB_IMAGE{};
        ::GdiFlush();
        if (!SetDibBits(copy, bitmap->width, bitmap->height, bitmap->bits)) {
            delete copy;
            return FALSE;
        }
        AvoidPureBlack(copy);
        item.thumbnail = copy;
    }
    Repaint();
    // Clearing the thumbnail is a success too.
    return TRUE;
}

int CCustomThumbCtrl::GetColumns() const
{
    CRect client;
    GetClientRect(&client);
    return std::max(1, static_cast<int>(client.Width()) / ColumnPitch());
}

int CCustomThumbCtrl::ScrollPos() const
{
    if (!(GetStyle() & WS_VSCROLL))
        return 0;
    return std::max(0, GetScrollPos(SB_VERT));
}

int CCustomThumbCtrl::RowTop(int index) const
{
    return index / GetColumns() * RowPitch() - ScrollPos();
}

CRect CCustomThumbCtrl::CellRect(int index) const
{
    const int left = index % GetColumns() * ColumnPitch() + m_marginLeft;
    const int top = RowTop(index) + m_marginTop;
    return CRect(left, top, left + m_cellWidth, top + m_cellHeight);
}

void CCustomThumbCtrl::GetItemRect(RECT* rect, int index) const
{
    const int left = index % GetColumns() * ColumnPitch();
    const int top = RowTop(index);
    *rect = CRect(left, top, left + m_cellWidth, top + m_cellHeight);
}

void CCustomThumbCtrl::GetItemPath(int index, CString& path) const
{
    if (index < 0 || index >= m_items.GetSize()) {
        path.Empty();
        return;
    }
    const THUMB& item = m_items[index];
    path = item.item ? GetPidlPath(item.item->pidl) : CString();
    if (path.IsEmpty())
        path = item.name;
}

int CCustomThumbCtrl::HitTest(CPoint pt) const
{
    CRect client;
    GetClientRect(&client);
    for (int i = 0; i < m_items.GetSize(); ++i) {
        const int top = RowTop(i);
        if (top <= -RowPitch() || top >= client.Height())
            continue;
        // The painted cell: what the user sees is what the click hits.
        const CRect cell = CellRect(i);
        if (pt.x >= cell.left && pt.x < cell.right && pt.y >= cell.top && pt.y < cell.bottom)
            return i;
    }
    return -1;
}

void CCustomThumbCtrl::UpdateScrollBars()
{
    if (!m_hWnd)
        return;
    const int count = static_cast<int>(m_items.GetSize());
    const int columns = GetColumns();
    const int rows = std::max(1, (count + columns - 1) / columns);
    m_extraLabel = 0;
    for (int i = (rows - 1) * columns; i < count; ++i)
        m_extraLabel = std::max<int>(m_extraLabel, m_items[i].labelRect.bottom - m_items[i].labelRect.top - LabelHeight);
    SetVertContent(rows * RowPitch() + m_extraLabel);
}

void CCustomThumbCtrl::SetScrollPosition(int pos)
{
    SCROLLINFO si{sizeof(si), SIF_POS};
    si.nPos = pos;
    SetScrollInfo(SB_VERT, &si, FALSE);
    UpdateScrollBars();
    Repaint();
}

void CCustomThumbCtrl::SetCurSel(int index)
{
    m_selItem = m_caretItem = index;
    EnsureVisible(index);
}

BOOL CCustomThumbCtrl::EnsureVisible(int index)
{
    CRect client;
    GetClientRect(&client);
    if (!IsWindowVisible() || client.Width() < ColumnPitch())
        return FALSE;
    const int top = RowTop(index);
    const int pos = ScrollPos();
    if (top + RowPitch() > client.Height())
        SetScrollPosition(pos + top + RowPitch() - client.Height());
    else if (top < 0)
        SetScrollPosition(pos + top);
    Repaint();
    return TRUE;
}

void CCustomThumbCtrl::OnSize(UINT, int, int)
{
    if (m_inSize)
        return;
    m_inSize = true;
    CRect client;
    GetClientRect(&client);
    if (client.Width() != m_backBuffer.width || client.Height() != m_backBuffer.height) {
        FreeDibImage(&m_backBuffer);
        if (client.Width() > 0 && client.Height() > 0)
            CreateDib(&m_backBuffer, client.Width(), client.Height());
    }
    UpdateScrollBars();
    Repaint();
    m_inSize = false;
}

void CCustomThumbCtrl::OnTimer(UINT_PTR id)
{
    if (id != TimerLoad) {
        Default();
        return;
    }
    CRect client;
    GetClientRect(&client);
    bool repaint = false;
    CThumbLoader::Result done;
    while (m_loader && m_loader->Take(done)) {
        --m_pendingLoads;
        // Results name their item, not its place: items inserted meanwhile
        // moved the later ones. They come in order, so the search starts where
        // the last one was found.
        const int count = static_cast<int>(m_items.GetSize());
        int index = -1;
        for (int k = 0; k < count && index < 0; ++k) {
            const int at = (m_loadIndex + k) % count;
            if (m_items[at].loadId == done.index)
                index = at;
        }
        if (index >= 0)
            m_loadIndex = index + 1;
        if (index >= 0 && !m_items[index].thumbnail && done.loaded) {
            m_items[index].thumbnail = new DIB_IMAGE(done.image);
            const int top = RowTop(index);
            repaint = repaint || (top > -RowPitch() && top < client.Height());
        } else {
            FreeDibImage(&done.image);
        }
    }
    if (m_pendingLoads <= 0) {
        m_loadIndex = static_cast<int>(m_items.GetSize());
        KillTimer(TimerLoad);
        repaint = true;
    }
    if (repaint)
        Repaint();
}

CRect CCustomThumbCtrl::CenteredLabel(const THUMB& item, const CRect& cell) const
{
    const int w = item.labelRect.right - item.labelRect.left;
    const int h = item.labelRect.bottom - item.labelRect.top;
    const int left = cell.left + (m_cellWidth - w) / 2;
    const int top = cell.top + LabelTop;
    return CRect(left, top, left + w, top + h);
}

void CCustomThumbCtrl::DrawLabel(HDC dc, const THUMB& item, const CRect& cell, UINT flags) const
{
    RECT rc{cell.left, cell.top + LabelTop, cell.left + m_cellWidth, cell.top + LabelTop + LabelHeight + m_extraLabel};
    DrawTextW(dc, item.name, -1, &rc, flags);
}

void CCustomThumbCtrl::Paint(HDC dc, const CRect& client)
{
    const bool focused = ::GetFocus() == m_hWnd;
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, 0xFFFFFF);
    SetBkColor(dc, 0xC19379);
    SetBkMode(dc, TRANSPARENT);
    Fill(dc, client, m_noLabels ? kBackNoLabels : kBack);
    const int count = static_cast<int>(m_items.GetSize());
    for (int i = 0; i < count; ++i) {
        const int top = RowTop(i);
        if (top <= -RowPitch() || top >= client.Height())
            continue;
        const THUMB& item = m_items[i];
        const CRect cell = CellRect(i);
        if (!m_noLabels)
            DrawLabel(dc, item, cell, kLabelFormat);
        Frame(dc, Grown(cell, 1, 1), kOutline);
        if (i == m_caretItem && !m_noLabels)
            Frame(dc, Grown(CenteredLabel(item, cell), 3, 2), focused ? kLabelFrame : 0);
        if (item.thumbnail && item.thumbnail->bits) {
            DrawDib(item.thumbnail, dc, cell.left + (m_cellWidth - item.thumbnail->width) / 2,
                    cell.top + (m_cellHeight - item.thumbnail->height) / 2);
        } else if (m_useShellIcon) {
            m_iconList.Draw(dc, 0, CPoint(cell.left + (m_cellWidth - 32) / 2, cell.top + (m_cellHeight - 32) / 2),
                            ILD_NORMAL);
        } else {
            HGDIOBJ f = SelectObject(dc, m_noImageFont);
            SetTextColor(dc, 0x666463);
            RECT band{cell.left, cell.top + m_cellHeight / 2 - 6, cell.right, cell.top + m_cellHeight / 2 + 6};
            DrawTextW(dc, L"No Image", -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            SetTextColor(dc, 0xFFFFFF);
            SelectObject(dc, f);
        }
    }
    if (m_selItem >= 0 && m_selItem < count) {
        const THUMB& item = m_items[m_selItem];
        const CRect cell = CellRect(m_selItem);
        if (!m_noLabels) {
            const CRect label = CenteredLabel(item, cell);
            Fill(dc, Grown(label, 2, 1), kLabelFrame);
            Frame(dc, Grown(label, 3, 2), focused ? kLabelFrame : 0);
            SetTextColor(dc, focused ? 0xFCFAF8 : 0);
            DrawLabel(dc, item, cell, kLabelFormat);
        }
        Frame(dc, cell, kSelFrame);
        Frame(dc, Grown(cell, 1, 1), kSelFrame);
        Frame(dc, CRect(cell.left - 1, cell.top - 1, cell.right, cell.bottom), kSelFrameInner);
    }
    SelectObject(dc, oldFont);
}

void CCustomThumbCtrl::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty() || !m_backBuffer.bitmap || !m_memDC)
        return;
    HGDIOBJ old = SelectObject(m_memDC, m_backBuffer.bitmap);
    Paint(m_memDC, client);
    BitBlt(paint.m_hDC, 0, 0, client.Width(), client.Height(), m_memDC, 0, 0, SRCCOPY);
    SelectObject(m_memDC, old);
}

void CCustomThumbCtrl::NotifyItemChanged(int oldItem, int newItem, CPoint pt)
{
    SendItemChanged(m_hWnd, oldItem, 0, LVIS_SELECTED, 0, pt);
    SendItemChanged(m_hWnd, newItem, LVIS_SELECTED, 0, 0, pt);
}

void CCustomThumbCtrl::SelectFromMouse(CPoint pt, bool armDrag)
{
    const int hit = HitTest(pt);
    if (hit != m_selItem)
        NotifyItemChanged(m_selItem, hit, pt);
    m_selItem = hit;
    if (hit != -1)
        m_caretItem = hit;
    SetFocus();
    Repaint();
    m_dragArmed = armDrag;
    m_dragPoint = pt;
}

void CCustomThumbCtrl::OnLButtonDown(UINT, CPoint pt)
{
    SelectFromMouse(pt, true);
}

void CCustomThumbCtrl::OnLButtonUp(UINT, CPoint)
{
    m_dragArmed = FALSE;
}

void CCustomThumbCtrl::OnLButtonDblClk(UINT, CPoint pt)
{
    const int hit = HitTest(pt);
    if (hit != -1 && hit == m_selItem) {
        NMLISTVIEW nm = ListViewNotify(hit, 0, pt);
        SendNotifyToParent(m_hWnd, &nm.hdr, NM_DBLCLK);
        m_dragPoint = pt;
    } else {
        SelectFromMouse(pt, false);
    }
}

void CCustomThumbCtrl::OnRButtonDown(UINT, CPoint pt)
{
    SelectFromMouse(pt, false);
}

void CCustomThumbCtrl::OnRButtonDblClk(UINT, CPoint pt)
{
    SelectFromMouse(pt, false);
    UpdateWindow();
}

void CCustomThumbCtrl::OnRButtonUp(UINT, CPoint pt)
{
    ClientToScreen(&pt);
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(pt.x, pt.y));
}

void CCustomThumbCtrl::OnMButtonDown(UINT, CPoint)
{
    SetFocus();
}

void CCustomThumbCtrl::OnMouseMove(UINT, CPoint)
{
    if (!m_dragArmed)
        return;
    POINT start = m_dragPoint;
    ClientToScreen(&start);
    if (!DragDetect(m_hWnd, start))
        return;
    m_dragArmed = FALSE;
    NMLISTVIEW nm = ListViewNotify(m_selItem, 0, m_dragPoint);
    SendNotifyToParent(m_hWnd, &nm.hdr, LVN_BEGINDRAG);
}

void CCustomThumbCtrl::OnKeyDown(UINT key, UINT, UINT)
{
    const int count = static_cast<int>(m_items.GetSize());
    if (count == 0) {
        Default();
        return;
    }
    CRect client;
    GetClientRect(&client);
    const int columns = GetColumns();
    const int lastRow = (count - 1) / columns;
    const int caret = std::clamp(m_caretItem, 0, count - 1);
    const int row = caret / columns, column = caret % columns;
    const int visibleRows = std::max(1, static_cast<int>(client.Height()) / RowPitch());
    int target;
    switch (key) {
    case VK_LEFT: target = column > 0 ? caret - 1 : caret; break;
    case VK_RIGHT: target = column < columns - 1 ? caret + 1 : caret; break;
    case VK_UP: target = row > 0 ? caret - columns : caret; break;
    case VK_DOWN: target = row < lastRow ? caret + columns : caret; break;
    case VK_PRIOR: target = std::max(0, row - (visibleRows + 1)) * columns + column; break;
    case VK_NEXT: target = std::min(lastRow, row + visibleRows + 1) * columns + column; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    default: Default(); return;
    }
    target = std::min(target, count - 1);
    if (target == m_caretItem)
        return;
    NotifyItemChanged(m_selItem, target, CPoint(0, 0));
    m_caretItem = m_selItem = target;
    EnsureVisible(target);
}

void CCustomThumbCtrl::OnVScroll(UINT code, UINT, CScrollBar*)
{
    SCROLLINFO si{sizeof(si), SIF_ALL};
    GetScrollInfo(SB_VERT, &si);
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP: pos -= RowPitch() / 2; break;
    case SB_LINEDOWN: pos += RowPitch() / 2; break;
    case SB_PAGEUP: pos -= RowPitch(); break;
    case SB_PAGEDOWN: pos += RowPitch(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = m_vScroll.m_trackPos; break;
    default: return;
    }
    SetScrollPosition(std::clamp(pos, si.nMin, std::max(si.nMin, si.nMax)));
}

BOOL CCustomThumbCtrl::OnMouseWheel(UINT, short delta, CPoint)
{
    if (!(GetStyle() & WS_VSCROLL))
        return FALSE;
    SCROLLINFO si{sizeof(si), SIF_ALL};
    GetScrollInfo(SB_VERT, &si);
    const int step = 99 + m_extraLabel;
    const int pos = std::clamp(si.nPos + (delta > 0 ? -step : step), si.nMin, std::max(si.nMin, si.nMax));
    m_vScroll.m_trackPos = pos;
    SetScrollPosition(pos);
    return TRUE;
}

void CCustomThumbCtrl::SendFocusChanged()
{
    if (CWnd* owner = CWnd::GetSafeOwner(nullptr))
        owner->SendMessage(WM_COMMAND, ID_FOCUSCHANGED, 0);
}

void CCustomThumbCtrl::OnSetFocus(CWnd*)
{
    Default();
    SendFocusChanged();
    Repaint();
}

void CCustomThumbCtrl::OnKillFocus(CWnd*)
{
    Default();
    Repaint();
    SendFocusChanged();
}

CImageList* CCustomThumbCtrl::CreateDragImage(int index, POINT* cellOrigin)
{
    if (index < 0 || index >= m_items.GetSize())
        return nullptr;
    const THUMB& item = m_items[index];
    const CRect cell(m_marginLeft, m_marginTop, m_marginLeft + m_cellWidth, m_marginTop + m_cellHeight);
    const CRect label = CenteredLabel(item, cell);
    const int width = ColumnPitch(), height = std::max<int>(RowPitch(), label.bottom);
    DIB_IMAGE image{};
    if (!CreateDib(&image, width, height))
        return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, image.bitmap);
    Fill(dc, CRect(0, 0, width, height), 0);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, 0);
    SetBkColor(dc, 0x400000);
    RECT rc = label;
    DrawTextW(dc, item.name, -1, &rc, kLabelFormat);
    SelectObject(dc, oldFont);
    if (item.thumbnail && item.thumbnail->bits)
        DrawDib(item.thumbnail, dc, cell.left + (m_cellWidth - item.thumbnail->width) / 2,
                cell.top + (m_cellHeight - item.thumbnail->height) / 2);
    else
        m_iconList.Draw(dc, 0, CPoint(cell.left + (m_cellWidth - 32) / 2, cell.top + (m_cellHeight - 32) / 2),
                        ILD_NORMAL);
    SelectObject(dc, old);
    DeleteDC(dc);
    auto* list = new CImageList;
    if (!list->Create(width, height, ILC_COLOR24 | ILC_MASK, 1, 0) || list->Add(image.bitmap, RGB(0, 0, 0)) < 0) {
        delete list;
        list = nullptr;
    }
    FreeDibImage(&image);
    if (list && cellOrigin) {
        RECT rect;
        GetItemRect(&rect, index);
        cellOrigin->x = rect.left;
        cellOrigin->y = rect.top;
    }
    return list;
}

