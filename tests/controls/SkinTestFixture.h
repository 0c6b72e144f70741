#pragma once
// Shared pieces of the skinned-control tests: the real skin pack, a top-level
// window that is the program's main window and the controls' parent and logs
// what reaches it, mouse helpers and screen pixels.
#include <windows.h>

#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "classlib/Afx.h"
#include "common/DibImage.h"

namespace skintest {

// Background of the recording window: controls that let the parent show
// through must show this.
constexpr COLORREF kParentColour = RGB(30, 120, 200);

// Opens build/bin/Mirovale.qpk; FALSE when it is not there.
bool OpenRealPack();
// Writes a copy of the real pack at path in which the entry name cannot be
// found (its table name is changed); false when the pack has no such entry.
bool WritePackWithout(const std::wstring& path, const char* name);

struct LoggedMessage {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

// Logs commands, system commands and the button messages; system commands
// are not carried out (the test window must not close or minimize).
class CRecorderWnd : public CWnd {
public:
    BOOL CreateTop(int x, int y, int width, int height);
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    int Count(UINT msg) const;
    int CountCommand(UINT msg, UINT id) const;
    void Clear() { log.clear(); }
    std::vector<LoggedMessage> log;
    bool carryOutSysCommands = false;
};

// Pixels of a window's client area as shown on screen (COLORREF per pixel).
class Pixels {
public:
    explicit Pixels(HWND hwnd);
    // A screen rectangle.
    explicit Pixels(const RECT& screen);
    COLORREF At(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Pixels of rect (client coordinates) that are not colour.
    int CountOther(const RECT& rect, COLORREF colour, int tolerance = 0) const;
    // Saves as build/tests/shots/<name>.png.
    bool SavePng(const wchar_t* name) const;

private:
    void Grab(HDC source, int x, int y);
    int m_width = 0, m_height = 0;
    std::vector<COLORREF> m_pixels;
};

bool Near(COLORREF a, COLORREF b, int tolerance);
// Puts the real pointer on a client point of hwnd (mouse tracking looks at it).
void PointerTo(HWND hwnd, int x, int y);
void PointerAway();
// Sends a mouse message with a client point.
void Mouse(HWND hwnd, UINT msg, int x, int y, WPARAM keys = 0);
// Ends a hover at once, without waiting for the system to notice the pointer left.
void EndTracking(HWND hwnd);
// Pointer there, then down and up as the user would.
void Click(HWND hwnd, int x, int y);
// Pixel (x, y) of a picture from its top-left corner.
COLORREF DibPixel(const DIB_IMAGE& image, int x, int y);
// Lets pending paints happen.
void Settle(HWND hwnd);

// A fresh main window per test (kParentColour background), the real pack open.
class SkinGuiTest : public GuiTest {
protected:
    void SetUp() override;
    void TearDown() override;
    CRecorderWnd main;
};

}  // namespace skintest
