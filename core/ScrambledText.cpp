#include "core/ScrambledText.h"

#include "common/FileUtil.h"

#include <shlwapi.h>

CString ProgramDataPath(const wchar_t* folder, const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathRemoveFileSpecW(path);
    CString full(path);
    full += L"\\";
    full += folder;
    full += L"\\";
    full += name;
    return full;
}

BOOL ReadScrambledFile(const wchar_t* path, std::vector<BYTE>& plain)
{
    // Data files are small; anything this large is not one of ours.
    if (!ReadWholeFile(path, plain, 64 * 1024 * 1024) || plain.size() < 2) {
        plain.clear();
        return FALSE;
    }
    for (BYTE& b : plain)
        b = static_cast<BYTE>(~b);
    if (plain[0] != 0xFF && plain[1] != 0xFE) {
        plain.clear();
        return FALSE;
    }
    return TRUE;
}

CString DecodeUtf16(const std::vector<BYTE>& bytes, size_t offset)
{
    CString text;
    if (offset >= bytes.size())
        return text;
    size_t units = (bytes.size() - offset) / 2;
    wchar_t* out = text.GetBuffer(static_cast<int>(units));
    size_t n = 0;
    for (; n < units; ++n) {
        wchar_t c = static_cast<wchar_t>(bytes[offset + 2 * n] | (bytes[offset + 2 * n + 1] << 8));
        if (c == 0)
            break;
        out[n] = c;
    }
    text.ReleaseBuffer(static_cast<int>(n));
    return text;
}

void SplitLines(CString text, CStringArray& lines)
{
    text.Replace(L"\r\n", L"\n");
    text.Replace(L'\r', L'\n');
    CStringArray split;
    AfxSplitSubStrings(split, text, L'\n');
    lines.Append(split);
}
