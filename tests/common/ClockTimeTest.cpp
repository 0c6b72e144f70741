#include "common/ClockTime.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>

TEST(ClockTime, FieldsAndSecondsBothWays)
{
    const struct { int y, mo, d, h, mi, s; __int64 seconds; } cases[] = {
        {1970, 1, 1, 0, 0, 0, 0LL},
        {2000, 1, 1, 0, 0, 0, 946684800LL},
        {2000, 2, 29, 12, 30, 15, 951827415LL},
        {2038, 1, 19, 3, 14, 8, 2147483648LL},  // one past the 32-bit end
        {2100, 3, 1, 0, 0, 0, 4107542400LL},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.seconds, ClockToSeconds(c.y, c.mo, c.d, c.h, c.mi, c.s)) << c.y << "-" << c.mo << "-" << c.d;
        int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
        ASSERT_TRUE(SecondsToClock(c.seconds, y, mo, d, h, mi, s)) << c.seconds;
        EXPECT_EQ(c.y, y);
        EXPECT_EQ(c.mo, mo);
        EXPECT_EQ(c.d, d);
        EXPECT_EQ(c.h, h);
        EXPECT_EQ(c.mi, mi);
        EXPECT_EQ(c.s, s);
    }
}

TEST(ClockTime, FieldsPastTheirRangeRollOver)
{
    EXPECT_EQ(ClockToSeconds(2000, 3, 1, 0, 0, 0), ClockToSeconds(2000, 2, 30, 0, 0, 0));
    EXPECT_EQ(ClockToSeconds(2001, 1, 1, 0, 0, 0), ClockToSeconds(2000, 12, 31, 23, 59, 60));
    int y = 1, mo = 2, d = 3, h = 4, mi = 5, s = 6;
    EXPECT_FALSE(SecondsToClock(-1, y, mo, d, h, mi, s));
    EXPECT_EQ(1, y) << "fields stay as they were";
}

TEST(ClockTime, LocalClockIsTheClockOfThePcsZone)
{
    // Whatever the zone, the local seconds read back through the PC's zone give the fields.
    const struct { int y, mo, d, h, mi, s; } cases[] = {
        {2010, 1, 15, 10, 20, 30}, {2010, 7, 15, 10, 20, 30}, {2040, 8, 1, 12, 0, 0},
    };
    for (const auto& c : cases) {
        const __time64_t t = LocalClockToSeconds(c.y, c.mo, c.d, c.h, c.mi, c.s);
        tm parts{};
        ASSERT_EQ(0, _localtime64_s(&parts, &t)) << c.y;
        EXPECT_EQ(c.y, parts.tm_year + 1900);
        EXPECT_EQ(c.mo, parts.tm_mon + 1);
        EXPECT_EQ(c.d, parts.tm_mday);
        EXPECT_EQ(c.h, parts.tm_hour);
        EXPECT_EQ(c.mi, parts.tm_min);
    }
}
