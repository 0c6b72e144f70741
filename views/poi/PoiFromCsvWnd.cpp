#include "views/poi/PoiFromCsvWnd.h"

#include "classlib/CMemDC.h"
#include "common/ButtonStrips.h"
#include "common/FileUtil.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "doc/WabContacts.h"
#include "frame/ListPagePaint.h"
#include "frame/PaneImages.h"
#include "res/frame_ids.h"

namespace {

const wchar_t* const kColumnLetters =
    L"A\nB\nC\nD\nE\nF\nG\nH\nI\nJ\nK\nL\nM\nN\nO\nP\nQ\nR\nS\nT\nU\nV\nW\nX\nY\nZ\nAA\nAB\nAC\nAD\nAE\nAF\nAG\nAH\nAI\nAJ"
    L"\nAK\nAL\nAM\nAN\nAO\nAP\nAQ\nAR\nAS\nAT\nAU\nAV\nAW\nAX\nAY\nAZ\nBA\nBB\nBC\nBD";
const wchar_t* const kNotMapped = L" - ";
constexpr COLORREF kPanelLine = RGB(150, 150, 152);
constexpr COLORREF kPanelFill = RGB(30, 30, 35);
constexpr COLORREF kLabelFill = RGB(60, 60, 70);
constexpr DWORD kComboStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_AUTOHSCROLL;

// Labels of the panel's rows: start row, then the six columns.
const int kLabels[1 + CPoiFromCsvWnd::kColumnCombos] = {215, 182, 183, 178, 179, 180, 181};

BOOL WabDllLoads()
{
    const CString path = GetWabDllPath();
    if (path.IsEmpty())
        return FALSE;
    HMODULE module = ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return FALSE;
    ::FreeLibrary(module);
    return TRUE;
}

BOOL ReadWab(CDocImport& into)
{
    return into.ImportWab();
}

void RefillCombo(CCustomComboBox& combo, const CStringArray& items)
{
    combo.SetRedraw(FALSE);
    combo.ResetContent();
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        combo.AddString(items[i]);
    combo.SetCurSel(0);
    combo.SetRedraw(TRUE);
    combo.Invalidate(FALSE);
}

}  // namespace

CPoiFromCsvWnd::FileDialogFn CPoiFromCsvWnd::s_fileDialog = &ShowFileDialog;
BOOL (*CPoiFromCsvWnd::s_addressBookInstalled)() = &WabDllLoads;
BOOL (*CPoiFromCsvWnd::s_readAddressBook)(CDocImport&) = &ReadWab;

BEGIN_MESSAGE_MAP(CPoiFromCsvWnd, CViewWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SHOWWINDOW()
    ON_WM_LBUTTONDOWN()
    ON_REGISTERED_MESSAGE(WM_USER_IDLE, OnUserIdle)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_CSV_PREVIEW_LIST, OnGetDispInfo)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_OPEN_AB, OnOpenAb)
    ON_COMMAND(ID_CONVERT, OnConvert)
    ON_COMMAND(ID_UPDATE, OnUpdate)
    ON_COMMAND(ID_BACK, OnBack)
    ON_COMMAND(ID_TOP, OnTop)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateShown)
    ON_UPDATE_COMMAND_UI(ID_OPEN_AB, OnUpdateShown)
    ON_UPDATE_COMMAND_UI(ID_BACK, OnUpdateShown)
    ON_UPDATE_COMMAND_UI(ID_CONVERT, OnUpdateConvert)
END_MESSAGE_MAP()

CPoiFromCsvWnd::CPoiFromCsvWnd()
{
    InitDibImage(&m_footer);
    m_text.SetTextColor(RGB(248, 216, 90));
}

CPoiFromCsvWnd::~CPoiFromCsvWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_footer);
}

CDocImport& CPoiFromCsvWnd::ImportDocument() const
{
    return m_mode == 1 ? theGlobal.m_docImportAb : theGlobal.m_docImportPoi;
}

CString CPoiFromCsvWnd::ColumnLetter(int k)
{
    if (k < 0 || k >= kMaxColumns)
        return CString();
    const wchar_t* p = kColumnLetters;
    for (int i = 0; i < k; ++i)
        p = wcschr(p, L'\n') + 1;
    const wchar_t* end = wcschr(p, L'\n');
    return end ? CString(p, static_cast<int>(end - p)) : CString(p);
}

BOOL CPoiFromCsvWnd::CreateButton(CCustomButton& button, UINT id, int caption)
{
    if (!button.Create(CRect(0, 0, 0, 0), this, id, FALSE))
        return FALSE;
    if (!BuildButtonImage(&button.m_strip, UiText(caption), kButtonWidth, kButtonHeight, 100, TRUE))
        return FALSE;
    button.SetRoundRegion();
    return TRUE;
}

int CPoiFromCsvWnd::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    if (!LoadDibFromPack(L"status_top.bmp", &m_footer))
        return -1;
    if (!m_list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, CRect(0, 0, 0, 0), this,
                       IDC_CSV_PREVIEW_LIST))
        return -1;
    m_list.m_cellMode = TRUE;
    m_list.m_tabNavigation = TRUE;
    m_list.InsertColumn(0, UiText(176), LVCFMT_CENTER, 40);
    for (int k = 0; k < kMaxColumns; ++k)
        m_list.InsertColumn(k + 1, ColumnLetter(k), LVCFMT_LEFT, 80);
    // A preview only: no cell has an editor.
    for (INT_PTR c = 0; c < m_list.m_columnProps.GetSize(); ++c)
        m_list.m_columnProps[c].type = CCustomListCtrl::EditNone;

    for (int k = 0; k < kColumnCombos; ++k)
        if (!m_columns[k].Create(kComboStyle, CRect(0, 0, 64, 500), this, IDC_CSV_LONGITUDE + k))
            return -1;
    if (!m_startRow.Create(kComboStyle, CRect(0, 0, 64, 300), this, IDC_CSV_START_ROW))
        return -1;
    ResetColumnCombos();
    if (m_mode == 1)
        m_columns[kColumnCombos - 1].ShowWindow(SW_HIDE);

    if (!CreateButton(m_open, ID_FILE_OPEN, m_mode == 1 ? 155 : 118) || !CreateButton(m_convert, ID_CONVERT, 121) ||
        !CreateButton(m_openAb, ID_OPEN_AB, 156))
        return -1;
    if (m_mode != 1)
        m_openAb.ShowWindow(SW_HIDE);
    RegisterForUpdates();
    return 0;
}

void CPoiFromCsvWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (cx <= 0 || cy <= 0 || !m_list.GetSafeHwnd())
        return;
    CRect c;
    GetClientRect(&c);
    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE;
    const int w = kButtonWidth, h = kButtonHeight;
    m_list.SetWindowPos(HWND{}, c.left + 6, c.top + 20, c.Width() - 224, c.Height() - 110, keep);
    m_open.SetWindowPos(HWND{}, c.right - w - 6, c.top + 20, w, h, keep);
    const int shift = m_mode == 1 ? 100 : 0;
    if (m_mode == 1) {
        m_openAb.SetWindowPos(HWND{}, c.right - w - 6, c.top + 110, w, h, keep);
        m_convert.SetWindowPos(HWND{}, c.right - w - 6, c.bottom - 50, w, h, keep);
    } else {
        m_convert.SetWindowPos(HWND{}, c.right - w - 6, c.top + 470, w, h, keep);
    }
    m_startRow.SetWindowPos(HWND{}, c.right - 80, c.top + 127 + shift, 0, 0, keep | SWP_NOSIZE);
    for (int k = 0; k < kColumnCombos; ++k)
        m_columns[k].SetWindowPos(HWND{}, c.right - 80, c.top + 171 + shift + 44 * k, 0, 0, keep | SWP_NOSIZE);
    Invalidate(FALSE);
}

CRect CPoiFromCsvWnd::MappingPanel(const CRect& c) const
{
    return m_mode == 1 ? CRect(c.right - 198, c.top + 210, c.right - 6, c.top + 484)
                       : CRect(c.right - 198, c.top + 110, c.right - 6, c.top + 428);
}

void CPoiFromCsvWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    dc.FillSolidRect(&client, kPaneBack);

    const RECT line = {(client.left + client.right - m_footer.width) / 2, client.bottom - 60,
                       (client.left + client.right - m_footer.width) / 2 + m_footer.width, client.bottom - 59};
    FillRectWithDib(dc, &m_footer, &line, FALSE);

    const CRect panel = MappingPanel(client);
    HPEN pen = ::CreatePen(PS_SOLID, 1, kPanelLine);
    HBRUSH brush = ::CreateSolidBrush(kPanelFill);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    ::Rectangle(dc, panel.left, panel.top, panel.right, panel.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(brush);
    ::DeleteObject(pen);

    const int labels = m_mode == 1 ? kColumnCombos : kColumnCombos + 1;
    for (int i = 0; i < labels; ++i) {
        const CRect strip(panel.left + 4, panel.top + 7 + 44 * i, panel.right - 4, panel.top + 7 + 44 * i + 40);
        dc.FillSolidRect(&strip, kLabelFill);
        const RECT text = {strip.left + 5, strip.top + 10, strip.right - 70 - 5, strip.bottom - 10};
        m_text.DrawTextFit(dc, UiText(kLabels[i]), 120, TRUE, Gdiplus::StringAlignmentCenter,
                           Gdiplus::StringAlignmentCenter, text);
    }

    FrameChild(dc, m_list, *this);
}

void CPoiFromCsvWnd::FillColumnCombos(int rowCount, int columnCount)
{
    if (rowCount > 0) {
        CStringArray rows;
        const int n = rowCount < kMaxStartRows ? rowCount : kMaxStartRows;
        for (int i = 1; i <= n; ++i) {
            CString number;
            number.Format(L"%d", i);
            rows.Add(number);
        }
        RefillCombo(m_startRow, rows);
    }
    if (columnCount > 0) {
        CStringArray columns;
        columns.Add(kNotMapped);
        const int n = columnCount < kMaxColumns ? columnCount : kMaxColumns;
        for (int k = 0; k < n; ++k)
            columns.Add(ColumnLetter(k));
        for (CCustomComboBox& combo : m_columns)
            RefillCombo(combo, columns);
    }
}

void CPoiFromCsvWnd::ResetColumnCombos()
{
    CStringArray none;
    none.Add(kNotMapped);
    RefillCombo(m_startRow, none);
    for (CCustomComboBox& combo : m_columns)
        RefillCombo(combo, none);
}
