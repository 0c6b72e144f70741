#pragma once
// The feed reader's item list: the report list, except that a selected row
// shows the selection skin only under the name, description and date columns
// (the new mark, number, check box and star keep the list's background), the
// check and star cells never show the focus rectangle, and the row number is
// always drawn in the plain font.
#include "controls/CustomListCtrl.h"

class CRssItemListCtrl : public CCustomListCtrl {
public:
    // Columns: 0 new mark, 1 number, 2 check, 3 star, 4 name, 5 description, 6 date.
    enum { ColNew = 0, ColNumber = 1, ColCheck = 2, ColStar = 3, ColName = 4, ColDescription = 5, ColDate = 6 };
    CRssItemListCtrl()
    {
        // The skin lies under name, description and date only.
        m_skinFromColumn = ColName;
        m_skinToColumn = ColDate;
    }
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    void DrawSubItem(CDC* dc, RECT* cell, int row, int column) override;
};
