#include "common/XmlDocument.h"

#include <pugixml.hpp>

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>
#include <utility>
#include <vector>

#include "common/FileReplace.h"
#include "common/XmlTextDecode.h"
#include "common/XmlWriter.h"

namespace {

// Larger files are refused rather than read into memory.
const LONGLONG kMaxFileSize = 512LL * 1024 * 1024;

// Comments, processing instructions and a document type are kept so that a
// loaded file is saved with them; entities are never expanded beyond the five
// predefined ones and character references, and nothing outside the file is read.
const unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi |
                               pugi::parse_declaration | pugi::parse_doctype;

pugi::xml_node Node(const XmlNode& n)
{
    return n.Attribute() ? pugi::xml_node() : pugi::xml_node(n.Node());
}

// A file's bytes in memory of pugixml's allocator, so that the parser can take
// the buffer over and free it as soon as it has converted it.
class FileBuffer {
public:
    FileBuffer() = default;
    ~FileBuffer() { Free(); }
    FileBuffer(const FileBuffer&) = delete;
    FileBuffer& operator=(const FileBuffer&) = delete;

    bool Read(LPCWSTR path)
    {
        HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER size;
        bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxFileSize;
        if (ok) {
            m_size = static_cast<size_t>(size.QuadPart);
            m_data = static_cast<char*>(pugi::get_memory_allocation_function()(m_size ? m_size : 1));
            DWORD read = 0;
            ok = m_data && (m_size == 0 || (ReadFile(file, m_data, static_cast<DWORD>(m_size), &read, nullptr) &&
                                            read == m_size));
        }
        CloseHandle(file);
        return ok;
    }
    char* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    // The buffer for the parser, which frees it.
    char* Release() { m_size = 0; return std::exchange(m_data, nullptr); }
    void Free()
    {
        if (m_data)
            pugi::get_memory_deallocation_function()(m_data);
        m_data = nullptr;
        m_size = 0;
    }

private:
    char* m_data = nullptr;
    size_t m_size = 0;
};

// The program's element and attribute names are plain names: a text that is
// none would give a file that does not load again.
bool IsElementName(const wchar_t* name)
{
    if (!name || !*name || iswdigit(*name) || *name == L'-' || *name == L'.')
        return false;
    for (const wchar_t* p = name; *p; ++p)
        if (!(iswalnum(*p) || *p == L'_' || *p == L'-' || *p == L'.' || *p == L':' || *p >= 0x80))
            return false;
    return true;
}

bool IsXmlBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

// One root element, nesting and attribute counts within the bounds. The walk
// uses no recursion, so no shape of file can exhaust the stack.
bool WellShaped(const pugi::xml_document& document)
{
    int roots = 0;
    for (pugi::xml_node n = document.first_child(); n; n = n.next_sibling())
        roots += n.type() == pugi::node_element;
    if (roots != 1)
        return false;
    int depth = 0;
    pugi::xml_node n = document.first_child();
    while (n) {
        if (n.type() == pugi::node_element) {
            int count = 0;
            for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
                if (++count > kXmlMaxAttributes)
                    return false;
        }
        if (pugi::xml_node child = n.first_child()) {
            if (++depth > kXmlMaxDepth)
                return false;
            n = child;
            continue;
        }
        while (n && !n.next_sibling()) {
            n = n.parent();
            --depth;
            if (n == document)
                return true;
        }
        if (n)
            n = n.next_sibling();
    }
    return true;
}

}  // namespace

bool XmlNode::IsElement() const
{
    return m_node && !m_attribute && pugi::xml_node(m_node).type() == pugi::node_element;
}

CXmlDocument::CXmlDocument() : m_document(std::make_unique<pugi::xml_document>()) {}

CXmlDocument::~CXmlDocument() = default;

void CXmlDocument::Close()
{
    m_document.reset();
    m_text.clear();
    m_text.shrink_to_fit();
}

XmlElementPtr CXmlDocument::Create(LPCWSTR rootName, int encoding)
{
    m_encoding = encoding;
    if (!m_document)
        return NULL;
    m_document->reset();
    m_text.clear();
    if (encoding < 0 || encoding > 2 || !IsElementName(rootName))
        return NULL;
    return XmlNode(m_document->append_child(rootName).internal_object());
}

XmlElementPtr CXmlDocument::Load(LPCWSTR path)
{
    if (!m_document || !path || !*path)
        return NULL;
    // A failed load leaves an empty document, as a failed parse always did.
    m_document->reset();
    m_text.clear();
    FileBuffer file;
    bool utf8 = false;
    size_t start = 0;
    if (!file.Read(path) || !XmlCheckUtf8(file.Data(), file.Size(), utf8, start))
        return NULL;
    pugi::xml_parse_result result;
    if (utf8) {
        // pugixml converts UTF-8 itself and frees the bytes before it parses.
        const size_t size = file.Size() - start;
        if (start)
            memmove(file.Data(), file.Data() + start, size);
        result = m_document->load_buffer_inplace_own(file.Release(), size, kParseOptions, pugi::encoding_utf8);
    } else {
        const std::string bytes(file.Data(), file.Size());
        file.Free();
        if (!XmlDecodeBytes(bytes, m_text)) {
            m_text.clear();
            return NULL;
        }
        result = m_document->load_buffer_inplace(m_text.data(), m_text.size() * sizeof(wchar_t), kParseOptions,
                                                 pugi::encoding_wchar);
    }
    if (!result || !WellShaped(*m_document)) {
        m_document->reset();
        m_text.clear();
        return NULL;
    }
    return XmlNode(m_document->document_element().internal_object());
}

BOOL CXmlDocument::Save(LPCWSTR path)
{
    if (!m_document || !path || !*path)
        return FALSE;
    std::string bytes;
    if (!XmlWriteDocument(*this, m_encoding, bytes))
        return FALSE;
    return WriteFileReplacing(path, bytes.data(), bytes.size());
}

XmlElementPtr CXmlDocument::AppendElement(LPCWSTR name, XmlNode parent)
{
    return InsertElementBefore(name, parent, nullptr);
}

XmlElementPtr CXmlDocument::AppendTextElement(LPCWSTR name, XmlNode parent, LPCWSTR text)
{
    XmlElementPtr element = AppendElement(name, parent);
    if (!element || !text)
        return element;
    // A text node holds its line ends as LF, CR LF and CR alike, as a parsed one does.
    std::wstring value;
    if (wcschr(text, L'\r')) {
        for (const wchar_t* p = text; *p; ++p) {
            if (*p == L'\r') {
                value += L'\n';
                if (p[1] == L'\n')
                    ++p;
            } else {
                value += *p;
            }
        }
        text = value.c_str();
    }
    if (!pugi::xml_node(element.Node()).append_child(pugi::node_pcdata).set_value(text))
        return NULL;
    return element;
}

XmlElementPtr CXmlDocument::AppendIntElement(LPCWSTR name, XmlNode parent, int value)
{
    wchar_t text[16];
    swprintf(text, 16, L"%d", value);
    return AppendTextElement(name, parent, text);
}

XmlElementPtr CXmlDocument::InsertElementBefore(LPCWSTR name, XmlNode parent, XmlNode reference)
{
    pugi::xml_node p = Node(parent);
    if (!m_document || !IsElementName(name) || !p || p.type() != pugi::node_element || p.root() != *m_document)
        return NULL;
    pugi::xml_node added;
    if (reference) {
        pugi::xml_node r = Node(reference);
        if (!r || r.parent() != p)
            return NULL;
        added = p.insert_child_before(name, r);
    } else {
        added = p.append_child(name);
    }
    return XmlNode(added.internal_object());
}

BOOL XmlGetNodeName(XmlNode node, CString& name)
{
    if (!node)
        return FALSE;
    if (node.Attribute()) {
        name = pugi::xml_attribute(node.Attribute()).name();
        return TRUE;
    }
    pugi::xml_node n(node.Node());
    switch (n.type()) {
    case pugi::node_element:
    case pugi::node_pi:
        name = n.name();
        break;
    case pugi::node_pcdata: name = L"#text"; break;
    case pugi::node_cdata: name = L"#cdata-section"; break;
    case pugi::node_comment: name = L"#comment"; break;
    case pugi::node_document: name = L"#document"; break;
    case pugi::node_declaration: name = L"xml"; break;
    default: name = n.name(); break;
    }
    return TRUE;
}

namespace {

// Sets text to s without blanks and line breaks at either end, reusing its buffer.
void AssignTrimmed(CString& text, const wchar_t* s, size_t n)
{
    size_t first = 0;
    while (first < n && IsXmlBlank(s[first]))
        ++first;
    while (n > first && IsXmlBlank(s[n - 1]))
        --n;
    text.Empty();
    text.Append(s + first, static_cast<int>(n - first));
}

bool IsText(const pugi::xml_node& n)
{
    return n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata;
}

}  // namespace

BOOL XmlGetNodeText(XmlNode node, CString& text)
{
    if (!node)
        return FALSE;
    if (node.Attribute()) {
        text = pugi::xml_attribute(node.Attribute()).value();
        return TRUE;
    }
    const pugi::xml_node top(node.Node());
    if (top.type() == pugi::node_comment || top.type() == pugi::node_pi) {
        text = top.value();
        return TRUE;
    }
    // The common case, an element holding one text, without a copy.
    const pugi::xml_node only = IsText(top) ? top : top.first_child();
    if (IsText(only) && (only == top || !only.next_sibling())) {
        AssignTrimmed(text, only.value(), wcslen(only.value()));
        return TRUE;
    }
    // The text of every text and CDATA node below, in document order.
    std::wstring all;
    for (pugi::xml_node n = top; n;) {
        if (IsText(n))
            all += n.value();
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n != top && !n.next_sibling())
            n = n.parent();
        n = n == top ? pugi::xml_node() : n.next_sibling();
    }
    AssignTrimmed(text, all.data(), all.size());
    return TRUE;
}

BOOL XmlGetAttribute(XmlNode node, LPCWSTR name, CString& value)
{
    value.Empty();
    pugi::xml_node n = Node(node);
    if (!n || !name || n.type() != pugi::node_element)
        return FALSE;
    pugi::xml_attribute a = n.attribute(name);
    if (!a)
        return FALSE;
    value = a.value();
    return TRUE;
}

BOOL XmlSetAttribute(XmlNode node, LPCWSTR name, LPCWSTR value)
{
    pugi::xml_node n = Node(node);
    if (!n || n.type() != pugi::node_element || !IsElementName(name))
        return FALSE;
    pugi::xml_attribute a = n.attribute(name);
    if (!a)
        a = n.append_attribute(name);
    return a && a.set_value(value ? value : L"");
}

namespace {

bool IsElementNamed(const pugi::xml_node& n, LPCWSTR name)
{
    return n.type() == pugi::node_element && wcscmp(n.name(), name) == 0;
}

}  // namespace

int XmlCountChildElements(XmlNode node, LPCWSTR name)
{
    pugi::xml_node n = Node(node);
    if (!n || !name)
        return 0;
    int count = 0;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        count += IsElementNamed(c, name);
    return count;
}

XmlElementPtr XmlGetChildElement(XmlNode node, LPCWSTR name, int index)
{
    pugi::xml_node n = Node(node);
    if (!n || !name || index < 0)
        return NULL;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (IsElementNamed(c, name) && index-- == 0)
            return XmlNode(c.internal_object());
    return NULL;
}

XmlElementPtr XmlGetNextElement(XmlNode node, LPCWSTR name)
{
    pugi::xml_node n = Node(node);
    if (!n || !name)
        return NULL;
    for (pugi::xml_node c = n.next_sibling(); c; c = c.next_sibling())
        if (IsElementNamed(c, name))
            return XmlNode(c.internal_object());
    return NULL;
}

XmlElementPtr XmlGetFirstElement(XmlNode node)
{
    pugi::xml_node n = Node(node);
    for (pugi::xml_node c = n ? n.first_child() : pugi::xml_node(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            return XmlNode(c.internal_object());
    return NULL;
}

XmlElementPtr XmlGetNextElement(XmlNode node)
{
    pugi::xml_node n = Node(node);
    for (pugi::xml_node c = n ? n.next_sibling() : pugi::xml_node(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            return XmlNode(c.internal_object());
    return NULL;
}

BOOL XmlRemoveChildElement(XmlNode node, LPCWSTR name, int index)
{
    return XmlRemoveChild(node, XmlGetChildElement(node, name, index));
}

BOOL XmlRemoveChild(XmlNode parent, XmlNode child)
{
    pugi::xml_node p = Node(parent), c = Node(child);
    return p && c && c.parent() == p && p.remove_child(c);
}

XmlNodeListPtr XmlSelectNodes(LPCWSTR query, XmlNode node)
{
    pugi::xml_node n = Node(node);
    if (!query || !n)
        return {};
    pugi::xpath_query compiled(query);
    if (!compiled)
        return {};
    pugi::xpath_node_set found = compiled.evaluate_node_set(n);
    // Without exceptions a failed evaluation (out of memory) also gives an empty set.
    if (compiled.result().error)
        return {};
    std::vector<XmlNode> nodes;
    nodes.reserve(found.size());
    for (const pugi::xpath_node& x : found) {
        if (x.attribute())
            nodes.emplace_back(x.parent().internal_object(), x.attribute().internal_object());
        else
            nodes.emplace_back(x.node().internal_object());
    }
    return XmlNodeList(std::move(nodes));
}

XmlNodePtr XmlSelectNode(LPCWSTR query, XmlNode node, int index)
{
    return XmlSelectNodes(query, node).Item(index);
}

XmlElementPtr XmlGetListElement(const XmlNodeList& list, int index)
{
    XmlNode item = list.Item(index);
    return item.IsElement() ? item : XmlNode();
}

BOOL XmlGetChildText(LPCWSTR query, XmlNode node, int index, CString& text)
{
    XmlNodePtr found = XmlSelectNode(query, node, index);
    return found && XmlGetNodeText(found, text);
}

BOOL XmlGetChildInt(XmlNode node, LPCWSTR query, int index, int* value)
{
    CString text;
    if (!value || !XmlGetChildText(query, node, index, text))
        return FALSE;
    *value = static_cast<int>(_wtol(text));
    text.Trim(L'+');
    CString formatted;
    formatted.Format(L"%d", *value);
    return text == formatted;
}
