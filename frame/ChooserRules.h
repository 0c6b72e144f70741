#pragma once
// The window-free rules of the language and model choosers: display names,
// the rows they preselect, the region lists and the unit settings a region
// change resets.
#include "classlib/Afx.h"

// "English_UK.dat" -> "English_UK"; "Portuguese_Brazil.dat" -> "Portuguese".
CString LanguageDisplayName(const CString& fileName);
// Row to select for the remembered file: the first row with its display name
// (exact, then as a prefix; case ignored), else the brand's English row
// ("English_US" for area code 1, "English_UK" for 2), else 0. -1 for no rows.
int PreselectLanguageRow(const CStringArray& rows, const CString& remembered, int areaCode);

// "US_KV410.dat" -> "KV410": from the fourth character, without extension.
CString ModelDisplayName(const CString& fileName);
// List of the brand's regions a navi file belongs to by its first two letters
// (upper case exactly): area 1 US 0, AU 1, BR 2; area 2 EU 0, RU 1; else -1.
int ModelListOf(const CString& fileName, int areaCode);
// Region names of the brand, in list order.
int RegionCountOf(int areaCode);
const wchar_t* RegionNameOf(int areaCode, int index);
// Row to select for the remembered navi file: row 0 when none is remembered;
// the row of its display name (exact, then as a prefix; case ignored); -1 when none.
int PreselectModelRow(const CStringArray& rows, const CString& remembered);
// Unit settings after a change to newRegion (0 US .. 4 RU): US 1, 1, 3; others 0, 0, 0.
void ResetUnitsForRegion(int newRegion, int& distance, int& amount, int& mileage);
