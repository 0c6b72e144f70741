// The start-up splash and the about box: the brand's picture, the version
// label, the clicks that close the box, and its place on the dialog stack.
#include <windows.h>

#include "DialogDriver.h"
#include "common/FileArchive.h"
#include "core/Global.h"
#include "frame/AboutDlg.h"
#include "frame/MessageDlg.h"
#include "frame/OwnVersion.h"
#include "frame/SplashWnd.h"

using namespace dlgtest;
using namespace skintest;

namespace {

// Width of the ink of a window's text drawn in its font and colour on black,
// far from any edge.
int UnclippedInkWidth(HWND label)
{
    const CString text = AfxGetWindowText(label);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP canvas = ::CreateCompatibleBitmap(screen, 400, 40);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = ::SelectObject(dc, canvas);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT all{0, 0, 400, 40};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::SetTextColor(dc, RGB(0xBC, 0xBC, 0xBC));
    ::SetBkMode(dc, TRANSPARENT);
    ::TextOutW(dc, 100, 10, text, text.GetLength());
    int left = INT_MAX, right = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 400; ++x) {
            const COLORREF c = ::GetPixel(dc, x, y);
            if (GetRValue(c) > 24 || GetGValue(c) > 24 || GetBValue(c) > 24) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(canvas);
    ::DeleteDC(dc);
    return right - left;
}


class SplashAbout : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        savedArea = theGlobal.m_areaCode;
    }
    void TearDown() override
    {
        theGlobal.m_areaCode = savedArea;
        OpenRealPack();
        DialogTest::TearDown();
    }
    static CSize PictureSize(const wchar_t* name)
    {
        DIB_IMAGE image;
        InitDibImage(&image);
        if (!LoadDibFromPack(name, &image))
            return CSize(0, 0);
        const CSize size(image.width, image.height);
        FreeDibImage(&image);
        return size;
    }
    int savedArea = 0;
};

TEST(OwnVersion, LabelOfTheProgramsFileVersion)
{
    int v[4];
    ASSERT_TRUE(ReadFileVersion(nullptr, v));  // the test program carries the program's resources
    CString expected;
    expected.Format(L"Ver.  %d.%d.%d", v[0], v[1], v[2]);
    EXPECT_STREQ(VersionLabelText(), expected);
    EXPECT_EQ(expected.Find(L"Ver.  "), 0);
    EXPECT_STREQ(SplashPictureName(1), L"splash_mirovale.bmp");
    EXPECT_STREQ(SplashPictureName(2), L"splash_seravine.bmp");
}

TEST_F(SplashAbout, SplashTakesTheBrandsPictureSizeAndShowsTheVersion)
{
    for (int area : {1, 2}) {
        SCOPED_TRACE(area);
        theGlobal.m_areaCode = area;
        const CSize picture = PictureSize(SplashPictureName(area));
        ASSERT_GT(picture.cx, 0);
        CSplashWnd splash;
        ASSERT_TRUE(splash.Create());
        CRect r;
        splash.GetWindowRect(&r);
        EXPECT_EQ(r.Size(), picture);
        EXPECT_EQ(r.left, (::GetSystemMetrics(SM_CXSCREEN) - picture.cx) / 2);
        EXPECT_EQ(r.top, (::GetSystemMetrics(SM_CYSCREEN) - picture.cy) / 2);
        EXPECT_TRUE(splash.GetExStyle() & WS_EX_TOPMOST);
        EXPECT_TRUE(splash.GetExStyle() & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(splash.IsWindowVisible());
        EXPECT_STREQ(AfxGetWindowText(splash.m_label.m_hWnd), VersionLabelText());
        CRect label;
        splash.m_label.GetWindowRect(&label);
        splash.ScreenToClient(&label);
        // The box of the text, and room right of it for what Wine's Tahoma
        // draws past the measured width.
        EXPECT_EQ(label, CRect(249, 193, 319 + kVersionLabelRoom, 205));
        // The picture is what shows.
        Settle(splash.m_hWnd);
        const Pixels shown(splash.m_hWnd);
        EXPECT_TRUE(Near(shown.At(10, 10), DibPixel(splash.GetImage(), 10, 10), 8));
        // Nothing of the version is cut: it shows as wide as the same text
        // drawn with no edge near it.
        int inkLeft = INT_MAX, inkRight = -1;
        for (int y = label.top; y < label.bottom; ++y)
            for (int x = label.left; x < label.right; ++x)
                if (!Near(shown.At(x, y), DibPixel(splash.GetImage(), x, y), 24)) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                }
        EXPECT_EQ(inkRight - inkLeft, UnclippedInkWidth(splash.m_label.m_hWnd));
        EXPECT_LT(inkRight, label.right - 1);
        SaveShot(splash.m_hWnd, area == 1 ? L"splash_mirovale" : L"splash_seravine");
        splash.DestroyWindow();
    }
}

TEST_F(SplashAbout, SplashWithoutItsPictureIsNotCreated)
{
    theFileArchive.Open(L"Z:\\no\\such.qpk");
    CSplashWnd splash;
    EXPECT_FALSE(splash.Create());
    EXPECT_EQ(splash.m_hWnd, nullptr);
}

TEST_F(SplashAbout, AboutBoxClosesWithTheClickItGets)
{
    theGlobal.m_areaCode = 1;
    const CSize picture = PictureSize(L"splash_mirovale.bmp");
    const struct {
        int how;  // 0 left click, 1 right click, 2 Escape
        INT_PTR result;
    } cases[] = {{0, IDOK}, {1, IDCANCEL}, {2, IDCANCEL}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        CAboutDlg about;
        const INT_PTR r = RunModalPlain([&] { return about.DoModal(); }, [&](CDialog& dlg) {
            EXPECT_EQ(&dlg, &about);
            CRect w;
            about.GetWindowRect(&w);
            EXPECT_EQ(w.Size(), picture);
            EXPECT_STREQ(AfxGetWindowText(about.m_label.m_hWnd), VersionLabelText());
            EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 1);
            if (c.how == 0)
                SaveShot(about.m_hWnd, L"about_box");
            if (c.how == 2)
                PressKey(VK_ESCAPE);
            else
                RealClick(about.m_hWnd, 40, 40, c.how == 1);
        });
        EXPECT_EQ(r, c.result);
        EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);
    }
}

TEST_F(SplashAbout, AboutBoxWithTheZoomOnOpensAndClosesAlike)
{
    theGlobal.m_animation = 1;
    theGlobal.m_appActive = 1;
    CAboutDlg about;
    const DWORD start = ::GetTickCount();
    DWORD opened = 0;
    const INT_PTR r = RunModalPlain([&] { return about.DoModal(); }, [&](CDialog&) {
        opened = ::GetTickCount() - start;
        EXPECT_TRUE(about.IsWindowVisible());
        RealClick(about.m_hWnd, 40, 40);
    });
    theGlobal.m_animation = 0;
    EXPECT_EQ(r, IDOK);
    EXPECT_GE(opened, 100u);  // ten outline steps of 12 ms went before it showed
    EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);
}

TEST_F(SplashAbout, MessageFromInsideTheAboutBoxBelongsToIt)
{
    CAboutDlg about;
    HWND aboutHwnd = nullptr, owner = nullptr;
    RunModalPlain([&] { return about.DoModal(); }, [&](CDialog&) {
        aboutHwnd = about.m_hWnd;
        RunModal([&] { return ShowMessage(L"Over the about box", 0, FALSE); }, [&](CCustomDialog& box) {
            owner = ::GetWindow(box.m_hWnd, GW_OWNER);
            PressKey(VK_RETURN);
        });
        RealClick(about.m_hWnd, 30, 30);
    });
    EXPECT_EQ(owner, aboutHwnd);
}

CAboutDlg* g_plainAbout = nullptr;
CSize g_plainSize;

void CALLBACK ClickPlainAbout(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!g_plainAbout || !g_plainAbout->m_hWnd || !g_plainAbout->IsWindowVisible())
        return;
    ::KillTimer(nullptr, id);
    CRect w;
    g_plainAbout->GetWindowRect(&w);
    g_plainSize = w.Size();
    RealClick(g_plainAbout->m_hWnd, 10, 10);
}

TEST_F(SplashAbout, AboutBoxWithoutPictureClosesAndLeavesOtherEntriesAlone)
{
    theGlobal.m_areaCode = 1;
    const CSize picture = PictureSize(L"splash_mirovale.bmp");
    ASSERT_GT(picture.cx, 0);
    theFileArchive.Open(L"Z:\\no\\such.qpk");
    CMessageDlg other(L"x", &main);  // an entry of another open dialog
    theGlobal.m_dialogStack.Add(static_cast<CWnd*>(&other));
    {
        CAboutDlg about;
        g_plainAbout = &about;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &ClickPlainAbout);
        EXPECT_EQ(about.DoModal(), IDOK);
        ::KillTimer(nullptr, timer);
        g_plainAbout = nullptr;
    }
    // The box keeps its template size; it never got on the stack, so it took nothing off it.
    EXPECT_GT(g_plainSize.cx, 0);
    EXPECT_NE(g_plainSize, picture);
    ASSERT_EQ(theGlobal.m_dialogStack.GetSize(), 1);
    EXPECT_EQ(theGlobal.m_dialogStack[0], static_cast<CWnd*>(&other));
    theGlobal.m_dialogStack.RemoveAll();
}

}  // namespace
