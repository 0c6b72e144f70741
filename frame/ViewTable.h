#pragma once
// The thirteen body views: index (= theGlobal.m_viewKind), the command that
// selects it, its page title, the word of its creation log line, its mode and
// whether it registers for refreshes. Views that are not built yet are
// placeholders; a view joins by giving its row a factory.
// The frame knows no view class: the application, above the frame and the
// views, provides the table and the functions below (app/ViewTable.cpp).
#include <memory>

#include "frame/ViewWnd.h"

constexpr int kViewCount = 13;

struct VIEW_TABLE_ROW {
    int index;
    unsigned command;
    int titleString;
    const wchar_t* logName;
    int mode;
    bool registered;
    std::unique_ptr<CWnd> (*make)(const VIEW_TABLE_ROW& row);  // null: a placeholder
};

// Rows in the body's creation order.
extern const VIEW_TABLE_ROW kViewCreationOrder[kViewCount];
// The row of a view index, null outside 0..12.
const VIEW_TABLE_ROW* FindViewRow(int index);
// The view index selected by a view command, -1 for any other id.
int ViewIndexOfCommand(unsigned command);
// The view object of a row: its own class, or a placeholder with its title.
std::unique_ptr<CWnd> MakeView(const VIEW_TABLE_ROW& row);
// The header's icon button: the icon selection dialog opened on preset; TRUE
// and the documents' icon value of the choice, FALSE when cancelled.
BOOL ChooseDocumentIcon(int preset, int& value);
