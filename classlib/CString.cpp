#include "classlib/CString.h"

#include "classlib/CArray.h"
#include "classlib/Exceptions.h"

#include <oleauto.h>

#include <algorithm>
#include <cwctype>
#include <vector>

namespace {

// Windows' own printf family (msvcrt), so %s follows the width of the format.
int FormatCount(const wchar_t* fmt, va_list args) { return _vscwprintf(fmt, args); }
int FormatCount(const char* fmt, va_list args) { return _vscprintf(fmt, args); }
int FormatInto(wchar_t* buf, size_t n, const wchar_t* fmt, va_list args) { return _vsnwprintf(buf, n, fmt, args); }
int FormatInto(char* buf, size_t n, const char* fmt, va_list args) { return _vsnprintf(buf, n, fmt, args); }

wchar_t Upper(wchar_t c) { return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c))))); }
wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c))))); }
char Upper(char c) { return static_cast<char>(reinterpret_cast<UINT_PTR>(CharUpperA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(static_cast<unsigned char>(c)))))); }
char Lower(char c) { return static_cast<char>(reinterpret_cast<UINT_PTR>(CharLowerA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(static_cast<unsigned char>(c)))))); }

bool IsSpace(wchar_t c) { return std::iswspace(c) != 0; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int CompareI(const wchar_t* a, const wchar_t* b) { return _wcsicmp(a, b); }
int CompareI(const char* a, const char* b) { return _stricmp(a, b); }
int CollateC(const wchar_t* a, const wchar_t* b) { return wcscoll(a, b); }
int CollateC(const char* a, const char* b) { return strcoll(a, b); }

std::wstring Widen(const char* s)
{
    int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::wstring out(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_ACP, 0, s, -1, out.data(), n);
    return out;
}

std::string Narrow(const wchar_t* s)
{
    int n = WideCharToMultiByte(CP_ACP, 0, s, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_ACP, 0, s, -1, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

template <typename Ch>
const Ch* CStringT<Ch>::EmptyLiteral()
{
    static const Ch empty[1] = {0};
    return empty;
}

template <typename Ch>
CStringT<Ch>::CStringT(const typename std::conditional<sizeof(Ch) == 1, wchar_t, char>::type* other)
{
    if (!other)
        return;
    if constexpr (sizeof(Ch) == 1)
        m_s = Narrow(other);
    else
        m_s = Widen(other);
}

template <typename Ch>
bool CStringT<Ch>::InSet(Ch c, const Ch* set)
{
    for (; set && *set; ++set)
        if (*set == c)
            return true;
    return false;
}

template <typename Ch>
Ch CStringT<Ch>::GetAt(int i) const
{
    if (i < 0 || i >= GetLength())
        AfxThrowInvalidArgException();
    return m_s[i];
}

template <typename Ch>
void CStringT<Ch>::SetAt(int i, Ch c)
{
    if (i < 0 || i >= GetLength())
        AfxThrowInvalidArgException();
    m_s[i] = c;
}

template <typename Ch>
Ch* CStringT<Ch>::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_s.resize(minLength);
    return m_s.data();
}

template <typename Ch>
Ch* CStringT<Ch>::GetBufferSetLength(int length)
{
    m_s.resize(length > 0 ? length : 0);
    return m_s.data();
}

template <typename Ch>
void CStringT<Ch>::ReleaseBuffer(int newLength)
{
    if (newLength < 0) {
        size_t nul = m_s.find(Ch(0));
        if (nul != std::basic_string<Ch>::npos)
            m_s.resize(nul);
    } else if (newLength <= GetLength()) {
        m_s.resize(newLength);
    }
}

template <typename Ch>
int CStringT<Ch>::Compare(const Ch* s) const
{
    return m_s.compare(s ? s : EmptyLiteral());
}

template <typename Ch>
int CStringT<Ch>::CompareNoCase(const Ch* s) const
{
    return CompareI(m_s.c_str(), s ? s : EmptyLiteral());
}

template <typename Ch>
int CStringT<Ch>::Collate(const Ch* s) const
{
    return CollateC(m_s.c_str(), s ? s : EmptyLiteral());
}

template <typename Ch>
CStringT<Ch> CStringT<Ch>::Mid(int first) const
{
    return Mid(first, GetLength());
}

template <typename Ch>
CStringT<Ch> CStringT<Ch>::Mid(int first, int count) const
{
    if (first < 0)
        first = 0;
    if (count < 0)
        count = 0;
    if (first >= GetLength())
        return CStringT();
    if (count > GetLength() - first)
        count = GetLength() - first;
    return CStringT(m_s.substr(first, count));
}

template <typename Ch>
CStringT<Ch> CStringT<Ch>::Left(int count) const
{
    if (count <= 0)
        return CStringT();
    return CStringT(m_s.substr(0, std::min(count, GetLength())));
}

template <typename Ch>
CStringT<Ch> CStringT<Ch>::Right(int count) const
{
    if (count <= 0)
        return CStringT();
    if (count >= GetLength())
        return *this;
    return CStringT(m_s.substr(GetLength() - count));
}

template <typename Ch>
CStringT<Ch> CStringT<Ch>::SpanIncluding(const Ch* set) const
{
    int i = 0;
    while (i < GetLength() && InSet(m_s[i], set))
        ++i;
    return Left(i);
}

template <typename Ch>
CStringT<Ch> CStringT<Ch>::SpanExcluding(const Ch* set) const
{
    int i = 0;
    while (i < GetLength() && !InSet(m_s[i], set))
        ++i;
    return Left(i);
}

template <typename Ch>
int CStringT<Ch>::Find(Ch c, int start) const
{
    if (start < 0 || start >= GetLength())
        return -1;
    size_t p = m_s.find(c, start);
    return p == std::basic_string<Ch>::npos ? -1 : static_cast<int>(p);
}

template <typename Ch>
int CStringT<Ch>::Find(const Ch* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength())
        return -1;
    size_t p = m_s.find(sub, start);
    return p == std::basic_string<Ch>::npos ? -1 : static_cast<int>(p);
}

template <typename Ch>
int CStringT<Ch>::ReverseFind(Ch c) const
{
    size_t p = m_s.rfind(c);
    return p == std::basic_string<Ch>::npos ? -1 : static_cast<int>(p);
}

template <typename Ch>
int CStringT<Ch>::FindOneOf(const Ch* set) const
{
    if (!set)
        return -1;
    size_t p = m_s.find_first_of(set);
    return p == std::basic_string<Ch>::npos ? -1 : static_cast<int>(p);
}

template <typename Ch>
int CStringT<Ch>::Replace(Ch from, Ch to)
{
    int n = 0;
    for (auto& c : m_s)
        if (c == from) {
            c = to;
            ++n;
        }
    return n;
}

template <typename Ch>
int CStringT<Ch>::Replace(const Ch* from, const Ch* to)
{
    if (!from || !*from)
        return 0;
    std::basic_string<Ch> f(from), t(to ? to : EmptyLiteral());
    // Built anew in one pass: replacing in place moves the rest of the
    // string at every match.
    int n = 0;
    size_t p = 0, done = 0;
    std::basic_string<Ch> out;
    while ((p = m_s.find(f, done)) != std::basic_string<Ch>::npos) {
        if (n == 0)
            out.reserve(m_s.size());
        out.append(m_s, done, p - done);
        out += t;
        done = p + f.size();
        ++n;
    }
    if (n) {
        out.append(m_s, done, std::basic_string<Ch>::npos);
        m_s.swap(out);
    }
    return n;
}

template <typename Ch>
int CStringT<Ch>::Remove(Ch c)
{
    size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), c), m_s.end());
    return static_cast<int>(before - m_s.size());
}

template <typename Ch>
int CStringT<Ch>::Insert(int index, Ch c)
{
    index = std::clamp(index, 0, GetLength());
    m_s.insert(m_s.begin() + index, c);
    return GetLength();
}

template <typename Ch>
int CStringT<Ch>::Insert(int index, const Ch* s)
{
    index = std::clamp(index, 0, GetLength());
    if (s)
        m_s.insert(index, s);
    return GetLength();
}

template <typename Ch>
int CStringT<Ch>::Delete(int index, int count)
{
    if (index < 0)
        index = 0;
    if (count > 0 && index < GetLength())
        m_s.erase(index, std::min(count, GetLength() - index));
    return GetLength();
}

template <typename Ch>
CStringT<Ch>& CStringT<Ch>::MakeUpper()
{
    for (auto& c : m_s)
        c = Upper(c);
    return *this;
}

template <typename Ch>
CStringT<Ch>& CStringT<Ch>::MakeLower()
{
    for (auto& c : m_s)
        c = Lower(c);
    return *this;
}

template <typename Ch>
CStringT<Ch>& CStringT<Ch>::MakeReverse()
{
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

template <typename Ch>
CStringT<Ch>& CStringT<Ch>::TrimLeft()
{
    size_t i = 0;
    while (i < m_s.size() && IsSpace(m_s[i]))
        ++i;
    m_s.erase(0, i);
    return *this;
}

template <typename Ch>
CStringT<Ch>& CStringT<Ch>::TrimRight()
{
    size_t n = m_s.size();
    while (n > 0 && IsSpace(m_s[n - 1]))
        --n;
    m_s.resize(n);
    return *this;
}

template <typename Ch>
CStringT<Ch>& CStringT<Ch>::TrimLeft(const Ch* set)
{
    size_t i = 0;
    while (i < m_s.size() && InSet(m_s[i], set))
        ++i;
    m_s.erase(0, i);
    return *this;
}

template <typename Ch>
CStringT<Ch>& CStringT<Ch>::TrimRight(const Ch* set)
{
    size_t n = m_s.size();
    while (n > 0 && InSet(m_s[n - 1], set))
        --n;
    m_s.resize(n);
    return *this;
}

template <typename Ch>
CStringT<Ch>& CStringT<Ch>::TrimLeft(Ch c) { Ch set[2] = {c, 0}; return TrimLeft(set); }
template <typename Ch>
CStringT<Ch>& CStringT<Ch>::TrimRight(Ch c) { Ch set[2] = {c, 0}; return TrimRight(set); }
template <typename Ch>
CStringT<Ch>& CStringT<Ch>::Trim() { TrimRight(); return TrimLeft(); }
template <typename Ch>
CStringT<Ch>& CStringT<Ch>::Trim(Ch c) { TrimRight(c); return TrimLeft(c); }
template <typename Ch>
CStringT<Ch>& CStringT<Ch>::Trim(const Ch* set) { TrimRight(set); return TrimLeft(set); }

template <typename Ch>
CStringT<Ch> CStringT<Ch>::Tokenize(const Ch* delims, int& start) const
{
    if (start < 0 || start >= GetLength()) {
        start = -1;
        return CStringT();
    }
    int i = start;
    while (i < GetLength() && InSet(m_s[i], delims))
        ++i;
    if (i >= GetLength()) {
        start = -1;
        return CStringT();
    }
    int j = i;
    while (j < GetLength() && !InSet(m_s[j], delims))
        ++j;
    start = j + 1;
    return CStringT(m_s.substr(i, j - i));
}

template <typename Ch>
void CStringT<Ch>::FormatV(const Ch* fmt, va_list args)
{
    if (!fmt)
        AfxThrowInvalidArgException();
    va_list count;
    va_copy(count, args);
    int n = FormatCount(fmt, count);
    va_end(count);
    if (n < 0)
        AfxThrowInvalidArgException();
    std::vector<Ch> buf(static_cast<size_t>(n) + 1);
    FormatInto(buf.data(), buf.size(), fmt, args);
    m_s.assign(buf.data(), n);
}

template <typename Ch>
void CStringT<Ch>::Format(const Ch* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

template <typename Ch>
void CStringT<Ch>::AppendFormat(const Ch* fmt, ...)
{
    CStringT more;
    va_list args;
    va_start(args, fmt);
    more.FormatV(fmt, args);
    va_end(args);
    m_s += more.m_s;
}

template <typename Ch>
BOOL CStringT<Ch>::LoadString(UINT id)
{
    const wchar_t* res = nullptr;
    int n = ::LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&res), 0);
    if (n <= 0 || !res)
        return FALSE;
    std::wstring text(res, n);
    if constexpr (sizeof(Ch) == 1)
        m_s = Narrow(text.c_str());
    else
        m_s = text;
    return TRUE;
}

template <typename Ch>
BSTR CStringT<Ch>::AllocSysString() const
{
    if constexpr (sizeof(Ch) == 1) {
        std::wstring w = Widen(m_s.c_str());
        return SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
    } else {
        return SysAllocStringLen(m_s.data(), static_cast<UINT>(m_s.size()));
    }
}

template class CStringT<wchar_t>;
template class CStringT<char>;

int AfxSplitSubStrings(CStringArray& out, const wchar_t* full, wchar_t sep)
{
    out.RemoveAll();
    if (!full)
        return 0;
    for (const wchar_t* p = full;;) {
        const wchar_t* end = wcschr(p, sep);
        out.Add(end ? CString(p, static_cast<int>(end - p)) : CString(p));
        if (!end)
            break;
        p = end + 1;
    }
    return static_cast<int>(out.GetSize());
}

BOOL AfxExtractSubString(CString& dest, const wchar_t* full, int sub, wchar_t sep)
{
    dest.Empty();
    if (!full || sub < 0)
        return FALSE;
    const wchar_t* p = full;
    for (int i = 0; i < sub; ++i) {
        p = wcschr(p, sep);
        if (!p)
            return FALSE;
        ++p;
    }
    const wchar_t* end = wcschr(p, sep);
    dest = end ? CString(p, static_cast<int>(end - p)) : CString(p);
    return TRUE;
}
