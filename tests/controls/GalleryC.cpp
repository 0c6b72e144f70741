// The custom list and its in-place editors drawn from the real skin pack:
// header with a sort arrow, a selected row, a check column, and one list per
// open editor (text, choice, icon, date, time). Saves shots/gallery_c.png.
#include <memory>
#include <string>
#include <vector>

#include "ListTestSupport.h"
#include "SkinTestFixture.h"

using namespace listtest;

namespace {

// Small coloured squares; index 1 of the check list is a ticked box.
HIMAGELIST MakeIcons(int count, bool checks, int size = 16)
{
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count, 4);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    for (int i = 0; i < count; ++i) {
        HBITMAP bmp = CreateCompatibleBitmap(screen, size, size);
        HGDIOBJ old = SelectObject(mem, bmp);
        RECT rc{0, 0, size, size};
        HBRUSH key = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(mem, &rc, key);
        DeleteObject(key);
        if (checks) {
            RECT box{2, 2, 14, 14};
            FrameRect(mem, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            if (i == 1) {
                HPEN pen = CreatePen(PS_SOLID, 2, RGB(120, 230, 120));
                HGDIOBJ op = SelectObject(mem, pen);
                MoveToEx(mem, 4, 8, nullptr);
                LineTo(mem, 7, 11);
                LineTo(mem, 12, 4);
                SelectObject(mem, op);
                DeleteObject(pen);
            }
        } else {
            HBRUSH b = CreateSolidBrush(RGB((i * 53) % 256, (i * 97 + 80) % 256, (i * 31 + 160) % 256));
            RECT in{2, 2, size - 2, size - 2};
            FillRect(mem, &in, b);
            DeleteObject(b);
        }
        SelectObject(mem, old);
        ImageList_AddMasked(list, bmp, RGB(255, 0, 255));
        DeleteObject(bmp);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return list;
}

class GalleryC : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(controlstest::OpenSkinPack());
        ASSERT_TRUE(parent.CreateAt(0, 0, 1000, 660));
        app.m_pMainWnd = &parent;
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        for (auto& l : lists)
            if (l->m_hWnd)
                l->DestroyWindow();
        for (auto& l : labels)
            l->DestroyWindow();
        parent.DestroyWindow();
        GuiTest::TearDown();
    }
    CCustomListCtrl* AddList(const RECT& rc, DWORD style)
    {
        lists.push_back(std::make_unique<CCustomListCtrl>());
        CCustomListCtrl* l = lists.back().get();
        EXPECT_TRUE(l->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | style, rc, &parent, 100 + static_cast<int>(lists.size())));
        return l;
    }
    void Label(int x, int y, const wchar_t* text, int width = 300)
    {
        labels.push_back(std::make_unique<CStatic>());
        labels.back()->Create(text, WS_CHILD | WS_VISIBLE, CRect(x, y, x + width, y + 16), &parent, 0xFFFF);
    }
    static void Row(CCustomListCtrl* l, std::initializer_list<const wchar_t*> texts)
    {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = l->GetItemCount();
        item.pszText = const_cast<wchar_t*>(*texts.begin());
        const int row = l->InsertItem(&item);
        int c = 0;
        for (const wchar_t* t : texts)
            l->m_items[row].SetText(c++, t);
    }
    CListParent parent;
    std::vector<std::unique_ptr<CCustomListCtrl>> lists;
    std::vector<std::unique_ptr<CStatic>> labels;
};

TEST_F(GalleryC, ListWithHeaderSelectionAndEveryEditor)
{
    const DWORD edit = LVS_EDITLABELS | LVS_SHAREIMAGELISTS;
    HIMAGELIST checks = MakeIcons(2, true), icons = MakeIcons(24, false, 24);
    CImageList checkList, iconList;
    checkList.Attach(checks);
    iconList.Attach(icons);

    // The main list: sorted by name, row 2 selected, a check column, a text edit open.
    Label(10, 4, L"List: header with sort arrow, selection skin, check column, text editor open", 600);
    CCustomListCtrl* main = AddList({10, 22, 590, 322}, edit);
    main->InsertColumn(0, L"Name", LVCFMT_LEFT, 170);
    main->InsertColumn(1, L"Size", LVCFMT_RIGHT, 80);
    main->InsertColumn(2, L"Kind", LVCFMT_CENTER, 90);
    main->InsertColumn(3, L"Date", LVCFMT_LEFT, 110);
    main->InsertColumn(4, L"On", LVCFMT_LEFT, 60);
    main->InsertColumn(5, L"Note", LVCFMT_LEFT, 160);
    main->SetAllColumnsSortable(TRUE);
    main->SetSortArrow(0, TRUE);
    main->SetImageList(&checkList, 2);
    main->m_cellMode = TRUE;
    main->m_columnProps[1].type = CCustomListCtrl::EditText;
    main->m_columnProps[4].type = CCustomListCtrl::EditCheck;
    main->m_columnProps[5].type = CCustomListCtrl::EditReadOnly;
    const wchar_t* names[] = {L"Airport parking", L"Bakery Nord", L"Camping Lakeside", L"Dental clinic",
                              L"Ferry terminal", L"Fuel station A7", L"Harbour office", L"Library",
                              L"Museum of Trains", L"Post office"};
    for (int i = 0; i < 10; ++i) {
        wchar_t size[16];
        swprintf(size, 16, L"%d kB", (i + 3) * 37);
        Row(main, {names[i], size, i % 2 ? L"POI" : L"Route", L"2024/02/29", L"", L"read only"});
        main->m_items[i].image[4] = i % 3 == 0 ? 1 : 0;
    }
    main->SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    main->m_focusItem = 2;
    main->UpdateScrollBars();

    // One list per popup editor.
    auto small = [&](int x, int y, int type, const wchar_t* caption, const wchar_t* text) {
        Label(x, y - 18, caption, 190);
        CCustomListCtrl* l = AddList({x, y, x + 190, y + 24 + 36 * 4}, edit);
        l->InsertColumn(0, L"Item", LVCFMT_LEFT, 70);
        l->InsertColumn(1, L"Value", LVCFMT_LEFT, 120);
        l->m_cellMode = TRUE;
        l->m_columnProps[1].type = type;
        for (int i = 0; i < 4; ++i)
            Row(l, {i == 0 ? L"first" : L"other", text});
        l->UpdateScrollBars();
        return l;
    };
    CCustomListCtrl* choice = small(610, 40, CCustomListCtrl::EditChoice, L"Choice editor", L"Bike");
    choice->m_columnProps[1].options = L"Car\nBike\nWalk\nTrain";
    choice->m_items[0].param[1] = 1;
    CCustomListCtrl* icon = small(440, 380, CCustomListCtrl::EditIcon, L"Icon editor (24-pixel icons)", L"");
    icon->MoveWindow(440, 380, 550, 24 + 36 * 7);
    icon->SetImageList(&iconList, LVSIL_SMALL);
    icon->m_items[0].image[1] = 5;
    CCustomListCtrl* time = small(610, 250, CCustomListCtrl::EditTime, L"Time editor", L"12:34:56");
    CCustomListCtrl* date = small(10, 350, CCustomListCtrl::EditDate, L"Date editor", L"2024/02/29");
    HD_ITEMW wide{};
    wide.mask = HDI_WIDTH;
    wide.cxy = 300;
    date->MoveWindow(10, 350, 420, 24 + 36 * 7);
    date->m_header.SetItem(1, &wide);
    date->UpdateScrollBars();

    skintest::Settle(parent.m_hWnd);
    // Each editor would close when the next one takes the focus: its posted end
    // is dropped, since the gallery holds them all open at once.
    auto open = [&](CCustomListCtrl* l, int row, int column) {
        ASSERT_NE(nullptr, l->EditSubItem(row, column));
        MSG m;
        while (PeekMessageW(&m, nullptr, WM_END_EDIT_LABEL, WM_END_EDIT_LABEL, PM_REMOVE)) {
        }
    };
    main->m_typedText = L"1";
    open(main, 4, 1);
    open(choice, 0, 1);
    choice->m_choiceList.SetCurSel(2);
    open(icon, 0, 1);
    open(date, 0, 1);
    open(time, 0, 1);
    for (auto& l : lists)
        ::RedrawWindow(l->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Drain(100);
    MSG m;
    while (PeekMessageW(&m, nullptr, WM_END_EDIT_LABEL, WM_END_EDIT_LABEL, PM_REMOVE)) {
    }
    ::GdiFlush();
    RECT rc;
    parent.GetWindowRect(&rc);
    skintest::Pixels shot(rc);
    EXPECT_TRUE(shot.SavePng(L"gallery_c"));
    // Every editor is still there and drawn.
    for (auto* l : {main, choice, icon, date, time}) {
        EXPECT_NE(nullptr, l->m_editorWnd);
        EXPECT_TRUE(::IsWindowVisible(l->m_editorWnd));
    }
    for (auto& l : lists)
        l->EndEdit(TRUE);
    checkList.Detach();
    iconList.Detach();
    ImageList_Destroy(checks);
    ImageList_Destroy(icons);
}

}  // namespace
