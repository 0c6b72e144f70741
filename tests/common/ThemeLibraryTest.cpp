#include "common/ThemeLibrary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

std::vector<DWORD> ScreenPixels(const RECT& r)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::vector<DWORD> out(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + w * h);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}

}  // namespace

TEST(ThemeLibrary, LoadFreeAndRemoveTheme)
{
    HWND button = CreateWindowExW(0, L"BUTTON", L"b", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, button);
    FreeThemeLibraries();
    EXPECT_TRUE(RemoveWindowTheme(button));  // no library: nothing to take off

    ASSERT_TRUE(LoadThemeLibraries());
    ASSERT_NE(nullptr, theUxThemeLibrary);
    ASSERT_NE(nullptr, theDwmLibrary);
    EXPECT_NE(nullptr, theUxThemeLibrary->module);
    EXPECT_NE(nullptr, theUxThemeLibrary->entry);
    // The result is what SetWindowTheme says (Wine refuses the empty theme list).
    using Fn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    auto direct = reinterpret_cast<Fn>(reinterpret_cast<void*>(theUxThemeLibrary->entry));
    EXPECT_EQ(SUCCEEDED(direct(button, nullptr, L"")), RemoveWindowTheme(button) != FALSE);

    FreeThemeLibraries();
    EXPECT_EQ(nullptr, theUxThemeLibrary);
    EXPECT_EQ(nullptr, theDwmLibrary);
    DestroyWindow(button);
}

TEST(ThemeLibrary, ZoomOutlineLeavesScreenUnchanged)
{
    ASSERT_TRUE(LoadThemeLibraries());
    EXPECT_FALSE(IsCompositionOn());  // Wine: the desktop branch
    // A topmost plain window under the outlines, so that windows of other tests
    // cannot change the pixels looked at.
    RECT area{400, 300, 700, 600};
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, area.left,
                                 area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr, nullptr,
                                 nullptr);
    ASSERT_NE(nullptr, cover);
    UpdateWindow(cover);
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(20);
    }
    std::vector<DWORD> before = ScreenPixels(area);
    RECT from{410, 310, 420, 320}, to{450, 340, 690, 580};
    auto start = std::chrono::steady_clock::now();
    AnimateZoomRect(&from, &to, 5);
    double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(took, 0.09);
    EXPECT_EQ(before, ScreenPixels(area));
    // While it runs, an outline is on the screen.
    std::vector<DWORD> during;
    std::thread watcher([&] {
        Sleep(300);
        during = ScreenPixels(area);
    });
    AnimateZoomRect(&from, &to, 100);
    watcher.join();
    EXPECT_NE(before, during);
    EXPECT_EQ(before, ScreenPixels(area));
    AnimateZoomRect(nullptr, &to, 5);
    DestroyWindow(cover);
    FreeThemeLibraries();
}
