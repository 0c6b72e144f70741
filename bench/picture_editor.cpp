// The picture editor on a folder of 500 camera-size photos (3000 x 2000
// JPEGs, written once into a temp folder and kept for later runs): time until
// the first thumbnails are shown, until the first screenful and all of them
// are decoded, until a photo is opened and shown, and a crop done; peak
// memory. Run it on a display.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "common/FileArchive.h"
#include "common/JpegWriter.h"
#include "common/ShellServices.h"
#include "core/Global.h"
#include "res/frame_ids.h"
#include "res/picture_ids.h"
#include "views/device/PicEditWnd.h"

namespace {

std::wstring PhotoName(const std::wstring& folder, int i)
{
    wchar_t name[32];
    swprintf(name, 32, L"photo_%03d.jpg", i);
    return folder + name;
}

// The photos, unless an earlier run left them all.
bool WritePhotos(const std::wstring& folder, int count, int width, int height)
{
    ::CreateDirectoryW(folder.c_str(), nullptr);
    if (::PathFileExistsW(PhotoName(folder, count - 1).c_str()))
        return true;
    DIB_IMAGE dib;
    InitDibImage(&dib);
    if (!CreateDib(&dib, width, height))
        return false;
    const int row = DibRowSize(width);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE* px = dib.bits + static_cast<size_t>(y) * row + x * 3;
            px[0] = static_cast<BYTE>(x * 255 / width);
            px[1] = static_cast<BYTE>((x ^ y) & 0x3F) + static_cast<BYTE>(y * 160 / height);
            px[2] = static_cast<BYTE>(255 - x * 255 / width);
        }
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        // A band that moves from photo to photo, so no two files are alike.
        const int band = (i * 37) % (height - 40);
        for (int y = band; y < band + 40; ++y)
            for (int x = 0; x < width; ++x)
                dib.bits[static_cast<size_t>(y) * row + x * 3 + 1] ^= 0x80;
        ok = SaveJpeg(dib.bits, width, height, row, PhotoName(folder, i).c_str()) != FALSE;
    }
    FreeDibImage(&dib);
    return ok;
}

CString FolderSetting(const std::wstring& folder)
{
    LPITEMIDLIST pidl = ::ILCreateFromPathW(folder.c_str());
    const CString text = CPicEditWnd::FolderSetting(pidl);
    ::ILFree(pidl);
    return text;
}

int Decoded(const CCustomThumbCtrl& thumbs, int upTo)
{
    int n = 0;
    for (int i = 0; i < upTo && i < thumbs.GetItemCount(); ++i)
        if (thumbs.GetItem(i).thumbnail)
            ++n;
    return n;
}

}  // namespace

int main()
{
    BenchApp app(L"picture editor bench");
    if (!OpenSkinPack())
        return 1;
    // Text 41 (the first show's question) left empty: icon mode without asking.
    FillUiStrings(L"Pictures");
    theGlobal.m_uiStrings.SetAt(41, L"");
    theGlobal.m_modelType = 5;
    theGlobal.m_animation = 0;
    theGlobal.m_picEditSplit = 0.3f;
    theGlobal.m_picFileSplit = 0.2f;

    const int count = 500, width = 3000, height = 2000;
    const std::wstring base = TempPath(L"mirovale_pic_bench\\");
    const std::wstring photos = base + L"photos\\";
    ::CreateDirectoryW(base.c_str(), nullptr);
    theGlobal.m_iconFolder = (base + L"icon").c_str();
    theGlobal.m_splashFolder = (base + L"splash").c_str();
    const auto writing = Clock::now();
    if (!WritePhotos(photos, count, width, height)) {
        std::printf("photos not written\n");
        return 1;
    }
    const double written = Seconds(writing);
    theGlobal.m_docIg.InitErrorStrings();
    theGlobal.m_docIcon.LoadIcons();
    if (!InitShell()) {
        std::printf("no shell\n");
        return 1;
    }
    theGlobal.m_igIniFolder = FolderSetting(photos);

    CWnd top;
    if (!top.CreateEx(0, AfxRegisterWndClass(0), L"picture bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      CRect(0, 0, 1034, 740), nullptr, 0)) {
        std::printf("window not created\n");
        return 1;
    }
    app.m_pMainWnd = &top;
    CPicEditWnd view;
    if (!view.Create(nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 1024, 700), &top, 0xFFFF)) {
        std::printf("view not created\n");
        return 1;
    }
    view.SendMessage(WM_COMMAND, ID_INIT_IG, 0);
    CCustomThumbCtrl& thumbs = view.m_filePane.m_thumbs;

    // Shown: the folder listed and its thumbnails filling in.
    const auto start = Clock::now();
    view.ShowWindow(SW_SHOW);
    double listed = -1, firstShown = -1, screenful = -1, all = -1;
    int perScreen = 0;
    while (Seconds(start) < 600) {
        PumpFor(5);
        if (firstShown < 0 && Decoded(thumbs, thumbs.GetItemCount()) > 0) {
            thumbs.UpdateWindow();
            firstShown = Seconds(start);
        }
        if (thumbs.GetItemCount() < count)
            continue;
        if (listed < 0)
            listed = Seconds(start);
        if (!perScreen) {
            RECT c;
            thumbs.GetClientRect(&c);
            perScreen = thumbs.GetColumns() * ((c.bottom + CCustomThumbCtrl::PitchY - 1) / CCustomThumbCtrl::PitchY);
            if (perScreen <= 0 || perScreen > count)
                perScreen = count;
        }
        const int done = Decoded(thumbs, count);
        if (screenful < 0 && Decoded(thumbs, perScreen) == perScreen) {
            thumbs.UpdateWindow();
            screenful = Seconds(start);
        }
        if (done == count) {
            all = Seconds(start);
            break;
        }
    }

    // A photo opened and shown.
    const std::wstring first = PhotoName(photos, 0);
    auto t = Clock::now();
    const BOOL opened = view.OpenPicture(first.c_str());
    view.UpdateWindow();
    view.m_imagePane.UpdateWindow();
    const double openTime = Seconds(t);

    // The crop frame set to the middle half, then cropped and shown.
    CPicImageWnd& pane = view.m_imagePane;
    const RECT whole = pane.m_frame;
    const int fw = (whole.right - whole.left) / 2, fh = (whole.bottom - whole.top) / 2;
    pane.m_frame = RECT{whole.left + fw / 2, whole.top + fh / 2, whole.left + fw / 2 + fw, whole.top + fh / 2 + fh};
    t = Clock::now();
    view.SendMessage(WM_COMMAND, ID_PIC_TRIM, 0);
    view.UpdateWindow();
    view.m_imagePane.UpdateWindow();
    const double cropTime = Seconds(t);
    const bool cropped = theGlobal.m_docIg.m_working.width == fw && theGlobal.m_docIg.m_working.height == fh;

    std::printf("Picture editor, a folder of %d photos of %d x %d (JPEG; written in %.1f s)\n", count, width, height,
                written);
    std::printf("  all %d names listed:       %.3f s\n", thumbs.GetItemCount(), listed);
    std::printf("  first thumbnail shown:      %.3f s\n", firstShown);
    std::printf("  first screenful decoded:    %.3f s (%d thumbnails in view)\n", screenful, perScreen);
    std::printf("  all thumbnails decoded:     %.3f s\n", all);
    std::printf("  photo opened and shown:     %.3f s%s\n", openTime, opened ? "" : " (FAILED)");
    std::printf("  cropped to %d x %d and shown: %.3f s%s\n", fw, fh, cropTime, cropped ? "" : " (FAILED)");
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    std::printf("  peak memory: working set %lu KiB, committed %lu KiB\n",
                static_cast<unsigned long>(pmc.PeakWorkingSetSize / 1024),
                static_cast<unsigned long>(pmc.PeakPagefileUsage / 1024));
    theGlobal.m_docIg.Clear();
    view.DestroyWindow();
    top.DestroyWindow();
    TermShell();
    return opened && cropped && all >= 0 ? 0 : 1;
}
