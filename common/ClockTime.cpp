#include "common/ClockTime.h"

#include <ctime>

namespace {

tm FieldsTm(int year, int month, int day, int hour, int minute, int second)
{
    tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

}  // namespace

__int64 ClockToSeconds(int year, int month, int day, int hour, int minute, int second)
{
    tm t = FieldsTm(year, month, day, hour, minute, second);
    return _mkgmtime64(&t);
}

__int64 LocalClockToSeconds(int year, int month, int day, int hour, int minute, int second)
{
    tm t = FieldsTm(year, month, day, hour, minute, second);
    t.tm_isdst = -1;  // the PC's rules decide
    return _mktime64(&t);
}

namespace {

void TmToClock(const tm& u, int& year, int& month, int& day, int& hour, int& minute, int& second)
{
    year = u.tm_year + 1900;
    month = u.tm_mon + 1;
    day = u.tm_mday;
    hour = u.tm_hour;
    minute = u.tm_min;
    second = u.tm_sec;
}

}  // namespace

bool SecondsToClock(__int64 seconds, int& year, int& month, int& day, int& hour, int& minute, int& second)
{
    tm u{};
    const __time64_t at = seconds;
    if (seconds < 0 || _gmtime64_s(&u, &at) != 0)
        return false;
    TmToClock(u, year, month, day, hour, minute, second);
    return true;
}

bool LocalSecondsToClock(__int64 seconds, int& year, int& month, int& day, int& hour, int& minute, int& second)
{
    tm u{};
    const __time64_t at = seconds;
    if (_localtime64_s(&u, &at) != 0)
        return false;
    TmToClock(u, year, month, day, hour, minute, second);
    return true;
}
