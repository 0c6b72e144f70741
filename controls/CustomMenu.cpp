#include "controls/CustomMenu.h"

#include <algorithm>

#include "common/Utility.h"
#include "core/Global.h"

BEGIN_MESSAGE_MAP(CCustomMenu, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_SYSKEYDOWN()
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
bool IsGrayed(UINT state) { return (state & (MF_GRAYED | MF_DISABLED)) != 0; }

void Fill(HDC dc, const RECT& rc, COLORREF colour)
{
    HBRUSH b = CreateSolidBrush(colour);
    FillRect(dc, &rc, b);
    DeleteObject(b);
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}
}  // namespace

CCustomMenu::CCustomMenu() = default;

CCustomMenu::~CCustomMenu()
{
    if (m_font)
        DeleteObject(m_font);
}

const CCustomMenu::jumptable* CCustomMenu::FindJump(wchar_t c) const
{
    auto it = m_jumpTable.find(c);
    return it == m_jumpTable.end() ? nullptr : &it->second;
}

BOOL CCustomMenu::LoadMenu(HMENU menu)
{
    if (!m_font && !CreateTahomaFont(FALSE, &m_font, 100, FALSE))
        return FALSE;
    m_texts.clear();
    m_ids.clear();
    m_states.clear();
    m_jumpTable.clear();
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t buffer[257] = {};
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE;
        mii.dwTypeData = buffer;
        mii.cch = 256;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii))
            continue;
        const bool separator = (mii.fType & MFT_SEPARATOR) != 0;
        CString text = separator ? CString() : CString(buffer);
        const UINT id = separator ? 0 : mii.wID;
        const int index = static_cast<int>(m_ids.size());
        // The mnemonic: the character after the first "&" that is not "&&".
        for (int p = 0; p + 1 < text.GetLength(); ++p) {
            if (text[p] != L'&')
                continue;
            if (text[p + 1] == L'&') {
                ++p;
                continue;
            }
            wchar_t c = static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(text[p + 1])))));
            jumptable& jump = m_jumpTable[c];
            if (jump.count < jumptable::MaxItems)
                jump.indices[jump.count++] = index;
            break;
        }
        m_texts.push_back(CString(L"   ") + text + L"   ");
        m_ids.push_back(id);
        m_states.push_back(mii.fState | (id == 0 ? MF_SEPARATOR : 0));
    }
    m_selected = -1;
    return TRUE;
}

void CCustomMenu::MeasureItem(SIZE* size, int index)
{
    if (index < 0 || index >= GetItemCount())
        return;
    if (IsSeparator(index)) {
        size->cx = 0;
        size->cy = 6;
        return;
    }
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, m_font);
    const CString& text = m_texts[static_cast<size_t>(index)];
    const int tab = text.Find(L'\t');
    SIZE extent{};
    if (tab < 0) {
        GetTextExtentPoint32W(dc, text, text.GetLength(), &extent);
    } else {
        CString measured = text.Left(tab);
        if (m_showAccelerators)
            measured += CString(L"    ") + text.Mid(tab + 1);
        GetTextExtentPoint32W(dc, measured, measured.GetLength(), &extent);
    }
    SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    size->cx = extent.cx;
    size->cy = extent.cy + 4;
}

UINT CCustomMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner)
{
    HWND previousFocus = ::GetFocus();
    const DWORD mp = GetMessagePos();
    m_openPoint = POINT{static_cast<short>(LOWORD(mp)), static_cast<short>(HIWORD(mp))};
    m_flags = flags;
    m_leaveDirection = 0;
    m_clickThrough.recorded = FALSE;
    m_selected = -1;
    m_x = x;
    m_y = y;

    HINSTANCE instance = GetModuleHandleW(nullptr);
    const wchar_t* cls = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_SAVEBITS,
                                             LoadCursorW(nullptr, IDC_ARROW),
                                             static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)),
                                             LoadIconW(instance, MAKEINTRESOURCEW(128)));
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls, L"", WS_POPUP, x, y, 0, 0, nullptr, nullptr))
        return 0;

    CWnd* mainWnd = AfxGetMainWnd();
    HWND main = mainWnd ? mainWnd->m_hWnd : nullptr;
    if (main && !::IsWindow(main))
        main = nullptr;
    if (main)
        LockWindowUpdate(main);
    SetCapture();
    SetFocus();
    // Behind an open modal dialog the main window is disabled already and
    // must stay so when the menu closes.
    const BOOL mainWasEnabled = main && ::IsWindowEnabled(main);
    if (main)
        ::EnableWindow(main, FALSE);

    bool quit = false;
    WPARAM quitCode = 0;
    while (m_hWnd) {
        if (!AfxPumpMessage()) {
            // A quit that is not ours: close, and hand it on to the outer loop.
            quit = true;
            quitCode = AfxGetLastQuitCode();
            m_selected = -1;
            if (m_hWnd)
                DestroyWindow();
            break;
        }
    }

    if (main && mainWasEnabled)
        ::EnableWindow(main, TRUE);
    if (previousFocus && ::IsWindow(previousFocus))
        ::SetFocus(previousFocus);
    LockWindowUpdate(nullptr);
    if (main)
        ::UpdateWindow(main);

    const UINT chosen = m_selected >= 0 && m_selected < GetItemCount() ? m_ids[static_cast<size_t>(m_selected)] : 0;
    if (!(flags & TPM_RETURNCMD) && chosen) {
        HWND target = owner && owner->m_hWnd ? owner->m_hWnd : main;
        if (target)
            ::PostMessageW(target, WM_COMMAND, chosen, 0);
    }
    if (!chosen && m_clickThrough.recorded && main && ::IsWindowEnabled(main)) {
        HWND target = main;
        for (;;) {
            POINT cp = m_clickThrough.point;
            ::ScreenToClient(target, &cp);
            HWND child = ChildWindowFromPointEx(target, cp, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
            if (!child) {
                target = nullptr;
                break;
            }
            if (child == target)
                break;
            target = child;
        }
        if (target) {
            POINT cp = m_clickThrough.point;
            ::ScreenToClient(target, &cp);
            ::PostMessageW(target, m_clickThrough.message, m_clickThrough.wParam, MAKELPARAM(cp.x, cp.y));
        }
    }
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
    return chosen;
}

int CCustomMenu::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    const int count = GetItemCount();
    m_itemRects.assign(static_cast<size_t>(count), RECT{});
    int y = 0, width = 0;
    for (int i = 0; i < count; ++i) {
        SIZE size{};
        MeasureItem(&size, i);
        m_itemRects[static_cast<size_t>(i)] = RECT{0, y, size.cx, y + size.cy};
        y += size.cy;
        width = std::max<int>(width, size.cx);
    }
    for (auto& rc : m_itemRects)
        rc.right = width;
    const int height = y;
    if (m_roundCorners) {
        // The window owns its region from here on.
        HRGN region = CreateRoundRectRgn(0, 0, width + 3, height + 3, 4, 4);
        if (region && !SetWindowRgn(region, FALSE))
            DeleteObject(region);
    }
    MONITORINFO mi{sizeof(mi)};
    GetMonitorInfoW(MonitorFromPoint(POINT{m_x, m_y}, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& work = mi.rcWork;
    int x = std::max<int>(m_x, work.left), top = std::max<int>(m_y, work.top);
    if (top + height + 2 > work.bottom)
        top = work.bottom - height - 2;
    if (x + width + 2 > work.right)
        x = work.right - width - 2;
    SetWindowPos(HWND_TOPMOST, x, top, width + 2, height + 2, SWP_SHOWWINDOW);
    SetTimer(TimerId, TimerMs);
    return 0;
}

void CCustomMenu::OnDestroy()
{
    KillTimer(TimerId);
    Default();
}

void CCustomMenu::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    InflateRect(&params->rgrc[0], -1, -1);
}

void CCustomMenu::OnNcPaint()
{
    HDC dc = ::GetWindowDC(m_hWnd);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    HBRUSH b = CreateSolidBrush(kFrame);
    FrameRect(dc, &rc, b);
    DeleteObject(b);
    ::ReleaseDC(m_hWnd, dc);
}

void CCustomMenu::OnPaint()
{
    CPaintDC dc(this);
    for (int i = 0; i < GetItemCount(); ++i)
        DrawItem(i);
}

void CCustomMenu::DrawItem(int index)
{
    if (index < 0 || index >= GetItemCount() || index >= static_cast<int>(m_itemRects.size()) || !m_hWnd)
        return;
    HDC dc = ::GetDC(m_hWnd);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, m_font);
    const RECT rc = m_itemRects[static_cast<size_t>(index)];
    Fill(dc, rc, kItemBack);
    if (index == m_selected) {
        RECT inner = rc;
        InflateRect(&inner, -1, -1);
        Fill(dc, inner, kSelectedFill);
        SetTextColor(dc, kSelectedText);
    } else {
        SetTextColor(dc, kText);
    }
    if (m_roundCorners) {
        if (index == 0) {
            SetPixel(dc, rc.left, rc.top, kFrame);
            SetPixel(dc, rc.right - 1, rc.top, kFrame);
        }
        if (index == GetItemCount() - 1) {
            SetPixel(dc, rc.left, rc.bottom - 1, kFrame);
            SetPixel(dc, rc.right - 1, rc.bottom - 1, kFrame);
        }
    }
    if (IsSeparator(index)) {
        Line(dc, rc.left + 8, rc.top + 2, rc.right - 8, rc.top + 2, kSeparatorDark);
        Line(dc, rc.left + 8, rc.top + 3, rc.right - 8, rc.top + 3, kSeparatorLight);
    } else {
        RECT r = rc;
        InflateRect(&r, -1, -1);
        const UINT state = m_states[static_cast<size_t>(index)];
        if (state & MF_CHECKED) {
            const int m = (r.top + r.bottom) / 2;
            for (int k = 0; k < 3; ++k) {
                HPEN pen = CreatePen(PS_SOLID, 1, kText);
                HGDIOBJ old = SelectObject(dc, pen);
                MoveToEx(dc, r.left + 3, m + k - 2, nullptr);
                LineTo(dc, r.left + 5, m + k);
                LineTo(dc, r.left + 10, m + k - 5);
                SelectObject(dc, old);
                DeleteObject(pen);
            }
        } else if (IsGrayed(state)) {
            SetTextColor(dc, kGrayedText);
        }
        const CString& text = m_texts[static_cast<size_t>(index)];
        const int tab = text.Find(L'\t');
        RECT left = r;
        DrawTextW(dc, text, tab < 0 ? -1 : tab, &left, DT_SINGLELINE | DT_VCENTER);
        if (tab >= 0 && m_showAccelerators) {
            RECT right = r;
            DrawTextW(dc, text.GetString() + tab + 1, -1, &right, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        }
    }
    SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);
}

int CCustomMenu::ItemFromPoint(CPoint pt) const
{
    for (int i = 0; i < static_cast<int>(m_itemRects.size()); ++i)
        if (PtInRect(&m_itemRects[static_cast<size_t>(i)], pt))
            return i;
    return -1;
}

void CCustomMenu::Select(int index)
{
    if (index == m_selected)
        return;
    const int old = m_selected;
    m_selected = index;
    DrawItem(old);
    DrawItem(index);
}

void CCustomMenu::OnMouseMove(UINT, CPoint pt)
{
    CPoint screen = pt;
    ClientToScreen(&screen);
    if (screen == m_lastMove)
        return;
    m_lastMove = screen;
    m_openPoint = screen;
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(pt)) {
        Select(-1);
        return;
    }
    const int item = ItemFromPoint(pt);
    if (item >= 0 && !IsSeparator(item))
        Select(item);
}

void CCustomMenu::ButtonUp(CPoint pt)
{
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(pt))
        return;
    const int item = ItemFromPoint(pt);
    if (item < 0 || IsSeparator(item))
        return;  // a gap or a separator chooses nothing
    Select(item);
    PostKey(VK_RETURN);
}

void CCustomMenu::OnLButtonUp(UINT, CPoint pt)
{
    ButtonUp(pt);
}

void CCustomMenu::OnRButtonUp(UINT, CPoint pt)
{
    if (m_flags & TPM_RIGHTBUTTON)
        ButtonUp(pt);
}

void CCustomMenu::ButtonDown(UINT msg, UINT flags, CPoint pt)
{
    CPoint screen = pt;
    ClientToScreen(&screen);
    m_clickThrough.recorded = TRUE;
    m_clickThrough.message = msg;
    m_clickThrough.wParam = flags;
    m_clickThrough.point = screen;
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(pt))
        PostKey(VK_ESCAPE);
}

void CCustomMenu::OnLButtonDown(UINT flags, CPoint pt)
{
    ButtonDown(WM_LBUTTONDOWN, flags, pt);
}

void CCustomMenu::OnRButtonDown(UINT flags, CPoint pt)
{
    ButtonDown(WM_RBUTTONDOWN, flags, pt);
}

void CCustomMenu::Close()
{
    CWnd* mainWnd = AfxGetMainWnd();
    if (mainWnd && mainWnd->m_hWnd)
        mainWnd->BringWindowToTop();
    DestroyWindow();
}

void CCustomMenu::OnKeyDown(UINT key, UINT, UINT)
{
    const int count = GetItemCount();
    switch (key) {
    case VK_RETURN:
        if (m_selected >= 0 && IsGrayed(m_states[static_cast<size_t>(m_selected)]))
            return;
        Close();
        return;
    case VK_ESCAPE:
        m_selected = -1;
        Close();
        return;
    case VK_UP:
    case VK_DOWN: {
        if (count <= 1)
            return;
        const int step = key == VK_DOWN ? 1 : -1;
        int i = m_selected >= 0 ? m_selected : (step > 0 ? -1 : count);
        for (int n = 0; n < count; ++n) {
            i = (i + step + count) % count;
            if (!IsSeparator(i)) {
                Select(i);
                return;
            }
        }
        return;
    }
    case VK_HOME:
    case VK_END: {
        for (int n = 0; n < count; ++n) {
            const int i = key == VK_HOME ? n : count - 1 - n;
            if (!IsSeparator(i)) {
                Select(i);
                return;
            }
        }
        return;
    }
    case VK_LEFT:
    case VK_RIGHT:
        if ((m_flags & (LeaveLeftFlag | LeaveRightFlag)) == (LeaveLeftFlag | LeaveRightFlag)) {
            m_leaveDirection = key == VK_LEFT ? -1 : 1;
            PostKey(VK_ESCAPE);
        }
        return;
    default:
        return;  // mnemonics arrive as characters (OnChar)
    }
}

void CCustomMenu::OnChar(UINT ch, UINT, UINT)
{
    // By character, not key code, so that mnemonics of any script work.
    if (GetKeyState(VK_CONTROL) < 0 || ch < L' ')
        return;
    const wchar_t c = static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
    const jumptable* jump = FindJump(c);
    if (!jump || jump->count == 0)
        return;
    if (jump->count == 1) {
        Select(jump->indices[0]);
        PostKey(VK_RETURN);
        return;
    }
    int at = -1;
    for (int k = 0; k < jump->count; ++k)
        if (jump->indices[k] == m_selected)
            at = k;
    Select(jump->indices[(at + 1) % jump->count]);
}

void CCustomMenu::OnSysKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_MENU)
        PostKey(VK_ESCAPE);
}

void CCustomMenu::OnTimer(UINT_PTR id)
{
    if (id != TimerId) {
        Default();
        return;
    }
    if (!theGlobal.m_appActive) {
        PostKey(VK_ESCAPE);
        KillTimer(TimerId);
    }
}
