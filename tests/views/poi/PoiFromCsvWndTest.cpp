// The CSV import view under Xvfb with the real skin pack and the shipped
// strings: files written by the tests are opened through an answered file
// dialog, mapped with the combos and converted; what reaches the documents and
// the main window is read back.
#include <windows.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "ScriptedAnswers.h"
#include "TestFiles.h"
#include "TestMainWindow.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "frame/MainWnd.h"
#include "res/frame_ids.h"
#include "views/poi/PoiFromCsvWnd.h"

using namespace dlgtest;
using testsupport::TempDir;

namespace {

// The file dialog's answer: a path, or Cancel when empty.
std::wstring g_answer;
int g_dialogCalls = 0;
int g_dialogKind = 0;
BOOL g_dialogOpen = FALSE;
std::wstring g_proposed, g_folder;

BOOL AnswerFileDialog(HWND, const wchar_t* folder, int kind, BOOL open, wchar_t* path)
{
    ++g_dialogCalls;
    g_dialogKind = kind;
    g_dialogOpen = open;
    g_proposed = path;
    g_folder = folder ? folder : L"";
    if (g_answer.empty())
        return FALSE;
    lstrcpynW(path, g_answer.c_str(), MAX_PATH);
    return TRUE;
}

BOOL NoAddressBook() { return FALSE; }
BOOL AddressBookThere() { return TRUE; }

// Two contacts of nine fields, as the address book's rows come.
BOOL TwoContacts(CDocImport& into)
{
    into.m_table.RemoveAll();
    into.m_table.SetDelimiter(L',');
    into.m_table.AddRow(L"\"Anna \"\"Bee\"\"\",\"1 Main St, Leeds\",555 1,,,,,,anna@example.org");
    into.m_table.AddRow(L"\u6771\u4eac,Shiba,03 3433");
    return TRUE;
}

// A book that breaks off after emptying the rows and reading one contact.
BOOL BrokenBook(CDocImport& into)
{
    into.m_table.RemoveAll();
    into.m_table.AddRow(L"half");
    return FALSE;
}

std::wstring Ui(int n) { return std::wstring(theGlobal.UiString(n)); }

// A message as the box shows it, without the breaks the box put in.
std::wstring Flat(std::wstring text)
{
    std::wstring out;
    for (wchar_t ch : text)
        if (ch != L'\n')
            out += ch;
    while (!out.empty() && out.back() == L' ')
        out.pop_back();
    return out;
}

std::vector<std::wstring> Flat(const std::vector<std::wstring>& texts)
{
    std::vector<std::wstring> out;
    for (const auto& t : texts)
        out.push_back(Flat(t));
    return out;
}

std::vector<std::wstring> Items(const CCustomComboBox& combo)
{
    std::vector<std::wstring> out;
    for (int i = 0; i < combo.GetCount(); ++i) {
        CString text;
        combo.GetLBText(i, text);
        out.emplace_back(text);
    }
    return out;
}

std::vector<std::wstring> Numbers(int n)
{
    std::vector<std::wstring> out;
    for (int i = 1; i <= n; ++i)
        out.push_back(std::to_wstring(i));
    return out;
}

class CsvView : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        InitCharClassTable();
        saved[0] = theGlobal.m_naviModel.m_modelGroup;
        saved[1] = theGlobal.m_delimiter;
        saved[2] = theGlobal.m_decimal;
        saved[3] = theGlobal.m_modelType;
        savedFile = theGlobal.m_piCsvFileSpec;
        savedFolder = theGlobal.m_piCsvIniFolder;
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
        theGlobal.m_delimiter = 2;
        theGlobal.m_decimal = 0;
        theGlobal.m_modelType = 3;
        theGlobal.m_piCsvFileSpec = L"last.csv";
        theGlobal.m_piCsvIniFolder = L"C:\\before";
        static bool errorTexts = false;
        if (!errorTexts) {
            theGlobal.m_docPiCsv.InitErrorStrings();
            theGlobal.m_docAb.InitErrorStrings();
            errorTexts = true;
        }
        theGlobal.m_docImportPoi.m_table.RemoveAll();
        theGlobal.m_docImportAb.m_table.RemoveAll();
        theGlobal.m_docPiCsv.ResetDocument();
        theGlobal.m_docPiCsv.SetModified(0);
        theGlobal.m_docAb.ClearAll();
        theGlobal.m_docAb.SetModified(0);
        CPoiFromCsvWnd::s_fileDialog = &AnswerFileDialog;
        CPoiFromCsvWnd::s_addressBookInstalled = nullptr;
        g_answer.clear();
        g_dialogCalls = 0;
        main.MoveWindow(0, 0, 1040, 720);
    }
    void TearDown() override
    {
        view.reset();
        CPoiFromCsvWnd::s_fileDialog = realDialog;
        CPoiFromCsvWnd::s_addressBookInstalled = realBook;
        CPoiFromCsvWnd::s_readAddressBook = realRead;
        theGlobal.m_naviModel.m_modelGroup = saved[0];
        theGlobal.m_delimiter = saved[1];
        theGlobal.m_decimal = saved[2];
        theGlobal.m_modelType = saved[3];
        theGlobal.m_piCsvFileSpec = savedFile;
        theGlobal.m_piCsvIniFolder = savedFolder;
        theGlobal.m_docImportPoi.m_table.RemoveAll();
        theGlobal.m_docImportAb.m_table.RemoveAll();
        theGlobal.m_docPiCsv.ResetDocument();
        theGlobal.m_docAb.ClearAll();
        DialogTest::TearDown();
    }

    void Make(int mode)
    {
        view = std::make_unique<CPoiFromCsvWnd>();
        view->m_mode = mode;
        ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(10, 10, 1010, 690),
                                 &main, 0xFFFF));
        skintest::Settle(main.m_hWnd);
        main.Clear();
    }

    std::wstring Write(const std::wstring& name, const std::string& bytes)
    {
        const std::wstring path = dir.File(name);
        testsupport::WriteBytes(path, bytes);
        return path;
    }

    // Opens path through the answered dialog; returns the message boxes' texts.
    std::vector<std::wstring> Open(const std::wstring& path)
    {
        g_answer = path;
        ScriptedAnswers boxes({});
        view->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
        return boxes.asked;
    }

    std::vector<std::wstring> Command(UINT id)
    {
        ScriptedAnswers boxes({});
        view->SendMessage(WM_COMMAND, id, 0);
        return boxes.asked;
    }

    // A preview cell as the list shows it.
    std::wstring Cell(int row, int column)
    {
        wchar_t buffer[CCustomListCtrl::TextBufferSize + 1] = L"?";
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = CCustomListCtrl::TextBufferSize + 1;
        if (!view->m_list.GetItem(&item))
            return L"<none>";
        return buffer;
    }

    void Map(int start, std::initializer_list<int> columns)
    {
        view->m_startRow.SetCurSel(start);
        int k = 0;
        for (int c : columns)
            view->m_columns[k++].SetCurSel(c);
    }

    std::vector<UINT> SentCommands() const
    {
        std::vector<UINT> out;
        for (const auto& m : main.log)
            if (m.msg == WM_COMMAND)
                out.push_back(LOWORD(m.wp));
        return out;
    }

    CRect ChildRect(CWnd& child)
    {
        CRect r;
        child.GetWindowRect(&r);
        view->ScreenToClient(&r);
        return r;
    }

    bool AllReset()
    {
        if (Items(view->m_startRow) != std::vector<std::wstring>{L" - "} || view->m_startRow.GetCurSel() != 0)
            return false;
        for (auto& c : view->m_columns)
            if (Items(c) != std::vector<std::wstring>{L" - "} || c.GetCurSel() != 0)
                return false;
        return true;
    }

    std::unique_ptr<CPoiFromCsvWnd> view;
    TempDir dir;
    int saved[4] = {};
    CString savedFile, savedFolder;
    CPoiFromCsvWnd::FileDialogFn realDialog = CPoiFromCsvWnd::s_fileDialog;
    BOOL (*realBook)() = CPoiFromCsvWnd::s_addressBookInstalled;
    BOOL (*realRead)(CDocImport&) = CPoiFromCsvWnd::s_readAddressBook;
};

TEST(CsvColumnLetters, FiftySixLettersFromAToBD)
{
    const struct {
        int k;
        const wchar_t* letter;
    } cases[] = {{0, L"A"}, {1, L"B"}, {25, L"Z"}, {26, L"AA"}, {27, L"AB"}, {51, L"AZ"}, {52, L"BA"}, {55, L"BD"},
                 {56, L""}, {-1, L""}};
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(CPoiFromCsvWnd::ColumnLetter(c.k)), c.letter) << c.k;
}

TEST_F(CsvView, CreationBuildsThePreviewTheCombosAndTheButtons)
{
    Make(0);
    CCustomListCtrl& list = view->m_list;
    EXPECT_EQ(list.GetDlgCtrlID(), IDC_CSV_PREVIEW_LIST);
    EXPECT_TRUE(list.GetStyle() & LVS_OWNERDATA);
    ASSERT_EQ(list.GetColumnCount(), 57);
    EXPECT_TRUE(list.m_cellMode);
    EXPECT_TRUE(list.m_tabNavigation);
    for (int c = 0; c < 57; ++c)
        EXPECT_EQ(list.m_columnProps[c].type, CCustomListCtrl::EditNone) << c;
    HDITEMW hd{};
    hd.mask = HDI_TEXT | HDI_WIDTH;
    const struct {
        int column, width;
        std::wstring text;
    } columns[] = {{0, 40, Ui(176)}, {1, 80, L"A"}, {26, 80, L"Z"}, {27, 80, L"AA"}, {56, 80, L"BD"}};
    for (const auto& c : columns) {
        ASSERT_TRUE(list.m_header.GetItem(c.column, &hd));
        EXPECT_EQ(hd.cxy, c.width) << c.column;
        ASSERT_NE(hd.pszText, nullptr);
        EXPECT_EQ(std::wstring(hd.pszText), c.text) << c.column;
    }
    EXPECT_EQ(list.GetColumnAlignment(0), LVCFMT_CENTER);
    EXPECT_EQ(list.GetColumnAlignment(1), LVCFMT_LEFT);
    for (int id = IDC_CSV_START_ROW; id <= IDC_CSV_DESCRIPTION; ++id)
        EXPECT_NE(view->GetDlgItem(id), nullptr) << id;
    EXPECT_TRUE(AllReset());
    EXPECT_TRUE(view->m_columns[5].IsWindowVisible());
    EXPECT_TRUE(view->m_open.IsWindowVisible());
    EXPECT_FALSE(view->m_openAb.IsWindowVisible());
    // Registered for refreshes.
    bool registered = false;
    for (INT_PTR i = 0; i < theGlobal.m_views.GetSize(); ++i)
        registered = registered || theGlobal.m_views[i] == view.get();
    EXPECT_TRUE(registered);
}

TEST_F(CsvView, LayoutOfEachMode)
{
    for (int mode = 0; mode < 2; ++mode) {
        SCOPED_TRACE(mode);
        Make(mode);
        CRect c;
        view->GetClientRect(&c);
        const int shift = mode == 1 ? 100 : 0;
        EXPECT_EQ(ChildRect(view->m_list), CRect(6, 20, 6 + c.Width() - 224, 20 + c.Height() - 110));
        EXPECT_EQ(ChildRect(view->m_open), CRect(c.right - 198, 20, c.right - 6, 68));
        if (mode == 1) {
            EXPECT_EQ(ChildRect(view->m_openAb), CRect(c.right - 198, 110, c.right - 6, 158));
            EXPECT_EQ(ChildRect(view->m_convert), CRect(c.right - 198, c.bottom - 50, c.right - 6, c.bottom - 2));
            EXPECT_TRUE(view->m_openAb.IsWindowVisible());
            EXPECT_FALSE(view->m_columns[5].IsWindowVisible());
        } else {
            EXPECT_EQ(ChildRect(view->m_convert), CRect(c.right - 198, 470, c.right - 6, 518));
            EXPECT_TRUE(ChildRect(view->m_openAb).IsRectEmpty());
        }
        EXPECT_EQ(ChildRect(view->m_startRow).TopLeft(), CPoint(c.right - 80, 127 + shift));
        EXPECT_EQ(ChildRect(view->m_startRow).Width(), 64);
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(ChildRect(view->m_columns[k]).TopLeft(), CPoint(c.right - 80, 171 + shift + 44 * k)) << k;
        // The panel and its label strips.
        skintest::Pixels shown(view->m_hWnd);
        const int top = 110 + shift;
        EXPECT_TRUE(skintest::Near(shown.At(c.right - 198, top + 3), RGB(150, 150, 152), 0));
        EXPECT_TRUE(skintest::Near(shown.At(c.right - 195, top + 3), RGB(30, 30, 35), 0));
        EXPECT_TRUE(skintest::Near(shown.At(c.right - 190, top + 8), RGB(60, 60, 70), 8));
        const int strips = mode == 1 ? 6 : 7;
        EXPECT_TRUE(skintest::Near(shown.At(c.right - 190, top + 7 + 44 * (strips - 1) + 2), RGB(60, 60, 70), 8));
        EXPECT_TRUE(skintest::Near(shown.At(c.right - 190, top + 7 + 44 * (strips - 1) + 42), RGB(30, 30, 35), 0));
        EXPECT_TRUE(skintest::Near(shown.At(c.right - 190, top + 7 + 44 * strips + 2), RGB(150, 150, 152), 0));
        view.reset();
    }
}

TEST_F(CsvView, ALongRowOffersColumnsUpToBDOnly)
{
    Make(0);
    std::string line;
    for (int i = 0; i < 70; ++i)
        line += (i ? "," : "") + std::string("c") + std::to_string(i);
    EXPECT_TRUE(Open(Write(L"wide.csv", line + "\r\nx,y\r\n")).empty());
    std::vector<std::wstring> expected{L" - "};
    for (int k = 0; k < 56; ++k)
        expected.emplace_back(CPoiFromCsvWnd::ColumnLetter(k));
    for (auto& combo : view->m_columns)
        EXPECT_EQ(Items(combo), expected);
    EXPECT_EQ(expected.back(), L"BD");
    EXPECT_EQ(view->m_list.GetItemCount(), 2);
    EXPECT_EQ(Cell(0, 0), L"1");
    EXPECT_EQ(Cell(1, 0), L"2");
    EXPECT_EQ(Cell(0, 1), L"c0");
    EXPECT_EQ(Cell(0, 56), L"c55");
    EXPECT_EQ(Cell(1, 2), L"y");
    EXPECT_EQ(Cell(1, 3), L"");
    EXPECT_EQ(Cell(0, 57), L"<none>");
}

TEST_F(CsvView, StartRowsFollowTheRowCountUpToTen)
{
    Make(0);
    const struct {
        int rows, offered;
    } cases[] = {{3, 3}, {25, 10}, {1, 1}, {10, 10}, {11, 10}};
    for (const auto& c : cases) {
        std::string text;
        for (int i = 0; i < c.rows; ++i)
            text += "r" + std::to_string(i) + ",1\n";
        EXPECT_TRUE(Open(Write(L"rows.csv", text)).empty());
        EXPECT_EQ(Items(view->m_startRow), Numbers(c.offered)) << c.rows;
        EXPECT_EQ(view->m_startRow.GetCurSel(), 0);
        EXPECT_EQ(Items(view->m_columns[0]), (std::vector<std::wstring>{L" - ", L"A", L"B"}));
        EXPECT_EQ(view->m_list.GetItemCount(), c.rows);
    }
}

TEST_F(CsvView, OpenRemembersTheFileAndFolderAndAsksForACsvFile)
{
    Make(0);
    const std::wstring path = Write(L"places.csv", "a,b\n");
    Open(path);
    EXPECT_EQ(g_dialogCalls, 1);
    EXPECT_EQ(g_dialogKind, 2);
    EXPECT_TRUE(g_dialogOpen);
    EXPECT_EQ(g_proposed, L"last.csv");
    EXPECT_EQ(g_folder, L"C:\\before");
    EXPECT_EQ(std::wstring(theGlobal.m_piCsvFileSpec), L"places.csv");
    std::wstring folder = dir.Path();
    folder.pop_back();
    EXPECT_EQ(std::wstring(theGlobal.m_piCsvIniFolder), folder);
    EXPECT_EQ(::GetFocus(), view->m_list.m_hWnd);
}

TEST_F(CsvView, CancelInTheFileDialogChangesNothing)
{
    Make(0);
    Open(Write(L"first.csv", "a,b,c\n1,2,3\n"));
    view->m_startRow.SetCurSel(1);
    view->m_columns[2].SetCurSel(3);
    theGlobal.m_piCsvFileSpec = L"kept.csv";
    g_answer.clear();
    const std::vector<std::wstring> boxes = Command(ID_FILE_OPEN);
    EXPECT_EQ(g_dialogCalls, 2);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(std::wstring(theGlobal.m_piCsvFileSpec), L"kept.csv");
    EXPECT_EQ(theGlobal.m_docImportPoi.GetRowCount(), 2);
    EXPECT_EQ(view->m_startRow.GetCurSel(), 1);
    EXPECT_EQ(view->m_columns[2].GetCurSel(), 3);
    EXPECT_EQ(Cell(1, 3), L"3");
}

TEST_F(CsvView, UnreadableAndEmptyFilesAreReported)
{
    Make(0);
    const std::wstring missing = dir.File(L"missing.csv");
    EXPECT_EQ(Flat(Open(missing)), std::vector<std::wstring>{Ui(8)});
    EXPECT_EQ(std::wstring(theGlobal.m_piCsvFileSpec), L"missing.csv");
    EXPECT_EQ(theGlobal.m_docImportPoi.GetRowCount(), 0);

    EXPECT_EQ(Flat(Open(Write(L"empty.csv", ""))), std::vector<std::wstring>{Ui(24)});
    EXPECT_EQ(Flat(Open(Write(L"blank.csv", "\r\n\r\n"))), std::vector<std::wstring>{Ui(24)});
    EXPECT_EQ(std::wstring(theGlobal.m_piCsvFileSpec), L"blank.csv");
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
    // Nothing to convert.
    view->SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_FALSE(view->m_convert.IsWindowEnabled());
}

TEST_F(CsvView, TheDelimiterOptionIsReadAtEveryOpen)
{
    Make(0);
    const std::wstring path = Write(L"semi.csv", "name;lon;lat\r\nOslo;10,75;59,91\r\n");
    const struct {
        int option;
        int columns;
        const wchar_t* firstCell;
        const wchar_t* secondCell;
    } cases[] = {{3, 3, L"name", L"lon"}, {2, 3, L"name;lon;lat", L""}, {1, 1, L"name;lon;lat", L""},
                 {3, 3, L"Oslo", L"10,75"}};
    int row = 0;
    for (const auto& c : cases) {
        theGlobal.m_delimiter = c.option;
        Open(path);
        row = c.firstCell == std::wstring(L"Oslo") ? 1 : 0;
        EXPECT_EQ(Cell(row, 1), c.firstCell) << c.option;
        EXPECT_EQ(Cell(row, 2), c.secondCell) << c.option;
        EXPECT_EQ(Items(view->m_columns[0]).size(), static_cast<size_t>(c.columns + 1)) << c.option;
    }
}

TEST_F(CsvView, QuotesAccentsAndJapaneseAreReadRight)
{
    Make(0);
    const std::string utf8 = "\xEF\xBB\xBF"
                             "name,address,tel\r\n"
                             "\"Caf\xC3\xA9 \"\"Zur Post\"\"\",\"Stra\xC3\x9F" "e 1, Wien\",\"01 234\"\r\n"
                             "\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x82\xBF\xE3\x83\xAF\xE3\x83\xBC,\"two\r\nlines\",\r\n";
    EXPECT_TRUE(Open(Write(L"names.csv", utf8)).empty());
    EXPECT_EQ(view->m_list.GetItemCount(), 3);
    EXPECT_EQ(Cell(1, 1), L"Caf\u00e9 \"Zur Post\"");
    EXPECT_EQ(Cell(1, 2), L"Stra\u00dfe 1, Wien");
    EXPECT_EQ(Cell(1, 3), L"01 234");
    EXPECT_EQ(Cell(2, 1), L"\u6771\u4eac\u30bf\u30ef\u30fc");
    EXPECT_EQ(Cell(2, 2), L"two\r\nlines");
    // A UTF-16 file with a byte-order mark reads the same.
    const testsupport::Bytes wide = testsupport::Utf16Bytes(L"\u6771\u4eac,\u00e9t\u00e9\r\n");
    testsupport::WriteBytes(dir.File(L"wide.csv"), wide);
    Open(dir.File(L"wide.csv"));
    EXPECT_EQ(Cell(0, 1), L"\u6771\u4eac");
    EXPECT_EQ(Cell(0, 2), L"\u00e9t\u00e9");

    // Converted, the names keep their characters.
    Open(dir.File(L"names.csv"));
    Map(1, {0, 0, 1, 2, 3, 0});
    EXPECT_TRUE(Command(ID_CONVERT).empty());
    ASSERT_EQ(theGlobal.m_docPiCsv.GetRecordCount(), 2);
    DOCPI_RECORD r{};
    theGlobal.m_docPiCsv.GetRecord(0, &r);
    EXPECT_STREQ(r.name, L"Caf\u00e9 \"Zur Post\"");
    EXPECT_STREQ(r.address, L"Stra\u00dfe 1, Wien");
    // The unit shows no Japanese: one "?" per character, nothing torn.
    theGlobal.m_docPiCsv.GetRecord(1, &r);
    EXPECT_STREQ(r.name, L"?????");
}

TEST_F(CsvView, LongCellsAreCutTo128Characters)
{
    Make(0);
    Open(Write(L"long.csv", std::string(300, 'x') + ",short\n"));
    EXPECT_EQ(Cell(0, 1), std::wstring(128, L'x'));
    EXPECT_EQ(Cell(0, 2), L"short");
}

TEST_F(CsvView, ConvertMapsTheColumnsIntoPoisFromTheStartRow)
{
    Make(0);
    Open(Write(L"pois.csv", "Name,Lon,Lat,Addr,Tel,Note\r\n"
                            "Harbour,151.2093,-33.8688,1 Quay St,555 0100,Boats\r\n"
                            "Tower,139.7454,35.6586,Shiba,03 3433,Red\r\n"));
    Map(1, {2, 3, 1, 4, 5, 6});
    EXPECT_TRUE(Command(ID_CONVERT).empty());
    CDocPi& doc = theGlobal.m_docPiCsv;
    ASSERT_EQ(doc.GetRecordCount(), 2);
    const struct {
        const wchar_t *name, *address, *tel, *note;
        double lon, lat;
    } expected[] = {{L"Harbour", L"1 Quay St", L"555 0100", L"Boats", 151.2093, -33.8688},
                    {L"Tower", L"Shiba", L"03 3433", L"Red", 139.7454, 35.6586}};
    for (int i = 0; i < 2; ++i) {
        DOCPI_RECORD r{};
        ASSERT_TRUE(doc.GetRecord(i, &r));
        EXPECT_STREQ(r.name, expected[i].name);
        EXPECT_STREQ(r.address, expected[i].address);
        EXPECT_STREQ(r.telephone, expected[i].tel);
        EXPECT_STREQ(r.description, expected[i].note);
        EXPECT_NEAR(r.longitude, expected[i].lon, 1e-6);
        EXPECT_NEAR(r.latitude, expected[i].lat, 1e-6);
    }
    EXPECT_EQ(doc.IsModified(), 1);
    EXPECT_EQ(doc.m_defaultIcon, 1);
    EXPECT_EQ(SentCommands(), std::vector<UINT>{ID_POI_EDIT_CSV});
    // The rows stay for Back from the list.
    EXPECT_EQ(theGlobal.m_docImportPoi.GetRowCount(), 3);
    EXPECT_EQ(view->m_startRow.GetCurSel(), 1);
}

TEST_F(CsvView, MappingTableOfThePoiImport)
{
    Make(0);
    const struct {
        const char* text;
        int decimal, start;
        std::initializer_list<int> map;
        int records;
        const wchar_t* firstName;
        double lon, lat;  // of the first record; -255 unset
    } cases[] = {
        // Nothing mapped: one empty record per row from the start row, no position.
        {"a,1,2\nb,3,4\nc,5,6\n", 0, 0, {0, 0, 0, 0, 0, 0}, 3, L"", -255.0, -255.0},
        {"a,1,2\nb,3,4\nc,5,6\n", 0, 2, {0, 0, 0, 0, 0, 0}, 1, L"", -255.0, -255.0},
        // Only the longitude: no position.
        {"a,10.5,20.5\n", 0, 0, {2, 0, 1, 0, 0, 0}, 1, L"a", -255.0, -255.0},
        // Comma decimal with the Decimal option at comma.
        {"a;10,5;20,25\n", 1, 0, {2, 3, 1, 0, 0, 0}, 1, L"a", 10.5, 20.25},
        // Period decimal with the option at period.
        {"a;10.5;20.25\n", 2, 0, {2, 3, 1, 0, 0, 0}, 1, L"a", 10.5, 20.25},
        // Out of range: unset.
        {"a,190,20\n", 0, 0, {2, 3, 1, 0, 0, 0}, 1, L"a", -255.0, -255.0},
        // A column past the row's end gives an empty text.
        {"a,1\nb\n", 0, 1, {0, 0, 2, 0, 0, 0}, 1, L"", -255.0, -255.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        theGlobal.m_decimal = c.decimal;
        theGlobal.m_delimiter = strchr(c.text, ';') ? 3 : 2;
        Open(Write(L"map.csv", c.text));
        Map(c.start, c.map);
        main.Clear();
        EXPECT_TRUE(Command(ID_CONVERT).empty());
        CDocPi& doc = theGlobal.m_docPiCsv;
        ASSERT_EQ(doc.GetRecordCount(), c.records);
        DOCPI_RECORD r{};
        doc.GetRecord(0, &r);
        EXPECT_STREQ(r.name, c.firstName);
        EXPECT_STREQ(r.address, L"");
        EXPECT_NEAR(r.longitude, c.lon, 1e-9);
        EXPECT_NEAR(r.latitude, c.lat, 1e-9);
        EXPECT_EQ(doc.IsModified(), 1);
        EXPECT_EQ(SentCommands(), std::vector<UINT>{ID_POI_EDIT_CSV});
    }
}

TEST_F(CsvView, MoreThan2000RowsKeep2000RecordsAndTellWhy)
{
    Make(0);
    std::string text = "name,lon,lat\n";
    for (int i = 0; i < 2005; ++i)
        text += "p" + std::to_string(i) + ",1,2\n";
    Open(Write(L"many.csv", text));
    Map(1, {2, 3, 1});
    CString error;
    theGlobal.m_docPiCsv.SetErrorCode(PIERR_TOO_MANY);
    theGlobal.m_docPiCsv.GetErrorString(error);
    theGlobal.m_docPiCsv.SetErrorCode(0);
    ASSERT_FALSE(error.IsEmpty());
    EXPECT_EQ(Flat(Command(ID_CONVERT)), std::vector<std::wstring>{Flat(std::wstring(error))});
    ASSERT_EQ(theGlobal.m_docPiCsv.GetRecordCount(), 2000);
    DOCPI_RECORD r{};
    theGlobal.m_docPiCsv.GetRecord(1999, &r);
    EXPECT_STREQ(r.name, L"p1999");
    EXPECT_EQ(theGlobal.m_docPiCsv.IsModified(), 1);
    EXPECT_EQ(SentCommands(), std::vector<UINT>{ID_POI_EDIT_CSV});
}

TEST_F(CsvView, ConvertReplacesTheEarlierPois)
{
    Make(0);
    Open(Write(L"one.csv", "a\nb\nc\n"));
    Map(0, {0, 0, 1});
    Command(ID_CONVERT);
    Open(Write(L"two.csv", "x\n"));
    Map(0, {0, 0, 1});
    Command(ID_CONVERT);
    ASSERT_EQ(theGlobal.m_docPiCsv.GetRecordCount(), 1);
    DOCPI_RECORD r{};
    theGlobal.m_docPiCsv.GetRecord(0, &r);
    EXPECT_STREQ(r.name, L"x");
}

TEST_F(CsvView, AddressBookImportMapsFiveColumnsAndReturnsToTheBook)
{
    Make(1);
    Open(Write(L"ab.csv", "Name,Addr,Tel,Lon,Lat\r\n"
                          "Anna,1 Main St,555 1,-0.1276,51.5072\r\n"
                          ",Nowhere,,x,y\r\n"));
    Map(1, {4, 5, 1, 2, 3});
    EXPECT_TRUE(Command(ID_CONVERT).empty());
    CDocAb& book = theGlobal.m_docAb;
    EXPECT_EQ(book.GetEntryCount(), 2);
    EXPECT_EQ(book.IsModified(), 1);
    DOCAB_UI_RECORD e{};
    ASSERT_TRUE(book.GetEntry(0, &e));
    EXPECT_STREQ(e.name, L"Anna");
    EXPECT_STREQ(e.address, L"1 Main St");
    EXPECT_STREQ(e.phone, L"555 1");
    EXPECT_NEAR(e.longitude, -0.1276, 1e-6);
    EXPECT_NEAR(e.latitude, 51.5072, 1e-6);
    ASSERT_TRUE(book.GetEntry(1, &e));
    EXPECT_STREQ(e.name, L"Unnamed");
    EXPECT_STREQ(e.address, L"Nowhere");
    // The rows and the mapping are gone; the book's history is emptied before it is shown.
    EXPECT_EQ(theGlobal.m_docImportAb.GetRowCount(), 0);
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
    EXPECT_TRUE(AllReset());
    EXPECT_EQ(SentCommands(), (std::vector<UINT>{ID_DELETE_UNDOREDO, ID_ADDRESS_BOOK}));
}

TEST_F(CsvView, AddressBookImportNeverReadsTheDescriptionCombo)
{
    Make(1);
    Open(Write(L"ab.csv", "Anna,Desc\n"));
    Map(0, {0, 0, 1, 0, 0, 2});
    Command(ID_CONVERT);
    DOCAB_UI_RECORD e{};
    ASSERT_TRUE(theGlobal.m_docAb.GetEntry(0, &e));
    EXPECT_STREQ(e.name, L"Anna");
    EXPECT_STREQ(e.address, L"");
    EXPECT_STREQ(e.phone, L"");
    EXPECT_EQ(theGlobal.m_docPiCsv.GetRecordCount(), 0);
}

TEST_F(CsvView, OpenAddressBookWithoutOneTellsAndKeepsTheRows)
{
    CPoiFromCsvWnd::s_addressBookInstalled = realBook;  // the real check: Wine has no address book
    Make(1);
    Open(Write(L"ab.csv", "Anna,1 Main St\nBen,2 Main St\n"));
    view->m_columns[2].SetCurSel(1);
    EXPECT_EQ(Flat(Command(ID_OPEN_AB)), std::vector<std::wstring>{Ui(8)});
    EXPECT_EQ(theGlobal.m_docImportAb.GetRowCount(), 2);
    EXPECT_EQ(Cell(1, 1), L"Ben");
    EXPECT_EQ(view->m_columns[2].GetCurSel(), 1);
    CPoiFromCsvWnd::s_addressBookInstalled = &NoAddressBook;
    EXPECT_EQ(Flat(Command(ID_OPEN_AB)), std::vector<std::wstring>{Ui(8)});
    EXPECT_EQ(theGlobal.m_docImportAb.GetRowCount(), 2);
}

TEST_F(CsvView, AddressBookContactsAreShownAndMapped)
{
    CPoiFromCsvWnd::s_addressBookInstalled = &AddressBookThere;
    CPoiFromCsvWnd::s_readAddressBook = &TwoContacts;
    Make(1);
    EXPECT_TRUE(Command(ID_OPEN_AB).empty());
    EXPECT_EQ(theGlobal.m_docImportAb.GetRowCount(), 2);
    EXPECT_EQ(view->m_list.GetItemCount(), 2);
    EXPECT_EQ(Cell(0, 1), L"Anna \"Bee\"");
    EXPECT_EQ(Cell(0, 2), L"1 Main St, Leeds");
    EXPECT_EQ(Cell(0, 9), L"anna@example.org");
    EXPECT_EQ(Cell(1, 1), L"\u6771\u4eac");
    EXPECT_EQ(Items(view->m_startRow), Numbers(2));
    EXPECT_EQ(Items(view->m_columns[0]).size(), 10u);
    EXPECT_EQ(std::wstring(theGlobal.m_piCsvFileSpec), L"last.csv");  // no file involved
    Map(0, {0, 0, 1, 2, 3});
    Command(ID_CONVERT);
    DOCAB_UI_RECORD e{};
    ASSERT_TRUE(theGlobal.m_docAb.GetEntry(0, &e));
    EXPECT_STREQ(e.name, L"Anna \"Bee\"");
    EXPECT_STREQ(e.address, L"1 Main St, Leeds");
    EXPECT_EQ(theGlobal.m_docAb.GetEntryCount(), 2);
}

TEST_F(CsvView, AnAddressBookThatFailsHalfWayLeavesTheRows)
{
    CPoiFromCsvWnd::s_addressBookInstalled = &AddressBookThere;
    CPoiFromCsvWnd::s_readAddressBook = &BrokenBook;
    Make(1);
    Open(Write(L"ab.csv", "Anna,1 Main St\nBen,2 Main St\n"));
    EXPECT_EQ(Flat(Command(ID_OPEN_AB)), std::vector<std::wstring>{Ui(8)});
    EXPECT_EQ(theGlobal.m_docImportAb.GetRowCount(), 2);
    EXPECT_EQ(Cell(1, 1), L"Ben");
    EXPECT_EQ(Cell(0, 2), L"1 Main St");
}

TEST_F(CsvView, BackAndTopClearThePreviewAndLeave)
{
    const struct {
        int mode;
        UINT command;
        std::vector<UINT> sent;
    } cases[] = {
        {0, ID_BACK, {ID_MAIN_MENU}},
        {1, ID_BACK, {ID_ADDRESS_BOOK}},
        {0, ID_TOP, {ID_MENU_REFRESH, ID_MAIN_MENU}},
        {1, ID_TOP, {ID_MENU_REFRESH, ID_MAIN_MENU}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.command);
        Make(c.mode);
        Open(Write(L"rows.csv", "a,b\nc,d\n"));
        ASSERT_EQ(view->m_list.GetItemCount(), 2);
        view->m_columns[0].SetCurSel(2);
        main.Clear();
        EXPECT_TRUE(Command(c.command).empty());
        EXPECT_EQ(SentCommands(), c.sent);
        EXPECT_EQ(view->ImportDocument().GetRowCount(), 0);
        EXPECT_EQ(view->m_list.GetItemCount(), 0);
        EXPECT_TRUE(AllReset());
        view.reset();
    }
}

TEST_F(CsvView, ConvertIsEnabledOnlyWithRows)
{
    Make(0);
    view->SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_FALSE(view->m_convert.IsWindowEnabled());
    EXPECT_TRUE(view->m_open.IsWindowEnabled());
    Open(Write(L"one.csv", "a\n"));
    view->SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_TRUE(view->m_convert.IsWindowEnabled());
    Command(ID_BACK);
    view->SendMessage(WM_USER_IDLE, 0, 0);
    EXPECT_FALSE(view->m_convert.IsWindowEnabled());
    // Without rows the command does nothing even when it arrives.
    main.Clear();
    Command(ID_CONVERT);
    EXPECT_TRUE(SentCommands().empty());
}

TEST_F(CsvView, AHiddenViewLeavesTheCommandsToTheShownPage)
{
    Make(0);
    Open(Write(L"rows.csv", "a,b\n"));
    view->ShowWindow(SW_HIDE);
    main.Clear();
    const int calls = g_dialogCalls;
    CCmdUIProbe probe;
    probe.m_nID = ID_FILE_OPEN;
    EXPECT_FALSE(view->OnCmdMsg(ID_FILE_OPEN, CN_UPDATE_COMMAND_UI, &probe, nullptr));
    probe.m_nID = ID_CONVERT;
    EXPECT_FALSE(view->OnCmdMsg(ID_CONVERT, CN_UPDATE_COMMAND_UI, &probe, nullptr));
    for (UINT id : {ID_FILE_OPEN, ID_CONVERT, ID_BACK, ID_TOP, ID_OPEN_AB})
        view->SendMessage(WM_COMMAND, id, 0);
    EXPECT_EQ(g_dialogCalls, calls);
    EXPECT_TRUE(SentCommands().empty());
    EXPECT_EQ(theGlobal.m_docImportPoi.GetRowCount(), 1);
    EXPECT_EQ(theGlobal.m_docPiCsv.GetRecordCount(), 0);
    // Shown again, it answers.
    view->ShowWindow(SW_SHOW);
    probe.m_nID = ID_CONVERT;
    EXPECT_TRUE(view->OnCmdMsg(ID_CONVERT, CN_UPDATE_COMMAND_UI, &probe, nullptr));
    EXPECT_TRUE(probe.m_enabled);
}

TEST_F(CsvView, ShowingTheViewOverNoRowsResetsTheCombos)
{
    Make(0);
    Open(Write(L"rows.csv", "a,b\nc,d\n"));
    view->m_columns[1].SetCurSel(2);
    view->ShowWindow(SW_HIDE);
    view->ShowWindow(SW_SHOW);
    EXPECT_EQ(view->m_columns[1].GetCurSel(), 2);  // rows present: kept
    view->ShowWindow(SW_HIDE);
    theGlobal.m_docImportPoi.m_table.RemoveAll();
    view->ShowWindow(SW_SHOW);
    EXPECT_TRUE(AllReset());
}

TEST_F(CsvView, AClickOnThePageTakesTheFocus)
{
    Make(0);
    Open(Write(L"rows.csv", "a\n"));
    ASSERT_EQ(::GetFocus(), view->m_list.m_hWnd);
    skintest::Mouse(view->m_hWnd, WM_LBUTTONDOWN, 300, 650, MK_LBUTTON);
    skintest::Mouse(view->m_hWnd, WM_LBUTTONUP, 300, 650);
    EXPECT_EQ(::GetFocus(), view->m_hWnd);
}

TEST_F(CsvView, RefreshSizesThePreviewToTheDocument)
{
    Make(0);
    theGlobal.m_docImportPoi.m_table.SetDelimiter(L',');
    for (int i = 0; i < 40; ++i)
        theGlobal.m_docImportPoi.m_table.AddRow(L"x,y");
    theGlobal.UpdateAllViews();
    EXPECT_EQ(view->m_list.GetItemCount(), 40);
    EXPECT_EQ(Cell(39, 0), L"40");
    EXPECT_EQ(Cell(39, 2), L"y");
    theGlobal.m_docImportPoi.m_table.RemoveAll();
    theGlobal.UpdateAllViews();
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
}

TEST_F(CsvView, ScreenshotWithALoadedFile)
{
    Make(0);
    std::string text = "\xEF\xBB\xBFName,Longitude,Latitude,Address,Telephone,Note\r\n";
    for (int i = 0; i < 30; ++i)
        text += "Place " + std::to_string(i) + ",151." + std::to_string(1000 + i) + ",-33.86,\"" +
                std::to_string(i) + " Quay St, Sydney\",555 01" + std::to_string(i) + ",Caf\xC3\xA9\r\n";
    Open(Write(L"shot.csv", text));
    Map(1, {2, 3, 1, 4, 5, 6});
    view->SendMessage(WM_USER_IDLE, 0, 0);
    skintest::Settle(main.m_hWnd);
    EXPECT_TRUE(SaveShot(main.m_hWnd, L"poi_csv_view"));
    Make(1);
    Open(Write(L"shot.csv", text));
    view->SendMessage(WM_USER_IDLE, 0, 0);
    skintest::Settle(main.m_hWnd);
    EXPECT_TRUE(SaveShot(main.m_hWnd, L"poi_csv_view_address_book"));
}

// The views in the program's main window: commands come through its route,
// which offers them to every view, the shown one first.
class CsvViewInMainWindow : public CsvView {
protected:
    void SetUp() override
    {
        CsvView::SetUp();
        main.DestroyWindow();
        ForgetViews();
        theGlobal.m_windowRect = {0, 0, 0, 0};
        frame = OpenMainWindow(app);
        ASSERT_NE(frame, nullptr);
        hwnd = frame->GetSafeHwnd();
        PumpPending();
    }
    void TearDown() override
    {
        CloseMainWindow(app, hwnd);
        CsvView::TearDown();
    }
    // As a button or a key posts it, then what it leads to.
    std::vector<std::wstring> Post(UINT id)
    {
        ScriptedAnswers boxes({});
        ::PostMessageW(hwnd, WM_COMMAND, id, 0);
        PumpPending();
        PumpPending();
        return boxes.asked;
    }
    CPoiFromCsvWnd* View(int index) { return dynamic_cast<CPoiFromCsvWnd*>(frame->m_body.GetView(index)); }
    CMainWnd* frame = nullptr;
    HWND hwnd = nullptr;
};

TEST_F(CsvViewInMainWindow, TheBodyMakesBothImportPagesWithTheirModes)
{
    ASSERT_NE(View(1), nullptr);
    ASSERT_NE(View(9), nullptr);
    EXPECT_EQ(View(1)->m_mode, 0);
    EXPECT_EQ(View(9)->m_mode, 1);
    EXPECT_EQ(&View(1)->ImportDocument(), &theGlobal.m_docImportPoi);
    EXPECT_EQ(&View(9)->ImportDocument(), &theGlobal.m_docImportAb);
}

TEST_F(CsvViewInMainWindow, OpenAndConvertReachOnlyTheShownPage)
{
    g_answer = Write(L"pois.csv", "Name,Lon,Lat\nHarbour,151.2,-33.8\nTower,139.7,35.6\n");
    // On the start menu the open key reaches no hidden import page.
    Post(ID_FILE_OPEN);
    EXPECT_EQ(g_dialogCalls, 0);
    Post(ID_POI_FROM_CSV);
    ASSERT_EQ(theGlobal.m_viewKind, 1);
    EXPECT_TRUE(Post(ID_FILE_OPEN).empty());
    EXPECT_EQ(g_dialogCalls, 1);
    EXPECT_EQ(theGlobal.m_docImportPoi.GetRowCount(), 3);
    EXPECT_EQ(theGlobal.m_docImportAb.GetRowCount(), 0);
    EXPECT_EQ(View(1)->m_list.GetItemCount(), 3);
    View(1)->m_startRow.SetCurSel(1);
    View(1)->m_columns[0].SetCurSel(2);
    View(1)->m_columns[1].SetCurSel(3);
    View(1)->m_columns[2].SetCurSel(1);
    Post(ID_CONVERT);
    EXPECT_EQ(theGlobal.m_docPiCsv.GetRecordCount(), 2);
    EXPECT_EQ(theGlobal.m_viewKind, 2);  // the CSV POI list
    // From another page neither open nor convert reaches the import page.
    Post(ID_FILE_OPEN);
    EXPECT_EQ(g_dialogCalls, 1);
    theGlobal.m_docPiCsv.ResetDocument();
    Post(ID_CONVERT);
    EXPECT_EQ(theGlobal.m_docPiCsv.GetRecordCount(), 0);
    // The address-book import page opens into its own document.
    Post(ID_ADDRESS_BOOK_IMPORT);
    ASSERT_EQ(theGlobal.m_viewKind, 9);
    Post(ID_FILE_OPEN);
    EXPECT_EQ(g_dialogCalls, 2);
    EXPECT_EQ(theGlobal.m_docImportAb.GetRowCount(), 3);
    EXPECT_EQ(View(9)->m_list.GetItemCount(), 3);
    // Back from it returns to the address book and empties only its own rows.
    Post(ID_BACK);
    EXPECT_EQ(theGlobal.m_viewKind, 8);
    EXPECT_EQ(theGlobal.m_docImportAb.GetRowCount(), 0);
    EXPECT_EQ(theGlobal.m_docImportPoi.GetRowCount(), 3);
}

TEST_F(CsvViewInMainWindow, BackFromTheCsvPageClearsItAndShowsTheStartMenu)
{
    g_answer = Write(L"pois.csv", "a,b\n");
    Post(ID_POI_FROM_CSV);
    Post(ID_FILE_OPEN);
    ASSERT_EQ(theGlobal.m_docImportPoi.GetRowCount(), 1);
    Post(ID_BACK);
    EXPECT_EQ(theGlobal.m_viewKind, 0);
    EXPECT_EQ(theGlobal.m_docImportPoi.GetRowCount(), 0);
    Post(ID_POI_FROM_CSV);
    Post(ID_FILE_OPEN);
    Post(ID_TOP);
    EXPECT_EQ(theGlobal.m_viewKind, 0);
    EXPECT_EQ(theGlobal.m_menuCategory, 0);
    EXPECT_EQ(theGlobal.m_docImportPoi.GetRowCount(), 0);
}

}  // namespace
