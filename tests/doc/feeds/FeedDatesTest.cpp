// Publication dates and coordinate texts of feed items.
#include <cmath>

#include "FeedTestSupport.h"

namespace {

struct DateCase {
    const wchar_t* text;
    long long stamp;
};

TEST(FeedDates, FormsRealFeedsUse)
{
    const DateCase cases[] = {
        {L"Tue, 05 Jan 2010 10:20:30 GMT", 20100105102030},
        {L"Tue, 05 Jan 2010 10:20:30 +0900", 20100105012030},
        {L"Tue, 05 Jan 2010 22:00:00 -0300", 20100106010000},  // the day changes
        {L"Tue, 5 Jan 2010 10:20:30 GMT", 20100105102030},
        {L"Tue, 05 jan 2010 10:20:30 GMT", 0},  // month names are case-sensitive
        {L"Tue, 05 Jan 1969 10:20:30 GMT", 0},
        {L"Tue, 05 Jan 2010 24:00:00 GMT", 0},
        {L"Tue, 05 Jan 2010 10:20:30", 20100105102030},
        {L"Tue, 05 Jan 2010 10:20:30 UT", 20100105102030},
        {L"Tue, 05 Jan 2010 10:20:30 Z", 20100105102030},
        // Zone names RFC 822 defines are offsets, not UTC.
        {L"Tue, 05 Jan 2010 10:20:30 EST", 20100105152030},
        {L"Tue, 05 Jan 2010 10:20:30 PDT", 20100105172030},
        {L"Tue, 05 Jan 2010 10:20:30 XYZ", 20100105102030},
        // The weekday is optional in RFC 822.
        {L"05 Jan 2010 10:20:30 GMT", 20100105102030},
        {L"5 Jan 2010 10:20 +0100", 20100105092000},
        {L"  Tue, 05 Jan 2010 10:20:30 GMT\n", 20100105102030},
        // Beyond 2038: 64-bit time.
        {L"Fri, 05 Jan 2046 10:20:30 +0000", 20460105102030},
        // RFC 3339 (feed-rooted documents, RSS 1.0's dc:date).
        {L"2010-01-05T10:20:30Z", 20100105102030},
        {L"2010-01-05T10:20:30.123456Z", 20100105102030},
        {L"2010-01-05T10:20:30+09:00", 20100105012030},
        {L"2010-01-05T22:00:00.5-03:00", 20100106010000},
        {L"2010-01-05t10:20:30z", 20100105102030},
        {L"2010-01-05T10:20:30", 0},  // no zone: no point in time
        {L"2010-13-05T10:20:30Z", 0},
        {L"2010-01-05T10:20:30+0900x", 0},
        {L"", 0},
        {L"yesterday", 0},
        {L"Jan", 0},
    };
    for (const DateCase& c : cases)
        EXPECT_EQ(CDocRssPoi::ParsePubDate(c.text), c.stamp) << "text: " << testsupport::Utf8(c.text);
}

// Dates against the PC's summer time: tests/doc/zone/BerlinZoneTest.cpp.

TEST(FeedDates, MonthHelpers)
{
    EXPECT_EQ(MonthNumber(L"Jan"), 1);
    EXPECT_EQ(MonthNumber(L"Dec"), 12);
    EXPECT_EQ(MonthNumber(L"dec"), 0);
    EXPECT_EQ(FindMonthName(L"xx Mar Jan"), 7);  // the first month in calendar order
    EXPECT_EQ(FindMonthName(L"nothing"), -1);
}

struct CoordCase {
    const wchar_t* text;
    double lon, lat;
};

TEST(FeedCoordinates, TextsOfKmlAndCaches)
{
    const CoordCase cases[] = {
        {L"139.691706,35.689487,0", 139.691706, 35.689487},
        {L"139.69170612,35.68948734", 139.691706, 35.689487},  // cut, not rounded
        {L" 139.5 , 35.25 ", 139.5, 35.25},
        {L"-0.1275,51.507222", -0.1275, 51.507222},
        // Without a separator there is no position, not longitude 0.
        {L"35.5", -255.0, -255.0},
        {L"", -255.0, -255.0},
        {L"abc,def", -255.0, -255.0},
        {L"139.5,", -255.0, -255.0},
    };
    for (const CoordCase& c : cases) {
        DOCPI_RECORD r{};
        ParseCoordinatesText(c.text, &r);
        EXPECT_NEAR(r.longitude, c.lon, 1e-9) << testsupport::Utf8(c.text);
        EXPECT_NEAR(r.latitude, c.lat, 1e-9) << testsupport::Utf8(c.text);
    }
    EXPECT_EQ(CutToSixDecimals(L"1.1234567"), CString(L"1.123456"));
    EXPECT_EQ(CutToSixDecimals(L"1.12"), CString(L"1.12"));
}

TEST(FeedCoordinates, DecimalSetting)
{
    // The C locale: "." is the decimal point.
    theGlobal.m_decimal = 1;
    EXPECT_DOUBLE_EQ(ParseFeedCoordinate(L"35,5"), 35.5);
    theGlobal.m_decimal = 2;
    EXPECT_DOUBLE_EQ(ParseFeedCoordinate(L"35,5"), 35.0);
    theGlobal.m_decimal = 0;
    EXPECT_DOUBLE_EQ(ParseFeedCoordinate(L"35.5"), 35.5);
}

}  // namespace
