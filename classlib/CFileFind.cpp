#include "classlib/CFileFind.h"

BOOL CFileFind::FindFile(const wchar_t* pattern)
{
    Close();
    CString pat = pattern && *pattern ? CString(pattern) : CString(L"*.*");
    int slash = std::max(pat.ReverseFind(L'\\'), pat.ReverseFind(L'/'));
    m_root = slash >= 0 ? pat.Left(slash + 1) : CString();
    m_find = FindFirstFileW(pat, &m_next);
    m_hasNext = m_find != INVALID_HANDLE_VALUE;
    return m_hasNext ? TRUE : FALSE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_hasNext)
        return FALSE;
    m_current = m_next;
    m_hasNext = ::FindNextFileW(m_find, &m_next) != FALSE;
    return m_hasNext ? TRUE : FALSE;
}

void CFileFind::Close()
{
    if (m_find != INVALID_HANDLE_VALUE)
        FindClose(m_find);
    m_find = INVALID_HANDLE_VALUE;
    m_hasNext = false;
}

CString CFileFind::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot >= 0 ? name.Left(dot) : name;
}

BOOL CFileFind::IsDots() const
{
    return IsDirectory() && (wcscmp(m_current.cFileName, L".") == 0 || wcscmp(m_current.cFileName, L"..") == 0);
}
