#include "classlib/CWinApp.h"

#include <vector>

namespace {
CWinApp* g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CWinApp::CWinApp(const wchar_t* appName) : m_appName(appName)
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::SetProfileName(const wchar_t* path)
{
    m_profileName = path;
}

UINT CWinApp::GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const
{
    return GetPrivateProfileIntW(section, entry, defaultValue, m_profileName);
}

CString CWinApp::GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) const
{
    // The API truncates silently; grow until the value fits.
    std::vector<wchar_t> buf(256);
    for (;;) {
        DWORD n = GetPrivateProfileStringW(section, entry, defaultValue ? defaultValue : L"", buf.data(),
                                           static_cast<DWORD>(buf.size()), m_profileName);
        if (n + 1 < buf.size())
            return CString(buf.data(), static_cast<int>(n));
        buf.resize(buf.size() * 2);
    }
}

BOOL CWinApp::WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value)
{
    wchar_t text[16];
    swprintf(text, 16, L"%d", value);
    return WritePrivateProfileStringW(section, entry, text, m_profileName);
}

BOOL CWinApp::WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value)
{
    return WritePrivateProfileStringW(section, entry, value, m_profileName);
}
