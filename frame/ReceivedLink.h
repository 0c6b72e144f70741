#pragma once
// A "send to GPS" link as a second start of the program hands it over: the
// command line with "mirovale:" and the place's query fields. Reading it needs
// no window, so every rule can be checked on its own.
#include "classlib/CString.h"
#include "doc/PoiRecord.h"

enum class LinkVerdict {
    Accepted,       // rec holds the place
    NotALink,       // no "mirovale:" in the text: nothing for us
    RegionRefused,  // the unit's region has no map look-up
    BadPosition,    // a coordinate missing beside the other, or not a plain number
    OutOfRange,     // longitude outside -180..180 or latitude outside -90..90
};

// The scheme word "mirovale:" in a command line, in any case (the shell passes
// the address as the page wrote it); null when there is none.
const wchar_t* FindLinkScheme(const wchar_t* text);

// The text the region refusal shows.
extern const wchar_t kLinkRegionRefused[];

// Reads name, address, phone, notes, long and lat from the text after the
// scheme word. Texts are cut to the record's fields and characters outside
// classMask become '?'. A link without both coordinates gives a place without
// a position (-255); the coordinates are read with "." as the decimal point
// whatever the locale. region 2 refuses every link.
LinkVerdict ParseReceivedLink(const wchar_t* text, int classMask, int region, DOCPI_RECORD& rec);
