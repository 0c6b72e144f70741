// The popup menu with its own loop: keyboard, mnemonics, mouse, click-through,
// closing on deactivation, placement, the main window's state and quits.
#include <functional>
#include <vector>

#include "ControlsBTestSupport.h"
#include "controls/CustomMenu.h"
#include "core/Global.h"

using namespace controlstest;

namespace {

enum : UINT { IdOpen = 101, IdAlpha = 102, IdApple = 103, IdGrayed = 104, IdChecked = 105 };
constexpr UINT kLeaveFlags = CCustomMenu::LeaveLeftFlag | CCustomMenu::LeaveRightFlag;

// Runs one scripted step per timer tick while the menu's own loop runs.
class MenuScript {
public:
    explicit MenuScript(std::vector<std::function<void()>> steps) : m_steps(std::move(steps))
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 40, Tick);
    }
    ~MenuScript()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    bool Finished() const { return m_next >= m_steps.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_current && s_current->m_next < s_current->m_steps.size())
            s_current->m_steps[s_current->m_next++]();
    }
    static inline MenuScript* s_current = nullptr;
    std::vector<std::function<void()>> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
};

// Records the right button-downs it receives.
class CClickTarget : public CWnd {
public:
    std::vector<LPARAM> rightDowns;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_RBUTTONDOWN)
            rightDowns.push_back(lp);
        return CWnd::WindowProc(msg, wp, lp);
    }
};

class PopupMenuTest : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenSkinPack());
        ASSERT_TRUE(parent.CreateAt(40, 40, 300, 200));
        app.m_pMainWnd = &parent;
        theGlobal.m_appActive = 1;
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, IdOpen, L"&Open\tCtrl+O");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, IdAlpha, L"&Alpha");
        AppendMenuW(menu, MF_STRING, IdApple, L"&Apple");
        AppendMenuW(menu, MF_STRING | MF_GRAYED, IdGrayed, L"&Grayed");
        AppendMenuW(menu, MF_STRING | MF_CHECKED, IdChecked, L"&Checked");
        ASSERT_TRUE(popup.LoadMenu(menu));
    }
    void TearDown() override
    {
        theGlobal.m_appActive = 1;
        DestroyMenu(menu);
        app.m_pMainWnd = nullptr;
        parent.DestroyWindow();
        GuiTest::TearDown();
    }
    std::function<void()> Key(UINT key)
    {
        return [this, key] { popup.PostMessage(WM_KEYDOWN, key, 0); };
    }
    // A typed character: the key goes through the loop's translation.
    std::function<void()> Type(wchar_t c)
    {
        return [this, c] { popup.PostMessage(WM_KEYDOWN, LOBYTE(VkKeyScanW(c)), 0); };
    }
    std::function<void()> Check(const std::function<void()>& f) { return f; }
    UINT Track(UINT flags, std::vector<std::function<void()>> steps, int x = 200, int y = 120)
    {
        MenuScript script(std::move(steps));
        return popup.TrackPopupMenu(flags, x, y, &parent);
    }
    CLogParent parent;
    HMENU menu = nullptr;
    CCustomMenu popup;
};

TEST_F(PopupMenuTest, KeyboardChoosesSkipsSeparatorsAndWraps)
{
    struct Case {
        std::vector<UINT> keys;
        UINT result;
    } cases[] = {
        {{VK_DOWN, VK_RETURN}, IdOpen},
        {{VK_DOWN, VK_DOWN, VK_RETURN}, IdAlpha},        // over the separator
        {{VK_DOWN, VK_UP, VK_RETURN}, IdChecked},        // up from the first wraps to the last
        {{VK_END, VK_DOWN, VK_RETURN}, IdOpen},          // down from the last wraps to the first
        {{VK_HOME, VK_RETURN}, IdOpen},
        {{VK_ESCAPE}, 0u},
        {{VK_RETURN}, 0u},                                // nothing highlighted
    };
    for (const auto& c : cases) {
        std::vector<std::function<void()>> steps;
        for (UINT k : c.keys)
            steps.push_back(Key(k));
        EXPECT_EQ(c.result, Track(TPM_RETURNCMD, steps)) << c.keys.size() << " keys, first " << c.keys[0];
        EXPECT_EQ(nullptr, popup.m_hWnd);
    }
}

TEST_F(PopupMenuTest, ReturnOnAGrayedItemKeepsTheMenuOpen)
{
    bool openAfterReturn = false;
    UINT result = Track(TPM_RETURNCMD, {Key(VK_END), Key(VK_UP), Key(VK_RETURN),
                                        [&] { openAfterReturn = popup.m_hWnd != nullptr; }, Key(VK_ESCAPE)});
    EXPECT_TRUE(openAfterReturn);
    EXPECT_EQ(0u, result);
}

TEST_F(PopupMenuTest, SharedMnemonicCyclesWithoutChoosing)
{
    std::vector<int> selected;
    auto note = [&] { selected.push_back(popup.GetSelected()); };
    UINT result = Track(TPM_RETURNCMD, {Type(L'a'), note, Type(L'a'), note, Type(L'a'), note, Key(VK_ESCAPE)});
    EXPECT_EQ(0u, result);
    EXPECT_EQ((std::vector<int>{2, 3, 2}), selected);
    ASSERT_NE(nullptr, popup.FindJump(L'A'));
    EXPECT_EQ(2, popup.FindJump(L'A')->count);
}

TEST_F(PopupMenuTest, UniqueMnemonicChoosesAtOnce)
{
    EXPECT_EQ(UINT(IdOpen), Track(TPM_RETURNCMD, {Type(L'o')}));
    EXPECT_EQ(UINT(IdChecked), Track(TPM_RETURNCMD, {Type(L'C')}));
}

TEST_F(PopupMenuTest, LeftAndRightLeaveOnlyWithTheCaptionFlags)
{
    EXPECT_EQ(0u, Track(TPM_RETURNCMD | kLeaveFlags, {Key(VK_LEFT)}));
    EXPECT_EQ(-1, popup.m_leaveDirection);
    EXPECT_EQ(0u, Track(TPM_RETURNCMD | kLeaveFlags, {Key(VK_DOWN), Key(VK_RIGHT)}));
    EXPECT_EQ(1, popup.m_leaveDirection);
    bool stillOpen = false;
    EXPECT_EQ(0u, Track(TPM_RETURNCMD, {Key(VK_LEFT), [&] { stillOpen = popup.m_hWnd != nullptr; }, Key(VK_ESCAPE)}));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(0, popup.m_leaveDirection);
}

TEST_F(PopupMenuTest, ClosesSoonAfterTheApplicationLosesActivation)
{
    DWORD closedAfter = 0, deactivated = 0;
    UINT result = Track(TPM_RETURNCMD, {Key(VK_DOWN), [&] {
                                            deactivated = GetTickCount();
                                            theGlobal.m_appActive = 0;
                                        }});
    closedAfter = GetTickCount() - deactivated;
    EXPECT_EQ(0u, result);
    EXPECT_LT(closedAfter, 400u);
}

TEST_F(PopupMenuTest, MenuNearTheCornerStaysInsideTheWorkArea)
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    CRect placed;
    Track(TPM_RETURNCMD, {[&] { popup.GetWindowRect(&placed); }, Key(VK_ESCAPE)}, work.right - 5, work.bottom - 5);
    EXPECT_GE(placed.left, work.left);
    EXPECT_GE(placed.top, work.top);
    EXPECT_LE(placed.right, work.right);
    EXPECT_LE(placed.bottom, work.bottom);
    EXPECT_GT(placed.Width(), 20);
}

TEST_F(PopupMenuTest, ChosenCommandIsPostedToTheOwnerWithoutReturnCmd)
{
    EXPECT_EQ(UINT(IdAlpha), Track(0, {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)}));
    PumpPending();
    EXPECT_EQ(1, parent.Count(WM_COMMAND, IdAlpha));
}

TEST_F(PopupMenuTest, MainWindowKeepsItsEnabledStateAcrossTheMenu)
{
    bool disabledWhileOpen = false;
    Track(TPM_RETURNCMD, {[&] { disabledWhileOpen = !parent.IsWindowEnabled(); }, Key(VK_ESCAPE)});
    EXPECT_TRUE(disabledWhileOpen);
    EXPECT_TRUE(parent.IsWindowEnabled());

    // Behind a modal dialog the main window is disabled: it must stay so.
    parent.EnableWindow(FALSE);
    Track(TPM_RETURNCMD, {Key(VK_ESCAPE)});
    EXPECT_FALSE(parent.IsWindowEnabled());
    parent.EnableWindow(TRUE);
}

TEST_F(PopupMenuTest, ClickOutsideClosesAndReachesTheWindowUnderIt)
{
    CClickTarget target;
    ASSERT_TRUE(target.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 110), &parent, 9));
    POINT at{50, 60};
    target.ClientToScreen(&at);
    UINT result = Track(TPM_RETURNCMD | TPM_RIGHTBUTTON, {[&] {
                            POINT pt = at;
                            popup.ScreenToClient(&pt);
                            popup.PostMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
                        }},
                        300, 250);
    EXPECT_EQ(0u, result);
    PumpPending();
    ASSERT_EQ(1u, target.rightDowns.size());
    EXPECT_EQ(MAKELPARAM(50, 60), target.rightDowns[0]);
}

TEST_F(PopupMenuTest, RightButtonUpChoosesOnlyWithRightButtonFlag)
{
    auto clickItem = [&](UINT msg) {
        return [this, msg] {
            const RECT& rc = popup.GetItemRect(2);
            popup.PostMessage(msg, 0, MAKELPARAM(rc.left + 10, (rc.top + rc.bottom) / 2));
        };
    };
    EXPECT_EQ(UINT(IdAlpha), Track(TPM_RETURNCMD | TPM_RIGHTBUTTON, {clickItem(WM_RBUTTONUP)}));
    bool stillOpen = false;
    EXPECT_EQ(0u, Track(TPM_RETURNCMD, {clickItem(WM_RBUTTONUP), [&] { stillOpen = popup.m_hWnd != nullptr; },
                                        Key(VK_ESCAPE)}));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(UINT(IdAlpha), Track(TPM_RETURNCMD, {clickItem(WM_LBUTTONUP)}));
}

TEST_F(PopupMenuTest, QuitPostedWhileOpenIsHandedOn)
{
    UINT result = Track(TPM_RETURNCMD, {Key(VK_DOWN), [] { PostQuitMessage(7); }});
    EXPECT_EQ(0u, result);
    EXPECT_EQ(nullptr, popup.m_hWnd);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

TEST_F(PopupMenuTest, ItemsShareTheWidestWidthAndSelectionIsDrawn)
{
    std::vector<CRect> rects;
    COLORREF selectedFill = 0, plainFill = 0, selectedBorder = 0;
    Track(TPM_RETURNCMD, {Key(VK_DOWN), [&] {
                              for (int i = 0; i < popup.GetItemCount(); ++i)
                                  rects.push_back(popup.GetItemRect(i));
                              const RECT& first = popup.GetItemRect(0);
                              const RECT& third = popup.GetItemRect(2);
                              GdiFlush();
                              selectedFill = ClientPixel(popup.m_hWnd, first.right - 3, (first.top + first.bottom) / 2);
                              selectedBorder = ClientPixel(popup.m_hWnd, first.right - 1, first.top);
                              plainFill = ClientPixel(popup.m_hWnd, third.right - 3, (third.top + third.bottom) / 2);
                          },
                          Key(VK_ESCAPE)});
    ASSERT_EQ(6u, rects.size());
    for (const auto& rc : rects)
        EXPECT_EQ(rects[0].Width(), rc.Width());
    EXPECT_EQ(6, rects[1].Height());
    EXPECT_EQ(rects[1].top, rects[0].bottom);
    EXPECT_EQ(CCustomMenu::kSelectedFill, selectedFill);
    EXPECT_EQ(CCustomMenu::kItemBack, selectedBorder);
    EXPECT_EQ(CCustomMenu::kItemBack, plainFill);
    EXPECT_EQ(CString(L"   &Open\tCtrl+O   "), popup.GetItemText(0));
}

}  // namespace
