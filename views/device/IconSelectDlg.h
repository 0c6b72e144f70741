#pragma once
// Picks a POI icon: a stock icon of the unit or one of the user's own icons,
// shown as two thumbnail grids behind two tabs (or stock icons only). A click
// on an icon chooses it at once.
//
// Icon numbers (S stock icons, U user icons of theGlobal.m_docIcon):
//   in  m_icon: below S a stock icon (model types 0 and 2: a row of the
//       74-row icon table), S + j user icon j, anything else none;
//   out m_icon (IDOK): the stock grid position (model types 0 and 2: the
//       picture's image index, which CDocIcon::FindIconByImage turns back
//       into a row), or S + j.
#include "controls/CustomButton.h"
#include "controls/CustomDialog.h"
#include "controls/CustomStatic.h"
#include "controls/CustomThumbCtrl.h"

class CIconSelectDlg : public CCustomDialog {
public:
    enum { kBothStockFirst = 0, kBothUserFirst = 1, kStockOnly = 2 };

    CIconSelectDlg();
    ~CIconSelectDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Set kStockOnly before DoModal for stock icons only; otherwise the preset
    // decides which tab comes first.
    int m_mode = kBothStockFirst;
    int m_icon = 0;

    // The stock grid position a preset selects, or -1 when it names no stock
    // icon (the icon document's counts as the dialog read them).
    int StockPosition(int preset) const;
    int GetStockCount() const { return m_stockCount; }
    int GetUserCount() const { return m_userCount; }

    CCustomThumbCtrl m_stockGrid, m_userGrid;
    CCustomButton m_btnOK, m_btnCancel, m_btnStockTab, m_btnUserTab;
    CCustomStatic m_note;

    // Where both grids and the note sit, in client coordinates.
    static const RECT kGridRect;

protected:
    void FillGrids();
    void ShowTab(int mode);
    CCustomThumbCtrl& CurrentGrid() { return m_mode == kBothUserFirst ? m_userGrid : m_stockGrid; }
    void Choose(CCustomThumbCtrl& grid, int item);

    void OnStockTab();
    void OnUserTab();
    void OnItemNotify(UINT id, NMHDR* nm, LRESULT* result);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

    int m_stockCount = 0;
    int m_userCount = 0;
    HFONT m_noteFont = nullptr;
};
