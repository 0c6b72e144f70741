#include "doc/RssPlacemark.h"

#include <cstring>

#include "common/FileReplace.h"
#include "common/FileUtil.h"
#include "common/XmlWriter.h"
#include "doc/RssText.h"

namespace rss {

bool ReadUtf16Bytes(const std::string& bytes, std::wstring& text);

bool SetNamespace(XmlNode root, const wchar_t* uri)
{
    return XmlSetAttribute(root, L"xmlns", uri) != FALSE;
}

XmlElementPtr WritePlacemark(CXmlDocument& xml, XmlNode parent, XmlNode reference,
                             const DOCPI_RSS_ITEM& item, int layout, bool withReadItem)
{
    CString guid = GuidText(item.guid);
    if (guid.IsEmpty())
        return NULL;
    XmlElementPtr pm = xml.InsertElementBefore(L"Placemark", parent, reference);
    if (!pm)
        return NULL;
    CString date;
    date.Format(L"%lld", item.pubDate);
    bool ok = true;
    if (layout == PM_NEW_ITEM)
        ok = xml.AppendTextElement(L"pubDate", pm, date) != nullptr;
    ok = ok && xml.AppendTextElement(L"name", pm, item.poi.name) &&
         xml.AppendTextElement(L"address", pm, item.poi.address) &&
         xml.AppendTextElement(L"telephone", pm, item.poi.telephone) &&
         xml.AppendTextElement(L"description", pm, item.poi.description);
    XmlElementPtr point = ok ? xml.AppendElement(L"Point", pm) : XmlElementPtr();
    ok = ok && point &&
         xml.AppendTextElement(L"coordinates", point, CoordinatesText(item.poi.longitude, item.poi.latitude));
    XmlElementPtr metadata = ok ? xml.AppendElement(L"metadata", pm) : XmlElementPtr();
    ok = ok && metadata && xml.AppendTextElement(L"itemlink", metadata, item.itemLink) &&
         xml.AppendTextElement(L"imagelink", metadata, item.imageLink) &&
         xml.AppendTextElement(L"itemGUID", metadata, guid) &&
         xml.AppendTextElement(L"Favorite", metadata, item.favorite == 1 ? L"1" : L"0") &&
         xml.AppendIntElement(L"FileID", metadata, item.fileId);
    if (ok && layout != PM_NEW_ITEM)
        ok = xml.AppendTextElement(L"pubDate", metadata, date) != nullptr;
    if (ok && layout == PM_CACHE) {
        if (withReadItem)
            ok = xml.AppendIntElement(L"readitem", metadata, item.readItem) != nullptr;
        ok = ok && xml.AppendIntElement(L"newitem", metadata, item.newItem);
    }
    return ok ? pm : XmlElementPtr();
}

bool MetadataFlag(XmlNode pm, const wchar_t* name)
{
    XmlElementPtr metadata = XmlGetChildElement(pm, L"metadata", 0);
    int value = 0;
    return metadata && XmlGetChildInt(metadata, name, 0, &value) && value == 1;
}

bool ReadPlacemark(XmlNode pm, DOCPI_RSS_ITEM& item, int layout)
{
    item = DOCPI_RSS_ITEM{};
    XmlElementPtr metadata = XmlGetChildElement(pm, L"metadata", 0);
    if (!metadata)
        return false;
    CString text;
    if (XmlCountChildElements(pm, L"name") != 1 || !ChildText(pm, L"name", text))
        return false;
    CopyField(item.poi.name, Shown(text, 64));
    if (ChildText(pm, L"address", text))
        CopyField(item.poi.address, Shown(text, 128));
    if (ChildText(pm, L"telephone", text))
        CopyField(item.poi.telephone, Shown(text, 64));
    if (ChildText(pm, L"description", text))
        CopyField(item.poi.description, Shown(text, 64));
    XmlElementPtr point = XmlGetChildElement(pm, L"Point", 0);
    if (!point || XmlCountChildElements(point, L"coordinates") != 1 || !ChildText(point, L"coordinates", text))
        return false;
    ParseCoordinatesText(text, &item.poi);
    if (item.poi.longitude < -180.0 || item.poi.longitude > 180.0 || item.poi.latitude < -90.0 ||
        item.poi.latitude > 90.0)
        item.poi.longitude = item.poi.latitude = POI_NO_POSITION;
    if (ChildText(metadata, L"itemlink", text))
        CopyField(item.itemLink, text.Left(256));
    if (ChildText(metadata, L"imagelink", text))
        CopyField(item.imageLink, text.Left(256));
    if (XmlGetChildElement(metadata, L"itemGUID", 0)) {
        if (!ChildText(metadata, L"itemGUID", text) || !GuidFromText(text, &item.guid))
            return false;
    }
    if (ChildText(metadata, L"Favorite", text))
        item.favorite = _wtoi(text) == 1 ? 1 : 0;
    if (ChildText(metadata, L"FileID", text))
        item.fileId = _wtoi(text);
    if (ChildText(layout == PM_NEW_ITEM ? pm : metadata, L"pubDate", text))
        item.pubDate = ReadInt64(text);
    item.check = 1;
    return true;
}

CString PlacemarkGuid(XmlNode pm)
{
    CString text;
    XmlElementPtr metadata = XmlGetChildElement(pm, L"metadata", 0);
    if (!metadata || !ChildText(metadata, L"itemGUID", text))
        text.Empty();
    return text;
}

bool RewriteFavorite(CXmlDocument& xml, XmlNode pm, int favorite)
{
    XmlElementPtr metadata = XmlGetChildElement(pm, L"metadata", 0);
    if (!metadata || !XmlRemoveChildElement(metadata, L"Favorite", 0))
        return false;
    CString text;
    text.Format(L"%d", favorite);
    return xml.AppendTextElement(L"Favorite", metadata, text) != nullptr;
}

bool SameText(const CString& a, const CString& b)
{
    return CompareStringW(LOCALE_USER_DEFAULT, 0, a, -1, b, -1) == CSTR_EQUAL;
}

bool FragmentText(const CXmlDocument& document, int extraTabs, bool stripRoot, std::wstring& text)
{
    std::string bytes;
    std::wstring all;
    if (!XmlWriteDocument(document, XML_UTF16, bytes) || !ReadUtf16Bytes(bytes, all))
        return false;
    std::vector<std::wstring> lines;
    for (size_t at = 0; at < all.size();) {
        size_t end = all.find(L"\r\n", at);
        if (end == std::wstring::npos)
            end = all.size();
        lines.push_back(all.substr(at, end - at));
        at = end + 2;
    }
    // The declaration, then the root's lines.
    size_t first = 1, last = lines.size();
    if (stripRoot) {
        ++first;
        --last;
    }
    if (lines.size() < 2 || first > last)
        return false;
    text.clear();
    for (size_t i = first; i < last; ++i) {
        text.append(static_cast<size_t>(extraTabs), L'\t');
        text += lines[i];
        text += L"\r\n";
    }
    return true;
}

bool ReadUtf16Bytes(const std::string& bytes, std::wstring& text)
{
    size_t skip = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                          static_cast<unsigned char>(bytes[1]) == 0xFE
                      ? 2
                      : 0;
    if ((bytes.size() - skip) % 2)
        return false;
    text.assign((bytes.size() - skip) / 2, L'\0');
    memcpy(text.data(), bytes.data() + skip, text.size() * sizeof(wchar_t));
    return true;
}

bool ReadUtf16File(const wchar_t* path, std::wstring& text)
{
    std::string bytes;
    return ReadWholeFile(path, bytes) && ReadUtf16Bytes(bytes, text);
}

bool WriteUtf16File(const wchar_t* path, const std::wstring& text)
{
    std::string out("\xFF\xFE", 2);
    out.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return WriteFileReplacing(path, out.data(), out.size()) != FALSE;
}

XmlElementPtr LoadUtf16(CXmlDocument& xml, const wchar_t* path)
{
    if (!xml.Create(L"kml", XML_UTF16))
        return NULL;
    return xml.Load(path);
}

}  // namespace rss
