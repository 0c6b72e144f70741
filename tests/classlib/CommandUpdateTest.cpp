// Command routing and command-update objects: a command whose update handler
// disables it is not carried out, whether a button, a menu or an accelerator
// sent it; commands go on to the owner and the application.
#include <string>
#include <vector>

#include "GuiTestResources.h"
#include "GuiTestSupport.h"

namespace {

constexpr UINT kButtonId = 50;
constexpr UINT kUnhandledId = 41000;
constexpr UINT kMarker = WM_APP + 7;

class CCmdFrame : public CWnd {
public:
    BOOL CreateFrame()
    {
        if (!CreateEx(0, nullptr, L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr))
            return FALSE;
        m_accel = LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_TEST_ACCEL));
        return m_accel && m_button.Create(L"Go", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 40), this, kButtonId);
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        return m_accel && TranslateAcceleratorW(m_hWnd, m_accel, msg);
    }

    BOOL enabled = TRUE;
    std::vector<std::string> log;
    bool marker = false;
    CButton m_button;
    HACCEL m_accel = nullptr;

protected:
    void OnButton() { log.push_back("button"); }
    void OnMenu() { log.push_back("menu"); }
    void OnAccel() { log.push_back("accel"); }
    void OnOther() { log.push_back("frame:other"); }
    void OnUpdateCmd(CCmdUI* ui)
    {
        ui->Enable(enabled);
        if (ui->m_nID == ID_MENU_CMD) {
            ui->SetCheck(1);
            ui->SetText(L"Run now");
        }
    }
    LRESULT OnMarker(WPARAM, LPARAM)
    {
        marker = true;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCmdFrame, CWnd)
    ON_COMMAND(kButtonId, OnButton)
    ON_COMMAND(ID_MENU_CMD, OnMenu)
    ON_COMMAND(ID_ACCEL_CMD, OnAccel)
    ON_COMMAND(ID_OTHER_CMD, OnOther)
    ON_UPDATE_COMMAND_UI(kButtonId, OnUpdateCmd)
    ON_UPDATE_COMMAND_UI(ID_MENU_CMD, OnUpdateCmd)
    ON_UPDATE_COMMAND_UI(ID_ACCEL_CMD, OnUpdateCmd)
    ON_MESSAGE(kMarker, OnMarker)
END_MESSAGE_MAP()

// Handles one command at the end of the route.
class CMapApp : public TestApp {
public:
    std::vector<std::string> log;

protected:
    void OnUnhandled() { log.push_back("app:unhandled"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMapApp, TestApp)
    ON_COMMAND(kUnhandledId, OnUnhandled)
END_MESSAGE_MAP()

enum class Source { Button, Menu, Accelerator };

// Drives one command the way a user would, then waits until everything that
// followed has been handled.
void Drive(CCmdFrame& frame, Source source)
{
    switch (source) {
    case Source::Button:
        frame.m_button.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        frame.m_button.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        break;
    case Source::Menu: {
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
        // The menu's own loop reads the keys from the queue: first item, Enter.
        frame.PostMessage(WM_KEYDOWN, VK_DOWN, 1);
        frame.PostMessage(WM_KEYDOWN, VK_RETURN, 1);
        frame.SetForegroundWindow();
        menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN, 20, 20, &frame);
        break;
    }
    case Source::Accelerator:
        frame.PostMessage(WM_KEYDOWN, VK_F5, 1);
        frame.PostMessage(WM_KEYUP, VK_F5, 0xC0000001);
        break;
    }
    frame.marker = false;
    frame.PostMessage(kMarker);
    ASSERT_TRUE(PumpUntil([&] { return frame.marker; }));
    PumpPending();  // a menu's command is posted after the menu closes
}

using CommandUpdate = GuiTest;

TEST_F(CommandUpdate, DisabledCommandIsNotCarriedOutFromAnySource)
{
    struct Case {
        Source source;
        const char* name;
    };
    const Case cases[] = {{Source::Button, "button"}, {Source::Menu, "menu"}, {Source::Accelerator, "accel"}};
    for (const Case& c : cases) {
        for (BOOL enabled : {TRUE, FALSE}) {
            CCmdFrame frame;
            ASSERT_TRUE(frame.CreateFrame());
            frame.ShowWindow(SW_SHOW);
            frame.enabled = enabled;
            Drive(frame, c.source);
            std::vector<std::string> expected;
            if (enabled)
                expected.push_back(c.name);
            EXPECT_EQ(frame.log, expected) << c.name << (enabled ? " enabled" : " disabled");
        }
    }
}

TEST_F(CommandUpdate, PostedCommandWithoutControlIsCheckedToo)
{
    // What the skinned buttons do: post WM_COMMAND with no control handle.
    CCmdFrame frame;
    ASSERT_TRUE(frame.CreateFrame());
    frame.enabled = FALSE;
    frame.PostMessage(WM_COMMAND, kButtonId);
    PumpPending();
    frame.enabled = TRUE;
    frame.SendMessage(WM_COMMAND, ID_MENU_CMD);
    PumpPending();
    EXPECT_EQ(frame.log, (std::vector<std::string>{"menu"}));
}

TEST_F(CommandUpdate, UpdatePassOverAMenu)
{
    CCmdFrame frame;
    ASSERT_TRUE(frame.CreateFrame());
    frame.enabled = FALSE;
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    HMENU popup = GetSubMenu(menu, 0);
    CCmdUI::UpdateMenu(popup, &frame, TRUE);
    // Update handler: disabled, checked, renamed.
    UINT run = GetMenuState(popup, ID_MENU_CMD, MF_BYCOMMAND);
    EXPECT_TRUE(run & MF_GRAYED);
    EXPECT_TRUE(run & MF_CHECKED);
    wchar_t text[32] = {};
    GetMenuStringW(popup, ID_MENU_CMD, text, 32, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Run now");
    // A command handler and no update handler: enabled.
    EXPECT_FALSE(GetMenuState(popup, ID_OTHER_CMD, MF_BYCOMMAND) & MF_GRAYED);
    // A sub-menu whose first command nobody handles: disabled.
    EXPECT_TRUE(GetMenuState(popup, 3, MF_BYPOSITION) & MF_GRAYED);

    frame.enabled = TRUE;
    CCmdUI::UpdateMenu(popup, &frame, TRUE);
    EXPECT_FALSE(GetMenuState(popup, ID_MENU_CMD, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(CommandUpdate, UpdatePassOverAButtonWindow)
{
    CCmdFrame frame;
    ASSERT_TRUE(frame.CreateFrame());
    CCmdUI ui;
    ui.m_nID = kButtonId;
    ui.m_pOther = &frame.m_button;
    frame.enabled = FALSE;
    EXPECT_TRUE(ui.DoUpdate(&frame, FALSE));
    EXPECT_FALSE(frame.m_button.IsWindowEnabled());
    frame.enabled = TRUE;
    ui.DoUpdate(&frame, FALSE);
    EXPECT_TRUE(frame.m_button.IsWindowEnabled());
    // No update handler, and no command handler: disabled only when asked to.
    ui.m_nID = kUnhandledId;
    EXPECT_FALSE(ui.DoUpdate(&frame, FALSE));
    EXPECT_TRUE(frame.m_button.IsWindowEnabled());
    ui.DoUpdate(&frame, TRUE);
    EXPECT_FALSE(frame.m_button.IsWindowEnabled());

    // Check and text reach a check box.
    CButton box;
    ASSERT_TRUE(box.Create(L"Run", WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 50, 110, 70), &frame, 51));
    ui.m_nID = ID_MENU_CMD;
    ui.m_pOther = &box;
    ui.DoUpdate(&frame, FALSE);
    EXPECT_EQ(box.GetCheck(), BST_CHECKED);
    CString text;
    box.GetWindowText(text);
    EXPECT_STREQ(text, L"Run now");
}

TEST_F(CommandUpdate, CommandGoesOnToOwnerAndApplication)
{
    CMapApp mapApp;
    CCmdFrame frame;
    ASSERT_TRUE(frame.CreateFrame());
    CWnd popup;
    ASSERT_TRUE(popup.CreateEx(0, nullptr, L"owned", WS_POPUP, 0, 0, 50, 50, frame.m_hWnd, nullptr));
    popup.SendMessage(WM_COMMAND, ID_OTHER_CMD);
    popup.SendMessage(WM_COMMAND, kUnhandledId);
    popup.SendMessage(WM_COMMAND, kButtonId);  // a control id stays where it was sent
    EXPECT_EQ(frame.log, (std::vector<std::string>{"frame:other"}));
    EXPECT_EQ(mapApp.log, (std::vector<std::string>{"app:unhandled"}));

    // A child window keeps to its own map.
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), &frame, 9));
    child.SendMessage(WM_COMMAND, kUnhandledId);
    EXPECT_EQ(mapApp.log.size(), 1u);
}

}  // namespace
