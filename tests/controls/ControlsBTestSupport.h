#pragma once
// Shared pieces of the skinned-control tests: the real skin pack, a parent
// window that logs what its children tell it, and pixels of what was drawn.
#include <windows.h>

#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "TestFiles.h"
#include "common/DibImage.h"
#include "common/FileArchive.h"

namespace controlstest {

// Opens the program's skin pack from the build's bin folder.
inline bool OpenSkinPack()
{
    std::wstring path = testsupport::ExeDir() + L"..\\bin\\Mirovale.qpk";
    return theFileArchive.Open(path.c_str()) != FALSE;
}

struct LoggedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A visible top-level window that records the messages its children send.
class CLogParent : public CWnd {
public:
    std::vector<LoggedMessage> log;
    std::vector<UINT> watched;  // extra (registered) messages to record

    BOOL CreateAt(int x, int y, int width, int height)
    {
        // The pointer stays where the last test left it: off the controls.
        SetCursorPos(0, 0);
        if (!CreateEx(0, nullptr, L"controls test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height,
                      nullptr, nullptr))
            return FALSE;
        ::SetForegroundWindow(m_hWnd);
        ::SetActiveWindow(m_hWnd);
        return TRUE;
    }
    int Count(UINT message, WPARAM wParam) const
    {
        int n = 0;
        for (const auto& m : log)
            if (m.message == message && m.wParam == wParam)
                ++n;
        return n;
    }
    int Count(UINT message) const
    {
        int n = 0;
        for (const auto& m : log)
            if (m.message == message)
                ++n;
        return n;
    }
    // Commands as the parent's own handlers see them: after its controls took
    // back their reflected notifications.
    BOOL OnCommand(WPARAM wp, LPARAM lp) override
    {
        LRESULT ignored = 0;
        HWND control = reinterpret_cast<HWND>(lp);
        if (control && ReflectToChild(control, WM_COMMAND, wp, lp, &ignored))
            return TRUE;
        log.push_back({WM_COMMAND, wp, lp});
        return CWnd::OnCommand(wp, lp);
    }
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        bool record = msg == WM_VSCROLL || msg == WM_HSCROLL;
        for (UINT w : watched)
            record = record || (w != 0 && msg == w);
        if (record)
            log.push_back({msg, wp, lp});
        if (msg == WM_ERASEBKGND) {
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            HBRUSH b = CreateSolidBrush(RGB(0x30, 0x30, 0x30));
            FillRect(reinterpret_cast<HDC>(wp), &rc, b);
            DeleteObject(b);
            return TRUE;
        }
        return CWnd::WindowProc(msg, wp, lp);
    }
};

// Colour of a screen pixel of a window's client area (the window must be on top).
inline COLORREF ClientPixel(HWND hwnd, int x, int y)
{
    HDC dc = ::GetDC(hwnd);
    COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(hwnd, dc);
    return c;
}

// Colour of a pixel of a window counted from its window rectangle's corner.
inline COLORREF WindowPixel(HWND hwnd, int x, int y)
{
    HDC dc = ::GetWindowDC(hwnd);
    COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(hwnd, dc);
    return c;
}

// Pixel (x, y) from the top-left of a skin picture, as a COLORREF.
inline COLORREF DibPixel(const DIB_IMAGE& image, int x, int y)
{
    GdiFlush();
    const BYTE* p = image.bits + static_cast<size_t>(image.height - 1 - y) * DibRowSize(image.width) + x * 3;
    return RGB(p[2], p[1], p[0]);
}

// A skin picture loaded for comparison, freed at the end.
struct SkinPicture {
    DIB_IMAGE image{};
    explicit SkinPicture(const wchar_t* name) { LoadDibFromPack(name, &image); }
    ~SkinPicture() { FreeDibImage(&image); }
    COLORREF At(int x, int y) const { return DibPixel(image, x, y); }
};

// What a window shows in its client area, read back from the screen.
struct ClientShot {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int Count(COLORREF c, const RECT& rc) const
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                n += At(x, y) == c;
        return n;
    }
};
inline ClientShot CaptureClient(HWND hwnd)
{
    ClientShot shot;
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    shot.width = rc.right;
    shot.height = rc.bottom;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = ::GetDC(hwnd);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const BYTE* p = static_cast<const BYTE*>(bits);
    shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
    for (size_t i = 0; i < shot.pixels.size(); ++i)
        shot.pixels[i] = RGB(p[i * 4 + 2], p[i * 4 + 1], p[i * 4]);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ::ReleaseDC(hwnd, screen);
    return shot;
}

// Lets every pending paint happen.
inline void Settle(HWND hwnd)
{
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpPending();
    GdiFlush();
}

// A mouse message as a window gets it (client coordinates).
inline void SendMouse(HWND hwnd, UINT msg, int x, int y, WPARAM keys = 0)
{
    ::SendMessageW(hwnd, msg, keys, MAKELPARAM(x, y));
}

// Shortens the keyboard delay and repeat so auto-repeat tests run quickly;
// restores the settings on destruction.
class FastKeyboardRepeat {
public:
    FastKeyboardRepeat()
    {
        SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &m_delay, 0);
        SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &m_speed, 0);
        SystemParametersInfoW(SPI_SETKEYBOARDDELAY, 0, nullptr, 0);   // 250 ms
        SystemParametersInfoW(SPI_SETKEYBOARDSPEED, 31, nullptr, 0);  // 50 ms
    }
    ~FastKeyboardRepeat()
    {
        SystemParametersInfoW(SPI_SETKEYBOARDDELAY, static_cast<UINT>(m_delay), nullptr, 0);
        SystemParametersInfoW(SPI_SETKEYBOARDSPEED, m_speed, nullptr, 0);
    }

private:
    int m_delay = 1;
    DWORD m_speed = 31;
};

}  // namespace controlstest
