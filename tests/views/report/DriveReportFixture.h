#pragma once
// The drive-report view's tests share this: the real main window with the
// skin pack and the shipped strings, the track fixtures copied into a folder,
// the folder chooser answered by the test, a watcher that acts on dialogs as
// they come up inside the view's own modal loops, and typing.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "TestFiles.h"
#include "TestMainWindow.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "frame/MainWnd.h"
#include "frame/MessageDlg.h"
#include "res/frame_ids.h"
#include "res/report_ids.h"
#include "views/report/DriveReportWnd.h"

namespace drtest {

// tests/views/report/tracks/<name> in the source tree.
inline std::wstring Track(const wchar_t* name)
{
    return testsupport::SourceFile(std::wstring(L"tests\\views\\report\\tracks\\") + name);
}

inline const wchar_t* const kTrips[] = {L"trip_20090501.gpx", L"trip_20090502.gpx", L"trip_20090503.gpx",
                                        L"Trip_20090510.gpx"};

// What the folder chooser answers: a folder, or "" for Cancel; and the
// folder it was handed to start in.
inline std::wstring g_folder, g_handed;
inline int g_browseCalls = 0;
inline RECT g_keepClear{};
inline BOOL AnswerFolder(wchar_t path[MAX_PATH], HWND, const RECT& keepClear)
{
    ++g_browseCalls;
    g_keepClear = keepClear;
    g_handed = path;
    if (g_folder.empty())
        return FALSE;
    lstrcpynW(path, g_folder.c_str(), MAX_PATH);
    return TRUE;
}

// A dialog that comes up while an action runs: when match says so for the
// innermost open dialog, act runs once inside that dialog's modal loop.
struct Watch {
    std::function<bool(CDialog&)> match;
    std::function<void(CDialog&)> act;
    int fired = 0;
};
inline std::vector<Watch*> g_watches;
// Dialogs whose script runs now; a dialog opened by a script gets its own.
inline std::vector<CDialog*> g_acting;
inline bool g_watchBusy = false;

inline void CALLBACK WatchTick(HWND, UINT, UINT_PTR, DWORD)
{
    CPtrArray& stack = theGlobal.m_dialogStack;
    if (stack.GetSize() == 0)
        return;
    auto* top = static_cast<CDialog*>(stack[stack.GetSize() - 1]);
    if (std::find(g_acting.begin(), g_acting.end(), top) != g_acting.end())
        return;
    for (Watch* w : g_watches)
        if (!w->fired && top->m_hWnd && ::IsWindowVisible(top->m_hWnd) && w->match(*top)) {
            w->fired = 1;
            g_acting.push_back(top);
            g_watchBusy = true;
            skintest::Settle(top->m_hWnd);
            w->act(*top);
            g_acting.pop_back();
            g_watchBusy = !g_acting.empty();
            return;
        }
}

// A message box showing UI string n.
inline std::function<bool(CDialog&)> MessageOf(int n)
{
    return [n](CDialog& d) {
        auto* box = dynamic_cast<CMessageDlg*>(&d);
        return box && box->GetText() == theGlobal.UiString(n);
    };
}

// Characters typed through the input queue to the focus window.
inline void TypeChars(const std::wstring& text)
{
    for (wchar_t ch : text) {
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wScan = in[1].ki.wScan = ch;
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        ::SendInput(2, in, sizeof(INPUT));
    }
    PumpUntil([] { return false; }, 200);
}

// A real click at the middle of a window.
inline void Click(HWND window) { dlgtest::ClickChild(window); }

class DriveView : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(skintest::OpenRealPack());
        ASSERT_TRUE(dlgtest::LoadShippedStrings());
        InitCharClassTable();
        theGlobal.m_dialogStack.RemoveAll();
        ForgetViews();
        theGlobal.m_animation = 0;
        theGlobal.m_transparentDlg = 0;
        theGlobal.m_modelType = 0;
        theGlobal.m_naviModel.m_modelGroup = 1;
        theGlobal.m_distanceUnit = 0;
        theGlobal.m_delimiter = 0;
        theGlobal.m_drSplit = 0.5f;
        theGlobal.m_drImportIniFolder.Empty();
        theGlobal.m_drColumns.RemoveAll();
        theGlobal.m_windowRect = {0, 0, 1024, 768};
        theGlobal.m_docDr.m_reports.RemoveAll();
        g_folder.clear();
        g_handed.clear();
        g_browseCalls = 0;
        g_watches.clear();
        CDriveReportWnd::s_browseFolder = AnswerFolder;
        main = OpenMainWindow(app);
        ASSERT_NE(main, nullptr);
        hwnd = main->GetSafeHwnd();
        main->MoveWindow(0, 0, 1024, 768);
        ::SetForegroundWindow(hwnd);
        watchTimer = ::SetTimer(nullptr, 0, 40, &WatchTick);
        skintest::Settle(hwnd);
    }
    void TearDown() override
    {
        ::KillTimer(nullptr, watchTimer);
        g_watches.clear();
        CloseMainWindow(app, hwnd);
        theGlobal.m_docDr.m_reports.RemoveAll();
        theGlobal.m_dialogStack.RemoveAll();
        GuiTest::TearDown();
    }
    CDriveReportWnd& View() { return *dynamic_cast<CDriveReportWnd*>(main->m_body.GetView(10)); }
    // The start menu's Drive category, then its Drive Report task, clicked.
    void OpenFromStartMenu()
    {
        HWND menu = main->m_body.GetView(0)->m_hWnd;
        Click(::GetDlgItem(menu, ID_CATEGORY_DRIVE));
        Click(::GetDlgItem(menu, ID_DRIVE_REPORT));
        PumpUntil([&] { return theGlobal.m_viewKind == 10 && View().IsWindowVisible(); }, 4000);
        skintest::Settle(hwnd);
    }
    // Copies of the fixtures (and of trip one as name0000.gpx ...) in a new folder.
    std::wstring Folder(const std::vector<std::wstring>& names, int copies = 0)
    {
        dirs.push_back(std::make_unique<testsupport::TempDir>());
        const std::wstring& dir = dirs.back()->Path();
        for (const auto& n : names)
            ::CopyFileW(Track(n.c_str()).c_str(), (dir + n).c_str(), FALSE);
        for (int i = 0; i < copies; ++i) {
            wchar_t name[32];
            wsprintfW(name, L"copy%04d.gpx", i);
            ::CopyFileW(Track(kTrips[0]).c_str(), (dir + name).c_str(), FALSE);
        }
        return dir;
    }
    // Runs an action (a click) and waits until every watch fired and no
    // dialog is left open.
    bool RunWith(const std::function<void()>& action, std::vector<Watch*> watches, DWORD ms = 20000)
    {
        g_watches = watches;
        action();
        const bool ok = PumpUntil(
            [&] {
                for (Watch* w : watches)
                    if (!w->fired)
                        return false;
                return theGlobal.m_dialogStack.GetSize() == 0 && !g_watchBusy;
            },
            ms);
        g_watches.clear();
        return ok;
    }
    POINT CellCentre(int row, int column)
    {
        CDriveReportListCtrl& list = View().m_listPane.m_list;
        RECT rc{};
        list.GetSubItemRect(row, column, LVIR_BOUNDS, &rc);
        return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    void ClickCell(int row, int column)
    {
        const POINT p = CellCentre(row, column);
        dlgtest::RealClick(View().m_listPane.m_list.m_hWnd, p.x, p.y);
    }
    void ClickHeader(int column)
    {
        CDriveReportListCtrl& list = View().m_listPane.m_list;
        RECT r{};
        list.m_header.GetItemRect(column, &r);
        dlgtest::RealClick(list.m_header.m_hWnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // The names of the rows, top to bottom.
    std::vector<std::wstring> RowNames()
    {
        std::vector<std::wstring> names;
        const CWordArray& index = View().m_listPane.m_index;
        for (INT_PTR r = 0; r < index.GetSize(); ++r)
            names.push_back(theGlobal.m_docDr.m_reports[index[r]].m_listData.name);
        return names;
    }
    void Shot(const wchar_t* name) { dlgtest::SaveShot(hwnd, name); }

    CMainWnd* main = nullptr;
    HWND hwnd = nullptr;
    UINT_PTR watchTimer = 0;
    std::vector<std::unique_ptr<testsupport::TempDir>> dirs;
};

}  // namespace drtest
