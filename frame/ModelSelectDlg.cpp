#include "frame/ModelSelectDlg.h"

#include "common/Utility.h"
#include "core/Global.h"
#include "core/NaviModelData.h"
#include "frame/ChooserRules.h"
#include "frame/DialogButton.h"
#include "frame/MessageDlg.h"
#include "res/dialog_ids.h"

namespace {

const int kWidth = 420, kHeight = 195;
const RECT kLabel1{5, 40, 90, 80};
const RECT kLabel2{5, 80, 90, 120};

}  // namespace

BEGIN_MESSAGE_MAP(CModelSelectDlg, CCustomDialog)
    ON_CONTROL(CBN_SELCHANGE, IDC_REGION_COMBO, OnRegionChange)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CModelSelectDlg::CModelSelectDlg() : CCustomDialog(IDD_MODEL_SELECT, nullptr) {}

CModelSelectDlg::~CModelSelectDlg()
{
    if (m_hWnd)
        DestroyWindow();
}

void CModelSelectDlg::AddModelFile(const CString& fileName)
{
    const int list = ModelListOf(fileName, theGlobal.m_areaCode);
    if (list >= 0)
        m_files[list].Add(fileName);
}

BOOL CModelSelectDlg::OnInitDialog()
{
    PlaceOnMainWindow(kWidth, kHeight);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;

    MakeDialogButton(m_btnOK, this, IDOK, UiText(135), 90, 152, 240, SWP_SHOWWINDOW);
    MakeDialogButton(m_btnCancel, this, IDCANCEL, UiText(136), 256, 152, 240, SWP_SHOWWINDOW);

    const DWORD comboStyle = CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_VISIBLE | WS_TABSTOP;
    m_regionCombo.Create(comboStyle, CRect(100, 59, 314, 79 + 100), this, IDC_REGION_COMBO);
    m_modelCombo.Create(comboStyle, CRect(100, 99, 314, 119 + 160), this, IDC_MODEL_COMBO);
    const int regions = RegionCountOf(theGlobal.m_areaCode);
    for (int i = 0; i < regions; ++i)
        m_regionCombo.AddString(RegionNameOf(theGlobal.m_areaCode, i));
    if (m_region < 0 || m_region >= regions)
        m_region = 0;
    m_regionCombo.SetCurSel(m_region);

    m_label1 = UiText(227);
    m_label2 = UiText(228);
    SetDlgItemText(IDC_MODEL_LABEL1, m_label1);
    SetDlgItemText(IDC_MODEL_LABEL2, m_label2);
    for (UINT id : {IDC_MODEL_LABEL1, IDC_MODEL_LABEL2})
        if (HWND label = ::GetDlgItem(m_hWnd, id))
            ::ShowWindow(label, SW_HIDE);

    FillModels();
    if (m_region < regions && m_modelCombo.m_hWnd) {
        CStringArray rows;
        for (INT_PTR i = 0; i < m_files[m_region].GetSize(); ++i)
            rows.Add(ModelDisplayName(m_files[m_region][i]));
        m_modelCombo.SetCurSel(PreselectModelRow(rows, theGlobal.m_naviFile));
    }
    m_labelText.SetTextColor(RGB(0, 0, 0));
    SetCaption(UiText(245));
    Invalidate();
    return TRUE;
}

void CModelSelectDlg::FillModels()
{
    m_modelCombo.ResetContent();
    if (m_region < 0 || m_region > 2)
        return;
    for (INT_PTR i = 0; i < m_files[m_region].GetSize(); ++i)
        m_modelCombo.AddString(ModelDisplayName(m_files[m_region][i]));
}

void CModelSelectDlg::OnRegionChange()
{
    const int row = m_regionCombo.GetCurSel();
    if (row < 0)
        return;
    m_region = row;
    FillModels();
    m_modelCombo.SetCurSel(0);
}

void CModelSelectDlg::OnOK()
{
    const int row = m_modelCombo.m_hWnd ? m_modelCombo.GetCurSel() : -1;
    if (row < 0 || m_region < 0 || m_region > 2 || row >= m_files[m_region].GetSize())
        return;
    const CString file = m_files[m_region][row];
    CNaviModelData probe;
    if (!probe.LoadNaviFile(file, theGlobal.m_areaCode)) {
        ShowMessage(UiText(8), 0, FALSE);
        return;
    }
    if (file != theGlobal.m_naviFile) {
        m_changed = 1;
        theGlobal.m_naviFile = file;
    }
    if (probe.m_region != theGlobal.m_naviModel.m_region)
        ResetUnitsForRegion(probe.m_region, theGlobal.m_distanceUnit, theGlobal.m_amountUnit,
                            theGlobal.m_mileageUnit);
    EndDialog(IDOK);
}

BOOL CModelSelectDlg::OnEraseBkgnd(CDC* dc)
{
    CCustomDialog::OnEraseBkgnd(dc);
    HDC hdc = dc->GetSafeHdc();
    for (const auto& [text, rect] : {std::pair<const CString*, RECT>{&m_label1, kLabel1}, {&m_label2, kLabel2}}) {
        if (text->IsEmpty())
            continue;
        const CString wrapped = WrapTextToRect(&rect, *text, 2, 120, TRUE, FALSE);
        m_labelText.DrawLabelFit(hdc, wrapped, TRUE, Gdiplus::StringAlignmentFar, rect);
    }
    return 0;
}
