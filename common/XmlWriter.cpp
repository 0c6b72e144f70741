#include "common/XmlWriter.h"

#include <cstdint>
#include <memory>
#include <cwchar>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

namespace {

const UINT kShiftJisCodePage = 932;

// Characters XML 1.0 allows in content (surrogate pairs are checked by the caller).
bool IsXmlChar(wchar_t c)
{
    return c >= 0x20 ? (c < 0xFFFE) : (c == L'\t' || c == L'\n' || c == L'\r');
}

// The text of an indented XML file and its encoding into bytes: shared by the
// tree walk and the element-by-element writer, so both give the same bytes.
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

    BOOL WriteDocument(const pugi::xml_document& document);

private:
    void WriteNode(const pugi::xml_node& node, int depth, bool indented);
    void WriteElement(const pugi::xml_node& node, int depth, bool indented);
};

BOOL DomWriter::WriteDocument(const pugi::xml_document& document)
{
    if (!document.document_element())
        return FALSE;
    Declaration();
    for (pugi::xml_node child = document.first_child(); child; child = child.next_sibling()) {
        // The declaration is ours; a document type is written as it was read.
        if (child.type() == pugi::node_declaration)
            continue;
        if (child.type() == pugi::node_doctype) {
            m_out += L"<!DOCTYPE ";
            Append(child.value(), wcslen(child.value()), Raw);
            m_out += L'>';
            NewLine();
        } else {
            WriteNode(child, 0, true);
        }
    }
    return TRUE;
}

void DomWriter::WriteNode(const pugi::xml_node& node, int depth, bool indented)
{
    const pugi::xml_node_type type = node.type();
    if (type == pugi::node_element) {
        WriteElement(node, depth, indented);
        return;
    }
    const wchar_t* v = node.value();
    const size_t n = wcslen(v);
    switch (type) {
    case pugi::node_pcdata:
        Append(v, n, InText);
        break;
    case pugi::node_cdata: {
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
    case pugi::node_comment:
    case pugi::node_pi:
        if (indented)
            Indent(depth);
        m_out += type == pugi::node_comment ? L"<!--" : L"<?";
        if (type == pugi::node_pi) {
            m_out += node.name();
            if (n)
                m_out += L' ';
        }
        Append(v, n, Raw);
        m_out += type == pugi::node_comment ? L"-->" : L"?>";
        if (indented)
            NewLine();
        break;
    default:
        break;
    }
}

void DomWriter::WriteElement(const pugi::xml_node& node, int depth, bool indented)
{
    if (indented)
        Indent(depth);
    m_out += L'<';
    m_out += node.name();
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        m_out += L' ';
        m_out += a.name();
        m_out += L"=\"";
        Append(a.value(), wcslen(a.value()), InAttribute);
        m_out += L'"';
    }
    const pugi::xml_node first = node.first_child();
    if (!first) {
        m_out += L"/>";
        if (indented)
            NewLine();
        return;
    }
    // Text anywhere among the children: write them all on this line, as they are,
    // so that no blank or line break joins the text.
    bool childrenIndented = indented;
    for (pugi::xml_node c = first; c && childrenIndented; c = c.next_sibling())
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
            childrenIndented = false;
    m_out += L'>';
    if (childrenIndented)
        NewLine();
    for (pugi::xml_node c = first; c; c = c.next_sibling())
        WriteNode(c, depth + 1, childrenIndented);
    if (childrenIndented)
        Indent(depth);
    m_out += L"</";
    m_out += node.name();
    m_out += L'>';
    if (indented)
        NewLine();
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

BOOL XmlWriteDocument(const CXmlDocument& document, int encoding, std::string& bytes)
{
    bytes.clear();
    DomWriter writer(encoding);
    if (!document.GetDocument() || !writer.WriteDocument(*document.GetDocument()))
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
        // A text node of a document holds its line ends as LF (CR LF and CR alike):
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
