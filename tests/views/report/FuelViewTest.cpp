// The fuel-report view in a test window with the real skin pack and the
// shipped strings: files opened and saved through the file dialog's seam and
// read back, the save question, the statistics tabs, the merge dialog and the
// mileage graph with its zoom and JPEG picture, the map command.
#include <gtest/gtest.h>

#include <windows.h>

#include <gdiplus.h>

#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "ScriptedAnswers.h"
#include "TestFiles.h"
#include "FuelTestData.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "core/LanguageFile.h"
#include "views/report/FuelText.h"
#include "res/frame_ids.h"
#include "res/fuel_ids.h"
#include "views/report/FeUnityDlg.h"
#include "views/report/FeWnd.h"
#include "views/report/InfoDlg.h"
#include "views/report/MileageGraphDlg.h"
#include "views/report/ReportTexts.h"

using namespace dlgtest;

namespace {

std::wstring g_answerPath;  // empty: the dialog is cancelled
int g_dialogKind = -1;
std::wstring g_openedUrl;

BOOL AnswerFileDialog(HWND, const wchar_t*, int kind, BOOL, wchar_t* path)
{
    g_dialogKind = kind;
    if (g_answerPath.empty())
        return FALSE;
    lstrcpynW(path, g_answerPath.c_str(), MAX_PATH);
    return TRUE;
}

void RememberUrl(HWND, const wchar_t* url) { g_openedUrl = url; }

// A message's words, whatever lines the box broke it into.
std::wstring Words(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text)
        if (!iswspace(c))
            out += c;
    return out;
}

std::wstring WordsOf(int uiString) { return Words(theGlobal.UiString(uiString).GetString()); }

std::string ReadAll(const std::wstring& path)
{
    const testsupport::Bytes bytes = testsupport::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void PutU32(std::string& s, size_t at, unsigned v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutU16(std::string& s, size_t at, unsigned v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// The unit's fuel file with two records: dates and times as packed decimal digits.
std::string UnitFuelFile()
{
    std::string s(40 + 2 * 40, '\0');
    PutU32(s, 0, 0x88888888u);
    s.replace(4, 4, "FUEL");
    s.replace(8, 4, "1.00");
    PutU32(s, 24, 2 * 40);
    struct {
        unsigned date, time, distance, amount, price;
    } const records[] = {{0x20100302, 0x07450000, 4123, 3055, 145}, {0x20100310, 0x19300000, 3880, 2990, 152}};
    for (int k = 0; k < 2; ++k) {
        const size_t at = 40 + 40 * k;
        PutU32(s, at, records[k].date);
        PutU32(s, at + 4, records[k].time);
        PutU32(s, at + 8, records[k].distance);
        PutU16(s, at + 16, records[k].amount / 10 * 1 + 0);
        PutU32(s, at + 20, records[k].price);
        PutU16(s, at + 28, 3);
        PutU32(s, at + 32, 0x7FFFFFFF);
        PutU32(s, at + 36, 0x7FFFFFFF);
    }
    return s;
}

class FuelView : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        InitCharClassTable();
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
        theGlobal.m_distanceUnit = theGlobal.m_amountUnit = theGlobal.m_mileageUnit = 0;
        theGlobal.m_areaCode = 1;
        theGlobal.m_modelType = 1;
        theGlobal.m_viewKind = 11;
        theGlobal.m_views.RemoveAll();
        theGlobal.m_fuelColumns.RemoveAll();
        doc().InitErrorStrings();
        doc().RemoveAll();
        doc().SetModified(0);
        g_answerPath.clear();
        g_openedUrl.clear();
        CFeWnd::s_fileDialog = AnswerFileDialog;
        CFeWnd::s_openUrl = RememberUrl;
        CMileageGraphDlg::s_saveDialog = AnswerFileDialog;
        main.MoveWindow(0, 0, 1010, 740);
        ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700),
                                &main, 0xFFFF));
        for (int i = 0; i < 4; ++i) {
            DOCFUEL_DATA r = fueltest::Record(3000 + 100 * i, 2010, 2, 1 + 7 * i);
            r.amount = 2500 + 100 * i;
            r.price = 140 + i;
            doc().m_records.Add(r);
            doc().UpdateDerivedValues(i);
        }
        view.RefreshList();
        PumpPending();
    }
    void TearDown() override
    {
        if (view.m_hWnd)
            view.DestroyWindow();
        doc().RemoveAll();
        doc().SetModified(0);
        DialogTest::TearDown();
    }
    static CDocFe& doc() { return theGlobal.m_docFe; }
    void Command(UINT id) { view.SendMessage(WM_COMMAND, id, 0); }
    void Select(int from, int to)
    {
        view.m_list.SetCurSel(-1);
        for (int row = from; row <= to; ++row)
            view.m_list.SetItemState(row, LVIS_SELECTED | (row == from ? LVIS_FOCUSED : 0u), LVIS_SELECTED | LVIS_FOCUSED);
        view.m_list.m_focusItem = from;
    }
    CFeWnd view;
};

TEST_F(FuelView, ShowsTheLogWithANewRecordRow)
{
    EXPECT_EQ(view.m_list.GetItemCount(), 5);
    EXPECT_EQ(view.m_sortColumn, 0);
    EXPECT_EQ(view.m_dateOrder, 1);
    // The list's small images: the check bitmap cut at 20 x 13.
    const HIMAGELIST images = view.m_list.m_imageListSmall;
    ASSERT_NE(images, nullptr);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 20);
    EXPECT_EQ(cy, 13);
    EXPECT_EQ(ImageList_GetImageCount(images), 3);
    SaveShot(main, L"fuel_view_1_log");
    Command(ID_FUEL_TAB_CO2);
    PumpPending();
    EXPECT_TRUE(view.m_statistics.m_btnTips.IsWindowVisible());
    EXPECT_EQ(view.m_statistics.m_mode, CStatisticsWnd::ModeCO2);
    SaveShot(main, L"fuel_view_2_co2");
    // The tips button opens the balloon with the fuel tips; a click closes it.
    RunModalPlain([&] { Command(ID_FUEL_TIPS); return INT_PTR(0); },
                  [](CDialog& dlg) {
                      auto& tips = dynamic_cast<CInfoDlg&>(dlg);
                      EXPECT_EQ(std::wstring(tips.GetMessage()).substr(0, 20), std::wstring(theGlobal.UiString(73)).substr(0, 20));
                      EXPECT_TRUE(tips.IsWindowVisible());
                      SaveShot(dlg.m_hWnd, L"fuel_view_2b_tips");
                      dlg.EndDialog(IDOK);
                  });
    Command(ID_FUEL_TAB_AVERAGE);
    PumpPending();
    EXPECT_FALSE(view.m_statistics.m_btnTips.IsWindowVisible());
    EXPECT_EQ(view.m_tabAverage.GetState(), 2);
    EXPECT_NE(view.m_tabTotal.GetState(), 2);
    SaveShot(main, L"fuel_view_3_average");
}

// A cell's text is drawn 11 px in from each side, bold on a selected row; a
// heading 7 px in from each side and left of the sort arrows.
constexpr int kCellPadding = 22;
constexpr int kHeadingPadding = 2 * CCustomHeaderCtrl::TextInset + CCustomHeaderCtrl::ArrowRoom;

int TextWidth(HDC dc, HFONT font, const CString& text)
{
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text, text.GetLength(), &extent);
    ::SelectObject(dc, old);
    return extent.cx;
}

TEST_F(FuelView, TheDefaultColumnsFitTheirHeadingsAndTexts)
{
    view.DestroyWindow();
    theGlobal.m_fuelColumns.RemoveAll();
    theGlobal.m_naviModel.m_brazilUnit = 1;  // the longest currency list
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700), &main,
                            0xFFFF));
    view.RefreshList();
    PumpPending();
    // Typical values of the date, time and number columns, the lines of the list columns.
    std::vector<CString> texts[kFuelColumnCount] = {
        {L"12/28/2026", L"2026/12/28"}, {L"23:58"}, {FuelFixedText(99999, 1)}, {}, {FuelFixedText(99999, 2)}, {},
        {FuelFixedText(99999, 2)}, {}, {FuelFixedText(99999, 2)}, {}, {FuelFixedText(9999999, 2)},
        {FuelFixedText(-90000000, 6)}, {FuelFixedText(-180000000, 6)}, {}};
    const std::pair<int, CString> lists[] = {
        {3, kFuelDistanceUnits}, {5, kFuelAmountUnits}, {7, kFuelMileageUnits}, {9, FuelCurrencyNames()}};
    for (const auto& [column, names] : lists)
        for (int n = 0; !FuelNameLine(names, n).IsEmpty(); ++n)
            texts[column].push_back(FuelNameLine(names, n));
    std::vector<CStringArray> languages(3);
    const wchar_t* const files[] = {L"English_US", L"English_UK", L"English_AU"};
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(ParseLanguageFile(
            (testsupport::ExeDir() + L"..\\bin\\language\\" + files[i] + L".dat").c_str(), languages[i]));
    HDC dc = ::GetDC(view.m_list.m_hWnd);
    for (int c = 0; c < kFuelColumnCount; ++c) {
        const int width = view.m_list.GetColumnWidth(c);
        for (int i = 0; i < 3; ++i) {
            const CString& heading = languages[i][kFuelHeadings[c]];
            EXPECT_LE(TextWidth(dc, view.m_list.m_header.m_font, heading) + kHeadingPadding, width)
                << "column " << c << " " << CStringA(heading).GetString() << " " << CStringA(files[i]).GetString();
        }
        for (const CString& text : texts[c])
            EXPECT_LE(TextWidth(dc, view.m_list.m_fontBold, text) + kCellPadding, width)
                << "column " << c << " " << CStringA(text).GetString();
    }
    ::ReleaseDC(view.m_list.m_hWnd, dc);
    SaveShot(main, L"fuel_view_0_columns");
    theGlobal.m_naviModel.m_brazilUnit = 0;
}

TEST_F(FuelView, OpensTheUnitsFileAndSavesItAsCsv)
{
    testsupport::TempDir dir;
    const std::wstring dat = dir.File(L"FUEL.DAT"), csv = dir.File(L"from unit.csv");
    testsupport::WriteBytes(dat, UnitFuelFile());
    g_answerPath = dat;
    Command(ID_FILE_OPEN);
    EXPECT_EQ(g_dialogKind, 7) << "CSV or DAT for this model";
    ASSERT_EQ(doc().GetCount(), 2) << "the file replaces the log";
    EXPECT_EQ(view.m_list.GetItemCount(), 3);
    EXPECT_TRUE(view.m_undo.empty());
    SaveShot(main, L"fuel_view_4_dat_opened");
    g_answerPath = csv;
    Command(ID_FILE_SAVE);
    EXPECT_EQ(g_dialogKind, 6);
    EXPECT_EQ(ReadAll(csv),
              "#Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Distance,UnitDistance,GasAmount,UnitAmount,"
              "UnitMileage,GasPrice,UnitPrice,Memo\r\n"
              "2010,03,02,07,45,00,-255000000,-255000000,00004123,0,03050,0,0,00145,3,\r\n"
              "2010,03,10,19,30,00,-255000000,-255000000,00003880,0,02990,0,0,00152,3,\r\n");
    EXPECT_FALSE(doc().IsModified());
}

TEST_F(FuelView, AFileThatCannotBeReadLeavesTheLogAsItWas)
{
    testsupport::TempDir dir;
    const std::wstring bad = dir.File(L"broken.DAT");
    testsupport::WriteBytes(bad, "not a fuel file at all, not at all, no no no");
    g_answerPath = bad;
    CString error;
    doc().SetErrorCode(DOCERR_READ);
    const std::wstring text(doc().GetErrorString(error));
    ScriptedAnswers answers({{text, IDOK}});
    Command(ID_FILE_OPEN);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(doc().GetCount(), 4);
    EXPECT_EQ(view.m_list.GetItemCount(), 5);
    EXPECT_EQ(doc().m_records[0].distance, 3000);
}

TEST_F(FuelView, NewAsksAndYesSavesFirst)
{
    testsupport::TempDir dir;
    const std::wstring csv = dir.File(L"kept.csv");
    doc().SetModified(1);
    g_answerPath = csv;
    {
        ScriptedAnswers answers({{std::wstring(theGlobal.UiString(23)), IDYES}});
        Command(ID_FUEL_FILE_NEW);
        ASSERT_EQ(answers.asked.size(), 1u);
    }
    EXPECT_NE(ReadAll(csv).find("00003300"), std::string::npos) << "saved before it was emptied";
    EXPECT_EQ(doc().GetCount(), 0);
    EXPECT_EQ(view.m_list.GetItemCount(), 1);
}

TEST_F(FuelView, ASaveThatFailsKeepsTheLogOnNew)
{
    doc().SetModified(1);
    g_answerPath = L"Z:\\no such folder\\x\\log.csv";
    ScriptedAnswers answers({{std::wstring(theGlobal.UiString(23)), IDYES}});
    Command(ID_FUEL_FILE_NEW);
    EXPECT_EQ(doc().GetCount(), 4);
    EXPECT_TRUE(doc().IsModified());
}

TEST_F(FuelView, WriteMasterWritesTheFileTheMenuLoaded)
{
    testsupport::TempDir dir;
    std::wstring folder = dir.Path();
    if (folder.back() == L'\\')
        folder.pop_back();
    theGlobal.m_drFuelMasterFolder = folder.c_str();
    theGlobal.m_drFuelMasterName = L"MyCar.csv";
    Command(ID_FUEL_WRITE_MASTER);
    EXPECT_NE(ReadAll(dir.File(L"MyCar.csv")).find("00003300"), std::string::npos);
    EXPECT_EQ(::GetFileAttributesW(dir.File(L"FuelMaster.csv").c_str()), INVALID_FILE_ATTRIBUTES);
    theGlobal.m_drFuelMasterName.Empty();
}

TEST_F(FuelView, MergeDialogStoresTheMergedRecordAndUndoRestores)
{
    Select(1, 2);
    const INT_PTR result = RunModal([&] { Command(ID_FUEL_MERGE); return INT_PTR(0); },
                                    [](CCustomDialog& dlg) {
                                        auto& merge = dynamic_cast<CFeUnityDlg&>(dlg);
                                        EXPECT_EQ(merge.m_list.GetItemCount(), 3) << "one listed, two summary rows";
                                        SaveShot(dlg.m_hWnd, L"fuel_view_5_merge");
                                        ClickChild(merge.m_btnOk.m_hWnd);
                                    });
    (void)result;
    PumpPending();
    ASSERT_EQ(doc().GetCount(), 3);
    EXPECT_EQ(doc().m_records[1].distance, 3100 + 3200);
    EXPECT_EQ(doc().m_records[1].amount, 2600 + 2700);
    EXPECT_EQ(doc().m_records[1].day, 15);
    EXPECT_EQ(view.m_list.GetItemCount(), 4);
    SaveShot(main, L"fuel_view_6_merged");
    Command(ID_EDIT_UNDO);
    ASSERT_EQ(doc().GetCount(), 4);
    EXPECT_EQ(doc().m_records[1].distance, 3100);
    EXPECT_EQ(doc().m_records[2].distance, 3200);
    Command(ID_EDIT_REDO);
    EXPECT_EQ(doc().GetCount(), 3);
}

TEST_F(FuelView, AMergeOverTheLimitIsRefusedAndChangesNothing)
{
    doc().m_records[1].distance = 60000;
    doc().m_records[2].distance = 50000;
    Select(1, 2);
    ScriptedAnswers answers({{std::wstring(theGlobal.UiString(kUiMergeSumTooLarge)), IDOK}});
    RunModal([&] { Command(ID_FUEL_MERGE); return INT_PTR(0); },
             [](CCustomDialog& dlg) {
                 auto& merge = dynamic_cast<CFeUnityDlg&>(dlg);
                 ClickChild(merge.m_btnOk.m_hWnd);
                 PumpPending();
                 EXPECT_FALSE(Ended(dlg)) << "the dialog stays for Cancel";
                 dlg.EndDialog(IDCANCEL);
             });
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(Words(answers.asked[0]), WordsOf(kUiMergeSumTooLarge));
    EXPECT_EQ(doc().GetCount(), 4);
    EXPECT_EQ(doc().m_records[2].distance, 50000);
    EXPECT_EQ(doc().m_records[1].mark, 0);
    EXPECT_TRUE(view.m_undo.empty());
}

TEST_F(FuelView, MapNeedsAPosition)
{
    Select(0, 0);
    {
        ScriptedAnswers answers({{std::wstring(theGlobal.UiString(24)), IDOK}});
        Command(ID_FUEL_MAP);
        EXPECT_EQ(answers.asked.size(), 1u);
    }
    EXPECT_TRUE(g_openedUrl.empty());
    doc().m_records[0].latitude = 35681236;
    doc().m_records[0].longitude = -139767125;
    Command(ID_FUEL_MAP);
    EXPECT_EQ(g_openedUrl, L"http://maps.google.com/maps?f=q&hl=en&geocode=&q=35.681236+-139.767125");
}

TEST_F(FuelView, TheGraphLeavesDatelessRecordsOutAndSaysWhenNothingIsLeft)
{
    doc().m_records[0].year = doc().m_records[0].month = doc().m_records[0].day = 0;
    int drawn = -1;
    std::wstring labels;
    RunModal([&] { Command(ID_FUEL_GRAPH); return INT_PTR(0); },
             [&](CCustomDialog& dlg) {
                 auto& graph = dynamic_cast<CMileageGraphDlg&>(dlg);
                 drawn = static_cast<int>(graph.m_values.GetSize());
                 for (INT_PTR i = 0; i < graph.m_dates.GetSize(); ++i)
                     labels += graph.m_dates[i].GetString();
                 dlg.EndDialog(IDCANCEL);
             });
    EXPECT_EQ(drawn, 3);
    EXPECT_EQ(labels.find(L"0000"), std::wstring::npos) << labels;
    // Nothing left to draw: every record dateless, or none in the main currency.
    const std::function<void(DOCFUEL_DATA&)> cases[] = {
        [](DOCFUEL_DATA& r) { r.year = r.month = r.day = 0; },
        [](DOCFUEL_DATA& r) { r.priceUnit = 20; },
    };
    std::vector<DOCFUEL_DATA> kept;
    for (INT_PTR i = 0; i < doc().m_records.GetSize(); ++i)
        kept.push_back(doc().m_records[i]);
    for (const auto& change : cases) {
        for (INT_PTR i = 0; i < doc().m_records.GetSize(); ++i) {
            doc().m_records[i] = kept[i];
            doc().m_records[i].year = 2010;
            change(doc().m_records[i]);
        }
        ScriptedAnswers answers({{std::wstring(theGlobal.UiString(kUiGraphNothingToDraw)), IDOK}});
        Command(ID_FUEL_GRAPH);
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(Words(answers.asked[0]), WordsOf(kUiGraphNothingToDraw));
    }
}

TEST_F(FuelView, GraphZoomsAndSavesAJpeg)
{
    testsupport::TempDir dir;
    const std::wstring jpeg = dir.File(L"graph.jpg");
    g_answerPath = jpeg;
    RunModal([&] { Command(ID_FUEL_GRAPH); return INT_PTR(0); },
             [](CCustomDialog& dlg) {
                 auto& graph = dynamic_cast<CMileageGraphDlg&>(dlg);
                 EXPECT_TRUE(graph.IsWindowVisible());
                 EXPECT_EQ(graph.m_values.GetSize(), 4);
                 // The graph reports to the dialog, the owner of its frame.
                 EXPECT_EQ(graph.m_frame.m_graph.GetOwner(), static_cast<CWnd*>(&dlg));
                 const double steps[] = {1.5, 2.25, 3.375, 5};
                 for (double z : steps) {
                     ClickChild(graph.m_btnZoomIn.m_hWnd);
                     PumpPending();
                     EXPECT_DOUBLE_EQ(graph.m_frame.m_graph.m_zoom, z);
                 }
                 EXPECT_FALSE(graph.m_btnZoomIn.IsWindowEnabled());
                 EXPECT_EQ(static_cast<int>(graph.m_frame.m_graph.m_xEnd), 3);
                 SaveShot(dlg.m_hWnd, L"fuel_view_7_graph_zoomed");
                 graph.OnZoomOut();
                 EXPECT_DOUBLE_EQ(graph.m_frame.m_graph.m_zoom, 3.75);
                 EXPECT_TRUE(graph.m_btnZoomIn.IsWindowEnabled());
                 graph.m_frame.m_graph.m_zoom = 1.0;
                 graph.OnZoomOut();
                 EXPECT_DOUBLE_EQ(graph.m_frame.m_graph.m_zoom, 0.75);
                 EXPECT_TRUE(graph.m_btnZoomOut.IsWindowEnabled());
                 graph.OnZoomOut();
                 EXPECT_DOUBLE_EQ(graph.m_frame.m_graph.m_zoom, 0.75);
                 EXPECT_FALSE(graph.m_btnZoomOut.IsWindowEnabled());
                 graph.OnZoomIn();
                 EXPECT_TRUE(graph.m_btnZoomOut.IsWindowEnabled());
                 PumpPending();
                 SaveShot(dlg.m_hWnd, L"fuel_view_8_graph");
                 ClickChild(graph.m_btnSave.m_hWnd);
                 PumpPending();
                 dlg.EndDialog(IDCANCEL);
             });
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    {
        Gdiplus::Bitmap picture(jpeg.c_str());
        ASSERT_EQ(picture.GetLastStatus(), Gdiplus::Ok);
        EXPECT_EQ(picture.GetWidth(), 578u);
        EXPECT_EQ(picture.GetHeight(), 440u);
        Gdiplus::Color c;
        picture.GetPixel(21 + 200, 32, &c);
        EXPECT_NEAR(c.GetR(), 203, 24);
        EXPECT_NEAR(c.GetB(), 207, 24);
    }
    Gdiplus::GdiplusShutdown(token);
}

TEST_F(FuelView, TypingIntoTheNewRowMakesARecord)
{
    view.m_list.SetFocus();
    view.m_list.m_curRow = 4;
    view.m_list.m_curCol = 2;
    HWND editor = view.m_list.EditSubItem(4, 2);
    ASSERT_NE(editor, nullptr);
    ::SetWindowTextW(editor, L"1,234.5");
    view.m_list.EndEdit(FALSE);
    PumpPending();
    ASSERT_EQ(doc().GetCount(), 5);
    EXPECT_EQ(doc().m_records[4].distance, 12345);
    EXPECT_EQ(view.m_sortColumn, kFuelNoSort);
    EXPECT_EQ(view.m_list.GetItemCount(), 6);
    // A letter in a number column: UI 4, nothing stored.
    ScriptedAnswers answers({{std::wstring(theGlobal.UiString(4)), IDOK}});
    view.m_list.m_curRow = 4;
    editor = view.m_list.EditSubItem(4, 4);
    ASSERT_NE(editor, nullptr);
    ::SetWindowTextW(editor, L"12a");
    view.m_list.EndEdit(FALSE);
    PumpPending();
    EXPECT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(doc().m_records[4].amount, 0);
    EXPECT_EQ(view.m_undo.size(), 1u);
    // A latitude beyond 90: the answer says the value is out of range, nothing stored.
    ScriptedAnswers range({{std::wstring(theGlobal.UiString(kUiValueOutOfRange)), IDOK}});
    view.m_list.m_curRow = 4;
    editor = view.m_list.EditSubItem(4, 11);
    ASSERT_NE(editor, nullptr);
    ::SetWindowTextW(editor, L"91");
    view.m_list.EndEdit(FALSE);
    PumpPending();
    ASSERT_EQ(range.asked.size(), 1u);
    EXPECT_EQ(Words(range.asked[0]), WordsOf(kUiValueOutOfRange));
    EXPECT_EQ(view.m_undo.size(), 1u);
}


TEST_F(FuelView, TheFirstLineOfAListColumnInTheNewRowMakesARecord)
{
    // Unit, amount unit, mileage unit, currency: their first lines ("Km", "Litre", ...).
    for (int column : {3, 5, 7, 9}) {
        SCOPED_TRACE(column);
        const int newRow = doc().GetCount();
        view.m_list.SetFocus();
        view.m_list.m_curRow = newRow;
        view.m_list.m_curCol = column;
        ASSERT_NE(view.m_list.EditSubItem(newRow, column), nullptr);
        EXPECT_EQ(view.m_list.m_choiceList.m_hotIndex, -1) << "the new row has no current choice";
        view.m_list.m_choiceList.m_hotIndex = 0;
        view.m_list.EndEdit(FALSE);
        PumpPending();
        ASSERT_EQ(doc().GetCount(), newRow + 1);
        DOCFUEL_VIEW_DATA r{};
        ASSERT_TRUE(doc().GetRecordText(newRow, r));
        EXPECT_EQ(FuelCellChoice(r, column), 0);
    }
}

TEST_F(FuelView, AnOpenedLogIsShownInDateOrderAndCanBeMerged)
{
    testsupport::TempDir dir;
    const std::wstring csv = dir.File(L"unsorted.csv");
    testsupport::WriteBytes(csv, std::string("#Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Distance,"
                                             "UnitDistance,GasAmount,UnitAmount,UnitMileage,GasPrice,UnitPrice,Memo\r\n") +
                                     "2011,05,09,08,00,00,-255000000,-255000000,00000300,0,01000,0,0,00150,3,\r\n"
                                     "2011,05,01,08,00,00,-255000000,-255000000,00000100,0,01000,0,0,00150,3,\r\n"
                                     "2011,05,05,08,00,00,-255000000,-255000000,00000200,0,01000,0,0,00150,3,\r\n");
    g_answerPath = csv;
    Command(ID_FILE_OPEN);
    ASSERT_EQ(doc().GetCount(), 3);
    EXPECT_EQ(view.m_sortColumn, 0);
    EXPECT_EQ(view.m_dateOrder, 1);
    EXPECT_EQ(doc().m_records[view.RecordOfRow(0)].distance, 100);
    EXPECT_EQ(doc().m_records[view.RecordOfRow(2)].distance, 300);
    EXPECT_EQ(view.CheckMerge({0, 1}), 0) << "rows truly in date order";
}

TEST_F(FuelView, BackAsksAndCancelOrAFailedSaveStays)
{
    doc().SetModified(1);
    {
        ScriptedAnswers answers({{std::wstring(theGlobal.UiString(23)), IDCANCEL}});
        Command(ID_BACK);
        EXPECT_EQ(answers.asked.size(), 1u);
    }
    EXPECT_EQ(doc().GetCount(), 4);
    g_answerPath = L"Z:\\no such folder\\x\\log.csv";
    {
        ScriptedAnswers answers({{std::wstring(theGlobal.UiString(23)), IDYES}});
        Command(ID_BACK);
    }
    EXPECT_EQ(doc().GetCount(), 4);
    EXPECT_EQ(view.m_list.GetItemCount(), 5);
    {
        ScriptedAnswers answers({{std::wstring(theGlobal.UiString(23)), IDNO}});
        Command(ID_BACK);
    }
    EXPECT_EQ(doc().GetCount(), 0);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(view.m_list.GetItemCount(), 1);
}

// The main window asks every view before quitting: only a changed log that
// holds records is unsaved work, and only that asks the save question.
TEST_F(FuelView, OnlyAChangedLogWithRecordsIsUnsavedWork)
{
    struct {
        bool empty;
        int modified;
        BOOL unsaved;
    } const cases[] = {{false, 0, FALSE}, {false, 1, TRUE}, {true, 1, FALSE}, {true, 0, FALSE}};
    for (const auto& c : cases) {
        if (c.empty)
            doc().RemoveAll();
        doc().SetModified(c.modified);
        EXPECT_EQ(view.HasUnsavedWork(), c.unsaved) << c.empty << c.modified;
        ScriptedAnswers answers({{std::wstring(theGlobal.UiString(23)), IDCANCEL}});
        EXPECT_EQ(view.CanLeave(), !c.unsaved);
        EXPECT_EQ(answers.asked.size(), c.unsaved ? 1u : 0u);
    }
}

TEST_F(FuelView, StatisticsPaneScrollsOnlyWhenTooNarrow)
{
    view.m_statistics.MoveWindow(0, 500, 700, 140);
    view.m_statistics.m_mode = CStatisticsWnd::ModeAverage;
    view.m_statistics.UpdateLayout();
    EXPECT_TRUE(view.m_statistics.GetStyle() & WS_HSCROLL) << "730 pixels of columns in 700";
    view.m_statistics.m_mode = CStatisticsWnd::ModeTotal;
    view.m_statistics.UpdateLayout();
    EXPECT_FALSE(view.m_statistics.GetStyle() & WS_HSCROLL) << "625 pixels fit";
    view.m_statistics.MoveWindow(0, 500, 600, 140);
    view.m_statistics.UpdateLayout();
    EXPECT_TRUE(view.m_statistics.GetStyle() & WS_HSCROLL);
}


TEST_F(FuelView, AGraphWithoutItsPicturesIsStillShownAndCanBeClosed)
{
    CMileageGraphDlg::s_titlePicture = L"no_such_picture.bmp";
    bool shown = false, hasGraph = true;
    RunModal([&] { Command(ID_FUEL_GRAPH); return INT_PTR(0); },
             [&](CCustomDialog& dlg) {
                 auto& graph = dynamic_cast<CMileageGraphDlg&>(dlg);
                 shown = graph.IsWindowVisible() != FALSE;
                 hasGraph = graph.m_frame.GetSafeHwnd() != nullptr;
                 SaveShot(dlg.m_hWnd, L"fuel_view_9_graph_without_pictures");
                 PressKey(VK_ESCAPE);
             });
    CMileageGraphDlg::s_titlePicture = L"graph_image_top.bmp";
    EXPECT_TRUE(shown) << "never a hidden modal dialog over a disabled window";
    EXPECT_FALSE(hasGraph);
    EXPECT_TRUE(main.IsWindowEnabled());
}

}  // namespace

namespace {
// Distances of the list's record rows, top to bottom.
std::vector<int> RowDistances(CFeWnd& view)
{
    std::vector<int> out;
    for (int row = 0; row < view.RecordRowCount(); ++row)
        out.push_back(theGlobal.m_docFe.m_records[view.RecordOfRow(row)].distance);
    return out;
}
std::vector<int> ClipboardDistances(const CFeWnd& view)
{
    std::vector<int> out;
    for (const DOCFUEL_DATA& r : view.m_clipboard)
        out.push_back(r.distance);
    return out;
}
}  // namespace

// Copy, Paste, Cut, Select All and Delete as the view's commands: what the
// clipboard holds and what the log holds after each, and Undo brings back.
TEST_F(FuelView, ClipboardCommandsChangeTheLogAndTheClipboard)
{
    using V = std::vector<int>;
    ASSERT_EQ(RowDistances(view), (V{3000, 3100, 3200, 3300}));
    Select(1, 2);
    Command(ID_EDIT_COPY);
    EXPECT_EQ(ClipboardDistances(view), (V{3100, 3200}));
    EXPECT_EQ(RowDistances(view), (V{3000, 3100, 3200, 3300}));
    EXPECT_EQ(doc().IsModified(), 0);

    // Paste runs only while the list has the focus.
    view.m_list.SetFocus();
    Select(3, 3);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(RowDistances(view), (V{3000, 3100, 3200, 3100, 3200, 3300}));
    EXPECT_EQ(view.m_list.GetItemCount(), 7);
    EXPECT_NE(doc().IsModified(), 0);

    Select(0, 0);
    Command(ID_EDIT_CUT);
    EXPECT_EQ(ClipboardDistances(view), (V{3000}));
    EXPECT_EQ(RowDistances(view), (V{3100, 3200, 3100, 3200, 3300}));

    Command(ID_EDIT_SELECT_ALL);
    for (int row = 0; row < 5; ++row)
        EXPECT_TRUE(view.m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) << "row " << row;
    EXPECT_FALSE(view.m_list.GetItemState(5, LVIS_SELECTED) & LVIS_SELECTED) << "the new-record row";

    Command(ID_DELETE);
    EXPECT_EQ(doc().GetCount(), 0);
    EXPECT_EQ(view.m_list.GetItemCount(), 1) << "only the new-record row";
    EXPECT_EQ(ClipboardDistances(view), (V{3000})) << "Delete leaves the clipboard alone";

    Command(ID_EDIT_UNDO);
    EXPECT_EQ(RowDistances(view), (V{3100, 3200, 3100, 3200, 3300}));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(RowDistances(view), (V{3000, 3100, 3200, 3100, 3200, 3300}));
    SaveShot(main, L"fuel_view_clipboard");
}
