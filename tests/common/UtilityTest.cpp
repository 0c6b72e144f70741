#include "common/Utility.h"

#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"

#include <string>

using namespace testsupport;

namespace {

// A memory DC with the 100 % Tahoma font selected.
class TextDc {
public:
    TextDc()
    {
        m_dc = CreateCompatibleDC(nullptr);
        CreateTahomaFont(FALSE, &m_font, 100, FALSE);
        m_old = SelectObject(m_dc, m_font);
    }
    ~TextDc()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_font);
        DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    int Width(const wchar_t* s) const
    {
        SIZE size{};
        GetTextExtentPoint32W(m_dc, s, static_cast<int>(wcslen(s)), &size);
        return size.cx;
    }

private:
    HDC m_dc;
    HFONT m_font = nullptr;
    HGDIOBJ m_old;
};

LOGFONTW FontOf(HFONT f)
{
    LOGFONTW lf{};
    GetObjectW(f, sizeof lf, &lf);
    return lf;
}

}  // namespace

TEST(Utility, TahomaFontRecipe)
{
    const std::pair<int, int> heights[] = {{100, -12}, {95, -11}, {117, -14}, {50, -6}};
    for (const auto& [percent, height] : heights) {
        HFONT f = nullptr;
        ASSERT_TRUE(CreateTahomaFont(FALSE, &f, percent, FALSE));
        LOGFONTW lf = FontOf(f);
        EXPECT_EQ(height, lf.lfHeight) << percent;
        EXPECT_EQ(200, lf.lfWeight);
        EXPECT_EQ(std::wstring(L"Tahoma"), lf.lfFaceName);
        EXPECT_EQ(ANTIALIASED_QUALITY, lf.lfQuality);
        DeleteObject(f);
    }
    HFONT f = nullptr;
    ASSERT_TRUE(CreateTahomaFont(TRUE, &f, 100, TRUE));
    EXPECT_EQ(600, FontOf(f).lfWeight);
    EXPECT_TRUE(FontOf(f).lfUnderline);
    DeleteObject(f);
    EXPECT_FALSE(CreateTahomaFont(FALSE, nullptr, 100, FALSE));
}

TEST(Utility, ShrinkToFitEndsAndRestoresFont)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 200, 100);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    // A text that fits nowhere: a 1x1 rectangle and a long line.
    RECT tiny{0, 0, 1, 1};
    DrawTextShrinkToFit(dc, 100, &tiny, L"This text can never fit into one pixel\nsecond line", TRUE, DT_LEFT);
    EXPECT_EQ(before, GetCurrentObject(dc, OBJ_FONT));
    RECT wide{0, 0, 200, 100};
    DrawTextShrinkToFit(dc, 100, &wide, L"fits", FALSE, DT_LEFT);
    EXPECT_EQ(before, GetCurrentObject(dc, OBJ_FONT));
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteDC(dc);
}

TEST(Utility, FitFontPercentShrinksAndHasAFloor)
{
    HDC dc = CreateCompatibleDC(nullptr);
    const wchar_t* text = L"Shrink me to fit";
    HFONT f80 = nullptr;
    ASSERT_TRUE(CreateTahomaFont(FALSE, &f80, 80, FALSE));
    HGDIOBJ old = SelectObject(dc, f80);
    SIZE at80{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &at80);
    SelectObject(dc, old);
    DeleteObject(f80);

    RECT r80{0, 0, at80.cx, 100};
    int p = FitFontPercent(dc, 100, &r80, text, FALSE);
    EXPECT_EQ(PercentToPixels(80), PercentToPixels(p));  // the first size that fits
    RECT roomy{0, 0, 1000, 100};
    EXPECT_EQ(100, FitFontPercent(dc, 100, &roomy, text, FALSE));
    // Two lines need twice the height.
    RECT low{0, 0, 1000, 20};
    EXPECT_LT(FitFontPercent(dc, 100, &low, L"one\ntwo", FALSE), 100);
    RECT none{0, 0, 1, 1};
    EXPECT_EQ(50, FitFontPercent(dc, 100, &none, text, TRUE));  // 6 pixels
    RECT empty{10, 10, 0, 0};
    EXPECT_EQ(50, FitFontPercent(dc, 100, &empty, text, FALSE));
    DeleteDC(dc);
}

TEST(Utility, WrapText)
{
    TextDc t;
    int two = t.Width(L"aa bb");
    struct Case {
        const wchar_t* text;
        int lines;
        int width;
        BOOL move;
        const wchar_t* out;
    };
    const Case cases[] = {
        {L"aa bb cc", 0, two, TRUE, L"aa bb cc"},
        {L"aa bb cc", 1, two, TRUE, L"aa bb cc"},
        {L"aa bb cc", 4, two, TRUE, L"aa bb cc"},           // more lines than words
        {L"aa bb cc", 2, two, TRUE, L"aa bb\ncc"},
        {L"aa bb cc", 2, two, FALSE, L"aa bb cc"},          // the overflow word stays
        {L"aa bb cc dd", 2, two, TRUE, L"aa bb\ncc dd"},
        {L"aa bb cc dd ee", 2, two, TRUE, L"aa bb\ncc dd ee"},  // the last line takes the rest
        {L"aa bb cc dd", -1, two, TRUE, L"aa bb\ncc dd"},
        {L"aa  bb", -1, 1, TRUE, L"\n\naa  bb"},             // nothing fits: the last line takes all
    };
    // Repeated blanks count as words.
    EXPECT_EQ(std::wstring(L"aa \nbb"), std::wstring(WrapText(L"aa  bb", t.dc(), -1, t.Width(L"aa "), TRUE)));
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.out), std::wstring(WrapText(c.text, t.dc(), c.lines, c.width, c.move)))
            << c.text << " " << c.lines;
    // A word wider than the width: the lines before the last stay empty.
    int narrow = t.Width(L"a");
    EXPECT_EQ(CString(L"\nwideword x"), WrapText(L"wideword x", t.dc(), 2, narrow, TRUE));
}

TEST(Utility, WrapTextToRect)
{
    TextDc t;
    int two = t.Width(L"aa bb");
    RECT oneLineHigh{0, 0, two, 14};
    EXPECT_EQ(CString(L"aa bb"), WrapTextToRect(&oneLineHigh, L"aa bb", 3, 100, FALSE, TRUE));
    RECT narrowTall{0, 0, two + 2, 200};
    CString wrapped = WrapTextToRect(&narrowTall, L"aa bb cc dd ee ff", -1, 100, FALSE, TRUE);
    EXPECT_EQ(CString(L"aa bb\ncc dd\nee ff"), wrapped);
    EXPECT_EQ(CString(L"aa bb"), WrapTextToRect(&oneLineHigh, L"aa bb", 0, 100, FALSE, TRUE));  // 0 counts as 1
}

TEST(Utility, FormatQuotedEllipsis)
{
    TextDc t;
    RECT wide{0, 0, 1000, 20};
    EXPECT_EQ(CString(L"  \"short\" "), FormatQuotedEllipsis(t.dc(), &wide, L"short"));
    RECT narrow{0, 0, 80, 20};
    CString s = FormatQuotedEllipsis(t.dc(), &narrow, L"a rather long title that cannot fit in eighty pixels");
    ASSERT_GT(s.GetLength(), 5);
    EXPECT_EQ(CString(L"  \""), s.Left(3));
    EXPECT_EQ(CString(L"...\" "), s.Right(5));
    EXPECT_LE(t.Width(s), 80 + 8);
}

TEST(Utility, DateTimeNumbers)
{
    SYSTEMTIME t{};
    t.wYear = 2009;
    t.wMonth = 3;
    t.wDay = 15;
    t.wHour = 14;
    t.wMinute = 25;
    t.wSecond = 30;
    DWORD date = 0, time = 0;
    PackDateTimeNumbers(t, &date, &time);
    EXPECT_EQ(0x20090315u, date);
    EXPECT_EQ(0x14253000u, time);

    SYSTEMTIME before, after;
    GetLocalTime(&before);
    ASSERT_TRUE(GetSysDateTimeNumbers(&date, &time));
    GetLocalTime(&after);
    DWORD d1, t1, d2, t2;
    PackDateTimeNumbers(before, &d1, &t1);
    PackDateTimeNumbers(after, &d2, &t2);
    EXPECT_TRUE(date == d1 || date == d2);
    EXPECT_FALSE(GetSysDateTimeNumbers(nullptr, &time));

    EXPECT_EQ(20090315142530LL, MakeDateTimeNumber(2009, 3, 15, 14, 25, 30));
    EXPECT_FALSE(IsValidDateTime(1970, 1, 1, 11, 59, 59));
    EXPECT_TRUE(IsValidDateTime(1970, 1, 1, 12, 0, 0));
    EXPECT_TRUE(IsValidDateTime(2009, 2, 31, 0, 0, 0));
    EXPECT_TRUE(IsValidDateTime(3000, 12, 31, 23, 59, 59));
    EXPECT_FALSE(IsValidDateTime(3001, 1, 1, 0, 0, 0));
    EXPECT_FALSE(IsValidDateTime(2009, 13, 1, 0, 0, 0));
    EXPECT_FALSE(IsValidDateTime(2009, 1, 32, 0, 0, 0));
    EXPECT_FALSE(IsValidDateTime(2009, 1, 1, 24, 0, 0));
    EXPECT_FALSE(IsValidDateTime(2009, 1, 1, 0, 60, 0));
    EXPECT_FALSE(IsValidDateTime(2009, 1, 1, 0, 0, 60));
}

TEST(Utility, FileNames)
{
    for (const wchar_t* bad : {L"a\\b", L"a/b", L"a:b", L"a*b", L"a?b", L"a\"b", L"a<b", L"a>b", L"a|b"})
        EXPECT_TRUE(HasInvalidFileNameChar(bad)) << bad;
    EXPECT_FALSE(HasInvalidFileNameChar(L"a.b"));
    EXPECT_FALSE(HasInvalidFileNameChar(L""));
    EXPECT_FALSE(HasInvalidFileNameChar(nullptr));

    TempDir dir;
    std::wstring kml = dir.File(L"b.kml");
    EXPECT_EQ(CString(kml.c_str()), MakeUniqueFileName(kml.c_str()));
    WriteBytes(kml, std::string("x"));
    EXPECT_EQ(CString(dir.File(L"b(2).kml").c_str()), MakeUniqueFileName(kml.c_str()));
    WriteBytes(dir.File(L"b(2).kml"), std::string("x"));
    EXPECT_EQ(CString(dir.File(L"b(3).kml").c_str()), MakeUniqueFileName(kml.c_str()));
    WriteBytes(dir.File(L"plain"), std::string("x"));
    EXPECT_EQ(CString(dir.File(L"plain(2)").c_str()), MakeUniqueFileName(dir.File(L"plain").c_str()));
    CreateDirectoryW(dir.File(L"dot.ted").c_str(), nullptr);
    WriteBytes(dir.File(L"dot.ted\\name"), std::string("x"));
    EXPECT_EQ(CString(dir.File(L"dot.ted\\name(2)").c_str()), MakeUniqueFileName(dir.File(L"dot.ted\\name").c_str()));
}

TEST(Utility, SumKmlFileSizes)
{
    TempDir dir;
    WriteBytes(dir.File(L"a.kml"), std::string(100, 'a'));
    WriteBytes(dir.File(L"b.KML"), std::string(23, 'b'));
    WriteBytes(dir.File(L"c.txt"), std::string(1000, 'c'));
    CreateDirectoryW(dir.File(L"sub.kml").c_str(), nullptr);
    std::wstring folder = dir.Path();
    EXPECT_EQ(123u, SumKmlFileSizes(folder.c_str()));
    folder.pop_back();  // without the trailing backslash
    EXPECT_EQ(123u, SumKmlFileSizes(folder.c_str()));
    EXPECT_EQ(0u, SumKmlFileSizes(dir.File(L"missing").c_str()));
    EXPECT_EQ(0u, SumKmlFileSizes(nullptr));
}
