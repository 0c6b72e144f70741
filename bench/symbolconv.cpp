// Converts a folder of 1,000 32x32 24-bit icon bitmaps into one symbol file,
// as the program's icon export does, and prints the time and peak memory.
#include "symbolconv/Runemark.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kIcons = 1000;
constexpr int kSide = 32;

std::vector<unsigned char> IconBitmap(int n)
{
    const int stride = kSide * 3;
    std::vector<unsigned char> bmp(54 + stride * kSide);
    auto put32 = [&](int at, unsigned v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<unsigned>(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, kSide);
    put32(22, kSide);
    bmp[26] = 1;
    bmp[28] = 24;
    put32(34, stride * kSide);
    for (int i = 54; i < static_cast<int>(bmp.size()); ++i)
        bmp[i] = static_cast<unsigned char>(i * 7 + n);
    return bmp;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "runemark_bench_" + std::to_string(GetCurrentProcessId());
    const std::string icons = root + "\\Icon";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(icons.c_str(), nullptr);
    for (int n = 0; n < kIcons; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "\\icon%04d.bmp", n);
        const std::vector<unsigned char> bmp = IconBitmap(n);
        FILE* f = std::fopen((icons + name).c_str(), "wb");
        std::fwrite(bmp.data(), 1, bmp.size(), f);
        std::fclose(f);
    }

    HKEY key = nullptr;
    const bool keyExisted = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Runemark", 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (keyExisted)
        RegCloseKey(key);

    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    const std::string folder = icons + "\\";
    std::printf("converting %d icons of %dx%d (24-bit)\n", kIcons, kSide, kSide);
    for (int run = 1; run <= 3; ++run) {
        char* argv[] = {const_cast<char*>("/ID"), const_cast<char*>("28929"), const_cast<char*>(folder.c_str())};
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        const int result = StartConvert(3, argv);
        QueryPerformanceCounter(&t1);
        WIN32_FILE_ATTRIBUTE_DATA out{};
        GetFileAttributesExA((icons + "\\.symb").c_str(), GetFileExInfoStandard, &out);
        std::printf("run %d: result %d, %.1f ms, symbol file %lu bytes\n", run, result, Seconds(t0, t1) * 1000.0,
                    out.nFileSizeLow);
    }
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    std::printf("peak working set %.1f MiB (%.1f MiB before the runs), peak private bytes %.1f MiB\n",
                after.PeakWorkingSetSize / 1048576.0, before.PeakWorkingSetSize / 1048576.0,
                after.PeakPagefileUsage / 1048576.0);

    RemoveFolder(icons);
    RemoveFolder(root);
    if (!keyExisted)
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Runemark");
    return 0;
}
