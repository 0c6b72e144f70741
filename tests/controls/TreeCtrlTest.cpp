// The self-drawn tree: node order and walking, layout, mouse and keys with
// their notifications, drawing, the tooltip for cut labels, label editing,
// and deleting nodes that something still points at.
#include <windows.h>

#include "ControlsDTestSupport.h"
#include "controls/CustomTreeCtrl.h"

using namespace controlstest;

namespace {

constexpr int kId = 300;

class TreeCtrl : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenSkinPack());
        ASSERT_TRUE(parent.CreateAt(20, 20, 600, 500));
        parent.watched = {WM_ENTERMENULOOP, WM_EXITMENULOOP};
        app.m_pMainWnd = &parent;
    }
    void TearDown() override
    {
        tree.DestroyWindow();
        app.m_pMainWnd = nullptr;
        parent.DestroyWindow();
        GuiTest::TearDown();
    }
    void Make(int width, int height, DWORD style = 0)
    {
        ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, CRect(10, 10, 10 + width, 10 + height),
                                &parent, kId));
    }
    // Top-level "A" (children A1..A3, A2 with A2a) and "B" (child B1).
    void Fill()
    {
        a = tree.InsertItem(L"A");
        a1 = tree.InsertItem(L"A1", a);
        a2 = tree.InsertItem(L"A2", a);
        a2a = tree.InsertItem(L"A2a", a2);
        a3 = tree.InsertItem(L"A3", a);
        b = tree.InsertItem(L"B");
        b1 = tree.InsertItem(L"B1", b);
    }
    POINT TextPoint(HTREEITEM node)
    {
        RECT rc;
        EXPECT_TRUE(tree.GetItemRect(node, &rc, TRUE));
        return {rc.left + 6, (rc.top + rc.bottom) / 2};
    }
    CNotifyParent parent;
    CCustomTreeCtrl tree;
    HTREEITEM a{}, a1{}, a2{}, a2a{}, a3{}, b{}, b1{};
};

TEST_F(TreeCtrl, NodesAreAppendedAndWalkedLikeATreeView)
{
    Make(300, 300);
    Fill();
    TVINSERTSTRUCTW first{};
    first.hParent = a;
    first.hInsertAfter = TVI_FIRST;  // not used: always last
    first.item.mask = TVIF_TEXT;
    first.item.pszText = const_cast<wchar_t*>(L"A4");
    HTREEITEM a4 = tree.InsertItem(&first);
    EXPECT_EQ(tree.GetCount(), 8);
    struct { HTREEITEM node; UINT code; HTREEITEM expected; } table[] = {
        {nullptr, TVGN_ROOT, a}, {a, TVGN_NEXT, b}, {b, TVGN_NEXT, nullptr}, {a, TVGN_CHILD, a1},
        {a3, TVGN_NEXT, a4}, {a2a, TVGN_PARENT, a2}, {a, TVGN_PARENT, nullptr}, {a2, TVGN_PREVIOUS, nullptr},
        {a2, TVGN_PREVIOUSVISIBLE, nullptr}, {a, TVGN_NEXTVISIBLE, b},  // collapsed
        {a2a, TVGN_NEXTVISIBLE, a3}, {a4, TVGN_NEXTVISIBLE, b}, {b1, TVGN_NEXTVISIBLE, nullptr},
        {nullptr, TVGN_CARET, nullptr}, {nullptr, TVGN_FIRSTVISIBLE, a},
    };
    for (const auto& t : table)
        EXPECT_EQ(tree.GetNextItem(t.node, t.code), t.expected) << t.code;
    tree.Expand(a, TVE_EXPAND);
    EXPECT_EQ(tree.GetNextItem(a, TVGN_NEXTVISIBLE), a1);
    EXPECT_EQ(tree.GetVisibleCount(), 6);  // A, A1..A4 (A2 stays closed), B
    EXPECT_STREQ(tree.GetItemText(a4), L"A4");
}

TEST_F(TreeCtrl, LayoutRowsAndIndents)
{
    Make(300, 300);
    Fill();
    tree.Expand(a, TVE_EXPAND);
    tree.Expand(a2, TVE_EXPAND);
    EXPECT_EQ(tree.GetRowHeight(), 16);
    RECT rc;
    struct { HTREEITEM node; int left, top; } rows[] = {{a, 2, 4}, {a1, 26, 20}, {a2a, 38, 52}, {b, 2, 84}};
    for (const auto& r : rows) {
        ASSERT_TRUE(tree.GetItemRect(r.node, &rc, FALSE));
        EXPECT_EQ(rc.left, r.left);
        EXPECT_EQ(rc.top, r.top);
        EXPECT_EQ(rc.bottom, r.top + 16);
    }
    CImageList images;
    images.Create(16, 16, ILC_COLOR32, 1, 0);
    tree.SetImageList(&images);
    EXPECT_EQ(tree.GetRowHeight(), 17);
    ASSERT_TRUE(tree.GetItemRect(b, &rc, FALSE));
    EXPECT_EQ(rc.top, 4 + 5 * 17);
    tree.SetImageList(nullptr);
    EXPECT_EQ(tree.GetRowHeight(), 16);
}

TEST_F(TreeCtrl, ClicksSelectAndTheBoxToggles)
{
    Make(300, 300);
    Fill();
    tree.Expand(a, TVE_EXPAND);
    parent.notes.clear();
    POINT p = TextPoint(a2);
    RealClick(tree, p.x, p.y);
    auto changing = parent.Of(TVN_SELCHANGINGW), changed = parent.Of(TVN_SELCHANGEDW);
    ASSERT_EQ(changing.size(), 1u);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].action, static_cast<UINT>(TVC_BYMOUSE));
    EXPECT_EQ(changed[0].oldNode, nullptr);
    EXPECT_EQ(changed[0].newNode, a2);
    EXPECT_EQ(tree.GetSelectedItem(), a2);
    EXPECT_EQ(parent.CountNotes(NM_SETFOCUS), 1);

    // The expand box, 12 pixels left of the node.
    parent.notes.clear();
    RECT rc;
    tree.GetItemRect(a2, &rc, FALSE);
    RealClick(tree, rc.left - 6, (rc.top + rc.bottom) / 2);
    auto expanding = parent.Of(TVN_ITEMEXPANDINGW), expanded = parent.Of(TVN_ITEMEXPANDEDW);
    ASSERT_EQ(expanding.size(), 1u);
    ASSERT_EQ(expanded.size(), 1u);
    EXPECT_EQ(expanding[0].action, static_cast<UINT>(TVE_EXPAND));
    EXPECT_EQ(expanding[0].newNode, a2);
    EXPECT_TRUE(tree.IsExpanded(a2));
    EXPECT_EQ(parent.CountNotes(TVN_SELCHANGEDW), 0);  // already selected

    // Selecting the caret again tells nobody.
    parent.notes.clear();
    tree.SelectItem(a2);
    EXPECT_TRUE(parent.notes.empty());
}

TEST_F(TreeCtrl, KeysMoveExpandAndCollapse)
{
    Make(300, 300);
    Fill();
    tree.SelectItem(a);
    tree.SetFocus();
    struct { WORD key; HTREEITEM caret; int expanding; UINT action; } table[] = {
        {VK_RIGHT, a, 1, TVE_EXPAND}, {VK_RIGHT, a1, 0, 0}, {VK_DOWN, a2, 0, 0}, {VK_RIGHT, a2, 1, TVE_EXPAND},
        {VK_DOWN, a2a, 0, 0}, {VK_LEFT, a2, 0, 0}, {VK_LEFT, a2, 1, TVE_COLLAPSE}, {VK_UP, a1, 0, 0},
        {VK_LEFT, a, 0, 0}, {VK_LEFT, a, 1, TVE_COLLAPSE}, {VK_LEFT, a, 0, 0}, {VK_DOWN, b, 0, 0},
        {VK_LEFT, b, 0, 0},  // another top-level node has no parent to go to
    };
    for (const auto& t : table) {
        parent.notes.clear();
        RealKey(t.key);
        EXPECT_EQ(tree.GetSelectedItem(), t.caret) << t.key;
        ASSERT_EQ(parent.CountNotes(TVN_ITEMEXPANDINGW), t.expanding) << t.key;
        EXPECT_EQ(parent.CountNotes(TVN_ITEMEXPANDEDW), t.expanding);
        if (t.expanding)
            EXPECT_EQ(parent.Of(TVN_ITEMEXPANDINGW)[0].action, t.action);
        for (const Note& n : parent.Of(TVN_SELCHANGEDW))
            EXPECT_EQ(n.action, static_cast<UINT>(TVC_BYKEYBOARD));
    }
}

TEST_F(TreeCtrl, PageDownMovesOnePageLessOne)
{
    Make(300, 4 + 10 * 16 + 8);  // 10 rows per page
    HTREEITEM nodes[30];
    for (int i = 0; i < 30; ++i)
        nodes[i] = tree.InsertItem((L"node " + std::to_wstring(i)).c_str());
    tree.SelectItem(nodes[0]);
    tree.SetFocus();
    EXPECT_EQ(tree.GetRowsPerPage(), 10);
    RealKey(VK_NEXT);
    EXPECT_EQ(tree.GetSelectedItem(), nodes[9]);
    RealKey(VK_NEXT);
    EXPECT_EQ(tree.GetSelectedItem(), nodes[18]);
    EXPECT_LE(tree.GetTopIndex(), 18);
    EXPECT_GE(tree.GetTopIndex() + tree.GetRowsPerPage() - 1, 18);
    RealKey(VK_PRIOR);
    EXPECT_EQ(tree.GetSelectedItem(), nodes[9]);
    tree.SelectItem(nodes[27]);
    RealKey(VK_NEXT);
    EXPECT_EQ(tree.GetSelectedItem(), nodes[29]);
    EXPECT_TRUE(tree.GetStyle() & WS_VSCROLL);
}

TEST_F(TreeCtrl, DrawsCaretBoxTextAndExpandBoxes)
{
    Make(300, 200);
    Fill();
    tree.Expand(a, TVE_EXPAND);
    tree.SelectItem(a1);
    tree.UpdateWindow();
    PumpPending();
    RECT rc;
    tree.GetItemRect(a1, &rc, TRUE);
    // Caret: a box of 0xAEA49D with black text inside.
    EXPECT_EQ(ClientPixel(tree, rc.left + 2, rc.top + 1), 0xAEA49D);
    int dark = 0;
    for (int x = rc.left; x < rc.right; ++x)
        for (int y = rc.top; y < rc.bottom; ++y)
            dark += ClientPixel(tree, x, y) == RGB(0, 0, 0);
    EXPECT_GT(dark, 5);
    // Background beside it.
    EXPECT_EQ(ClientPixel(tree, 290, 150), 0x231E1E);
    // A2 has a child: its box outline, grey, 12 pixels left of the node, with a
    // vertical stroke while closed; A1 has none.
    RECT a2rc;
    tree.GetItemRect(a2, &a2rc, FALSE);
    const int boxLeft = a2rc.left - 12 + 2, mid = a2rc.top;
    EXPECT_EQ(ClientPixel(tree, boxLeft, mid + 2), 0x808080);
    EXPECT_EQ(ClientPixel(tree, boxLeft + 4, mid + 2), RGB(255, 255, 255));
    RECT a1rc;
    tree.GetItemRect(a1, &a1rc, FALSE);
    EXPECT_EQ(ClientPixel(tree, a1rc.left - 10, a1rc.top + 2), 0x231E1E);
}

TEST_F(TreeCtrl, BothBarsMeetAtTheCornerAndTheCornerIsNoBar)
{
    Make(120, 100);
    for (int i = 0; i < 20; ++i)
        tree.InsertItem(L"A rather long folder name that does not fit");
    PumpPending();
    ASSERT_TRUE((tree.GetStyle() & (WS_VSCROLL | WS_HSCROLL)) == (WS_VSCROLL | WS_HSCROLL));
    CRect client, vbar, hbar;
    tree.GetClientRect(&client);
    tree.ClientToScreen(&client);
    tree.m_vScroll.GetWindowRect(&vbar);
    tree.m_hScroll.GetWindowRect(&hbar);
    // Each bar runs along its own edge of the client area, up to the corner.
    EXPECT_EQ(client.right, vbar.left);
    EXPECT_EQ(client.top, vbar.top);
    EXPECT_EQ(client.bottom, vbar.bottom);
    EXPECT_EQ(client.bottom, hbar.top);
    EXPECT_EQ(client.left, hbar.left);
    EXPECT_EQ(client.right, hbar.right);
    // The corner holds the size box: a click there hits no bar.
    const LRESULT corner = tree.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(vbar.left + 2, hbar.top + 2));
    EXPECT_NE(HTHSCROLL, corner);
    EXPECT_NE(HTVSCROLL, corner);
}

TEST_F(TreeCtrl, TooltipShowsOnlyLabelsCutByTheEdge)
{
    Make(120, 200);
    HTREEITEM shortOne = tree.InsertItem(L"Map");
    HTREEITEM longOne = tree.InsertItem(L"A rather long folder name that does not fit");
    POINT p = TextPoint(longOne);
    RealPointer(tree, p.x, p.y);
    PumpPending();
    CString text;
    tree.m_toolTip.GetText(text, &tree);
    EXPECT_STREQ(text, L"A rather long folder name that does not fit");
    p = TextPoint(shortOne);
    RealPointer(tree, p.x, p.y);
    PumpPending();
    tree.m_toolTip.GetText(text, &tree);
    EXPECT_STREQ(text, L"");
}

TEST_F(TreeCtrl, LabelEditCommitsCancelsAndCanBeVetoed)
{
    Make(300, 200, TVS_EDITLABELS);
    Fill();
    tree.SelectItem(b);
    tree.SetFocus();
    RealKey(VK_RETURN);
    HWND editor = tree.GetEditControl();
    ASSERT_TRUE(editor);
    EXPECT_EQ(::GetFocus(), editor);
    EXPECT_EQ(parent.CountNotes(TVN_BEGINLABELEDITW), 1);
    EXPECT_EQ(parent.Count(WM_ENTERMENULOOP), 1);
    RealKey('X');
    RealKey('Y');
    RealKey(VK_RETURN);
    PumpPending();
    EXPECT_FALSE(::IsWindow(editor));
    ASSERT_EQ(parent.CountNotes(TVN_ENDLABELEDITW), 1);
    EXPECT_EQ(parent.editedText, L"xy");
    EXPECT_STREQ(tree.GetItemText(b), L"xy");
    EXPECT_EQ(parent.Count(WM_EXITMENULOOP), 1);
    EXPECT_EQ(::GetFocus(), tree.m_hWnd);

    // Escape: nothing stored, nothing told.
    parent.notes.clear();
    RealKey(VK_RETURN);
    RealKey('Z');
    RealKey(VK_ESCAPE);
    PumpPending();
    EXPECT_EQ(parent.CountNotes(TVN_ENDLABELEDITW), 0);
    EXPECT_STREQ(tree.GetItemText(b), L"xy");
    EXPECT_FALSE(tree.IsEditing());

    // Veto: no editor, the tree goes on, the main window's menu loop balanced.
    parent.notes.clear();
    parent.answer = 1;
    EXPECT_EQ(tree.EditLabel(b), nullptr);
    parent.answer = 0;
    EXPECT_FALSE(tree.IsEditing());
    EXPECT_EQ(parent.Count(WM_ENTERMENULOOP), 3);
    EXPECT_EQ(parent.Count(WM_EXITMENULOOP), 3);
    RealKey(VK_UP);
    EXPECT_EQ(tree.GetSelectedItem(), a);

    // Without TVS_EDITLABELS nothing opens.
    tree.ModifyStyle(TVS_EDITLABELS, 0);
    EXPECT_EQ(tree.EditLabel(a), nullptr);
}

TEST_F(TreeCtrl, DeletingWhatIsSelectedOrEditedLeavesNothingDangling)
{
    Make(300, 200, TVS_EDITLABELS);
    Fill();
    tree.Expand(a, TVE_EXPAND);
    tree.Expand(a2, TVE_EXPAND);
    tree.SelectItem(a2a);
    ASSERT_TRUE(tree.EditLabel(a2a));
    const LPARAM stale = reinterpret_cast<LPARAM>(a2a);
    ASSERT_TRUE(tree.DeleteItem(a2));
    EXPECT_FALSE(tree.IsEditing());
    EXPECT_EQ(tree.GetEditControl(), nullptr);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_EQ(tree.GetCount(), 5);
    EXPECT_EQ(tree.GetVisibleCount(), 4);
    // A commit posted for the deleted node is refused, and painting is fine.
    parent.notes.clear();
    tree.SendMessage(RegisterWindowMessageW(L"WM_END_EDIT_LABEL"), FALSE, stale);
    EXPECT_EQ(parent.CountNotes(TVN_ENDLABELEDITW), 0);
    tree.RedrawWindow();
    EXPECT_EQ(tree.GetNextItem(a1, TVGN_NEXT), a3);
    EXPECT_EQ(parent.Count(WM_ENTERMENULOOP), parent.Count(WM_EXITMENULOOP));
}

TEST_F(TreeCtrl, NodeDeletedByTheParentWhileItsEditEndsIsNotWrittenInto)
{
    Make(300, 200, TVS_EDITLABELS);
    Fill();
    tree.Expand(a, TVE_EXPAND);
    // The parent drops the node and adds another (likely where the old one was).
    HTREEITEM added = nullptr;
    parent.onNotify = [&](NMHDR* nm) {
        if (nm->code == TVN_ENDLABELEDITW) {
            tree.DeleteItem(reinterpret_cast<NMTVDISPINFOW*>(nm)->item.hItem);
            added = tree.InsertItem(L"fresh", a);
        }
    };
    HWND editor = tree.EditLabel(a3);
    ASSERT_TRUE(editor);
    ::SetWindowTextW(editor, L"typed");
    tree.SendMessage(RegisterWindowMessageW(L"WM_END_EDIT_LABEL"), FALSE, reinterpret_cast<LPARAM>(a3));
    parent.onNotify = nullptr;
    EXPECT_EQ(parent.editedText, L"typed");
    ASSERT_TRUE(added);
    EXPECT_STREQ(tree.GetItemText(added), L"fresh");
    EXPECT_FALSE(tree.IsEditing());
    EXPECT_EQ(tree.GetCount(), 7);
    EXPECT_EQ(parent.Count(WM_ENTERMENULOOP), parent.Count(WM_EXITMENULOOP));
}

TEST_F(TreeCtrl, LabelEditorIsTheInPlaceEditorAndGrowsWithItsText)
{
    Make(300, 200, TVS_EDITLABELS);
    Fill();
    HWND editor = tree.EditLabel(b);
    ASSERT_TRUE(editor);
    EXPECT_NE(dynamic_cast<CInPlaceEdit*>(CWnd::FromHandlePermanent(editor)), nullptr);
    RECT before, after;
    ::GetWindowRect(editor, &before);
    ::SetWindowTextW(editor, L"a much longer label than before");
    ::GetWindowRect(editor, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_GT(after.right - after.left, before.right - before.left + 40);
    tree.SendMessage(RegisterWindowMessageW(L"WM_END_EDIT_LABEL"), TRUE, reinterpret_cast<LPARAM>(b));
    EXPECT_FALSE(::IsWindow(editor));
    EXPECT_STREQ(tree.GetItemText(b), L"B");
}

TEST_F(TreeCtrl, MadeAgainItLeavesNoMeasuringDcBehind)
{
    Make(300, 200);
    Fill();
    tree.DestroyWindow();
    const int dcs = CountGdiObjects(OBJ_MEMDC), fonts = CountGdiObjects(OBJ_FONT);
    ASSERT_GE(dcs, 0);
    for (int i = 0; i < 3; ++i) {
        Make(300, 200);
        Fill();
        tree.UpdateWindow();
        tree.DestroyWindow();
    }
    EXPECT_EQ(CountGdiObjects(OBJ_MEMDC), dcs);
    EXPECT_EQ(CountGdiObjects(OBJ_FONT), fonts);
}

TEST_F(TreeCtrl, EnsureVisibleOpensTheWayUnderAnyTopLevelNode)
{
    Make(300, 60);
    Fill();
    ASSERT_TRUE(tree.EnsureVisible(b1));
    EXPECT_TRUE(tree.IsExpanded(b));
    EXPECT_EQ(tree.GetSelectedItem(), b1);
    ASSERT_TRUE(tree.EnsureVisible(a2a));
    EXPECT_TRUE(tree.IsExpanded(a));
    EXPECT_TRUE(tree.IsExpanded(a2));
    RECT rc, client;
    ASSERT_TRUE(tree.GetItemRect(a2a, &rc, FALSE));
    tree.GetClientRect(&client);
    EXPECT_GE(rc.top, 0);
    EXPECT_LE(rc.bottom, client.bottom);
}

TEST_F(TreeCtrl, DragAndContextMenuReachTheParent)
{
    Make(300, 200);
    Fill();
    POINT p = TextPoint(b);
    RealDrag(tree, p.x, p.y, 40, 30);
    ASSERT_EQ(parent.CountNotes(TVN_BEGINDRAGW), 1);
    EXPECT_EQ(parent.Of(TVN_BEGINDRAGW)[0].newNode, b);
    parent.notes.clear();
    RealRightClick(tree, p.x, p.y);
    int menus = 0;
    for (const Note& n : parent.notes)
        menus += n.message == WM_CONTEXTMENU && n.wParam == reinterpret_cast<WPARAM>(tree.m_hWnd);
    EXPECT_EQ(menus, 1);
}

}  // namespace
