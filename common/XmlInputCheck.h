#pragma once
// Bounds on XML input before it reaches the platform's parser, which takes
// minutes over some shapes no real file has (one element with 100,000
// attributes or namespace declarations, a comment that never closes). Files
// the program opens and texts a feed sends are refused before parsing when:
// - a comment, CDATA section, processing instruction, declaration or tag is
//   never closed;
// - an element has more than kXmlMaxAttributes attributes (namespace
//   declarations count);
// - elements nest deeper than kXmlMaxDepth.
#include <cstddef>
#include <string>

constexpr int kXmlMaxAttributes = 512;
constexpr int kXmlMaxDepth = 512;

// The bytes of a file as stored (UTF-8, an ANSI or Shift_JIS code page, or
// UTF-16 with or without its byte-order mark).
bool XmlBytesWithinBounds(const std::string& bytes);
// Text already in UTF-16.
bool XmlTextWithinBounds(const wchar_t* text, size_t length);
