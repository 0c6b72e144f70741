// The "send to GPS" link as the receiver reads it: fields, decoding, cuts,
// characters the unit cannot show, coordinates (good, bad and hostile) and
// the region refusal; and which addresses may be opened as web pages.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "common/TextCheck.h"
#include "frame/ReceivedLink.h"
#include "frame/WebLink.h"

namespace {

constexpr int kBoth = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
constexpr double kNone = POI_NO_POSITION;

struct LinkCase {
    const wchar_t* text;
    LinkVerdict verdict;
    const wchar_t* name;
    double lon, lat;
    int mask = kBoth;
    int region = 0;
};

class ReceivedLink : public testing::Test {
protected:
    static void SetUpTestSuite() { InitCharClassTable(); }
};

TEST_F(ReceivedLink, ReadsFieldsAndPositions)
{
    const std::wstring longName(70, L'n');
    const std::wstring longLink = L"mirovale:name=" + longName;
    const LinkCase cases[] = {
        {L"mirovale:name=Caf%C3%A9&lat=35.5&long=139.7", LinkVerdict::Accepted, L"Caf\u00e9", 139.7, 35.5},
        // A key inside another value counts only after '&' or ':'.
        {L"mirovale:notes=see%20lat=1&lat=35&long=2", LinkVerdict::Accepted, L"", 2, 35},
        {L"mirovale:notes=flat=lat=1&lat=35&long=2", LinkVerdict::Accepted, L"", 2, 35},
        {L"mirovale:name=%22Joe%22&long=1&lat=2", LinkVerdict::Accepted, L"\"Joe\"", 1, 2},
        {L"mirovale:name=\"Joe\"&long=1&lat=2", LinkVerdict::Accepted, L"Joe", 1, 2},
        {L"mirovale:name=A+B&long=180&lat=-90", LinkVerdict::Accepted, L"A B", 180, -90},
        {L"mirovale:name=Edge&long=-180&lat=90", LinkVerdict::Accepted, L"Edge", -180, 90},
        // Without a position the place has none (never 0, 0).
        {L"mirovale:name=Nowhere", LinkVerdict::Accepted, L"Nowhere", kNone, kNone},
        {L"mirovale:name=Empty&lat=&long=", LinkVerdict::Accepted, L"Empty", kNone, kNone},
        {L"MIROVALE:name=Upper&long=1&lat=1", LinkVerdict::Accepted, L"Upper", 1, 1},
        // Keys in the program's own path before the link are not the link's.
        {L"\"C:\\a&name=Evil&lat=9\\Mirovale.exe\" mirovale:name=Good&long=3&lat=4", LinkVerdict::Accepted, L"Good",
         3, 4},
        // An encoded NUL ends the text; bytes that are not UTF-8 cannot be shown.
        {L"mirovale:name=AB%00CD", LinkVerdict::Accepted, L"AB", kNone, kNone},
        {L"mirovale:name=A%FFB", LinkVerdict::Accepted, L"A?B", kNone, kNone},
        {L"mirovale:name=Line%0D%0ABreak%09Tab", LinkVerdict::Accepted, L"Line??Break?Tab", kNone, kNone},
        // Characters outside the unit's model group become '?'.
        {L"mirovale:name=%C9%99x", LinkVerdict::Accepted, L"\u0259x", kNone, kNone, CHARCLASS_GROUP1},
        {L"mirovale:name=%C9%99x", LinkVerdict::Accepted, L"?x", kNone, kNone, CHARCLASS_GROUP2},
        {L"mirovale:name=%E6%9D%B1", LinkVerdict::Accepted, L"?", kNone, kNone},
        {longLink.c_str(), LinkVerdict::Accepted, L"", kNone, kNone},
        // Refused: outside the ranges.
        {L"mirovale:name=X&long=180.0001&lat=0", LinkVerdict::OutOfRange, L"X", kNone, kNone},
        {L"mirovale:name=X&long=0&lat=-90.5", LinkVerdict::OutOfRange, L"X", kNone, kNone},
        {L"mirovale:long=99999999999999999999&lat=0", LinkVerdict::OutOfRange, L"", kNone, kNone},
        // Refused: one coordinate alone, or anything but a plain number.
        {L"mirovale:name=X&lat=35", LinkVerdict::BadPosition, L"X", kNone, kNone},
        {L"mirovale:name=X&long=35", LinkVerdict::BadPosition, L"X", kNone, kNone},
        {L"mirovale:lat=abc&long=1", LinkVerdict::BadPosition, L"", kNone, kNone},
        {L"mirovale:lat=1e999&long=1", LinkVerdict::BadPosition, L"", kNone, kNone},
        {L"mirovale:lat=nan&long=1", LinkVerdict::BadPosition, L"", kNone, kNone},
        {L"mirovale:lat=inf&long=1", LinkVerdict::BadPosition, L"", kNone, kNone},
        {L"mirovale:lat=0x10&long=1", LinkVerdict::BadPosition, L"", kNone, kNone},
        {L"mirovale:lat=1,5&long=1", LinkVerdict::BadPosition, L"", kNone, kNone},
        {L"mirovale:lat=1.2.3&long=1", LinkVerdict::BadPosition, L"", kNone, kNone},
        {L"mirovale:lat=%201&long=1", LinkVerdict::BadPosition, L"", kNone, kNone},
        {L"mirovale:lat=35abc&long=1", LinkVerdict::BadPosition, L"", kNone, kNone},
        // The region without map look-up refuses even a good place.
        {L"mirovale:name=X&long=1&lat=2", LinkVerdict::RegionRefused, L"X", kNone, kNone, kBoth, 2},
        // No scheme word: not a link at all.
        {L"name=X&long=1&lat=2", LinkVerdict::NotALink, L"", kNone, kNone},
        {L"", LinkVerdict::NotALink, L"", kNone, kNone},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.text).substr(0, 80).c_str());
        DOCPI_RECORD rec;
        EXPECT_EQ(ParseReceivedLink(c.text, c.mask, c.region, rec), c.verdict);
        if (c.verdict == LinkVerdict::Accepted) {
            if (std::wstring(c.text).find(longName) != std::wstring::npos)
                EXPECT_EQ(std::wstring(rec.name), longName.substr(0, 64));
            else
                EXPECT_EQ(std::wstring(rec.name), c.name);
            EXPECT_DOUBLE_EQ(rec.longitude, c.lon);
            EXPECT_DOUBLE_EQ(rec.latitude, c.lat);
        }
    }
}

TEST_F(ReceivedLink, CutsEveryFieldToTheRecord)
{
    const std::wstring link = L"mirovale:name=" + std::wstring(80, L'a') + L"&address=" + std::wstring(200, L'b') +
                              L"&phone=" + std::wstring(90, L'c') + L"&notes=" + std::wstring(70, L'd');
    DOCPI_RECORD rec;
    ASSERT_EQ(ParseReceivedLink(link.c_str(), kBoth, 0, rec), LinkVerdict::Accepted);
    EXPECT_EQ(std::wstring(rec.name), std::wstring(64, L'a'));
    EXPECT_EQ(std::wstring(rec.address), std::wstring(128, L'b'));
    EXPECT_EQ(std::wstring(rec.telephone), std::wstring(64, L'c'));
    EXPECT_EQ(std::wstring(rec.description), std::wstring(64, L'd'));
}

TEST_F(ReceivedLink, ReadsTheDotUnderACommaLocale)
{
    ASSERT_TRUE(setlocale(LC_NUMERIC, "German_Germany.1252")) << "locale German_Germany.1252 missing";
    DOCPI_RECORD rec;
    const LinkVerdict good = ParseReceivedLink(L"mirovale:lat=35.5&long=-139.25", kBoth, 0, rec);
    const LinkVerdict comma = ParseReceivedLink(L"mirovale:lat=35,5&long=1", kBoth, 0, rec);
    setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(good, LinkVerdict::Accepted);
    EXPECT_EQ(comma, LinkVerdict::BadPosition);
    ParseReceivedLink(L"mirovale:lat=35.5&long=-139.25", kBoth, 0, rec);
    EXPECT_DOUBLE_EQ(rec.latitude, 35.5);
    EXPECT_DOUBLE_EQ(rec.longitude, -139.25);
}

TEST(WebLink, OpensOnlyWebPages)
{
    const struct {
        const wchar_t* address;
        bool web;
    } cases[] = {
        {L"http://www.mirovale.example/mirovale/map/lookup.htm", true},
        {L"HTTPS://example.org/a?b=c&d=e#f", true},
        {L"file:///C:/Windows/system32/calc.exe", false},
        {L"C:\\Windows\\system32\\calc.exe", false},
        {L"\\\\server\\share\\run.bat", false},
        {L"javascript:alert(1)", false},
        {L"mirovale:name=x", false},
        {L"http://", false},
        {L"http:///etc/passwd", false},
        {L"http:\\\\server\\share", false},
        {L"http://a b", false},
        {L"http://host/\" -arg", false},
        {L"http://host/\r\nx", false},
        {L" http://host/", false},
        {L"", false},
        {nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.address ? c.address : L"(null)"));
        EXPECT_EQ(IsWebLink(c.address) != FALSE, c.web);
    }
}

}  // namespace
