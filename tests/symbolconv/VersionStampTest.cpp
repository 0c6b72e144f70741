// The version stamp in the registry: read before a run, counted up only
// after a run that returns 0.
#include "ConverterFixture.h"

#include "symbolconv/Runemark.h"

using namespace symboltest;

namespace {

bool ReadDword(const wchar_t* name, DWORD& value)
{
    DWORD size = sizeof value;
    return RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Runemark", name, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
           ERROR_SUCCESS;
}

class VersionStampTest : public ConverterTest {
protected:
    // The stamp of the file a good run writes now.
    std::uint32_t StampOfGoodRun()
    {
        Put("good\\a.bmp", SolidBmp(1, 1, 24, 0));
        EXPECT_EQ(RUNEMARK_OK, Convert({"/ID", "1", Path("good")}));
        SymbolFile file;
        EXPECT_TRUE(ReadSymbolFile(WPath("GOOD.symb"), file));
        return file.stamp;
    }
};

}  // namespace

TEST_F(VersionStampTest, CountsSuccessfulRunsOnly)
{
    EXPECT_EQ(1004u << 16 | 0, StampOfGoodRun());
    DWORD version = 0, sub = 0;
    ASSERT_TRUE(ReadDword(L"Version", version));
    EXPECT_EQ(1004u, version);
    ASSERT_TRUE(ReadDword(L"SubVersion", sub));
    EXPECT_EQ(1u, sub);

    EXPECT_EQ(1004u << 16 | 1, StampOfGoodRun());

    // Failing runs, with and without a file, leave the counter alone.
    Put("res\\a.bmp", SolidBmp(1, 1, 24, 0));
    Put("res\\b.bmp", std::string("bad"));
    EXPECT_EQ(RUNEMARK_TRUNCATED, ConvertRes());
    SymbolFile skipped;
    ASSERT_TRUE(ReadRes(skipped));
    EXPECT_EQ(1004u << 16 | 2, skipped.stamp);
    EXPECT_EQ(RUNEMARK_NO_BITMAPS, Convert({"/ID", "1", Path("nowhere")}));
    EXPECT_EQ(RUNEMARK_NO_FOLDER, Convert({}));
    ASSERT_TRUE(ReadDword(L"SubVersion", sub));
    EXPECT_EQ(2u, sub);

    EXPECT_EQ(1004u << 16 | 2, StampOfGoodRun());
}

TEST_F(VersionStampTest, StampTakesTheLow16BitsOfTheCounter)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_LOCAL_MACHINE, L"Software\\Runemark", &key));
    DWORD value = 0x2FFFF;
    RegSetValueExW(key, L"SubVersion", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    EXPECT_EQ(1004u << 16 | 0xFFFF, StampOfGoodRun());
    EXPECT_EQ(1004u << 16 | 0, StampOfGoodRun());
    DWORD version = 0;
    ASSERT_TRUE(ReadDword(L"Version", version));  // written again by the count
    EXPECT_EQ(1004u, version);
}

TEST_F(VersionStampTest, FailingFirstRunStillCreatesTheKey)
{
    EXPECT_EQ(RUNEMARK_NO_FOLDER, Convert({}));
    DWORD version = 0, sub = 99;
    ASSERT_TRUE(ReadDword(L"Version", version));
    EXPECT_EQ(1004u, version);
    ASSERT_TRUE(ReadDword(L"SubVersion", sub));
    EXPECT_EQ(0u, sub);
}
