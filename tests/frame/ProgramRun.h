#pragma once
// The real Mirovale.exe started from a private copy of the program folder
// (program, DLL, skin pack, language and navi files) with settings the test
// writes; its windows found and driven from outside, as a user would.
#include <windows.h>

#include <string>
#include <vector>

#include "TestFiles.h"

// Settings that bring the program straight to its start menu: US English, a
// unit model chosen, no version check, no animation.
extern const wchar_t kReadyIni[];

class ProgramRun {
public:
    // copyLanguage / copyNavi: whether the data folders come along.
    explicit ProgramRun(bool copyLanguage = true, bool copyNavi = true);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    const std::wstring& Folder() const { return m_dir.Path(); }
    std::wstring IniPath() const { return m_dir.File(L"Mirovale.ini"); }
    // Writes the settings file (INI text, lines separated by \n).
    void WriteIni(const std::wstring& text);
    std::wstring ReadIni(const wchar_t* section, const wchar_t* key) const;
    bool Start(const std::wstring& arguments = L"");
    // Writes the settings, starts the program and brings its main window to
    // the front: the main window, or null when the program did not get there.
    HWND StartWith(const std::wstring& ini);
    DWORD ProcessId() const { return m_process.dwProcessId; }
    HANDLE Process() const { return m_process.hProcess; }
    // The visible, enabled main window, or null after the time.
    HWND WaitMainWindow(DWORD ms = 20000);
    // A message box of the program: its text and caption; null after the time.
    HWND WaitMessageBox(DWORD ms, std::wstring* text, std::wstring* caption = nullptr);
    // Asks the program to quit as the close button does, answers Yes to its
    // question when one comes, and waits; the exit code or STILL_ACTIVE.
    DWORD Quit(HWND main, DWORD ms = 15000);
    // Exit code, or STILL_ACTIVE when the program did not end in time.
    DWORD WaitExit(DWORD ms);
    // The web pages the program handed to the system, one UTF-8 line each: while
    // a run lives, http and https pages go to a recorder, never to a browser.
    // Waits up to 3 s for atLeast lines.
    std::string OpenedPages(size_t atLeast = 1) const;
    // Top-level windows of the program's process of a class (empty: any).
    std::vector<HWND> TopWindows(const wchar_t* className = nullptr) const;

private:
    testsupport::TempDir m_dir;
    // The handlers of http and https before the run, put back after it.
    std::wstring m_savedHandlers[2];
    PROCESS_INFORMATION m_process{};
};

// Children of a window in creation order (direct children only).
std::vector<HWND> ChildWindows(HWND parent);
// The descendant window whose text is text, or null.
HWND FindDescendant(HWND top, const wchar_t* text);
// The name of the body page shown (its window text), "<several>" when more than one is.
std::wstring ShownPage(HWND main);
// A real click (pointer moved there, button down and up through the input queue)
// at the centre of a window.
void RealClick(HWND window);
// The same at a point of the screen; twice in a row for a double click.
void RealClickAt(int x, int y, bool twice = false);
// Keys through the input queue, to the window with the focus: text as typed
// characters (any script), a key with Ctrl or Shift held.
void TypeText(const std::wstring& text);
void PressKey(WORD key, bool ctrl = false, bool shift = false);
// Whether a window has a descendant with that control id; the skinned dialogs
// paint their caption themselves, so a dialog is known by a control of its own.
bool HasControl(HWND dialog, int id);
// The first visible dialog of the program with that control, or null.
HWND WaitDialog(ProgramRun& run, int control, DWORD ms = 20000);
// Runs the test program's own messages for a while.
void PumpFor(DWORD ms);
// Waits until the body shows the page of that name, then lets it settle.
bool WaitPage(HWND main, const wchar_t* page, DWORD ms = 15000);
// Waits until a window is gone or hidden.
bool WaitGone(HWND window, DWORD ms = 20000);
// The shown child of that id: skinned dialogs put their own controls over
// hidden template items of the same id.
HWND Shown(HWND parent, int id);
// The first shown descendant of that id, at any depth.
HWND FindById(HWND top, int id);
// The window as shown, after a moment to paint, saved as a screenshot.
void Shot(HWND window, const wchar_t* name);
// Waits until done() or the time is over, pumping the test's own messages.
bool WaitFor(bool (*done)(void*), void* context, DWORD ms);
// The control of that id on any of the main window's panes, or null.
HWND PaneControl(HWND main, int id);
// The program's common file dialog (known by its file-name box), or null after 15 s.
HWND WaitFileDialog(ProgramRun& run);
// Picks an item of a skinned combo as a user does: open it, walk down, Enter.
void PickComboItem(HWND combo, int steps);
// The start menu's category, then one of its tasks once the category's short
// animation has brought it in.
void OpenTask(HWND menu, int category, int task);
// The page a task of the start menu leads to, opened as OpenTask does; null
// when the menu or the page did not show.
HWND OpenFromStartMenu(HWND main, int category, int task, const wchar_t* page);
// The card chooser (known by one of its controls) once it shows, with the
// card's row clicked; null when it did not come.
HWND PickCard(ProgramRun& run, int control);
// Types a file name over the one the card chooser proposes.
void NameOnCard(HWND chooser, const wchar_t* name);
