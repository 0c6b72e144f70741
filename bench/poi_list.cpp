// POI list benchmark: 2,000 POIs in the CSV list view under a real window.
// Times showing them, sorting by each column (both ways), pasting 2,000
// records one by one and undoing and redoing all of them, and deleting all
// rows as one action with its undo and redo; prints each and the peak memory.
// Aim: every step below 0.2 s.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/Afx.h"
#include "common/FileArchive.h"
#include "core/Global.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/poi/PoiWnd.h"

namespace {

constexpr int kRecords = 2000;

BenchApp theApp(L"POI list benchmark");

void Report(const char* what, double ms, int actions = 1)
{
    printf("%-44s %9.1f ms", what, ms);
    if (actions > 1)
        printf("  (%.3f ms per action)", ms / actions);
    printf("%s\n", ms / actions > 200 ? "  (over 0.2 s)" : "");
}

DOCPI_RECORD Sample(int i)
{
    DOCPI_RECORD r{};
    swprintf(r.name, 65, L"%c place %05d", L'A' + (i * 7) % 26, (i * 7919) % 10007);
    swprintf(r.address, 129, L"%d %c Street, Town %d", i % 300, L'a' + (i * 3) % 26, i % 97);
    swprintf(r.telephone, 65, L"555 %04d", (i * 37) % 10000);
    swprintf(r.description, 65, L"note %d", (i * 13) % 1000);
    r.longitude = i % 50 == 0 ? POI_NO_POSITION : -180 + (i * 7.123) - 360 * static_cast<int>((i * 7.123) / 360);
    r.latitude = i % 50 == 0 ? POI_NO_POSITION : -90 + (i * 3.517) - 180 * static_cast<int>((i * 3.517) / 180);
    return r;
}

}  // namespace

int main()
{
    theApp.m_hInstance = GetModuleHandleW(nullptr);
    if (!OpenSkinPack())
        return 1;
    FillUiStrings(L"Text %d");
    for (DWORD w : {110, 110, 120, 150, 120, 150})
        theGlobal.m_piCsvColumns.Add(w);
    theGlobal.m_viewKind = 2;

    CWnd parent;
    if (!parent.CreateEx(0, nullptr, L"POI list benchmark", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1000, 760,
                         nullptr, nullptr))
        return 1;
    theApp.m_pMainWnd = &parent;
    CPoiWnd view;
    view.m_mode = 2;
    if (!view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 760), &parent, 1))
        return 1;
    CDocPi& doc = theGlobal.m_docPiCsv;
    auto paint = [&] {
        view.m_list.Invalidate(FALSE);
        view.m_list.UpdateWindow();
        GdiFlush();
    };

    auto start = Clock::now();
    for (int i = 0; i < kRecords; ++i)
        doc.AddRecord(Sample(i));
    view.RefreshList();
    paint();
    Report("show 2,000 POIs (fill, refresh, first page)", Millis(start));

    const char* names[6] = {"longitude", "latitude", "name", "address", "telephone", "description"};
    for (int c = 0; c < 6; ++c)
        for (int way = 0; way < 2; ++way) {
            NMLISTVIEW click{};
            click.hdr.hwndFrom = view.m_list.m_hWnd;
            click.hdr.idFrom = IDC_POI_LIST;
            click.hdr.code = LVN_COLUMNCLICK;
            click.iSubItem = c;
            start = Clock::now();
            view.SendMessage(WM_NOTIFY, IDC_POI_LIST, reinterpret_cast<LPARAM>(&click));
            paint();
            char what[64];
            snprintf(what, sizeof what, "sort by %s %s", names[c], way ? "descending" : "ascending");
            Report(what, Millis(start));
        }

    // Delete every row as one action, then undo and redo it.
    view.m_list.SetFocus();
    view.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_DELETE, 0);
    paint();
    Report("delete 2,000 rows (one action)", Millis(start));
    start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    paint();
    Report("undo the deletion", Millis(start));
    start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_EDIT_REDO, 0);
    paint();
    Report("redo the deletion", Millis(start));
    printf("records after redo: %d\n", doc.GetRecordCount());

    // 2,000 pastes into the emptied list, all undone, all redone.
    doc.ResetDocument();
    view.RefreshList();
    doc.AddRecord(Sample(1));
    view.RefreshList();
    view.m_list.SetCurSel(0);
    view.m_list.SetFocus();
    view.SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
    doc.ResetDocument();
    view.ClearUndo();
    view.RefreshList();
    start = Clock::now();
    for (int i = 0; i < kRecords; ++i)
        view.SendMessage(WM_COMMAND, ID_EDIT_PASTE, 0);
    paint();
    Report("paste 2,000 records one by one", Millis(start), kRecords);
    start = Clock::now();
    while (view.CanUndo())
        view.SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    paint();
    Report("undo all 2,000 pastes", Millis(start), kRecords);
    start = Clock::now();
    while (view.CanRedo())
        view.SendMessage(WM_COMMAND, ID_EDIT_REDO, 0);
    paint();
    Report("redo all 2,000 pastes", Millis(start), kRecords);
    printf("records after redo: %d\n", doc.GetRecordCount());

    // The list written to a card folder as the export does (KML files split by
    // the model's records per file).
    const std::wstring card = TempPath(L"mirovale_bench_card\\");
    const std::wstring target = card + L"POI\\bench.kml";
    start = Clock::now();
    const BOOL exported = doc.ExportToCard(target.c_str());
    Report(exported ? "export 2,000 POIs to a card folder" : "export 2,000 POIs to a card folder FAILED", Millis(start));
    for (int n = 1; n <= 20; ++n) {
        std::wstring file = card + L"POI\\bench" + (n == 1 ? L"" : L"(" + std::to_wstring(n) + L")") + L".kml";
        DeleteFileW(file.c_str());
    }
    RemoveDirectoryW((card + L"POI").c_str());
    RemoveDirectoryW(card.c_str());
    PrintPeakMemory();
    view.DestroyWindow();
    parent.DestroyWindow();
    return 0;
}
