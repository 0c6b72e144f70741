// Checks the test prefix: the card drive, the registry, the fonts, the display
// and the local web server that other tests rely on.
#include "LocalHttpServer.h"  // winsock2.h must come before windows.h
#include "TestFiles.h"

#include <windows.h>
#include <gdiplus.h>
#include <wininet.h>

#include <gtest/gtest.h>

using namespace testsupport;

TEST(Harness, CardIsARemovableDriveThatTakesFiles)
{
    EXPECT_EQ(static_cast<UINT>(DRIVE_REMOVABLE), GetDriveTypeW(CardRoot().c_str()));
    std::wstring file = CardRoot() + L"harness_" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    WriteBytes(file, std::string("card"));
    EXPECT_EQ(4u, ReadBytes(file).size());
    DeleteFileW(file.c_str());
    ULARGE_INTEGER freeBytes{};
    EXPECT_TRUE(GetDiskFreeSpaceExW(CardRoot().c_str(), &freeBytes, nullptr, nullptr));
}

TEST(Harness, AreaCodeIsInTheRegistry)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Halvern\\Mirovale", 0, KEY_READ | KEY_WRITE, &key));
    DWORD type = 0, value = 0, size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"AREA_CODE", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(1u, value);
    RegCloseKey(key);
}

TEST(Harness, GdiPlusFindsTahoma)
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
    {
        Gdiplus::FontFamily family(L"Tahoma");
        EXPECT_EQ(Gdiplus::Ok, family.GetLastStatus());
    }
    Gdiplus::GdiplusShutdown(token);
}

TEST(Harness, WindowsCanBeCreatedOnTheDisplay)
{
    HWND hwnd = CreateWindowW(L"STATIC", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    DestroyWindow(hwnd);
}

TEST(Harness, LocalServerAnswersOnItsOwnPort)
{
    LocalHttpServer server([](const HttpRequest& req, HttpConnection& conn) {
        conn.Reply(req.target == "/hello" ? 200 : 404, "hi there");
    });
    HINTERNET net = InternetOpenW(L"harness", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    ASSERT_NE(nullptr, net);
    std::wstring url = server.BaseUrl() + L"/hello";
    HINTERNET req = InternetOpenUrlW(net, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0);
    ASSERT_NE(nullptr, req);
    char buf[64] = {};
    DWORD got = 0;
    InternetReadFile(req, buf, sizeof buf - 1, &got);
    EXPECT_STREQ("hi there", buf);
    InternetCloseHandle(req);
    InternetCloseHandle(net);
    ASSERT_EQ(1u, server.Requests().size());
    EXPECT_EQ("GET", server.Requests()[0].method);
}
