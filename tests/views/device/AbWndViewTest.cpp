// The address-book view in a test window with the real skin pack and the
// shipped strings, over the program's address-book document: which commands
// the selection and the focus allow, the layout with and without the map
// button, in-place edits over several rows, deleting around the current row,
// and the column widths kept when the view goes.
#include <windows.h>

#include <map>
#include <string>

#include "DialogDriver.h"
#include "ScriptedAnswers.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "core/NaviModelData.h"
#include "res/device_ids.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "core/RegisteredMessages.h"
#include "frame/RemovableDlg.h"
#include "views/device/AbWnd.h"
#include "views/poi/PoiSendToCarDlg.h"

using namespace dlgtest;

namespace {

DOCAB_UI_RECORD Entry(const std::wstring& name)
{
    DOCAB_UI_RECORD r{};
    wcsncpy(r.name, name.c_str(), 64);
    r.longitude = r.latitude = AB_NO_POSITION;
    return r;
}

std::wstring Ui(int n) { return std::wstring(theGlobal.UiString(n)); }

// What the file dialog answers: a path, or Cancel when empty.
std::wstring g_filePath;
int g_fileCalls = 0;
BOOL AnswerFile(HWND, const wchar_t*, int kind, BOOL, wchar_t* path)
{
    ++g_fileCalls;
    if (kind != 5 || g_filePath.empty())
        return FALSE;
    lstrcpynW(path, g_filePath.c_str(), MAX_PATH);
    return TRUE;
}

// The entries' names in the card file's order, its home first.
std::vector<std::wstring> NamesInFile(const std::wstring& path)
{
    const testsupport::Bytes bytes = testsupport::ReadBytes(path);
    std::vector<std::wstring> names;
    if (bytes.size() != AB_FILE_SIZE)
        return names;
    for (size_t i = 0; i < AB_SPECIAL_COUNT + AB_ENTRY_COUNT; ++i) {
        AB_FILE_RECORD r{};
        memcpy(&r, bytes.data() + AB_FILE_HEADER + i * sizeof r, sizeof r);
        if (r.number != -1 && r.nameLength <= 17)
            names.push_back(std::wstring(r.name, r.nameLength));
    }
    return names;
}

class AbView : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        InitCharClassTable();
        savedGroup = theGlobal.m_naviModel.m_modelGroup;
        savedRegion = theGlobal.m_naviModel.m_region;
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
        theGlobal.m_abColumns.RemoveAll();
        theGlobal.m_viewKind = 8;
        theGlobal.m_modelType = 5;
        theGlobal.m_views.RemoveAll();
        book().InitErrorStrings();
        book().ClearAll();
        book().InitHome();
        book().SetModified(0);
        main.MoveWindow(0, 0, 1010, 740);
        savedDialog = CAbWnd::s_fileDialog;
        CAbWnd::s_fileDialog = AnswerFile;
        g_filePath.clear();
        g_fileCalls = 0;
    }
    void Open(int entries, int region = REGION_US)
    {
        theGlobal.m_naviModel.m_region = region;
        ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700),
                                &main, 0xFFFF));
        for (int i = 0; i < entries; ++i)
            book().AddEntry(Entry(L"Friend " + std::to_wstring(i + 1)));
        book().SetModified(0);
        view.RefreshList();
        PumpPending();
    }
    void TearDown() override
    {
        if (view.m_hWnd)
            view.DestroyWindow();
        book().ClearAll();
        book().InitHome();
        book().SetModified(0);
        theGlobal.m_naviModel.m_modelGroup = savedGroup;
        theGlobal.m_naviModel.m_region = savedRegion;
        CAbWnd::s_fileDialog = savedDialog;
        DialogTest::TearDown();
    }
    static CDocAb& book() { return theGlobal.m_docAb; }
    void Select(std::initializer_list<int> rows) { SelectRows(view.m_list, rows); }
    bool Enabled(UINT id) { return CommandEnabled(view, id); }
    // Whether the view's update handler decides about a command at all.
    bool Decides(UINT id)
    {
        CCmdUIProbe probe;
        probe.m_nID = id;
        probe.DoUpdate(&view, FALSE);
        return probe.m_set != FALSE;
    }
    std::wstring Name(int row)
    {
        DOCAB_UI_RECORD rec{};
        return view.RecordOfRow(row, rec) ? rec.name : L"<none>";
    }
    CRect Place(CWnd& child)
    {
        CRect r;
        child.GetWindowRect(&r);
        view.ScreenToClient(&r);
        return r;
    }
    CAbWnd view;
    int savedGroup = 0, savedRegion = 0;
    CAbWnd::FileDialogFn savedDialog = nullptr;
};

TEST_F(AbView, TheSelectionAndTheFocusDecideTheEditCommands)
{
    const struct {
        int entries;
        std::initializer_list<int> rows;
        bool focus, clipboard;
        bool copy, del, paste, all;
    } cases[] = {
        {0, {0}, true, false, false, false, false, false},  // an empty book: the home row only
        {3, {0}, true, true, false, false, false, true},    // the home row is never copied, deleted or pasted on
        {3, {0, 2}, true, true, false, false, false, true},
        {3, {2}, true, false, true, true, false, true},     // no clipboard record: nothing to paste
        {3, {2}, true, true, true, true, true, true},
        {3, {1, 3}, true, true, false, true, true, true},   // copy takes one row
        {3, {2}, false, true, false, false, false, false},  // the focus elsewhere: none of them
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.entries << " entries, first row " << *c.rows.begin());
        Open(c.entries);
        ASSERT_EQ(view.m_list.GetItemCount(), c.entries + 1);
        EXPECT_EQ(Name(0), L"Unnamed");
        view.m_clipboard.RemoveAll();
        if (c.clipboard)
            view.m_clipboard.Add(Entry(L"Copied"));
        Select(c.rows);
        if (!c.focus)
            main.SetFocus();
        EXPECT_EQ(Enabled(ID_EDIT_COPY), c.copy);
        EXPECT_EQ(Enabled(ID_EDIT_CUT), c.copy);
        EXPECT_EQ(Enabled(ID_DELETE), c.del);
        EXPECT_EQ(Enabled(ID_EDIT_PASTE), c.paste);
        EXPECT_EQ(Enabled(ID_EDIT_SELECT_ALL), c.all);
        // A hidden view decides none of them and does nothing with them.
        theGlobal.m_viewKind = 2;
        for (UINT id : {ID_EDIT_COPY, ID_DELETE, ID_EDIT_UNDO, ID_ADD, ID_BACK, ID_TOP, ID_FILE_OPEN, ID_EXPORT})
            EXPECT_FALSE(Decides(id)) << id;
        view.SendMessage(WM_COMMAND, ID_DELETE, 0);
        EXPECT_EQ(view.m_list.GetItemCount(), c.entries + 1);
        theGlobal.m_viewKind = 8;
        view.DestroyWindow();
        book().ClearAll();
        book().InitHome();
    }
}

TEST_F(AbView, ButtonsWithAndWithoutTheMapButton)
{
    const struct {
        int region;
        bool map;
        int editTop;
    } cases[] = {{REGION_US, true, 380}, {REGION_BR, false, 290}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.region);
        Open(2, c.region);
        EXPECT_EQ(view.m_btnGoogle.IsWindowVisible() != FALSE, c.map);
        EXPECT_FALSE(view.m_btnIcon.IsWindowVisible());
        CRect client;
        view.GetClientRect(&client);
        EXPECT_EQ(Place(view.m_btnEdit), CRect(client.right - 6 - 192, c.editTop, client.right - 6, c.editTop + 48));
        EXPECT_EQ(Place(view.m_btnOpen).top, 110);
        EXPECT_EQ(Place(view.m_btnImport).top, 200);
        EXPECT_EQ(Place(view.m_btnExport), CRect(client.right - 6 - 192, client.bottom - 50, client.right - 6,
                                                 client.bottom + -2));
        EXPECT_EQ(Place(view.m_list), CRect(7, 21, client.right - 192 - 28, client.bottom - 92));
        // The map look-up has no map page to look on yet: its button stays off.
        Select({1});
        EXPECT_FALSE(Enabled(ID_GOOGLE));
        EXPECT_TRUE(Enabled(ID_EDIT));
        SaveShot(view.m_hWnd, c.map ? L"ab_view" : L"ab_view_br");
        view.DestroyWindow();
        book().ClearAll();
        book().InitHome();
    }
}

// A position placed from the map through the real look-up dialog: the entry
// keeps the map's flag, shows its picture, and its texts stay as they were,
// also after an undo and a redo.
TEST_F(AbView, APositionPlacedFromTheMapLocksTheEntrysTexts)
{
    const CAbWnd::MapLookupFn savedLookup = CAbWnd::s_mapLookup;
    CAbWnd::s_mapLookup = LookUpEntryPosition;
    Open(2);
    Select({2});
    ScriptedAnswers boxes({{Ui(112), IDOK}}, ScriptedAnswers::GivenText);
    RunModal(
        [&] {
            view.SendMessage(WM_COMMAND, ID_GOOGLE, 0);
            return INT_PTR{0};
        },
        [&](CCustomDialog& d) {
            DOCPI_RECORD place{};
            wcscpy(place.name, L"Sent");
            place.longitude = 139.5;
            place.latitude = 35.25;
            theGlobal.m_docPiReceived.ResetDocument();
            theGlobal.m_docPiReceived.AddRecord(place);
            ::SendMessageW(theGlobal.m_hMapDlg, WM_ADD_GOOGLE_DATA, 0, 0);
            d.SendMessage(WM_COMMAND, IDOK, 0);
        });
    CAbWnd::s_mapLookup = savedLookup;
    auto image = [&](int row) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        item.iSubItem = CAbWnd::ColPosition;
        view.m_list.GetItem(&item);
        return item.iImage;
    };
    auto placed = [&] {
        DOCAB_UI_RECORD rec{};
        EXPECT_TRUE(view.RecordOfRow(2, rec));
        EXPECT_EQ(std::wstring(rec.name), L"Friend 2");
        EXPECT_EQ(rec.longitude, 139.5);
        EXPECT_EQ(rec.positionKind, CAbWnd::kFlagFromMap);
        EXPECT_EQ(image(2), CAbWnd::kFlagFromMap);
        EXPECT_FALSE(view.CanEditCell(2, CAbWnd::ColName));
    };
    placed();
    EXPECT_EQ(image(1), 0);
    EXPECT_TRUE(view.CanEditCell(1, CAbWnd::ColName));
    view.SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    DOCAB_UI_RECORD rec{};
    ASSERT_TRUE(view.RecordOfRow(2, rec));
    EXPECT_EQ(rec.positionKind, 0);
    EXPECT_TRUE(view.CanEditCell(2, CAbWnd::ColName));
    view.SendMessage(WM_COMMAND, ID_EDIT_REDO, 0);
    placed();
}

TEST_F(AbView, OneInPlaceNameForSeveralRowsIsAskedOnceAndCutOnce)
{
    Open(3);
    ScriptedAnswers answers({{Ui(6), IDYES}, {Ui(5), IDOK}}, ScriptedAnswers::GivenText);
    Select({0, 1, 3});
    view.m_list.m_curRow = 1;
    view.m_list.m_curCol = 2;
    HWND editor = view.m_list.EditSubItem(1, 2);
    ASSERT_NE(editor, nullptr);
    ::SetWindowTextW(editor, L"A name of twenty ch");
    PumpPending();
    PressKey(VK_RETURN);
    PumpUntil([&] { return view.m_list.m_editorWnd == nullptr; }, 2000);
    PumpPending();
    EXPECT_EQ(answers.asked, (std::vector<std::wstring>{Ui(6), Ui(5)}));
    EXPECT_EQ(Name(0), L"A name of twenty ");
    EXPECT_EQ(Name(1), L"A name of twenty ");
    EXPECT_EQ(Name(2), L"Friend 2");
    EXPECT_EQ(Name(3), L"A name of twenty ");
    EXPECT_EQ(book().IsModified(), 1);
    EXPECT_TRUE(view.HasUnsavedWork());
    view.SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    EXPECT_EQ(Name(0), L"Unnamed");
    EXPECT_EQ(Name(3), L"Friend 3");
}

TEST_F(AbView, DeletingKeepsTheCurrentRowWhileItStillExists)
{
    const struct {
        int first, second, current;
        int after;
    } cases[] = {
        {2, 5, 5, -1},  // four entries left: row 5 is gone
        {2, 5, 2, 2},   // the row that moved up into row 2 is current
        {2, 4, 4, 4},   // row 4 is still there (the last row)
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        Open(6);
        Select({c.first, c.second});
        view.m_list.m_focusItem = c.current;
        view.m_list.SetItemState(c.current == c.first ? c.second : c.first, LVIS_FOCUSED, 0);
        view.m_list.SetItemState(c.current, LVIS_FOCUSED, LVIS_FOCUSED);
        ASSERT_EQ(view.m_list.GetCurSel(), c.current);
        const std::wstring kept = Name(c.first + 1);
        view.SendMessage(WM_COMMAND, ID_DELETE, 0);
        PumpPending();
        EXPECT_EQ(view.m_list.GetItemCount(), 5);
        EXPECT_EQ(view.m_list.GetCurSel(), c.after);
        EXPECT_EQ(Name(c.first), kept);
        view.DestroyWindow();
        book().ClearAll();
        book().InitHome();
    }
}

// Saved on the PC, read back into a book that holds entries of its own:
// the file's entries are added, its home replaces ours, and entries that
// were never saved keep the book marked unsaved.
TEST_F(AbView, SaveOnThePcAndOpenIntoABookWithEntries)
{
    testsupport::TempDir dir;
    Open(2);
    view.SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);  // cancelled: nothing
    EXPECT_EQ(g_fileCalls, 1);
    g_filePath = dir.File(L"friends.L00");
    DOCAB_UI_RECORD home{};
    book().GetHome(&home);
    lstrcpyW(home.name, L"Home Sweet");
    book().SetHome(0, &home);
    book().SetModified(1);
    view.SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
    EXPECT_EQ(book().IsModified(), 0);
    EXPECT_EQ(NamesInFile(g_filePath), (std::vector<std::wstring>{L"Home Sweet", L"Friend 1", L"Friend 2"}));
    EXPECT_EQ(std::wstring(theGlobal.m_abFileSpec), L"friends.L00");
    EXPECT_EQ(std::wstring(theGlobal.m_abIniFolder) + L"\\", dir.Path());

    // An empty name is refused before anything is written.
    {
        ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
        view.ChangeRow(1, Entry(L""));
        g_filePath = dir.File(L"empty.L00");
        view.SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
        EXPECT_EQ(answers.asked.size(), 1u);
        EXPECT_FALSE(testsupport::FileExists(g_filePath));
        view.SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    }

    // Into a book with one unsaved entry of its own.
    view.ResetAll();
    view.AddNew(Entry(L"Unsaved"));
    view.RefreshList();
    ASSERT_TRUE(view.CanUndo());
    g_filePath = dir.File(L"friends.L00");
    view.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_EQ(view.m_list.GetItemCount(), 4);
    EXPECT_EQ(Name(0), L"Home Sweet");
    EXPECT_EQ(Name(1), L"Unsaved");
    EXPECT_EQ(Name(3), L"Friend 2");
    EXPECT_FALSE(view.CanUndo());
    EXPECT_TRUE(view.HasUnsavedWork());
    // Into an empty book: nothing unsaved.
    view.ResetAll();
    view.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_EQ(view.m_list.GetItemCount(), 3);
    EXPECT_FALSE(view.HasUnsavedWork());
}

// The icon cell's picker offers only pictures the card file can store; a
// picture it cannot store never becomes another icon.
TEST_F(AbView, AnIconChosenInTheCellIsStoredAsItsFirstTableRow)
{
    theGlobal.m_modelType = 0;
    Open(1);
    const int storable = CAbListModel::StorableImageCount();
    EXPECT_EQ(view.m_list.m_iconLimit, storable);
    auto choose = [&](int image) {
        Select({1});
        NMLVDISPINFOW info{};
        info.hdr.hwndFrom = view.m_list.m_hWnd;
        info.hdr.idFrom = IDC_AB_LIST;
        info.hdr.code = LVN_ENDLABELEDITW;
        info.item.mask = LVIF_IMAGE;
        info.item.iItem = 1;
        info.item.iSubItem = 0;
        info.item.iImage = image;
        view.SendMessage(WM_NOTIFY, IDC_AB_LIST, reinterpret_cast<LPARAM>(&info));
        DOCAB_UI_RECORD rec{};
        view.RecordOfRow(1, rec);
        return rec.category;
    };
    const auto& table = theGlobal.m_docIcon.m_groupTable;
    const int shared = table[14].pickerIndex;  // row 14 shares row 2's picture
    EXPECT_EQ(choose(shared), 2);
    EXPECT_EQ(choose(table[20].pickerIndex), 20);
    EXPECT_EQ(choose(storable), 20);  // the first picture with no row below 31: unchanged
    EXPECT_EQ(view.UndoStack().size(), 2u);
}

// The export through the drive chooser: a card that cannot take the folders
// gets the error and the book stays unsaved; then the fixed file is written.
TEST_F(AbView, ExportWritesTheCardFileOrKeepsTheBookUnsaved)
{
    testsupport::ClearCard();
    const std::wstring card = testsupport::CardRoot();
    testsupport::WriteBytes(card + L"PC", std::string("a file where the folder goes"));
    Open(2);
    book().SetModified(1);
    auto exportToCard = [&](std::vector<std::wstring>* asked) {
        ScriptedAnswers answers({}, ScriptedAnswers::GivenText);
        RunModal(
            [&] {
                view.SendMessage(WM_COMMAND, ID_EXPORT, 0);
                return INT_PTR(0);
            },
            [&](CCustomDialog& d) {
                auto& chooser = dynamic_cast<CRemovableDlg&>(d);
                int row = -1;
                for (int r = 0; r < chooser.m_list.GetItemCount(); ++r)
                    if (std::wstring(chooser.GetRowRoot(r)) == card)
                        row = r;
                ASSERT_GE(row, 0);
                RECT rc{};
                ASSERT_TRUE(chooser.m_list.GetSubItemRect(row, 0, LVIR_BOUNDS, &rc));
                RealClick(chooser.m_list.m_hWnd, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
                ClickChild(chooser.m_btnOK.m_hWnd);
            });
        PumpPending();
        *asked = answers.asked;
    };
    std::vector<std::wstring> asked;
    exportToCard(&asked);
    ASSERT_EQ(asked.size(), 1u);
    CString error;
    EXPECT_EQ(asked[0], std::wstring(book().GetErrorString(error)));
    EXPECT_NE(asked[0], Ui(16));
    EXPECT_EQ(book().IsModified(), 1);

    ::DeleteFileW((card + L"PC").c_str());
    exportToCard(&asked);
    EXPECT_EQ(asked, std::vector<std::wstring>{Ui(16)});
    EXPECT_EQ(book().IsModified(), 0);
    EXPECT_EQ(NamesInFile(card + L"PC\\POINT\\TONAVI\\POINTREG.L00"),
              (std::vector<std::wstring>{L"Unnamed", L"Friend 1", L"Friend 2"}));
    testsupport::ClearCard();
}

TEST_F(AbView, ColumnWidthsAreKeptWhenTheViewGoes)
{
    Open(1);
    HD_ITEMW hd{};
    hd.mask = HDI_WIDTH;
    hd.cxy = 123;
    view.m_list.m_header.SetItem(3, &hd);
    view.DestroyWindow();
    ASSERT_EQ(theGlobal.m_abColumns.GetSize(), 5);
    EXPECT_EQ(theGlobal.m_abColumns[0], 70u);
    EXPECT_EQ(theGlobal.m_abColumns[1], 88u);
    EXPECT_EQ(theGlobal.m_abColumns[3], 123u);
}

}  // namespace
