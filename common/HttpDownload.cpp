#include "common/HttpDownload.h"

#include "common/FileUtil.h"
#include "common/LogWriter.h"

#include <wininet.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr UINT kAppTitleId = 57344;
constexpr DWORD kReadSize = 262144;

CString DefaultAgent()
{
    CString title;
    if (!title.LoadString(kAppTitleId) || title.IsEmpty())
        title = L"Halvern PC Application";
    return title;
}

CString InternetErrorText(DWORD err)
{
    wchar_t msg[512] = L"";
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    HMODULE wininet = GetModuleHandleW(L"wininet.dll");
    if (err >= INTERNET_ERROR_BASE && err <= INTERNET_ERROR_LAST && wininet)
        flags = FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;
    FormatMessageW(flags, wininet, err, 0, msg, 512, nullptr);
    CString text(msg);
    text.TrimRight();
    return text;
}

// Shared by the caller and the worker that does the transfer. WinINet's own
// time-outs are not honoured everywhere, so the caller watches the worker's
// progress and closes its handles when a phase takes too long; if even that does
// not free the worker, the caller gives up on it and the worker cleans up alone.
struct Transfer {
    std::mutex lock;
    HINTERNET session = nullptr;
    HINTERNET request = nullptr;
    ULONGLONG phaseStart = 0;  // tick of the last progress
    ULONGLONG phaseLimit = 0;  // milliseconds the current phase may take
    bool abandoned = false;    // the caller returned; nothing may reach localPath
    bool finished = false;
    bool success = false;
    HANDLE done = nullptr;

    CString url, agent, localPath;
    DWORD timeoutMs = 0, retries = 0;

    ~Transfer()
    {
        if (done)
            CloseHandle(done);
    }

    void StartPhase(ULONGLONG limit)
    {
        std::lock_guard<std::mutex> g(lock);
        phaseStart = GetTickCount64();
        phaseLimit = limit;
    }
    // Closes the handles; the worker sees its blocked call fail.
    void CloseHandles()
    {
        std::lock_guard<std::mutex> g(lock);
        if (request)
            InternetCloseHandle(request);
        if (session)
            InternetCloseHandle(session);
        request = session = nullptr;
    }
};

void LogInternetError(DWORD err)
{
    WriteLogF(L"GetHttpFile CInternetException Err:%d msg:%s", static_cast<int>(err),
              static_cast<const wchar_t*>(InternetErrorText(err)));
}

bool RunTransfer(Transfer& t)
{
    HINTERNET session = InternetOpenW(DefaultAgent(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session) {
        LogInternetError(GetLastError());
        return false;
    }
    {
        std::lock_guard<std::mutex> g(t.lock);
        if (t.abandoned) {
            InternetCloseHandle(session);
            return false;
        }
        t.session = session;
    }
    DWORD timeout = t.timeoutMs, retries = t.retries;
    InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionW(session, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionW(session, INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionW(session, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
    if (!t.agent.IsEmpty()) {
        InternetSetOptionW(session, INTERNET_OPTION_USER_AGENT, const_cast<wchar_t*>(t.agent.GetString()),
                           t.agent.GetLength());
        WriteLogF(L"GetHttpFile UserAgent:%s", t.agent.GetString());
    }

    // Connecting may be tried retries + 1 times, then the reply is awaited.
    t.StartPhase(static_cast<ULONGLONG>(timeout) * (retries + 2ULL));
    HINTERNET request = InternetOpenUrlW(session, t.url, nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                                             INTERNET_FLAG_NO_COOKIES,
                                         1);
    if (!request) {
        DWORD err = GetLastError();
        WriteLogF(L"GetHttpFile Failed OpenURL URL:%s", t.url.GetString());
        LogInternetError(err);
        return false;
    }
    {
        std::lock_guard<std::mutex> g(t.lock);
        if (!t.session) {  // closed by the caller meanwhile
            InternetCloseHandle(request);
            return false;
        }
        t.request = request;
    }
    WriteLogF(L"GetHttpFile OpenURL URL:%s", t.url.GetString());

    // An error page is not the file asked for.
    DWORD status = 0, size = sizeof status;
    if (HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) &&
        (status < 200 || status > 299)) {
        WriteLogF(L"GetHttpFile HTTP status:%d URL:%s", static_cast<int>(status), t.url.GetString());
        return false;
    }
    // A reply without a single header line is not HTTP (WinINet makes up a
    // "200 OK" for it).
    wchar_t headers[4096];
    size = sizeof headers;
    if (HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, headers, &size, nullptr) && !wcschr(headers, L':')) {
        WriteLogF(L"GetHttpFile no HTTP reply URL:%s", t.url.GetString());
        return false;
    }
    DWORD expected = 0;
    size = sizeof expected;
    bool haveLength =
        HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &expected, &size, nullptr) != FALSE;

    std::wstring temp = MakeSiblingTempName(t.localPath);
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        WriteLogF(L"GetHttpFile Failed Open Local File Path:%s", t.localPath.GetString());
        return false;
    }
    bool ok = true;
    ULONGLONG total = 0;
    std::vector<char> buffer(kReadSize);
    for (;;) {
        t.StartPhase(timeout);
        // A read waits until its whole buffer is filled; ask for what has
        // arrived, so that a slow but steady reply keeps making progress.
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0)) {
            LogInternetError(GetLastError());
            ok = false;
            break;
        }
        DWORD want = available == 0 ? 1 : std::min(available, kReadSize);
        DWORD got = 0;
        if (!InternetReadFile(request, buffer.data(), want, &got)) {
            LogInternetError(GetLastError());
            ok = false;
            break;
        }
        WriteLogF(L"GetHttpFile Read size:%d", static_cast<int>(got));
        if (got == 0)
            break;  // the end of the data; a short read before it is no end
        DWORD put = 0;
        if (!WriteFile(file, buffer.data(), got, &put, nullptr) || put != got) {
            WriteLogF(L"GetHttpFile CFileException Err:%d msg:%s", static_cast<int>(GetLastError()),
                      t.localPath.GetString());
            ok = false;
            break;
        }
        total += got;
    }
    if (ok && haveLength && total != expected) {
        WriteLogF(L"GetHttpFile Read %I64u of %u bytes URL:%s", total, expected, t.url.GetString());
        ok = false;  // the connection ended early
    }
    ok = CloseHandle(file) && ok;
    {
        std::lock_guard<std::mutex> g(t.lock);
        ok = ok && !t.abandoned &&
             MoveFileExW(temp.c_str(), t.localPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (ok)
            t.success = true;
    }
    if (!ok)
        DeleteFileW(temp.c_str());
    else
        WriteLogF(L"GetHttpFile Open Local File Path:%s", t.localPath.GetString());
    return ok;
}

void Worker(std::shared_ptr<Transfer> t)
{
    try {
        RunTransfer(*t);
    } catch (...) {
        WriteLog(L"GetHttpFile other error");
    }
    t->CloseHandles();
    std::lock_guard<std::mutex> g(t->lock);
    t->finished = true;
    SetEvent(t->done);
}

}  // namespace

BOOL GetHttpFile(const wchar_t* url, const wchar_t* agent, const wchar_t* localPath, DWORD timeoutMs, DWORD retries,
                 const volatile LONG* cancel)
{
    if (!url || !*url || !localPath || !*localPath)
        return FALSE;
    auto t = std::make_shared<Transfer>();
    t->url = url;
    // The option takes at most 259 characters, like the agent buffer it replaces.
    t->agent = CString(agent).Left(259);
    t->localPath = localPath;
    t->timeoutMs = timeoutMs ? timeoutMs : 1;
    t->retries = retries;
    t->phaseStart = GetTickCount64();
    t->phaseLimit = static_cast<ULONGLONG>(t->timeoutMs) * (retries + 2ULL);
    t->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!t->done)
        return FALSE;
    try {
        std::thread(Worker, t).detach();
    } catch (const std::system_error&) {
        return FALSE;
    }

    constexpr DWORD kSlice = 50;
    // Closing the handles frees a blocked worker at once on Windows; under Wine
    // it does not, and the worker is left behind after this grace.
    constexpr ULONGLONG kCloseGraceMs = 2000;
    ULONGLONG closedAt = 0;
    for (;;) {
        if (WaitForSingleObject(t->done, kSlice) == WAIT_OBJECT_0)
            break;
        ULONGLONG now = GetTickCount64();
        if (!closedAt) {
            bool expired;
            {
                std::lock_guard<std::mutex> g(t->lock);
                expired = now - t->phaseStart > t->phaseLimit;
            }
            if (cancel && *cancel) {
                WriteLogF(L"GetHttpFile cancelled URL:%s", url);
                t->CloseHandles();
                closedAt = now;
            } else if (expired) {
                WriteLogF(L"GetHttpFile time-out URL:%s", url);
                t->CloseHandles();
                closedAt = now;
            }
        } else if (now - closedAt > kCloseGraceMs) {
            // Closing did not free the worker: leave it; it cleans up when it can.
            std::lock_guard<std::mutex> g(t->lock);
            if (!t->finished) {
                t->abandoned = true;
                return FALSE;
            }
            break;
        }
    }
    std::lock_guard<std::mutex> g(t->lock);
    return t->success ? TRUE : FALSE;
}
