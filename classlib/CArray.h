#pragma once
// Growable arrays with index-checked access: an index outside the array raises
// CInvalidArgException instead of touching memory that is not there.
#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "classlib/CString.h"
#include "classlib/Exceptions.h"

template <typename T, typename ArgT = const T&>
class CArray {
public:
    CArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_v.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_v.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    // Grows with default elements or shrinks to n; a negative n is refused.
    void SetSize(INT_PTR n, INT_PTR growBy = -1)
    {
        if (n < 0)
            AfxThrowInvalidArgException();
        m_v.resize(static_cast<size_t>(n));
    }
    void RemoveAll() { m_v.clear(); }
    void FreeExtra() { m_v.shrink_to_fit(); }

    const T& GetAt(INT_PTR i) const { Check(i); return m_v[i]; }
    T& GetAt(INT_PTR i) { Check(i); return m_v[i]; }
    T& ElementAt(INT_PTR i) { Check(i); return m_v[i]; }
    const T& ElementAt(INT_PTR i) const { Check(i); return m_v[i]; }
    void SetAt(INT_PTR i, ArgT v) { Check(i); m_v[i] = v; }
    // Sets element i, growing the array when i is past the end.
    void SetAtGrow(INT_PTR i, ArgT v)
    {
        if (i < 0)
            AfxThrowInvalidArgException();
        if (i >= GetSize())
            m_v.resize(static_cast<size_t>(i) + 1);
        m_v[i] = v;
    }
    T& operator[](INT_PTR i) { return ElementAt(i); }
    const T& operator[](INT_PTR i) const { return GetAt(i); }
    T* GetData() { return m_v.data(); }
    const T* GetData() const { return m_v.data(); }

    INT_PTR Add(ArgT v) { m_v.push_back(v); return GetSize() - 1; }
    INT_PTR Append(const CArray& other) { INT_PTR at = GetSize(); m_v.insert(m_v.end(), other.m_v.begin(), other.m_v.end()); return at; }
    void Copy(const CArray& other) { if (this != &other) m_v = other.m_v; }
    void InsertAt(INT_PTR i, ArgT v, INT_PTR count = 1)
    {
        if (i < 0 || count < 0)
            AfxThrowInvalidArgException();
        if (i > GetSize())
            m_v.resize(static_cast<size_t>(i));
        m_v.insert(m_v.begin() + i, static_cast<size_t>(count), v);
    }
    void RemoveAt(INT_PTR i, INT_PTR count = 1)
    {
        if (i < 0 || count < 0 || i + count > GetSize())
            AfxThrowInvalidArgException();
        m_v.erase(m_v.begin() + i, m_v.begin() + i + count);
    }

    // Range-for and the standard algorithms.
    auto begin() { return m_v.begin(); }
    auto end() { return m_v.end(); }
    auto begin() const { return m_v.begin(); }
    auto end() const { return m_v.end(); }
    std::vector<T>& vec() { return m_v; }
    const std::vector<T>& vec() const { return m_v; }

private:
    void Check(INT_PTR i) const
    {
        if (i < 0 || i >= GetSize())
            AfxThrowInvalidArgException();
    }
    std::vector<T> m_v;
};

// An opaque place in a collection walked by position (GetFirst.../GetNext...); 0 = none.
typedef struct __POSITION* POSITION;

using CStringArray = CArray<CString, const wchar_t*>;

// Every field AfxExtractSubString would give for sub = 0, 1, ... in one pass
// (walking the fields with it rescans the text from its start each time);
// returns their count (0 for a null text).
int AfxSplitSubStrings(CStringArray& out, const wchar_t* full, wchar_t sep);
using CDWordArray = CArray<DWORD, DWORD>;
using CUIntArray = CArray<UINT, UINT>;
using CWordArray = CArray<WORD, WORD>;
using CByteArray = CArray<BYTE, BYTE>;
using CPtrArray = CArray<void*, void*>;
