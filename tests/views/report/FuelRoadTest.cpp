// The fuel log as a user walks it: the real Mirovale.exe under Wine, driven
// with real mouse and keyboard input from the start menu's fuel task through
// typing, merging, undo and redo, saving and the master file to the mileage
// graph saved as a JPEG; the files are read back and decoded.
#include <gtest/gtest.h>

#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "SkinTestFixture.h"
#include "TestFiles.h"
#include "res/dialog_ids.h"
#include "res/frame_ids.h"
#include "res/fuel_ids.h"

using namespace testsupport;

namespace {

const char kHeaderLine[] =
    "#Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Distance,UnitDistance,GasAmount,UnitAmount,"
    "UnitMileage,GasPrice,UnitPrice,Memo\r\n";

// Four refuellings in euro: 2010/01/02 to 2010/01/20.
std::string MasterCsv()
{
    return std::string(kHeaderLine) +
           "2010,01,02,08,00,00,35000000,139000000,00004000,0,03000,0,0,00150,3,first\r\n"
           "2010,01,09,18,30,00,-255000000,-255000000,00003500,0,02800,0,0,00000,3,\r\n"
           "2010,01,15,07,15,00,-255000000,-255000000,00002000,0,01500,0,0,00160,3,short hop\r\n"
           "2010,01,20,12,00,00,-255000000,-255000000,00004200,0,03300,0,0,00155,3,\r\n";
}

std::vector<std::string> Lines(const std::wstring& path)
{
    const Bytes bytes = ReadBytes(path);
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool WaitFile(const std::wstring& path, DWORD ms = 10000)
{
    const DWORD start = ::GetTickCount();
    while (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (::GetTickCount() - start > ms)
            return false;
        PumpFor(100);
    }
    PumpFor(300);
    return true;
}

void SaveThroughDialog(ProgramRun& run, const std::wstring& path)
{
    HWND box = WaitFileDialog(run);
    ASSERT_NE(box, nullptr);
    TypeText(path);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(box));
}

bool Close(COLORREF c, int r, int g, int b, int tolerance)
{
    return std::abs(GetRValue(c) - r) <= tolerance && std::abs(GetGValue(c) - g) <= tolerance &&
           std::abs(GetBValue(c) - b) <= tolerance;
}

}  // namespace

TEST(FuelRoad, FromTheStartMenuThroughEditsToFilesAndTheGraph)
{
    TempDir dir;
    const std::wstring master = dir.File(L"FuelMaster.csv");
    WriteBytes(master, MasterCsv());
    const std::wstring savedCsv = dir.File(L"saved log.csv");
    const std::wstring jpeg = dir.File(L"mileage.jpg");

    ProgramRun run;
    std::wstring folder = dir.Path();
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    HWND main = run.StartWith(L"[File]\nLanguageFile=English_US.dat\nNaviFile=US_KV410.dat\n"
                              L"DrFuelMasterFolder=" + folder + L"\nDrFuelMasterName=FuelMaster.csv\n"
                              L"[Option]\nVerCheck=0\nAnimation=0\nDistance=0\nAmount=0\nMileage=0\n"
                              // The user's column widths, kept as saved: the cells clicked below.
                              L"[Window]\nFuelColumn=100,85,80,105,70,95,70,85,70,80,70,80,80,125\n");
    ASSERT_NE(main, nullptr);

    // Start menu: Drive report, then the fuel task: the master file is loaded.
    HWND menu = FindDescendant(main, L"MainMenu");
    ASSERT_NE(menu, nullptr);
    OpenTask(menu, ID_CATEGORY_DRIVE, ID_SET_FUEL_MASTER);
    ASSERT_TRUE(WaitPage(main, L"FuelReport"));
    HWND page = FindDescendant(main, L"FuelReport");
    HWND list = ::GetDlgItem(page, IDC_FUEL_LIST);
    ASSERT_NE(list, nullptr);
    Shot(main, L"fuel_road_1_loaded");

    RECT lr;
    ::GetWindowRect(list, &lr);
    // Rows of 36 pixels below a 24-pixel heading; distance, amount and price columns.
    auto cell = [&lr](int row, int x) { return POINT{lr.left + x, lr.top + 43 + 36 * row}; };
    const int distanceX = 225, amountX = 405, priceX = 725;

    // A record typed into the new-record row (row 4): a distance with a
    // thousands separator, then its amount and price.
    POINT p = cell(4, distanceX);
    RealClickAt(p.x, p.y);
    TypeText(L"1,234.5");
    Shot(main, L"fuel_road_2_typing");
    PressKey(VK_RETURN);
    PumpFor(300);
    p = cell(4, amountX);
    RealClickAt(p.x, p.y);
    TypeText(L"45.6");
    PressKey(VK_RETURN);
    PumpFor(300);
    p = cell(4, priceX);
    RealClickAt(p.x, p.y);
    TypeText(L"1.49");
    PressKey(VK_RETURN);
    Shot(main, L"fuel_road_3_typed");

    // Undo all three steps, then redo them: the typed values come back. Each
    // state is read back from a save of the log.
    const std::string typedLine = "0000,00,00,00,00,00,-255000000,-255000000,00012345,0,04560,0,0,00149,3,";
    auto savedLog = [&](const wchar_t* name) {
        const std::wstring path = dir.File(name);
        RealClick(::GetDlgItem(page, ID_FILE_SAVE));
        SaveThroughDialog(run, path);
        EXPECT_TRUE(WaitFile(path));
        return Lines(path);
    };
    for (int i = 0; i < 3; ++i)
        PressKey('Z', true);
    Shot(main, L"fuel_road_4_undone");
    const std::vector<std::string> undone = savedLog(L"undone.csv");
    EXPECT_EQ(undone.size(), 5u) << "the typed record is gone";
    for (const std::string& line : undone)
        EXPECT_EQ(line.find(",00012345,"), std::string::npos) << line;
    for (int i = 0; i < 3; ++i)
        PressKey('Y', true);
    Shot(main, L"fuel_road_5_redone");
    const std::vector<std::string> redone = savedLog(L"redone.csv");
    EXPECT_EQ(redone.size(), 6u);
    EXPECT_NE(std::find(redone.begin(), redone.end(), typedLine), redone.end()) << "the typed record is back";

    // The new record left the list unsorted: a click on the date heading
    // sorts it by date (the dateless record first), then the two oldest
    // refuellings are merged.
    RealClickAt(lr.left + 50, lr.top + 12);
    PumpFor(300);
    Shot(main, L"fuel_road_6_sorted");
    // A click on the read-only mileage cell, then Shift+Down.
    p = cell(1, 570);
    RealClickAt(p.x, p.y);
    PressKey(VK_DOWN, false, true);
    PumpFor(300);
    Shot(main, L"fuel_road_6_selected");
    RealClick(::GetDlgItem(page, ID_FUEL_MERGE));
    HWND merge = WaitDialog(run, IDC_FUEL_MERGE_LIST);
    ASSERT_NE(merge, nullptr);
    Shot(merge, L"fuel_road_7_merge_dialog");
    RealClick(Shown(merge, IDC_FUEL_MERGE_OK));
    ASSERT_TRUE(WaitGone(merge));
    Shot(main, L"fuel_road_8_merged");

    // Save the log as CSV through the file dialog.
    RealClick(::GetDlgItem(page, ID_FILE_SAVE));
    SaveThroughDialog(run, savedCsv);
    ASSERT_TRUE(WaitFile(savedCsv));
    const std::vector<std::string> saved = Lines(savedCsv);
    ASSERT_EQ(saved.size(), 5u);
    EXPECT_EQ(saved[0] + "\r\n", kHeaderLine);
    // Merged: the newer record kept with 750.0 km and 58.00 l; it had no price,
    // position or memo, so the older one's 1.50, position and memo.
    EXPECT_EQ(saved[1], "2010,01,09,18,30,00,35000000,139000000,00007500,0,05800,0,0,00150,3,first");
    EXPECT_EQ(saved[2], "2010,01,15,07,15,00,-255000000,-255000000,00002000,0,01500,0,0,00160,3,\"short hop\"");
    EXPECT_EQ(saved[3], "2010,01,20,12,00,00,-255000000,-255000000,00004200,0,03300,0,0,00155,3,");
    // The typed record: 1234.5 read with its thousands separator, no date or position.
    EXPECT_EQ(saved[4], "0000,00,00,00,00,00,-255000000,-255000000,00012345,0,04560,0,0,00149,3,");

    // The master file: written where it was loaded from, after the question.
    RealClick(::GetDlgItem(page, ID_FUEL_SAVE_MASTER));
    HWND question = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(question, nullptr);
    Shot(question, L"fuel_road_master_question");
    RealClick(Shown(question, IDC_MSG_BUTTON_2));  // Yes
    ASSERT_TRUE(WaitGone(question));
    PumpFor(500);
    EXPECT_EQ(Lines(master), saved) << "the master file is the one the menu loaded";

    // The mileage graph, saved as a JPEG picture.
    RealClick(::GetDlgItem(page, ID_FUEL_GRAPH));
    HWND graph = WaitDialog(run, IDC_GRAPH_ZOOM_IN);
    ASSERT_NE(graph, nullptr);
    Shot(graph, L"fuel_road_9_graph");
    RealClick(Shown(graph, IDC_GRAPH_ZOOM_IN));
    Shot(graph, L"fuel_road_10_zoomed");
    RealClick(Shown(graph, IDC_GRAPH_ZOOM_OUT));
    RealClick(Shown(graph, IDC_GRAPH_SAVE));
    SaveThroughDialog(run, jpeg);
    ASSERT_TRUE(WaitFile(jpeg));
    ::CopyFileW(jpeg.c_str(), (ExeDir() + L"shots\\fuel_road_graph.jpg").c_str(), FALSE);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitGone(graph));

    {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
        {
            Gdiplus::Bitmap picture(jpeg.c_str());
            ASSERT_EQ(picture.GetLastStatus(), Gdiplus::Ok);
            EXPECT_EQ(picture.GetWidth(), 578u);
            EXPECT_EQ(picture.GetHeight(), 354u + 32u + 40u + 14u);
            auto at = [&picture](int x, int y) {
                Gdiplus::Color c;
                picture.GetPixel(x, y, &c);
                return RGB(c.GetR(), c.GetG(), c.GetB());
            };
            // The frame's light edge and the graph's inner panel.
            EXPECT_TRUE(Close(at(21 + 200, 32), 203, 203, 207, 24));
            EXPECT_TRUE(Close(at(21 + 37 + 300, 32 + 25 + 40), 81, 81, 92, 24));
            // The curve climbs from the first sample (x = 21 + 37 + 18) to the
            // second (50 pixels on): orange there, blurred by the JPEG but
            // still red over blue with green over blue; the panel is grey.
            int orange = 0;
            for (int x = 21 + 37 + 18; x < 21 + 37 + 68; ++x)
                for (int y = 32 + 26; y < 32 + 25 + 254; ++y) {
                    const COLORREF c = at(x, y);
                    if (GetRValue(c) > GetBValue(c) + 40 && GetGValue(c) > GetBValue(c) + 10)
                        ++orange;
                }
            EXPECT_GT(orange, 0) << "the value line passes the first sample";
            // The average line runs across the whole panel in magenta.
            int magenta = 0;
            for (int y = 32 + 26; y < 32 + 25 + 254; ++y) {
                const COLORREF c = at(21 + 37 + 450, y);
                if (GetRValue(c) > GetGValue(c) + 50 && GetBValue(c) > GetGValue(c) + 30)
                    ++magenta;
            }
            EXPECT_GT(magenta, 0) << "the average line";
        }
        Gdiplus::GdiplusShutdown(token);
    }

    // Back to the start menu: saved, so no question.
    HWND back = nullptr;
    for (HWND pane : ChildWindows(main))
        if (HWND b = ::GetDlgItem(pane, ID_BACK))
            back = b;
    ASSERT_NE(back, nullptr);
    RealClick(back);
    ASSERT_TRUE(WaitPage(main, L"MainMenu"));
    PumpFor(500);
    Shot(main, L"fuel_road_11_back");
    EXPECT_EQ(run.Quit(main), 0u);
}

TEST(FuelRoad, AMasterFileThatCannotBeReadIsReportedAndKept)
{
    TempDir dir;
    const std::wstring master = dir.File(L"MyCar.csv");
    const std::string broken = "this is not a fuel log\r\nat all\r\n";
    WriteBytes(master, broken);
    std::wstring folder = dir.Path();
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();

    ProgramRun run;
    HWND main = run.StartWith(L"[File]\nLanguageFile=English_US.dat\nNaviFile=US_KV410.dat\n"
                              L"DrFuelMasterFolder=" + folder + L"\nDrFuelMasterName=MyCar.csv\n"
                              L"[Option]\nVerCheck=0\nAnimation=0\n");
    ASSERT_NE(main, nullptr);
    HWND menu = FindDescendant(main, L"MainMenu");
    ASSERT_NE(menu, nullptr);
    OpenTask(menu, ID_CATEGORY_DRIVE, ID_SET_FUEL_MASTER);

    // The user is told; the log opens empty.
    HWND box = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(box, nullptr);
    wchar_t text[256] = {};
    ::GetWindowTextW(Shown(box, IDC_MSG_TEXT), text, 256);
    Shot(box, L"fuel_road_unreadable_master");
    EXPECT_NE(std::wstring(text).find(L"cannot be read"), std::wstring::npos) << std::string(text, text + wcslen(text));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(box));
    ASSERT_TRUE(WaitPage(main, L"FuelReport"));
    Shot(main, L"fuel_road_empty_log");

    // Nothing was written over it, and the setting still names it.
    EXPECT_EQ(run.Quit(main), 0u);
    const Bytes after = ReadBytes(master);
    EXPECT_EQ(std::string(after.begin(), after.end()), broken);
    EXPECT_EQ(run.ReadIni(L"File", L"DrFuelMasterName"), L"MyCar.csv");
    EXPECT_EQ(run.ReadIni(L"File", L"DrFuelMasterFolder"), folder);
}
