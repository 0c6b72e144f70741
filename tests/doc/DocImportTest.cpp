#include <gtest/gtest.h>

#include <windows.h>

#include "DocTestSupport.h"
#include "TestFiles.h"
#include "doc/DocImport.h"

namespace {

CString Cell(const CDocImport& doc, int row, int column)
{
    CString out = L"x";
    doc.GetCell(row, column, out);
    return out;
}

TEST(DocImport, DelimiterKindsChooseTheSeparator)
{
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.File(L"comma.csv"), std::string("a,\"b,c\",d\r\n1,2\r\n"));
    testsupport::WriteBytes(dir.File(L"semi.csv"), std::string("a;\"b;c\";d\r\n"));
    testsupport::WriteBytes(dir.File(L"tab.txt"), std::string("a\tb,c\td\r\n"));
    struct Case {
        int kind;
        const wchar_t* file;
    } cases[] = {{2, L"comma.csv"}, {3, L"semi.csv"}, {1, L"tab.txt"}, {0, L"tab.txt"}, {7, L"tab.txt"}};
    for (const auto& c : cases) {
        CDocImport doc;
        ASSERT_TRUE(doc.SetDelimiterAndLoad(c.kind, dir.File(c.file).c_str())) << c.kind;
        EXPECT_EQ(L"a", Cell(doc, 0, 0));
        EXPECT_EQ(c.kind == 3 ? L"b;c" : L"b,c", Cell(doc, 0, 1)) << c.kind;
        EXPECT_EQ(L"d", Cell(doc, 0, 2));
        EXPECT_EQ(L"", Cell(doc, 0, 3));   // beyond the row
        EXPECT_EQ(L"", Cell(doc, 9, 0));   // beyond the table
        EXPECT_EQ(0, doc.GetErrorCode());
    }
}

TEST(DocImport, MissingOrHugeFileIsAReadError)
{
    testsupport::TempDir dir;
    CDocImport doc;
    doctest::FillUiStrings();
    doc.InitErrorStrings();
    EXPECT_FALSE(doc.SetDelimiterAndLoad(2, dir.File(L"none.csv").c_str()));
    EXPECT_EQ(2, doc.GetErrorCode());
    CString text;
    EXPECT_STREQ(L"S8", doc.GetErrorString(text).GetString());

    // A file far beyond anything the unit takes is refused before it is read.
    std::wstring big = dir.File(L"big.csv");
    HANDLE h = CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LARGE_INTEGER size;
    size.QuadPart = IMPORT_MAX_FILE_BYTES + 1;
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    EXPECT_FALSE(doc.SetDelimiterAndLoad(2, big.c_str()));
    EXPECT_EQ(2, doc.GetErrorCode());
    EXPECT_EQ(0, doc.GetRowCount());
}

}  // namespace
