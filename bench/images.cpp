// Images benchmark: load and draw 500 skin pictures from a pack, fit 10,000
// captions, save a 1024 x 768 JPEG. Prints wall times and peak memory.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "common/DibImage.h"
#include "common/FileArchive.h"
#include "common/GdiplusText.h"
#include "common/JpegWriter.h"

namespace {

void Put32(std::vector<BYTE>& b, size_t at, DWORD v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<BYTE>(v >> (8 * i));
}

std::vector<BYTE> ReadAll(const std::wstring& path)
{
    std::vector<BYTE> data;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return data;
    data.resize(GetFileSize(h, nullptr));
    DWORD got = 0;
    ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    CloseHandle(h);
    return data;
}

// A picture of w x h with a pattern that depends on seed.
DIB_IMAGE Pattern(int w, int h, int seed)
{
    DIB_IMAGE image{};
    CreateDib(&image, w, h);
    for (int y = 0; y < h; ++y) {
        BYTE* row = image.bits + static_cast<size_t>(y) * DibRowSize(w);
        for (int x = 0; x < w; ++x) {
            row[x * 3] = static_cast<BYTE>(x * 3 + seed);
            row[x * 3 + 1] = static_cast<BYTE>(y * 5 + seed * 7);
            row[x * 3 + 2] = static_cast<BYTE>((x ^ y) + seed * 13);
        }
    }
    return image;
}

// A pack of count pictures, BMP and JPEG alternately, scrambled.
std::wstring WritePack(const std::wstring& folder, int count)
{
    std::vector<std::pair<std::string, std::vector<BYTE>>> entries;
    for (int i = 0; i < count; ++i) {
        DIB_IMAGE image = Pattern(96, 40, i);
        const std::wstring file = folder + L"piece" + (i % 2 ? L".jpg" : L".bmp");
        if (i % 2)
            SaveJpeg(image.bits, image.width, image.height, image.stride, file.c_str());
        else
            SaveDibAsBmp(file.c_str(), &image);
        FreeDibImage(&image);
        entries.push_back({"skin_" + std::to_string(i) + (i % 2 ? ".jpg" : ".bmp"), ReadAll(file)});
    }
    const DWORD step = 7;
    std::vector<BYTE> pack(16), table, data;
    memcpy(pack.data(), "QPKA", 4);
    Put32(pack, 4, static_cast<DWORD>(entries.size()));
    Put32(pack, 8, step);
    for (auto& [name, bytes] : entries) {
        std::vector<BYTE> toc(48, 0);
        memcpy(toc.data(), name.c_str(), name.size());
        Put32(toc, 36, static_cast<DWORD>(bytes.size()));
        Put32(toc, 40, static_cast<DWORD>(data.size()));
        table.insert(table.end(), toc.begin(), toc.end());
        BYTE key = 0;
        CFileArchive::Scramble(bytes.data(), bytes.size(), step, key);
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    BYTE key = 0;
    CFileArchive::Scramble(table.data(), table.size(), step, key);
    pack.insert(pack.end(), table.begin(), table.end());
    pack.insert(pack.end(), data.begin(), data.end());
    const std::wstring path = folder + L"bench.qpk";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, pack.data(), static_cast<DWORD>(pack.size()), &written, nullptr);
    CloseHandle(h);
    return path;
}

}  // namespace

int main()
{
    CoInitialize(nullptr);
    const std::wstring folder = TempPath(L"bench_images_") + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);

    const int pictures = 500;
    const std::wstring pack = WritePack(folder, pictures);
    HDC dc = CreateCompatibleDC(nullptr);
    DIB_IMAGE canvas = Pattern(800, 600, 0);
    HGDIOBJ old = SelectObject(dc, canvas.bitmap);

    auto start = Clock::now();
    theFileArchive.Open(pack.c_str());
    int loaded = 0;
    for (int i = 0; i < pictures; ++i) {
        const std::wstring name = L"SKIN_" + std::to_wstring(i) + (i % 2 ? L".jpg" : L".bmp");
        DIB_IMAGE image{};
        if (LoadDibFromPack(name.c_str(), &image) && DrawDib(&image, dc, (i * 37) % 700, (i * 23) % 560))
            ++loaded;
        FreeDibImage(&image);
    }
    printf("pack: loaded and drew %d of %d pictures (96 x 40, half BMP, half JPEG) in %.1f ms\n", loaded, pictures,
           Millis(start));

    {
        CUtilGdiplus gdiplus;
        const wchar_t* words[] = {L"Import", L"POI", L"Send", L"to", L"car", L"Address", L"book", L"Drive",
                                  L"report", L"Fuel", L"log", L"Settings", L"Apps", L"Export", L"all", L"records"};
        start = Clock::now();
        const int captions = 10000;
        size_t lines = 0;
        for (int i = 0; i < captions; ++i) {
            std::wstring caption;
            for (int w = 0; w <= i % 5; ++w)
                caption += std::wstring(w ? L" " : L"") + words[(i + w * 3) % 16];
            const RECT box{2, 2, 118, 38};
            CString fitted = FitTextToLines(120, dc, caption.c_str(), 2, Gdiplus::StringAlignmentCenter, box);
            gdiplus.DrawTextFit(dc, fitted, 120, TRUE, Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, box);
            lines += fitted.Find(L'\n') >= 0 ? 2 : 1;
        }
        printf("captions: fitted and drew %d captions (%zu lines) into 116 x 36 in %.1f ms\n", captions, lines,
               Millis(start));
    }

    DIB_IMAGE big = Pattern(1024, 768, 3);
    start = Clock::now();
    const std::wstring jpeg = folder + L"big.jpg";
    const BOOL saved = SaveJpeg(big.bits, big.width, big.height, big.stride, jpeg.c_str());
    printf("jpeg: saved 1024 x 768 (%s, %zu bytes) in %.1f ms\n", saved ? "ok" : "FAILED", ReadAll(jpeg).size(),
           Millis(start));
    FreeDibImage(&big);

    PrintPeakMemory();
    SelectObject(dc, old);
    DeleteDC(dc);
    FreeDibImage(&canvas);
    for (const wchar_t* name : {L"piece.bmp", L"piece.jpg", L"bench.qpk", L"big.jpg"})
        DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());
    CoUninitialize();
    return 0;
}
