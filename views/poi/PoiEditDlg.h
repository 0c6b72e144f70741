#pragma once
// One POI (or address-book entry) in edit fields. Modes: 0 edit, 1 new,
// 3 address-book entry (name, address and telephone only), 4 read-only item.
// OK checks lengths, characters and the position, and only then writes the
// caller's record; any refusal leaves the record as it was.
#include "views/poi/PoiFormDlg.h"

class CPoiEditDlg : public CPoiFormDlg {
public:
    CPoiEditDlg();
    ~CPoiEditDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;

    DOCPI_RECORD* m_record = nullptr;
    int m_mode = 0;

    // The unset position of a record.
    static constexpr double kUnset = -255.0;

protected:
    void Fill();
    // The first refusal's message, or empty when the texts can be stored.
    CString Check(double& lon, double& lat) const;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()
};
