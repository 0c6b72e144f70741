#include "controls/CustomHeaderCtrl.h"

#include <cstdlib>
#include <cwchar>

#include "common/Utility.h"

namespace {

const UINT kBaseTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;  // 0x8824

// One triangle of a sort arrow: six rows 11, 9, 7, 5, 3, 1 wide from its base.
void DrawTriangle(HDC dc, int left, int baseY, int direction, bool lit)
{
    const COLORREF baseOutline = lit ? 0x292525 : 0x262121, baseInside = lit ? 0x545151 : 0x3A3737;
    const COLORREF outline = lit ? 0x676565 : 0x444141, inside = lit ? 0xAAAAAA : 0x646464;
    for (int row = 0; row < 6; ++row) {
        const int y = baseY + direction * row;
        const int x0 = left + row, x1 = left + 10 - row;  // inclusive
        const COLORREF edge = row == 0 ? baseOutline : outline, fill = row == 0 ? baseInside : inside;
        for (int x = x0; x <= x1; ++x)
            SetPixel(dc, x, y, (x == x0 || x == x1) ? edge : fill);
    }
}

}  // namespace

UINT ColumnTextFlags(int format)
{
    switch (format & 3) {
    case HDF_RIGHT: return kBaseTextFlags | DT_RIGHT;
    case HDF_CENTER: return kBaseTextFlags | DT_CENTER;
    default: return kBaseTextFlags;
    }
}

BEGIN_MESSAGE_MAP(CCustomHeaderCtrl, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CCustomHeaderCtrl::CCustomHeaderCtrl()
{
    InitDibImage(&m_image);
}

CCustomHeaderCtrl::~CCustomHeaderCtrl()
{
    if (m_hWnd && m_createdHere)
        DestroyWindow();
    FreeTexts();
    FreeDibImage(&m_image);
    if (m_font)
        DeleteObject(m_font);
}

BOOL CCustomHeaderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(nullptr, nullptr, style, rect, parent, id);
}

BOOL CCustomHeaderCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::CreateEx(exStyle, nullptr, nullptr, style, rect, parent, id);
}

int CCustomHeaderCtrl::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!m_font && !CreateTahomaFont(TRUE, &m_font, 120, FALSE))
        return -1;
    m_tracking = FALSE;
    FreeTexts();
    m_hdItems.RemoveAll();
    m_sortable.RemoveAll();
    return 0;
}

void CCustomHeaderCtrl::OnDestroy()
{
    if (m_font) {
        DeleteObject(m_font);
        m_font = nullptr;
    }
    FreeTexts();
    m_hdItems.RemoveAll();
    Default();
}

void CCustomHeaderCtrl::FreeTexts()
{
    for (auto& item : m_hdItems) {
        free(item.pszText);
        item.pszText = nullptr;
    }
}

void CCustomHeaderCtrl::CheckIndex(int index) const
{
    if (index < 0 || index >= GetItemCount())
        AfxThrowInvalidArgException();
}

int CCustomHeaderCtrl::InsertItem(int index, const HD_ITEMW* item)
{
    if (!item || index < 0)
        return -1;
    HD_ITEMW rec{};
    rec.cxy = 16;
    if (item->mask & HDI_WIDTH)
        rec.cxy = item->cxy;
    if ((item->mask & HDI_TEXT) && item->pszText && item->pszText != LPSTR_TEXTCALLBACKW)
        rec.pszText = _wcsdup(item->pszText);
    if (item->mask & HDI_FORMAT)
        rec.fmt = item->fmt;
    if (item->mask & HDI_LPARAM)
        rec.lParam = item->lParam;
    if (index > GetItemCount())
        index = GetItemCount();
    m_hdItems.InsertAt(index, rec);
    m_sortable.InsertAt(index, 0);
    ClampWidth(index);
    RedrawNC();
    return index;
}

BOOL CCustomHeaderCtrl::GetItem(int index, HD_ITEMW* item) const
{
    CheckIndex(index);
    const HD_ITEMW& rec = m_hdItems[index];
    if (item->mask & HDI_WIDTH)
        item->cxy = rec.cxy;
    if (item->mask & HDI_TEXT)
        item->pszText = rec.pszText;
    if (item->mask & HDI_FORMAT)
        item->fmt = rec.fmt;
    if (item->mask & HDI_LPARAM)
        item->lParam = rec.lParam;
    return TRUE;
}

BOOL CCustomHeaderCtrl::SetItem(int index, const HD_ITEMW* item)
{
    CheckIndex(index);
    HD_ITEMW& rec = m_hdItems[index];
    if (item->mask & HDI_WIDTH) {
        rec.cxy = item->cxy;
        ClampWidth(index);
    }
    if (item->mask & HDI_TEXT) {
        free(rec.pszText);
        rec.pszText = item->pszText && item->pszText != LPSTR_TEXTCALLBACKW ? _wcsdup(item->pszText) : nullptr;
    }
    if (item->mask & HDI_FORMAT)
        rec.fmt = item->fmt;
    if (item->mask & HDI_LPARAM)
        rec.lParam = item->lParam;
    RedrawNC();
    return TRUE;
}

BOOL CCustomHeaderCtrl::GetItemRect(int index, RECT* rc) const
{
    CheckIndex(index);
    CRect client;
    if (m_hWnd)
        GetClientRect(&client);
    int x = client.left;
    for (int i = 0; i < index; ++i)
        x += m_hdItems[i].cxy;
    *rc = {x, client.top, x + m_hdItems[index].cxy, client.bottom};
    return TRUE;
}

int CCustomHeaderCtrl::HitTest(POINT pt, BOOL dividersOnly) const
{
    CRect client;
    GetClientRect(&client);
    int found = -1, x = client.left;
    for (int i = 0; i < GetItemCount(); ++i) {
        const int right = x + m_hdItems[i].cxy;
        if (dividersOnly) {
            if (pt.x >= right - 2 && pt.x <= right + 2 && pt.y >= client.top && pt.y < client.bottom)
                found = i;  // the later one wins
        } else if (pt.x >= x && pt.x < right && pt.y >= client.top && pt.y < client.bottom) {
            return i;
        }
        x = right;
    }
    return found;
}

BOOL CCustomHeaderCtrl::IsSortable(int index) const
{
    return index >= 0 && index < m_sortable.GetSize() && m_sortable[index] != 0;
}

void CCustomHeaderCtrl::SetSortable(int index, BOOL sortable)
{
    if (index >= 0 && index < m_sortable.GetSize())
        m_sortable[index] = sortable ? 1 : 0;
}

void CCustomHeaderCtrl::ClampWidth(int changed)
{
    long long sum = 0;
    for (const auto& item : m_hdItems)
        sum += item.cxy;
    if (sum <= MaxTotalWidth || changed < 0 || changed >= GetItemCount())
        return;
    HD_ITEMW& rec = m_hdItems[changed];
    rec.cxy -= static_cast<int>(sum - MaxTotalWidth);
    if (rec.cxy < 0)
        rec.cxy = 0;
}

// ---------------------------------------------------------------------------
// Non-client hosting

LRESULT CCustomHeaderCtrl::PlaceAboveParent(NCCALCSIZE_PARAMS* params)
{
    if (!m_hWnd)
        return 0;
    CRect own;
    GetWindowRect(&own);
    const int h = own.Height();
    if (params)
        params->rgrc[0].top += h;
    HWND parent = ::GetParent(m_hWnd);
    CRect parentRect;
    ::GetWindowRect(parent, &parentRect);
    const int pos = (::GetWindowLongW(parent, GWL_STYLE) & WS_HSCROLL) ? ::GetScrollPos(parent, SB_HORZ) : 0;
    SetWindowPos(static_cast<HWND>(nullptr), -pos, -h, parentRect.Width() + pos, h, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawNC();
    UpdateWindow();
    return 0;
}

void CCustomHeaderCtrl::RedrawNC()
{
    if (!m_hWnd || !(GetStyle() & WS_VISIBLE))
        return;
    HWND parent = ::GetParent(m_hWnd);
    CRect client, own, parentRect;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    GetWindowRect(&own);
    ::GetWindowRect(parent, &parentRect);
    HDC wdc = ::GetWindowDC(parent);
    if (!wdc)
        return;
    POINT oldOrg;
    SetWindowOrgEx(wdc, parentRect.left - own.left, parentRect.top - own.top, &oldOrg);
    // The band never reaches into the parent's client area.
    FreeDibImage(&m_image);
    if (CreateDib(&m_image, client.Width(), client.Height())) {
        CDC mem;
        mem.CreateCompatibleDC(wdc);
        HGDIOBJ old = mem.SelectObject(m_image.bitmap);
        DrawHeader(&mem);
        BitBlt(wdc, 0, 0, client.Width(), client.Height(), mem, 0, 0, SRCCOPY);
        mem.SelectObject(old);
    }
    SetWindowOrgEx(wdc, oldOrg.x, oldOrg.y, nullptr);
    ::ReleaseDC(parent, wdc);
}

LRESULT CCustomHeaderCtrl::HitTestNC(int x, int y) const
{
    if (!m_hWnd || !(GetStyle() & WS_VISIBLE))
        return -2;
    CRect own;
    GetWindowRect(&own);
    return own.PtInRect(CPoint(x, y)) ? HTBORDER : -2;
}

BOOL CCustomHeaderCtrl::ForwardNCMouse(MSG* msg)
{
    if (!m_hWnd || !(GetStyle() & WS_VISIBLE))
        return FALSE;
    if (msg->message != WM_NCMOUSEMOVE && msg->message != WM_NCLBUTTONDOWN && msg->message != WM_NCLBUTTONUP &&
        msg->message != WM_NCLBUTTONDBLCLK)
        return FALSE;
    CPoint pt(static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam)));
    CRect own;
    GetWindowRect(&own);
    if (!own.PtInRect(pt))
        return FALSE;
    ScreenToClient(&pt);
    switch (msg->message) {
    case WM_NCMOUSEMOVE: HeaderMouseMove(pt); break;
    case WM_NCLBUTTONDOWN: HeaderButtonDown(pt); break;
    case WM_NCLBUTTONUP: HeaderButtonUp(pt); break;
    default: HeaderDoubleClick(pt); break;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Painting

void CCustomHeaderCtrl::OnPaint()
{
    CPaintDC dc(this);
    DrawHeader(&dc);
}

void CCustomHeaderCtrl::DrawHeader(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_HEADER;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
    dis.hwndItem = m_hWnd;
    dis.hDC = dc->GetSafeHdc();
    HGDIOBJ oldFont = dc->SelectObject(m_font);
    int x = client.left;
    for (int i = 0; i < GetItemCount(); ++i) {
        const int w = m_hdItems[i].cxy;
        if (w <= 3)
            continue;
        dis.rcItem = {x, client.top, x + w, client.bottom};
        dis.itemID = static_cast<UINT>(i);
        DrawItem(&dis);
        x += w;
    }
    dis.rcItem = {x, client.top, client.right, client.bottom};
    dis.itemID = static_cast<UINT>(-1);
    DrawItem(&dis);
    dc->SelectObject(oldFont ? oldFont : GetStockObject(DEFAULT_GUI_FONT));
}

void CCustomHeaderCtrl::DrawItem(DRAWITEMSTRUCT* dis)
{
    HWND parent = ::GetParent(m_hWnd);
    const BOOL focused = parent && ::GetFocus() == parent;
    const RECT& rc = dis->rcItem;
    if (dis->itemID == static_cast<UINT>(-1)) {
        DrawHeaderItem(&rc, focused, m_bkColor, dis->hDC, nullptr, 0, m_lineColor, FALSE);
        return;
    }
    const int i = static_cast<int>(dis->itemID);
    const HD_ITEMW& item = m_hdItems[i];
    DrawHeaderItem(&rc, focused, m_bkColor, dis->hDC, item.pszText, item.fmt, m_lineColor, IsSortable(i));
    HGDIOBJ oldPen = SelectObject(dis->hDC, GetStockObject(DC_PEN));
    SetDCPenColor(dis->hDC, m_dividerColor);
    MoveToEx(dis->hDC, rc.right - 1, rc.top, nullptr);
    LineTo(dis->hDC, rc.right - 1, rc.bottom);
    SelectObject(dis->hDC, oldPen);
}

void CCustomHeaderCtrl::DrawHeaderItem(const RECT* rect, BOOL focused, COLORREF fill, HDC dc, LPCWSTR text, int format,
                                       COLORREF lineColor, BOOL sortable)
{
    RECT rc = *rect;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, focused ? 0xE8E8E6 : 0xC8C8C8);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    SetDCPenColor(dc, fill);
    SetDCBrushColor(dc, fill);
    Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom - 1);
    SetDCPenColor(dc, lineColor);
    MoveToEx(dc, rc.right, rc.bottom - 1, nullptr);
    LineTo(dc, rc.left - 1, rc.bottom - 1);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);

    RECT textRect = rc;
    if (sortable && rc.right - rc.left > ArrowRoom) {
        const int mid = (rc.top + rc.bottom) / 2;
        const bool up = (format & HDF_SORTUP) != 0, down = !up && (format & HDF_SORTDOWN) != 0;
        DrawTriangle(dc, rc.right - 18, mid - 2, -1, up);   // upward, base at its bottom row
        DrawTriangle(dc, rc.right - 18, mid, +1, down);     // downward, base at its top row
        textRect.right -= ArrowRoom;
    }
    if (text) {
        InflateRect(&textRect, -TextInset, -TextInset);
        textRect.top = rc.top;
        textRect.bottom = rc.bottom;
        if (format & PressedBit)
            OffsetRect(&textRect, 1, 1);
        DrawTextW(dc, text, -1, &textRect, ColumnTextFlags(format));
    }
}

// ---------------------------------------------------------------------------
// Mouse

void CCustomHeaderCtrl::SetSplitCursor()
{
    HCURSOR cursor = LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(30980));
    SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_SIZEWE));
}

void CCustomHeaderCtrl::Notify(int code, int item)
{
    HWND parent = ::GetParent(m_hWnd);
    if (!parent)
        return;
    NMHEADERW nm{};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nm.hdr.code = static_cast<UINT>(code);
    nm.iItem = item;
    nm.pitem = item >= 0 && item < GetItemCount() ? &m_hdItems[item] : nullptr;
    ::SendMessageW(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void CCustomHeaderCtrl::HeaderButtonDown(CPoint pt)
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent)
        ::SetFocus(parent);
    const int divider = HitTest(pt, TRUE);
    if (divider >= 0) {
        m_tracking = TRUE;
        m_trackMode = TrackDivider;
        m_trackItem = divider;
        m_trackStartWidth = m_hdItems[divider].cxy;
        m_trackStart = pt;
        SetCapture();
        SetSplitCursor();
        Notify(HDN_BEGINTRACKW, divider);
        return;
    }
    const int item = HitTest(pt, FALSE);
    if (item >= 0 && IsSortable(item)) {
        if (GetStyle() & HDS_BUTTONS)
            m_hdItems[item].fmt |= PressedBit;
        m_tracking = TRUE;
        m_trackMode = TrackItem;
        m_trackItem = item;
        m_trackStart = pt;
        SetCapture();
        RedrawNC();
    }
}

void CCustomHeaderCtrl::HeaderMouseMove(CPoint pt)
{
    if (m_tracking && m_trackMode == TrackDivider && m_trackItem < GetItemCount()) {
        int width = m_trackStartWidth + (pt.x - m_trackStart.x);
        if (width <= 3)
            width = 0;
        m_hdItems[m_trackItem].cxy = width;
        ClampWidth(m_trackItem);
        RedrawNC();
        SetSplitCursor();
        Notify(HDN_TRACKW, m_trackItem);
        return;
    }
    if (m_tracking && m_trackMode == TrackItem && (GetStyle() & HDS_BUTTONS) && m_trackItem < GetItemCount()) {
        RECT rc;
        GetItemRect(m_trackItem, &rc);
        const int pressed = PtInRect(&rc, pt) ? PressedBit : 0;
        int& fmt = m_hdItems[m_trackItem].fmt;
        if ((fmt & PressedBit) != pressed) {
            fmt = (fmt & ~PressedBit) | pressed;
            RedrawNC();
        }
    }
    if (HitTest(pt, TRUE) >= 0)
        SetSplitCursor();
    else
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void CCustomHeaderCtrl::HeaderButtonUp(CPoint pt)
{
    if (!m_tracking)
        return;
    const int mode = m_trackMode, item = m_trackItem;
    m_tracking = FALSE;
    m_trackMode = TrackNone;
    if (mode == TrackDivider) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        Notify(HDN_ENDTRACKW, item);
    } else if (mode == TrackItem && IsSortable(item)) {
        m_hdItems[item].fmt &= ~PressedBit;
        RedrawNC();
        RECT rc;
        GetItemRect(item, &rc);
        if (PtInRect(&rc, pt))
            Notify(HDN_ITEMCLICKW, item);
    }
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
}

void CCustomHeaderCtrl::HeaderDoubleClick(CPoint pt)
{
    const int divider = HitTest(pt, TRUE);
    if (divider >= 0)
        Notify(HDN_DIVIDERDBLCLICKW, divider);
    else
        HeaderButtonDown(pt);
}

BOOL CCustomHeaderCtrl::OnSetCursor(CWnd*, UINT, UINT)
{
    return TRUE;  // set by the mouse handling
}
