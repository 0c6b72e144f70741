#pragma once
// One HTTP or HTTPS request at a time over WinHTTP, on a worker thread of its
// own, so that the calling thread can wait for it together with its own cancel
// event. Failures are also recorded in theHttpErrorLog (HttpErrorLog.h).
//
// Use: Initialize -> OpenRequest -> StartGet or StartPost; wait on the returned
// handle; then read GetResult, GetBody and GetBodySize. Abort (from the waiting
// thread) or Terminate (from any thread) give up on a running request.
//
// The request's handles, buffers and events live in a state object that the
// worker shares; a client may be destroyed while its worker is still blocked in
// WinHTTP, and the worker then frees what is left when it ends.
#include <windows.h>

#include <memory>
#include <mutex>

#include "classlib/CString.h"
#include "common/HttpErrorLog.h"

struct HttpRequestState;

class CHttpClient {
public:
    enum Verb { VERB_GET = 0, VERB_POST = 1, VERB_HEAD = 2 };
    // Result of a response outside 200..299: this plus the status
    // (0x10000194 for 404); the bare value when the status cannot be read.
    static constexpr DWORD RESULT_HTTP_STATUS = 0x10000000;

    CHttpClient();
    ~CHttpClient();
    CHttpClient(const CHttpClient&) = delete;
    CHttpClient& operator=(const CHttpClient&) = delete;

    // Prepares the next request; NULL url or localPath keeps the previous one.
    // FALSE (I01) while a request is still open.
    BOOL Initialize(LPCWSTR url, LPCWSTR localPath);
    // Cracks the URL (its port included), finds the proxy, opens the handles.
    BOOL OpenRequest(int verb);
    // The user's proxy for the URL, or empty for none.
    CString GetProxyForUrl();
    // Start the request; the handle is signalled once the request has ended
    // (completed, failed, aborted or terminated). The client owns it. NULL when
    // the request is not open or already started.
    HANDLE StartGet();
    // A NULL body sends an empty body.
    HANDLE StartPost(const BYTE* body, DWORD length);
    // Stops the request, waiting up to 100 ms for the worker.
    BOOL Abort();
    // Stops the request without waiting and closes its WinHTTP handles.
    BOOL Terminate();

    // Valid once the handle of Start... is signalled: 0 for a complete 2xx
    // response, RESULT_HTTP_STATUS + status, ERROR_REQUEST_ABORTED (1235), or the
    // Windows error of the step that failed (writing the local file included).
    DWORD GetResult() const;
    const BYTE* GetBody() const;
    DWORD GetBodySize() const;

    // A flag the worker sets to 1 when a GET starts (the feed download's
    // cancel waits for it); null: none.
    void SetStartedFlag(volatile int* flag) { m_startedFlag = flag; }

    // Registry key (under HKEY_CURRENT_USER) holding the user's Internet settings.
    static void SetInternetSettingsKey(LPCWSTR subKey);

private:
    HANDLE Start(bool post, const BYTE* body, DWORD length);
    void CloseWorker();

    std::shared_ptr<HttpRequestState> m_state;
    CString m_url;
    CString m_localPath;
    HANDLE m_worker = nullptr;
    volatile int* m_startedFlag = nullptr;
    // Terminate may come from another thread than the owner's.
    std::mutex m_workerLock;
};
