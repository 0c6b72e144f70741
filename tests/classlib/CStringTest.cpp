#include "classlib/CString.h"
#include "classlib/Exceptions.h"

#include <gtest/gtest.h>

TEST(CString, FormatUsesWideStringsForPercentS)
{
    CString s;
    s.Format(L"%s|%d|%05.1f|%S|%I64d", L"wide", -7, 3.14159, "narrow", 1234567890123LL);
    EXPECT_STREQ(L"wide|-7|003.1|narrow|1234567890123", s);
}

TEST(CString, FormatGrowsForLongResults)
{
    CString big(L'x', 5000), s;
    s.Format(L"[%s]", big.GetString());
    EXPECT_EQ(5002, s.GetLength());
}

TEST(CString, SubStringsClampLikeTheClassLibrary)
{
    CString s(L"abcdef");
    EXPECT_STREQ(L"cde", s.Mid(2, 3));
    EXPECT_STREQ(L"ef", s.Mid(4, 100));
    EXPECT_STREQ(L"", s.Mid(10));
    EXPECT_STREQ(L"abcdef", s.Mid(-3));
    EXPECT_STREQ(L"ab", s.Left(2));
    EXPECT_STREQ(L"", s.Left(-1));
    EXPECT_STREQ(L"abcdef", s.Right(99));
}

TEST(CString, FindReplaceRemove)
{
    CString s(L"a,b,,c");
    EXPECT_EQ(1, s.Find(L','));
    EXPECT_EQ(3, s.Find(L",,"));
    EXPECT_EQ(-1, s.Find(L'x'));
    EXPECT_EQ(-1, s.Find(L',', 99));
    EXPECT_EQ(4, s.ReverseFind(L','));
    EXPECT_EQ(3, s.Replace(L",", L";;"));
    EXPECT_STREQ(L"a;;b;;;;c", s);
    EXPECT_EQ(6, s.Remove(L';'));
    EXPECT_STREQ(L"abc", s);
}

TEST(CString, TokenizeSkipsEmptyTokensAndEnds)
{
    CString s(L",a,,b c,");
    int pos = 0;
    std::vector<std::wstring> got;
    for (CString t = s.Tokenize(L", ", pos); pos != -1; t = s.Tokenize(L", ", pos))
        got.push_back(t.GetString());
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b", L"c"}), got);
}

TEST(CString, IndexOutsideTheStringThrows)
{
    CString s(L"ab");
    EXPECT_EQ(L'b', s.GetAt(1));
    EXPECT_THROW(s.GetAt(2), CInvalidArgException);
    EXPECT_THROW(s.SetAt(-1, L'x'), CInvalidArgException);
}

TEST(CString, TrimCaseAndCompare)
{
    CString s(L"  MiXed \t");
    s.Trim();
    EXPECT_STREQ(L"MiXed", s);
    EXPECT_EQ(0, s.CompareNoCase(L"mixed"));
    EXPECT_STREQ(L"MIXED", s.MakeUpper());
    EXPECT_TRUE(s == L"MIXED");
}

TEST(CString, BufferAccessForWin32Calls)
{
    CString s;
    wchar_t* p = s.GetBuffer(10);
    wcscpy(p, L"hi");
    s.ReleaseBuffer();
    EXPECT_EQ(2, s.GetLength());
}

TEST(CString, AnsiRoundTrip)
{
    CStringA a(L"plain text");
    EXPECT_STREQ("plain text", a);
    CString w(a.GetString());
    EXPECT_STREQ(L"plain text", w);
}

TEST(AfxExtractSubString, FieldsAndMissingFields)
{
    CString f;
    EXPECT_TRUE(AfxExtractSubString(f, L"a,b,,d", 2, L','));
    EXPECT_STREQ(L"", f);
    EXPECT_TRUE(AfxExtractSubString(f, L"a,b,,d", 3, L','));
    EXPECT_STREQ(L"d", f);
    EXPECT_FALSE(AfxExtractSubString(f, L"a,b,,d", 4, L','));
    EXPECT_TRUE(AfxExtractSubString(f, L"", 0, L','));
    EXPECT_STREQ(L"", f);
    EXPECT_FALSE(AfxExtractSubString(f, L"", 1, L','));
}
