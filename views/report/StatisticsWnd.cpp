#include "views/report/StatisticsWnd.h"

#include <algorithm>

#include "common/Utility.h"
#include "common/WebUtil.h"
#include "core/Global.h"
#include "views/report/FuelText.h"

namespace {

constexpr UINT kTipsCommand = 32930;
constexpr COLORREF kOutline = 0x989696, kPanel = 0x231E1E, kInner = 0x463C3C;
constexpr COLORREF kBoxDark = 0x2B2525, kBoxLight = 0x816E6E, kBoxFill = 0x595252;
constexpr COLORREF kLabel = RGB(0xF8, 0xD8, 0x5A);

CString Fixed(__int64 value, int scale, const wchar_t* format)
{
    CString text;
    text.Format(format, static_cast<double>(value) / scale);
    DotToLocaleDecimal(text);
    return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CStatisticsWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CStatisticsWnd::CStatisticsWnd()
{
    InitDibImage(&m_back);
    InitDibImage(&m_sizeBox);
    m_text.SetTextColor(kLabel);
}

CStatisticsWnd::~CStatisticsWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_back);
    FreeDibImage(&m_sizeBox);
}

int CStatisticsWnd::ContentWidth(int mode)
{
    return mode == ModeTotal ? 625 : mode >= ModeAverage && mode <= ModeCO2 ? 730 : 0;
}

std::vector<FUEL_STAT_CELL> CStatisticsWnd::Cells(int mode, const CDocFe& doc)
{
    std::vector<FUEL_STAT_CELL> cells;
    if (mode < ModeTotal || mode > ModeCO2)
        return cells;
    const CString distance = FuelNameLine(kFuelDistanceUnits, theGlobal.m_distanceUnit);
    const CString amount = FuelNameLine(kFuelAmountUnits, theGlobal.m_amountUnit);
    const CString mileage = FuelNameLine(kFuelMileageUnits, theGlobal.m_mileageUnit);
    const CString currency = FuelCurrencyName(doc.GetMainCurrency());
    if (mode == ModeCO2) {
        CString value;
        value.Format(L"%.2f", doc.GetTotalCO2());
        DotToLocaleDecimal(value);
        cells.push_back({theGlobal.UiString(209), value, L"kg"});
        return cells;
    }
    DOCFUEL_VIEW_DATA s{};
    BOOL ok = FALSE;
    switch (mode) {
    case ModeTotal: ok = doc.GetTotalStatistics(s); break;
    case ModeAverage: ok = doc.GetAverageStatistics(s); break;
    case ModeMaximum: ok = doc.GetMaxStatistics(s); break;
    default: ok = doc.GetMinStatistics(s); break;
    }
    auto value = [&](__int64 v, int scale, const wchar_t* format) {
        return ok && doc.GetCount() > 0 ? Fixed(v, scale, format) : CString(L"0.0");
    };
    if (mode == ModeTotal) {
        cells.push_back({theGlobal.UiString(206), value(s.distance, 10, L"%.1f"), distance});
        cells.push_back({theGlobal.UiString(207), value(s.amount, 100, L"%.2f"), amount});
        cells.push_back({theGlobal.UiString(204), value(s.mileage, 100, L"%.2f"), mileage});
        cells.push_back({theGlobal.UiString(208), value(s.cost, 100, L"%.2f"), currency});
        return cells;
    }
    cells.push_back({theGlobal.UiString(194), value(s.distance, 10, L"%.1f"), distance});
    cells.push_back({theGlobal.UiString(196), value(s.amount, 100, L"%.2f"), amount});
    cells.push_back({theGlobal.UiString(mode == ModeAverage ? 204 : 198), value(s.mileage, 100, L"%.2f"), mileage});
    cells.push_back({theGlobal.UiString(200), value(s.price, 100, L"%.2f"), currency});
    cells.push_back({theGlobal.UiString(205), value(s.cost, 100, L"%.2f"), currency});
    return cells;
}

int CStatisticsWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!m_hScroll.Create(WS_CHILD | SBS_HORZ, CRect(0, 0, 0, 0), this, 0xE901) ||
        !m_vScroll.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), this, 0xE902))
        return -1;
    if (!LoadDibFromPack(L"Scroll_both.jpg", &m_sizeBox))
        return -1;
    if (!m_btnTips.Create(CRect(0, 0, 28, 28), this, kTipsCommand, FALSE) ||
        !m_btnTips.LoadBitmaps(L"btn_fuel_tips_%s.bmp", L"btn_fuel_tips_normal.bmp", L"normal", L"pressed", L"pressed",
                               L"pressed", L"pressed"))
        return -1;
    m_btnTips.ShowWindow(SW_HIDE);
    Clear();
    return 0;
}

void CStatisticsWnd::Clear()
{
    m_mode = ModeNone;
    UpdateLayout();
}

void CStatisticsWnd::UpdateLayout()
{
    if (!GetSafeHwnd())
        return;
    CRect window;
    GetWindowRect(&window);
    const int content = ContentWidth(m_mode);
    const bool needBar = window.Width() < content;
    const bool hasBar = (GetStyle() & WS_HSCROLL) != 0;
    if (needBar) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE};
        si.nMin = 0;
        si.nMax = content;
        si.nPage = window.Width();
        SetScrollInfo(SB_HORZ, &si, FALSE);
        if (!hasBar)
            ModifyStyle(0, WS_HSCROLL, SWP_FRAMECHANGED);
    } else if (hasBar) {
        ::ShowScrollBar(m_hWnd, SB_HORZ, FALSE);
        ModifyStyle(WS_HSCROLL, 0, SWP_FRAMECHANGED);
    }
    SyncScrollBars();
    CRect client;
    GetClientRect(&client);
    if (m_btnTips.GetSafeHwnd()) {
        CRect button;
        m_btnTips.GetWindowRect(&button);
        m_btnTips.MoveWindow(client.left + 187, client.top + 25, button.Width(), button.Height());
    }
}

void CStatisticsWnd::SyncScrollBars()
{
    for (CCustomScrollBar* bar : {&m_hScroll, &m_vScroll}) {
        if (!bar->GetSafeHwnd())
            continue;
        SCROLLINFO si{sizeof si, SIF_ALL};
        ::GetScrollInfo(m_hWnd, bar->IsVertical() ? SB_VERT : SB_HORZ, &si);
        bar->SetScrollRange(si.nMin, std::max(si.nMin, si.nMax - static_cast<int>(si.nPage) + 1), FALSE);
        bar->SetScrollPos(si.nPos, FALSE);
        bar->UpdateThumbFromPos();
    }
}

void CStatisticsWnd::OnSize(UINT, int, int)
{
    UpdateLayout();
    Invalidate(FALSE);
}

void CStatisticsWnd::Scroll(int bar, UINT code, int pos)
{
    SCROLLINFO si{sizeof si, SIF_ALL};
    ::GetScrollInfo(m_hWnd, bar, &si);
    int p = si.nPos;
    switch (code) {
    case SB_LINELEFT: p -= 1; break;
    case SB_LINERIGHT: p += 1; break;
    case SB_PAGELEFT: p -= 100; break;
    case SB_PAGERIGHT: p += 100; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: p = pos; break;
    default: break;
    }
    p = std::clamp(p, si.nMin, std::max(si.nMin, si.nMax));
    SetScrollPos(bar, p, FALSE);
    SyncScrollBars();
    Invalidate(FALSE);
}

void CStatisticsWnd::OnHScroll(UINT code, UINT, CScrollBar*)
{
    Scroll(SB_HORZ, code, m_hScroll.m_trackPos);
}

void CStatisticsWnd::OnVScroll(UINT code, UINT, CScrollBar*)
{
    Scroll(SB_VERT, code, m_vScroll.m_trackPos);
}

void CStatisticsWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    CCustomScrollBar::UpdateFromHost(&m_vScroll, params);
    CCustomScrollBar::UpdateFromHost(&m_hScroll, params);
}

void CStatisticsWnd::OnNcPaint()
{
    CCustomScrollBar::RedrawNC(&m_hScroll);
    CCustomScrollBar::RedrawNC(&m_vScroll);
    CCustomScrollBar::DrawSizeBox(this, &m_sizeBox);
}

LRESULT CStatisticsWnd::OnNcHitTest(CPoint pt)
{
    if (CCustomScrollBar::HitTestNC(&m_hScroll, pt.x, pt.y) != -2)
        return HTHSCROLL;
    if (CCustomScrollBar::HitTestNC(&m_vScroll, pt.x, pt.y) != -2)
        return HTVSCROLL;
    return Default();
}

BOOL CStatisticsWnd::PreTranslateMessage(MSG* msg)
{
    if (CCustomScrollBar::ForwardNCMouse(msg, &m_hScroll) || CCustomScrollBar::ForwardNCMouse(msg, &m_vScroll))
        return TRUE;
    return CWnd::PreTranslateMessage(msg);
}

void CStatisticsWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC paint = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    if (client.Width() > 0 && client.Height() > 0) {
        if (m_back.width != client.Width() || m_back.height != client.Height()) {
            FreeDibImage(&m_back);
            CreateDib(&m_back, client.Width(), client.Height());
        }
        if (m_back.bitmap) {
            HDC mem = ::CreateCompatibleDC(paint);
            HGDIOBJ old = ::SelectObject(mem, m_back.bitmap);
            Draw(mem, client);
            ::BitBlt(paint, 0, 0, client.Width(), client.Height(), mem, 0, 0, SRCCOPY);
            ::SelectObject(mem, old);
            ::DeleteDC(mem);
        }
    }
    ::EndPaint(m_hWnd, &ps);
}

void CStatisticsWnd::Draw(HDC dc, const RECT& clientRect)
{
    CRect client(clientRect);
    HBRUSH outline = ::CreateSolidBrush(kOutline);
    ::FrameRect(dc, &client, outline);
    ::DeleteObject(outline);
    CRect filled(client);
    filled.DeflateRect(1, 1);
    auto fill = [dc](const RECT& r, COLORREF c) {
        ::SetBkColor(dc, c);
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    };
    fill(filled, kPanel);
    const CRect inner(filled.left + 20, filled.top + 18, filled.right - 20, filled.bottom - 20);
    fill(inner, kInner);
    const std::vector<FUEL_STAT_CELL> cells = Cells(m_mode, theGlobal.m_docFe);
    if (cells.empty())
        return;
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    const int x0 = (inner.left + inner.right) / 2 - 350;
    const int headingWidth = HeadingWidth(m_mode), boxWidth = BoxWidth(m_mode);
    for (size_t i = 0; i < cells.size(); ++i) {
        const int x = x0 + static_cast<int>(i) * (boxWidth + 1);
        const CRect heading(x, inner.top + 2, x + headingWidth, inner.top + 29);
        const CString wrapped = WrapTextToRect(&heading, cells[i].heading, 2, 120, FALSE, FALSE);
        m_text.DrawLabelFit(dc, wrapped, FALSE, 0, heading);
        const CRect box(x, inner.top + 30, x + boxWidth, inner.top + 80);
        HBRUSH dark = ::CreateSolidBrush(kBoxDark), light = ::CreateSolidBrush(kBoxLight);
        fill(CRect(box.left, box.top, box.right - 1, box.top + 1), kBoxDark);
        fill(CRect(box.left, box.top, box.left + 1, box.bottom - 1), kBoxDark);
        fill(CRect(box.right - 1, box.top, box.right, box.bottom), kBoxLight);
        fill(CRect(box.left, box.bottom - 1, box.right, box.bottom), kBoxLight);
        ::DeleteObject(dark);
        ::DeleteObject(light);
        fill(CRect(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1), kBoxFill);
        ::SetTextColor(dc, RGB(255, 255, 255));
        SIZE size{};
        ::GetTextExtentPoint32W(dc, L"0", 1, &size);
        RECT value{box.left, box.top + 15 - size.cy / 2, box.right - 10, box.top + 15 - size.cy / 2 + size.cy};
        ::DrawTextW(dc, cells[i].value, -1, &value, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
        ::OffsetRect(&value, 0, 20);
        ::DrawTextW(dc, cells[i].unit, -1, &value, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    }
    ::SelectObject(dc, oldFont);
}
