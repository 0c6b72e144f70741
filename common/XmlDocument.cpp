#include "common/XmlDocument.h"

#include <shlwapi.h>

#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "common/FileReplace.h"
#include "common/XmlInputCheck.h"
#include "common/XmlWriter.h"

namespace {

// MSXML 3's DOM document.
const CLSID kClsidDomDocument = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
const UINT kShiftJisCodePage = 932;
// Larger files are refused rather than read into memory.
const LONGLONG kMaxFileSize = 512LL * 1024 * 1024;

class Bstr {
public:
    explicit Bstr(const wchar_t* s = nullptr) : m_s(s ? SysAllocString(s) : nullptr) {}
    Bstr(const wchar_t* s, size_t n) : m_s(SysAllocStringLen(s, static_cast<UINT>(n))) {}
    ~Bstr() { SysFreeString(m_s); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return m_s; }
    BSTR* Receive() { SysFreeString(m_s); m_s = nullptr; return &m_s; }
    const wchar_t* Data() const { return m_s ? m_s : L""; }
    size_t Length() const { return SysStringLen(m_s); }
private:
    BSTR m_s = nullptr;
};

XmlElementPtr DocumentElement(IXMLDOMDocument* document)
{
    XmlElementPtr root;
    if (!document || document->get_documentElement(root.Receive()) != S_OK)
        root.Release();
    return root;
}

bool ReadWholeFile(LPCWSTR path, std::string& bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxFileSize;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                               read == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

// The encoding named in the declaration of bytes, or empty. Only files without a
// byte-order mark can be Shift_JIS, so only those are looked at.
std::string DeclaredEncoding(const std::string& bytes)
{
    if (bytes.compare(0, 5, "<?xml") != 0)
        return {};
    size_t end = bytes.find("?>");
    if (end == std::string::npos)
        return {};
    std::string decl = bytes.substr(0, end);
    size_t at = decl.find("encoding");
    if (at == std::string::npos)
        return {};
    at = decl.find_first_of("\"'", at);
    if (at == std::string::npos)
        return {};
    size_t close = decl.find(decl[at], at + 1);
    if (close == std::string::npos)
        return {};
    return decl.substr(at + 1, close - at - 1);
}

bool IsShiftJisName(const std::string& name)
{
    static const char* const names[] = {"shift_jis", "shift-jis", "sjis", "x-sjis", "windows-31j", "cp932", "ms_kanji",
                                        "csshiftjis"};
    for (const char* n : names)
        if (_stricmp(name.c_str(), n) == 0)
            return true;
    return false;
}

// Text handed to loadXML is already UTF-16, so its declaration must say so: MSXML
// refuses names it does not know (Shift_JIS among them) even there.
std::wstring DeclareUtf16(const wchar_t* text, size_t length)
{
    std::wstring s(text, length);
    if (s.compare(0, 5, L"<?xml") != 0)
        return s;
    size_t end = s.find(L"?>");
    size_t at = s.find(L"encoding");
    if (end == std::wstring::npos || at == std::wstring::npos || at > end)
        return s;
    at = s.find_first_of(L"\"'", at);
    if (at == std::wstring::npos || at > end)
        return s;
    size_t close = s.find(s[at], at + 1);
    if (close == std::wstring::npos || close > end)
        return s;
    s.replace(at + 1, close - at - 1, L"UTF-16");
    return s;
}

// MSXML here accepts any text as an element name, and the saved file would then
// not load again; the names the program uses are plain ASCII names.
bool IsElementName(const wchar_t* name)
{
    if (!name || !*name || iswdigit(*name) || *name == L'-' || *name == L'.')
        return false;
    for (const wchar_t* p = name; *p; ++p)
        if (!(iswalnum(*p) || *p == L'_' || *p == L'-' || *p == L'.' || *p == L':' || *p >= 0x80))
            return false;
    return true;
}

}  // namespace

CXmlDocument::CXmlDocument()
{
    XmlPtr<IUnknown> unknown;
    if (FAILED(CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_ALL, IID_IUnknown,
                                reinterpret_cast<void**>(unknown.Receive()))) ||
        !unknown)
        return;
    if (FAILED(OleRun(unknown)))
        return;
    m_document = unknown.As<IXMLDOMDocument>(kIidXmlDomDocument);
}

CXmlDocument::~CXmlDocument() = default;

void CXmlDocument::Close()
{
    m_document.Release();
}

BOOL CXmlDocument::LoadText(const wchar_t* text, size_t length)
{
    if (!m_document)
        return FALSE;
    if (!XmlTextWithinBounds(text, length))
        return FALSE;
    Bstr xml(DeclareUtf16(text, length).c_str());
    VARIANT_BOOL ok = VARIANT_FALSE;
    return m_document->loadXML(xml, &ok) == S_OK && ok == VARIANT_TRUE;
}

XmlElementPtr CXmlDocument::Create(LPCWSTR rootName, int encoding)
{
    m_encoding = encoding;
    static const wchar_t* const names[] = {L"Shift_JIS", L"UTF-8", L"UTF-16"};
    CString text;
    if (rootName && encoding >= 0 && encoding <= 2)
        text.Format(L"<?xml version=\"1.0\" encoding=\"%s\" ?>\n<%s/>", names[encoding], rootName);
    if (!LoadText(text, text.GetLength()))
        return NULL;
    return DocumentElement(m_document);
}

XmlElementPtr CXmlDocument::Load(LPCWSTR path)
{
    if (!m_document || !path || !*path)
        return NULL;
    if (FAILED(m_document->put_async(VARIANT_FALSE)))
        return NULL;
    std::string bytes;
    if (!ReadWholeFile(path, bytes) || bytes.size() > 0x7FFFFFFF)
        return NULL;
    // Shapes the parser takes minutes over are refused first.
    if (!XmlBytesWithinBounds(bytes))
        return NULL;

    if (IsShiftJisName(DeclaredEncoding(bytes))) {
        // MSXML here knows no Shift_JIS: decode through code page 932 ourselves.
        int n = MultiByteToWideChar(kShiftJisCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                    static_cast<int>(bytes.size()), nullptr, 0);
        if (n <= 0)
            return NULL;
        std::wstring text(static_cast<size_t>(n), L'\0');
        MultiByteToWideChar(kShiftJisCodePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                            text.data(), n);
        if (!LoadText(text.data(), text.size()))
            return NULL;
        return DocumentElement(m_document);
    }

    // Every other file goes to MSXML as bytes, so that it reads the encoding
    // itself and the path is never taken for a URL.
    XmlPtr<IStream> stream;
    *stream.Receive() = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    if (!stream)
        return NULL;
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_UNKNOWN;
    source.punkVal = stream;
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (m_document->load(source, &ok) != S_OK || ok != VARIANT_TRUE)
        return NULL;
    return DocumentElement(m_document);
}

BOOL CXmlDocument::Save(LPCWSTR path)
{
    if (!m_document || !path || !*path)
        return FALSE;
    std::string bytes;
    if (!XmlWriteDocument(m_document, m_encoding, bytes))
        return FALSE;
    return WriteFileReplacing(path, bytes.data(), bytes.size());
}

XmlElementPtr CXmlDocument::AppendElement(LPCWSTR name, IXMLDOMNode* parent)
{
    return InsertElementBefore(name, parent, nullptr);
}

XmlElementPtr CXmlDocument::AppendTextElement(LPCWSTR name, IXMLDOMNode* parent, LPCWSTR text)
{
    XmlElementPtr element = AppendElement(name, parent);
    if (!element || !text)
        return element;
    XmlPtr<IXMLDOMText> node;
    XmlNodePtr added;
    Bstr value(text);
    if (m_document->createTextNode(value, node.Receive()) != S_OK || !node ||
        element->appendChild(node, added.Receive()) != S_OK)
        return NULL;
    return element;
}

XmlElementPtr CXmlDocument::AppendIntElement(LPCWSTR name, IXMLDOMNode* parent, int value)
{
    wchar_t text[16];
    swprintf(text, 16, L"%d", value);
    return AppendTextElement(name, parent, text);
}

XmlElementPtr CXmlDocument::InsertElementBefore(LPCWSTR name, IXMLDOMNode* parent, IXMLDOMNode* reference)
{
    if (!m_document || !IsElementName(name) || !parent)
        return NULL;
    XmlElementPtr element;
    Bstr tag(name);
    if (m_document->createElement(tag, element.Receive()) != S_OK || !element)
        return NULL;
    VARIANT before;
    VariantInit(&before);
    if (reference) {
        before.vt = VT_UNKNOWN;
        before.punkVal = reference;
    }
    XmlNodePtr inserted;
    if (parent->insertBefore(element, before, inserted.Receive()) != S_OK)
        return NULL;
    return element;
}

BOOL XmlGetNodeName(IXMLDOMNode* node, CString& name)
{
    Bstr s;
    if (!node || node->get_nodeName(s.Receive()) != S_OK)
        return FALSE;
    name = CString(s.Data(), static_cast<int>(s.Length()));
    return TRUE;
}

BOOL XmlGetNodeText(IXMLDOMNode* node, CString& text)
{
    Bstr s;
    if (!node || node->get_text(s.Receive()) != S_OK)
        return FALSE;
    text = CString(s.Data(), static_cast<int>(s.Length()));
    return TRUE;
}

BOOL XmlGetAttribute(IXMLDOMNode* node, LPCWSTR name, CString& value)
{
    value.Empty();
    XmlPtr<IXMLDOMNamedNodeMap> attributes;
    if (!node || !name || node->get_attributes(attributes.Receive()) != S_OK || !attributes)
        return FALSE;
    XmlNodePtr attribute;
    Bstr key(name);
    if (attributes->getNamedItem(key, attribute.Receive()) != S_OK || !attribute)
        return FALSE;
    return XmlGetNodeText(attribute, value);
}

namespace {

// Calls visit(child) for each direct child until it returns false.
template <typename Visit>
bool ForEachChild(IXMLDOMNode* node, Visit visit)
{
    XmlNodePtr child;
    if (!node || FAILED(node->get_firstChild(child.Receive())))
        return false;
    while (child) {
        if (!visit(child.Get()))
            return true;
        XmlNodePtr next;
        if (FAILED(child->get_nextSibling(next.Receive())))
            return false;
        child = next;
    }
    return true;
}

bool NameIs(IXMLDOMNode* node, LPCWSTR name)
{
    Bstr s;
    return node->get_nodeName(s.Receive()) == S_OK && wcscmp(s.Data(), name) == 0;
}

}  // namespace

int XmlCountChildElements(IXMLDOMNode* node, LPCWSTR name)
{
    if (!name)
        return 0;
    int count = 0;
    if (!ForEachChild(node, [&](IXMLDOMNode* child) { count += NameIs(child, name); return true; }))
        return 0;
    return count;
}

XmlElementPtr XmlGetChildElement(IXMLDOMNode* node, LPCWSTR name, int index)
{
    XmlElementPtr found;
    if (!name || index < 0)
        return found;
    int seen = 0;
    ForEachChild(node, [&](IXMLDOMNode* child) {
        DOMNodeType type;
        if (FAILED(child->get_nodeType(&type)) || type != NODE_ELEMENT || !NameIs(child, name))
            return true;
        if (seen++ < index)
            return true;
        found = XmlNodePtr(child).As<IXMLDOMElement>(kIidXmlDomElement);
        return false;
    });
    return found;
}

BOOL XmlRemoveChildElement(IXMLDOMNode* node, LPCWSTR name, int index)
{
    XmlElementPtr child = XmlGetChildElement(node, name, index);
    XmlNodePtr removed;
    return child && node->removeChild(child, removed.Receive()) == S_OK;
}

XmlNodeListPtr XmlSelectNodes(LPCWSTR query, IXMLDOMNode* node)
{
    XmlNodeListPtr list;
    Bstr q(query);
    if (!query || !node || node->selectNodes(q, list.Receive()) != S_OK)
        list.Release();
    return list;
}

XmlNodePtr XmlSelectNode(LPCWSTR query, IXMLDOMNode* node, int index)
{
    XmlNodeListPtr list = XmlSelectNodes(query, node);
    long length = 0;
    XmlNodePtr item;
    if (!list || index < 0 || list->get_length(&length) != S_OK || index >= length ||
        list->get_item(index, item.Receive()) != S_OK)
        item.Release();
    return item;
}

XmlElementPtr XmlGetListElement(IXMLDOMNodeList* list, int index)
{
    long length = 0;
    XmlNodePtr item;
    if (!list || index < 0 || list->get_length(&length) != S_OK || index >= length ||
        list->get_item(index, item.Receive()) != S_OK)
        return NULL;
    return item.As<IXMLDOMElement>(kIidXmlDomElement);
}

BOOL XmlGetChildText(LPCWSTR query, IXMLDOMNode* node, int index, CString& text)
{
    XmlNodePtr found = XmlSelectNode(query, node, index);
    return found && XmlGetNodeText(found, text);
}

BOOL XmlGetChildInt(IXMLDOMNode* node, LPCWSTR query, int index, int* value)
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
