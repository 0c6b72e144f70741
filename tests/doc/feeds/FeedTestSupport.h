#pragma once
// Shared set-up of the feed tests: the feed document reset with private RSS and
// temporary folders, a stand-in for the reader window that counts the workers'
// reports, and feeds shaped as publishers write them.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <string>

#include "DocTestSupport.h"
#include "LocalHttpServer.h"
#include "MessagePump.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "doc/DocRssPoi.h"

namespace feedtest {

inline CDocRssPoi& Doc() { return theGlobal.m_docRssPoi; }

inline void ResetDoc()
{
    CDocRssPoi& d = Doc();
    d.m_feeds.RemoveAll();
    d.m_feedFiles.RemoveAll();
    d.ClearItems();
    d.m_favorites.RemoveAll();
    d.m_kmlCacheItems.RemoveAll();
    d.m_feedSelection.RemoveAll();
    d.m_selectedFeed = RSS_SHOW_NOTHING;
    d.m_nowStamp = 0;
    d.SetErrorCode(0);
    d.SetFolderName(L"Feeds");
    theGlobal.m_rssUpdateBusy = theGlobal.m_rssLoadBusy = 0;
    theGlobal.m_rssCancel = theGlobal.m_rssLoadCancel = theGlobal.m_downloadCancel = 0;
    theGlobal.m_decimal = 0;
}

class FeedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        InitCharClassTable();
        doctest::FillUiStrings();
        doctest::SetModel(5);
        theGlobal.m_rssFolder = m_rss.Path().c_str();
        theGlobal.m_rssTempFolder = (m_temp.Path() + L"reader\\").c_str();
        CreateDirectoryW(theGlobal.m_rssTempFolder, nullptr);
        ResetDoc();
        Doc().InitErrorStrings();
        Doc().InitializeFeeds();
    }
    void TearDown() override
    {
        CDocRssPoi::CancelFeedWork();
        CDocRssPoi::WaitForFeedWorkers(20000);
        CDocRssPoi::SetDownloadStepHook(nullptr);
        ResetDoc();
        CoUninitialize();
    }
    // A feed record as the list holds it.
    int AddFeedRecord(const std::wstring& url, int fileId = -1)
    {
        POI_RSS_URL f{};
        wcsncpy(f.url, url.c_str(), 499);
        wcscpy(f.title, L"t");
        f.fileId = fileId >= 0 ? fileId : Doc().FindFreeFileId();
        Doc().m_feeds.Add(f);
        Doc().m_feedFiles.Add(L"");
        return Doc().GetFeedCount() - 1;
    }
    // Parses text as the downloaded copy of feed index.
    BOOL ParseText(int index, const std::string& text)
    {
        std::wstring path = m_temp.File(L"feed" + std::to_wstring(index) + L".xml");
        testsupport::WriteBytes(path, text);
        Doc().m_feedFiles[index] = path.c_str();
        return Doc().ParseFeed(index);
    }
    testsupport::TempDir m_rss, m_temp;
};

// Plays the reader window: a message-only window counting the reports.
class TestReader : public IFeedReader {
public:
    TestReader()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"FeedTestReader";
        RegisterClassW(&wc);
        m_hwnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TestReader() override { DestroyWindow(m_hwnd); }
    HWND GetReaderWindow() override { return m_hwnd; }
    void OnUpdateFinished() override { ++finished; }

    std::atomic<int> listUpdates{0}, updates{0}, ready{0}, finished{0};
    std::atomic<int> wrongThread{0};
    // Runs on the window's thread for every report (may be empty).
    std::function<void(UINT)> onReport;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<TestReader*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (msg == WM_COMMAND && self) {
            if (GetWindowThreadProcessId(h, nullptr) != GetCurrentThreadId())
                ++self->wrongThread;
            UINT id = LOWORD(wp);
            if (id == ID_URL_LIST_UPDATE)
                ++self->listUpdates;
            else if (id == ID_UPDATE)
                ++self->updates;
            else if (id == ID_VIEW_GOOGLEMAPS)
                ++self->ready;
            if (self->onReport)
                self->onReport(id);
            return 0;
        }
        return DefWindowProcW(h, msg, wp, lp);
    }
    HWND m_hwnd = nullptr;
};

using testsupport::DispatchUntil;

// ---- Feeds as publishers write them ----

// An RSS 2.0 item; date empty leaves pubDate out; pos is the inner position markup.
inline std::string Rss2Item(const std::string& title, const std::string& date, const std::string& pos,
                            const std::string& extra = {})
{
    std::string s = "<item><title>" + title + "</title><link>http://example.com/" + title + "</link>";
    if (!date.empty())
        s += "<pubDate>" + date + "</pubDate>";
    return s + pos + extra + "</item>\n";
}
inline std::string GeoRss(double lat, double lon)
{
    char b[80];
    snprintf(b, sizeof b, "<georss:point>%.6f %.6f</georss:point>", lat, lon);
    return b;
}
inline std::string W3cGeo(double lat, double lon)
{
    char b[120];
    snprintf(b, sizeof b, "<geo:lat>%.6f</geo:lat><geo:long>%.6f</geo:long>", lat, lon);
    return b;
}
inline std::string Rss2(const std::string& items, const std::string& title = "Quake feed",
                        const std::string& decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n")
{
    return decl +
           "<rss version=\"2.0\" xmlns:georss=\"http://www.georss.org/georss\" "
           "xmlns:geo=\"http://www.w3.org/2003/01/geo/wgs84_pos#\" xmlns:media=\"http://search.yahoo.com/mrss/\">\n"
           "<channel><title>" +
           title + "</title><link>http://example.com/</link><description>d</description>\n" + items +
           "</channel></rss>\n";
}
inline std::string Rss2Items(int n, int firstDay = 1)
{
    std::string items;
    for (int i = 0; i < n; ++i) {
        char date[64];
        snprintf(date, sizeof date, "Tue, %02d Jan 2030 10:%02d:%02d GMT", firstDay + i / 3600 % 28, i / 60 % 60, i % 60);
        items += Rss2Item("Item" + std::to_string(i), date, GeoRss(35.0 + i * 0.0001, 139.0));
    }
    return items;
}

}  // namespace feedtest
