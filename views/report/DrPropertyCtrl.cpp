// The summary dialog's scrolling panel window and the frame around it.
#include <algorithm>

#include "classlib/CMemDC.h"
#include "common/Utility.h"
#include "common/WebUtil.h"
#include "core/Global.h"
#include "frame/CmdUIText.h"
#include "res/report_ids.h"
#include "views/report/DrPropertyDlg.h"

namespace {

const COLORREF kPanelBack = RGB(0x7B, 0x7B, 0x8B);
const COLORREF kTitleBack = RGB(0x5C, 0x5C, 0x68);
const COLORREF kBottomLine = RGB(0xA2, 0xA5, 0xAA);
const COLORREF kFrameLine = RGB(0xCB, 0xCB, 0xCF);
const int kRow = 25;
const int kLabelGap = 5;  // between a label and its value

void Fill(HDC dc, const RECT& r, COLORREF colour)
{
    ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Line(HDC dc, RECT r, const CString& text, UINT extra = 0)
{
    ::DrawTextW(dc, text, text.GetLength(), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | extra);
}

// A row's label shrinks until it fits before the value column (a label too
// long even at the smallest size ends in an ellipsis).
void DrawLabel(HDC dc, RECT r, const CString& text)
{
    DrawTextShrinkToFit(dc, 100, &r, text, FALSE, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

CString Label(int n)
{
    CString s;
    s.Format(L"%s:", UiText(n).GetString());
    return s;
}

CString KindText(int kind)
{
    return UiText(kind == 1 ? 258 : kind == 2 ? 259 : 257);
}

CString DateAndTime(const wchar_t* date, const wchar_t* time)
{
    CString s;
    s.Format(L"%s  %s", ToLocaleShortDate(date).GetString(), time);
    return s;
}

}  // namespace

// --- the panel window -------------------------------------------------------

BEGIN_MESSAGE_MAP(CDrPropertyCtrl, CScrollHostWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_LBUTTONDOWN()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDrPropertyCtrl::CDrPropertyCtrl() : CScrollHostWnd(&m_scroll, nullptr) {}

CDrPropertyCtrl::~CDrPropertyCtrl()
{
    if (GetSafeHwnd())
        DestroyWindow();
    if (m_font)
        ::DeleteObject(m_font);
}

int CDrPropertyCtrl::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!CreateTahomaFont(FALSE, &m_font, 100, FALSE))
        return -1;
    if (!m_scroll.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), this, IDC_DR_PANEL_SCROLL))
        return -1;
    return 0;
}

void CDrPropertyCtrl::OnDestroy()
{
    Default();
    if (m_font) {
        ::DeleteObject(m_font);
        m_font = nullptr;
    }
}

void CDrPropertyCtrl::OnSize(UINT, int, int)
{
    Default();
    UpdateScrollInfo();
    Invalidate(FALSE);
}

int CDrPropertyCtrl::MaxPosition() const
{
    const int n = static_cast<int>(m_panels.size());
    return std::max(0, (n * kPanelHeight - 40) / kUnit);
}

int CDrPropertyCtrl::GetPosition() const
{
    SCROLLINFO si{sizeof si, SIF_POS};
    if (!m_hWnd || !::GetScrollInfo(m_hWnd, SB_VERT, &si))
        return 0;
    return si.nPos;
}

void CDrPropertyCtrl::SetPosition(int pos)
{
    SCROLLINFO si{sizeof si, SIF_POS};
    si.nPos = std::clamp(pos, 0, MaxPosition());
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, FALSE);
    SyncBar();
    Invalidate(FALSE);
}

void CDrPropertyCtrl::UpdateScrollInfo()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE};
    si.nMin = 0;
    si.nMax = MaxPosition();
    si.nPage = static_cast<UINT>(client.Height() / 350);
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, FALSE);
    if (m_scroll.GetSafeHwnd())
        m_scroll.EnableWindow(static_cast<int>(si.nPage) < si.nMax);
    SyncBar();
    SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDrPropertyCtrl::SyncBar()
{
    if (!m_scroll.GetSafeHwnd())
        return;
    CCustomScrollBar::RedrawNC(&m_scroll);
    m_scroll.UpdateThumbFromPos();
}

void CDrPropertyCtrl::ScrollBy(int delta)
{
    SetFocus();
    SetPosition(GetPosition() + delta);
}

void CDrPropertyCtrl::OnVScroll(UINT code, UINT pos, CScrollBar*)
{
    SetFocus();
    int p = GetPosition();
    switch (code) {
    case SB_LINEUP: p -= 10; break;
    case SB_LINEDOWN: p += 10; break;
    case SB_PAGEUP: p -= 35; break;
    case SB_PAGEDOWN: p += 35; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: p = m_scroll.GetSafeHwnd() && code == SB_THUMBTRACK ? m_scroll.m_trackPos : static_cast<int>(pos); break;
    default: break;
    }
    SetPosition(p);
}

BOOL CDrPropertyCtrl::OnMouseWheel(UINT, short delta, CPoint)
{
    ScrollBy(delta <= 0 ? 10 : -10);
    Default();
    return TRUE;
}

void CDrPropertyCtrl::OnLButtonDown(UINT, CPoint)
{
    FocusOnLButtonDown(this);
}

BOOL CDrPropertyCtrl::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->hwnd == m_hWnd) {
        const int p = GetPosition();
        int target = p;
        switch (msg->wParam) {
        case VK_PRIOR: target = p - 35; break;
        case VK_NEXT: target = p + 35; break;
        case VK_END: target = MaxPosition(); break;
        case VK_HOME: target = 0; break;
        case VK_UP: target = p - 10; break;
        case VK_DOWN: target = p + 10; break;
        case VK_LEFT:
        case VK_RIGHT: break;
        default: return CWnd::PreTranslateMessage(msg);
        }
        SetFocus();
        SetPosition(target);
        return TRUE;
    }
    return CScrollHostWnd::PreTranslateMessage(msg);
}

void CDrPropertyCtrl::DrawPanelRows(HDC dc, const RECT& r, const DR_PROPERTY_DATA& d, BOOL printing,
                                    BOOL withTexts) const
{
    const int labelX = r.left + 15, valueX = r.left + (printing ? 400 : 200);
    int y = r.top + kRow;
    CString distance;
    if (theGlobal.m_distanceUnit == 0)
        distance.Format(L"%d km", d.distance);
    else
        distance.Format(L"%d miles", d.distanceMiles);
    const struct {
        int label;
        CString value;
    } rows[] = {
        {253, DateAndTime(d.startDate, d.startTime)},
        {254, DateAndTime(d.endDate, d.endTime)},
        {255, d.duration},
        {256, distance},
        {186, KindText(d.kind)},
    };
    const int count = withTexts ? 5 : 4;
    for (int i = 0; i < count; ++i, y += kRow) {
        DrawLabel(dc, {labelX, y, valueX - kLabelGap, y + kRow}, Label(rows[i].label));
        Line(dc, {valueX, y, r.right - 5, y + kRow}, rows[i].value, DT_END_ELLIPSIS);
    }
    if (!withTexts)
        return;
    const struct {
        int label;
        const wchar_t* text;
    } texts[] = {{181, d.text1}, {190, d.text2}, {191, d.text3}};
    for (const auto& t : texts) {
        DrawLabel(dc, {labelX, y, valueX - kLabelGap, y + kRow}, Label(t.label));
        RECT box{valueX, y + 6, r.right - 5, std::min<int>(y + 6 + 50, r.bottom - 4)};
        if (!printing) {
            HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
            HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
            ::SetDCPenColor(dc, kBottomLine);
            ::Rectangle(dc, box.left - 3, box.top - 2, box.right + 2, box.bottom + 1);
            ::SelectObject(dc, oldBrush);
            ::SelectObject(dc, oldPen);
        }
        ::DrawTextW(dc, t.text, -1, &box, DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS | DT_NOPREFIX);
        y += 55;
    }
}

void CDrPropertyCtrl::DrawReportPanel(HDC dc, const RECT& r, int index, BOOL printing) const
{
    if (index < 0 || index >= static_cast<int>(m_panels.size()))
        return;
    const DR_PANEL& panel = m_panels[index];
    if (!printing) {
        Fill(dc, r, kPanelBack);
        Fill(dc, {r.left, r.top, r.right, r.top + kRow}, kTitleBack);
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkColor(dc, kTitleBack);
    }
    ::SetBkMode(dc, TRANSPARENT);
    CString title;
    title.Format(L"%s%04d  %s", UiText(252).GetString(), panel.number, panel.data.name);
    Line(dc, {r.left + 5, r.top, r.right - 5, r.top + kRow}, title, DT_END_ELLIPSIS);
    DrawPanelRows(dc, r, panel.data, printing, TRUE);
    if (!printing)
        Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, kBottomLine);
}

void CDrPropertyCtrl::DrawSummaryPanel(HDC dc, const RECT& r, BOOL printing) const
{
    if (!printing) {
        Fill(dc, r, kPanelBack);
        Fill(dc, {r.left, r.top, r.right, r.top + kRow}, kTitleBack);
        ::SetTextColor(dc, RGB(255, 255, 255));
    }
    ::SetBkMode(dc, TRANSPARENT);
    Line(dc, {r.left + 5, r.top, r.right - 5, r.top + kRow}, UiText(260), DT_END_ELLIPSIS);
    DrawPanelRows(dc, r, m_summary, printing, FALSE);
    if (!printing)
        Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, kBottomLine);
}

void CDrPropertyCtrl::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    const int W = client.Width();
    HDC mem = ::CreateCompatibleDC(paint);
    HBITMAP bitmap = ::CreateCompatibleBitmap(paint, std::max(W, 1), kBufferHeight);
    if (!mem || !bitmap) {
        if (bitmap)
            ::DeleteObject(bitmap);
        if (mem)
            ::DeleteDC(mem);
        return;
    }
    HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
    HGDIOBJ oldFont = ::SelectObject(mem, m_font ? m_font : ::GetStockObject(DEFAULT_GUI_FONT));
    Fill(mem, {0, 0, W, kBufferHeight}, kPanelBack);
    const int n = static_cast<int>(m_panels.size());
    const int p = GetPosition();
    const int first = p / kUnitsPerPanel;
    int y = 0;
    for (int i = first; i < std::min(first + 3, n); ++i, y += kPanelHeight)
        DrawReportPanel(mem, {0, y, W, y + kPanelHeight}, i, FALSE);
    DrawSummaryPanel(mem, {0, y, W, y + kPanelHeight}, FALSE);
    const int from = std::max(0, (p - first * kUnitsPerPanel) * kUnit);
    ::BitBlt(paint, 0, 0, W, client.Height(), mem, 0, from, SRCCOPY);
    ::SelectObject(mem, oldFont);
    ::SelectObject(mem, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
}

// --- the frame --------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDrPropertyFrame, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CDrPropertyFrame::CDrPropertyFrame() = default;

CDrPropertyFrame::~CDrPropertyFrame()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

int CDrPropertyFrame::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!m_ctrl.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 0, 0), this, 0xFFFF))
        return -1;
    return 0;
}

void CDrPropertyFrame::OnSize(UINT, int cx, int cy)
{
    if (m_ctrl.GetSafeHwnd() && cx > 2 && cy > 2)
        m_ctrl.SetWindowPos(static_cast<HWND>(nullptr), 1, 1, cx - 2, cy - 2, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDrPropertyFrame::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    HGDIOBJ oldPen = ::SelectObject(paint, ::GetStockObject(DC_PEN));
    HGDIOBJ oldBrush = ::SelectObject(paint, ::GetStockObject(NULL_BRUSH));
    ::SetDCPenColor(paint, kFrameLine);
    ::Rectangle(paint, client.left, client.top, client.right, client.bottom);
    ::SelectObject(paint, oldBrush);
    ::SelectObject(paint, oldPen);
}

void CDrPropertyFrame::FillFromDocument()
{
    const CDocDr& doc = theGlobal.m_docDr;
    for (INT_PTR i = 0; i < m_reports.GetSize(); ++i) {
        const int index = m_reports[i];
        if (index >= doc.GetCount() || !doc.m_reports[index].m_listData.checked)
            continue;
        DR_PANEL panel{};
        if (!doc.BuildReportSummary(index, panel.data))
            continue;
        panel.number = static_cast<int>(i + 1);
        m_ctrl.AddPanel(panel);
    }
    DR_PROPERTY_DATA total{};
    doc.BuildTotalSummary(total);
    m_ctrl.SetSummary(total);
    m_ctrl.UpdateScrollInfo();
}
