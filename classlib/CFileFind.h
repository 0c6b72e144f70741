#pragma once
// Walks the files matching a pattern ("C:\dir\*.dat").
#include <windows.h>

#include "classlib/CString.h"

class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // TRUE when at least one file matches; then call FindNextFile before reading.
    BOOL FindFile(const wchar_t* pattern = nullptr);
    // TRUE while another file follows the current one.
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const { return m_current.cFileName; }
    CString GetFilePath() const { return m_root + m_current.cFileName; }
    CString GetFileTitle() const;
    CString GetRoot() const { return m_root; }
    ULONGLONG GetLength() const { return (static_cast<ULONGLONG>(m_current.nFileSizeHigh) << 32) | m_current.nFileSizeLow; }
    BOOL GetLastWriteTime(FILETIME* t) const { if (!t) return FALSE; *t = m_current.ftLastWriteTime; return TRUE; }
    BOOL IsDirectory() const { return (m_current.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    BOOL IsReadOnly() const { return (m_current.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0; }
    BOOL IsHidden() const { return (m_current.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0; }
    BOOL IsDots() const;
    DWORD GetAttributes() const { return m_current.dwFileAttributes; }

private:
    HANDLE m_find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_current{};
    WIN32_FIND_DATAW m_next{};
    bool m_hasNext = false;
    CString m_root;  // folder of the pattern, with a trailing backslash
};
