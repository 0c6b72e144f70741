#include "classlib/CWinApp.h"

#include <stdexcept>
#include <vector>

#include "classlib/CImageList.h"
#include "classlib/CMenu.h"
#include "classlib/CWnd.h"
#include "classlib/MessageLoop.h"
#include "classlib/TempMap.h"
#include "classlib/WndException.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_app && g_app->m_hInstance)
        return g_app->m_hInstance;
    return ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

void AfxDeleteTempObjects()
{
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    CImageList::DeleteTempMap();
}

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

// ---------------------------------------------------------------------------
// Running

int CWinApp::Run()
{
    afx::IdlePasses idle;
    MSG peek;
    for (;;) {
        idle.RunWhileQueueEmpty();
        do {
            if (!AfxPumpMessage()) {
                m_exitCode = static_cast<int>(AfxGetLastQuitCode());
                return ExitInstance();
            }
            idle.MessagePumped();
        } while (::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::OnIdle(LONG count)
{
    if (count >= 1)
        AfxDeleteTempObjects();
    return count < 1;
}

int CWinApp::ExitInstance()
{
    return m_exitCode;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    return CWnd::WalkPreTranslateTree(msg);
}

LRESULT CWinApp::ProcessWndProcException(const std::exception& e, const MSG* msg)
{
    return DefaultWndProcException(e, msg);
}

LRESULT CWinApp::DefaultWndProcException(const std::exception& e, const MSG* msg)
{
    CString text = AfxExceptionText(e);
    ::OutputDebugStringW(text);
    ::MessageBoxW(nullptr, text, nullptr, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    return 0;
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int show)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = cmdLine ? cmdLine : L"";
    app->m_nCmdShow = show;
    BOOL started = FALSE;
    try {
        started = app->InitInstance();
    } catch (const std::exception& e) {
        AfxProcessWndProcException(e, nullptr);
        started = FALSE;
    }
    try {
        if (!started) {
            if (app->m_pMainWnd) {
                CWnd* main = app->m_pMainWnd;
                main->DestroyWindow();
                app->m_pMainWnd = nullptr;
            }
            return app->ExitInstance();
        }
        return app->Run();
    } catch (const std::exception& e) {
        // ExitInstance failed: reported, never a silent end.
        AfxProcessWndProcException(e, nullptr);
        return -1;
    }
}
