#include "LocalHttpServer.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace testsupport {

namespace {

const char* StatusText(int status)
{
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

struct WinsockInit {
    WinsockInit() { WSADATA d; WSAStartup(MAKEWORD(2, 2), &d); }
};

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

void HttpConnection::Reply(int status, const std::string& body, const std::string& contentType,
                           const std::string& extraHeaders)
{
    char head[512];
    std::snprintf(head, sizeof head, "HTTP/1.1 %d %s\r\nContent-Type: %s\r\nContent-Length: %u\r\nConnection: close\r\n",
                  status, StatusText(status), contentType.c_str(), static_cast<unsigned>(body.size()));
    SendRaw(std::string(head) + extraHeaders + "\r\n" + body);
}

void HttpConnection::SendRaw(const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        int n = send(m_socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0)
            return;
        sent += n;
    }
}

void HttpConnection::Close()
{
    shutdown(m_socket, SD_BOTH);
}

LocalHttpServer::LocalHttpServer(Handler handler) : m_handler(std::move(handler))
{
    static WinsockInit init;
    m_listen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_listen == INVALID_SOCKET)
        throw std::runtime_error("socket failed");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;  // a free port
    if (bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(m_listen, 16) != 0)
        throw std::runtime_error("bind/listen on 127.0.0.1 failed");
    int len = sizeof addr;
    getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

LocalHttpServer::~LocalHttpServer()
{
    m_stop = true;
    closesocket(m_listen);
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (SOCKET s : m_open)
            shutdown(s, SD_BOTH);
    }
    for (auto& t : m_workers)
        if (t.joinable())
            t.join();
}

std::wstring LocalHttpServer::BaseUrl() const
{
    return L"http://127.0.0.1:" + std::to_wstring(m_port);
}

std::vector<HttpRequest> LocalHttpServer::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

void LocalHttpServer::Wait(int ms) const
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!m_stop && std::chrono::steady_clock::now() < end)
        Sleep(10);
}

void LocalHttpServer::AcceptLoop()
{
    while (!m_stop) {
        SOCKET s = accept(m_listen, nullptr, nullptr);
        if (s == INVALID_SOCKET)
            break;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open.push_back(s);
        m_workers.emplace_back([this, s] { Serve(s); });
    }
}

void LocalHttpServer::Serve(SOCKET s)
{
    std::string data;
    char buf[4096];
    size_t headerEnd = std::string::npos;
    while (headerEnd == std::string::npos) {
        int n = recv(s, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        data.append(buf, n);
        headerEnd = data.find("\r\n\r\n");
    }
    if (headerEnd != std::string::npos) {
        HttpRequest req;
        size_t lineEnd = data.find("\r\n");
        std::string first = data.substr(0, lineEnd);
        size_t sp1 = first.find(' '), sp2 = first.rfind(' ');
        req.method = first.substr(0, sp1);
        req.target = sp2 > sp1 ? first.substr(sp1 + 1, sp2 - sp1 - 1) : "";
        size_t pos = lineEnd + 2;
        while (pos < headerEnd) {
            size_t e = data.find("\r\n", pos);
            std::string line = data.substr(pos, e - pos);
            size_t colon = line.find(':');
            if (colon != std::string::npos) {
                std::string value = line.substr(colon + 1);
                value.erase(0, value.find_first_not_of(' '));
                req.headers[Lower(line.substr(0, colon))] = value;
            }
            pos = e + 2;
        }
        size_t want = 0;
        if (auto it = req.headers.find("content-length"); it != req.headers.end())
            want = std::strtoul(it->second.c_str(), nullptr, 10);
        req.body = data.substr(headerEnd + 4);
        while (req.body.size() < want) {
            int n = recv(s, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            req.body.append(buf, n);
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_requests.push_back(req);
        }
        HttpConnection conn(s);
        m_handler(req, conn);
    }
    shutdown(s, SD_SEND);
    // Let the client read the reply before the socket goes away.
    while (recv(s, buf, sizeof buf, 0) > 0) {
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open.erase(std::remove(m_open.begin(), m_open.end(), s), m_open.end());
    closesocket(s);
}

}  // namespace testsupport
