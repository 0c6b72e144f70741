#include "views/device/PicImageWnd.h"

#include "classlib/CMemDC.h"
#include "common/ButtonStrips.h"
#include "common/ThemeLibrary.h"
#include "controls/NotifyForward.h"
#include "core/Global.h"
#include "frame/MainWindowCalls.h"
#include "res/picture_ids.h"
#include "views/device/PicFrame.h"

namespace {

constexpr COLORREF kOuterLine = RGB(150, 150, 152), kDark = RGB(30, 30, 35), kPanel = RGB(60, 60, 70),
                   kFrameLine = RGB(156, 156, 158);

void FillSolid(HDC dc, const RECT& r, COLORREF color)
{
    ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

HPEN AntsPen(COLORREF color, const DWORD* style)
{
    LOGBRUSH brush{BS_SOLID, color, 0};
    return ::ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 1, &brush, 4, style);
}

void Outline(HDC dc, const RECT& r)
{
    const POINT pts[5] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
    ::Polyline(dc, pts, 5);
}

void Cross(HDC dc, int x, int y)
{
    ::MoveToEx(dc, x - 11, y, nullptr);
    ::LineTo(dc, x + 12, y);
    ::MoveToEx(dc, x, y - 11, nullptr);
    ::LineTo(dc, x, y + 12);
}

}  // namespace

int PicIconSide()
{
    const int type = theGlobal.m_modelType;
    return type == 1 || type == 4 || type == 6 ? 24 : 32;
}

BEGIN_MESSAGE_MAP(CPicImageWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CPicImageWnd::CPicImageWnd() { InitDibImage(&m_picture); }

CPicImageWnd::~CPicImageWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_picture);
}

int CPicImageWnd::IconSide() const { return PicIconSide(); }

bool CPicImageWnd::IconMode() const { return theGlobal.m_docIg.m_targetKind != IG_TARGET_SPLASH; }

int CPicImageWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    RemoveWindowTheme(m_hWnd);
    const struct {
        CCustomButton* button;
        UINT id;
        const wchar_t *format, *base;
    } pictures[] = {
        {&m_btnFitWidth, ID_PIC_FIT_WIDTH, L"btn_Fit_W_%s.bmp", L"btn_Fit_W_normal.bmp"},
        {&m_btnFitHeight, ID_PIC_FIT_HEIGHT, L"btn_Fit_H_%s.bmp", L"btn_Fit_H_normal.bmp"},
        {&m_btnRotateRight, ID_PIC_ROTATE_RIGHT, L"btn_Rotate_R_%s.bmp", L"btn_Rotate_R_normal.bmp"},
        {&m_btnRotateLeft, ID_PIC_ROTATE_LEFT, L"btn_Rotate_L_%s.bmp", L"btn_Rotate_L_normal.bmp"},
    };
    for (const auto& p : pictures) {
        if (!p.button->Create(CRect(0, 0, 120, 24), this, p.id, FALSE) ||
            !p.button->LoadBitmaps(p.format, p.base, L"normal", L"pressed", L"pressed", L"hot", L"disable"))
            return -1;
        p.button->SetWindowPos(HWND{}, 0, 0, p.button->m_strip.width, p.button->GetFrameHeight(),
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        p.button->SetRoundRegion();
    }
    const struct {
        CCustomButton* button;
        UINT id;
        int caption;
    } captions[] = {{&m_btnCrop, ID_PIC_TRIM, 132}, {&m_btnCancel, ID_PIC_CANCEL, 136}, {&m_btnIconEdit, ID_PIC_ICON_EDIT, 131}};
    for (const auto& c : captions) {
        if (!c.button->Create(CRect(0, 0, 146, 38), this, c.id, FALSE) ||
            !BuildButtonImage(&c.button->m_strip, theGlobal.UiString(c.caption), 146, 38, 200, TRUE))
            return -1;
        c.button->SetRoundRegion();
    }
    CCustomButton* tipped[4] = {&m_btnFitWidth, &m_btnFitHeight, &m_btnRotateRight, &m_btnRotateLeft};
    const int tipTexts[4] = {171, 170, 172, 173};
    for (int i = 0; i < 4; ++i)
        if (m_tips[i].Create(this))
            m_tips[i].AddTool(tipped[i], theGlobal.UiString(tipTexts[i]));
    SetTimer(AntsTimer, AntsPeriod, nullptr);
    return 0;
}

void CPicImageWnd::OnDestroy()
{
    KillTimer(AntsTimer);
    Default();
}

void CPicImageWnd::OnSize(UINT, int cx, int cy)
{
    if (cx && cy)
        Layout();
}

void CPicImageWnd::Layout()
{
    if (!m_hWnd || MainWindowMinimised())
        return;
    CRect c;
    GetClientRect(&c);
    const int fitHeight = m_btnFitWidth.GetSafeHwnd() ? m_btnFitWidth.GetFrameHeight() : 24;
    m_display = picframe::DisplayRect(c.Width(), c.Height(), m_targetWidth, m_targetHeight, IconMode(), IconSide(),
                                      fitHeight);
    const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    const struct {
        CCustomButton* button;
        int x, y;
    } places[] = {
        {&m_btnFitHeight, 59, 61},
        {&m_btnFitWidth, 117, 61},
        {&m_btnRotateLeft, 175, 61},
        {&m_btnRotateRight, 233, 61},
        {&m_btnCrop, c.Width() - 192, 61},
        {&m_btnCancel, c.Width() - 10 - m_btnCancel.m_strip.width, c.Height() - 48},
        {&m_btnIconEdit, c.Width() - 10 - m_btnCancel.m_strip.width - 166, c.Height() - 48},
    };
    for (const auto& p : places)
        if (p.button->GetSafeHwnd())
            p.button->SetWindowPos(HWND{}, p.x, p.y, 0, 0, flags);
    Invalidate(FALSE);
}

RECT CPicImageWnd::PictureRectToScreen(const RECT& picture) const
{
    if (!HasPicture())
        return RECT{};
    return picframe::RectToClient(picture, m_display, m_picture.width, m_picture.height);
}

BOOL CPicImageWnd::SetFrameFromScreenRect(const RECT& r)
{
    if (r.top < m_display.top || r.left < m_display.left || r.bottom > m_display.bottom || r.right > m_display.right)
        return FALSE;
    if (m_display.right <= m_display.left || m_display.bottom <= m_display.top || !HasPicture())
        return FALSE;
    m_frame = picframe::RectToPicture(r, m_display, m_picture.width, m_picture.height);
    return TRUE;
}

void CPicImageWnd::ResetFrame() { m_frame = RECT{0, 0, m_picture.width, m_picture.height}; }

RECT CPicImageWnd::FrameOnScreen() const { return PictureRectToScreen(m_frame); }

int CPicImageWnd::HitAt(POINT pt) const
{
    if (!HasPicture())
        return picframe::HitNone;
    return picframe::HitTest(FrameOnScreen(), pt);
}

void CPicImageWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC mem(&paint, client);
    HDC dc = mem.GetSafeHdc();
    const RECT& d = m_display;

    // Outside the display rectangle: a framed dark field.
    HRGN all = ::CreateRectRgnIndirect(&client), inner = ::CreateRectRgnIndirect(&d);
    ::ExtSelectClipRgn(dc, inner, RGN_XOR);
    ::SelectObject(dc, ::GetStockObject(DC_PEN));
    ::SelectObject(dc, ::GetStockObject(DC_BRUSH));
    ::SetDCPenColor(dc, kOuterLine);
    ::SetDCBrushColor(dc, kDark);
    ::Rectangle(dc, client.left, client.top, client.right, client.bottom);
    FillSolid(dc, RECT{23, 31, client.right - 23, client.bottom - 89}, kPanel);
    RECT border = d;
    ::InflateRect(&border, 2, 2);
    FillSolid(dc, border, kFrameLine);
    ::SelectClipRgn(dc, all);
    ::DeleteObject(all);
    ::DeleteObject(inner);
    ::SelectClipRgn(dc, nullptr);
    FillSolid(dc, d, kDark);

    const int side = IconSide();
    const bool icon = IconMode();
    if (icon) {
        RECT box{d.left - side - 44, d.top - 2, d.left - 42, d.top + side};
        FillSolid(dc, box, kFrameLine);
        ::InflateRect(&box, -1, -1);
        FillSolid(dc, box, kPanel);
    }
    if (HasPicture()) {
        ::SetStretchBltMode(dc, HALFTONE);
        DrawDibEx(&m_picture, dc, d.left, d.top, d.right - d.left, d.bottom - d.top, 0, 0, m_picture.width,
                  m_picture.height);
        if (m_frameShown)
            DrawFrame(dc);
    }
    if (icon && theGlobal.m_docIg.HasPicture()) {
        DIB_IMAGE preview;
        InitDibImage(&preview);
        if (theGlobal.m_docIg.GetTargetBitmap(&preview))
            DrawDibEx(&preview, dc, d.left - side - 43, d.top - 1, side, side, 0, 0, preview.width, preview.height);
        FreeDibImage(&preview);
    }
}

void CPicImageWnd::DrawFrame(HDC dc) const
{
    RECT r = FrameOnScreen();
    --r.right;
    --r.bottom;
    DWORD white[4], black[4];
    picframe::AntsPatterns(m_antsPhase, white, black);
    HPEN blackPen = AntsPen(RGB(0, 0, 0), black), whitePen = AntsPen(RGB(255, 255, 255), white);
    HGDIOBJ old = ::SelectObject(dc, blackPen);
    ::SetBkMode(dc, TRANSPARENT);
    Outline(dc, r);
    ::SelectObject(dc, whitePen);
    Outline(dc, r);
    if (r.right - r.left > 22 && r.bottom - r.top > 22) {
        const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
        ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
        Cross(dc, cx + 1, cy + 1);
        ::SelectObject(dc, ::GetStockObject(WHITE_PEN));
        Cross(dc, cx, cy);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(blackPen);
    ::DeleteObject(whitePen);
}

void CPicImageWnd::OnTimer(UINT_PTR id)
{
    if (id != AntsTimer) {
        Default();
        return;
    }
    if (m_dragging || !m_frameShown || (::GetAsyncKeyState(VK_LBUTTON) & 0x8000))
        return;
    m_antsPhase = (m_antsPhase + 1) % 10;
    InvalidateRect(&m_display, FALSE);
}

void CPicImageWnd::DrawRubberBand(const RECT& r)
{
    // A one-pixel grey border drawn by inversion: drawn twice it is gone.
    HDC dc = ::GetDC(m_hWnd);
    HBRUSH brush = ::CreateSolidBrush(RGB(128, 128, 128));
    HGDIOBJ old = ::SelectObject(dc, brush);
    const int w = r.right - r.left, h = r.bottom - r.top;
    ::PatBlt(dc, r.left, r.top, w, 1, PATINVERT);
    ::PatBlt(dc, r.left, r.bottom - 1, w, 1, PATINVERT);
    if (h > 2) {
        ::PatBlt(dc, r.left, r.top + 1, 1, h - 2, PATINVERT);
        ::PatBlt(dc, r.right - 1, r.top + 1, 1, h - 2, PATINVERT);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(brush);
    ::ReleaseDC(m_hWnd, dc);
}

void CPicImageWnd::OnLButtonDown(UINT, CPoint pt)
{
    SetFocus();
    const int hit = HitAt(pt);
    if (!::GetCapture() && m_frameShown && hit != picframe::HitNone) {
        m_lastDragRect = FrameOnScreen();
        const POINT p = picframe::ToPicture(pt, m_display, m_picture.width, m_picture.height);
        m_grab = POINT{p.x - m_frame.left, p.y - m_frame.top};
        m_dragging = 1;
        m_dragRectDrawn = 0;
        m_dragHit = hit;
        SetCapture();
    }
    Default();
}

void CPicImageWnd::OnMouseMove(UINT, CPoint pt)
{
    if (!m_dragging) {
        if (m_frameShown)
            if (LPCWSTR cursor = picframe::HitCursor(HitAt(pt)))
                ::SetCursor(::LoadCursorW(nullptr, cursor));
        Default();
        return;
    }
    const POINT p = picframe::ToPicture(pt, m_display, m_picture.width, m_picture.height);
    const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    picframe::Drag(m_frame, m_dragHit, shift, p, m_grab, m_picture.width, m_picture.height);
    const RECT now = FrameOnScreen();
    if (m_dragRectDrawn)
        DrawRubberBand(m_lastDragRect);
    DrawRubberBand(now);
    m_dragRectDrawn = 1;
    m_lastDragRect = now;
}

void CPicImageWnd::OnLButtonUp(UINT, CPoint)
{
    if (m_dragging) {
        m_dragging = 0;
        m_dragHit = 0;
        m_dragRectDrawn = 0;
        ::ReleaseCapture();
        InvalidateRect(&m_display, FALSE);
    }
    Default();
}

void CPicImageWnd::OnLButtonDblClk(UINT, CPoint)
{
    if (theGlobal.m_docIg.HasPicture())
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_COMMAND, ID_PIC_TRIM, 0);
}

void CPicImageWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
    SetFocus();
}

void CPicImageWnd::OnSetFocus(CWnd*)
{
    Default();
    Invalidate(FALSE);
}

void CPicImageWnd::OnKillFocus(CWnd*)
{
    Default();
    Invalidate(FALSE);
}

BOOL CPicImageWnd::OnSetCursor(CWnd* wnd, UINT hit, UINT message)
{
    if (hit == HTCLIENT) {
        POINT pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        if (HasPicture() && picframe::HitTest(FrameOnScreen(), pt) != picframe::HitNone)
            return TRUE;
    }
    return static_cast<BOOL>(Default());
}

BOOL CPicImageWnd::OnNotify(WPARAM wp, LPARAM lp, LRESULT* result) { return ForwardNotifyToParent(this, wp, lp, result); }

BOOL CPicImageWnd::PreTranslateMessage(MSG* msg)
{
    for (auto& tip : m_tips)
        if (tip.GetSafeHwnd())
            tip.RelayEvent(msg);
    if (msg->message == WM_KEYDOWN && m_frameShown && HasPicture() && msg->hwnd == m_hWnd)
        picframe::Nudge(m_frame, static_cast<UINT>(msg->wParam), m_picture.width, m_picture.height);
    return CWnd::PreTranslateMessage(msg);
}
