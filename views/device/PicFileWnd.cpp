#include "views/device/PicFileWnd.h"

#include "classlib/CMemDC.h"
#include "common/ThemeLibrary.h"
#include "common/Utility.h"
#include "controls/CustomHeaderCtrl.h"
#include "controls/NotifyForward.h"
#include "core/Global.h"
#include "frame/MainWindowCalls.h"
#include "res/picture_ids.h"
#include "views/device/PicFrame.h"
#include "views/device/PicImageWnd.h"

namespace {

constexpr COLORREF kStrip = RGB(30, 30, 35), kLine = RGB(126, 126, 128), kFrame = RGB(150, 150, 152);

}  // namespace

void DrawSplitterBar(HDC dc, const RECT& bar, const DIB_IMAGE& top, const DIB_IMAGE& tile, const DIB_IMAGE& bottom)
{
    DrawDib(&top, dc, bar.left, bar.top);
    const RECT middle{bar.left, bar.top + top.height, bar.right, bar.bottom - bottom.height};
    if (middle.bottom > middle.top)
        FillRectWithDib(dc, &tile, &middle, TRUE);
    DrawDib(&bottom, dc, bar.left, bar.bottom - bottom.height);
}

void InvertSplitterEdges(HWND wnd, const RECT& bar)
{
    HDC dc = ::GetWindowDC(wnd);
    // Window DC coordinates: the client's offset inside the window.
    POINT origin{0, 0};
    ::ClientToScreen(wnd, &origin);
    RECT window;
    ::GetWindowRect(wnd, &window);
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    RECT left{bar.left + dx, bar.top - 1 + dy, bar.left + 1 + dx, bar.bottom + 1 + dy};
    RECT right{bar.right - 1 + dx, bar.top - 1 + dy, bar.right + dx, bar.bottom + 1 + dy};
    ::InvertRect(dc, &left);
    ::InvertRect(dc, &right);
    ::ReleaseDC(wnd, dc);
}

BEGIN_MESSAGE_MAP(CPicFileWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CPicFileWnd::CPicFileWnd()
{
    InitDibImage(&m_splitTop);
    InitDibImage(&m_splitTile);
    InitDibImage(&m_splitBottom);
}

CPicFileWnd::~CPicFileWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_splitTop);
    FreeDibImage(&m_splitTile);
    FreeDibImage(&m_splitBottom);
}

int CPicFileWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    RemoveWindowTheme(m_hWnd);
    const CRect none(0, 0, 0, 0);
    if (!m_tree.Create(WS_CHILD | WS_VISIBLE, none, this, IDC_PIC_TREE))
        return -1;
    if (!m_thumbs.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, none, this, IDC_PIC_THUMBS))
        return -1;
    if (!LoadDibFromPack(L"splitter_top.bmp", &m_splitTop) || !LoadDibFromPack(L"splitter_tile.bmp", &m_splitTile) ||
        !LoadDibFromPack(L"splitter_bottom.bmp", &m_splitBottom))
        return -1;
    if (!m_btnBack.Create(none, this, ID_SHELL_BACK, FALSE) ||
        !m_btnBack.LoadBitmaps(L"header_back_%s.bmp", L"header_back_normal.bmp", L"normal", L"pressed", L"pressed",
                               L"hot", L"disabled"))
        return -1;
    if (!m_btnUp.Create(none, this, ID_SHELL_UP, FALSE) ||
        !m_btnUp.LoadBitmaps(L"header_up_%s.bmp", L"header_up_normal.bmp", L"normal", L"pressed", L"pressed", L"hot",
                             L"disabled"))
        return -1;
    return 0;
}

void CPicFileWnd::Clamp()
{
    CRect c;
    GetClientRect(&c);
    if (::IsIconic(m_hWnd) || c.IsRectEmpty())
        return;
    m_treeWidth = picframe::ClampFileSplit(m_treeWidth, c.Width(), m_splitTile.width);
    theGlobal.m_picFileSplit = static_cast<float>(m_treeWidth) / c.Width();
    m_bar = RECT{m_treeWidth, 0, m_treeWidth + m_splitTile.width, c.Height()};
}

void CPicFileWnd::OnSize(UINT, int cx, int cy)
{
    if (!cx || !cy)
        return;
    m_treeWidth = static_cast<int>(cx * theGlobal.m_picFileSplit);
    Layout();
}

void CPicFileWnd::Layout()
{
    if (!m_hWnd || MainWindowMinimised())
        return;
    Clamp();
    CRect c;
    GetClientRect(&c);
    const int S = m_splitTile.width, W = c.Width(), H = c.Height();
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    m_tree.SetWindowPos(HWND{}, 1, 24, m_treeWidth - 2, H - 25, flags);
    m_thumbs.SetWindowPos(HWND{}, m_treeWidth + S + 1, 1, W - m_treeWidth - S - 2, H - 2, flags);
    const int upW = m_btnUp.m_strip.width, backW = m_btnBack.m_strip.width;
    m_btnUp.SetWindowPos(HWND{}, m_treeWidth - upW - 1, 4, upW, m_btnUp.GetFrameHeight(), flags);
    m_btnBack.SetWindowPos(HWND{}, m_treeWidth - backW - upW - 2, 4, backW, m_btnBack.GetFrameHeight(), flags);
    m_btnUp.SetRoundRegion();
    m_btnBack.SetRoundRegion();
    m_btnUp.Invalidate(FALSE);
    m_btnBack.Invalidate(FALSE);
    Invalidate(FALSE);
}

void CPicFileWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC mem(&paint, client);
    HDC dc = mem.GetSafeHdc();
    mem.FillSolidRect(&client, RGB(5, 5, 10));
    const int buttons = m_btnBack.m_strip.width + m_btnUp.m_strip.width + 2;
    const RECT caption{0, 0, m_treeWidth - buttons, 24};
    CString text;
    if (m_tree.GetSafeHwnd())
        if (HTREEITEM caret = m_tree.GetSelectedItem())
            text = m_tree.GetItemText(caret);
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    const CString shown = text.IsEmpty() ? CString() : FormatQuotedEllipsis(dc, &caption, text);
    ::SelectObject(dc, oldFont);
    const BOOL focused = m_tree.GetSafeHwnd() && ::GetFocus() == m_tree.GetSafeHwnd();
    CCustomHeaderCtrl::DrawHeaderItem(&caption, focused, kStrip, dc, shown, HDF_LEFT, kLine, FALSE);
    const RECT strip{caption.right, 0, m_treeWidth, 24};
    mem.FillSolidRect(&strip, kStrip);
    mem.FillSolidRect(strip.left, 23, strip.right - strip.left, 1, kLine);
    DrawSplitterBar(dc, m_bar, m_splitTop, m_splitTile, m_splitBottom);
    CBrush frame(kFrame);
    const RECT left{0, 0, m_treeWidth, client.bottom};
    const RECT right{m_bar.right, 0, client.right, client.bottom};
    mem.FrameRect(&left, frame);
    mem.FrameRect(&right, frame);
}

BOOL CPicFileWnd::OnSetCursor(CWnd* wnd, UINT hit, UINT message)
{
    POINT pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    if (hit == HTCLIENT && ::PtInRect(&m_bar, pt))
        return TRUE;
    return static_cast<BOOL>(Default());
}

void CPicFileWnd::DrawDragFeedback() { InvertSplitterEdges(m_hWnd, m_bar); }

void CPicFileWnd::OnLButtonDown(UINT, CPoint pt)
{
    if (m_drag.Begin(*this, pt, CRect(m_bar)))
        DrawDragFeedback();
    const RECT caption{0, 0, m_treeWidth, 24};
    if (::PtInRect(&caption, pt) && m_tree.GetSafeHwnd())
        m_tree.SetFocus();
    Default();
}

void CPicFileWnd::OnMouseMove(UINT, CPoint pt)
{
    if (m_drag.IsDragging()) {
        DrawDragFeedback();
        m_treeWidth = m_drag.SplitAt(pt);
        Clamp();
        DrawDragFeedback();
    } else {
        m_drag.SetCursor(::PtInRect(&m_bar, pt));
    }
    Default();
}

void CPicFileWnd::OnLButtonUp(UINT, CPoint)
{
    if (m_drag.IsDragging()) {
        DrawDragFeedback();
        m_drag.End();
        Layout();
    }
    Default();
}

BOOL CPicFileWnd::OnNotify(WPARAM wp, LPARAM lp, LRESULT* result) { return ForwardNotifyToParent(this, wp, lp, result); }
