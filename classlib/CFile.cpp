#include "classlib/CFile.h"

#include <shlwapi.h>

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile(const wchar_t* path, UINT flags)
{
    CFileException e;
    if (!Open(path, flags, &e))
        throw e;
}

CFile::~CFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
}

BOOL CFile::Open(const wchar_t* path, UINT flags, CFileException* error)
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        Abort();
    if (!path || !*path) {
        if (error)
            *error = CFileException(CFileException::badPath, ERROR_INVALID_NAME, path);
        return FALSE;
    }
    DWORD access = 0;
    switch (flags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    default: access = GENERIC_READ | GENERIC_WRITE; break;
    }
    DWORD share = 0;
    switch (flags & 0x70) {
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;  // compatibility mode
    }
    DWORD create = OPEN_EXISTING;
    if (flags & modeCreate)
        create = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    HANDLE h = CreateFileW(path, access, share, nullptr, create, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (error) {
            DWORD err = GetLastError();
            *error = CFileException(CFileException::OsErrorToException(err), static_cast<LONG>(err), path);
        }
        return FALSE;
    }
    m_hFile = h;
    m_strFileName = path;
    return TRUE;
}

void CFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        BOOL ok = CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
        if (!ok)
            ThrowLastError();
    }
    m_strFileName.Empty();
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_strFileName.Empty();
}

void CFile::ThrowLastError() const
{
    DWORD err = GetLastError();
    AfxThrowFileException(CFileException::OsErrorToException(err), static_cast<LONG>(err), m_strFileName);
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (count == 0)
        return 0;
    if (!buffer)
        AfxThrowInvalidArgException();
    DWORD got = 0;
    if (!ReadFile(m_hFile, buffer, count, &got, nullptr))
        ThrowLastError();
    return got;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    if (!buffer)
        AfxThrowInvalidArgException();
    DWORD put = 0;
    if (!WriteFile(m_hFile, buffer, count, &put, nullptr))
        ThrowLastError();
    if (put != count)
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile != INVALID_HANDLE_VALUE && !FlushFileBuffers(m_hFile))
        ThrowLastError();
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    LARGE_INTEGER dist, pos;
    dist.QuadPart = offset;
    if (!SetFilePointerEx(m_hFile, dist, &pos, from))
        ThrowLastError();
    return static_cast<ULONGLONG>(pos.QuadPart);
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero{}, pos;
    if (!SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT))
        ThrowLastError();
    return static_cast<ULONGLONG>(pos.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size))
        ThrowLastError();
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::SetLength(ULONGLONG length)
{
    Seek(static_cast<LONGLONG>(length), begin);
    if (!SetEndOfFile(m_hFile))
        ThrowLastError();
}

CString CFile::GetFileName() const
{
    return CString(PathFindFileNameW(m_strFileName));
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot >= 0 ? name.Left(dot) : name;
}

void CFile::Remove(const wchar_t* path)
{
    if (!DeleteFileW(path)) {
        DWORD err = GetLastError();
        AfxThrowFileException(CFileException::OsErrorToException(err), static_cast<LONG>(err), path);
    }
}

void CFile::Rename(const wchar_t* oldPath, const wchar_t* newPath)
{
    if (!MoveFileW(oldPath, newPath)) {
        DWORD err = GetLastError();
        AfxThrowFileException(CFileException::OsErrorToException(err), static_cast<LONG>(err), oldPath);
    }
}

CStdioFile::~CStdioFile()
{
    try {
        if (m_hFile != INVALID_HANDLE_VALUE)
            FlushWrite();
    } catch (const CException&) {
    }
}

BOOL CStdioFile::Open(const wchar_t* path, UINT flags, CFileException* error)
{
    m_text = !(flags & typeBinary);
    m_in.clear();
    m_inPos = 0;
    m_out.clear();
    return CFile::Open(path, flags, error);
}

bool CStdioFile::FillBuffer()
{
    char buf[16384];
    DWORD got = 0;
    if (!ReadFile(m_hFile, buf, sizeof buf, &got, nullptr))
        ThrowLastError();
    if (got == 0)
        return false;
    m_in.erase(0, m_inPos);
    m_inPos = 0;
    m_in.append(buf, got);
    return true;
}

BOOL CStdioFile::ReadString(CString& line)
{
    FlushWrite();
    line.Empty();
    std::string bytes;
    for (;;) {
        if (m_inPos >= m_in.size() && !FillBuffer())
            break;
        size_t nl = m_in.find('\n', m_inPos);
        if (nl == std::string::npos) {
            bytes.append(m_in, m_inPos, std::string::npos);
            m_inPos = m_in.size();
            continue;
        }
        bytes.append(m_in, m_inPos, nl - m_inPos);
        m_inPos = nl + 1;
        if (m_text && !bytes.empty() && bytes.back() == '\r')
            bytes.pop_back();
        line = CString(bytes.c_str());
        return TRUE;
    }
    if (m_text && !bytes.empty() && bytes.back() == '\r')
        bytes.pop_back();
    line = CString(bytes.c_str());
    return bytes.empty() ? FALSE : TRUE;
}

void CStdioFile::WriteString(const wchar_t* text)
{
    if (!text)
        AfxThrowInvalidArgException();
    CStringA bytes(text);
    for (int i = 0; i < bytes.GetLength(); ++i) {
        char c = bytes.GetString()[i];
        if (m_text && c == '\n')
            m_out += '\r';
        m_out += c;
    }
    if (m_out.size() >= 16384)
        FlushWrite();
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
    FlushWrite();
    UINT done = 0;
    char* out = static_cast<char*>(buffer);
    while (done < count) {
        if (m_inPos >= m_in.size() && !FillBuffer())
            break;
        size_t take = std::min<size_t>(count - done, m_in.size() - m_inPos);
        memcpy(out + done, m_in.data() + m_inPos, take);
        m_inPos += take;
        done += static_cast<UINT>(take);
    }
    return done;
}

void CStdioFile::Write(const void* buffer, UINT count)
{
    m_out.append(static_cast<const char*>(buffer), count);
    if (m_out.size() >= 16384)
        FlushWrite();
}

void CStdioFile::FlushWrite()
{
    if (m_out.empty())
        return;
    // Read-ahead bytes that were not consumed belong after the write position.
    if (m_inPos < m_in.size())
        Seek(-static_cast<LONGLONG>(m_in.size() - m_inPos), current);
    m_in.clear();
    m_inPos = 0;
    std::string pending;
    pending.swap(m_out);
    CFile::Write(pending.data(), static_cast<UINT>(pending.size()));
}

void CStdioFile::Flush()
{
    FlushWrite();
    CFile::Flush();
}

void CStdioFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        FlushWrite();
    m_in.clear();
    m_inPos = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_out.clear();
    m_in.clear();
    m_inPos = 0;
    CFile::Abort();
}
