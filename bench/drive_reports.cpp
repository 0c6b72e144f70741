// Drive reports and the fuel log at size: a GPX track of 100,000 points read
// into a report with its statistics and eco rating, a folder of 500 LTB
// reports loaded into the report list, and a fuel log of 10,000 records loaded,
// its statistics computed and saved. Prints times and peak memory.
//
//   drive_reports.exe prepare FOLDER   writes the input files into FOLDER
//   drive_reports.exe run FOLDER [GPSBABEL_SECONDS]
//
// bench/drive_reports.sh runs both and times gpsbabel on the same GPX file as a
// native process of the host in between, so the two figures come from one run.
#include <windows.h>
#include <objbase.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchSupport.h"
#include "bench/GpxTrack.h"
#include "core/Global.h"
#include "doc/DocDr.h"
#include "doc/DocFe.h"

namespace {

constexpr int kGpxPoints = 100000;
constexpr int kLtbFiles = 500;
constexpr int kLtbRecords = 600;
constexpr int kFuelRecords = 10000;

void Put32(unsigned char* p, unsigned v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

void WriteLtb(const std::wstring& path, int n)
{
    std::string b(8 + 24 * kLtbRecords, '\0');
    auto* p = reinterpret_cast<unsigned char*>(b.data());
    Put32(p, 2);
    unsigned odometer = 1000;
    for (int i = 0; i < kLtbRecords; ++i) {
        unsigned char* r = p + 8 + 24 * i;
        odometer += static_cast<unsigned>(SpeedAt(i) / 3.6);
        Put32(r, odometer);
        Put32(r + 4, static_cast<unsigned>((139 * 3600 + i) * 256));
        Put32(r + 8, static_cast<unsigned>((35 * 3600 + n) * 256));
        r[12] = 20;
        r[13] = 9;
        r[14] = 5;
        r[15] = static_cast<unsigned char>(1 + n % 28);
        r[16] = static_cast<unsigned char>(8 + i / 3600);
        r[17] = static_cast<unsigned char>(i / 60 % 60);
        r[18] = static_cast<unsigned char>(i % 60);
        r[19] = static_cast<unsigned char>(SpeedAt(i));
        r[21] = 1;
    }
    FILE* f = _wfopen(path.c_str(), L"wb");
    std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
}

void WriteFuelCsv(const std::wstring& path)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    std::fprintf(f, "#Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Distance,UnitDistance,GasAmount,"
                    "UnitAmount,UnitMileage,GasPrice,UnitPrice,Memo\r\n");
    for (int i = 0; i < kFuelRecords; ++i)
        std::fprintf(f, "%04d,%02d,%02d,08,30,00,%08d,%08d,%08d,0,%05d,0,0,%05d,%d,\"stop %d, north\"\r\n",
                     2000 + i / 365 % 30, 1 + i / 28 % 12, 1 + i % 28, 35000000 + i, 139000000 + i,
                     3000 + i % 4000, 3000 + i % 2000, 120 + i % 40, i % 7 == 0 ? 3 : 0, i);
    std::fclose(f);
}

int Prepare(const std::wstring& folder)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteGpxTrack(folder + L"\\track100k.gpx", kGpxPoints);
    const std::wstring ltb = folder + L"\\ltb";
    CreateDirectoryW(ltb.c_str(), nullptr);
    for (int n = 0; n < kLtbFiles; ++n) {
        wchar_t name[32];
        swprintf(name, 32, L"\\Pri%04d.LTB", n);
        WriteLtb(ltb + name, n);
    }
    WriteFuelCsv(folder + L"\\fuel10k.csv");
    return 0;
}

int Run(const std::wstring& folder, double babel)
{
    CoInitialize(nullptr);
    theGlobal.m_modelType = 0;
    theGlobal.m_ecoJudge = 1;
    theGlobal.m_areaCode = 1;

    // 1. The GPX track into a report with its statistics and eco rating.
    const std::wstring gpx = folder + L"\\track100k.gpx";
    double t0 = Now();
    CDocDr gpxDoc;
    if (!gpxDoc.Load(gpx.c_str())) {
        std::printf("GPX track could not be read\n");
        return 1;
    }
    const CDocDrivingReport& report = gpxDoc.m_reports[0];
    DR_PROPERTY_DATA property;
    gpxDoc.BuildReportSummary(0, property);
    int up = 0, down = 0, gentle = 0, light = 0, medium = 0, hard = 0;
    report.CountSuddenChanges(up, down);
    gpxDoc.GetEcoScore(0, 0, gentle, light, medium, hard);
    const double ours = Now() - t0;
    std::printf("GPX %d points -> report, statistics, eco rating: %.3f s (%lld points, %d km, %ls, "
                "%d/%d sudden, eco %d/%d/%d/%d); peak %.1f MB\n",
                kGpxPoints, ours, static_cast<long long>(report.m_points.GetSize()), property.distance,
                property.duration, up, down, gentle, light, medium, hard, PeakMegabytes());
    if (babel > 0)
        std::printf("gpsbabel (native host process) GPX -> CSV, same file: %.3f s; ours/gpsbabel = %.2f "
                    "(aim: below 1)\n",
                    babel, ours / babel);
    else
        std::printf("gpsbabel: no figure (run bench/drive_reports.sh for the comparison)\n");

    // 2. A folder of 500 LTB reports into the report list.
    t0 = Now();
    CDocDr list;
    WIN32_FIND_DATAW found;
    const std::wstring ltb = folder + L"\\ltb\\";
    HANDLE h = FindFirstFileW((ltb + L"*.LTB").c_str(), &found);
    int loaded = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do
            loaded += list.Load((ltb + found.cFileName).c_str());
        while (FindNextFileW(h, &found));
        FindClose(h);
    }
    DR_LIST_DATA row;
    for (int i = 0; i < list.GetCount(); ++i)
        list.GetListData(i, row);
    list.BuildTotalSummary(property);
    std::printf("LTB folder of %d reports x %d records -> report list and total summary: %.3f s (%d loaded, "
                "%d km); peak %.1f MB\n",
                kLtbFiles, kLtbRecords, Now() - t0, loaded, property.distance, PeakMegabytes());

    // 3. The fuel log: the 10,000-line CSV read (the log keeps its limit of
    // 1,000), then a log of 10,000 records through every statistic and saved.
    const std::wstring csv = folder + L"\\fuel10k.csv";
    t0 = Now();
    CDocFe fuel;
    fuel.Load(csv.c_str());
    std::printf("fuel CSV of %d lines loaded: %.3f s (%d records kept, error %d)\n", kFuelRecords, Now() - t0,
                fuel.GetCount(), fuel.GetErrorCode());
    while (fuel.m_records.GetSize() < kFuelRecords)
        fuel.m_records.Add(fuel.m_records[fuel.m_records.GetSize() % kMaxFuelRecords]);
    t0 = Now();
    DOCFUEL_VIEW_DATA total{}, average{}, most{}, least{};
    fuel.GetTotalStatistics(total);
    fuel.GetAverageStatistics(average);
    fuel.GetMaxStatistics(most);
    fuel.GetMinStatistics(least);
    const double co2 = fuel.GetTotalCO2();
    fuel.JudgeEco();
    const double stats = Now() - t0;
    t0 = Now();
    const BOOL saved = fuel.Save((folder + L"\\FuelMaster.csv").c_str());
    std::printf("fuel log of %d records: statistics %.3f s (total %d, CO2 %.1f kg, eco %d), saved %.3f s (%s); "
                "peak %.1f MB\n",
                fuel.GetCount(), stats, total.distance, co2, fuel.m_ecoLevel, Now() - t0, saved ? "ok" : "failed",
                PeakMegabytes());
    CoUninitialize();
    return 0;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc >= 3 && wcscmp(argv[1], L"prepare") == 0)
        return Prepare(argv[2]);
    if (argc >= 3 && wcscmp(argv[1], L"run") == 0)
        return Run(argv[2], argc >= 4 ? _wtof(argv[3]) : -1);
    std::printf("usage: drive_reports prepare FOLDER | run FOLDER [GPSBABEL_SECONDS]\n");
    return 2;
}
