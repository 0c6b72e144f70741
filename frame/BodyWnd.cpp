#include "frame/BodyWnd.h"

#include <mmsystem.h>

#include "common/LogWriter.h"
#include "common/ThemeLibrary.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "classlib/CMemDC.h"
#include "frame/PaneSides.h"

namespace {

enum { kLeft, kRight, kTileLeft, kTileRight, kEcoFirst };
const wchar_t* const kImageNames[9] = {
    L"body_left.bmp",          L"body_right.bmp",       L"body_tile_left.bmp",
    L"body_tile_right.bmp",    L"eco_VeryGood_body.bmp", L"eco_Good_body.bmp",
    L"eco_Normal_body.bmp",    L"eco_Bad_body.bmp",     L"eco_VeryBad_body.bmp",
};

// The fuel document's eco level (0..4, -1 without data).
int FuelEcoLevel() { return theGlobal.m_docFe.m_ecoLevel; }

}  // namespace

BEGIN_MESSAGE_MAP(CBodyWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_NCHITTEST()
    ON_WM_DESTROY()
    ON_REGISTERED_MESSAGE(WM_USER_IDLE, OnUserIdle)
END_MESSAGE_MAP()

CBodyWnd::CBodyWnd() = default;

CBodyWnd::~CBodyWnd()
{
    // The views' windows go with the body's; then the objects, last first.
    if (GetSafeHwnd())
        DestroyWindow();
    for (int i = kViewCount - 1; i >= 0; --i)
        m_views[i].reset();
}

CWnd* CBodyWnd::GetView(int index) const
{
    return index >= 0 && index < kViewCount ? m_views[index].get() : nullptr;
}

int CBodyWnd::OnCreate(LPCREATESTRUCTW cs)
{
    m_current = theGlobal.m_viewKind;
    if (Default() == -1)
        return -1;
    RemoveWindowTheme(m_hWnd);
    if (!m_images.Load(kImageNames))
        return -1;
    const CRect rect(m_images[kLeft].width, 0, 0, 0);
    for (const VIEW_TABLE_ROW& row : kViewCreationOrder) {
        m_views[row.index] = MakeView(row);
        if (!m_views[row.index]->Create(nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, rect, this, 0xFFFF))
            return -1;
        // The page's name as its window text: what tools and tests see of it.
        m_views[row.index]->SetWindowText(row.logName);
        WriteLogF(L"create %s window", row.logName);
    }
    if (CWnd* first = GetView(m_current))
        first->ShowWindow(SW_SHOW);
    WNDCLASSW wc{};
    if (!::GetClassInfoW(AfxGetInstanceHandle(), kEffectClass, &wc)) {
        wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
        wc.lpszClassName = kEffectClass;
        if (!::RegisterClassW(&wc))
            return -1;
    }
    return 0;
}

void CBodyWnd::OnDestroy()
{
    EndFade();
    Default();
}

void CBodyWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    const int width = cx - m_images[kLeft].width - m_images[kRight].width;
    for (auto& view : m_views)
        if (view && view->GetSafeHwnd())
            view->SetWindowPos(HWND{}, 0, 0, width > 0 ? width : 0, cy,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void CBodyWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    PaintPaneSides(dc, client, m_images[kLeft], m_images[kRight]);
    DrawDib(&m_images[kTileLeft], dc, 0, 0);
    DrawDib(&m_images[kTileRight], dc, client.right - m_images[kTileRight].width, 0);
    const int eco = FuelEcoLevel();
    if (m_current == 11 && eco >= 0 && eco <= 4) {
        const DIB_IMAGE& picture = m_images[kEcoFirst + eco];
        const DIB_IMAGE& normal = m_images[kEcoFirst + 2];
        DrawDibEx(&picture, dc, client.right - 2 - normal.width, client.bottom - 60 - normal.height, normal.width,
                  normal.height, 0, 0, picture.width, picture.height);
    }
}

void CBodyWnd::SwitchView(int index)
{
    CWnd* next = GetView(index);
    if (!next)
        return;
    CRect screen;
    GetClientRect(&screen);
    ClientToScreen(&screen);
    HDC bodyDc = ::GetDC(m_hWnd);
    if (!m_effect && theGlobal.m_animation) {
        m_effect = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST,
                                     kEffectClass, L"", WS_POPUP | WS_VISIBLE, screen.left, screen.top,
                                     screen.Width(), screen.Height(), ::GetAncestor(m_hWnd, GA_ROOT), nullptr,
                                     AfxGetInstanceHandle(), nullptr);
        if (m_effect) {
            RemoveWindowTheme(m_effect);
            ::SetFocus(m_hWnd);
        }
    }
    if (m_effect) {
        // A snapshot of the page as it is now, faded out over the new one.
        DIB_IMAGE snapshot;
        InitDibImage(&snapshot);
        if (CreateDib(&snapshot, screen.Width(), screen.Height())) {
            HDC memory = ::CreateCompatibleDC(bodyDc);
            HGDIOBJ old = ::SelectObject(memory, snapshot.bitmap);
            ::BitBlt(memory, 0, 0, screen.Width(), screen.Height(), bodyDc, 0, 0, SRCCOPY);
            m_fade = {255, timeGetTime()};
            POINT at = screen.TopLeft(), origin{0, 0};
            SIZE size{screen.Width(), screen.Height()};
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, 0};
            ::UpdateLayeredWindow(m_effect, nullptr, &at, &size, memory, &origin, 0, &blend, ULW_ALPHA);
            ::UpdateWindow(m_effect);
            SetTimer(FadeTimer, 25, nullptr);
            ::SelectObject(memory, old);
            ::DeleteDC(memory);
        }
        FreeDibImage(&snapshot);
    }
    ::ReleaseDC(m_hWnd, bodyDc);
    if (CWnd* current = GetView(m_current))
        current->ShowWindow(SW_HIDE);
    m_current = index;
    next->ShowWindow(SW_SHOW);
    next->UpdateWindow();
    Invalidate(TRUE);
}

void CBodyWnd::OnTimer(UINT_PTR id)
{
    if (id != FadeTimer) {
        Default();
        return;
    }
    if (!m_effect) {
        KillTimer(FadeTimer);
        return;
    }
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(m_fade.alpha < 0 ? 0 : m_fade.alpha), 0};
    ::UpdateLayeredWindow(m_effect, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &blend, ULW_ALPHA);
    if (!FadeTick(m_fade, timeGetTime()))
        EndFade();
}

void CBodyWnd::EndFade()
{
    if (m_effect) {
        ::DestroyWindow(m_effect);
        m_effect = nullptr;
    }
    if (m_hWnd)
        KillTimer(FadeTimer);
}

BOOL CBodyWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info)
{
    // Every view is asked, hidden ones too, the current one first.
    for (int i = 0; i < kViewCount; ++i) {
        CWnd* view = GetView((m_current + i) % kViewCount);
        if (view && view->OnCmdMsg(id, code, extra, info))
            return TRUE;
    }
    return CWnd::OnCmdMsg(id, code, extra, info);
}

LRESULT CBodyWnd::OnUserIdle(WPARAM, LPARAM)
{
    for (int i = 0; i < kViewCount; ++i) {
        CWnd* view = GetView((m_current + i) % kViewCount);
        if (view && view->GetSafeHwnd())
            view->SendMessage(WM_USER_IDLE, 0, 0);
    }
    return 0;
}
