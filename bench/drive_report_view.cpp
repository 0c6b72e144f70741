// The drive-report view at size: a folder of 500 GPX tracks of 2,000 points
// each imported through the view with its progress dialog, in the main window
// of this process; then the 500 rows sorted by each column. Prints the total
// import time, the time until the rows show, the longest stretch without a
// message being taken from the queue, peak memory and the sort times.
//
//   drive_report_view.exe prepare FOLDER   writes the track files
//   drive_report_view.exe run FOLDER       imports and sorts them
//
// Run it on a display (under Xvfb) through build/wine-run.sh.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/Afx.h"
#include "common/FileArchive.h"
#include "core/Global.h"
#include "core/LanguageFile.h"
#include "frame/MainWnd.h"
#include "res/frame_ids.h"
#include "res/report_ids.h"
#include "views/report/DriveReportWnd.h"

namespace {

constexpr int kFiles = 500;
constexpr int kPoints = 2000;

void WriteGpx(const std::wstring& path, int n)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    std::fprintf(f, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<gpx version=\"1.1\" creator=\"bench\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
                    "  <trk>\n    <trkseg>\n");
    double lat = 35.0 + n * 0.001;
    const __int64 start = 1241136000 + n * 86400LL / 4;
    for (int i = 0; i < kPoints; ++i) {
        const int phase = i % 120;
        const int speed = phase < 10 ? 0 : phase < 20 ? (phase - 10) * 5 : 50;
        lat += speed / 3.6 / 111000.0;
        __int64 t = start + i;
        tm u{};
        _gmtime64_s(&u, &t);
        std::fprintf(f, "      <trkpt lat=\"%.7f\" lon=\"%.7f\"><time>%04d-%02d-%02dT%02d:%02d:%02dZ</time></trkpt>\n",
                     lat, 139.0 + (i % 1000) * 1e-6, u.tm_year + 1900, u.tm_mon + 1, u.tm_mday, u.tm_hour, u.tm_min,
                     u.tm_sec);
    }
    std::fprintf(f, "    </trkseg>\n  </trk>\n</gpx>\n");
    std::fclose(f);
}

std::wstring g_folder;
BOOL AnswerFolder(wchar_t path[MAX_PATH], HWND, const RECT&)
{
    lstrcpynW(path, g_folder.c_str(), MAX_PATH);
    return TRUE;
}

// The longest time between two messages taken from the queue, and when the
// list first had rows.
Clock::time_point g_start, g_lastTaken;
double g_longestGap = 0, g_firstRows = -1;
bool g_measuring = false;
CDriveReportWnd* g_view = nullptr;
LRESULT CALLBACK OnMessageTaken(int code, WPARAM wp, LPARAM lp)
{
    if (code >= 0 && wp == PM_REMOVE && g_measuring) {
        g_longestGap = std::max(g_longestGap, Millis(g_lastTaken));
        g_lastTaken = Clock::now();
        if (g_firstRows < 0 && g_view->m_listPane.m_list.GetItemCount() > 0)
            g_firstRows = Millis(g_start);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// Answers the message boxes of the import (none expected) with Enter.
void CALLBACK CloseBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    CPtrArray& stack = theGlobal.m_dialogStack;
    if (stack.GetSize() == 0)
        return;
    auto* top = static_cast<CWnd*>(stack[stack.GetSize() - 1]);
    if (top->m_hWnd && IsWindowVisible(top->m_hWnd) && GetDlgItem(top->m_hWnd, 1029))
        PostMessageW(top->m_hWnd, WM_COMMAND, IDOK, 0);
}

int Run(const std::wstring& folder)
{
    BenchApp app(L"drive report bench");
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathRemoveFileSpecW(path);
    std::wstring bin = path;
    bin += L"\\..\\bin\\";
    if (!theFileArchive.Open((bin + L"Mirovale.qpk").c_str())) {
        printf("no skin pack in %ls\n", bin.c_str());
        return 1;
    }
    CStringArray lines;
    if (!ParseLanguageFile((bin + L"language\\English_US.dat").c_str(), lines)) {
        printf("no language file\n");
        return 1;
    }
    theGlobal.m_uiStrings.Append(lines);
    theGlobal.m_modelType = 0;
    theGlobal.m_areaCode = 1;
    theGlobal.m_animation = 0;
    theGlobal.m_drSplit = 0.5f;
    theGlobal.m_windowRect = {0, 0, 1024, 768};
    auto* main = new CMainWnd;
    if (!main->Create()) {
        printf("main window not created\n");
        return 1;
    }
    app.m_pMainWnd = main;
    main->ShowWindow(SW_SHOW);
    main->EnableWindow(TRUE);
    PumpMessages();
    PostMessageW(main->m_hWnd, WM_COMMAND, ID_DRIVE_REPORT, 0);
    while (theGlobal.m_viewKind != 10)
        PumpMessages();
    PumpMessages();
    auto* view = dynamic_cast<CDriveReportWnd*>(main->m_body.GetView(10));
    g_folder = folder + L"\\";
    CDriveReportWnd::s_browseFolder = AnswerFolder;
    const UINT_PTR closer = SetTimer(nullptr, 0, 50, &CloseBoxes);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &OnMessageTaken, nullptr, GetCurrentThreadId());

    g_view = view;
    const auto start = Clock::now();
    g_start = g_lastTaken = start;
    g_measuring = true;
    view->SendMessage(WM_COMMAND, ID_IMPORT_REPORT, 0);
    g_measuring = false;
    const double imported = Millis(start);
    view->m_listPane.m_list.UpdateWindow();
    const double shown = Millis(start);
    UnhookWindowsHookEx(hook);
    KillTimer(nullptr, closer);
    const int rows = view->m_listPane.m_list.GetItemCount();
    printf("import of %d GPX files of %d points: %d rows, %.0f ms in all, first rows shown after %.0f ms, "
           "all after %.0f ms\n",
           kFiles, kPoints, rows, imported, g_firstRows, shown);
    printf("longest stretch without a message taken: %.1f ms (aim: under 100 ms)\n", g_longestGap);
    printf("peak memory: %.1f MB\n", PeakMegabytes());
    // The longest single step of the import: reading one file.
    double longestRead = 0;
    for (int n = 0; n < 50; ++n) {
        wchar_t name[40];
        swprintf(name, 40, L"track%04d.gpx", n);
        CDocDrivingReport report;
        const auto t = Clock::now();
        report.ReadGpx((g_folder + name).c_str());
        longestRead = std::max(longestRead, Millis(t));
    }
    printf("longest read of one file (50 tried): %.1f ms\n", longestRead);

    // The names differ only in their numbers; give the texts some variety.
    CDocDr& doc = theGlobal.m_docDr;
    for (int i = 0; i < doc.GetCount(); ++i) {
        DR_LIST_DATA& d = doc.m_reports[i].m_listData;
        d.checked = static_cast<BYTE>(i % 3 == 0);
        d.kind = i % 3;
        swprintf(d.text1, 129, L"Route %03d", (i * 37) % 500);
        swprintf(d.text2, 129, L"note %d", (i * 11) % 97);
        swprintf(d.text3, 129, L"%c tag", L'a' + i % 26);
    }
    for (int column = 1; column <= 6; ++column) {
        double worst = 0;
        for (BOOL ascending : {TRUE, FALSE}) {
            const auto t = Clock::now();
            view->m_listPane.SortReports(static_cast<int>(view->m_listPane.m_index.GetSize()), column, ascending);
            view->RefreshList();
            worst = std::max(worst, Millis(t));
        }
        printf("sort %d rows by column %d: %.2f ms at most (aim: under 50 ms)\n", rows, column, worst);
    }
    DestroyWindow(main->m_hWnd);
    return 0;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc >= 3 && wcscmp(argv[1], L"prepare") == 0) {
        CreateDirectoryW(argv[2], nullptr);
        for (int n = 0; n < kFiles; ++n) {
            wchar_t name[40];
            swprintf(name, 40, L"\\track%04d.gpx", n);
            WriteGpx(std::wstring(argv[2]) + name, n);
        }
        return 0;
    }
    if (argc >= 3 && wcscmp(argv[1], L"run") == 0)
        return Run(argv[2]);
    printf("drive_report_view.exe prepare|run FOLDER\n");
    return 2;
}
