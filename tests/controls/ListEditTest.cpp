// The editing protocol and the text editor, driven by real keys and clicks.
#include "ListTestSupport.h"

using namespace listtest;

namespace {

class ListEdit : public ListTest {
protected:
    void MakeEditable(DWORD style = LVS_EDITLABELS | LVS_SINGLESEL, int rows = 12)
    {
        Make(style, rows);
        list.m_columnProps[1].type = CCustomListCtrl::EditText;
        list.m_columnProps[2].type = CCustomListCtrl::EditCheck;
        list.m_cellMode = TRUE;
    }
    std::wstring EditorText()
    {
        wchar_t buf[256] = L"";
        ::GetWindowTextW(list.m_editorWnd, buf, 256);
        return buf;
    }
};

TEST_F(ListEdit, NoEditorWhereNoneMayOpen)
{
    Make(LVS_EDITLABELS, 3);
    list.m_cellMode = TRUE;
    list.m_columnProps[1].type = CCustomListCtrl::EditNone;
    list.m_columnProps[2].type = CCustomListCtrl::EditReadOnly;
    EXPECT_EQ(nullptr, list.EditSubItem(0, 1));
    EXPECT_EQ(nullptr, list.EditSubItem(0, 2));
    EXPECT_EQ(nullptr, list.EditSubItem(3, 0));
    EXPECT_EQ(0u, parent.notes.size());
    CCustomListCtrl plain;
    ASSERT_TRUE(plain.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(420, 10, 620, 200), &parent, 8));
    plain.InsertColumn(0, L"Name", LVCFMT_LEFT, 100);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"a");
    plain.InsertItem(&item);
    EXPECT_EQ(nullptr, plain.EditSubItem(0, 0));
    EXPECT_EQ(0u, parent.notes.size());
    EXPECT_EQ(0, parent.enterMenuLoop);
}

TEST_F(ListEdit, WithoutCellModeTheFirstColumnIsEdited)
{
    Make(LVS_EDITLABELS, 8);
    list.m_columnProps[1].type = CCustomListCtrl::EditText;
    HWND editor = list.EditSubItem(5, 1);
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(5, list.m_curRow);
    EXPECT_EQ(0, list.m_curCol);
    EXPECT_EQ(L"Row 5", EditorText());
    list.EndEdit(TRUE);
}

TEST_F(ListEdit, EnterStartsWithTheWholeTextTypingCommitsEscapeCancels)
{
    MakeEditable();
    ClickCell(2, 0);
    Key(VK_RETURN);
    ASSERT_NE(nullptr, list.m_editorWnd);
    EXPECT_EQ(L"Row 2", EditorText());
    DWORD s = 0, e = 0;
    ::SendMessageW(list.m_editorWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    EXPECT_EQ(0u, s);
    EXPECT_EQ(5u, e);
    EXPECT_EQ(1, parent.enterMenuLoop);
    Key('X');
    Key(VK_ESCAPE);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    EXPECT_EQ(0, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(L"Row 2", Text(2, 0));
    EXPECT_EQ(1, parent.exitMenuLoop);

    Key(VK_RETURN);
    ASSERT_NE(nullptr, list.m_editorWnd);
    Key(VK_END);
    Key('7');
    Key(VK_RETURN);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    const Note end = parent.Of(LVN_ENDLABELEDITW)[0];
    EXPECT_EQ(2, end.item);
    EXPECT_EQ(L"Row 27", end.text);
    EXPECT_EQ(static_cast<UINT>(LVIF_TEXT), end.mask);
    EXPECT_EQ(L"Row 27", Text(2, 0));
    EXPECT_EQ(parent.enterMenuLoop, parent.exitMenuLoop);
    EXPECT_EQ(::GetFocus(), list.m_hWnd);

    // Unchanged: nothing to tell.
    Key(VK_RETURN);
    Key(VK_RETURN);
    EXPECT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
}

TEST_F(ListEdit, TypedCharacterStartsTheEditorAsTyped)
{
    MakeEditable();
    ClickCell(1, 0);
    Key('K');
    ASSERT_NE(nullptr, list.m_editorWnd);
    EXPECT_EQ(L"k", EditorText());
    DWORD s = 0, e = 0;
    ::SendMessageW(list.m_editorWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    EXPECT_EQ(1u, s);
    EXPECT_EQ(1u, e);
    Key(VK_ESCAPE);
    // With Shift the capital arrives, not the key's lower-case letter.
    Key('K', VK_SHIFT);
    ASSERT_NE(nullptr, list.m_editorWnd);
    EXPECT_EQ(L"K", EditorText());
    Key(VK_ESCAPE);
}

TEST_F(ListEdit, ClickElsewhereCommitsParentRewriteIsStoredVetoClosesTheEditor)
{
    MakeEditable();
    parent.rewriteEnd = L"Renamed";
    ClickCell(3, 0);
    Key(VK_F2);
    ASSERT_NE(nullptr, list.m_editorWnd);
    Key('Z');
    ClickCell(6, 0);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(L"Renamed", Text(3, 0));

    parent.vetoBegin = 1;
    const int before = parent.exitMenuLoop;
    EXPECT_EQ(nullptr, list.EditSubItem(6, 1));
    EXPECT_EQ(nullptr, list.m_editorWnd);
    EXPECT_FALSE(list.m_editing);
    EXPECT_EQ(before + 1, parent.exitMenuLoop);
    EXPECT_EQ(parent.enterMenuLoop, parent.exitMenuLoop);
}

TEST_F(ListEdit, OwnerDataCommitStoresNothing)
{
    MakeEditable(LVS_EDITLABELS | LVS_SINGLESEL | LVS_OWNERDATA, 0);
    parent.dispInfo = [](NMLVDISPINFOW* di) {
        if (di->item.mask & LVIF_TEXT)
            wcscpy(di->item.pszText, L"virtual");
    };
    list.m_items.SetSize(4);
    list.UpdateScrollBars();
    ASSERT_NE(nullptr, list.EditSubItem(1, 0));
    EXPECT_EQ(L"virtual", EditorText());
    Key('Q');
    Key(VK_RETURN);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(L"q", parent.Of(LVN_ENDLABELEDITW)[0].text);
    EXPECT_EQ(nullptr, list.m_items[1].text[0]);
}

TEST_F(ListEdit, RightAlignedEditorGrowsLeftAndStaysInTheClientArea)
{
    MakeEditable();
    ClickCell(0, 1);
    Key(VK_RETURN);
    ASSERT_NE(nullptr, list.m_editorWnd);
    RECT cell{};
    list.GetSubItemRect(0, 1, LVIR_LABEL, &cell);
    auto editorRect = [&] {
        RECT rc{};
        ::GetWindowRect(list.m_editorWnd, &rc);
        ::MapWindowPoints(nullptr, list.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    EXPECT_EQ(cell.right, editorRect().right);
    for (int i = 0; i < 40; ++i)
        Key('W');
    const RECT grown = editorRect();
    RECT client{};
    list.GetClientRect(&client);
    EXPECT_EQ(cell.right, grown.right);
    EXPECT_LT(grown.left, cell.left);
    EXPECT_GE(grown.left, 0);
    EXPECT_LE(grown.right, client.right);
    Key(VK_ESCAPE);
}

TEST_F(ListEdit, CheckToggleCommitsOnceAndLaterScrollingCommitsNothing)
{
    MakeEditable(LVS_EDITLABELS | LVS_SINGLESEL, 30);
    ClickCell(1, 2);
    ASSERT_EQ(1, parent.Count(LVN_BEGINLABELEDITW));
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    const Note end = parent.Of(LVN_ENDLABELEDITW)[0];
    EXPECT_EQ(1, end.item);
    EXPECT_EQ(2, end.subItem);
    EXPECT_EQ(1, end.image);
    EXPECT_EQ(1, list.GetItemImage(1, 2));
    EXPECT_EQ(nullptr, list.m_editorWnd);

    // Scrolling, the wheel and keyboard moves that scroll are no toggles.
    list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    list.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    list.EnsureVisible(0);
    Key(VK_NEXT);
    Key(VK_NEXT);
    EXPECT_EQ(1, parent.Count(LVN_ENDLABELEDITW));

    // A veto keeps the cell as it is.
    parent.vetoBegin = 1;
    ClickCell(list.m_topIndex, 2);
    EXPECT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
}

}  // namespace

namespace {

class ListEditMore : public ListTest {
protected:
    std::wstring EditorText()
    {
        wchar_t buf[256] = L"";
        ::GetWindowTextW(list.m_editorWnd, buf, 256);
        return buf;
    }
};

TEST_F(ListEditMore, ClickOnTheSelectedRowEditsAfterTheDelay)
{
    Make(LVS_EDITLABELS, 5);
    ClickCell(2, 0);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    ClickCell(2, 0);  // already selected: the delayed edit
    Drain(100);
    ASSERT_NE(nullptr, list.m_editorWnd);
    EXPECT_EQ(L"Row 2", EditorText());
    Key(VK_ESCAPE);
}

TEST_F(ListEditMore, TabMovesToTheNextColumnAndEditsIt)
{
    Make(LVS_EDITLABELS | LVS_SINGLESEL, 5);
    list.m_cellMode = TRUE;
    list.m_tabNavigation = TRUE;
    list.m_columnProps[1].type = CCustomListCtrl::EditText;
    ClickCell(1, 0);
    Key(VK_RETURN);
    ASSERT_NE(nullptr, list.m_editorWnd);
    Key(VK_END);
    Key('A');
    Key(VK_TAB);
    Drain(60);
    EXPECT_EQ(L"Row 1a", Text(1, 0));  // committed on the way
    ASSERT_NE(nullptr, list.m_editorWnd);
    EXPECT_EQ(1, list.m_curCol);
    EXPECT_EQ(L"10", EditorText());
    Key(VK_TAB, VK_SHIFT);
    Drain(60);
    EXPECT_EQ(0, list.m_curCol);
    ASSERT_NE(nullptr, list.m_editorWnd);
    EXPECT_EQ(L"Row 1a", EditorText());
    Key(VK_ESCAPE);
    EXPECT_EQ(parent.enterMenuLoop, parent.exitMenuLoop);
}

TEST_F(ListEditMore, CheckColumnWithoutCellModeTogglesItsOwnCell)
{
    Make(LVS_EDITLABELS, 3);
    list.m_columnProps[2].type = CCustomListCtrl::EditCheck;
    ClickCell(1, 2);
    EXPECT_EQ(nullptr, list.m_editorWnd);  // no name editor on column 0
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(2, parent.Of(LVN_ENDLABELEDITW)[0].subItem);
    EXPECT_EQ(1, list.GetItemImage(1, 2));
    EXPECT_EQ(-1, list.GetItemImage(1, 0));
    EXPECT_EQ(L"Row 1", Text(1, 0));
}

TEST_F(ListEditMore, InsertKeySwitchesToOverwrite)
{
    Make(LVS_EDITLABELS, 3);
    ASSERT_NE(nullptr, list.EditSubItem(0, 0));
    Drain(30);
    Key(VK_HOME);
    Key(VK_INSERT);
    EXPECT_FALSE(list.m_edit.m_insertMode);
    Key('X');
    Key('Y');
    EXPECT_EQ(L"xyw 0", EditorText());
    Key(VK_INSERT);
    Key('Z');
    EXPECT_EQ(L"xyzw 0", EditorText());
    Key(VK_ESCAPE);
}

TEST_F(ListEditMore, IconOrTextByWhereTheClickWas)
{
    Make(LVS_EDITLABELS, 3);  // a click on the selected row edits (not so with single selection)
    list.m_cellMode = TRUE;
    CImageList images;
    GiveIcons(list, images, 4);
    list.m_columnProps[1].type = CCustomListCtrl::EditIconOrText;
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 1;
    item.iSubItem = 1;
    item.iImage = 2;
    list.SetItem(&item);
    RECT icon{}, label{};
    list.GetSubItemRect(1, 1, LVIR_ICON, &icon);
    list.GetSubItemRect(1, 1, LVIR_LABEL, &label);
    EXPECT_EQ(16, icon.right - icon.left);
    EXPECT_EQ(icon.left + 16 + 4, label.left);
    ClickCell(1, 1);  // selects the row and makes column 1 current
    RealClick(list.m_hWnd, icon.left + 8, (icon.top + icon.bottom) / 2);
    Drain(100);
    ASSERT_NE(nullptr, list.m_editorWnd);
    EXPECT_EQ(CCustomListCtrl::EditIcon, list.m_editorKind);
    Key(VK_ESCAPE);
    RealClick(list.m_hWnd, label.left + 30, (label.top + label.bottom) / 2);
    Drain(100);
    ASSERT_NE(nullptr, list.m_editorWnd);
    EXPECT_EQ(CCustomListCtrl::EditText, list.m_editorKind);
    Key(VK_ESCAPE);
}

}  // namespace

namespace {

class ListEditEnd : public ListTest {
protected:
    void MakeEditable(int rows = 12)
    {
        Make(LVS_EDITLABELS | LVS_SINGLESEL, rows);
        list.m_columnProps[1].type = CCustomListCtrl::EditText;
        list.m_columnProps[2].type = CCustomListCtrl::EditCheck;
        list.m_cellMode = TRUE;
    }
    // Opens the size cell's editor on a row and types a new text into it.
    void OpenAndType(int row, const wchar_t* text)
    {
        list.EnsureVisible(row);
        ASSERT_NE(nullptr, list.EditSubItem(row, 1));
        ::SetWindowTextW(list.m_editorWnd, text);
    }
};

TEST_F(ListEditEnd, RowsPastSixteenBitsGetTheirOwnEdit)
{
    MakeEditable(2);
    const int farRow = 70000, aliasRow = farRow - 65536;
    list.m_items.SetSize(farRow + 2);
    for (int row : {aliasRow, farRow}) {
        list.m_items[row].SetText(0, L"name");
        list.m_items[row].SetText(1, L"old");
    }
    list.UpdateScrollBars();
    OpenAndType(farRow, L"new");
    Key(VK_RETURN);
    EXPECT_EQ(nullptr, list.m_editorWnd);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(farRow, parent.Of(LVN_ENDLABELEDITW)[0].item);
    EXPECT_EQ(L"new", Text(farRow, 1));
    EXPECT_EQ(L"old", Text(aliasRow, 1));
}

TEST_F(ListEditEnd, EndAnyEditCommitsTheOpenEditorAndGivesTheAcceleratorsBack)
{
    MakeEditable();
    // Nothing open: nothing happens.
    list.EndAnyEdit();
    EXPECT_EQ(0, parent.Count(LVN_ENDLABELEDITW));
    OpenAndType(4, L"typed");
    EXPECT_EQ(1, parent.enterMenuLoop);
    list.EndAnyEdit();
    EXPECT_EQ(nullptr, list.m_editorWnd);
    EXPECT_FALSE(list.m_editing);
    EXPECT_EQ(1, parent.exitMenuLoop);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(L"typed", Text(4, 1));
    // The posted end of the editor's own focus loss finds nothing more to do.
    Drain(50);
    EXPECT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(1, parent.exitMenuLoop);
}

TEST_F(ListEditEnd, DestroyingTheListClosesItsEditorAndEndsTheMenuLoop)
{
    MakeEditable();
    OpenAndType(2, L"half typed");
    HWND editor = list.m_editorWnd;
    ASSERT_EQ(1, parent.enterMenuLoop);
    list.DestroyWindow();
    Drain(50);
    EXPECT_FALSE(::IsWindow(editor));
    EXPECT_EQ(1, parent.exitMenuLoop);
    EXPECT_EQ(0, parent.Count(LVN_ENDLABELEDITW));
}

TEST_F(ListEditEnd, RowRemovedWhileTheEditIsCommittedGetsNothing)
{
    MakeEditable();
    parent.onEndEdit = [this](NMLVDISPINFOW* di) { list.m_items.RemoveAt(di->item.iItem); };
    OpenAndType(3, L"gone");
    Key(VK_RETURN);
    ASSERT_EQ(1, parent.Count(LVN_ENDLABELEDITW));
    EXPECT_EQ(11, list.GetItemCount());
    // The row that moved up into the index keeps its own value.
    EXPECT_EQ(L"Row 4", Text(3, 0));
    EXPECT_EQ(L"40", Text(3, 1));
}

}  // namespace
