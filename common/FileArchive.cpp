#include "common/FileArchive.h"

#include <cstring>

#include "classlib/CFile.h"

CFileArchive theFileArchive;

CFileArchive::CFileArchive() : m_header{}, m_open(FALSE) {}

void CFileArchive::Scramble(BYTE* data, size_t length, DWORD step, BYTE& key)
{
    const BYTE increment = static_cast<BYTE>(step & 0xFF);
    for (size_t i = 0; i < length; ++i) {
        data[i] ^= key;
        key = static_cast<BYTE>(key + increment);
    }
}

BOOL CFileArchive::Open(LPCWSTR path)
{
    m_toc.RemoveAll();
    m_names.RemoveAll();
    m_header = HEADER{};
    m_open = FALSE;
    m_path = path;

    CFile file;
    if (!path || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    try {
        HEADER header;
        if (file.Read(&header, sizeof header) != sizeof header || memcmp(header.magic, "QPKA", 4) != 0)
            return FALSE;
        // The whole table must be in the file; a count that says otherwise is a
        // truncated or damaged pack.
        const ULONGLONG tableEnd = sizeof(HEADER) + static_cast<ULONGLONG>(header.count) * sizeof(TOC);
        if (tableEnd > file.GetLength())
            return FALSE;
        CArray<TOC> toc;
        CStringArray names;
        toc.SetSize(header.count);
        names.SetSize(header.count);
        BYTE key = 0;
        for (DWORD i = 0; i < header.count; ++i) {
            TOC& entry = toc[i];
            if (file.Read(&entry, sizeof entry) != sizeof entry)
                return FALSE;
            Scramble(reinterpret_cast<BYTE*>(&entry), sizeof entry, header.step, key);
            entry.name[sizeof entry.name - 1] = '\0';
            names[i] = CString(entry.name);
        }
        m_header = header;
        m_toc.vec().swap(toc.vec());
        m_names.vec().swap(names.vec());
        m_open = TRUE;
        return TRUE;
    } catch (const CException&) {
        return FALSE;
    }
}

INT_PTR CFileArchive::Find(LPCWSTR name) const
{
    if (!name)
        return -1;
    for (INT_PTR i = 0; i < m_names.GetSize(); ++i)
        if (_wcsicmp(m_names[i], name) == 0)
            return i;
    return -1;
}

DWORD CFileArchive::GetEntrySize(LPCWSTR name) const
{
    INT_PTR i = Find(name);
    return i < 0 ? 0 : m_toc[i].size;
}

HGLOBAL CFileArchive::ReadEntry(LPCWSTR name) const
{
    INT_PTR i = Find(name);
    if (i < 0 || m_toc[i].size == 0)
        return nullptr;
    const TOC& entry = m_toc[i];
    CFile file;
    if (!file.Open(m_path, CFile::modeRead | CFile::shareDenyWrite))
        return nullptr;
    const ULONGLONG start = sizeof(HEADER) + static_cast<ULONGLONG>(m_header.count) * sizeof(TOC) + entry.offset;
    HGLOBAL block = nullptr;
    try {
        if (start + entry.size > file.GetLength())
            return nullptr;     // the entry points outside the file
        block = GlobalAlloc(GMEM_MOVEABLE, entry.size);
        if (!block)
            return nullptr;
        BYTE* data = static_cast<BYTE*>(GlobalLock(block));
        if (!data) {
            GlobalFree(block);
            return nullptr;
        }
        file.Seek(static_cast<LONGLONG>(start), CFile::begin);
        const UINT got = file.Read(data, entry.size);
        if (got == entry.size && m_header.step != 0) {
            BYTE key = 0;
            Scramble(data, entry.size, m_header.step, key);
        }
        GlobalUnlock(block);
        if (got != entry.size) {
            GlobalFree(block);
            return nullptr;
        }
        return block;
    } catch (const CException&) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
}
