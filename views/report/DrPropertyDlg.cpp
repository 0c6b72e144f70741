#include "views/report/DrPropertyDlg.h"

#include <commdlg.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>

#include "common/FileReplace.h"
#include "common/FileUtil.h"
#include "common/CsvTable.h"
#include "common/Utility.h"
#include "common/WebUtil.h"
#include "core/Global.h"
#include "frame/DialogButton.h"
#include "frame/MessageDlg.h"
#include "res/report_ids.h"

namespace {

const RECT kFrameRect{20, 44, 558, 396};
const int kWidth = 578, kHeight = 461;
// The caption band the dialog base adds above the template's body.
const int kCaptionBand = 25;

BOOL DefaultSaveDialog(HWND owner, const wchar_t* folder, wchar_t path[MAX_PATH])
{
    return ShowFileDialog(owner, folder, 2, FALSE, path);
}

CString JoinFields(const CString* fields, int count, wchar_t delimiter)
{
    CString line;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            line += delimiter;
        // Every field, the name included, is quoted when it needs it, so a
        // delimiter inside a text never adds a column.
        line += CCsvTable::QuoteField(fields[i], delimiter);
    }
    return line;
}

}  // namespace

CDrPropertyDlg::SaveDialogFn CDrPropertyDlg::s_saveDialog = DefaultSaveDialog;
CDrPropertyDlg::PrintDialogFn CDrPropertyDlg::s_printDialog = ::PrintDlgW;

BEGIN_MESSAGE_MAP(CDrPropertyDlg, CCustomDialog)
    ON_COMMAND(kSaveId, OnSave)
    ON_COMMAND(kPrintId, OnPrint)
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDrPropertyDlg::CDrPropertyDlg() : CCustomDialog(IDD_DR_PROPERTY, nullptr) {}

CDrPropertyDlg::~CDrPropertyDlg()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_font)
        ::DeleteObject(m_font);
}

BOOL CDrPropertyDlg::OnInitDialog()
{
    PlaceOnMainWindow(kWidth, kHeight - kCaptionBand);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;
    if (HWND placeholder = ::GetDlgItem(m_hWnd, 0xFFFF))
        ::ShowWindow(placeholder, SW_HIDE);
    if (m_frame.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, kFrameRect, this, 0xFFFF))
        m_frame.FillFromDocument();
    MakeDialogButton(m_btnPrint, this, kPrintId, UiText(127), 20, 418, 200);
    MakeDialogButton(m_btnSave, this, kSaveId, UiText(115), 186, 418, 200);
    MakeDialogButton(m_btnClose, this, IDOK, UiText(135), 412, 418, 200);
    CreateTahomaFont(FALSE, &m_font, 100, FALSE);
    SetCaption(UiText(244));
    if (m_frame.m_ctrl.GetSafeHwnd())
        m_frame.m_ctrl.SetFocus();
    return FALSE;
}

BOOL CDrPropertyDlg::OnEraseBkgnd(CDC* dc)
{
    ::ExcludeClipRect(dc->m_hDC, kFrameRect.left, kFrameRect.top, kFrameRect.right, kFrameRect.bottom);
    return CCustomDialog::OnEraseBkgnd(dc);
}

void CDrPropertyDlg::OnDestroy()
{
    CCustomDialog::OnDestroy();
    if (m_font) {
        ::DeleteObject(m_font);
        m_font = nullptr;
    }
}

wchar_t CDrPropertyDlg::Delimiter()
{
    switch (GetCsvDelimiterKind(theGlobal.m_delimiter)) {
    case 2: return L',';
    case 3: return L';';
    default: return L'\t';
    }
}

CString CDrPropertyDlg::FormatHeaderRow(wchar_t delimiter)
{
    const int headings[] = {176, 185, 261, 262, 263, 264, 255, 256, 186, 181, 190, 191};
    CString fields[12];
    for (int i = 0; i < 12; ++i)
        fields[i] = UiText(headings[i]);
    return JoinFields(fields, 12, delimiter);
}

CString CDrPropertyDlg::FormatReportRow(const DR_PANEL& panel, wchar_t delimiter)
{
    const DR_PROPERTY_DATA& d = panel.data;
    CString fields[12];
    fields[0].Format(L"%04d", panel.number);
    fields[1] = d.name;
    fields[2] = d.startDate;
    fields[3] = d.startTime;
    fields[4] = d.endDate;
    fields[5] = d.endTime;
    fields[6] = d.duration;
    fields[7].Format(L"%09d", theGlobal.m_distanceUnit == 0 ? d.distance : d.distanceMiles);
    fields[8] = UiText(d.kind == 1 ? 258 : d.kind == 2 ? 259 : 257);
    fields[9] = d.text1;
    fields[10] = d.text2;
    fields[11] = d.text3;
    return JoinFields(fields, 12, delimiter);
}

BOOL CDrPropertyDlg::SaveAsText(const wchar_t* path) const
{
    const wchar_t delimiter = Delimiter();
    std::wstring text = FormatHeaderRow(delimiter).GetString();
    text += L"\r\n";
    for (const DR_PANEL& panel : m_frame.m_ctrl.m_panels) {
        text += FormatReportRow(panel, delimiter).GetString();
        text += L"\r\n";
    }
    const std::string bytes = EncodeTextFile(text.data(), text.size());
    return !bytes.empty() && WriteFileReplacing(path, bytes.data(), bytes.size());
}

void CDrPropertyDlg::OnSave()
{
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, theGlobal.m_drFileSpec, MAX_PATH);
    if (!s_saveDialog(m_hWnd, theGlobal.m_drIniFolder, path))
        return;
    if (!SaveAsText(path)) {
        MessageDlgWithParent(UiText(10), this);
        return;
    }
    theGlobal.m_drFileSpec = ::PathFindFileNameW(path);
    wchar_t folder[MAX_PATH] = {};
    lstrcpynW(folder, path, MAX_PATH);
    ::PathRemoveFileSpecW(folder);
    theGlobal.m_drIniFolder = folder;
}

BOOL CDrPropertyDlg::PrintOn(HDC dc)
{
    DOCINFOW doc{sizeof doc};
    doc.lpszDocName = L"velmora";
    if (::StartDocW(dc, &doc) <= 0) {
        MessageDlgWithParent(UiText(3), this);
        return FALSE;
    }
    HGDIOBJ oldFont = ::SelectObject(dc, m_font ? m_font : ::GetStockObject(DEFAULT_GUI_FONT));
    const CDrPropertyCtrl& ctrl = m_frame.m_ctrl;
    const int n = static_cast<int>(ctrl.m_panels.size());
    const int pages = PageCount(n);
    // Four device pixels per unit, less when five panels would not fit the page.
    const int scale = PrintScale(::GetDeviceCaps(dc, HORZRES), ::GetDeviceCaps(dc, VERTRES));
    int next = 0;
    for (int page = 0; page < pages; ++page) {
        if (::StartPage(dc) <= 0)
            MessageDlgWithParent(UiText(3), this);
        ::SetMapMode(dc, MM_ANISOTROPIC);
        ::SetWindowExtEx(dc, 1000, 1000, nullptr);
        ::SetViewportExtEx(dc, scale, scale, nullptr);
        RECT r{10, 10, 550, 320};
        const int count = page < pages - 1 ? 5 : n - 5 * (pages - 1);
        for (int i = 0; i < count; ++i, ++next) {
            ctrl.DrawReportPanel(dc, r, next, TRUE);
            ::OffsetRect(&r, 0, CDrPropertyCtrl::kPanelHeight);
        }
        if (page == pages - 1)
            ctrl.DrawSummaryPanel(dc, r, TRUE);
        ::EndPage(dc);
    }
    ::SelectObject(dc, oldFont);
    ::EndDoc(dc);
    return TRUE;
}

int CDrPropertyDlg::PrintScale(int pageWidth, int pageHeight)
{
    // Per mille: 4000 is four device pixels per unit; five panels and the
    // margins take 560 x 1570 units. Rounded down, so that they fit.
    long long scale = 4000;
    if (pageWidth > 0)
        scale = std::min<long long>(scale, pageWidth * 1000LL / 560);
    if (pageHeight > 0)
        scale = std::min<long long>(scale, pageHeight * 1000LL / 1570);
    return static_cast<int>(std::max(scale, 1LL));
}

void CDrPropertyDlg::OnPrint()
{
    const DWORD flags = PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE | PD_NOWARNING;
    // Without any printer the setup dialog has nothing to offer: say so at once.
    PRINTDLGW probe{};
    probe.lStructSize = sizeof probe;
    probe.hwndOwner = m_hWnd;
    probe.Flags = PD_RETURNDEFAULT | PD_NOWARNING;
    if (!s_printDialog(&probe)) {
        if (::CommDlgExtendedError() != 0)
            MessageDlgWithParent(UiText(3), this);
        return;
    }
    for (HGLOBAL h : {probe.hDevMode, probe.hDevNames})
        if (h)
            ::GlobalFree(h);
    PRINTDLGW setup{};
    setup.lStructSize = sizeof setup;
    setup.hwndOwner = m_hWnd;
    setup.Flags = flags | PD_PRINTSETUP;
    if (!s_printDialog(&setup)) {
        // Cancel ends quietly; a failure (no printer at all) says so.
        if (::CommDlgExtendedError() != 0)
            MessageDlgWithParent(UiText(3), this);
        return;
    }
    PRINTDLGW print{};
    print.lStructSize = sizeof print;
    print.hwndOwner = m_hWnd;
    print.Flags = flags | PD_RETURNDC;
    print.hDevMode = setup.hDevMode;
    print.hDevNames = setup.hDevNames;
    const BOOL chosen = s_printDialog(&print);
    const DWORD error = chosen ? 0 : ::CommDlgExtendedError();
    if (chosen && print.hDC) {
        PrintOn(print.hDC);
        ::DeleteDC(print.hDC);
    } else if (error != 0) {
        MessageDlgWithParent(UiText(3), this);
    }
    // The print dialog took the setup's handles over (and may have replaced
    // them): the ones it hands back are the only ones left to free.
    for (HGLOBAL h : {print.hDevMode, print.hDevNames})
        if (h)
            ::GlobalFree(h);
}
