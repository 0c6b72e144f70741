// The POI list view under Xvfb: layout, in-place and dialog edits, New,
// deletion and the clipboard through commands, the context menu, refusal of a
// hidden view's commands, and the list's cell images.
#include "PoiViewFixture.h"
#include "controls/CustomMenu.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/poi/PoiEditDlg.h"

using namespace poitest;

namespace {

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

TEST_F(PoiView, NewAddsTheDialogsRecordAtTheEndAndUndoTakesItAway)
{
    RunModal(
        [&] {
            Command(ID_NEW);
            return INT_PTR(0);
        },
        [&](CCustomDialog& d) {
            EXPECT_EQ(AfxGetWindowText(::GetDlgItem(d.m_hWnd, IDC_POI_LONGITUDE)), CString(L"-"));
            ::SetDlgItemTextW(d.m_hWnd, IDC_POI_NAME, L"Lighthouse");
            ::SetDlgItemTextW(d.m_hWnd, IDC_POI_LATITUDE, L"-33,85");
            ::SetDlgItemTextW(d.m_hWnd, IDC_POI_LONGITUDE, L"151.25");
            ClickChild(static_cast<CPoiEditDlg&>(d).m_btnOK.m_hWnd);
            WaitEnded(d);
        });
    ASSERT_EQ(doc().GetRecordCount(), 6);
    EXPECT_EQ(Name(5), L"Lighthouse");
    EXPECT_EQ(Cell(5, 0), L" 151.250000");
    EXPECT_EQ(Cell(5, 1), L" -33.850000");
    EXPECT_EQ(view.m_list.GetItemCount(), 6);
    EXPECT_EQ(doc().IsModified(), 1);
    EXPECT_EQ(::GetFocus(), view.m_list.m_hWnd);
    view.m_list.SetFocus();
    Command(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(view.m_list.GetSelectedCount(), 6);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(doc().GetRecordCount(), 5);
    EXPECT_EQ(view.m_list.GetItemCount(), 5);
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Name(5), L"Lighthouse");
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

namespace {

// The POI list puts a cell's image at its left edge whatever the column's
// alignment (the custom list puts it at the right of a right-aligned column).
class PoiListDraw : public DialogTest {};

TEST_F(PoiListDraw, ACellsImageSitsTwoPixelsFromItsLeftEdge)
{
    CPoiListCtrl list;
    ASSERT_TRUE(list.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 10, 410, 210), &main, 5));
    list.InsertColumn(0, L"Right", LVCFMT_RIGHT, 200);
    list.InsertColumn(1, L"Other", LVCFMT_LEFT, 100);
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24, 1, 1));
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP red = ::CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = ::SelectObject(memory, red);
    RECT all{0, 0, 16, 16};
    HBRUSH brush = ::CreateSolidBrush(RGB(255, 0, 0));
    ::FillRect(memory, &all, brush);
    ::SelectObject(memory, old);
    ::DeleteObject(brush);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    ASSERT_EQ(ImageList_Add(images.GetSafeHandle(), red, nullptr), 0);
    ::DeleteObject(red);
    list.SetImageList(&images, LVSIL_SMALL);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(L"x");
    item.iImage = 0;
    ASSERT_EQ(list.InsertItem(&item), 0);
    list.UpdateScrollBars();
    list.Invalidate();
    skintest::Settle(list.m_hWnd);
    RECT cell{};
    ASSERT_TRUE(list.GetSubItemRect(0, 0, LVIR_BOUNDS, &cell));
    skintest::Pixels px(list.m_hWnd);
    const int y = cell.top + (list.GetRowHeight() - 16) / 2 + 8;
    // Its 16 columns start exactly 2 pixels in.
    EXPECT_NE(px.At(cell.left + 1, y), RGB(255, 0, 0));
    EXPECT_EQ(px.At(cell.left + 2, y), RGB(255, 0, 0));
    EXPECT_EQ(px.At(cell.left + 2 + 15, y), RGB(255, 0, 0));
    EXPECT_NE(px.At(cell.left + 2 + 16, y), RGB(255, 0, 0));
    EXPECT_NE(px.At(cell.left + 200 - 2 - 8, y), RGB(255, 0, 0));
    list.DestroyWindow();
}

}  // namespace

