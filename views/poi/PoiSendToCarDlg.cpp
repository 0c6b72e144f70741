#include "views/poi/PoiSendToCarDlg.h"

#include "common/WebUtil.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/MessageDlg.h"
#include "frame/WebLink.h"
#include "res/poi_ids.h"
#include "views/poi/PositionText.h"

namespace {

HWND MainHandle()
{
    CWnd* main = AfxGetMainWnd();
    return main ? main->GetSafeHwnd() : nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPoiSendToCarDlg, CPoiFormDlg)
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_REGISTERED_MESSAGE(WM_ADD_GOOGLE_DATA, OnAddData)
    ON_REGISTERED_MESSAGE(WM_ERROR_GOOGLE_DATA, OnErrorData)
END_MESSAGE_MAP()

CPoiSendToCarDlg::CPoiSendToCarDlg(CWnd* parent) : CPoiFormDlg(IDD_POI_MAP, parent) {}

CPoiSendToCarDlg::~CPoiSendToCarDlg()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CPoiSendToCarDlg::OnInitDialog()
{
    const bool entry = m_mode == 3;
    PlaceOnMainWindow(500, entry ? 304 : 360);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;
    theGlobal.m_hMapDlg = m_hWnd;

    SetUpForm(4, entry ? 261 : 320, false);
    Fill();
    SetCaption(UiText(entry ? 248 : 428));
    for (UINT id : {IDC_POI_NAME, IDC_POI_ADDRESS, IDC_POI_TELEPHONE, IDC_POI_DESCRIPTION})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
    if (HWND name = ::GetDlgItem(m_hWnd, IDC_POI_NAME)) {
        ::SendMessageW(name, EM_SETSEL, 0, -1);
        ::SetFocus(name);
    }
    if (!entry && theGlobal.m_docPiReceived.GetRecordCount() == 0)
        SetTimer(OpenMapTimer, 500);
    if (entry) {
        SetTimer(OpenCallerMapTimer, 500);
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_POI_DESCRIPTION), SW_HIDE);
    }
    return FALSE;
}

void CPoiSendToCarDlg::Fill()
{
    if (m_mode == 3) {
        // Only a position that arrives while the dialog is open belongs to the
        // entry: a place left over for the map search is not taken.
        if (m_record) {
            m_name = m_record->name;
            m_address = m_record->address;
            m_telephone = m_record->telephone;
            m_description = m_record->description;
        }
        const bool own = m_received != 0;
        m_longitude = FormatPosition(own ? m_receivedLon : m_record ? m_record->longitude : POI_NO_POSITION);
        m_latitude = FormatPosition(own ? m_receivedLat : m_record ? m_record->latitude : POI_NO_POSITION);
    } else if (theGlobal.m_docPiReceived.GetRecordCount() > 0) {
        DOCPI_RECORD rec{};
        theGlobal.m_docPiReceived.GetRecord(0, &rec);
        m_name = rec.name;
        m_address = rec.address;
        m_telephone = rec.telephone;
        m_description = rec.description;
        m_longitude = FormatPosition(rec.longitude);
        m_latitude = FormatPosition(rec.latitude);
    }
    UpdateData(FALSE);
}

LRESULT CPoiSendToCarDlg::OnAddData(WPARAM, LPARAM)
{
    if (m_mode == 3) {
        DOCPI_RECORD rec{};
        // A place without a position brings the entry nothing: keep waiting
        // (and leave the place to the map search) rather than erase its position.
        if (!theGlobal.m_docPiReceived.GetRecord(0, &rec) || rec.longitude == POI_NO_POSITION ||
            rec.latitude == POI_NO_POSITION)
            return 1;
        m_receivedLon = rec.longitude;
        m_receivedLat = rec.latitude;
        m_received = 1;
        // Taken for this entry: the map search must not offer it again.
        theGlobal.m_docPiReceived.ResetDocument();
        MessageDlgWithParent(UiText(112), this);
    }
    KillTimer(OpenMapTimer);
    Fill();
    Invalidate();
    return 1;
}

LRESULT CPoiSendToCarDlg::OnErrorData(WPARAM, LPARAM)
{
    if (m_mode == 2)
        MessageDlgWithParent(UiText(43), this);
    return 1;
}

void CPoiSendToCarDlg::OnTimer(UINT_PTR id)
{
    if (id != OpenMapTimer && id != OpenCallerMapTimer) {
        Default();
        return;
    }
    KillTimer(id);
    OpenWebLink(MainHandle(), id == OpenMapTimer ? theGlobal.WebAddress(360) : m_mapAddress);
}

void CPoiSendToCarDlg::OnOK()
{
    if (m_mode == 2 && theGlobal.m_docPiReceived.GetRecordCount() == 0) {
        EndDialog(IDOK);
        return;
    }
    if (!UpdateData(TRUE))
        return;
    const CString refusal = TextRefusal();
    if (!refusal.IsEmpty()) {
        MessageDlgWithParent(refusal, this);
        return;
    }
    if (m_mode != 3) {
        EndDialog(IDOK);
        return;
    }
    double lon = POI_NO_POSITION, lat = POI_NO_POSITION;
    CString lonText = m_longitude, latText = m_latitude;
    lonText.Remove(L' ');
    latText.Remove(L' ');
    if (!lonText.IsEmpty() && !latText.IsEmpty() && lonText != L"-" && latText != L"-") {
        if (!ParsePositionText(lonText, lon) || !ParsePositionText(latText, lat) || lon < -180.0 || lon > 180.0 ||
            lat < -90.0 || lat > 90.0) {
            MessageDlgWithParent(UiText(34), this);
            return;
        }
    }
    WriteRecord(m_record, m_name.IsEmpty() ? CString(L"Unnamed") : m_name, lon, lat);
    EndDialog(IDOK);
}

HBRUSH CPoiSendToCarDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    const int id = wnd ? wnd->GetDlgCtrlID() : 0;
    const bool field = id >= static_cast<int>(IDC_POI_NAME) && id <= static_cast<int>(IDC_POI_DESCRIPTION);
    if (field && (kind == CTLCOLOR_EDIT || kind == CTLCOLOR_STATIC)) {
        const bool readOnly = (wnd->GetStyle() & ES_READONLY) != 0;
        dc->SetBkColor(readOnly ? kGreyColour : kEditColour);
        dc->SetTextColor(RGB(0, 0, 0));
        return readOnly ? m_greyBrush : m_editBrush;
    }
    if (kind == CTLCOLOR_STATIC) {
        dc->SetBkColor(kGreyColour);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return reinterpret_cast<HBRUSH>(Default());
}

BOOL CPoiSendToCarDlg::OnEraseBkgnd(CDC* dc)
{
    CCustomDialog::OnEraseBkgnd(dc);
    PaintPanel(dc, RGB(203, 203, 207));
    PaintFields(dc, m_mode == 3 ? 3 : 4, kEditColour, 2);
    return 0;
}

void CPoiSendToCarDlg::OnDestroy()
{
    CPoiFormDlg::OnDestroy();
    if (theGlobal.m_hMapDlg == m_hWnd)
        theGlobal.m_hMapDlg = nullptr;
    KillTimer(OpenMapTimer);
    KillTimer(OpenCallerMapTimer);
}

BOOL LookUpEntryPosition(CWnd* parent, DOCPI_RECORD& rec)
{
    DOCPI_RECORD entry = rec;
    CPoiSendToCarDlg dlg(parent);
    dlg.m_mode = 3;
    dlg.m_record = &entry;
    dlg.m_mapAddress = theGlobal.WebAddress(361) + UrlEncodeUtf8(entry.address);
    if (dlg.DoModal() != IDOK || !dlg.m_received)
        return FALSE;
    rec = entry;
    return TRUE;
}
