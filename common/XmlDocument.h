#pragma once
// Every XML file of the program is read and written through CXmlDocument and the
// node helpers below. No operation lets an error escape: every failure becomes an
// empty node, FALSE or 0. A document is used on one thread at a time.
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "classlib/CString.h"

namespace pugi {
struct xml_node_struct;
struct xml_attribute_struct;
class xml_document;
}  // namespace pugi

// A handle on one node of a document: an element, a text, a comment, or an
// attribute found by a query. It is valid while its document holds the node; an
// empty handle is the failure value of every helper. Copies are cheap.
class XmlNode {
public:
    XmlNode() = default;
    XmlNode(std::nullptr_t) {}
    explicit XmlNode(pugi::xml_node_struct* node) : m_node(node) {}
    XmlNode(pugi::xml_node_struct* owner, pugi::xml_attribute_struct* attribute)
        : m_node(owner), m_attribute(attribute) {}

    explicit operator bool() const { return m_node != nullptr; }
    bool operator==(const XmlNode& o) const { return m_node == o.m_node && m_attribute == o.m_attribute; }

    // The node itself (for an attribute: the element that holds it).
    pugi::xml_node_struct* Node() const { return m_node; }
    // The attribute when the handle is one, else NULL.
    pugi::xml_attribute_struct* Attribute() const { return m_attribute; }
    bool IsElement() const;

private:
    pugi::xml_node_struct* m_node = nullptr;
    pugi::xml_attribute_struct* m_attribute = nullptr;
};

// The nodes a query selected, in document order. Empty (false) when the query
// failed; a query that matched nothing gives a valid list of length 0.
class XmlNodeList {
public:
    XmlNodeList() = default;
    explicit XmlNodeList(std::vector<XmlNode> nodes) : m_nodes(std::move(nodes)), m_valid(true) {}
    explicit operator bool() const { return m_valid; }
    int GetLength() const { return static_cast<int>(m_nodes.size()); }
    XmlNode Item(int index) const
    {
        return index >= 0 && index < GetLength() ? m_nodes[static_cast<size_t>(index)] : XmlNode();
    }

private:
    std::vector<XmlNode> m_nodes;
    bool m_valid = false;
};

using XmlNodePtr = XmlNode;
using XmlElementPtr = XmlNode;
using XmlNodeListPtr = XmlNodeList;

// Encodings of a saved document.
enum XmlEncoding { XML_SHIFT_JIS = 0, XML_UTF8 = 1, XML_UTF16 = 2 };

class CXmlDocument {
public:
    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Replaces the content with an empty root element; encoding 0 Shift_JIS,
    // 1 UTF-8, 2 UTF-16 is used by later saves. Another encoding gives NULL.
    XmlElementPtr Create(LPCWSTR rootName, int encoding);
    // Replaces the content with the file's; NULL when it is missing, not
    // well-formed, in an encoding that cannot be read, beyond the input bounds
    // or has no root. The save encoding stays as it was.
    XmlElementPtr Load(LPCWSTR path);
    // Writes the whole document, indented, in the document's encoding. The file is
    // replaced only once the new content is completely written.
    BOOL Save(LPCWSTR path);
    // Releases the content; every later operation fails.
    void Close();

    XmlElementPtr AppendElement(LPCWSTR name, XmlNode parent);
    XmlElementPtr AppendTextElement(LPCWSTR name, XmlNode parent, LPCWSTR text);
    XmlElementPtr AppendIntElement(LPCWSTR name, XmlNode parent, int value);
    // Inserts in front of reference, or at the end when reference is NULL.
    XmlElementPtr InsertElementBefore(LPCWSTR name, XmlNode parent, XmlNode reference);

    int GetEncoding() const { return m_encoding; }
    // The tree, for the writer; NULL after Close.
    const pugi::xml_document* GetDocument() const { return m_document.get(); }

private:
    int m_encoding = XML_SHIFT_JIS;
    std::unique_ptr<pugi::xml_document> m_document;
    // The text the tree was parsed from: its strings point into it.
    std::wstring m_text;
};

// Input bounds: files with deeper nesting or more attributes on one element are
// refused (no real file of the program comes near them).
constexpr int kXmlMaxAttributes = 512;
constexpr int kXmlMaxDepth = 512;

BOOL XmlGetNodeName(XmlNode node, CString& name);
// All text below the node, without blanks and line breaks at either end (an
// attribute's value exactly); FALSE (text unchanged) when there is no node.
BOOL XmlGetNodeText(XmlNode node, CString& text);
// FALSE with value emptied when the attribute is missing or unreadable.
BOOL XmlGetAttribute(XmlNode node, LPCWSTR name, CString& value);
// Sets (or adds) an attribute of an element; FALSE when node is no element or
// name is no valid name.
BOOL XmlSetAttribute(XmlNode node, LPCWSTR name, LPCWSTR value);
// Direct children whose node name equals name exactly.
int XmlCountChildElements(XmlNode node, LPCWSTR name);
// The index-th (from 0) direct child element named name; other kinds of children
// (text, comments, processing instructions) are passed over.
XmlElementPtr XmlGetChildElement(XmlNode node, LPCWSTR name, int index);
// The next sibling element named name after node (a walk over many children).
XmlElementPtr XmlGetNextElement(XmlNode node, LPCWSTR name);
// The first child element, and the next sibling element, of any name.
XmlElementPtr XmlGetFirstElement(XmlNode node);
XmlElementPtr XmlGetNextElement(XmlNode node);
BOOL XmlRemoveChildElement(XmlNode node, LPCWSTR name, int index);
// Removes child (with everything below it) from parent.
BOOL XmlRemoveChild(XmlNode parent, XmlNode child);
XmlNodeListPtr XmlSelectNodes(LPCWSTR query, XmlNode node);
XmlNodePtr XmlSelectNode(LPCWSTR query, XmlNode node, int index);
// The index-th item when it is an element.
XmlElementPtr XmlGetListElement(const XmlNodeList& list, int index);
BOOL XmlGetChildText(LPCWSTR query, XmlNode node, int index, CString& text);
// TRUE when the text is exactly a decimal number ("+5" passes, "05", "5.0", " 5"
// and "" do not); *value is set whenever the text could be read.
BOOL XmlGetChildInt(XmlNode node, LPCWSTR query, int index, int* value);
