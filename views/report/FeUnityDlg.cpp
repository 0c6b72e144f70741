#include "views/report/FeUnityDlg.h"

#include "common/ButtonStrips.h"
#include "common/ThemeLibrary.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/fuel_ids.h"
#include "views/report/FuelText.h"
#include "views/report/ReportTexts.h"

namespace {

constexpr DWORD kDefaultWidths[7] = {58, 141, 122, 90, 90, 90, 90};

}  // namespace

BEGIN_MESSAGE_MAP(CFeUnityDlg, CCustomDialog)
    ON_COMMAND(IDC_FUEL_MERGE_OK, OnMergeOk)
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CFeUnityDlg::CFeUnityDlg() : CCustomDialog(IDD_FUEL_MERGE, nullptr) {}

CFeUnityDlg::~CFeUnityDlg()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_font)
        ::DeleteObject(m_font);
}

void CFeUnityDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_FUEL_MERGE_INTRO, m_intro);
}

void CFeUnityDlg::AddRow(const CString& first, const DOCFUEL_VIEW_DATA& r)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = m_list.GetItemCount();
    item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(first));
    const int row = m_list.InsertItem(&item);
    // No position shows as an empty cell, as in the fuel list.
    const bool placed = r.latitude != kNoPosition && r.longitude != kNoPosition;
    const CString texts[6] = {r.date, r.time, FuelFixedText(r.distance, 1), FuelFixedText(r.amount, 2),
                              placed ? FuelFixedText(r.latitude, 6) : CString(),
                              placed ? FuelFixedText(r.longitude, 6) : CString()};
    for (int c = 0; c < 6; ++c) {
        LVITEMW sub{};
        sub.mask = LVIF_TEXT;
        sub.iItem = row;
        sub.iSubItem = c + 1;
        sub.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(texts[c]));
        m_list.SetItem(&sub);
    }
}

BOOL CFeUnityDlg::OnInitDialog()
{
    PlaceOnMainWindow(578, 491);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;
    RemoveWindowTheme(m_hWnd);
    SetCaption(theGlobal.UiString(88));
    if (!BuildButtonImage(&m_btnOk.m_strip, theGlobal.UiString(159), 146, 38, 200, FALSE) ||
        !m_btnOk.CreateFromDlgItem(IDC_FUEL_MERGE_OK, this) ||
        !BuildButtonImage(&m_btnCancel.m_strip, theGlobal.UiString(136), 146, 38, 200, FALSE) ||
        !m_btnCancel.CreateFromDlgItem(IDCANCEL, this))
        return FALSE;
    m_btnOk.SetRoundRegion();
    m_btnCancel.SetRoundRegion();
    m_btnOk.SetWindowPos(static_cast<HWND>(nullptr), 246, 448, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_btnCancel.SetWindowPos(static_cast<HWND>(nullptr), 412, 448, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    if (!m_list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(20, 86, 557, 427), this,
                       IDC_FUEL_MERGE_LIST))
        return FALSE;
    m_list.m_bkColor = 0x8B7B7B;
    m_list.m_gridColor = 0xAAA5A2;
    m_list.m_header.m_bkColor = 0x8B7B7B;
    m_list.m_header.m_lineColor = 0xAAA5A2;
    m_list.m_header.m_dividerColor = 0xAAA5A2;
    m_list.SetAllColumnsSortable(FALSE);
    CDWordArray& widths = theGlobal.m_unityDlgColumns;
    const CString headings[7] = {L"  #  ", theGlobal.UiString(192), theGlobal.UiString(193), theGlobal.UiString(194),
                                 theGlobal.UiString(196), theGlobal.UiString(183), theGlobal.UiString(182)};
    for (int c = 0; c < 7; ++c) {
        const int width = c < widths.GetSize() ? static_cast<int>(widths[c]) : static_cast<int>(kDefaultWidths[c]);
        m_list.InsertColumn(c, headings[c], c == 0 ? LVCFMT_CENTER : c < 3 ? LVCFMT_LEFT : LVCFMT_RIGHT, width);
    }
    m_list.SetColumnAlignments(7, 2, 0, 0, 1, 1, 1, 1);

    CDocFe& doc = theGlobal.m_docFe;
    std::vector<int> valid;
    for (int index : m_indices) {
        DOCFUEL_VIEW_DATA r{};
        if (!doc.GetRecordText(index, r))
            continue;
        valid.push_back(index);
        CString number;
        number.Format(L"%d", static_cast<int>(valid.size()));
        AddRow(number, r);
    }
    // The newest record is shown as the summary row instead.
    if (m_list.GetItemCount() > 0) {
        m_list.m_items.RemoveAt(m_list.GetItemCount() - 1);
        m_list.UpdateScrollBars();
    }
    ComputeFuelMerge(doc, valid, m_merge);
    m_indices = valid;
    AddRow(theGlobal.UiString(210), m_merge.before);
    AddRow(theGlobal.UiString(211), m_merge.merged);
    m_summaryRows = 1;

    m_intro = theGlobal.UiString(51);
    UpdateData(FALSE);
    return TRUE;
}

void CFeUnityDlg::OnOK()
{
    const int listed = m_list.GetItemCount() - 2;
    if (listed <= 0)
        return;
    // A sum the record cannot hold would be cut short; nothing is merged.
    if (m_merge.overflow) {
        ShowMessage(theGlobal.UiString(kUiMergeSumTooLarge), 0);
        return;
    }
    CDocFe& doc = theGlobal.m_docFe;
    m_removed.clear();
    m_removedBefore.clear();
    for (int k = 0; k < listed && k < static_cast<int>(m_indices.size()); ++k) {
        DOCFUEL_VIEW_DATA r{};
        if (!doc.GetRecordText(m_indices[k], r))
            continue;
        m_removedBefore.push_back(r);
        m_removed.push_back(m_indices[k]);
        r.mark = 1;
        doc.SetRecordText(r, m_indices[k]);
    }
    doc.SetRecordText(m_merge.merged, m_merge.keptIndex);
    EndDialog(ResultMerged);
}

HBRUSH CFeUnityDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (kind == CTLCOLOR_STATIC || (wnd && wnd->GetDlgCtrlID() == IDC_FUEL_MERGE_INTRO)) {
        dc->SetBkColor(0xB0ABA8);
        if (wnd && wnd->GetDlgCtrlID() == IDC_FUEL_MERGE_INTRO)
            dc->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return CCustomDialog::OnCtlColor(dc, wnd, kind);
}

void CFeUnityDlg::OnDestroy()
{
    if (m_font) {
        ::DeleteObject(m_font);
        m_font = nullptr;
    }
    CCustomDialog::OnDestroy();
}
