// The apps view with 50 offered apps and their icons from a loopback service
// that answers each request after a few milliseconds, as a network would:
// time until both lists are filled, the longest the window went without
// handling its messages meanwhile, and peak memory. Run it on a display.
#include "LocalHttpServer.h"  // winsock2.h before windows.h

#include <psapi.h>
#include <shlwapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "classlib/Afx.h"
#include "common/FileArchive.h"
#include "core/Global.h"
#include "views/device/ApWnd.h"

namespace {

std::wstring g_card;
BOOL ChooseCard(BOOL, CString& root)
{
    root = g_card.c_str();
    return TRUE;
}

Clock::time_point g_lastTick;
double g_longestGapMs = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    const auto now = Clock::now();
    const double gap = std::chrono::duration<double, std::milli>(now - g_lastTick).count();
    if (gap > g_longestGapMs)
        g_longestGapMs = gap;
    g_lastTick = now;
}

std::string IconBytes()
{
    const int w = 58, h = 54, row = (w * 3 + 3) & ~3;
    std::string b(54 + row * h, '\0');
    auto put32 = [&b](size_t at, unsigned v) { for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (8 * i)); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<unsigned>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    b[26] = 1;
    b[28] = 24;
    for (size_t i = 54; i < b.size(); ++i)
        b[i] = char(i * 7);
    return b;
}

}  // namespace

int main()
{
    BenchApp app(L"apps view bench");
    if (!OpenSkinPack())
        return 1;
    FillUiStrings(L"Apps");
    theGlobal.m_modelType = 4;
    theGlobal.m_docAp.InitErrorStrings();

    const int appCount = 50, delayMs = 5;
    const std::string icon = IconBytes();
    std::string base;
    testsupport::LocalHttpServer server([&](const testsupport::HttpRequest& r, testsupport::HttpConnection& c) {
        ::Sleep(delayMs);
        if (r.target.find("DownloadListAPI") != std::string::npos) {
            std::string xml = "<?xml version=\"1.0\"?><DownloadList><MirovaleVersion>1</MirovaleVersion>";
            for (int i = 0; i < appCount; ++i) {
                const std::string id = "app" + std::to_string(i), at = base + "/apps/" + id + "/";
                xml += "<item><applicationId>10</applicationId><name>" + id + "</name><version>1.0</version>"
                       "<imageURL><Normal>" + at + "n.bmp</Normal></imageURL><exefileURL>" + at + id +
                       ".exe</exefileURL><filesize>1048576</filesize></item>";
            }
            c.Reply(200, xml + "</DownloadList>", "text/xml");
        } else {
            c.Reply(200, icon, "image/bmp");
        }
    });
    const std::wstring wbase = server.BaseUrl();
    base.assign(wbase.begin(), wbase.end());
    theGlobal.m_appsService = wbase.c_str();
    theGlobal.m_deviceNo = L"0123456789ABCDEF";
    g_card = TempPath(L"mirovale_apps_bench\\");
    CreateDirectoryW(g_card.c_str(), nullptr);
    CApWnd::s_chooseDrive = ChooseCard;

    CWnd top;
    if (!top.CreateEx(0, AfxRegisterWndClass(0), L"apps bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1010, 740),
                      nullptr, 0)) {
        std::printf("window not created\n");
        return 1;
    }
    app.m_pMainWnd = &top;
    CApWnd view;
    if (!view.Create(nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700), &top, 0xFFFF)) {
        std::printf("view not created\n");
        return 1;
    }
    g_lastTick = Clock::now();
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
    theGlobal.m_viewKind = 12;  // the apps view is the current one
    const auto start = Clock::now();
    view.ShowWindow(SW_SHOW);
    view.SendMessage(WM_COMMAND, ID_UPDATE, 0);
    const double listed = std::chrono::duration<double>(Clock::now() - start).count();
    KillTimer(nullptr, timer);
    std::printf("Apps view, %d offered apps with icons, %d ms per request\n", appCount, delayMs);
    std::printf("  shown and listed: %.3f s (%d offered rows)\n", listed, view.m_webList.GetItemCount());
    std::printf("  longest time without handling messages: %.0f ms (the progress dialog stands from the start)\n",
                g_longestGapMs);
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    std::printf("  peak memory: working set %lu KiB, committed %lu KiB\n",
                static_cast<unsigned long>(pmc.PeakWorkingSetSize / 1024),
                static_cast<unsigned long>(pmc.PeakPagefileUsage / 1024));
    view.DestroyWindow();
    top.DestroyWindow();
    RemoveDirectoryW(g_card.c_str());
    return view.m_webList.GetItemCount() == appCount ? 0 : 1;
}
