#pragma once
// The application object: one per program. Holds the settings-file name and the
// private-profile (INI) access every part uses through AfxGetApp(), and runs the
// program: InitInstance, the message loop with its idle passes, ExitInstance.
//
// Program entry: wWinMain calls AfxWinMain(instance, prev, cmdLine, show) with
// the one CWinApp-derived object already constructed (a static object).
// AfxWinMain stores the arguments in the object, calls InitInstance; on TRUE it
// returns Run() (the loop until WM_QUIT, then ExitInstance's result); on FALSE
// it destroys m_pMainWnd if set and returns ExitInstance(). Destroying the main
// window posts WM_QUIT with 0.
#include <windows.h>

#include <exception>

#include "classlib/CCmdTarget.h"
#include "classlib/CString.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;

    // Settings file used by the profile functions (a full path to an INI file).
    void SetProfileName(const wchar_t* path);
    const wchar_t* GetProfileName() const { return m_profileName; }

    UINT GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const;
    CString GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue = nullptr) const;
    BOOL WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value);
    BOOL WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value);

    // Start-up; FALSE ends the program before the message loop.
    virtual BOOL InitInstance() { return TRUE; }
    // The main loop: messages through AfxPumpMessage, and when the queue is
    // empty OnIdle(0), OnIdle(1)... until it returns FALSE or a message comes
    // (a new idle period starts at 0 after any message but paint, caret blink
    // or a mouse move that did not move). Returns ExitInstance() after WM_QUIT.
    virtual int Run();
    // TRUE asks for another idle pass. The base does its work at count 0 and
    // frees temporary wrappers at count 1, where it stops.
    virtual BOOL OnIdle(LONG count);
    // The program's exit code: by default the WM_QUIT code.
    virtual int ExitInstance();
    virtual BOOL PreTranslateMessage(MSG* msg);
    // An exception escaped a message handler; reports it and returns the
    // window procedure's answer. Tests and the program may report differently.
    virtual LRESULT ProcessWndProcException(const std::exception& e, const MSG* msg);
    // The report used when no application object exists: a message box.
    static LRESULT DefaultWndProcException(const std::exception& e, const MSG* msg);

    CString m_appName;
    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    const wchar_t* m_lpCmdLine = L"";
    int m_nCmdShow = SW_SHOWNORMAL;

protected:
    int m_exitCode = 0;

private:
    CString m_profileName;
};

// The one application object, or nullptr before it is built.
CWinApp* AfxGetApp();
// The application's main window, or nullptr.
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// Where dialog templates, strings, menus and accelerators are looked up.
HINSTANCE AfxGetResourceHandle();
// Deletes every temporary wrapper (FromHandle); the application does it when idle.
void AfxDeleteTempObjects();
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR cmdLine, int show);
