// CSV import view benchmark: a 2,000-row file opened in the view, every preview
// cell asked once as the list asks for it, and the rows converted into the POI
// document; prints each time and the peak memory. Run it on a display
// (tools/bench-startup.sh gives it a private one).
#include <windows.h>
#include <psapi.h>
#include <shlwapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/Afx.h"
#include "common/FileArchive.h"
#include "core/Global.h"
#include "res/frame_ids.h"
#include "views/poi/PoiFromCsvWnd.h"

namespace {

std::wstring g_file;

BOOL AnswerFileDialog(HWND, const wchar_t*, int, BOOL, wchar_t* path)
{
    lstrcpynW(path, g_file.c_str(), MAX_PATH);
    return TRUE;
}

SIZE_T PeakWorkingSetKb()
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize / 1024;
}

}  // namespace

int main()
{
    constexpr int kRows = 2000;
    BenchApp app(L"csv import bench");
    if (!OpenSkinPack())
        return 1;
    FillUiStrings(L"Label");
    theGlobal.m_modelType = 3;
    theGlobal.m_naviModel.m_modelGroup = 3;
    theGlobal.m_delimiter = 2;
    theGlobal.m_docPiCsv.InitErrorStrings();

    // A file of named places: a heading, then 2,000 rows of eight fields.
    g_file = TempPath(L"bench_poi_csv_import.csv");
    std::string text = "Name,Longitude,Latitude,Address,Telephone,Note,Category,Id\r\n";
    for (int i = 0; i < kRows; ++i) {
        char line[256];
        snprintf(line, sizeof line,
                 "Place %d,%.6f,%.6f,\"%d Harbour Street, Sydney\",02 9%07d,\"Open \"\"daily\"\"\",Food,%d\r\n", i,
                 151.0 + i * 0.0001, -33.8 - i * 0.0001, i, i, i);
        text += line;
    }
    HANDLE file = CreateFileW(g_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);

    CWnd top;
    const wchar_t* cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    if (!top.CreateEx(0, cls, L"csv bench", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 700, nullptr, nullptr)) {
        printf("window not created\n");
        return 1;
    }
    app.m_pMainWnd = &top;
    CPoiFromCsvWnd view;
    view.m_mode = 0;
    if (!view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1024, 700), &top, 0xFFFF)) {
        printf("view not created\n");
        return 1;
    }
    CPoiFromCsvWnd::s_fileDialog = &AnswerFileDialog;
    PumpMessages();

    auto start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    const double opened = Seconds(start);
    const int rows = theGlobal.m_docImportPoi.GetRowCount();
    const int columns = theGlobal.m_docImportPoi.m_table.GetMaxColumnCount();
    printf("open %d rows, %d columns: %.3f s\n", rows, columns, opened);

    start = Clock::now();
    wchar_t buffer[CCustomListCtrl::TextBufferSize + 1];
    size_t characters = 0;
    for (int r = 0; r < view.m_list.GetItemCount(); ++r)
        for (int c = 0; c <= columns; ++c) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = r;
            item.iSubItem = c;
            item.pszText = buffer;
            item.cchTextMax = CCustomListCtrl::TextBufferSize + 1;
            view.m_list.GetItem(&item);
            characters += wcslen(buffer);
        }
    printf("preview %d cells (%u characters): %.3f s\n", view.m_list.GetItemCount() * (columns + 1),
           static_cast<unsigned>(characters), Seconds(start));

    view.m_startRow.SetCurSel(1);
    const int map[6] = {2, 3, 1, 4, 5, 6};
    for (int k = 0; k < 6; ++k)
        view.m_columns[k].SetCurSel(map[k]);
    start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_CONVERT, 0);
    printf("convert into %d POIs: %.3f s\n", theGlobal.m_docPiCsv.GetRecordCount(), Seconds(start));
    printf("peak working set: %lu KB\n", static_cast<unsigned long>(PeakWorkingSetKb()));

    view.DestroyWindow();
    top.DestroyWindow();
    app.m_pMainWnd = nullptr;
    DeleteFileW(g_file.c_str());
    return rows == kRows + 1 && theGlobal.m_docPiCsv.GetRecordCount() == kRows ? 0 : 1;
}
