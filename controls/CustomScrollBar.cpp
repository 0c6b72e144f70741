#include "controls/CustomScrollBar.h"

#include <windowsx.h>

#include "controls/KeyRepeat.h"

SCROLLBAR_SKIN theScrollBarSkin = {};

const wchar_t* const kScrollBarSkinFiles[SCROLLBAR_SKIN::Count] = {
    L"scrl_sizebox.bmp",
    L"scrl_arrow_up_normal.bmp", L"scrl_arrow_up_hot.bmp", L"scrl_arrow_up_pressed.bmp",
    L"scrl_arrow_down_normal.bmp", L"scrl_arrow_down_hot.bmp", L"scrl_arrow_down_pressed.bmp",
    L"scrl_arrow_left_normal.bmp", L"scrl_arrow_left_hot.bmp", L"scrl_arrow_left_pressed.bmp",
    L"scrl_arrow_right_normal.bmp", L"scrl_arrow_right_hot.bmp", L"scrl_arrow_right_pressed.bmp",
    L"scrl_page_vert.bmp", L"scrl_page_horz.bmp",
    L"scrl_thumb_vert_normal.bmp", L"scrl_thumb_vert_hot.bmp", L"scrl_thumb_vert_pressed.bmp",
    L"scrl_thumb_horz_normal.bmp", L"scrl_thumb_horz_hot.bmp", L"scrl_thumb_horz_pressed.bmp",
};

BEGIN_MESSAGE_MAP(CCustomScrollBar, CScrollBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CCustomScrollBar::CCustomScrollBar() = default;

CCustomScrollBar::~CCustomScrollBar() = default;

// ---------------------------------------------------------------------------
// Shared skin

BOOL CCustomScrollBar::LoadSkin()
{
    if (theScrollBarSkin.refCount != 0) {
        ++theScrollBarSkin.refCount;
        return TRUE;
    }
    for (int i = 0; i < SCROLLBAR_SKIN::Count; ++i) {
        if (!LoadDibFromPack(kScrollBarSkinFiles[i], &theScrollBarSkin.images[i])) {
            // Nothing half-loaded stays behind for the next attempt.
            for (int j = 0; j < SCROLLBAR_SKIN::Count; ++j)
                FreeDibImage(&theScrollBarSkin.images[j]);
            return FALSE;
        }
    }
    theScrollBarSkin.refCount = 1;
    return TRUE;
}

void CCustomScrollBar::FreeSkin()
{
    if (theScrollBarSkin.refCount <= 0)
        return;
    if (--theScrollBarSkin.refCount == 0)
        for (auto& image : theScrollBarSkin.images)
            FreeDibImage(&image);
}

int CCustomScrollBar::Thickness(int bar)
{
    const DIB_IMAGE& box = theScrollBarSkin.images[SCROLLBAR_SKIN::SizeBox];
    if (theScrollBarSkin.refCount == 0 || !box.bitmap)
        return GetSystemMetrics(bar == SB_VERT ? SM_CXVSCROLL : SM_CYHSCROLL);
    return bar == SB_VERT ? box.width : box.height;
}

// ---------------------------------------------------------------------------
// Geometry

int CCustomScrollBar::GetThumbLength() const
{
    if (theScrollBarSkin.refCount == 0)
        return 0;
    return IsVertical() ? theScrollBarSkin.images[SCROLLBAR_SKIN::ThumbVert].height
                        : theScrollBarSkin.images[SCROLLBAR_SKIN::ThumbHorz].width;
}

int CCustomScrollBar::FirstArrowLength() const
{
    CRect rc;
    GetClientRect(&rc);
    return IsVertical() ? rc.Width() : rc.Height() - 1;
}

int CCustomScrollBar::LastArrowStart() const
{
    CRect rc;
    GetClientRect(&rc);
    return IsVertical() ? rc.Height() - rc.Width() + 1 : rc.Width() - rc.Height() + 1;
}

CRect CCustomScrollBar::GetPartRect(int part) const
{
    CRect rc;
    GetClientRect(&rc);
    const int w = rc.Width(), h = rc.Height(), pos = m_thumbPos, len = GetThumbLength();
    const bool v = IsVertical();
    switch (part) {
    case PartThumb: return v ? CRect(0, pos, w, pos + len) : CRect(pos, 0, pos + len, h);
    case PartFirstArrow: return v ? CRect(0, 0, w, w) : CRect(0, 0, h - 1, h);
    case PartLastArrow: return v ? CRect(0, h - w + 1, w, h) : CRect(w - h + 1, 0, w, h);
    case PartPageBefore: return v ? CRect(0, 0, w, pos) : CRect(0, 0, pos, h);
    case PartPageAfter: return v ? CRect(0, pos, w, h) : CRect(pos, 0, w, h);
    default: return CRect(0, 0, 0, 0);
    }
}

int CCustomScrollBar::HitTest(CPoint pt) const
{
    for (int part = PartThumb; part <= PartPageAfter; ++part)
        if (GetPartRect(part).PtInRect(pt))
            return part;
    return PartNone;
}

void CCustomScrollBar::ClampThumb()
{
    // The lower bound wins when the bar is too short for both.
    const int most = LastArrowStart() - GetThumbLength();
    if (m_thumbPos > most)
        m_thumbPos = most;
    if (m_thumbPos < FirstArrowLength())
        m_thumbPos = FirstArrowLength();
}

void CCustomScrollBar::UpdateThumbFromPos()
{
    if (!m_hWnd)
        return;
    const int start = FirstArrowLength();
    const int span = LastArrowStart() - start - GetThumbLength();
    int minPos = 0, maxPos = 0;
    GetScrollRange(&minPos, &maxPos);
    const int p = ::GetScrollPos(::GetParent(m_hWnd), HostBar());
    if (minPos < maxPos)
        m_thumbPos = start + static_cast<int>(static_cast<long long>(span) * (p - minPos) / (maxPos - minPos));
    else
        m_thumbPos = start;
    ClampThumb();
    RedrawNC(this);
}

// ---------------------------------------------------------------------------
// Host operations

LRESULT CCustomScrollBar::UpdateFromHost(CCustomScrollBar* bar, NCCALCSIZE_PARAMS* params)
{
    if (!bar || !bar->m_hWnd)
        return 0;
    HWND host = ::GetParent(bar->m_hWnd);
    SCROLLINFO si{sizeof(si), SIF_ALL};
    ::GetScrollInfo(host, bar->HostBar(), &si);

    // The client rectangle the host is getting, relative to its own origin.
    CRect client;
    if (params) {
        client = params->rgrc[0];
        client.OffsetRect(-client.left, -client.top);
    } else {
        ::GetClientRect(host, &client);
    }
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(host, GWL_STYLE));
    const bool vertical = bar->IsVertical();
    const bool shown = (style & (vertical ? WS_VSCROLL : WS_HSCROLL)) != 0;
    const int thickness = Thickness(vertical ? SB_VERT : SB_HORZ);
    if (vertical) {
        int width = shown ? client.Width() - thickness : client.Width();
        // Called before the horizontal bar: leave its row (and the corner) to it.
        int height = client.Height() - ((style & WS_HSCROLL) ? Thickness(SB_HORZ) : 0);
        if (width < 0)
            width = 0;
        if (height < 0)
            height = 0;
        bar->SetWindowPos(static_cast<HWND>(nullptr), width, 0, thickness, height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (shown && params)
            params->rgrc[0].right -= thickness;
    } else {
        int height = shown ? client.Height() - thickness : client.Height();
        if (height < 0)
            height = 0;
        bar->SetWindowPos(static_cast<HWND>(nullptr), 0, height, client.Width(), thickness, SWP_NOZORDER | SWP_NOACTIVATE);
        if (shown && params)
            params->rgrc[0].bottom -= thickness;
    }
    if (params && params->rgrc[0].right < params->rgrc[0].left)
        params->rgrc[0].right = params->rgrc[0].left;
    if (params && params->rgrc[0].bottom < params->rgrc[0].top)
        params->rgrc[0].bottom = params->rgrc[0].top;
    bar->ShowWindow(shown ? SW_SHOWNA : SW_HIDE);
    bar->SetScrollRange(si.nMin, si.nMax - static_cast<int>(si.nPage) + 1, FALSE);
    bar->SetScrollPos(si.nPos, FALSE);
    bar->UpdateThumbFromPos();
    return 0;
}

LRESULT CCustomScrollBar::HitTestNC(CCustomScrollBar* bar, int x, int y)
{
    if (!bar || !bar->m_hWnd || !bar->IsWindowVisible())
        return -2;
    CRect rc;
    bar->GetWindowRect(&rc);
    if (!rc.PtInRect(CPoint(x, y)))
        return -2;
    return bar->IsVertical() ? HTVSCROLL : HTHSCROLL;
}

void CCustomScrollBar::RedrawNC(CCustomScrollBar* bar)
{
    if (!bar || !bar->m_hWnd || !bar->IsWindowVisible())
        return;
    HWND host = ::GetParent(bar->m_hWnd);
    CRect hostRect, barRect;
    ::GetWindowRect(host, &hostRect);
    bar->GetWindowRect(&barRect);
    HDC dc = ::GetWindowDC(host);
    if (!dc)
        return;
    POINT oldOrg;
    ::SetWindowOrgEx(dc, hostRect.left - barRect.left, hostRect.top - barRect.top, &oldOrg);
    bar->Paint(dc);
    ::SetWindowOrgEx(dc, oldOrg.x, oldOrg.y, nullptr);
    ::ReleaseDC(host, dc);
}

void CCustomScrollBar::DrawSizeBox(CWnd* host, const DIB_IMAGE* picture)
{
    if (!host || !host->m_hWnd)
        return;
    if (!picture || !picture->bitmap) {
        if (theScrollBarSkin.refCount == 0)
            return;
        picture = &theScrollBarSkin.images[SCROLLBAR_SKIN::SizeBox];
    }
    const DWORD style = host->GetStyle();
    if ((style & (WS_VSCROLL | WS_HSCROLL)) != (WS_VSCROLL | WS_HSCROLL))
        return;
    CRect window, client;
    host->GetWindowRect(&window);
    host->GetClientRect(&client);
    host->ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    HDC dc = ::GetWindowDC(host->m_hWnd);
    if (!dc)
        return;
    DrawDibEx(picture, dc, client.right, client.bottom, Thickness(SB_VERT), Thickness(SB_HORZ), 0, 0, picture->width,
              picture->height);
    ::ReleaseDC(host->m_hWnd, dc);
}

BOOL CCustomScrollBar::ForwardNCMouse(MSG* msg, CCustomScrollBar* bar)
{
    if (!msg || !bar || !bar->m_hWnd || !bar->IsWindowVisible())
        return FALSE;
    switch (msg->message) {
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
        if (!bar->m_hover)
            return FALSE;
        bar->m_hover = FALSE;
        RedrawNC(bar);
        return TRUE;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK: {
        CPoint pt(GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam));
        CRect rc;
        bar->GetWindowRect(&rc);
        if (!rc.PtInRect(pt))
            return FALSE;
        bar->ScreenToClient(&pt);
        if (msg->message == WM_NCMOUSEMOVE) {
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_NONCLIENT, ::GetParent(bar->m_hWnd), 0};
            ::TrackMouseEvent(&tme);
            bar->m_hover = TRUE;
            bar->BarMouseMove(pt);
        } else if (msg->message == WM_NCLBUTTONUP) {
            bar->BarButtonUp(pt);
        } else {
            bar->BarButtonDown(pt);
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

// ---------------------------------------------------------------------------
// The bar window

int CCustomScrollBar::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    if (!LoadSkin())
        return -1;
    m_skinLoaded = TRUE;
    m_scrollMsg = (cs->style & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    ::SetScrollPos(cs->hwndParent, HostBar(), 0, FALSE);
    SetScrollPos(0, FALSE);
    m_hover = FALSE;
    m_pressedPart = PartNone;
    m_thumbPos = 0;
    ClampThumb();
    return 0;
}

void CCustomScrollBar::OnDestroy()
{
    KillTimer(TimerDelay);
    KillTimer(TimerRepeat);
    if (m_skinLoaded) {
        FreeSkin();
        m_skinLoaded = FALSE;
    }
    Default();
}

void CCustomScrollBar::OnPaint()
{
    ValidateRect(nullptr);
    RedrawNC(this);
}

void CCustomScrollBar::Paint(HDC dc)
{
    if (theScrollBarSkin.refCount == 0)
        return;
    const bool v = IsVertical();
    CPoint cursor;
    DWORD mp = ::GetMessagePos();
    cursor = CPoint(GET_X_LPARAM(mp), GET_Y_LPARAM(mp));
    ScreenToClient(&cursor);
    const int hotPart = m_hover ? HitTest(cursor) : PartNone;
    auto stateOf = [&](int part) { return part == m_pressedPart ? 2 : part == hotPart ? 1 : 0; };
    auto draw = [&](int image, const CRect& rc) {
        if (rc.Width() <= 0 || rc.Height() <= 0)
            return;
        const DIB_IMAGE& im = theScrollBarSkin.images[image];
        ::SetStretchBltMode(dc, COLORONCOLOR);
        DrawDibEx(&im, dc, rc.left, rc.top, rc.Width(), rc.Height(), 0, 0, im.width, im.height);
    };
    const CRect first = GetPartRect(PartFirstArrow), last = GetPartRect(PartLastArrow), thumb = GetPartRect(PartThumb);
    const int page = v ? SCROLLBAR_SKIN::PageVert : SCROLLBAR_SKIN::PageHorz;
    draw((v ? SCROLLBAR_SKIN::ArrowUp : SCROLLBAR_SKIN::ArrowLeft) + stateOf(PartFirstArrow), first);
    CRect before = v ? CRect(first.left, first.bottom, first.right, thumb.top) : CRect(first.right, first.top, thumb.left, first.bottom);
    draw(page, before);
    draw((v ? SCROLLBAR_SKIN::ThumbVert : SCROLLBAR_SKIN::ThumbHorz) + stateOf(PartThumb), thumb);
    CRect after = v ? CRect(thumb.left, thumb.bottom, thumb.right, last.top) : CRect(thumb.right, thumb.top, last.left, thumb.bottom);
    draw(page, after);
    draw((v ? SCROLLBAR_SKIN::ArrowDown : SCROLLBAR_SKIN::ArrowRight) + stateOf(PartLastArrow), last);
}

void CCustomScrollBar::SendScroll(WPARAM code)
{
    ::SendMessageW(::GetParent(m_hWnd), m_scrollMsg, code, 0);
}

void CCustomScrollBar::DoPartAction(int part)
{
    static const WPARAM codes[] = {0, 0, SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN};
    if (part < PartFirstArrow || part > PartPageAfter)
        return;
    SendScroll(codes[part]);
    if (m_hWnd)
        UpdateThumbFromPos();
}

void CCustomScrollBar::BarButtonDown(CPoint pt)
{
    ::SetFocus(::GetParent(m_hWnd));
    m_buttonDown = TRUE;
    m_lastPoint = pt;
    SetCapture();
    m_pressedPart = HitTest(pt);
    if (m_pressedPart >= PartFirstArrow) {
        DoPartAction(m_pressedPart);
        SetTimer(TimerDelay, KeyRepeatDelayMs());
    } else {
        RedrawNC(this);
    }
}

void CCustomScrollBar::OnTimer(UINT_PTR id)
{
    if (id == TimerDelay) {
        KillTimer(TimerDelay);
        SetTimer(TimerRepeat, KeyRepeatIntervalMs());
    } else if (id == TimerRepeat) {
        DoPartAction(m_pressedPart);
    } else {
        Default();
    }
}

void CCustomScrollBar::BarMouseMove(CPoint pt)
{
    if (m_pressedPart == PartThumb && pt != m_lastPoint) {
        m_lastPoint = pt;
        const int start = FirstArrowLength();
        const int span = LastArrowStart() - start - GetThumbLength();
        m_thumbPos = (IsVertical() ? pt.y : pt.x) - GetThumbLength() / 2;
        ClampThumb();
        int minPos = 0, maxPos = 0;
        GetScrollRange(&minPos, &maxPos);
        int pos = minPos;
        if (span > 0)
            pos = minPos + static_cast<int>(static_cast<long long>(maxPos - minPos) * (m_thumbPos - start) / span);
        SetScrollPos(pos, FALSE);
        m_trackPos = pos;
        SendScroll(MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(pos)));
        RedrawNC(this);
    }
    if (m_hover)
        RedrawNC(this);
}

void CCustomScrollBar::BarButtonUp(CPoint pt)
{
    if (!m_buttonDown)
        return;
    const bool wasPressed = m_pressedPart != PartNone || ::GetCapture() == m_hWnd;
    KillTimer(TimerDelay);
    KillTimer(TimerRepeat);
    m_pressedPart = PartNone;
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
    UpdateThumbFromPos();
    if (wasPressed)
        SendScroll(SB_ENDSCROLL);
}

void CCustomScrollBar::OnCaptureChanged(CWnd* wnd)
{
    // Capture taken away mid-press: stop repeating.
    if (wnd && wnd->m_hWnd == m_hWnd)
        return;
    KillTimer(TimerDelay);
    KillTimer(TimerRepeat);
    if (m_pressedPart != PartNone) {
        m_pressedPart = PartNone;
        RedrawNC(this);
    }
}
