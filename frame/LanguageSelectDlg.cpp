#include "frame/LanguageSelectDlg.h"

#include "common/ButtonStrips.h"
#include "controls/DialogPlaceholder.h"
#include "core/Global.h"
#include "frame/ChooserRules.h"
#include "res/dialog_ids.h"

namespace {
const int kWidth = 420, kHeight = 155;
}

BEGIN_MESSAGE_MAP(CLanguageSelectDlg, CCustomDialog)
    ON_CONTROL(CBN_SELCHANGE, IDC_LANGUAGE_COMBO, OnSelChange)
END_MESSAGE_MAP()

CLanguageSelectDlg::CLanguageSelectDlg() : CCustomDialog(IDD_LANGUAGE_SELECT, nullptr) {}

CLanguageSelectDlg::~CLanguageSelectDlg()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CLanguageSelectDlg::OnInitDialog()
{
    PlaceOnMainWindow(kWidth, kHeight);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;

    if (BuildButtonImage(&m_btnOK.m_strip, L"OK", 146, 38, 240, FALSE) && m_btnOK.CreateFromDlgItem(IDOK, this)) {
        m_btnOK.SetWindowPos(static_cast<HWND>(nullptr), 254, 112, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_btnOK.SetRoundRegion();
    }
    CRect spot;
    if (HWND placeholder = FindPlaceholder(this, IDC_LANGUAGE_PLACE, spot)) {
        ::ShowWindow(placeholder, SW_HIDE);
        const CRect rect(spot.left - 33, spot.top - 30, spot.left - 33 + 214, spot.top - 30 + 20 + 160);
        m_combo.Create(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_VISIBLE | WS_TABSTOP,
                       rect, this, IDC_LANGUAGE_COMBO);
    }
    SetCaption(L"Language Selection");
    if (m_files.GetSize() == 0 || !m_combo.m_hWnd)
        return TRUE;

    CStringArray rows;
    for (INT_PTR i = 0; i < m_files.GetSize(); ++i) {
        rows.Add(LanguageDisplayName(m_files[i]));
        m_combo.AddString(rows[i]);
    }
    m_selected = PreselectLanguageRow(rows, theGlobal.m_languageFile, theGlobal.m_areaCode);
    m_combo.SetCurSel(m_selected);
    return TRUE;
}

void CLanguageSelectDlg::OnSelChange()
{
    m_selected = m_combo.GetCurSel();
}
