#include "core/Global.h"
#include "core/LanguageFile.h"

#include <gtest/gtest.h>

#include "TestFiles.h"

using namespace testsupport;

namespace {

// Writes a file into the language folder beside the test program and removes it afterwards.
class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateDirectoryW((ExeDir() + L"language").c_str(), nullptr);
        name = L"test_" + std::to_wstring(GetCurrentProcessId()) + L".dat";
        path = ExeDir() + L"language\\" + name;
    }
    void TearDown() override { DeleteFileW(path.c_str()); }
    void WritePlain(const Bytes& plain) { WriteBytes(path, Scramble(plain)); }
    static std::wstring Lines(int count)
    {
        std::wstring text;
        for (int i = 0; i < count; ++i)
            text += L"text " + std::to_wstring(i) + (i + 1 < count ? L"\r\n" : L"");
        return text;
    }
    // The text the generated file gives its last string.
    static std::wstring Last(const wchar_t* word) { return word + (L" " + std::to_wstring(kUiStringCount - 1)); }
    std::wstring name, path;
    CGlobal g;
};

}  // namespace

TEST_F(LanguageFileTest, MixedLineEndsAndTheByteOrderMark)
{
    WritePlain(Utf16Bytes(L"A\r\nB\rC\n"));
    CStringArray lines;
    ASSERT_TRUE(ParseLanguageFile(path.c_str(), lines));
    ASSERT_EQ(4, lines.GetSize());
    EXPECT_STREQ(L"\xFEFF" L"A", lines[0]) << "the mark stays the first character of string 0";
    EXPECT_STREQ(L"B", lines[1]);
    EXPECT_STREQ(L"C", lines[2]);
    EXPECT_STREQ(L"", lines[3]);
}

TEST_F(LanguageFileTest, FirstBytesDecideWhetherItIsALanguageFile)
{
    struct Case { Bytes start; bool accepted; } cases[] = {
        {{0xFF, 0xFE}, true},
        {{0xFF, 0x00}, true},   // mark broken in its second byte
        {{0x00, 0xFE}, true},   // or in its first
        {{0x00, 0x00}, false},
        {{0x41, 0x00}, false},  // UTF-16 without a mark
    };
    for (auto& c : cases) {
        Bytes plain = c.start;
        Bytes rest = Utf16Bytes(L"x\r\ny", false);
        plain.insert(plain.end(), rest.begin(), rest.end());
        WritePlain(plain);
        CStringArray lines;
        EXPECT_EQ(c.accepted, ParseLanguageFile(path.c_str(), lines) != FALSE)
            << int(c.start[0]) << " " << int(c.start[1]);
    }
}

TEST_F(LanguageFileTest, ShortAndBrokenFilesAreRefusedWithoutReadingPastThem)
{
    const Bytes cases[] = {{}, {0xFF}, {0xFF, 0xFE, 0x41}};
    for (const Bytes& plain : cases) {
        WritePlain(plain);
        CStringArray lines;
        ParseLanguageFile(path.c_str(), lines);
        EXPECT_LE(lines.GetSize(), 1);
        EXPECT_FALSE(g.LoadLanguageFile(name.c_str()));
        EXPECT_EQ(0, g.m_uiStrings.GetSize());
    }
}

TEST_F(LanguageFileTest, AnOddLastByteIsIgnored)
{
    Bytes plain = Utf16Bytes(L"ab");
    plain.push_back(0x43);
    WritePlain(plain);
    CStringArray lines;
    ASSERT_TRUE(ParseLanguageFile(path.c_str(), lines));
    ASSERT_EQ(1, lines.GetSize());
    EXPECT_STREQ(L"\xFEFF" L"ab", lines[0]);
}

TEST_F(LanguageFileTest, ACompleteFileLoadsEveryString)
{
    WritePlain(Utf16Bytes(Lines(kUiStringCount)));
    ASSERT_TRUE(g.LoadLanguageFile(name.c_str()));
    ASSERT_EQ(kUiStringCount, g.m_uiStrings.GetSize());
    EXPECT_STREQ(L"text 238", g.UiString(238));
    EXPECT_STREQ(Last(L"text").c_str(), g.UiString(kUiStringCount - 1));
    EXPECT_THROW(g.UiString(kUiStringCount), CInvalidArgException);
    EXPECT_THROW(g.UiString(-1), CInvalidArgException);
}

TEST_F(LanguageFileTest, AFileMissingLinesIsRefusedAndAddsNothing)
{
    WritePlain(Utf16Bytes(Lines(kUiStringCount - 1)));
    EXPECT_FALSE(g.LoadLanguageFile(name.c_str()));
    EXPECT_EQ(0, g.m_uiStrings.GetSize());
}

TEST_F(LanguageFileTest, ANulCharacterEndsTheText)
{
    std::wstring text = Lines(kUiStringCount);
    text[text.find(L"text 200")] = L'\0';
    WritePlain(Utf16Bytes(text));
    CStringArray lines;
    ASSERT_TRUE(ParseLanguageFile(path.c_str(), lines));
    EXPECT_EQ(200, lines.GetSize() - 1) << "lines after the NUL are not read";
    EXPECT_FALSE(g.LoadLanguageFile(name.c_str()));
}

TEST_F(LanguageFileTest, ASecondLanguageReplacesTheFirst)
{
    WritePlain(Utf16Bytes(Lines(kUiStringCount)));
    ASSERT_TRUE(g.LoadLanguageFile(name.c_str()));
    std::wstring other = Lines(kUiStringCount);
    for (size_t at = other.find(L"text"); at != std::wstring::npos; at = other.find(L"text", at))
        other.replace(at, 4, L"other");
    WritePlain(Utf16Bytes(other));
    ASSERT_TRUE(g.LoadLanguageFile(name.c_str()));
    EXPECT_EQ(kUiStringCount, g.m_uiStrings.GetSize());
    EXPECT_STREQ(L"other 5", g.UiString(5));
    EXPECT_STREQ(Last(L"other").c_str(), g.UiString(kUiStringCount - 1));
    // A broken third file is refused and the second language stays.
    WritePlain(Utf16Bytes(Lines(12)));
    EXPECT_FALSE(g.LoadLanguageFile(name.c_str()));
    EXPECT_EQ(kUiStringCount, g.m_uiStrings.GetSize());
    EXPECT_STREQ(L"other 5", g.UiString(5));
}

TEST_F(LanguageFileTest, MissingFileOrName)
{
    EXPECT_FALSE(g.LoadLanguageFile(L"no_such_language.dat"));
    EXPECT_FALSE(g.LoadLanguageFile(nullptr));
    EXPECT_FALSE(g.LoadLanguageFile(L""));
}

namespace {

// Big files split in one pass: a megabyte of 100,000 lines (each line end kind)
// is read in well under a second, where rescanning for every line took minutes.
TEST_F(LanguageFileTest, HundredThousandLinesAreSplitInOnePass)
{
    struct Case { const char* name; const wchar_t* end; } cases[] = {
        {"CR LF", L"\r\n"}, {"CR", L"\r"}, {"LF", L"\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring text = L"\xFEFF";
        for (int i = 0; i < 100000; ++i)
            text += L"x" + std::to_wstring(i) + c.end;
        Bytes plain;
        for (wchar_t ch : text) {
            plain.push_back(static_cast<BYTE>(ch));
            plain.push_back(static_cast<BYTE>(ch >> 8));
        }
        WritePlain(plain);
        CStringArray lines;
        ASSERT_TRUE(ParseLanguageFile(path.c_str(), lines));
        ASSERT_EQ(100001, lines.GetSize());
        EXPECT_STREQ(L"x99999", lines[99999]);
        EXPECT_STREQ(L"", lines[100000]);
    }
}

}  // namespace

TEST(UiText, ARowOutsideTheLoadedTableGivesAnEmptyText)
{
    CStringArray saved;
    saved.Copy(theGlobal.m_uiStrings);
    theGlobal.m_uiStrings.RemoveAll();
    theGlobal.m_uiStrings.Add(L"first");
    theGlobal.m_uiStrings.Add(L"");
    theGlobal.m_uiStrings.Add(L"last");
    const struct { int n; const wchar_t* text; } cases[] = {
        {-1, L""}, {0, L"first"}, {1, L""}, {2, L"last"}, {3, L""}, {430, L""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.text, UiText(c.n)) << c.n;
    theGlobal.m_uiStrings.Copy(saved);
}
