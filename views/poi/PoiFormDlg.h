#pragma once
// The form of a place shared by the POI edit dialog and the map look-up
// dialog: the labelled fields (name, address, telephone, description,
// longitude, latitude), their fonts and colours, and OK and Cancel.
#include "controls/CustomButton.h"
#include "controls/CustomDialog.h"
#include "doc/PoiRecord.h"
#include "views/poi/FormColours.h"

class CPoiFormDlg : public CCustomDialog {
public:
    void DoDataExchange(CDataExchange* dx) override;

    CString m_name, m_address, m_telephone, m_description, m_longitude, m_latitude;
    CCustomButton m_btnOK, m_btnCancel;

    // "-" for the unset position, else the number with six decimals.
    static CString FormatPosition(double v);

protected:
    CPoiFormDlg(UINT templateId, CWnd* parent);
    ~CPoiFormDlg() override;

    // The first `fields` fields with their labels (the address book's shorter
    // limits when asked), and OK and Cancel at buttonTop.
    void SetUpForm(int fields, int buttonTop, bool addressBookLimits);
    // The panel behind the fields.
    void PaintPanel(CDC* dc, COLORREF frame);
    // The label boxes and frames of the first `fields` fields; the box around
    // each edit is grown by boxGrowY above and below.
    void PaintFields(CDC* dc, int fields, COLORREF boxColour, int boxGrowY);
    // The first refusal of a text's length or characters, or empty.
    CString TextRefusal() const;
    // The checked texts and position into the caller's record, when there is
    // one; name stands for the name field.
    void WriteRecord(DOCPI_RECORD* rec, const CString& name, double lon, double lat) const;
    // Enter moves to the next field.
    BOOL PreTranslateMessage(MSG* msg) override;
    // Fonts and brushes go with the window.
    void OnDestroy();

    static constexpr COLORREF kEditColour = kFormEditColour, kLabelColour = RGB(92, 92, 104),
                              kGreyColour = kFormGreyColour;
    HFONT m_labelFont = nullptr, m_editFont = nullptr;
    HBRUSH m_editBrush = nullptr, m_greyBrush = nullptr;

private:
    void FreeResources();
};
