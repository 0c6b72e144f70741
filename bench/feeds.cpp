// Feeds under load: 200 feeds of 100 items each served on the loopback,
// downloaded, parsed and cached by the update worker; the new-items list of all
// of them built; 1,000 favourites marked across the feeds' caches; the longest
// single favourite click in the new-items row. Prints times and peak memory.
//   bench_feeds.exe                      serves the feeds itself
//   bench_feeds.exe --write DIR          writes the feeds as DIR\0 .. DIR\199 and ends
//   bench_feeds.exe --base URL           reads them from URL/0 .. URL/199 (bench/feeds_vs_feedparser.sh)
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "LocalHttpServer.h"
#include "TestFiles.h"
#include "bench/BenchSupport.h"
#include "bench/FeedText.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "doc/DocRssPoi.h"

namespace {

class BenchReader : public IFeedReader {
public:
    HWND GetReaderWindow() override { return m_window; }
    void OnUpdateFinished() override {}
    HWND m_window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
};

void WaitIdle()
{
    while (theGlobal.m_rssUpdateBusy || theGlobal.m_rssLoadBusy) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string writeDir, base;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--write")
            writeDir = argv[i + 1];
        else if (std::string(argv[i]) == "--base")
            base = argv[i + 1];
    }
    const int kFeeds = 200, kItems = 100, kFavorites = 1000;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    InitCharClassTable();
    for (int i = 0; i < 440; ++i)
        theGlobal.m_uiStrings.Add(L"s");
    theGlobal.m_modelType = 5;
    theGlobal.m_naviModel.m_modelGroup = 2;
    testsupport::TempDir rss, temp;
    theGlobal.m_rssFolder = rss.Path().c_str();
    theGlobal.m_rssTempFolder = (temp.Path() + L"reader\\").c_str();
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    doc.InitErrorStrings();
    doc.InitializeFeeds();

    std::vector<std::string> feeds;
    size_t bytes = 0;
    for (int f = 0; f < kFeeds; ++f) {
        feeds.push_back(FeedText(f, kItems));
        bytes += feeds.back().size();
    }
    if (!writeDir.empty()) {
        for (int f = 0; f < kFeeds; ++f) {
            std::string path = writeDir + "\\" + std::to_string(f);
            FILE* out = std::fopen(path.c_str(), "wb");
            if (!out)
                return 1;
            std::fwrite(feeds[f].data(), 1, feeds[f].size(), out);
            std::fclose(out);
        }
        return 0;
    }
    testsupport::LocalHttpServer server([&](const testsupport::HttpRequest& req, testsupport::HttpConnection& conn) {
        int f = std::atoi(req.target.c_str() + req.target.find_last_of('/') + 1);
        conn.Reply(200, feeds[f % kFeeds], "application/rss+xml");
    });
    const std::wstring baseUrl = base.empty() ? server.BaseUrl() : std::wstring(base.begin(), base.end());
    for (int f = 0; f < kFeeds; ++f) {
        POI_RSS_URL u{};
        swprintf(u.url, 500, L"%ls/%d", baseUrl.c_str(), f);
        swprintf(u.title, 500, L"Feed %d", f);
        u.fileId = f;
        doc.m_feeds.Add(u);
        doc.m_feedFiles.Add(L"");
    }
    std::printf("feeds: %d feeds x %d items, %.1f MiB of feed text\n", kFeeds, kItems, bytes / 1048576.0);

    BenchReader reader;
    auto t0 = Clock::now();
    if (!doc.StartUpdate(&reader)) {
        std::printf("update did not start\n");
        return 1;
    }
    WaitIdle();
    double update = Seconds(t0);
    int cached = 0;
    for (const POI_RSS_URL& f : doc.m_feeds)
        cached += f.fileName[0] != 0;
    std::printf("  download, parse and cache all feeds: %.2f s (%d feeds processed, %d caches, %d new items)\n", update,
                doc.CountUpdatedFeeds(), cached, doc.GetTotalItemCount());
    PrintMemory("after the update");
    std::printf("RESULT ours_update_s=%.3f\n", update);

    t0 = Clock::now();
    doc.StartItemLoad(&reader, 0);
    WaitIdle();
    std::printf("  new-items list of all feeds: %.2f s (%d items read, %d shown)\n", Seconds(t0),
                static_cast<int>(doc.m_feedItems.GetSize()), doc.GetShownItemCount());
    // Favourite clicks in the new-items row: the longest one is what the user waits for.
    double longest = 0;
    for (int i = 0; i < 20 && i < doc.GetShownItemCount(); ++i) {
        auto c = Clock::now();
        doc.SetItemFavorite(i * 37 % doc.GetShownItemCount(), i % 2 ? 0 : 1);
        longest = std::max(longest, Seconds(c));
    }
    std::printf("  longest favourite click in the new-items row: %.0f ms (of 20)\n", longest * 1000);

    // Favourites marked feed by feed: each feed opened, five of its items marked.
    // The marks alone apart from opening the feeds, and the first hundred
    // against the last: a mark should not cost more as the favourites grow.
    t0 = Clock::now();
    int marked = 0;
    double marking = 0, first100 = 0, last100 = 0;
    for (int f = 0; f < kFeeds && marked < kFavorites; ++f) {
        doc.StartItemLoad(&reader, f + 2);
        WaitIdle();
        for (int i = 0; i < kFavorites / kFeeds && i < doc.GetShownItemCount(); ++i) {
            auto c = Clock::now();
            marked += doc.SetItemFavorite(i * 7 % doc.GetShownItemCount(), 1);
            const double s = Seconds(c);
            marking += s;
            if (marked <= 100)
                first100 += s;
            else if (marked > kFavorites - 100)
                last100 += s;
        }
    }
    std::printf("  %d favourites marked across the caches: %.2f s with opening the feeds, %.2f s marking "
                "(first 100: %.0f ms, last 100: %.0f ms; %d in the list)\n",
                marked, Seconds(t0), marking, first100 * 1000, last100 * 1000,
                static_cast<int>(doc.m_favorites.GetSize()));
    std::printf("RESULT ours_mark_s=%.3f\n", marking);

    PrintMemory("at the end");
    CDocRssPoi::CancelFeedWork();
    if (CDocRssPoi::WaitForFeedWorkers(60000))
        doc.DropFeedWork();
    CoUninitialize();
    return 0;
}
