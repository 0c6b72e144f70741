// The settings file byte for byte: every written key in its section and
// order, from fixed values (the program's version is masked: it follows the
// version resource).
#include "core/Global.h"

#include <gtest/gtest.h>

#include "../doc/GoldenFiles.h"
#include "TestFiles.h"

namespace {

TEST(SettingsFileGolden, SavedKeysSectionsAndOrder)
{
    testsupport::TempDir dir;
    const std::wstring ini = dir.File(L"Mirovale.ini");
    CWinApp app;
    app.SetProfileName(ini.c_str());
    CGlobal g;
    g.LoadSettings();  // no file: every default
    DeleteFileW(ini.c_str());
    g.m_windowRect = RECT{10, 20, 830, 640};
    g.m_maximized = 1;
    g.m_delimiter = 3;
    g.m_timeDifference = -540;
    g.m_rssSplit = 0.3f;
    g.m_deviceNo = L"1234567890123456";
    g.m_languageFile = L"English_UK.dat";
    g.m_naviFile = L"NaviModel.dat";
    g.m_drIniFolder = L"C:\\Reports\\";
    g.m_drFileSpec = L"trips, May.csv";
    g.m_appTempFolder = L"APPS1A2B";
    g.m_sound = 0;  // read-only keys stay out of the file
    g.m_tempFolderPath = L"C:\\mine";
    g.SaveSettings();

    wchar_t version[64] = {};
    GetPrivateProfileStringW(L"App", L"Version", L"", version, 64, ini.c_str());
    int v[4];
    ASSERT_EQ(4, swscanf(version, L"%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3])) << testsupport::Utf8(version);
    ASSERT_TRUE(WritePrivateProfileStringW(L"App", L"Version", L"9,8,7,6", ini.c_str()));
    golden::Expect(L"Mirovale.ini", ini);
}

}  // namespace
