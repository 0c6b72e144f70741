#include "common/FileArchive.h"

#include <cstring>
#include <cwctype>

CFileArchive theFileArchive;

namespace {

// The key of a name: lookups ignore case as _wcsicmp does, letter by letter.
std::wstring Folded(const wchar_t* name)
{
    std::wstring key(name);
    for (wchar_t& c : key)
        c = static_cast<wchar_t>(towlower(c));
    return key;
}

}  // namespace

CFileArchive::CFileArchive() : m_header{}, m_open(FALSE) {}

CFileArchive::~CFileArchive()
{
    Close();
}

void CFileArchive::Scramble(BYTE* data, size_t length, DWORD step, BYTE& key)
{
    const BYTE increment = static_cast<BYTE>(step & 0xFF);
    for (size_t i = 0; i < length; ++i) {
        data[i] ^= key;
        key = static_cast<BYTE>(key + increment);
    }
}

void CFileArchive::Close()
{
    if (m_view)
        ::UnmapViewOfFile(m_view);
    m_view = nullptr;
    m_size = 0;
    m_toc.RemoveAll();
    m_index.clear();
    m_header = HEADER{};
    m_open = FALSE;
    ++m_generation;
}

BOOL CFileArchive::Open(LPCWSTR path)
{
    Close();
    m_path = path;
    if (!path)
        return FALSE;

    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    LARGE_INTEGER length{};
    const BYTE* view = nullptr;
    if (::GetFileSizeEx(file, &length) && length.QuadPart >= static_cast<LONGLONG>(sizeof(HEADER))) {
        // The view keeps the file referenced; the handles are not needed after it.
        if (HANDLE mapping = ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr)) {
            view = static_cast<const BYTE*>(::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
            ::CloseHandle(mapping);
        }
    }
    ::CloseHandle(file);
    if (!view)
        return FALSE;
    const ULONGLONG size = static_cast<ULONGLONG>(length.QuadPart);

    HEADER header;
    memcpy(&header, view, sizeof header);
    // The whole table must be in the file; a count that says otherwise is a
    // truncated or damaged pack.
    const ULONGLONG tableEnd = sizeof(HEADER) + static_cast<ULONGLONG>(header.count) * sizeof(TOC);
    if (memcmp(header.magic, "QPKA", 4) != 0 || tableEnd > size) {
        ::UnmapViewOfFile(view);
        return FALSE;
    }
    m_toc.SetSize(header.count);
    m_index.reserve(header.count);
    BYTE key = 0;
    for (DWORD i = 0; i < header.count; ++i) {
        TOC& entry = m_toc[i];
        memcpy(&entry, view + sizeof(HEADER) + static_cast<size_t>(i) * sizeof(TOC), sizeof entry);
        Scramble(reinterpret_cast<BYTE*>(&entry), sizeof entry, header.step, key);
        entry.name[sizeof entry.name - 1] = '\0';
        m_index.emplace(Folded(CString(entry.name)), static_cast<INT_PTR>(i));
    }
    m_header = header;
    m_view = view;
    m_size = size;
    m_open = TRUE;
    return TRUE;
}

INT_PTR CFileArchive::Find(LPCWSTR name) const
{
    if (!name)
        return -1;
    const auto found = m_index.find(Folded(name));
    return found == m_index.end() ? -1 : found->second;
}

DWORD CFileArchive::GetEntrySize(LPCWSTR name) const
{
    INT_PTR i = Find(name);
    return i < 0 ? 0 : m_toc[i].size;
}

HGLOBAL CFileArchive::ReadEntry(LPCWSTR name) const
{
    INT_PTR i = Find(name);
    if (i < 0 || m_toc[i].size == 0 || !m_view)
        return nullptr;
    const TOC& entry = m_toc[i];
    const ULONGLONG start = sizeof(HEADER) + static_cast<ULONGLONG>(m_header.count) * sizeof(TOC) + entry.offset;
    if (start + entry.size > m_size)
        return nullptr;     // the entry points outside the file
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, entry.size);
    if (!block)
        return nullptr;
    BYTE* data = static_cast<BYTE*>(::GlobalLock(block));
    if (!data) {
        ::GlobalFree(block);
        return nullptr;
    }
    memcpy(data, m_view + start, entry.size);
    if (m_header.step != 0) {
        BYTE key = 0;
        Scramble(data, entry.size, m_header.step, key);
    }
    ::GlobalUnlock(block);
    return block;
}
