#pragma once
// The report lists' row images: the check bitmap resource cut into images of
// one size, magenta transparent.
#include "classlib/CImageList.h"

// Fills list (empty) with the check images at cx x cy; FALSE when the list
// cannot be made.
BOOL LoadCheckImages(CImageList& list, int cx, int cy, COLORREF back = CLR_NONE);
