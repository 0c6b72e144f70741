#pragma once
// One app of the unit: as the apps list service offers it, or as installed on
// the card. Its id names its card folder and its download addresses name its
// files, so both come from the web and are checked before they become paths.
#include "classlib/Afx.h"

enum ApUrlSlot {
    AP_URL_EXE = 0,
    AP_URL_REG = 1,
    AP_URL_IMAGE_NORMAL = 2,
    AP_URL_IMAGE_PUSH = 3,
    AP_URL_IMAGE_DISABLE = 4,
    AP_URL_DESCRIPTION = 5,
    AP_URL_COUNT = 6,
};

// TRUE for a text that can stand as one file or folder name inside the apps
// folder: not empty, at most 255 characters, no separators, wildcards, colons or
// control characters, not "." or "..", no trailing dot or blank, no device name.
BOOL IsSafeAppFileName(const wchar_t* name);
// The file name of a download address: its last component, without a query or
// fragment; empty when there is none or it is not a safe name.
CString AppFileNameFromUrl(const wchar_t* url);

class CDocApRecord {
public:
    CDocApRecord() = default;

    CString GetId() const { return m_id; }
    CString GetName() const { return m_name; }
    CString GetVersion() const { return m_version; }
    CString GetUrl(int slot) const { return slot >= 0 && slot < AP_URL_COUNT ? m_urls[slot] : CString(); }
    CString GetDllUrl(int k) const { return k >= 0 && k < m_dllUrls.GetSize() ? m_dllUrls[k] : CString(); }
    CString GetExeFileName() const { return AppFileNameFromUrl(m_urls[AP_URL_EXE]); }
    CString GetRegFileName() const { return AppFileNameFromUrl(m_urls[AP_URL_REG]); }
    // kind 0 normal, 1 pushed, 2 disabled.
    CString GetImageFileName(int kind) const
    {
        return kind >= 0 && kind <= 2 ? AppFileNameFromUrl(m_urls[AP_URL_IMAGE_NORMAL + kind]) : CString();
    }
    CString GetDllFileName(int k) const { return AppFileNameFromUrl(GetDllUrl(k)); }
    // major x 10000 + minor x 100 + patch; missing parts count 0 ("1.2" is 1.2.0).
    int GetVersionNumber() const;
    // The sum of the installed files' sizes; 0 when one of them is missing.
    LONGLONG GetInstalledSize() const;
    // Deletes the installed files, stopping at the first that stays.
    BOOL DeleteFiles() const;
    // The names of the files an app consists of, in download order of the
    // transfer: program, libraries, normal, pushed, disabled icon, data file.
    // FALSE when an address is set but gives no safe file name.
    BOOL GetFileNames(CStringArray& names) const;

    CString m_id;
    CString m_name;
    int m_applicationId = -1;
    CString m_version;
    LONGLONG m_size = 0;
    CString m_installedFolder;
    WORD m_flag = 0;
    CString m_urls[AP_URL_COUNT];
    CStringArray m_dllUrls;
    int m_checked = 0;
    int m_iconIndex = 0;
};
