// Feed texts through the XML layer alone: 200 RSS feeds of 100 items each
// written to files, then each loaded and every item's fields read, as the feed
// reader's parse does. Prints the median of five rounds and the peak memory.
// The program uses the layer's public calls only, so the same file builds
// against an older layer for a before-and-after figure.
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/FeedText.h"
#include "common/XmlDocument.h"

namespace {

// Loads one feed and reads every item's fields; the number of items read.
int ReadFeed(const std::wstring& path)
{
    CXmlDocument xml;
    XmlElementPtr root = xml.Load(path.c_str());
    XmlElementPtr channel = root ? XmlGetChildElement(root, L"channel", 0) : XmlElementPtr();
    if (!channel)
        return 0;
    XmlNodeListPtr items = XmlSelectNodes(L"item", channel);
    static const wchar_t* const fields[] = {L"title", L"link", L"description", L"pubDate", L"georss:point"};
    int read = 0;
    for (int i = 0;; ++i) {
        XmlElementPtr item = XmlGetListElement(items, i);
        if (!item)
            break;
        CString text;
        for (const wchar_t* field : fields)
            XmlGetNodeText(XmlGetChildElement(item, field, 0), text);
        ++read;
    }
    return read;
}

}  // namespace

int main()
{
    const int kFeeds = 200, kItems = 100;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring folder = TempPath(L"mirovale_bench_feed_parse\\");
    CreateDirectoryW(folder.c_str(), nullptr);
    size_t bytes = 0;
    for (int f = 0; f < kFeeds; ++f) {
        std::string text = FeedText(f, kItems);
        bytes += text.size();
        FILE* out = _wfopen((folder + std::to_wstring(f) + L".xml").c_str(), L"wb");
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }
    std::vector<double> rounds;
    int read = 0;
    for (int round = 0; round < 5; ++round) {
        const double t0 = Now();
        read = 0;
        for (int f = 0; f < kFeeds; ++f)
            read += ReadFeed(folder + std::to_wstring(f) + L".xml");
        rounds.push_back(Now() - t0);
    }
    std::sort(rounds.begin(), rounds.end());
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    std::printf("feed parse: %d feeds x %d items (%.1f MiB): %.3f s median of 5 (%d items read); peak working set "
                "%lu KiB\n",
                kFeeds, kItems, bytes / 1048576.0, rounds[2], read,
                static_cast<unsigned long>(pmc.PeakWorkingSetSize / 1024));
    for (int f = 0; f < kFeeds; ++f)
        DeleteFileW((folder + std::to_wstring(f) + L".xml").c_str());
    RemoveDirectoryW(folder.c_str());
    CoUninitialize();
    return 0;
}
