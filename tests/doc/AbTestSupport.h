#pragma once
// Address-book entries and card-file bytes for the address-book tests.
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "TestFiles.h"
#include "doc/DocAb.h"

namespace abtest {

inline DOCAB_UI_RECORD Entry(const wchar_t* name, double lon = AB_NO_POSITION, double lat = AB_NO_POSITION,
                             int category = 0, const wchar_t* address = L"", const wchar_t* phone = L"")
{
    DOCAB_UI_RECORD r{};
    wcsncpy(r.name, name, 64);
    wcsncpy(r.address, address, 128);
    wcsncpy(r.phone, phone, 64);
    r.longitude = lon;
    r.latitude = lat;
    r.category = category;
    r.positionKind = lon != AB_NO_POSITION;
    return r;
}

// Little-endian fields of a card file, read by the offsets of its layout.
inline int32_t I32(const testsupport::Bytes& b, size_t at)
{
    int32_t v;
    memcpy(&v, b.data() + at, 4);
    return v;
}
inline int16_t I16(const testsupport::Bytes& b, size_t at)
{
    int16_t v;
    memcpy(&v, b.data() + at, 2);
    return v;
}
inline void PutI32(testsupport::Bytes& b, size_t at, int32_t v) { memcpy(b.data() + at, &v, 4); }
inline void PutI16(testsupport::Bytes& b, size_t at, int16_t v) { memcpy(b.data() + at, &v, 2); }
// Offset of record k (0 home, 10 + i entry i).
inline size_t Rec(int k) { return 60 + static_cast<size_t>(k) * 492; }

}  // namespace abtest
