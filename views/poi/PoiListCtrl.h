#pragma once
// The POI views' list: drawn as the custom list draws, except that a cell's
// image (when the list has an image list) always sits 2 pixels from the
// cell's left edge.
#include "controls/CustomListCtrl.h"

class CPoiListCtrl : public CCustomListCtrl {
public:
    void DrawSubItem(CDC* dc, RECT* cell, int row, int column) override;
};
