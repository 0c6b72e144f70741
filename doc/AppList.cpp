#include "doc/AppList.h"

#include <cstring>

namespace {

constexpr int kTextUnits = 256;
constexpr int kNameOffset = 0;
constexpr int kPathOffset = 512;
constexpr int kFlagOffset = 1024;
constexpr int kVersionOffset = 1026;

bool ReadText(const char* record, int offset, CString& out)
{
    wchar_t units[kTextUnits];
    memcpy(units, record + offset, sizeof units);
    size_t n = wcsnlen(units, kTextUnits);
    if (n >= kTextUnits)
        return false;
    out = CString(units, static_cast<int>(n));
    return true;
}

void WriteText(char* record, int offset, const CString& text)
{
    int n = text.GetLength() < kTextUnits - 1 ? text.GetLength() : kTextUnits - 1;
    memcpy(record + offset, text.GetString(), n * sizeof(wchar_t));
}

}  // namespace

BOOL ParseAppList(const std::string& bytes, CAppListEntries& entries)
{
    entries.RemoveAll();
    if (bytes.size() % APPLIST_RECORD_SIZE)
        return FALSE;
    for (size_t at = 0; at < bytes.size(); at += APPLIST_RECORD_SIZE) {
        const char* record = bytes.data() + at;
        APPLIST_ENTRY e;
        BYTE flag[2];
        memcpy(flag, record + kFlagOffset, 2);
        e.flag = flag[0] || flag[1];
        if (!ReadText(record, kNameOffset, e.name) || !ReadText(record, kPathOffset, e.path) ||
            !ReadText(record, kVersionOffset, e.version)) {
            entries.RemoveAll();
            return FALSE;
        }
        entries.Add(e);
    }
    return TRUE;
}

std::string BuildAppList(const CAppListEntries& entries)
{
    std::string bytes(entries.GetSize() * APPLIST_RECORD_SIZE, '\0');
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        char* record = bytes.data() + i * APPLIST_RECORD_SIZE;
        const APPLIST_ENTRY& e = entries[i];
        WriteText(record, kNameOffset, e.name);
        WriteText(record, kPathOffset, e.path);
        record[kFlagOffset + 1] = e.flag ? 1 : 0;  // 256, little-endian
        WriteText(record, kVersionOffset, e.version);
    }
    return bytes;
}

CString AppListEntryId(const APPLIST_ENTRY& entry)
{
    CString folder = entry.path;
    int slash = folder.ReverseFind(L'\\');
    if (slash < 0)
        return CString();
    folder.Truncate(slash);
    return folder.Mid(folder.ReverseFind(L'\\') + 1);
}

int FindAppListEntry(const CAppListEntries& entries, const CString& id)
{
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        if (AppListEntryId(entries[i]) == id)
            return static_cast<int>(i);
    return -1;
}
