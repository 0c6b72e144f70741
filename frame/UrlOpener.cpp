#include "frame/UrlOpener.h"

#include <shellapi.h>

#include <atomic>

namespace {
std::atomic<BrowserHook> g_hook{nullptr};
}  // namespace

void SetBrowserHook(BrowserHook hook)
{
    g_hook = hook;
}

void OpenInBrowser(HWND parent, const wchar_t* address)
{
    if (!address || !*address)
        return;
    if (const BrowserHook hook = g_hook) {
        hook(parent, address);
        return;
    }
    ::ShellExecuteW(parent, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
}
