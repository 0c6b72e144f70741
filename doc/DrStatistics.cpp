// What the report views show of a drive: its times in the user's zone, driving
// time, distance, sudden speed changes and the eco-driving rating.
#include <cmath>
#include <cstring>
#include <ctime>

#include "common/ClockTime.h"
#include "common/FixedField.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "doc/DrivingReport.h"

namespace {

bool PointValid(const DR_DRIVING_POINT& p)
{
    return IsValidDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
}

// The moment of a zone transition record in the given year, on the clock the
// record is written in; a zero year means "the n-th weekday of the month".
__int64 TransitionClock(const SYSTEMTIME& rule, int year)
{
    int day = rule.wDay;
    if (rule.wYear == 0) {
        tm first{};
        first.tm_year = year - 1900;
        first.tm_mon = rule.wMonth - 1;
        first.tm_mday = 1;
        __int64 t = _mkgmtime64(&first);  // fills tm_wday
        if (t == -1)
            return -1;
        day = 1 + (rule.wDayOfWeek - first.tm_wday + 7) % 7 + 7 * (rule.wDay - 1);
        static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        int length = lengths[(rule.wMonth - 1) % 12];
        if (rule.wMonth == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0))
            length = 29;
        while (day > length)
            day -= 7;
    }
    return ClockToSeconds(year, rule.wMonth, day, rule.wHour, rule.wMinute, rule.wSecond);
}

void SplitTime(__int64 t, int& y, int& mo, int& d, int& h, int& mi, int& s)
{
    if (!LocalSecondsToClock(t, y, mo, d, h, mi, s)) {
        y = mo = d = 0;
        h = mi = s = -1;
    }
}

CString DateText(__int64 t)
{
    int y, mo, d, h, mi, s;
    SplitTime(t, y, mo, d, h, mi, s);
    CString text;
    text.Format(L"%04d/%02d/%02d", y, mo, d);
    return text;
}

CString TimeText(__int64 t)
{
    int y, mo, d, h, mi, s;
    SplitTime(t, y, mo, d, h, mi, s);
    CString text;
    text.Format(L"%02d:%02d:%02d", h, mi, s);
    return text;
}

struct EcoThresholds {
    double low, mid, high;
};

}  // namespace

int DiffPackedDateTime(DWORD date1, DWORD time1, DWORD date2, DWORD time2)
{
    __int64 a = ClockToSeconds(date1 & 0xFFFF, (date1 >> 16) & 0xFF, date1 >> 24, time1 & 0xFFFF, (time1 >> 16) & 0xFF,
                             time1 >> 24);
    __int64 b = ClockToSeconds(date2 & 0xFFFF, (date2 >> 16) & 0xFF, date2 >> 24, time2 & 0xFFFF, (time2 >> 16) & 0xFF,
                             time2 >> 24);
    if (a == -1 || b == -1)
        return 0;
    __int64 d = b - a;
    if (d >= 2147483647LL)
        return 2147483647;
    if (d < -2147483647LL)
        return -2147483647;
    return static_cast<int>(d);
}

__int64 ApplyZoneRules(__int64 t, const TIME_ZONE_INFORMATION& zone)
{
    const __int64 standard = t - zone.Bias * 60LL;
    const __int64 daylight = t - (zone.Bias + zone.DaylightBias) * 60LL;
    if (zone.DaylightDate.wMonth == 0 || zone.StandardDate.wMonth == 0)
        return standard;
    // Compare on the standard-time clock: summer time starts at a standard
    // clock time and ends at a summer clock time.
    tm parts{};
    if (_gmtime64_s(&parts, &standard) != 0)
        return standard;
    const int year = parts.tm_year + 1900;
    const __int64 summerFrom = TransitionClock(zone.DaylightDate, year);
    __int64 summerTo = TransitionClock(zone.StandardDate, year);
    if (summerFrom == -1 || summerTo == -1)
        return standard;
    summerTo += zone.DaylightBias * 60LL;
    // In the southern hemisphere summer spans the turn of the year.
    const bool summer = summerFrom < summerTo ? summerFrom < standard && standard < summerTo
                                              : standard > summerFrom || standard < summerTo;
    return summer ? daylight : standard;
}

__int64 ToDisplayTime(__int64 t)
{
    const int model = theGlobal.m_modelType;
    if (model != 0 && model != 2)
        return t;
    if (theGlobal.m_timeZone != 0) {
        int k = theGlobal.m_timeDifference;
        if (k < 0 || k > 24)
            k = 12;
        return t + (12 - k) * 3600LL;
    }
    TIME_ZONE_INFORMATION zone{};
    switch (GetTimeZoneInformation(&zone)) {
    case TIME_ZONE_ID_UNKNOWN:
        return t - zone.Bias * 60LL;
    case TIME_ZONE_ID_STANDARD:
    case TIME_ZONE_ID_DAYLIGHT:
        return ApplyZoneRules(t, zone);
    default:
        return t;
    }
}

int KilometresToMiles(int km)
{
    int m = static_cast<int>(km * 6.214);
    return m / 10 + (m % 10 > 4 ? 1 : 0);
}

CString FormatDuration(__int64 seconds, bool padHours)
{
    CString text;
    if (seconds < 0)
        seconds = 0;
    const __int64 h = seconds / 3600;
    text.Format(padHours && h < 100 ? L"%02lld:%02d:%02d" : L"%lld:%02d:%02d", h, int(seconds / 60 % 60),
                int(seconds % 60));
    return text;
}

// Points that bypassed the readers may hold no valid time; the reports then
// count from fixed stand-ins without touching the points.
__int64 CDocDrivingReport::GetStartTime() const
{
    if (m_points.GetSize() == 0)
        return 0;
    const DR_DRIVING_POINT& p = m_points[0];
    __int64 t = PointValid(p) ? LocalClockToSeconds(p.year, p.month, p.day, p.hour, p.minute, p.second)
                              : LocalClockToSeconds(1970, 1, 1, 12, 0, 0);
    return ToDisplayTime(t);
}

__int64 CDocDrivingReport::GetEndTime() const
{
    if (m_points.GetSize() == 0)
        return 0;
    const DR_DRIVING_POINT& p = m_points[m_points.GetSize() - 1];
    __int64 t = PointValid(p) ? LocalClockToSeconds(p.year, p.month, p.day, p.hour, p.minute, p.second)
                              : LocalClockToSeconds(2030, 12, 31, 23, 59, 59);
    return ToDisplayTime(t);
}

CString CDocDrivingReport::GetStartDateText() const { return DateText(GetStartTime()); }
CString CDocDrivingReport::GetEndDateText() const { return DateText(GetEndTime()); }
CString CDocDrivingReport::GetStartTimeText() const { return TimeText(GetStartTime()); }
CString CDocDrivingReport::GetEndTimeText() const { return TimeText(GetEndTime()); }

__int64 CDocDrivingReport::GetDuration() const
{
    if (m_points.GetSize() == 0)
        return 0;
    const DR_DRIVING_POINT& a = m_points[0];
    const DR_DRIVING_POINT& b = m_points[m_points.GetSize() - 1];
    if (!PointValid(a) || !PointValid(b))
        return 0;
    return SecondsBetween(a, b);
}

int CDocDrivingReport::SecondsBetween(const DR_DRIVING_POINT& a, const DR_DRIVING_POINT& b) const
{
    if (!m_localClock)
        return DiffPackedDateTime(PackedDate(a), PackedTime(a), PackedDate(b), PackedTime(b));
    const __int64 from = LocalClockToSeconds(a.year, a.month, a.day, a.hour, a.minute, a.second);
    const __int64 to = LocalClockToSeconds(b.year, b.month, b.day, b.hour, b.minute, b.second);
    if (from == -1 || to == -1)
        return 0;
    const __int64 d = to - from;
    return d >= 2147483647LL ? 2147483647 : d < -2147483647LL ? -2147483647 : static_cast<int>(d);
}

CString CDocDrivingReport::GetDurationText() const
{
    return FormatDuration(GetDuration(), true);
}

int CDocDrivingReport::GetDistance() const
{
    double sum = 0;
    for (INT_PTR i = 1; i < m_points.GetSize(); ++i)
        sum += m_points[i].distance;
    const long long m = static_cast<long long>(sum);
    return static_cast<int>(m / 1000 + (m % 1000 >= 500 ? 1 : 0));
}

void CDocDrivingReport::GetPropertyData(DR_PROPERTY_DATA& out) const
{
    std::memset(&out, 0, sizeof out);
    CopyField(out.startDate, GetStartDateText());
    CopyField(out.startTime, GetStartTimeText());
    CopyField(out.endDate, GetEndDateText());
    CopyField(out.endTime, GetEndTimeText());
    CopyField(out.duration, GetDurationText());
    out.distance = GetDistance();
    out.distanceMiles = KilometresToMiles(out.distance);
    out.kind = m_listData.kind;
    CopyField(out.text1, m_listData.text1);
    CopyField(out.text2, m_listData.text2);
    CopyField(out.text3, m_listData.text3);
    CopyField(out.name, m_listData.name);
}

BOOL CDocDrivingReport::CountSuddenChanges(int& accelerations, int& decelerations) const
{
    accelerations = decelerations = 0;
    const DR_DRIVING_POINT* p = m_points.GetData();
    for (INT_PTR c = 0; c + 1 < m_points.GetSize(); ++c) {
        if (p[c].distance < 4.0)
            continue;
        const double s0 = p[c].speed, s1 = p[c + 1].speed;
        const double x = (s1 * s1 - s0 * s0) / ((p[c + 1].distance + 1) * 7.2);
        if (std::fabs(x) >= 105.8)
            continue;
        if (x >= 7.06)
            ++accelerations;
        else if (x <= -7.06)
            ++decelerations;
    }
    return TRUE;
}

BOOL CDocDrivingReport::RateEcoLtb(int& gentle, int& light, int& medium, int& hard) const
{
    return RateEco(true, gentle, light, medium, hard);
}

BOOL CDocDrivingReport::RateEcoGpx(int& gentle, int& light, int& medium, int& hard) const
{
    return RateEco(false, gentle, light, medium, hard);
}

BOOL CDocDrivingReport::RateEco(bool ltb, int& gentle, int& light, int& medium, int& hard) const
{
    static const EcoThresholds ltbTable[3] = {{15.0, 20.0, 36.0}, {10.0, 20.0, 40.0}, {7.5, 22.5, 46.0}};
    static const EcoThresholds gpxTable[3] = {{19.0, 25.0, 43.0}, {14.0, 25.0, 47.0}, {11.5, 27.5, 53.0}};
    int judge = theGlobal.m_ecoJudge;
    if (judge < 0 || judge > 2)
        judge = 1;
    const EcoThresholds& limits = ltb ? ltbTable[judge] : gpxTable[judge];

    const DR_DRIVING_POINT* p = m_points.GetData();
    const int n = static_cast<int>(m_points.GetSize());
    // The first index after from at which the distance driven since from reaches
    // metres, or the last point.
    auto reach = [&](int from, double metres) {
        double sum = 0;
        for (int k = from + 1; k < n; ++k) {
            sum += p[k].distance;
            if (sum >= metres)
                return k;
        }
        return n - 1;
    };
    int counts[4] = {};  // gentle, light, medium, hard
    for (int i = 1; i < n - 1; ++i) {
        const int s0 = p[i].speed, s1 = p[i + 1].speed;
        bool starts;
        if (ltb)
            starts = s0 == 0 && s1 > 0;
        else
            starts = (s0 <= 9 && s1 > 9) || (i < n - 2 && (s0 + s1) / 2 <= 9 && (s1 + p[i + 2].speed) / 2 > 9);
        if (!starts)
            continue;
        int start = (p[i + 1].speed <= 3 && p[i + 1].interval >= 2) ? i + 1 : i;
        int e = -1;
        double sum = 0;
        for (int k = start + 1; k < n; ++k) {
            sum += ltb ? p[k].interval : p[k].distance;
            if (sum >= (ltb ? 5.0 : 25.0)) {
                e = k;
                break;
            }
        }
        if (e < 0)
            continue;
        if (ltb) {
            bool flagged = true;
            for (int k = start; k <= e && flagged; ++k)
                flagged = (p[k].flags & 1) != 0;
            if (!flagged)
                continue;
            const int m = reach(start, 50.0);
            if (std::abs(int(p[m].course) - int(p[start].course)) > 45)
                continue;
        }
        const int T = SecondsBetween(p[start], p[e]);
        const int r = (T != 0 && T != 5) ? p[e].speed * 5 / T : p[e].speed;
        if (e != n - 1) {
            const int m2 = reach(e, 50.0);
            bool slowed = false;
            for (int k = e + 1; k <= m2 && !slowed; ++k)
                slowed = p[k].speed < r && p[k].speed < 18;
            if (slowed)
                continue;
        }
        bool rising = true;
        for (int k = start + 1; k <= e && rising; ++k)
            rising = p[k].speed > p[k - 1].speed;
        if (!rising)
            continue;
        ++counts[r > limits.high ? 3 : r > limits.mid ? 2 : r > limits.low ? 1 : 0];
        i = start;  // the loop goes on at start + 1
    }
    const int total = counts[0] + counts[1] + counts[2] + counts[3];
    if (total == 0) {
        gentle = light = medium = hard = 0;
        return FALSE;
    }
    // Whole percentages that add up to 100; the points left over by rounding
    // go to the classes with the largest remainders, never to an empty class.
    int shares[4], remainders[4], given = 0;
    for (int k = 0; k < 4; ++k) {
        shares[k] = counts[k] * 100 / total;
        remainders[k] = counts[k] * 100 % total;
        given += shares[k];
    }
    while (given < 100) {
        int best = -1;
        for (int k = 0; k < 4; ++k)
            if (counts[k] && (best < 0 || remainders[k] > remainders[best]))
                best = k;
        ++shares[best];
        remainders[best] = -1;
        ++given;
    }
    gentle = shares[0];
    light = shares[1];
    medium = shares[2];
    hard = shares[3];
    return TRUE;
}
