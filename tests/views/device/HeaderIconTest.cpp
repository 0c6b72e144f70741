// The header's icon button: the icon selection runs with the current view's
// document icon, and the choice becomes that document's default icon (a
// table row for model types 0 and 2), marking it modified; nothing else moves.
#include "IconSelectFixture.h"
#include "frame/HeaderWnd.h"
#include "res/frame_ids.h"

using namespace dlgtest;
using namespace icontest;

namespace {

class HeaderIcon : public IconFixture {
protected:
    void SetUp() override
    {
        IconFixture::SetUp();
        savedView = theGlobal.m_viewKind;
        ASSERT_TRUE(header.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1000, 70), &main, 0xFFFF));
        for (CDocPi* doc : Docs()) {
            doc->SetModified(0);
        }
        theGlobal.m_docPiCsv.m_defaultIcon = 14;
        theGlobal.m_docPiKml.m_defaultIcon = 5;
        theGlobal.m_docPiMap.m_defaultIcon = 6;
        theGlobal.m_docRssPoi.m_defaultIcon = 1;
        theGlobal.m_docRssPoi.SetModified(0);
    }
    void TearDown() override
    {
        header.DestroyWindow();
        theGlobal.m_viewKind = savedView;
        for (CDocPi* doc : Docs()) {
            doc->ResetDefaultIcon();
            doc->SetModified(0);
        }
        theGlobal.m_docRssPoi.SetModified(0);
        IconFixture::TearDown();
    }
    static std::vector<CDocPi*> Docs()
    {
        return {&theGlobal.m_docPiCsv, &theGlobal.m_docPiKml, &theGlobal.m_docPiMap};
    }
    // The icon button's command; script runs in the dialog it opens.
    void PressIconButton(const std::function<void(CIconSelectDlg&)>& script)
    {
        RunModal([&] {
            header.SendMessage(WM_COMMAND, ID_ICON, 0);
            return INT_PTR(0);
        }, [&](CCustomDialog& d) { script(AsIconDlg(d)); });
    }
    // Default icons and modified flags of the CSV, KML, map and feed documents.
    static std::vector<int> State()
    {
        std::vector<int> s;
        for (CDocPi* doc : Docs()) {
            s.push_back(doc->m_defaultIcon);
            s.push_back(doc->IsModified());
        }
        s.push_back(theGlobal.m_docRssPoi.m_defaultIcon);
        s.push_back(theGlobal.m_docRssPoi.IsModified());
        return s;
    }
    CHeaderWnd header;
    int savedView = 0;
};

TEST_F(HeaderIcon, AStockPictureBecomesTheFirstRowShowingIt)
{
    UseModel(0, 2);
    theGlobal.m_viewKind = 2;
    int preset = -2;
    PressIconButton([&](CIconSelectDlg& dlg) {
        preset = dlg.m_stockGrid.GetCurSel();
        ClickItem(dlg.m_stockGrid, 52);  // rows 64, 65 and 66 share this picture
    });
    EXPECT_EQ(preset, 2);  // row 14 shows row 2's picture
    EXPECT_EQ(State(), (std::vector<int>{64, 1, 5, 0, 6, 0, 1, 0}));

    PressIconButton([&](CIconSelectDlg& dlg) { ClickItem(dlg.m_stockGrid, 57); });
    EXPECT_EQ(theGlobal.m_docPiCsv.m_defaultIcon, 73);
}

TEST_F(HeaderIcon, EachViewSetsItsOwnDocument)
{
    const struct {
        int model, view;
        bool user;
        int item;
        std::vector<int> state;
    } cases[] = {
        {0, 3, true, 1, {14, 0, 74 + 1, 1, 6, 0, 1, 0}},
        {5, 4, false, 12, {14, 0, 5, 0, 12, 1, 1, 0}},
        {5, 5, false, 3, {14, 0, 5, 0, 6, 0, 3, 1}},
        {0, 7, false, 3, {14, 0, 5, 0, 6, 0, 1, 0}},  // no document: nothing changes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "view " << c.view);
        UseModel(c.model, 2);
        theGlobal.m_viewKind = c.view;
        PressIconButton([&](CIconSelectDlg& dlg) {
            if (c.user) {
                ClickChild(dlg.m_btnUserTab.m_hWnd);
                PumpUntil([&] { return dlg.m_userGrid.IsWindowVisible() != FALSE; }, 1000);
            }
            ClickItem(c.user ? dlg.m_userGrid : dlg.m_stockGrid, c.item);
            WaitEnded(dlg);
        });
        EXPECT_EQ(State(), c.state);
        theGlobal.m_docPiKml.m_defaultIcon = 5;
        theGlobal.m_docPiMap.m_defaultIcon = 6;
        theGlobal.m_docRssPoi.m_defaultIcon = 1;
        for (CDocPi* doc : Docs())
            doc->SetModified(0);
        theGlobal.m_docRssPoi.SetModified(0);
    }
}

TEST_F(HeaderIcon, CancelChangesNothing)
{
    UseModel(0, 2);
    theGlobal.m_viewKind = 2;
    const std::vector<int> before = State();
    PressIconButton([&](CIconSelectDlg& dlg) {
        EXPECT_EQ(dlg.m_stockGrid.GetCurSel(), 2);
        ClickChild(dlg.m_btnCancel.m_hWnd);
    });
    EXPECT_EQ(State(), before);
}

}  // namespace
