#pragma once
// Shared pieces of the drive-report and fuel-log tests: the track fixtures in
// the source tree, LTB files built byte by byte and hand-made track points.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "common/Utility.h"
#include "doc/DrivingReport.h"

namespace reporttest {

// tests/doc/tracks/<name> in the source tree.
inline std::wstring TrackFixture(const wchar_t* name)
{
    return testsupport::SourceFile(std::wstring(L"tests\\doc\\tracks\\") + name);
}

inline void Put32(testsupport::Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

struct LtbRecord {
    uint32_t odometer = 0;
    int32_t lon = 135 * 256 * 3600;
    int32_t lat = 35 * 256 * 3600;
    int year = 2009, month = 5, day = 1, hour = 12, minute = 0, second = 0;
    int speed = 0, course = 0, flags = 1;
};

inline testsupport::Bytes LtbFile(const std::vector<LtbRecord>& records, uint32_t version = 2)
{
    testsupport::Bytes b(8 + 24 * records.size());
    Put32(b, 0, version);
    for (size_t i = 0; i < records.size(); ++i) {
        const LtbRecord& r = records[i];
        const size_t at = 8 + 24 * i;
        Put32(b, at, r.odometer);
        Put32(b, at + 4, static_cast<uint32_t>(r.lon));
        Put32(b, at + 8, static_cast<uint32_t>(r.lat));
        b[at + 12] = static_cast<uint8_t>(r.year / 100);
        b[at + 13] = static_cast<uint8_t>(r.year % 100);
        b[at + 14] = static_cast<uint8_t>(r.month);
        b[at + 15] = static_cast<uint8_t>(r.day);
        b[at + 16] = static_cast<uint8_t>(r.hour);
        b[at + 17] = static_cast<uint8_t>(r.minute);
        b[at + 18] = static_cast<uint8_t>(r.second);
        b[at + 19] = static_cast<uint8_t>(r.speed);
        b[at + 20] = static_cast<uint8_t>(r.course);
        b[at + 21] = static_cast<uint8_t>(r.flags);
    }
    return b;
}

// A point at the given time with the fields the statistics read.
inline DR_DRIVING_POINT Point(int seconds, double distance = 0, int speed = 0, int flags = 1, int course = 0)
{
    __int64 t = 1241179200LL + seconds;  // 2009-05-01 12:00:00 on the clock
    tm parts{};
    _gmtime64_s(&parts, &t);
    DR_DRIVING_POINT p{};
    p.latitude = 35;
    p.longitude = 139;
    p.year = static_cast<WORD>(parts.tm_year + 1900);
    p.month = static_cast<BYTE>(parts.tm_mon + 1);
    p.day = static_cast<BYTE>(parts.tm_mday);
    p.hour = static_cast<WORD>(parts.tm_hour);
    p.minute = static_cast<BYTE>(parts.tm_min);
    p.second = static_cast<BYTE>(parts.tm_sec);
    p.dateTime = MakeDateTimeNumber(p.year, p.month, p.day, p.hour, p.minute, p.second);
    p.distance = distance;
    p.speed = static_cast<BYTE>(speed);
    p.flags = static_cast<BYTE>(flags);
    p.course = static_cast<BYTE>(course);
    return p;
}

// Fills in the intervals from the points' times, as the readers do.
inline void SetIntervals(CDocDrivingReport& r)
{
    for (INT_PTR i = 1; i < r.m_points.GetSize(); ++i)
        r.m_points[i].interval = DiffPackedDateTime(PackedDate(r.m_points[i - 1]), PackedTime(r.m_points[i - 1]),
                                                    PackedDate(r.m_points[i]), PackedTime(r.m_points[i]));
    r.m_valid = 1;
}

}  // namespace reporttest
