// The fuel log's statistics over the main currency, in the units the options
// choose, and the eco level of the last 30 days against the whole log.
#include <algorithm>
#include <ctime>

#include "common/ClockTime.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "doc/DocFe.h"

namespace {

constexpr double kMilesToKm = 1.609344;
constexpr double kKmToMiles = 0.62137;
constexpr double kImperialGallonLitres = 4.54609;
constexpr double kUsGallonLitres = 3.785411784;

// The gallon the options mean: US gallons in area 1, imperial elsewhere.
int AreaGallon() { return theGlobal.m_areaCode == 1 ? 2 : 1; }
double LitresToGallons() { return theGlobal.m_areaCode == 1 ? 0.264172 : 0.219969; }

__int64 Trunc(double v) { return static_cast<__int64>(v); }

__int64 Distance(const DOCFUEL_DATA& r, int unit)
{
    if (unit != 0 && unit != 1)
        return 0;
    if (r.distanceUnit == unit)
        return r.distance;
    if (r.distanceUnit == 1)
        return Trunc(r.distance * kMilesToKm);
    if (r.distanceUnit == 0)
        return Trunc(r.distance * kKmToMiles);
    return 0;
}

__int64 Amount(const DOCFUEL_DATA& r, int unit)
{
    if (unit < 0 || unit > 2 || r.amountUnit < 0 || r.amountUnit > 2)
        return 0;
    const double litres = r.amountUnit == 0   ? r.amount
                          : r.amountUnit == 1 ? r.amount * kImperialGallonLitres
                                              : r.amount * kUsGallonLitres;
    if (unit == 0)
        return r.amountUnit == 0 ? r.amount : Trunc(litres);
    if (r.amountUnit == 0)
        return Trunc(r.amount * LitresToGallons());
    // A gallon of the other kind is converted, not taken as equal.
    if (r.amountUnit == AreaGallon())
        return r.amount;
    return Trunc(litres * LitresToGallons());
}

// The mileage formula of the unit on whole numbers; 0 when either is 0.
__int64 Formula(int unit, unsigned __int64 distance, unsigned __int64 amount)
{
    if (distance == 0 || amount == 0)
        return 0;
    switch (unit) {
    case 0: return static_cast<__int64>(amount * 1000 / distance);
    case 1: return static_cast<__int64>(distance * 1000 / amount);
    case 2: return static_cast<__int64>(amount * 600 / distance);
    case 3: return static_cast<__int64>(distance * 1000 / amount);
    default: return 0;
    }
}

__int64 LocalTimeOf(const DOCFUEL_DATA& r)
{
    return LocalClockToSeconds(r.year, r.month, r.day, r.hour, r.minute, r.second);
}

__int64 DateNumber(const DOCFUEL_DATA& r)
{
    return r.year * 10000000000LL + r.month * 100000000LL + r.day * 1000000LL + r.hour * 10000LL + r.minute * 100LL +
           r.second;
}

}  // namespace

__int64 CDocFe::GetDistanceInUnit(int index, int unit) const
{
    return index < 0 || index >= GetCount() ? 0 : Distance(m_records[index], unit);
}

__int64 CDocFe::GetAmountInUnit(int index, int unit) const
{
    return index < 0 || index >= GetCount() ? 0 : Amount(m_records[index], unit);
}

void CDocFe::MileageValues(const DOCFUEL_DATA& r, int unit, __int64& distance, __int64& amount) const
{
    distance = amount = 0;
    if (unit < 0 || unit > 3)
        return;
    distance = Distance(r, unit >= 2 ? 1 : 0);
    amount = Amount(r, (unit == 1 || unit == 3) ? 1 : 0);
}

__int64 CDocFe::GetMileageDistance(int index, int mileageUnit) const
{
    __int64 d, a;
    if (index < 0 || index >= GetCount())
        return 0;
    MileageValues(m_records[index], mileageUnit, d, a);
    return d;
}

__int64 CDocFe::GetMileageAmount(int index, int mileageUnit) const
{
    __int64 d, a;
    if (index < 0 || index >= GetCount())
        return 0;
    MileageValues(m_records[index], mileageUnit, d, a);
    return a;
}

int CDocFe::GetRecordMileage(int index, int mileageUnit) const
{
    __int64 d, a;
    if (index < 0 || index >= GetCount() || mileageUnit < 0 || mileageUnit > 3)
        return 0;
    MileageValues(m_records[index], mileageUnit, d, a);
    if (d <= 0 || a <= 0)
        return 0;
    const __int64 m = Formula(mileageUnit, d, a);
    return static_cast<int>(m > 99999 ? 99999 : m);
}

int CDocFe::CalcMileage(int mileageUnit, int& mileage, int distance, int amount)
{
    if (mileageUnit >= 0 && mileageUnit <= 3) {
        if (distance == 0 || amount == 0) {
            mileage = 0;
        } else {
            // Signed here: the view may pass what the user typed.
            const __int64 d = distance, a = amount;
            const __int64 m = mileageUnit == 0 ? a * 1000 / d
                              : mileageUnit == 2 ? a * 600 / d
                                                 : d * 1000 / a;
            mileage = m > 99999 ? 100000 : m < 0 ? -1 : static_cast<int>(m);
        }
    }
    if (mileage < 0) {
        mileage = 0;
        return -1;
    }
    if (mileage > 99999) {
        mileage = 99999;
        return 1;
    }
    return 0;
}

int CDocFe::GetOverallMileage() const
{
    const int unit = theGlobal.m_mileageUnit;
    if (unit < 0 || unit > 3)
        return 0;
    const int main = GetMainCurrency();
    __int64 distance = 0, amount = 0;
    for (int i = 0; i < GetCount(); ++i) {
        if (m_records[i].priceUnit != main)
            continue;
        __int64 d, a;
        MileageValues(m_records[i], unit, d, a);
        distance += d;
        amount += a;
    }
    if (distance <= 0 || amount <= 0)
        return 0;
    const __int64 m = Formula(unit, distance, amount);
    return m < 0 ? 0 : m > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(m);
}

__int64 CDocFe::GetLatestDateNumber(int priceUnit) const
{
    __int64 latest = 0;
    for (int i = 0; i < GetCount(); ++i)
        if (m_records[i].priceUnit == priceUnit && DateNumber(m_records[i]) > latest)
            latest = DateNumber(m_records[i]);
    return latest;
}

int CDocFe::GetMainCurrency() const
{
    int counts[16] = {};
    for (int i = 0; i < GetCount(); ++i)
        if (m_records[i].priceUnit >= 0 && m_records[i].priceUnit <= 15)
            ++counts[m_records[i].priceUnit];
    int candidate = 0;
    for (int u = 1; u < 16; ++u) {
        if (counts[u] > counts[candidate] ||
            (counts[u] == counts[candidate] && counts[u] && GetLatestDateNumber(u) > GetLatestDateNumber(candidate)))
            candidate = u;
    }
    return candidate;
}

int CDocFe::CountMainCurrencyRecords() const
{
    const int main = GetMainCurrency();
    int n = 0;
    for (int i = 0; i < GetCount(); ++i)
        n += m_records[i].priceUnit == main;
    return n;
}

int CDocFe::FindLatestRecord(int priceUnit) const
{
    int found = -1;
    __int64 best = 0;
    for (int i = 0; i < GetCount(); ++i) {
        const DOCFUEL_DATA& r = m_records[i];
        if (r.priceUnit != priceUnit || !IsValidDateTime(r.year, r.month, r.day, r.hour, r.minute, r.second))
            continue;
        if (found < 0 || DateNumber(r) > best) {
            found = i;
            best = DateNumber(r);
        }
    }
    return found;
}

BOOL CDocFe::GetTotalStatistics(DOCFUEL_VIEW_DATA& out) const
{
    if (GetCount() == 0)
        return FALSE;
    const int main = GetMainCurrency();
    __int64 distance = 0, amount = 0, cost = 0;
    for (int i = 0; i < GetCount(); ++i) {
        if (m_records[i].priceUnit != main)
            continue;
        distance += GetDistanceInUnit(i, theGlobal.m_distanceUnit);
        amount += GetAmountInUnit(i, theGlobal.m_amountUnit);
        cost += m_records[i].cost;
    }
    out.distance = static_cast<int>(distance > 9999999 ? 9999999 : distance);
    out.amount = static_cast<int>(amount > 9999999 ? 9999999 : amount);
    out.cost = cost > 9999999999LL ? 9999999999LL : cost;
    const int mileage = GetOverallMileage();
    out.mileage = mileage > 99999 ? 99999 : mileage;
    return TRUE;
}

BOOL CDocFe::HasStatistics() const
{
    DOCFUEL_VIEW_DATA scratch{};
    return GetTotalStatistics(scratch);
}

BOOL CDocFe::GetAverageStatistics(DOCFUEL_VIEW_DATA& out) const
{
    const int n = CountMainCurrencyRecords();
    if (GetCount() == 0 || n == 0)
        return FALSE;
    const int main = GetMainCurrency();
    __int64 distance = 0, amount = 0, price = 0, cost = 0;
    for (int i = 0; i < GetCount(); ++i) {
        if (m_records[i].priceUnit != main)
            continue;
        distance += GetDistanceInUnit(i, theGlobal.m_distanceUnit);
        amount += GetAmountInUnit(i, theGlobal.m_amountUnit);
        price += m_records[i].price;
        cost += m_records[i].cost;
    }
    out.distance = static_cast<int>(distance / n);
    out.amount = static_cast<int>(amount / n);
    out.price = static_cast<int>(price / n);
    out.cost = cost / n;
    const int mileage = GetOverallMileage();
    out.mileage = mileage > 99999 ? 99999 : mileage;
    return TRUE;
}

BOOL CDocFe::GetMaxStatistics(DOCFUEL_VIEW_DATA& out) const
{
    if (GetCount() == 0)
        return FALSE;
    const int main = GetMainCurrency();
    __int64 distance = 0, amount = 0, cost = 0;
    int mileage = 0, price = 0;
    for (int i = 0; i < GetCount(); ++i) {
        const DOCFUEL_DATA& r = m_records[i];
        if (r.priceUnit != main)
            continue;
        distance = std::max(distance, GetDistanceInUnit(i, theGlobal.m_distanceUnit));
        amount = std::max(amount, GetAmountInUnit(i, theGlobal.m_amountUnit));
        mileage = std::max(mileage, GetRecordMileage(i, theGlobal.m_mileageUnit));
        price = std::max(price, r.price);
        cost = std::max(cost, r.cost);
    }
    out.distance = static_cast<int>(distance);
    out.amount = static_cast<int>(amount);
    out.mileage = mileage;
    out.price = price;
    out.cost = cost;
    return TRUE;
}

BOOL CDocFe::GetMinStatistics(DOCFUEL_VIEW_DATA& out) const
{
    if (GetCount() == 0)
        return FALSE;
    const int main = GetMainCurrency();
    bool first = true;
    __int64 distance = 0, amount = 0, cost = 0;
    int mileage = 0, price = 0;
    for (int i = 0; i < GetCount(); ++i) {
        const DOCFUEL_DATA& r = m_records[i];
        if (r.priceUnit != main)
            continue;
        const __int64 d = GetDistanceInUnit(i, theGlobal.m_distanceUnit);
        const __int64 a = GetAmountInUnit(i, theGlobal.m_amountUnit);
        const int m = GetRecordMileage(i, theGlobal.m_mileageUnit);
        if (first) {
            distance = d, amount = a, mileage = m, price = r.price, cost = r.cost;
            first = false;
            continue;
        }
        distance = std::min(distance, d);
        amount = std::min(amount, a);
        mileage = std::min(mileage, m);
        price = std::min(price, r.price);
        cost = std::min(cost, r.cost);
    }
    out.distance = static_cast<int>(distance);
    out.amount = static_cast<int>(amount);
    out.mileage = mileage;
    out.price = price;
    out.cost = cost;
    return TRUE;
}

double CDocFe::GetTotalCO2() const
{
    double factor = theGlobal.m_gasType == 0 ? 2.3209 : theGlobal.m_gasType == 1 ? 2.62 : 0.0;
    const int main = GetMainCurrency();
    __int64 litres = 0;
    for (int i = 0; i < GetCount(); ++i)
        if (m_records[i].priceUnit == main)
            litres += GetAmountInUnit(i, 0);
    const double kg = litres / 100.0 * factor;
    return kg > 999999.99 ? 999999.99 : kg;
}

void CDocFe::JudgeEco()
{
    m_ecoLevel = -1;
    if (GetCount() == 0)
        return;
    const int main = GetMainCurrency();
    const int latest = FindLatestRecord(main);
    if (latest < 0)
        return;
    const __int64 windowStart = LocalTimeOf(m_records[latest]) - 2592000;
    double allKm = 0, allGal = 0, recentKm = 0, recentGal = 0;
    for (int i = 0; i < GetCount(); ++i) {
        const DOCFUEL_DATA& r = m_records[i];
        if (r.priceUnit != main)
            continue;
        const double km = r.distanceUnit == 0 ? r.distance : r.distanceUnit == 1 ? Trunc(r.distance * kMilesToKm) : 0;
        const double gal = static_cast<double>(Amount(r, 1));
        allKm += km;
        allGal += gal;
        // A record without a date counts for the whole log only; later
        // records are still judged.
        if (!IsValidDateTime(r.year, r.month, r.day, r.hour, r.minute, r.second))
            continue;
        if (LocalTimeOf(r) > windowStart) {
            recentKm += km;
            recentGal += gal;
        }
    }
    auto rate = [](double km, double gal) {
        return km != 0 && gal != 0 ? Trunc(km * 10 / (gal / 100)) : 0;
    };
    const __int64 d = rate(allKm, allGal) - rate(recentKm, recentGal);
    m_ecoLevel = d < -200 ? 0 : d < -100 ? 1 : d < 100 ? 2 : d < 200 ? 3 : 4;
}
