#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestFiles.h"

#include "common/HttpDownload.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>
#include <string>

using namespace testsupport;

namespace {

std::string Pattern(size_t n)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

std::string FileText(const std::wstring& path)
{
    Bytes b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

double SecondsSince(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

TEST(HttpDownload, SavesBodiesOfEverySize)
{
    for (size_t size : {size_t(0), size_t(1), size_t(262143), size_t(262144), size_t(262145), size_t(3000000)}) {
        std::string body = Pattern(size);
        LocalHttpServer server([&](const HttpRequest&, HttpConnection& c) { c.Reply(200, body, "application/octet-stream"); });
        TempDir dir;
        std::wstring path = dir.File(L"file.bin");
        ASSERT_TRUE(GetHttpFile((server.BaseUrl() + L"/f.bin").c_str(), nullptr, path.c_str(), 3000, 1)) << size;
        EXPECT_EQ(body, FileText(path)) << size;
    }
}

TEST(HttpDownload, ErrorStatusIsAFailureAndKeepsOldFile)
{
    for (int status : {404, 500, 403}) {
        LocalHttpServer server([&](const HttpRequest&, HttpConnection& c) { c.Reply(status, "<html>error page</html>", "text/html"); });
        TempDir dir;
        std::wstring path = dir.File(L"version.xml");
        EXPECT_FALSE(GetHttpFile((server.BaseUrl() + L"/missing").c_str(), nullptr, path.c_str(), 3000, 1)) << status;
        EXPECT_FALSE(FileExists(path)) << status;
        WriteBytes(path, std::string("previous"));
        EXPECT_FALSE(GetHttpFile((server.BaseUrl() + L"/missing").c_str(), nullptr, path.c_str(), 3000, 1)) << status;
        EXPECT_EQ("previous", FileText(path)) << status;
    }
}

TEST(HttpDownload, SendsTheGivenOrTheDefaultAgent)
{
    LocalHttpServer server([](const HttpRequest&, HttpConnection& c) { c.Reply(200, "ok"); });
    TempDir dir;
    ASSERT_TRUE(GetHttpFile((server.BaseUrl() + L"/a").c_str(), L"10KRTVX/1.000000", dir.File(L"a").c_str(), 3000, 1));
    ASSERT_TRUE(GetHttpFile((server.BaseUrl() + L"/b").c_str(), nullptr, dir.File(L"b").c_str(), 3000, 1));
    auto requests = server.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("10KRTVX/1.000000", requests[0].headers["user-agent"]);
    EXPECT_EQ("Halvern PC Application", requests[1].headers["user-agent"]);
    EXPECT_EQ("/b", requests[1].target);
}

TEST(HttpDownload, UnreachableServerLeavesNoFile)
{
    unsigned short port;
    {
        LocalHttpServer gone([](const HttpRequest&, HttpConnection&) {});
        port = gone.Port();
    }
    TempDir dir;
    std::wstring path = dir.File(L"x.bin");
    std::wstring url = L"http://127.0.0.1:" + std::to_wstring(port) + L"/x";
    EXPECT_FALSE(GetHttpFile(url.c_str(), nullptr, path.c_str(), 2000, 1));
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(GetHttpFile(L"not a url", nullptr, path.c_str(), 2000, 1));
    EXPECT_FALSE(GetHttpFile(nullptr, nullptr, path.c_str(), 2000, 1));
    EXPECT_FALSE(GetHttpFile(url.c_str(), nullptr, nullptr, 2000, 1));
}

TEST(HttpDownload, MissingLocalFolderFailsAfterTheRequest)
{
    LocalHttpServer server([](const HttpRequest&, HttpConnection& c) { c.Reply(200, "data"); });
    TempDir dir;
    EXPECT_FALSE(GetHttpFile((server.BaseUrl() + L"/f").c_str(), nullptr, dir.File(L"no\\such\\f").c_str(), 3000, 1));
    EXPECT_EQ(1u, server.Requests().size());
}

TEST(HttpDownload, CutOffReplyIsAFailure)
{
    LocalHttpServer server([](const HttpRequest&, HttpConnection& c) {
        c.SendRaw("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\nConnection: close\r\n\r\n" + std::string(5000, 'x'));
        c.Close();
    });
    TempDir dir;
    std::wstring path = dir.File(L"cut.bin");
    WriteBytes(path, std::string("previous"));
    EXPECT_FALSE(GetHttpFile((server.BaseUrl() + L"/cut").c_str(), nullptr, path.c_str(), 3000, 1));
    EXPECT_EQ("previous", FileText(path));
}

TEST(HttpDownload, ChunkedAndSlowButSteadyRepliesArrive)
{
    LocalHttpServer server([&](const HttpRequest& r, HttpConnection& c) {
        c.SendRaw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n");
        // Each pause is shorter than the time-out, the whole reply longer.
        for (int i = 0; i < 5; ++i) {
            c.SendRaw("5\r\nchunk\r\n");
            server.Wait(400);
        }
        c.SendRaw("0\r\n\r\n");
    });
    TempDir dir;
    std::wstring path = dir.File(L"slow.txt");
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(GetHttpFile((server.BaseUrl() + L"/slow").c_str(), nullptr, path.c_str(), 1000, 0));
    EXPECT_GT(SecondsSince(start), 1.5);
    EXPECT_EQ("chunkchunkchunkchunkchunk", FileText(path));
}

TEST(HttpDownload, ServerThatNeverAnswersEndsTheDownload)
{
    LocalHttpServer server([&](const HttpRequest&, HttpConnection&) { server.Wait(60000); });
    TempDir dir;
    std::wstring path = dir.File(L"never.bin");
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(GetHttpFile((server.BaseUrl() + L"/never").c_str(), nullptr, path.c_str(), 1000, 0));
    double took = SecondsSince(start);
    EXPECT_LT(took, 15.0);
    EXPECT_FALSE(FileExists(path));
}

TEST(HttpDownload, ServerThatStallsMidBodyEndsTheDownload)
{
    LocalHttpServer server([&](const HttpRequest&, HttpConnection& c) {
        c.SendRaw("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(10, 'x'));
        server.Wait(60000);
    });
    TempDir dir;
    std::wstring path = dir.File(L"stall.bin");
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(GetHttpFile((server.BaseUrl() + L"/stall").c_str(), nullptr, path.c_str(), 1000, 0));
    EXPECT_LT(SecondsSince(start), 15.0);
    EXPECT_FALSE(FileExists(path));
}

TEST(HttpDownload, GarbageReplyIsNotSaved)
{
    LocalHttpServer server([](const HttpRequest&, HttpConnection& c) {
        c.SendRaw("\x01\x02 this is no HTTP at all \xFF\r\n\r\nbody");
        c.Close();
    });
    TempDir dir;
    std::wstring path = dir.File(L"garbage.bin");
    EXPECT_FALSE(GetHttpFile((server.BaseUrl() + L"/g").c_str(), nullptr, path.c_str(), 2000, 0));
    EXPECT_FALSE(FileExists(path));
}

TEST(HttpDownload, OddUrlsReachTheServer)
{
    LocalHttpServer server([](const HttpRequest& r, HttpConnection& c) {
        if (r.target.rfind("/moved", 0) == 0)
            c.Reply(302, "", "text/plain", "Location: /final\r\n");
        else
            c.Reply(200, "body:" + r.target);
    });
    std::wstring host = L"127.0.0.1:" + std::to_wstring(server.Port());
    const std::wstring urls[] = {
        L"http://" + host + L"/plain",
        L"http://user:secret@" + host + L"/userinfo",
        L"http://" + host + L"/a%20b/c?x=1&y=%E6%9D%B1#fragment",
        L"http://" + host + L"/with space?q=\u00E4",
        L"HTTP://" + host + L"/UPPER",
        L"http://" + host + L"/moved",
    };
    TempDir dir;
    for (const std::wstring& url : urls) {
        std::wstring path = dir.File(L"odd.txt");
        DeleteFileW(path.c_str());
        EXPECT_TRUE(GetHttpFile(url.c_str(), nullptr, path.c_str(), 3000, 0)) << url;
        EXPECT_EQ(0u, FileText(path).rfind("body:/", 0)) << url;
    }
    EXPECT_EQ("body:/final", FileText(dir.File(L"odd.txt")));
}

TEST(HttpDownload, BadUrlsFailWithoutHanging)
{
    LocalHttpServer plain([&](const HttpRequest&, HttpConnection& c) { c.Reply(200, "plain"); });
    std::wstring port = std::to_wstring(plain.Port());
    const std::wstring urls[] = {
        L"https://127.0.0.1:" + port + L"/tls-to-plain",
        L"http://127.0.0.1:0/zero-port",
        L"http://127.0.0.1:99999/big-port",
        L"http:///no-host",
        L"mailto:someone@example.invalid",
        L"://",
        std::wstring(3000, L'x'),
    };
    TempDir dir;
    for (const std::wstring& url : urls) {
        auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(GetHttpFile(url.c_str(), nullptr, dir.File(L"bad").c_str(), 1000, 0)) << url;
        EXPECT_LT(SecondsSince(start), 10.0) << url;
        EXPECT_FALSE(FileExists(dir.File(L"bad"))) << url;
    }
}

TEST(HttpDownload, ManyDownloadsInARowAndSideBySide)
{
    LocalHttpServer server([](const HttpRequest& r, HttpConnection& c) { c.Reply(200, "data for " + r.target); });
    TempDir dir;
    for (int i = 0; i < 50; ++i) {
        std::wstring name = L"f" + std::to_wstring(i);
        ASSERT_TRUE(GetHttpFile((server.BaseUrl() + L"/" + name).c_str(), nullptr, dir.File(name).c_str(), 3000, 0));
    }
    std::vector<std::thread> threads;
    std::atomic<int> good{0};
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&, i] {
            std::wstring name = L"t" + std::to_wstring(i);
            good += GetHttpFile((server.BaseUrl() + L"/" + name).c_str(), nullptr, dir.File(name).c_str(), 3000, 0);
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(4, good.load());
    EXPECT_EQ("data for /t3", FileText(dir.File(L"t3")));
}
