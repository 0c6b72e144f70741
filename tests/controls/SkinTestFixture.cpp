#include "SkinTestFixture.h"

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "TestFiles.h"
#include "common/DibImage.h"
#include "common/FileArchive.h"
#include "common/ThemeLibrary.h"
#include "controls/ButtonMessages.h"

namespace skintest {

bool OpenRealPack()
{
    const std::wstring path = testsupport::ExeDir() + L"..\\bin\\Mirovale.qpk";
    return theFileArchive.Open(path.c_str()) != FALSE;
}

bool WritePackWithout(const std::wstring& path, const char* name)
{
    testsupport::Bytes pack = testsupport::ReadBytes(testsupport::ExeDir() + L"..\\bin\\Mirovale.qpk");
    CFileArchive::HEADER header;
    if (pack.size() < sizeof header)
        return false;
    memcpy(&header, pack.data(), sizeof header);
    const size_t tableBytes = static_cast<size_t>(header.count) * sizeof(CFileArchive::TOC);
    if (pack.size() < sizeof header + tableBytes)
        return false;
    BYTE* table = pack.data() + sizeof header;
    BYTE key = 0;
    CFileArchive::Scramble(table, tableBytes, header.step, key);
    bool found = false;
    for (DWORD i = 0; i < header.count; ++i) {
        auto* toc = reinterpret_cast<CFileArchive::TOC*>(table + i * sizeof(CFileArchive::TOC));
        if (_stricmp(toc->name, name) == 0) {
            toc->name[0] = '~';
            found = true;
        }
    }
    key = 0;
    CFileArchive::Scramble(table, tableBytes, header.step, key);
    if (found)
        testsupport::WriteBytes(path, pack);
    return found;
}

BOOL CRecorderWnd::CreateTop(int x, int y, int width, int height)
{
    static HBRUSH brush = ::CreateSolidBrush(kParentColour);
    const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), brush);
    return CreateEx(0, cls, L"controls test", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr);
}

LRESULT CRecorderWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND || msg == WM_SYSCOMMAND || msg == WM_BUTTON_BEGIN_MOUSE_TRACK ||
        msg == WM_BUTTON_LEAVE_MOUSE_TRACK || msg == WM_DRAW_ALPHA_IMAGE)
        log.push_back({msg, wp, lp});
    if (msg == WM_SYSCOMMAND && !carryOutSysCommands)
        return 0;
    return CWnd::WindowProc(msg, wp, lp);
}

int CRecorderWnd::Count(UINT msg) const
{
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const LoggedMessage& m) { return m.msg == msg; }));
}

int CRecorderWnd::CountCommand(UINT msg, UINT id) const
{
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const LoggedMessage& m) {
        return m.msg == msg && LOWORD(m.wp) == id;
    }));
}

Pixels::Pixels(HWND hwnd)
{
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    m_width = rc.right;
    m_height = rc.bottom;
    HDC dc = ::GetDC(hwnd);
    Grab(dc, 0, 0);
    ::ReleaseDC(hwnd, dc);
}

Pixels::Pixels(const RECT& screen)
{
    m_width = screen.right - screen.left;
    m_height = screen.bottom - screen.top;
    HDC dc = ::GetDC(nullptr);
    Grab(dc, screen.left, screen.top);
    ::ReleaseDC(nullptr, dc);
}

void Pixels::Grab(HDC source, int x, int y)
{
    m_pixels.assign(static_cast<size_t>(m_width) * m_height, 0);
    if (m_width <= 0 || m_height <= 0)
        return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = m_width;
    bi.bmiHeader.biHeight = -m_height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = ::CreateCompatibleDC(source);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::BitBlt(mem, 0, 0, m_width, m_height, source, x, y, SRCCOPY);
    ::GdiFlush();
    const BYTE* p = static_cast<const BYTE*>(bits);
    for (size_t i = 0; i < m_pixels.size(); ++i, p += 4)
        m_pixels[i] = RGB(p[2], p[1], p[0]);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::DeleteObject(bmp);
}

int Pixels::CountOther(const RECT& rect, COLORREF colour, int tolerance) const
{
    int n = 0;
    for (int y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, m_height); ++y)
        for (int x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, m_width); ++x)
            if (!Near(At(x, y), colour, tolerance))
                ++n;
    return n;
}

bool Pixels::SavePng(const wchar_t* name) const
{
    const std::wstring folder = testsupport::ExeDir() + L"shots\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    bool saved = false;
    {
        Gdiplus::Bitmap bitmap(m_width, m_height, PixelFormat32bppRGB);
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x) {
                const COLORREF c = At(x, y);
                bitmap.SetPixel(x, y, Gdiplus::Color(GetRValue(c), GetGValue(c), GetBValue(c)));
            }
        UINT count = 0, size = 0;
        Gdiplus::GetImageEncodersSize(&count, &size);
        std::vector<BYTE> buffer(size);
        auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
        Gdiplus::GetImageEncoders(count, size, codecs);
        for (UINT i = 0; i < count; ++i)
            if (wcscmp(codecs[i].MimeType, L"image/png") == 0)
                saved = bitmap.Save((folder + name + L".png").c_str(), &codecs[i].Clsid, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

void PointerTo(HWND hwnd, int x, int y)
{
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    ::SetCursorPos(p.x, p.y);
}

void PointerAway()
{
    ::SetCursorPos(1270, 1010);
}

void Mouse(HWND hwnd, UINT msg, int x, int y, WPARAM keys)
{
    ::SendMessageW(hwnd, msg, keys, MAKELPARAM(x, y));
}

void EndTracking(HWND hwnd)
{
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_CANCEL, hwnd, 0};
    ::TrackMouseEvent(&tme);
    ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    PointerAway();
}

void Click(HWND hwnd, int x, int y)
{
    PointerTo(hwnd, x, y);
    Mouse(hwnd, WM_MOUSEMOVE, x, y);
    Mouse(hwnd, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    Mouse(hwnd, WM_LBUTTONUP, x, y);
}

COLORREF DibPixel(const DIB_IMAGE& image, int x, int y)
{
    ::GdiFlush();
    const BYTE* p = image.bits + static_cast<size_t>(image.height - 1 - y) * DibRowSize(image.width) + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void Settle(HWND hwnd)
{
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpPending();
    ::GdiFlush();
}

void SkinGuiTest::SetUp()
{
    ASSERT_TRUE(OpenRealPack());
    LoadThemeLibraries();
    ASSERT_TRUE(main.CreateTop(0, 0, 640, 480));
    app.m_pMainWnd = &main;
    ::SetForegroundWindow(main.m_hWnd);
    PointerAway();
    Settle(main.m_hWnd);
}

void SkinGuiTest::TearDown()
{
    app.m_pMainWnd = nullptr;
    if (main.m_hWnd)
        main.DestroyWindow();
    GuiTest::TearDown();
}

}  // namespace skintest
