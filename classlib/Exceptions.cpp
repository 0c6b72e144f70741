#include "classlib/Exceptions.h"

#include <wininet.h>

namespace {

BOOL CopyOut(const CString& text, wchar_t* buffer, UINT maxChars)
{
    if (!buffer || maxChars == 0)
        return FALSE;
    lstrcpynW(buffer, text, static_cast<int>(maxChars));
    return TRUE;
}

CString SystemMessage(DWORD code, HMODULE module = nullptr)
{
    wchar_t* text = nullptr;
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                  (module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
    CString result;
    if (FormatMessageW(flags, module, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr) && text) {
        result = text;
        result.TrimRight();
        LocalFree(text);
    }
    return result;
}

}  // namespace

BOOL CException::GetErrorMessage(wchar_t* buffer, UINT maxChars, UINT*) const
{
    if (buffer && maxChars)
        *buffer = 0;
    return FALSE;
}

CString CException::GetErrorText() const
{
    wchar_t buf[512] = {};
    if (!GetErrorMessage(buf, 512))
        return CString(what());
    return CString(buf);
}

BOOL CFileException::GetErrorMessage(wchar_t* buffer, UINT maxChars, UINT*) const
{
    CString text = m_lOsError > 0 ? SystemMessage(static_cast<DWORD>(m_lOsError)) : CString();
    if (text.IsEmpty())
        text.Format(L"File error %d", m_cause);
    if (!m_strFileName.IsEmpty())
        text += L" (" + m_strFileName + L")";
    return CopyOut(text, buffer, maxChars);
}

int CFileException::OsErrorToException(LONG osError)
{
    switch (osError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NOT_READY: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    case ERROR_CRC:
    case ERROR_GEN_FAILURE: return hardIO;
    default: return genericException;
    }
}

BOOL CInternetException::GetErrorMessage(wchar_t* buffer, UINT maxChars, UINT*) const
{
    CString text = SystemMessage(m_dwError, GetModuleHandleW(L"wininet.dll"));
    if (text.IsEmpty())
        text = SystemMessage(m_dwError);
    if (text.IsEmpty())
        text.Format(L"Internet error %lu", m_dwError);
    return CopyOut(text, buffer, maxChars);
}

void AfxThrowInvalidArgException() { throw CInvalidArgException(); }
void AfxThrowMemoryException() { throw CMemoryException(); }
void AfxThrowNotSupportedException() { throw CNotSupportedException(); }
void AfxThrowFileException(int cause, LONG osError, const wchar_t* fileName) { throw CFileException(cause, osError, fileName); }
void AfxThrowArchiveException(int cause, const wchar_t* fileName) { throw CArchiveException(cause, fileName); }
void AfxThrowInternetException(DWORD error) { throw CInternetException(error); }
