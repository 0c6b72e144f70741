// Address-book benchmark: a full book (399 entries) in the address-book view
// under a real window. Times showing it, sorting by each column both ways (an
// exchange sort that reads both entries at every comparison), scrolling page
// by page from top to bottom with a paint per page, deleting every entry as
// one action with its undo and redo, and the card file written; prints each
// and the peak memory. Aim: every step below 0.2 s.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/Afx.h"
#include "common/FileArchive.h"
#include "core/Global.h"
#include "res/device_ids.h"
#include "res/frame_ids.h"
#include "views/device/AbWnd.h"

namespace {

BenchApp theApp(L"Address-book benchmark");

void Report(const char* what, double ms, int actions = 1)
{
    printf("%-44s %9.1f ms", what, ms);
    if (actions > 1)
        printf("  (%.3f ms per step)", ms / actions);
    printf("%s\n", ms / actions > 200 ? "  (over 0.2 s)" : "");
}

DOCAB_UI_RECORD Sample(int i)
{
    DOCAB_UI_RECORD r{};
    swprintf(r.name, 65, L"%c friend %03d", L'A' + (i * 7) % 26, (i * 7919) % 1000);
    swprintf(r.address, 129, L"%d %c Street, Town %d", i % 300, L'a' + (i * 3) % 26, i % 97);
    swprintf(r.phone, 65, L"555 %04d", (i * 37) % 10000);
    r.longitude = i % 5 == 0 ? AB_NO_POSITION : -120 + (i % 60) * 0.5;
    r.latitude = i % 5 == 0 ? AB_NO_POSITION : 30 + (i % 40) * 0.25;
    r.category = i % 31;
    return r;
}

}  // namespace

int main()
{
    theApp.m_hInstance = GetModuleHandleW(nullptr);
    if (!OpenSkinPack())
        return 1;
    FillUiStrings(L"Text %d");
    theGlobal.m_viewKind = 8;
    theGlobal.m_modelType = 5;

    CWnd parent;
    if (!parent.CreateEx(0, nullptr, L"Address-book benchmark", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1000,
                         760, nullptr, nullptr))
        return 1;
    theApp.m_pMainWnd = &parent;
    auto start = Clock::now();
    CAbWnd view;
    if (!view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 760), &parent, 1))
        return 1;
    Report("create the view (icons, buttons)", Millis(start));
    CDocAb& book = theGlobal.m_docAb;
    book.InitHome();
    auto paint = [&] {
        view.m_list.Invalidate(FALSE);
        view.m_list.UpdateWindow();
        GdiFlush();
    };

    start = Clock::now();
    for (int i = 0; i < AB_ENTRY_COUNT; ++i)
        book.AddEntry(Sample(i));
    view.RefreshList();
    paint();
    Report("show 399 entries (fill, refresh, first page)", Millis(start));

    const char* names[5] = {"icon", "position", "name", "address", "telephone"};
    for (int c = 0; c < 5; ++c)
        for (int way = 0; way < 2; ++way) {
            NMLISTVIEW click{};
            click.hdr.hwndFrom = view.m_list.m_hWnd;
            click.hdr.idFrom = IDC_AB_LIST;
            click.hdr.code = LVN_COLUMNCLICK;
            click.iSubItem = c;
            start = Clock::now();
            view.SendMessage(WM_NOTIFY, IDC_AB_LIST, reinterpret_cast<LPARAM>(&click));
            paint();
            char what[64];
            snprintf(what, sizeof what, "sort by %s %s", names[c], way ? "descending" : "ascending");
            Report(what, Millis(start));
        }

    // Page by page to the bottom and back to the top, as the scroll bar does.
    int pages = 0;
    start = Clock::now();
    for (int dir : {SB_PAGEDOWN, SB_PAGEUP})
        for (int i = 0; i < 40; ++i) {
            view.m_list.SendMessage(WM_VSCROLL, dir, 0);
            view.m_list.UpdateWindow();
            ++pages;
        }
    GdiFlush();
    Report("scroll 40 pages down and 40 up", Millis(start), pages);
    printf("top row after scrolling back: %d\n", view.m_list.m_topIndex);

    view.m_list.SetFocus();
    view.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_DELETE, 0);
    paint();
    Report("delete 399 entries (one action)", Millis(start));
    start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    paint();
    Report("undo the deletion", Millis(start));
    printf("entries after undo: %d\n", book.GetEntryCount());
    start = Clock::now();
    view.SendMessage(WM_COMMAND, ID_EDIT_REDO, 0);
    paint();
    Report("redo the deletion", Millis(start));
    view.SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    const std::wstring card = TempPath(L"mirovale_bench_ab\\");
    const std::wstring target = card + L"PC\\POINT\\TONAVI\\POINTREG.L00";
    start = Clock::now();
    const BOOL written = book.CreateFolderAndSave(target.c_str());
    Report(written ? "write the card file" : "write the card file FAILED", Millis(start));
    DeleteFileW(target.c_str());
    for (const wchar_t* folder : {L"PC\\POINT\\TONAVI", L"PC\\POINT", L"PC", L""})
        RemoveDirectoryW((card + folder).c_str());
    PrintPeakMemory();
    view.DestroyWindow();
    parent.DestroyWindow();
    return 0;
}
