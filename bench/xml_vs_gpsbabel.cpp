// The XML readers against gpsbabel reading the same files: a GPX track of
// 100,000 points into a drive report with its statistics, and a POI KML file of
// 2,000 placemarks into the POI document. One step per process, so that
// bench/xml_vs_gpsbabel.sh can alternate it with gpsbabel run on the host:
//
//   xml_vs_gpsbabel.exe prepare FOLDER   writes track100k.gpx and poi2000.kml
//   xml_vs_gpsbabel.exe gpx FOLDER       reads the track, prints one RESULT line
//   xml_vs_gpsbabel.exe kml FOLDER       reads the KML file, prints one RESULT line
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "bench/GpxTrack.h"
#include "common/TextCheck.h"
#include "common/XmlDocument.h"
#include "core/Global.h"
#include "doc/DocDr.h"
#include "doc/DocPi.h"
#include "doc/GpxTrackReader.h"

namespace {

constexpr int kGpxPoints = 100000;
constexpr int kPlacemarks = 2000;

void SetUpPoiModel()
{
    InitCharClassTable();
    theGlobal.m_modelType = 5;
    theGlobal.m_naviModel.m_modelGroup = 2;
    theGlobal.m_decimal = 0;
}

// The POI document's own KML file of 2,000 placemarks.
bool WriteKml(const std::wstring& path)
{
    SetUpPoiModel();
    CDocPi doc;
    for (int i = 0; i < kPlacemarks; ++i) {
        CDocPiRecord r;
        r.m_name.Format(L"Place %d, north", i);
        r.m_address.Format(L"%d Main Street", i % 900 + 1);
        r.m_telephone.Format(L"03-%04d", i % 10000);
        r.m_description.Format(L"note %d", i);
        r.m_longitude = 139.0 + (i % 1000) / 1000.0;
        r.m_latitude = 35.0 + (i % 997) / 1000.0;
        DOCPI_RECORD rec;
        r.ToDocPiRecord(rec);
        doc.AddRecord(rec);
    }
    return doc.Save(path.c_str()) && doc.GetRecordCount() == kPlacemarks;
}

// The file through the XML layer alone, before the document reads it.
double ParseOnly(const std::wstring& path)
{
    const double t0 = Now();
    CXmlDocument xml;
    xml.Load(path.c_str());
    return Now() - t0;
}

void PrintResult(double seconds, double parse, SIZE_T before, int count, bool ok)
{
    PROCESS_MEMORY_COUNTERS m = MemoryCounters();
    std::printf("RESULT seconds=%.6f parse=%.6f peak_kib=%lu growth_kib=%lu count=%d %s\n", seconds, parse,
                static_cast<unsigned long>(m.PeakWorkingSetSize / 1024),
                static_cast<unsigned long>((m.PeakWorkingSetSize - before) / 1024), count, ok ? "ok" : "FAILED");
}

int ReadGpx(const std::wstring& folder)
{
    theGlobal.m_modelType = 0;
    theGlobal.m_ecoJudge = 1;
    theGlobal.m_areaCode = 1;
    const std::wstring path = folder + L"\\track100k.gpx";
    const SIZE_T before = MemoryCounters().WorkingSetSize;
    const double t0 = Now();
    CDocDr doc;
    bool ok = doc.Load(path.c_str()) != FALSE;
    int points = 0;
    if (ok) {
        const CDocDrivingReport& report = doc.m_reports[0];
        DR_PROPERTY_DATA property;
        doc.BuildReportSummary(0, property);
        int up = 0, down = 0, gentle = 0, light = 0, medium = 0, hard = 0;
        report.CountSuddenChanges(up, down);
        doc.GetEcoScore(0, 0, gentle, light, medium, hard);
        points = static_cast<int>(report.m_points.GetSize());
    }
    const double seconds = Now() - t0;
    const double t1 = Now();
    int read = 0;
    ReadGpxTrackPoints(path.c_str(), [&](const GPX_TRACK_POINT&) { return ++read > 0; });
    std::printf("track points read alone: %.3f s (%d points)\n", Now() - t1, read);
    PrintResult(seconds, ParseOnly(path), before, points, ok && points == kGpxPoints);
    return ok ? 0 : 1;
}

int ReadKml(const std::wstring& folder)
{
    SetUpPoiModel();
    const std::wstring path = folder + L"\\poi2000.kml";
    const SIZE_T before = MemoryCounters().WorkingSetSize;
    const double t0 = Now();
    CDocPi doc;
    bool ok = doc.Load(path.c_str()) != FALSE;
    const double seconds = Now() - t0;
    PrintResult(seconds, ParseOnly(path), before, doc.GetRecordCount(), ok && doc.GetRecordCount() == kPlacemarks);
    return ok ? 0 : 1;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc >= 3 && wcscmp(argv[1], L"prepare") == 0) {
        CreateDirectoryW(argv[2], nullptr);
        WriteGpxTrack(std::wstring(argv[2]) + L"\\track100k.gpx", kGpxPoints);
        return WriteKml(std::wstring(argv[2]) + L"\\poi2000.kml") ? 0 : 1;
    }
    if (argc >= 3 && wcscmp(argv[1], L"gpx") == 0)
        return ReadGpx(argv[2]);
    if (argc >= 3 && wcscmp(argv[1], L"kml") == 0)
        return ReadKml(argv[2]);
    std::printf("usage: xml_vs_gpsbabel prepare|gpx|kml FOLDER\n");
    return 2;
}
