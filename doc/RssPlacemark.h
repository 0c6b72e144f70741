#pragma once
// One feed item as a KML placemark: the layout the item caches, the favourites
// file and the new-items file share, written and read back.
#include <string>

#include "common/XmlDocument.h"
#include "doc/DocRssPoi.h"

namespace rss {

enum PlacemarkLayout {
    PM_CACHE,      // metadata ends with pubDate, [readitem], newitem
    PM_FAVORITE,   // metadata ends with pubDate
    PM_NEW_ITEM,   // pubDate first in the placemark; metadata ends with FileID
};

// Appends (or inserts before reference) the item's placemark; NULL on failure
// (also when the guid cannot be written as text).
XmlElementPtr WritePlacemark(CXmlDocument& xml, XmlNode parent, XmlNode reference,
                             const DOCPI_RSS_ITEM& item, int layout, bool withReadItem);
// Reads a placemark into item (flags left 0); false when it breaks the layout.
bool ReadPlacemark(XmlNode pm, DOCPI_RSS_ITEM& item, int layout);
// An integer child of metadata equal to 1 (exactly the text "1").
bool MetadataFlag(XmlNode pm, const wchar_t* name);
// Sets the root's xmlns attribute.
bool SetNamespace(XmlNode root, const wchar_t* uri);
// The guid text of a placemark's metadata/itemGUID; empty when missing.
CString PlacemarkGuid(XmlNode pm);
// Replaces the Favorite element of the placemark's metadata (appended last).
bool RewriteFavorite(CXmlDocument& xml, XmlNode pm, int favorite);
bool SameText(const CString& a, const CString& b);
// The document's root element written as text lines (CR LF ends each), every
// line extraTabs deeper; with stripRoot only the root's children.
bool FragmentText(const CXmlDocument& document, int extraTabs, bool stripRoot, std::wstring& text);
// A UTF-16LE file (byte-order mark dropped) as text, and back.
bool ReadUtf16File(const wchar_t* path, std::wstring& text);
bool WriteUtf16File(const wchar_t* path, const std::wstring& text);
// Loads a file that will be saved again in UTF-16 (Load keeps the encoding the
// document had before).
XmlElementPtr LoadUtf16(CXmlDocument& xml, const wchar_t* path);

}  // namespace rss
