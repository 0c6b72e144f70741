// The tips balloon: word wrapping (measured with a fixed 10 px per character),
// placement against the parent window and the monitor, and the real window
// under Xvfb: size, shape, text inside, the dialog stack, closing by a click
// or a key, and a missing skin picture.
#include <string>

#include "DialogDriver.h"
#include "SkinTestFixture.h"
#include "TestFiles.h"
#include "common/FileArchive.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "views/report/InfoDlg.h"

using namespace dlgtest;

namespace {

int TenPerChar(const CString& s) { return 10 * s.GetLength(); }

std::wstring Repeat(const wchar_t* word, int n)
{
    std::wstring s;
    for (int i = 0; i < n; ++i)
        s += word;
    return s;
}

TEST(InfoWrap, Cases)
{
    const std::wstring nine = L"aaaaaaaaa ";  // 100 px with its blank
    const struct {
        std::wstring in, out;
        int width, breaks;
    } cases[] = {
        // No blank: one line however long; the balloon is as wide as the text.
        {Repeat(L"x", 100), Repeat(L"x", 100), 1000, 0},
        {L"short", L"short", 50, 0},
        {L"", L"", 0, 0},
        // Five words fill 500 px; the sixth would pass 572 and starts a line.
        {Repeat(nine.c_str(), 6) + L"end", Repeat(nine.c_str(), 5) + L"\n" + nine + L"end", 500, 1},
        {Repeat(nine.c_str(), 12) + L"z", Repeat(nine.c_str(), 5) + L"\n" + Repeat(nine.c_str(), 5) + L"\n" +
                                              Repeat(nine.c_str(), 2) + L"z", 500, 2},
        // The marker after a blank starts a line; the blank after it goes.
        {L"ab \\n cd ef", L"ab \ncd ef", 50, 1},
        {L"\\n first", L"\nfirst", 50, 1},
        // Glued to the next word the marker still breaks, and the word keeps its letter.
        {L"one \\ntwo", L"one \ntwo", 40, 1},
        // Inside a word it is text.
        {L"ab\\ncd ef", L"ab\\ncd ef", 90, 0},
        // A last line wider than the others makes the balloon as wide.
        {L"aa " + Repeat(L"b", 80), L"aa \n" + Repeat(L"b", 80), 800, 1},
        // A last line that fits beside the line before stays on it.
        {L"aa bbb", L"aa bbb", 60, 0},
        // A single long word never leaves an empty line before it.
        {Repeat(L"c", 70) + L" d", Repeat(L"c", 70) + L" \nd", 710, 1},
        {L"ab " + Repeat(L"c", 70) + L" d", L"ab \n" + Repeat(L"c", 70) + L" \nd", 710, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "message \"" << CStringA(c.in.c_str()).GetString() << "\"");
        const CInfoDlg::Wrapped w = CInfoDlg::WrapText(c.in.c_str(), TenPerChar);
        EXPECT_EQ(std::wstring(w.text), c.out);
        EXPECT_EQ(w.width, c.width);
        EXPECT_EQ(w.breaks, c.breaks);
    }
}

TEST(InfoPlace, Cases)
{
    const RECT screen{0, 0, 1280, 1024};
    const struct {
        const char* what;
        RECT anchor;
        int w, h;
        RECT parent, work;
        RECT expect;
    } cases[] = {
        {"centred below", {400, 100, 430, 130}, 200, 125, {0, 0, 1000, 800}, screen, {315, 139, 515, 264}},
        {"odd width: the extra pixel left", {400, 100, 430, 130}, 201, 125, {0, 0, 1000, 800}, screen,
         {314, 139, 515, 264}},
        {"right edge of the window", {950, 100, 990, 130}, 300, 125, {0, 0, 1000, 800}, screen,
         {680, 139, 980, 264}},
        {"left edge of the window", {0, 100, 20, 130}, 300, 125, {0, 0, 1000, 800}, screen,
         {20, 139, 320, 264}},
        {"bottom of the window", {400, 700, 430, 730}, 200, 125, {0, 0, 1000, 800}, screen,
         {315, 655, 515, 780}},
        {"window partly off the monitor", {1250, 100, 1290, 130}, 300, 125, {400, 0, 1500, 800}, screen,
         {980, 139, 1280, 264}},
        {"window above the monitor's top", {400, -200, 430, -170}, 200, 125, {0, -400, 1000, 800}, screen,
         {315, 0, 515, 125}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RECT r = CInfoDlg::Place(c.anchor, c.w, c.h, c.parent, c.work);
        EXPECT_EQ(r.left, c.expect.left);
        EXPECT_EQ(r.top, c.expect.top);
        EXPECT_EQ(r.right, c.expect.right);
        EXPECT_EQ(r.bottom, c.expect.bottom);
    }
}

class InfoBalloon : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        main.MoveWindow(0, 0, 1000, 760);
        skintest::Settle(main.m_hWnd);
    }
    // An anchor like the eco panel's tips button, in screen coordinates.
    RECT Anchor(int x, int y) const
    {
        RECT r{x, y, x + 28, y + 28};
        ::MapWindowPoints(main.m_hWnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

TEST_F(InfoBalloon, OpensShapedBelowItsAnchorAndAClickClosesIt)
{
    CInfoDlg dlg;
    dlg.SetTitle(theGlobal.UiString(249));
    dlg.SetMessage(theGlobal.UiString(72));
    dlg.m_anchor = Anchor(600, 200);
    int stackSize = 0;
    const INT_PTR r = RunModalPlain([&] { return dlg.DoModal(); }, [&](CDialog& d) {
        ASSERT_EQ(&d, &dlg);
        stackSize = static_cast<int>(theGlobal.m_dialogStack.GetSize());
        // Two forced breaks in the shipped tips text, and every line fits.
        EXPECT_EQ(dlg.GetBreakCount(), 2);
        EXPECT_EQ(dlg.GetMessage().Find(L"\\n"), -1);
        CRect window;
        dlg.GetWindowRect(&window);
        EXPECT_EQ(window.Width(), dlg.GetWidth());
        EXPECT_EQ(window.Height(), dlg.GetHeight());
        EXPECT_GE(window.Height(), 125);
        EXPECT_EQ(window.top, dlg.m_anchor.bottom + 9);
        EXPECT_NEAR((window.left + window.right) / 2.0, (dlg.m_anchor.left + dlg.m_anchor.right) / 2.0, 1.0);
        // Every line of the wrapped text fits the body as DrawText draws it.
        {
            HDC dc = ::GetDC(dlg.m_hWnd);
            HFONT font = nullptr;
            ASSERT_TRUE(CreateTahomaFont(FALSE, &font, 120, FALSE));
            HGDIOBJ old = ::SelectObject(dc, font);
            CString line;
            for (int i = 0; AfxExtractSubString(line, dlg.GetMessage(), i, L'\n'); ++i) {
                RECT r{0, 0, 0, 0};
                ::DrawTextW(dc, line, line.GetLength(), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
                EXPECT_LE(r.right, window.Width() - 24) << "line " << i;
                if (line.IsEmpty())
                    break;
            }
            ::SelectObject(dc, old);
            ::DeleteObject(font);
            ::ReleaseDC(dlg.m_hWnd, dc);
        }
        // Cut corners: the region leaves the very corner out and keeps the middle.
        HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(::GetWindowRgn(dlg.m_hWnd, rgn), ERROR);
        EXPECT_FALSE(::PtInRegion(rgn, 0, 0));
        EXPECT_FALSE(::PtInRegion(rgn, window.Width() - 1, 0));
        EXPECT_TRUE(::PtInRegion(rgn, window.Width() / 2, window.Height() / 2));
        ::DeleteObject(rgn);
        // Dark body with light text; each message line has ink.
        skintest::Pixels px(dlg.m_hWnd);
        EXPECT_EQ(px.At(window.Width() / 2, 14), RGB(0x05, 0x05, 0x0A));
        const RECT messageArea{12, 44, window.Width() - 12, window.Height() - 12};
        EXPECT_GT(px.CountOther(messageArea, RGB(0x05, 0x05, 0x0A)), 300);
        // The widest line reaches near the right edge but never past the body.
        const int right = window.Width() - 12;
        const RECT lastColumns{right - 30, 44, right, window.Height() - 12};
        EXPECT_GT(px.CountOther(lastColumns, RGB(0x05, 0x05, 0x0A)), 0);
        SaveShot(dlg.m_hWnd, L"report_balloon");
        RealClick(dlg.m_hWnd, window.Width() / 2, window.Height() / 2);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_EQ(stackSize, 1);
    EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);
}

TEST_F(InfoBalloon, ALongLastLineIsNotClipped)
{
    // One word without blanks: the balloon grows to hold all of it.
    CInfoDlg dlg;
    dlg.SetTitle(L"T");
    dlg.SetMessage(L"Averyveryverylongwordwithoutanyblankthatmustnotbecutatitsend");
    dlg.m_anchor = Anchor(400, 100);
    RunModalPlain([&] { return dlg.DoModal(); }, [&](CDialog&) {
        CRect window;
        dlg.GetWindowRect(&window);
        HDC dc = ::GetDC(dlg.m_hWnd);
        HFONT font = nullptr;
        ASSERT_TRUE(CreateTahomaFont(FALSE, &font, 120, FALSE));
        HGDIOBJ old = ::SelectObject(dc, font);
        SIZE extent{};
        const CString& m = dlg.GetMessage();
        ::GetTextExtentPoint32W(dc, m, m.GetLength(), &extent);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
        ::ReleaseDC(dlg.m_hWnd, dc);
        EXPECT_GE(window.Width() - 24, extent.cx);
        // The last letter's ink lies inside the body.
        skintest::Pixels px(dlg.m_hWnd);
        const RECT tail{12 + extent.cx - 8, 44, 12 + extent.cx, 44 + extent.cy};
        EXPECT_GT(px.CountOther(tail, RGB(0x05, 0x05, 0x0A)), 0);
        SaveShot(dlg.m_hWnd, L"report_balloon_long");
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);
}

TEST_F(InfoBalloon, KeysCloseIt)
{
    for (WORD key : {VK_ESCAPE, VK_RETURN}) {
        CInfoDlg dlg;
        dlg.SetTitle(L"Tips");
        dlg.SetMessage(L"Short");
        dlg.m_anchor = Anchor(300, 300);
        const INT_PTR r = RunModalPlain([&] { return dlg.DoModal(); }, [&](CDialog&) {
            EXPECT_EQ(dlg.GetHeight(), 125);
            PressKey(key);
        });
        EXPECT_EQ(r, key == VK_ESCAPE ? IDCANCEL : IDOK);
    }
}

CInfoDlg* g_unskinned = nullptr;
bool g_sawWindow = false;
INT_PTR g_stackWhileOpen = -1;
int g_skinPixels = -1;
bool g_hadRegion = true;

void CALLBACK CloseUnskinned(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!g_unskinned || !g_unskinned->m_hWnd || !::IsWindowVisible(g_unskinned->m_hWnd))
        return;
    ::KillTimer(nullptr, id);
    g_sawWindow = true;
    g_stackWhileOpen = theGlobal.m_dialogStack.GetSize();
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    g_hadRegion = ::GetWindowRgn(g_unskinned->m_hWnd, rgn) != ERROR;
    ::DeleteObject(rgn);
    ::RedrawWindow(g_unskinned->m_hWnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
    skintest::Pixels px(g_unskinned->m_hWnd);
    const RECT all{0, 0, px.Width(), px.Height()};
    // Pixels of the balloon's dark body: none unless some skin was drawn.
    g_skinPixels = px.Width() * px.Height() - px.CountOther(all, RGB(0x05, 0x05, 0x0A));
    SaveShot(g_unskinned->m_hWnd, L"report_balloon_unskinned");
    g_unskinned->EndDialog(IDOK);
}

// A pack that cannot be opened, and one that lacks a single late piece (the
// pieces before it load): either way the balloon opens plain, with no piece
// drawn, and stays off the dialog stack.
TEST_F(InfoBalloon, AMissingPictureOpensItUnskinnedAndLeavesTheStackAlone)
{
    testsupport::TempDir dir;
    const std::wstring noPack = testsupport::ExeDir() + L"no-such.qpk";
    const std::wstring lacking = dir.File(L"lacking.qpk");
    ASSERT_TRUE(skintest::WritePackWithout(lacking, "tips_bottom.bmp"));
    for (const std::wstring& pack : {noPack, lacking}) {
        SCOPED_TRACE(testsupport::Utf8(pack));
        ASSERT_EQ(theFileArchive.Open(pack.c_str()), pack == lacking);
        int other = 0;
        theGlobal.m_dialogStack.Add(&other);
        {
            CInfoDlg dlg;
            dlg.SetTitle(L"Title");
            dlg.SetMessage(L"Nothing to see");
            g_unskinned = &dlg;
            g_sawWindow = false;
            g_skinPixels = -1;
            const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CloseUnskinned);
            const INT_PTR r = dlg.DoModal();
            ::KillTimer(nullptr, timer);
            g_unskinned = nullptr;
            EXPECT_EQ(r, IDOK);
            EXPECT_FALSE(dlg.IsOnDialogStack());
            EXPECT_FALSE(dlg.IsSkinned());
        }
        EXPECT_TRUE(g_sawWindow);
        EXPECT_EQ(g_stackWhileOpen, 1);
        EXPECT_FALSE(g_hadRegion);
        EXPECT_EQ(g_skinPixels, 0);
        ASSERT_EQ(theGlobal.m_dialogStack.GetSize(), 1);
        EXPECT_EQ(theGlobal.m_dialogStack[0], &other);
        theGlobal.m_dialogStack.RemoveAll();
        theFileArchive.Close();
    }
    ASSERT_TRUE(skintest::OpenRealPack());
}

}  // namespace
