#pragma once
// The back of a tall pane (body, header): the pane colour with the left and
// right edge pictures stretched over the full height.
#include "classlib/Afx.h"
#include "common/DibImage.h"

void PaintPaneSides(CDC& dc, const CRect& client, const DIB_IMAGE& left, const DIB_IMAGE& right);
