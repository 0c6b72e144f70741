// Alpha and multi-text buttons: state changes reach the parent as repaint
// requests, pictures come from the pack's PNGs, and Draw lays the caption over
// the picture.
#include "SkinTestFixture.h"
#include "common/DibImage.h"
#include "controls/ButtonMessages.h"
#include "controls/MultiTextButton.h"

using namespace skintest;

namespace {

constexpr UINT kId = 40200;

class AlphaButton : public SkinGuiTest {
protected:
    void SetUp() override
    {
        SkinGuiTest::SetUp();
        ASSERT_TRUE(button.Create(CRect(10, 10, 10, 10), &main, kId, FALSE));
        ASSERT_TRUE(button.LoadImages(L"btn_Menu_POI_%s.png", L"check", L"check"));
        button.SetTextRect(RECT{10, 100, 140, 130});
        button.SetSecondLineRect(RECT{10, 118, 140, 140});
        button.ResetTextColors();
        main.Clear();
    }
    // The button drawn by Draw on a plain background, as the parent would.
    Pixels Render(COLORREF background = RGB(40, 40, 40))
    {
        RECT r{0, 0, 150, 145};
        HDC dc = ::GetDC(main);
        HBRUSH brush = ::CreateSolidBrush(background);
        ::FillRect(dc, &r, brush);
        ::DeleteObject(brush);
        button.Draw(POINT{0, 0}, dc);
        ::ReleaseDC(main, dc);
        ::GdiFlush();
        return Pixels(main.m_hWnd);
    }
    CMultiTextButton button;
};

TEST_F(AlphaButton, PicturesComeFromThePackAndSizeTheWindow)
{
    EXPECT_EQ(button.GetMaxImageWidth(), 150);
    EXPECT_EQ(button.GetMaxImageHeight(), 145);
    CRect client;
    button.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 150);
    EXPECT_EQ(client.Height(), 145);
    for (int s = 0; s < kStateCount; ++s)
        EXPECT_NE(button.GetImage(s), nullptr) << s;
}

TEST_F(AlphaButton, MissingPicturesDrawNothingAndCountForNothing)
{
    EXPECT_TRUE(button.LoadImages(L"no_such_%s.png", L"check", L"check"));
    EXPECT_EQ(button.GetMaxImageWidth(), 0);
    EXPECT_EQ(button.GetMaxImageHeight(), 0);
}

TEST_F(AlphaButton, HoverAndLeaveAskTheParentToRepaint)
{
    PointerTo(button, 20, 20);
    Mouse(button, WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ(main.Count(WM_BUTTON_BEGIN_MOUSE_TRACK), 1);
    EXPECT_EQ(main.Count(WM_DRAW_ALPHA_IMAGE), 1);
    EXPECT_EQ(button.GetState(), kStateHot);
    EndTracking(button);
    EXPECT_EQ(main.Count(WM_BUTTON_LEAVE_MOUSE_TRACK), 1);
    EXPECT_EQ(main.Count(WM_DRAW_ALPHA_IMAGE), 2);
    EXPECT_EQ(button.GetState(), kStateNormal);
}

TEST_F(AlphaButton, SetCheckAnnouncesOnlyAChange)
{
    button.SetCheck(FALSE);
    EXPECT_EQ(main.Count(WM_DRAW_ALPHA_IMAGE), 0);
    button.SetCheck(TRUE);
    EXPECT_EQ(main.Count(WM_DRAW_ALPHA_IMAGE), 1);
    EXPECT_EQ(button.GetState(), kStateChecked);
    button.SetCheck(TRUE);
    EXPECT_EQ(main.Count(WM_DRAW_ALPHA_IMAGE), 1);
    button.EnableWindow(FALSE);
    button.SetCheck(FALSE);
    EXPECT_EQ(button.GetState(), kStateDisabled);
}

TEST_F(AlphaButton, ClickPostsTheCommandAndPaintsNothingItself)
{
    Click(button, 30, 30);
    PumpPending();
    EXPECT_EQ(main.CountCommand(WM_COMMAND, kId), 1);
    // Hot, pressed, hot again: three repaint requests.
    EXPECT_EQ(main.Count(WM_DRAW_ALPHA_IMAGE), 3);
    EXPECT_TRUE(button.GetExStyle() & WS_EX_TRANSPARENT);
}

TEST_F(AlphaButton, DrawBeforeSetTextShowsOnlyThePicture)
{
    Pixels shown = Render();
    EXPECT_GT(shown.CountOther(RECT{0, 0, 150, 145}, RGB(40, 40, 40)), 1000);
    EXPECT_EQ(button.GetLineCount(), 0);
}

TEST_F(AlphaButton, ShortCaptionStaysOnOneLine)
{
    button.SetText(L"POI");
    ASSERT_EQ(button.GetLineCount(), 1);
    EXPECT_STREQ(button.GetLine(0), L"POI");
    const Pixels picture = Render();
    int white = 0;
    for (int y = 100; y < 130; ++y)
        for (int x = 10; x < 140; ++x)
            white += Near(picture.At(x, y), RGB(255, 255, 255), 10);
    EXPECT_GT(white, 30);
}

TEST_F(AlphaButton, LongCaptionSplitsAtABlankIntoTwoLines)
{
    button.SetText(L"Points of interest");
    ASSERT_EQ(button.GetLineCount(), 2);
    EXPECT_STREQ(button.GetLine(0) + L" " + button.GetLine(1), L"Points of interest");
}

TEST_F(AlphaButton, NewWindowTextFromACommandUpdateIsWrappedAgain)
{
    button.SetText(L"POI");
    ASSERT_EQ(button.GetLineCount(), 1);
    const int repaints = main.Count(WM_DRAW_ALPHA_IMAGE);
    CCmdUI ui;
    ui.m_nID = 1;
    ui.m_pOther = &button;
    ui.SetText(L"Points of interest");
    ASSERT_EQ(button.GetLineCount(), 2);
    EXPECT_STREQ(button.GetLine(0) + L" " + button.GetLine(1), L"Points of interest");
    EXPECT_EQ(main.Count(WM_DRAW_ALPHA_IMAGE), repaints + 1);
    ui.SetText(L"Points of interest");  // the same text again: nothing to redo
    EXPECT_EQ(main.Count(WM_DRAW_ALPHA_IMAGE), repaints + 1);
}

TEST_F(AlphaButton, DisabledCaptionIsGrey)
{
    button.SetText(L"POI");
    button.EnableWindow(FALSE);
    ASSERT_EQ(button.GetState(), kStateDisabled);
    const Pixels shown = Render();
    int grey = 0, white = 0;
    for (int y = 100; y < 130; ++y)
        for (int x = 10; x < 140; ++x) {
            grey += Near(shown.At(x, y), RGB(0x50, 0x50, 0x50), 6);
            white += Near(shown.At(x, y), RGB(255, 255, 255), 10);
        }
    EXPECT_GT(grey, 30);
    EXPECT_EQ(white, 0);
}

TEST_F(AlphaButton, TwoLineCaptionUsesTheTwoLinePicture)
{
    ASSERT_TRUE(button.LoadTwoLineImage(L"btn_Menu_POI_Multi_pressed.png", kStatePressed));
    button.SetText(L"Points of interest");
    ASSERT_EQ(button.GetLineCount(), 2);
    Mouse(button, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    ASSERT_EQ(button.GetState(), kStatePressed);
    const Pixels shown = Render();
    Mouse(button, WM_LBUTTONUP, 200, 200);
    // Above the caption the drawing is the two-line picture, not the pressed one.
    DIB_IMAGE32 multi{}, pressed{};
    ASSERT_TRUE(LoadDib32FromPack(L"btn_Menu_POI_Multi_pressed.png", &multi));
    ASSERT_TRUE(LoadDib32FromPack(L"btn_Menu_POI_pressed.png", &pressed));
    auto opaque = [](const DIB_IMAGE32& img, int x, int y) {
        const int rows = img.height < 0 ? -img.height : img.height;
        const BYTE* p = img.bits + (static_cast<size_t>(rows - 1 - y) * img.width + x) * 4;
        return p[3] == 255 ? RGB(p[2], p[1], p[0]) : CLR_INVALID;
    };
    int compared = 0, matchMulti = 0, matchPressed = 0;
    for (int y = 0; y < 95; ++y)
        for (int x = 0; x < 150; ++x) {
            const COLORREF m = opaque(multi, x, y), p = opaque(pressed, x, y);
            if (m == CLR_INVALID || p == CLR_INVALID || Near(m, p, 12))
                continue;
            ++compared;
            matchMulti += Near(shown.At(x, y), m, 6);
            matchPressed += Near(shown.At(x, y), p, 6);
        }
    FreeDibImage32(&multi);
    FreeDibImage32(&pressed);
    ASSERT_GT(compared, 0);
    EXPECT_EQ(matchMulti, compared);
    EXPECT_EQ(matchPressed, 0);
}

}  // namespace
