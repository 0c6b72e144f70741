// Tree and thumbnail grid benchmark (needs a display: run under Xvfb).
//  tree: 5,000 nodes (50 folders of 100), all expanded: insert, first paint,
//        walk to the last node with the keyboard's EnsureVisible, page through.
//  grid: a folder of 500 photos (450 JPEG 1600 x 1200, 50 BMP 1280 x 960) made
//        here: time to the first paint, to the first thumbnail on screen and to
//        all thumbnails (decoded on the loader thread while the window runs).
// Prints wall times and peak memory.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "common/FileArchive.h"
#include "common/JpegWriter.h"
#include "common/ShellServices.h"
#include "controls/CustomThumbCtrl.h"
#include "controls/CustomTreeCtrl.h"

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT)
        AfxPumpMessage();
}

DIB_IMAGE Photo(int w, int h, int seed)
{
    DIB_IMAGE image{};
    CreateDib(&image, w, h);
    for (int y = 0; y < h; ++y) {
        BYTE* row = image.bits + static_cast<size_t>(y) * DibRowSize(w);
        for (int x = 0; x < w; ++x) {
            row[x * 3] = static_cast<BYTE>((x * 255) / w);
            row[x * 3 + 1] = static_cast<BYTE>((y * 255) / h);
            row[x * 3 + 2] = static_cast<BYTE>(((x / 40 + y / 40) & 1) * 120 + seed);
        }
    }
    return image;
}

void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(h, &found));
        FindClose(h);
    }
    RemoveDirectoryW(folder.c_str());
}

void BenchTree(CWnd& parent)
{
    CCustomTreeCtrl tree;
    tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 600), &parent, 1);
    Pump();
    auto start = Clock::now();
    HTREEITEM last = nullptr;
    for (int f = 0; f < 50; ++f) {
        HTREEITEM folder = tree.InsertItem((L"Folder " + std::to_wstring(f)).c_str());
        for (int i = 0; i < 100; ++i)
            last = tree.InsertItem((L"Point of interest " + std::to_wstring(f * 100 + i)).c_str(), folder);
        tree.Expand(folder, TVE_EXPAND);
    }
    const double insert = Millis(start);
    start = Clock::now();
    tree.UpdateWindow();
    const double firstPaint = Millis(start);
    start = Clock::now();
    tree.SelectItem(tree.GetRootItem());
    tree.EnsureVisible(last);
    tree.UpdateWindow();
    const double toLast = Millis(start);
    start = Clock::now();
    int pages = 0;
    for (int top = 0; top < tree.GetVisibleCount(); top += tree.GetRowsPerPage(), ++pages) {
        tree.SendMessage(WM_VSCROLL, top == 0 ? SB_TOP : SB_PAGEDOWN);
        tree.UpdateWindow();
    }
    const double paging = Millis(start);
    printf("tree: %d nodes (%d shown) inserted and expanded in %.1f ms; first paint %.1f ms; to the last node "
           "%.1f ms; %d pages painted in %.1f ms (%.2f ms a page)\n",
           tree.GetCount(), tree.GetVisibleCount(), insert, firstPaint, toLast, pages, paging, paging / pages);
    start = Clock::now();
    tree.DestroyWindow();
    printf("tree: destroyed in %.1f ms\n", Millis(start));
}

void BenchGrid(CWnd& parent)
{
    const std::wstring folder = TempPath(L"bench_thumbs");
    RemoveFolder(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    auto start = Clock::now();
    DIB_IMAGE jpeg = Photo(1600, 1200, 10), bmp = Photo(1280, 960, 60);
    const std::wstring jpegFile = folder + L"\\photo_000.jpg", bmpFile = folder + L"\\scan_000.bmp";
    SaveJpeg(jpeg.bits, jpeg.width, jpeg.height, jpeg.stride, jpegFile.c_str());
    SaveDibAsBmp(bmpFile.c_str(), &bmp);
    FreeDibImage(&jpeg);
    FreeDibImage(&bmp);
    for (int i = 1; i < 450; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"\\photo_%03d.jpg", i);
        CopyFileW(jpegFile.c_str(), (folder + name).c_str(), FALSE);
    }
    for (int i = 1; i < 50; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"\\scan_%03d.bmp", i);
        CopyFileW(bmpFile.c_str(), (folder + name).c_str(), FALSE);
    }
    printf("grid: made 450 JPEG 1600 x 1200 and 50 BMP 1280 x 960 in %.1f ms\n", Millis(start));

    CCustomThumbCtrl grid;
    grid.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), &parent, 2);
    Pump();
    CPidl pidl{ILCreateFromPathW(folder.c_str()), 0};
    start = Clock::now();
    grid.SetFolder(&pidl);
    grid.UpdateWindow();
    const double firstPaint = Millis(start);
    double firstThumb = -1, all = -1;
    int loadedAtFirst = 0;
    while (all < 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Pump();
        if (firstThumb < 0 && grid.GetItemCount() && grid.GetItem(0).thumbnail) {
            grid.UpdateWindow();
            firstThumb = Millis(start);
            loadedAtFirst = grid.GetItemCount() - grid.GetPendingLoads();
        }
        if (grid.GetPendingLoads() == 0) {
            grid.UpdateWindow();
            all = Millis(start);
        }
        if (Millis(start) > 600000)
            break;
    }
    printf("grid: %d items; first paint (names, no thumbnails) %.1f ms; first thumbnail on screen %.1f ms "
           "(%d of %d decoded then); all thumbnails %.1f ms (%.1f ms a picture)\n",
           grid.GetItemCount(), firstPaint, firstThumb, loadedAtFirst, grid.GetItemCount(), all,
           all / std::max(1, grid.GetItemCount()));
    printf("grid: the first thumbnails paint %s all are loaded\n", firstThumb >= 0 && firstThumb < all ? "before" : "NOT before");
    start = Clock::now();
    grid.DestroyWindow();
    printf("grid: destroyed in %.1f ms\n", Millis(start));
    pidl.Release();
    RemoveFolder(folder);
}

}  // namespace

int main()
{
    BenchApp app(L"bench");
    CoInitialize(nullptr);
    // The skin pack beside the program's build gives the scroll bars.
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring pack(exe);
    pack = pack.substr(0, pack.find_last_of(L'\\')) + L"\\..\\bin\\Mirovale.qpk";
    if (!theFileArchive.Open(pack.c_str()))
        printf("skin pack not found: the scroll bars are missing\n");
    InitShell();
    CWnd parent;
    if (!parent.CreateEx(0, nullptr, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 820, 620, nullptr, nullptr)) {
        printf("no window (is there a display?)\n");
        return 1;
    }
    BenchTree(parent);
    BenchGrid(parent);
    parent.DestroyWindow();
    TermShell();
    PrintPeakMemory();
    CoUninitialize();
    return 0;
}
