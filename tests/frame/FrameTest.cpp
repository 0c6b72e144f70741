// The main window in the test program: view switching, the refusal of the
// shown view's own command, the accelerators, the hit test, the close guard
// for unsaved documents, and the fade's timing.
#include "GuiTestSupport.h"

#include <imm.h>

#include <vector>
#include "ScriptedAnswers.h"
#include "SkinTestFixture.h"
#include "TestFiles.h"
#include "TestMainWindow.h"
#include "core/Global.h"
#include "core/LanguageFile.h"
#include "frame/CmdUIText.h"
#include "frame/FadeSteps.h"
#include "frame/MainMenuWnd.h"
#include "frame/MainWnd.h"
#include "frame/PlaceholderView.h"
#include "frame/ViewTable.h"
#include "res/frame_ids.h"
#include "res/fuel_ids.h"
#include "res/poi_ids.h"
#include "views/poi/PoiEditDlg.h"
#include "views/poi/PoiWnd.h"
#include "views/report/FeWnd.h"

namespace {

class MainWindow : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(skintest::OpenRealPack());
        theGlobal.m_uiStrings.RemoveAll();
        for (int i = 0; i < kUiStringCount; ++i) {
            CString s;
            s.Format(L"S%d", i);
            theGlobal.m_uiStrings.Add(s);
        }
        ForgetViews();
        theGlobal.m_animation = 0;
        theGlobal.m_modelType = 4;
        theGlobal.m_areaCode = 1;
        theGlobal.m_windowRect = {0, 0, 0, 0};
        main = OpenMainWindow(app);
        ASSERT_NE(main, nullptr);
        hwnd = main->GetSafeHwnd();
    }
    void TearDown() override
    {
        CloseMainWindow(app, hwnd);
        theGlobal.m_docPiKml.ResetDocument();
        theGlobal.m_docPiKml.SetModified(0);
        theGlobal.m_docFe.RemoveAll();
        theGlobal.m_docFe.SetModified(0);
        CFeWnd::s_fileDialog = savedFuelDialog;
        GuiTest::TearDown();
    }
    // A view command as a button posts it, then what it leads to.
    void Command(UINT id)
    {
        ::PostMessageW(hwnd, WM_COMMAND, id, 0);
        PumpPending();
        PumpPending();
    }
    CMainWnd* main = nullptr;
    HWND hwnd = nullptr;
    const CFeWnd::FileDialogFn savedFuelDialog = CFeWnd::s_fileDialog;
};

// The fuel view's file dialog: answers with g_fuelSavePath (cancelled when
// empty) and counts how often it opened.
std::wstring g_fuelSavePath;
int g_fuelDialogs = 0;
BOOL AnswerFuelDialog(HWND, const wchar_t*, int, BOOL, wchar_t* path)
{
    ++g_fuelDialogs;
    if (g_fuelSavePath.empty())
        return FALSE;
    lstrcpynW(path, g_fuelSavePath.c_str(), MAX_PATH);
    return TRUE;
}

// An edited fuel log of one record that a CSV save writes as "00004321".
void EditFuelLog()
{
    CDocFe& doc = theGlobal.m_docFe;
    doc.RemoveAll();
    DOCFUEL_DATA r{};
    r.year = 2011, r.month = 4, r.day = 2, r.hour = 9;
    r.distance = 4321;
    r.amount = 3000;
    r.price = 150;
    r.priceUnit = 3;
    r.latitude = r.longitude = kNoPosition;
    doc.m_records.Add(r);
    doc.UpdateDerivedValues(0);
    doc.SetModified(1);
    g_fuelDialogs = 0;
    CFeWnd::s_fileDialog = AnswerFuelDialog;
}

// Ends the POI edit dialog from inside its modal loop and counts it.
int g_poiEditDialogs = 0;
void CALLBACK CancelPoiEdit(HWND, UINT, UINT_PTR, DWORD)
{
    CPtrArray& stack = theGlobal.m_dialogStack;
    if (stack.GetSize() == 0)
        return;
    auto* dlg = dynamic_cast<CPoiEditDlg*>(static_cast<CDialog*>(stack[stack.GetSize() - 1]));
    if (!dlg || !dlg->m_hWnd || !dlg->ContinueModal())
        return;
    ++g_poiEditDialogs;
    dlg->EndDialog(IDCANCEL);
}

std::string FileText(const std::wstring& path)
{
    const testsupport::Bytes bytes = testsupport::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(MainWindow, EveryViewCommandShowsItsPageWithItsTitle)
{
    // The picture editor asks what to make at its first show.
    ScriptedAnswers answers({});
    for (const VIEW_TABLE_ROW& row : kViewCreationOrder) {
        if (row.index == 0)
            continue;
        SCOPED_TRACE(row.index);
        Command(ID_MAIN_MENU);
        Command(row.command);
        EXPECT_EQ(theGlobal.m_viewKind, row.index);
        EXPECT_EQ(main->m_body.GetCurrentIndex(), row.index);
        for (int v = 0; v < kViewCount; ++v)
            EXPECT_EQ(main->m_body.GetView(v)->IsWindowVisible() != FALSE, v == row.index) << v;
        CString expected;
        expected.Format(L"S%d", row.titleString);
        EXPECT_EQ(main->m_header.GetPageTitle(), expected);
        EXPECT_TRUE(main->m_header.m_back.IsWindowVisible());
        EXPECT_TRUE(main->m_header.m_top.IsWindowVisible());
        // The title edit belongs to the POI list, map and feed pages only.
        EXPECT_EQ(main->m_header.m_titleEdit.IsWindowVisible() != FALSE, row.index >= 2 && row.index <= 5);
    }
    Command(ID_MAIN_MENU);
    EXPECT_EQ(theGlobal.m_viewKind, 0);
    EXPECT_EQ(main->m_header.GetPageTitle(), L"S75");
    EXPECT_FALSE(main->m_header.m_back.IsWindowVisible());
}

TEST_F(MainWindow, TheShownPagesOwnCommandIsRefused)
{
    // A registered window of the test's own counts the refreshes a switch sends.
    CPlaceholderView witness(75, TRUE);
    ASSERT_TRUE(witness.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), main, 0xFFFF));
    ScriptedAnswers answers({});
    for (UINT command : {ID_DRIVE_REPORT, ID_FUEL_REPORT}) {
        SCOPED_TRACE(command);
        Command(command);
        const int index = ViewIndexOfCommand(command);
        ASSERT_EQ(theGlobal.m_viewKind, index);
        const int before = witness.m_updates;
        ASSERT_GT(before, 0);
        Command(command);  // refused by the update query: no switch, no refresh
        EXPECT_EQ(witness.m_updates, before);
        EXPECT_EQ(theGlobal.m_viewKind, index);
    }
    Command(ID_MAIN_MENU);
    const int before = witness.m_updates;
    Command(ID_MAIN_MENU);
    EXPECT_EQ(witness.m_updates, before);
    witness.DestroyWindow();
}

TEST_F(MainWindow, BackAndTopOfAnEmptyPageReturnToTheStartMenu)
{
    Command(ID_CATEGORY_POI);
    EXPECT_EQ(theGlobal.m_menuCategory, 1);
    Command(ID_POI_FROM_CSV);
    Command(ID_BACK);
    EXPECT_EQ(theGlobal.m_viewKind, 0);
    EXPECT_EQ(theGlobal.m_menuCategory, 1);  // Back keeps the open category
    Command(ID_POI_FROM_CSV);
    Command(ID_TOP);
    EXPECT_EQ(theGlobal.m_viewKind, 0);
    EXPECT_EQ(theGlobal.m_menuCategory, 0);  // Top closes it
}

TEST_F(MainWindow, AcceleratorsOnlyWhileTheWindowIsEnabled)
{
    MSG key{hwnd, WM_KEYDOWN, VK_F5, 0x003F0001, 0, {}};
    EXPECT_TRUE(main->PreTranslateMessage(&key));
    main->EnableWindow(FALSE);  // a modal dialog is open
    EXPECT_FALSE(main->PreTranslateMessage(&key));
    main->EnableWindow(TRUE);
    main->SendMessage(WM_ENTERMENULOOP, 0, 0);
    EXPECT_FALSE(main->PreTranslateMessage(&key));
    main->SendMessage(WM_EXITMENULOOP, 0, 0);
    EXPECT_TRUE(main->PreTranslateMessage(&key));
    DropQuit();
    PumpPending();
}

TEST_F(MainWindow, HitTestOfFrameCaptionAndGrip)
{
    CRect w;
    main->GetWindowRect(&w);
    CRect caption;
    main->m_caption.GetWindowRect(&caption);
    auto hit = [&](int x, int y) { return main->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
    const int fx = ::GetSystemMetrics(SM_CXFRAME), fy = ::GetSystemMetrics(SM_CYFRAME);
    EXPECT_EQ(hit(w.right - 5, w.bottom - 5), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(w.left, w.top), HTTOPLEFT);
    EXPECT_EQ(hit(w.left + 200, w.top), HTTOP);
    EXPECT_EQ(hit(w.left, w.top + 300), HTLEFT);
    EXPECT_EQ(hit(w.right - 1, w.top + 300), HTRIGHT);
    EXPECT_EQ(hit(w.left + 200, w.bottom - 1), HTBOTTOM);
    EXPECT_EQ(hit(w.left + 300, caption.top + fy + 5), HTCAPTION);
    EXPECT_EQ(hit(w.left + 300, caption.top + 40), HTBORDER);
    EXPECT_EQ(hit(w.left + fx + 300, w.top + 400), HTBORDER);
}

TEST_F(MainWindow, OpensAtTheSavedOrDefaultRectangle)
{
    bool centre = false;
    EXPECT_EQ(CMainWnd::InitialRect(CRect(0, 0, 0, 0), 1280, 1024, &centre), CRect(0, 0, 1024, 768));
    EXPECT_TRUE(centre);
    EXPECT_EQ(CMainWnd::InitialRect(CRect(-2000, -50, -900, 700), 1280, 1024, &centre), CRect(0, 0, 1024, 768));
    EXPECT_TRUE(centre);
    // One top corner on the screen keeps the saved rectangle.
    EXPECT_EQ(CMainWnd::InitialRect(CRect(-500, 10, 600, 800), 1280, 1024, &centre), CRect(-500, 10, 600, 800));
    EXPECT_FALSE(centre);
    EXPECT_EQ(CMainWnd::InitialRect(CRect(10, 10, 1100, 800), 1024, 768, &centre), CRect(0, 0, 1024, 738));
}

TEST_F(MainWindow, QuittingAsksFirstAndKeepsAnUnsavedDocumentThatWasNotSaved)
{
    const std::wstring quit(theGlobal.UiString(33)), save(theGlobal.UiString(23));
    ASSERT_FALSE(quit.empty());
    {
        // No to the quit question: nothing else is asked and the program stays.
        ScriptedAnswers answers({{quit, IDNO}});
        main->SendMessage(WM_CLOSE, 0, 0);
        PumpPending();
        ASSERT_TRUE(::IsWindow(hwnd));
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{quit});
    }
    DOCPI_RECORD record{};
    lstrcpyW(record.name, L"Place");
    ASSERT_TRUE(theGlobal.m_docPiKml.AddRecord(record));
    theGlobal.m_docPiKml.SetModified(1);
    // The user cancels the file dialog of the save.
    const auto savedDialog = CPoiWnd::s_saveDialog;
    CPoiWnd::s_saveDialog = [](HWND, const wchar_t*, CString&) { return FALSE; };
    {
        ScriptedAnswers answers({{quit, IDYES}, {save, IDYES}});
        main->SendMessage(WM_CLOSE, 0, 0);
        PumpPending();
        // The save was asked for in the document's own view; nothing saved it, so the program stays.
        ASSERT_TRUE(::IsWindow(hwnd));
        EXPECT_EQ(theGlobal.m_viewKind, 3);
        EXPECT_EQ(answers.asked, (std::vector<std::wstring>{quit, save}));
    }
    CPoiWnd::s_saveDialog = savedDialog;
    theGlobal.m_docPiKml.SetModified(0);
    {
        ScriptedAnswers answers({{quit, IDYES}});
        main->SendMessage(WM_CLOSE, 0, 0);
        EXPECT_FALSE(::IsWindow(hwnd));
    }
    // Every view and the header left the refresh registry with their windows.
    EXPECT_EQ(theGlobal.m_views.GetSize(), 0);
    theGlobal.UpdateAllViews();
    DropQuit();
}

// Quitting asks every view with unsaved work, not a fixed list of documents:
// the address book's changed home entry is asked about in its own view.
TEST_F(MainWindow, QuittingAsksTheAddressBookAboutItsChangedHomeEntry)
{
    const std::wstring quit(theGlobal.UiString(33)), save(theGlobal.UiString(23));
    CDocAb& book = theGlobal.m_docAb;
    book.InitHome();
    DOCAB_UI_RECORD home{};
    ASSERT_TRUE(book.GetHome(&home));
    lstrcpyW(home.name, L"My Home");
    book.SetHome(0, &home);
    book.SetModified(1);
    {
        ScriptedAnswers answers({{quit, IDYES}, {save, IDCANCEL}});
        main->SendMessage(WM_CLOSE, 0, 0);
        PumpPending();
        ASSERT_TRUE(::IsWindow(hwnd));
        EXPECT_EQ(theGlobal.m_viewKind, 8);
        EXPECT_EQ(answers.asked, (std::vector<std::wstring>{quit, save}));
        EXPECT_EQ(book.IsModified(), 1);
    }
    {
        ScriptedAnswers answers({{quit, IDYES}, {save, IDNO}});
        main->SendMessage(WM_CLOSE, 0, 0);
        EXPECT_FALSE(::IsWindow(hwnd));
        EXPECT_EQ(answers.asked, (std::vector<std::wstring>{quit, save}));
    }
    book.SetModified(0);
    book.ClearAll();
    book.InitHome();
    DropQuit();
}

// An edited fuel log is asked about in the fuel view with its own save
// question: Cancel and a save that did not happen keep the program; Yes saves.
TEST_F(MainWindow, QuittingAsksTheFuelViewAndYesSavesTheLog)
{
    const std::wstring quit(theGlobal.UiString(33)), save(theGlobal.UiString(23));
    testsupport::TempDir dir;
    EditFuelLog();
    {
        ScriptedAnswers answers({{quit, IDYES}, {save, IDCANCEL}});
        main->SendMessage(WM_CLOSE, 0, 0);
        PumpPending();
        ASSERT_TRUE(::IsWindow(hwnd));
        EXPECT_EQ(theGlobal.m_viewKind, 11);
        EXPECT_EQ(answers.asked, (std::vector<std::wstring>{quit, save}));
        EXPECT_EQ(g_fuelDialogs, 0);
        EXPECT_EQ(theGlobal.m_docFe.GetCount(), 1);
        EXPECT_EQ(theGlobal.m_docFe.IsModified(), 1);
    }
    {
        // Yes, then the file dialog is cancelled: nothing saved, so the program stays.
        g_fuelSavePath.clear();
        ScriptedAnswers answers({{quit, IDYES}, {save, IDYES}});
        main->SendMessage(WM_CLOSE, 0, 0);
        PumpPending();
        ASSERT_TRUE(::IsWindow(hwnd));
        EXPECT_EQ(answers.asked, (std::vector<std::wstring>{quit, save}));
        EXPECT_EQ(g_fuelDialogs, 1);
        EXPECT_EQ(theGlobal.m_docFe.IsModified(), 1);
    }
    const std::wstring csv = dir.File(L"fuel.csv");
    g_fuelSavePath = csv;
    {
        ScriptedAnswers answers({{quit, IDYES}, {save, IDYES}});
        main->SendMessage(WM_CLOSE, 0, 0);
        EXPECT_FALSE(::IsWindow(hwnd));
        EXPECT_EQ(answers.asked, (std::vector<std::wstring>{quit, save}));
    }
    EXPECT_EQ(g_fuelDialogs, 2);
    const std::string text = FileText(csv);
    EXPECT_NE(text.find("2011,04,02,09,"), std::string::npos) << text;
    EXPECT_NE(text.find("00004321"), std::string::npos) << text;
    g_fuelSavePath.clear();
    DropQuit();
}

TEST_F(MainWindow, QuittingWithNoDropsTheEditedFuelLogUnsaved)
{
    const std::wstring quit(theGlobal.UiString(33)), save(theGlobal.UiString(23));
    EditFuelLog();
    ScriptedAnswers answers({{quit, IDYES}, {save, IDNO}});
    main->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(answers.asked, (std::vector<std::wstring>{quit, save}));
    EXPECT_EQ(g_fuelDialogs, 0) << "nothing was saved";
    DropQuit();
}

// The POI list's edit command and the fuel list's edit-cell command share one
// number: whichever view is hidden must not act on it.
TEST_F(MainWindow, TheSharedEditCommandReachesOnlyTheShownView)
{
    static_assert(ID_EDIT == ID_FUEL_EDIT_CELL);
    auto* poiView = dynamic_cast<CPoiWnd*>(main->m_body.GetView(3));
    auto* fuelView = dynamic_cast<CFeWnd*>(main->m_body.GetView(11));
    ASSERT_TRUE(poiView && fuelView);
    DOCPI_RECORD record{};
    lstrcpyW(record.name, L"Place");
    ASSERT_TRUE(theGlobal.m_docPiKml.AddRecord(record));
    theGlobal.m_docPiKml.SetModified(0);
    EditFuelLog();
    theGlobal.m_docFe.SetModified(0);
    // Both lists are ready for the command: one POI row selected, the fuel
    // list's current cell an editable one of its new-record row.
    auto readyBoth = [&] {
        poiView->RefreshList();
        poiView->m_list.SetCurSel(0);
        fuelView->RefreshList();
        fuelView->m_list.SetCurSel(-1);
        fuelView->m_list.m_curRow = fuelView->m_list.GetItemCount() - 1;
        fuelView->m_list.m_curCol = 2;
    };
    g_poiEditDialogs = 0;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &CancelPoiEdit);

    Command(ID_POI_EDIT_KML);
    ASSERT_EQ(theGlobal.m_viewKind, 3);
    readyBoth();
    Command(ID_EDIT);
    PumpPending();
    EXPECT_EQ(g_poiEditDialogs, 1) << "the shown POI list edits its row";
    EXPECT_FALSE(fuelView->m_list.m_editing) << "the hidden fuel list starts no edit";

    Command(ID_FUEL_REPORT);
    ASSERT_EQ(theGlobal.m_viewKind, 11);
    readyBoth();
    Command(ID_FUEL_EDIT_CELL);
    PumpPending();
    EXPECT_TRUE(fuelView->m_list.m_editing) << "the shown fuel list edits its cell";
    EXPECT_EQ(g_poiEditDialogs, 1) << "the hidden POI list opens no dialog";
    fuelView->m_list.EndEdit(TRUE);

    // A page of neither shown: neither list acts.
    Command(ID_CLONING);
    ASSERT_EQ(theGlobal.m_viewKind, 6);
    readyBoth();
    Command(ID_EDIT);
    PumpPending();
    EXPECT_EQ(g_poiEditDialogs, 1);
    EXPECT_FALSE(fuelView->m_list.m_editing);
    ::KillTimer(nullptr, timer);
}

TEST_F(MainWindow, QuittingWaitsForTheFeedWorkers)
{
    ScriptedAnswers answers({{std::wstring(theGlobal.UiString(33)), IDYES}});
    theGlobal.m_rssUpdateBusy = 1;
    main->SendMessage(WM_CLOSE, 0, 0);
    ASSERT_TRUE(::IsWindow(hwnd));
    EXPECT_FALSE(::IsWindowEnabled(hwnd));
    EXPECT_EQ(theGlobal.m_rssCancel, 1);
    EXPECT_EQ(theGlobal.m_rssLoadCancel, 1);
    EXPECT_EQ(theGlobal.m_downloadCancel, 1);
    PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(::IsWindow(hwnd));
    theGlobal.m_rssUpdateBusy = 0;  // the worker ended
    EXPECT_TRUE(PumpUntil([this] { return !::IsWindow(hwnd); }, 1000));
    theGlobal.m_rssCancel = 0;
    theGlobal.m_rssLoadCancel = 0;
    theGlobal.m_downloadCancel = 0;
    DropQuit();
}

TEST_F(MainWindow, RegistryHoldsTheHeaderAndTheDocumentViews)
{
    // The header first (it is created before the body), then the views that
    // show document data in the body's creation order: not the start menu nor
    // the settings replicator. Views carry their page names as window texts.
    const std::vector<std::wstring> expected{L"header",      L"DriveReport", L"PictureEditor",     L"FromCSV",
                                             L"PoiEditCsv",  L"PoiEditKml",  L"PoiMap",            L"PoiGeoRss",
                                             L"AddressBookImport", L"AddressBookEdit", L"FuelReport", L"Apps"};
    std::vector<std::wstring> registered;
    for (INT_PTR i = 0; i < theGlobal.m_views.GetSize(); ++i) {
        CWnd* view = theGlobal.m_views[i];
        CString text;
        if (view != &main->m_header)
            view->GetWindowText(text);
        registered.push_back(view == &main->m_header ? L"header" : std::wstring(text));
    }
    EXPECT_EQ(registered, expected);
}

TEST_F(MainWindow, StartMenuTasksFollowTheModelAndRegion)
{
    auto* menu = static_cast<CMainMenuWnd*>(main->m_body.GetView(0));
    struct Case {
        int modelType, region;
        bool apps, addressBook, map;
    } const cases[] = {
        {0, 0, false, false, true}, {1, 0, true, true, true},  {2, 0, false, false, true},
        {4, 0, true, true, true},   {6, 2, true, true, false}, {3, 2, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.modelType << "/" << c.region);
        theGlobal.m_modelType = c.modelType;
        theGlobal.m_naviModel.m_region = c.region;
        Command(ID_MENU_REFRESH);
        EXPECT_EQ(menu->ButtonOf(ID_CATEGORY_APPS)->IsWindowVisible() != FALSE, c.apps);
        EXPECT_EQ(theGlobal.m_menuCategory, 0);
        Command(ID_CATEGORY_POI);
        EXPECT_EQ(theGlobal.m_menuCategory, 1);
        EXPECT_TRUE(menu->ButtonOf(ID_POI_FROM_CSV)->IsWindowVisible());
        EXPECT_TRUE(menu->ButtonOf(ID_PI_EDIT)->IsWindowVisible());
        EXPECT_EQ(menu->ButtonOf(ID_POI_MAP)->IsWindowVisible() != FALSE, c.map);
        EXPECT_FALSE(menu->ButtonOf(ID_CLONING)->IsWindowVisible());
        Command(ID_CATEGORY_TOOLS);
        EXPECT_EQ(menu->ButtonOf(ID_ADDRESS_BOOK)->IsWindowVisible() != FALSE, c.addressBook);
        EXPECT_TRUE(menu->ButtonOf(ID_PICTURE_EDIT)->IsWindowVisible());
        EXPECT_FALSE(menu->ButtonOf(ID_POI_FROM_CSV)->IsWindowVisible());
        // Tasks sit on the panel at their places: the picture editor of Tools.
        CRect r;
        menu->ButtonOf(ID_PICTURE_EDIT)->GetWindowRect(&r);
        menu->ScreenToClient(&r);
        const CPoint expected = c.modelType == 0 || c.modelType == 2 ? CPoint(184, 299) : CPoint(163, 339);
        EXPECT_EQ(r.left, menu->GetPanel().left + expected.x);
        EXPECT_EQ(r.top, menu->GetPanel().top + expected.y);
    }
    theGlobal.m_naviModel.m_region = -1;
}

TEST_F(MainWindow, AppsCategorySwitchesStraightToTheAppsPage)
{
    // The page says that no apps service is set up; the box is answered.
    const CString service = theGlobal.m_appsService;
    theGlobal.m_appsService.Empty();
    ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
    Command(ID_CATEGORY_APPS);
    EXPECT_EQ(theGlobal.m_viewKind, 12);
    EXPECT_EQ(theGlobal.m_menuCategory, 4);
    EXPECT_EQ(answers.asked, std::vector<std::wstring>{std::wstring(theGlobal.UiString(418))});
    theGlobal.m_appsService = service;
}

TEST_F(MainWindow, MaximizeSwapsTheCaptionButtons)
{
    EXPECT_TRUE(main->m_caption.m_maximize.IsWindowVisible());
    EXPECT_FALSE(main->m_caption.m_restore.IsWindowVisible());
    main->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    PumpPending();
    EXPECT_FALSE(main->m_caption.m_maximize.IsWindowVisible());
    EXPECT_TRUE(main->m_caption.m_restore.IsWindowVisible());
    EXPECT_EQ(theGlobal.m_maximized, 1);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(hwnd, region), ERROR);  // no rounded corners when maximized
    main->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    PumpPending();
    EXPECT_TRUE(main->m_caption.m_maximize.IsWindowVisible());
    EXPECT_FALSE(main->m_caption.m_restore.IsWindowVisible());
    EXPECT_EQ(theGlobal.m_maximized, 0);
    EXPECT_NE(::GetWindowRgn(hwnd, region), ERROR);
    ::DeleteObject(region);
}

TEST_F(MainWindow, TitleEditTakesSixtyFourCharactersWithoutAnInputMethod)
{
    theGlobal.m_docPiKml.SetFolderName(L"Trip");
    Command(ID_POI_EDIT_KML);
    CEdit& edit = main->m_header.m_titleEdit;
    ASSERT_TRUE(edit.IsWindowVisible());
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, L"Trip");
    EXPECT_EQ(theGlobal.m_headerTitle, L"Trip");
    edit.SetWindowText(L"");
    for (int i = 0; i < 70; ++i)
        edit.SendMessage(WM_CHAR, L'a' + i % 26, 1);
    EXPECT_EQ(edit.GetWindowTextLength(), 64);
    EXPECT_EQ(theGlobal.m_headerTitle.GetLength(), 64);
    EXPECT_EQ(::ImmGetContext(edit.GetSafeHwnd()), nullptr);
    Command(ID_POI_FROM_CSV);
    EXPECT_FALSE(edit.IsWindowVisible());
    EXPECT_TRUE(theGlobal.m_headerTitle.IsEmpty());
    theGlobal.m_docPiKml.SetFolderName(L"");
}

TEST_F(MainWindow, PartnerButtonOnlyForTheExactWordInTheStartMenu)
{
    for (const wchar_t* value : {L"TRUE", L"true", L"TRUE ", L"FALSE"}) {
        SCOPED_TRACE(testing::Message() << value);
        theGlobal.m_uiStrings.SetAt(364, value);
        Command(ID_MENU_REFRESH);
        const bool shown = CString(value) == L"TRUE";
        EXPECT_EQ(main->m_status.m_partner.IsWindowVisible() != FALSE, shown);
        Command(ID_CATEGORY_DRIVE);
        EXPECT_FALSE(main->m_status.m_partner.IsWindowVisible());
        Command(ID_MENU_REFRESH);
    }
}

struct FadeCase {
    unsigned now;
    int alpha;
    unsigned lastStep;
    bool goesOn;
};

TEST(Fade, StepsOfTwentyFourPerTwentyFiveMilliseconds)
{
    const FadeCase cases[] = {
        {25, 231, 25, true},    // one step
        {24, 255, 24, true},    // under one step: dropped
        {30, 231, 30, true},    // one step, the rest dropped
        {60, 207, 50, true},    // two steps, the rest carried
        {200, 207, 50, true},   // a stall: at most two steps, the rest carried
        {50, 207, 50, true},
    };
    for (const FadeCase& c : cases) {
        FADE_STATE fade{255, 0};
        EXPECT_EQ(FadeTick(fade, c.now), c.goesOn) << c.now;
        EXPECT_EQ(fade.alpha, c.alpha) << c.now;
        EXPECT_EQ(fade.lastStep, c.lastStep) << c.now;
    }
    FADE_STATE fade{255, 0};
    int ticks = 0;
    for (unsigned t = 25; FadeTick(fade, t); t += 25)
        ++ticks;
    EXPECT_EQ(ticks + 1, 11);  // 255, 231, ... 15, then below zero
}

}  // namespace

namespace {

TEST(CmdUIText, MenuItemKeepsItsDrawingTypeAndData)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ::AppendMenuW(menu, MF_STRING, 100, L"plain");
    ::AppendMenuW(menu, MF_OWNERDRAW, 101, reinterpret_cast<LPCWSTR>(0x1234));
    for (UINT index : {0u, 1u}) {
        CCmdUI ui;
        ui.m_pMenu = &menu;
        ui.m_nIndex = index;
        ui.m_nID = 100 + index;
        SetCmdUIText(&ui, L"renamed");
        MENUITEMINFOW mii{sizeof(mii)};
        wchar_t text[32] = {};
        mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
        mii.dwTypeData = text;
        mii.cch = 32;
        ASSERT_TRUE(::GetMenuItemInfoW(menu, index, TRUE, &mii));
        EXPECT_STREQ(text, L"renamed") << index;
        EXPECT_EQ((mii.fType & MFT_OWNERDRAW) != 0, index == 1) << index;
        if (index == 1) {
            EXPECT_EQ(mii.dwItemData, 0x1234u);
        }
    }
}

TEST(CmdUIText, ButtonTakesTheText)
{
    TestApp app;
    CWnd button;
    ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"old", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CCmdUI ui;
    ui.m_pOther = &button;
    SetCmdUIText(&ui, L"new");
    CString text;
    button.GetWindowText(text);
    EXPECT_EQ(text, L"new");
    button.DestroyWindow();
}

}  // namespace
