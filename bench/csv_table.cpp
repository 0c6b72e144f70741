// Reads and writes a 100,000-row CSV table; prints each time and the peak memory.
#include "bench/BenchSupport.h"
#include "common/CsvTable.h"

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

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
    constexpr int kRows = 100000;
    std::wstring path = TempPath(L"bench_csv_table.csv");

    // A fuel-log-like table: numbers, a quoted memo with a comma and quotes.
    CCsvTable source;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRows; ++i) {
        wchar_t line[256];
        swprintf(line, 256, L"2009,03,%02d,14,25,30,%08d,%08d,%08d,1,%05d,0,0,%05d,0,\"memo %d, \"\"full\"\" tank\"\n",
                 i % 28 + 1, 35000000 + i, 139000000 + i, i * 10, i % 100000, i % 5000, i);
        source.AddRow(line);
    }
    std::printf("build %d rows: %.3f s\n", kRows, Seconds(start));

    start = std::chrono::steady_clock::now();
    BOOL saved = source.Save(path.c_str());
    std::printf("save: %.3f s (%s)\n", Seconds(start), saved ? "ok" : "FAILED");

    CCsvTable table;
    start = std::chrono::steady_clock::now();
    BOOL loaded = table.Load(path.c_str());
    std::printf("load: %.3f s (%s, %d rows, %d columns)\n", Seconds(start), loaded ? "ok" : "FAILED",
                table.GetRowCount(), table.GetMaxColumnCount());

    WIN32_FILE_ATTRIBUTE_DATA info{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info);
    std::printf("file size: %lu bytes\n", info.nFileSizeLow);
    std::printf("peak working set: %lu KB\n", static_cast<unsigned long>(PeakWorkingSetKb()));
    DeleteFileW(path.c_str());
    return saved && loaded && table.GetRowCount() == kRows ? 0 : 1;
}
