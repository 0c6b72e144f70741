#include "common/TextCheck.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct CharClassTable : ::testing::Test {
    static void SetUpTestSuite() { InitCharClassTable(); }
};
}  // namespace

TEST_F(CharClassTable, RangeBoundaries)
{
    struct Case {
        wchar_t c;
        bool group1, group2, isSigned, isUnsigned;
    };
    const Case cases[] = {
        {0x001F, false, false, false, false}, {0x0020, true, true, false, false},
        {0x007E, true, true, false, false},   {0x007F, false, false, false, false},
        {0x009F, false, false, false, false}, {0x00A0, true, true, false, false},
        {0x017F, true, true, false, false},   {0x0180, false, false, false, false},
        {0x018F, true, false, false, false},  {0x0192, true, true, false, false},
        {0x01A0, true, false, false, false},  {0x01B0, true, false, false, false},
        {0x0259, true, false, false, false},  {0x0387, true, false, false, false},
        {0x0400, true, false, false, false},  {0x040D, true, false, false, false},
        {0x040E, true, true, false, false},   {0x0450, true, false, false, false},
        {0x045D, true, false, false, false},  {0x0491, true, true, false, false},
        {0x0492, true, false, false, false},  {0x04E9, true, false, false, false},
        {0x04EA, false, false, false, false}, {L',', true, true, true, true},
        {L'-', true, true, true, false},      {L'.', true, true, true, true},
        {L'/', true, true, false, false},     {L'0', true, true, true, true},
        {L'9', true, true, true, true},       {0x6771, false, false, false, false},
    };
    for (const Case& c : cases) {
        wchar_t text[2] = {c.c, 0};
        EXPECT_EQ(c.group1, IsTextOfClass(text, 1) != FALSE) << std::hex << int(c.c);
        EXPECT_EQ(c.group2, IsTextOfClass(text, 2) != FALSE) << std::hex << int(c.c);
        EXPECT_EQ(c.isSigned, IsTextOfClass(text, 4) != FALSE) << std::hex << int(c.c);
        EXPECT_EQ(c.isUnsigned, IsTextOfClass(text, 8) != FALSE) << std::hex << int(c.c);
    }
}

TEST_F(CharClassTable, TextChecksAndReplacement)
{
    EXPECT_FALSE(IsTextOfClass(nullptr, 1));
    EXPECT_TRUE(IsTextOfClass(L"", 1));
    EXPECT_TRUE(IsTextOfClass(L"-12.5", 4));
    EXPECT_FALSE(IsTextOfClass(L"-12.5", 8));
    EXPECT_TRUE(IsTextOfClass(L"12,5", 8));
    EXPECT_TRUE(IsTextOfClass(L"Caf\u00E9 \u0259", 1));
    EXPECT_FALSE(IsTextOfClass(L"Caf\u00E9 \u0259", 2));
    EXPECT_TRUE(IsTextOfClass(L"x", 3));  // either group

    wchar_t text[] = L"\u01A0b\u01B0\u00E9\u6771";
    EXPECT_TRUE(ReplaceCharsNotOfClass(text, 2));
    EXPECT_EQ(std::wstring(L"?b?\u00E9?"), text);
    EXPECT_FALSE(ReplaceCharsNotOfClass(nullptr, 2));
}

TEST(TextCheck, LatLonBounds)
{
    EXPECT_TRUE(IsValidLatLon(90000000, -180000000));
    EXPECT_TRUE(IsValidLatLon(-90000000, 180000000));
    EXPECT_FALSE(IsValidLatLon(90000001, 0));
    EXPECT_FALSE(IsValidLatLon(-90000001, 0));
    EXPECT_FALSE(IsValidLatLon(0, 180000001));
    EXPECT_FALSE(IsValidLatLon(0, -180000001));
}

TEST(TextCheck, ExpandEnvVars)
{
    SetEnvironmentVariableW(L"MV_A", L"alpha");
    SetEnvironmentVariableW(L"MV_B", L"beta");
    SetEnvironmentVariableW(L"MV_MISSING", nullptr);
    std::wstring longValue(400, L'v');
    SetEnvironmentVariableW(L"MV_LONG", longValue.c_str());
    struct Case {
        const wchar_t* in;
        std::wstring out;
    };
    const Case cases[] = {
        {L"%MV_A%\\x\\%MV_A%", L"alpha\\x\\alpha"},
        {L"%MV_A%-%MV_B%", L"alpha-%MV_B%"},  // only the first name
        {L"100% sure", L"100% sure"},
        {L"a%%b", L"ab"},
        {L"[%MV_MISSING%]", L"[]"},
        {L"no reference", L"no reference"},
        {L"%MV_LONG%!", longValue + L"!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.out, std::wstring(ExpandEnvVars(c.in).GetString())) << c.in;
    EXPECT_TRUE(ExpandEnvVars(nullptr).IsEmpty());
}

TEST(TextCheck, ValidateFieldTextDigits)
{
    EXPECT_EQ(0, ValidateFieldText("", FIELD_CHECK_DIGITS));
    EXPECT_EQ(0, ValidateFieldText("0123456789", FIELD_CHECK_DIGITS));
    EXPECT_EQ(1, ValidateFieldText("12a", FIELD_CHECK_DIGITS));
    EXPECT_EQ(1, ValidateFieldText("-1", FIELD_CHECK_DIGITS));
    EXPECT_EQ(-1, ValidateFieldText(nullptr, FIELD_CHECK_DIGITS));
}
