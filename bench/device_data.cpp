// Device data under load: an address book of the unit's 399 entries imported
// from CSV, written as the card file and read back; 50 apps downloaded from a
// loopback server and copied to a card folder. Prints times and peak memory.
#include "LocalHttpServer.h"  // winsock2.h before windows.h

#include <objbase.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "common/FileUtil.h"
#include "common/TextCheck.h"
#include "core/Global.h"

namespace {

void WriteCsv(const std::wstring& path, int rows)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    std::fputs("Name,Address,Phone,Lon,Lat\r\n", f);
    for (int i = 0; i < rows; ++i)
        std::fprintf(f, "\"Friend %d\",%d Main Street,03-%04d,%.6f,%.6f\r\n", i, i + 1, i, 139.0 + i / 1000.0,
                     35.0 + i / 2000.0);
    std::fclose(f);
}

// A 58 x 54 24-bit bitmap file, as the unit's app icons are.
std::string IconBytes()
{
    const int row = (58 * 3 + 3) & ~3;
    std::string b(54 + row * 54, '\0');
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(b.size()), 0, 0, 54};
    BITMAPINFOHEADER ih{40, 58, 54, 1, 24, BI_RGB, static_cast<DWORD>(row * 54), 0, 0, 0, 0};
    memcpy(&b[0], &fh, 14);
    memcpy(&b[14], &ih, 40);
    for (size_t i = 54; i < b.size(); ++i)
        b[i] = static_cast<char>(i * 7);
    return b;
}

}  // namespace

int main()
{
    CoInitialize(nullptr);
    InitCharClassTable();
    theGlobal.m_modelType = 5;
    theGlobal.m_naviModel.m_modelGroup = 2;
    theGlobal.m_decimal = 0;
    std::wstring root = TempPath(L"mirovale_bench_device\\");
    DeleteFolderTree(root.c_str());
    CreateDirectoryW(root.c_str(), nullptr);

    std::printf("Address book (model type 5, %d entries)\n", AB_ENTRY_COUNT);
    std::wstring csv = root + L"book.csv";
    WriteCsv(csv, AB_ENTRY_COUNT);
    const int rounds = 20;
    double importTime = 0, saveTime = 0, loadTime = 0;
    bool ok = true;
    std::wstring card = root + L"card\\";
    std::wstring file = GetAbCardFile(card.c_str()).GetString();
    for (int r = 0; r < rounds; ++r) {
        CDocImport& table = theGlobal.m_docImportAb;
        CDocAb& book = theGlobal.m_docAb;
        auto start = Clock::now();
        book.ClearAll();
        book.InitHome();
        ok = ok && table.SetDelimiterAndLoad(2, csv.c_str()) && book.ImportCsvRows(1, &table, 4, 5, 1, 2, 3);
        importTime += Seconds(start);
        start = Clock::now();
        ok = ok && book.CreateFolderAndSave(file.c_str());
        saveTime += Seconds(start);
        start = Clock::now();
        CDocAb back;
        ok = ok && back.Load(file.c_str()) && back.GetEntryCount() == AB_ENTRY_COUNT;
        loadTime += Seconds(start);
    }
    std::printf("  CSV import %.2f ms, card file written %.2f ms, read back %.2f ms per round (%d rounds, %s)\n",
                importTime * 1000 / rounds, saveTime * 1000 / rounds, loadTime * 1000 / rounds, rounds,
                ok ? "ok" : "FAILED");
    PrintMemory("after the address book");

    const int appCount = 50;
    const std::string icon = IconBytes();
    const std::string program(256 * 1024, 'P'), data(64 * 1024, 'D'), library(128 * 1024, 'L');
    testsupport::LocalHttpServer server([&](const testsupport::HttpRequest& r, testsupport::HttpConnection& c) {
        const std::string& t = r.target;
        if (t.size() > 4 && t.compare(t.size() - 4, 4, ".bmp") == 0)
            c.Reply(200, icon, "image/bmp");
        else if (t.find(".exe") != std::string::npos)
            c.Reply(200, program);
        else if (t.find(".dll") != std::string::npos)
            c.Reply(200, library);
        else
            c.Reply(200, data);
    });
    CDocAp& apps = theGlobal.m_docAp;
    apps.SetDeviceNumber(L"0123456789ABCDEF");
    apps.m_downloadTimeout = 30000;
    apps.m_downloadRetries = 1;
    for (int i = 0; i < appCount; ++i) {
        std::wstring id = L"app" + std::to_wstring(i);
        std::wstring base = server.BaseUrl() + L"/apps/" + id + L"/";
        CDocApRecord a;
        a.m_id = id.c_str();
        a.m_name = (L"App " + std::to_wstring(i)).c_str();
        a.m_version = L"1.0.0";
        a.m_urls[AP_URL_EXE] = (base + id + L".exe").c_str();
        a.m_urls[AP_URL_REG] = (base + id + L".enc").c_str();
        a.m_urls[AP_URL_IMAGE_NORMAL] = (base + L"n.bmp").c_str();
        a.m_urls[AP_URL_IMAGE_PUSH] = (base + L"p.bmp").c_str();
        a.m_urls[AP_URL_IMAGE_DISABLE] = (base + L"d.bmp").c_str();
        a.m_dllUrls.Add((base + L"lib.dll").c_str());
        a.m_checked = 1;
        apps.m_serverApps.Add(a);
    }
    double bytes = appCount * (program.size() + data.size() + library.size() + 3.0 * icon.size());
    std::printf("Apps transfer (%d apps, 6 files each, %.1f MiB)\n", appCount, bytes / 1048576);
    auto start = Clock::now();
    BOOL transferred = apps.TransferToCard(card.c_str(), 81, 5);
    double t = Seconds(start);
    CAppListEntries list;
    CDocAp::ReadApplistFile((GetAppsCardFolder(card.c_str()) + L"Applist.dat").GetString(), list);
    std::printf("  downloaded and copied to the card: %.3f s (%.1f MiB/s; %s, %d list entries)\n", t,
                bytes / 1048576 / t, transferred ? "ok" : "FAILED", static_cast<int>(list.GetSize()));
    start = Clock::now();
    BOOL icons = apps.LoadRowIcons(AP_LIST_SERVER);
    BOOL shown = apps.LoadCardApps(card.c_str());
    std::printf("  list icons downloaded %s and card apps listed %s: %.3f s (%d card apps)\n", icons ? "ok" : "FAILED",
                shown ? "ok" : "FAILED", Seconds(start), static_cast<int>(apps.m_cardApps.GetSize()));
    PrintMemory("after the apps");

    DeleteFolderTree(root.c_str());
    CoUninitialize();
    return ok && transferred ? 0 : 1;
}
