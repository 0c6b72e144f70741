// The editing keys (Delete, Ctrl+A, C, X, V, Z, Y) pressed in a cell editor
// or an edit field of a view inside the real main window: they act on the
// field as an edit field's keys do, and no view command (delete, copy, undo,
// redo, the map's copy) runs on the view's document instead.
#include "GuiTestSupport.h"

#include <functional>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "LocalHttpServer.h"
#include "TestMainWindow.h"
#include "classlib/EditingKeys.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "frame/MainWnd.h"
#include "res/frame_ids.h"
#include "res/report_ids.h"
#include "views/device/AbWnd.h"
#include "views/device/CloningWnd.h"
#include "views/poi/PoiWnd.h"
#include "views/report/DriveReportWnd.h"
#include "views/report/FeWnd.h"

namespace {

// A key pressed through the system's input queue, with Ctrl held around it
// as a hand holds it (down before the key arrives, up after it was handled).
void Press(WORD key, bool ctrl = false)
{
    auto send = [](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ::SendInput(1, &in, sizeof in);
        PumpUntil([] { return false; }, 60);
    };
    if (ctrl)
        send(VK_CONTROL, false);
    send(key, false);
    send(key, true);
    if (ctrl)
        send(VK_CONTROL, true);
}

std::wstring Clipboard()
{
    std::wstring text;
    if (!::OpenClipboard(nullptr))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void SetClipboard(const std::wstring& text)
{
    if (!::OpenClipboard(nullptr))
        return;
    ::EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        memcpy(::GlobalLock(data), text.c_str(), bytes);
        ::GlobalUnlock(data);
        ::SetClipboardData(CF_UNICODETEXT, data);
    }
    ::CloseClipboard();
}

std::wstring Text(HWND edit)
{
    wchar_t text[256] = L"";
    ::GetWindowTextW(edit, text, 256);
    return text;
}

// Every editing key in turn on a focused edit field that starts with "42":
// each must act on the field, and the view's document (as document() shows
// it) must stay as it was.
void TypeEditingKeys(HWND edit, const std::function<std::wstring()>& document)
{
    ASSERT_EQ(::GetFocus(), edit);
    const std::wstring before = document();
    ::SetWindowTextW(edit, L"42");
    ::SendMessageW(edit, EM_SETSEL, 0, 0);
    SetClipboard(L"none");
    const struct {
        WORD key;
        bool ctrl;
        const wchar_t* text;       // the field's text after the key
        const wchar_t* clipboard;  // the clipboard's text after it
        const char* name;
    } steps[] = {
        {VK_DELETE, false, L"2", L"none", "Delete"},
        {'A', true, L"2", L"none", "Ctrl+A"},
        {'C', true, L"2", L"2", "Ctrl+C"},
        {'X', true, L"", L"2", "Ctrl+X"},
        {'V', true, L"2", L"2", "Ctrl+V"},
        {'V', true, L"22", L"2", "Ctrl+V again"},
        {'Z', true, nullptr, L"2", "Ctrl+Z"},  // the field's own undo, whatever it takes back
        {'Y', true, nullptr, L"2", "Ctrl+Y"},  // nothing: the field has no redo
    };
    std::wstring undone;
    for (const auto& s : steps) {
        const std::wstring previous = Text(edit);
        Press(s.key, s.ctrl);
        ASSERT_TRUE(::IsWindow(edit)) << s.name;
        EXPECT_EQ(::GetFocus(), edit) << s.name;
        if (s.key == 'Z')
            EXPECT_NE(undone = Text(edit), previous) << s.name;
        else if (s.key == 'Y')
            EXPECT_EQ(Text(edit), undone) << s.name;
        else
            EXPECT_EQ(Text(edit), s.text) << s.name;
        EXPECT_EQ(Clipboard(), s.clipboard) << s.name;
        EXPECT_EQ(document(), before) << s.name << ": a view command ran";
        if (s.key == 'A') {
            DWORD start = 1, end = 0;
            ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, 1u);
        }
    }
}

std::wstring PoiNames(CDocPi& doc)
{
    std::wstring all;
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        DOCPI_RECORD r{};
        doc.GetRecord(i, &r);
        all += std::wstring(r.name) + L"|";
    }
    return all;
}

std::wstring BookNames()
{
    std::wstring all;
    for (int i = 0; i < theGlobal.m_docAb.GetEntryCount(); ++i) {
        DOCAB_UI_RECORD r{};
        theGlobal.m_docAb.GetEntry(i, &r);
        all += std::wstring(r.name) + L"|";
    }
    return all;
}

std::wstring FuelDistances()
{
    std::wstring all;
    for (INT_PTR i = 0; i < theGlobal.m_docFe.m_records.GetSize(); ++i)
        all += std::to_wstring(theGlobal.m_docFe.m_records[i].distance) + L"|";
    return all;
}

std::wstring ReportNames()
{
    std::wstring all;
    for (INT_PTR i = 0; i < theGlobal.m_docDr.m_reports.GetSize(); ++i)
        all += std::wstring(theGlobal.m_docDr.m_reports[i].m_listData.name) + L"|";
    return all;
}

void FillPoi(CDocPi& doc)
{
    doc.ResetDocument();
    for (const wchar_t* name : {L"Harbour", L"Bakery", L"Museum", L"Castle"}) {
        DOCPI_RECORD r{};
        lstrcpyW(r.name, name);
        r.longitude = 10;
        r.latitude = 20;
        doc.AddRecord(r);
    }
    doc.SetModified(0);
}

void FillBook()
{
    CDocAb& book = theGlobal.m_docAb;
    book.InitErrorStrings();
    book.ClearAll();
    book.InitHome();
    for (const wchar_t* name : {L"Ada", L"Grace", L"Alan", L"Edsger"}) {
        DOCAB_UI_RECORD r{};
        lstrcpyW(r.name, name);
        r.longitude = r.latitude = AB_NO_POSITION;
        book.AddEntry(r);
    }
    book.SetModified(0);
}

void FillFuel()
{
    CDocFe& doc = theGlobal.m_docFe;
    doc.RemoveAll();
    for (int i = 0; i < 4; ++i) {
        DOCFUEL_DATA r{};
        r.year = 2011, r.month = 4, r.day = 2 + i, r.hour = 9;
        r.distance = 1000 * (i + 1);
        r.amount = 3000;
        r.price = 150;
        r.priceUnit = 3;
        r.latitude = r.longitude = kNoPosition;
        doc.m_records.Add(r);
    }
    doc.UpdateDerivedValues(0);
    doc.SetModified(0);
}

void FillReports()
{
    CDocDr& doc = theGlobal.m_docDr;
    doc.m_reports.RemoveAll();
    for (const wchar_t* name : {L"Morning", L"Evening", L"Coast"}) {
        CDocDrivingReport r;
        r.m_valid = 1;
        r.m_listData = DR_LIST_DATA{};
        r.m_listData.checked = 1;
        lstrcpyW(r.m_listData.name, name);
        lstrcpyW(r.m_listData.text1, L"a");
        lstrcpyW(r.m_listData.text2, L"b");
        lstrcpyW(r.m_listData.text3, L"c");
        doc.m_reports.Add(r);
    }
}

class EditorKeys : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(skintest::OpenRealPack());
        ASSERT_TRUE(dlgtest::LoadShippedStrings());
        InitCharClassTable();
        theGlobal.m_dialogStack.RemoveAll();
        ForgetViews();
        theGlobal.m_animation = 0;
        theGlobal.m_modelType = 5;
        theGlobal.m_windowRect = {0, 0, 1024, 768};
        main = OpenMainWindow(app);
        ASSERT_NE(main, nullptr);
        hwnd = main->GetSafeHwnd();
        main->MoveWindow(0, 0, 1024, 768);
        ::SetForegroundWindow(hwnd);
    }
    void TearDown() override
    {
        CloseMainWindow(app, hwnd);
        for (CDocPi* doc : {&theGlobal.m_docPiCsv, &theGlobal.m_docPiKml}) {
            doc->ResetDocument();
            doc->SetModified(0);
        }
        theGlobal.m_docAb.ClearAll();
        theGlobal.m_docAb.InitHome();
        theGlobal.m_docAb.SetModified(0);
        theGlobal.m_docFe.RemoveAll();
        theGlobal.m_docFe.SetModified(0);
        theGlobal.m_docDr.m_reports.RemoveAll();
        GuiTest::TearDown();
    }
    void Command(UINT id)
    {
        ::PostMessageW(hwnd, WM_COMMAND, id, 0);
        PumpPending();
        PumpPending();
    }
    CWnd* View(int index) { return main->m_body.GetView(index); }
    // Two rows deleted and one of them brought back through the view's own
    // commands, so that both its undo and its redo would change the document.
    void LeaveUndoAndRedo(CCustomListCtrl& list, int row)
    {
        for (int i = 0; i < 2; ++i) {
            dlgtest::SelectRows(list, {row});
            Command(ID_DELETE);
        }
        Command(ID_EDIT_UNDO);
        list.SetFocus();
    }
    // Opens the editor of a cell of the current row, as a click on it does.
    HWND OpenCellEditor(CCustomListCtrl& list, int row, int column)
    {
        dlgtest::SelectRows(list, {row});
        HWND editor = list.EditSubItem(row, column);
        PumpPending();
        return editor;
    }
    CMainWnd* main = nullptr;
    HWND hwnd = nullptr;
};

// Every view whose list has cell editors for text: the keys reach the open
// editor and the document keeps what it had, undo and redo both pending.
TEST_F(EditorKeys, CellEditorsOfEveryListKeepTheirKeys)
{
    const struct {
        const char* name;
        UINT command;
        int view;
        std::function<void()> fill;
        std::function<CCustomListCtrl&(CWnd*)> list;
        int column;
        bool history;  // the view has delete, undo and redo
        std::function<std::wstring()> document;
    } cases[] = {
        {"POI list (CSV)", ID_POI_EDIT_CSV, 2, [] { FillPoi(theGlobal.m_docPiCsv); },
         [](CWnd* v) -> CCustomListCtrl& { return dynamic_cast<CPoiWnd*>(v)->m_list; }, 2, true,
         [] { return PoiNames(theGlobal.m_docPiCsv); }},
        {"POI list (KML)", ID_POI_EDIT_KML, 3, [] { FillPoi(theGlobal.m_docPiKml); },
         [](CWnd* v) -> CCustomListCtrl& { return dynamic_cast<CPoiWnd*>(v)->m_list; }, 2, true,
         [] { return PoiNames(theGlobal.m_docPiKml); }},
        {"address book", ID_ADDRESS_BOOK, 8, FillBook,
         [](CWnd* v) -> CCustomListCtrl& { return dynamic_cast<CAbWnd*>(v)->m_list; }, 2, true, BookNames},
        {"fuel log", ID_FUEL_REPORT, 11, FillFuel,
         [](CWnd* v) -> CCustomListCtrl& { return dynamic_cast<CFeWnd*>(v)->m_list; }, 2, true, FuelDistances},
        {"drive reports", ID_DRIVE_REPORT, 10, FillReports,
         [](CWnd* v) -> CCustomListCtrl& { return dynamic_cast<CDriveReportWnd*>(v)->m_listPane.m_list; }, 4,
         false, ReportNames},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.fill();
        Command(c.command);
        ASSERT_EQ(theGlobal.m_viewKind, c.view);
        theGlobal.UpdateAllViews();
        PumpPending();
        CCustomListCtrl& list = c.list(View(c.view));
        if (c.history)
            LeaveUndoAndRedo(list, 2);
        HWND editor = OpenCellEditor(list, 1, c.column);
        ASSERT_NE(editor, nullptr);
        TypeEditingKeys(editor, c.document);
        Press(VK_ESCAPE);
        PumpUntil([&] { return list.m_editorWnd == nullptr; }, 2000);
        Command(ID_MAIN_MENU);
    }
}

// The drive reports' map is shown and takes Ctrl+C, but not from a cell editor.
TEST_F(EditorKeys, TheMapsCopyLeavesTheDriveReportsCellEditorAlone)
{
    FillReports();
    Command(ID_DRIVE_REPORT);
    auto* view = dynamic_cast<CDriveReportWnd*>(View(10));
    ASSERT_NE(view, nullptr);
    testsupport::LocalHttpServer server([](const testsupport::HttpRequest&, testsupport::HttpConnection& c) {
        c.Reply(200, "<html></html>", "text/html");
    });
    const CString savedBase = theGlobal.m_webBaseUrl;
    theGlobal.m_webBaseUrl = (server.BaseUrl() + L"/mirovale/").c_str();
    theGlobal.UpdateAllViews();
    CCustomListCtrl& list = view->m_listPane.m_list;
    list.SetCurSel(0);
    list.NotifySelChange();
    ASSERT_TRUE(PumpUntil([&] { return view->m_browse.m_browser.IsWindowVisible() != FALSE; }, 3000));
    theGlobal.m_webBaseUrl = savedBase;
    HWND editor = OpenCellEditor(list, 0, 5);
    ASSERT_NE(editor, nullptr);
    ::SetWindowTextW(editor, L"route");
    ::SendMessageW(editor, EM_SETSEL, 0, -1);
    SetClipboard(L"none");
    Press('C', true);
    EXPECT_EQ(Clipboard(), L"route");
    Press(VK_ESCAPE);
}

// The header's title edit over a POI list: the list's Delete and Redo stay
// the list's, the keys the title's.
TEST_F(EditorKeys, TheTitleEditKeepsItsKeys)
{
    FillPoi(theGlobal.m_docPiKml);
    CEdit& title = main->m_header.m_titleEdit;

    Command(ID_POI_EDIT_KML);
    auto* list = dynamic_cast<CPoiWnd*>(View(3));
    ASSERT_NE(list, nullptr);
    list->RefreshList();
    LeaveUndoAndRedo(list->m_list, 2);
    dlgtest::SelectRows(list->m_list, {0});
    ASSERT_TRUE(title.IsWindowVisible());
    title.SetFocus();
    TypeEditingKeys(title.m_hWnd, [] { return PoiNames(theGlobal.m_docPiKml); });
}

// The colour fields of the settings replicator are edit fields too.
TEST_F(EditorKeys, TheReplicatorsColourFieldsKeepTheirKeys)
{
    Command(ID_CLONING);
    auto* view = dynamic_cast<CCloningWnd*>(View(6));
    ASSERT_NE(view, nullptr);
    CEdit& red = view->m_spins[0].m_edit;
    red.SetFocus();
    TypeEditingKeys(red.m_hWnd, [] { return std::wstring(); });
}

// A cell editor that is no edit field (a choice, a date) is marked while it
// is open: its parents are not asked about its editing keys.
TEST_F(EditorKeys, AMarkedCellEditorsKeysPassItsParents)
{
    struct Parent : CWnd {
        BOOL PreTranslateMessage(MSG*) override
        {
            ++asked;
            return TRUE;
        }
        int asked = 0;
    } parent;
    ASSERT_TRUE(parent.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), main, 0x1234));
    HWND choice = ::CreateWindowExW(0, L"Static", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent.m_hWnd,
                                    nullptr, nullptr, nullptr);
    MSG del{choice, WM_KEYDOWN, VK_DELETE, 0x00530001, 0, {}};
    AfxSetCellEditor(choice, TRUE);
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(&del));
    EXPECT_EQ(parent.asked, 0);
    AfxSetCellEditor(choice, FALSE);
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(&del));
    EXPECT_EQ(parent.asked, 1);
    MSG f5{choice, WM_KEYDOWN, VK_F5, 0x003F0001, 0, {}};
    AfxSetCellEditor(choice, TRUE);
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(&f5)) << "not an editing key: the parents see it";
    parent.DestroyWindow();
}

}  // namespace
