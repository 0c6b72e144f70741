#include "common/FixedField.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>

TEST(FixedField, TextIsCutToTheFieldEndsInANulAndTheRestIsZero)
{
    const struct { const wchar_t* src; size_t capacity; const wchar_t* kept; } cases[] = {
        {L"abc", 8, L"abc"},     {L"abcdefg", 8, L"abcdefg"}, {L"abcdefgh", 8, L"abcdefg"},
        {L"abcdefghijk", 4, L"abc"}, {L"", 8, L""},            {nullptr, 8, L""},
        {L"x", 1, L""},
    };
    for (const auto& c : cases) {
        wchar_t field[10];
        std::fill(std::begin(field), std::end(field), L'#');
        CopyField(field, c.capacity, c.src);
        EXPECT_EQ(std::wstring(c.kept), std::wstring(field)) << c.capacity;
        for (size_t i = wcslen(c.kept); i < c.capacity; ++i)
            EXPECT_EQ(L'\0', field[i]) << "stale character at " << i;
        for (size_t i = c.capacity; i < 10; ++i)
            EXPECT_EQ(L'#', field[i]) << "written past the field at " << i;
    }
}

TEST(FixedField, AnArrayFieldTakesItsOwnSize)
{
    struct { wchar_t name[5]; wchar_t after[2]; } record{};
    record.after[0] = L'!';
    CopyField(record.name, L"Longer than five");
    EXPECT_STREQ(L"Long", record.name);
    EXPECT_EQ(L'!', record.after[0]);
}

TEST(FixedField, ZeroCapacityOrNoFieldWritesNothing)
{
    wchar_t field[2] = {L'a', L'b'};
    CopyField(field, 0, L"xyz");
    EXPECT_EQ(L'a', field[0]);
    CopyField(nullptr, 4, L"xyz");
}
