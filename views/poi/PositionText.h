#pragma once
// Reading a longitude or latitude as the user typed it in the POI dialogs.
#include "classlib/CString.h"

// The text (blanks already removed) as a number: an optional "-", digits, and
// at most one decimal separator ("." or ",", whatever the locale) followed by
// digits; decimals beyond the sixth are cut off. FALSE for anything else, such
// as "1-2", "12.34.56" or "1,234.5", which would otherwise be read as another
// number.
BOOL ParsePositionText(const CString& text, double& value);
