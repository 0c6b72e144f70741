#pragma once
// The bytes of an XML file as UTF-16 text, before parsing: the byte-order mark
// decides first, then the encoding the declaration names (any code page Windows
// converts: UTF-8, Shift_JIS, ISO-8859-x, windows-125x, ...), and a file without
// either is UTF-8, as XML says. UTF-16 without a mark is told by its first bytes.
#include <string>

// False when the encoding is unknown or cannot be converted here, when the bytes
// are not valid in it, or when the text holds characters XML does not allow
// (control characters other than tab and line ends): never garbage text.
bool XmlDecodeBytes(const std::string& bytes, std::wstring& text);
