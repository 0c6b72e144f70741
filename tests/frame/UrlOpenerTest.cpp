// A page for the user's browser is handed to the system, under Wine as
// anywhere; only a hook a test installed gets it instead.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "PageRecorder.h"
#include "TestFiles.h"
#include "frame/UrlOpener.h"

namespace {

std::string ReadText(const std::wstring& path)
{
    const testsupport::Bytes b = testsupport::ReadBytes(path);
    return std::string(b.begin(), b.end());
}

// A URL scheme of the test's own whose handler writes what it was given to a file.
class TestScheme {
public:
    explicit TestScheme(const std::wstring& out)
    {
        const std::wstring command = L"cmd.exe /c echo %1> \"" + out + L"\"";
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            ::RegSetValueExW(key, L"URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
            ::RegCloseKey(key);
        }
        const std::wstring open = std::wstring(kKey) + L"\\shell\\open\\command";
        if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, open.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                             static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
            ::RegCloseKey(key);
        }
    }
    ~TestScheme() { ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kKey); }

private:
    static constexpr const wchar_t* kKey = L"mirovaletest";
};

std::string WaitForFile(const std::wstring& path, DWORD ms)
{
    const DWORD start = ::GetTickCount();
    std::string text;
    while (::GetTickCount() - start < ms) {
        if (testsupport::FileExists(path)) {
            text = ReadText(path);
            if (text.find('\n') != std::string::npos)
                break;
        }
        ::Sleep(50);
    }
    return text;
}

TEST(UrlOpener, ThePageIsHandedToTheSystem)
{
    testsupport::TempDir dir;
    const std::wstring out = dir.File(L"opened.txt");
    TestScheme scheme(out);
    SystemBrowser system;
    OpenInBrowser(nullptr, L"mirovaletest:help-page");
    EXPECT_NE(WaitForFile(out, 10000).find("mirovaletest:help-page"), std::string::npos);
}

TEST(UrlOpener, AnInstalledHookTakesThePageInstead)
{
    testsupport::TempDir dir;
    const std::wstring out = dir.File(L"opened.txt");
    TestScheme scheme(out);
    static std::wstring seen;
    {
        SystemBrowser restoresTheTestDefault;
        SetBrowserHook([](HWND, const wchar_t* address) { seen += address + std::wstring(L"\n"); });
        OpenInBrowser(nullptr, L"mirovaletest:home-page");
        OpenInBrowser(nullptr, L"");
    }
    EXPECT_EQ(seen, L"mirovaletest:home-page\n");
    ::Sleep(500);
    EXPECT_FALSE(testsupport::FileExists(out));
}

}  // namespace
