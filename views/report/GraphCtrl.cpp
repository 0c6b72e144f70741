#include "views/report/GraphCtrl.h"

#include <algorithm>

#include "common/Utility.h"
#include "core/Global.h"
#include "views/report/FuelText.h"

namespace {

constexpr int kBarId = 59649;

void Fill(HDC dc, const RECT& r, COLORREF c)
{
    ::SetBkColor(dc, c);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

SIZE TextSize(HDC dc, const CString& text)
{
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, text.GetLength(), &size);
    return size;
}

// A memory DC over a DIB of the size asked, made again when the size changes.
HDC BeginBuffer(DIB_IMAGE& back, int width, int height, HDC like, HGDIOBJ& old)
{
    if (back.width != width || back.height != height) {
        FreeDibImage(&back);
        if (!CreateDib(&back, width, height))
            return nullptr;
    }
    HDC mem = ::CreateCompatibleDC(like);
    old = ::SelectObject(mem, back.bitmap);
    return mem;
}

void EndBuffer(HDC mem, HGDIOBJ old)
{
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
}

CString ValueText(double value)
{
    CString text;
    text.Format(L" %.2f%s ", value, static_cast<LPCWSTR>(CGraphCtrl::UnitName()));
    return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CGraphCtrl, CScrollHostWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_HSCROLL()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CGraphCtrl::CGraphCtrl() : CScrollHostWnd(nullptr, &m_hScroll)
{
    InitDibImage(&m_back);
    InitDibImage(&m_sizeBox);
    m_sizeBoxPicture = &m_sizeBox;
    for (int k = 0; k < GridRows; ++k)
        m_rows[k] = {GridRows - k, 1 + 23 * (k + 1)};
}

CGraphCtrl::~CGraphCtrl()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_back);
    FreeDibImage(&m_sizeBox);
    if (m_font)
        ::DeleteObject(m_font);
}

CString CGraphCtrl::UnitName()
{
    return FuelNameLine(kFuelMileageUnits, theGlobal.m_mileageUnit);
}

int CGraphCtrl::ScrollPos() const
{
    return GetSafeHwnd() ? ::GetScrollPos(m_hWnd, SB_HORZ) : 0;
}

int CGraphCtrl::X(int index) const
{
    const int x = index == 0 ? 18 : static_cast<int>(index * 50 * m_zoom) + 18;
    return x - ScrollPos();
}

int CGraphCtrl::Y(double value) const
{
    const int step = GridStep() > 0 ? GridStep() : 1;
    return 253 - static_cast<int>(value * 23 / step);
}

void CGraphCtrl::Clear()
{
    m_xStart = 0;
    m_xEnd = 1.0;
    m_maximum = 1.0;
    m_minimum = 0;
    m_maxIndex = m_minIndex = 0;
    m_labels.RemoveAll();
    m_values.RemoveAll();
    UpdateScrollRange();
}

void CGraphCtrl::AddPoint(const wchar_t* label, double value)
{
    CString text(label ? label : L"");
    const int blank = text.Find(L' ');
    m_labels.Add(blank >= 0 ? text.Left(blank) : text);
    m_values.Add(value);
}

void CGraphCtrl::ComputeRange()
{
    const int n = static_cast<int>(m_labels.GetSize());
    if (n == 0) {
        UpdateScrollRange();
        return;
    }
    m_maximum = m_minimum = m_values[0];
    m_maxIndex = m_minIndex = 0;
    for (int i = 1; i < n; ++i) {
        if (m_values[i] > m_maximum) {
            m_maximum = m_values[i];
            m_maxIndex = i;
        } else if (m_values[i] < m_minimum) {
            m_minimum = m_values[i];
            m_minIndex = i;
        }
    }
    const int top = static_cast<int>(m_maximum);
    const int step = top < 10 ? 1 : top < 20 ? 2 : top < 50 ? 5 : top < 100 ? 10 : top < 200 ? 20 : top < 500 ? 50 : 100;
    for (int k = 0; k < GridRows; ++k)
        m_rows[k] = {(GridRows - k) * step, 1 + 23 * (k + 1)};
    m_xStart = 0;
    m_xEnd = n - 1;
    while (m_xEnd - m_xStart + 1 < 20 / m_zoom)
        m_xEnd += 1;
    UpdateScrollRange();
}

void CGraphCtrl::UpdateScrollRange()
{
    if (!GetSafeHwnd())
        return;
    const int n = static_cast<int>(m_labels.GetSize());
    int width = 0;
    if (n > 0) {
        HDC dc = ::GetDC(m_hWnd);
        const int last = n - 1;
        if (last == m_maxIndex)
            width = X(last) + TextSize(dc, ValueText(static_cast<int>(m_maximum * 100) / 100.0)).cx;
        else if (last == m_minIndex)
            width = X(last) + TextSize(dc, ValueText(static_cast<int>(m_minimum * 100) / 100.0)).cx;
        else
            width = X(last) + TextSize(dc, m_labels[last].Right(5)).cx + 5;
        ::ReleaseDC(m_hWnd, dc);
    }
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL};
    si.nMin = 0;
    si.nMax = std::max(0, width + ScrollPos() - 18);
    si.nPage = Width;
    SetScrollInfo(SB_HORZ, &si, TRUE);
    ::EnableScrollBar(m_hWnd, SB_HORZ, static_cast<int>(si.nPage) < si.nMax ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
    SyncBar();
    SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CGraphCtrl::SyncBar()
{
    if (!m_hScroll.GetSafeHwnd())
        return;
    SCROLLINFO si{sizeof si, SIF_ALL};
    ::GetScrollInfo(m_hWnd, SB_HORZ, &si);
    m_hScroll.EnableWindow(static_cast<int>(si.nPage) < si.nMax);
    m_hScroll.SetScrollRange(si.nMin, std::max(si.nMin, si.nMax - static_cast<int>(si.nPage) + 1), FALSE);
    m_hScroll.SetScrollPos(si.nPos, FALSE);
    m_hScroll.UpdateThumbFromPos();
}

int CGraphCtrl::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!m_hScroll.Create(WS_CHILD | SBS_HORZ, CRect(0, 0, 0, 0), this, kBarId))
        return -1;
    if (!LoadDibFromPack(L"Scroll_both.jpg", &m_sizeBox))
        return -1;
    CreateTahomaFont(FALSE, &m_font, 110, FALSE);
    UpdateScrollRange();
    return 0;
}

void CGraphCtrl::OnDestroy()
{
    Default();
    if (m_font) {
        ::DeleteObject(m_font);
        m_font = nullptr;
    }
}

void CGraphCtrl::OnSize(UINT, int, int)
{
    UpdateScrollRange();
    Invalidate(FALSE);
}

void CGraphCtrl::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    Draw(dc, client);
    ::EndPaint(m_hWnd, &ps);
}

void CGraphCtrl::OnHScroll(UINT code, UINT, CScrollBar*)
{
    SetFocus();
    Default();
    if (code != SB_THUMBPOSITION && code != SB_THUMBTRACK)
        SyncBar();
    SCROLLINFO si{sizeof si, SIF_ALL};
    ::GetScrollInfo(m_hWnd, SB_HORZ, &si);
    const int high = std::max(0, si.nMax - static_cast<int>(si.nPage) + 1);
    int pos = si.nPos;
    switch (code) {
    case SB_LINELEFT: pos -= 12; break;
    case SB_LINERIGHT: pos += 12; break;
    case SB_PAGELEFT: pos -= 25; break;
    case SB_PAGERIGHT: pos += 25; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = m_hScroll.m_trackPos; break;
    default: break;
    }
    pos = std::clamp(pos, 0, high);
    SetScrollPos(SB_HORZ, pos, FALSE);
    SyncBar();
    Invalidate(FALSE);
}

void CGraphCtrl::Draw(HDC target, const RECT& rect)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    HGDIOBJ oldBitmap = nullptr;
    HDC dc = BeginBuffer(m_back, width, height, target, oldBitmap);
    if (!dc)
        return;
    ::SetBkMode(dc, TRANSPARENT);
    const CRect all(0, 0, width, height);
    Fill(dc, all, RGB(123, 123, 139));
    Fill(dc, CRect(0, 0, width, 1), RGB(48, 48, 58));
    Fill(dc, CRect(0, 0, 1, height), RGB(48, 48, 58));
    Fill(dc, CRect(0, height - 1, width, height), RGB(148, 150, 155));
    Fill(dc, CRect(width - 1, 0, width, height), RGB(148, 150, 155));
    const CRect inner(1, 1, width - 1, height - 1);
    Fill(dc, inner, RGB(81, 81, 92));

    HRGN clip = ::CreateRectRgnIndirect(&inner);
    ::SelectClipRgn(dc, clip);
    HPEN grid = ::CreatePen(PS_SOLID, 1, RGB(101, 102, 111));
    HGDIOBJ oldPen = ::SelectObject(dc, grid);
    for (int k = 0; k < GridRows; ++k) {
        m_rows[k].y = inner.top + 23 * (k + 1);
        Line(dc, inner.left, m_rows[k].y, inner.right, m_rows[k].y);
    }
    for (int i = static_cast<int>(m_xStart); i <= static_cast<int>(m_xEnd); ++i)
        Line(dc, X(i), inner.top, X(i), inner.top + 253);

    HGDIOBJ oldFont = ::SelectObject(dc, m_font ? static_cast<HGDIOBJ>(m_font) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetTextColor(dc, RGB(255, 255, 255));
    const int n = static_cast<int>(m_labels.GetSize());
    const CRect band(inner.left, inner.top + 262, inner.right, inner.top + 289);
    HRGN bandClip = ::CreateRectRgnIndirect(&band);
    ::SelectClipRgn(dc, bandClip);
    CString lastYear;
    bool anyYear = false;
    for (int i = static_cast<int>(m_xStart); i <= static_cast<int>(m_xEnd) && i < n; ++i) {
        const CString& label = m_labels[i];
        const int slash = label.Find(L'/');
        const CString year = slash >= 0 ? label.Left(slash) : label;
        const CString day = label.Right(5);
        if (!anyYear || year != lastYear) {
            const SIZE size = TextSize(dc, year);
            ::TextOutW(dc, X(i) - size.cx / 2, band.top, year, year.GetLength());
            lastYear = year;
            anyYear = true;
        }
        const SIZE size = TextSize(dc, day);
        ::TextOutW(dc, X(i) - size.cx / 2, band.top + 10, day, day.GetLength());
    }
    ::SelectClipRgn(dc, clip);
    if (n > 0) {
        HPEN average = ::CreatePen(PS_SOLID, 1, RGB(227, 3, 170));
        ::SelectObject(dc, average);
        Line(dc, inner.left, Y(m_average), inner.right, Y(m_average));
        HPEN value = ::CreatePen(PS_SOLID, 1, RGB(255, 157, 27));
        ::SelectObject(dc, value);
        ::MoveToEx(dc, X(0), Y(m_values[0]), nullptr);
        for (int j = 1; j < n; ++j)
            ::LineTo(dc, X(j), Y(m_values[j]));
        ::SelectObject(dc, grid);
        ::DeleteObject(average);
        ::DeleteObject(value);

        const CString avg = ValueText(m_average);
        SIZE size = TextSize(dc, avg);
        ::TextOutW(dc, inner.right - size.cx, Y(m_average) - size.cy, avg, avg.GetLength());
        const CString high = ValueText(static_cast<int>(m_maximum * 100 + 0.1) / 100.0);
        size = TextSize(dc, high);
        int y = Y(m_maximum) - size.cy;
        if (y < 0)
            y = Y(m_maximum);
        ::TextOutW(dc, X(m_maxIndex), y, high, high.GetLength());
        const int lowHundredths = static_cast<int>(m_minimum * 100 + 0.1);
        const CString low = ValueText(lowHundredths / 100.0);
        ::TextOutW(dc, X(m_minIndex), Y(m_minimum) - (lowHundredths == 0 ? 3 : 0), low, low.GetLength());
    }
    ::SelectClipRgn(dc, nullptr);
    ::DeleteObject(clip);
    ::DeleteObject(bandClip);
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(grid);
    ::BitBlt(target, rect.left, rect.top, width, height, dc, 0, 0, SRCCOPY);
    EndBuffer(dc, oldBitmap);
}

// The frame -------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CGraphFrame, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CGraphFrame::CGraphFrame()
{
    InitDibImage(&m_back);
}

CGraphFrame::~CGraphFrame()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_back);
    if (m_font)
        ::DeleteObject(m_font);
}

int CGraphFrame::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!m_graph.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL,
                        CRect(0, 0, 0, 0), this, 0xFFFF))
        return -1;
    m_graph.SetOwner(GetOwner());
    CreateTahomaFont(FALSE, &m_font, 110, FALSE);
    return 0;
}

void CGraphFrame::OnSize(UINT, int, int)
{
    if (m_graph.GetSafeHwnd())
        m_graph.MoveWindow(37, 25, CGraphCtrl::Width, CGraphCtrl::Height);
}

void CGraphFrame::OnPaint()
{
    PAINTSTRUCT ps;
    HDC paint = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    DIB_IMAGE buffer{};
    InitDibImage(&buffer);
    HGDIOBJ old = nullptr;
    if (HDC mem = BeginBuffer(buffer, client.Width(), client.Height(), paint, old)) {
        Draw(mem, client);
        ::BitBlt(paint, 0, 0, client.Width(), client.Height(), mem, 0, 0, SRCCOPY);
        EndBuffer(mem, old);
    }
    FreeDibImage(&buffer);
    ::EndPaint(m_hWnd, &ps);
}

void CGraphFrame::Draw(HDC target, const RECT& rect)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    HGDIOBJ oldBitmap = nullptr;
    HDC dc = BeginBuffer(m_back, width, height, target, oldBitmap);
    if (!dc)
        return;
    ::SetBkMode(dc, TRANSPARENT);
    Fill(dc, CRect(0, 0, width, height), RGB(203, 203, 207));
    Fill(dc, CRect(1, 1, width - 1, height - 1), RGB(123, 123, 139));
    HGDIOBJ oldFont = ::SelectObject(dc, m_font ? static_cast<HGDIOBJ>(m_font) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetTextColor(dc, RGB(255, 255, 255));
    const CString unit = CGraphCtrl::UnitName();
    ::TextOutW(dc, 10, 5, unit, unit.GetLength());
    auto centred = [dc](const CString& text, int x, int y) {
        const SIZE size = TextSize(dc, text);
        ::TextOutW(dc, x - size.cx / 2, y - size.cy / 2, text, text.GetLength());
    };
    for (int k = 0; k < CGraphCtrl::GridRows; ++k) {
        CString value;
        value.Format(L"%d", m_graph.m_rows[k].value);
        centred(value, 19, 48 + 23 * k);
    }
    centred(L"0", 19, 278);
    ::SelectObject(dc, oldFont);
    ::BitBlt(target, rect.left, rect.top, width, height, dc, 0, 0, SRCCOPY);
    const RECT graph{0, 0, CGraphCtrl::Width, CGraphCtrl::Height};
    m_graph.Draw(dc, graph);
    ::BitBlt(target, rect.left + 37, rect.top + 25, CGraphCtrl::Width, CGraphCtrl::Height, dc, 0, 0, SRCCOPY);
    EndBuffer(dc, oldBitmap);
}
