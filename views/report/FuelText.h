#pragma once
// How the fuel log's values are shown and typed: the unit and currency names,
// the text of each list column, and the checks a typed number or memo passes.
#include "classlib/Afx.h"
#include "doc/DocFe.h"

constexpr int kFuelColumnCount = 14;
constexpr int kFuelNoSort = 14;
// The language rows of the column headings.
constexpr int kFuelHeadings[kFuelColumnCount] = {192, 193, 194, 195, 196, 197, 198, 199, 200, 201, 202, 183, 182, 203};

extern const wchar_t kFuelDistanceUnits[];
extern const wchar_t kFuelAmountUnits[];
extern const wchar_t kFuelMileageUnits[];
// The currency names of the navi model (16 with the Brazil unit, else 15).
CString FuelCurrencyNames();
// Line n of a "\n" list, empty past its end.
CString FuelNameLine(const wchar_t* list, int n);
CString FuelCurrencyName(int code);

// The cell text of a column (0..13) for a record.
CString FuelCellText(const DOCFUEL_VIEW_DATA& r, int column);
// The list editor's current choice of a list column, or 0.
int FuelCellChoice(const DOCFUEL_VIEW_DATA& r, int column);
// "%.1f" style text of a fixed-point value with the locale's decimal point.
CString FuelFixedText(__int64 value, int decimals);

enum FuelInputResult { FuelInputOk = 0, FuelInputRefused = 1, FuelInputCut = 2, FuelInputOutOfRange = 3 };

// The number columns (2, 4, 8, 11, 12): the stored integer of a typed text.
// Either "," or "." is the decimal point; when both appear, the last one is
// the decimal point and the others group thousands ("1,234.5" is 1234.5).
// Extra fraction digits are cut; a value outside the column's range, or any
// other character, is refused.
int ParseFuelNumber(int column, const wchar_t* text, int& value);
// The memo column: characters the unit's model group can show, at most 255.
int CheckFuelMemo(const wchar_t* text, CString& memo);
// Applies a checked edit of a column to a display record (the list columns
// take the chosen line, the others the text). FALSE for a column that is
// not edited.
BOOL ApplyFuelEdit(DOCFUEL_VIEW_DATA& r, int column, const wchar_t* text, int choice, int number);
// A new record as the new-record row makes it: zero, empty, the options'
// units, the main currency and no position.
DOCFUEL_VIEW_DATA MakeNewFuelRecord(const CDocFe& doc);
