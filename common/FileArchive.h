#pragma once
// Reader of the skin resource pack: a "QPKA" file with a scrambled table of
// named entries, beside the program with the extension ".qpk".
#include <windows.h>

#include <string>
#include <unordered_map>

#include "classlib/CArray.h"
#include "classlib/CString.h"

class CFileArchive {
public:
    struct HEADER {
        char magic[4];
        DWORD count;
        DWORD step;     // low byte: key increment of the scrambling
        DWORD reserved;
    };
    struct TOC {
        char name[36];  // ANSI, NUL-terminated
        DWORD size;
        DWORD offset;   // within the data area behind the table
        DWORD reserved;
    };
    static_assert(sizeof(HEADER) == 16 && sizeof(TOC) == 48);

    CFileArchive();
    ~CFileArchive();
    CFileArchive(const CFileArchive&) = delete;
    CFileArchive& operator=(const CFileArchive&) = delete;

    // Reads the header and the table and keeps the file mapped until the next
    // Open or Close (every picture of the skin comes from it, so it is read
    // once and looked up by name in a hash table). FALSE, with an empty table,
    // when the file cannot be read, is not a pack, or is shorter than its table.
    BOOL Open(LPCWSTR path);
    // Lets go of the file; the table empties and every lookup fails.
    void Close();
    // The entry's plain bytes in a movable block the caller frees with GlobalFree;
    // NULL when the name is unknown, the entry lies outside the file or memory
    // runs out.
    HGLOBAL ReadEntry(LPCWSTR name) const;
    // Size in bytes, 0 for an unknown name.
    DWORD GetEntrySize(LPCWSTR name) const;

    BOOL IsOpen() const { return m_open; }
    const CString& GetPath() const { return m_path; }
    INT_PTR GetCount() const { return m_toc.GetSize(); }
    // Changes with every Open and Close: what was decoded from the pack before
    // may no longer be what it holds.
    DWORD GetGeneration() const { return m_generation; }

    // The pack's byte scrambling: byte i of a run is XORed with (i * step) mod 256.
    static void Scramble(BYTE* data, size_t length, DWORD step, BYTE& key);

private:
    INT_PTR Find(LPCWSTR name) const;

    HEADER m_header;
    CArray<TOC> m_toc;
    // Table index by the name folded to lower case; the first of equal names wins.
    std::unordered_map<std::wstring, INT_PTR> m_index;
    const BYTE* m_view = nullptr;   // the whole file, read-only
    ULONGLONG m_size = 0;
    BOOL m_open;
    DWORD m_generation = 0;
    CString m_path;
};

// The program's one pack, opened at start-up.
extern CFileArchive theFileArchive;
