#pragma once
// Small helpers the feed document's files share: the unit's character group,
// coordinates and GUID texts, and walks over child elements.
#include <windows.h>
#include <objbase.h>

#include <cwchar>
#include <vector>

#include "classlib/CString.h"
#include "common/FixedField.h"
#include "common/XmlDocument.h"

namespace rss {

// Characters the unit cannot show become "?"; then cut to maxLength (0: no cut).
CString Shown(CString text, int maxLength = 0);
// "%11.6f" of each value, blanks removed, "." as the decimal point, "lon,lat";
// a value that is no number gives the no-position value -255 for both. The
// POI and feed KML writers share it.
CString CoordinatesText(double lon, double lat);
// The 36-character lower-case form; empty when it cannot be made.
CString GuidText(const GUID& guid);
BOOL GuidFromText(const CString& text, GUID* guid);
// A signed 64-bit decimal number (leading blanks skipped, stops at a non-digit).
LONGLONG ReadInt64(const CString& text);

// The direct child elements named name, in document order (one walk, where
// looking each up by index would walk the children again every time).
std::vector<XmlElementPtr> ChildElements(XmlNode node, const wchar_t* name);
// The text of the first child element named name; false when there is none or
// its text cannot be read.
bool ChildText(XmlNode node, const wchar_t* name, CString& text);

}  // namespace rss
