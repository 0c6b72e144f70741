// The POI list views inside the real main window: pages 2 and 3 are POI
// lists, commands reach the shown list through the main window's route (the
// keys and the context menu), and Back of the KML list returns to the start
// menu.
#include <windows.h>

#include "DialogDriver.h"
#include "TestMainWindow.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "frame/MainWnd.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/poi/PoiSearchWnd.h"
#include "views/poi/PoiWnd.h"

using namespace dlgtest;

namespace {

// Once the context menu is up: Down to Delete (Cut, Copy, then Delete: the
// grey Paste is passed over), Enter.
bool* g_menuShown = nullptr;
void CALLBACK ChooseDeleteInTheMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    *g_menuShown = true;
    for (int i = 0; i < 3; ++i)
        PressKey(VK_DOWN);
    PressKey(VK_RETURN);
}

class PoiFrame : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(skintest::OpenRealPack());
        ASSERT_TRUE(LoadShippedStrings());
        InitCharClassTable();
        theGlobal.m_dialogStack.RemoveAll();
        ForgetViews();
        theGlobal.m_animation = 0;
        theGlobal.m_modelType = 0;
        theGlobal.m_windowRect = {0, 0, 0, 0};
        for (CDWordArray* widths : {&theGlobal.m_piCsvColumns, &theGlobal.m_piKmlColumns}) {
            widths->RemoveAll();
            for (DWORD w : {110, 110, 120, 150, 120, 150})
                widths->Add(w);
        }
        main = OpenMainWindow(app);
        ASSERT_NE(main, nullptr);
        hwnd = main->GetSafeHwnd();
        ::SetForegroundWindow(hwnd);
    }
    void TearDown() override
    {
        for (CDocPi* doc : {&theGlobal.m_docPiCsv, &theGlobal.m_docPiKml}) {
            doc->ResetDocument();
            doc->SetModified(0);
        }
        CloseMainWindow(app, hwnd);
        GuiTest::TearDown();
    }
    void Command(UINT id)
    {
        ::PostMessageW(hwnd, WM_COMMAND, id, 0);
        PumpPending();
        PumpPending();
    }
    CPoiWnd* View(int index) { return dynamic_cast<CPoiWnd*>(main->m_body.GetView(index)); }
    void Fill(CDocPi& doc, int n)
    {
        for (int i = 0; i < n; ++i) {
            DOCPI_RECORD r{};
            swprintf(r.name, 65, L"Place %d", i);
            r.longitude = i;
            r.latitude = i;
            doc.AddRecord(r);
        }
    }
    CMainWnd* main = nullptr;
    HWND hwnd = nullptr;
};

TEST_F(PoiFrame, PagesTwoAndThreeAreListsOfTheirOwnDocuments)
{
    ASSERT_NE(View(2), nullptr);
    ASSERT_NE(View(3), nullptr);
    EXPECT_EQ(View(2)->GetDocument(), &theGlobal.m_docPiCsv);
    EXPECT_EQ(View(3)->GetDocument(), &theGlobal.m_docPiKml);
    auto* search = dynamic_cast<CPoiSearchWnd*>(main->m_body.GetView(4));
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->GetDocument(), &theGlobal.m_docPiMap);
    Fill(theGlobal.m_docPiKml, 3);
    Command(ID_POI_EDIT_KML);
    ASSERT_EQ(theGlobal.m_viewKind, 3);
    EXPECT_EQ(View(3)->m_list.GetItemCount(), 3);
    EXPECT_EQ(View(2)->m_list.GetItemCount(), 0);
}

TEST_F(PoiFrame, KeysAndTheContextMenuReachOnlyTheShownList)
{
    Fill(theGlobal.m_docPiCsv, 4);
    Fill(theGlobal.m_docPiKml, 4);
    Command(ID_POI_EDIT_KML);
    CPoiWnd* kml = View(3);
    CPoiWnd* csv = View(2);
    kml->m_list.SetCurSel(1);
    kml->m_list.SetFocus();
    Command(ID_DELETE);  // the Del key's command
    EXPECT_EQ(theGlobal.m_docPiKml.GetRecordCount(), 3);
    EXPECT_EQ(theGlobal.m_docPiCsv.GetRecordCount(), 4);
    // Ctrl+Z of the shown list; the hidden CSV list has nothing to undo anyway,
    // and its own undo stays its own.
    csv->m_list.SetCurSel(0);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(theGlobal.m_docPiKml.GetRecordCount(), 4);

    // Right click on a row: the menu opens; Delete is chosen with the keys.
    kml->m_list.SetCurSel(2);
    kml->m_list.SetFocus();
    CRect row;
    kml->m_list.GetSubItemRect(2, 2, LVIR_BOUNDS, &row);
    bool shown = false;
    g_menuShown = &shown;
    ::SetTimer(nullptr, 0, 400, &ChooseDeleteInTheMenu);
    RealClick(kml->m_list.m_hWnd, row.left + 20, row.top + 10, true);
    PumpUntil([&] { return theGlobal.m_docPiKml.GetRecordCount() == 3; }, 3000);
    EXPECT_TRUE(shown);
    EXPECT_EQ(theGlobal.m_docPiKml.GetRecordCount(), 3);
    EXPECT_EQ(theGlobal.m_docPiCsv.GetRecordCount(), 4);
}

TEST_F(PoiFrame, TheEditButtonOpensTheDialogOfTheSelectedRow)
{
    Fill(theGlobal.m_docPiCsv, 3);
    Command(ID_POI_EDIT_CSV);
    CPoiWnd* csv = View(2);
    csv->m_list.SetCurSel(1);
    main->SendMessage(::RegisterWindowMessageW(L"WM_USER_IDLE "), 0, 0);
    ASSERT_TRUE(csv->m_btnEdit.IsWindowEnabled());
    ASSERT_TRUE(csv->m_btnEdit.IsWindowVisible());
    CString name;
    RunModal(
        [&] {
            ClickChild(csv->m_btnEdit.m_hWnd);
            PumpUntil([&] { return !name.IsEmpty(); }, 2000);
            return INT_PTR(0);
        },
        [&](CCustomDialog& d) {
            name = AfxGetWindowText(::GetDlgItem(d.m_hWnd, IDC_POI_NAME));
            PressKey(VK_ESCAPE);
        });
    EXPECT_EQ(name, CString(L"Place 1"));
    EXPECT_EQ(theGlobal.m_docPiCsv.IsModified(), 0);
    csv->m_list.SetCurSel(-1);
    main->SendMessage(::RegisterWindowMessageW(L"WM_USER_IDLE "), 0, 0);
    EXPECT_FALSE(csv->m_btnEdit.IsWindowEnabled());
}

TEST_F(PoiFrame, EachListHasItsOwnClipboard)
{
    Fill(theGlobal.m_docPiCsv, 2);
    Fill(theGlobal.m_docPiKml, 2);
    Command(ID_POI_EDIT_CSV);
    View(2)->m_list.SetCurSel(0);
    View(2)->m_list.SetFocus();
    Command(ID_EDIT_COPY);
    EXPECT_TRUE(View(2)->HasClipboard());
    Command(ID_POI_EDIT_KML);
    ASSERT_EQ(theGlobal.m_viewKind, 3);
    View(3)->m_list.SetCurSel(0);
    View(3)->m_list.SetFocus();
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(theGlobal.m_docPiKml.GetRecordCount(), 2);
    EXPECT_EQ(theGlobal.m_docPiCsv.GetRecordCount(), 2);
}

TEST_F(PoiFrame, BackOfTheKmlListEmptiesItAndReturnsToTheStartMenu)
{
    Fill(theGlobal.m_docPiKml, 2);
    Command(ID_POI_EDIT_KML);
    ASSERT_EQ(theGlobal.m_viewKind, 3);
    Command(ID_BACK);  // not modified: nothing asked
    EXPECT_EQ(theGlobal.m_viewKind, 0);
    EXPECT_EQ(theGlobal.m_docPiKml.GetRecordCount(), 0);
    EXPECT_EQ(View(3)->m_list.GetItemCount(), 0);
}

TEST_F(PoiFrame, ColumnWidthsGoBackToTheSettingsWithTheWindow)
{
    Command(ID_POI_EDIT_CSV);
    HD_ITEMW hd{};
    hd.mask = HDI_WIDTH;
    hd.cxy = 222;
    View(2)->m_list.m_header.SetItem(3, &hd);
    ::DestroyWindow(hwnd);
    ASSERT_EQ(theGlobal.m_piCsvColumns.GetSize(), 6);
    EXPECT_EQ(theGlobal.m_piCsvColumns[3], 222u);
    EXPECT_EQ(theGlobal.m_piCsvColumns[2], 120u);
    DropQuit();
}

}  // namespace
