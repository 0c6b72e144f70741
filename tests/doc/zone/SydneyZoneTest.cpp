// Drive times shown under the PC's own time zone when it is Sydney's: summer
// time there runs from October into April of the next year.
#include <gtest/gtest.h>

#include <windows.h>

#include "DocTestSupport.h"
#include "ReportTestSupport.h"
#include "ZoneTestSupport.h"
#include "core/Global.h"
#include "doc/DrivingReport.h"

namespace {

class SydneyZoneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zonetest::FollowTheSystemZone();
        doctest::SetModel(0);
        theGlobal.m_timeZone = 0;
    }
};

// A GPX report of one point at the given UTC clock time.
CDocDrivingReport At(int year, int month, int day, int hour)
{
    CDocDrivingReport r;
    DR_DRIVING_POINT p{};
    p.year = static_cast<WORD>(year);
    p.month = static_cast<BYTE>(month);
    p.day = static_cast<BYTE>(day);
    p.hour = static_cast<WORD>(hour);
    r.m_points.Add(p);
    return r;
}

}  // namespace

TEST_F(SydneyZoneTest, TheSystemZoneIsSydney)
{
    TIME_ZONE_INFORMATION zone{};
    const DWORD id = GetTimeZoneInformation(&zone);
    ASSERT_TRUE(id == TIME_ZONE_ID_STANDARD || id == TIME_ZONE_ID_DAYLIGHT);
    EXPECT_EQ(-600, zone.Bias);
    EXPECT_EQ(10, zone.DaylightDate.wMonth);
    EXPECT_EQ(4, zone.StandardDate.wMonth);
}

TEST_F(SydneyZoneTest, GpxTimesShowInSydneyTimeSummerAndWinter)
{
    struct Case {
        int year, month, day, hour;
        const wchar_t* date;
        const wchar_t* time;
    } cases[] = {
        {2009, 1, 15, 2, L"2009/01/15", L"13:00:00"},   // summer: UTC+11
        {2009, 7, 15, 2, L"2009/07/15", L"12:00:00"},   // winter: UTC+10
        {2009, 12, 31, 14, L"2010/01/01", L"01:00:00"}, // summer across the new year
        {2045, 1, 15, 2, L"2045/01/15", L"13:00:00"},   // past 2038
    };
    for (const Case& c : cases) {
        CDocDrivingReport r = At(c.year, c.month, c.day, c.hour);
        EXPECT_STREQ(c.date, r.GetStartDateText().GetString()) << c.year << "-" << c.month;
        EXPECT_STREQ(c.time, r.GetStartTimeText().GetString()) << c.year << "-" << c.month;
    }
}

// Sydney's summer time began on 4 October 2009 at 02:00 (clocks to 03:00) and
// ended on 5 April 2009 at 03:00 (clocks back to 02:00).
TEST_F(SydneyZoneTest, LtbTimeSpansAcrossASummerTimeChangeCountRealSeconds)
{
    testsupport::TempDir dir;
    struct Case {
        int month, day, fromHour, toHour;
        int ltbSeconds, gpxSeconds;
    } cases[] = {
        {10, 4, 1, 4, 2 * 3600, 3 * 3600},  // the night summer time begins
        {4, 5, 1, 4, 4 * 3600, 3 * 3600},   // the night it ends
        {7, 15, 1, 4, 3 * 3600, 3 * 3600},  // no change
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.month);
        std::vector<reporttest::LtbRecord> recs(2);
        for (auto& r : recs) {
            r.month = c.month;
            r.day = c.day;
            r.minute = 30;
        }
        recs[0].hour = c.fromHour;
        recs[1].hour = c.toHour;
        const std::wstring path = dir.File(L"drive.LTB");
        testsupport::WriteBytes(path, reporttest::LtbFile(recs));
        CDocDrivingReport ltb;
        ASSERT_TRUE(ltb.ReadLtb(path.c_str()));
        EXPECT_EQ(c.ltbSeconds, ltb.GetDuration());
        EXPECT_EQ(c.ltbSeconds, ltb.m_points[1].interval);
        // The same clock readings in a GPX report are UTC: no zone in between.
        CDocDrivingReport gpx = ltb;
        gpx.m_localClock = FALSE;
        EXPECT_EQ(c.gpxSeconds, gpx.GetDuration());
    }
}
