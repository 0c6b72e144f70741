// The apps list service and the list icons against a loopback server: real
// POSTs over WinHTTP and icon GETs over WinINet.
#include "LocalHttpServer.h"  // winsock2.h before windows.h

#include <gtest/gtest.h>

#include <objbase.h>

#include <atomic>
#include <string>
#include <thread>

#include "DocTestSupport.h"
#include "ImageFixtures.h"
#include "TestFiles.h"
#include "doc/DocAp.h"

using namespace testsupport;

namespace {

// A UTF-8 reply whose app name is not in the ANSI code page.
const std::string kList =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DownloadList><MirovaleVersion>1</MirovaleVersion>"
    "<item><applicationId>9</applicationId><name>\xe6\x99\x82\xe8\xa8\x88</name><version>1.2</version>"
    "<imageURL><Normal>http://h/n.bmp</Normal></imageURL><exefileURL>http://h/c.exe</exefileURL></item>"
    "</DownloadList>";

const unsigned char kPng[] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
                              0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00,
                              0x00, 0x90, 0x77, 0x53, 0xDE, 0x00, 0x00, 0x00, 0x0C, 0x49, 0x44, 0x41, 0x54, 0x08,
                              0xD7, 0x63, 0xF8, 0xCF, 0xC0, 0x00, 0x00, 0x03, 0x01, 0x01, 0x00, 0x18, 0xDD, 0x8D,
                              0xB0, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

class AppsService : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        ASSERT_TRUE(doc.SetDeviceNumber(L"00000000000000AF"));
        doc.m_downloadTimeout = 5000;
        doc.m_downloadRetries = 1;
    }
    void TearDown() override { CoUninitialize(); }
    doctest::PrivateTemp temp;
    CDocAp doc;
};

TEST_F(AppsService, PostsTheFormAndReadsTheReply)
{
    LocalHttpServer server([](const HttpRequest&, HttpConnection& c) { c.Reply(200, kList, "text/xml"); });
    doc.m_serviceBase = server.BaseUrl().c_str();
    ASSERT_TRUE(doc.DownloadList(81, 4));
    auto requests = server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("POST", requests[0].method);
    EXPECT_EQ("/oskraapp/DownloadListAPI", requests[0].target);
    EXPECT_EQ("devno=00000000000000AF&ccid=48205716&country=081", requests[0].body);
    EXPECT_NE(std::string::npos, requests[0].headers["content-type"].find("application/x-www-form-urlencoded"));
    EXPECT_EQ("10KRTVX/1.000000", requests[0].headers["user-agent"]);
    ASSERT_EQ(1, doc.m_serverApps.GetSize());
    EXPECT_STREQ(L"\x6642\x8a08", doc.m_serverApps[0].m_id);  // the reply's bytes were not re-encoded
    EXPECT_STREQ(L"1.2", doc.m_serverApps[0].m_version);
    EXPECT_EQ(0, temp.CountEntries()) << "work folder left behind";

    // The reply file holds the bytes as they came.
    TempDir dir;
    ASSERT_TRUE(doc.PostRequest(dir.File(L"reply.xml").c_str(), (server.BaseUrl() + L"/x").c_str(), 81, 2));
    Bytes got = ReadBytes(dir.File(L"reply.xml"));
    EXPECT_EQ(kList, std::string(got.begin(), got.end()));
}

TEST_F(AppsService, EveryFailureIsReportedWithACode)
{
    LocalHttpServer server([](const HttpRequest& r, HttpConnection& c) {
        const std::string& t = r.target;
        if (t.rfind("/forbidden", 0) == 0)
            c.Reply(403, "<html>no</html>", "text/html");
        else if (t.rfind("/error", 0) == 0)
            c.Reply(500, "<html>boom</html>", "text/html");
        else if (t.rfind("/missing", 0) == 0)
            c.Reply(404, "<html>gone</html>", "text/html");
        else if (t.rfind("/empty", 0) == 0)
            c.Reply(200, "");
        else if (t.rfind("/malformed", 0) == 0)
            c.Reply(200, "<DownloadList><item><name>x</name>", "text/xml");
        else if (t.rfind("/cut", 0) == 0)
            c.SendRaw("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nConnection: close\r\n\r\n" + kList.substr(0, 60));
        else if (t.rfind("/garbage", 0) == 0)
            c.SendRaw("this is not HTTP\r\n\r\n");
        else if (t.rfind("/busy", 0) == 0)
            c.Reply(200, "<Error><code>503</code></Error>", "text/xml");
        else
            c.Reply(200, kList, "text/xml");
    });
    struct Case {
        const wchar_t* base;
        int error;
    } cases[] = {{L"/forbidden", 7}, {L"/error", 21}, {L"/missing", 21}, {L"/empty", 21}, {L"/malformed", 21},
                 {L"/cut", 21},      {L"/garbage", 21}, {L"/busy", 14}};
    for (const Case& c : cases) {
        doc.m_serverApps.RemoveAll();
        doc.SetErrorCode(0);
        doc.m_serviceBase = (server.BaseUrl() + c.base).c_str();
        EXPECT_FALSE(doc.DownloadList(81, 4)) << Utf8(c.base);
        EXPECT_EQ(c.error, doc.GetErrorCode()) << Utf8(c.base);
        EXPECT_EQ(0, doc.m_serverApps.GetSize()) << Utf8(c.base);
    }
    EXPECT_EQ(0, temp.CountEntries()) << "work folder left behind";
}

TEST_F(AppsService, RequestsThatNeverStartAreFailures)
{
    unsigned short port;
    {
        LocalHttpServer gone([](const HttpRequest&, HttpConnection&) {});
        port = gone.Port();
    }
    for (const std::wstring& base : {L"http://127.0.0.1:" + std::to_wstring(port), std::wstring(L"not a url"),
                                     std::wstring(L"")}) {
        doc.SetErrorCode(0);
        doc.m_serviceBase = base.c_str();
        EXPECT_FALSE(doc.DownloadList(81, 4)) << Utf8(base);
        EXPECT_EQ(21, doc.GetErrorCode()) << Utf8(base);
        // The request alone says so too, without leaning on the missing reply file.
        TempDir dir;
        doc.SetErrorCode(0);
        EXPECT_FALSE(doc.PostRequest(dir.File(L"r.xml").c_str(), (base + L"/x").c_str(), 81, 4)) << Utf8(base);
        EXPECT_EQ(21, doc.GetErrorCode()) << Utf8(base);
        EXPECT_FALSE(FileExists(dir.File(L"r.xml")));
    }
}

TEST_F(AppsService, SlowReplyArrivesAndTheCancelEventEndsAWait)
{
    LocalHttpServer server([](const HttpRequest& r, HttpConnection& c) {
        if (r.target.rfind("/slow", 0) == 0) {
            Sleep(400);
            c.Reply(200, kList, "text/xml");
        }
    });
    doc.m_serviceBase = (server.BaseUrl() + L"/slow").c_str();
    EXPECT_TRUE(doc.DownloadList(81, 4));
    EXPECT_EQ(1, doc.m_serverApps.GetSize());

    // No reply at all: the program's cancel event ends the wait as a failure.
    LocalHttpServer* stallServer = nullptr;
    LocalHttpServer stall([&](const HttpRequest&, HttpConnection&) { stallServer->Wait(20000); });
    stallServer = &stall;
    doc.m_serviceBase = stall.BaseUrl().c_str();
    std::atomic<bool> done{false};
    std::thread canceller([&] {
        while (!done) {
            HANDLE e = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"EventRegistrationCancel");
            if (e) {
                Sleep(200);
                SetEvent(e);
                CloseHandle(e);
                return;
            }
            Sleep(20);
        }
    });
    DWORD start = GetTickCount();
    EXPECT_FALSE(doc.DownloadList(81, 4));
    done = true;
    canceller.join();
    EXPECT_EQ(21, doc.GetErrorCode());
    EXPECT_LT(GetTickCount() - start, 10000u);
}

TEST_F(AppsService, RowIconsLoadOnlyBitmaps)
{
    Bytes bmp = imagetest::MakeBmp(58, 54, [](int x, int) { return imagetest::Rgb{BYTE(x), 0, 0}; });
    LocalHttpServer server([&](const HttpRequest& r, HttpConnection& c) {
        if (r.target == "/icons/a.bmp")
            c.Reply(200, std::string(bmp.begin(), bmp.end()), "image/bmp");
        else if (r.target == "/icons/b.png")
            c.Reply(200, std::string(reinterpret_cast<const char*>(kPng), sizeof kPng), "image/png");
        else
            c.Reply(404, "<html>no such icon</html>", "text/html");
    });
    const wchar_t* icons[] = {L"/icons/a.bmp", L"/icons/b.png", L"/icons/gone.bmp", nullptr};
    for (int i = 0; i < 4; ++i) {
        CDocApRecord app;
        app.m_id = (L"app" + std::to_wstring(i)).c_str();
        if (icons[i])
            app.m_urls[AP_URL_IMAGE_NORMAL] = (server.BaseUrl() + icons[i]).c_str();
        doc.m_serverApps.Add(app);
    }
    ASSERT_TRUE(doc.LoadRowIcons(AP_LIST_SERVER));
    EXPECT_EQ(0, doc.m_serverApps[0].m_iconIndex);
    EXPECT_EQ(-1, doc.m_serverApps[1].m_iconIndex);
    EXPECT_EQ(-1, doc.m_serverApps[2].m_iconIndex);  // an error page is no icon
    EXPECT_EQ(-1, doc.m_serverApps[3].m_iconIndex);
    EXPECT_EQ(1, doc.m_serverIcons.GetImageCount());
    doc.RemoveIconless();
    ASSERT_EQ(1, doc.m_serverApps.GetSize());
    EXPECT_STREQ(L"app0", doc.m_serverApps[0].m_id);
    EXPECT_EQ(0, temp.CountEntries()) << "work folder left behind";
}

}  // namespace
