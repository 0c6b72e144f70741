#include "frame/OptionPages.h"

#include "common/ButtonStrips.h"
#include "common/Utility.h"
#include "core/Global.h"

namespace {

const COLORREF kPanelFill = 0x8B7B7B;
const COLORREF kBarFill = 0x685C5C;
const int kTabBand = 42;

void FillRect(HDC dc, const RECT& r, COLORREF colour)
{
    ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Line(HDC dc, COLORREF colour, int x1, int y1, int x2, int y2)
{
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

}  // namespace

CString TimeDifferenceItem(int index)
{
    const int hours = 12 - index;
    CString text;
    if (hours > 0)
        text.Format(L"GMT +#%d:00", hours);
    else if (hours < 0)
        text.Format(L"GMT -#%d:00", -hours);
    else
        text = L"GMT#0:00";
    return text;
}

BEGIN_MESSAGE_MAP(COptDlgBaseWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

COptDlgBaseWnd::~COptDlgBaseWnd()
{
    if (m_hWnd)
        DestroyWindow();
    for (HFONT font : {m_fontBold, m_fontNormal})
        if (font)
            ::DeleteObject(font);
}

BOOL COptDlgBaseWnd::CreatePage(CWnd* dialog, const RECT& rect)
{
    if (!CreateTahomaFont(TRUE, &m_fontBold, 100, FALSE) || !CreateTahomaFont(FALSE, &m_fontNormal, 100, FALSE))
        return FALSE;
    const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!CreateEx(0, cls, L"", WS_CHILD | WS_CLIPCHILDREN, rect, dialog, 0))
        return FALSE;

    // The row holding this page's tab sits lower, next to the panel.
    const UINT tabIds[] = {ID_OPTION_TAB_CSV, ID_OPTION_TAB_UNIT, ID_OPTION_TAB_TIME, ID_OPTION_TAB_ECO};
    const int labels[] = {288, 289, 290, 291};
    const int ownRow = TabIndex() / 2;
    for (int i = 0; i < 4; ++i) {
        CCustomButton& tab = m_tabs[i];
        if (!BuildOptionTabImage(&tab.m_strip, UiText(labels[i])))
            return FALSE;
        const int x = (i % 2) * 194, y = (i / 2 == ownRow) ? 21 : 0;
        if (!tab.Create(CRect(x, y, x + 194, y + 21), this, tabIds[i], FALSE))
            return FALSE;
    }
    m_tabs[TabIndex()].m_checked = TRUE;
    m_tabs[TabIndex()].ChangeState(kStateChecked);

    m_radioDefs = Radios();
    for (const RadioDef& def : m_radioDefs) {
        CString label = UiText(def.label);
        if (def.untilSlash && label.Find(L'/') >= 0)
            label = label.Left(label.Find(L'/'));
        auto radio = std::make_unique<CCustomCheckButton>();
        if (!radio->Create(label, BS_PUSHBUTTON | WS_VISIBLE,
                           CRect(def.x, def.y, def.x + def.width, def.y + 16), this, def.id))
            return FALSE;
        radio->m_textColor = RGB(255, 255, 255);
        radio->m_bkColor = kPanelFill;
        radio->m_noFill = 0;
        radio->m_textFormat = DT_SINGLELINE | DT_VCENTER;
        radio->SetFont(m_fontNormal, FALSE);
        m_radios.push_back(std::move(radio));
    }
    return CreateExtras();
}

void COptDlgBaseWnd::SetValue(int group, int value)
{
    m_values[group] = value;
    for (size_t i = 0; i < m_radioDefs.size(); ++i)
        if (m_radioDefs[i].group == group && i < m_radios.size())
            m_radios[i]->SetCheck(m_radioDefs[i].value == value ? 1 : 0);
}

CCustomCheckButton* COptDlgBaseWnd::GetRadio(UINT id)
{
    for (size_t i = 0; i < m_radioDefs.size() && i < m_radios.size(); ++i)
        if (m_radioDefs[i].id == id)
            return m_radios[i].get();
    return nullptr;
}

BOOL COptDlgBaseWnd::OnCommand(WPARAM wp, LPARAM lp)
{
    if (HIWORD(wp) == BN_CLICKED)
        for (const RadioDef& def : m_radioDefs)
            if (def.id == LOWORD(wp)) {
                OnRadio(def);
                return TRUE;
            }
    return CWnd::OnCommand(wp, lp);
}

void COptDlgBaseWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC mem(&paint, client);
    HDC dc = mem.GetSafeHdc();
    // The tab band shows the dialog's body colour behind the tabs.
    FillRect(dc, CRect(0, 0, client.right, kTabBand), RGB(0xA8, 0xAB, 0xB0));
    const CRect panel(0, kTabBand, client.right, client.bottom);
    FillRect(dc, panel, kBarFill);
    Line(dc, 0x4B4242, panel.left, panel.bottom - 1, panel.left, panel.top);
    Line(dc, 0x4B4242, panel.left, panel.top, panel.right, panel.top);
    Line(dc, 0xFBEBEB, panel.right - 1, panel.top + 1, panel.right - 1, panel.bottom - 1);
    Line(dc, 0xFBEBEB, panel.left + 1, panel.bottom - 1, panel.right, panel.bottom - 1);
    CRect inner = panel;
    inner.DeflateRect(4, 4);
    FillRect(dc, inner, kPanelFill);
    Line(dc, 0x6B6969, inner.left, inner.bottom - 1, inner.left, inner.top);
    Line(dc, 0x6B6969, inner.left, inner.top, inner.right, inner.top);
    Line(dc, 0x9B9694, inner.right - 1, inner.top + 1, inner.right - 1, inner.bottom);
    Line(dc, 0x9B9694, inner.left + 1, inner.bottom - 1, inner.right, inner.bottom - 1);

    HGDIOBJ oldFont = ::SelectObject(dc, m_fontBold);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    const std::vector<int> headings = Headings();
    for (size_t i = 0; i < headings.size(); ++i) {
        const int offset = static_cast<int>(i) * HeadingStep();
        const CRect bar(14, 59 + offset, 373, 81 + offset);
        FillRect(dc, bar, kBarFill);
        ::SetBkMode(dc, TRANSPARENT);
        CRect text = bar;
        text.left += 5;
        const CString heading = UiText(headings[i]);
        ::DrawTextW(dc, heading, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    ::SelectObject(dc, oldFont);
}

void COptDlgBaseWnd::OnDestroy()
{
    for (auto& radio : m_radios)
        if (radio->m_hWnd)
            radio->DestroyWindow();
    for (CCustomButton& tab : m_tabs)
        if (tab.m_hWnd)
            tab.DestroyWindow();
    Default();
}

// --- CSV -------------------------------------------------------------------

std::vector<COptDlgBaseWnd::RadioDef> COptDlgCSVWnd::Radios() const
{
    return {
        {1086, 0, 0, 18, 92, 258, 300},  {1056, 0, 2, 18, 122, 258, 145}, {1055, 0, 1, 18, 152, 258, 144},
        {1057, 0, 3, 18, 182, 258, 146}, {1078, 1, 0, 18, 252, 258, 300}, {1079, 1, 1, 18, 282, 258, 145},
        {1080, 1, 2, 18, 312, 258, 301},
    };
}

void COptDlgCSVWnd::Load()
{
    SetValue(0, theGlobal.m_delimiter);
    SetValue(1, theGlobal.m_decimal);
    m_loaded = TRUE;
}

void COptDlgCSVWnd::Store() const
{
    theGlobal.m_delimiter = m_values[0];
    theGlobal.m_decimal = m_values[1];
}

// --- Units -----------------------------------------------------------------

std::vector<COptDlgBaseWnd::RadioDef> COptDlgUnitWnd::Radios() const
{
    return {
        {1075, 0, 0, 18, 92, 258, 307, true}, {1076, 0, 1, 18, 122, 258, 303}, {1081, 1, 0, 18, 192, 258, 304},
        {1082, 1, 1, 18, 222, 258, 305},      {1087, 2, 0, 18, 292, 258, 306}, {1092, 2, 1, 18, 322, 258, 307},
        {1093, 2, 2, 18, 352, 258, 308},      {1094, 2, 3, 18, 382, 258, 309},
    };
}

void COptDlgUnitWnd::Load()
{
    SetValue(0, theGlobal.m_distanceUnit);
    SetValue(1, theGlobal.m_amountUnit);
    SetValue(2, theGlobal.m_mileageUnit);
    m_loaded = TRUE;
}

void COptDlgUnitWnd::Store() const
{
    theGlobal.m_distanceUnit = m_values[0];
    theGlobal.m_amountUnit = m_values[1];
    theGlobal.m_mileageUnit = m_values[2];
}

// --- Time ------------------------------------------------------------------

std::vector<COptDlgBaseWnd::RadioDef> COptDlgTimeWnd::Radios() const
{
    return {{1060, 0, 0, 18, 92, 150, 310}, {1059, 0, 1, 18, 122, 150, 311}};
}

BOOL COptDlgTimeWnd::CreateExtras()
{
    if (!m_combo.Create(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_VISIBLE | WS_TABSTOP,
                        CRect(174, 121, 174 + 200, 121 + 20 + 200), this, 32924))
        return FALSE;
    for (int i = 0; i <= 24; ++i)
        m_combo.AddString(TimeDifferenceItem(i));
    return TRUE;
}

void COptDlgTimeWnd::SetZone(int zone)
{
    SetValue(0, zone);
    if (m_combo.m_hWnd)
        m_combo.EnableWindow(zone == 1);
}

void COptDlgTimeWnd::OnRadio(const RadioDef& radio)
{
    SetZone(radio.value);
}

BOOL COptDlgTimeWnd::OnCommand(WPARAM wp, LPARAM lp)
{
    if (LOWORD(wp) == 32924 && HIWORD(wp) == CBN_SELCHANGE) {
        const int sel = m_combo.GetCurSel();
        if (sel >= 0 && m_combo.IsWindowEnabled())
            m_values[1] = sel;
        return TRUE;
    }
    return COptDlgBaseWnd::OnCommand(wp, lp);
}

void COptDlgTimeWnd::Load()
{
    SetZone(theGlobal.m_timeZone);
    m_values[1] = theGlobal.m_timeDifference;
    if (m_combo.m_hWnd)
        m_combo.SetCurSel(theGlobal.m_timeDifference);
    m_loaded = TRUE;
}

void COptDlgTimeWnd::Store() const
{
    theGlobal.m_timeZone = m_values[0];
    theGlobal.m_timeDifference = m_values[1];
}

void COptDlgTimeWnd::Lock()
{
    for (auto& radio : m_radios)
        radio->EnableWindow(FALSE);
    if (m_combo.m_hWnd)
        m_combo.EnableWindow(FALSE);
}

// --- ECO -------------------------------------------------------------------

std::vector<COptDlgBaseWnd::RadioDef> COptDlgECOWnd::Radios() const
{
    return {
        {32925, 0, 0, 18, 92, 258, 426}, {1091, 0, 1, 18, 122, 258, 427}, {1083, 1, 0, 18, 192, 258, 316},
        {1084, 1, 1, 18, 222, 258, 315}, {1085, 1, 2, 18, 252, 258, 314},
    };
}

void COptDlgECOWnd::Load()
{
    SetValue(0, theGlobal.m_gasType);
    SetValue(1, theGlobal.m_ecoJudge);
    m_loaded = TRUE;
}

void COptDlgECOWnd::Store() const
{
    theGlobal.m_gasType = m_values[0];
    theGlobal.m_ecoJudge = m_values[1];
}
