#include "common/XmlWriter.h"

#include <cstdint>
#include <memory>
#include <cwchar>
#include <string_view>
#include <utility>
#include <vector>

#include "common/XmlPtr.h"

using XmlNodePtr = XmlPtr<IXMLDOMNode>;

const IID kIidXmlDomNode = {0x2933BF80, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidXmlDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidXmlDomElement = {0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidXmlDomProcessingInstruction = {0x2933BF89, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

namespace {

const UINT kShiftJisCodePage = 932;

// A BSTR that frees itself.
class Bstr {
public:
    Bstr() = default;
    ~Bstr() { SysFreeString(m_s); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR* Receive() { SysFreeString(m_s); m_s = nullptr; return &m_s; }
    const wchar_t* Data() const { return m_s ? m_s : L""; }
    size_t Length() const { return SysStringLen(m_s); }
private:
    BSTR m_s = nullptr;
};

// Characters XML 1.0 allows in content (surrogate pairs are checked by the caller).
bool IsXmlChar(wchar_t c)
{
    return c >= 0x20 ? (c < 0xFFFE) : (c == L'\t' || c == L'\n' || c == L'\r');
}

// The text of an indented XML file and its encoding into bytes: shared by the
// DOM walk and the element-by-element writer, so both give the same bytes.
class XmlOutput {
public:
    enum Escape { InText, InAttribute, Raw };

    explicit XmlOutput(int encoding) : m_encoding(encoding) {}

    void Declaration()
    {
        static const wchar_t* const names[] = {L"Shift_JIS", L"UTF-8", L"UTF-16"};
        const wchar_t* name = m_encoding >= 0 && m_encoding <= 2 ? names[m_encoding] : names[2];
        m_out += L"<?xml version=\"1.0\" encoding=\"";
        m_out += name;
        m_out += L"\" standalone=\"no\"?>\r\n";
    }
    void Indent(int depth) { m_out.append(static_cast<size_t>(depth), L'\t'); }
    void NewLine() { m_out += L"\r\n"; }
    void Append(const wchar_t* s, size_t n, Escape escape);
    void AppendReference(unsigned code);
    bool Representable(wchar_t c);
    BOOL Encode(std::string& bytes) const;

    int m_encoding;
    std::wstring m_out;
    // Shift_JIS only: per UTF-16 unit, 0 not known yet, 1 code page 932 holds it, 2 not.
    std::vector<std::uint8_t> m_sjis;
};

class DomWriter : public XmlOutput {
public:
    explicit DomWriter(int encoding) : XmlOutput(encoding) {}

    BOOL WriteDocument(IXMLDOMDocument* document);

private:
    BOOL WriteNode(IXMLDOMNode* node, int depth, bool indented);
    BOOL WriteElement(IXMLDOMNode* node, int depth, bool indented);
    BOOL WriteAttributes(IXMLDOMNode* node);
};

BOOL DomWriter::WriteDocument(IXMLDOMDocument* document)
{
    XmlPtr<IXMLDOMElement> root;
    if (!document || document->get_documentElement(root.Receive()) != S_OK || !root)
        return FALSE;
    Declaration();

    XmlNodePtr child;
    if (FAILED(document->get_firstChild(child.Receive())))
        return FALSE;
    while (child) {
        DOMNodeType type;
        if (FAILED(child->get_nodeType(&type)))
            return FALSE;
        bool declaration = false;
        if (type == NODE_PROCESSING_INSTRUCTION) {
            Bstr target;
            declaration = SUCCEEDED(child->get_nodeName(target.Receive())) && wcscmp(target.Data(), L"xml") == 0;
        }
        // The declaration is ours; a document type is written as MSXML gives it.
        if (type == NODE_DOCUMENT_TYPE) {
            Bstr xml;
            if (FAILED(child->get_xml(xml.Receive())))
                return FALSE;
            Append(xml.Data(), xml.Length(), Raw);
            NewLine();
        } else if (!declaration && !WriteNode(child, 0, true)) {
            return FALSE;
        }
        XmlNodePtr next;
        if (FAILED(child->get_nextSibling(next.Receive())))
            return FALSE;
        child = next;
    }
    return TRUE;
}

BOOL DomWriter::WriteNode(IXMLDOMNode* node, int depth, bool indented)
{
    DOMNodeType type;
    if (FAILED(node->get_nodeType(&type)))
        return FALSE;
    if (type == NODE_ELEMENT)
        return WriteElement(node, depth, indented);

    Bstr name;
    VARIANT value;
    VariantInit(&value);
    if (FAILED(node->get_nodeName(name.Receive())) || FAILED(node->get_nodeValue(&value)))
        return FALSE;
    const wchar_t* v = value.vt == VT_BSTR && value.bstrVal ? value.bstrVal : L"";
    size_t n = value.vt == VT_BSTR ? SysStringLen(value.bstrVal) : 0;
    switch (type) {
    case NODE_TEXT:
        Append(v, n, InText);
        break;
    case NODE_CDATA_SECTION: {
        // "]]>" cannot stand in a section: split it across two sections.
        m_out += L"<![CDATA[";
        std::wstring_view rest(v, n);
        for (size_t at; (at = rest.find(L"]]>")) != std::wstring_view::npos; rest.remove_prefix(at + 2)) {
            Append(rest.data(), at + 2, Raw);
            m_out += L"]]><![CDATA[";
        }
        Append(rest.data(), rest.size(), Raw);
        m_out += L"]]>";
        break;
    }
    case NODE_ENTITY_REFERENCE:
        m_out += L'&';
        m_out += name.Data();
        m_out += L';';
        break;
    case NODE_COMMENT:
    case NODE_PROCESSING_INSTRUCTION:
        if (indented)
            Indent(depth);
        m_out += type == NODE_COMMENT ? L"<!--" : L"<?";
        if (type == NODE_PROCESSING_INSTRUCTION) {
            m_out += name.Data();
            if (n)
                m_out += L' ';
        }
        Append(v, n, Raw);
        m_out += type == NODE_COMMENT ? L"-->" : L"?>";
        if (indented)
            NewLine();
        break;
    default:
        break;
    }
    VariantClear(&value);
    return TRUE;
}

BOOL DomWriter::WriteElement(IXMLDOMNode* node, int depth, bool indented)
{
    Bstr name;
    if (FAILED(node->get_nodeName(name.Receive())))
        return FALSE;
    if (indented)
        Indent(depth);
    m_out += L'<';
    m_out += name.Data();
    if (!WriteAttributes(node))
        return FALSE;

    XmlNodePtr first;
    if (FAILED(node->get_firstChild(first.Receive())))
        return FALSE;
    if (!first) {
        m_out += L"/>";
        if (indented)
            NewLine();
        return TRUE;
    }
    // Text anywhere among the children: write them all on this line, as they are,
    // so that no blank or line break joins the text.
    bool childrenIndented = indented;
    for (XmlNodePtr c = first; c && childrenIndented;) {
        DOMNodeType type;
        if (FAILED(c->get_nodeType(&type)))
            return FALSE;
        if (type == NODE_TEXT || type == NODE_CDATA_SECTION || type == NODE_ENTITY_REFERENCE)
            childrenIndented = false;
        XmlNodePtr next;
        if (FAILED(c->get_nextSibling(next.Receive())))
            return FALSE;
        c = next;
    }
    m_out += L'>';
    if (childrenIndented)
        NewLine();
    for (XmlNodePtr c = first; c;) {
        if (!WriteNode(c, depth + 1, childrenIndented))
            return FALSE;
        XmlNodePtr next;
        if (FAILED(c->get_nextSibling(next.Receive())))
            return FALSE;
        c = next;
    }
    if (childrenIndented)
        Indent(depth);
    m_out += L"</";
    m_out += name.Data();
    m_out += L'>';
    if (indented)
        NewLine();
    return TRUE;
}

BOOL DomWriter::WriteAttributes(IXMLDOMNode* node)
{
    XmlPtr<IXMLDOMNamedNodeMap> attributes;
    if (FAILED(node->get_attributes(attributes.Receive())))
        return FALSE;
    if (!attributes)
        return TRUE;
    long count = 0;
    if (FAILED(attributes->get_length(&count)))
        return FALSE;
    std::vector<std::pair<std::wstring, std::wstring>> list;
    bool missing = false;
    // Wine's map also counts such a declaration in its indexes without handing it
    // out, so the items are read until the map says there are no more.
    for (long i = 0, got = 0; got < count && i <= 2 * count; ++i) {
        XmlNodePtr attribute;
        HRESULT hr = attributes->get_item(i, attribute.Receive());
        if (hr == S_FALSE)
            break;
        if (hr != S_OK || !attribute) {
            missing = true;
            continue;
        }
        ++got;
        Bstr name;
        VARIANT value;
        VariantInit(&value);
        if (FAILED(attribute->get_nodeName(name.Receive())) || FAILED(attribute->get_nodeValue(&value)) ||
            (value.vt != VT_BSTR && FAILED(VariantChangeType(&value, &value, 0, VT_BSTR)))) {
            VariantClear(&value);
            return FALSE;
        }
        list.emplace_back(name.Data(), std::wstring(value.bstrVal ? value.bstrVal : L"", SysStringLen(value.bstrVal)));
        VariantClear(&value);
    }
    if (missing) {
        // Wine's attribute map cannot hand out a default namespace declaration
        // (xmlns="..."); the element's own namespace tells what it was.
        Bstr name, uri;
        if (FAILED(node->get_nodeName(name.Receive())) || FAILED(node->get_namespaceURI(uri.Receive())))
            return FALSE;
        if (!wcschr(name.Data(), L':') && uri.Length())
            list.emplace(list.begin(), L"xmlns", std::wstring(uri.Data(), uri.Length()));
    }
    for (const auto& [name, value] : list) {
        m_out += L' ';
        m_out += name;
        m_out += L"=\"";
        Append(value.data(), value.size(), InAttribute);
        m_out += L'"';
    }
    return TRUE;
}

void XmlOutput::AppendReference(unsigned code)
{
    wchar_t ref[16];
    swprintf(ref, 16, L"&#x%X;", code);
    m_out += ref;
}

bool XmlOutput::Representable(wchar_t c)
{
    if (m_encoding != 0 || c < 0x80)
        return true;
    if (m_sjis.empty())
        m_sjis.assign(0x10000, 0);
    std::uint8_t& known = m_sjis[c];
    if (!known) {
        char bytes[4];
        BOOL usedDefault = FALSE;
        int n = WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, sizeof bytes, nullptr,
                                    &usedDefault);
        known = n > 0 && !usedDefault ? 1 : 2;
    }
    return known == 1;
}

void XmlOutput::Append(const wchar_t* s, size_t n, Escape escape)
{
    m_out.reserve(m_out.size() + n);
    for (size_t i = 0; i < n; ++i) {
        // A run of characters written as they are goes in one piece.
        size_t run = i;
        while (run < n) {
            const wchar_t c = s[run];
            if (c < 0x20 || c >= 0xD800 || (c >= 0x80 && m_encoding == 0) ||
                (escape != Raw && (c == L'&' || c == L'<' || c == L'>' || c == L'"')))
                break;
            ++run;
        }
        if (run > i) {
            m_out.append(s + i, run - i);
            i = run;
            if (i == n)
                break;
        }
        wchar_t c = s[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            // A pair is one character; a lone half cannot be written at all.
            if (c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                if (escape != Raw && m_encoding == 0) {
                    AppendReference(0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00));
                } else {
                    m_out += c;
                    m_out += s[i + 1];
                }
                ++i;
            } else {
                m_out += L'?';
            }
            continue;
        }
        if (!IsXmlChar(c)) {
            m_out += L'?';
            continue;
        }
        if (escape != Raw) {
            switch (c) {
            case L'&': m_out += L"&amp;"; continue;
            case L'<': m_out += L"&lt;"; continue;
            case L'>': m_out += L"&gt;"; continue;
            case L'\r': m_out += L"&#13;"; continue;
            default: break;
            }
            if (escape == InAttribute) {
                switch (c) {
                case L'"': m_out += L"&quot;"; continue;
                case L'\t': m_out += L"&#9;"; continue;
                case L'\n': m_out += L"&#10;"; continue;
                default: break;
                }
            }
            if (!Representable(c)) {
                AppendReference(c);
                continue;
            }
        }
        m_out += c;
    }
}

bool EncodeText(const std::wstring& text, UINT codePage, std::string& bytes)
{
    bytes.clear();
    if (text.empty())
        return true;
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return false;
    bytes.resize(static_cast<size_t>(n));
    return WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                               nullptr) == n;
}

BOOL XmlOutput::Encode(std::string& bytes) const
{
    if (m_encoding == 0)
        return EncodeText(m_out, kShiftJisCodePage, bytes);
    if (m_encoding == 1)
        return EncodeText(m_out, CP_UTF8, bytes);
    bytes.clear();
    bytes.reserve(2 + m_out.size() * 2);
    bytes += "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(m_out.data()), m_out.size() * sizeof(wchar_t));
    return TRUE;
}

}  // namespace

BOOL XmlWriteDocument(IXMLDOMDocument* document, int encoding, std::string& bytes)
{
    bytes.clear();
    DomWriter writer(encoding);
    if (!writer.WriteDocument(document))
        return FALSE;
    return writer.Encode(bytes);
}

struct CXmlStreamWriter::Impl : XmlOutput {
    explicit Impl(int encoding) : XmlOutput(encoding) {}
    std::vector<const wchar_t*> open;  // names of the elements begun and not ended
    bool tagOpen = false;            // the last start tag still lacks its ">"
    void CloseTag()
    {
        if (tagOpen) {
            m_out += L'>';
            NewLine();
            tagOpen = false;
        }
    }
};

CXmlStreamWriter::CXmlStreamWriter(int encoding) : m(std::make_unique<Impl>(encoding))
{
    m->Declaration();
}

CXmlStreamWriter::~CXmlStreamWriter() = default;

void CXmlStreamWriter::StartElement(const wchar_t* name, const wchar_t* attribute, const wchar_t* value)
{
    m->CloseTag();
    m->Indent(static_cast<int>(m->open.size()));
    m->m_out += L'<';
    m->m_out += name;
    if (attribute) {
        m->m_out += L' ';
        m->m_out += attribute;
        m->m_out += L"=\"";
        m->Append(value ? value : L"", value ? wcslen(value) : 0, XmlOutput::InAttribute);
        m->m_out += L'"';
    }
    m->open.push_back(name);
    m->tagOpen = true;
}

void CXmlStreamWriter::TextElement(const wchar_t* name, const wchar_t* text, size_t length)
{
    m->CloseTag();
    m->Indent(static_cast<int>(m->open.size()));
    m->m_out += L'<';
    m->m_out += name;
    m->m_out += L'>';
    if (text && std::wmemchr(text, L'\r', length)) {
        // A text node of the DOM holds its line ends as LF (CR LF and CR alike):
        // the same here, so that both writers give the same bytes.
        std::wstring normal;
        normal.reserve(length);
        for (size_t i = 0; i < length; ++i) {
            if (text[i] == L'\r') {
                normal += L'\n';
                if (i + 1 < length && text[i + 1] == L'\n')
                    ++i;
            } else {
                normal += text[i];
            }
        }
        m->Append(normal.data(), normal.size(), XmlOutput::InText);
    } else {
        m->Append(text, length, XmlOutput::InText);
    }
    m->m_out += L"</";
    m->m_out += name;
    m->m_out += L'>';
    m->NewLine();
}

void CXmlStreamWriter::Reserve(size_t characters)
{
    m->m_out.reserve(characters);
}

void CXmlStreamWriter::EndElement()
{
    if (m->open.empty())
        return;
    if (m->tagOpen) {
        m->m_out += L"/>";
        m->tagOpen = false;
    } else {
        m->Indent(static_cast<int>(m->open.size()) - 1);
        m->m_out += L"</";
        m->m_out += m->open.back();
        m->m_out += L'>';
    }
    m->NewLine();
    m->open.pop_back();
}

BOOL CXmlStreamWriter::Finish(std::string& bytes)
{
    while (!m->open.empty())
        EndElement();
    return m->Encode(bytes);
}
