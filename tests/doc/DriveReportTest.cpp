// The drive-report document and the statistics of one report: times in the
// user's zone, duration, distance, sudden changes and the eco rating.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "DocTestSupport.h"
#include "ReportTestSupport.h"
#include "core/Global.h"
#include "doc/DocDr.h"

using namespace reporttest;

namespace {

class DriveReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        doctest::SetModel(5);
        theGlobal.m_timeZone = 0;
        theGlobal.m_timeDifference = 12;
        theGlobal.m_ecoJudge = 1;
    }
    void TearDown() override { CoUninitialize(); }

    std::wstring WriteLtb(const wchar_t* name, int seconds = 10, uint32_t metres = 0)
    {
        std::vector<LtbRecord> recs(2);
        recs[1].second = seconds % 60;
        recs[1].minute = seconds / 60 % 60;
        recs[1].hour = 12 + seconds / 3600;
        recs[1].odometer = metres;
        std::wstring path = m_dir.File(name);
        testsupport::WriteBytes(path, LtbFile(recs));
        return path;
    }

    testsupport::TempDir m_dir;
};

// A report of two points seconds apart that drove metres.
CDocDrivingReport TwoPoints(int seconds, double metres)
{
    CDocDrivingReport r;
    r.m_points.Add(Point(0));
    r.m_points.Add(Point(seconds, metres));
    SetIntervals(r);
    return r;
}

}  // namespace

TEST_F(DriveReportTest, LoadNamesReportsAndLeavesThePathAlone)
{
    struct Case {
        const wchar_t* file;
        bool ok;
        int kind;
        const wchar_t* name;
    } cases[] = {
        {L"Pri0001.LTB", true, 0, L"Pri0001"}, {L"Bsi7.LTB", true, 1, L"Bsi7"},
        {L"Trip.LTB", true, 2, L"Trip"},       {L"pri9.LTB", true, 2, L"pri9"},
        // FAT cards hand out either case.
        {L"Pri2.ltb", true, 0, L"Pri2"},       {L"Track.txt", false, 0, nullptr},
        {L"Track", false, 0, nullptr},
    };
    CDocDr doc;
    for (const Case& c : cases) {
        SCOPED_TRACE(testsupport::Utf8(c.file));
        const std::wstring path = WriteLtb(c.file);
        const int before = doc.GetCount();
        // A read-only copy of the text: Load must not write into it.
        const std::wstring copy = path;
        EXPECT_EQ(c.ok, !!doc.Load(path.c_str()));
        EXPECT_EQ(copy, path);
        EXPECT_EQ(path.size(), wcslen(path.c_str()));
        EXPECT_EQ(before + (c.ok ? 1 : 0), doc.GetCount());
        if (!c.ok)
            continue;
        DR_LIST_DATA list{};
        ASSERT_TRUE(doc.GetListData(doc.GetCount() - 1, list));
        EXPECT_STREQ(c.name, list.name);
        EXPECT_EQ(c.kind, list.kind);
        EXPECT_EQ(1, list.checked);
    }
    EXPECT_EQ(0, doc.GetErrorCode());
    // GPX files, with an extension in any case, are kind 0.
    std::wstring gpx = m_dir.File(L"Bsi.Gpx");
    CopyFileW(TrackFixture(L"babel_v11.gpx").c_str(), gpx.c_str(), FALSE);
    ASSERT_TRUE(doc.Load(gpx.c_str()));
    DR_LIST_DATA list{};
    ASSERT_TRUE(doc.GetListData(doc.GetCount() - 1, list));
    EXPECT_STREQ(L"Bsi", list.name);
    EXPECT_EQ(0, list.kind);
    // A file that does not read leaves the document as it was.
    testsupport::WriteBytes(m_dir.File(L"bad.LTB"), std::string("xx"));
    const int count = doc.GetCount();
    EXPECT_FALSE(doc.Load(m_dir.File(L"bad.LTB").c_str()));
    EXPECT_EQ(count, doc.GetCount());
    EXPECT_FALSE(doc.GetListData(count, list));
    CDocDrivingReport copy;
    EXPECT_FALSE(doc.GetReport(-1, copy));
    ASSERT_TRUE(doc.GetReport(0, copy));
    EXPECT_EQ(2, copy.m_points.GetSize());
}

TEST_F(DriveReportTest, TotalSummaryAddsTheCheckedReports)
{
    CDocDr doc;
    doc.m_reports.Add(TwoPoints(3600, 1400));
    doc.m_reports.Add(TwoPoints(363600, 2600));
    CDocDrivingReport unchecked = TwoPoints(100, 50000);
    unchecked.m_listData.checked = 0;
    doc.m_reports.Add(unchecked);
    DR_PROPERTY_DATA total{};
    doc.BuildTotalSummary(total);
    EXPECT_EQ(4, total.distance);
    EXPECT_EQ(3, total.distanceMiles);
    EXPECT_STREQ(L"102:00:00", total.duration);
    EXPECT_STREQ(L"2009/05/01", total.startDate);
    EXPECT_STREQ(L"12:00:00", total.startTime);
    EXPECT_STREQ(L"2009/05/05", total.endDate);
    EXPECT_STREQ(L"17:00:00", total.endTime);

    DR_PROPERTY_DATA one{};
    ASSERT_TRUE(doc.BuildReportSummary(1, one));
    EXPECT_STREQ(L"101:00:00", one.duration);
    EXPECT_FALSE(doc.BuildReportSummary(3, one));

    // Nothing checked: empty times, not 1970.
    for (INT_PTR i = 0; i < doc.m_reports.GetSize(); ++i)
        doc.m_reports[i].m_listData.checked = 0;
    doc.BuildTotalSummary(total);
    EXPECT_STREQ(L"", total.startDate);
    EXPECT_STREQ(L"", total.endTime);
    EXPECT_STREQ(L"0:00:00", total.duration);
    EXPECT_EQ(0, total.distance);
}

TEST_F(DriveReportTest, DistanceDurationAndPropertyRecord)
{
    struct Case {
        std::vector<double> metres;
        int km;
    } cases[] = {{{0, 600, 400}, 1}, {{0, 600, 500}, 1}, {{0, 600, 900}, 2}, {{0, 499.9}, 0}};
    for (const Case& c : cases) {
        CDocDrivingReport r;
        for (size_t i = 0; i < c.metres.size(); ++i)
            r.m_points.Add(Point(static_cast<int>(i), c.metres[i]));
        EXPECT_EQ(c.km, r.GetDistance());
    }
    EXPECT_EQ(7, KilometresToMiles(12));
    EXPECT_EQ(8, KilometresToMiles(13));

    EXPECT_STREQ(L"00:00:59", TwoPoints(59, 0).GetDurationText().GetString());
    EXPECT_STREQ(L"99:59:59", TwoPoints(359999, 0).GetDurationText().GetString());
    EXPECT_STREQ(L"100:00:00", TwoPoints(360000, 0).GetDurationText().GetString());
    CDocDrivingReport bad = TwoPoints(59, 0);
    bad.m_points[1].month = 13;
    EXPECT_STREQ(L"00:00:00", bad.GetDurationText().GetString());
    EXPECT_EQ(0, bad.GetDuration());
    // The stand-in end time leaves the point as it was.
    bad.GetEndTime();
    EXPECT_EQ(13, bad.m_points[1].month);

    CDocDrivingReport r = TwoPoints(3725, 12400);
    wcscpy(r.m_listData.name, L"Pri0001");
    wcscpy(r.m_listData.text2, L"to work");
    r.m_listData.kind = 0;
    DR_PROPERTY_DATA p;
    std::memset(&p, 0x55, sizeof p);
    r.GetPropertyData(p);
    EXPECT_STREQ(L"2009/05/01", p.startDate);
    EXPECT_STREQ(L"12:00:00", p.startTime);
    EXPECT_STREQ(L"13:02:05", p.endTime);
    EXPECT_STREQ(L"01:02:05", p.duration);
    EXPECT_EQ(12, p.distance);
    EXPECT_EQ(7, p.distanceMiles);
    EXPECT_STREQ(L"Pri0001", p.name);
    EXPECT_STREQ(L"", p.text1);
    EXPECT_STREQ(L"to work", p.text2);
}

TEST_F(DriveReportTest, DisplayTimeByModelAndManualZone)
{
    const __int64 t = 1000000000;
    doctest::SetModel(5);
    theGlobal.m_timeZone = 1;
    theGlobal.m_timeDifference = 3;
    EXPECT_EQ(t, ToDisplayTime(t));
    doctest::SetModel(0);
    const struct {
        int index;
        int hours;
    } table[] = {{0, 12}, {3, 9}, {12, 0}, {24, -12}};
    for (const auto& c : table) {
        theGlobal.m_timeDifference = c.index;
        EXPECT_EQ(t + c.hours * 3600LL, ToDisplayTime(t)) << c.index;
    }
    // 03:00:00 with index 3 shows 12:00:00.
    theGlobal.m_timeDifference = 3;
    CDocDrivingReport r;
    DR_DRIVING_POINT p = Point(-9 * 3600);
    r.m_points.Add(p);
    EXPECT_STREQ(L"12:00:00", r.GetStartTimeText().GetString());
    theGlobal.m_timeZone = 0;
}

TEST_F(DriveReportTest, ZoneRulesInBothHemispheres)
{
    auto rule = [](WORD month, WORD week, WORD hour) {
        SYSTEMTIME s{};
        s.wMonth = month;
        s.wDay = week;
        s.wDayOfWeek = 0;
        s.wHour = hour;
        return s;
    };
    TIME_ZONE_INFORMATION sydney{};
    sydney.Bias = -600;
    sydney.DaylightBias = -60;
    sydney.StandardDate = rule(4, 1, 3);
    sydney.DaylightDate = rule(10, 1, 2);
    TIME_ZONE_INFORMATION newYork{};
    newYork.Bias = 300;
    newYork.DaylightBias = -60;
    newYork.StandardDate = rule(11, 1, 2);
    newYork.DaylightDate = rule(3, 2, 2);
    // Brazil's rules of 2009: summer from the third Sunday of October to the
    // third Sunday of February.
    TIME_ZONE_INFORMATION brasilia{};
    brasilia.Bias = 180;
    brasilia.DaylightBias = -60;
    brasilia.StandardDate = rule(2, 3, 0);
    brasilia.DaylightDate = rule(10, 3, 0);
    TIME_ZONE_INFORMATION utc{};

    auto at = [](int month, int day, int hour) {
        tm parts{};
        parts.tm_year = 109;
        parts.tm_mon = month - 1;
        parts.tm_mday = day;
        parts.tm_hour = hour;
        return _mkgmtime64(&parts);
    };
    struct Case {
        const char* name;
        const TIME_ZONE_INFORMATION* zone;
        __int64 t;
        int offsetMinutes;  // what the rules add
    } cases[] = {
        {"Sydney January", &sydney, at(1, 15, 2), 660},
        {"Sydney July", &sydney, at(7, 15, 2), 600},
        {"Sydney December", &sydney, at(12, 20, 2), 660},
        {"Sydney just before summer", &sydney, at(10, 3, 15), 600},
        {"Sydney just after summer", &sydney, at(10, 4, 17), 660},
        {"New York January", &newYork, at(1, 15, 12), -300},
        {"New York July", &newYork, at(7, 15, 12), -240},
        {"Brasilia January", &brasilia, at(1, 15, 12), -120},
        {"Brasilia May", &brasilia, at(5, 15, 12), -180},
        {"Brasilia November", &brasilia, at(11, 15, 12), -120},
        {"UTC", &utc, at(7, 15, 12), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.t + c.offsetMinutes * 60LL, ApplyZoneRules(c.t, *c.zone)) << c.name;
}

TEST_F(DriveReportTest, PackedDifferencesCountTheClock)
{
    DR_DRIVING_POINT a = Point(0), b = Point(0);
    // Across the night US clocks jump: still 3,720 s (under a zone that
    // jumps: tests/doc/zone/BerlinZoneTest.cpp).
    a.year = b.year = 2009;
    a.month = b.month = 3;
    a.day = b.day = 8;
    a.hour = 1;
    a.minute = 59;
    b.hour = 3;
    b.minute = 1;
    EXPECT_EQ(3720, DiffPackedDateTime(PackedDate(a), PackedTime(a), PackedDate(b), PackedTime(b)));
    // Years past 2038 through the 64-bit functions, and the cap.
    b.year = 2045;
    EXPECT_EQ(1136077320, DiffPackedDateTime(PackedDate(a), PackedTime(a), PackedDate(b), PackedTime(b)));
    b.year = 2999;
    EXPECT_EQ(2147483647, DiffPackedDateTime(PackedDate(a), PackedTime(a), PackedDate(b), PackedTime(b)));
}

TEST_F(DriveReportTest, SuddenChanges)
{
    CDocDrivingReport r;
    r.m_points.Add(Point(0, 0, 0));
    r.m_points.Add(Point(1, 10, 20));
    r.m_points.Add(Point(2, 29, 50));  // x = (2500 - 400) / (30 * 7.2) = 9.72
    r.m_points.Add(Point(3, 29, 20));  // x = (400 - 2500) / 216 = -9.72
    r.m_points.Add(Point(4, 3, 21));   // from a point reached by 3 m: not counted
    r.m_points.Add(Point(5, 5, 90));
    int up = -1, down = -1;
    EXPECT_TRUE(r.CountSuddenChanges(up, down));
    EXPECT_EQ(1, up);
    EXPECT_EQ(1, down);
}

namespace {

// A track of standing starts, each reaching its speed 5 s after standing
// (secondsToTop later when given), with the unit's flag set and a steady course.
CDocDrivingReport LtbStarts(const std::vector<int>& topSpeeds, int lastStep = 1)
{
    CDocDrivingReport r;
    int t = 0;
    r.m_points.Add(Point(t, 0, 0));
    for (int top : topSpeeds) {
        r.m_points.Add(Point(++t, 20, 0));
        for (int k = 1; k <= 5; ++k) {
            t += k == 5 ? lastStep : 1;
            r.m_points.Add(Point(t, 20, top * k / 5));
        }
        for (int k = 0; k < 3; ++k)
            r.m_points.Add(Point(++t, 20, 50));
    }
    SetIntervals(r);
    return r;
}

}  // namespace

TEST_F(DriveReportTest, LtbEcoRating)
{
    int g, l, m, h;
    EXPECT_TRUE(LtbStarts({45}).RateEcoLtb(g, l, m, h));
    EXPECT_EQ(100, h);
    EXPECT_EQ(0, g + l + m);
    // 45 km/h after 6 s: 45 * 5 / 6 = 37, medium.
    EXPECT_TRUE(LtbStarts({45}, 2).RateEcoLtb(g, l, m, h));
    EXPECT_EQ(100, m);
    EXPECT_TRUE(LtbStarts({8, 15, 30, 45}).RateEcoLtb(g, l, m, h));
    EXPECT_EQ(25, g);
    EXPECT_EQ(25, l);
    EXPECT_EQ(25, m);
    EXPECT_EQ(25, h);
    // Three starts: the rounding point goes to a class that had a start, never
    // to "gentle", which had none.
    EXPECT_TRUE(LtbStarts({15, 30, 45}).RateEcoLtb(g, l, m, h));
    EXPECT_EQ(0, g);
    EXPECT_EQ(100, l + m + h);
    EXPECT_EQ(34, l);
    EXPECT_EQ(33, m);
    EXPECT_EQ(33, h);
    // Without the unit's flag nothing is rated.
    CDocDrivingReport noFlag = LtbStarts({45});
    for (INT_PTR i = 0; i < noFlag.m_points.GetSize(); ++i)
        noFlag.m_points[i].flags = 0;
    g = l = m = h = 9;
    EXPECT_FALSE(noFlag.RateEcoLtb(g, l, m, h));
    EXPECT_EQ(0, g + l + m + h);
    // A turn within the first 50 m is no start either.
    CDocDrivingReport turn = LtbStarts({45});
    turn.m_points[4].course = 60;
    EXPECT_FALSE(turn.RateEcoLtb(g, l, m, h));
    // The threshold table follows the judge setting: 45 is "medium" for judge 2.
    theGlobal.m_ecoJudge = 2;
    EXPECT_TRUE(LtbStarts({45}).RateEcoLtb(g, l, m, h));
    EXPECT_EQ(100, m);
}

TEST_F(DriveReportTest, GpxEcoRatingAndTheDocumentsChoice)
{
    CDocDrivingReport r;
    const int speeds[] = {0, 0, 12, 24, 36, 48, 50, 50, 50, 50, 50};
    for (int i = 0; i < 11; ++i)
        r.m_points.Add(Point(i, 10, speeds[i], 0));
    SetIntervals(r);
    int g, l, m, h;
    // 36 km/h reached 3 s after the start: r = 36 * 5 / 3 = 60, hard.
    EXPECT_TRUE(r.RateEcoGpx(g, l, m, h));
    EXPECT_EQ(100, h);
    EXPECT_FALSE(r.RateEcoLtb(g, l, m, h));  // no unit flags

    CDocDr doc;
    doc.m_reports.Add(r);
    g = l = m = h = -5;
    EXPECT_FALSE(doc.GetEcoScore(1, 0, g, l, m, h));
    EXPECT_FALSE(doc.GetEcoScore(0, 13, g, l, m, h));
    EXPECT_EQ(-5, g);
    EXPECT_TRUE(doc.GetEcoScore(0, 2, g, l, m, h));
    EXPECT_EQ(100, h);
    EXPECT_FALSE(doc.GetEcoScore(0, 3, g, l, m, h));
    EXPECT_EQ(0, h);
}
