#include "views/poi/UrlEntryDlg.h"

#include "common/Utility.h"
#include "core/Global.h"
#include "frame/DialogButton.h"
#include "frame/MessageDlg.h"
#include "res/feeds_ids.h"
#include "views/poi/FormColours.h"

namespace {

constexpr COLORREF kLabelBox = RGB(130, 130, 133);

}  // namespace

BEGIN_MESSAGE_MAP(CUrlEntryDlg, CCustomDialog)
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CUrlEntryDlg::CUrlEntryDlg() : CCustomDialog(IDD_URL_ENTRY, nullptr) {}

CUrlEntryDlg::~CUrlEntryDlg()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_editFont)
        ::DeleteObject(m_editFont);
    if (m_editBrush)
        ::DeleteObject(m_editBrush);
}

void CUrlEntryDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_URL_EDIT, m_url);
}

BOOL CUrlEntryDlg::OnInitDialog()
{
    PlaceOnMainWindow(480, 155);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;
    CreateTahomaFont(TRUE, &m_editFont, 140, FALSE);
    m_editBrush = ::CreateSolidBrush(kFormEditColour);
    MakeDialogButton(m_btnOK, this, IDOK, UiText(135), 148, 112, 100);
    MakeDialogButton(m_btnCancel, this, IDCANCEL, UiText(136), 314, 112, 100);
    if (HWND edit = ::GetDlgItem(m_hWnd, IDC_URL_EDIT)) {
        ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(m_editFont), FALSE);
        ::SendMessageW(edit, EM_LIMITTEXT, kMaxLength, 0);
        ::SetWindowPos(edit, nullptr, 131, 46, 327, 22, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetCaption(UiText(242));
    UpdateData(FALSE);
    return TRUE;
}

void CUrlEntryDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    // A text set from outside (not typed) can pass the edit's limit.
    if (m_url.GetLength() > kMaxLength) {
        MessageDlgWithParent(UiText(5), this);
        return;
    }
    EndDialog(IDOK);
}

HBRUSH CUrlEntryDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    const int id = wnd ? wnd->GetDlgCtrlID() : 0;
    if (id == IDC_URL_EDIT) {
        dc->SetBkMode(OPAQUE);
        dc->SetBkColor(kFormEditColour);
        return m_editBrush;
    }
    if (kind == CTLCOLOR_STATIC) {
        dc->SetBkColor(kFormGreyColour);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return reinterpret_cast<HBRUSH>(Default());
}

BOOL CUrlEntryDlg::OnEraseBkgnd(CDC* dc)
{
    CCustomDialog::OnEraseBkgnd(dc);
    const RECT box{20, 44, 460, 70};
    dc->FillSolidRect(&box, kLabelBox);
    const RECT frame{130, 45, 460, 70};
    HBRUSH brush = ::CreateSolidBrush(kFormGreyColour);
    ::FrameRect(dc->GetSafeHdc(), &frame, brush);
    ::DeleteObject(brush);
    // The label's box ends where the edit begins: a long label is drawn
    // smaller rather than cut.
    const RECT text{30, 44, 128, 70};
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(255, 255, 255));
    DrawTextShrinkToFit(dc->GetSafeHdc(), 100, &text, UiText(231), FALSE,
                        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    return TRUE;
}

void CUrlEntryDlg::OnDestroy()
{
    CCustomDialog::OnDestroy();
    if (m_editFont) {
        ::DeleteObject(m_editFont);
        m_editFont = nullptr;
    }
    if (m_editBrush) {
        ::DeleteObject(m_editBrush);
        m_editBrush = nullptr;
    }
}
