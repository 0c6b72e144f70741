#include "common/ThemeLibrary.h"

#include <algorithm>

THEME_LIBRARY* theUxThemeLibrary = nullptr;
THEME_LIBRARY* theDwmLibrary = nullptr;

namespace {

THEME_LIBRARY* LoadEntry(const wchar_t* dll, const char* name)
{
    auto* lib = new (std::nothrow) THEME_LIBRARY{nullptr, nullptr};
    if (!lib)
        return nullptr;
    lib->module = LoadLibraryW(dll);
    if (lib->module)
        lib->entry = GetProcAddress(lib->module, name);
    return lib;
}

void FreeEntry(THEME_LIBRARY*& lib)
{
    if (!lib)
        return;
    if (lib->module)
        FreeLibrary(lib->module);
    delete lib;
    lib = nullptr;
}

template <typename Fn>
Fn EntryAs(const THEME_LIBRARY* lib)
{
    return lib && lib->entry ? reinterpret_cast<Fn>(reinterpret_cast<void*>(lib->entry)) : nullptr;
}

using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);

}  // namespace

BOOL LoadThemeLibraries()
{
    FreeThemeLibraries();
    theUxThemeLibrary = LoadEntry(L"UxTheme.dll", "SetWindowTheme");
    theDwmLibrary = LoadEntry(L"dwmapi.dll", "DwmIsCompositionEnabled");
    return theUxThemeLibrary && theDwmLibrary;
}

void FreeThemeLibraries()
{
    FreeEntry(theUxThemeLibrary);
    FreeEntry(theDwmLibrary);
}

BOOL RemoveWindowTheme(HWND hwnd)
{
    auto setTheme = EntryAs<SetWindowThemeFn>(theUxThemeLibrary);
    if (!setTheme)
        return TRUE;
    return SUCCEEDED(setTheme(hwnd, nullptr, L"")) ? TRUE : FALSE;
}

BOOL IsCompositionOn()
{
    auto enabled = EntryAs<DwmIsCompositionEnabledFn>(theDwmLibrary);
    BOOL on = FALSE;
    return enabled && SUCCEEDED(enabled(&on)) && on;
}

void AnimateZoomRect(const RECT* from, const RECT* to, DWORD stepMs, HWND mainWnd)
{
    if (!from || !to)
        return;
    RECT a = *from, b = *to;
    HWND surface = GetDesktopWindow();
    if (IsCompositionOn() && mainWnd && IsWindow(mainWnd)) {
        // Drawing on the desktop does not show with composition: use the main window.
        RECT w;
        GetWindowRect(mainWnd, &w);
        for (RECT* r : {&a, &b}) {
            r->left = std::clamp(r->left, w.left, w.right);
            r->right = std::clamp(r->right, w.left, w.right);
            r->top = std::clamp(r->top, w.top, w.bottom);
            r->bottom = std::clamp(r->bottom, w.top, w.bottom);
            POINT corners[2] = {{r->left, r->top}, {r->right, r->bottom}};
            ScreenToClient(mainWnd, &corners[0]);
            ScreenToClient(mainWnd, &corners[1]);
            *r = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
        }
        surface = mainWnd;
    }
    HDC dc = GetWindowDC(surface);
    if (!dc)
        return;
    GdiFlush();
    Sleep(50);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    int oldRop = SetROP2(dc, R2_XORPEN);
    for (int k = 0; k < 10; ++k) {
        auto step = [k](LONG f, LONG t) { return f + static_cast<LONG>((t - f) * k / 10); };
        LONG l = step(a.left, b.left), t = step(a.top, b.top), r = step(a.right, b.right), bt = step(a.bottom, b.bottom);
        POINT outline[5] = {{l, t}, {r, t}, {r, bt}, {l, bt}, {l, t}};
        Polyline(dc, outline, 5);
        GdiFlush();
        Sleep(stepMs);
        Polyline(dc, outline, 5);  // the XOR pen erases it again
        GdiFlush();
    }
    SetROP2(dc, oldRop);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    ReleaseDC(surface, dc);
}
