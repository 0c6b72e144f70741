#include "views/poi/PoiSendToCarDlg.h"

#include <imm.h>

#include "common/ButtonStrips.h"
#include "common/FixedField.h"
#include "common/TextCheck.h"
#include "common/WebUtil.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/MessageDlg.h"
#include "frame/WebLink.h"
#include "res/poi_ids.h"
#include "views/poi/EnterToTab.h"
#include "views/poi/PositionText.h"

namespace {

const COLORREF kEditColour = RGB(211, 211, 212);
const COLORREF kLabelColour = RGB(92, 92, 104);
const COLORREF kGreyColour = RGB(168, 171, 176);

struct Field {
    UINT id;
    int label;     // UI string
    int labelTop;  // label box (30, top) to (140, top + 26)
    RECT place;    // the edit
    int limit;
};

const Field kFields[] = {
    {IDC_POI_NAME, 178, 64, {144, 66, 144 + 322, 66 + 22}, 64},
    {IDC_POI_ADDRESS, 179, 114, {144, 116, 144 + 322, 116 + 48}, 128},
    {IDC_POI_TELEPHONE, 180, 190, {144, 192, 144 + 322, 192 + 22}, 64},
    {IDC_POI_DESCRIPTION, 181, 240, {144, 242, 144 + 322, 242 + 22}, 64},
};

CString FormatPosition(double v)
{
    if (v == POI_NO_POSITION)
        return L"-";
    CString s;
    s.Format(L"%11.6f", v);
    return s;
}

HWND MainHandle()
{
    CWnd* main = AfxGetMainWnd();
    return main ? main->GetSafeHwnd() : nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPoiSendToCarDlg, CCustomDialog)
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_REGISTERED_MESSAGE(WM_ADD_GOOGLE_DATA, OnAddData)
    ON_REGISTERED_MESSAGE(WM_ERROR_GOOGLE_DATA, OnErrorData)
END_MESSAGE_MAP()

CPoiSendToCarDlg::CPoiSendToCarDlg(CWnd* parent) : CCustomDialog(IDD_POI_MAP, parent) {}

CPoiSendToCarDlg::~CPoiSendToCarDlg()
{
    if (m_hWnd)
        DestroyWindow();
    for (HFONT f : {m_labelFont, m_editFont})
        if (f)
            ::DeleteObject(f);
    for (HBRUSH b : {m_editBrush, m_greyBrush})
        if (b)
            ::DeleteObject(b);
}

void CPoiSendToCarDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_POI_NAME, m_name);
    DDX_Text(dx, IDC_POI_ADDRESS, m_address);
    DDX_Text(dx, IDC_POI_TELEPHONE, m_telephone);
    DDX_Text(dx, IDC_POI_DESCRIPTION, m_description);
}

BOOL CPoiSendToCarDlg::OnInitDialog()
{
    const bool entry = m_mode == 3;
    PlaceOnMainWindow(500, entry ? 304 : 360);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;
    theGlobal.m_hMapDlg = m_hWnd;

    CreateTahomaFont(FALSE, &m_labelFont, 120, FALSE);
    CreateTahomaFont(TRUE, &m_editFont, 140, FALSE);
    m_editBrush = ::CreateSolidBrush(kEditColour);
    m_greyBrush = ::CreateSolidBrush(kGreyColour);

    const int buttonTop = entry ? 261 : 320;
    const struct {
        CCustomButton* button;
        UINT id;
        int label, x;
    } buttons[] = {{&m_btnOK, IDOK, 135, 168}, {&m_btnCancel, IDCANCEL, 136, 334}};
    for (const auto& b : buttons)
        if (BuildButtonImage(&b.button->m_strip, UiText(b.label), 146, 38, 100, FALSE) &&
            b.button->CreateFromDlgItem(b.id, this)) {
            b.button->SetWindowPos(static_cast<HWND>(nullptr), b.x, buttonTop, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            b.button->SetRoundRegion();
        }

    for (int i = 0; i < 4; ++i) {
        const Field& f = kFields[i];
        if (HWND label = ::GetDlgItem(m_hWnd, IDC_POI_LABEL_FIRST + i)) {
            ::SetWindowTextW(label, UiText(f.label));
            ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(m_labelFont), FALSE);
            ::SetWindowPos(label, nullptr, 30, f.labelTop, 110, 26, SWP_NOZORDER | SWP_NOACTIVATE);
            ::ShowWindow(label, SW_HIDE);
        }
        HWND edit = ::GetDlgItem(m_hWnd, f.id);
        if (!edit)
            continue;
        ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(m_editFont), FALSE);
        ::SendMessageW(edit, EM_LIMITTEXT, f.limit, 0);
        ::SetWindowPos(edit, nullptr, f.place.left, f.place.top, f.place.right - f.place.left,
                       f.place.bottom - f.place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        ::ImmAssociateContext(edit, nullptr);
    }
    Fill();
    SetCaption(UiText(entry ? 248 : 428));
    for (const Field& f : kFields)
        ::EnableWindow(::GetDlgItem(m_hWnd, f.id), FALSE);
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
        if (theGlobal.m_docPiReceived.GetRecord(0, &rec)) {
            m_receivedLon = rec.longitude;
            m_receivedLat = rec.latitude;
            m_received = 1;
            // Taken for this entry: the map search must not offer it again.
            theGlobal.m_docPiReceived.ResetDocument();
        }
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
    OpenWebLink(MainHandle(), id == OpenMapTimer ? UiText(360) : m_mapAddress);
}

void CPoiSendToCarDlg::OnOK()
{
    if (m_mode == 2 && theGlobal.m_docPiReceived.GetRecordCount() == 0) {
        EndDialog(IDOK);
        return;
    }
    if (!UpdateData(TRUE))
        return;
    const struct {
        const CString* text;
        int max, label;
    } lengths[] = {{&m_name, 64, 178}, {&m_address, 128, 179}, {&m_telephone, 64, 180}, {&m_description, 64, 181}};
    for (const auto& l : lengths)
        if (l.text->GetLength() > l.max) {
            CString message;
            message.Format(L"%s  (%s)", static_cast<const wchar_t*>(UiText(5)),
                           static_cast<const wchar_t*>(UiText(l.label)));
            MessageDlgWithParent(message, this);
            return;
        }
    const int group = theGlobal.m_naviModel.m_modelGroup;
    for (const auto& l : lengths)
        if (!IsTextOfClass(*l.text, group)) {
            MessageDlgWithParent(UiText(4), this);
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
    if (m_record) {
        CopyField(m_record->name, m_name.IsEmpty() ? CString(L"Unnamed") : m_name);
        CopyField(m_record->address, m_address);
        CopyField(m_record->telephone, m_telephone);
        CopyField(m_record->description, m_description);
        m_record->longitude = lon;
        m_record->latitude = lat;
    }
    EndDialog(IDOK);
}

BOOL CPoiSendToCarDlg::PreTranslateMessage(MSG* msg)
{
    PreTranslateEnterToTab(msg);
    return CCustomDialog::PreTranslateMessage(msg);
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
    HDC hdc = dc->GetSafeHdc();
    CRect client;
    GetClientRect(&client);
    auto fillFrame = [&](const RECT& r, COLORREF fill, COLORREF frame) {
        if (fill != CLR_INVALID)
            dc->FillSolidRect(&r, fill);
        HBRUSH b = ::CreateSolidBrush(frame);
        ::FrameRect(hdc, &r, b);
        ::DeleteObject(b);
    };
    const CRect panel(client.left + 20, client.top + 44, client.right - 20, client.bottom - 88);
    fillFrame(panel, RGB(123, 123, 139), RGB(203, 203, 207));
    const int shown = m_mode == 3 ? 3 : 4;
    for (int i = 0; i < shown; ++i) {
        const Field& f = kFields[i];
        const int boxes = f.id == IDC_POI_ADDRESS ? 2 : 1;
        for (int k = 0; k < boxes; ++k) {
            const CRect box(30, f.labelTop + 26 * k, 140, f.labelTop + 26 * (k + 1));
            dc->FillSolidRect(&box, kLabelColour);
            if (k == 0) {
                CRect text = box;
                text.DeflateRect(8, 2);
                ::SetTextColor(hdc, RGB(255, 255, 255));
                ::SetBkMode(hdc, TRANSPARENT);
                DrawTextShrinkToFit(hdc, 120, &text, UiText(f.label), FALSE,
                                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            }
        }
        CRect frame(f.place);
        frame.InflateRect(4, 2);
        fillFrame(frame, CLR_INVALID, kLabelColour);
        CRect box(f.place);
        box.InflateRect(2, 2);
        fillFrame(box, kEditColour, kEditColour);
    }
    return 0;
}

void CPoiSendToCarDlg::OnDestroy()
{
    CCustomDialog::OnDestroy();
    for (HFONT* f : {&m_labelFont, &m_editFont})
        if (*f) {
            ::DeleteObject(*f);
            *f = nullptr;
        }
    for (HBRUSH* b : {&m_editBrush, &m_greyBrush})
        if (*b) {
            ::DeleteObject(*b);
            *b = nullptr;
        }
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
    dlg.m_mapAddress = UiText(361) + UrlEncodeUtf8(entry.address);
    if (dlg.DoModal() != IDOK || !dlg.m_received)
        return FALSE;
    rec = entry;
    return TRUE;
}
