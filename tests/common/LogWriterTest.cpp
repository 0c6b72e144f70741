#include "common/LogWriter.h"

#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"

#include <regex>
#include <string>

using namespace testsupport;

TEST(LogWriter, WritesTimeStampedLinesOnlyWhileSwitchedOn)
{
    CString path = GetLogFilePath();
    ASSERT_TRUE(path.Right(4).CompareNoCase(L".txt") == 0) << path.GetString();
    DeleteFileW(path);

    SetLogEnabled(false);
    WriteLog(L"not written");
    EXPECT_FALSE(FileExists(path.GetString()));

    SetLogEnabled(true);
    WriteLog(L"first line");
    WriteLogF(L"second %s %d", L"line", 2);
    WriteLog(nullptr);
    SetLogEnabled(false);

    Bytes b = ReadBytes(path.GetString());
    std::string text(b.begin(), b.end());
    DeleteFileW(path);
    std::regex whole(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}:\d{3}\t\tfirst line\r\n)"
                     R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}:\d{3}\t\tsecond line 2\r\n)");
    EXPECT_TRUE(std::regex_match(text, whole)) << text;
}
