#pragma once
// A small HTTP server on 127.0.0.1 for tests of the web clients. It listens on a
// free port, hands every request to the test's handler on its own thread, and
// stops (closing every connection) when the object goes away.
#include <winsock2.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct HttpRequest {
    std::string method;   // "GET", "POST", "HEAD"...
    std::string target;   // as sent: "/path?q" or an absolute URI through a proxy
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
};

// What the handler writes back: helpers for whole replies, or raw bytes for
// garbage, cut-off and slow replies.
class HttpConnection {
public:
    explicit HttpConnection(SOCKET s) : m_socket(s) {}
    // A complete reply with Content-Length (no body for HEAD is the caller's choice).
    void Reply(int status, const std::string& body, const std::string& contentType = "text/plain",
               const std::string& extraHeaders = {});
    // Raw bytes exactly as given.
    void SendRaw(const std::string& bytes);
    // Closes the connection at once (a cut-off reply).
    void Close();
private:
    SOCKET m_socket;
};

class LocalHttpServer {
public:
    using Handler = std::function<void(const HttpRequest&, HttpConnection&)>;
    explicit LocalHttpServer(Handler handler);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    unsigned short Port() const { return m_port; }
    // "http://127.0.0.1:PORT" (no trailing slash).
    std::wstring BaseUrl() const;
    // Requests seen so far, in arrival order.
    std::vector<HttpRequest> Requests() const;
    // Set while the server shuts down; a slow handler polls it to end early.
    bool Stopping() const { return m_stop; }
    // Sleeps up to ms, ending early when the server stops.
    void Wait(int ms) const;

private:
    void AcceptLoop();
    void Serve(SOCKET s);

    Handler m_handler;
    SOCKET m_listen = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_acceptThread;
    mutable std::mutex m_mutex;
    std::vector<std::thread> m_workers;
    std::vector<SOCKET> m_open;
    std::vector<HttpRequest> m_requests;
};

}  // namespace testsupport
