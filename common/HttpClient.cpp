#include "common/HttpClient.h"

#include <winhttp.h>
#include <process.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "common/FileReplace.h"

namespace {

const wchar_t kUserAgent[] = L"10KRTVX/1.000000";
const wchar_t kProxyAgent[] = L"WinHTTP AutoProxy Get/1.0";
const wchar_t kFormHeader[] = L"Content-Type:application/x-www-form-urlencoded";
const DWORD kMaxChunk = 4 * 1024 * 1024;
const DWORD kMaxHostLength = 511;
const DWORD kMaxRegistryText = 1024;

std::mutex g_settingsKeyLock;
std::wstring g_settingsKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::wstring SettingsKey()
{
    std::lock_guard<std::mutex> hold(g_settingsKeyLock);
    return g_settingsKey;
}

}  // namespace

// Everything one request owns. The client and its worker share it; the last of
// them to let go frees it, so nothing the worker uses goes away under it.
struct HttpRequestState {
    HttpRequestState()
        : abortEvent(CreateEventW(nullptr, TRUE, TRUE, nullptr)), doneEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~HttpRequestState()
    {
        CloseInternetHandles();
        if (abortEvent)
            CloseHandle(abortEvent);
        if (doneEvent)
            CloseHandle(doneEvent);
    }
    HttpRequestState(const HttpRequestState&) = delete;
    HttpRequestState& operator=(const HttpRequestState&) = delete;

    bool Aborted() const { return WaitForSingleObject(abortEvent, 0) != WAIT_OBJECT_0; }
    bool HandlesOpen()
    {
        std::lock_guard<std::mutex> hold(lock);
        return session || connection || request;
    }
    // The request handle for the next WinHTTP call; NULL once it was closed.
    HINTERNET Request()
    {
        std::lock_guard<std::mutex> hold(lock);
        return request;
    }
    void CloseInternetHandles()
    {
        std::lock_guard<std::mutex> hold(lock);
        for (HINTERNET* h : {&request, &connection, &session}) {
            if (*h) {
                WinHttpCloseHandle(*h);
                *h = nullptr;
            }
        }
    }
    // Stores the outcome once: the first of the worker and a cancellation wins.
    void Finish(DWORD r, std::vector<BYTE>* received)
    {
        CloseInternetHandles();
        {
            std::lock_guard<std::mutex> hold(lock);
            if (!finished) {
                finished = true;
                result = r;
                if (received)
                    body.swap(*received);
            }
        }
        SetEvent(doneEvent);
    }

    std::mutex lock;
    HINTERNET session = nullptr, connection = nullptr, request = nullptr;  // under lock
    HANDLE abortEvent;  // manual reset; signalled means run, reset means abort
    HANDLE doneEvent;   // manual reset; set when the outcome is stored
    int verb = CHttpClient::VERB_GET;
    bool started = false;
    bool finished = false;  // under lock
    DWORD result = 0;       // under lock
    std::vector<BYTE> body;
    std::vector<BYTE> postData;
    std::wstring localPath;
    volatile int* startedFlag = nullptr;
};

namespace {

// Reads the response; the body is collected into body.
DWORD ReceiveResponse(HttpRequestState& state, std::vector<BYTE>& body)
{
    if (state.Aborted())
        return ERROR_REQUEST_ABORTED;
    HINTERNET request = state.Request();
    if (!request)
        return ERROR_REQUEST_ABORTED;
    if (!WinHttpReceiveResponse(request, nullptr)) {
        DWORD error = GetLastError();
        AddHttpErrorLog(L"D01");
        return error;
    }
    if (state.Aborted() || !(request = state.Request()))
        return ERROR_REQUEST_ABORTED;

    DWORD size = 0;
    if (WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                            WINHTTP_NO_HEADER_INDEX) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        AddHttpErrorLog(L"D02");
        return CHttpClient::RESULT_HTTP_STATUS;
    }
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size,
                             WINHTTP_NO_HEADER_INDEX))
        return GetLastError();
    long status = _wtol(text.data());
    if (status < 200 || status > 299) {
        AddHttpErrorLog(L"D02");
        return CHttpClient::RESULT_HTTP_STATUS + static_cast<DWORD>(status & 0xFFFF);
    }

    body.clear();
    DWORD result = 0;
    for (;;) {
        DWORD available = 0;
        if (!(request = state.Request()))
            return ERROR_REQUEST_ABORTED;
        if (!WinHttpQueryDataAvailable(request, &available)) {
            DWORD error = GetLastError();
            AddHttpErrorLog(L"D03");
            Sleep(10);
            body.clear();
            return error;
        }
        if (state.Aborted()) {
            body.clear();
            return ERROR_REQUEST_ABORTED;
        }
        if (available == 0)
            break;
        DWORD chunk = std::min(available, kMaxChunk);
        size_t kept = body.size();
        try {
            body.resize(kept + chunk);
        } catch (const std::bad_alloc&) {
            AddHttpErrorLog(L"D04");
            body.clear();
            return ERROR_NOT_ENOUGH_MEMORY;
        }
        DWORD read = 0;
        if (!(request = state.Request()))
            return ERROR_REQUEST_ABORTED;
        if (!WinHttpReadData(request, body.data() + kept, chunk, &read)) {
            // A failed read ends the body: what came before it is kept.
            result = GetLastError();
            AddHttpErrorLog(L"D05");
            body.resize(kept);
            break;
        }
        body.resize(kept + read);
        if (read == 0)
            break;
    }
    // A connection closed before the announced length is not a complete
    // response, although WinHTTP here reports a clean end.
    DWORD announced = 0, size2 = sizeof announced;
    if (result == 0 && state.verb != CHttpClient::VERB_HEAD && (request = state.Request()) &&
        WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &announced, &size2, WINHTTP_NO_HEADER_INDEX) &&
        body.size() < announced) {
        AddHttpErrorLog(L"D05");
        result = ERROR_WINHTTP_CONNECTION_ERROR;
    }
    return result;
}

// Writes the body to the local path; 0 or the Windows error of the failed step.
DWORD SaveBody(const HttpRequestState& state, const std::vector<BYTE>& body)
{
    if (body.empty() || state.localPath.empty()) {
        AddHttpErrorLog(L"F01");
        return 0;
    }
    DWORD error = 0;
    if (WriteFileReplacing(state.localPath.c_str(), body.data(), body.size(), &error))
        return 0;
    bool writeFailed = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL || error == ERROR_WRITE_FAULT;
    AddHttpErrorLog(writeFailed ? L"F03" : L"F02");
    return error ? error : ERROR_WRITE_FAULT;
}

unsigned __stdcall RequestWorker(void* arg)
{
    std::shared_ptr<HttpRequestState> state(std::move(*static_cast<std::shared_ptr<HttpRequestState>*>(arg)));
    delete static_cast<std::shared_ptr<HttpRequestState>*>(arg);
    const bool post = state->verb == CHttpClient::VERB_POST;
    std::vector<BYTE> body;
    DWORD result = 0;
    if (!post && state->startedFlag)
        *state->startedFlag = 1;

    if (!post && state->Aborted()) {
        result = ERROR_REQUEST_ABORTED;
    } else {
        for (int tries = 1;; ++tries) {
            HINTERNET request = state->Request();
            if (!request) {
                result = ERROR_REQUEST_ABORTED;
                break;
            }
            BOOL sent = post ? WinHttpSendRequest(request, kFormHeader, static_cast<DWORD>(-1),
                                                  state->postData.empty() ? nullptr : state->postData.data(),
                                                  static_cast<DWORD>(state->postData.size()),
                                                  static_cast<DWORD>(state->postData.size()), 0)
                             : WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                                                  0, 0, 0);
            if (sent) {
                result = ReceiveResponse(*state, body);
                if (result == 0 && !state->localPath.empty())
                    result = SaveBody(*state, body);
                break;
            }
            result = GetLastError();
            if (!post)
                Sleep(10);
            AddHttpErrorLog(post ? L"J01" : L"H01");
            if (result != ERROR_WINHTTP_TIMEOUT || tries >= 3)
                break;
        }
    }
    state->Finish(result, &body);
    return result;
}

}  // namespace

CHttpClient::CHttpClient() : m_state(std::make_shared<HttpRequestState>())
{
}

CHttpClient::~CHttpClient()
{
    // A worker still running sees the abort at its next step and ends on its own;
    // closing the handles also fails a blocked WinHTTP call out where Windows can.
    ResetEvent(m_state->abortEvent);
    m_state->Finish(ERROR_REQUEST_ABORTED, nullptr);
    CloseWorker();
}

void CHttpClient::SetInternetSettingsKey(LPCWSTR subKey)
{
    std::lock_guard<std::mutex> hold(g_settingsKeyLock);
    g_settingsKey = subKey ? subKey : L"";
}

void CHttpClient::CloseWorker()
{
    std::lock_guard<std::mutex> hold(m_workerLock);
    if (m_worker) {
        CloseHandle(m_worker);
        m_worker = nullptr;
    }
}

BOOL CHttpClient::Initialize(LPCWSTR url, LPCWSTR localPath)
{
    if (m_state->HandlesOpen()) {
        AddHttpErrorLog(L"I01");
        return FALSE;
    }
    CloseWorker();
    // A fresh state: its own abort event, no body, no post data. A worker of an
    // earlier request that still runs keeps its own.
    m_state = std::make_shared<HttpRequestState>();
    if (url)
        m_url = url;
    if (localPath)
        m_localPath = localPath;
    return TRUE;
}

BOOL CHttpClient::OpenRequest(int verb)
{
    if (verb < 0 || verb > 2) {
        AddHttpErrorLog(L"N01");
        return FALSE;
    }
    HttpRequestState& state = *m_state;
    if (state.started || state.HandlesOpen())
        return FALSE;
    state.verb = verb;
    if (m_url.IsEmpty()) {
        AddHttpErrorLog(L"N02");
        return FALSE;
    }
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength =
        static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(m_url, 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) ||
        parts.dwHostNameLength == 0 || parts.dwHostNameLength > kMaxHostLength) {
        AddHttpErrorLog(L"N03");
        return FALSE;
    }
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    // The path and everything after it.
    std::wstring object = parts.lpszUrlPath ? parts.lpszUrlPath : L"";
    if (object.empty() || object[0] != L'/')
        object.insert(0, 1, L'/');

    CString proxy = GetProxyForUrl();
    HINTERNET session = proxy.IsEmpty()
                            ? WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                          WINHTTP_NO_PROXY_BYPASS, 0)
                            : WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session) {
        AddHttpErrorLog(L"N04");
        return FALSE;
    }
    // The port written in the URL, or the scheme's own (cracking fills it in).
    HINTERNET connection = WinHttpConnect(session, host.c_str(), parts.nPort, 0);
    if (!connection) {
        AddHttpErrorLog(L"N05");
        WinHttpCloseHandle(session);
        return FALSE;
    }
    static const wchar_t* const verbs[] = {L"GET", L"POST", L"HEAD"};
    const wchar_t* accept[] = {L"*/*", nullptr};
    // Certificates are checked as WinHTTP does by default.
    HINTERNET request = WinHttpOpenRequest(connection, verbs[verb], object.c_str(), nullptr, WINHTTP_NO_REFERER, accept,
                                           WINHTTP_FLAG_REFRESH | (secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) {
        AddHttpErrorLog(L"N06");
        WinHttpCloseHandle(connection);
        WinHttpCloseHandle(session);
        return FALSE;
    }
    std::lock_guard<std::mutex> hold(state.lock);
    state.session = session;
    state.connection = connection;
    state.request = request;
    return TRUE;
}

CString CHttpClient::GetProxyForUrl()
{
    CString proxy;
    HINTERNET session = WinHttpOpen(kProxyAgent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session)
        return proxy;

    HKEY key = nullptr;
    const std::wstring keyName = SettingsKey();
    const bool keyOpen = RegOpenKeyExW(HKEY_CURRENT_USER, keyName.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    auto readText = [&](const wchar_t* name, CString& value) {
        wchar_t buffer[kMaxRegistryText + 1] = {};
        DWORD size = kMaxRegistryText * sizeof(wchar_t);
        DWORD type = 0;
        if (!keyOpen || RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return false;
        buffer[std::min<DWORD>(size / sizeof(wchar_t), kMaxRegistryText)] = L'\0';
        value = buffer;
        return true;
    };

    CString configUrl;
    if (keyOpen && !readText(L"AutoConfigURL", configUrl))
        AddHttpErrorLog(L"G01");

    WINHTTP_AUTOPROXY_OPTIONS options{};
    if (!configUrl.IsEmpty()) {
        options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = configUrl;
    } else {
        options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT;
        options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    options.fAutoLogonIfChallenged = TRUE;
    WINHTTP_PROXY_INFO info{};
    if (WinHttpGetProxyForUrl(session, m_url, &options, &info)) {
        AddHttpErrorLog(info.dwAccessType == WINHTTP_ACCESS_TYPE_DEFAULT_PROXY ? L"G02"
                        : info.dwAccessType == WINHTTP_ACCESS_TYPE_NO_PROXY    ? L"G03"
                                                                               : L"G04");
        if (info.lpszProxy)
            proxy = info.lpszProxy;
        if (info.lpszProxy)
            GlobalFree(info.lpszProxy);
        if (info.lpszProxyBypass)
            GlobalFree(info.lpszProxyBypass);
    } else {
        AddHttpErrorLog(L"G05");
    }
    WinHttpCloseHandle(session);

    if (proxy.IsEmpty()) {
        DWORD enable = 0, size = sizeof enable, type = 0;
        if (!keyOpen || RegQueryValueExW(key, L"ProxyEnable", nullptr, &type, reinterpret_cast<BYTE*>(&enable), &size) !=
                            ERROR_SUCCESS ||
            type != REG_DWORD) {
            AddHttpErrorLog(L"G07");
        } else if (enable && !readText(L"ProxyServer", proxy)) {
            AddHttpErrorLog(L"G06");
        }
    }
    if (key)
        RegCloseKey(key);
    return proxy;
}

HANDLE CHttpClient::Start(bool post, const BYTE* body, DWORD length)
{
    HttpRequestState& state = *m_state;
    {
        std::lock_guard<std::mutex> hold(state.lock);
        if (state.started || !state.session || !state.connection || !state.request)
            return nullptr;
        state.started = true;
    }
    SetEvent(state.abortEvent);
    if (post) {
        state.verb = VERB_POST;
        if (body)
            state.postData.assign(body, body + length);
    }
    state.localPath = m_localPath.str();
    state.startedFlag = m_startedFlag;
    auto* arg = new std::shared_ptr<HttpRequestState>(m_state);
    uintptr_t thread = _beginthreadex(nullptr, 0, RequestWorker, arg, 0, nullptr);
    if (!thread) {
        delete arg;
        state.Finish(ERROR_NOT_ENOUGH_MEMORY, nullptr);
        return nullptr;
    }
    std::lock_guard<std::mutex> hold(m_workerLock);
    m_worker = reinterpret_cast<HANDLE>(thread);
    return state.doneEvent;
}

HANDLE CHttpClient::StartGet()
{
    return Start(false, nullptr, 0);
}

HANDLE CHttpClient::StartPost(const BYTE* body, DWORD length)
{
    return Start(true, body, length);
}

BOOL CHttpClient::Abort()
{
    ResetEvent(m_state->abortEvent);
    std::unique_lock<std::mutex> hold(m_workerLock);
    if (!m_worker)
        return TRUE;
    DWORD wait = WaitForSingleObject(m_worker, 100);
    if (wait == WAIT_FAILED) {
        AddHttpErrorLog(L"A02");
        return FALSE;
    }
    CloseHandle(m_worker);
    m_worker = nullptr;
    if (wait == WAIT_OBJECT_0)
        return TRUE;
    AddHttpErrorLog(L"A01");
    // The worker is stuck in WinHTTP: the request counts as aborted from now on.
    m_state->Finish(ERROR_REQUEST_ABORTED, nullptr);
    return FALSE;
}

BOOL CHttpClient::Terminate()
{
    std::shared_ptr<HttpRequestState> state = m_state;
    ResetEvent(state->abortEvent);
    {
        std::lock_guard<std::mutex> hold(m_workerLock);
        if (m_worker) {
            if (WaitForSingleObject(m_worker, 0) == WAIT_FAILED)
                AddHttpErrorLog(L"T01");
            CloseHandle(m_worker);
            m_worker = nullptr;
        }
    }
    // Closing the handles fails a blocked WinHTTP call out (where WinHTTP allows),
    // and the waiting caller is released at once either way.
    state->Finish(ERROR_REQUEST_ABORTED, nullptr);
    return TRUE;
}

DWORD CHttpClient::GetResult() const
{
    std::lock_guard<std::mutex> hold(m_state->lock);
    return m_state->result;
}

const BYTE* CHttpClient::GetBody() const
{
    std::lock_guard<std::mutex> hold(m_state->lock);
    return m_state->body.empty() ? nullptr : m_state->body.data();
}

DWORD CHttpClient::GetBodySize() const
{
    std::lock_guard<std::mutex> hold(m_state->lock);
    return static_cast<DWORD>(m_state->body.size());
}
