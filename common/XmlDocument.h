#pragma once
// Every XML file of the program is read and written through CXmlDocument and the
// node helpers below, over MSXML's DOM. No operation lets an error escape: every
// failure becomes a NULL node, FALSE or 0. COM must be initialised on the calling
// thread.
#include <windows.h>
#include <msxml2.h>

#include "classlib/CString.h"
#include "common/XmlPtr.h"

using XmlNodePtr = XmlPtr<IXMLDOMNode>;
using XmlElementPtr = XmlPtr<IXMLDOMElement>;
using XmlNodeListPtr = XmlPtr<IXMLDOMNodeList>;

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
    // well-formed or has no root. The save encoding stays as it was.
    XmlElementPtr Load(LPCWSTR path);
    // Writes the whole document, indented, in the document's encoding. The file is
    // replaced only once the new content is completely written.
    BOOL Save(LPCWSTR path);
    // Releases the DOM; every later operation fails.
    void Close();

    XmlElementPtr AppendElement(LPCWSTR name, IXMLDOMNode* parent);
    XmlElementPtr AppendTextElement(LPCWSTR name, IXMLDOMNode* parent, LPCWSTR text);
    XmlElementPtr AppendIntElement(LPCWSTR name, IXMLDOMNode* parent, int value);
    // Inserts in front of reference, or at the end when reference is NULL.
    XmlElementPtr InsertElementBefore(LPCWSTR name, IXMLDOMNode* parent, IXMLDOMNode* reference);

    int GetEncoding() const { return m_encoding; }
    IXMLDOMDocument* GetDocument() const { return m_document; }

private:
    BOOL LoadText(const wchar_t* text, size_t length);

    int m_encoding = XML_SHIFT_JIS;
    XmlPtr<IXMLDOMDocument> m_document;
};

BOOL XmlGetNodeName(IXMLDOMNode* node, CString& name);
// All text below the node; FALSE (text unchanged) when it cannot be read.
BOOL XmlGetNodeText(IXMLDOMNode* node, CString& text);
// FALSE with value emptied when the attribute is missing or unreadable.
BOOL XmlGetAttribute(IXMLDOMNode* node, LPCWSTR name, CString& value);
// Direct children whose node name equals name exactly.
int XmlCountChildElements(IXMLDOMNode* node, LPCWSTR name);
// The index-th (from 0) direct child element named name; other kinds of children
// (text, comments, processing instructions) are passed over.
XmlElementPtr XmlGetChildElement(IXMLDOMNode* node, LPCWSTR name, int index);
BOOL XmlRemoveChildElement(IXMLDOMNode* node, LPCWSTR name, int index);
XmlNodeListPtr XmlSelectNodes(LPCWSTR query, IXMLDOMNode* node);
XmlNodePtr XmlSelectNode(LPCWSTR query, IXMLDOMNode* node, int index);
// The index-th item when it is an element.
XmlElementPtr XmlGetListElement(IXMLDOMNodeList* list, int index);
BOOL XmlGetChildText(LPCWSTR query, IXMLDOMNode* node, int index, CString& text);
// TRUE when the text is exactly a decimal number ("+5" passes, "05", "5.0", " 5"
// and "" do not); *value is set whenever the text could be read.
BOOL XmlGetChildInt(IXMLDOMNode* node, LPCWSTR query, int index, int* value);
