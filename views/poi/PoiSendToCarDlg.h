#pragma once
// The map look-up dialog: stands open while the user looks a place up on the
// web map page and sends it back with the page's "send to GPS" link. Mode 2
// (map search) shows the whole received place and opens the map page when
// nothing has arrived yet; mode 3 (an address-book entry) takes only the
// position that arrives while it is open and opens the caller's map address.
// The fields are shown, not edited.
#include "views/poi/PoiFormDlg.h"

class CPoiSendToCarDlg : public CPoiFormDlg {
public:
    enum : UINT_PTR { OpenMapTimer = 666, OpenCallerMapTimer = 667 };

    explicit CPoiSendToCarDlg(CWnd* parent = nullptr);
    ~CPoiSendToCarDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;

    int m_mode = 2;
    // Mode 3: the caller's entry, written only on OK.
    DOCPI_RECORD* m_record = nullptr;
    // Mode 3: the map address opened at the start.
    CString m_mapAddress;
    // Mode 3: set when a position arrived while the dialog was open.
    int m_received = 0;

protected:
    // Mode 2: the received place; mode 3: the caller's entry (and the
    // position that arrived, once one did).
    void Fill();
    LRESULT OnAddData(WPARAM, LPARAM);
    LRESULT OnErrorData(WPARAM, LPARAM);
    void OnTimer(UINT_PTR id);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    double m_receivedLon = POI_NO_POSITION, m_receivedLat = POI_NO_POSITION;
};

// The address book's map look-up: the dialog in mode 3 over the entry, with the
// map page for the entry's address. TRUE when OK ended it with a position
// received; rec then holds the entry's texts and that position.
BOOL LookUpEntryPosition(CWnd* parent, DOCPI_RECORD& rec);
