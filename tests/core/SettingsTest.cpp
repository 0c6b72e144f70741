#include "core/Global.h"
#include "core/SettingsText.h"

#include <gtest/gtest.h>

#include "TestFiles.h"

using testsupport::TempDir;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { app.SetProfileName(ini.c_str()); }
    CString Read(const wchar_t* section, const wchar_t* key)
    {
        wchar_t buf[512];
        GetPrivateProfileStringW(section, key, L"<missing>", buf, 512, ini.c_str());
        return buf;
    }
    void Write(const wchar_t* section, const wchar_t* key, const wchar_t* value)
    {
        WritePrivateProfileStringW(section, key, value, ini.c_str());
    }
    TempDir dir;
    std::wstring ini = dir.File(L"Mirovale.ini");
    CWinApp app;
    CGlobal g;
};

std::vector<DWORD> Values(const CDWordArray& a) { return a.vec(); }

}  // namespace

TEST_F(SettingsTest, FreshStartGivesTheDefaults)
{
    g.LoadSettings();
    EXPECT_EQ(0, g.m_windowRect.left);
    EXPECT_EQ(0, g.m_windowRect.bottom);
    EXPECT_EQ(0, g.m_maximized);
    EXPECT_EQ((std::vector<DWORD>{55, 40, 155, 85, 210, 210, 210}), Values(g.m_drColumns));
    EXPECT_EQ((std::vector<DWORD>{22, 50, 22, 22, 126, 244, 140}), Values(g.m_piRssColumns));
    EXPECT_EQ(14, g.m_fuelColumns.GetSize());
    EXPECT_FLOAT_EQ(0.3f, g.m_picEditSplit);
    EXPECT_FLOAT_EQ(0.2f, g.m_picFileSplit);
    EXPECT_FLOAT_EQ(0.5f, g.m_drSplit);
    EXPECT_EQ(1, g.m_sound);
    EXPECT_EQ(1, g.m_animation);
    EXPECT_EQ(1, g.m_ecoJudge);
    EXPECT_EQ(1, g.m_verCheck);
    EXPECT_EQ(1, g.m_watchFolder);
    EXPECT_EQ(0, g.m_transparentDlg);
    EXPECT_TRUE(g.m_languageFile.IsEmpty());
    EXPECT_TRUE(g.m_webBaseUrl.Left(7) == L"http://");
    EXPECT_TRUE(g.m_webBaseUrl.Right(10) == L"/mirovale/");
    EXPECT_TRUE(g.WebBaseUrl() == g.m_webBaseUrl);
    EXPECT_TRUE(g.m_iconFolder.Right(5) == L"icon\\") << g.m_iconFolder.GetString();
    EXPECT_TRUE(g.m_splashFolder.Right(7) == L"splash\\");
    EXPECT_TRUE(g.m_rssFolder.Right(4) == L"RSS\\");
    EXPECT_GE(g.m_iconFolder.Find(L"core_tests\\icon\\"), 0) << "data root is named after the program";
}

// The web base comes from Option/WebBase; the language's pages of the site follow it.
TEST_F(SettingsTest, TheWebBaseIsReadAndTheSitePagesFollowIt)
{
    const struct {
        const wchar_t* value;  // null: no key
        const wchar_t* base;   // empty: the product's
    } cases[] = {
        {nullptr, L""},
        {L"http://127.0.0.1:8080/mirovale/", L"http://127.0.0.1:8080/mirovale/"},
        {L"https://mirror.example/m", L"https://mirror.example/m/"},
        {L"ftp://mirror.example/", L""},
        {L"http://", L""},
        {L"  ", L""},
    };
    g.LoadSettings();
    const CString product = g.m_webBaseUrl;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.value ? testsupport::Utf8(c.value) : "no key"));
        Write(L"Option", L"WebBase", c.value);
        g.LoadSettings();
        EXPECT_EQ(g.WebBaseUrl(), *c.base ? CString(c.base) : product);
    }
    Write(L"Option", L"WebBase", L"http://127.0.0.1:8080/m/");
    g.LoadSettings();
    g.m_uiStrings.RemoveAll();
    for (const wchar_t* text : {L"map/lookup.htm?q=", L"https://partner.example/x", L"", L"file:///C:/x.exe"})
        g.m_uiStrings.Add(text);
    EXPECT_EQ(g.WebAddress(0), CString(L"http://127.0.0.1:8080/m/map/lookup.htm?q="));
    EXPECT_EQ(g.WebAddress(1), CString(L"https://partner.example/x"));
    EXPECT_EQ(g.WebAddress(2), CString());
    // Another scheme stays as it is, for the caller's web-page check to refuse.
    EXPECT_EQ(g.WebAddress(3), CString(L"file:///C:/x.exe"));
    EXPECT_EQ(g.WebAddress(4), CString());
    g.SaveSettings();
    EXPECT_EQ(Read(L"Option", L"WebBase"), CString(L"http://127.0.0.1:8080/m/")) << "read, never rewritten";
}

TEST_F(SettingsTest, SaveWritesEveryWrittenKeyAndNoReadOnlyOne)
{
    g.LoadSettings();
    g.SaveSettings();
    const wchar_t* written[][2] = {
        {L"App", L"Version"}, {L"Window", L"Position"}, {L"Window", L"Maximized"}, {L"Window", L"DrColumn09"},
        {L"Window", L"UnityDlgColumn"}, {L"Window", L"DrSplit"}, {L"Option", L"ChangedFewModel"},
        {L"Option", L"Animation"}, {L"Option", L"ECOJudge"}, {L"Option", L"VerCheck"}, {L"File", L"IgIniFolder"},
        {L"File", L"NaviFile"}, {L"File", L"AppTempFolder"},
    };
    for (auto& k : written)
        EXPECT_NE(CString(L"<missing>"), Read(k[0], k[1])) << testsupport::Utf8(k[1]);
    const wchar_t* readOnly[][2] = {
        {L"Option", L"Sound"}, {L"Option", L"TempFolder"}, {L"Option", L"TempFolderPath"},
        {L"Option", L"TransparentDlg"}, {L"Debug", L"WatchFolder"}, {L"Option", L"DeviceNo"},
    };
    for (auto& k : readOnly)
        EXPECT_EQ(CString(L"<missing>"), Read(k[0], k[1])) << testsupport::Utf8(k[1]);
    EXPECT_EQ(CString(L"2,0,9,1"), Read(L"App", L"Version"));
}

TEST_F(SettingsTest, ValuesSurviveASaveAndLoad)
{
    Write(L"Window", L"Position", L"10,20,830,640");
    Write(L"Window", L"PiMapColumn", L"1,2,3,4,5,6");
    Write(L"Window", L"RssSplit", L"3000");
    Write(L"File", L"LanguageFile", L"English_UK.dat");
    g.LoadSettings();
    g.m_maximized = 1;
    g.SaveSettings();

    CGlobal again;
    again.LoadSettings();
    EXPECT_EQ(10, again.m_windowRect.left);
    EXPECT_EQ(640, again.m_windowRect.bottom);
    EXPECT_EQ(1, again.m_maximized);
    EXPECT_EQ((std::vector<DWORD>{1, 2, 3, 4, 5, 6}), Values(again.m_piMapColumns));
    EXPECT_STREQ(L"English_UK.dat", again.m_languageFile);
    // A ratio keeps its stored value across saves instead of creeping down by one.
    EXPECT_EQ(CString(L"3000"), Read(L"Window", L"RssSplit"));
    EXPECT_EQ(CString(L"3000"), Read(L"Window", L"PicEditSplit"));
    EXPECT_EQ(CString(L"2000"), Read(L"Window", L"PicFileSplit"));
}

TEST_F(SettingsTest, ValuesNoOneMeantFallBackToTheirDefaults)
{
    // An empty column list (what an empty list was saved as), a negative or
    // huge ratio, a list with a broken field.
    Write(L"Window", L"PiMapColumn", L"");
    Write(L"Window", L"AbColumn", L"70,-1,155");
    Write(L"Window", L"RssSplit", L"-5");
    Write(L"Window", L"DrSplit", L"99999");
    g.LoadSettings();
    EXPECT_EQ((std::vector<DWORD>{160, 220, 160, 220}), Values(g.m_piMapColumns));
    EXPECT_EQ((std::vector<DWORD>{70, 88, 155, 270, 170}), Values(g.m_abColumns));
    EXPECT_FLOAT_EQ(0.5f, g.m_rssSplit);
    EXPECT_FLOAT_EQ(0.5f, g.m_drSplit);

    // An empty list saved comes back as the default, not as one column of width 0.
    g.m_piMapColumns.RemoveAll();
    g.SaveSettings();
    CGlobal again;
    again.LoadSettings();
    EXPECT_EQ((std::vector<DWORD>{160, 220, 160, 220}), Values(again.m_piMapColumns));
    // Loading twice does not append.
    again.LoadSettings();
    EXPECT_EQ(4, again.m_piMapColumns.GetSize());
}

TEST_F(SettingsTest, DeviceNumberIsWrittenOnlyWhenComplete)
{
    struct Case { const wchar_t* value; const wchar_t* stored; } cases[] = {
        {L"123456789012345", L"<missing>"},
        {L"12345678901234567", L"<missing>"},
        {L"1234567890123456", L"1234567890123456"},
    };
    for (auto& c : cases) {
        WritePrivateProfileStringW(L"Option", L"DeviceNo", nullptr, ini.c_str());
        g.LoadSettings();
        g.m_deviceNo = c.value;
        g.SaveSettings();
        EXPECT_EQ(CString(c.stored), Read(L"Option", L"DeviceNo")) << testsupport::Utf8(c.value);
    }
}

TEST_F(SettingsTest, ReadOnlyKeysKeepTheUsersValue)
{
    Write(L"Option", L"Sound", L"0");
    Write(L"Option", L"TempFolderPath", L"C:\\mine");
    Write(L"Debug", L"WatchFolder", L"0");
    g.LoadSettings();
    EXPECT_EQ(0, g.m_sound);
    EXPECT_STREQ(L"C:\\mine", g.m_tempFolderPath);
    g.m_sound = 1;
    g.m_tempFolderPath = L"C:\\other";
    g.m_watchFolder = 1;
    g.SaveSettings();
    EXPECT_EQ(CString(L"0"), Read(L"Option", L"Sound"));
    EXPECT_EQ(CString(L"C:\\mine"), Read(L"Option", L"TempFolderPath"));
    EXPECT_EQ(CString(L"0"), Read(L"Debug", L"WatchFolder"));
}

TEST(SettingsText, IntListsAndRectangles)
{
    struct Case { const wchar_t* text; bool ok; std::vector<DWORD> values; } cases[] = {
        {L"", false, {}},                   // nothing meant: the caller's default
        {L"5", true, {5}},
        {L" 110, 120 ", true, {110, 120}},
        {L"1,2,", false, {}},
        {L"7,x,9", false, {}},
        {L"-3,40", false, {}},              // no negative widths
        {L"99999999999,1", false, {}},
    };
    for (auto& c : cases) {
        CDWordArray a;
        a.Add(77);  // replaced, never appended to
        EXPECT_EQ(c.ok, ParseIntListText(c.text, a) != FALSE) << testsupport::Utf8(c.text);
        EXPECT_EQ(c.values, a.vec()) << testsupport::Utf8(c.text);
    }
    CDWordArray a;
    ParseIntListText(L"110,110,120", a);
    EXPECT_STREQ(L"110,110,120", FormatIntListText(a));
    EXPECT_STREQ(L"", FormatIntListText(CDWordArray()));

    struct RatioCase { const wchar_t* text; bool ok; float ratio; } ratios[] = {
        {L"3000", true, 0.3f}, {L"0", true, 0.0f}, {L"10000", true, 1.0f}, {L"-5", false, 0},
        {L"10001", false, 0},  {L"", false, 0},     {L"4294967291", false, 0}, {L"12ab", false, 0},
    };
    for (auto& c : ratios) {
        float ratio = -1;
        EXPECT_EQ(c.ok, ParseRatioText(c.text, ratio) != FALSE) << testsupport::Utf8(c.text);
        if (c.ok)
            EXPECT_FLOAT_EQ(c.ratio, ratio);
    }

    struct FolderCase { const wchar_t* folder; const wchar_t* result; } folders[] = {
        {L"C:\\Users\\a\\AppData\\Roaming", L"C:\\Users\\a\\AppData\\Roaming"},
        {L"\\\\server\\share\\data", L"\\\\server\\share\\data"},
        {L"", L"Z:\\prog"},
        {L"AppData\\Roaming", L"Z:\\prog"},
        {L"\\rooted", L"Z:\\prog"},
        {L"C:relative", L"Z:\\prog"},
    };
    for (auto& c : folders)
        EXPECT_STREQ(c.result, FullFolderOr(c.folder, L"Z:\\prog")) << testsupport::Utf8(c.folder);

    RECT r = ParseRectText(L"1,2");
    EXPECT_EQ(1, r.left);
    EXPECT_EQ(2, r.top);
    EXPECT_EQ(0, r.right);
    EXPECT_STREQ(L"-1,0,1024,768", FormatRectText(-1, 0, 1024, 768));
}
