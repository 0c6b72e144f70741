// The POI list view under Xvfb: leaving with Back and Top asks before
// unsaved changes go, and empties the list, its clipboard and its history.
#include "PoiViewFixture.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"

using namespace poitest;

namespace {

TEST_F(PoiView, BackAsksBeforeDroppingChangesAndCancelKeepsEverything)
{
    const std::wstring save = Ui(23);
    Select({1});
    Command(ID_EDIT_COPY);
    // Reset position changes records: leaving asks.
    view.m_list.SetFocus();
    Command(ID_RESET);
    EXPECT_EQ(Cell(1, 0), L"-");
    EXPECT_EQ(doc().IsModified(), 1);
    {
        TextAnswers answers({{save, IDCANCEL}});
        Command(ID_BACK);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{save});
    }
    // The record without a position is kept anyway (OK), then the save
    // dialog is cancelled.
    doc().Validate();
    CString invalid;
    doc().GetErrorString(invalid);
    {
        TextAnswers answers({{save, IDYES}, {std::wstring(invalid), IDOK}});
        Command(ID_BACK);
        EXPECT_EQ(answers.asked, (std::vector<std::wstring>{save, std::wstring(invalid)}));
        EXPECT_EQ(g_save.calls, 1);
    }
    EXPECT_EQ(doc().GetRecordCount(), 5);
    EXPECT_TRUE(view.HasClipboard());
    EXPECT_TRUE(view.CanUndo());
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_POI_FROM_CSV), 0);
    {
        TextAnswers answers({{save, IDNO}});
        Command(ID_BACK);
    }
    EXPECT_EQ(doc().GetRecordCount(), 0);
    EXPECT_EQ(doc().IsModified(), 0);
    EXPECT_FALSE(view.HasClipboard());
    EXPECT_FALSE(view.CanUndo());
    EXPECT_EQ(view.m_list.GetItemCount(), 0);
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_POI_FROM_CSV), 1);
}

TEST_F(PoiView, UndoAfterASaveAsksAgainAndTopEmptiesTheImportRows)
{
    testsupport::TempDir dir;
    g_save.answer = (dir.Path() + L"a.kml").c_str();
    Select({0});
    Command(ID_DELETE);
    Command(ID_FILE_SAVE);
    ASSERT_EQ(doc().IsModified(), 0);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(doc().GetRecordCount(), 5);
    EXPECT_EQ(doc().IsModified(), 1);
    theGlobal.m_docImportPoi.SetDelimiterAndLoad(2, nullptr);
    const std::wstring save = Ui(23);
    {
        TextAnswers answers({{save, IDNO}});
        main.Clear();
        Command(ID_TOP);
        EXPECT_EQ(answers.asked, std::vector<std::wstring>{save});
    }
    EXPECT_EQ(doc().GetRecordCount(), 0);
    EXPECT_EQ(theGlobal.m_docImportPoi.GetRowCount(), 0);
    std::vector<WPARAM> commands;
    for (const auto& m : main.log)
        if (m.msg == WM_COMMAND)
            commands.push_back(m.wp);
    EXPECT_EQ(commands, (std::vector<WPARAM>{ID_MENU_REFRESH, ID_MAIN_MENU}));
}

TEST_F(PoiView, AHiddenListRefusesBackAndTop)
{
    Select({0});
    Command(ID_DELETE);
    ASSERT_EQ(doc().IsModified(), 1);
    view.ShowWindow(SW_HIDE);
    main.Clear();
    {
        TextAnswers answers({});
        for (UINT id : {ID_BACK, ID_TOP})
            view.SendMessage(WM_COMMAND, id, 0);
        EXPECT_TRUE(answers.asked.empty());
    }
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_MAIN_MENU), 0);
    EXPECT_EQ(main.CountCommand(WM_COMMAND, ID_POI_FROM_CSV), 0);
    EXPECT_EQ(doc().GetRecordCount(), 4);
    EXPECT_EQ(doc().IsModified(), 1);
    EXPECT_TRUE(view.CanUndo());
    view.ShowWindow(SW_SHOW);
}

}  // namespace
