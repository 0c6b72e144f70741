#pragma once
// The address-book list: rows drawn as the custom list draws them, except
// that a selected row's skin starts at the name column (the icon and position
// columns keep the plain background) and only the text columns show the focus
// rectangle.
#include "controls/CustomListCtrl.h"

class CAbListCtrl : public CCustomListCtrl {
public:
    void DrawItem(DRAWITEMSTRUCT* dis) override;
};
