// Selection, keyboard and the notifications of the custom list, driven by
// real clicks and keys.
#include "ListTestSupport.h"

using namespace listtest;

namespace {

class ListInput : public ListTest {
protected:
    std::vector<Note> Changed() { return parent.Of(LVN_ITEMCHANGED); }
};

void ExpectNote(const Note& n, int item, UINT newState, UINT oldState, UINT changed, const char* what)
{
    EXPECT_EQ(item, n.item) << what;
    EXPECT_EQ(newState, n.newState) << what;
    EXPECT_EQ(oldState, n.oldState) << what;
    EXPECT_EQ(changed, n.changed) << what;
}

TEST_F(ListInput, SingleSelectionClicks)
{
    Make(LVS_SINGLESEL, 5);
    ClickCell(1, 0);
    ASSERT_EQ(1u, Changed().size());
    ExpectNote(Changed()[0], 1, 0, 0, 0, "new row");
    EXPECT_EQ((std::vector<int>{1}), Selected());
    parent.Clear();
    ClickCell(1, 0);  // the same row: reported again, no editor (no LVS_EDITLABELS anyway)
    ASSERT_EQ(1u, Changed().size());
    ExpectNote(Changed()[0], 1, 0, 0, 0, "same row");
    EXPECT_EQ((std::vector<int>{1}), Selected());
    parent.Clear();
    RECT client;
    list.GetClientRect(&client);
    RealClick(list.m_hWnd, 60, client.bottom - 5);  // below the rows
    ASSERT_EQ(1u, Changed().size());
    ExpectNote(Changed()[0], 1, 0, LVIS_SELECTED, LVIS_SELECTED, "outside");
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(-1, list.m_focusItem);
}

TEST_F(ListInput, MultiSelectionShiftAndCtrlClicks)
{
    Make(0, 8);
    ClickCell(2, 0);
    parent.Clear();
    ClickCell(5, 0, VK_SHIFT);
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5}), Selected());
    ASSERT_EQ(1u, Changed().size());
    ExpectNote(Changed()[0], 5, LVIS_SELECTED, 0, LVIS_SELECTED, "shift");
    parent.Clear();
    // Ctrl: the toggle happens at the button-up.
    const POINT p = Cell(3, 0);
    POINT s = p;
    ::ClientToScreen(list.m_hWnd, &s);
    ::SetCursorPos(s.x, s.y);
    SendKeys({{VK_CONTROL, true}});
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    Drain(60);
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5}), Selected());
    EXPECT_TRUE(Changed().empty());
    MouseButton(MOUSEEVENTF_LEFTUP);
    SendKeys({{VK_CONTROL, false}});
    Drain(60);
    EXPECT_EQ((std::vector<int>{2, 4, 5}), Selected());
    ASSERT_EQ(1u, Changed().size());
    ExpectNote(Changed()[0], 3, 0, LVIS_SELECTED, LVIS_SELECTED, "ctrl");
}

TEST_F(ListInput, PlainClickInsideASelectionKeepsItUntilReleaseOrDrags)
{
    Make(0, 8);
    ClickCell(2, 0);
    ClickCell(5, 0, VK_SHIFT);
    parent.Clear();
    const POINT p = Cell(4, 0);
    POINT s = p;
    ::ClientToScreen(list.m_hWnd, &s);
    ::SetCursorPos(s.x, s.y);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    Drain(60);
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5}), Selected());
    MoveTo(list.m_hWnd, p.x + 30, p.y + 25);  // out of the drag rectangle
    ASSERT_EQ(1, parent.Count(LVN_BEGINDRAG));
    const Note drag = parent.Of(LVN_BEGINDRAG)[0];
    EXPECT_EQ(4, drag.item);
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5}), Selected());
    MouseButton(MOUSEEVENTF_LEFTUP);
    Drain(static_cast<DWORD>(GetDoubleClickTime()) + 30);
    EXPECT_EQ(1, parent.Count(LVN_BEGINDRAG));

    ClickCell(2, 0);
    ClickCell(5, 0, VK_SHIFT);
    parent.Clear();
    ClickCell(4, 0);  // no drag: only row 4 stays
    EXPECT_EQ((std::vector<int>{4}), Selected());
    EXPECT_EQ(0, parent.Count(LVN_BEGINDRAG));
    ASSERT_FALSE(Changed().empty());
    ExpectNote(Changed().back(), 4, 0, 0, 0, "release");
}

TEST_F(ListInput, RubberBandSelectsAndCtrlInverts)
{
    Make(0, 4, {10, 10, 410, 310});
    RECT client;
    list.GetClientRect(&client);
    auto band = [&](WORD modifier) {
        POINT s{300, client.bottom - 10};
        ::ClientToScreen(list.m_hWnd, &s);
        ::SetCursorPos(s.x, s.y);
        Drain(20);
        if (modifier)
            SendKeys({{modifier, true}});
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        Drain(40);
        EXPECT_TRUE(list.m_bandActive);
        MoveTo(list.m_hWnd, 290, Cell(1, 0).y);
        MouseButton(MOUSEEVENTF_LEFTUP);
        Drain(60);
        if (modifier)
            SendKeys({{modifier, false}});
        Drain(static_cast<DWORD>(GetDoubleClickTime()) + 30);
        EXPECT_FALSE(list.m_bandActive);
    };
    band(0);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Selected());
    for (const Note& n : Changed())
        EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED), n.changed);
    EXPECT_EQ(3u, Changed().size());
    ClickCell(0, 0);
    ClickCell(1, 0, VK_CONTROL);  // rows 0 and 1 selected
    ASSERT_EQ((std::vector<int>{0, 1}), Selected());
    // Slow auto-scroll ticks: under Wine a tick reads the keyboard, whose
    // modifiers the X server resets (it never saw the injected Ctrl).
    UINT speed = 0;
    SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    SystemParametersInfoW(SPI_SETKEYBOARDSPEED, 0, nullptr, 0);
    band(VK_CONTROL);  // rows 1..3 inverted
    SystemParametersInfoW(SPI_SETKEYBOARDSPEED, speed, nullptr, 0);
    EXPECT_EQ((std::vector<int>{0, 2, 3}), Selected());
}

TEST_F(ListInput, KeyboardTable)
{
    Make(0, 30);  // 8 rows fit
    ClickCell(0, 0);
    struct Case {
        WORD key;
        int focus;
        int top;
        bool notified;
    } cases[] = {
        {VK_DOWN, 1, 0, true},   {VK_UP, 0, 0, true},     {VK_UP, 0, 0, false},   {VK_NEXT, 6, 0, true},
        {VK_NEXT, 12, 6, true},  {VK_PRIOR, 6, 6, true},  {VK_HOME, 6, 6, false}, {VK_END, 6, 6, false},
        {VK_DELETE, 6, 6, false}, {VK_TAB, 6, 6, false},
    };
    ASSERT_EQ(7, list.m_rowsPerPage);
    for (const auto& c : cases) {
        parent.Clear();
        Key(c.key);
        EXPECT_EQ(c.focus, list.m_focusItem) << "key " << c.key;
        EXPECT_EQ(c.top, list.m_topIndex) << "key " << c.key;
        EXPECT_EQ((std::vector<int>{c.focus}), Selected()) << "key " << c.key;
        EXPECT_EQ(c.notified ? 1 : 0, parent.Count(LVN_ITEMCHANGED)) << "key " << c.key;
        if (c.notified && !Changed().empty())
            ExpectNote(Changed()[0], c.focus, 0, 0, 0, "key");
    }
    Key(VK_DOWN, VK_SHIFT);
    Key(VK_DOWN, VK_SHIFT);
    EXPECT_EQ((std::vector<int>{6, 7, 8}), Selected());
}

TEST_F(ListInput, PageKeysMoveAtLeastOneRowWhenOneRowFits)
{
    Make(0, 5, {10, 10, 410, 10 + 24 + 40});
    ASSERT_EQ(1, list.m_rowsPerPage);
    ClickCell(0, 0);
    Key(VK_NEXT);
    EXPECT_EQ(1, list.m_focusItem);
    EXPECT_EQ(1, list.m_topIndex);
    Key(VK_PRIOR);
    EXPECT_EQ(0, list.m_focusItem);
}

TEST_F(ListInput, LetterOnAChoiceColumnWithoutFocusRowSelectsTheFirstRow)
{
    Make(LVS_EDITLABELS, 5);
    list.m_cellMode = TRUE;
    list.m_columnProps[1].type = CCustomListCtrl::EditChoice;
    list.m_columnProps[1].options = L"a\nb";
    list.SetFocus();
    Drain(30);
    list.m_curCol = 1;
    parent.Clear();
    Key('B');
    EXPECT_EQ(nullptr, list.m_editorWnd);
    EXPECT_EQ(0, list.m_focusItem);
    EXPECT_EQ((std::vector<int>{0}), Selected());
    ASSERT_EQ(1u, Changed().size());
    ExpectNote(Changed()[0], 0, 0, 0, 0, "letter");
}

TEST_F(ListInput, RightClickAndFocusNotifications)
{
    Make(0, 3);
    ClickCell(0, 0);
    EXPECT_EQ(1, parent.Count(NM_SETFOCUS));
    ClickCell(2, 0);
    EXPECT_EQ(1, parent.Count(NM_SETFOCUS));
    parent.Clear();
    RECT client;
    list.GetClientRect(&client);
    RealClick(list.m_hWnd, 40, client.bottom - 4, 0, true);
    ASSERT_EQ(1u, Changed().size());
    ExpectNote(Changed()[0], -1, 3, 0, 3, "right outside");
    EXPECT_TRUE(Selected().empty());
    ASSERT_EQ(1u, parent.contextMenus.size());
    POINT expected{40, client.bottom - 4};
    ::ClientToScreen(list.m_hWnd, &expected);
    EXPECT_EQ(MAKELPARAM(expected.x, expected.y), parent.contextMenus[0]);
    parent.Clear();
    const POINT p = Cell(1, 1);
    RealClick(list.m_hWnd, p.x, p.y, 0, true);
    ASSERT_EQ(1u, Changed().size());
    ExpectNote(Changed()[0], 1, 3, 0, 3, "right on row");
    EXPECT_EQ((std::vector<int>{1}), Selected());
    parent.Clear();
    ::SetFocus(parent.m_hWnd);
    Drain(30);
    EXPECT_EQ(1, parent.Count(NM_KILLFOCUS));
}

}  // namespace
