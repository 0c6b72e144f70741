#include "frame/VerCheckDlg.h"

#include "common/Utility.h"
#include "core/Global.h"
#include "frame/DialogButton.h"
#include "frame/UrlOpener.h"
#include "frame/VersionCheck.h"
#include "res/dialog_ids.h"

namespace {

const int kWidth = 420, kHeight = 231;
const RECT kPanel{20, 44, 20 + 380, 44 + 84};

// Download pages of the products.
const wchar_t kPageSecondBrand[] = L"https://www.halvern.eu/seravine/";
const wchar_t kPageAustralia[] = L"https://www.halvern.com/au/mirovale/";
const wchar_t kPageUsDownload[] = L"https://www.halvern.com/us/mirovale/download/";

}  // namespace

BEGIN_MESSAGE_MAP(CVerCheckDlg, CCustomDialog)
    ON_COMMAND(IDC_VERCHECK_DOWNLOAD, OnDownload)
    ON_CONTROL(BN_CLICKED, IDC_VERCHECK_STARTUP, OnCheckClicked)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CVerCheckDlg::CVerCheckDlg() : CCustomDialog(IDD_VERSION_CHECK, nullptr) {}

CVerCheckDlg::~CVerCheckDlg()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_font)
        ::DeleteObject(m_font);
}

const wchar_t* CVerCheckDlg::DownloadPage(int areaCode, const CString& languageTag)
{
    if (areaCode == 2)
        return kPageSecondBrand;
    return languageTag == L"English_AU" ? kPageAustralia : kPageUsDownload;
}

CString CVerCheckDlg::MessageText() const
{
    switch (m_result) {
    case 2: return UiText(44);
    case 1: return UiText(46);
    case 0: return UiText(47);
    default: return CString();
    }
}

BOOL CVerCheckDlg::OnInitDialog()
{
    PlaceOnMainWindow(kWidth, kHeight);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;
    SetCaption(UiText(246));
    if (m_result == -1)
        m_result = CheckVersionFile();
    if (!CreateTahomaFont(FALSE, &m_font, 117, FALSE))
        return TRUE;

    MakeDialogButton(m_btnDownload, this, IDC_VERCHECK_DOWNLOAD, UiText(147), 90, 188, 240);
    MakeDialogButton(m_btnOK, this, IDOK, UiText(135), 256, 188, 240);
    if (m_btnDownload.m_hWnd)
        m_btnDownload.EnableWindow(m_result == 2);

    if (m_checkStartup.Create(UiText(226), BS_CHECKBOX | WS_VISIBLE | WS_TABSTOP, CRect(29, 141, 29 + 360, 141 + 18),
                              this, IDC_VERCHECK_STARTUP)) {
        m_checkStartup.m_textColor = RGB(0, 0, 0);
        m_checkStartup.m_bkColor = 0xB0ABA8;
        m_checkStartup.m_noFill = 0;
        m_checkStartup.m_textFormat = DT_SINGLELINE | DT_VCENTER;
        m_checkStartup.SetFont(m_font, FALSE);
        m_checkStartup.SetCheck(theGlobal.m_verCheck ? 1 : 0);
    }
    return TRUE;
}

void CVerCheckDlg::OnCheckClicked()
{
    // A plain check box: the click toggles it here, and the setting follows at once.
    m_checkStartup.SetCheck(m_checkStartup.GetCheck() ? 0 : 1);
    theGlobal.m_verCheck = m_checkStartup.GetCheck() ? 1 : 0;
}

void CVerCheckDlg::OnDownload()
{
    if (m_result != 2)
        return;
    CWnd* main = AfxGetMainWnd();
    OpenInBrowser(main ? main->m_hWnd : nullptr, DownloadPage(theGlobal.m_areaCode, UiText(365)));
}

BOOL CVerCheckDlg::OnEraseBkgnd(CDC* dc)
{
    CCustomDialog::OnEraseBkgnd(dc);
    const CString message = MessageText();
    CMemDC mem(dc, kPanel);
    CRect panel(kPanel);
    mem.FillSolidRect(&panel, 0xCFCCCB);
    CRect inner = panel;
    inner.DeflateRect(1, 1);
    mem.FillSolidRect(&inner, 0x8B7B7B);
    if (!message.IsEmpty() && m_font) {
        CRect wrapBox = panel;
        wrapBox.DeflateRect(40, 15);
        const CString wrapped = WrapTextToRect(&wrapBox, message, 3, 117, FALSE, FALSE);
        CRect textBox = wrapBox;
        textBox.InflateRect(30, 0);
        HGDIOBJ old = ::SelectObject(mem.GetSafeHdc(), m_font);
        mem.SetTextColor(RGB(255, 255, 255));
        mem.SetBkMode(TRANSPARENT);
        CRect measure = textBox;
        mem.DrawText(wrapped, &measure, DT_CENTER | DT_NOPREFIX | DT_CALCRECT);
        const int top = textBox.top + (textBox.Height() - measure.Height()) / 2;
        CRect drawBox(textBox.left, top, textBox.right, top + measure.Height());
        mem.DrawText(wrapped, &drawBox, DT_CENTER | DT_NOPREFIX);
        ::SelectObject(mem.GetSafeHdc(), old);
    }
    return 0;
}
