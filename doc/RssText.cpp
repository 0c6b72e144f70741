#include "doc/RssText.h"

#include <rpc.h>

#include <cwchar>
#include <cwctype>

#include "common/TextCheck.h"
#include "common/WebUtil.h"
#include "common/XmlWriter.h"
#include "core/Global.h"

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
    CString x, y, text;
    x.Format(L"%11.6f", lon);
    y.Format(L"%11.6f", lat);
    x.Remove(L' ');
    y.Remove(L' ');
    LocaleDecimalToDot(x);
    LocaleDecimalToDot(y);
    text.Format(L"%s,%s", x.GetString(), y.GetString());
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

BOOL IsWebAddress(const wchar_t* text)
{
    return text && (_wcsnicmp(text, L"http://", 7) == 0 || _wcsnicmp(text, L"https://", 8) == 0);
}

std::vector<XmlElementPtr> ChildElements(IXMLDOMNode* node, const wchar_t* name)
{
    std::vector<XmlElementPtr> found;
    XmlNodePtr child;
    if (!node || FAILED(node->get_firstChild(child.Receive())))
        return found;
    while (child) {
        DOMNodeType type = NODE_INVALID;
        CString nodeName;
        if (SUCCEEDED(child->get_nodeType(&type)) && type == NODE_ELEMENT && XmlGetNodeName(child, nodeName) &&
            nodeName == name)
            found.push_back(child.As<IXMLDOMElement>(kIidXmlDomElement));
        XmlNodePtr next;
        if (FAILED(child->get_nextSibling(next.Receive())))
            break;
        child = next;
    }
    return found;
}

bool ChildText(IXMLDOMNode* node, const wchar_t* name, CString& text)
{
    XmlElementPtr child = XmlGetChildElement(node, name, 0);
    return child && XmlGetNodeText(child, text);
}

}  // namespace rss
