#include "common/HttpErrorLog.h"

namespace {

// Made on first use, so that code running before or after main() can log too.
CHttpErrorLog& Instance()
{
    static CHttpErrorLog* log = new CHttpErrorLog;
    return *log;
}

}  // namespace

CHttpErrorLog& theHttpErrorLog = Instance();

void CHttpErrorLog::Add(LPCWSTR code)
{
    HTTP_ERROR_LOG entry{};
    GetLocalTime(&entry.time);
    if (code)
        lstrcpynW(entry.code, code, 4);
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_entries.GetSize() >= kMaxEntries)
        m_entries.RemoveAt(0, kMaxEntries / 4);
    m_entries.Add(entry);
}

CString CHttpErrorLog::GetLast() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_entries.IsEmpty())
        return L"E00";
    return m_entries.GetAt(m_entries.GetUpperBound()).code;
}

INT_PTR CHttpErrorLog::GetCount() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_entries.GetSize();
}

CArray<HTTP_ERROR_LOG> CHttpErrorLog::GetEntries() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    CArray<HTTP_ERROR_LOG> copy;
    copy.Copy(m_entries);
    return copy;
}

void AddHttpErrorLog(LPCWSTR code)
{
    Instance().Add(code);
}

CString GetLastHttpError()
{
    return Instance().GetLast();
}
