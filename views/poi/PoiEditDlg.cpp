#include "views/poi/PoiEditDlg.h"

#include <imm.h>

#include "common/ButtonStrips.h"
#include "common/FixedField.h"
#include "common/TextCheck.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/poi_ids.h"
#include "views/poi/EnterToTab.h"
#include "views/poi/PositionText.h"

namespace {

const COLORREF kEditColour = RGB(211, 211, 212);
const COLORREF kLabelColour = RGB(92, 92, 104);
const COLORREF kGreyColour = RGB(168, 171, 176);

struct Field {
    UINT id;
    int label;       // UI string
    int labelTop;    // label box (30, top) to (140, top + 26)
    RECT place;      // the edit
    int limit, limitAddressBook;
};

const Field kFields[] = {
    {IDC_POI_NAME, 178, 64, {144, 66, 144 + 322, 66 + 22}, 64, 17},
    {IDC_POI_ADDRESS, 179, 114, {144, 116, 144 + 322, 116 + 48}, 128, 35},
    {IDC_POI_TELEPHONE, 180, 190, {144, 192, 144 + 322, 192 + 22}, 64, 15},
    {IDC_POI_DESCRIPTION, 181, 240, {144, 242, 144 + 322, 242 + 22}, 64, 17},
    {IDC_POI_LONGITUDE, 182, 315, {144, 317, 144 + 322, 317 + 22}, 11, 11},
    {IDC_POI_LATITUDE, 183, 342, {144, 344, 144 + 322, 344 + 22}, 11, 11},
};

CString FormatPosition(double v)
{
    if (v == CPoiEditDlg::kUnset)
        return L"-";
    CString s;
    s.Format(L"%11.6f", v);
    return s;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPoiEditDlg, CCustomDialog)
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CPoiEditDlg::CPoiEditDlg() : CCustomDialog(IDD_POI_EDIT, nullptr) {}

CPoiEditDlg::~CPoiEditDlg()
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

void CPoiEditDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_POI_NAME, m_name);
    DDX_Text(dx, IDC_POI_ADDRESS, m_address);
    DDX_Text(dx, IDC_POI_TELEPHONE, m_telephone);
    DDX_Text(dx, IDC_POI_DESCRIPTION, m_description);
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

    CreateTahomaFont(FALSE, &m_labelFont, 120, FALSE);
    CreateTahomaFont(TRUE, &m_editFont, 140, FALSE);
    m_editBrush = ::CreateSolidBrush(kEditColour);
    m_greyBrush = ::CreateSolidBrush(kGreyColour);

    const int buttonTop = m_mode == 3 ? 261 : 408;
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

    for (int i = 0; i < 6; ++i) {
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
        ::SendMessageW(edit, EM_LIMITTEXT, m_mode == 3 ? f.limitAddressBook : f.limit, 0);
        ::SetWindowPos(edit, nullptr, f.place.left, f.place.top, f.place.right - f.place.left,
                       f.place.bottom - f.place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        ::ImmAssociateContext(edit, nullptr);
    }
    if (HWND note = ::GetDlgItem(m_hWnd, IDC_POI_NOTE)) {
        ::SetWindowTextW(note, UiText(324));
        ::SetWindowPos(note, nullptr, 49, 292, 402, 22, SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(note, m_mode == 3 ? SW_HIDE : SW_SHOW);
    }
    Fill();

    const int titles[] = {241, 242, 241, 94, 286};
    SetCaption(UiText(m_mode >= 0 && m_mode <= 4 ? titles[m_mode] : 241));
    if (m_mode == 4)
        for (const Field& f : kFields)
            SendDlgItemMessage(f.id, EM_SETREADONLY, TRUE);
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
    const struct {
        const CString* text;
        int max, label;
    } lengths[] = {{&m_name, 64, 178}, {&m_address, 128, 179}, {&m_telephone, 64, 180}, {&m_description, 64, 181}};
    for (const auto& l : lengths)
        if (l.text->GetLength() > l.max) {
            CString message;
            message.Format(L"%s  (%s)", static_cast<const wchar_t*>(UiText(5)),
                           static_cast<const wchar_t*>(UiText(l.label)));
            return message;
        }
    const int group = theGlobal.m_naviModel.m_modelGroup;
    for (const auto& l : lengths)
        if (!IsTextOfClass(*l.text, group))
            return UiText(4);
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
    if (m_record) {
        CopyField(m_record->name, m_name);
        CopyField(m_record->address, m_address);
        CopyField(m_record->telephone, m_telephone);
        CopyField(m_record->description, m_description);
        m_record->longitude = lon;
        m_record->latitude = lat;
    }
    EndDialog(IDOK);
}

BOOL CPoiEditDlg::PreTranslateMessage(MSG* msg)
{
    PreTranslateEnterToTab(msg);
    return CCustomDialog::PreTranslateMessage(msg);
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
    fillFrame(panel, RGB(123, 123, 139), RGB(203, 204, 207));
    if (m_mode != 3)
        if (HWND note = ::GetDlgItem(m_hWnd, IDC_POI_NOTE)) {
            CRect r;
            ::GetWindowRect(note, &r);
            ScreenToClient(&r);
            r.InflateRect(17, 0);
            fillFrame(r, kGreyColour, kGreyColour);
            r.InflateRect(2, 2);
            fillFrame(r, CLR_INVALID, kLabelColour);
        }
    const int shown = m_mode == 3 ? 3 : 6;
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
        const COLORREF c = m_mode == 4 ? kGreyColour : kEditColour;
        CRect box(f.place);
        box.InflateRect(2, 1);
        fillFrame(box, c, c);
    }
    return 0;
}

void CPoiEditDlg::OnDestroy()
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
}
