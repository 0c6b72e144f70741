// Fuel log benchmark: 1,000 records (the limit) in the fuel view under a real
// window. Times opening the log file, sorting by each column, scrolling page
// by page, selecting all and deleting, the undo, and the mileage graph drawn
// and saved as a JPEG; prints each and the peak memory.
// Aim: each step below 50 ms, the graph saved below 0.2 s.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/Afx.h"
#include "common/FileArchive.h"
#include "common/JpegWriter.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "res/frame_ids.h"
#include "res/fuel_ids.h"
#include "views/report/FeWnd.h"
#include "views/report/GraphCtrl.h"

namespace {

constexpr int kRecords = 1000;
std::wstring g_logPath;

BenchApp theApp(L"Fuel log benchmark");

void Report(const char* what, double ms, double aim, int actions = 1)
{
    printf("%-44s %9.1f ms", what, ms);
    if (actions > 1)
        printf("  (%.3f ms per step)", ms / actions);
    printf("%s\n", ms / actions > aim ? "  (over the aim)" : "");
}

BOOL AnswerOpen(HWND, const wchar_t*, int, BOOL, wchar_t* path)
{
    lstrcpynW(path, g_logPath.c_str(), MAX_PATH);
    return TRUE;
}

std::string LogCsv()
{
    std::string csv = "#Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Distance,UnitDistance,GasAmount,"
                      "UnitAmount,UnitMileage,GasPrice,UnitPrice,Memo\r\n";
    for (int i = 0; i < kRecords; ++i) {
        char line[256];
        snprintf(line, sizeof line, "%04d,%02d,%02d,%02d,%02d,00,%08d,%08d,%08d,0,%05d,0,0,%05d,3,stop %d\r\n",
                 2005 + i / 300, 1 + (i * 7) % 12, 1 + (i * 13) % 28, (i * 5) % 24, (i * 11) % 60,
                 35000000 + (i * 977) % 1000000, 139000000 + (i * 613) % 1000000, 2500 + (i * 37) % 2000,
                 2000 + (i * 53) % 2500, 120 + (i * 7) % 60, (i * 7919) % 1000);
        csv += line;
    }
    return csv;
}

}  // namespace

int main()
{
    theApp.m_hInstance = GetModuleHandleW(nullptr);
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    folder = folder.substr(0, folder.find_last_of(L'\\') + 1);
    if (!theFileArchive.Open((folder + L"..\\bin\\Mirovale.qpk").c_str())) {
        printf("skin pack not found\n");
        return 1;
    }
    InitCharClassTable();
    FillUiStrings(L"Text %d");
    theGlobal.m_viewKind = 11;
    theGlobal.m_naviModel.m_modelGroup = 3;
    theGlobal.m_docFe.InitErrorStrings();
    g_logPath = TempPath(L"mirovale_bench_fuel.csv");
    const std::string csv = LogCsv();
    HANDLE file = CreateFileW(g_logPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, csv.data(), static_cast<DWORD>(csv.size()), &written, nullptr);
    CloseHandle(file);

    CWnd parent;
    if (!parent.CreateEx(0, nullptr, L"Fuel log benchmark", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1000, 760,
                         nullptr, nullptr))
        return 1;
    theApp.m_pMainWnd = &parent;
    CFeWnd view;
    CFeWnd::s_fileDialog = AnswerOpen;
    if (!view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 760), &parent, 1))
        return 1;
    view.RefreshList();
    CDocFe& doc = theGlobal.m_docFe;
    auto paint = [&] {
        view.m_list.Invalidate(FALSE);
        view.m_list.UpdateWindow();
        view.m_statistics.UpdateWindow();
        GdiFlush();
    };

    auto start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    paint();
    Report("open 1,000 records (read, date sort, show)", Millis(start), 50);
    printf("records: %d\n", doc.GetCount());

    const char* names[14] = {"date",     "time",  "distance", "distance unit", "amount", "amount unit", "mileage",
                             "mileage unit", "price", "currency", "cost",       "latitude", "longitude", "memo"};
    for (int c = 0; c < 14; ++c) {
        NMLISTVIEW click{};
        click.hdr.hwndFrom = view.m_list.m_hWnd;
        click.hdr.idFrom = IDC_FUEL_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iSubItem = c;
        start = Clock::now();
        view.SendMessage(WM_NOTIFY, IDC_FUEL_LIST, reinterpret_cast<LPARAM>(&click));
        paint();
        char what[64];
        snprintf(what, sizeof what, "sort by %s", names[c]);
        Report(what, Millis(start), 50);
    }

    int pages = 0;
    start = Clock::now();
    for (int last = -1; view.m_list.m_topIndex != last && pages < 200; ++pages) {
        last = view.m_list.m_topIndex;
        view.m_list.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
        view.m_list.UpdateWindow();
    }
    GdiFlush();
    Report("scroll page by page to the end", Millis(start), 50, pages);

    view.m_list.SetFocus();
    start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    paint();
    Report("select all", Millis(start), 50);
    start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_DELETE, 0);
    paint();
    Report("delete 1,000 records (one action)", Millis(start), 50);
    start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    paint();
    Report("undo the deletion", Millis(start), 50);
    printf("records after undo: %d\n", doc.GetCount());

    // The graph as the dialog saves it: the frame with 1,000 samples drawn
    // into a picture and written as a JPEG.
    start = Clock::now();
    CGraphFrame frame;
    frame.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(21, 32, 559, 386), &parent, 2);
    CGraphCtrl& graph = frame.m_graph;
    graph.Clear();
    for (int row = 0; row < view.RecordRowCount(); ++row) {
        DOCFUEL_VIEW_DATA r{};
        doc.GetRecordText(view.RecordOfRow(row), r);
        graph.AddPoint(r.date, doc.GetRecordMileage(view.RecordOfRow(row), 0) / 100.0);
    }
    graph.m_average = doc.GetOverallMileage() / 100.0;
    graph.ComputeRange();
    DIB_IMAGE picture;
    InitDibImage(&picture);
    CreateDib(&picture, 578, 440);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, picture.bitmap);
    const RECT place{21, 32, 559, 386};
    frame.Draw(dc, place);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
    const std::wstring jpeg = TempPath(L"mirovale_bench_graph.jpg");
    const BOOL saved = SaveJpeg(picture.bits, picture.width, picture.height, -picture.stride, jpeg.c_str());
    Report(saved ? "graph of 1,000 samples drawn and saved" : "graph drawn, JPEG FAILED", Millis(start), 200);
    FreeDibImage(&picture);
    DeleteFileW(jpeg.c_str());
    DeleteFileW(g_logPath.c_str());

    PrintPeakMemory();
    frame.DestroyWindow();
    view.DestroyWindow();
    parent.DestroyWindow();
    return 0;
}
