#pragma once
// The POI list view in a test window: the real skin pack, the shipped UI
// strings, the CSV list's real document with five POIs, a list view of mode
// 2 and the seams of the save dialog and the card chooser answered here.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "ScriptedAnswers.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "views/poi/PoiWnd.h"

namespace poitest {

using namespace dlgtest;

inline DOCPI_RECORD Rec(const std::wstring& name, double lon = 10, double lat = 20)
{
    DOCPI_RECORD r{};
    wcsncpy(r.name, name.c_str(), 64);
    r.longitude = lon;
    r.latitude = lat;
    return r;
}

inline std::wstring Ui(int n)
{
    return std::wstring(theGlobal.UiString(n));
}

// What the save dialog was asked and answers.
struct SaveAnswer {
    int calls = 0;
    CString proposed;
    CString answer;  // empty: Cancel
};
inline SaveAnswer g_save;

inline BOOL AnswerSave(HWND, const wchar_t*, CString& path)
{
    ++g_save.calls;
    g_save.proposed = path;
    if (g_save.answer.IsEmpty())
        return FALSE;
    path = g_save.answer;
    return TRUE;
}

struct CardAnswer {
    int calls = 0;
    CString proposed;
    CString name = L"Trip";
    BOOL ok = TRUE;
};
inline CardAnswer g_card;

inline BOOL AnswerCard(const CString& proposed, CString& root, CString& name)
{
    ++g_card.calls;
    g_card.proposed = proposed;
    root = testsupport::CardRoot().c_str();
    name = g_card.name;
    return g_card.ok;
}

// Answers the message boxes by the text the program gave them (IDNO for any
// other) and keeps those texts, as they were before the box laid them out.
class TextAnswers : public ScriptedAnswers {
public:
    explicit TextAnswers(std::map<std::wstring, int> answers) : ScriptedAnswers(std::move(answers), GivenText) {}
};

class PoiView : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        InitCharClassTable();
        savedGroup = theGlobal.m_naviModel.m_modelGroup;
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
        theGlobal.m_piCsvColumns.RemoveAll();
        for (DWORD w : {110, 110, 120, 150, 120, 150})
            theGlobal.m_piCsvColumns.Add(w);
        theGlobal.m_viewKind = 2;
        theGlobal.m_modelType = 0;
        theGlobal.m_headerTitle.Empty();
        theGlobal.m_views.RemoveAll();
        g_save = SaveAnswer();
        g_card = CardAnswer();
        CPoiWnd::s_saveDialog = AnswerSave;
        CPoiWnd::s_chooseCard = AnswerCard;
        testsupport::ClearCard();
        doc().InitErrorStrings();
        theGlobal.m_docIcon.InitErrorStrings();
        doc().ResetDocument();
        main.MoveWindow(0, 0, 1010, 740);
        view.m_mode = 2;
        ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700), &main,
                                0xFFFF));
        for (const wchar_t* name : {L"Harbour", L"Bakery", L"Museum", L"Airport", L"Castle"})
            doc().AddRecord(Rec(name, 100 + doc().GetRecordCount(), -30 - doc().GetRecordCount()));
        doc().SetModified(0);
        view.RefreshList();
        PumpPending();
    }
    void TearDown() override
    {
        if (view.m_hWnd)
            view.DestroyWindow();
        doc().ResetDocument();
        doc().SetModified(0);
        theGlobal.m_docImportPoi.m_table.RemoveAll();
        theGlobal.m_naviModel.m_modelGroup = savedGroup;
        theGlobal.m_modelType = 0;
        testsupport::ClearCard();
        DialogTest::TearDown();
    }
    static CDocPi& doc() { return theGlobal.m_docPiCsv; }
    std::wstring Name(int record) const
    {
        DOCPI_RECORD r{};
        doc().GetRecord(record, &r);
        return r.name;
    }
    std::wstring Cell(int row, int column) { return CellText(view.m_list, row, column); }
    void Select(std::initializer_list<int> rows) { SelectRows(view.m_list, rows); }
    void Command(UINT id) { view.SendMessage(WM_COMMAND, id, 0); }
    // What the view's update handler says of a command.
    bool Enabled(UINT id) { return CommandEnabled(view, id); }
    // An in-place edit of a cell committed with Enter.
    void EditCell(int row, int column, const wchar_t* text)
    {
        HWND editor = view.m_list.EditSubItem(row, column);
        ASSERT_NE(editor, nullptr);
        ::SetWindowTextW(editor, text);
        PumpPending();
        PressKey(VK_RETURN);
        PumpUntil([&] { return view.m_list.m_editorWnd == nullptr; }, 2000);
        PumpPending();
    }
    CPoiWnd view;
    int savedGroup = 0;
};

}  // namespace poitest
