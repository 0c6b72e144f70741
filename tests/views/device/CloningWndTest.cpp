// The settings replicator in a test window: its controls by model type, the
// regional defaults, the colour fields' keys, the store rules, the wallpaper
// and the write to the card drive, read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DialogDriver.h"
#include "ImageFixtures.h"
#include "ScriptedAnswers.h"
#include "TestFiles.h"
#include "core/Global.h"
#include "res/frame_ids.h"
#include "views/device/CloningWnd.h"

using namespace dlgtest;
using testsupport::CardRoot;

namespace {

struct DriveAnswer {
    int calls = 0;
    std::wstring root;  // empty: Cancel
};
DriveAnswer g_drive;

BOOL AnswerDrive(CString& root)
{
    ++g_drive.calls;
    if (g_drive.root.empty())
        return FALSE;
    root = g_drive.root.c_str();
    return TRUE;
}

std::wstring g_picture;

BOOL AnswerPicture(HWND, const wchar_t*, int, BOOL, wchar_t* path)
{
    if (g_picture.empty())
        return FALSE;
    wcscpy(path, g_picture.c_str());
    return TRUE;
}

_PROGRAM_ITEM_STRUCT Item(const wchar_t* name, int id)
{
    _PROGRAM_ITEM_STRUCT item{};
    wcsncpy(item.name, name, 31);
    item.id = id;
    return item;
}

std::wstring Ui(int n) { return std::wstring(theGlobal.UiString(n)); }

std::string ReadText(const std::wstring& path)
{
    const testsupport::Bytes bytes = testsupport::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

class CloningView : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        saved.naviFile = theGlobal.m_naviFile;
        saved.model = theGlobal.m_modelType;
        saved.viewKind = theGlobal.m_viewKind;
        theGlobal.m_viewKind = 6;  // the settings view is the current one
        saved.programs.Copy(theGlobal.m_naviModel.m_programItems);
        saved.voices.Copy(theGlobal.m_naviModel.m_voiceItems);
        CNaviModelData& navi = theGlobal.m_naviModel;
        navi.m_programItems.RemoveAll();
        navi.m_voiceItems.RemoveAll();
        for (auto item : {Item(L"Music player", 1), Item(L"Map view", 7), Item(L"Navigation", 9)})
            navi.m_programItems.Add(item);
        for (auto item : {Item(L"Deutsch", 2), Item(L"English (US)", 5)})
            navi.m_voiceItems.Add(item);
        CDocCl& d = doc();
        d.InitErrorStrings();
        FreeDibImage(&d.m_wallpaper);
        d.m_program = 7;
        d.m_voice = 2;
        d.m_units = 2;
        d.m_dayColor = 1;
        d.m_nightColor = 0;
        d.m_roadColor = 1;
        d.m_dateFormat = 3;
        d.m_timeFormat = 1;
        d.m_customLevel1 = 7;
        d.m_customLevel2 = 8;
        d.m_customLevel3 = 9;
        d.SetModified(0);
        g_drive = DriveAnswer{0, CardRoot()};
        g_picture.clear();
        CCloningWnd::s_chooseDrive = AnswerDrive;
        CCloningWnd::s_fileDialog = AnswerPicture;
        testsupport::ClearCard();
        main.MoveWindow(0, 0, 1010, 740);
    }
    void TearDown() override
    {
        if (view.m_hWnd)
            view.DestroyWindow();
        FreeDibImage(&doc().m_wallpaper);
        theGlobal.m_naviFile = saved.naviFile;
        theGlobal.m_modelType = saved.model;
        theGlobal.m_viewKind = saved.viewKind;
        theGlobal.m_naviModel.m_programItems.Copy(saved.programs);
        theGlobal.m_naviModel.m_voiceItems.Copy(saved.voices);
        testsupport::ClearCard();
        DialogTest::TearDown();
    }
    static CDocCl& doc() { return theGlobal.m_docCl; }
    void Open(int model, const wchar_t* naviFile = L"US_KV410.dat")
    {
        if (view.m_hWnd)
            view.DestroyWindow();
        theGlobal.m_modelType = model;
        theGlobal.m_naviFile = naviFile;
        ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700),
                                &main, 0xFFFF));
        PumpPending();
    }
    int Sel(CCloningWnd::Combo c) { return view.m_combos[c].GetCurSel(); }
    std::wstring FieldText(int k)
    {
        CString text;
        view.m_spins[k].m_edit.GetWindowText(text);
        return std::wstring(text);
    }
    void Command(UINT id) { view.SendMessage(WM_COMMAND, id, 0); }
    std::wstring CloneXmlPath(int model) const
    {
        return CardRoot() + (model == 0 || model == 2 ? L"clone.xml" : L"PC\\Settings\\clone.xml");
    }
    testsupport::TempDir dir;
    CCloningWnd view;
    struct {
        CString naviFile;
        int model = 0;
        int viewKind = 0;
        CArray<_PROGRAM_ITEM_STRUCT> programs, voices;
    } saved;
};

TEST_F(CloningView, ControlsShownForEachModelType)
{
    const struct {
        int model;
        bool day, night, road, date, usb;
        int timeTop;  // the time format combo's top, from the left panel's top
    } cases[] = {
        {0, true, true, false, true, true, 349},  {2, true, true, false, true, true, 349},
        {4, false, false, true, false, false, 279}, {5, false, false, true, false, false, 279},
        {7, false, false, true, false, true, 279},
    };
    for (const auto& c : cases) {
        Open(c.model);
        EXPECT_EQ(view.m_combos[CCloningWnd::DayColour].IsWindowVisible() != FALSE, c.day) << c.model;
        EXPECT_EQ(view.m_combos[CCloningWnd::NightColour].IsWindowVisible() != FALSE, c.night) << c.model;
        EXPECT_EQ(view.m_combos[CCloningWnd::RoadColour].IsWindowVisible() != FALSE, c.road) << c.model;
        EXPECT_EQ(view.m_combos[CCloningWnd::DateFormat].IsWindowVisible() != FALSE, c.date) << c.model;
        EXPECT_EQ(view.m_saveUsb.IsWindowVisible() != FALSE, c.usb) << c.model;
        EXPECT_TRUE(view.m_saveSd.IsWindowVisible()) << c.model;
        CRect time;
        view.m_combos[CCloningWnd::TimeFormat].GetWindowRect(&time);
        view.ScreenToClient(&time);
        EXPECT_EQ(time.top, view.m_left.top + c.timeTop) << c.model;
        // A shown card or USB button has its place and size.
        CRect sd;
        view.m_saveSd.GetWindowRect(&sd);
        EXPECT_EQ(sd.Width(), 192) << c.model;
        if (c.usb) {
            CRect usb;
            view.m_saveUsb.GetWindowRect(&usb);
            EXPECT_EQ(usb.Width(), 192) << c.model;
            EXPECT_LE(sd.right, usb.left) << c.model;
        }
        // Model type 4 has no custom illumination: its fields are empty and off.
        for (int k = 0; k < CCloningWnd::kSpinCount; ++k) {
            EXPECT_EQ(view.m_spins[k].IsWindowEnabled() != FALSE, c.model != 4) << c.model;
            EXPECT_EQ(FieldText(k).empty(), c.model == 4) << c.model;
        }
        const std::wstring shot = L"cloning_model_" + std::to_wstring(c.model);
        SaveShot(view.m_hWnd, shot.c_str());
    }
}

TEST_F(CloningView, RefreshPreselectsTheRegionsProgramAndVoice)
{
    // Items: programs "Music player", "Map view", "Navigation"; voices "Deutsch", "English (US)".
    const struct {
        const wchar_t* navi;
        int model;
        int program, voice;
    } cases[] = {
        {L"US_KV410.dat", 0, 2, 1}, {L"EU_KV410.dat", 1, 1, 1}, {L"AU_KV410.dat", 0, 2, 1},
        {L"RU_KV410.dat", 4, 1, 1}, {L"BR_KV410.dat", 4, 1, 1}, {L"JP_KV410.dat", 0, 0, 0},
    };
    for (const auto& c : cases) {
        Open(c.model, c.navi);
        EXPECT_EQ(Sel(CCloningWnd::Program), c.program) << c.navi << " " << c.model;
        EXPECT_EQ(Sel(CCloningWnd::Voice), c.voice) << c.navi << " " << c.model;
        // The other settings come from the document.
        EXPECT_EQ(Sel(CCloningWnd::Units), 2) << c.navi;
        EXPECT_EQ(Sel(CCloningWnd::TimeFormat), 1) << c.navi;
    }
    Open(0, L"US_KV410.dat");
    EXPECT_EQ(Sel(CCloningWnd::DayColour), 1);
    EXPECT_EQ(Sel(CCloningWnd::NightColour), 0);
    EXPECT_EQ(Sel(CCloningWnd::DateFormat), 3);
    EXPECT_EQ(FieldText(0), L"7");
    EXPECT_EQ(FieldText(1), L"8");
    EXPECT_EQ(FieldText(2), L"9");
}

// Without a regional default the stored settings are shown, so a later store
// keeps them instead of writing the controls' first items over them.
TEST_F(CloningView, BrazilRefreshKeepsTheStoredSettings)
{
    Open(1, L"BR_KV410.dat");
    EXPECT_EQ(Sel(CCloningWnd::Program), 1);  // id 7, "Map view"
    EXPECT_EQ(Sel(CCloningWnd::Voice), 0);    // id 2, "Deutsch"
    EXPECT_EQ(Sel(CCloningWnd::RoadColour), 1);
    EXPECT_EQ(FieldText(0), L"7");
    view.StoreCloneSettings();
    const CDocCl& d = doc();
    EXPECT_EQ(d.m_program, 7);
    EXPECT_EQ(d.m_voice, 2);
    EXPECT_EQ(d.m_units, 2);
    EXPECT_EQ(d.m_roadColor, 1);
    EXPECT_EQ(d.m_timeFormat, 1);
    EXPECT_EQ(d.m_customLevel1, 7);
    EXPECT_EQ(d.m_customLevel2, 8);
    EXPECT_EQ(d.m_customLevel3, 9);
}

TEST_F(CloningView, TypedLevelsAreClampedAndEnterAndTabWalkTheFields)
{
    Open(0);
    ::SetForegroundWindow(main.m_hWnd);
    ClickChild(view.m_spins[0].m_edit.m_hWnd);
    PressKey(VK_END);
    PressKey(VK_BACK);
    PressKey('4');
    PressKey('0');
    PressKey(VK_TAB);
    PumpPending();
    EXPECT_EQ(FieldText(0), L"31");
    EXPECT_EQ(::GetFocus(), view.m_spins[1].m_edit.m_hWnd);
    DWORD from = 1, to = 0;
    view.m_spins[1].m_edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, FieldText(1).size());
    // Emptied and left with Enter: counts as 0.
    PressKey(VK_DELETE);
    PressKey(VK_RETURN);
    PumpPending();
    EXPECT_EQ(FieldText(1), L"0");
    EXPECT_EQ(::GetFocus(), view.m_spins[2].m_edit.m_hWnd);
    PressKey(VK_TAB);  // blue wraps to red
    EXPECT_EQ(::GetFocus(), view.m_spins[0].m_edit.m_hWnd);
    // Shift+Tab goes back.
    INPUT shift[2] = {};
    shift[0].type = INPUT_KEYBOARD;
    shift[0].ki.wVk = VK_SHIFT;
    ::SendInput(1, shift, sizeof(INPUT));
    PressKey(VK_TAB);
    shift[1].type = INPUT_KEYBOARD;
    shift[1].ki.wVk = VK_SHIFT;
    shift[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, shift + 1, sizeof(INPUT));
    PumpPending();
    EXPECT_EQ(::GetFocus(), view.m_spins[2].m_edit.m_hWnd);
    EXPECT_EQ(doc().m_customLevel1, 31);
    EXPECT_EQ(doc().m_customLevel2, 0);
}

TEST_F(CloningView, DeleteInAColourFieldDeletesOneCharacter)
{
    doc().m_customLevel1 = 12;
    Open(0);
    ::SetForegroundWindow(main.m_hWnd);
    ClickChild(view.m_spins[0].m_edit.m_hWnd);
    PressKey(VK_HOME);
    PressKey(VK_DELETE);
    PumpPending();
    EXPECT_EQ(FieldText(0), L"2");
    EXPECT_EQ(doc().m_customLevel1, 2);
}

TEST_F(CloningView, ComboChoiceReachesTheDocumentOnlyAtAStore)
{
    Open(0);
    ::SetForegroundWindow(main.m_hWnd);
    ClickChild(view.m_combos[CCloningWnd::Units].m_hWnd);
    PressKey(VK_UP);
    PressKey(VK_RETURN);
    PumpPending();
    EXPECT_EQ(Sel(CCloningWnd::Units), 1);
    EXPECT_EQ(doc().m_units, 2);
    EXPECT_EQ(doc().IsModified(), 0);
    // A step of a colour field stores every control.
    CRect inc = view.m_spins[2].m_incRect;
    RealClick(view.m_spins[2].m_hWnd, inc.CenterPoint().x, inc.CenterPoint().y);
    PumpPending();
    EXPECT_EQ(doc().m_customLevel3, 10);
    EXPECT_EQ(doc().m_units, 1);
    EXPECT_EQ(doc().IsModified(), 1);
}

TEST_F(CloningView, WriteGoesToTheChosenCardAndReadsBack)
{
    g_picture = dir.File(L"wall.bmp");
    testsupport::WriteBytes(g_picture, imagetest::MakeBmp(800, 480, [](int, int) { return imagetest::Rgb{255, 255, 255}; }));
    Open(0);
    Command(ID_FILE_OPEN);
    ASSERT_TRUE(doc().HasWallpaper());
    const struct {
        UINT command;
        const char* splash;
    } cases[] = {{ID_SAVE_SD, "<path>Storage Card\\Pictures\\wallpaper.bmp</path>"},
                 {ID_SAVE_USB, "<path>USB Disk\\Pictures\\wallpaper.bmp</path>"}};
    for (const auto& c : cases) {
        testsupport::ClearCard();
        ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
        Command(c.command);
        PumpPending();
        ASSERT_EQ(answers.asked, std::vector<std::wstring>{Ui(16)});
        const std::string xml = ReadText(CloneXmlPath(0));
        EXPECT_NE(xml.find(c.splash), std::string::npos) << xml;
        EXPECT_NE(xml.find("<program>9</program>"), std::string::npos) << xml;  // US default "Navigation"
        EXPECT_NE(xml.find("<voice>5</voice>"), std::string::npos) << xml;      // "English (US)"
        EXPECT_NE(xml.find("<units>2</units>"), std::string::npos) << xml;
        EXPECT_NE(xml.find("<day>1</day>"), std::string::npos) << xml;
        EXPECT_NE(xml.find("<dateformat>3</dateformat>"), std::string::npos) << xml;
        EXPECT_TRUE(testsupport::FileExists(CardRoot() + L"Pictures\\wallpaper.bmp"));
    }
    EXPECT_EQ(g_drive.calls, 2);
}

TEST_F(CloningView, NothingIsWrittenWithAllLevelsZeroWhereTheUnitNeedsAColour)
{
    doc().m_customLevel1 = doc().m_customLevel2 = doc().m_customLevel3 = 0;
    const struct {
        int model;
        bool written;
    } cases[] = {{1, false}, {7, false}, {0, true}, {4, true}};
    for (const auto& c : cases) {
        testsupport::ClearCard();
        g_drive.calls = 0;
        Open(c.model);
        ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
        Command(ID_SAVE_SD);
        PumpPending();
        ASSERT_EQ(answers.asked.size(), 1u) << c.model;
        EXPECT_EQ(answers.asked[0], c.written ? Ui(16) : Ui(35)) << c.model;
        EXPECT_EQ(g_drive.calls, c.written ? 1 : 0) << c.model;
        EXPECT_EQ(testsupport::FileExists(CloneXmlPath(c.model)), c.written) << c.model;
    }
}

TEST_F(CloningView, FailedWriteAndCancelledChooser)
{
    Open(0);
    // Cancelled: no message, nothing written.
    g_drive.root.clear();
    {
        ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
        Command(ID_SAVE_SD);
        PumpPending();
        EXPECT_TRUE(answers.asked.empty());
    }
    EXPECT_FALSE(testsupport::FileExists(CloneXmlPath(0)));
    // A root that is a file: its folders cannot be made; the document's text.
    const std::wstring file = dir.File(L"not a drive");
    testsupport::WriteBytes(file, testsupport::Bytes{'x'});
    g_drive.root = file + L"\\";
    ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
    Command(ID_SAVE_SD);
    PumpPending();
    CString expected;
    doc().GetErrorString(expected);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0], std::wstring(expected));
    EXPECT_EQ(doc().GetErrorCode(), CLERR_CREATE_FOLDER);
    EXPECT_NE(answers.asked[0], Ui(16));
}

TEST_F(CloningView, WallpaperPreviewOpenFailAndClear)
{
    Open(0);
    const CRect& b = view.m_rightBottom;
    const POINT centre = {b.left + 335, b.top + 115};
    // No picture: the plate with its text, and Clear is off.
    skintest::Settle(view.m_hWnd);
    EXPECT_TRUE(skintest::Near(skintest::Pixels(view.m_hWnd).At(b.left + 207, b.top + 52), RGB(60, 60, 70), 2));
    view.SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_FALSE(view.m_clearPicture.IsWindowEnabled());

    g_picture = dir.File(L"red.bmp");
    testsupport::WriteBytes(g_picture, imagetest::MakeBmp(800, 480, [](int, int) { return imagetest::Rgb{220, 20, 20}; }));
    Command(ID_FILE_OPEN);
    view.SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_TRUE(view.m_clearPicture.IsWindowEnabled());
    skintest::Settle(view.m_hWnd);
    EXPECT_TRUE(skintest::Near(skintest::Pixels(view.m_hWnd).At(centre.x, centre.y), RGB(220, 20, 20), 12));
    SaveShot(view.m_hWnd, L"cloning_wallpaper");

    // A file that is no picture: the document's text, and the old picture stays.
    g_picture = dir.File(L"broken.bmp");
    testsupport::WriteBytes(g_picture, testsupport::Bytes{'B', 'M', 0, 1, 2});
    {
        ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
        Command(ID_FILE_OPEN);
        PumpPending();
        CString expected;
        doc().GetErrorString(expected);
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0], std::wstring(expected));
    }
    EXPECT_TRUE(doc().HasWallpaper());

    Command(ID_CLEAR_PICTURE);
    EXPECT_FALSE(doc().HasWallpaper());
    view.SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_FALSE(view.m_clearPicture.IsWindowEnabled());
    skintest::Settle(view.m_hWnd);
    EXPECT_TRUE(skintest::Near(skintest::Pixels(view.m_hWnd).At(b.left + 207, b.top + 52), RGB(60, 60, 70), 2));
}

TEST_F(CloningView, SwatchShowsTheStoredLevels)
{
    doc().m_customLevel1 = 31;
    doc().m_customLevel2 = 17;
    doc().m_customLevel3 = 0;
    Open(0);
    skintest::Settle(view.m_hWnd);
    const CRect& m = view.m_rightMiddle;
    EXPECT_TRUE(skintest::Near(skintest::Pixels(view.m_hWnd).At(m.left + 100, m.top + 92), RGB(255, 171, 0), 2));
    Open(4);
    skintest::Settle(view.m_hWnd);
    EXPECT_TRUE(skintest::Near(skintest::Pixels(view.m_hWnd).At(m.left + 100, m.top + 92), RGB(82, 82, 89), 2));
}

TEST_F(CloningView, BackAndTopLeaveOnlyFromTheShownView)
{
    Open(0);
    main.Clear();
    Command(ID_BACK);
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_MAIN_MENU), 1);
    main.Clear();
    Command(ID_TOP);
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_MENU_REFRESH), 1);
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_MAIN_MENU), 1);
    view.ShowWindow(SW_HIDE);
    theGlobal.m_viewKind = 0;  // the start menu came
    main.Clear();
    Command(ID_BACK);
    Command(ID_TOP);
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_MAIN_MENU), 0);
}

}  // namespace
