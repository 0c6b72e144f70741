#include "views/report/DrListWnd.h"

#include <algorithm>
#include <vector>

#include "classlib/CMemDC.h"
#include "common/Utility.h"
#include "controls/NotifyForward.h"
#include "controls/SelectionBar.h"
#include "core/Global.h"
#include "res/report_ids.h"
#include "views/report/CheckImages.h"

namespace {

const COLORREF kFrame = RGB(0x96, 0x96, 0x98);
const COLORREF kLink = 0xFFED00;
const COLORREF kLinkSelected = kLinkTextOnSelection;

int CompareText(const wchar_t* a, const wchar_t* b)
{
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, -1, b, -1) - CSTR_EQUAL;
}

}  // namespace

const int CDrListWnd::kHeadings[kColumnCount] = {176, -1, 185, 186, 181, 190, 191};
const int CDrListWnd::kEditors[kColumnCount] = {
    CCustomListCtrl::EditNone, CCustomListCtrl::EditCheck, CCustomListCtrl::EditReadOnly, CCustomListCtrl::EditChoice,
    CCustomListCtrl::EditText, CCustomListCtrl::EditText,  CCustomListCtrl::EditText};

// --- the list control -------------------------------------------------------

BEGIN_MESSAGE_MAP(CDriveReportListCtrl, CCustomListCtrl)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// The number and the tick keep the row colour; the skin starts after them.
CDriveReportListCtrl::CDriveReportListCtrl() { m_skinFromColumn = 2; }

CDriveReportListCtrl::~CDriveReportListCtrl()
{
    if (GetSafeHwnd())
        DestroyWindow();
    for (HFONT* font : {&m_fontLink, &m_fontLinkBold})
        if (*font)
            ::DeleteObject(*font);
}

int CDriveReportListCtrl::OnCreate(LPCREATESTRUCTW cs)
{
    if (CCustomListCtrl::OnCreate(cs) == -1)
        return -1;
    if (!CreateTahomaFont(FALSE, &m_fontLink, 120, TRUE) || !CreateTahomaFont(TRUE, &m_fontLinkBold, 120, TRUE))
        return -1;
    return 0;
}

void CDriveReportListCtrl::DrawItem(DRAWITEMSTRUCT* dis)
{
    CDC dc;
    dc.Attach(dis->hDC);
    const RECT& rc = dis->rcItem;
    const RowLook look = BeginRowDraw(dc, dis);
    const bool real = look.row >= 0, selected = look.selected;
    const int row = look.row;
    const COLORREF back = look.back, textColour = look.text;

    // The widths of the columns, the first one less the horizontal scroll.
    std::vector<int> widths;
    for (int i = 0; i < GetColumnCount(); ++i)
        widths.push_back(GetColumnWidth(i));
    DrawRowBack(dc, rc, look, TRUE);
    dc.SetTextColor(textColour);
    dc.SetBkColor(back);

    int x = rc.left;
    for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
        const int width = widths[i];
        if (width <= 0)
            continue;
        CRect cell(x, rc.top, x + width, rc.bottom);
        x += width;
        if (real && i < m_columnProps.GetSize()) {
            if (m_cellMode && row == m_curRow && i == m_curCol) {
                if (m_editing) {
                    dc.SetTextColor(back);
                } else {
                    if (i == 1) {
                        dc.SetBkColor(m_bkColor);
                        dc.SetTextColor(RGB(255, 255, 255));
                    }
                    DrawCellFocus(dc, cell);
                    dc.SetTextColor(textColour);
                }
            } else {
                dc.SetTextColor(textColour);
            }
            if (m_columnProps[i].type == EditReadOnly)
                dc.SetTextColor(ReadOnlyText);
            RECT sub = cell;
            DrawSubItem(&dc, &sub, row, i);
            dc.SetTextColor(textColour);
            dc.SelectObject(selected ? &m_fontBold : &m_font);
        }
        DrawGridLine(dc, cell);
    }
    dc.SetBkMode(OPAQUE);
    dc.Detach();
}

void CDriveReportListCtrl::DrawSubItem(CDC* dc, RECT* cell, int row, int column)
{
    wchar_t buffer[TextBufferSize + 1];
    LPCWSTR text = nullptr;
    int image = -1;
    UINT state = 0;
    if (!GetCellContent(row, column, buffer, TextBufferSize + 1, text, image, state))
        return;
    RECT rc = *cell;
    if (image >= 0)
        DrawCellImageAtLeft(dc, rc, column, image, state);
    if (!text || !*text)
        return;
    rc.left += 11;
    rc.right -= 11;
    const bool selected = (state & LVIS_SELECTED) != 0;
    const COLORREF oldText = ::GetTextColor(*dc);
    const COLORREF oldBack = ::GetBkColor(*dc);
    HGDIOBJ oldFont = nullptr;
    if (column == 0) {
        oldFont = ::SelectObject(*dc, m_font.m_hObject);
        dc->SetBkColor(m_bkColor);
        dc->SetTextColor(RGB(255, 255, 255));
    } else if (column == 2) {
        HFONT link = selected ? m_fontLinkBold : m_fontLink;
        if (link)
            oldFont = ::SelectObject(*dc, link);
        dc->SetTextColor(selected ? kLinkSelected : kLink);
    }
    dc->DrawText(text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
    if (oldFont)
        ::SelectObject(*dc, oldFont);
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBack);
}

// --- the pane ---------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDrListWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CDrListWnd::CDrListWnd() = default;

CDrListWnd::~CDrListWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

int CDrListWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!m_list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS | LVS_OWNERDATA,
                       CRect(0, 0, 0, 0), this, IDC_DR_LIST))
        return -1;
    m_list.m_cellMode = TRUE;
    m_list.m_tabNavigation = TRUE;
    if (LoadCheckImages(m_images, 23, 16, 0x443734))
        m_list.SetImageList(&m_images, LVSIL_SMALL);
    CDWordArray& widths = theGlobal.m_drColumns;
    const DWORD defaults[kColumnCount] = {55, 40, 155, 85, 210, 210, 210};
    const INT_PTR had = widths.GetSize();
    widths.SetSize(kColumnCount);
    for (INT_PTR i = had; i < kColumnCount; ++i)
        widths[i] = defaults[i];
    for (int i = 0; i < kColumnCount; ++i)
        m_list.InsertColumn(i, kHeadings[i] < 0 ? L"" : UiText(kHeadings[i]).GetString(), LVCFMT_LEFT,
                            static_cast<int>(widths[i]));
    m_list.SetColumnsSortable(kColumnCount, 0, 1, 1, 1, 1, 1, 1);
    if (m_list.m_columnProps.GetSize() < kColumnCount)
        m_list.m_columnProps.SetSize(kColumnCount);
    for (int i = 0; i < kColumnCount; ++i)
        m_list.m_columnProps[i].type = kEditors[i];
    CString choices;
    choices.Format(L"%s\n%s\n%s", UiText(257).GetString(), UiText(258).GetString(), UiText(259).GetString());
    m_list.m_columnProps[3].options = choices;
    return 0;
}

void CDrListWnd::OnSize(UINT, int cx, int cy)
{
    if (cx > 2 && cy > 2 && m_list.GetSafeHwnd())
        m_list.SetWindowPos(static_cast<HWND>(nullptr), 1, 1, cx - 2, cy - 2, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDrListWnd::OnPaint()
{
    CPaintDC paint(this);
    if (!m_list.GetSafeHwnd())
        return;
    CRect frame;
    m_list.GetWindowRect(&frame);
    ScreenToClient(&frame);
    frame.InflateRect(1, 1);
    HGDIOBJ oldPen = ::SelectObject(paint, ::GetStockObject(DC_PEN));
    HGDIOBJ oldBrush = ::SelectObject(paint, ::GetStockObject(NULL_BRUSH));
    ::SetDCPenColor(paint, kFrame);
    ::Rectangle(paint, frame.left, frame.top, frame.right, frame.bottom);
    ::SelectObject(paint, oldBrush);
    ::SelectObject(paint, oldPen);
}

BOOL CDrListWnd::OnNotify(WPARAM wp, LPARAM lp, LRESULT* result) { return ForwardNotifyToParent(this, wp, lp, result); }

int CDrListWnd::CompareReports(int a, int b, int column)
{
    const CArray<CDocDrivingReport>& reports = theGlobal.m_docDr.m_reports;
    const DR_LIST_DATA& x = reports[a].m_listData;
    const DR_LIST_DATA& y = reports[b].m_listData;
    switch (column) {
    case 1: return (x.checked > y.checked) - (x.checked < y.checked);
    case 2: return CompareText(x.name, y.name);
    case 3: return (x.kind > y.kind) - (x.kind < y.kind);
    case 4: return CompareText(x.text1, y.text1);
    case 5: return CompareText(x.text2, y.text2);
    case 6: return CompareText(x.text3, y.text3);
    default: return 0;
    }
}

BOOL CDrListWnd::SortReports(int n, int column, BOOL ascending)
{
    if (n < 2 || m_index.GetSize() < n || column < 1 || column > 6)
        return FALSE;
    const int count = theGlobal.m_docDr.GetCount();
    for (int i = 0; i < n; ++i)
        if (m_index[i] >= count)
            return FALSE;
    std::vector<WORD> order(m_index.GetData(), m_index.GetData() + n);
    // A stable sort: rows that compare equal keep their order.
    std::stable_sort(order.begin(), order.end(), [&](WORD a, WORD b) {
        const int c = CompareReports(a, b, column);
        return ascending ? c < 0 : c > 0;
    });
    for (int i = 0; i < n; ++i)
        m_index[i] = order[i];
    return TRUE;
}
