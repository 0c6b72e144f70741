// The two track readers of a drive report: GPX through the XML layer, LTB as records.
#include <cwchar>
#include <cwctype>
#include <ctime>
#include <vector>

#include "common/ClockTime.h"
#include "common/FileUtil.h"
#include "common/Utility.h"
#include "doc/DrivingReport.h"
#include "doc/GpxTrackReader.h"

namespace {

int Digits(const wchar_t* text, size_t length, size_t at, size_t count)
{
    // C atoi rules on the characters [at, at + count).
    wchar_t buf[8] = {};
    for (size_t i = 0; i < count && at + i < length; ++i)
        buf[i] = text[at + i];
    return _wtoi(buf);
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads YYYY-MM-DDThh:mm:ss from its fixed positions; a zone after the seconds
// (and after any fraction) moves the time to UTC, as "Z" times are. FALSE when
// the text is too short to hold a time.
bool ReadGpxTime(const wchar_t* text, DR_DRIVING_POINT& p)
{
    while (iswspace(*text))
        ++text;
    size_t length = wcslen(text);
    while (length && iswspace(text[length - 1]))
        --length;
    if (length < 19)
        return false;
    int year = Digits(text, length, 0, 4), month = Digits(text, length, 5, 2), day = Digits(text, length, 8, 2);
    int hour = Digits(text, length, 11, 2), minute = Digits(text, length, 14, 2), second = Digits(text, length, 17, 2);
    size_t at = 19;
    if (at < length && text[at] == L'.')
        for (++at; at < length && IsDigit(text[at]); ++at) {
        }
    int offset = 0;  // minutes east of UTC
    if (at < length && (text[at] == L'+' || text[at] == L'-')) {
        const int sign = text[at] == L'+' ? 1 : -1;
        const wchar_t* z = text + at + 1;
        size_t rest = length - at - 1;
        if (rest >= 2 && IsDigit(z[0]) && IsDigit(z[1])) {
            int h = (z[0] - L'0') * 10 + (z[1] - L'0'), m = 0;
            const wchar_t* mm = rest >= 5 && z[2] == L':' ? z + 3 : rest >= 4 ? z + 2 : nullptr;
            if (mm && IsDigit(mm[0]) && IsDigit(mm[1]))
                m = (mm[0] - L'0') * 10 + (mm[1] - L'0');
            offset = sign * (h * 60 + m);
        }
    }
    if (offset && IsValidDateTime(year, month, day, hour, minute, second)) {
        const __int64 clock = ClockToSeconds(year, month, day, hour, minute, second);
        if (clock != -1)
            SecondsToClock(clock - offset * 60LL, year, month, day, hour, minute, second);
    }
    p.year = static_cast<WORD>(year);
    p.month = static_cast<BYTE>(month);
    p.day = static_cast<BYTE>(day);
    p.hour = static_cast<WORD>(hour);
    p.minute = static_cast<BYTE>(minute);
    p.second = static_cast<BYTE>(second);
    // Fields out of range are kept here and make the caller skip the point.
    return true;
}

}  // namespace

BOOL CDocDrivingReport::ReadGpx(const wchar_t* path)
{
    Fail();
    LONGLONG last = -1;
    BOOL ok = ReadGpxTrackPoints(path, [&](const GPX_TRACK_POINT& gpx) {
        DR_DRIVING_POINT p{};
        p.latitude = gpx.latitude;
        p.longitude = gpx.longitude;
        if (!ReadGpxTime(gpx.time, p))
            return false;
        if (p.longitude < -180 || p.longitude > 180 || p.latitude < -90 || p.latitude > 90 ||
            !IsValidDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second))
            return true;
        p.dateTime = MakeDateTimeNumber(p.year, p.month, p.day, p.hour, p.minute, p.second);
        // A repeated fix of the same moment adds nothing; the same clock time
        // on another day is another moment.
        if (p.dateTime == last)
            return true;
        last = p.dateTime;
        m_points.Add(p);
        return true;
    });
    if (!ok || m_points.GetSize() == 0) {
        Fail();
        return FALSE;
    }
    SortPoints();
    DR_DRIVING_POINT* p = m_points.GetData();
    for (INT_PTR i = 1; i < m_points.GetSize(); ++i) {
        p[i].distance = HubenyDistance(p[i - 1].latitude, p[i - 1].longitude, p[i].latitude, p[i].longitude);
        if (p[i].interval > 0) {
            double speed = p[i].distance / p[i].interval * 60 * 60 / 1000;
            p[i].speed = static_cast<BYTE>(speed > 255 ? 255 : speed);
        }
    }
    Succeed(path);
    return TRUE;
}

BOOL CDocDrivingReport::ReadLtb(const wchar_t* path)
{
    Fail();
    if (!path)
        return FALSE;
    // 24 bytes a point: 32 MB are weeks of driving. A larger file is refused
    // rather than allowed to exhaust the program's memory.
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxLtbBytes) || bytes.size() < 8)
        return FALSE;
    const BYTE* data = reinterpret_cast<const BYTE*>(bytes.data());
    auto i32 = [&](size_t at) {
        return static_cast<INT32>(data[at] | data[at + 1] << 8 | data[at + 2] << 16 | DWORD(data[at + 3]) << 24);
    };
    if (i32(0) != 2)
        return FALSE;
    m_localClock = TRUE;
    const size_t body = bytes.size() - 8;
    if (body == 0 || body % 24)
        return FALSE;
    for (size_t at = 8; at + 24 <= bytes.size(); at += 24) {
        const BYTE* r = &data[at];
        DR_DRIVING_POINT p{};
        int year = r[12] * 100 + r[13];
        if (!IsValidDateTime(year, r[14], r[15], r[16], r[17], r[18]))
            continue;
        p.year = static_cast<WORD>(year);
        p.month = r[14];
        p.day = r[15];
        p.hour = r[16];
        p.minute = r[17];
        p.second = r[18];
        p.dateTime = MakeDateTimeNumber(year, r[14], r[15], r[16], r[17], r[18]);
        p.latitude = i32(at + 8) * 0.0390625 / 36000;
        p.longitude = i32(at + 4) * 0.0390625 / 36000;
        if (p.longitude < -180 || p.longitude > 180 || p.latitude < -90 || p.latitude > 90)
            continue;
        p.speed = r[19];
        p.course = r[20];
        p.flags = r[21];
        p.odometer = static_cast<DWORD>(i32(at));
        m_points.Add(p);
    }
    if (m_points.GetSize() == 0) {
        Fail();
        return FALSE;
    }
    SortPoints();
    DR_DRIVING_POINT* p = m_points.GetData();
    DWORD previous = p[0].odometer;
    for (INT_PTR i = 1; i < m_points.GetSize(); ++i) {
        p[i].distance = p[i].odometer > previous ? double(p[i].odometer - previous) : 0.0;
        previous = p[i].odometer;
    }
    Succeed(path);
    return TRUE;
}
