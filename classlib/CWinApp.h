#pragma once
// The application object: one per program. Holds the settings-file name and the
// private-profile (INI) access every part uses through AfxGetApp().
#include <windows.h>

#include "classlib/CString.h"

class CWinApp {
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Settings file used by the profile functions (a full path to an INI file).
    void SetProfileName(const wchar_t* path);
    const wchar_t* GetProfileName() const { return m_profileName; }

    UINT GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const;
    CString GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue = nullptr) const;
    BOOL WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value);
    BOOL WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value);

    CString m_appName;

private:
    CString m_profileName;
};

// The one application object, or nullptr before it is built.
CWinApp* AfxGetApp();
