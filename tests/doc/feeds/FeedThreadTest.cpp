// The reader's workers: reports, cancels at every step of a download, and the
// reader leaving while workers run.
#include <atomic>
#include <random>
#include <string>
#include <thread>

#include "FeedTestSupport.h"

using namespace feedtest;

namespace {

constexpr UINT ID_TEST_CANCEL = 40000;

class FeedThreads : public FeedTest {
protected:
    void SetUp() override
    {
        FeedTest::SetUp();
        m_server = std::make_unique<testsupport::LocalHttpServer>(
            [this](const testsupport::HttpRequest& req, testsupport::HttpConnection& conn) {
                int delay = m_delayMs;
                if (m_randomDelay) {
                    std::lock_guard<std::mutex> hold(m_randomLock);
                    delay = std::uniform_int_distribution<int>(0, m_randomDelay)(m_random);
                }
                if (delay)
                    m_server->Wait(delay);
                std::string n = req.target.substr(req.target.find_last_of('/') + 1);
                conn.Reply(200, Rss2(Rss2Item("Item " + n, "Tue, 05 Jan 2030 10:20:30 GMT", GeoRss(35, 139))),
                           "application/rss+xml");
            });
        m_reader.onReport = [this](UINT id) {
            if (id == ID_TEST_CANCEL)
                CDocRssPoi::CancelFeedWork();
            if (id == ID_VIEW_GOOGLEMAPS)
                m_busyAtLastReport = theGlobal.m_rssLoadBusy;
        };
    }
    // Leaving the reader: the work cancelled, the workers waited for, their
    // work dropped. FALSE when they did not end in time.
    static BOOL LeaveReader(DWORD timeoutMs)
    {
        CDocRssPoi::CancelFeedWork();
        if (!CDocRssPoi::WaitForFeedWorkers(timeoutMs))
            return FALSE;
        Doc().DropFeedWork();
        return TRUE;
    }
    void TearDown() override
    {
        CDocRssPoi::SetDownloadStepHook(nullptr);
        LeaveReader(20000);
        m_server.reset();
        FeedTest::TearDown();
    }
    void AddFeeds(int n)
    {
        for (int i = 0; i < n; ++i)
            AddFeedRecord(m_server->BaseUrl() + L"/feed" + std::to_wstring(i) + L".xml");
    }
    bool WaitIdle(DWORD ms = 20000)
    {
        return DispatchUntil([] { return !theGlobal.m_rssUpdateBusy && !theGlobal.m_rssLoadBusy; }, ms);
    }

    TestReader m_reader;
    std::unique_ptr<testsupport::LocalHttpServer> m_server;
    std::atomic<int> m_delayMs{0};
    int m_randomDelay = 0;
    std::mutex m_randomLock;
    std::mt19937 m_random{12345};
    int m_busyAtLastReport = -1;
};

// Counts whether the update is done; clears the new-items row mark in a real reader.
class MarkReader : public TestReader {
public:
    void OnUpdateFinished() override
    {
        busyWhenFinished = theGlobal.m_rssUpdateBusy;
        TestReader::OnUpdateFinished();
    }
    int busyWhenFinished = -1;
};

TEST_F(FeedThreads, UpdateReportsEveryFeedAndItemListsFollow)
{
    AddFeedRecord(m_server->BaseUrl() + L"/feed0.xml");
    AddFeedRecord(L"http://127.0.0.1:9/unreachable.xml");
    AddFeedRecord(m_server->BaseUrl() + L"/feed2.xml");
    theGlobal.m_changedFewModel = 1;
    MarkReader reader;
    ASSERT_TRUE(Doc().StartUpdate(&reader));
    EXPECT_FALSE(Doc().StartUpdate(&reader));  // one update at a time
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(reader.listUpdates, 3);
    EXPECT_EQ(reader.finished, 1);
    EXPECT_EQ(reader.busyWhenFinished, 1);  // the flag falls only after the last report
    EXPECT_EQ(reader.wrongThread, 0);
    EXPECT_EQ(Doc().CountUpdatedFeeds(), 3);
    EXPECT_TRUE(Doc().m_feedFiles[1].IsEmpty());
    EXPECT_FALSE(Doc().m_feedFiles[0].IsEmpty());
    EXPECT_EQ(theGlobal.m_changedFewModel, 0);
    EXPECT_EQ(Doc().GetTotalItemCount(), 2);

    // The new-items row: both feeds' items.
    ASSERT_TRUE(Doc().StartItemLoad(&m_reader, 0));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(m_reader.updates, 1);
    EXPECT_EQ(m_reader.ready, 1);
    EXPECT_EQ(m_busyAtLastReport, 1);
    EXPECT_EQ(Doc().GetShownItemCount(), 2);

    // Opening feed 2 marks it read and takes its items out of the new items.
    Doc().m_nowStamp = 20300101000000;
    ASSERT_TRUE(Doc().StartItemLoad(&m_reader, 2 + 2));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(Doc().GetShownItemCount(), 1);
    EXPECT_STREQ(Doc().m_shownItems[0].poi.name, L"Item feed2.xml");
    EXPECT_EQ(Doc().m_feeds[2].opened, 1);
    EXPECT_EQ(Doc().m_feeds[2].newCount, 0);
    EXPECT_EQ(Doc().m_feeds[2].readTime, 20300101000000);
    Doc().m_nowStamp = 20300202000000;
    ASSERT_TRUE(Doc().StartItemLoad(&m_reader, 2 + 2));  // second opening: no change
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Doc().m_feeds[2].readTime, 20300101000000);
    ASSERT_TRUE(Doc().StartItemLoad(&m_reader, 0));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(Doc().GetShownItemCount(), 1);
    EXPECT_STREQ(Doc().m_shownItems[0].poi.name, L"Item feed0.xml");

    // The favourites row is filled at once.
    ASSERT_TRUE(Doc().StartItemLoad(&m_reader, 1));
    EXPECT_EQ(theGlobal.m_rssLoadBusy, 0);
    EXPECT_EQ(Doc().m_selectedFeed, RSS_SHOW_FAVORITES);
}

TEST_F(FeedThreads, CancelledNewItemsLoadStillReports)
{
    theGlobal.m_rssLoadBusy = 1;
    theGlobal.m_rssLoadCancel = 1;
    ASSERT_TRUE(StartFeedThread(LoadNewItemsThread, &m_reader));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(m_reader.updates, 1);
    EXPECT_EQ(m_reader.ready, 1);
    EXPECT_EQ(Doc().GetShownItemCount(), 0);
}

TEST_F(FeedThreads, CancelAtEveryStepOfADownload)
{
    // The cancel comes from the reader's thread while the worker stands at the
    // step: the hook asks the reader window and waits for its answer.
    for (int step = 1; step <= 6; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        ResetDoc();
        m_reader.listUpdates = m_reader.finished = 0;
        AddFeeds(3);
        m_delayMs = 200;
        theGlobal.m_changedFewModel = 1;
        std::atomic<int> downloads{0};
        HWND window = m_reader.GetReaderWindow();
        CDocRssPoi::SetDownloadStepHook([&](int s) {
            if (s == 1)
                ++downloads;
            if (downloads == 2 && s == step)
                SendMessageW(window, WM_COMMAND, ID_TEST_CANCEL, 0);
        });
        DWORD start = GetTickCount();
        ASSERT_TRUE(Doc().StartUpdate(&m_reader));
        ASSERT_TRUE(WaitIdle(10000));
        EXPECT_LT(GetTickCount() - start, 5000u);
        CDocRssPoi::SetDownloadStepHook(nullptr);
        EXPECT_EQ(m_reader.listUpdates, 2);
        EXPECT_EQ(m_reader.finished, 1);
        EXPECT_EQ(Doc().m_feeds[1].processed, 1);
        EXPECT_EQ(Doc().m_feeds[2].processed, 0);  // never touched
        EXPECT_EQ(theGlobal.m_changedFewModel, 1);
        // Up to the end of the wait the cancel wins and the download is a
        // failure (nothing is parsed); after it, the download stands.
        EXPECT_EQ(Doc().m_feedFiles[1].IsEmpty(), step <= 4);
        EXPECT_NE(Doc().GetErrorCode(), RSSERR_PARSE);
        EXPECT_EQ(theGlobal.m_downloadBusy, 0);
        EXPECT_EQ(theGlobal.m_activeHttpClient, nullptr);
        LeaveReader(10000);
    }
}

TEST_F(FeedThreads, CancelDuringASlowAnswerReturnsAtOnce)
{
    AddFeeds(2);
    m_delayMs = 3000;
    ASSERT_TRUE(Doc().StartUpdate(&m_reader));
    ASSERT_TRUE(DispatchUntil([] { return theGlobal.m_activeHttpClient != nullptr; }, 5000));
    DWORD start = GetTickCount();
    ASSERT_TRUE(LeaveReader(10000));
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_EQ(m_reader.listUpdates, 1);
    EXPECT_TRUE(Doc().m_feedFiles[0].IsEmpty());
}

TEST_F(FeedThreads, LeavingWhileWorkersRunManyTimes)
{
    // Random answer times and random moments to leave, with the reports still
    // coming in while the reader waits.
    m_randomDelay = 150;
    std::mt19937 pick(777);
    int reportsWhileLeaving = 0;
    DWORD start = GetTickCount();
    for (int round = 0; round < 24; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ResetDoc();
        AddFeeds(4);
        ASSERT_TRUE(Doc().StartUpdate(&m_reader));
        int wait = std::uniform_int_distribution<int>(0, 400)(pick);
        DispatchUntil([] { return false; }, wait);
        if (round % 3 == 0 && WaitIdle(10000)) {
            // An item list being built when the reader goes.
            ASSERT_TRUE(Doc().StartItemLoad(&m_reader, round % 2 == 0 ? 0 : 2));
        }
        int before = m_reader.listUpdates + m_reader.ready;
        ASSERT_TRUE(LeaveReader(15000));
        reportsWhileLeaving += m_reader.listUpdates + m_reader.ready - before;
        EXPECT_EQ(theGlobal.m_rssUpdateBusy, 0);
        EXPECT_EQ(theGlobal.m_rssLoadBusy, 0);
        EXPECT_EQ(theGlobal.m_downloadBusy, 0);
        EXPECT_EQ(Doc().m_selectedFeed, RSS_SHOW_NOTHING);
        EXPECT_FALSE(testsupport::FileExists(theGlobal.m_rssTempFolder.GetString()));
    }
    EXPECT_LT(GetTickCount() - start, 120000u);
    EXPECT_EQ(m_reader.wrongThread, 0);
    // Workers blocked reporting were served while the reader waited for them.
    EXPECT_GT(reportsWhileLeaving, 0);
}

TEST_F(FeedThreads, OneDownloadHoldsTheSlotsAtATime)
{
    m_delayMs = 1500;
    std::wstring first = m_temp.File(L"a.xml"), second = m_temp.File(L"b.xml");
    std::atomic<int> firstResult{-1};
    std::thread worker([&] { firstResult = Doc().DownloadFile(first.c_str(), (m_server->BaseUrl() + L"/a.xml").c_str()); });
    ASSERT_TRUE(DispatchUntil([] { return theGlobal.m_activeHttpClient != nullptr; }, 5000));
    DWORD start = GetTickCount();
    EXPECT_FALSE(Doc().DownloadFile(second.c_str(), (m_server->BaseUrl() + L"/b.xml").c_str()));
    EXPECT_LT(GetTickCount() - start, 500u);
    worker.join();
    EXPECT_EQ(firstResult, 1);
    EXPECT_TRUE(testsupport::FileExists(first));
    EXPECT_FALSE(testsupport::FileExists(second));
    // Free again afterwards.
    m_delayMs = 0;
    EXPECT_TRUE(Doc().DownloadFile(second.c_str(), (m_server->BaseUrl() + L"/b.xml").c_str()));
}

TEST_F(FeedThreads, SetUpFailuresAreFailures)
{
    std::wstring path = m_temp.File(L"x.xml");
    testsupport::WriteBytes(path, std::string("old copy"));
    EXPECT_FALSE(Doc().DownloadFile(path.c_str(), L"not a url"));
    EXPECT_FALSE(Doc().DownloadFile(path.c_str(), L"ftp://127.0.0.1/x"));
    EXPECT_FALSE(testsupport::FileExists(path));  // no stale copy passes for a download
    theGlobal.m_downloadCancel = 1;
    EXPECT_FALSE(Doc().DownloadFile(path.c_str(), (m_server->BaseUrl() + L"/a.xml").c_str()));
    theGlobal.m_downloadCancel = 0;
    EXPECT_TRUE(Doc().DownloadFile(path.c_str(), (m_server->BaseUrl() + L"/a.xml").c_str()));
}

}  // namespace
