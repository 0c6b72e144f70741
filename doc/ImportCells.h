#pragma once
// Rules the POI and address-book imports share for the cells of an import table.
#include "classlib/Afx.h"

// Characters the unit cannot show become '?'.
void ReplaceUnshownChars(CString& text);
// The position of two coordinate cells: blanks removed, both numbers of the
// coordinate class under the decimal setting, -180 < lon < 180 and -90 < lat < 90.
bool ReadImportPosition(CString lonText, CString latText, double& lon, double& lat);
