#include "frame/SplashWnd.h"

#include "common/ThemeLibrary.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "frame/OwnVersion.h"

BEGIN_MESSAGE_MAP(CSplashWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CSplashWnd::CSplashWnd()
{
    InitDibImage(&m_image);
}

CSplashWnd::~CSplashWnd()
{
    if (m_hWnd)
        DestroyWindow();
    FreeDibImage(&m_image);
    if (m_font)
        ::DeleteObject(m_font);
}

BOOL CSplashWnd::Create(const wchar_t*, const wchar_t*, DWORD, const RECT&, CWnd*, UINT, void*)
{
    UINT classStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    if (theUxThemeLibrary && theUxThemeLibrary->module)
        classStyle |= CS_DROPSHADOW;
    const wchar_t* cls = AfxRegisterWndClass(classStyle, ::LoadCursorW(nullptr, IDC_WAIT), nullptr,
                                             ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128)));
    FreeDibImage(&m_image);
    if (!LoadDibFromPack(SplashPictureName(theGlobal.m_areaCode), &m_image))
        return FALSE;
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls, L"", WS_POPUP, 0, 0, m_image.width, m_image.height, nullptr,
                  nullptr))
        return FALSE;
    RemoveWindowTheme(m_hWnd);
    // Centred on the screen, not on a window: no main window exists yet.
    CRect r;
    GetWindowRect(&r);
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - r.Width()) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - r.Height()) / 2;
    SetWindowPos(static_cast<HWND>(nullptr), x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(SW_SHOWNOACTIVATE);
    UpdateWindow();
    return TRUE;
}

int CSplashWnd::OnCreate(LPCREATESTRUCTW)
{
    if (!CreateTahomaFont(FALSE, &m_font, 100, FALSE))
        return -1;
    SetFont(m_font, FALSE);
    m_label.m_rightRoom = kVersionLabelRoom;
    if (!m_label.Create(VersionLabelText(), WS_VISIBLE | SS_RIGHT | SS_CENTERIMAGE,
                        kVersionLabelWindow, this))
        return -1;
    m_label.SetFont(m_font, FALSE);
    return 0;
}

void CSplashWnd::OnPaint()
{
    CPaintDC dc(this);
    DrawDib(&m_image, dc.GetSafeHdc(), 0, 0);
}

void CSplashWnd::OnDestroy()
{
    SendMessage(WM_SETFONT, 0, FALSE);
    if (m_label.m_hWnd)
        m_label.SendMessage(WM_SETFONT, 0, FALSE);
    Default();
}
