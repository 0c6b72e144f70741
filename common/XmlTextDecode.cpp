#include "common/XmlTextDecode.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

const UINT kUtf16 = 1200;  // marks a UTF-16 name; the bytes decide the order

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The encoding named in the declaration at the start of 8-bit text, or empty.
std::string DeclaredEncoding(const std::string& bytes)
{
    if (bytes.compare(0, 5, "<?xml") != 0)
        return {};
    const size_t end = bytes.find("?>");
    if (end == std::string::npos)
        return {};
    const std::string decl = bytes.substr(0, end);
    size_t at = decl.find("encoding");
    if (at == std::string::npos)
        return {};
    at = decl.find_first_of("\"'", at);
    if (at == std::string::npos)
        return {};
    const size_t close = decl.find(decl[at], at + 1);
    if (close == std::string::npos)
        return {};
    return decl.substr(at + 1, close - at - 1);
}

// "1252" from "windows-1252", "cp1252", "ibm850", "x-cp1250"; 0 when name is
// no such form.
UINT NumberAfter(const std::string& name, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    if (name.compare(0, n, prefix) != 0 || name.size() == n || name.size() > n + 5)
        return 0;
    for (size_t i = n; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return 0;
    return static_cast<UINT>(std::atoi(name.c_str() + n));
}

// The Windows code page of an encoding name; 0 when unknown.
UINT CodePageOf(const std::string& encoding)
{
    const std::string name = Lower(encoding);
    static const struct { const char* name; UINT codePage; } table[] = {
        {"utf-8", CP_UTF8}, {"utf8", CP_UTF8},
        {"utf-16", kUtf16}, {"utf-16le", kUtf16}, {"utf-16be", kUtf16}, {"ucs-2", kUtf16}, {"unicode", kUtf16},
        {"shift_jis", 932}, {"shift-jis", 932}, {"sjis", 932}, {"x-sjis", 932}, {"windows-31j", 932},
        {"ms_kanji", 932}, {"csshiftjis", 932},
        {"iso-8859-1", 28591}, {"iso_8859-1", 28591}, {"latin1", 28591}, {"l1", 28591}, {"iso-ir-100", 28591},
        {"us-ascii", 20127}, {"ascii", 20127},
        {"euc-jp", 20932}, {"euc-kr", 949}, {"ks_c_5601-1987", 949}, {"gb2312", 936}, {"gbk", 936},
        {"gb18030", 54936}, {"big5", 950}, {"koi8-r", 20866}, {"koi8-u", 21866}, {"iso-2022-jp", 50220},
        {"utf-7", 65000}, {"macintosh", 10000}, {"tis-620", 874},
    };
    for (const auto& e : table)
        if (name == e.name)
            return e.codePage;
    if (UINT n = NumberAfter(name, "iso-8859-"); n >= 2 && n <= 16)
        return 28590 + n;
    for (const char* prefix : {"windows-", "x-cp", "cp", "ibm"})
        if (UINT n = NumberAfter(name, prefix))
            return n;
    return 0;
}

bool Convert(UINT codePage, const char* data, size_t size, std::wstring& text)
{
    text.clear();
    if (size == 0)
        return true;
    if (size > 0x7FFFFFFF)
        return false;
    DWORD flags = MB_ERR_INVALID_CHARS;
    int n = MultiByteToWideChar(codePage, flags, data, static_cast<int>(size), nullptr, 0);
    if (n <= 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        // Some code pages (the ISO-2022 ones, UTF-7) take no flags.
        flags = 0;
        n = MultiByteToWideChar(codePage, flags, data, static_cast<int>(size), nullptr, 0);
    }
    if (n <= 0)
        return false;
    text.resize(static_cast<size_t>(n));
    return MultiByteToWideChar(codePage, flags, data, static_cast<int>(size), text.data(), n) == n;
}

bool Utf16(const char* data, size_t size, bool bigEndian, std::wstring& text)
{
    if (size % 2)
        return false;
    text.resize(size / 2);
    std::memcpy(text.data(), data, size);
    if (bigEndian)
        for (wchar_t& c : text)
            c = static_cast<wchar_t>(((c & 0xFF) << 8) | ((c >> 8) & 0xFF));
    return true;
}

bool AllowedCharacters(const std::wstring& text)
{
    for (wchar_t c : text)
        if ((c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r') || c == 0xFFFE || c == 0xFFFF)
            return false;
    return true;
}

bool Decode(const std::string& bytes, std::wstring& text)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        return Convert(CP_UTF8, bytes.data() + 3, n - 3, text);
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE)
        return Utf16(bytes.data() + 2, n - 2, false, text);
    if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF)
        return Utf16(bytes.data() + 2, n - 2, true, text);
    // Without a mark: the first character of a UTF-16 file is ASCII ("<" or a
    // blank), so one of its first two bytes is zero.
    if (n >= 2 && b[0] != 0 && b[1] == 0)
        return Utf16(bytes.data(), n, false, text);
    if (n >= 2 && b[0] == 0 && b[1] != 0)
        return Utf16(bytes.data(), n, true, text);

    const std::string declared = DeclaredEncoding(bytes);
    if (declared.empty())
        return Convert(CP_UTF8, bytes.data(), n, text);
    const UINT codePage = CodePageOf(declared);
    // A UTF-16 name on 8-bit bytes is a file that lies about itself.
    if (codePage == 0 || codePage == kUtf16 || !IsValidCodePage(codePage))
        return false;
    return Convert(codePage, bytes.data(), n, text);
}

// Valid UTF-8 without control characters, surrogates or the two non-characters
// XML excludes (U+FFFE, U+FFFF).
bool ValidUtf8(const unsigned char* p, const unsigned char* end)
{
    auto cont = [&](const unsigned char* q) { return q < end && (*q & 0xC0) == 0x80; };
    while (p < end) {
        const unsigned char c = *p;
        if (c >= 0x20 && c < 0x80) {
            ++p;
            continue;
        }
        if (c < 0x20) {
            if (c != '\t' && c != '\n' && c != '\r')
                return false;
            ++p;
        } else if (c >= 0xC2 && c <= 0xDF) {
            if (!cont(p + 1))
                return false;
            p += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            if (!cont(p + 1) || !cont(p + 2) || (c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] > 0x9F) ||
                (c == 0xEF && p[1] == 0xBF && p[2] >= 0xBE))
                return false;
            p += 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            if (!cont(p + 1) || !cont(p + 2) || !cont(p + 3) || (c == 0xF0 && p[1] < 0x90) ||
                (c == 0xF4 && p[1] > 0x8F))
                return false;
            p += 4;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

bool XmlCheckUtf8(const char* bytes, size_t size, bool& utf8, size_t& start)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    const size_t n = size;
    start = 0;
    utf8 = false;
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        start = 3;
        utf8 = true;
    } else if (n >= 2 && (b[0] == 0 || b[1] == 0 || (b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
        return true;  // UTF-16
    } else {
        // The declaration is near the start: no need to copy the whole file.
        const std::string declared = DeclaredEncoding(std::string(bytes, n < 1024 ? n : 1024));
        utf8 = declared.empty() || CodePageOf(declared) == CP_UTF8;
    }
    return !utf8 || ValidUtf8(b + start, b + n);
}

bool XmlDecodeBytes(const std::string& bytes, std::wstring& text)
{
    if (!Decode(bytes, text) || !AllowedCharacters(text)) {
        text.clear();
        return false;
    }
    return true;
}
