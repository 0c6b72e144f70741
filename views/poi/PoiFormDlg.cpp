#include "views/poi/PoiFormDlg.h"

#include <imm.h>

#include <iterator>

#include "common/FixedField.h"
#include "common/TextCheck.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "frame/DialogButton.h"
#include "res/poi_ids.h"
#include "views/poi/EnterToTab.h"

namespace {

struct Field {
    UINT id;
    int label;     // UI string
    int labelTop;  // label box (30, top) to (140, top + 26)
    RECT place;    // the edit
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

void FillFrame(CDC* dc, const RECT& r, COLORREF fill, COLORREF frame)
{
    if (fill != CLR_INVALID)
        dc->FillSolidRect(&r, fill);
    HBRUSH b = ::CreateSolidBrush(frame);
    ::FrameRect(dc->GetSafeHdc(), &r, b);
    ::DeleteObject(b);
}

}  // namespace

CPoiFormDlg::CPoiFormDlg(UINT templateId, CWnd* parent) : CCustomDialog(templateId, parent) {}

CPoiFormDlg::~CPoiFormDlg()
{
    if (m_hWnd)
        DestroyWindow();
    FreeResources();
}

void CPoiFormDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_POI_NAME, m_name);
    DDX_Text(dx, IDC_POI_ADDRESS, m_address);
    DDX_Text(dx, IDC_POI_TELEPHONE, m_telephone);
    DDX_Text(dx, IDC_POI_DESCRIPTION, m_description);
}

void CPoiFormDlg::WriteRecord(DOCPI_RECORD* rec, const CString& name, double lon, double lat) const
{
    if (!rec)
        return;
    CopyField(rec->name, name);
    CopyField(rec->address, m_address);
    CopyField(rec->telephone, m_telephone);
    CopyField(rec->description, m_description);
    rec->longitude = lon;
    rec->latitude = lat;
}

BOOL CPoiFormDlg::PreTranslateMessage(MSG* msg)
{
    PreTranslateEnterToTab(msg);
    return CCustomDialog::PreTranslateMessage(msg);
}

CString CPoiFormDlg::FormatPosition(double v)
{
    if (v == POI_NO_POSITION)
        return L"-";
    CString s;
    s.Format(L"%11.6f", v);
    return s;
}

void CPoiFormDlg::SetUpForm(int fields, int buttonTop, bool addressBookLimits)
{
    CreateTahomaFont(FALSE, &m_labelFont, 120, FALSE);
    CreateTahomaFont(TRUE, &m_editFont, 140, FALSE);
    m_editBrush = ::CreateSolidBrush(kEditColour);
    m_greyBrush = ::CreateSolidBrush(kGreyColour);

    MakeDialogButton(m_btnOK, this, IDOK, UiText(135), 168, buttonTop, 100);
    MakeDialogButton(m_btnCancel, this, IDCANCEL, UiText(136), 334, buttonTop, 100);

    for (int i = 0; i < fields && i < static_cast<int>(std::size(kFields)); ++i) {
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
        ::SendMessageW(edit, EM_LIMITTEXT, addressBookLimits ? f.limitAddressBook : f.limit, 0);
        ::SetWindowPos(edit, nullptr, f.place.left, f.place.top, f.place.right - f.place.left,
                       f.place.bottom - f.place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        ::ImmAssociateContext(edit, nullptr);
    }
}

void CPoiFormDlg::PaintPanel(CDC* dc, COLORREF frame)
{
    CRect client;
    GetClientRect(&client);
    const CRect panel(client.left + 20, client.top + 44, client.right - 20, client.bottom - 88);
    FillFrame(dc, panel, RGB(123, 123, 139), frame);
}

void CPoiFormDlg::PaintFields(CDC* dc, int fields, COLORREF boxColour, int boxGrowY)
{
    HDC hdc = dc->GetSafeHdc();
    for (int i = 0; i < fields && i < static_cast<int>(std::size(kFields)); ++i) {
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
        FillFrame(dc, frame, CLR_INVALID, kLabelColour);
        CRect box(f.place);
        box.InflateRect(2, boxGrowY);
        FillFrame(dc, box, boxColour, boxColour);
    }
}

CString CPoiFormDlg::TextRefusal() const
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
    return CString();
}

void CPoiFormDlg::OnDestroy()
{
    CCustomDialog::OnDestroy();
    FreeResources();
}

void CPoiFormDlg::FreeResources()
{
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
