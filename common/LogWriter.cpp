#include "common/LogWriter.h"

#include <shlwapi.h>

#include <atomic>
#include <mutex>

namespace {
std::mutex g_logMutex;  // whole lines from several threads, never mixed
std::atomic<bool> g_logEnabled{false};
}  // namespace

void SetLogEnabled(bool on)
{
    g_logEnabled = on;
}

CString GetLogFilePath()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH - 4)
        return CString();
    PathRenameExtensionW(path, L".txt");
    return CString(path);
}

void WriteLog(const wchar_t* text)
{
    if (!text || !g_logEnabled)
        return;
    SYSTEMTIME t;
    GetLocalTime(&t);
    CString line;
    line.Format(L"%04d/%02d/%02d %02d:%02d:%02d:%03d\t\t%s\n", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond, t.wMilliseconds, text);
    CString path = GetLogFilePath();
    if (path.IsEmpty())
        return;
    std::lock_guard<std::mutex> lock(g_logMutex);
    try {
        CStdioFile file;
        if (!file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::typeText))
            return;
        file.SeekToEnd();
        file.WriteString(line);
        file.Close();
    } catch (const CException&) {
        // The log must never take its caller down.
    }
}

void WriteLogF(const wchar_t* format, ...)
{
    if (!format || !g_logEnabled)
        return;
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    WriteLog(text);
}
