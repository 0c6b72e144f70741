#include "views/report/InfoDlg.h"

#include <algorithm>
#include <iterator>

#include "classlib/CMemDC.h"
#include "common/Utility.h"
#include "controls/CustomDialog.h"
#include "core/Global.h"
#include "res/report_ids.h"

namespace {

const wchar_t* const kPieceNames[] = {
    L"tips_topleft.bmp",    L"tips_top.bmp",    L"tips_topright.bmp",    L"tips_left.bmp", L"tips_right.bmp",
    L"tips_bottomleft.bmp", L"tips_bottom.bmp", L"tips_bottomright.bmp", L"tips_mark.bmp",
};

const COLORREF kBodyColour = RGB(0x05, 0x05, 0x0A);  // 0x0A0505
const COLORREF kTextColour = RGB(0xD6, 0xE5, 0xFF);  // 0xFFE5D6
const int kMargin = 20;

// The forced line break as the message writes it: backslash, "n".
bool StartsWithMarker(const CString& s)
{
    return s.GetLength() >= 2 && s[0] == L'\\' && s[1] == L'n';
}

}  // namespace

BEGIN_MESSAGE_MAP(CInfoDlg, CDialog)
    ON_WM_LBUTTONDOWN()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CInfoDlg::CInfoDlg() : CDialog(IDD_INFO_BALLOON, nullptr)
{
    for (DIB_IMAGE& piece : m_pieces)
        InitDibImage(&piece);
}

CInfoDlg::~CInfoDlg()
{
    if (m_hWnd)
        DestroyWindow();
    LeaveDialogStack();
    for (DIB_IMAGE& piece : m_pieces)
        FreeDibImage(&piece);
}

void CInfoDlg::LeaveDialogStack()
{
    RemoveFromDialogStack(this, m_onStack);
}

CInfoDlg::Wrapped CInfoDlg::WrapText(const CString& message, const std::function<int(const CString&)>& textWidth)
{
    Wrapped out;
    CString remaining = message, line;
    for (;;) {
        if (StartsWithMarker(remaining)) {
            line += L'\n';
            out.text += line;
            line.Empty();
            // The marker and the blanks after it; a word glued to the marker
            // keeps its first letter.
            remaining = remaining.Mid(2);
            remaining.TrimLeft();
            ++out.breaks;
        }
        const int blank = remaining.Find(L' ');
        if (blank < 0)
            break;
        const CString word = remaining.Left(blank);
        if (!line.IsEmpty() && textWidth(line) + textWidth(word) > kMaxLineWidth) {
            line += L'\n';
            out.text += line;
            line.Empty();
            remaining.TrimLeft();
            ++out.breaks;
        }
        line += word;
        line += L' ';
        remaining = remaining.Mid(blank + 1);
        out.width = std::max(out.width, textWidth(line));
    }
    // The last line counts too: without it a long last line would be clipped.
    if (!line.IsEmpty() && textWidth(line) + textWidth(remaining) > kMaxLineWidth) {
        line += L'\n';
        ++out.breaks;
        out.width = std::max({out.width, textWidth(line.Left(line.GetLength() - 1)), textWidth(remaining)});
    } else {
        out.width = std::max(out.width, textWidth(line + remaining));
    }
    out.text += line;
    out.text += remaining;
    return out;
}

RECT CInfoDlg::Place(const RECT& anchor, int w, int h, const RECT& parent, const RECT& workArea)
{
    const int c = (anchor.left + anchor.right) / 2;
    RECT r;
    r.left = c - w / 2 - (w % 2);
    r.right = r.left + w;
    r.top = anchor.bottom + 9;
    r.bottom = r.top + h;
    auto keepInside = [&](const RECT& box, int margin) {
        if (r.left < box.left + margin)
            ::OffsetRect(&r, box.left + margin - r.left, 0);
        if (r.top < box.top + margin)
            ::OffsetRect(&r, 0, box.top + margin - r.top);
        if (r.right > box.right - margin)
            ::OffsetRect(&r, box.right - margin - r.right, 0);
        if (r.bottom > box.bottom - margin)
            ::OffsetRect(&r, 0, box.bottom - margin - r.bottom);
    };
    keepInside(parent, kMargin);
    keepInside(workArea, 0);
    return r;
}

BOOL CInfoDlg::OnInitDialog()
{
    for (int i = 0; i < kPieceCount; ++i) {
        FreeDibImage(&m_pieces[i]);
        if (!LoadDibFromPack(kPieceNames[i], &m_pieces[i])) {
            // Opens unskinned at the template's place: no piece may be drawn.
            for (DIB_IMAGE& piece : m_pieces)
                FreeDibImage(&piece);
            return FALSE;
        }
    }
    LayoutText();
    BuildRegion();

    const int c = (m_anchor.left + m_anchor.right) / 2;
    const POINT first{c - m_width / 2 - (m_width % 2), m_anchor.bottom + 9};
    RECT parent{};
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner && AfxGetMainWnd())
        owner = AfxGetMainWnd()->m_hWnd;
    if (owner)
        ::GetWindowRect(owner, &parent);
    else
        ::SetRect(&parent, -100000, -100000, 100000, 100000);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    RECT work{-100000, -100000, 100000, 100000};
    if (::GetMonitorInfoW(::MonitorFromPoint(first, MONITOR_DEFAULTTONEAREST), &mi))
        work = mi.rcWork;
    const RECT r = Place(m_anchor, m_width, m_height, parent, work);
    MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);

    CDialog::OnInitDialog();
    theGlobal.m_dialogStack.Add(this);
    m_onStack = TRUE;
    return TRUE;
}

void CInfoDlg::LayoutText()
{
    if (!m_titleFont)
        CreateTahomaFont(TRUE, &m_titleFont, 150, FALSE);
    if (!m_messageFont)
        CreateTahomaFont(FALSE, &m_messageFont, 120, FALSE);
    HDC dc = ::GetDC(m_hWnd);
    ::SelectObject(dc, m_messageFont ? m_messageFont : ::GetStockObject(DEFAULT_GUI_FONT));
    WrapMessage(dc);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, m_message, m_message.GetLength(), &extent);
    const int n = m_breaks;
    m_height = (n + 1) * extent.cy + 2 * n + m_pieces[kMark].height + m_pieces[kBottom].height +
               m_pieces[kTop].height + 9;
    m_height = std::max(m_height, kMinHeight);

    ::SelectObject(dc, m_titleFont ? m_titleFont : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT title{0, 0, 0, 0};
    ::DrawTextW(dc, m_title, m_title.GetLength(), &title, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int candidate =
        m_pieces[kMark].width + m_pieces[kRight].width + m_pieces[kLeft].width + (title.right - title.left) + 9;
    m_width = std::max(m_width, candidate);
    ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::ReleaseDC(m_hWnd, dc);
}

void CInfoDlg::WrapMessage(HDC dc)
{
    // Measured as DrawText draws it, so that the widest line fits.
    const Wrapped w = WrapText(m_message, [dc](const CString& s) {
        RECT r{0, 0, 0, 0};
        ::DrawTextW(dc, s, s.GetLength(), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        return static_cast<int>(r.right - r.left);
    });
    m_breaks = w.breaks;
    m_width = w.width + m_pieces[kRight].width + m_pieces[kLeft].width;
    m_message = w.text;
}

void CInfoDlg::BuildRegion()
{
    const int w = m_width, h = m_height;
    const POINT points[] = {
        {0, 6},         {0, h - 8},     {1, h - 6},     {2, h - 5},     {3, h - 4},     {4, h - 3}, {8, h - 1},
        {9, h},         {w - 8, h},     {w - 8, h - 1}, {w - 6, h - 1}, {w - 2, h - 5}, {w - 1, h - 6},
        {w - 1, h - 7}, {w, h - 8},     {w, 8},         {w - 1, 7},     {w - 1, 6},     {w - 2, 6}, {w - 2, 4},
        {w - 3, 3},     {w - 4, 2},     {w - 5, 2},     {w - 6, 1},     {w - 7, 1},     {w - 8, 0}, {6, 0},
        {5, 1},         {4, 1},         {3, 2},         {2, 3},         {1, 4},
    };
    HDC dc = ::GetDC(m_hWnd);
    ::BeginPath(dc);
    ::MoveToEx(dc, points[0].x, points[0].y, nullptr);
    ::PolylineTo(dc, points + 1, static_cast<DWORD>(std::size(points) - 1));
    ::CloseFigure(dc);
    ::EndPath(dc);
    HRGN region = ::PathToRegion(dc);
    ::ReleaseDC(m_hWnd, dc);
    if (region && SetWindowRgn(region, TRUE))
        m_region = region;
    else if (region)
        ::DeleteObject(region);
}

BOOL CInfoDlg::IsSkinned() const
{
    return std::all_of(std::begin(m_pieces), std::end(m_pieces),
                       [](const DIB_IMAGE& piece) { return piece.bitmap != nullptr; });
}

void CInfoDlg::OnLButtonDown(UINT, CPoint)
{
    Default();
    OnOK();
}

BOOL CInfoDlg::OnEraseBkgnd(CDC* dc)
{
    if (!IsSkinned())
        return static_cast<BOOL>(Default());
    CRect client;
    GetClientRect(&client);
    const int W = client.Width(), H = client.Height();
    const DIB_IMAGE* p = m_pieces;
    HDC hdc = dc->m_hDC;
    DrawDib(&p[kTopLeft], hdc, 0, 0);
    RECT r{p[kTopLeft].width, 0, W - p[kTopRight].width, p[kTopLeft].height};
    FillRectWithDib(hdc, &p[kTop], &r, FALSE);
    DrawDib(&p[kTopRight], hdc, W - p[kTopRight].width, 0);
    r = {0, p[kTop].height, p[kLeft].width, H - p[kBottom].height};
    FillRectWithDib(hdc, &p[kLeft], &r, TRUE);
    r = {W - p[kRight].width, p[kTop].height, W, H - p[kBottom].height};
    FillRectWithDib(hdc, &p[kRight], &r, TRUE);
    DrawDib(&p[kBottomLeft], hdc, 0, H - p[kBottomLeft].height);
    r = {p[kBottomLeft].width, H - p[kBottomLeft].height, W - p[kBottomRight].width, H};
    FillRectWithDib(hdc, &p[kBottom], &r, TRUE);
    DrawDib(&p[kBottomRight], hdc, W - p[kBottomRight].width, H - p[kBottomLeft].height);
    r = {p[kTopLeft].width, p[kTopLeft].height, W - p[kBottomRight].width, H - p[kBottomRight].height};
    ::SetBkColor(hdc, kBodyColour);
    ::ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    return FALSE;
}

void CInfoDlg::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (IsSkinned()) {
        CRect client;
        GetClientRect(&client);
        const RECT content{client.left + m_pieces[kTopLeft].width, client.top + m_pieces[kTopLeft].height,
                           client.right - m_pieces[kBottomRight].width,
                           client.bottom - m_pieces[kBottomRight].height};
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, kTextColour);
        DrawDib(&m_pieces[kMark], dc, content.left, content.top);
        HGDIOBJ old = ::SelectObject(dc, m_titleFont ? m_titleFont : ::GetStockObject(DEFAULT_GUI_FONT));
        RECT title{content.left + m_pieces[kMark].width + 9, content.top, content.right, content.top + 21};
        ::DrawTextW(dc, m_title, m_title.GetLength(), &title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        ::SelectObject(dc, m_messageFont ? m_messageFont : ::GetStockObject(DEFAULT_GUI_FONT));
        RECT message{content.left, content.top + 32, content.right, content.bottom};
        ::DrawTextW(dc, m_message, m_message.GetLength(), &message, DT_NOPREFIX | DT_NOCLIP);
        ::SelectObject(dc, old);
    }
    ::EndPaint(m_hWnd, &ps);
}

HBRUSH CInfoDlg::OnCtlColor(CDC* dc, CWnd*, UINT kind)
{
    if (kind == CTLCOLOR_STATIC && IsSkinned()) {
        dc->SetBkColor(kBodyColour);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return reinterpret_cast<HBRUSH>(Default());
}

void CInfoDlg::OnDestroy()
{
    for (HFONT* font : {&m_titleFont, &m_messageFont})
        if (*font) {
            ::DeleteObject(*font);
            *font = nullptr;
        }
    LeaveDialogStack();
    // Taking the region off the window frees it.
    if (m_region) {
        SetWindowRgn(nullptr, FALSE);
        m_region = nullptr;
    }
    Default();
}
