#include "doc/RssText.h"

#include <rpc.h>

#include <cmath>
#include <cwchar>
#include <cwctype>

#include "common/TextCheck.h"
#include "common/WebUtil.h"
#include "common/XmlWriter.h"
#include "core/Global.h"
#include "doc/PoiRecord.h"

namespace rss {

CString Shown(CString text, int maxLength)
{
    wchar_t* buf = text.GetBuffer();
    ReplaceCharsNotOfClass(buf, theGlobal.m_naviModel.m_modelGroup);
    text.ReleaseBuffer();
    if (maxLength > 0 && text.GetLength() > maxLength)
        text.Truncate(maxLength);
    return text;
}

CString CoordinatesText(double lon, double lat)
{
    // A position that is no number is no position; never "nan" in a file.
    if (!std::isfinite(lon) || !std::isfinite(lat))
        lon = lat = POI_NO_POSITION;
    CString text;
    AppendDotFixed6(text, lon);
    text += L',';
    AppendDotFixed6(text, lat);
    return text;
}

CString GuidText(const GUID& guid)
{
    CString text;
    RPC_WSTR s = nullptr;
    UUID copy = guid;
    if (UuidToStringW(&copy, &s) == RPC_S_OK && s) {
        text = reinterpret_cast<wchar_t*>(s);
        RpcStringFreeW(&s);
    }
    return text;
}

BOOL GuidFromText(const CString& text, GUID* guid)
{
    UUID id{};
    CString copy = text;
    if (copy.GetLength() != 36 ||
        UuidFromStringW(reinterpret_cast<RPC_WSTR>(copy.GetBuffer()), &id) != RPC_S_OK) {
        copy.ReleaseBuffer();
        return FALSE;
    }
    copy.ReleaseBuffer();
    *guid = id;
    return TRUE;
}

LONGLONG ReadInt64(const CString& text)
{
    return _wcstoi64(text, nullptr, 10);
}

std::vector<XmlElementPtr> ChildElements(XmlNode node, const wchar_t* name)
{
    std::vector<XmlElementPtr> found;
    for (XmlElementPtr child = XmlGetChildElement(node, name, 0); child; child = XmlGetNextElement(child, name))
        found.push_back(child);
    return found;
}

bool ChildText(XmlNode node, const wchar_t* name, CString& text)
{
    XmlElementPtr child = XmlGetChildElement(node, name, 0);
    return child && XmlGetNodeText(child, text);
}

}  // namespace rss
