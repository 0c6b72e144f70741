#pragma once
// Process-wide log of HTTP failures: a three-letter code with the local time of
// each. The callers read the last code to explain a failed request. Workers and
// callers append from several threads, so every access takes the log's lock.
#include <windows.h>

#include <mutex>

#include "classlib/CArray.h"
#include "classlib/CString.h"

struct HTTP_ERROR_LOG {
    SYSTEMTIME time;   // local time of the entry
    WCHAR code[4];     // three letters and a zero
};

class CHttpErrorLog {
public:
    // Older entries are dropped beyond this many, so a long session does not
    // grow the log without bound.
    static constexpr INT_PTR kMaxEntries = 4096;

    void Add(LPCWSTR code);
    // "E00" when the log is empty.
    CString GetLast() const;
    INT_PTR GetCount() const;
    // A copy of every entry, oldest first.
    CArray<HTTP_ERROR_LOG> GetEntries() const;

private:
    mutable std::mutex m_lock;
    CArray<HTTP_ERROR_LOG> m_entries;
};

// Never destroyed: a worker still blocked in WinHTTP when the process ends may
// append to it while static objects are being destroyed.
extern CHttpErrorLog& theHttpErrorLog;

void AddHttpErrorLog(LPCWSTR code);
CString GetLastHttpError();
