#include "views/poi/PoiEditDlg.h"

#include "common/TextCheck.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/poi_ids.h"
#include "views/poi/PositionText.h"

BEGIN_MESSAGE_MAP(CPoiEditDlg, CPoiFormDlg)
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CPoiEditDlg::CPoiEditDlg() : CPoiFormDlg(IDD_POI_EDIT, nullptr) {}

CPoiEditDlg::~CPoiEditDlg()
{
    if (m_hWnd)
        DestroyWindow();
}

void CPoiEditDlg::DoDataExchange(CDataExchange* dx)
{
    CPoiFormDlg::DoDataExchange(dx);
    DDX_Text(dx, IDC_POI_LONGITUDE, m_longitude);
    DDX_Text(dx, IDC_POI_LATITUDE, m_latitude);
}

BOOL CPoiEditDlg::OnInitDialog()
{
    const int width = 500, height = m_mode == 3 ? 304 : 451;
    PlaceOnMainWindow(width, height);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;

    SetUpForm(6, m_mode == 3 ? 261 : 408, m_mode == 3);
    if (HWND note = ::GetDlgItem(m_hWnd, IDC_POI_NOTE)) {
        ::SetWindowTextW(note, UiText(324));
        ::SetWindowPos(note, nullptr, 49, 292, 402, 22, SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(note, m_mode == 3 ? SW_HIDE : SW_SHOW);
    }
    Fill();

    const int titles[] = {241, 242, 241, 94, 286};
    SetCaption(UiText(m_mode >= 0 && m_mode <= 4 ? titles[m_mode] : 241));
    if (m_mode == 4)
        for (UINT id : {IDC_POI_NAME, IDC_POI_ADDRESS, IDC_POI_TELEPHONE, IDC_POI_DESCRIPTION, IDC_POI_LONGITUDE,
                        IDC_POI_LATITUDE})
            SendDlgItemMessage(id, EM_SETREADONLY, TRUE);
    if (m_mode == 3)
        for (UINT id : {IDC_POI_DESCRIPTION, IDC_POI_LONGITUDE, IDC_POI_LATITUDE}) {
            ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
            ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_HIDE);
        }
    if (HWND name = ::GetDlgItem(m_hWnd, IDC_POI_NAME)) {
        ::SendMessageW(name, EM_SETSEL, 0, -1);
        ::SetFocus(name);
    }
    return FALSE;
}

void CPoiEditDlg::Fill()
{
    if (m_record) {
        m_name = m_record->name;
        m_address = m_record->address;
        m_telephone = m_record->telephone;
        m_description = m_record->description;
        m_longitude = FormatPosition(m_record->longitude);
        m_latitude = FormatPosition(m_record->latitude);
    }
    UpdateData(FALSE);
}

CString CPoiEditDlg::Check(double& lon, double& lat) const
{
    const CString refusal = TextRefusal();
    if (!refusal.IsEmpty())
        return refusal;
    CString lonText = m_longitude, latText = m_latitude;
    lonText.Remove(L' ');
    latText.Remove(L' ');
    if (!IsTextOfClass(lonText, CHARCLASS_SIGNED) || !IsTextOfClass(latText, CHARCLASS_SIGNED))
        return UiText(4);
    if (lonText.IsEmpty() || latText.IsEmpty() || lonText == L"-" || latText == L"-") {
        lon = lat = kUnset;
        return CString();
    }
    // Only a plain number counts: "1-2" or "12.34.56" are not read as some other value.
    const struct {
        const CString* text;
        double* value;
        double limit;
        int label;
    } positions[] = {{&lonText, &lon, 180.0, 182}, {&latText, &lat, 90.0, 183}};
    for (const auto& p : positions)
        if (!ParsePositionText(*p.text, *p.value) || *p.value < -p.limit || *p.value > p.limit) {
            CString message;
            message.Format(L"%s  (%s)", static_cast<const wchar_t*>(UiText(34)),
                           static_cast<const wchar_t*>(UiText(p.label)));
            return message;
        }
    return CString();
}

void CPoiEditDlg::OnOK()
{
    if (m_mode == 4) {
        EndDialog(IDOK);
        return;
    }
    if (!UpdateData(TRUE))
        return;
    double lon = kUnset, lat = kUnset;
    const CString refusal = Check(lon, lat);
    if (!refusal.IsEmpty()) {
        MessageDlgWithParent(refusal, this);
        return;
    }
    // Everything checked: only now is the caller's record written.
    WriteRecord(m_record, m_name, lon, lat);
    EndDialog(IDOK);
}

HBRUSH CPoiEditDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    const int id = wnd ? wnd->GetDlgCtrlID() : 0;
    if (id == IDC_POI_NOTE) {
        dc->SetBkColor(kGreyColour);
        return m_greyBrush;
    }
    if (kind == CTLCOLOR_EDIT || (kind == CTLCOLOR_STATIC && wnd && (wnd->GetStyle() & ES_READONLY) &&
                                  id >= static_cast<int>(IDC_POI_NAME) && id <= static_cast<int>(IDC_POI_LATITUDE))) {
        const bool readOnly = wnd && (wnd->GetStyle() & ES_READONLY);
        dc->SetBkColor(readOnly ? kGreyColour : kEditColour);
        return readOnly ? m_greyBrush : m_editBrush;
    }
    if (kind == CTLCOLOR_STATIC) {
        dc->SetBkColor(kGreyColour);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return reinterpret_cast<HBRUSH>(Default());
}

BOOL CPoiEditDlg::OnEraseBkgnd(CDC* dc)
{
    CCustomDialog::OnEraseBkgnd(dc);
    PaintPanel(dc, RGB(203, 204, 207));
    if (m_mode != 3)
        if (HWND note = ::GetDlgItem(m_hWnd, IDC_POI_NOTE)) {
            CRect r;
            ::GetWindowRect(note, &r);
            ScreenToClient(&r);
            r.InflateRect(17, 0);
            dc->FillSolidRect(&r, kGreyColour);
            r.InflateRect(2, 2);
            CBrush frame(kLabelColour);
            dc->FrameRect(&r, frame);
        }
    PaintFields(dc, m_mode == 3 ? 3 : 6, m_mode == 4 ? kGreyColour : kEditColour, 1);
    return 0;
}
