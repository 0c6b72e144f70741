#pragma once
// A custom list with lighter cells: icons always at the left, a narrower text
// inset, date columns in the user's short date format, and "0.00" in the
// sixth column shown in red.
#include "controls/CustomListCtrl.h"

class CLightListCtrl : public CCustomListCtrl {
public:
    void DrawSubItem(CDC* dc, RECT* cell, int row, int column) override;
};
