#pragma once
// The look of a page that holds one big list (POI list, address book): the
// dark back, the footer line stretched from the middle 60 pixels above the
// bottom, and a thin frame around the list.
#include "classlib/Afx.h"
#include "common/DibImage.h"

void PaintListPage(CWnd& page, const DIB_IMAGE& footer, CWnd& list);
// The thin grey frame one pixel around a child window (nothing without one).
void FrameChild(CDC& dc, const CWnd& child, const CWnd& parent);
