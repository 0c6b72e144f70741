// The POI list view under Xvfb with the real skin pack, the shipped UI strings
// and the real POI documents: layout, in-place and dialog edits, deletion and
// the clipboard through commands, the context menu, save, card export on the
// test drive R: and leaving with Back and Top.
#include <windows.h>

#include <map>
#include <string>

#include "DialogDriver.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "controls/CustomMenu.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/poi/PoiEditDlg.h"
#include "views/poi/PoiWnd.h"

using namespace dlgtest;
using testsupport::CardRoot;
using testsupport::FileExists;
using testsupport::ListFolder;

namespace {

DOCPI_RECORD Rec(const std::wstring& name, double lon = 10, double lat = 20)
{
    DOCPI_RECORD r{};
    wcsncpy(r.name, name.c_str(), 64);
    r.longitude = lon;
    r.latitude = lat;
    return r;
}

std::wstring Ui(int n)
{
    return std::wstring(theGlobal.UiString(n));
}

// What the save dialog was asked and answers.
struct SaveAnswer {
    int calls = 0;
    CString proposed;
    CString answer;  // empty: Cancel
};
SaveAnswer g_save;

BOOL AnswerSave(HWND, const wchar_t*, CString& path)
{
    ++g_save.calls;
    g_save.proposed = path;
    if (g_save.answer.IsEmpty())
        return FALSE;
    path = g_save.answer;
    return TRUE;
}

struct CardAnswer {
    int calls = 0;
    CString proposed;
    CString name = L"Trip";
    BOOL ok = TRUE;
};
CardAnswer g_card;

BOOL AnswerCard(const CString& proposed, CString& root, CString& name)
{
    ++g_card.calls;
    g_card.proposed = proposed;
    root = CardRoot().c_str();
    name = g_card.name;
    return g_card.ok;
}

// Answers the message boxes by the text the program gave them (IDNO for any
// other) and keeps those texts, as they were before the box laid them out.
class TextAnswers {
public:
    explicit TextAnswers(std::map<std::wstring, int> answers) : m_answers(std::move(answers))
    {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 30, &Tick);
    }
    ~TextAnswers()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    TextAnswers(const TextAnswers&) = delete;
    TextAnswers& operator=(const TextAnswers&) = delete;
    std::vector<std::wstring> asked;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        TextAnswers* self = s_current;
        CPtrArray& stack = theGlobal.m_dialogStack;
        if (!self || stack.GetSize() == 0)
            return;
        auto* box = dynamic_cast<CMessageDlg*>(static_cast<CDialog*>(stack[stack.GetSize() - 1]));
        if (!box || !box->m_hWnd || !box->ContinueModal())
            return;
        const std::wstring text(box->GetText());
        self->asked.push_back(text);
        auto it = self->m_answers.find(text);
        box->EndDialog(it != self->m_answers.end() ? it->second : IDNO);
    }
    static inline TextAnswers* s_current = nullptr;
    std::map<std::wstring, int> m_answers;
    UINT_PTR m_timer = 0;
};

// The open context menu is saved as a picture, then closed with Escape.
bool* g_menuShot = nullptr;
HWND g_menuShotWindow = nullptr;
void CALLBACK ShootMenuAndClose(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    *g_menuShot = SaveShot(g_menuShotWindow, L"poi_list_menu");
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
}

class PoiView : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        InitCharClassTable();
        savedGroup = theGlobal.m_naviModel.m_modelGroup;
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
        theGlobal.m_piCsvColumns.RemoveAll();
        for (DWORD w : {110, 110, 120, 150, 120, 150})
            theGlobal.m_piCsvColumns.Add(w);
        theGlobal.m_viewKind = 2;
        theGlobal.m_modelType = 0;
        theGlobal.m_headerTitle.Empty();
        theGlobal.m_views.RemoveAll();
        g_save = SaveAnswer();
        g_card = CardAnswer();
        CPoiWnd::s_saveDialog = AnswerSave;
        CPoiWnd::s_chooseCard = AnswerCard;
        testsupport::ClearCard();
        doc().InitErrorStrings();
        theGlobal.m_docIcon.InitErrorStrings();
        doc().ResetDocument();
        main.MoveWindow(0, 0, 1010, 740);
        view.m_mode = 2;
        ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700), &main,
                                0xFFFF));
        for (const wchar_t* name : {L"Harbour", L"Bakery", L"Museum", L"Airport", L"Castle"})
            doc().AddRecord(Rec(name, 100 + doc().GetRecordCount(), -30 - doc().GetRecordCount()));
        doc().SetModified(0);
        view.RefreshList();
        PumpPending();
    }
    void TearDown() override
    {
        if (view.m_hWnd)
            view.DestroyWindow();
        doc().ResetDocument();
        doc().SetModified(0);
        theGlobal.m_docImportPoi.m_table.RemoveAll();
        theGlobal.m_naviModel.m_modelGroup = savedGroup;
        theGlobal.m_modelType = 0;
        testsupport::ClearCard();
        DialogTest::TearDown();
    }
    static CDocPi& doc() { return theGlobal.m_docPiCsv; }
    std::wstring Name(int record) const
    {
        DOCPI_RECORD r{};
        doc().GetRecord(record, &r);
        return r.name;
    }
    std::wstring Cell(int row, int column)
    {
        wchar_t text[300] = L"";
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 300;
        view.m_list.GetItem(&item);
        return text;
    }
    void Select(std::initializer_list<int> rows)
    {
        view.m_list.SetCurSel(-1);
        bool first = true;
        for (int row : rows) {
            view.m_list.SetItemState(row, first ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED,
                                     LVIS_SELECTED | LVIS_FOCUSED);
            first = false;
        }
        view.m_list.SetFocus();
    }
    void Command(UINT id) { view.SendMessage(WM_COMMAND, id, 0); }
    // What the view's update handler says of a command.
    bool Enabled(UINT id)
    {
        CCmdUIProbe probe;
        probe.m_nID = id;
        probe.DoUpdate(&view, TRUE);
        return probe.m_enabled != FALSE;
    }
    // An in-place edit of a cell committed with Enter.
    void EditCell(int row, int column, const wchar_t* text)
    {
        HWND editor = view.m_list.EditSubItem(row, column);
        ASSERT_NE(editor, nullptr);
        ::SetWindowTextW(editor, text);
        PumpPending();
        PressKey(VK_RETURN);
        PumpUntil([&] { return view.m_list.m_editorWnd == nullptr; }, 2000);
        PumpPending();
    }
    CPoiWnd view;
    int savedGroup = 0;
};

TEST_F(PoiView, ShowsTheRecordsWithTheButtonsAtTheirPlaces)
{
    CRect r;
    view.m_list.GetWindowRect(&r);
    view.ScreenToClient(&r);
    EXPECT_EQ(r, CRect(6, 21, 6 + 1000 - 192 - 32, 21 + 700 - 112));
    const struct {
        CCustomButton* button;
        int x, y;
    } places[] = {{&view.m_btnSavePc, 802, 650}, {&view.m_btnExport, 590, 650}, {&view.m_btnNew, 802, 290},
                  {&view.m_btnEdit, 802, 380}};
    for (const auto& p : places) {
        CRect b;
        p.button->GetWindowRect(&b);
        view.ScreenToClient(&b);
        EXPECT_EQ(b, CRect(p.x, p.y, p.x + 192, p.y + 48));
        EXPECT_TRUE(p.button->IsWindowVisible());
    }
    EXPECT_FALSE(view.m_btnLonLat.IsWindowVisible());
    EXPECT_FALSE(view.m_btnSearch.IsWindowVisible());
    EXPECT_EQ(view.m_list.GetItemCount(), 5);
    EXPECT_EQ(Cell(0, 0), L" 100.000000");
    EXPECT_EQ(Cell(2, 1), L" -32.000000");
    EXPECT_EQ(Cell(4, 2), L"Castle");
    EXPECT_EQ(view.m_list.GetColumnCount(), 6);
    EXPECT_EQ(theGlobal.m_views.GetSize(), 1);

    Select({1});
    view.SendMessage(::RegisterWindowMessageW(L"WM_USER_IDLE "), 0, 0);
    EXPECT_TRUE(view.m_btnEdit.IsWindowEnabled());
    EXPECT_TRUE(view.m_btnSavePc.IsWindowEnabled());
    view.m_list.Invalidate();
    ASSERT_TRUE(SaveShot(main.m_hWnd, L"poi_list"));
    // The frame around the list.
    skintest::Pixels px(view.m_hWnd);
    EXPECT_EQ(px.At(5, 300), RGB(150, 150, 152));
    EXPECT_EQ(px.At(3, 300), RGB(5, 5, 10));

    Select({0, 1});
    view.SendMessage(::RegisterWindowMessageW(L"WM_USER_IDLE "), 0, 0);
    EXPECT_FALSE(view.m_btnEdit.IsWindowEnabled());
    doc().ResetDocument();
    view.RefreshList();
    view.SendMessage(::RegisterWindowMessageW(L"WM_USER_IDLE "), 0, 0);
    EXPECT_FALSE(view.m_btnSavePc.IsWindowEnabled());
    EXPECT_FALSE(view.m_btnExport.IsWindowEnabled());
    EXPECT_TRUE(view.m_btnNew.IsWindowEnabled());
}

TEST_F(PoiView, ACellEditedWithThreeRowsSelectedAsksAndOneUndoRestoresAll)
{
    const std::wstring ask = Ui(6);
    {
        TextAnswers answers({{ask, IDNO}});
        Select({0, 2, 3});
        EditCell(0, 5, L"Closed");
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{ask});
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Cell(i, 5), L"") << i;
    EXPECT_EQ(doc().IsModified(), 0);
    {
        TextAnswers answers({{ask, IDYES}});
        Select({0, 2, 3});
        EditCell(0, 5, L"Closed");
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{ask});
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Cell(i, 5), i == 0 || i == 2 || i == 3 ? L"Closed" : L"") << i;
    EXPECT_EQ(doc().IsModified(), 1);
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO));
    Command(ID_EDIT_UNDO);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Cell(i, 5), L"") << i;
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Cell(3, 5), L"Closed");
}

TEST_F(PoiView, ALongNameIsCutAndAForeignCharacterRefused)
{
    {
        TextAnswers answers({});
        Select({1});
        EditCell(1, 2, std::wstring(70, L'n').c_str());
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(5)});
    }
    EXPECT_EQ(Name(1), std::wstring(64, L'n'));
    theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1;
    {
        TextAnswers answers({});
        Select({2});
        EditCell(2, 3, L"Rue \x263A");
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(4)});
    }
    EXPECT_EQ(Cell(2, 3), L"");
    // The position columns have no editor.
    EXPECT_EQ(view.m_list.EditSubItem(2, 0), nullptr);
}

TEST_F(PoiView, TheEditDialogRefusesAMalformedPositionAndRecordsTheChange)
{
    TextAnswers answers({});
    Select({3});  // Airport, record 3
    bool shot = false;
    RunModal(
        [&] {
            Command(ID_EDIT);
            return INT_PTR(0);
        },
        [&](CCustomDialog& d) {
            auto& dlg = static_cast<CPoiEditDlg&>(d);
            EXPECT_EQ(AfxGetWindowText(::GetDlgItem(d.m_hWnd, IDC_POI_NAME)), CString(L"Airport"));
            shot = SaveShot(d.m_hWnd, L"poi_list_edit");
            for (const wchar_t* bad : {L"1-2", L"12.34.56", L"1,234.5"}) {
                const size_t before = answers.asked.size();
                ::SetDlgItemTextW(d.m_hWnd, IDC_POI_LONGITUDE, bad);
                ClickChild(dlg.m_btnOK.m_hWnd);
                PumpUntil([&] { return answers.asked.size() > before || Ended(d); }, 2000);
                EXPECT_FALSE(Ended(d)) << testing::PrintToString(std::wstring(bad));
            }
            ::SetDlgItemTextW(d.m_hWnd, IDC_POI_LONGITUDE, L"12.5");
            ::SetDlgItemTextW(d.m_hWnd, IDC_POI_NAME, L"Airfield");
            ClickChild(dlg.m_btnOK.m_hWnd);
            WaitEnded(d);
        });
    EXPECT_TRUE(shot);
    const std::wstring range = Ui(34) + L"  (" + Ui(182) + L")";
    EXPECT_EQ(answers.asked, std::vector<std::wstring>(3, range));
    DOCPI_RECORD r{};
    doc().GetRecord(3, &r);
    EXPECT_STREQ(r.name, L"Airfield");
    EXPECT_DOUBLE_EQ(r.longitude, 12.5);
    EXPECT_EQ(doc().IsModified(), 1);
    Command(ID_EDIT_UNDO);
    doc().GetRecord(3, &r);
    EXPECT_STREQ(r.name, L"Airport");
    EXPECT_DOUBLE_EQ(r.longitude, 103);
}

TEST_F(PoiView, DeleteOfSortedRowsNeedsTheListFocusAndUndoRestoresThem)
{
    NMLISTVIEW click{};
    click.hdr.hwndFrom = view.m_list.m_hWnd;
    click.hdr.idFrom = IDC_POI_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 2;
    view.SendMessage(WM_NOTIFY, IDC_POI_LIST, reinterpret_cast<LPARAM>(&click));
    // Airport Bakery Castle Harbour Museum
    EXPECT_EQ(Cell(0, 2), L"Airport");
    EXPECT_EQ(Cell(4, 2), L"Museum");
    EXPECT_EQ(view.m_list.m_sortColumn, 2);
    Select({1, 3});
    view.SetFocus();
    EXPECT_FALSE(Enabled(ID_DELETE));
    Command(ID_DELETE);  // not focused: nothing
    EXPECT_EQ(doc().GetRecordCount(), 5);
    view.m_list.SetFocus();
    EXPECT_TRUE(Enabled(ID_DELETE));
    Command(ID_DELETE);
    EXPECT_EQ(doc().GetRecordCount(), 3);
    EXPECT_EQ(view.m_list.GetItemCount(), 3);
    EXPECT_EQ(Cell(0, 2), L"Airport");
    EXPECT_EQ(Cell(1, 2), L"Castle");
    EXPECT_EQ(Cell(2, 2), L"Museum");
    // The first selected row stays the current one.
    EXPECT_EQ(view.m_list.GetCurSel(), 1);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(doc().GetRecordCount(), 5);
    EXPECT_EQ(Name(0), L"Harbour");
    EXPECT_EQ(Name(1), L"Bakery");
    EXPECT_EQ(Name(4), L"Castle");
    EXPECT_EQ(Cell(1, 2), L"Bakery");
    EXPECT_EQ(Cell(3, 2), L"Harbour");
}

TEST_F(PoiView, CopyPasteAboveTheRowAndTheLimitOfNewAndPaste)
{
    Select({2});
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));
    Command(ID_EDIT_COPY);
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));
    Select({0});
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(doc().GetRecordCount(), 6);
    EXPECT_EQ(Name(5), L"Museum");
    EXPECT_EQ(Cell(0, 2), L"Museum");
    EXPECT_EQ(Cell(1, 2), L"Harbour");
    Select({4});
    Command(ID_EDIT_CUT);
    EXPECT_EQ(doc().GetRecordCount(), 5);
    EXPECT_EQ(view.m_clipboard.GetSize(), 1);
    EXPECT_STREQ(view.m_clipboard[0].name, L"Airport");
    while (doc().GetRecordCount() < POI_MAX_RECORDS)
        doc().AddRecord(Rec(L"p"));
    view.RefreshList();
    {
        TextAnswers answers({});
        Select({0});
        Command(ID_EDIT_PASTE);
        Command(ID_NEW);
        EXPECT_EQ(answers.asked, (std::vector<std::wstring>{Ui(19), Ui(19)}));
    }
    EXPECT_EQ(doc().GetRecordCount(), POI_MAX_RECORDS);
}

TEST_F(PoiView, ContextMenuItemsFollowTheCommandTable)
{
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_POI_MENU));
    ASSERT_NE(menu, nullptr);
    HMENU popup = ::GetSubMenu(menu, 1);
    ASSERT_EQ(::GetMenuItemCount(popup), 6);
    Select({1});
    CCmdUI::UpdateMenu(popup, &view, TRUE);
    auto text = [&](int i) {
        wchar_t buf[256] = L"";
        ::GetMenuStringW(popup, i, buf, 256, MF_BYPOSITION);
        return std::wstring(buf);
    };
    auto enabled = [&](int i) { return !(::GetMenuState(popup, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)); };
    const struct {
        UINT id;
        std::wstring text;
        bool enabled;
    } items[] = {{ID_EDIT_CUT, Ui(267) + L"\tCtrl+X", true},  {ID_EDIT_COPY, Ui(268) + L"\tCtrl+C", true},
                 {ID_EDIT_PASTE, Ui(269) + L"\tCtrl+V", false}, {ID_DELETE, Ui(270) + L"\tDel", true},
                 {ID_EDIT_SELECT_ALL, Ui(271) + L"\tCtrl+A", true}, {ID_RESET, Ui(272), true}};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(::GetMenuItemID(popup, i), items[i].id);
        EXPECT_EQ(text(i), items[i].text);
        EXPECT_EQ(enabled(i), items[i].enabled);
    }
    // Another view shown: none of the list commands.
    theGlobal.m_viewKind = 3;
    CCmdUI::UpdateMenu(popup, &view, TRUE);
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(enabled(i)) << i;
    theGlobal.m_viewKind = 2;
    CCmdUI::UpdateMenu(popup, &view, TRUE);

    // The menu as the user sees it.
    CCustomMenu custom;
    custom.LoadMenu(popup);
    bool shot = false;
    CRect r;
    view.m_list.GetWindowRect(&r);
    g_menuShot = &shot;
    g_menuShotWindow = main.m_hWnd;
    ::SetTimer(nullptr, 0, 400, &ShootMenuAndClose);
    const UINT chosen = custom.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, r.left + 200, r.top + 80, &main);
    EXPECT_EQ(chosen, 0u);
    EXPECT_TRUE(shot);
    ::DestroyMenu(menu);
}

TEST_F(PoiView, SaveProposesAFileNameAndClearsTheModifiedFlag)
{
    testsupport::TempDir dir;
    theGlobal.m_headerTitle = L"My?Trip";
    doc().SetModified(1);
    Command(ID_FILE_SAVE);  // cancelled
    EXPECT_EQ(g_save.calls, 1);
    EXPECT_EQ(g_save.proposed, CString(L"POI.KML"));
    EXPECT_EQ(doc().IsModified(), 1);

    theGlobal.m_headerTitle = L"Coast";
    g_save.answer = (dir.Path() + L"Coast walk.kml").c_str();
    Command(ID_FILE_SAVE);
    EXPECT_EQ(g_save.proposed, CString(L"Coast"));
    EXPECT_TRUE(FileExists(dir.Path() + L"Coast walk.kml"));
    EXPECT_EQ(doc().IsModified(), 0);
    EXPECT_EQ(theGlobal.m_piFileSpec, CString(L"Coast walk.kml"));
    EXPECT_EQ(theGlobal.m_piIniFolder, CString(dir.Path().c_str()));
    EXPECT_EQ(doc().GetFolderName(), CString(L"Coast walk"));

    // A record without a position: the document's text with OK and Cancel.
    doc().AddRecord(Rec(L"Nowhere", POI_NO_POSITION, POI_NO_POSITION));
    doc().SetModified(1);
    doc().Validate();
    CString invalid;
    doc().GetErrorString(invalid);
    ASSERT_FALSE(invalid.IsEmpty());
    {
        TextAnswers answers({{std::wstring(invalid), IDCANCEL}});
        Command(ID_FILE_SAVE);
        EXPECT_EQ(answers.asked.size(), 1u);
    }
    EXPECT_EQ(g_save.calls, 2);
    {
        TextAnswers answers({{std::wstring(invalid), IDOK}});
        Command(ID_FILE_SAVE);
    }
    EXPECT_EQ(g_save.calls, 3);
    EXPECT_EQ(doc().IsModified(), 0);
}

TEST_F(PoiView, AFailedSaveShowsTheDocumentsTextAndKeepsTheFlag)
{
    testsupport::TempDir dir;
    theGlobal.m_piFileSpec = L"before.kml";
    g_save.answer = (dir.Path() + L"no such folder\\list.kml").c_str();
    doc().SetModified(1);
    {
        TextAnswers answers({});
        Command(ID_FILE_SAVE);
        ASSERT_EQ(answers.asked.size(), 1u);
        CString text;
        EXPECT_EQ(answers.asked[0], std::wstring(doc().GetErrorString(text)));
        EXPECT_FALSE(answers.asked[0].empty());
    }
    EXPECT_EQ(doc().IsModified(), 1);
    EXPECT_EQ(theGlobal.m_piFileSpec, CString(L"before.kml"));
    EXPECT_EQ(doc().GetRecordCount(), 5);
}

TEST_F(PoiView, ExportWritesTheCardFolderOfTheModelAndReportsSuccess)
{
    const struct {
        int type;
        std::wstring folder;
        bool version;
    } cases[] = {{0, L"POI\\", false}, {2, L"POI\\", false}, {5, L"NDB\\CUSTOMPOI\\", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        testsupport::ClearCard();
        theGlobal.m_modelType = c.type;
        doc().SetModified(1);
        TextAnswers answers({});
        Command(ID_EXPORT);
        EXPECT_EQ(g_card.proposed, CString(L"POI"));
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(16)});
        EXPECT_TRUE(FileExists(CardRoot() + c.folder + L"Trip.kml"));
        EXPECT_EQ(FileExists(CardRoot() + L"NDB\\VersionManage\\Version\\Custom_POI.ver"), c.version);
        EXPECT_EQ(doc().IsModified(), 0);
        EXPECT_EQ(doc().GetRecordCount(), 5);
    }
}

TEST_F(PoiView, AFailedExportShowsWhyKeepsTheListAndLeavesNoFileBehind)
{
    // Too many POI files on the card already.
    ::CreateDirectoryW((CardRoot() + L"POI").c_str(), nullptr);
    for (int i = 0; i < 101; ++i)
        testsupport::WriteBytes(CardRoot() + L"POI\\old" + std::to_wstring(i) + L".kml", std::string("x"));
    doc().SetModified(1);
    {
        TextAnswers answers({});
        Command(ID_EXPORT);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(20)});
    }
    EXPECT_FALSE(FileExists(CardRoot() + L"POI\\Trip.kml"));
    EXPECT_EQ(doc().IsModified(), 1);

    // The card folder cannot be made (a file holds its name).
    testsupport::ClearCard();
    testsupport::WriteBytes(CardRoot() + L"POI", std::string("x"));
    {
        TextAnswers answers({});
        Command(ID_EXPORT);
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_NE(answers.asked[0], Ui(16));
        CString text;
        EXPECT_EQ(answers.asked[0], std::wstring(doc().GetErrorString(text)));
    }
    EXPECT_EQ(doc().IsModified(), 1);
    EXPECT_EQ(doc().GetRecordCount(), 5);

    // The version file cannot be written: the KML files just written go again.
    testsupport::ClearCard();
    theGlobal.m_modelType = 5;
    ::CreateDirectoryW((CardRoot() + L"NDB").c_str(), nullptr);
    testsupport::WriteBytes(CardRoot() + L"NDB\\VersionManage", std::string("x"));
    ::CreateDirectoryW((CardRoot() + L"NDB\\CUSTOMPOI").c_str(), nullptr);
    testsupport::WriteBytes(CardRoot() + L"NDB\\CUSTOMPOI\\Mine.kml", std::string("keep"));
    {
        TextAnswers answers({});
        Command(ID_EXPORT);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{Ui(10)});
    }
    EXPECT_EQ(ListFolder(CardRoot() + L"NDB\\CUSTOMPOI\\"), std::vector<std::wstring>{L"Mine.kml"});
    EXPECT_EQ(doc().IsModified(), 1);
}

TEST_F(PoiView, BackAsksBeforeDroppingChangesAndCancelKeepsEverything)
{
    const std::wstring save = Ui(23);
    Select({1});
    Command(ID_EDIT_COPY);
    // Reset position changes records: leaving asks.
    view.m_list.SetFocus();
    Command(ID_RESET);
    EXPECT_EQ(Cell(1, 0), L"-");
    EXPECT_EQ(doc().IsModified(), 1);
    {
        TextAnswers answers({{save, IDCANCEL}});
        Command(ID_BACK);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{save});
    }
    // The record without a position is kept anyway (OK), then the save
    // dialog is cancelled.
    doc().Validate();
    CString invalid;
    doc().GetErrorString(invalid);
    {
        TextAnswers answers({{save, IDYES}, {std::wstring(invalid), IDOK}});
        Command(ID_BACK);
        EXPECT_EQ(answers.asked, (std::vector<std::wstring>{save, std::wstring(invalid)}));
        EXPECT_EQ(g_save.calls, 1);
    }
    EXPECT_EQ(doc().GetRecordCount(), 5);
    EXPECT_TRUE(view.HasClipboard());
    EXPECT_TRUE(view.CanUndo());
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_POI_FROM_CSV), 0);
    {
        TextAnswers answers({{save, IDNO}});
        Command(ID_BACK);
    }
    EXPECT_EQ(doc().GetRecordCount(), 0);
    EXPECT_EQ(doc().IsModified(), 0);
    EXPECT_FALSE(view.HasClipboard());
    EXPECT_FALSE(view.CanUndo());
    EXPECT_EQ(view.m_list.GetItemCount(), 0);
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_POI_FROM_CSV), 1);
}

TEST_F(PoiView, UndoAfterASaveAsksAgainAndTopEmptiesTheImportRows)
{
    testsupport::TempDir dir;
    g_save.answer = (dir.Path() + L"a.kml").c_str();
    Select({0});
    Command(ID_DELETE);
    Command(ID_FILE_SAVE);
    ASSERT_EQ(doc().IsModified(), 0);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(doc().GetRecordCount(), 5);
    EXPECT_EQ(doc().IsModified(), 1);
    theGlobal.m_docImportPoi.SetDelimiterAndLoad(2, nullptr);
    const std::wstring save = Ui(23);
    {
        TextAnswers answers({{save, IDNO}});
        main.Clear();
        Command(ID_TOP);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{save});
    }
    EXPECT_EQ(doc().GetRecordCount(), 0);
    EXPECT_EQ(theGlobal.m_docImportPoi.GetRowCount(), 0);
    std::vector<WPARAM> commands;
    for (const auto& m : main.log)
        if (m.msg == WM_COMMAND)
            commands.push_back(m.wp);
    EXPECT_EQ(commands, (std::vector<WPARAM>{ID_MENU_REFRESH, ID_MAIN_MENU}));
}

TEST_F(PoiView, AHiddenListTakesNoCommandOfTheShownView)
{
    Select({1});
    Command(ID_EDIT_COPY);
    Command(ID_DELETE);
    ASSERT_TRUE(view.CanUndo());
    theGlobal.m_viewKind = 3;
    view.m_list.SetFocus();
    for (UINT id : {ID_EDIT_UNDO, ID_FILE_SAVE, ID_EXPORT, ID_NEW, ID_EDIT, ID_DELETE, ID_EDIT_PASTE})
        EXPECT_FALSE(Enabled(id)) << id;
    theGlobal.m_viewKind = 2;
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO));
    EXPECT_TRUE(Enabled(ID_BACK));
}

}  // namespace
