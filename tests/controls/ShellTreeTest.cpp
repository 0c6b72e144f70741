// The shell folder tree over a scratch folder tree: filling from the Desktop,
// opening the way to a folder, Back and Up, re-listing with its watches, the
// keyboard selection reaching the parent once, and a folder that cannot show.
#include <windows.h>

#include <shlobj.h>

#include "ControlsDTestSupport.h"
#include "TestFiles.h"
#include "controls/ShellTreeCtrl.h"

using namespace controlstest;

namespace {

class ShellTree : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenSkinPack());
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_TRUE(InitShell());
        for (const wchar_t* f : {L"a", L"a\\b", L"a\\b\\c", L"a\\hidden.zip", L"many"})
            CreateDirectoryW(dir.File(f).c_str(), nullptr);
        for (int i = 0; i < 12; ++i)
            CreateDirectoryW(dir.File(L"many\\f" + std::to_wstring(10 + i)).c_str(), nullptr);
        ASSERT_TRUE(parent.CreateAt(20, 20, 600, 600));
        app.m_pMainWnd = &parent;
        ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 410, 560), &parent, 400));
        tree.Initialize();
    }
    void TearDown() override
    {
        tree.DestroyWindow();
        app.m_pMainWnd = nullptr;
        parent.DestroyWindow();
        TermShell();
        CoUninitialize();
        GuiTest::TearDown();
    }
    LPITEMIDLIST Pidl(const std::wstring& path)
    {
        LPITEMIDLIST p = ILCreateFromPathW(path.c_str());
        pidls.push_back(p);
        return p;
    }
    bool SelectedIs(LPCITEMIDLIST pidl)
    {
        CPidl* p = tree.GetNodePidl(tree.GetSelectedItem());
        return p && ILIsEqual(p->pidl, pidl);
    }
    ~ShellTree() override
    {
        for (LPITEMIDLIST p : pidls)
            ILFree(p);
    }
    testsupport::TempDir dir;
    CNotifyParent parent;
    CShellTreeCtrl tree;
    std::vector<LPITEMIDLIST> pidls;
};

TEST_F(ShellTree, StartsAtTheDesktopOpenedAndSelected)
{
    HTREEITEM root = tree.GetRootItem();
    ASSERT_TRUE(root);
    EXPECT_EQ(tree.GetNextSiblingItem(root), nullptr);
    EXPECT_EQ(tree.GetSelectedItem(), root);
    EXPECT_TRUE(tree.IsExpanded(root));
    EXPECT_TRUE(ILIsEqual(tree.GetNodePidl(root)->pidl, theDesktopPidl.pidl));
    int children = 0, withBox = 0;
    for (HTREEITEM c = tree.GetChildItem(root); c; c = tree.GetNextSiblingItem(c)) {
        ++children;
        EXPECT_TRUE(tree.GetNodePidl(c));
        withBox += tree.ItemHasChildren(c) && !tree.IsExpanded(c);
    }
    EXPECT_GT(children, 0);
    EXPECT_GT(withBox, 0);  // folders with sub-folders show a box before they open
    EXPECT_NE(tree.GetNodePidl(root)->changeNotifyId, 0u);  // watched for the main window
}

TEST_F(ShellTree, SelectPidlOpensTheWayBackAndUp)
{
    const INT_PTR before = tree.GetHistory().GetSize();
    LPITEMIDLIST a = Pidl(dir.File(L"a")), b = Pidl(dir.File(L"a\\b")), c = Pidl(dir.File(L"a\\b\\c"));
    ASSERT_TRUE(tree.SelectPidl(c));
    EXPECT_TRUE(SelectedIs(c));
    EXPECT_EQ(tree.GetHistory().GetSize(), before + 1);
    HTREEITEM parentNode = tree.GetParentItem(tree.GetSelectedItem());
    EXPECT_TRUE(tree.IsExpanded(parentNode));
    EXPECT_TRUE(ILIsEqual(tree.GetNodePidl(parentNode)->pidl, b));

    ASSERT_TRUE(tree.GoUp());
    EXPECT_TRUE(SelectedIs(b));
    ASSERT_TRUE(tree.SelectPidl(a));
    ASSERT_TRUE(tree.SelectPidl(c));
    // History now ends ... c, b, a, c: Back drops c and goes to a.
    tree.GoBack();
    EXPECT_TRUE(SelectedIs(a));
    tree.GoBack();
    EXPECT_TRUE(SelectedIs(b));

    // Up from the Desktop: nothing.
    tree.SelectItem(tree.GetRootItem());
    EXPECT_FALSE(tree.GoUp());
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetRootItem());
}

TEST_F(ShellTree, BackWithOneEntrySelectsItAgain)
{
    // A fresh tree: its history holds only the Desktop.
    ASSERT_EQ(tree.GetHistory().GetSize(), 1);
    LPITEMIDLIST b = Pidl(dir.File(L"a\\b"));
    ASSERT_TRUE(tree.SelectPidl(b));
    tree.GoBack();
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetRootItem());
    EXPECT_EQ(tree.GetHistory().GetSize(), 1);
    tree.GoBack();
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetRootItem());
}

TEST_F(ShellTree, ReopeningListsAgainAndMovesTheWatch)
{
    LPITEMIDLIST a = Pidl(dir.File(L"a"));
    ASSERT_TRUE(tree.SelectPidl(a));
    HTREEITEM node = tree.GetSelectedItem();
    const ULONG firstWatch = tree.GetNodePidl(node)->changeNotifyId;
    HTREEITEM firstChild = tree.GetChildItem(node);
    ASSERT_NE(firstWatch, 0u);
    ASSERT_TRUE(firstChild);
    EXPECT_STREQ(tree.GetItemText(firstChild), L"b");
    EXPECT_EQ(tree.GetNextSiblingItem(firstChild), nullptr);  // the archive folder is left out

    tree.Expand(node, TVE_COLLAPSE);
    tree.Expand(node, TVE_EXPAND);
    const ULONG secondWatch = tree.GetNodePidl(node)->changeNotifyId;
    EXPECT_NE(secondWatch, 0u);
    EXPECT_NE(secondWatch, firstWatch);
    EXPECT_FALSE(SHChangeNotifyDeregister(firstWatch));  // ended when the folder was listed again
    ASSERT_TRUE(tree.GetChildItem(node));
    EXPECT_STREQ(tree.GetItemText(tree.GetChildItem(node)), L"b");
}

TEST_F(ShellTree, AFolderThatNeverShowsEndsTheSearch)
{
    // Left out of every listing: each pass stops at its parent.
    LPITEMIDLIST hidden = Pidl(dir.File(L"a\\hidden.zip"));
    ASSERT_TRUE(hidden);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(tree.SelectPidl(hidden));
    EXPECT_LT(GetTickCount() - start, 10000u);
    CPidl* selected = tree.GetNodePidl(tree.GetSelectedItem());
    ASSERT_TRUE(selected);
    EXPECT_TRUE(ILIsEqual(selected->pidl, Pidl(dir.File(L"a"))));
}

TEST_F(ShellTree, AKeyboardRunReachesTheParentOnce)
{
    LPITEMIDLIST many = Pidl(dir.File(L"many"));
    ASSERT_TRUE(tree.SelectPidl(many));
    HTREEITEM start = tree.GetSelectedItem();
    tree.SetFocus();
    parent.notes.clear();
    RealKeys(VK_DOWN, 10);
    PumpUntil([&] { return parent.CountNotes(TVN_SELCHANGEDW) > 0; }, 2000);
    PumpUntil([] { return false; }, 200);
    ASSERT_EQ(parent.CountNotes(TVN_SELCHANGEDW), 1);
    const Note n = parent.Of(TVN_SELCHANGEDW)[0];
    EXPECT_EQ(n.action, static_cast<UINT>(TVC_BYMOUSE));
    EXPECT_EQ(n.newNode, tree.GetSelectedItem());
    EXPECT_NE(tree.GetSelectedItem(), start);
    EXPECT_STREQ(tree.GetItemText(tree.GetSelectedItem()), L"f19");
}

TEST_F(ShellTree, AKeyboardRunOverNodesThatWentTellsWhatIsThere)
{
    LPITEMIDLIST many = Pidl(dir.File(L"many"));
    ASSERT_TRUE(tree.SelectPidl(many));
    HTREEITEM folder = tree.GetSelectedItem();
    tree.SetFocus();
    parent.notes.clear();
    RealKeys(VK_DOWN, 3);
    PumpUntil([&] { return tree.GetSelectedItem() != folder && tree.GetParentItem(tree.GetSelectedItem()) == folder; },
              1000);
    HTREEITEM gone = tree.GetSelectedItem();
    // Listed again before the run reaches the parent: the nodes moved to are freed.
    tree.Expand(folder, TVE_EXPAND);
    PumpUntil([&] { return parent.CountNotes(TVN_SELCHANGEDW) > 0 && parent.Of(TVN_SELCHANGEDW).back().action == TVC_BYMOUSE; }, 2000);
    std::vector<Note> changes = parent.Of(TVN_SELCHANGEDW);
    ASSERT_FALSE(changes.empty());
    const Note last = changes.back();
    EXPECT_EQ(last.action, static_cast<UINT>(TVC_BYMOUSE));
    EXPECT_EQ(last.newNode, tree.GetSelectedItem());
    EXPECT_NE(last.newNode, gone);
}

}  // namespace
