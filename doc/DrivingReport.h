#pragma once
// One recorded drive: its list record, the file it came from and its track
// points, read from a GPX file or the unit's binary LTB file, with what the
// report views show of it (times, duration, distance, sudden changes, eco rating).
#include <windows.h>

#include "classlib/Afx.h"

#pragma pack(push, 1)
struct DR_LIST_DATA {
    BYTE checked;
    wchar_t name[261];
    INT32 kind;
    wchar_t text1[129];
    wchar_t text2[129];
    wchar_t text3[129];
};

struct DR_PROPERTY_DATA {
    wchar_t startDate[12];
    wchar_t startTime[12];
    wchar_t endDate[12];
    wchar_t endTime[12];
    wchar_t duration[20];
    INT32 distance;
    INT32 distanceMiles;
    INT32 kind;
    wchar_t text1[129];
    wchar_t text2[129];
    wchar_t text3[129];
    wchar_t name[261];
};

struct DR_DRIVING_POINT {
    double latitude;
    double longitude;
    WORD year;
    BYTE month;
    BYTE day;
    WORD hour;
    BYTE minute;
    BYTE second;
    double distance;
    INT32 interval;
    BYTE speed;
    BYTE course;
    BYTE flags;
    LONGLONG dateTime;
    DWORD odometer;
};
#pragma pack(pop)

// An LTB file above this size is refused (24 bytes a point: weeks of driving).
constexpr long long kMaxLtbBytes = 32LL << 20;

// The report views read these records field by field: no gaps.
static_assert(sizeof(DR_LIST_DATA) == 1301);
static_assert(sizeof(DR_PROPERTY_DATA) == 1444);
static_assert(sizeof(DR_DRIVING_POINT) == 51);

// The date fields as one word: year | month << 16 | day << 24.
inline DWORD PackedDate(const DR_DRIVING_POINT& p)
{
    return p.year | (DWORD(p.month) << 16) | (DWORD(p.day) << 24);
}
// The time fields as one word: hour | minute << 16 | second << 24.
inline DWORD PackedTime(const DR_DRIVING_POINT& p)
{
    return p.hour | (DWORD(p.minute) << 16) | (DWORD(p.second) << 24);
}

// Checked, kind, name (at most 260 characters) and the three texts (at most 128).
void CopyDrListData(const DR_LIST_DATA& source, DR_LIST_DATA& destination);

// Seconds from the first packed date and time to the second, counted on the
// calendar clock (no daylight-saving step in between); at most 2147483647.
int DiffPackedDateTime(DWORD date1, DWORD time1, DWORD date2, DWORD time2);
// A local time value shifted into the time zone the user chose (or the PC's)
// for the GPX models; other models record local time and pass unchanged.
__int64 ToDisplayTime(__int64 t);
// t - bias of zone at t, where t is a time value whose local clock reads the
// recorded time. Summer time counts in either hemisphere.
__int64 ApplyZoneRules(__int64 t, const TIME_ZONE_INFORMATION& zone);
// Metres between two positions in degrees (Hubeny, with the unit's constants).
double HubenyDistance(double lat1, double lon1, double lat2, double lon2);

class CDocDrivingReport {
public:
    CDocDrivingReport();
    CDocDrivingReport(const CDocDrivingReport& other);
    CDocDrivingReport& operator=(const CDocDrivingReport& other);
    virtual ~CDocDrivingReport();

    // Fill a freshly made report; FALSE (and the report cleared) on failure.
    BOOL ReadGpx(const wchar_t* path);
    BOOL ReadLtb(const wchar_t* path);

    // Sampling distance from the scale index 0 to 5 in the display unit.
    void SetSampling(int scale);
    // "lat[]=..&lng[]=.." of the sampled route for the map page.
    CString BuildRouteQuery();

    __int64 GetStartTime() const;
    __int64 GetEndTime() const;
    CString GetStartDateText() const;
    CString GetEndDateText() const;
    CString GetStartTimeText() const;
    CString GetEndTimeText() const;
    __int64 GetDuration() const;
    CString GetDurationText() const;
    int GetDistance() const;
    void GetPropertyData(DR_PROPERTY_DATA& out) const;
    BOOL CountSuddenChanges(int& accelerations, int& decelerations) const;
    BOOL RateEcoLtb(int& gentle, int& light, int& medium, int& hard) const;
    BOOL RateEcoGpx(int& gentle, int& light, int& medium, int& hard) const;

    DR_LIST_DATA m_listData;
    wchar_t m_path[260];
    int m_samplingCursor = 0;
    int m_samplingDistance = 0;
    int m_valid = 0;
    // LTB points hold the unit's local clock, GPX points UTC: time spans of an
    // LTB drive are taken through the PC's zone, so a summer-time change counts.
    BOOL m_localClock = FALSE;
    CArray<DR_DRIVING_POINT> m_points;

private:
    // Seconds from a to b on the report's clock (clamped like DiffPackedDateTime).
    int SecondsBetween(const DR_DRIVING_POINT& a, const DR_DRIVING_POINT& b) const;
    void Fail();
    void Succeed(const wchar_t* path);
    // Sorts the points by time and fills in the time between neighbours.
    void SortPoints();
    BOOL NextRoutePoint(int& index);
    BOOL RateEco(bool ltb, int& gentle, int& light, int& medium, int& hard) const;
};

// Kilometres to rounded miles as the report list shows them.
int KilometresToMiles(int km);
// Seconds as "hh:mm:ss" (at least two hour digits).
CString FormatDuration(__int64 seconds, bool padHours);
