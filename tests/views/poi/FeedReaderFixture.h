#pragma once
// The feed reader in a test window: the real skin pack, the shipped UI
// strings, the real feed document with private folders, feeds served from the
// loopback in the shapes publishers write (RSS 2.0 with the GeoRSS forms, RSS
// 1.0, Atom, KML; UTF-8 and Latin-1), and the page loads, the save dialog and
// the card chooser answered here. There is no page engine: what the reader
// hands the browser host is recorded at the seam.
#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "LocalHttpServer.h"
#include "MessagePump.h"
#include "ScriptedAnswers.h"
#include "TestFiles.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/feeds_ids.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/poi/PoiReaderWnd.h"

namespace feedview {

using namespace dlgtest;

// ---- Feeds as publishers write them ----

inline std::string Decl(const char* encoding = "UTF-8")
{
    return std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>\n";
}

inline std::string Rss2(const std::string& title, const std::vector<std::string>& names, double lat0,
                        const char* encoding = "UTF-8")
{
    std::string items;
    for (size_t i = 0; i < names.size(); ++i) {
        char b[600];
        snprintf(b, sizeof b,
                 "<item><title>%s</title><link>http://example.com/%zu</link><description>About %s</description>"
                 "<pubDate>Tue, %02zu Jan 2020 10:00:00 GMT</pubDate><georss:point>%.4f 139.%04zu</georss:point>"
                 "</item>\n",
                 names[i].c_str(), i, names[i].c_str(), i + 1, lat0 + i * 0.01, i);
        items += b;
    }
    return Decl(encoding) +
           "<rss version=\"2.0\" xmlns:georss=\"http://www.georss.org/georss\">\n<channel><title>" + title +
           "</title><link>http://example.com/</link><description>d</description>\n" + items + "</channel></rss>\n";
}

inline std::string Rdf(const std::string& title, int n)
{
    std::string items;
    for (int i = 0; i < n; ++i) {
        char b[500];
        snprintf(b, sizeof b,
                 "<item rdf:about=\"http://example.com/r%d\"><title>Rdf %d</title><link>http://example.com/r%d</link>"
                 "<dc:date>2020-01-0%dT10:00:00Z</dc:date><geo:lat>36.%04d</geo:lat><geo:long>138.%04d</geo:long></item>\n",
                 i, i, i, i % 9 + 1, i, i);
        items += b;
    }
    return Decl() +
           "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" xmlns=\"http://purl.org/rss/1.0/\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:geo=\"http://www.w3.org/2003/01/geo/wgs84_pos#\">\n"
           "<channel rdf:about=\"http://example.com/\"><title>" +
           title + "</title><link>http://example.com/</link></channel>\n" + items + "</rdf:RDF>\n";
}

inline std::string Atom(const std::string& title, int n)
{
    std::string entries;
    for (int i = 0; i < n; ++i) {
        char b[600];
        snprintf(b, sizeof b,
                 "<entry><title>Atom %d</title><id>urn:a%d</id><link rel=\"alternate\" type=\"text/html\" "
                 "href=\"http://example.com/a%d\"/><updated>2020-01-0%dT10:00:00Z</updated><summary>s</summary>"
                 "<georss:point>34.%04d 135.%04d</georss:point></entry>\n",
                 i, i, i, i % 9 + 1, i, i);
        entries += b;
    }
    return Decl() + "<feed xmlns=\"http://www.w3.org/2005/Atom\" xmlns:georss=\"http://www.georss.org/georss\">\n<title>" +
           title + "</title><id>urn:x</id><updated>2020-01-05T10:00:00Z</updated>\n" + entries + "</feed>\n";
}

inline std::string Kml(const std::string& title, int n)
{
    std::string body;
    for (int i = 0; i < n; ++i) {
        char b[200];
        snprintf(b, sizeof b, "<Placemark><name>K%d</name><Point><coordinates>139.%04d,35.5,0</coordinates></Point></Placemark>\n",
                 i, i);
        body += b;
    }
    return Decl() + "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document><name>" + title + "</name>" + body +
           "</Document></kml>\n";
}

// ---- Seams ----

struct PageLoad {
    std::wstring url, body;
};
inline std::mutex g_navLock;
inline std::vector<PageLoad> g_nav;

inline BOOL RecordNavigate(CPoiReaderWnd*, const wchar_t* url, const wchar_t* body)
{
    std::lock_guard<std::mutex> hold(g_navLock);
    g_nav.push_back({url ? url : L"", body ? body : L""});
    return TRUE;
}
inline std::vector<PageLoad> PageLoads()
{
    std::lock_guard<std::mutex> hold(g_navLock);
    return g_nav;
}

inline CString g_saveAnswer;
inline int g_saveCalls = 0;
inline BOOL AnswerSave(HWND, const wchar_t*, CString& path)
{
    ++g_saveCalls;
    if (g_saveAnswer.IsEmpty())
        return FALSE;
    path = g_saveAnswer;
    return TRUE;
}
inline CString g_cardName = L"Feeds";
inline BOOL AnswerCard(const CString&, CString& root, CString& name)
{
    root = testsupport::CardRoot().c_str();
    name = g_cardName;
    return TRUE;
}

inline std::wstring Ui(int n)
{
    return std::wstring(theGlobal.UiString(n));
}

class TextAnswers : public ScriptedAnswers {
public:
    explicit TextAnswers(std::map<std::wstring, int> answers) : ScriptedAnswers(std::move(answers), GivenText) {}
};

using testsupport::DispatchUntil;

class FeedReaderView : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        InitCharClassTable();
        theGlobal.m_modelType = 0;
        theGlobal.m_naviModel.m_naviModelType = 0;
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
        theGlobal.m_piRssColumns.RemoveAll();
        for (DWORD w : {22, 50, 22, 22, 126, 244, 140})
            theGlobal.m_piRssColumns.Add(w);
        theGlobal.m_rssSplit = 0.4f;
        theGlobal.m_rssListSplit = 0.3f;
        theGlobal.m_rssFolder = m_rss.Path().c_str();
        theGlobal.m_rssTempFolder.Empty();
        theGlobal.m_webBaseUrl = L"http://maps.test/";
        theGlobal.m_viewKind = 5;
        theGlobal.m_headerTitle.Empty();
        theGlobal.m_views.RemoveAll();
        theGlobal.m_decimal = 0;
        ResetFlags();
        {
            std::lock_guard<std::mutex> hold(g_navLock);
            g_nav.clear();
        }
        g_saveAnswer.Empty();
        g_saveCalls = 0;
        g_cardName = L"Feeds";
        CPoiReaderWnd::s_navigate = RecordNavigate;
        CPoiReaderWnd::s_saveDialog = AnswerSave;
        CPoiReaderWnd::s_chooseCard = AnswerCard;
        testsupport::ClearCard();
        CDocRssPoi& d = doc();
        d.m_feeds.RemoveAll();
        d.m_feedFiles.RemoveAll();
        d.ClearItems();
        d.m_favorites.RemoveAll();
        d.m_selectedFeed = RSS_SHOW_NOTHING;
        d.InitErrorStrings();
        theGlobal.m_docIcon.InitErrorStrings();
        d.InitializeFeeds();
        main.MoveWindow(0, 0, 1010, 740);
        server = std::make_unique<testsupport::LocalHttpServer>(
            [this](const testsupport::HttpRequest& r, testsupport::HttpConnection& c) { Serve(r, c); });
        m_server = server.get();
    }
    void TearDown() override
    {
        CDocRssPoi::CancelFeedWork();
        if (view.m_hWnd)
            view.DestroyWindow();
        CDocRssPoi::WaitForFeedWorkers(20000);
        server.reset();
        CDocRssPoi& d = doc();
        d.m_feeds.RemoveAll();
        d.m_feedFiles.RemoveAll();
        d.ClearItems();
        d.m_favorites.RemoveAll();
        ResetFlags();
        testsupport::ClearCard();
        DialogTest::TearDown();
    }
    static void ResetFlags()
    {
        theGlobal.m_rssUpdateBusy = 0;
        theGlobal.m_rssLoadBusy = 0;
        theGlobal.m_rssCancel = 0;
        theGlobal.m_rssLoadCancel = 0;
        theGlobal.m_downloadCancel = 0;
    }
    static CDocRssPoi& doc() { return theGlobal.m_docRssPoi; }

    // What the server answers, by path ("/a.xml"); a missing path is a 404.
    void Serve(const testsupport::HttpRequest& r, testsupport::HttpConnection& c)
    {
        std::string body;
        int delay = 0;
        {
            std::lock_guard<std::mutex> hold(m_serveLock);
            auto it = m_pages.find(r.target);
            if (it == m_pages.end()) {
                c.Reply(404, "no such feed");
                return;
            }
            body = it->second;
            auto d = m_delays.find(r.target);
            delay = d == m_delays.end() ? 0 : d->second;
        }
        // Through the plain pointer: while the server stops, the owner's is already empty.
        if (delay)
            m_server->Wait(delay);
        if (m_server->Stopping())
            return;
        c.Reply(200, body, "application/xml");
    }
    void Page(const std::string& path, const std::string& body, int delayMs = 0)
    {
        std::lock_guard<std::mutex> hold(m_serveLock);
        m_pages[path] = body;
        m_delays[path] = delayMs;
    }
    // A subscribed feed (as the list file holds it) served at path.
    int Subscribe(const std::string& path, const wchar_t* title)
    {
        POI_RSS_URL f{};
        std::wstring url = server->BaseUrl() + std::wstring(path.begin(), path.end());
        wcsncpy(f.url, url.c_str(), 499);
        wcsncpy(f.title, title, 499);
        f.fileId = doc().FindFreeFileId();
        doc().m_feeds.Add(f);
        doc().m_feedFiles.Add(L"");
        return doc().GetFeedCount() - 1;
    }
    void CreateView()
    {
        ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700), &main, 0xFFF0));
    }
    // Shows the view (a visit starts) and waits for the update to end.
    void Visit(bool wait = true)
    {
        if (!view.m_hWnd)
            CreateView();
        view.ShowWindow(SW_SHOW);
        if (wait) {
            ASSERT_TRUE(DispatchUntil([] { return theGlobal.m_rssUpdateBusy == 0; }, 30000));
        }
        PumpPending();
    }
    CFeedTitleListCtrl& titles() { return view.m_pane.m_titleList; }
    CRssItemListCtrl& items() { return view.m_pane.m_itemList; }
    // A click on a feed row as the user gives it, then the load waited for.
    void Choose(int row, bool waitLoaded = true)
    {
        titles().EnsureVisible(row);
        RECT rc;
        ASSERT_TRUE(titles().GetItemRect(row, 0, &rc, LVIR_BOUNDS));
        skintest::Mouse(titles().m_hWnd, WM_LBUTTONDOWN, 60, (rc.top + rc.bottom) / 2, MK_LBUTTON);
        skintest::Mouse(titles().m_hWnd, WM_LBUTTONUP, 60, (rc.top + rc.bottom) / 2);
        if (waitLoaded) {
            ASSERT_TRUE(
                DispatchUntil([this] { return view.m_feedSwitch == 0 && theGlobal.m_rssLoadBusy == 0; }, 20000));
        }
        PumpPending();
    }
    std::wstring Cell(int row, int column) { return CellText(items(), row, column); }
    std::wstring Title(int row) { return CellText(titles(), row, 0, 600); }
    void Command(UINT id) { view.SendMessage(WM_COMMAND, id, 0); }
    bool Enabled(UINT id) { return CommandEnabled(view, id); }
    // The last map request, after the debounce.
    PageLoad WaitMapLoad(size_t before)
    {
        auto mapPage = [before](PageLoad* out) {
            auto loads = PageLoads();
            for (size_t i = loads.size(); i > before; --i)
                if (loads[i - 1].url != L"about:blank") {
                    if (out)
                        *out = loads[i - 1];
                    return true;
                }
            return false;
        };
        DispatchUntil([&] { return mapPage(nullptr); }, 5000);
        PageLoad load;
        mapPage(&load);
        return load;
    }

    CPoiReaderWnd view;
    std::unique_ptr<testsupport::LocalHttpServer> server;
    testsupport::LocalHttpServer* m_server = nullptr;
    std::mutex m_serveLock;
    std::map<std::string, std::string> m_pages;
    std::map<std::string, int> m_delays;
    testsupport::TempDir m_rss;
};

}  // namespace feedview
