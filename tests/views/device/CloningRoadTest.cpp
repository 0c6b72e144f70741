// The settings replicator as a user walks it: the real Mirovale.exe under
// Wine, from the start menu's Tools tasks to the card drive R:, driven with
// real mouse and keyboard input; clone.xml is read back from the card.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ProgramRun.h"
#include "SkinTestFixture.h"
#include "TestFiles.h"
#include "res/dialog_ids.h"
#include "res/frame_ids.h"
#include "views/device/CloningWnd.h"

using namespace testsupport;

namespace {

// The page's combos and colour fields, in the order the page made them.
void FindControls(HWND page, std::vector<HWND>& combos, std::vector<HWND>& fields)
{
    for (HWND child : ChildWindows(page)) {
        if (::GetDlgCtrlID(child) != 0xFFFF)
            continue;
        wchar_t cls[64] = L"";
        ::GetClassNameW(child, cls, 64);
        if (_wcsicmp(cls, L"ComboBox") == 0)
            combos.push_back(child);
        else
            fields.push_back(::GetWindow(child, GW_CHILD));
    }
}

std::string ReadText(const std::wstring& path)
{
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(CloningRoad, SettingsFromTheStartMenuToTheCard)
{
    ClearCard();
    ProgramRun run;
    HWND main = run.StartWith(L"[File]\nLanguageFile=English_US.dat\nNaviFile=US_NV-08.dat\n"
                              L"[Option]\nVerCheck=0\nAnimation=0\n");
    ASSERT_NE(main, nullptr);

    HWND menu = FindDescendant(main, L"MainMenu");
    ASSERT_NE(menu, nullptr);
    OpenTask(menu, ID_CATEGORY_TOOLS, ID_CLONING);
    ASSERT_TRUE(WaitPage(main, L"SettingsReplicator"));
    HWND page = FindDescendant(main, L"SettingsReplicator");
    Shot(main, L"cloning_road_1_page");

    std::vector<HWND> combos, fields;
    FindControls(page, combos, fields);
    ASSERT_EQ(combos.size(), 8u);
    ASSERT_EQ(fields.size(), 3u);
    // The US defaults of this model: "Navigation" and "English (US) Female".
    wchar_t text[64] = L"";
    ::SendMessageW(combos[0], CB_GETLBTEXT, ::SendMessageW(combos[0], CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"Navigation");

    // Units: "mile & yard"; time: "12 hours with am/pm".
    RealClick(combos[2]);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    RealClick(combos[7]);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    // Illumination 20, 5, 31 typed, Tab between the fields.
    RealClick(fields[0]);
    PressKey(VK_END);
    PressKey(VK_BACK);
    TypeText(L"20");
    PressKey(VK_TAB);
    TypeText(L"5");
    PressKey(VK_TAB);
    TypeText(L"31");
    PressKey(VK_TAB);
    Shot(main, L"cloning_road_2_edited");

    // Written to the card through the chooser.
    RealClick(::GetDlgItem(page, ID_SAVE_SD));
    HWND chooser = PickCard(run, IDC_REMOVABLE_LIST);
    ASSERT_NE(chooser, nullptr);
    Shot(chooser, L"cloning_road_3_chooser");
    RealClick(Shown(chooser, IDOK));
    ASSERT_TRUE(WaitGone(chooser));
    HWND done = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(done, nullptr);
    ::GetWindowTextW(Shown(done, IDC_MSG_TEXT), text, 64);
    EXPECT_STREQ(text, L"Done. The data was \nwritten successfully. ");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(done));

    const std::string xml = ReadText(CardRoot() + L"clone.xml");
    for (const char* element : {"<program>1</program>", "<voice>1</voice>", "<units>1</units>",
                                "<timeformat>1</timeformat>", "<color>16740029</color>", "<path>none</path>"})
        EXPECT_NE(xml.find(element), std::string::npos) << element << "\n" << xml;

    EXPECT_EQ(run.Quit(main), 0u);
}
