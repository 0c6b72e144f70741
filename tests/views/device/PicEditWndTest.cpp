// The picture editor in a test window with the real skin pack and the
// shipped strings, over the program's picture and icon documents: the first
// show's question, the unit's sizes, opening, cropping with the mouse and the
// arrow keys, rotating, saving icons (also twice in one second and at the
// limit of 50), changing the mode and leaving with unsaved edits.
#include <windows.h>

#include <string>

#include "DialogDriver.h"
#include "ScriptedAnswers.h"
#include "TestFiles.h"
#include "common/ShellServices.h"
#include "core/Global.h"
#include "res/frame_ids.h"
#include "res/picture_ids.h"
#include "views/device/PicEditWnd.h"

using namespace dlgtest;

namespace {

// Runs the test's messages for a while.
void PumpFor(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        PumpPending();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount() - start < ms);
}

std::wstring Ui(int n) { return std::wstring(theGlobal.UiString(n)); }

void FixedClock(SYSTEMTIME* t)
{
    *t = SYSTEMTIME{};
    t->wYear = 2026;
    t->wMonth = 12;
    t->wDay = 11;
    t->wHour = 4;
    t->wMinute = 5;
    t->wSecond = 9;
}

// A picture of width x height: left half red, right half blue, a green band
// across the top quarter, so crops and turns show in the pixels.
bool WritePhoto(const std::wstring& path, int width, int height)
{
    DIB_IMAGE dib;
    InitDibImage(&dib);
    if (!CreateDib(&dib, width, height))
        return false;
    const int row = DibRowSize(width);
    for (int y = 0; y < height; ++y)          // memory rows, bottom-up
        for (int x = 0; x < width; ++x) {
            BYTE* px = dib.bits + static_cast<size_t>(y) * row + x * 3;
            const bool top = height - 1 - y < height / 4;
            px[0] = top ? 0 : (x < width / 2 ? 0 : 255);
            px[1] = top ? 255 : 0;
            px[2] = top ? 0 : (x < width / 2 ? 255 : 0);
        }
    const bool ok = SaveDibAsBmp(path.c_str(), &dib) != FALSE;
    FreeDibImage(&dib);
    return ok;
}

int BitCount(const std::wstring& path)
{
    const testsupport::Bytes bytes = testsupport::ReadBytes(path);
    return bytes.size() > 30 ? bytes[28] | bytes[29] << 8 : -1;
}

class PicEditView : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        theGlobal.m_viewKind = 7;
        theGlobal.m_modelType = 5;
        theGlobal.m_animation = 0;
        theGlobal.m_views.RemoveAll();
        theGlobal.m_picEditSplit = 0.3f;
        theGlobal.m_picFileSplit = 0.2f;
        savedIcons = theGlobal.m_iconFolder;
        savedSplash = theGlobal.m_splashFolder;
        theGlobal.m_iconFolder = dir.File(L"icon").c_str();
        theGlobal.m_splashFolder = dir.File(L"splash").c_str();
        doc().InitErrorStrings();
        doc().Clear();
        doc().m_targetKind = IG_TARGET_ICON;
        theGlobal.m_docIcon.LoadIcons();
        savedClock = CPicEditWnd::s_clock;
        savedList = CPicEditWnd::s_listFolder;
        CPicEditWnd::s_clock = FixedClock;
        main.MoveWindow(0, 0, 1024, 700);
        photo = dir.File(L"photo.bmp");
        ASSERT_TRUE(WritePhoto(photo, 300, 200));
    }
    void TearDown() override
    {
        if (view.m_hWnd)
            view.DestroyWindow();
        doc().Clear();
        theGlobal.m_iconFolder = savedIcons;
        theGlobal.m_splashFolder = savedSplash;
        theGlobal.m_docIcon.LoadIcons();
        CPicEditWnd::s_clock = savedClock;
        CPicEditWnd::s_listFolder = savedList;
        DialogTest::TearDown();
    }
    // The view shown; its question already answered (icon mode).
    void Open()
    {
        ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 1000, 680), &main, 0xFFFF));
        view.m_asked = 1;
        view.SetMode(CPicEditWnd::ModeIcon);
        view.ShowWindow(SW_SHOW);
        PumpPending();
    }
    bool Enabled(UINT id) { return CommandEnabled(view, id); }
    // A folder as the settings keep it: its item list as lower-case hex.
    static CString HexOfFolder(const std::wstring& path)
    {
        LPITEMIDLIST pidl = ::ILCreateFromPathW(path.c_str());
        const CString hex = CPicEditWnd::FolderSetting(pidl);
        ::ILFree(pidl);
        return hex;
    }
    // The path of the folder selected in the tree.
    CString SelectedFolder()
    {
        CShellTreeCtrl& tree = view.m_filePane.m_tree;
        const HTREEITEM caret = tree.GetSelectedItem();
        const CPidl* pidl = caret ? tree.GetNodePidl(caret) : nullptr;
        return pidl && pidl->pidl ? GetPidlPath(pidl->pidl) : CString(L"<none>");
    }
    void Command(UINT id) { view.SendMessage(WM_COMMAND, id, 0); }
    std::vector<std::wstring> Saved(const wchar_t* folder) { return testsupport::ListFolder(dir.File(folder) + L"\\"); }
    static CDocIg& doc() { return theGlobal.m_docIg; }
    testsupport::TempDir dir;
    std::wstring photo;
    CPicEditWnd view;
    CString savedIcons, savedSplash;
    CPicEditWnd::ClockFn savedClock = nullptr;
    CPicEditWnd::ListFolderFn savedList = nullptr;
};

// Pointer to a screen point, button down, moved in steps, button up.
void RealDrag(POINT from, POINT to)
{
    ::SetCursorPos(from.x, from.y);
    PumpPending();
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    ::SendInput(1, &in, sizeof in);
    PumpFor(80);
    for (int i = 1; i <= 5; ++i) {
        ::SetCursorPos(from.x + (to.x - from.x) * i / 5, from.y + (to.y - from.y) * i / 5);
        in.mi.dwFlags = MOUSEEVENTF_MOVE;
        in.mi.dx = in.mi.dy = 0;
        ::SendInput(1, &in, sizeof in);
        PumpFor(40);
    }
    in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &in, sizeof in);
    PumpFor(120);
}

}  // namespace

TEST_F(PicEditView, FirstShowAsksIconOrScreenOnce)
{
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 1000, 680), &main, 0xFFFF));
    {
        ScriptedAnswers answers({{Ui(41), IDNO}}, ScriptedAnswers::GivenText);
        view.ShowWindow(SW_SHOW);
        PumpFor(100);
        ASSERT_EQ(answers.asked, std::vector<std::wstring>{Ui(41)});
    }
    EXPECT_EQ(view.m_mode, CPicEditWnd::ModeScreen);
    EXPECT_EQ(doc().m_targetKind, IG_TARGET_SPLASH);
    EXPECT_EQ(view.m_imagePane.m_targetWidth, 800);
    EXPECT_EQ(view.m_imagePane.m_targetHeight, 480);
    EXPECT_FALSE(view.m_imagePane.m_btnIconEdit.IsWindowVisible());
    // The screen mode's button is the disabled one.
    EXPECT_TRUE(Enabled(ID_PIC_ICON_MODE));
    EXPECT_FALSE(Enabled(ID_PIC_SCREEN_MODE));
    SaveShot(main.m_hWnd, L"picedit_1_screen_mode");
    {
        ScriptedAnswers answers({});
        view.ShowWindow(SW_HIDE);
        view.ShowWindow(SW_SHOW);
        PumpFor(100);
        EXPECT_TRUE(answers.asked.empty());
    }
}

// Escape and the caption's close button choose neither: the start-screen mode,
// as any answer but the icon's.
TEST_F(PicEditView, FirstQuestionEscapeOrCloseGivesTheScreenMode)
{
    const struct {
        const char* name;
        bool escape;
    } cases[] = {{"Escape", true}, {"close button", false}};
    for (const auto& c : cases) {
        CPicEditWnd fresh;
        ASSERT_TRUE(fresh.Create(nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 1000, 680), &main, 0xFFFE));
        bool ended = false;
        RunModal(
            [&] {
                fresh.ShowWindow(SW_SHOW);
                return INT_PTR(0);
            },
            [&](CCustomDialog& box) {
                if (c.escape) {
                    ::SetForegroundWindow(box.m_hWnd);
                    PressKey(VK_ESCAPE);
                } else {
                    ClickChild(box.m_btnClose.m_hWnd);
                }
                ended = WaitEnded(box);
            });
        EXPECT_TRUE(ended) << c.name;
        EXPECT_EQ(fresh.m_asked, 1) << c.name;
        EXPECT_EQ(fresh.m_mode, CPicEditWnd::ModeScreen) << c.name;
        EXPECT_EQ(doc().m_targetKind, IG_TARGET_SPLASH) << c.name;
        fresh.DestroyWindow();
        doc().m_targetKind = IG_TARGET_ICON;
    }
}

TEST_F(PicEditView, SmallUnitsGetSmallTargets)
{
    theGlobal.m_modelType = 4;
    Open();
    EXPECT_EQ(view.m_imagePane.m_targetWidth, 24);
    Command(ID_PIC_SCREEN_MODE);
    EXPECT_EQ(view.m_imagePane.m_targetWidth, 480);
    EXPECT_EQ(view.m_imagePane.m_targetHeight, 272);
}

TEST_F(PicEditView, CropsWithMouseAndKeysThenSavesTwoIconsInOneSecond)
{
    Open();
    ASSERT_TRUE(view.OpenPicture(photo.c_str()));
    EXPECT_FALSE(doc().IsModified());
    CPicImageWnd& pane = view.m_imagePane;
    ASSERT_TRUE(pane.HasPicture());
    // The canvas of a 300 x 200 photo for a square icon is 300 x 300.
    EXPECT_EQ(pane.m_picture.width, 300);
    EXPECT_EQ(pane.m_picture.height, 300);
    EXPECT_EQ(pane.m_frame.right, 300);
    SaveShot(main.m_hWnd, L"picedit_2_opened");

    // The frame's bottom-right corner dragged up and left by real input:
    // the frame stays square.
    RECT onScreen = pane.PictureRectToScreen(pane.m_frame);
    ::MapWindowPoints(pane.m_hWnd, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
    RealDrag(POINT{onScreen.right - 3, onScreen.bottom - 3}, POINT{onScreen.right - 120, onScreen.bottom - 120});
    const RECT dragged = pane.m_frame;
    EXPECT_EQ(dragged.left, 0);
    EXPECT_EQ(dragged.top, 0);
    EXPECT_LT(dragged.right, 250);
    EXPECT_NEAR(dragged.right - dragged.left, dragged.bottom - dragged.top, 1);
    // Its inside dragged to the middle, then moved by the arrow keys.
    RealDrag(POINT{onScreen.left + 20, onScreen.top + 20}, POINT{onScreen.left + 80, onScreen.top + 120});
    const RECT moved = pane.m_frame;
    EXPECT_GT(moved.top, 0);
    EXPECT_EQ(moved.right - moved.left, dragged.right - dragged.left);
    ASSERT_EQ(::GetFocus(), pane.m_hWnd);
    PressKey(VK_RIGHT);
    PressKey(VK_DOWN);
    PumpFor(100);
    const int step = (moved.bottom - moved.top) / 100 + 1;
    EXPECT_EQ(pane.m_frame.left, moved.left + step);
    EXPECT_EQ(pane.m_frame.top, moved.top + step);
    SaveShot(main.m_hWnd, L"picedit_3_framed");

    // Crop: the working picture is the frame's part of the canvas.
    ASSERT_TRUE(Enabled(ID_PIC_TRIM));
    const RECT f = pane.m_frame;
    Command(ID_PIC_TRIM);
    EXPECT_EQ(doc().m_working.width, f.right - f.left);
    EXPECT_EQ(doc().m_working.height, f.bottom - f.top);
    EXPECT_TRUE(doc().IsModified());
    EXPECT_EQ(pane.m_frame.right, pane.m_picture.width);

    // Rotate right: the working picture turns.
    const int w = doc().m_working.width, h = doc().m_working.height;
    Command(ID_PIC_ROTATE_RIGHT);
    EXPECT_EQ(doc().m_working.width, h);
    EXPECT_EQ(doc().m_working.height, w);
    SaveShot(main.m_hWnd, L"picedit_4_cropped");

    // Save twice in the same second: two icons, the first one kept.
    {
        ScriptedAnswers answers({{Ui(16), IDOK}}, ScriptedAnswers::GivenText);
        Command(ID_FILE_SAVE);
        ASSERT_EQ(answers.asked, std::vector<std::wstring>{Ui(16)});
    }
    EXPECT_FALSE(doc().IsModified());
    const std::wstring first = dir.File(L"icon\\icon20261211-040509.BMP");
    ASSERT_EQ(Saved(L"icon"), std::vector<std::wstring>{L"icon20261211-040509.BMP"});
    const testsupport::Bytes firstBytes = testsupport::ReadBytes(first);
    DIB_IMAGE back;
    InitDibImage(&back);
    ASSERT_TRUE(LoadBmpFile(first.c_str(), &back));
    EXPECT_EQ(back.width, 32);
    EXPECT_EQ(back.height, 32);
    EXPECT_EQ(BitCount(first), 24);
    FreeDibImage(&back);
    EXPECT_EQ(theGlobal.m_docIcon.GetUserCount(), 1);

    Command(ID_PIC_ROTATE_LEFT);
    {
        ScriptedAnswers answers({{Ui(16), IDOK}}, ScriptedAnswers::GivenText);
        Command(ID_FILE_SAVE);
    }
    EXPECT_EQ(Saved(L"icon"),
              (std::vector<std::wstring>{L"icon20261211-040509-2.BMP", L"icon20261211-040509.BMP"}));
    EXPECT_EQ(testsupport::ReadBytes(first), firstBytes);
    EXPECT_EQ(theGlobal.m_docIcon.GetUserCount(), 2);
}

TEST_F(PicEditView, EditCommandsNeedThePictureFocused)
{
    Open();
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    view.m_imagePane.SetFocus();
    EXPECT_FALSE(Enabled(ID_PIC_TRIM));  // no picture yet
    ASSERT_TRUE(view.OpenPicture(photo.c_str()));
    EXPECT_TRUE(Enabled(ID_FILE_SAVE));
    view.m_filePane.m_tree.SetFocus();
    for (UINT id : {ID_PIC_TRIM, ID_PIC_CANCEL, ID_PIC_FIT_WIDTH, ID_PIC_ROTATE_RIGHT, ID_PIC_TOGGLE_FRAME})
        EXPECT_FALSE(Enabled(id)) << id;
    view.m_imagePane.SetFocus();
    for (UINT id : {ID_PIC_TRIM, ID_PIC_CANCEL, ID_PIC_FIT_WIDTH, ID_PIC_ROTATE_RIGHT, ID_PIC_TOGGLE_FRAME})
        EXPECT_TRUE(Enabled(id)) << id;
    // Hidden, the view leaves the shared commands to the others.
    theGlobal.m_viewKind = 0;
    CCmdUIProbe probe;
    probe.m_nID = ID_FILE_SAVE;
    probe.DoUpdate(&view, FALSE);
    EXPECT_FALSE(probe.m_set);
}

TEST_F(PicEditView, FitWidthAndHeightGiveFramesOfTheTargetsShape)
{
    Open();
    ASSERT_TRUE(view.OpenPicture(photo.c_str()));
    view.m_imagePane.SetFocus();
    Command(ID_PIC_FIT_HEIGHT);
    RECT f = view.m_imagePane.m_frame;
    EXPECT_EQ(f.bottom - f.top, 200);
    EXPECT_EQ(f.right - f.left, 200);
    Command(ID_PIC_FIT_WIDTH);
    f = view.m_imagePane.m_frame;
    EXPECT_EQ(f.right - f.left, 300);
    // Cancel: back to the photo as opened.
    Command(ID_PIC_TRIM);
    EXPECT_TRUE(doc().IsModified());
    Command(ID_PIC_CANCEL);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(doc().m_working.width, 300);
    EXPECT_EQ(doc().m_working.height, 200);
}

TEST_F(PicEditView, TheFiftiethIconIsTheLast)
{
    ::CreateDirectoryW(dir.File(L"icon").c_str(), nullptr);
    DIB_IMAGE icon;
    InitDibImage(&icon);
    ASSERT_TRUE(CreateDib(&icon, 32, 32));
    for (int i = 0; i < 49; ++i)
        ASSERT_TRUE(SaveDibAsBmp(dir.File(L"icon\\old" + std::to_wstring(i) + L".bmp").c_str(), &icon));
    FreeDibImage(&icon);
    theGlobal.m_docIcon.LoadIcons();
    Open();
    ASSERT_TRUE(view.OpenPicture(photo.c_str()));
    {
        ScriptedAnswers answers({{Ui(16), IDOK}}, ScriptedAnswers::GivenText);
        Command(ID_FILE_SAVE);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(16)});
    }
    EXPECT_EQ(Saved(L"icon").size(), 50u);
    {
        ScriptedAnswers answers({{Ui(19), IDOK}}, ScriptedAnswers::GivenText);
        Command(ID_FILE_SAVE);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(19)});
    }
    EXPECT_EQ(Saved(L"icon").size(), 50u);
}

TEST_F(PicEditView, ModeChangeWithAPictureAsksAndCancelKeepsIt)
{
    Open();
    ASSERT_TRUE(view.OpenPicture(photo.c_str()));
    {
        ScriptedAnswers answers({{Ui(32), IDCANCEL}}, ScriptedAnswers::GivenText);
        Command(ID_PIC_SCREEN_MODE);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(32)});
    }
    EXPECT_EQ(view.m_mode, CPicEditWnd::ModeIcon);
    EXPECT_TRUE(doc().HasPicture());
    {
        ScriptedAnswers answers({{Ui(32), IDOK}}, ScriptedAnswers::GivenText);
        Command(ID_PIC_SCREEN_MODE);
    }
    EXPECT_EQ(view.m_mode, CPicEditWnd::ModeScreen);
    EXPECT_FALSE(doc().HasPicture());
    EXPECT_FALSE(view.m_imagePane.HasPicture());
}

TEST_F(PicEditView, OpeningOverAnEditedPictureStartsUnedited)
{
    Open();
    ASSERT_TRUE(view.OpenPicture(photo.c_str()));
    view.m_imagePane.SetFocus();
    Command(ID_PIC_ROTATE_RIGHT);
    ASSERT_TRUE(doc().IsModified());
    {
        ScriptedAnswers answers({{Ui(22), IDCANCEL}}, ScriptedAnswers::GivenText);
        EXPECT_FALSE(view.OpenPicture(photo.c_str()));
    }
    EXPECT_TRUE(doc().IsModified());
    {
        ScriptedAnswers answers({{Ui(22), IDYES}}, ScriptedAnswers::GivenText);
        EXPECT_TRUE(view.OpenPicture(photo.c_str()));
    }
    EXPECT_FALSE(doc().IsModified());
    EXPECT_FALSE(view.HasUnsavedWork());
    // A file that is no picture: the error, the picture stays.
    const std::wstring junk = dir.File(L"junk.jpg");
    testsupport::WriteBytes(junk, "not a picture");
    {
        ScriptedAnswers answers({{Ui(22), IDYES}}, ScriptedAnswers::GivenText);
        EXPECT_FALSE(view.OpenPicture(junk.c_str()));
        ASSERT_EQ(answers.asked.size(), 2u);
    }
    EXPECT_EQ(doc().m_working.width, 300);
}

TEST_F(PicEditView, LeavingWithEditsAsksFirst)
{
    Open();
    ASSERT_TRUE(view.OpenPicture(photo.c_str()));
    view.m_imagePane.SetFocus();
    Command(ID_PIC_ROTATE_RIGHT);
    ASSERT_TRUE(view.HasUnsavedWork());
    {
        ScriptedAnswers answers({{Ui(23), IDCANCEL}}, ScriptedAnswers::GivenText);
        EXPECT_FALSE(view.CanLeave());
    }
    EXPECT_TRUE(doc().HasPicture());
    // Yes with a folder that cannot be made: the error, and the user stays.
    const std::wstring blocker = dir.File(L"blocker");
    testsupport::WriteBytes(blocker, "x");
    theGlobal.m_iconFolder = (blocker + L"\\icon").c_str();
    {
        ScriptedAnswers answers({{Ui(23), IDYES}, {Ui(13), IDOK}}, ScriptedAnswers::GivenText);
        EXPECT_FALSE(view.CanLeave());
        EXPECT_EQ(answers.asked, (std::vector<std::wstring>{Ui(23), Ui(13)}));
    }
    EXPECT_TRUE(view.HasUnsavedWork());
    {
        ScriptedAnswers answers({{Ui(23), IDNO}}, ScriptedAnswers::GivenText);
        EXPECT_TRUE(view.CanLeave());
    }
    // Back after No: the picture is dropped and nothing is asked again.
    {
        ScriptedAnswers answers({{Ui(23), IDNO}}, ScriptedAnswers::GivenText);
        Command(ID_BACK);
        EXPECT_EQ(answers.asked.size(), 1u);
    }
    EXPECT_FALSE(doc().HasPicture());
    EXPECT_FALSE(view.HasUnsavedWork());
}

TEST_F(PicEditView, RestoresTheLastFolderAndListsItsPictures)
{
    const CString hex = HexOfFolder(dir.Path());
    ASSERT_FALSE(hex.IsEmpty());
    theGlobal.m_igIniFolder = hex;
    ASSERT_TRUE(InitShell());
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 1000, 680), &main, 0xFFFF));
    Command(ID_INIT_IG);
    PumpFor(200);
    {
        HTREEITEM caret = view.m_filePane.m_tree.GetSelectedItem();
        ASSERT_NE(caret, nullptr);
        EXPECT_STRNE(view.m_filePane.m_tree.GetItemText(caret), L"Desktop");
    }
    // Nothing is listed before the first show.
    EXPECT_EQ(view.m_filePane.m_thumbs.GetItemCount(), 0);
    {
        ScriptedAnswers answers({{Ui(41), IDYES}}, ScriptedAnswers::GivenText);
        view.ShowWindow(SW_SHOW);
        PumpFor(600);
    }
    EXPECT_EQ(view.m_filePane.m_thumbs.GetItemCount(), 1);  // photo.bmp
    // The folder listed is kept for the next run.
    CByteArray kept;
    ASSERT_EQ(theGlobal.m_igIniFolder.GetLength(), hex.GetLength());
    CPidl back{nullptr, 0};
    for (int i = 0; i + 1 < hex.GetLength(); i += 2)
        kept.Add(static_cast<BYTE>(wcstoul(theGlobal.m_igIniFolder.Mid(i, 2), nullptr, 16)));
    ASSERT_TRUE(PidlFromBytes(back, kept));
    EXPECT_STREQ(GetPidlPath(back.pidl) + L"\\", dir.Path().c_str());
    back.Release();
    SaveShot(main.m_hWnd, L"picedit_5_folder");
    // A stored folder that is gone: its nearest parent that still exists.
    const std::wstring gone = dir.File(L"gone");
    ASSERT_TRUE(::CreateDirectoryW(gone.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((gone + L"\\deeper").c_str(), nullptr));
    theGlobal.m_igIniFolder = HexOfFolder(gone + L"\\deeper");
    ASSERT_FALSE(theGlobal.m_igIniFolder.IsEmpty());
    ::RemoveDirectoryW((gone + L"\\deeper").c_str());
    ::RemoveDirectoryW(gone.c_str());
    Command(ID_INIT_IG);
    PumpFor(600);
    EXPECT_STREQ(SelectedFolder() + L"\\", dir.Path().c_str());
    // Text that is no hexadecimal leaves the tree at its root.
    theGlobal.m_igIniFolder = L"zz";
    Command(ID_INIT_IG);
    PumpFor(200);
    EXPECT_EQ(view.m_filePane.m_tree.GetSelectedItem(), view.m_filePane.m_tree.GetRootItem());
    view.DestroyWindow();
    TermShell();
}

LPITEMIDLIST g_unlistable;
BOOL ListAllButOne(CCustomThumbCtrl& thumbs, const CPidl* folder)
{
    return folder && folder->pidl && !::ILIsEqual(folder->pidl, g_unlistable) && thumbs.SetFolder(folder);
}

// A fallback that selects nothing new leaves no guard behind: the next folder
// that cannot be listed falls back again.
TEST_F(PicEditView, EveryUnlistableFolderFallsBack)
{
    const std::wstring other = dir.File(L"other");
    ASSERT_TRUE(::CreateDirectoryW(other.c_str(), nullptr));
    // A folder the thumbnails cannot list.
    const std::wstring bad = dir.File(L"bad");
    ASSERT_TRUE(::CreateDirectoryW(bad.c_str(), nullptr));
    LPITEMIDLIST unlistable = ::ILCreateFromPathW(bad.c_str());
    ASSERT_NE(unlistable, nullptr);
    g_unlistable = unlistable;
    CPicEditWnd::s_listFolder = ListAllButOne;
    theGlobal.m_igIniFolder = HexOfFolder(dir.Path());
    ASSERT_TRUE(InitShell());
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 1000, 680), &main, 0xFFFF));
    Command(ID_INIT_IG);
    {
        ScriptedAnswers answers({{Ui(41), IDYES}}, ScriptedAnswers::GivenText);
        view.ShowWindow(SW_SHOW);
        PumpFor(600);
    }
    ASSERT_STREQ(SelectedFolder() + L"\\", dir.Path().c_str());
    // The user has been in the other folder before.
    for (const std::wstring& visit : {other, dir.Path()}) {
        LPITEMIDLIST pidl = ::ILCreateFromPathW(visit.c_str());
        view.m_filePane.m_tree.SelectPidl(pidl);
        ::ILFree(pidl);
        PumpFor(500);
    }
    ASSERT_STREQ(SelectedFolder() + L"\\", dir.Path().c_str());
    const auto failListing = [&](const std::wstring& previous) {
        ::ILFree(view.m_newFolder);
        ::ILFree(view.m_oldFolder);
        view.m_newFolder = ::ILClone(unlistable);
        view.m_oldFolder = ::ILCreateFromPathW(previous.c_str());
        view.SendMessage(WM_TIMER, CPicEditWnd::FolderTimer, 0);
        PumpFor(600);
    };
    // The previous folder is the one selected: nothing changes.
    failListing(dir.Path());
    EXPECT_STREQ(SelectedFolder() + L"\\", dir.Path().c_str());
    // Another previous folder is selected again.
    failListing(other);
    EXPECT_STREQ(SelectedFolder(), other.c_str());
    ::ILFree(unlistable);
    view.DestroyWindow();
    TermShell();
}
