// The address book as a user walks it: the real Mirovale.exe under Wine,
// driven with real mouse and keyboard input from the start menu through the
// import of a CSV file, edits in the cells and in the dialog, undo and redo,
// an added entry, a sort read back row by row, the leave question, and the
// export to the card drive R:, whose POINTREG.L00 is then read back field by field.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "SkinTestFixture.h"
#include "TestFiles.h"
#include "res/device_ids.h"
#include "res/dialog_ids.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/poi/PoiFromCsvWnd.h"

using namespace testsupport;

namespace {

// The card file as the unit reads it: a 60-byte header, ten special records
// (the home first), then 399 entries of 492 bytes.
constexpr size_t kHeader = 60, kRecord = 492, kRecords = 10 + 399;

struct CardEntry {
    short number;
    LONG longitude, latitude;
    DWORD category;
    std::wstring name, phone, address;
};

std::wstring Text(const std::string& bytes, size_t at, size_t lengthAt, size_t capacity)
{
    DWORD length = 0;
    memcpy(&length, bytes.data() + lengthAt, 4);
    if (length > capacity)
        return L"<bad length>";
    std::wstring text(length, L'\0');
    memcpy(text.data(), bytes.data() + at, length * 2);
    return text;
}

CardEntry ReadRecord(const std::string& bytes, size_t index)
{
    const size_t at = kHeader + index * kRecord;
    CardEntry e{};
    memcpy(&e.number, bytes.data() + at, 2);
    memcpy(&e.longitude, bytes.data() + at + 4, 4);
    memcpy(&e.latitude, bytes.data() + at + 8, 4);
    memcpy(&e.category, bytes.data() + at + 12, 4);
    e.name = Text(bytes, at + 48, at + 44, 17);
    e.phone = Text(bytes, at + 188, at + 184, 15);
    e.address = Text(bytes, at + 404, at + 400, 35);
    return e;
}

HWND Page(HWND main, const wchar_t* name) { return FindDescendant(main, name); }

std::wstring MessageText(HWND box)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(Shown(box, IDC_MSG_TEXT), text, 512);
    // The box wraps its text: one blank between words, none at the ends.
    std::wstring t;
    for (const wchar_t* c = text; *c; ++c) {
        const bool blank = *c == L' ' || *c == L'\n' || *c == L'\r';
        if (!blank)
            t += *c;
        else if (!t.empty() && t.back() != L' ')
            t += L' ';
    }
    while (!t.empty() && t.back() == L' ')
        t.pop_back();
    return t;
}

// Replaces the text of a dialog's edit field as a user does.
void Retype(HWND dialog, int id, const std::wstring& text)
{
    RealClick(Shown(dialog, id));
    PressKey(VK_HOME);
    PressKey(VK_END, false, true);
    TypeText(text);
}

// Cells of the address-book list: rows 36 pixels below a 24-pixel heading;
// columns icon 70, position 88, name 155, address 270, telephone 170.
struct ListGeometry {
    RECT r;
    POINT Cell(int row, int column) const
    {
        const int centres[5] = {35, 70 + 44, 158 + 77, 313 + 135, 583 + 85};
        return POINT{r.left + centres[column], r.top + 43 + 36 * row};
    }
    POINT Heading(int column) const { return POINT{Cell(0, column).x, r.top + 12}; }
};

void ClickCell(const ListGeometry& g, int row, int column)
{
    const POINT p = g.Cell(row, column);
    RealClickAt(p.x, p.y);
}

// The name a row shows, as the edit dialog opened on it reads it (the list
// paints its cells itself); the click on the position column opens no editor.
std::wstring NameOfRow(ProgramRun& run, HWND book, const ListGeometry& g, int row)
{
    ClickCell(g, row, 1);
    RealClick(::GetDlgItem(book, ID_EDIT));
    HWND edit = WaitDialog(run, IDC_POI_NAME);
    if (!edit)
        return L"<no dialog>";
    wchar_t name[65] = {};
    // An edit of another process answers only WM_GETTEXT itself.
    ::SendMessageW(Shown(edit, IDC_POI_NAME), WM_GETTEXT, 65, reinterpret_cast<LPARAM>(name));
    RealClick(Shown(edit, IDCANCEL));
    return WaitGone(edit) ? name : L"<still open>";
}

// Opens the address book from the start menu.
HWND OpenBook(HWND main)
{
    return OpenFromStartMenu(main, ID_CATEGORY_TOOLS, ID_ADDRESS_BOOK, L"AddressBookEdit");
}

}  // namespace

TEST(AbRoad, ImportEditUndoExportAndReadTheCardBack)
{
    ClearCard();
    TempDir dir;
    const std::wstring csvPath = dir.File(L"friends.csv");
    WriteBytes(csvPath, "Name,Address,Phone\r\n"
                        "Ada Lovelace,12 Analytical St,555-0101\r\n"
                        "Grace Hopper,7 Compiler Ave,555-0102\r\n"
                        "Alan Turing,1 Enigma Rd,555-0103\r\n");

    ProgramRun run;
    HWND main = run.StartWith(kReadyIni);
    ASSERT_NE(main, nullptr);

    HWND book = OpenBook(main);
    ASSERT_NE(book, nullptr);
    Shot(main, L"ab_1_empty_book");
    HWND list = ::GetDlgItem(book, IDC_AB_LIST);
    ASSERT_NE(list, nullptr);
    ListGeometry g{};
    ::GetWindowRect(list, &g.r);

    // Import: the Windows address book is not there under this system; then a CSV file.
    RealClick(::GetDlgItem(book, ID_IMPORT));
    ASSERT_TRUE(WaitPage(main, L"AddressBookImport"));
    HWND import = Page(main, L"AddressBookImport");
    RealClick(::GetDlgItem(import, ID_OPEN_AB));
    HWND noWab = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(noWab, nullptr);
    EXPECT_EQ(MessageText(noWab), L"The file cannot be read or is not in a known format.");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(noWab));
    RealClick(::GetDlgItem(import, ID_FILE_OPEN));
    HWND fileDialog = WaitFileDialog(run);
    ASSERT_NE(fileDialog, nullptr);
    TypeText(csvPath);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(fileDialog));
    PumpFor(500);
    const struct {
        int id, item;
    } mapping[] = {{IDC_CSV_START_ROW, 1}, {IDC_CSV_NAME, 1}, {IDC_CSV_ADDRESS, 2}, {IDC_CSV_TELEPHONE, 3}};
    for (const auto& m : mapping)
        PickComboItem(::GetDlgItem(import, m.id), m.item);
    Shot(main, L"ab_2_import_mapped");
    RealClick(::GetDlgItem(import, ID_CONVERT));
    ASSERT_TRUE(WaitPage(main, L"AddressBookEdit"));
    Shot(main, L"ab_3_imported");

    // A name typed into Grace's cell, a telephone into the home entry's.
    ClickCell(g, 2, 2);
    TypeText(L"Adm Grace Hopper");
    PressKey(VK_RETURN);
    ClickCell(g, 0, 4);
    TypeText(L"555-0000");
    Shot(main, L"ab_4_cell_edit");
    PressKey(VK_RETURN);

    // Alan's entry through the edit dialog.
    ClickCell(g, 3, 2);
    RealClick(::GetDlgItem(book, ID_EDIT));
    HWND edit = WaitDialog(run, IDC_POI_NAME);
    ASSERT_NE(edit, nullptr);
    Retype(edit, IDC_POI_NAME, L"Alan M Turing");
    Shot(edit, L"ab_5_edit_dialog");
    RealClick(Shown(edit, IDOK));
    ASSERT_TRUE(WaitGone(edit));
    Shot(main, L"ab_6_edited");

    // Undo the dialog's and the home's edits, redo the home's.
    ClickCell(g, 1, 3);
    PressKey('Z', true);
    PressKey('Z', true);
    Shot(main, L"ab_7_undone");
    PressKey('Y', true);
    Shot(main, L"ab_8_redone");

    // A new entry from the context menu's first item, "Add" (the click on the
    // position column opens no editor).
    const POINT p = g.Cell(1, 1);
    RealClickAt(p.x, p.y);
    INPUT right[2] = {};
    right[0].type = right[1].type = INPUT_MOUSE;
    right[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    right[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ::SendInput(2, right, sizeof(INPUT));
    // The menu is a top-level popup of the program at the pointer; its first
    // item is at its top.
    HWND popup = nullptr;
    const DWORD menuStart = ::GetTickCount();
    while (!popup && ::GetTickCount() - menuStart < 10000) {
        for (HWND w : run.TopWindows())
            if (::IsWindowVisible(w) && (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
                popup = w;
        PumpFor(50);
    }
    ASSERT_NE(popup, nullptr);
    PumpFor(500);
    Shot(main, L"ab_9_context_menu");
    RECT mr;
    ::GetWindowRect(popup, &mr);
    RealClickAt(mr.left + 30, mr.top + 10);
    HWND add = WaitDialog(run, IDC_POI_NAME);
    ASSERT_NE(add, nullptr);
    Retype(add, IDC_POI_NAME, L"Charles Babbage");
    Retype(add, IDC_POI_ADDRESS, L"Difference Engine Ln");
    Retype(add, IDC_POI_TELEPHONE, L"555-0104");
    RealClick(Shown(add, IDOK));
    ASSERT_TRUE(WaitGone(add));

    // Sorted by name, then the other way round (ascending is the entry order):
    // the rows below the home follow, the card keeps its entry order all the same.
    const POINT heading = g.Heading(2);
    RealClickAt(heading.x, heading.y);
    PumpFor(800);  // two clicks, not a double click
    RealClickAt(heading.x, heading.y);
    Shot(main, L"ab_10_sorted");
    std::vector<std::wstring> rows;
    for (int row = 0; row <= 4; ++row)
        rows.push_back(NameOfRow(run, book, g, row));
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"Unnamed", L"Charles Babbage", L"Alan Turing", L"Adm Grace Hopper",
                                               L"Ada Lovelace"}));

    // Back asks before the changes are dropped; Cancel stays.
    RealClick(PaneControl(main, ID_BACK));
    HWND ask = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(MessageText(ask), L"Do you want to save your changes?");
    Shot(ask, L"ab_11_leave_question");
    RealClick(Shown(ask, IDC_MSG_BUTTON_RIGHT));  // Cancel
    ASSERT_TRUE(WaitGone(ask));
    EXPECT_EQ(ShownPage(main), L"AddressBookEdit");

    // Export through the drive chooser.
    RealClick(::GetDlgItem(book, ID_EXPORT));
    HWND chooser = PickCard(run, IDC_REMOVABLE_LIST);
    ASSERT_NE(chooser, nullptr);
    Shot(chooser, L"ab_12_chooser");
    RealClick(Shown(chooser, IDOK));
    ASSERT_TRUE(WaitGone(chooser));
    HWND done = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(done, nullptr);
    EXPECT_NE(MessageText(done).find(L"written successfully"), std::wstring::npos) << MessageText(done);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitGone(done));

    // The card holds exactly the one file, with what was typed.
    EXPECT_EQ(ListFolder(CardRoot()), std::vector<std::wstring>{L"PC"});
    const std::wstring cardFile = CardRoot() + L"PC\\POINT\\TONAVI\\POINTREG.L00";
    const Bytes raw = ReadBytes(cardFile);
    const std::string bytes(raw.begin(), raw.end());
    ASSERT_EQ(bytes.size(), kHeader + kRecords * kRecord);
    const CardEntry home = ReadRecord(bytes, 0);
    EXPECT_EQ(home.number, 0);
    EXPECT_EQ(home.name, L"Unnamed");
    EXPECT_EQ(home.phone, L"555-0000");
    struct Expected {
        const wchar_t *name, *address, *phone;
    } const expected[] = {{L"Ada Lovelace", L"12 Analytical St", L"555-0101"},
                          {L"Adm Grace Hopper", L"7 Compiler Ave", L"555-0102"},
                          {L"Alan Turing", L"1 Enigma Rd", L"555-0103"},
                          {L"Charles Babbage", L"Difference Engine Ln", L"555-0104"}};
    for (size_t i = 0; i < 4; ++i) {
        const CardEntry e = ReadRecord(bytes, 10 + i);
        SCOPED_TRACE(i);
        EXPECT_EQ(e.number, static_cast<short>(10 + i));
        EXPECT_EQ(e.name, expected[i].name);
        EXPECT_EQ(e.address, expected[i].address);
        EXPECT_EQ(e.phone, expected[i].phone);
        EXPECT_EQ(e.category, 0x41020000u);
        EXPECT_EQ(e.longitude, 0x7FFFFFFF);
        EXPECT_EQ(e.latitude, 0x7FFFFFFF);
    }
    for (size_t i = 14; i < kRecords; ++i)
        ASSERT_EQ(ReadRecord(bytes, i).number, -1) << "record " << i << " is free";

    // Exported: Back leaves without a question, and the book is empty next time.
    RealClick(PaneControl(main, ID_BACK));
    ASSERT_TRUE(WaitPage(main, L"MainMenu"));
    book = OpenBook(main);
    ASSERT_NE(book, nullptr);
    Shot(main, L"ab_13_empty_again");
    EXPECT_EQ(run.Quit(main), 0u);
}

// A change to the home entry alone is a change: Back and quitting ask about it.
TEST(AbRoad, AnEditedHomeEntryIsAskedAboutBeforeLeaving)
{
    ClearCard();
    ProgramRun run;
    HWND main = run.StartWith(kReadyIni);
    ASSERT_NE(main, nullptr);
    HWND book = OpenBook(main);
    ASSERT_NE(book, nullptr);
    ListGeometry g{};
    ::GetWindowRect(::GetDlgItem(book, IDC_AB_LIST), &g.r);

    ClickCell(g, 0, 2);
    TypeText(L"My Home");
    PressKey(VK_RETURN);
    // Undone, the book still differs from anything saved: it still asks.
    PressKey('Z', true);
    PressKey('Y', true);
    RealClick(PaneControl(main, ID_TOP));
    HWND ask = WaitDialog(run, IDC_MSG_TEXT);
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(MessageText(ask), L"Do you want to save your changes?");
    RealClick(Shown(ask, IDC_MSG_BUTTON_MIDDLE));  // No
    ASSERT_TRUE(WaitGone(ask));
    ASSERT_TRUE(WaitPage(main, L"MainMenu"));

    // Dropped: the home entry is "Unnamed" again and nothing is asked.
    book = OpenBook(main);
    ASSERT_NE(book, nullptr);
    Shot(main, L"ab_14_home_dropped");
    RealClick(PaneControl(main, ID_BACK));
    ASSERT_TRUE(WaitPage(main, L"MainMenu"));
    EXPECT_TRUE(run.TopWindows(L"#32770").empty() || !::IsWindowVisible(run.TopWindows(L"#32770")[0]));
    EXPECT_EQ(run.Quit(main), 0u);
}
