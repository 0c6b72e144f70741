// The language and navi model files the build ships, read by the program's own
// loaders (the tests of the data tools check them from the other side).
#include "core/Global.h"
#include "core/LanguageFile.h"

#include <gtest/gtest.h>

#include "TestFiles.h"

using namespace testsupport;

namespace {

// The shipped files of a data folder beside the program, copied into the same
// folder beside this test program so the loaders find them by name.
std::vector<std::wstring> CopyShipped(const std::wstring& folder)
{
    const std::wstring from = ExeDir() + L"..\\bin\\" + folder + L"\\";
    const std::wstring to = ExeDir() + folder + L"\\";
    CreateDirectoryW(to.c_str(), nullptr);
    std::vector<std::wstring> names;
    for (const std::wstring& name : ListFolder(from)) {
        if (name.size() < 4 || _wcsicmp(name.c_str() + name.size() - 4, L".dat") != 0)
            continue;
        CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE);
        names.push_back(name);
    }
    return names;
}

}  // namespace

TEST(ShippedData, EveryLanguageFileLoadsCompletely)
{
    std::vector<std::wstring> names = CopyShipped(L"language");
    ASSERT_EQ(3u, names.size());
    for (const std::wstring& name : names) {
        CGlobal g;
        ASSERT_TRUE(g.LoadLanguageFile(name.c_str())) << Utf8(name);
        EXPECT_EQ(kUiStringCount, g.m_uiStrings.GetSize()) << Utf8(name);
        // String 365 is the language's own tag, the file's name.
        EXPECT_EQ(name.substr(0, name.size() - 4), std::wstring(g.UiString(365))) << Utf8(name);
        EXPECT_FALSE(g.UiString(238).IsEmpty()) << "message box caption";
        EXPECT_FALSE(g.UiString(135).IsEmpty()) << "OK button";
        DeleteFileW((ExeDir() + L"language\\" + name).c_str());
    }
}

TEST(ShippedData, EveryNaviFileLoadsForItsBrandOnly)
{
    std::vector<std::wstring> names = CopyShipped(L"navi");
    ASSERT_FALSE(names.empty());
    bool types[13] = {};
    for (const std::wstring& name : names) {
        const std::wstring region = name.substr(0, 2);
        const int brand = region == L"EU" || region == L"RU" ? 2 : 1;
        CNaviModelData data;
        ASSERT_TRUE(data.LoadNaviFile(name.c_str(), brand)) << Utf8(name);
        ASSERT_GE(data.m_naviModelType, 0);
        ASSERT_LE(data.m_naviModelType, 12);
        types[data.m_naviModelType] = true;
        EXPECT_GT(data.m_programItems.GetSize(), 0);
        EXPECT_GT(data.m_voiceItems.GetSize(), 0);
        CNaviModelData other;
        EXPECT_FALSE(other.LoadNaviFile(name.c_str(), brand == 1 ? 2 : 1)) << Utf8(name);
        DeleteFileW((ExeDir() + L"navi\\" + name).c_str());
    }
    for (int t = 0; t <= 12; ++t)
        EXPECT_TRUE(types[t]) << "no navi file of model type " << t;
}
