#include "classlib/Afx.h"

#include <gtest/gtest.h>

#include "TestFiles.h"

using namespace testsupport;

TEST(CArray, IndexOutsideTheArrayThrows)
{
    CStringArray a;
    a.Add(L"one");
    a.Add(CString(L"two"));
    EXPECT_STREQ(L"two", a[1]);
    EXPECT_THROW(a.GetAt(2), CInvalidArgException);
    EXPECT_THROW(a[-1], CInvalidArgException);
    EXPECT_THROW(a.RemoveAt(1, 2), CInvalidArgException);
    a.SetAtGrow(4, L"five");
    EXPECT_EQ(5, a.GetSize());
    EXPECT_STREQ(L"", a[3]);
    a.InsertAt(0, L"zero");
    EXPECT_STREQ(L"zero", a[0]);
    a.RemoveAt(0, 2);
    EXPECT_STREQ(L"two", a[0]);
}

TEST(CFile, WriteReadSeekAndLength)
{
    TempDir dir;
    std::wstring path = dir.File(L"data.bin");
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        f.Write("0123456789", 10);
        EXPECT_EQ(10u, f.GetLength());
        f.Close();
    }
    CFile f;
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead));
    f.Seek(4, CFile::begin);
    char buf[8] = {};
    EXPECT_EQ(3u, f.Read(buf, 3));
    EXPECT_STREQ("456", buf);
    EXPECT_EQ(7u, f.GetPosition());
    EXPECT_EQ(3u, f.Read(buf, 8));
    EXPECT_EQ(0u, f.Read(buf, 8));
    EXPECT_STREQ(L"data", f.GetFileTitle());
}

TEST(CFile, OpenFailuresNameTheirCause)
{
    TempDir dir;
    CFileException e;
    CFile f;
    EXPECT_FALSE(f.Open(dir.File(L"missing.txt").c_str(), CFile::modeRead, &e));
    EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
    EXPECT_FALSE(f.Open(dir.File(L"no\\such\\dir\\x.txt").c_str(), CFile::modeCreate | CFile::modeWrite, &e));
    EXPECT_EQ(CFileException::badPath, e.m_cause);
    EXPECT_THROW(CFile(dir.File(L"missing.txt").c_str(), CFile::modeRead), CFileException);
    EXPECT_FALSE(e.GetErrorText().IsEmpty());
}

TEST(CStdioFile, TextLinesRoundTrip)
{
    TempDir dir;
    std::wstring path = dir.File(L"lines.txt");
    {
        CStdioFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        f.WriteString(L"first\nsecond line\n\nlast");
    }
    Bytes disk = ReadBytes(path);
    EXPECT_EQ("first\r\nsecond line\r\n\r\nlast", std::string(disk.begin(), disk.end()));
    CStdioFile f(path.c_str(), CFile::modeRead | CFile::typeText);
    CString line;
    std::vector<std::wstring> lines;
    while (f.ReadString(line))
        lines.push_back(line.GetString());
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"second line", L"", L"last"}), lines);
}

TEST(CStdioFile, LongLinesAndLoneLineFeeds)
{
    TempDir dir;
    std::wstring path = dir.File(L"long.txt");
    std::string big(100000, 'x');
    WriteBytes(path, big + "\nshort\n");
    CStdioFile f(path.c_str(), CFile::modeRead | CFile::typeText);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(100000, line.GetLength());
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ(L"short", line);
    EXPECT_FALSE(f.ReadString(line));
}

TEST(CFileFind, ListsMatchesWithTheirPaths)
{
    TempDir dir;
    WriteBytes(dir.File(L"a.dat"), std::string("1"));
    WriteBytes(dir.File(L"b.dat"), std::string("22"));
    WriteBytes(dir.File(L"c.txt"), std::string("3"));
    CFileFind find;
    std::vector<std::wstring> names;
    BOOL more = find.FindFile((dir.Path() + L"*.dat").c_str());
    while (more) {
        more = find.FindNextFile();
        names.push_back(find.GetFileName().GetString());
        EXPECT_EQ(dir.Path() + names.back(), find.GetFilePath().GetString());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{L"a.dat", L"b.dat"}), names);
    EXPECT_FALSE(find.FindFile((dir.Path() + L"*.none").c_str()));
}

TEST(CWinApp, ProfileValuesOfAnyLength)
{
    TempDir dir;
    CWinApp app;
    app.SetProfileName(dir.File(L"app.ini").c_str());
    EXPECT_EQ(7u, app.GetProfileInt(L"S", L"missing", 7));
    std::wstring longValue(3000, L'v');
    app.WriteProfileString(L"S", L"long", longValue.c_str());
    EXPECT_EQ(3000, app.GetProfileString(L"S", L"long").GetLength());
    app.WriteProfileInt(L"S", L"n", -12);
    EXPECT_EQ(static_cast<UINT>(-12), app.GetProfileInt(L"S", L"n", 0));
    EXPECT_STREQ(L"dflt", app.GetProfileString(L"S", L"none", L"dflt"));
}
