#include "doc/RssPlacemark.h"

#include "doc/RssText.h"

namespace rss {

bool SetNamespace(IXMLDOMElement* root, const wchar_t* uri)
{
    VARIANT ns;
    VariantInit(&ns);
    ns.vt = VT_BSTR;
    ns.bstrVal = SysAllocString(uri);
    BSTR name = SysAllocString(L"xmlns");
    bool ok = root && ns.bstrVal && name && SUCCEEDED(root->setAttribute(name, ns));
    SysFreeString(name);
    VariantClear(&ns);
    return ok;
}

XmlElementPtr WritePlacemark(CXmlDocument& xml, IXMLDOMNode* parent, IXMLDOMNode* reference,
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

bool MetadataFlag(IXMLDOMNode* pm, const wchar_t* name)
{
    XmlElementPtr metadata = XmlGetChildElement(pm, L"metadata", 0);
    int value = 0;
    return metadata && XmlGetChildInt(metadata, name, 0, &value) && value == 1;
}

bool ReadPlacemark(IXMLDOMNode* pm, DOCPI_RSS_ITEM& item, int layout)
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
    if (ChildText(layout == PM_NEW_ITEM ? pm : static_cast<IXMLDOMNode*>(metadata), L"pubDate", text))
        item.pubDate = ReadInt64(text);
    item.check = 1;
    return true;
}

CString PlacemarkGuid(IXMLDOMNode* pm)
{
    CString text;
    XmlElementPtr metadata = XmlGetChildElement(pm, L"metadata", 0);
    if (!metadata || !ChildText(metadata, L"itemGUID", text))
        text.Empty();
    return text;
}

bool RewriteFavorite(CXmlDocument& xml, IXMLDOMNode* pm, int favorite)
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

XmlElementPtr LoadUtf16(CXmlDocument& xml, const wchar_t* path)
{
    if (!xml.Create(L"kml", XML_UTF16))
        return NULL;
    return xml.Load(path);
}

}  // namespace rss
