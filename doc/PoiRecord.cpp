#include "doc/PoiRecord.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

// The record is packed (byte-aligned), so its fields are reached through their
// byte offsets and copied with memcpy, never through wchar_t references.
namespace {

// Text of a fixed field of count units, up to its NUL, never beyond the field.
CString ReadField(const DOCPI_RECORD& rec, size_t offset, size_t count)
{
    std::vector<wchar_t> buf(count);
    memcpy(buf.data(), reinterpret_cast<const char*>(&rec) + offset, count * sizeof(wchar_t));
    size_t n = 0;
    while (n < count && buf[n])
        ++n;
    return CString(buf.data(), static_cast<int>(n));
}

// Writes at most count - 1 units of text and a NUL; the rest of the field is zeroed.
void WriteField(DOCPI_RECORD& rec, size_t offset, size_t count, const CString& text)
{
    std::vector<wchar_t> buf(count, 0);
    size_t n = std::min(static_cast<size_t>(text.GetLength()), count - 1);
    memcpy(buf.data(), text.GetString(), n * sizeof(wchar_t));
    memcpy(reinterpret_cast<char*>(&rec) + offset, buf.data(), count * sizeof(wchar_t));
}

#define POI_FIELD(f) offsetof(DOCPI_RECORD, f), sizeof(DOCPI_RECORD::f) / sizeof(wchar_t)

}  // namespace

void CopyPoiRecord(const DOCPI_RECORD* src, DOCPI_RECORD* dst)
{
    if (!src || !dst || src == dst)
        return;
    CDocPiRecord tmp;
    tmp.FromDocPiRecord(*src);
    tmp.ToDocPiRecord(*dst);
}

void CopyPoiRecordByValue(DOCPI_RECORD src, DOCPI_RECORD* dst)
{
    CopyPoiRecord(&src, dst);
}

void CDocPiRecord::FromDocPiRecord(const DOCPI_RECORD& rec)
{
    m_name = ReadField(rec, POI_FIELD(name));
    m_address = ReadField(rec, POI_FIELD(address));
    m_telephone = ReadField(rec, POI_FIELD(telephone));
    m_description = ReadField(rec, POI_FIELD(description));
    m_longitude = rec.longitude;
    m_latitude = rec.latitude;
}

void CDocPiRecord::ToDocPiRecord(DOCPI_RECORD& rec) const
{
    WriteField(rec, POI_FIELD(name), m_name);
    WriteField(rec, POI_FIELD(address), m_address);
    WriteField(rec, POI_FIELD(telephone), m_telephone);
    WriteField(rec, POI_FIELD(description), m_description);
    rec.longitude = m_longitude;
    rec.latitude = m_latitude;
}
