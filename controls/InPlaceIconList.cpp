#include "controls/InPlaceIconList.h"

#include <algorithm>

#include "controls/InPlacePlacement.h"

namespace {
const COLORREF kCellFill = 0xE5D8D4;
}

BEGIN_MESSAGE_MAP(CInPlaceIconList, CInPlacePicker)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CInPlaceIconList::CInPlaceIconList()
{
    InitDibImage(&m_bkNormal);
    InitDibImage(&m_bkSmall);
    InitDibImage(&m_selNormal);
    InitDibImage(&m_selSmall);
}

CInPlaceIconList::~CInPlaceIconList()
{
    Detach();
    FreeSkin();
}

void CInPlaceIconList::FreeSkin()
{
    FreeDibImage(&m_bkNormal);
    FreeDibImage(&m_bkSmall);
    FreeDibImage(&m_selNormal);
    FreeDibImage(&m_selSmall);
}

void CInPlaceIconList::HotChanged(int old)
{
    DrawItem(old);
    DrawItem(m_hotIndex);
}

BOOL CInPlaceIconList::AttachTo(HWND wnd)
{
    if (!AttachWindow(wnd))
        return FALSE;
    Layout();
    FreeSkin();
    LoadDibFromPack(L"icon_list_bk_normal.bmp", &m_bkNormal);
    LoadDibFromPack(L"icon_list_bk_small.bmp", &m_bkSmall);
    LoadDibFromPack(L"icon_list_select_normal.bmp", &m_selNormal);
    LoadDibFromPack(L"icon_list_select_small.bmp", &m_selSmall);
    return TRUE;
}

void CInPlaceIconList::Detach()
{
    if (m_hWnd)
        SetWindowRgn(nullptr, FALSE);
    CInPlacePicker::Detach();
}

void CInPlaceIconList::Layout()
{
    m_cellRects.RemoveAll();
    int cx = 0, cy = 0;
    if (m_imageList)
        ImageList_GetIconSize(m_imageList, &cx, &cy);
    const int count = m_imageList ? ImageList_GetImageCount(m_imageList) : 0;
    const int columns = std::max(1, m_columns);
    int right = 0, bottom = 0;
    for (int i = 0; i < count; ++i) {
        const int x = (i % columns) * 2 * cx, y = (i / columns) * 2 * cy;
        m_cellRects.Add(RECT{x, y, x + 2 * cx, y + 2 * cy});
        right = std::max(right, x + 2 * cx);
        bottom = std::max(bottom, y + 2 * cy);
    }
    const int w = right + 2, h = bottom + 2;
    HWND owner = ::GetParent(m_hWnd);
    const POINT at = PlaceInPlacePopup(owner, m_cellRect, SIZE{w, h});
    SetWindowPos(static_cast<HWND>(nullptr), at.x, at.y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowRgn(CreateRoundRectRgn(0, 0, w + 1, h + 1, 4, 4), TRUE);
}

void CInPlaceIconList::DrawItem(int index)
{
    if (index < 0 || index >= m_cellRects.GetSize() || !m_hWnd)
        return;
    HDC dc = m_paintDc ? m_paintDc : ::GetDC(m_hWnd);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(m_imageList, &cx, &cy);
    const CRect cell(m_cellRects[index]);
    CRect fill = cell;
    fill.DeflateRect(2, 2);
    HBRUSH brush = CreateSolidBrush(kCellFill);
    ::FillRect(dc, &fill, brush);
    DeleteObject(brush);
    const bool small = cx == 24 && cy == 24;
    const DIB_IMAGE& back = index == m_hotIndex ? (small ? m_selSmall : m_selNormal) : (small ? m_bkSmall : m_bkNormal);
    if (back.bitmap)
        DrawDib(&back, dc, cell.left + (cell.Width() - back.width) / 2, cell.top + (cell.Height() - back.height) / 2);
    const int x = cell.left + cx / 2, y = cell.top + cy / 2;
    ImageList_Draw(m_imageList, index, dc, x, y, ILD_TRANSPARENT);
    SetPixel(dc, x, y, 0xEAEAEA);
    SetPixel(dc, x + cx - 1, y, 0xEAEAEA);
    SetPixel(dc, x, y + cy - 1, 0xEAEAEA);
    SetPixel(dc, x + cx - 1, y + cy - 1, 0xEAEAEA);
    if (!m_paintDc)
        ::ReleaseDC(m_hWnd, dc);
}

BOOL CInPlaceIconList::OnEraseBkgnd(CDC* dc)
{
    PaintAll(dc->GetSafeHdc());
    return TRUE;
}

void CInPlaceIconList::PaintAll(HDC dc)
{
    CRect client;
    GetClientRect(&client);
    HBRUSH brush = CreateSolidBrush(kCellFill);
    ::FillRect(dc, &client, brush);
    DeleteObject(brush);
    const POINT corners[4] = {{client.left, client.top}, {client.right - 1, client.top},
                              {client.left, client.bottom - 1}, {client.right - 1, client.bottom - 1}};
    for (const POINT& p : corners) {
        const int dx = p.x == client.left ? 1 : -1, dy = p.y == client.top ? 1 : -1;
        SetPixel(dc, p.x, p.y, 0x635756);
        SetPixel(dc, p.x + dx, p.y, 0x998C8A);
        SetPixel(dc, p.x, p.y + dy, 0x998C8A);
    }
}

void CInPlaceIconList::OnPaint()
{
    CPaintDC dc(this);
    PaintAll(dc);
    m_paintDc = dc;
    for (int i = 0; i < m_cellRects.GetSize(); ++i)
        DrawItem(i);
    m_paintDc = nullptr;
}

// Grid moves stop at the edges.
BOOL CInPlaceIconList::MoveKey(UINT key)
{
    const int count = static_cast<int>(m_cellRects.GetSize());
    const int cols = std::max(1, m_columns), hot = m_hotIndex;
    switch (key) {
    case VK_LEFT:
        if (hot > 0 && hot % cols != 0)
            SetHot(hot - 1);
        return TRUE;
    case VK_RIGHT:
        if (hot < 0 && count > 0)
            SetHot(0);
        else if (hot >= 0 && hot % cols != cols - 1 && hot + 1 < count)
            SetHot(hot + 1);
        return TRUE;
    case VK_UP:
        if (hot >= cols)
            SetHot(hot - cols);
        return TRUE;
    case VK_DOWN:
        if (hot >= 0 && hot + cols < count)
            SetHot(hot + cols);
        return TRUE;
    default:
        return FALSE;
    }
}
