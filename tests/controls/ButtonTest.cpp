// The skinned push button: the state contract driven by the mouse, the
// command posted to the window in front, the messages to the parent, strips
// from the skin pack and from the builders, and what it paints.
#include "ImageFixtures.h"
#include "SkinTestFixture.h"
#include "common/ButtonStrips.h"
#include "common/FileArchive.h"
#include "controls/ButtonMessages.h"
#include "controls/CustomButton.h"

using namespace skintest;

namespace {

constexpr UINT kId = 40100;

class Button : public SkinGuiTest {
protected:
    void SetUp() override
    {
        SkinGuiTest::SetUp();
        ASSERT_TRUE(button.Create(CRect(20, 20, 20, 20), &main, kId, FALSE));
        ASSERT_TRUE(button.LoadBitmaps(L"sysbtn_close_%s.bmp", L"sysbtn_close_normal.bmp", L"normal", L"pressed",
                                       L"pressed", L"hot", L"disable"));
        main.Clear();
    }
    CCustomButton button;
};

// One step of the user's hand: a message at a point inside (true) or outside.
struct Step {
    UINT msg;
    bool inside;
};

struct MouseCase {
    const char* name;
    BOOL checked;
    BOOL clickOnPress;
    std::vector<Step> steps;
    int commands;
    int finalState;
    int enterMessages;
};

TEST_F(Button, MouseSequencesGiveCommandsAndStates)
{
    const std::vector<MouseCase> cases = {
        {"click inside", FALSE, FALSE, {{WM_MOUSEMOVE, true}, {WM_LBUTTONDOWN, true}, {WM_LBUTTONUP, true}}, 1, 3, 1},
        {"press, drag out, release outside", FALSE, FALSE,
         {{WM_LBUTTONDOWN, true}, {WM_MOUSEMOVE, false}, {WM_LBUTTONUP, false}}, 0, 3, 0},
        {"latched: press, drag out, release outside", TRUE, FALSE,
         {{WM_LBUTTONDOWN, true}, {WM_MOUSEMOVE, false}, {WM_LBUTTONUP, false}}, 0, 2, 0},
        {"dragged out and back in", FALSE, FALSE,
         {{WM_LBUTTONDOWN, true}, {WM_MOUSEMOVE, false}, {WM_MOUSEMOVE, true}, {WM_LBUTTONUP, true}}, 1, 3, 0},
        // One click, one command, also when the command goes out on the way down.
        {"click on press", FALSE, TRUE, {{WM_LBUTTONDOWN, true}, {WM_LBUTTONUP, true}}, 1, 3, 0},
        {"two clicks", FALSE, FALSE,
         {{WM_LBUTTONDOWN, true}, {WM_LBUTTONUP, true}, {WM_LBUTTONDOWN, true}, {WM_LBUTTONUP, true}}, 2, 3, 0},
        {"double-click message adds nothing", FALSE, FALSE,
         {{WM_LBUTTONDOWN, true}, {WM_LBUTTONUP, true}, {WM_LBUTTONDBLCLK, true}, {WM_LBUTTONUP, true}}, 1, 3, 0},
        {"latched button does not turn hot", TRUE, FALSE, {{WM_MOUSEMOVE, true}}, 0, 2, 0},
        {"release without press", FALSE, FALSE, {{WM_LBUTTONUP, true}}, 0, 0, 0},
    };
    for (const MouseCase& c : cases) {
        SCOPED_TRACE(c.name);
        button.m_checked = c.checked;
        button.m_clickOnPress = c.clickOnPress;
        button.ChangeState(c.checked ? kStateChecked : kStateNormal);
        main.Clear();
        for (const Step& s : c.steps) {
            const int x = s.inside ? 10 : 60, y = s.inside ? 9 : 40;
            if (s.msg == WM_MOUSEMOVE)
                PointerTo(button, x, y);
            Mouse(button, s.msg, x, y, s.msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0);
        }
        // Enter messages are sent at once; the pointer that really rests on
        // the button afterwards may start another hover while commands arrive.
        const int entered = main.Count(WM_BUTTON_BEGIN_MOUSE_TRACK);
        const int stateAfter = button.GetState();
        PumpPending();
        EXPECT_EQ(main.CountCommand(WM_COMMAND, kId), c.commands);
        EXPECT_EQ(main.Count(WM_SYSCOMMAND), 0);
        EXPECT_EQ(stateAfter, c.finalState);
        EXPECT_EQ(entered, c.enterMessages);
        EXPECT_EQ(::GetCapture(), nullptr);
        // Leave, so the next case starts untracked.
        EndTracking(button);
    }
}

TEST_F(Button, RealMouseClickThroughTheSystem)
{
    // Input as the user gives it: the system finds the window under the
    // pointer, delivers the moves, captures and posts the command.
    POINT p{10, 9};
    button.ClientToScreen(&p);
    ::SetCursorPos(p.x, p.y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(::SendInput(2, in, sizeof(INPUT)), 2u);
    ASSERT_TRUE(PumpUntil([&] { return main.CountCommand(WM_COMMAND, kId) == 1; }));
    EXPECT_EQ(main.Count(WM_BUTTON_BEGIN_MOUSE_TRACK), 1);
    EXPECT_EQ(button.GetState(), kStateHot);
    PointerAway();
    ASSERT_TRUE(PumpUntil([&] { return main.Count(WM_BUTTON_LEAVE_MOUSE_TRACK) == 1; }));
    EXPECT_EQ(button.GetState(), kStateNormal);
    EXPECT_EQ(main.CountCommand(WM_COMMAND, kId), 1);
}

TEST_F(Button, HoverAndLeaveTellTheParent)
{
    PointerTo(button, 5, 5);
    Mouse(button, WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(button.GetState(), kStateHot);
    ASSERT_EQ(main.Count(WM_BUTTON_BEGIN_MOUSE_TRACK), 1);
    EXPECT_EQ(main.log[0].lp, static_cast<LPARAM>(kId));
    Mouse(button, WM_MOUSEMOVE, 6, 5);  // still inside: no second enter
    EXPECT_EQ(main.Count(WM_BUTTON_BEGIN_MOUSE_TRACK), 1);
    // The real pointer leaves: the system reports it.
    PointerAway();
    ASSERT_TRUE(PumpUntil([&] { return main.Count(WM_BUTTON_LEAVE_MOUSE_TRACK) == 1; }));
    EXPECT_EQ(main.log.back().lp, static_cast<LPARAM>(kId));
    EXPECT_EQ(button.GetState(), kStateNormal);
}

TEST_F(Button, SystemCommandButtonPostsWmSysCommand)
{
    CCustomButton close;
    ASSERT_TRUE(close.Create(CRect(100, 20, 126, 38), &main, SC_CLOSE, TRUE));
    Click(close, 5, 5);
    PumpPending();
    EXPECT_EQ(main.CountCommand(WM_SYSCOMMAND, SC_CLOSE), 1);
    EXPECT_EQ(main.CountCommand(WM_COMMAND, SC_CLOSE), 0);
}

TEST_F(Button, EnablingShowsNormalAndDisablingDisabled)
{
    button.EnableWindow(FALSE);
    EXPECT_EQ(button.GetState(), kStateDisabled);
    // The pointer leaving a disabled button keeps the disabled look.
    ::SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(button.GetState(), kStateDisabled);
    button.EnableWindow(TRUE);
    EXPECT_EQ(button.GetState(), kStateNormal);
}

TEST_F(Button, DestroyedWhileTrackedSendsTheLeaveMessage)
{
    PointerTo(button, 5, 5);
    Mouse(button, WM_MOUSEMOVE, 5, 5);
    ASSERT_EQ(main.Count(WM_BUTTON_BEGIN_MOUSE_TRACK), 1);
    button.DestroyWindow();
    EXPECT_EQ(main.Count(WM_BUTTON_LEAVE_MOUSE_TRACK), 1);
}

TEST_F(Button, PackStripHasSixFramesAndSizesTheWindow)
{
    EXPECT_EQ(button.GetFrameCount(), 6);
    EXPECT_EQ(button.m_strip.height, 6 * 18);
    EXPECT_EQ(button.GetFrameHeight(), 18);
    CRect client;
    button.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 26);
    EXPECT_EQ(client.Height(), 18);
}

// Each frame is the base picture with its own state's overlay, and with no
// other: the frames start from one base picture, never from each other (half
// transparent overlays would pile up).
TEST_F(Button, EachFrameIsTheBaseWithItsOwnOverlay)
{
    using imagetest::Rgb;
    const CString realPack = theFileArchive.GetPath();
    std::vector<imagetest::PackEntry> entries = {
        {"base.bmp", imagetest::MakeBmp(8, 6, [](int x, int y) { return Rgb{BYTE(x * 30), BYTE(y * 40), 90}; })}};
    for (int n = 0; n < 5; ++n)
        entries.push_back({"over_" + std::to_string(n) + ".tga",
                           imagetest::MakeTga(8, 6, [n](int x, int) { return Rgb{BYTE(50 * n), BYTE(250 - 50 * n), BYTE(x * 20)}; },
                                              [n](int x, int y) { return BYTE((x + y + n) % 2 ? 128 : 0); })});
    ASSERT_TRUE(imagetest::OpenPack(entries));
    CCustomButton strip;
    const BOOL loaded = strip.LoadBitmaps(L"over_%s.tga", L"base.bmp", L"0", L"1", L"2", L"3", L"4");
    const wchar_t* const overlays[6] = {L"over_0.tga", L"over_1.tga", L"over_2.tga", L"over_3.tga", L"over_4.tga",
                                        L"over_0.tga"};
    std::vector<DIB_IMAGE> want(6);
    for (int n = 0; n < 6; ++n) {
        want[n] = DIB_IMAGE{};
        LoadDibFromPack(L"base.bmp", &want[n]);
        OverlayDib32(overlays[n], &want[n]);
    }
    theFileArchive.Open(realPack);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(strip.GetFrameCount(), 6);
    ASSERT_EQ(strip.GetFrameHeight(), 6);
    const int rowSize = DibRowSize(8);
    GdiFlush();
    for (int n = 0; n < 6; ++n) {
        SCOPED_TRACE(n);
        ASSERT_NE(want[n].bits, nullptr);
        // Frame n from the top; memory rows run from the strip's bottom.
        const BYTE* frame = strip.m_strip.bits + static_cast<size_t>(6 - 1 - n) * 6 * rowSize;
        EXPECT_EQ(0, memcmp(frame, want[n].bits, static_cast<size_t>(rowSize) * 6));
        FreeDibImage(&want[n]);
    }
}

TEST_F(Button, MissingPictureLeavesAPartialStripSlicedByItsFrames)
{
    EXPECT_FALSE(button.LoadBitmaps(L"sysbtn_close_%s.bmp", L"sysbtn_close_normal.bmp", L"normal", L"pressed",
                                    L"nothing_here", L"hot", L"disable"));
    EXPECT_EQ(button.GetFrameCount(), 2);
    EXPECT_EQ(button.GetFrameHeight(), 18);
}

TEST_F(Button, PaintsTheFrameOfEachState)
{
    // Every state shows its own frame of the strip, pixel for pixel.
    for (int state = 0; state < kStateCount; ++state) {
        SCOPED_TRACE(state);
        button.ChangeState(state);
        Settle(main);
        Pixels shown(button);
        ASSERT_EQ(shown.Width(), 26);
        int differing = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 26; ++x)
                if (!Near(shown.At(x, y), DibPixel(button.m_strip, x, state * 18 + y), 2))
                    ++differing;
        EXPECT_EQ(differing, 0);
    }
    // The frames really differ (normal against hot).
    int differ = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 26; ++x)
            differ += DibPixel(button.m_strip, x, y) != DibPixel(button.m_strip, x, 3 * 18 + y);
    EXPECT_GT(differ, 20);
}

TEST_F(Button, RoundRegionCutsTheFourCorners)
{
    button.SetRoundRegion();
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(button.GetWindowRgn(rgn), ERROR);
    EXPECT_FALSE(::PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(::PtInRegion(rgn, 25, 0));
    EXPECT_FALSE(::PtInRegion(rgn, 0, 17));
    EXPECT_FALSE(::PtInRegion(rgn, 25, 17));
    EXPECT_TRUE(::PtInRegion(rgn, 1, 0));
    EXPECT_TRUE(::PtInRegion(rgn, 0, 1));
    EXPECT_TRUE(::PtInRegion(rgn, 13, 9));
    ::DeleteObject(rgn);
}

TEST_F(Button, PointsOutsideTheHitRectAreTransparent)
{
    POINT inside{5, 5}, outside{40, 5};
    button.ClientToScreen(&inside);
    button.ClientToScreen(&outside);
    EXPECT_EQ(::SendMessageW(button, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
    EXPECT_EQ(::SendMessageW(button, WM_NCHITTEST, 0, MAKELPARAM(outside.x, outside.y)), HTTRANSPARENT);
}

TEST_F(Button, HandCursor)
{
    EXPECT_TRUE(::SendMessageW(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button.m_hWnd), HTCLIENT));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
}

// CreateFromDlgItem centres a builder strip's frame on the placeholder.
struct PlaceCase {
    RECT placeholder;
    RECT expected;
};

TEST_F(Button, FromDialogItemCentresTheFrameOnThePlaceholder)
{
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, 200, 200, 300, 200, main.m_hWnd, nullptr));
    CStatic placeholder;
    ASSERT_TRUE(placeholder.Create(L"", WS_VISIBLE, CRect(0, 0, 1, 1), &dialog, 1234));
    const PlaceCase cases[] = {
        {{10, 10, 30, 20}, {-21, 2, 60, 27}},     // 61 and 15 more: the odd pixel left and up
        {{10, 10, 110, 50}, {19, 17, 100, 42}},   // 19 and 15 less
    };
    for (const PlaceCase& c : cases) {
        CCustomButton b;
        ASSERT_TRUE(BuildButtonImage(&b.m_strip, L"OK", 81, 25, 100, FALSE));
        placeholder.MoveWindow(&c.placeholder);
        placeholder.ShowWindow(SW_SHOW);
        ASSERT_TRUE(b.CreateFromDlgItem(1234, &dialog));
        EXPECT_EQ(b.GetFrameCount(), 5);
        EXPECT_EQ(b.GetFrameHeight(), 25);
        CRect got;
        b.GetWindowRect(&got);
        dialog.ScreenToClient(&got);
        EXPECT_EQ(got.left, c.expected.left);
        EXPECT_EQ(got.top, c.expected.top);
        EXPECT_EQ(got.right, c.expected.right);
        EXPECT_EQ(got.bottom, c.expected.bottom);
        EXPECT_FALSE(placeholder.IsWindowVisible());
    }
    CCustomButton empty;
    EXPECT_FALSE(empty.CreateFromDlgItem(1234, &dialog));
    EXPECT_EQ(empty.m_hWnd, nullptr);
    dialog.DestroyWindow();
}

TEST_F(Button, CommandGoesToTheModalDialogInFront)
{
    // A popup owned by the main window and active in front of it.
    CRecorderWnd front;
    ASSERT_TRUE(front.CreateEx(0, nullptr, L"front", WS_POPUP | WS_VISIBLE, 300, 300, 100, 100, main.m_hWnd, nullptr));
    front.SetActiveWindow();
    Click(button, 5, 5);
    PumpPending();
    EXPECT_EQ(front.CountCommand(WM_COMMAND, kId), 1);
    EXPECT_EQ(main.CountCommand(WM_COMMAND, kId), 0);
    front.DestroyWindow();
}

}  // namespace

namespace {

// A view's command updates: the first command is enabled and latched by a
// setting, the second one has a handler for its text only, the third none.
class CButtonView : public CCmdTarget {
public:
    BOOL on = TRUE;
    BOOL latched = FALSE;

protected:
    void OnUpdateFirst(CCmdUI* ui)
    {
        ui->Enable(on);
        ui->SetCheck(latched);
    }
    void OnUpdateSecond(CCmdUI* ui) { ui->SetText(latched ? L"Stop" : L"Start"); }
    void OnSecond() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CButtonView, CCmdTarget)
    ON_UPDATE_COMMAND_UI(kId, OnUpdateFirst)
    ON_UPDATE_COMMAND_UI(kId + 1, OnUpdateSecond)
    ON_COMMAND(kId + 1, OnSecond)
END_MESSAGE_MAP()

TEST_F(Button, IdlePassOverTheButtonTableEnablesLatchesAndRenames)
{
    CCustomButton second, third;
    ASSERT_TRUE(second.Create(CRect(60, 20, 90, 40), &main, kId + 1, FALSE));
    ASSERT_TRUE(third.Create(CRect(100, 20, 130, 40), &main, kId + 2, FALSE));
    CCustomButton never;  // not created: skipped
    CButtonView view;
    const CCmdUI::Button table[] = {{&button, kId}, {&second, kId + 1}, {&third, kId + 2}, {&never, kId + 3}};

    view.latched = TRUE;
    CCmdUI::UpdateButtons(&view, table);
    EXPECT_EQ(kStateChecked, button.GetState());
    EXPECT_TRUE(button.m_checked);
    EXPECT_EQ(BST_CHECKED, button.SendMessage(BM_GETCHECK));
    EXPECT_STREQ(AfxGetWindowText(second.m_hWnd), L"Stop");
    EXPECT_TRUE(second.IsWindowEnabled());
    EXPECT_FALSE(third.IsWindowEnabled());  // nobody handles its command
    EXPECT_EQ(kStateDisabled, third.GetState());

    view.on = FALSE;
    CCmdUI::UpdateButtons(&view, table);
    EXPECT_FALSE(button.IsWindowEnabled());
    view.on = TRUE;
    CCmdUI::UpdateButtons(&view, table);
    EXPECT_EQ(kStateChecked, button.GetState());  // enabled again, still latched

    view.latched = FALSE;
    CCmdUI::UpdateButtons(&view, table);
    EXPECT_EQ(kStateNormal, button.GetState());
    EXPECT_FALSE(button.m_checked);
    EXPECT_STREQ(AfxGetWindowText(second.m_hWnd), L"Start");
    second.DestroyWindow();
    third.DestroyWindow();
}

}  // namespace
