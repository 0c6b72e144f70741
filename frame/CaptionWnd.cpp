#include "frame/CaptionWnd.h"

#include "common/ThemeLibrary.h"
#include "common/Utility.h"
#include "controls/CustomMenu.h"
#include "core/Global.h"
#include "classlib/CMemDC.h"
#include "res/frame_ids.h"

namespace {

enum { kLeftTop, kTile, kRightTop, kTitle, kBottom };
const wchar_t* const kImageNames[5] = {L"caption_lefttop.bmp", L"caption_tile.bmp", L"caption_righttop.bmp",
                                       L"caption_title.bmp", L"caption_bottom.bmp"};

BOOL LoadSystemButton(CCustomButton& button, CWnd* parent, UINT command, const wchar_t* name)
{
    wchar_t format[64], base[64];
    wsprintfW(format, L"sysbtn_%s_%%s.bmp", name);
    wsprintfW(base, L"sysbtn_%s_normal.bmp", name);
    return button.Create(CRect(0, 0, 0, 0), parent, command, TRUE) &&
           button.LoadBitmaps(format, base, L"normal", L"pressed", L"pressed", L"hot", L"disable");
}

// Text of the menu resource's fourth top-level item ("Menu(&H)").
CString MenuBarLabel()
{
    CString label;
    if (HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_FRAME_MENU))) {
        wchar_t text[128] = {};
        if (::GetMenuStringW(menu, 3, text, 128, MF_BYPOSITION))
            label = text;
        ::DestroyMenu(menu);
    }
    return label;
}

}  // namespace

BEGIN_MESSAGE_MAP(CCaptionWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_COMMAND_RANGE(ID_MENU_FILE, ID_MENU_HELP, OnMenuButton)
END_MESSAGE_MAP()

CCaptionWnd::CCaptionWnd() = default;

CCaptionWnd::~CCaptionWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

int CCaptionWnd::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    RemoveWindowTheme(m_hWnd);
    if (!m_images.Load(kImageNames))
        return -1;
    m_text.SetTextColor(RGB(255, 255, 255));
    if (!LoadSystemButton(m_close, this, SC_CLOSE, L"close") || !LoadSystemButton(m_minimize, this, SC_MINIMIZE, L"icon") ||
        !LoadSystemButton(m_maximize, this, SC_MAXIMIZE, L"zoom") ||
        !LoadSystemButton(m_restore, this, SC_RESTORE, L"restore"))
        return -1;
    if (!m_menu.Create(CRect(0, 0, 0, 0), this, ID_MENU_HELP, FALSE) || !BuildMenuButtonFrames())
        return -1;
    m_menu.m_clickOnPress = TRUE;
    m_menu.EnableWindow(TRUE);
    m_menu.ShowWindow(SW_SHOW);
    return 0;
}

// The menu button's five frames: the single picture with the menu label drawn
// on it in each state's look.
BOOL CCaptionWnd::BuildMenuButtonFrames()
{
    DIB_IMAGE face;
    InitDibImage(&face);
    if (!LoadDibFromPack(L"caption_menu_btn.bmp", &face))
        return FALSE;
    const int w = face.width, h = face.height;
    DIB_IMAGE& strip = m_menu.m_strip;
    FreeDibImage(&strip);
    BOOL ok = CreateDib(&strip, w, h * 5);
    HFONT font = nullptr;
    if (ok && CreateTahomaFont(FALSE, &font, 120, FALSE)) {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ oldBitmap = ::SelectObject(dc, strip.bitmap);
        HGDIOBJ oldFont = ::SelectObject(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        const CString label = MenuBarLabel();
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, label, label.GetLength(), &extent);
        HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(143, 145, 155));
        HBRUSH brush = ::CreateSolidBrush(RGB(151, 147, 161));
        for (int n = 0; n < 5; ++n) {
            const int top = n * h;
            DrawDib(&face, dc, 0, top);
            CRect text((w - extent.cx - 16) / 2, top, (w + extent.cx + 16) / 2, top + h);
            auto draw = [&](COLORREF colour, int dx) {
                CRect r = text;
                r.OffsetRect(dx, dx);
                ::SetTextColor(dc, colour);
                ::DrawTextW(dc, label, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
            };
            if (n == 1 || n == 3) {
                HGDIOBJ oldPen = ::SelectObject(dc, pen);
                HGDIOBJ oldBrush = ::SelectObject(dc, brush);
                ::Rectangle(dc, 1, top + 1, w - 1, top + h - 1);
                ::SelectObject(dc, oldPen);
                ::SelectObject(dc, oldBrush);
            }
            switch (n) {
            case 0: draw(RGB(255, 255, 255), 0); break;
            case 1: draw(RGB(1, 1, 2), 1); break;
            case 2:
            case 3: draw(RGB(1, 1, 2), 0); break;
            default:
                draw(RGB(240, 241, 247), 1);
                draw(RGB(187, 188, 192), 0);
            }
        }
        ::DeleteObject(pen);
        ::DeleteObject(brush);
        ::SelectObject(dc, oldFont);
        ::SelectObject(dc, oldBitmap);
        ::DeleteDC(dc);
        ::DeleteObject(font);
    } else {
        ok = FALSE;
    }
    FreeDibImage(&face);
    if (ok)
        m_menu.SetWindowPos(HWND{}, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return ok;
}

void CCaptionWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type == SIZE_MINIMIZED)
        return;
    const int b = m_close.m_strip.width;
    const int bh = m_close.GetFrameHeight();
    m_close.SetWindowPos(HWND{}, cx - b - 8, 9, b, bh, SWP_NOZORDER | SWP_NOACTIVATE);
    m_maximize.SetWindowPos(HWND{}, cx - 2 * b - 9, 9, b, bh, SWP_NOZORDER | SWP_NOACTIVATE);
    m_restore.SetWindowPos(HWND{}, cx - 2 * b - 9, 9, b, bh, SWP_NOZORDER | SWP_NOACTIVATE);
    m_minimize.SetWindowPos(HWND{}, cx - 3 * b - 10, 9, b, bh, SWP_NOZORDER | SWP_NOACTIVATE);
    const int mw = m_menu.m_strip.width;
    m_menu.SetWindowPos(HWND{}, cx - 3 * b - 10 - mw - 30, 9, mw, m_menu.GetFrameHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
    ShowZoomButtons();
}

void CCaptionWnd::OnWindowPosChanged(WINDOWPOS* pos)
{
    Default();
    ShowZoomButtons();
}

void CCaptionWnd::ShowZoomButtons()
{
    HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
    const BOOL zoomed = top && ::IsZoomed(top);
    if (m_maximize.GetSafeHwnd())
        m_maximize.ShowWindow(zoomed ? SW_HIDE : SW_SHOW);
    if (m_restore.GetSafeHwnd())
        m_restore.ShowWindow(zoomed ? SW_SHOW : SW_HIDE);
}

void CCaptionWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    dc.FillSolidRect(&client, kPaneBack);
    const DIB_IMAGE& left = m_images[kLeftTop];
    const DIB_IMAGE& right = m_images[kRightTop];
    const DIB_IMAGE& title = m_images[kTitle];
    const DIB_IMAGE& bottom = m_images[kBottom];
    DrawDibEx(&bottom, dc, 0, client.bottom - 1, client.Width(), 1, 0, 0, bottom.width, bottom.height);
    DrawDibEx(&title, dc, left.width, 0, client.Width() - left.width - right.width, client.bottom - 1, 0, 0,
              title.width, title.height);
    DrawDib(&left, dc, 0, 0);
    DrawDib(&right, dc, client.right - right.width, 0);
    CRect text = client;
    text.top += 5;
    text.bottom -= 3;
    m_text.DrawTextFit(dc, theGlobal.m_areaCode == 1 ? L"Mirovale" : L"Seravine", 140, TRUE,
                       Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, text);
}

void CCaptionWnd::OnMenuButton(UINT id)
{
    if (id != ID_MENU_HELP)
        return;
    CWnd* main = AfxGetMainWnd();
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_FRAME_MENU));
    HMENU popup = menu ? ::GetSubMenu(menu, 3) : nullptr;
    if (!popup || !main) {
        if (menu)
            ::DestroyMenu(menu);
        return;
    }
    m_menu.ChangeState(kStatePressed);
    m_menu.UpdateWindow();
    main->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 3);
    CCustomMenu custom;
    custom.LoadMenu(popup);
    CRect button;
    m_menu.GetWindowRect(&button);
    const UINT chosen = custom.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_CENTERALIGN | TPM_RIGHTALIGN,
                                              button.left, button.bottom, main);
    ::DestroyMenu(menu);
    if (chosen)
        main->PostMessage(WM_COMMAND, chosen, 0);
    else if (custom.m_leaveDirection)
        PostMessage(WM_COMMAND, ID_MENU_HELP, 0);
    m_menu.ChangeState(kStateNormal);
    m_menu.UpdateWindow();
}
