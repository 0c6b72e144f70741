// The fuel log's records: unit normalisation, display records, derived values.
#include "doc/DocFe.h"
#include "common/FixedField.h"

#include <cwchar>
#include <cstring>

#include "core/Global.h"

namespace {

// The first three parts of text split at separator, with C atoi rules; a
// missing part gives 0.
void SplitThree(const wchar_t* text, wchar_t separator, int& a, int& b, int& c)
{
    int* out[3] = {&a, &b, &c};
    a = b = c = 0;
    const wchar_t* at = text;
    for (int k = 0; k < 3 && at; ++k) {
        *out[k] = _wtoi(at);
        at = wcschr(at, separator);
        if (at)
            ++at;
    }
}

void CopyCommonFields(const DOCFUEL_VIEW_DATA& in, DOCFUEL_DATA& r)
{
    r.distance = in.distance;
    r.amount = in.amount;
    r.price = in.price;
    CopyField(r.memo, in.memo);
    r.mark = in.mark;
    r.latitude = in.latitude;
    r.longitude = in.longitude;
    r.distanceUnit = in.distanceUnit;
    r.amountUnit = in.amountUnit;
    r.mileageUnit = in.mileageUnit;
    r.priceUnit = in.priceUnit;
}

}  // namespace

void NormaliseFuelUnits(DOCFUEL_DATA& r)
{
    // Values below the range are as unusable as those above it.
    if (r.distanceUnit == 2)
        r.distanceUnit = 1;
    else if (r.distanceUnit < 0 || r.distanceUnit > 2)
        r.distanceUnit = 0;
    if (r.amountUnit == 1 || r.amountUnit == 2)
        r.amountUnit = theGlobal.m_areaCode == 1 ? 2 : 1;
    else
        r.amountUnit = 0;
    if (r.mileageUnit < 0 || r.mileageUnit > 3)
        r.mileageUnit = 0;
    if (r.priceUnit < 0 || r.priceUnit > 15 || (r.priceUnit == 15 && !theGlobal.m_naviModel.m_brazilUnit))
        r.priceUnit = 0;
}

void CDocFe::InitErrorStrings()
{
    CDoc::InitErrorStrings();
    AppendErrorText(UiText(8));
    AppendErrorText(UiText(19));
    AppendErrorText(UiText(11));
    AppendErrorText(UiText(13));
}

BOOL CDocFe::GetRecordText(int index, DOCFUEL_VIEW_DATA& out) const
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    const DOCFUEL_DATA& r = m_records[index];
    std::memset(&out, 0, sizeof out);
    swprintf(out.date, 40, L"%04d/%02d/%02d", r.year, r.month, r.day);
    swprintf(out.time, 40, L"%02d:%02d:%02d", r.hour, r.minute, r.second);
    out.latitude = r.latitude;
    out.longitude = r.longitude;
    out.distance = r.distance;
    out.distanceUnit = r.distanceUnit;
    out.amount = r.amount;
    out.amountUnit = r.amountUnit;
    out.mileage = r.mileage;
    out.mileageUnit = r.mileageUnit;
    out.price = r.price;
    out.priceUnit = r.priceUnit;
    out.cost = r.cost;
    CopyField(out.memo, r.memo);
    out.mark = r.mark;
    return TRUE;
}

BOOL CDocFe::SetRecordText(const DOCFUEL_VIEW_DATA& in, int index)
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    DOCFUEL_DATA& r = m_records[index];
    SplitThree(in.date, L'/', r.year, r.month, r.day);
    SplitThree(in.time, L':', r.hour, r.minute, r.second);
    CopyCommonFields(in, r);
    UpdateDerivedValues(index);
    return TRUE;
}

int CDocFe::AddRecord(const DOCFUEL_VIEW_DATA& in)
{
    if (GetCount() >= kMaxFuelRecords) {
        m_errorCode = FEERR_LIMIT;
        return -1;
    }
    DOCFUEL_DATA r{};
    CopyCommonFields(in, r);
    const int index = static_cast<int>(m_records.Add(r));
    UpdateDerivedValues(index);
    m_modified = 1;
    return index;
}

BOOL CDocFe::InsertRecord(int index, DOCFUEL_DATA record)
{
    if (index < 0 || GetCount() >= kMaxFuelRecords) {
        m_errorCode = FEERR_LIMIT;
        return FALSE;
    }
    // Past the end there is no position to insert at.
    if (index > GetCount())
        return FALSE;
    m_records.InsertAt(index, record);
    m_modified = 1;
    return TRUE;
}

void CDocFe::RemoveAll()
{
    m_records.RemoveAll();
    m_spareRecords.RemoveAll();
    m_columns.RemoveAll();
}

BOOL CDocFe::UpdateDerivedValues(int index)
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    DOCFUEL_DATA& r = m_records[index];
    if (r.amount < 1) {
        r.mileage = 0;
    } else {
        int m = GetRecordMileage(index, r.mileageUnit);
        r.mileage = m > 99999 ? 99999 : m;
    }
    __int64 cost = static_cast<__int64>(r.amount) * r.price / 100;
    r.cost = cost > 99999999 ? 99999999 : cost;
    return TRUE;
}
