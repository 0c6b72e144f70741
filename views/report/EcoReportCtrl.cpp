#include "views/report/EcoReportCtrl.h"

#include <algorithm>

#include "classlib/CMemDC.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "res/report_ids.h"

namespace {

const COLORREF kBack = RGB(0x05, 0x05, 0x0A);
const COLORREF kOutline = RGB(0x96, 0x96, 0x98);
const COLORREF kPanel = RGB(0x1E, 0x1E, 0x23);
const COLORREF kBand = RGB(0x3C, 0x3C, 0x46);
const COLORREF kFrameDark = RGB(0x25, 0x25, 0x2B);
const COLORREF kFrameLight = RGB(0x6E, 0x6E, 0x81);
const COLORREF kTrough = RGB(0x52, 0x52, 0x59);
const COLORREF kLabel = RGB(0xF8, 0xD8, 0x5A);
const COLORREF kLegend = RGB(0xC8, 0xC8, 0xC8);

void Fill(HDC dc, const RECT& r, COLORREF colour)
{
    ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Frame3d(HDC dc, const RECT& r)
{
    Fill(dc, {r.left, r.top, r.right - 1, r.top + 1}, kFrameDark);
    Fill(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, kFrameDark);
    Fill(dc, {r.right - 1, r.top, r.right, r.bottom}, kFrameLight);
    Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, kFrameLight);
}

void Outline(HDC dc, const RECT& r, COLORREF colour)
{
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::SetDCPenColor(dc, colour);
    ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
}

}  // namespace

const COLORREF CEcoReportCtrl::kLevelColours[kLevels] = {RGB(0x45, 0x2D, 0xFA), RGB(0x0E, 0xF4, 0xB6),
                                                         RGB(0xFE, 0xFF, 0x6B), RGB(0xFA, 0x2D, 0x67)};

BEGIN_MESSAGE_MAP(CEcoReportCtrl, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CEcoReportCtrl::CEcoReportCtrl() = default;

CEcoReportCtrl::~CEcoReportCtrl()
{
    if (GetSafeHwnd())
        DestroyWindow();
    for (HFONT* font : {&m_fontLarge, &m_fontSmall})
        if (*font) {
            ::DeleteObject(*font);
            *font = nullptr;
        }
}

void CEcoReportCtrl::Clear()
{
    for (int& share : m_shares)
        share = 0;
    m_accelerations = m_decelerations = 0;
    m_valid = 0;
}

void CEcoReportCtrl::SetReport(int index)
{
    CDocDr& doc = theGlobal.m_docDr;
    if (index < 0) {
        Clear();
    } else {
        m_valid = doc.GetEcoScore(index, theGlobal.m_modelType, m_shares[0], m_shares[1], m_shares[2], m_shares[3]);
        if (index < doc.GetCount())
            doc.m_reports[index].CountSuddenChanges(m_accelerations, m_decelerations);
    }
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

int CEcoReportCtrl::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    CreateTahomaFont(FALSE, &m_fontLarge, 140, FALSE);
    CreateTahomaFont(FALSE, &m_fontSmall, 110, FALSE);
    m_text.SetTextColor(RGB(0xBF, 0xBF, 0xBF));
    if (!m_btnTips.Create(CRect(0, 0, 0, 0), this, ID_TIPS, FALSE))
        return -1;
    m_btnTips.LoadBitmaps(L"btn_eco_tips_%s.bmp", L"btn_eco_tips_normal.bmp", L"normal", L"pressed", L"pressed",
                          L"pressed", L"pressed");
    return 0;
}

void CEcoReportCtrl::OnSize(UINT, int cx, int cy)
{
    if (cx == 0 || cy == 0 || !m_btnTips.GetSafeHwnd())
        return;
    const int w = m_btnTips.m_strip.width, h = m_btnTips.GetFrameHeight();
    m_btnTips.SetWindowPos(static_cast<HWND>(nullptr), cx - w - 5, 5, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEcoReportCtrl::Draw(HDC dc, int W, int H)
{
    Fill(dc, {0, 0, W, H}, kBack);
    {
        HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
        HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(DC_BRUSH));
        ::SetDCPenColor(dc, kOutline);
        ::SetDCBrushColor(dc, kPanel);
        ::Rectangle(dc, 0, 0, W, H);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
    }
    Fill(dc, {21, 56, W - 21, 136}, kBand);
    Fill(dc, {21, 196, W - 21, 296}, kBand);
    Frame3d(dc, {207, 76, 711, 96});
    Outline(dc, {208, 77, 710, 95}, kTrough);
    for (int k = 0; k < kLevels; ++k) {
        Frame3d(dc, {207 + 130 * k, 100, 223 + 130 * k, 116});
        Fill(dc, {208 + 130 * k, 101, 222 + 130 * k, 115}, kLevelColours[k]);
    }
    m_text.DrawText(dc, UiText(53), 10, 17, 200, FALSE, 0, 0);
    m_text.DrawText(dc, UiText(54), 10, 157, 200, FALSE, 0, 0);

    HGDIOBJ oldFont = ::SelectObject(dc, m_fontSmall ? m_fontSmall : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kLabel);
    const CString bar = UiText(55);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, bar, bar.GetLength(), &extent);
    ::TextOutW(dc, 110 - extent.cx / 2, 77, bar, bar.GetLength());

    ::SetTextColor(dc, kLegend);
    for (int k = 0; k < kLevels; ++k) {
        CString legend;
        if (m_valid)
            legend.Format(L"%s:%d%%", UiText(56 + k).GetString(), m_shares[k]);
        else
            legend.Format(L"%s:", UiText(56 + k).GetString());
        ::TextOutW(dc, 225 + 130 * k, 99, legend, legend.GetLength());
    }
    if (m_valid) {
        // The trough holds 100 %; shares that round past it stop at its end.
        int x = 209;
        for (int k = 0; k < kLevels; ++k) {
            const int right = std::min(x + std::max(m_shares[k], 0) * 5, 709);
            if (right > x)
                Fill(dc, {x, 78, right, 94}, kLevelColours[k]);
            x = std::max(x, right);
        }
    }
    for (int y : {216, 256}) {
        Frame3d(dc, {207, y, 311, y + 20});
        Fill(dc, {208, y + 1, 310, y + 19}, kTrough);
    }
    ::SetTextColor(dc, kLabel);
    RECT label{21, 216, 207, 236};
    const CString acc = UiText(60), dec = UiText(61);
    ::DrawTextW(dc, acc, acc.GetLength(), &label, DT_CENTER | DT_NOPREFIX | DT_SINGLELINE);
    label = {21, 256, 207, 276};
    ::DrawTextW(dc, dec, dec.GetLength(), &label, DT_CENTER | DT_NOPREFIX | DT_SINGLELINE);
    ::SetTextColor(dc, RGB(255, 255, 255));
    CString count;
    count.Format(L"%d %s", m_accelerations, UiText(62).GetString());
    ::TextOutW(dc, 220, 218, count, count.GetLength());
    count.Format(L"%d %s", m_decelerations, UiText(62).GetString());
    ::TextOutW(dc, 220, 258, count, count.GetLength());
    ::SelectObject(dc, oldFont);
}

void CEcoReportCtrl::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    Draw(dc.m_hDC, client.Width(), client.Height());
}

void CEcoReportCtrl::OnDestroy()
{
    Default();
    for (HFONT* font : {&m_fontLarge, &m_fontSmall})
        if (*font) {
            ::DeleteObject(*font);
            *font = nullptr;
        }
}
