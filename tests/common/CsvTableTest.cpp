#include "common/CsvTable.h"

#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"

#include <string>
#include <vector>

using namespace testsupport;

namespace {

std::vector<std::wstring> Cells(const CCsvTable& t, int row)
{
    std::vector<std::wstring> out;
    if (const CStringArray* r = t.GetRow(row))
        for (const CString& c : *r)
            out.emplace_back(c.GetString());
    return out;
}

struct SplitCase {
    const wchar_t* line;
    wchar_t delimiter;
    std::vector<std::wstring> cells;
};

}  // namespace

TEST(CsvTable, SplitsLinesWithQuotes)
{
    const SplitCase cases[] = {
        {L"a,\"b,c\",d", L',', {L"a", L"b,c", L"d"}},
        {L"\"say \"\"hi\"\"\"", L',', {L"say \"hi\""}},
        {L"a,,b", L',', {L"a", L"", L"b"}},
        {L"a,b,", L',', {L"a", L"b"}},                       // no cell after a trailing delimiter
        {L"a,\"\",b", L',', {L"a", L"", L"b"}},              // an empty quoted cell, not a quote
        {L"\"\",x", L',', {L"", L"x"}},
        {L"x,\"\"\"\"", L',', {L"x", L"\""}},
        {L"a\"\"b,c", L',', {L"a\"b", L"c"}},                // doubled quote after text
        {L"a;\"b;c\";d,e", L';', {L"a", L"b;c", L"d,e"}},
        {L"a\t\"b\tc\"\td", L'\t', {L"a", L"b\tc", L"d"}},
        {L"a,\"open to the end", L',', {L"a", L"open to the end"}},  // quote left open
        {L"", L',', {}},
    };
    for (const SplitCase& c : cases) {
        CCsvTable t;
        t.SetDelimiter(c.delimiter);
        t.AddRow(c.line);
        ASSERT_EQ(1, t.GetRowCount());
        EXPECT_EQ(c.cells, Cells(t, 0)) << c.line;
    }
}

TEST(CsvTable, LoadSplitsRowsAtEveryLineEnd)
{
    struct Case {
        std::string bytes;
        std::vector<std::vector<std::wstring>> rows;
    };
    const Case cases[] = {
        {"a,b\r\nc,d\r\n", {{L"a", L"b"}, {L"c", L"d"}}},
        {"a,b\rc,d", {{L"a", L"b"}, {L"c", L"d"}}},
        {"a,b\nc,d\n", {{L"a", L"b"}, {L"c", L"d"}}},
        {"a\r\n\r\n\n\rb\n", {{L"a"}, {L"b"}}},                   // empty lines skipped
        {"\r\n\n\r", {}},                                         // only empty lines
        {"\xEF\xBB\xBFname,x\r\n", {{L"name", L"x"}}},            // UTF-8 byte-order mark
        {"\xEF\xBB\xBF\xC3\xA4,\xE6\x9D\xB1\r\n", {{L"\u00E4", L"\u6771"}}},
        {std::string("\xFF\xFE" "a\0,\0b\0\n\0c\0", 12), {{L"a", L"b"}, {L"c"}}},  // UTF-16 with mark
        {"caf\xE9,1\n", {{L"caf\u00E9", L"1"}}},                  // ANSI (1252)
        {"a,\"open\nb,c\n", {{L"a", L"open"}, {L"b", L"c"}}},    // an open quote ends with its line
        {"x\r\na,\"open to the end", {{L"x"}, {L"a", L"open to the end"}}},
        {"a;b,c\n", {{L"a;b", L"c"}}},                             // another delimiter is text
        // A line break inside quotes belongs to the cell, in CR LF and LF files alike.
        {"name,addr\r\nA,\"1 Main St\r\nApt 2\"\r\nB,x\r\n",
         {{L"name", L"addr"}, {L"A", L"1 Main St\r\nApt 2"}, {L"B", L"x"}}},
        {"a,\"two\nlines\",b\nc\n", {{L"a", L"two\nlines", L"b"}, {L"c"}}},
        {"a,\"x\r\n\r\ny\",b\rc\r", {{L"a", L"x\r\n\r\ny", L"b"}, {L"c"}}},  // an empty line inside quotes stays
        {"\"say \"\"hi\"\"\nthere\",1\n", {{L"say \"hi\"\nthere", L"1"}}},
        // Empty quoted cells: at the end of a row (dropped like any trailing
        // empty cell) and at the start of a row or cell.
        {"a,\"\"\r\nb\r\n", {{L"a"}, {L"b"}}},
        {"\"\",x\nx,\"\",y\n", {{L"", L"x"}, {L"x", L"", L"y"}}},
        {"\"\"\"q\"\"\",y\n", {{L"\"q\"", L"y"}}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        WriteBytes(dir.File(L"in.csv"), c.bytes);
        CCsvTable t;
        ASSERT_TRUE(t.Load(dir.File(L"in.csv").c_str()));
        ASSERT_EQ(static_cast<int>(c.rows.size()), t.GetRowCount()) << c.bytes;
        for (size_t r = 0; r < c.rows.size(); ++r)
            EXPECT_EQ(c.rows[r], Cells(t, static_cast<int>(r))) << c.bytes;
    }
}

TEST(CsvTable, LoadOfMissingFileFailsAndEmptiesTable)
{
    TempDir dir;
    CCsvTable t;
    t.AddRow(L"x,y");
    EXPECT_FALSE(t.Load(dir.File(L"missing.csv").c_str()));
    EXPECT_EQ(0, t.GetRowCount());
    EXPECT_FALSE(t.Load(nullptr));
}

TEST(CsvTable, LoadsVeryLongCells)
{
    TempDir dir;
    std::string big(300000, 'x');
    WriteBytes(dir.File(L"big.csv"), "\"" + big + "\",tail\n");
    CCsvTable t;
    ASSERT_TRUE(t.Load(dir.File(L"big.csv").c_str()));
    EXPECT_EQ(300000, t.GetCell(0, 0).GetLength());
    EXPECT_EQ(CString(L"tail"), t.GetCell(0, 1));
}

TEST(CsvTable, GetCellOutsideTableIsEmpty)
{
    CCsvTable t;
    t.AddRow(L"a,b");
    EXPECT_EQ(CString(L"b"), t.GetCell(0, 1));
    EXPECT_TRUE(t.GetCell(0, 2).IsEmpty());
    EXPECT_TRUE(t.GetCell(1, 0).IsEmpty());
    EXPECT_TRUE(t.GetCell(-1, 0).IsEmpty());
    EXPECT_TRUE(t.GetCell(0, -1).IsEmpty());
}

TEST(CsvTable, MaxColumnCountIsCappedAt56)
{
    CCsvTable t;
    std::wstring wide;
    for (int i = 0; i < 80; ++i)
        wide += L"c,";
    t.AddRow(L"a,b");
    t.AddRow(wide.c_str());
    EXPECT_EQ(56, t.GetMaxColumnCount());
    t.RemoveAll();
    t.AddRow(L"a,b,c");
    EXPECT_EQ(3, t.GetMaxColumnCount());
}

TEST(CsvTable, QuoteFieldAndQuoteCsvText)
{
    EXPECT_EQ(CString(L"a b"), CCsvTable::QuoteField(L"a b", L','));
    EXPECT_EQ(CString(L"\"a b\""), QuoteCsvText(L"a b"));
    EXPECT_EQ(CString(L"\"a,b\""), CCsvTable::QuoteField(L"a,b", L','));
    EXPECT_EQ(CString(L"a,b"), CCsvTable::QuoteField(L"a,b", L';'));
    EXPECT_EQ(CString(L"\"a\tb\""), CCsvTable::QuoteField(L"a\tb", L','));
    EXPECT_EQ(CString(L"\"say \"\"hi\"\"\""), CCsvTable::QuoteField(L"say \"hi\"", L','));
    EXPECT_EQ(CString(L""), CCsvTable::QuoteField(L"", L','));
    EXPECT_EQ(CString(L"plain"), QuoteCsvText(L"plain"));
    EXPECT_EQ(CString(L"\"a,b\""), QuoteCsvText(L"a,b"));
}

TEST(CsvTable, SaveAndLoadRoundTrip)
{
    TempDir dir;
    std::wstring path = dir.File(L"out.csv");
    for (wchar_t delimiter : {L',', L';', L'\t'}) {
        CCsvTable t;
        t.SetDelimiter(delimiter);
        const std::vector<std::vector<std::wstring>> rows = {
            {L"plain", L"with \"quotes\"", L"de,lim;it\ter", L"caf\u00E9"},
            {L"", L"middle empty", L"last"},
            {L"x"},
        };
        for (const auto& r : rows) {
            std::wstring line;
            for (size_t i = 0; i < r.size(); ++i) {
                if (i)
                    line += delimiter;
                line += CCsvTable::QuoteField(r[i].c_str(), delimiter).GetString();
            }
            t.AddRow(line.c_str());
        }
        ASSERT_TRUE(t.Save(path.c_str()));
        CCsvTable back;
        back.SetDelimiter(delimiter);
        ASSERT_TRUE(back.Load(path.c_str()));
        ASSERT_EQ(3, back.GetRowCount());
        for (size_t r = 0; r < rows.size(); ++r)
            EXPECT_EQ(rows[r], Cells(back, static_cast<int>(r)));
    }
}

TEST(CsvTable, LastCellNeedingQuotesKeepsNextRowIntact)
{
    // Writers end each row with "\n" in its last cell.
    TempDir dir;
    std::wstring path = dir.File(L"rows.csv");
    CCsvTable t;
    t.AddRow(L"1,\"memo, with comma\"\n");
    t.AddRow(L"2,\"say \"\"hi\"\"\"\n");
    t.AddRow(L"3,plain\n");
    t.AddRow(L"4,no line end");
    ASSERT_TRUE(t.Save(path.c_str()));
    Bytes written = ReadBytes(path);
    EXPECT_EQ(std::string("1,\"memo, with comma\"\r\n2,\"say \"\"hi\"\"\"\r\n3,plain\r\n4,no line end\r\n"),
              std::string(written.begin(), written.end()));
    CCsvTable back;
    ASSERT_TRUE(back.Load(path.c_str()));
    ASSERT_EQ(4, back.GetRowCount());
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"memo, with comma"}), Cells(back, 0));
    EXPECT_EQ((std::vector<std::wstring>{L"2", L"say \"hi\""}), Cells(back, 1));
    EXPECT_EQ((std::vector<std::wstring>{L"3", L"plain"}), Cells(back, 2));
    EXPECT_EQ((std::vector<std::wstring>{L"4", L"no line end"}), Cells(back, 3));
}

TEST(CsvTable, LineBreakInsideCellDoesNotSplitRow)
{
    TempDir dir;
    std::wstring path = dir.File(L"br.csv");
    CCsvTable t;
    t.AddRow(L"a,\"two\nlines\",b\n");
    ASSERT_TRUE(t.Save(path.c_str()));
    CCsvTable back;
    ASSERT_TRUE(back.Load(path.c_str()));
    ASSERT_EQ(1, back.GetRowCount());
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"two lines", L"b"}), Cells(back, 0));
}

TEST(CsvTable, CharactersOutsideAnsiCodePageSurviveAsUtf8)
{
    TempDir dir;
    std::wstring path = dir.File(L"cp.csv");
    CCsvTable t;
    t.AddRow(L"\u041C\u0438\u0440,ok");
    ASSERT_TRUE(t.Save(path.c_str()));
    CCsvTable back;
    ASSERT_TRUE(back.Load(path.c_str()));
    EXPECT_EQ(CString(L"\u041C\u0438\u0440"), back.GetCell(0, 0));
    EXPECT_EQ(CString(L"ok"), back.GetCell(0, 1));
}

TEST(CsvTable, FailedSaveLeavesPreviousFileIntact)
{
    TempDir dir;
    std::wstring path = dir.File(L"keep.csv");
    WriteBytes(path, std::string("old,content\r\n"));
    CCsvTable t;
    t.AddRow(L"new,content");

    // No rows: FALSE and nothing touched.
    CCsvTable empty;
    EXPECT_FALSE(empty.Save(path.c_str()));

    // A file another program holds without sharing cannot be replaced.
    HANDLE locked = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    EXPECT_FALSE(t.Save(path.c_str()));
    CloseHandle(locked);

    // A read-only file.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(t.Save(path.c_str()));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    Bytes now = ReadBytes(path);
    EXPECT_EQ(std::string("old,content\r\n"), std::string(now.begin(), now.end()));

    // A folder that does not exist.
    EXPECT_FALSE(t.Save(dir.File(L"missing\\x.csv").c_str()));

    // No temporary files are left beside it.
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(dir.File(L"*").c_str(), &fd);
    int files = 0;
    do {
        files += !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    EXPECT_EQ(1, files);

    ASSERT_TRUE(t.Save(path.c_str()));
    now = ReadBytes(path);
    EXPECT_EQ(std::string("new,content\r\n"), std::string(now.begin(), now.end()));
}

TEST(CsvTable, GetCsvFieldTable)
{
    struct Case {
        const wchar_t* line;
        int index;
        BOOL ok;
        const wchar_t* field;
    };
    const Case cases[] = {
        {L"a,b,c", 0, TRUE, L"a"},
        {L"a,b,c", 2, TRUE, L"c"},
        {L"a,b,c", 3, FALSE, L""},
        {L"a,", 1, FALSE, L""},          // nothing follows the last comma
        {L"a,,c", 1, TRUE, L""},
        {L"x,\"q, \"\"r\"\"\",z", 1, TRUE, L"q, \"r\""},
        {L"x,\"q, \"\"r\"\"\",z", 2, TRUE, L"z"},
        {L"", 0, FALSE, L""},
        {L"one", -1, FALSE, L""},
    };
    for (const Case& c : cases) {
        CString field = L"stale";
        EXPECT_EQ(c.ok, GetCsvField(c.line, field, c.index)) << c.line << " " << c.index;
        EXPECT_EQ(CString(c.field), field) << c.line << " " << c.index;
    }
    CString f;
    EXPECT_FALSE(GetCsvField(nullptr, f, 0));
}

TEST(CsvTable, RandomTablesRoundTrip)
{
    const wchar_t alphabet[] = L"ab ,;\t\"'x\u00E9\u00FC0";
    unsigned seed = 12345;
    auto next = [&seed] { seed = seed * 1103515245u + 12345u; return (seed >> 16) & 0x7FFF; };
    TempDir dir;
    std::wstring path = dir.File(L"random.csv");
    for (wchar_t delimiter : {L',', L';', L'\t'}) {
        for (int round = 0; round < 20; ++round) {
            CCsvTable t;
            t.SetDelimiter(delimiter);
            std::vector<std::vector<std::wstring>> rows(1 + next() % 8);
            for (auto& row : rows) {
                row.resize(1 + next() % 6);
                for (auto& cell : row) {
                    size_t n = next() % 7;
                    for (size_t i = 0; i < n; ++i)
                        cell += alphabet[next() % (sizeof alphabet / sizeof alphabet[0] - 1)];
                }
                row.back() += L'z';  // a trailing empty cell is not kept
                std::wstring line;
                for (size_t i = 0; i < row.size(); ++i)
                    line += (i ? std::wstring(1, delimiter) : L"") + CCsvTable::QuoteField(row[i].c_str(), delimiter).GetString();
                t.AddRow((line + L"\n").c_str());
            }
            ASSERT_TRUE(t.Save(path.c_str()));
            CCsvTable back;
            back.SetDelimiter(delimiter);
            ASSERT_TRUE(back.Load(path.c_str()));
            ASSERT_EQ(static_cast<int>(rows.size()), back.GetRowCount());
            for (size_t r = 0; r < rows.size(); ++r)
                ASSERT_EQ(rows[r], Cells(back, static_cast<int>(r))) << "round " << round;
        }
    }
}

TEST(CsvTable, RandomBytesLoadWithoutHarm)
{
    unsigned seed = 777;
    auto next = [&seed] { seed = seed * 1103515245u + 12345u; return (seed >> 16) & 0x7FFF; };
    const char pieces[] = {'"', ',', ';', '\t', '\r', '\n', 'a', ' ', '\xEF', '\xBB', '\xBF', '\xFF', '\xFE', '\0'};
    TempDir dir;
    std::wstring path = dir.File(L"noise.csv");
    for (int round = 0; round < 200; ++round) {
        std::string bytes(next() % 300, '\0');
        for (char& b : bytes)
            b = next() % 3 ? pieces[next() % sizeof pieces] : static_cast<char>(next());
        WriteBytes(path, bytes);
        CCsvTable t;
        ASSERT_TRUE(t.Load(path.c_str()));
        for (int r = 0; r < t.GetRowCount(); ++r)
            ASSERT_NE(nullptr, t.GetRow(r));
        EXPECT_LE(t.GetMaxColumnCount(), 56);
    }
}
