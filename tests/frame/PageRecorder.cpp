#include "PageRecorder.h"

#include <mutex>

#include "TestFiles.h"
#include "frame/UrlOpener.h"

namespace {

std::mutex g_lock;
std::wstring g_file;  // under g_lock; empty: pages are dropped

void Record(HWND, const wchar_t* address)
{
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_file.empty())
        return;
    std::string line = testsupport::Utf8(address) + "\n";
    testsupport::Bytes bytes = testsupport::FileExists(g_file) ? testsupport::ReadBytes(g_file) : testsupport::Bytes();
    bytes.insert(bytes.end(), line.begin(), line.end());
    testsupport::WriteBytes(g_file, bytes);
}

// Installed before any test runs.
const bool g_installed = (SetBrowserHook(Record), true);

}  // namespace

PageRecorder::PageRecorder(const std::wstring& file) : m_file(file)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_file = file;
}

PageRecorder::~PageRecorder()
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_file.clear();
}

std::string PageRecorder::Text() const
{
    if (!testsupport::FileExists(m_file))
        return "";
    const testsupport::Bytes bytes = testsupport::ReadBytes(m_file);
    return std::string(bytes.begin(), bytes.end());
}

SystemBrowser::SystemBrowser()
{
    SetBrowserHook(nullptr);
}

SystemBrowser::~SystemBrowser()
{
    SetBrowserHook(Record);
}
