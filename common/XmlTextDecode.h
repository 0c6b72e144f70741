#pragma once
// The bytes of an XML file as UTF-16 text, before parsing: the byte-order mark
// decides first, then the encoding the declaration names (any code page Windows
// converts: UTF-8, Shift_JIS, ISO-8859-x, windows-125x, ...), and a file without
// either is UTF-8, as XML says. UTF-16 without a mark is told by its first bytes.
#include <cstddef>
#include <string>

// Files in UTF-8 are handed to the parser as they are (it converts them faster
// than a separate pass): true with start at the first byte after any mark when
// bytes are valid UTF-8 of allowed characters; utf8 false when the file is in
// another encoding (then XmlDecodeBytes). False for broken UTF-8.
bool XmlCheckUtf8(const char* bytes, size_t size, bool& utf8, size_t& start);

// False when the encoding is unknown or cannot be converted here, when the bytes
// are not valid in it, or when the text holds characters XML does not allow
// (control characters other than tab and line ends): never garbage text.
bool XmlDecodeBytes(const std::string& bytes, std::wstring& text);
