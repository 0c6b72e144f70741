// The program's main road as a user walks it: the real Mirovale.exe under
// Wine, driven with real mouse and keyboard input from the start menu through
// the CSV import, the POI list with its edits and history, the icon choice and
// the export to the card drive R:, whose files are then read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ProgramRun.h"
#include "SkinTestFixture.h"
#include "GoldenFiles.h"
#include "TestFiles.h"
#include "res/dialog_ids.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/poi/PoiFromCsvWnd.h"

using namespace testsupport;

namespace {

const wchar_t kGoldenFolder[] = L"tests\\views\\poi\\golden";

// A few hundred places as a spreadsheet would save them: UTF-8 with its mark,
// a heading row, quoted cells with commas and quotes, accents and Japanese.
std::string RoadCsv(int rows)
{
    std::string csv = "\xEF\xBB\xBFName,Address,Phone,Notes,Longitude,Latitude\r\n";
    const char* const names[] = {"Caf\xC3\xA9 \xC3\x89toile", "\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x82\xBF\xE3\x83\xAF\xE3\x83\xBC",
                                 "\"Joe's \"\"Best\"\" Diner\"", "M\xC3\xBCnchen Hof", "Plain Stop"};
    for (int i = 0; i < rows; ++i) {
        char line[256];
        snprintf(line, sizeof line, "%s %d,\"%d Main St, Springfield\",555-%04d,note %d,%.6f,%.6f\r\n",
                 names[i % 5], i + 1, 100 + i, i, i + 1, -122.5 + i * 0.001, 37.25 + i * 0.0005);
        csv += line;
    }
    return csv;
}

HWND Page(HWND main, const wchar_t* name) { return FindDescendant(main, name); }

}  // namespace

TEST(PoiRoad, FromACsvFileThroughTheListToTheCard)
{
    ClearCard();
    TempDir dir;
    const std::wstring csvPath = dir.File(L"road trip.csv");
    WriteBytes(csvPath, RoadCsv(300));

    ProgramRun run;
    HWND main = run.StartWith(kReadyIni);
    ASSERT_NE(main, nullptr);

    // Start menu: POI, then From CSV.
    HWND menu = Page(main, L"MainMenu");
    ASSERT_NE(menu, nullptr);
    RealClick(::GetDlgItem(menu, ID_CATEGORY_POI));
    RealClick(::GetDlgItem(menu, ID_POI_FROM_CSV));
    ASSERT_TRUE(WaitPage(main, L"FromCSV"));
    HWND import = Page(main, L"FromCSV");
    Shot(main, L"road_1_import_page");

    // Open the file through the file dialog.
    RealClick(::GetDlgItem(import, ID_FILE_OPEN));
    HWND fileDialog = WaitFileDialog(run);
    ASSERT_NE(fileDialog, nullptr);
    Shot(fileDialog, L"road_2_file_dialog");
    TypeText(csvPath);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(fileDialog));
    PumpFor(500);
    Shot(main, L"road_3_preview");
    HWND startRow = ::GetDlgItem(import, IDC_CSV_START_ROW);
    ASSERT_NE(startRow, nullptr);
    // 301 rows: the start row may be any of the first ten.
    EXPECT_EQ(::SendMessageW(startRow, CB_GETCOUNT, 0, 0), 10);

    // Map the columns: start at row 2 (below the heading), E longitude,
    // F latitude, A name, B address, C telephone, D notes.
    struct Mapping {
        int id, item;
    } const mapping[] = {{IDC_CSV_START_ROW, 1}, {IDC_CSV_LONGITUDE, 5}, {IDC_CSV_LATITUDE, 6}, {IDC_CSV_NAME, 1},
                         {IDC_CSV_ADDRESS, 2},   {IDC_CSV_TELEPHONE, 3}, {IDC_CSV_DESCRIPTION, 4}};
    for (const Mapping& m : mapping) {
        HWND combo = ::GetDlgItem(import, m.id);
        PickComboItem(combo, m.item);
        EXPECT_EQ(::SendMessageW(combo, CB_GETCURSEL, 0, 0), m.item) << "combo " << m.id;
    }
    Shot(main, L"road_4_mapped");

    // Convert: the list of the new POIs is shown.
    RealClick(::GetDlgItem(import, ID_CONVERT));
    ASSERT_TRUE(WaitPage(main, L"PoiEditCsv"));
    Shot(main, L"road_5_list");
    HWND listPage = Page(main, L"PoiEditCsv");
    HWND list = ::GetDlgItem(listPage, IDC_POI_LIST);
    ASSERT_NE(list, nullptr);
    RECT lr;
    ::GetWindowRect(list, &lr);
    // Rows are 36 pixels below a 24-pixel heading; the name is the third column.
    auto nameCell = [&lr](int row) { return POINT{lr.left + 275, lr.top + 43 + 36 * row}; };

    // A new name typed into the first row's name cell.
    RealClickAt(nameCell(0).x, nameCell(0).y);
    TypeText(L"Road Stop One");
    Shot(main, L"road_6_cell_edit");
    PressKey(VK_RETURN);

    // Another through the edit dialog.
    RealClickAt(nameCell(1).x, nameCell(1).y);
    RealClick(::GetDlgItem(listPage, ID_EDIT));
    HWND editDialog = WaitDialog(run, IDC_POI_NAME);
    ASSERT_NE(editDialog, nullptr);
    RealClick(Shown(editDialog, IDC_POI_NAME));
    PressKey(VK_HOME);
    PressKey(VK_END, false, true);
    TypeText(L"Edited In Dialog");
    Shot(editDialog, L"road_7_edit_dialog");
    RealClick(Shown(editDialog, IDOK));
    ASSERT_TRUE(WaitGone(editDialog));
    Shot(main, L"road_8_edited");

    // Undo both edits, then redo the first: the cell edit stays, the dialog's goes.
    PressKey('Z', true);
    PressKey('Z', true);
    Shot(main, L"road_9_undone");
    PressKey('Y', true);
    Shot(main, L"road_10_redone");

    // The icon of the POIs, from the header's icon button.
    RealClick(PaneControl(main, ID_ICON));
    HWND iconDialog = WaitDialog(run, 59668);
    ASSERT_NE(iconDialog, nullptr);
    Shot(iconDialog, L"road_11_icons");
    // A click on the third stock icon chooses it.
    RECT ir;
    ::GetWindowRect(iconDialog, &ir);
    RealClickAt(ir.left + 205, ir.top + 127);
    ASSERT_TRUE(WaitGone(iconDialog));
    Shot(main, L"road_12_icon_chosen");

    // Export to the card through the chooser: the card's row, a file name, OK.
    RealClick(::GetDlgItem(listPage, ID_EXPORT));
    HWND chooser = PickCard(run, IDC_REMOVABLE_NAME);
    ASSERT_NE(chooser, nullptr);
    NameOnCard(chooser, L"RoadTrip");
    Shot(chooser, L"road_13_chooser");
    RealClick(Shown(chooser, IDOK));
    ASSERT_TRUE(WaitGone(chooser));
    HWND done = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(done, nullptr);
    wchar_t text[256] = {};
    ::GetWindowTextW(Shown(done, IDC_MSG_TEXT), text, 256);
    Shot(done, L"road_14_exported");
    EXPECT_STREQ(text, L"Done. The data was \nwritten successfully. ");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(done));

    // The card holds the POIs in files of 100 (this model's limit per file),
    // every one with the chosen icon, and the version file; nothing else.
    const std::wstring poiFolder = CardRoot() + L"NDB\\CUSTOMPOI\\";
    EXPECT_EQ(ListFolder(poiFolder), (std::vector<std::wstring>{L"RoadTrip(2).kml", L"RoadTrip(3).kml", L"RoadTrip.kml"}));
    golden::Expect(L"RoadTrip.kml", poiFolder + L"RoadTrip.kml", kGoldenFolder);
    golden::Expect(L"RoadTrip(2).kml", poiFolder + L"RoadTrip(2).kml", kGoldenFolder);
    golden::Expect(L"RoadTrip(3).kml", poiFolder + L"RoadTrip(3).kml", kGoldenFolder);
    EXPECT_EQ(ListFolder(CardRoot()), std::vector<std::wstring>{L"NDB"});
    EXPECT_EQ(ListFolder(CardRoot() + L"NDB\\"), (std::vector<std::wstring>{L"CUSTOMPOI", L"VersionManage"}));
    golden::Expect(L"Custom_POI.ver", CardRoot() + L"NDB\\VersionManage\\Version\\Custom_POI.ver");

    // Exported: the list is saved, so the program ends without a question.
    EXPECT_EQ(run.Quit(main), 0u);
}

namespace {

// The message box's text as given, without the line breaks its layout added.
std::wstring BoxText(HWND box)
{
    // The box lays out its own text item a moment after its template is up.
    wchar_t text[512] = {};
    for (int i = 0; i < 100 && !(::GetWindowTextW(Shown(box, IDC_MSG_TEXT), text, 512) > 0); ++i)
        PumpFor(50);
    std::wstring joined;
    for (const wchar_t* p = text; *p; ++p)
        if (*p != L'\n')
            joined += *p;
    while (!joined.empty() && joined.back() == L' ')
        joined.pop_back();
    return joined;
}

std::wstring NoBlanks(std::wstring s)
{
    std::erase(s, L' ');
    return s;
}

// Another start of the program with a link on its command line, as the
// shell does when the map page's link is clicked; it hands the link over and ends.
void SecondStart(const std::wstring& link)
{
    ProgramRun second(false, false);
    ASSERT_TRUE(second.Start(link));
    EXPECT_EQ(second.WaitExit(20000), 0u);
}

}  // namespace

TEST(PoiRoad, LinksFromSecondStartsReachTheMapSearchListAndTheCard)
{
    ClearCard();
    ProgramRun run;
    run.WriteIni(kReadyIni);
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    ::SetForegroundWindow(main);

    // A place sent while the start menu shows: the notice, once.
    SecondStart(L"mirovale:name=Caf%C3%A9%20Nord&address=2%20Quay%20St&phone=555-0199&notes=From%20the%20map"
                L"&lat=-33.856&long=151.215");
    HWND notice = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(NoBlanks(BoxText(notice)), L"Aplacewasreceivedfromawebpage.OpenMapSearchtoaddittoyourPOIlist.");
    Shot(notice, L"link_1_notice");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(notice));

    // The map search page offers the waiting place at once; OK takes it.
    ::SetForegroundWindow(main);
    PumpFor(300);
    HWND menu = Page(main, L"MainMenu");
    ASSERT_NE(menu, nullptr);
    RealClick(::GetDlgItem(menu, ID_CATEGORY_POI));
    ASSERT_TRUE(::IsWindowVisible(::GetDlgItem(menu, ID_POI_MAP)));
    RealClick(::GetDlgItem(menu, ID_POI_MAP));
    const bool onPage = WaitPage(main, L"PoiMap");
    if (!onPage)
        Shot(main, L"link_page_missing");
    ASSERT_TRUE(onPage) << testing::PrintToString(ShownPage(main));
    HWND lookup = WaitDialog(run, IDC_POI_NAME);
    ASSERT_NE(lookup, nullptr);
    wchar_t name[100] = {};
    ::SendMessageW(::GetDlgItem(lookup, IDC_POI_NAME), WM_GETTEXT, 100, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(name, L"Caf\u00e9 Nord");
    Shot(lookup, L"link_2_lookup");
    RealClick(Shown(lookup, IDOK));
    ASSERT_TRUE(WaitGone(lookup));
    Shot(main, L"link_3_list");

    // A hostile link while the page shows: refused with a message.
    SecondStart(L"mirovale:name=Bad&lat=1e999&long=0");
    HWND refused = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(NoBlanks(BoxText(refused)), L"Thereceivedpositionisoutofrangeandwasnotadded.");
    Shot(refused, L"link_4_refused");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(refused));

    // Another place while the page shows: the look-up opens with it.
    SecondStart(L"mirovale:name=Second%20Stop&lat=10.5&long=20.25");
    lookup = WaitDialog(run, IDC_POI_NAME);
    ASSERT_NE(lookup, nullptr);
    ::SendMessageW(::GetDlgItem(lookup, IDC_POI_NAME), WM_GETTEXT, 100, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(name, L"Second Stop");
    Shot(lookup, L"link_5_second_lookup");
    RealClick(Shown(lookup, IDOK));
    ASSERT_TRUE(WaitGone(lookup));
    Shot(main, L"link_6_two_places");

    // Export both to the card, and read the card back.
    HWND listPage = Page(main, L"PoiMap");
    RealClick(::GetDlgItem(listPage, ID_EXPORT));
    HWND chooser = PickCard(run, IDC_REMOVABLE_NAME);
    ASSERT_NE(chooser, nullptr);
    NameOnCard(chooser, L"MapTrip");
    RealClick(Shown(chooser, IDOK));
    ASSERT_TRUE(WaitGone(chooser));
    HWND done = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(done, nullptr);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(done));
    // The card's KML is UTF-16 with its mark.
    const Bytes kml = ReadBytes(CardRoot() + L"NDB\\CUSTOMPOI\\MapTrip.kml");
    ASSERT_GT(kml.size(), 2u);
    std::wstring text;
    for (size_t i = 2; i + 1 < kml.size(); i += 2)
        text += static_cast<wchar_t>(kml[i] | (kml[i + 1] << 8));
    for (const wchar_t* part : {L"<name>Caf\u00e9 Nord</name>", L"<address>2 Quay St</address>",
                                L"<telephone>555-0199</telephone>", L"<description>From the map</description>",
                                L"<coordinates>151.215000,-33.856000</coordinates>", L"<name>Second Stop</name>",
                                L"<coordinates>20.250000,10.500000</coordinates>"})
        EXPECT_NE(text.find(part), std::wstring::npos) << testing::PrintToString(std::wstring(part));
    EXPECT_EQ(text.find(L"Bad"), std::wstring::npos);

    // The waiting place was there before the page: no map page was opened.
    EXPECT_EQ(run.OpenedPages(0), "");
    EXPECT_EQ(run.Quit(main), 0u);
}
