#pragma once
// The class library's exceptions, thrown by value and caught by reference.
#include <windows.h>

#include <exception>

#include "classlib/CString.h"

class CException : public std::exception {
public:
    CException() = default;
    const char* what() const noexcept override { return "class library exception"; }
    // The user-readable reason; FALSE when there is none.
    virtual BOOL GetErrorMessage(wchar_t* buffer, UINT maxChars, UINT* helpContext = nullptr) const;
    CString GetErrorText() const;
};

class CMemoryException : public CException {
public:
    const char* what() const noexcept override { return "out of memory"; }
};

class CNotSupportedException : public CException {
public:
    const char* what() const noexcept override { return "not supported"; }
};

// An index, pointer or argument outside what the call accepts.
class CInvalidArgException : public CException {
public:
    const char* what() const noexcept override { return "invalid argument"; }
};

class CFileException : public CException {
public:
    enum {
        none, genericException, fileNotFound, badPath, tooManyOpenFiles, accessDenied,
        invalidFile, removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation,
        lockViolation, diskFull, endOfFile
    };
    CFileException(int cause = none, LONG osError = -1, const wchar_t* fileName = nullptr)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}
    const char* what() const noexcept override { return "file exception"; }
    BOOL GetErrorMessage(wchar_t* buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
    // The cause that matches a Windows error code.
    static int OsErrorToException(LONG osError);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException {
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    CArchiveException(int cause = none, const wchar_t* fileName = nullptr) : m_cause(cause), m_strFileName(fileName) {}
    const char* what() const noexcept override { return "archive exception"; }
    int m_cause;
    CString m_strFileName;
};

// A failure of the Internet (WinINet) classes with its Windows error code.
class CInternetException : public CException {
public:
    explicit CInternetException(DWORD error) : m_dwError(error) {}
    const char* what() const noexcept override { return "internet exception"; }
    BOOL GetErrorMessage(wchar_t* buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
    DWORD m_dwError;
};

[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, const wchar_t* fileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, const wchar_t* fileName = nullptr);
[[noreturn]] void AfxThrowInternetException(DWORD error);
