#include "common/WebUtil.h"

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "UiTexts.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

// Switches the C run-time number format for one test.
class NumericLocale {
public:
    explicit NumericLocale(const char* name)
    {
        const char* now = setlocale(LC_NUMERIC, nullptr);
        m_saved = now ? now : "C";
        m_ok = setlocale(LC_NUMERIC, name) != nullptr;
    }
    ~NumericLocale() { setlocale(LC_NUMERIC, m_saved.c_str()); }
    bool ok() const { return m_ok; }

private:
    std::string m_saved;
    bool m_ok;
};

}  // namespace

TEST(WebUtil, UrlEncode)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"a b", L"a+b"}, {L"~x-y_z.", L"~x-y_z."}, {L"\u00E4", L"%C3%A4"}, {L"%", L"%25"},
        {L"1+1", L"1%2B1"}, {L"a&b=c", L"a%26b%3Dc"}, {L"\t\n", L"%09%0A"}, {L"\U0001F600", L"%F0%9F%98%80"},
        {L"", L""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(CString(out), UrlEncodeUtf8(in)) << in;
    EXPECT_TRUE(UrlEncodeUtf8(nullptr).IsEmpty());
}

TEST(WebUtil, UrlDecode)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"a+b%21", L"a b!"}, {L"%C3%A4", L"\u00E4"}, {L"%c3%a4", L"\u00E4"},
        {L"\u6771\u4EAC", L"\u6771\u4EAC"},  // unencoded, outside the ANSI code page
        {L"100%", L"100%"}, {L"%4", L"%4"}, {L"%zz1", L"%zz1"}, {L"a%00b", L"a"},
        {L"%F0%9F%98%80", L"\U0001F600"}, {L"%FF", L"\uFFFD"}, {L"", L""},
    };
    for (const auto& [in, out] : cases) {
        CString result = L"stale";
        UrlDecodeUtf8(in, result);
        EXPECT_EQ(CString(out), result) << in;
    }
}

TEST(WebUtil, GetQueryValue)
{
    struct Case {
        const wchar_t* key;
        const wchar_t* text;
        BOOL found;
        const wchar_t* value;
    };
    const Case cases[] = {
        {L"lat", L"mirovale:name=x&lat=35.1&long=139", TRUE, L"35.1"},
        {L"at", L"mirovale:name=x&lat=35.1&long=139", FALSE, L""},
        {L"name", L"mirovale:name=x&lat=35.1&long=139", TRUE, L"x"},
        {L"long", L"mirovale:name=x&lat=35.1&long=139", TRUE, L"139"},
        {L"name", L"name=Tokyo+Tower&x=1", TRUE, L"Tokyo Tower"},   // key at the very start
        {L"name", L"a=1&name=\"quoted\"&b=2", TRUE, L"quoted"},
        {L"name", L"a=1&name=%E6%9D%B1", TRUE, L"\u6771"},
        {L"id", L"x=kid=5&id=7", TRUE, L"7"},                        // key inside another value
        {L"id", L"x=kid=id=5&id=7", TRUE, L"7"},                     // right after a skipped one
        {L"id", L"kid=id=5", FALSE, L""},
        {L"id", L"x=1&id=", TRUE, L""},
        {L"id", L"", FALSE, L""},
    };
    for (const Case& c : cases) {
        CString value = L"stale";
        EXPECT_EQ(c.found, GetQueryValue(c.key, c.text, value)) << c.key << " in " << c.text;
        EXPECT_EQ(CString(c.value), value) << c.key << " in " << c.text;
    }
}

TEST(WebUtil, SeparatorsWithDotLocale)
{
    NumericLocale locale("C");
    ASSERT_TRUE(locale.ok());
    EXPECT_EQ(CString(L"."), GetLocaleDecimalPoint());
    CString s = L"1,5";
    NormalizeDecimalSeparator(s);
    EXPECT_EQ(CString(L"1.5"), s);
    s = L"1.234,5";
    NormalizeDecimalSeparator(s);
    EXPECT_EQ(CString(L"1.234,5"), s);
    s = L"1,2.3";
    AnySeparatorToLocaleDecimal(s);
    EXPECT_EQ(CString(L"1.2.3"), s);
    s = L"1,000";
    RemoveThousandsSeparator(s);  // the C locale has none
    EXPECT_EQ(CString(L"1,000"), s);

    const std::pair<std::pair<const wchar_t*, int>, int> cases[] = {
        {{L"12.345", 2}, 1234}, {{L"12.3", 2}, 1230}, {{L"12", 2}, 1200}, {{L"0.5x", 3}, 500},
        {{L"-1.25", 2}, -125}, {{L"-0.5", 1}, -5}, {{L"abc", 2}, 0}, {{L"", 2}, 0},
        {{L"2147484.000", 3}, 2147483647}, {{L"-99999999999", 0}, -2147483647 - 1}, {{L"7.", 2}, 700},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(out, ParseFixedPoint(in.first, in.second)) << in.first;
}

TEST(WebUtil, SeparatorsWithCommaLocale)
{
    NumericLocale locale("German_Germany.1252");
    ASSERT_TRUE(locale.ok());
    ASSERT_EQ(CString(L","), GetLocaleDecimalPoint());
    EXPECT_EQ(1234, ParseFixedPoint(L"12,345", 2));
    EXPECT_EQ(12, ParseFixedPoint(L"12.345", 2));  // "." is no decimal point here
    CString s = L"3.75";
    DotToLocaleDecimal(s);
    EXPECT_EQ(CString(L"3,75"), s);
    LocaleDecimalToDot(s);
    EXPECT_EQ(CString(L"3.75"), s);
    s = L"1.5";
    NormalizeDecimalSeparator(s);
    EXPECT_EQ(CString(L"1,5"), s);
    s = L"1.234.567";
    RemoveThousandsSeparator(s);
    EXPECT_EQ(CString(L"1234567"), s);
}

TEST(WebUtil, FormBodies)
{
    std::wstring long301(301, L'x');
    {
    testsupport::UiTexts texts(431);
    for (const auto& [n, text] : std::vector<std::pair<int, std::wstring>>{
             {327, L"A&B=1+1"}, {328, long301}, {355, L"end %"}, {356, L"f1"}, {352, L"\u00E4"}})
        texts.Set(n, text);
    CString route = BuildRouteMapPostBody();
    std::wstring expected = L"message=A%26B%3D1%2B1%09" + std::wstring(300, L'x') + L"%09";
    for (int n = 329; n <= 354; ++n)
        expected += (n == 352 ? L"%C3%A4" : L"ui" + std::to_wstring(n)) + L"%09";
    expected += L"end+%25";
    EXPECT_EQ(expected, std::wstring(route.GetString()));
    EXPECT_EQ(CString(L"message=f1%09ui357%09ui358%09%C3%A4"), BuildFeedMapPostBody());
    }

    testsupport::UiTexts shortTable(300);
    EXPECT_THROW(BuildFeedMapPostBody(), CInvalidArgException);
}

TEST(WebUtil, CsvDelimiterKind)
{
    testsupport::UiTexts texts(431);
    texts.Set(359, L"a;b");
    EXPECT_EQ(3, GetCsvDelimiterKind(0));
    texts.Set(359, L"a,b;c");
    EXPECT_EQ(2, GetCsvDelimiterKind(0));
    texts.Set(359, L"a\tb,c");
    EXPECT_EQ(1, GetCsvDelimiterKind(0));
    EXPECT_EQ(3, GetCsvDelimiterKind(3));
}

TEST(WebUtil, ShortDate)
{
    SYSTEMTIME t{};
    t.wYear = 2009;
    t.wMonth = 3;
    t.wDay = 15;
    wchar_t expected[64];
    ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE | LOCALE_NOUSEROVERRIDE, &t, nullptr, expected, 64), 0);
    EXPECT_EQ(CString(expected), ToLocaleShortDate(L"2009/03/15"));
    EXPECT_TRUE(ToLocaleShortDate(L"2009/13/40").IsEmpty());
    EXPECT_TRUE(ToLocaleShortDate(L"garbage").IsEmpty());
    EXPECT_TRUE(ToLocaleShortDate(nullptr).IsEmpty());
}

namespace {

// The quick number paths give exactly what the run-time gives.
// The double nearest to a decimal text, whatever the width: from_chars rounds
// correctly (the run-time's wcstod is one place off for some texts).
double Nearest(const wchar_t* text)
{
    std::string ascii;
    for (const wchar_t* p = text; *p; ++p)
        if (*p != L'+')
            ascii += *p == L',' ? '.' : static_cast<char>(*p);
    double v = 0;
    std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
    return v;
}

// Formatting gives the run-time's text; reading gives the nearest double, the
// same at both widths.
TEST(WebUtil, QuickDecimalsFormatAsTheRunTimeAndReadToTheNearestDouble)
{
    std::mt19937_64 random(99);
    wchar_t buf[64];
    for (int i = 0; i < 20000; ++i) {
        // Coordinates as files hold them, and any doubles around them.
        double v;
        switch (i % 4) {
        case 0: v = static_cast<double>(static_cast<long long>(random() % 360000001) - 180000000) / 1e6; break;
        case 1: v = (static_cast<double>(random() % 1000000007) / 1000000007.0 - 0.5) * 360.0; break;
        case 2: v = static_cast<double>(static_cast<long long>(random() % 2000001) - 1000000) / 2e6 + 0.0000005; break;
        default: v = std::ldexp(static_cast<double>(random() % (1ull << 53)), -static_cast<int>(random() % 60)); break;
        }
        // What the KML writer formatted with before.
        CString expected;
        expected.Format(L"%11.6f", v);
        expected.Remove(L' ');
        LocaleDecimalToDot(expected);
        CString ours;
        AppendDotFixed6(ours, v);
        ASSERT_STREQ(expected, ours) << v;

        double back = 0;
        swprintf(buf, 64, L"%.*f", static_cast<int>(random() % 10), v);
        CString text(buf);
        ASSERT_TRUE(ParseLocaleDecimal(text, back)) << testsupport::Utf8(buf);
        ASSERT_EQ(Nearest(buf), back) << testsupport::Utf8(buf);
    }
    // Texts whose quotient rounds twice in the x87 unit, and long ones.
    for (const wchar_t* text : {L"27.0835013", L"43.376417", L"-88.210839", L"81.242286",
                                L"1234567890123456.25", L"-0.1234567890123456789"}) {
        double back = 0;
        ASSERT_TRUE(ParseLocaleDecimal(text, back)) << testsupport::Utf8(text);
        EXPECT_EQ(Nearest(text), back) << testsupport::Utf8(text);
    }
    for (double v : {-0.0000001, -0.0, 0.0, 0.0000005, -0.0000005, 179.9999995, 1e300}) {
        CString expected, ours;
        expected.Format(L"%11.6f", v);
        expected.Remove(L' ');
        LocaleDecimalToDot(expected);
        AppendDotFixed6(ours, v);
        EXPECT_STREQ(expected, ours) << v;
    }
}

}  // namespace
