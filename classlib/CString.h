#pragma once
// Wide and narrow strings with the operations the program uses: formatting,
// searching, sub-strings, replacing, tokenizing. The buffer is a std::basic_string;
// GetBuffer/ReleaseBuffer give C-style access for Win32 calls.
#include <windows.h>

#include <cstdarg>
#include <string>
#include <string_view>

template <typename Ch>
class CStringT {
public:
    using XCHAR = Ch;
    using PCXSTR = const Ch*;
    using PXSTR = Ch*;

    CStringT() = default;
    CStringT(const Ch* s) : m_s(s ? s : EmptyLiteral()) {}
    CStringT(const Ch* s, int length) : m_s(s ? std::basic_string<Ch>(s, length > 0 ? length : 0) : std::basic_string<Ch>()) {}
    CStringT(Ch c, int repeat = 1) : m_s(repeat > 0 ? repeat : 0, c) {}
    CStringT(const std::basic_string<Ch>& s) : m_s(s) {}
    CStringT(std::basic_string<Ch>&& s) : m_s(std::move(s)) {}
    CStringT(std::basic_string_view<Ch> s) : m_s(s) {}
    // Conversion from the other width through the ANSI code page, as Windows does.
    explicit CStringT(const typename std::conditional<sizeof(Ch) == 1, wchar_t, char>::type* other);

    // Size and access
    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    Ch GetAt(int i) const;            // throws CInvalidArgException out of range
    void SetAt(int i, Ch c);          // throws CInvalidArgException out of range
    Ch operator[](int i) const { return GetAt(i); }
    operator const Ch*() const { return m_s.c_str(); }
    const Ch* GetString() const { return m_s.c_str(); }
    const std::basic_string<Ch>& str() const { return m_s; }

    // C-style buffer: write up to minLength characters, then ReleaseBuffer.
    Ch* GetBuffer(int minLength = 0);
    Ch* GetBufferSetLength(int length);
    // length -1: up to the first NUL.
    void ReleaseBuffer(int newLength = -1);
    void Preallocate(int length) { m_s.reserve(length > 0 ? length : 0); }
    void Truncate(int length) { if (length >= 0 && length < GetLength()) m_s.resize(length); }

    // Assignment and concatenation
    CStringT& operator=(const Ch* s) { m_s = s ? s : EmptyLiteral(); return *this; }
    CStringT& operator=(Ch c) { m_s.assign(1, c); return *this; }
    CStringT& operator+=(const CStringT& s) { m_s += s.m_s; return *this; }
    CStringT& operator+=(const Ch* s) { if (s) m_s += s; return *this; }
    CStringT& operator+=(Ch c) { m_s += c; return *this; }
    void Append(const Ch* s, int length) { if (s && length > 0) m_s.append(s, length); }
    void Append(const Ch* s) { if (s) m_s += s; }
    void AppendChar(Ch c) { m_s += c; }

    // Comparison
    int Compare(const Ch* s) const;
    int CompareNoCase(const Ch* s) const;
    int Collate(const Ch* s) const;
    bool operator==(const CStringT& o) const { return m_s == o.m_s; }
    bool operator==(const Ch* s) const { return Compare(s) == 0; }
    bool operator!=(const CStringT& o) const { return m_s != o.m_s; }
    bool operator!=(const Ch* s) const { return Compare(s) != 0; }
    bool operator<(const CStringT& o) const { return m_s < o.m_s; }

    // Sub-strings (counts and starts are clamped as Windows' class library does)
    CStringT Mid(int first) const;
    CStringT Mid(int first, int count) const;
    CStringT Left(int count) const;
    CStringT Right(int count) const;
    CStringT SpanIncluding(const Ch* set) const;
    CStringT SpanExcluding(const Ch* set) const;

    // Searching: -1 when absent
    int Find(Ch c, int start = 0) const;
    int Find(const Ch* sub, int start = 0) const;
    int ReverseFind(Ch c) const;
    int FindOneOf(const Ch* set) const;

    // Changing in place
    int Replace(Ch from, Ch to);
    int Replace(const Ch* from, const Ch* to);
    int Remove(Ch c);
    int Insert(int index, Ch c);
    int Insert(int index, const Ch* s);
    int Delete(int index, int count = 1);
    CStringT& MakeUpper();
    CStringT& MakeLower();
    CStringT& MakeReverse();
    CStringT& Trim();
    CStringT& Trim(Ch c);
    CStringT& Trim(const Ch* set);
    CStringT& TrimLeft();
    CStringT& TrimLeft(Ch c);
    CStringT& TrimLeft(const Ch* set);
    CStringT& TrimRight();
    CStringT& TrimRight(Ch c);
    CStringT& TrimRight(const Ch* set);

    // Next token after start, split at any character of delims; empty tokens are
    // skipped. start becomes -1 (and the result empty) when no token is left.
    CStringT Tokenize(const Ch* delims, int& start) const;

    // printf-style formatting with Windows' conventions: in wide strings %s is a
    // wide string and %S a narrow one; %I64d and %lld both work.
    void Format(const Ch* fmt, ...);
    void FormatV(const Ch* fmt, va_list args);
    void AppendFormat(const Ch* fmt, ...);
    // Loads string resource id of this module; FALSE when absent.
    BOOL LoadString(UINT id);
    // A BSTR copy (wide strings only); the caller frees it.
    BSTR AllocSysString() const;

private:
    static const Ch* EmptyLiteral();
    static bool InSet(Ch c, const Ch* set);
    std::basic_string<Ch> m_s;
};

template <typename Ch>
CStringT<Ch> operator+(const CStringT<Ch>& a, const CStringT<Ch>& b) { CStringT<Ch> r(a); r += b; return r; }
template <typename Ch>
CStringT<Ch> operator+(const CStringT<Ch>& a, const Ch* b) { CStringT<Ch> r(a); r += b; return r; }
template <typename Ch>
CStringT<Ch> operator+(const Ch* a, const CStringT<Ch>& b) { CStringT<Ch> r(a); r += b; return r; }
template <typename Ch>
CStringT<Ch> operator+(const CStringT<Ch>& a, Ch b) { CStringT<Ch> r(a); r += b; return r; }
template <typename Ch>
CStringT<Ch> operator+(Ch a, const CStringT<Ch>& b) { CStringT<Ch> r(a); r += b; return r; }
template <typename Ch>
bool operator==(const Ch* a, const CStringT<Ch>& b) { return b == a; }
template <typename Ch>
bool operator!=(const Ch* a, const CStringT<Ch>& b) { return b != a; }

extern template class CStringT<wchar_t>;
extern template class CStringT<char>;

using CStringW = CStringT<wchar_t>;
using CStringA = CStringT<char>;
using CString = CStringW;

// Field sub of full, fields separated by sep. FALSE (and dest empty) when full
// has fewer fields; an empty text has one empty field.
BOOL AfxExtractSubString(CString& dest, const wchar_t* full, int sub, wchar_t sep = L'\n');
