#pragma once
// The map-search list (body view 4): places looked up on the web map page and
// sent back by its "send to GPS" link. A POI list of mode 4 that shows name,
// address, telephone and description, sorts without history, and offers
// neither the clipboard, position reset nor saving on the PC: the places go
// to the card.
#include "views/poi/PoiWnd.h"

class CPoiSearchWnd : public CPoiWnd {
public:
    enum { kSearchColumns = 4 };
    CPoiSearchWnd();

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnShowWindow(BOOL show, UINT status);
    LRESULT OnOpenPending(WPARAM, LPARAM);
    int KeyOfColumn(int column) const override;
    int ColumnOfKey(int key) const override;
    void SortByHeader(int key) override;
    void OnDisable(CCmdUI* ui) { ui->Enable(FALSE); }
    void HistorySetSort(int key, int order) override;
    DECLARE_MESSAGE_MAP()
};
