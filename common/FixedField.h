#pragma once
// Bounded copies into the fixed text fields of records: the text is cut to fit,
// always ends in a NUL, and the rest of the field is zero so that records
// written to files carry no stale characters.
#include <cstddef>

// Copies at most capacity - 1 characters of src (NULL: empty) into dst.
inline void CopyField(wchar_t* dst, size_t capacity, const wchar_t* src)
{
    if (!dst || capacity == 0)
        return;
    size_t n = 0;
    if (src)
        for (; n + 1 < capacity && src[n]; ++n)
            dst[n] = src[n];
    for (; n < capacity; ++n)
        dst[n] = L'\0';
}

template <size_t N>
inline void CopyField(wchar_t (&dst)[N], const wchar_t* src)
{
    CopyField(dst, N, src);
}
