// The drive-report view from the start menu, driven with real clicks and keys:
// importing a folder of gpsbabel-made tracks with a file that must be refused,
// cancelling an import half-way and importing again, the route-map request,
// sorting, ticking and editing, both panel modes with the tips balloon, and
// the summary dialog's text export read back against the document.
#include <fstream>
#include <sstream>

#include "DriveReportFixture.h"
#include "LocalHttpServer.h"
#include "ReportTestSupport.h"
#include "core/RegisteredMessages.h"
#include "frame/ProgressDlg.h"
#include "views/report/DrPropertyDlg.h"
#include "views/report/InfoDlg.h"

using namespace drtest;

namespace {

std::vector<std::wstring> Names(std::initializer_list<const wchar_t*> list)
{
    return std::vector<std::wstring>(list.begin(), list.end());
}

// Splits a text file into lines of fields.
std::vector<std::vector<std::string>> ReadFields(const std::wstring& path, char delimiter)
{
    std::ifstream in(CStringA(path.c_str()).GetString(), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    std::vector<std::vector<std::string>> lines;
    std::string line;
    std::istringstream text(all.str());
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> fields;
        std::string field;
        bool quoted = false;
        for (size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (quoted) {
                if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                    field += '"', ++i;
                else if (c == '"')
                    quoted = false;
                else
                    field += c;
            } else if (c == '"') {
                quoted = true;
            } else if (c == delimiter) {
                fields.push_back(field);
                field.clear();
            } else {
                field += c;
            }
        }
        fields.push_back(field);
        lines.push_back(fields);
    }
    return lines;
}

std::string Narrow(const wchar_t* s) { return CStringA(s).GetString(); }

std::wstring g_savePath;
BOOL AnswerSavePath(HWND, const wchar_t*, wchar_t path[MAX_PATH])
{
    lstrcpynW(path, g_savePath.c_str(), MAX_PATH);
    return TRUE;
}

TEST_F(DriveView, ImportsAFolderFromTheStartMenuAndRefusesTheBrokenFile)
{
    OpenFromStartMenu();
    ASSERT_EQ(theGlobal.m_viewKind, 10);
    CDriveReportWnd& view = View();
    EXPECT_EQ(view.m_listPane.m_list.GetItemCount(), 0);
    Shot(L"drive_empty");

    std::vector<std::wstring> files(std::begin(kTrips), std::end(kTrips));
    files.push_back(L"broken.gpx");
    files.push_back(L"readme.txt");
    g_folder = Folder(files);
    Watch someFailed{MessageOf(9), [&](CDialog& d) {
                         Shot(L"drive_import_some_failed");
                         dlgtest::PressKey(VK_RETURN);
                     }};
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnImport.m_hWnd); }, {&someFailed}));
    // Four tracks in, the broken one out, the text file never tried.
    EXPECT_EQ(theGlobal.m_docDr.GetCount(), 4);
    EXPECT_EQ(view.m_listPane.m_list.GetItemCount(), 4);
    EXPECT_EQ(std::wstring(theGlobal.m_drImportIniFolder), g_folder.substr(0, g_folder.size() - 1));
    for (int i = 0; i < 4; ++i) {
        DR_LIST_DATA data{};
        ASSERT_TRUE(theGlobal.m_docDr.GetListData(view.m_listPane.m_index[i], data));
        EXPECT_EQ(dlgtest::CellText(view.m_listPane.m_list, i, 2), data.name);
    }
    skintest::Settle(hwnd);
    Shot(L"drive_list");

    EXPECT_EQ(g_handed, L"") << "the first import starts nowhere in particular";
    // The folder browser keeps clear of every command of the view.
    for (CWnd* command : std::initializer_list<CWnd*>{&view.m_browse.m_btnImport, &view.m_browse.m_btnReport,
                                                      &view.m_browse.m_btnMap, &view.m_browse.m_btnEco,
                                                      &view.m_browse.m_distance}) {
        RECT r, both;
        command->GetWindowRect(&r);
        EXPECT_TRUE(::IntersectRect(&both, &r, &g_keepClear) && ::EqualRect(&both, &r));
    }
    // The next import starts in the folder just used; Cancel there changes nothing.
    const std::wstring used = g_folder;
    g_folder.clear();
    Click(view.m_browse.m_btnImport.m_hWnd);
    EXPECT_EQ(g_browseCalls, 2);
    EXPECT_EQ(g_handed, used.substr(0, used.size() - 1));
    EXPECT_EQ(theGlobal.m_docDr.GetCount(), 4);

    // A folder without tracks: UI string 7, nothing added, the folder not kept.
    const std::wstring before = theGlobal.m_drImportIniFolder.GetString();
    g_folder = Folder(Names({L"readme.txt"}));
    Watch none{MessageOf(7), [](CDialog&) { dlgtest::PressKey(VK_RETURN); }};
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnImport.m_hWnd); }, {&none}));
    EXPECT_EQ(theGlobal.m_docDr.GetCount(), 4);
    EXPECT_EQ(std::wstring(theGlobal.m_drImportIniFolder), before);

    // Only broken files: UI string 8.
    g_folder = Folder(Names({L"broken.gpx"}));
    Watch allFailed{MessageOf(8), [](CDialog&) { dlgtest::PressKey(VK_RETURN); }};
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnImport.m_hWnd); }, {&allFailed}));
    EXPECT_EQ(theGlobal.m_docDr.GetCount(), 4);
}

TEST_F(DriveView, CancelHalfWayKeepsWhatWasReadAndTheNextImportReadsAll)
{
    OpenFromStartMenu();
    CDriveReportWnd& view = View();
    g_folder = Folder({}, 300);
    int seenAtCancel = 0;
    Watch cancel{[](CDialog& d) {
                     return dynamic_cast<CProgressDlg*>(&d) && theGlobal.m_docDr.GetCount() >= 60;
                 },
                 [&](CDialog& d) {
                     auto& progress = dynamic_cast<CProgressDlg&>(d);
                     seenAtCancel = theGlobal.m_docDr.GetCount();
                     dlgtest::SaveShot(progress.m_hWnd, L"drive_import_progress");
                     dlgtest::ClickChild(progress.m_btnCancel.m_hWnd);
                 }};
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnImport.m_hWnd); }, {&cancel}, 60000));
    const int partial = theGlobal.m_docDr.GetCount();
    EXPECT_GE(partial, seenAtCancel);
    EXPECT_LT(partial, 300);
    EXPECT_EQ(view.m_listPane.m_list.GetItemCount(), partial);
    // The window works again once the dialog is gone.
    EXPECT_TRUE(main->IsWindowEnabled());

    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnImport.m_hWnd); }, {}, 60000));
    EXPECT_EQ(theGlobal.m_docDr.GetCount(), partial + 300);
    EXPECT_EQ(view.m_listPane.m_list.GetItemCount(), partial + 300);
}

TEST_F(DriveView, ARowShowsItsRouteSortTickAndEditWorkByMouseAndKeys)
{
    testsupport::LocalHttpServer server([](const testsupport::HttpRequest&, testsupport::HttpConnection& c) {
        c.Reply(200, "<html></html>", "text/html");
    });
    theGlobal.m_webBaseUrl = (server.BaseUrl() + L"/mirovale/").c_str();
    OpenFromStartMenu();
    CDriveReportWnd& view = View();
    g_folder = Folder(std::vector<std::wstring>(std::begin(kTrips), std::end(kTrips)));
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnImport.m_hWnd); }, {}));
    ASSERT_EQ(theGlobal.m_docDr.GetCount(), 4);

    // A click on a row posts its route once, half a second later.
    ClickCell(1, 2);
    ASSERT_TRUE(PumpUntil([&] { return !server.Requests().empty(); }, 5000));
    PumpUntil([] { return false; }, 700);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const testsupport::HttpRequest& post = requests[0];
    EXPECT_EQ(post.method, "POST");
    const std::string prefix = "/mirovale/traceroute2/TraceRoute.php?dummy=";
    ASSERT_EQ(post.target.compare(0, prefix.size(), prefix), 0) << post.target;
    EXPECT_EQ(post.target.size(), prefix.size() + 14);
    EXPECT_EQ(post.body.compare(0, 8, "message="), 0);
    EXPECT_NE(post.body.find("&lat"), std::string::npos);
    EXPECT_TRUE(view.m_browse.m_browser.IsWindowVisible());

    // Name ascending ignores case; again gives descending; the row stays current.
    const int current = view.m_listPane.m_index[1];
    ClickHeader(2);
    EXPECT_EQ(RowNames(), (std::vector<std::wstring>{L"trip_20090501", L"trip_20090502", L"trip_20090503",
                                                     L"Trip_20090510"}));
    EXPECT_EQ(view.m_listPane.m_index[view.CurrentRow()], current);
    ClickHeader(2);
    EXPECT_EQ(RowNames(), (std::vector<std::wstring>{L"Trip_20090510", L"trip_20090503", L"trip_20090502",
                                                     L"trip_20090501"}));
    EXPECT_EQ(view.m_listPane.m_index[view.CurrentRow()], current);
    // The number column does not sort.
    ClickHeader(0);
    EXPECT_EQ(RowNames().front(), L"Trip_20090510");

    // Ticks: imported reports come ticked; a click on a row's check cell
    // flips its report, and only that one.
    auto ticked = [&](int row) {
        return theGlobal.m_docDr.m_reports[view.m_listPane.m_index[row]].m_listData.checked != 0;
    };
    for (int row = 0; row < 4; ++row)
        EXPECT_TRUE(ticked(row));
    ClickCell(0, 1);
    ClickCell(2, 1);
    ClickCell(2, 1);
    ClickCell(2, 1);
    EXPECT_FALSE(ticked(0));
    EXPECT_TRUE(ticked(1));
    EXPECT_FALSE(ticked(2));
    EXPECT_TRUE(ticked(3));
    // Sorting by the tick puts unticked rows first.
    ClickHeader(1);
    EXPECT_FALSE(ticked(0));
    EXPECT_FALSE(ticked(1));
    EXPECT_TRUE(ticked(2));
    EXPECT_TRUE(ticked(3));

    // A description typed into its cell is stored with the report.
    ClickCell(0, 4);
    dlgtest::PressKey(VK_RETURN);
    TypeChars(L"Morning drive");
    dlgtest::PressKey(VK_RETURN);
    EXPECT_STREQ(theGlobal.m_docDr.m_reports[view.m_listPane.m_index[0]].m_listData.text1, L"Morning drive");
    skintest::Settle(hwnd);
    Shot(L"drive_list_edited");
}

TEST_F(DriveView, AnImportKeepsTheSelectionWithItsReportAndLeavingDropsThePendingRoute)
{
    testsupport::LocalHttpServer server([](const testsupport::HttpRequest&, testsupport::HttpConnection& c) {
        c.Reply(200, "<html></html>", "text/html");
    });
    theGlobal.m_webBaseUrl = (server.BaseUrl() + L"/mirovale/").c_str();
    OpenFromStartMenu();
    CDriveReportWnd& view = View();
    g_folder = Folder(std::vector<std::wstring>(std::begin(kTrips), std::end(kTrips)));
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnImport.m_hWnd); }, {}));
    // Names descending: the rows no longer follow the document's order.
    ClickHeader(2);
    ClickHeader(2);
    ClickCell(1, 2);
    ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() == 1; }, 5000));
    const int chosen = view.m_listPane.m_index[1];

    g_folder = Folder({}, 2);
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnImport.m_hWnd); }, {}));
    ASSERT_EQ(theGlobal.m_docDr.GetCount(), 6);
    CDriveReportListCtrl& list = view.m_listPane.m_list;
    EXPECT_EQ(list.GetSelectedCount(), 1);
    ASSERT_GE(view.CurrentRow(), 0);
    EXPECT_EQ(view.m_listPane.m_index[view.CurrentRow()], chosen);
    PumpUntil([] { return false; }, 700);

    // A row chosen, then Back before the half second is over: no route is asked for.
    const size_t asked = server.Requests().size();
    ClickCell(0, 2);
    HWND back = nullptr;
    ::EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM found) -> BOOL CALLBACK {
            if (::GetDlgCtrlID(child) != ID_BACK || !::IsWindowVisible(child))
                return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&back));
    ASSERT_NE(back, nullptr);
    Click(back);
    ASSERT_FALSE(view.IsWindowVisible());
    PumpUntil([] { return false; }, 1200);
    EXPECT_EQ(server.Requests().size(), asked);
}

TEST_F(DriveView, EcoModeShowsTheRatingAndTheTipsAndMapModeComesBack)
{
    OpenFromStartMenu();
    CDriveReportWnd& view = View();
    for (const wchar_t* t : kTrips)
        ASSERT_TRUE(theGlobal.m_docDr.Load(Track(t).c_str()));
    theGlobal.UpdateAllViews();
    ClickCell(2, 2);
    PumpUntil([] { return false; }, 700);
    EXPECT_TRUE(view.m_browse.m_distance.IsWindowVisible());

    Click(view.m_browse.m_btnEco.m_hWnd);
    EXPECT_EQ(view.m_panelMode, 1);
    EXPECT_EQ(view.m_browse.m_btnEco.GetState(), 2);
    EXPECT_TRUE(view.m_browse.m_eco.IsWindowVisible());
    EXPECT_FALSE(view.m_browse.m_browser.IsWindowVisible());
    EXPECT_FALSE(view.m_browse.m_distance.IsWindowVisible());
    PumpUntil([] { return false; }, 700);
    // The panel holds the current report's figures as the document gives them.
    const int report = view.m_listPane.m_index[view.CurrentRow()];
    int shares[4] = {}, acc = -1, dec = -1;
    const BOOL valid = theGlobal.m_docDr.GetEcoScore(report, 0, shares[0], shares[1], shares[2], shares[3]);
    theGlobal.m_docDr.m_reports[report].CountSuddenChanges(acc, dec);
    EXPECT_EQ(view.m_browse.m_eco.m_valid, valid);
    for (int k = 0; k < 4 && valid; ++k)
        EXPECT_EQ(view.m_browse.m_eco.m_shares[k], shares[k]);
    EXPECT_EQ(view.m_browse.m_eco.m_accelerations, acc);
    EXPECT_EQ(view.m_browse.m_eco.m_decelerations, dec);
    skintest::Settle(hwnd);
    Shot(L"drive_eco");

    // The tips button opens the balloon below it; a click closes it.
    CRect tips;
    view.m_browse.m_eco.m_btnTips.GetWindowRect(&tips);
    RECT balloon{};
    Watch tipsShown{[](CDialog& d) { return dynamic_cast<CInfoDlg*>(&d) != nullptr; },
                    [&](CDialog& d) {
                        ::GetWindowRect(d.m_hWnd, &balloon);
                        Shot(L"drive_tips");
                        dlgtest::ClickChild(d.m_hWnd);
                    }};
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_eco.m_btnTips.m_hWnd); }, {&tipsShown}));
    EXPECT_GE(balloon.top, tips.bottom);
    EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);

    Click(view.m_browse.m_btnMap.m_hWnd);
    EXPECT_EQ(view.m_panelMode, 0);
    EXPECT_EQ(view.m_browse.m_btnMap.GetState(), 2);
    EXPECT_FALSE(view.m_browse.m_eco.IsWindowVisible());
    EXPECT_TRUE(view.m_browse.m_browser.IsWindowVisible());
    EXPECT_TRUE(view.m_browse.m_distance.IsWindowVisible());
}

TEST_F(DriveView, TheSummaryExportsTheDocumentsFiguresAndEscapeClosesIt)
{
    OpenFromStartMenu();
    CDriveReportWnd& view = View();
    for (const wchar_t* t : kTrips)
        ASSERT_TRUE(theGlobal.m_docDr.Load(Track(t).c_str()));
    theGlobal.UpdateAllViews();
    // A description with the delimiter and a quote, and a name with the delimiter.
    theGlobal.m_delimiter = 2;
    lstrcpyW(theGlobal.m_docDr.m_reports[0].m_listData.text1, L"Office, then \"home\"");
    lstrcpyW(theGlobal.m_docDr.m_reports[2].m_listData.name, L"trip, third");
    lstrcpyW(theGlobal.m_docDr.m_reports[2].m_listData.text3, L"last, field");
    for (INT_PTR i = 0; i < theGlobal.m_docDr.m_reports.GetSize(); ++i)
        theGlobal.m_docDr.m_reports[i].m_listData.checked = 0;
    view.RefreshList();
    ClickCell(0, 1);
    ClickCell(2, 1);
    ClickCell(3, 1);
    view.SendMessage(WM_USER_IDLE);
    EXPECT_TRUE(view.m_browse.m_btnReport.IsWindowEnabled());

    testsupport::TempDir out;
    g_savePath = out.File(L"reports.csv");
    const auto savedDialog = CDrPropertyDlg::s_saveDialog;
    CDrPropertyDlg::s_saveDialog = AnswerSavePath;
    int panels = -1, endPos = -1, homePos = -1;
    Watch summary{[](CDialog& d) { return dynamic_cast<CDrPropertyDlg*>(&d) != nullptr; },
                  [&](CDialog& d) {
                      auto& dlg = dynamic_cast<CDrPropertyDlg&>(d);
                      panels = static_cast<int>(dlg.m_frame.m_ctrl.m_panels.size());
                      dlgtest::SaveShot(dlg.m_hWnd, L"drive_summary");
                      dlgtest::PressKey(VK_END);
                      endPos = dlg.m_frame.m_ctrl.GetPosition();
                      dlgtest::SaveShot(dlg.m_hWnd, L"drive_summary_end");
                      dlgtest::PressKey(VK_HOME);
                      homePos = dlg.m_frame.m_ctrl.GetPosition();
                      dlgtest::ClickChild(dlg.m_btnSave.m_hWnd);
                      dlgtest::PressKey(VK_ESCAPE);
                  }};
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnReport.m_hWnd); }, {&summary}));
    CDrPropertyDlg::s_saveDialog = savedDialog;
    EXPECT_EQ(panels, 3);
    EXPECT_EQ(endPos, (3 * 310 - 40) / 10);
    EXPECT_EQ(homePos, 0);
    EXPECT_EQ(std::wstring(theGlobal.m_drFileSpec), L"reports.csv");

    const auto lines = ReadFields(g_savePath, ',');
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0][0], Narrow(theGlobal.UiString(176)));
    EXPECT_EQ(lines[0][11], Narrow(theGlobal.UiString(191)));
    int line = 1;
    for (INT_PTR row = 0; row < view.m_listPane.m_index.GetSize(); ++row) {
        const int index = view.m_listPane.m_index[row];
        if (!theGlobal.m_docDr.m_reports[index].m_listData.checked)
            continue;
        DR_PROPERTY_DATA d{};
        ASSERT_TRUE(theGlobal.m_docDr.BuildReportSummary(index, d));
        ASSERT_LT(line, static_cast<int>(lines.size()));
        const auto& f = lines[line++];
        ASSERT_EQ(f.size(), 12u) << "line " << line;
        char number[8];
        sprintf(number, "%04d", static_cast<int>(row + 1));
        EXPECT_EQ(f[0], number);
        EXPECT_EQ(f[1], Narrow(d.name));
        EXPECT_EQ(f[2], Narrow(d.startDate));
        EXPECT_EQ(f[3], Narrow(d.startTime));
        EXPECT_EQ(f[4], Narrow(d.endDate));
        EXPECT_EQ(f[5], Narrow(d.endTime));
        EXPECT_EQ(f[6], Narrow(d.duration));
        EXPECT_EQ(std::stoi(f[7]), d.distance);
        EXPECT_EQ(f[7].size(), 9u);
        EXPECT_EQ(f[9], Narrow(d.text1));
        EXPECT_EQ(f[11], Narrow(d.text3));
    }
}

TEST_F(DriveView, PrintingWithoutAPrinterSaysSo)
{
    OpenFromStartMenu();
    CDriveReportWnd& view = View();
    ASSERT_TRUE(theGlobal.m_docDr.Load(Track(kTrips[0]).c_str()));
    theGlobal.m_docDr.m_reports[0].m_listData.checked = 0;
    theGlobal.UpdateAllViews();
    ClickCell(0, 1);
    Watch noPrinter{MessageOf(3), [](CDialog&) {
                        skintest::Settle(AfxGetMainWnd()->m_hWnd);
                        dlgtest::PressKey(VK_RETURN);
                    }};
    bool closed = false;
    Watch summary{[](CDialog& d) { return dynamic_cast<CDrPropertyDlg*>(&d) != nullptr; },
                  [&](CDialog& d) {
                      auto& dlg = dynamic_cast<CDrPropertyDlg&>(d);
                      dlgtest::ClickChild(dlg.m_btnPrint.m_hWnd);
                      PumpUntil([&] { return noPrinter.fired && theGlobal.m_dialogStack.GetSize() == 1; }, 8000);
                      dlgtest::ClickChild(dlg.m_btnClose.m_hWnd);
                      closed = dlgtest::WaitEnded(dlg);
                  }};
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnReport.m_hWnd); }, {&summary, &noPrinter}));
    EXPECT_EQ(noPrinter.fired, 1);
    EXPECT_TRUE(closed);
}

// The print dialog as the system's behaves: the print step takes the setup's
// handles over and hands back new ones (here it is then cancelled).
std::vector<HGLOBAL> g_takenOver;
int g_printCalls = 0;
HGLOBAL NewHandle() { return ::GlobalAlloc(GMEM_MOVEABLE, 64); }
BOOL WINAPI FakePrintDialog(PRINTDLGW* pd)
{
    ++g_printCalls;
    if (pd->Flags & (PD_RETURNDEFAULT | PD_PRINTSETUP)) {
        pd->hDevMode = NewHandle();
        pd->hDevNames = NewHandle();
        return TRUE;
    }
    g_takenOver = {pd->hDevMode, pd->hDevNames};
    pd->hDevMode = NewHandle();
    pd->hDevNames = NewHandle();
    return FALSE;
}

TEST_F(DriveView, PrintingFreesOnlyTheHandlesThePrintDialogGaveBack)
{
    OpenFromStartMenu();
    CDriveReportWnd& view = View();
    ASSERT_TRUE(theGlobal.m_docDr.Load(Track(kTrips[0]).c_str()));
    theGlobal.m_docDr.m_reports[0].m_listData.checked = 0;
    theGlobal.UpdateAllViews();
    ClickCell(0, 1);
    g_takenOver.clear();
    g_printCalls = 0;
    const auto savedPrint = CDrPropertyDlg::s_printDialog;
    CDrPropertyDlg::s_printDialog = FakePrintDialog;
    Watch summary{[](CDialog& d) { return dynamic_cast<CDrPropertyDlg*>(&d) != nullptr; },
                  [&](CDialog& d) {
                      auto& dlg = dynamic_cast<CDrPropertyDlg&>(d);
                      dlgtest::ClickChild(dlg.m_btnPrint.m_hWnd);
                      PumpUntil([&] { return g_printCalls == 3; }, 4000);
                      dlgtest::PressKey(VK_ESCAPE);
                  }};
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnReport.m_hWnd); }, {&summary}));
    CDrPropertyDlg::s_printDialog = savedPrint;
    EXPECT_EQ(g_printCalls, 3);
    ASSERT_EQ(g_takenOver.size(), 2u);
    // Handles the dialog took over are its own: the view must not free them again.
    for (HGLOBAL h : g_takenOver) {
        EXPECT_NE(::GlobalSize(h), 0u);
        ::GlobalFree(h);
    }
}

TEST_F(DriveView, TheUnitsLtbFilesImportForTheirModelsAndGpxFilesAreLeftAlone)
{
    theGlobal.m_modelType = 5;
    OpenFromStartMenu();
    CDriveReportWnd& view = View();
    testsupport::TempDir dir;
    std::vector<reporttest::LtbRecord> records(30);
    for (size_t i = 0; i < records.size(); ++i) {
        records[i].second = static_cast<int>(i % 60);
        records[i].minute = static_cast<int>(i / 60);
        records[i].odometer = static_cast<uint32_t>(i * 12);
        records[i].speed = 40;
    }
    // The kind follows the name; the extension's case does not matter on a card.
    for (const wchar_t* name : {L"Pri0001.LTB", L"Bsi0002.LTB", L"Oth0003.LTB", L"Pri0004.ltb"})
        testsupport::WriteBytes(dir.File(name), reporttest::LtbFile(records));
    ::CopyFileW(Track(kTrips[0]).c_str(), dir.File(kTrips[0]).c_str(), FALSE);
    g_folder = dir.Path();
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnImport.m_hWnd); }, {}));
    ASSERT_EQ(theGlobal.m_docDr.GetCount(), 4);
    std::vector<std::wstring> kinds;
    for (int row = 0; row < 4; ++row)
        kinds.push_back(dlgtest::CellText(view.m_listPane.m_list, row, 3, 64));
    ClickHeader(2);
    EXPECT_EQ(RowNames(), (std::vector<std::wstring>{L"Bsi0002", L"Oth0003", L"Pri0001", L"Pri0004"}));
    std::sort(kinds.begin(), kinds.end());
    std::vector<std::wstring> want = {theGlobal.UiString(257).GetString(), theGlobal.UiString(257).GetString(),
                                      theGlobal.UiString(258).GetString(), theGlobal.UiString(259).GetString()};
    std::sort(want.begin(), want.end());
    EXPECT_EQ(kinds, want);
}

TEST_F(DriveView, TheLimitCountsReportsAddedNotFilesTried)
{
    OpenFromStartMenu();
    CDriveReportWnd& view = View();
    auto fillTo = [](int n) {
        CDocDrivingReport r;
        r.m_valid = 1;
        theGlobal.m_docDr.m_reports.RemoveAll();
        for (int i = 0; i < n; ++i)
            theGlobal.m_docDr.m_reports.Add(r);
    };
    // 998 reports and a folder of three broken files and two tracks: both
    // tracks get in, whatever order the folder lists them in.
    fillTo(998);
    g_folder = Folder(Names({L"broken.gpx", kTrips[0], kTrips[1]}));
    for (const wchar_t* name : {L"broken2.gpx", L"broken3.gpx"})
        ::CopyFileW(Track(L"broken.gpx").c_str(), (g_folder + name).c_str(), FALSE);
    Watch box{[](CDialog& d) { return dynamic_cast<CMessageDlg*>(&d) != nullptr; },
              [](CDialog&) { dlgtest::PressKey(VK_RETURN); }};
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnImport.m_hWnd); }, {&box}));
    EXPECT_EQ(theGlobal.m_docDr.GetCount(), 1000);

    // Over the limit: the message at once, no folder asked for.
    fillTo(1001);
    const int calls = g_browseCalls;
    Watch full{MessageOf(19), [](CDialog&) { dlgtest::PressKey(VK_RETURN); }};
    ASSERT_TRUE(RunWith([&] { Click(view.m_browse.m_btnImport.m_hWnd); }, {&full}));
    EXPECT_EQ(g_browseCalls, calls);
    EXPECT_EQ(theGlobal.m_docDr.GetCount(), 1001);
}

}  // namespace
