#pragma once
// The apps view's two lists: tall rows with an app icon and a three-line app
// cell (update tag, size, name), and a button column (info on the offered
// list, delete on the card list) drawn from the skin.
#include "controls/CustomListCtrl.h"

class CApWebListCtrl : public CCustomListCtrl {
public:
    enum Mode { WebList = 0, CardList = 1 };

    CApWebListCtrl() = default;
    ~CApWebListCtrl() override;

    // Attaches (or with NULL drops) an image list and keeps the row at least
    // m_minRowHeight tall.
    void AttachImageList(CImageList* list, int which);

    void DrawItem(DRAWITEMSTRUCT* dis) override;
    void DrawSubItem(CDC* dc, RECT* cell, int row, int column) override;

    // The three parts of an app cell's text "<tags><size>name"; FALSE for a
    // text without ">", which is drawn whole.
    static BOOL SplitAppText(const CString& text, CString& tags, CString& size, CString& name);

    int m_mode = WebList;
    int m_minRowHeight = 73;
    int m_barFirst = 1, m_barLast = 1;  // columns under the selection bar; -1 last: to the row's end

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    DECLARE_MESSAGE_MAP()

private:
    int ButtonColumn() const { return m_mode == WebList ? 2 : 1; }
    void DrawAppText(CDC* dc, const RECT& area, const CString& text, COLORREF textColour) const;

    DIB_IMAGE m_info{}, m_delete{};
    DIB_IMAGE m_barLeft{}, m_barMid{}, m_barRight{};
};
