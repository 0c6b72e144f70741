#pragma once
// Turns a document into the bytes of an indented XML file: a declaration
// with the encoding's name, then one element per line, each level one tab deeper,
// CR LF line ends. Elements that hold text are written on one line exactly as
// they are (no blanks or line breaks are added inside them).
#include <windows.h>

#include <cwchar>
#include <memory>
#include <string>

#include "common/XmlDocument.h"

// encoding: 0 Shift_JIS (code page 932), 1 UTF-8 (no byte-order mark), 2 or any
// other value UTF-16LE with a byte-order mark. Characters the encoding cannot
// hold are written as character references. FALSE when the document has no root
// element.
BOOL XmlWriteDocument(const CXmlDocument& document, int encoding, std::string& bytes);

// The same file written element by element, without a tree (much faster for
// files of many records): a document written through either has the same bytes.
class CXmlStreamWriter {
public:
    explicit CXmlStreamWriter(int encoding);
    ~CXmlStreamWriter();
    CXmlStreamWriter(const CXmlStreamWriter&) = delete;
    CXmlStreamWriter& operator=(const CXmlStreamWriter&) = delete;

    // An element that holds elements (or none: then it is written "<name/>"),
    // with at most one attribute. The name must stay valid until its end
    // (the program passes literals).
    void StartElement(const wchar_t* name, const wchar_t* attribute = nullptr, const wchar_t* value = nullptr);
    void EndElement();
    // "<name>text</name>" on one line, the text as it is (escaped; line ends
    // as LF, as a text node of a document holds them); an empty text gives "<name></name>".
    void TextElement(const wchar_t* name, const wchar_t* text, size_t length);
    void TextElement(const wchar_t* name, const wchar_t* text) { TextElement(name, text, text ? wcslen(text) : 0); }
    // Room for about this many characters of text, when known beforehand.
    void Reserve(size_t characters);
    // Ends what is still open; the bytes in the encoding.
    BOOL Finish(std::string& bytes);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
