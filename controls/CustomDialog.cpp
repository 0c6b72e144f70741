#include "controls/CustomDialog.h"

#include "classlib/Resources.h"
#include "common/ThemeLibrary.h"
#include "common/Utility.h"
#include "controls/WindowText.h"
#include "core/Global.h"

namespace {

const wchar_t* const kPieceNames[] = {
    L"dialog_topleft.bmp", L"dialog_top.bmp",        L"dialog_topright.bmp", L"dialog_left.bmp",
    L"dialog_right.bmp",   L"dialog_bottomleft.bmp", L"dialog_bottom.bmp",   L"dialog_bottomright.bmp",
};

const COLORREF kBodyColour = RGB(0xA8, 0xAB, 0xB0);
const COLORREF kCaptionColour = RGB(0xE6, 0xE8, 0xE8);
const BYTE kTranslucentAlpha = 229;

}  // namespace

BEGIN_MESSAGE_MAP(CCustomDialog, CDialog)
    ON_WM_DESTROY()
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_WM_NCDESTROY()
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

CCustomDialog::CCustomDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent), m_templateId(templateId)
{
    for (DIB_IMAGE& piece : m_pieces)
        InitDibImage(&piece);
}

CCustomDialog::~CCustomDialog()
{
    LeaveDialogStack();
    for (DIB_IMAGE& piece : m_pieces)
        FreeDibImage(&piece);
    for (CCustomStatic* label : m_labels)
        delete label;
    m_labels.clear();
    DeleteFonts();
}

void RemoveFromDialogStack(CWnd* dialog, BOOL& onStack)
{
    if (!onStack)
        return;
    onStack = FALSE;
    CPtrArray& stack = theGlobal.m_dialogStack;
    for (INT_PTR i = stack.GetSize() - 1; i >= 0; --i)
        if (stack[i] == dialog) {
            stack.RemoveAt(i);
            break;
        }
}

void CCustomDialog::LeaveDialogStack()
{
    RemoveFromDialogStack(this, m_onStack);
}

void CCustomDialog::DeleteFonts()
{
    for (HFONT* font : {&m_fontTitle, &m_fontNote, &m_fontNormal})
        if (*font) {
            ::DeleteObject(*font);
            *font = nullptr;  // the second pass at WM_NCDESTROY must find nothing
        }
}

bool CCustomDialog::ZoomWanted()
{
    return theGlobal.m_animation && theGlobal.m_appActive;
}

void CCustomDialog::BuildRegion(int width, int height)
{
    const int W = width, B = height + m_topHeight;
    const POINT points[] = {
        {0, 4},         {0, B - 5},     {1, B - 3},     {2, B - 2}, {6, B},     {W - 4, B}, {W - 4, B - 1},
        {W - 2, B - 1}, {W - 2, B - 2}, {W - 1, B - 2}, {W - 1, B - 4}, {W, B - 4}, {W, 4}, {W - 1, 4},
        {W - 1, 2},     {W - 2, 2},     {W - 2, 1},     {W - 4, 0}, {4, 0},     {4, 1},     {2, 1},
        {2, 2},         {1, 2},         {1, 4},
    };
    m_region = ::CreatePolygonRgn(points, static_cast<int>(std::size(points)), WINDING);
    if (m_region && !SetWindowRgn(m_region, TRUE)) {
        ::DeleteObject(m_region);
        m_region = nullptr;
    }
}

BOOL CCustomDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect window;
    GetWindowRect(&window);
    const int width = window.Width(), height = window.Height();
    // The caption band is as tall as the top piece; region and frame follow it.
    bool piecesLoaded = true;
    for (int i = 0; i < kPieceCount && piecesLoaded; ++i) {
        FreeDibImage(&m_pieces[i]);
        piecesLoaded = LoadDibFromPack(kPieceNames[i], &m_pieces[i]) != FALSE;
    }
    m_topHeight = piecesLoaded ? m_pieces[kTop].height : 25;
    BuildRegion(width, height);

    CString caption;
    if (AfxLoadString(m_templateId, caption))
        m_caption = caption;
    if (!piecesLoaded)
        return FALSE;

    if (!CreateTahomaFont(TRUE, &m_fontTitle, 115, FALSE) || !CreateTahomaFont(FALSE, &m_fontNote, 95, FALSE) ||
        !CreateTahomaFont(FALSE, &m_fontNormal, 100, FALSE))
        return -1;
    SetFont(m_fontTitle, TRUE);
    m_text.SetTextColor(kCaptionColour);

    RestyleChildren();
    SetWindowPos(static_cast<HWND>(nullptr), 0, 0, width, height + m_topHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    if (!m_btnMinimize.Create(CRect(0, 0, 0, 0), this, SC_MINIMIZE, TRUE))
        return -1;
    m_btnMinimize.LoadBitmaps(L"sysbtn_icon_%s.bmp", L"sysbtn_icon_normal.bmp", L"normal", L"pressed", L"pressed",
                              L"hot", nullptr);
    if (!m_btnClose.Create(CRect(0, 0, 0, 0), this, SC_CLOSE, TRUE))
        return -1;
    m_btnClose.LoadBitmaps(L"sysbtn_close_%s.bmp", L"sysbtn_close_normal.bmp", L"normal", L"pressed", L"pressed",
                           L"hot", L"disable");
    PlaceCaptionButtons();

    RemoveWindowTheme(m_hWnd);
    if (theGlobal.m_transparentDlg) {
        ModifyStyleEx(0, WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(m_hWnd, 0, kTranslucentAlpha, LWA_ALPHA);
    }
    CWnd* owner = GetSafeOwner(nullptr);
    CenterWindow(owner);
    if (!m_startHidden && ZoomWanted()) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        const RECT from{cursor.x, cursor.y, cursor.x, cursor.y};
        CRect to;
        GetWindowRect(&to);
        CWnd* main = AfxGetMainWnd();
        AnimateZoomRect(&from, &to, 12, main ? main->m_hWnd : nullptr);
        ::Sleep(100);
    }
    if (!m_startHidden)
        ShowWindow(SW_SHOW);
    theGlobal.m_dialogStack.Add(this);
    m_onStack = TRUE;
    return TRUE;
}

void CCustomDialog::RestyleChildren()
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (HWND child : children) {
        CRect rect;
        ::GetWindowRect(child, &rect);
        ScreenToClient(&rect);
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        const LONG exStyle = ::GetWindowLongW(child, GWL_EXSTYLE);
        if ((style & WS_BORDER) || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))) {
            m_unbordered.push_back(child);
            ::InflateRect(&rect, -2, -2);
            ::SetWindowLongW(child, GWL_STYLE, style & ~WS_BORDER);
            ::SetWindowLongW(child, GWL_EXSTYLE, exStyle & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
            flags |= SWP_FRAMECHANGED;
        }
        RemoveWindowTheme(child);
        rect.OffsetRect(0, m_topHeight);
        ::SetWindowPos(child, nullptr, rect.left, rect.top, rect.Width(), rect.Height(), flags);

        const CString text = AfxGetWindowText(child);
        struct LabelStyle {
            const wchar_t* prefix;
            HFONT font;
            COLORREF colour;
        };
        const LabelStyle styles[] = {
            {L"&b", m_fontTitle, RGB(0x48, 0x4C, 0x71)},
            {L"&n", m_fontNote, RGB(0x00, 0x80, 0xE1)},
            {L"&m", m_fontNormal, RGB(0x48, 0x4C, 0x71)},
            {L"&c", m_fontNote, RGB(0x4A, 0x64, 0x9C)},
        };
        const LabelStyle* match = nullptr;
        for (const LabelStyle& s : styles)
            if (text.Left(2) == s.prefix)
                match = &s;
        if (!match) {
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontNormal), FALSE);
            continue;
        }
        ::SetWindowTextW(child, text.Mid(2));
        auto* label = new CCustomStatic(match->colour);
        if (!label->SubclassWindow(child)) {
            delete label;
            continue;
        }
        m_labels.push_back(label);
        label->SetFont(match->font, FALSE);
    }
}

void CCustomDialog::PlaceCaptionButtons()
{
    CRect client;
    GetClientRect(&client);
    int x = client.Width() - 5;
    const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (m_showClose) {
        x -= m_btnClose.m_strip.width;
        m_btnClose.SetWindowPos(static_cast<HWND>(nullptr), x, 4, 0, 0, flags);
        m_btnClose.ShowWindow(SW_SHOW);
        x -= 1;
    } else {
        m_btnClose.ShowWindow(SW_HIDE);
    }
    if (m_showMinimize) {
        m_btnMinimize.SetWindowPos(static_cast<HWND>(nullptr), x - m_btnMinimize.m_strip.width, 4, 0, 0, flags);
        m_btnMinimize.ShowWindow(SW_SHOW);
    } else {
        m_btnMinimize.ShowWindow(SW_HIDE);
    }
}

void CCustomDialog::PlaceOnMainWindow(int width, int height)
{
    CRect place(0, 0, width, height);
    if (CWnd* main = AfxGetMainWnd()) {
        CRect mw;
        main->GetWindowRect(&mw);
        place.OffsetRect(mw.CenterPoint().x - width / 2, mw.CenterPoint().y - height / 2);
    }
    SetWindowPos(static_cast<HWND>(nullptr), place.left, place.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CCustomDialog::SetCaption(LPCWSTR text)
{
    m_caption = text ? text : L"";
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    client.bottom = client.top + m_topHeight;
    InvalidateRect(&client, TRUE);
}

void CCustomDialog::RepaintChild(CWnd* child)
{
    if (child) {
        child->ShowWindow(SW_HIDE);
        UpdateWindow();
        child->ShowWindow(SW_SHOW);
        child->UpdateWindow();
        return;
    }
    for (CCustomStatic* label : m_labels)
        label->ShowWindow(SW_HIDE);
    UpdateWindow();
    for (CCustomStatic* label : m_labels)
        label->ShowWindow(SW_SHOW);
    for (CCustomStatic* label : m_labels)
        label->UpdateWindow();
}

BOOL CCustomDialog::OnEraseBkgnd(CDC* dc)
{
    CRect c;
    GetClientRect(&c);
    HDC hdc = dc->GetSafeHdc();
    const int top = m_topHeight;
    // Every piece at its own size: corners as they are, edges stretched between.
    const DIB_IMAGE& topLeft = m_pieces[kTopLeft];
    const DIB_IMAGE& topRight = m_pieces[kTopRight];
    const DIB_IMAGE& bottomLeft = m_pieces[kBottomLeft];
    const DIB_IMAGE& bottomRight = m_pieces[kBottomRight];
    const int leftWidth = m_pieces[kLeft].width, rightWidth = m_pieces[kRight].width;
    const int bottomHeight = m_pieces[kBottom].height;
    DrawDib(&topLeft, hdc, c.left, c.top);
    DrawDibEx(&m_pieces[kTop], hdc, c.left + topLeft.width, c.top, c.Width() - topLeft.width - topRight.width, top, 0,
              0, m_pieces[kTop].width, m_pieces[kTop].height);
    DrawDib(&topRight, hdc, c.right - topRight.width, c.top);
    const RECT left{c.left, c.top + top, c.left + leftWidth, c.bottom - bottomHeight};
    const RECT right{c.right - rightWidth, c.top + top, c.right, c.bottom - bottomHeight};
    FillRectWithDib(hdc, &m_pieces[kLeft], &left, TRUE);
    FillRectWithDib(hdc, &m_pieces[kRight], &right, TRUE);
    DrawDib(&bottomLeft, hdc, c.left, c.bottom - bottomLeft.height);
    const RECT bottom{c.left + bottomLeft.width, c.bottom - bottomHeight, c.right - bottomRight.width, c.bottom};
    FillRectWithDib(hdc, &m_pieces[kBottom], &bottom, TRUE);
    DrawDib(&bottomRight, hdc, c.right - bottomRight.width, c.bottom - bottomRight.height);
    const RECT body{c.left + leftWidth, c.top + top, c.right - rightWidth, c.bottom - bottomHeight};
    dc->FillSolidRect(&body, kBodyColour);
    if (!m_caption.IsEmpty())
        m_text.DrawTextFit(hdc, m_caption, 115, TRUE, Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter,
                           RECT{c.left + 8, c.top, c.right, c.top + top - 1});
    return 0;
}

HBRUSH CCustomDialog::OnCtlColor(CDC* dc, CWnd*, UINT kind)
{
    if (kind == CTLCOLOR_STATIC) {
        dc->SetBkColor(kBodyColour);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return reinterpret_cast<HBRUSH>(Default());
}

LRESULT CCustomDialog::OnNcHitTest(CPoint pt)
{
    CRect band;
    GetClientRect(&band);
    band.bottom = band.top + m_topHeight;
    ClientToScreen(&band);
    return band.PtInRect(pt) ? HTCAPTION : Default();
}

void CCustomDialog::OnSysCommand(UINT id, LPARAM)
{
    switch (id & 0xFFF0) {
    case SC_MINIMIZE:
        // The whole program goes down, not just the dialog.
        if (CWnd* main = AfxGetMainWnd())
            main->ShowWindow(SW_SHOWMINNOACTIVE);
        break;
    case SC_CLOSE: OnCancel(); break;
    default: Default(); break;
    }
}

void CCustomDialog::OnDestroy()
{
    ShowWindow(SW_HIDE);
    if (CWnd* owner = GetSafeOwner(nullptr))
        owner->UpdateWindow();
    if (ZoomWanted()) {
        CRect from;
        GetWindowRect(&from);
        POINT cursor{};
        ::GetCursorPos(&cursor);
        const RECT to{cursor.x, cursor.y, cursor.x, cursor.y};
        CWnd* main = AfxGetMainWnd();
        AnimateZoomRect(&from, &to, 12, main ? main->m_hWnd : nullptr);
    }
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageW(child, WM_SETFONT, 0, FALSE);
    DeleteFonts();
    for (CCustomStatic* label : m_labels) {
        label->DestroyWindow();
        delete label;
    }
    m_labels.clear();
    m_unbordered.clear();
    SendMessage(WM_SETFONT, 0, FALSE);
    // The window owns its region and deletes it when it is replaced.
    SetWindowRgn(nullptr, FALSE);
    m_region = nullptr;
    Default();
}

void CCustomDialog::OnNcDestroy()
{
    Default();
    DeleteFonts();
    // A closed dialog is no parent for message boxes any more.
    LeaveDialogStack();
}
