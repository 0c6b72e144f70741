#include "controls/CustomTreeCtrl.h"

#include <algorithm>

#include "classlib/CMemDC.h"
#include "common/Utility.h"
#include "core/RegisteredMessages.h"

namespace {

constexpr COLORREF kBack = 0x231E1E;
constexpr COLORREF kCaretBox = 0xAEA49D;
constexpr COLORREF kExpandBox = 0x808080;
constexpr COLORREF kDropText = 0x493B30;
constexpr UINT kTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

wchar_t* CopyText(const wchar_t* text)
{
    if (!text || text == LPSTR_TEXTCALLBACKW)
        return const_cast<wchar_t*>(text);
    return _wcsdup(text);
}

void FreeText(wchar_t* text)
{
    if (text && text != LPSTR_TEXTCALLBACKW)
        free(text);
}

void CopyRecord(TVITEMW& to, const CCustomTreeCtrl::_treeitem* node)
{
    if (node)
        to = node->item;
    else
        to = TVITEMW{};
}

}  // namespace

BEGIN_MESSAGE_MAP(CCustomTreeCtrl::CCustomToolTipCtrl, CToolTipCtrl)
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

void CCustomTreeCtrl::CCustomToolTipCtrl::OnWindowPosChanging(WINDOWPOS* pos)
{
    Default();
    pos->x = m_tipPos.x;
    pos->y = m_tipPos.y;
}

BEGIN_MESSAGE_MAP(CCustomTreeCtrl, CScrollHostWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_TIMER()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_REGISTERED_MESSAGE(WM_END_EDIT_LABEL, OnEndEditLabel)
END_MESSAGE_MAP()

CCustomTreeCtrl::CCustomTreeCtrl() : CScrollHostWnd(&m_vScroll, &m_hScroll)
{
    m_root.item.state = TVIS_EXPANDED;
}

CCustomTreeCtrl::~CCustomTreeCtrl()
{
    if (m_hWnd && m_createdHere)
        DestroyWindow();
    while (m_root.firstChild) {
        _treeitem* next = m_root.firstChild->nextSibling;
        FreeSubtree(m_root.firstChild);
        m_root.firstChild = next;
    }
    if (m_font)
        DeleteObject(m_font);
    if (m_measureDC)
        DeleteDC(m_measureDC);
}

BOOL CCustomTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, void* context)
{
    return CWnd::Create(nullptr, nullptr, style, rect, parent, id, context);
}

BOOL CCustomTreeCtrl::PreCreateWindow(CREATESTRUCTW& cs)
{
    // The bars come and go with the content.
    cs.style &= ~(WS_VSCROLL | WS_HSCROLL);
    return CWnd::PreCreateWindow(cs);
}

int CCustomTreeCtrl::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!CreateTahomaFont(FALSE, &m_font, 100, FALSE))
        return -1;
    m_measureDC = CreateCompatibleDC(nullptr);
    SelectObject(m_measureDC, m_font);
    if (!m_toolTip.Create(this, TTS_ALWAYSTIP | TTS_NOPREFIX))
        return -1;
    m_toolTip.ModifyStyleEx(0, WS_EX_TOPMOST | WS_EX_TRANSPARENT);
    m_toolTip.SetFont(m_font, FALSE);
    m_toolTip.SetMargin(CRect(2, 2, 2, 2));
    m_toolTip.SetDelayTime(TTDT_AUTOPOP, 5000);
    m_toolTip.SetDelayTime(TTDT_INITIAL, 0);
    m_toolTip.AddTool(this, L"");
    m_rowHeight = DefaultRowHeight;
    m_imageList = nullptr;
    m_iconSize = SIZE{0, 0};
    m_caret = nullptr;
    m_topIndex = 0;
    m_rowsPerPage = 1;
    m_editing = FALSE;
    if (!m_hScroll.Create(WS_CHILD | SBS_HORZ, CRect(0, 0, 0, 0), this, HorzBarId) ||
        !m_vScroll.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), this, VertBarId))
        return -1;
    return 0;
}

void CCustomTreeCtrl::OnDestroy()
{
    CancelEdit();
    m_caret = nullptr;
    DeleteAllItems();
    if (m_toolTip.m_hWnd)
        m_toolTip.DestroyWindow();
    Default();
    // A later Create makes both again.
    if (m_measureDC) {
        DeleteDC(m_measureDC);
        m_measureDC = nullptr;
    }
    if (m_font) {
        DeleteObject(m_font);
        m_font = nullptr;
    }
}

// Nodes -----------------------------------------------------------------

HTREEITEM CCustomTreeCtrl::InsertItem(const TVINSERTSTRUCTW* insert)
{
    if (!insert)
        return nullptr;
    _treeitem* parent = insert->hParent && insert->hParent != TVI_ROOT ? Node(insert->hParent) : &m_root;
    auto* node = new (std::nothrow) _treeitem{};
    if (!node)
        return nullptr;
    node->item = insert->item;
    node->item.hItem = Handle(node);
    node->item.pszText = (insert->item.mask & TVIF_TEXT) ? CopyText(insert->item.pszText) : nullptr;
    node->parent = parent;
    node->textWidth = -1;
    // Always the last child: where it was asked to go is not used.
    _treeitem** link = &parent->firstChild;
    while (*link)
        link = &(*link)->nextSibling;
    *link = node;
    ++m_count;
    RecalcLayout();
    return Handle(node);
}

HTREEITEM CCustomTreeCtrl::InsertItem(const wchar_t* text, HTREEITEM parent, int image, LPARAM param)
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(text);
    insert.item.iImage = insert.item.iSelectedImage = image;
    insert.item.lParam = param;
    return InsertItem(&insert);
}

HTREEITEM CCustomTreeCtrl::AddChild(HTREEITEM node)
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = node;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(L"");
    insert.item.iImage = insert.item.iSelectedImage = -1;
    return InsertItem(&insert);
}

void CCustomTreeCtrl::FreeSubtree(_treeitem* node)
{
    for (_treeitem* child = node->firstChild; child;) {
        _treeitem* next = child->nextSibling;
        FreeSubtree(child);
        child = next;
    }
    FreeText(node->item.pszText);
    delete node;
    --m_count;
}

bool CCustomTreeCtrl::Contains(const _treeitem* top, const _treeitem* node) const
{
    for (; node; node = node->parent)
        if (node == top)
            return true;
    return false;
}

BOOL CCustomTreeCtrl::DeleteItem(HTREEITEM handle)
{
    _treeitem* node = Node(handle);
    if (!node || node == &m_root || handle == TVI_ROOT)
        return FALSE;
    // Nothing may keep pointing into the freed nodes: an open editor on one
    // of them is cancelled, the caret and drop mark let go.
    if (m_editNode && Contains(node, m_editNode)) {
        CancelEdit();
        m_editNode = nullptr;
    }
    if (m_caret && Contains(node, m_caret))
        m_caret = nullptr;
    if (m_dropHilite && Contains(node, m_dropHilite))
        m_dropHilite = nullptr;
    _treeitem** link = &node->parent->firstChild;
    while (*link && *link != node)
        link = &(*link)->nextSibling;
    if (*link)
        *link = node->nextSibling;
    FreeSubtree(node);
    m_visible.RemoveAll();
    RecalcLayout();
    return TRUE;
}

void CCustomTreeCtrl::DeleteAllItems()
{
    while (m_root.firstChild)
        DeleteItem(Handle(m_root.firstChild));
}

HTREEITEM CCustomTreeCtrl::GetNextItem(HTREEITEM handle, UINT code)
{
    _treeitem* node = Node(handle);
    auto real = [this](_treeitem* n) { return n == &m_root ? nullptr : Handle(n); };
    switch (code) {
    case TVGN_ROOT: return Handle(m_root.firstChild);
    case TVGN_NEXT: return node ? Handle(node->nextSibling) : nullptr;
    case TVGN_PARENT: return node ? real(node->parent) : nullptr;
    case TVGN_CHILD: return node ? Handle(node->firstChild) : Handle(m_root.firstChild);
    case TVGN_FIRSTVISIBLE:
        EnsureLayout();
        return m_topIndex < m_visible.GetSize() ? Handle(m_visible[m_topIndex]) : nullptr;
    case TVGN_NEXTVISIBLE:
        if (!node)
            return nullptr;
        if ((node->item.state & TVIS_EXPANDED) && node->firstChild)
            return Handle(node->firstChild);
        for (; node && node != &m_root; node = node->parent)
            if (node->nextSibling)
                return Handle(node->nextSibling);
        return nullptr;
    case TVGN_DROPHILITE: return Handle(m_dropHilite);
    case TVGN_CARET: return Handle(m_caret);
    default: return nullptr;  // TVGN_PREVIOUS, TVGN_PREVIOUSVISIBLE and others
    }
}

TVITEMW* CCustomTreeCtrl::GetItem(HTREEITEM node) const
{
    return node && node != TVI_ROOT ? &Node(node)->item : nullptr;
}

BOOL CCustomTreeCtrl::ItemHasChildren(HTREEITEM node) const
{
    return node && Node(node)->firstChild != nullptr;
}

BOOL CCustomTreeCtrl::IsExpanded(HTREEITEM node) const
{
    return node && (Node(node)->item.state & TVIS_EXPANDED) != 0;
}

CString CCustomTreeCtrl::GetItemText(HTREEITEM node) const
{
    if (!node)
        return CString();
    const wchar_t* text = Node(node)->item.pszText;
    return text && text != LPSTR_TEXTCALLBACKW ? CString(text) : CString();
}

BOOL CCustomTreeCtrl::SetItemText(HTREEITEM handle, const wchar_t* text)
{
    _treeitem* node = Node(handle);
    if (!node)
        return FALSE;
    FreeText(node->item.pszText);
    node->item.pszText = CopyText(text);
    node->item.mask |= TVIF_TEXT;
    node->textWidth = -1;
    return TRUE;
}

CImageList* CCustomTreeCtrl::SetImageList(CImageList* list)
{
    HIMAGELIST old = m_imageList;
    m_imageList = list ? list->GetSafeHandle() : nullptr;
    m_iconSize = SIZE{0, 0};
    if (m_imageList) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(m_imageList, &cx, &cy);
        m_iconSize = SIZE{cx, cy};
    }
    m_rowHeight = std::max<int>(DefaultRowHeight, m_imageList ? m_iconSize.cy + 1 : 0);
    RecalcLayout();
    return old ? CImageList::FromHandle(old) : nullptr;
}

LRESULT CCustomTreeCtrl::Notify(int code, UINT action, _treeitem* oldNode, _treeitem* newNode, POINT drag)
{
    CWnd* parent = GetParent();
    if (!parent)
        return 0;
    NMTREEVIEWW nm{};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nm.hdr.code = static_cast<UINT>(code);
    nm.action = action;
    CopyRecord(nm.itemOld, oldNode);
    CopyRecord(nm.itemNew, newNode);
    nm.ptDrag = drag;
    return parent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

BOOL CCustomTreeCtrl::SelectItem(HTREEITEM handle)
{
    _treeitem* node = Node(handle);
    if (node != m_caret) {
        // The parent cannot refuse: what it answers to the first is not read.
        _treeitem* old = m_caret;
        Notify(TVN_SELCHANGINGW, m_selAction, old, node);
        m_caret = node;
        Notify(TVN_SELCHANGEDW, m_selAction, old, node);
    }
    m_selAction = 0;
    RecalcLayout();
    return TRUE;
}

void CCustomTreeCtrl::Toggle(_treeitem* node, UINT action)
{
    if (action == TVE_TOGGLE)
        action = (node->item.state & TVIS_EXPANDED) ? TVE_COLLAPSE : TVE_EXPAND;
    Notify(TVN_ITEMEXPANDINGW, action, nullptr, node);
    if (action == TVE_EXPAND)
        node->item.state |= TVIS_EXPANDED;
    else
        node->item.state &= ~TVIS_EXPANDED;
    Notify(TVN_ITEMEXPANDEDW, action, nullptr, node);
    RecalcLayout();
}

BOOL CCustomTreeCtrl::Expand(HTREEITEM handle, UINT action)
{
    if (!handle || handle == TVI_ROOT)
        return FALSE;
    Toggle(Node(handle), action);
    return TRUE;
}

// Layout ----------------------------------------------------------------

void CCustomTreeCtrl::RecalcLayout()
{
    m_layoutDirty = true;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CCustomTreeCtrl::EnsureLayout()
{
    if (m_layoutDirty && !m_inLayout)
        Layout();
}

int CCustomTreeCtrl::TextWidth(_treeitem* node)
{
    if (node->textWidth < 0) {
        node->textWidth = 0;
        const wchar_t* text = node->item.pszText;
        if (text && text != LPSTR_TEXTCALLBACKW && *text && m_measureDC) {
            RECT rc{0, 0, 0, 0};
            DrawTextW(m_measureDC, text, -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            node->textWidth = rc.right - rc.left;
        }
    }
    return node->textWidth;
}

void CCustomTreeCtrl::Layout()
{
    m_inLayout = true;
    m_layoutDirty = false;
    m_visible.RemoveAll();
    // Depth first through the expanded part.
    for (_treeitem* node = m_root.firstChild; node;) {
        int level = 0;
        for (_treeitem* p = node->parent; p != &m_root; p = p->parent)
            ++level;
        node->level = level;
        m_visible.Add(node);
        if ((node->item.state & TVIS_EXPANDED) && node->firstChild) {
            node = node->firstChild;
            continue;
        }
        while (node && node != &m_root && !node->nextSibling)
            node = node->parent;
        node = node && node != &m_root ? node->nextSibling : nullptr;
    }
    for (INT_PTR k = 0; k < m_visible.GetSize(); ++k) {
        _treeitem* node = m_visible[k];
        RECT& rc = node->rect;
        rc.left = node->level * Indent + 2 + (node->level > 0 ? 12 : 0);
        rc.right = rc.left + m_iconSize.cx + 4;
        const wchar_t* text = node->item.pszText;
        if (text && text != LPSTR_TEXTCALLBACKW && *text)
            rc.right += TextWidth(node) + 1;
        rc.top = Top + static_cast<int>(k) * m_rowHeight;
        rc.bottom = rc.top + m_rowHeight;
    }
    if (m_hWnd) {
        UpdateScrollBars();
        Invalidate(FALSE);
    }
    m_inLayout = false;
}

int CCustomTreeCtrl::GetVisibleCount()
{
    EnsureLayout();
    return static_cast<int>(m_visible.GetSize());
}

int CCustomTreeCtrl::VisibleIndex(const _treeitem* node)
{
    EnsureLayout();
    for (INT_PTR k = 0; k < m_visible.GetSize(); ++k)
        if (m_visible[k] == node)
            return static_cast<int>(k);
    return -1;
}

int CCustomTreeCtrl::HorzPos() const
{
    return (GetStyle() & WS_HSCROLL) ? std::max(0, GetScrollPos(SB_HORZ)) : 0;
}

void CCustomTreeCtrl::UpdateScrollBars()
{
    if (!m_hWnd)
        return;
    const bool outer = !m_inLayout;
    if (outer)
        m_inLayout = true;
    if (m_layoutDirty) {
        m_inLayout = false;
        Layout();  // lays out and comes back here
        return;
    }
    CRect client;
    GetClientRect(&client);
    m_rowsPerPage = std::max(1, (static_cast<int>(client.Height()) - Top) / m_rowHeight);
    int widest = 0;
    for (INT_PTR k = 0; k < m_visible.GetSize(); ++k)
        widest = std::max<int>(widest, m_visible[k]->rect.right);
    const int count = static_cast<int>(m_visible.GetSize());
    DWORD style = GetStyle();
    const DWORD before = style;

    SCROLLINFO h{sizeof(h), SIF_ALL};
    GetScrollInfo(SB_HORZ, &h);
    const bool needH = widest > client.right;
    h.fMask = SIF_ALL;
    h.nMin = 0;
    h.nMax = needH ? widest - 1 : 1;
    h.nPage = needH ? static_cast<UINT>(client.right) : 1;
    h.nPos = needH ? std::clamp(h.nPos, 0, std::max(0, h.nMax - static_cast<int>(h.nPage) + 1)) : 0;
    SetScrollInfo(SB_HORZ, &h, FALSE);

    SCROLLINFO v{sizeof(v), SIF_ALL};
    GetScrollInfo(SB_VERT, &v);
    const bool needV = m_rowsPerPage < count;
    const int oldTop = m_topIndex;
    v.fMask = SIF_ALL;
    v.nMin = 0;
    v.nMax = needV ? count - 1 : 1;
    v.nPage = needV ? static_cast<UINT>(m_rowsPerPage) : 1;
    v.nPos = needV ? std::clamp(m_topIndex, 0, std::max(0, v.nMax - static_cast<int>(v.nPage) + 1)) : 0;
    SetScrollInfo(SB_VERT, &v, FALSE);
    m_topIndex = v.nPos;
    if (m_topIndex != oldTop)
        UpdateToolTipForCursor();

    style = (style & ~(WS_HSCROLL | WS_VSCROLL)) | (needH ? WS_HSCROLL : 0) | (needV ? WS_VSCROLL : 0);
    if (style != before || (GetStyle() & (WS_HSCROLL | WS_VSCROLL)) != (style & (WS_HSCROLL | WS_VSCROLL))) {
        ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
        FrameChanged();
        // A bar that came or went changed the client height.
        GetClientRect(&client);
        m_rowsPerPage = std::max(1, (static_cast<int>(client.Height()) - Top) / m_rowHeight);
        if (needV) {
            v.fMask = SIF_PAGE | SIF_POS;
            v.nPage = static_cast<UINT>(m_rowsPerPage);
            v.nPos = std::clamp(m_topIndex, 0, std::max(0, v.nMax - m_rowsPerPage + 1));
            SetScrollInfo(SB_VERT, &v, FALSE);
            m_topIndex = v.nPos;
        }
    }
    CCustomScrollBar::RedrawNC(&m_hScroll);
    CCustomScrollBar::RedrawNC(&m_vScroll);
    m_hScroll.UpdateThumbFromPos();
    m_vScroll.UpdateThumbFromPos();
    if (outer)
        m_inLayout = false;
}

BOOL CCustomTreeCtrl::GetItemRect(HTREEITEM handle, RECT* rect, BOOL textOnly)
{
    EnsureLayout();
    _treeitem* node = Node(handle);
    const int index = VisibleIndex(node);
    if (!node || index < m_topIndex)
        return FALSE;
    *rect = node->rect;
    OffsetRect(rect, -HorzPos(), -m_rowHeight * m_topIndex);
    if (textOnly)
        rect->left += m_iconSize.cx + 3;
    return TRUE;
}

HTREEITEM CCustomTreeCtrl::HitTest(int x, int y)
{
    EnsureLayout();
    const POINT pt{x, y};
    for (INT_PTR k = m_topIndex; k < m_visible.GetSize(); ++k) {
        RECT rc = m_visible[k]->rect;
        OffsetRect(&rc, -HorzPos(), -m_rowHeight * m_topIndex);
        if (rc.top > y)
            break;
        if (PtInRect(&rc, pt))
            return Handle(m_visible[k]);
    }
    return nullptr;
}

BOOL CCustomTreeCtrl::EnsureVisible(HTREEITEM handle)
{
    _treeitem* node = Node(handle);
    if (!node || handle == TVI_ROOT)
        return FALSE;
    // Every ancestor opens; a node not in this tree is refused.
    _treeitem* p = node->parent;
    for (; p && p != &m_root; p = p->parent)
        p->item.state |= TVIS_EXPANDED;
    if (p != &m_root)
        return FALSE;
    m_layoutDirty = true;
    EnsureLayout();
    const int index = std::max(0, VisibleIndex(node));
    m_caret = node;
    FrameChanged();
    int top = m_topIndex;
    if (index < top)
        top = index;
    else if (index > top + m_rowsPerPage - 1)
        top = index + 1 - m_rowsPerPage;
    m_topIndex = std::clamp(top, 0, std::max(0, static_cast<int>(m_visible.GetSize()) - m_rowsPerPage));
    SetScrollPos(SB_VERT, m_topIndex, FALSE);
    Invalidate(FALSE);
    UpdateToolTipForCursor();
    UpdateScrollBars();
    return TRUE;
}

// Painting --------------------------------------------------------------

void CCustomTreeCtrl::DrawTree(CDC* cdc)
{
    HDC dc = cdc->GetSafeHdc();
    CRect client;
    GetClientRect(&client);
    HBRUSH back = CreateSolidBrush(kBack);
    FillRect(dc, &client, back);
    DeleteObject(back);
    HGDIOBJ oldFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    SetDCPenColor(dc, kCaretBox);
    SetDCBrushColor(dc, kCaretBox);
    HPEN boxPen = CreatePen(PS_SOLID, 1, kExpandBox);
    HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    const int hpos = HorzPos();
    int y = Top;
    for (INT_PTR k = m_topIndex; k < m_visible.GetSize() && y < client.bottom; ++k, y += m_rowHeight) {
        _treeitem* node = m_visible[k];
        int x = node->level * Indent + 2 - hpos;
        if (node->level > 0) {
            if (node->firstChild) {
                const int mid = y + m_iconSize.cy / 2;
                const RECT box{x + 2, mid - 4, x + 11, mid + 5};
                HGDIOBJ p = SelectObject(dc, boxPen);
                HGDIOBJ b = SelectObject(dc, GetStockObject(NULL_BRUSH));
                Rectangle(dc, box.left, box.top, box.right, box.bottom);
                SelectObject(dc, white);
                const int cy = (box.top + box.bottom - 1) / 2, cx = (box.left + box.right - 1) / 2;
                MoveToEx(dc, box.left + 2, cy, nullptr);
                LineTo(dc, box.right - 2, cy);
                if (!(node->item.state & TVIS_EXPANDED)) {
                    MoveToEx(dc, cx, box.top + 2, nullptr);
                    LineTo(dc, cx, box.bottom - 2);
                }
                SelectObject(dc, b);
                SelectObject(dc, p);
            }
            x += 12;
        }
        if (m_imageList) {
            UINT style = (node->item.state & TVIS_OVERLAYMASK) | ((node->item.state & TVIS_CUT) ? ILD_BLEND25 : 0);
            ImageList_DrawEx(m_imageList, node->item.iImage, dc, x + 2, y + (m_rowHeight - m_iconSize.cy) / 2, 0, 0,
                             CLR_NONE, CLR_NONE, style);
            x += m_iconSize.cx;
        }
        const wchar_t* text = node->item.pszText;
        if (text && text != LPSTR_TEXTCALLBACKW && *text) {
            RECT rc{x + 4, y, x + 4 + TextWidth(node) + 2, y + m_rowHeight - 1};
            if (node == m_caret) {
                Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
                SetTextColor(dc, m_editing ? kBack : RGB(0, 0, 0));
            } else if (node == m_dropHilite) {
                SetTextColor(dc, kDropText);
                DrawFocusRect(dc, &rc);
            } else {
                SetTextColor(dc, RGB(255, 255, 255));
            }
            DrawTextW(dc, text, -1, &rc, kTextFormat);
        }
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(boxPen);
    DeleteObject(white);
    SelectObject(dc, oldFont);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
}

void CCustomTreeCtrl::OnPaint()
{
    EnsureLayout();
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CMemDC mem(&paint, client);
    DrawTree(&mem);
}

void CCustomTreeCtrl::OnSize(UINT, int, int)
{
    if (m_inLayout)
        return;
    m_layoutDirty = true;
    Layout();
}

// Mouse -----------------------------------------------------------------

void CCustomTreeCtrl::OnLButtonDown(UINT, CPoint pt)
{
    KillTimer(TimerEdit);
    m_clickEditPending = FALSE;
    m_downPoint = pt;
    m_dragArmed = FALSE;
    HTREEITEM hit = HitTest(pt.x, pt.y);
    SetFocus();
    if (hit) {
        if (Node(hit) == m_caret)
            m_clickEditPending = TRUE;
        m_selAction = TVC_BYMOUSE;
        SelectItem(hit);
        m_dragArmed = TRUE;
    } else if ((hit = HitTest(pt.x + 12, pt.y)) != nullptr) {
        // The expand box.
        m_selAction = TVC_BYMOUSE;
        SelectItem(hit);
        if (Node(hit)->firstChild)
            Toggle(Node(hit), TVE_TOGGLE);
    }
}

void CCustomTreeCtrl::OnLButtonDblClk(UINT, CPoint pt)
{
    KillTimer(TimerEdit);
    m_clickEditPending = FALSE;
    HTREEITEM hit = HitTest(pt.x, pt.y);
    if (!hit && (hit = HitTest(pt.x + 12, pt.y)) != nullptr) {
        m_selAction = TVC_BYMOUSE;
        SelectItem(hit);
    }
    if (hit && Node(hit)->firstChild)
        Toggle(Node(hit), TVE_TOGGLE);
}

void CCustomTreeCtrl::OnLButtonUp(UINT, CPoint)
{
    m_dragArmed = FALSE;
    if (m_clickEditPending)
        SetTimer(TimerEdit, GetDoubleClickTime());
}

void CCustomTreeCtrl::OnMouseMove(UINT, CPoint pt)
{
    if (!m_dragArmed)
        return;
    POINT start = m_downPoint;
    ClientToScreen(&start);
    if (!DragDetect(m_hWnd, start))
        return;
    m_dragArmed = FALSE;
    m_clickEditPending = FALSE;
    if (!m_caret)
        return;
    UpdateWindow();
    POINT now;
    GetCursorPos(&now);
    ScreenToClient(&now);
    CWnd* parent = GetParent();
    if (!parent)
        return;
    NMTREEVIEWW nm{};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nm.hdr.code = TVN_BEGINDRAGW;
    nm.itemNew.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    nm.itemNew.hItem = Handle(m_caret);
    nm.itemNew.state = m_caret->item.state;
    nm.itemNew.lParam = m_caret->item.lParam;
    nm.ptDrag = now;
    parent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void CCustomTreeCtrl::OnRButtonDown(UINT, CPoint)
{
    SetFocus();
}

void CCustomTreeCtrl::OnMButtonDown(UINT, CPoint)
{
    SetFocus();
}

void CCustomTreeCtrl::OnRButtonUp(UINT, CPoint pt)
{
    ClientToScreen(&pt);
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(pt.x, pt.y));
}

BOOL CCustomTreeCtrl::OnMouseWheel(UINT, short delta, CPoint)
{
    ScrollRows(delta > 0 ? SB_LINEUP : SB_LINEDOWN);
    UpdateScrollBars();
    return TRUE;
}

void CCustomTreeCtrl::OnTimer(UINT_PTR id)
{
    if (id != TimerEdit) {
        Default();
        return;
    }
    KillTimer(TimerEdit);
    m_clickEditPending = FALSE;
    if (::GetFocus() == m_hWnd && m_caret)
        EditLabel(Handle(m_caret));
}

// Keyboard --------------------------------------------------------------

void CCustomTreeCtrl::KeySelect(_treeitem* node)
{
    if (!node || node == m_caret)
        return;
    m_selAction = TVC_BYKEYBOARD;
    SelectItem(Handle(node));
    EnsureVisible(Handle(node));
    UpdateWindow();
}

void CCustomTreeCtrl::OnKeyDown(UINT key, UINT, UINT)
{
    if (!m_caret)
        return;
    EnsureLayout();
    const int count = static_cast<int>(m_visible.GetSize());
    const int index = VisibleIndex(m_caret);
    switch (key) {
    case VK_RETURN: EditLabel(Handle(m_caret)); break;
    case VK_UP:
        if (index > 0)
            KeySelect(m_visible[index - 1]);
        break;
    case VK_DOWN:
        if (index >= 0 && index + 1 < count)
            KeySelect(m_visible[index + 1]);
        break;
    case VK_PRIOR:
        if (count)
            KeySelect(m_visible[std::max(0, index - (m_rowsPerPage - 1))]);
        break;
    case VK_NEXT:
        if (count)
            KeySelect(m_visible[std::min(count - 1, index + (m_rowsPerPage - 1))]);
        break;
    case VK_LEFT:
        if ((m_caret->item.state & TVIS_EXPANDED) && m_caret->firstChild)
            Toggle(m_caret, TVE_COLLAPSE);
        else if (m_caret->parent != &m_root)
            KeySelect(m_caret->parent);
        break;
    case VK_RIGHT:
        if (!(m_caret->item.state & TVIS_EXPANDED) && m_caret->firstChild)
            Toggle(m_caret, TVE_EXPAND);
        else if (m_caret->firstChild)
            KeySelect(m_caret->firstChild);
        break;
    default: break;
    }
}

// Scrolling -------------------------------------------------------------

void CCustomTreeCtrl::ScrollRows(int code)
{
    EnsureLayout();
    SCROLLINFO si{sizeof(si), SIF_ALL};
    GetScrollInfo(SB_VERT, &si);
    int top = m_topIndex;
    switch (code) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: top += static_cast<int>(si.nPage); break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = si.nMax; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: top = m_vScroll.m_trackPos; break;
    case SB_ENDSCROLL: UpdateScrollBars(); return;
    default: return;
    }
    if (!(GetStyle() & WS_VSCROLL))
        top = 0;
    top = std::clamp(top, 0, std::max(0, si.nMax - static_cast<int>(si.nPage) + 1));
    SetScrollPos(SB_VERT, top, FALSE);
    m_topIndex = top;
    Invalidate(FALSE);
    UpdateToolTipForCursor();
}

void CCustomTreeCtrl::OnVScroll(UINT code, UINT, CScrollBar* bar)
{
    if (bar)
        return;
    ScrollRows(code);
}

void CCustomTreeCtrl::OnHScroll(UINT code, UINT, CScrollBar* bar)
{
    if (bar)
        return;
    SCROLLINFO si{sizeof(si), SIF_ALL};
    GetScrollInfo(SB_HORZ, &si);
    int pos = si.nPos;
    switch (code) {
    case SB_LINELEFT: --pos; break;
    case SB_LINERIGHT: ++pos; break;
    case SB_PAGELEFT: pos -= static_cast<int>(si.nPage); break;
    case SB_PAGERIGHT: pos += static_cast<int>(si.nPage); break;
    case SB_LEFT: pos = 0; break;
    case SB_RIGHT: pos = si.nMax; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = m_hScroll.m_trackPos; break;
    case SB_ENDSCROLL: UpdateScrollBars(); return;
    default: return;
    }
    pos = std::clamp(pos, 0, std::max(0, si.nMax - static_cast<int>(si.nPage) + 1));
    SetScrollPos(SB_HORZ, pos, FALSE);
    Invalidate(FALSE);
    UpdateToolTipForCursor();
}

// Focus, non-client -----------------------------------------------------

void CCustomTreeCtrl::OnSetFocus(CWnd*)
{
    Default();
    if (!m_hasFocus) {
        m_hasFocus = TRUE;
        NMHDR nm{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), static_cast<UINT>(NM_SETFOCUS)};
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
    }
    Invalidate(FALSE);
}

void CCustomTreeCtrl::OnKillFocus(CWnd*)
{
    Default();
    if (m_hasFocus) {
        m_hasFocus = FALSE;
        NMHDR nm{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), static_cast<UINT>(NM_KILLFOCUS)};
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
    }
    Invalidate(FALSE);
}

// Tooltip ---------------------------------------------------------------

BOOL CCustomTreeCtrl::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.m_hWnd && msg->hwnd == m_hWnd) {
        m_toolTip.RelayEvent(msg);
        if (msg->message == WM_MOUSEMOVE)
            UpdateToolTip(CPoint(static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))));
    }
    return CScrollHostWnd::PreTranslateMessage(msg);
}

void CCustomTreeCtrl::UpdateToolTipForCursor()
{
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(&pt);
    UpdateToolTip(pt);
}

void CCustomTreeCtrl::UpdateToolTip(CPoint pt)
{
    if (!m_toolTip.m_hWnd)
        return;
    CString text;
    HTREEITEM hit = HitTest(pt.x, pt.y);
    CRect client;
    GetClientRect(&client);
    RECT rc;
    if (hit && GetItemRect(hit, &rc, FALSE) && (rc.left < client.left || rc.right > client.right)) {
        text = GetItemText(hit);
        LOGFONTW lf{};
        GetObjectW(m_font, sizeof lf, &lf);
        const int h = abs(lf.lfHeight);
        POINT tip{rc.left + m_iconSize.cx, rc.top + (16 - h) / 2 - 4};
        ClientToScreen(&tip);
        m_toolTip.m_tipPos = tip;
    }
    if (!text.IsEmpty()) {
        if (text != m_tipText) {
            m_tipText = text;
            m_toolTip.UpdateTipText(text, this);
            m_toolTip.Update();
        }
    } else if (!m_tipText.IsEmpty()) {
        m_tipText.Empty();
        m_toolTip.UpdateTipText(L"", this);
        m_toolTip.Pop();
    }
}

// Label editing ---------------------------------------------------------

HWND CCustomTreeCtrl::EditLabel(HTREEITEM handle)
{
    _treeitem* node = Node(handle);
    if (!node || !(GetStyle() & TVS_EDITLABELS) || m_editing)
        return nullptr;
    EnsureVisible(handle);
    m_editNode = node;
    RECT rc{};
    GetItemRect(handle, &rc, TRUE);
    m_editing = TRUE;
    m_editorWnd = CreateWindowExW(0, L"Edit", nullptr, 0x44800080, rc.left, rc.top, rc.right - rc.left + 8,
                                  rc.bottom - rc.top, m_hWnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!m_editorWnd) {
        m_editing = FALSE;
        m_editNode = nullptr;
        return nullptr;
    }
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_ENTERMENULOOP, FALSE);
    m_editorOldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_editorWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CCustomTreeCtrl::EditorProc)));
    ::SendMessageW(m_editorWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    m_edit.m_cellRect = CRect(rc.left, rc.top, rc.right + 8, rc.bottom);
    m_edit.m_align = 0;
    m_edit.m_tabNavigation = FALSE;
    m_edit.AttachTo(m_editorWnd);
    m_edit.SetWindowText(GetItemText(handle));
    ::SendMessageW(m_editorWnd, EM_SETSEL, 0, -1);
    ::SendMessageW(m_editorWnd, EM_SCROLLCARET, 0, 0);
    NMTVDISPINFOW info{};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    info.hdr.code = TVN_BEGINLABELEDITW;
    info.item = node->item;
    info.item.hItem = handle;
    CWnd* parent = GetParent();
    const LRESULT veto = parent ? parent->SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info)) : 0;
    if (veto || !::IsWindow(m_editorWnd)) {
        HWND editor = m_editorWnd;
        m_editorWnd = nullptr;
        if (m_edit.m_hWnd)
            m_edit.Detach();
        if (::IsWindow(editor))
            SetWindowLongPtrW(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_editorOldProc));
        ::SendMessageW(editor, WM_CLOSE, 0, 0);
        if (::IsWindow(editor))
            ::DestroyWindow(editor);
        if (CWnd* main = AfxGetMainWnd())
            main->SendMessage(WM_EXITMENULOOP, FALSE);
        m_editing = FALSE;
        m_editNode = nullptr;
        return nullptr;
    }
    ::ShowWindow(m_editorWnd, SW_SHOWNORMAL);
    ::SetFocus(m_editorWnd);
    Invalidate(FALSE);
    return m_editorWnd;
}

LRESULT CALLBACK CCustomTreeCtrl::EditorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* tree = dynamic_cast<CCustomTreeCtrl*>(CWnd::FromHandlePermanent(::GetParent(hwnd)));
    if (!tree || tree->m_editorWnd != hwnd)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    const LPARAM node = reinterpret_cast<LPARAM>(tree->m_editNode);
    switch (msg) {
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE || wp == VK_RETURN) {
            ::PostMessageW(tree->m_hWnd, WM_END_EDIT_LABEL, wp == VK_ESCAPE, node);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == VK_ESCAPE || wp == VK_RETURN)
            return 0;  // no beep
        break;
    case WM_KILLFOCUS:
        // Leaving the editor keeps what was typed.
        ::PostMessageW(tree->m_hWnd, WM_END_EDIT_LABEL, FALSE, node);
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case WM_MOUSEWHEEL: return 1;
    default: break;
    }
    return CallWindowProcW(tree->m_editorOldProc, hwnd, msg, wp, lp);
}

void CCustomTreeCtrl::CancelEdit()
{
    if (m_editorWnd)
        OnEndEditLabel(TRUE, reinterpret_cast<LPARAM>(m_editNode));
}

LRESULT CCustomTreeCtrl::OnEndEditLabel(WPARAM cancel, LPARAM lp)
{
    // A request for a node that is not the one being edited (deleted, or an
    // edit that already ended) is stale: never written into.
    _treeitem* node = reinterpret_cast<_treeitem*>(lp);
    if (!m_editorWnd || node != m_editNode) {
        return 0;
    }
    HWND editor = m_editorWnd;
    if (m_edit.m_hWnd)
        m_edit.Detach();
    SetWindowLongPtrW(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_editorOldProc));
    m_editorWnd = nullptr;
    const int length = ::GetWindowTextLengthW(editor);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(editor, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_EXITMENULOOP, FALSE);
    const bool hadFocus = ::GetFocus() == editor;
    ::DestroyWindow(editor);
    if (hadFocus)
        SetFocus();
    if (!cancel) {
        NMTVDISPINFOW info{};
        info.hdr.hwndFrom = m_hWnd;
        info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
        info.hdr.code = TVN_ENDLABELEDITW;
        info.item.mask = TVIF_TEXT;
        info.item.hItem = Handle(node);
        info.item.pszText = text.data();
        info.item.cchTextMax = length;
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
        // The parent may have deleted the node meanwhile (DeleteItem lets go of it).
        if (info.item.pszText && m_editNode == node)
            SetItemText(Handle(node), info.item.pszText);
        RecalcLayout();
    }
    m_editing = FALSE;
    m_editNode = nullptr;
    Invalidate(FALSE);
    return 0;
}
