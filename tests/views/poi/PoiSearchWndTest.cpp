// The map-search list and its map look-up dialog under Xvfb: the real skin
// pack, the shipped strings, the real map and received documents; the map
// page's opening recorded instead of a browser started.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PageRecorder.h"
#include "DialogDriver.h"
#include "ScriptedAnswers.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "core/RegisteredMessages.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/poi/PoiSearchWnd.h"
#include "views/poi/PoiSendToCarDlg.h"

namespace {

using namespace dlgtest;

DOCPI_RECORD Place(const std::wstring& name, double lon = POI_NO_POSITION, double lat = POI_NO_POSITION)
{
    DOCPI_RECORD r{};
    wcsncpy(r.name, name.c_str(), 64);
    wcsncpy(r.address, (name + L" Street 1").c_str(), 128);
    wcsncpy(r.telephone, L"555-0100", 64);
    wcsncpy(r.description, (L"about " + name).c_str(), 64);
    r.longitude = lon;
    r.latitude = lat;
    return r;
}

std::wstring Ui(int n)
{
    return std::wstring(theGlobal.UiString(n));
}

std::wstring Text(HWND wnd)
{
    wchar_t buffer[300] = {};
    ::GetWindowTextW(wnd, buffer, 300);
    return buffer;
}

class MapSearch : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        InitCharClassTable();
        savedGroup = theGlobal.m_naviModel.m_modelGroup;
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
        theGlobal.m_piMapColumns.RemoveAll();
        for (DWORD w : {160, 220, 160, 220})
            theGlobal.m_piMapColumns.Add(w);
        theGlobal.m_viewKind = 4;
        theGlobal.m_modelType = 0;
        theGlobal.m_views.RemoveAll();
        theGlobal.m_hMapDlg = nullptr;
        for (CDocPi* d : {&map(), &received()}) {
            d->InitErrorStrings();
            d->ResetDocument();
            d->SetModified(0);
        }
        log = dir.File(L"urls.txt");
        recorder = std::make_unique<PageRecorder>(log);
        main.MoveWindow(0, 0, 1010, 740);
    }
    void TearDown() override
    {
        if (view.m_hWnd)
            view.DestroyWindow();
        recorder.reset();
        for (CDocPi* d : {&map(), &received()}) {
            d->ResetDocument();
            d->SetModified(0);
        }
        theGlobal.m_hMapDlg = nullptr;
        theGlobal.m_naviModel.m_modelGroup = savedGroup;
        DialogTest::TearDown();
    }
    static CDocPi& map() { return theGlobal.m_docPiMap; }
    static CDocPi& received() { return theGlobal.m_docPiReceived; }
    void Receive(const DOCPI_RECORD& place)
    {
        received().ResetDocument();
        received().AddRecord(place);
    }
    void CreateView(bool visible = true)
    {
        ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | (visible ? WS_VISIBLE : 0) | WS_CLIPCHILDREN,
                                CRect(0, 0, 1000, 700), &main, 0xFFFF));
        view.RefreshList();
        PumpPending();
    }
    // The pages opened so far, one per line.
    std::string Opened() const
    {
        if (!testsupport::FileExists(log))
            return "";
        const testsupport::Bytes bytes = testsupport::ReadBytes(log);
        return std::string(bytes.begin(), bytes.end());
    }
    std::string MapPage() const
    {
        const CString page = theGlobal.WebAddress(360);
        std::string line;
        for (int i = 0; i < page.GetLength(); ++i)
            line += static_cast<char>(page[i]);
        return line + "\n";
    }
    std::wstring Name(int record)
    {
        DOCPI_RECORD r{};
        map().GetRecord(record, &r);
        return r.name;
    }
    std::wstring Cell(int row, int column) { return CellText(view.m_list, row, column); }
    bool Enabled(UINT id) { return CommandEnabled(view, id); }
    // Runs the look-up button's dialog with a script inside it.
    INT_PTR LookUp(const std::function<void(CCustomDialog&)>& script)
    {
        return RunModal(
            [&] {
                // The real button's command reaches the top window; the main
                // window's route hands it to the view.
                main.Clear();
                ClickChild(view.m_btnGoogle.m_hWnd);
                PumpUntil([&] { return main.CountCommand(WM_COMMAND, ID_GOOGLE) > 0; }, 2000);
                EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_GOOGLE), 1);
                view.SendMessage(WM_COMMAND, ID_GOOGLE, 0);
                return INT_PTR{0};
            },
            script);
    }

    testsupport::TempDir dir;
    std::wstring log;
    std::unique_ptr<PageRecorder> recorder;
    CPoiSearchWnd view;
    int savedGroup = 0;
};

// ---------------------------------------------------------------------------
// The map look-up dialog

TEST_F(MapSearch, DialogWithNothingReceivedOpensTheMapPageOnceAndOkTakesNothing)
{
    CPoiSendToCarDlg dlg(&main);
    HWND seen = nullptr;
    const INT_PTR result = RunModal([&] { return dlg.DoModal(); },
                                    [&](CCustomDialog& d) {
                                        seen = theGlobal.m_hMapDlg;
                                        EXPECT_EQ(Opened(), "");  // not before half a second
                                        PumpUntil([] { return false; }, 1200);
                                        SaveShot(d.m_hWnd, L"map_lookup_waiting");
                                        EXPECT_EQ(d.GetCaption(), theGlobal.UiString(428));
                                        ClickChild(dlg.m_btnOK.m_hWnd);
                                    });
    EXPECT_EQ(result, IDOK);
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(theGlobal.m_hMapDlg, nullptr);
    EXPECT_EQ(Opened(), MapPage());
    EXPECT_EQ(received().GetRecordCount(), 0);
}

TEST_F(MapSearch, DialogShowsAReceivedPlaceAtOnceWithoutOpeningThePage)
{
    Receive(Place(L"Caf\u00e9 Central"));
    CPoiSendToCarDlg dlg(&main);
    const INT_PTR result = RunModal([&] { return dlg.DoModal(); },
                                    [&](CCustomDialog& d) {
                                        EXPECT_EQ(Text(d.GetDlgItem(IDC_POI_NAME)->m_hWnd), L"Caf\u00e9 Central");
                                        EXPECT_EQ(Text(d.GetDlgItem(IDC_POI_ADDRESS)->m_hWnd), L"Caf\u00e9 Central Street 1");
                                        EXPECT_FALSE(::IsWindowEnabled(d.GetDlgItem(IDC_POI_NAME)->m_hWnd));
                                        EXPECT_EQ(dlg.m_longitude, L"-");
                                        EXPECT_EQ(dlg.m_latitude, L"-");
                                        PumpUntil([] { return false; }, 900);
                                        SaveShot(d.m_hWnd, L"map_lookup_received");
                                        ClickChild(dlg.m_btnCancel.m_hWnd);
                                    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(Opened(), "");
    EXPECT_EQ(received().GetRecordCount(), 1);
}

TEST_F(MapSearch, DialogFillsWhenAPlaceArrivesAndReportsARefusedOne)
{
    CPoiSendToCarDlg dlg(&main);
    const INT_PTR result = RunModal([&] { return dlg.DoModal(); },
                                    [&](CCustomDialog& d) {
                                        // What the receiver does for a good and a refused link.
                                        Receive(Place(L"Harbour", 139.7, 35.5));
                                        EXPECT_EQ(::SendMessageW(theGlobal.m_hMapDlg, WM_ADD_GOOGLE_DATA, 0, 0), 1);
                                        EXPECT_EQ(Text(d.GetDlgItem(IDC_POI_NAME)->m_hWnd), L"Harbour");
                                        EXPECT_EQ(dlg.m_longitude, L" 139.700000");
                                        EXPECT_EQ(dlg.m_latitude, L"  35.500000");
                                        ScriptedAnswers boxes({{Ui(43), IDOK}}, ScriptedAnswers::GivenText);
                                        EXPECT_EQ(::SendMessageW(theGlobal.m_hMapDlg, WM_ERROR_GOOGLE_DATA, 0, 0), 1);
                                        EXPECT_EQ(boxes.asked, std::vector<std::wstring>{Ui(43)});
                                        EXPECT_FALSE(Ended(d));
                                        ClickChild(dlg.m_btnOK.m_hWnd);
                                    });
    EXPECT_EQ(result, IDOK);
    // The place arrived before the page was due: it is not opened any more.
    PumpUntil([] { return false; }, 700);
    EXPECT_EQ(Opened(), "");
}

TEST_F(MapSearch, EntryModeTakesOnlyAPositionThatArrivesWhileOpen)
{
    // A place left over for the map search is not the entry's.
    Receive(Place(L"Stale", 10, 10));
    DOCPI_RECORD entry = Place(L"");
    wcscpy(entry.name, L"");
    CPoiSendToCarDlg dlg(&main);
    dlg.m_mode = 3;
    dlg.m_record = &entry;
    dlg.m_mapAddress = L"http://maps.example/entry";
    ScriptedAnswers boxes({{Ui(112), IDOK}}, ScriptedAnswers::GivenText);
    const INT_PTR result = RunModal([&] { return dlg.DoModal(); },
                                    [&](CCustomDialog& d) {
                                        EXPECT_EQ(dlg.m_longitude, L"-");
                                        PumpUntil([] { return false; }, 800);
                                        EXPECT_EQ(dlg.m_received, 0);
                                        Receive(Place(L"Sent", -73.25, 40.5));
                                        ::SendMessageW(theGlobal.m_hMapDlg, WM_ADD_GOOGLE_DATA, 0, 0);
                                        EXPECT_EQ(dlg.m_received, 1);
                                        SaveShot(d.m_hWnd, L"map_lookup_entry");
                                        ClickChild(dlg.m_btnOK.m_hWnd);
                                    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(boxes.asked, std::vector<std::wstring>{Ui(112)});
    EXPECT_EQ(Opened(), "http://maps.example/entry\n");
    EXPECT_EQ(std::wstring(entry.name), L"Unnamed");
    EXPECT_DOUBLE_EQ(entry.longitude, -73.25);
    EXPECT_DOUBLE_EQ(entry.latitude, 40.5);
    // Taken for the entry: the map search does not offer it again.
    EXPECT_EQ(received().GetRecordCount(), 0);
}

// A link without coordinates is no position for the entry: its own stays, the
// dialog keeps waiting and the place is left to the map search.
TEST_F(MapSearch, EntryModeKeepsWaitingThroughAPlaceWithoutAPosition)
{
    DOCPI_RECORD entry = Place(L"Kept", 1.5, 2.5);
    ScriptedAnswers boxes({{Ui(112), IDOK}}, ScriptedAnswers::GivenText);
    BOOL found = TRUE;
    RunModal(
        [&] {
            found = LookUpEntryPosition(&main, entry);
            return INT_PTR{0};
        },
        [&](CCustomDialog& d) {
            Receive(Place(L"No position"));
            ::SendMessageW(theGlobal.m_hMapDlg, WM_ADD_GOOGLE_DATA, 0, 0);
            EXPECT_TRUE(boxes.asked.empty());
            EXPECT_EQ(received().GetRecordCount(), 1);
            d.SendMessage(WM_COMMAND, IDOK, 0);
        });
    EXPECT_FALSE(found);
    EXPECT_DOUBLE_EQ(entry.longitude, 1.5);
    EXPECT_DOUBLE_EQ(entry.latitude, 2.5);
    // Still waiting: a position that follows is taken.
    RunModal(
        [&] {
            found = LookUpEntryPosition(&main, entry);
            return INT_PTR{0};
        },
        [&](CCustomDialog& d) {
            Receive(Place(L"No position"));
            ::SendMessageW(theGlobal.m_hMapDlg, WM_ADD_GOOGLE_DATA, 0, 0);
            Receive(Place(L"Sent", -3.25, 50.5));
            ::SendMessageW(theGlobal.m_hMapDlg, WM_ADD_GOOGLE_DATA, 0, 0);
            d.SendMessage(WM_COMMAND, IDOK, 0);
        });
    EXPECT_TRUE(found);
    EXPECT_DOUBLE_EQ(entry.longitude, -3.25);
    EXPECT_DOUBLE_EQ(entry.latitude, 50.5);
    EXPECT_EQ(boxes.asked, std::vector<std::wstring>{Ui(112)});
}

TEST_F(MapSearch, EntryModeCancelWritesNothingAndAForeignMapAddressIsNotOpened)
{
    DOCPI_RECORD entry = Place(L"Kept", 1, 2);
    const DOCPI_RECORD before = entry;
    CPoiSendToCarDlg dlg(&main);
    dlg.m_mode = 3;
    dlg.m_record = &entry;
    dlg.m_mapAddress = L"C:\\Windows\\system32\\calc.exe";
    ScriptedAnswers boxes({{Ui(112), IDOK}}, ScriptedAnswers::GivenText);
    const INT_PTR result = RunModal([&] { return dlg.DoModal(); },
                                    [&](CCustomDialog&) {
                                        PumpUntil([] { return false; }, 800);
                                        Receive(Place(L"Sent", 5, 6));
                                        ::SendMessageW(theGlobal.m_hMapDlg, WM_ADD_GOOGLE_DATA, 0, 0);
                                        ClickChild(dlg.m_btnCancel.m_hWnd);
                                    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(memcmp(&entry, &before, sizeof entry), 0);
    EXPECT_EQ(Opened(), "");
}

TEST_F(MapSearch, AddressBookLookUpOpensTheEntrysPageAndReturnsTheReceivedPosition)
{
    DOCPI_RECORD entry = Place(L"Home");
    wcscpy(entry.address, L"1 Caf\u00e9 Road");
    ScriptedAnswers boxes({{Ui(112), IDOK}}, ScriptedAnswers::GivenText);
    BOOL found = FALSE;
    RunModal(
        [&] {
            found = LookUpEntryPosition(&main, entry);
            return INT_PTR{0};
        },
        [&](CCustomDialog& d) {
            PumpUntil([] { return false; }, 800);
            Receive(Place(L"Sent", 2.5, 48.75));
            ::SendMessageW(theGlobal.m_hMapDlg, WM_ADD_GOOGLE_DATA, 0, 0);
            d.SendMessage(WM_COMMAND, IDOK, 0);
        });
    EXPECT_TRUE(found);
    EXPECT_EQ(std::wstring(entry.name), L"Home");
    EXPECT_DOUBLE_EQ(entry.longitude, 2.5);
    EXPECT_DOUBLE_EQ(entry.latitude, 48.75);
    std::string page;
    const CString search = theGlobal.WebAddress(361);
    for (const wchar_t* p = search; *p; ++p)
        page += static_cast<char>(*p);
    EXPECT_EQ(Opened(), page + "1+Caf%C3%A9+Road\n");
    // Closed without a position: nothing found, the entry as it was.
    const DOCPI_RECORD before = entry;
    RunModal(
        [&] {
            found = LookUpEntryPosition(&main, entry);
            return INT_PTR{0};
        },
        [&](CCustomDialog& d) { d.SendMessage(WM_COMMAND, IDOK, 0); });
    EXPECT_FALSE(found);
    EXPECT_EQ(memcmp(&entry, &before, sizeof entry), 0);
}

// ---------------------------------------------------------------------------
// The map-search view

TEST_F(MapSearch, ViewShowsFourTextColumnsAndOnlyItsButtons)
{
    map().AddRecord(Place(L"Harbour", 1, 2));
    map().AddRecord(Place(L"Bakery", 3, 4));
    CreateView();
    EXPECT_EQ(view.m_list.GetColumnCount(), 4);
    EXPECT_EQ(Cell(1, 0), L"Bakery");
    EXPECT_EQ(Cell(1, 1), L"Bakery Street 1");
    EXPECT_EQ(Cell(1, 2), L"555-0100");
    EXPECT_EQ(Cell(1, 3), L"about Bakery");
    EXPECT_TRUE(view.m_btnGoogle.IsWindowVisible());
    EXPECT_TRUE(view.m_btnExport.IsWindowVisible());
    EXPECT_FALSE(view.m_btnSavePc.IsWindowVisible());
    CRect google, exportButton, edit, client;
    view.GetClientRect(&client);
    view.m_btnGoogle.GetWindowRect(&google);
    view.m_btnExport.GetWindowRect(&exportButton);
    view.m_btnEdit.GetWindowRect(&edit);
    view.ScreenToClient(&google);
    view.ScreenToClient(&exportButton);
    EXPECT_EQ(google.TopLeft(), CPoint(client.right - 6 - 192, 110));
    EXPECT_EQ(exportButton.TopLeft(), CPoint(client.right - 6 - 192, client.bottom - 50));
    EXPECT_TRUE(edit.IsRectEmpty());
    SaveShot(view.m_hWnd, L"map_search_view");
    view.DestroyWindow();
    EXPECT_EQ(theGlobal.m_piMapColumns.GetSize(), 4);
}

TEST_F(MapSearch, ShowingWithNothingReceivedOpensNoDialogButThePendingPlaceIsOfferedAtTheNextShow)
{
    CreateView(false);
    view.ShowWindow(SW_SHOW);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(theGlobal.m_dialogStack.GetSize(), 0);
    view.ShowWindow(SW_HIDE);
    Receive(Place(L"Pending", 7, 8));
    std::wstring shown;
    RunModal(
        [&] {
            view.ShowWindow(SW_SHOW);
            PumpUntil([] { return false; }, 300);
            return INT_PTR{0};
        },
        [&](CCustomDialog& d) {
            shown = Text(d.GetDlgItem(IDC_POI_NAME)->m_hWnd);
            d.EndDialog(IDCANCEL);
        });
    EXPECT_EQ(shown, L"Pending");
    // Cancel: both documents as they were.
    EXPECT_EQ(map().GetRecordCount(), 0);
    EXPECT_EQ(received().GetRecordCount(), 1);
}

TEST_F(MapSearch, AcceptingAPlaceAppendsItAsOneUndoableActionInDocumentOrder)
{
    for (const wchar_t* n : {L"Zoo", L"Airport", L"Museum"})
        map().AddRecord(Place(n));
    map().SetModified(0);
    CreateView();
    // Sorted by name (no history entry for the sort).
    view.m_list.SetFocus();
    NMLISTVIEW click{};
    click.hdr.hwndFrom = view.m_list.m_hWnd;
    click.hdr.idFrom = IDC_POI_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 0;
    view.SendMessage(WM_NOTIFY, IDC_POI_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(Cell(0, 0), L"Airport");
    EXPECT_FALSE(view.History().CanUndo());

    Receive(Place(L"Beach", 12.5, -8.25));
    const INT_PTR none = LookUp([&](CCustomDialog& d) {
        EXPECT_EQ(Text(d.GetDlgItem(IDC_POI_NAME)->m_hWnd), L"Beach");
        ClickChild(static_cast<CPoiSendToCarDlg&>(d).m_btnOK.m_hWnd);
    });
    (void)none;
    PumpPending();
    ASSERT_EQ(map().GetRecordCount(), 4);
    EXPECT_EQ(Name(3), L"Beach");
    DOCPI_RECORD beach{};
    map().GetRecord(3, &beach);
    EXPECT_DOUBLE_EQ(beach.longitude, 12.5);
    EXPECT_DOUBLE_EQ(beach.latitude, -8.25);
    EXPECT_EQ(received().GetRecordCount(), 0);
    EXPECT_EQ(map().IsModified(), 1);
    // The whole list in document order, and no sort shown any more.
    EXPECT_EQ(Cell(0, 0), L"Zoo");
    EXPECT_EQ(Cell(3, 0), L"Beach");
    EXPECT_EQ(view.m_sortKey, static_cast<int>(CPoiListModel::kNoSort));
    EXPECT_EQ(view.m_list.m_sortColumn, static_cast<int>(CPoiListModel::kNoSort));
    SaveShot(view.m_hWnd, L"map_search_accepted");

    view.SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    EXPECT_EQ(map().GetRecordCount(), 3);
    view.SendMessage(WM_COMMAND, ID_EDIT_REDO, 0);
    ASSERT_EQ(map().GetRecordCount(), 4);
    EXPECT_EQ(Name(3), L"Beach");
}

TEST_F(MapSearch, AFullListKeepsTheReceivedPlace)
{
    for (int i = 0; i < POI_MAX_RECORDS; ++i)
        map().AddRecord(Place(L"P" + std::to_wstring(i)));
    CreateView();
    Receive(Place(L"One Too Many"));
    ScriptedAnswers boxes({{Ui(19), IDOK}}, ScriptedAnswers::GivenText);
    LookUp([&](CCustomDialog& d) { ClickChild(static_cast<CPoiSendToCarDlg&>(d).m_btnOK.m_hWnd); });
    PumpUntil([&] { return !boxes.asked.empty(); }, 2000);
    EXPECT_EQ(boxes.asked, std::vector<std::wstring>{Ui(19)});
    EXPECT_EQ(map().GetRecordCount(), POI_MAX_RECORDS);
    EXPECT_EQ(received().GetRecordCount(), 1);
}

TEST_F(MapSearch, OnlyDeleteSelectAllUndoAndExportAreOffered)
{
    map().AddRecord(Place(L"Harbour", 1, 2));
    map().AddRecord(Place(L"Bakery", 3, 4));
    CreateView();
    view.m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    view.m_list.SetFocus();
    PumpPending();
    for (UINT id : {ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE, ID_RESET, ID_FILE_SAVE, ID_EDIT, ID_NEW})
        EXPECT_FALSE(Enabled(id)) << id;
    for (UINT id : {ID_DELETE, ID_EDIT_SELECT_ALL, ID_EXPORT})
        EXPECT_TRUE(Enabled(id)) << id;
    // Delete from the keyboard's command: one record less, undone again.
    view.SendMessage(WM_COMMAND, ID_DELETE, 0);
    ASSERT_EQ(map().GetRecordCount(), 1);
    EXPECT_EQ(Name(0), L"Bakery");
    view.SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    EXPECT_EQ(map().GetRecordCount(), 2);
}

}  // namespace
