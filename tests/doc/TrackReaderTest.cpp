// The GPX and LTB readers of a drive report: files as other programs and the
// unit write them, and files they must refuse.
#include <gtest/gtest.h>

#include <windows.h>

#include <clocale>
#include <cmath>
#include <string>
#include <vector>

#include "DocTestSupport.h"
#include "ReportTestSupport.h"
#include "doc/DrivingReport.h"

using namespace reporttest;
using testsupport::Bytes;

namespace {

class TrackReaderTest : public ::testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }

    std::wstring WriteGpx(const std::string& body, const std::string& root = "gpx")
    {
        std::wstring path = m_dir.File(L"t.gpx");
        testsupport::WriteBytes(path, "<?xml version=\"1.0\"?>\n<" + root +
                                          " version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">" + body +
                                          "</" + root + ">");
        return path;
    }
    static std::string Trk(const std::string& points) { return "<trk><trkseg>" + points + "</trkseg></trk>"; }
    static std::string Pt(const char* lat, const char* lon, const char* time)
    {
        return std::string("<trkpt lat=\"") + lat + "\" lon=\"" + lon + "\"><time>" + time + "</time></trkpt>";
    }

    testsupport::TempDir m_dir;
};

std::string Clock(const DR_DRIVING_POINT& p)
{
    char s[32];
    std::snprintf(s, sizeof s, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute, p.second);
    return s;
}

struct GpxCase {
    const wchar_t* file;
    int points;
    double firstLat;
    const char* first;
    const char* last;
};

// Files from other programs: GPX 1.0 and 1.1, with and without elevation,
// waypoints around the track, fractional seconds, zone offsets, extensions in
// other namespaces, several tracks and segments, days in a row.
const GpxCase kGpxCases[] = {
    {L"babel_v10.gpx", 4, 35.0, "2009-05-01 12:34:56", "2009-05-01 12:35:56"},
    {L"babel_v11.gpx", 4, 35.0, "2009-05-01 12:34:56", "2009-05-01 12:35:56"},
    // The last point has the clock time of the one before, a day later.
    {L"babel_days.gpx", 3, -33.86, "2009-05-01 23:59:50", "2009-05-03 00:00:10"},
    // Two tracks, the later one first in the file: all points, in time order.
    {L"tracker_ext.gpx", 5, 35.0, "2009-05-01 12:00:00", "2009-05-01 13:00:40"},
    {L"offsets.gpx", 4, 35.0, "2009-05-01 12:34:56", "2009-05-02 02:35:26"},
};

}  // namespace

TEST_F(TrackReaderTest, ReadsGpxAsOtherProgramsWriteIt)
{
    for (const GpxCase& c : kGpxCases) {
        SCOPED_TRACE(testsupport::Utf8(c.file));
        CDocDrivingReport r;
        ASSERT_TRUE(r.ReadGpx(TrackFixture(c.file).c_str()));
        ASSERT_EQ(c.points, r.m_points.GetSize());
        EXPECT_DOUBLE_EQ(c.firstLat, r.m_points[0].latitude);
        EXPECT_EQ(c.first, Clock(r.m_points[0]));
        EXPECT_EQ(c.last, Clock(r.m_points[r.m_points.GetSize() - 1]));
        EXPECT_EQ(1, r.m_valid);
        EXPECT_STREQ(c.file, r.m_listData.name);
        for (INT_PTR i = 1; i < r.m_points.GetSize(); ++i)
            EXPECT_LT(r.m_points[i - 1].dateTime, r.m_points[i].dateTime);
    }
}

TEST_F(TrackReaderTest, GpxPointsGetDistanceIntervalAndSpeed)
{
    CDocDrivingReport r;
    ASSERT_TRUE(r.ReadGpx(TrackFixture(L"babel_v11.gpx").c_str()));
    // 0.0009 degrees of latitude in 20 s: about 99.9 m, 17 km/h.
    EXPECT_EQ(0, r.m_points[0].interval);
    EXPECT_EQ(0.0, r.m_points[0].distance);
    EXPECT_EQ(20, r.m_points[1].interval);
    EXPECT_NEAR(99.9, r.m_points[1].distance, 0.2);
    EXPECT_EQ(static_cast<int>(r.m_points[1].distance / 20 * 3.6), r.m_points[1].speed);
    // Offsets move times to UTC: 21:34:56+09:00 and 09:35:06.5-0300 are 10 s apart.
    CDocDrivingReport o;
    ASSERT_TRUE(o.ReadGpx(TrackFixture(L"offsets.gpx").c_str()));
    EXPECT_EQ(10, o.m_points[1].interval);
}

TEST_F(TrackReaderTest, HundredMetresInTwentySecondsIsEighteen)
{
    // Latitude step for 100.01 m on the equator with the reader's constants.
    const double step = 100.01 / 6335439.0 * 180 / 3.141592;
    char lat[32];
    std::snprintf(lat, sizeof lat, "%.9f", step);
    CDocDrivingReport r;
    ASSERT_TRUE(r.ReadGpx(WriteGpx(Trk(Pt("0", "0", "2009-05-01T00:00:00Z") + Pt(lat, "0", "2009-05-01T00:00:20Z")))
                              .c_str()));
    EXPECT_NEAR(100.01, r.m_points[1].distance, 0.001);
    EXPECT_EQ(18, r.m_points[1].speed);
}

TEST_F(TrackReaderTest, GpxRulesPerPointAndPerFile)
{
    struct Case {
        const char* name;
        std::string root, body;
        bool ok;
        int points;
    } cases[] = {
        {"root in capitals", "GPX", Trk(Pt("1", "2", "2009-05-01T00:00:00Z")), true, 1},
        {"unsorted points are sorted", "gpx",
         Trk(Pt("1", "2", "2009-05-01T00:00:20Z") + Pt("1", "2", "2009-05-01T00:00:00Z")), true, 2},
        {"bounds accepted, outside skipped", "gpx",
         Trk(Pt("90", "-180", "2009-05-01T00:00:00Z") + Pt("90.1", "0", "2009-05-01T00:00:10Z") +
             Pt("0", "180.5", "2009-05-01T00:00:20Z")),
         true, 1},
        {"invalid date skipped", "gpx",
         Trk(Pt("1", "2", "2009-13-01T00:00:00Z") + Pt("1", "2", "2009-05-01T00:00:00Z")), true, 1},
        {"same moment twice kept once", "gpx",
         Trk(Pt("1", "2", "2009-05-01T00:00:00Z") + Pt("1", "2", "2009-05-01T00:00:00Z")), true, 1},
        {"time of another namespace passed over", "gpx",
         Trk("<trkpt lat=\"1\" lon=\"2\"><time>2009-05-01T00:00:00Z</time>"
             "<x:time xmlns:x=\"urn:x\">1999-01-01T00:00:00Z</x:time></trkpt>"),
         true, 1},
        {"missing time fails", "gpx", Trk("<trkpt lat=\"1\" lon=\"2\"/>"), false, 0},
        {"two times fail", "gpx",
         Trk("<trkpt lat=\"1\" lon=\"2\"><time>2009-05-01T00:00:00Z</time><time>2009-05-01T00:00:01Z</time>"
             "</trkpt>"),
         false, 0},
        {"missing lat fails", "gpx", Trk("<trkpt lon=\"2\"><time>2009-05-01T00:00:00Z</time></trkpt>"), false, 0},
        {"lat not a number fails", "gpx", Trk(Pt("north", "2", "2009-05-01T00:00:00Z")), false, 0},
        {"time too short fails", "gpx", Trk(Pt("1", "2", "2009-05-01")), false, 0},
        {"no track fails", "gpx", "<wpt lat=\"1\" lon=\"2\"><time>2009-05-01T00:00:00Z</time></wpt>", false, 0},
        {"all points skipped fails", "gpx", Trk(Pt("95", "2", "2009-05-01T00:00:00Z")), false, 0},
        {"other root fails", "kml", Trk(Pt("1", "2", "2009-05-01T00:00:00Z")), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDocDrivingReport r;
        EXPECT_EQ(c.ok, !!r.ReadGpx(WriteGpx(c.body, c.root).c_str()));
        EXPECT_EQ(c.points, r.m_points.GetSize());
        EXPECT_EQ(c.ok ? 1 : 0, r.m_valid);
        if (!c.ok) {
            EXPECT_STREQ(L"", r.m_listData.name);
            EXPECT_STREQ(L"", r.m_path);
        }
    }
}

TEST_F(TrackReaderTest, BrokenGpxFilesAreRefused)
{
    const std::string whole = "<?xml version=\"1.0\"?><gpx><trk><trkseg>" + Pt("1", "2", "2009-05-01T00:00:00Z") +
                              "</trkseg></trk></gpx>";
    const std::string cut[] = {whole.substr(0, whole.size() / 2), "", "not xml at all", "\xff\xfe\x00"};
    for (const std::string& bytes : cut) {
        std::wstring path = m_dir.File(L"broken.gpx");
        testsupport::WriteBytes(path, bytes);
        CDocDrivingReport r;
        EXPECT_FALSE(r.ReadGpx(path.c_str()));
        EXPECT_EQ(0, r.m_points.GetSize());
    }
    CDocDrivingReport r;
    EXPECT_FALSE(r.ReadGpx(m_dir.File(L"missing.gpx").c_str()));
}

TEST_F(TrackReaderTest, LtbRecordsBecomePoints)
{
    std::vector<LtbRecord> recs(4);
    const uint32_t odo[] = {1000, 1040, 1030, 1100};
    for (int i = 0; i < 4; ++i) {
        recs[i].odometer = odo[i];
        recs[i].second = i * 10;
        recs[i].speed = 30 + i;
        recs[i].course = 7 + i;
        recs[i].flags = 0x81;
    }
    recs[0].lon = 135 * 256 * 3600;
    recs[0].lat = -1 * 256 * 3600;
    recs[0].year = 2009;  // bytes 20 and 9
    std::wstring path = m_dir.File(L"Pri0001.LTB");
    testsupport::WriteBytes(path, LtbFile(recs));
    CDocDrivingReport r;
    ASSERT_TRUE(r.ReadLtb(path.c_str()));
    ASSERT_EQ(4, r.m_points.GetSize());
    EXPECT_EQ(2009, r.m_points[0].year);
    EXPECT_DOUBLE_EQ(135.0, r.m_points[0].longitude);
    EXPECT_DOUBLE_EQ(-1.0, r.m_points[0].latitude);
    const double distances[] = {0, 40, 0, 70};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(distances[i], r.m_points[i].distance) << i;
        EXPECT_EQ(i ? 10 : 0, r.m_points[i].interval) << i;
        EXPECT_EQ(30 + i, r.m_points[i].speed);
        EXPECT_EQ(7 + i, r.m_points[i].course);
        EXPECT_EQ(0x81, r.m_points[i].flags);
        EXPECT_EQ(odo[i], r.m_points[i].odometer);
    }
    EXPECT_STREQ(L"Pri0001.LTB", r.m_listData.name);
    EXPECT_STREQ(path.c_str(), r.m_path);
}

TEST_F(TrackReaderTest, LtbFilesItCannotReadAreRefused)
{
    std::vector<LtbRecord> one(1);
    Bytes good = LtbFile(one);
    Bytes extraByte = good;
    extraByte.push_back(0);
    Bytes cutRecord(good.begin(), good.end() - 10);
    std::vector<LtbRecord> badDate(2);
    badDate[0].month = 13;
    badDate[1].hour = 24;
    std::vector<LtbRecord> farAway(1);
    farAway[0].lon = 181 * 256 * 3600;
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"header only", Bytes(good.begin(), good.begin() + 8)},
        {"short header", Bytes(good.begin(), good.begin() + 5)},
        {"one byte more", extraByte},
        {"cut record", cutRecord},
        {"version 1", LtbFile(one, 1)},
        {"version 0x02000000", LtbFile(one, 0x02000000)},
        {"every date invalid", LtbFile(badDate)},
        {"every position outside", LtbFile(farAway)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring path = m_dir.File(L"bad.LTB");
        testsupport::WriteBytes(path, c.bytes);
        CDocDrivingReport r;
        EXPECT_FALSE(r.ReadLtb(path.c_str()));
        EXPECT_EQ(0, r.m_valid);
        EXPECT_EQ(0, r.m_points.GetSize());
    }
    CDocDrivingReport r;
    EXPECT_FALSE(r.ReadLtb(m_dir.File(L"missing.LTB").c_str()));
    // A well-formed file next to them reads.
    testsupport::WriteBytes(m_dir.File(L"ok.LTB"), good);
    EXPECT_TRUE(r.ReadLtb(m_dir.File(L"ok.LTB").c_str()));
}

TEST_F(TrackReaderTest, LtbFileLargerThanTheLimitIsRefused)
{
    // One good point, then zero records up to the size; zero records are skipped.
    std::vector<LtbRecord> one(1);
    auto padded = [&](long long size) {
        Bytes b = LtbFile(one);
        b.resize(static_cast<size_t>(size));
        return b;
    };
    const long long records = (kMaxLtbBytes - 8) / 24;
    testsupport::WriteBytes(m_dir.File(L"big.LTB"), padded(8 + 24 * records));
    CDocDrivingReport within;
    EXPECT_TRUE(within.ReadLtb(m_dir.File(L"big.LTB").c_str()));
    EXPECT_EQ(1, within.m_points.GetSize());
    testsupport::WriteBytes(m_dir.File(L"huge.LTB"), padded(8 + 24 * (records + 1)));
    CDocDrivingReport past;
    EXPECT_FALSE(past.ReadLtb(m_dir.File(L"huge.LTB").c_str()));
    EXPECT_EQ(0, past.m_valid);
    EXPECT_EQ(0, past.m_points.GetSize());
}

TEST_F(TrackReaderTest, CorruptedLtbRecordsNeverCrashTheReader)
{
    // Garbage records behind a valid version: points are kept or skipped, never
    // read past the end.
    for (int n = 1; n <= 40; ++n) {
        Bytes b(8 + 24 * n);
        Put32(b, 0, 2);
        for (size_t i = 8; i < b.size(); ++i)
            b[i] = static_cast<uint8_t>(i * 37 + n * 11);
        testsupport::WriteBytes(m_dir.File(L"g.LTB"), b);
        CDocDrivingReport r;
        if (r.ReadLtb(m_dir.File(L"g.LTB").c_str())) {
            for (INT_PTR i = 0; i < r.m_points.GetSize(); ++i) {
                EXPECT_LE(std::fabs(r.m_points[i].latitude), 90.0);
                EXPECT_TRUE(IsValidDateTime(r.m_points[i].year, r.m_points[i].month, r.m_points[i].day,
                                            r.m_points[i].hour, r.m_points[i].minute, r.m_points[i].second));
            }
        }
    }
}

TEST_F(TrackReaderTest, SamplingAndRouteQuery)
{
    struct Case {
        std::vector<double> distances;
        std::vector<int> route;
    } cases[] = {
        {{0, 60, 30, 20, 90, 5}, {0, 3, 5}},
        {{0, 60, 30, 20, 90, 50}, {0, 3, 5, 5}},
    };
    for (const Case& c : cases) {
        CDocDrivingReport r;
        for (size_t i = 0; i < c.distances.size(); ++i) {
            DR_DRIVING_POINT p = Point(static_cast<int>(i), c.distances[i]);
            p.latitude = 35 + i;
            p.longitude = -139.5;
            r.m_points.Add(p);
        }
        theGlobal.m_distanceUnit = 0;
        r.SetSampling(2);
        ASSERT_EQ(100, r.m_samplingDistance);
        std::wstring expected;
        for (size_t k = 0; k < c.route.size(); ++k) {
            wchar_t part[80];
            swprintf(part, 80, L"%slat[]=%d.000000&lng[]=-139.500000", k ? L"&" : L"", 35 + c.route[k]);
            expected += part;
        }
        // The map page wants '.' whatever the PC's decimal point is.
        setlocale(LC_NUMERIC, "German");
        CString query = r.BuildRouteQuery();
        setlocale(LC_NUMERIC, "C");
        EXPECT_EQ(expected, std::wstring(query.GetString()));
    }
}

TEST_F(TrackReaderTest, SamplingTable)
{
    const int metric[] = {20, 50, 100, 200, 500, 1000};
    const int imperial[] = {15, 30, 61, 152, 305, 609};
    CDocDrivingReport r;
    for (int unit = 0; unit < 2; ++unit) {
        theGlobal.m_distanceUnit = unit;
        for (int s = 0; s < 6; ++s) {
            r.SetSampling(s);
            EXPECT_EQ(unit ? imperial[s] : metric[s], r.m_samplingDistance);
        }
    }
    r.SetSampling(6);
    theGlobal.m_distanceUnit = 2;
    r.SetSampling(0);
    EXPECT_EQ(609, r.m_samplingDistance);
    theGlobal.m_distanceUnit = 0;
}
