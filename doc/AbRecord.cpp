#include "doc/AbRecord.h"

#include <cmath>
#include <cstring>

#include "common/FixedField.h"

namespace {

// Units of 1/256 arc-second per degree.
constexpr double kUnitsPerDegree = 36000 / 0.0390625;

void SetText(wchar_t* field, DWORD* length, int capacity, const wchar_t* text)
{
    int n = text ? static_cast<int>(wcsnlen(text, capacity - 1)) : 0;
    memset(field, 0, capacity * sizeof(wchar_t));
    if (n)
        memcpy(field, text, n * sizeof(wchar_t));
    *length = static_cast<DWORD>(n);
}

CString GetText(const wchar_t* field, DWORD length, int capacity)
{
    // The stored length is trusted only as far as the field reaches.
    int n = static_cast<int>(wcsnlen(field, capacity - 1));
    if (length < static_cast<DWORD>(n))
        n = static_cast<int>(length);
    return CString(field, n);
}

LONG ToStored(double degrees)
{
    double units = degrees * kUnitsPerDegree;
    // Degrees read from a stored value miss it by a rounding error, at times
    // just below it: they must give that value back, not the one under it.
    const double nearest = std::nearbyint(units);
    if (std::fabs(units - nearest) < 1e-4)
        units = nearest;
    // A value the field cannot hold is no position rather than a wrapped one.
    // Truncated toward zero, everything above -2147483649 still fits; the top
    // value is the field's "no position".
    if (!std::isfinite(units) || units >= 2147483647.0 || units <= -2147483649.0)
        return AB_NO_COORD;
    return static_cast<LONG>(units);  // toward zero
}

}  // namespace

void CopyAbUiRecord(const DOCAB_UI_RECORD* src, DOCAB_UI_RECORD* dst)
{
    if (!src || !dst || src == dst)
        return;
    CopyField(dst->name, src->name);
    CopyField(dst->address, src->address);
    CopyField(dst->phone, src->phone);
    dst->longitude = src->longitude;
    dst->latitude = src->latitude;
    dst->category = src->category;
    dst->positionKind = src->positionKind;
}

void CDocAbRecord::Clear()
{
    memset(&m_rec, 0, sizeof m_rec);
    m_rec.number = -1;
    m_rec.reserved40 = -1;
    m_rec.longitude = AB_NO_COORD;
    m_rec.latitude = AB_NO_COORD;
    for (LONG& c : m_rec.coordPairs)
        c = AB_NO_COORD;
    m_positionKind = 0;
}

void CDocAbRecord::SetName(const wchar_t* text) { SetText(m_rec.name, &m_rec.nameLength, 18, text); }
void CDocAbRecord::SetAddress(const wchar_t* text) { SetText(m_rec.address, &m_rec.addressLength, 36, text); }
void CDocAbRecord::SetPhone(const wchar_t* text) { SetText(m_rec.phone, &m_rec.phoneLength, 16, text); }
CString CDocAbRecord::GetName() const { return GetText(m_rec.name, m_rec.nameLength, 18); }
CString CDocAbRecord::GetAddress() const { return GetText(m_rec.address, m_rec.addressLength, 36); }
CString CDocAbRecord::GetPhone() const { return GetText(m_rec.phone, m_rec.phoneLength, 16); }

void CDocAbRecord::SetPosition(double longitude, double latitude)
{
    LONG x = longitude == AB_NO_POSITION ? AB_NO_COORD : ToStored(longitude);
    LONG y = latitude == AB_NO_POSITION ? AB_NO_COORD : ToStored(latitude);
    if (x == AB_NO_COORD || y == AB_NO_COORD)
        x = y = AB_NO_COORD;
    m_rec.longitude = x;
    m_rec.latitude = y;
}

double CDocAbRecord::GetLongitude() const
{
    if (m_rec.longitude == AB_NO_COORD || m_rec.latitude == AB_NO_COORD)
        return AB_NO_POSITION;
    return m_rec.longitude * 0.0390625 / 36000;
}

double CDocAbRecord::GetLatitude() const
{
    if (m_rec.longitude == AB_NO_COORD || m_rec.latitude == AB_NO_COORD)
        return AB_NO_POSITION;
    return m_rec.latitude * 0.0390625 / 36000;
}

void CDocAbRecord::UpdatePositionKind()
{
    m_positionKind = GetLongitude() != AB_NO_POSITION && GetLatitude() != AB_NO_POSITION;
}

BOOL CDocAbRecord::HasValidTexts() const
{
    return m_rec.nameLength <= 17 && m_rec.phoneLength <= 15 && m_rec.addressLength <= 35;
}

BOOL GetPackedDateTimeNow(DWORD* date, DWORD* time)
{
    if (!date || !time)
        return FALSE;
    SYSTEMTIME t{};
    GetLocalTime(&t);
    if (t.wYear == 0)
        return FALSE;
    *date = (static_cast<DWORD>(t.wYear) << 16) + (t.wMonth << 8) + t.wDay;
    *time = (static_cast<DWORD>(t.wHour) << 16) + (t.wMinute << 8) + t.wSecond;
    return TRUE;
}
