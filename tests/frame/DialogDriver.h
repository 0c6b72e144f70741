#pragma once
// Driving modal dialogs in tests: a script runs from inside the dialog's own
// modal loop once the dialog is up, with real keyboard and mouse input; the
// UI strings of the shipped English language file; screenshots.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <cwchar>
#include <string>

#include "SkinTestFixture.h"
#include "controls/CustomDialog.h"
#include "controls/CustomListCtrl.h"

namespace dlgtest {

// Runs run(); once a new dialog is on the program's dialog stack, script(it)
// runs inside that dialog's modal loop. A dialog still open giveUpMs after the
// script ended is closed with -2. Returns what run() returned.
INT_PTR RunModal(const std::function<INT_PTR()>& run, const std::function<void(CCustomDialog&)>& script,
                 DWORD giveUpMs = 4000);
// The same for a dialog that is not a skinned one (the about box).
INT_PTR RunModalPlain(const std::function<INT_PTR()>& run, const std::function<void(CDialog&)>& script,
                      DWORD giveUpMs = 4000);
// TRUE when the script's dialog has left its modal loop.
bool Ended(CDialog& dlg);
// Waits until the dialog ended or ms passed; TRUE when it ended.
bool WaitEnded(CDialog& dlg, DWORD ms = 1500);

// A key pressed and released through the system's input queue.
void PressKey(WORD vk);
// The real pointer to a client point of hwnd and a left (or right) click there.
void RealClick(HWND hwnd, int x, int y, bool right = false);
// Centre of a child window in its own client coordinates, clicked for real.
void ClickChild(HWND child);

// The text of a list's cell (column 0: the item), cut at capacity characters.
template <class List>
std::wstring CellText(List& list, int row, int column, int capacity = 300)
{
    std::wstring text(static_cast<size_t>(capacity), L'\0');
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = capacity;
    list.GetItem(&item);
    text.resize(wcslen(text.c_str()));
    return text;
}
// Selects those rows of a custom list (the first also focused) and gives the list the focus.
void SelectRows(CCustomListCtrl& list, std::initializer_list<int> rows);
// Whether a window's update handlers enable a command.
bool CommandEnabled(CCmdTarget& target, UINT id);

// theGlobal.m_uiStrings from build/bin/language/English_US.dat.
bool LoadShippedStrings();

// The window as shown on screen, saved as build/tests/shots/<name>.png.
bool SaveShot(HWND hwnd, const wchar_t* name);

// The skin fixture plus the shipped UI strings, a clean dialog stack and settings.
class DialogTest : public skintest::SkinGuiTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace dlgtest
