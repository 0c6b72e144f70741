#include "core/NaviModelData.h"

#include <gtest/gtest.h>

#include "TestFiles.h"

using namespace testsupport;

namespace {

std::wstring NaviText(const std::wstring& code, const std::wstring& brazil = L"FALSE")
{
    return L"PG_Map,1\r\nPG_Radio,2\r\nPG_END\r\nVC_Female,0\r\nVC_END\r\nListSize=2\r\nNaviModelType=" + code +
           L"\r\nBrazilUnit=" + brazil + L"\r\n";
}

class NaviFileTest : public ::testing::Test {
protected:
    void SetUp() override { CreateDirectoryW((ExeDir() + L"navi").c_str(), nullptr); }
    void TearDown() override
    {
        for (auto& p : written)
            DeleteFileW(p.c_str());
    }
    void Write(const std::wstring& name, const std::wstring& text)
    {
        std::wstring path = ExeDir() + L"navi\\" + name;
        WriteScrambledText(path, text);
        written.push_back(path);
    }
    std::vector<std::wstring> written;
};

}  // namespace

TEST_F(NaviFileTest, LoadsAFileOfEveryRegionForItsBrand)
{
    struct Case { const wchar_t* name; int areaCode; bool loads; int region; } cases[] = {
        {L"US_Sample.dat", 1, true, 0},  {L"AU_Sample.dat", 1, true, 1}, {L"BR_Sample.dat", 1, true, 2},
        {L"EU_Sample.dat", 1, false, -1}, {L"RU_Sample.dat", 1, false, -1},
        {L"EU_Sample.dat", 2, true, 3},  {L"RU_Sample.dat", 2, true, 4}, {L"US_Sample.dat", 2, false, -1},
        {L"AU_Sample.dat", 2, false, -1}, {L"US_Sample.dat", 7, true, 0},  // any other code is brand 1
    };
    for (auto& c : cases) {
        Write(c.name, NaviText(L"KV540"));
        CNaviModelData data;
        EXPECT_EQ(c.loads, data.LoadNaviFile(c.name, c.areaCode) != FALSE) << Utf8(c.name) << " " << c.areaCode;
        if (c.loads) {
            EXPECT_EQ(c.region, data.m_region);
            EXPECT_EQ(6, data.m_naviModelType);
            EXPECT_EQ(2, data.m_modelGroup);
            EXPECT_STREQ(L"Sample", data.GetModelName());
            EXPECT_STREQ(L"PG_Radio", data.GetProgramName(1));
            EXPECT_STREQ(L"VC_Female", data.GetVoiceName(0));
        } else {
            EXPECT_EQ(-1, data.m_naviModelType) << "a refused region leaves the object as it was";
        }
    }
}

TEST(NaviModelData, ModelCodesGiveTypeAndGroup)
{
    struct Case { const wchar_t* code; int type; int group; } cases[] = {
        {L"08model", 0, 1}, {L"KV210", 1, 2}, {L"KV220", 2, 1}, {L"KV230", 3, 2}, {L"KV410", 4, 2},
        {L"KV450", 5, 2},   {L"KV540", 6, 2}, {L"KV710", 7, 2}, {L"KV720", 8, 2}, {L"KV730", 9, 2},
        {L"KV810", 10, 2},  {L"KV820", 11, 2}, {L"KV820D", 12, 2},
    };
    for (auto& c : cases) {
        CNaviModelData data;
        ASSERT_TRUE(data.ParseNaviText(L"US_X.dat", NaviText(c.code).c_str())) << Utf8(c.code);
        EXPECT_EQ(c.type, data.m_naviModelType);
        EXPECT_EQ(c.group, data.m_modelGroup);
    }
    CNaviModelData data;
    EXPECT_FALSE(data.ParseNaviText(L"US_X.dat", NaviText(L"kv820d").c_str())) << "codes are case-sensitive";
    EXPECT_FALSE(data.ParseNaviText(L"US_X.dat", NaviText(L"KV999").c_str()));
}

TEST(NaviModelData, ItemsNamesIdsAndFlags)
{
    CNaviModelData data;
    std::wstring longName(40, L'n');
    std::wstring text = L"NoComma\r\nTwelve,12abc\r\n" + longName + L",3\r\n\r\nPG_END\r\nV,1\r\nVC_END\r\n"
                        L"ListSize=4\r\nNaviModelType=KV820D\r\nBrazilUnit=TRUE \r\n";
    ASSERT_TRUE(data.ParseNaviText(L"BR_Some Model.dat", text.c_str()));
    ASSERT_EQ(4, data.m_programItems.GetSize());
    EXPECT_EQ(0, data.m_programItems[0].id) << "no comma gives id 0";
    EXPECT_EQ(12, data.m_programItems[1].id);
    EXPECT_EQ(std::wstring(31, L'n'), data.m_programItems[2].name);
    EXPECT_STREQ(L"", data.m_programItems[3].name) << "an empty line is an empty item";
    EXPECT_EQ(12, data.m_naviModelType);
    EXPECT_EQ(0, data.m_brazilUnit) << "\"TRUE \" is not TRUE";
    EXPECT_EQ(4, data.m_listSize);
    EXPECT_STREQ(L"Some Model", data.GetModelName());
    EXPECT_STREQ(L"", data.GetProgramName(4));
    EXPECT_STREQ(L"", data.GetProgramName(-1));

    ASSERT_TRUE(data.ParseNaviText(L"BR_M.dat", NaviText(L"KV210", L"TRUE").c_str()));
    EXPECT_EQ(1, data.m_brazilUnit);
}

TEST(NaviModelData, MalformedFilesAreRefused)
{
    const wchar_t* cases[] = {
        L"",
        L"PG_A,1\r\nPG_END\r\nVC_END\r\nListSize=1\r\nNaviModelType=KV210\r\nBrazilUnit=FALSE",  // no voice item
        L"PG_A,1\r\nPG_B,2",                                                                 // no PG_END
        L"PG_A,1\r\nPG_END\r\nVC_A,1",                                                       // no VC_END
        L"PG_A,1\r\nPG_END\r\nVC_A,1\r\nVC_END",                                             // ends at VC_END
        L"PG_A,1\r\nPG_END\r\nVC_A,1\r\nVC_END\r\nNaviModelType=KV210\r\nListSize=1\r\nBrazilUnit=FALSE",
        L"PG_A,1\r\nPG_END\r\nVC_A,1\r\nVC_END\r\nListSize=1\r\nNaviModelType=KV210",       // no BrazilUnit
    };
    for (const wchar_t* text : cases) {
        CNaviModelData data;
        EXPECT_FALSE(data.ParseNaviText(L"US_M.dat", text)) << Utf8(text);
    }
    CNaviModelData data;
    EXPECT_FALSE(data.ParseNaviText(L"XX_M.dat", NaviText(L"KV210").c_str())) << "unknown region prefix";
}

TEST_F(NaviFileTest, UnreadableFilesAreRefused)
{
    CNaviModelData data;
    EXPECT_FALSE(data.LoadNaviFile(L"US_missing.dat", 1));
    EXPECT_FALSE(data.LoadNaviFile(nullptr, 1));
    std::wstring path = ExeDir() + L"navi\\US_short.dat";
    WriteBytes(path, Bytes{0x00});
    written.push_back(path);
    EXPECT_FALSE(data.LoadNaviFile(L"US_short.dat", 1));
    Write(L"US_plain.dat", L"");
    WriteBytes(ExeDir() + L"navi\\US_plain.dat", Utf16Bytes(NaviText(L"KV210")));  // not scrambled
    EXPECT_FALSE(data.LoadNaviFile(L"US_plain.dat", 1));
}

namespace {

TEST(NaviModelData, HundredThousandItemsAreSplitInOnePass)
{
    for (const wchar_t* end : {L"\r\n", L"\n"}) {
        std::wstring text;
        for (int i = 0; i < 100000; ++i)
            text += L"PG_" + std::to_wstring(i) + L"," + std::to_wstring(i % 250) + end;
        text += std::wstring(L"PG_END") + end + L"VC_A,1" + end + L"VC_END" + end + L"ListSize=1" + end +
                L"NaviModelType=KV210" + end + L"BrazilUnit=FALSE";
        CNaviModelData data;
        ASSERT_TRUE(data.ParseNaviText(L"US_M.dat", text.c_str()));
        EXPECT_EQ(L"PG_99999", data.GetProgramName(99999));
    }
}

TEST(CStringSplit, OnePassGivesWhatExtractingEachFieldGives)
{
    const wchar_t* cases[] = {L"", L"a", L"a,b", L",", L"a,,b,", L",,x", L"one field only"};
    for (const wchar_t* text : cases) {
        CStringArray split;
        const int count = AfxSplitSubStrings(split, text, L',');
        int n = 0;
        CString field;
        for (; AfxExtractSubString(field, text, n, L','); ++n) {
            ASSERT_LT(n, count) << Utf8(text);
            EXPECT_STREQ(field, split[n]) << Utf8(text);
        }
        EXPECT_EQ(n, count) << Utf8(text);
    }
    CStringArray none;
    EXPECT_EQ(0, AfxSplitSubStrings(none, nullptr, L','));
}

}  // namespace
