// POI documents under load: a 100,000-row CSV imported (beyond the unit's limit,
// then the limit itself), the KML files of 5,000 POIs written and exported to a
// card folder with 200 user icons in the icon folder. Prints times and peak
// memory. Given a folder (a Windows path), it leaves its 2,000-row CSV there and
// prints a line for bench/poi_vs_gpsbabel.sh, which times gpsbabel on the same
// file as a process of the host.
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "common/DibImage.h"
#include "common/FileArchive.h"
#include "common/FileUtil.h"
#include "common/TextCheck.h"
#include "core/Global.h"

namespace {

// ANSI CSV with a header: name, address, phone, notes, longitude, latitude.
void WriteCsv(const std::wstring& path, int rows)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    std::fputs("Name,Address,Phone,Notes,Lon,Lat\r\n", f);
    for (int i = 0; i < rows; ++i)
        std::fprintf(f, "\"Place %d, north\",%d Main Street,03-%04d,note %d,%.6f,%.6f\r\n", i, i % 900 + 1,
                     i % 10000, i, 139.0 + (i % 1000) / 1000.0, 35.0 + (i % 997) / 1000.0);
    std::fclose(f);
}

// The host path Wine maps a Windows path to.
std::string UnixPath(const std::wstring& path)
{
    using Fn = char*(CDECL*)(LPCWSTR);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = fn ? fn(path.c_str()) : nullptr;
    std::string s = unix ? unix : "";
    if (unix)
        HeapFree(GetProcessHeap(), 0, unix);
    return s;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void WriteIcon(const std::wstring& path, int i)
{
    DIB_IMAGE dib;
    InitDibImage(&dib);
    CreateDib(&dib, 32, 32);
    for (int b = 0; b < 32 * 96; ++b)
        dib.bits[b] = static_cast<BYTE>(b * 7 + i);
    SaveDibAsBmp(path.c_str(), &dib);
    FreeDibImage(&dib);
}

// A skin pack of one plain entry, the close-up map icon the model type 0 export
// copies to the card.
void WriteSkinPack(const std::wstring& pack, const std::wstring& bmp)
{
    FILE* in = _wfopen(bmp.c_str(), L"rb");
    std::string data;
    char buf[4096];
    for (size_t n; in && (n = std::fread(buf, 1, sizeof buf, in)) > 0;)
        data.append(buf, n);
    if (in)
        std::fclose(in);
    CFileArchive::HEADER header{{'Q', 'P', 'K', 'A'}, 1, 0, 0};
    CFileArchive::TOC toc{};
    std::snprintf(toc.name, sizeof toc.name, "poi_mapclose.bmp");
    toc.size = static_cast<DWORD>(data.size());
    FILE* out = _wfopen(pack.c_str(), L"wb");
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(&toc, sizeof toc, 1, out);
    std::fwrite(data.data(), 1, data.size(), out);
    std::fclose(out);
}

}  // namespace

int main(int argc, char** argv)
{
    CoInitialize(nullptr);
    InitCharClassTable();
    theGlobal.m_modelType = 5;
    theGlobal.m_naviModel.m_modelGroup = 2;
    theGlobal.m_decimal = 0;
    std::wstring root = TempPath(L"mirovale_bench_poi\\");
    DeleteFolderTree(root.c_str());
    CreateDirectoryW(root.c_str(), nullptr);
    std::wstring big = root + L"poi_100000.csv", limit = root + L"poi_2000.csv";
    WriteCsv(big, 100000);
    WriteCsv(limit, 2000);

    std::printf("POI documents (model type 5)\n");
    // The unit's limit, CSV to KML, eleven times: the first run and the median.
    CDocImport& table = theGlobal.m_docImportPoi;
    CDocPi& doc = theGlobal.m_docPiCsv;
    std::wstring ours = root + L"ours_2000.kml";
    std::vector<double> runs, readParts;
    BOOL allOk = TRUE;
    for (int run = 0; run < 11; ++run) {
        auto start = Clock::now();
        BOOL loaded = table.SetDelimiterAndLoad(2, limit.c_str());
        doc.ResetDocument();
        BOOL imported = loaded && doc.ImportRows(1, &table, 5, 6, 1, 2, 3, 4);
        readParts.push_back(Seconds(start));
        BOOL saved = doc.Save(ours.c_str());
        runs.push_back(Seconds(start));
        allOk = allOk && imported && saved && doc.GetRecordCount() == 2000;
    }
    const double oursTime = Median(runs), readPart = Median(readParts);
    std::printf("  2,000-row CSV to KML: %.4f s median of 11 (first %.4f s; read and import %.4f s, KML %.4f s; %s)\n",
                oursTime, runs[0], readPart, oursTime - readPart, allOk ? "ok" : "FAILED");
    auto start = Clock::now();
    BOOL loaded = FALSE, imported = FALSE, saved = FALSE;
    // Beyond the limit: the table reads every row, the document stops at 2,000.
    start = Clock::now();
    loaded = table.SetDelimiterAndLoad(2, big.c_str());
    double load = Seconds(start);
    start = Clock::now();
    doc.ResetDocument();
    imported = doc.ImportRows(1, &table, 5, 6, 1, 2, 3, 4);
    double import = Seconds(start);
    std::printf("  100,000-row CSV: table %.3f s (%s, %d rows), into the document %.3f s (%d records, error %d)\n",
                load, loaded ? "ok" : "FAILED", table.GetRowCount(), import, doc.GetRecordCount(),
                imported ? 0 : doc.GetErrorCode());
    PrintMemory("after the 100,000-row import");

    // 5,000 POIs: one KML file, then the card export in files of 100.
    doc.ResetDocument();
    for (int i = 0; i < 5000; ++i) {
        CDocPiRecord r;
        r.m_name.Format(L"POI %d", i);
        r.m_address = L"1 Main Street";
        r.m_telephone = L"03-0000";
        r.m_description = L"note";
        r.m_longitude = 139.0 + i / 10000.0;
        r.m_latitude = 35.0;
        DOCPI_RECORD rec;
        r.ToDocPiRecord(rec);
        doc.AddRecord(rec);
    }
    start = Clock::now();
    saved = doc.Save((root + L"all_5000.kml").c_str());
    table.m_table.RemoveAll();
    std::printf("  5,000 POIs as one KML file: %.3f s (%s)\n", Seconds(start), saved ? "ok" : "FAILED");

    std::wstring icons = root + L"icons\\";
    CreateDirectoryW(icons.c_str(), nullptr);
    for (int i = 0; i < 200; ++i)
        WriteIcon(icons + L"icon" + std::to_wstring(1000 + i) + L".bmp", i);
    WriteSkinPack(root + L"skin.qpk", icons + L"icon1000.bmp");
    theFileArchive.Open((root + L"skin.qpk").c_str());
    theGlobal.m_iconFolder = icons.c_str();
    std::wstring card = root + L"card\\";
    CreateDirectoryW(card.c_str(), nullptr);
    start = Clock::now();
    theGlobal.m_docIcon.LoadIcons();
    double loadIcons = Seconds(start);
    std::wstring kmlFolder = GetPoiCardFolder(card.c_str(), 5).GetString();
    start = Clock::now();
    BOOL fits = CDocPi::CheckCardFileCount(kmlFolder.c_str(), doc.GetRecordCount(), doc.GetMaxPoiPerFile());
    doc.SetFolderName(L"bench");
    BOOL exported = fits && doc.ExportToCard((kmlFolder + L"bench.kml").c_str());
    double kmlExport = Seconds(start);
    start = Clock::now();
    BOOL symbols = theGlobal.m_docIcon.ExportCustomPoiSymbols(card.c_str()) &&
                   CDocPi::WriteCustomPoiVersion((card + L"NDB\\VersionManage\\Version").c_str());
    double symbolExport = Seconds(start);
    std::printf("  icons: %d of the 200 in the folder taken (the unit's limit), loaded in %.3f s\n",
                theGlobal.m_docIcon.GetUserCount(), loadIcons);
    std::printf("  card export: 50 KML files %.3f s (%s), symbol file and version file %.3f s (%s)\n", kmlExport,
                exported ? "ok" : "FAILED", symbolExport, symbols ? "ok" : "FAILED");
    theGlobal.m_modelType = 0;
    theGlobal.m_docIcon.LoadIcons();
    start = Clock::now();
    BOOL bitmaps = theGlobal.m_docIcon.ExportUserIconBitmaps(card.c_str());
    std::printf("  model type 0: user icon bitmaps %.3f s (%s)\n", Seconds(start), bitmaps ? "ok" : "FAILED");
    PrintMemory("at the end");

    // The 2,000-row CSV stays for gpsbabel, timed on the host by the script.
    if (argc > 1) {
        std::wstring keep(argv[1], argv[1] + std::strlen(argv[1]));
        if (!keep.empty() && keep.back() != L'\\')
            keep += L'\\';
        CreateDirectoryW(keep.c_str(), nullptr);
        CopyFileW(limit.c_str(), (keep + L"poi_2000.csv").c_str(), FALSE);
        std::printf("RESULT ours_2000_median_s=%.6f csv=%s\n", oursTime, UnixPath(keep + L"poi_2000.csv").c_str());
    }
    DeleteFolderTree(root.c_str());
    CoUninitialize();
    return 0;
}
