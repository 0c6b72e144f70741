// Clock times under Berlin's system time zone, where summer time began on
// 29 March 2009 and 28 March 2010 at 02:00 (clocks to 03:00) and ended on
// 25 October 2009 and 31 October 2010 at 03:00 (clocks back to 02:00). Under
// UTC, the zone of the build machine, local and UTC clocks agree and none of
// these tests could tell a detour through the PC's local time.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "ZoneTestSupport.h"
#include "common/ClockTime.h"
#include "core/Global.h"
#include "doc/DocFe.h"
#include "doc/DocRssPoi.h"
#include "doc/DrivingReport.h"

namespace {

class BerlinZone : public ::testing::Test {
protected:
    void SetUp() override
    {
        zonetest::FollowTheSystemZone();
        // Without the zone every test here would pass for nothing.
        TIME_ZONE_INFORMATION zone{};
        const DWORD id = GetTimeZoneInformation(&zone);
        ASSERT_TRUE(id == TIME_ZONE_ID_STANDARD || id == TIME_ZONE_ID_DAYLIGHT);
        ASSERT_EQ(-60, zone.Bias);
        ASSERT_EQ(-60, zone.DaylightBias);
        ASSERT_EQ(3, zone.DaylightDate.wMonth);
        ASSERT_EQ(10, zone.StandardDate.wMonth);
    }
};

class FeedDates : public BerlinZone {};
class DrivePoints : public BerlinZone {};
class FuelEco : public BerlinZone {};
class LocalClock : public BerlinZone {};

struct DateCase {
    const wchar_t* text;
    long long stamp;
};

}  // namespace

TEST_F(FeedDates, DaylightSavingOfThePcDoesNotShiftTheStamp)
{
    // A date is moved only by its own offset, also when its clock time is one
    // the PC's clock skips or shows twice.
    const DateCase cases[] = {
        {L"Sun, 28 Mar 2010 02:30:00 +0000", 20100328023000},  // skipped here
        {L"Sun, 31 Oct 2010 02:30:00 GMT", 20101031023000},    // shown twice here
        {L"2010-03-28T02:30:00Z", 20100328023000},
        {L"Thu, 15 Jul 2010 12:00:00 +0200", 20100715100000},  // summer
        {L"2010-07-15T12:00:00Z", 20100715120000},
        {L"Tue, 05 Jan 2010 12:00:00 GMT", 20100105120000},    // winter
    };
    for (const DateCase& c : cases)
        EXPECT_EQ(CDocRssPoi::ParsePubDate(c.text), c.stamp) << testing::PrintToString(std::wstring(c.text));
}

TEST_F(DrivePoints, PackedDifferencesCountTheClockAcrossAChange)
{
    // GPX points hold UTC: 01:59 to 03:01 on the night Berlin's clocks skip an
    // hour is still 62 minutes.
    auto date = [](int y, int m, int d) { return static_cast<DWORD>(y | m << 16 | d << 24); };
    auto time = [](int h, int m) { return static_cast<DWORD>(h | m << 16); };
    EXPECT_EQ(3720, DiffPackedDateTime(date(2009, 3, 29), time(1, 59), date(2009, 3, 29), time(3, 1)));
    EXPECT_EQ(3720, DiffPackedDateTime(date(2009, 10, 25), time(1, 59), date(2009, 10, 25), time(3, 1)));
}

namespace {

struct EcoWindowCase {
    int hour, minute;  // of the older record, on 16 March 2009
    int level;
};

}  // namespace

TEST_F(FuelEco, TheThirtyDayWindowCountsRealSeconds)
{
    // The latest record: 15 April 2009 12:00 summer time, 10:00 UTC. Thirty days
    // of seconds before it is 16 March 10:00 UTC, 11:00 on Berlin's winter
    // clock (not 12:00). The older record makes the whole log 105.00 km/gal
    // against 100.00 for the latest alone: level 4 when it falls outside.
    theGlobal.m_areaCode = 1;
    const EcoWindowCase cases[] = {
        {11, 30, 2},  // inside: both recent, no difference
        {11, 0, 4},   // the start itself is not inside
        {10, 59, 4},
    };
    for (const EcoWindowCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hour << ":" << c.minute);
        CDocFe doc;
        DOCFUEL_DATA old{}, latest{};
        old.year = latest.year = 2009;
        old.month = 3, old.day = 16, old.hour = c.hour, old.minute = c.minute;
        latest.month = 4, latest.day = 15, latest.hour = 12;
        old.distance = 9500, old.amount = 900;  // 950.0 km, 9.00 US gallons
        latest.distance = 1000, latest.amount = 100;
        old.amountUnit = latest.amountUnit = 2;
        old.latitude = old.longitude = latest.latitude = latest.longitude = kNoPosition;
        doc.m_records.Add(old);
        doc.m_records.Add(latest);
        doc.JudgeEco();
        EXPECT_EQ(c.level, doc.m_ecoLevel);
    }
}

// Report dates and times are shown in the PC's clock: the skipped and the
// repeated hour of 2009 come out as a Berlin clock shows them.
TEST_F(LocalClock, SecondsReadAsTheBerlinClockAcrossBothChanges)
{
    const struct {
        __int64 seconds;
        int day, hour, minute, second;
    } cases[] = {
        {1238288399, 29, 1, 59, 59},  // the last second before the spring change
        {1238288400, 29, 3, 0, 0},    // 01:00 UTC: clocks jump to 03:00
        {1256430600, 25, 2, 30, 0},   // 00:30 UTC: summer 02:30
        {1256434200, 25, 2, 30, 0},   // 01:30 UTC: the repeated 02:30
    };
    for (const auto& c : cases) {
        int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
        ASSERT_TRUE(LocalSecondsToClock(c.seconds, y, mo, d, h, mi, s)) << c.seconds;
        EXPECT_EQ(2009, y);
        EXPECT_EQ(c.day == 29 ? 3 : 10, mo);
        EXPECT_EQ((std::vector<int>{c.day, c.hour, c.minute, c.second}), (std::vector<int>{d, h, mi, s})) << c.seconds;
    }
}
