#include "doc/ApRecord.h"

#include <cwchar>

#include "common/Utility.h"
#include "doc/DocPaths.h"

BOOL IsSafeAppFileName(const wchar_t* name)
{
    if (!name || !*name)
        return FALSE;
    size_t n = wcslen(name);
    if (n > 255 || HasInvalidFileNameChar(name) || IsReservedFileName(name))
        return FALSE;
    for (const wchar_t* p = name; *p; ++p)
        if (*p < 0x20)
            return FALSE;
    if (wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0)
        return FALSE;
    // Windows drops a trailing dot or blank, so "a." would land on "a".
    return name[n - 1] != L'.' && name[n - 1] != L' ';
}

CString AppFileNameFromUrl(const wchar_t* url)
{
    CString text = url ? url : L"";
    int cut = text.FindOneOf(L"?#");
    if (cut >= 0)
        text.Truncate(cut);
    int slash = text.ReverseFind(L'/');
    int backslash = text.ReverseFind(L'\\');
    if (backslash > slash)
        slash = backslash;
    CString name = text.Mid(slash + 1);
    return IsSafeAppFileName(name) ? name : CString();
}

int CDocApRecord::GetVersionNumber() const
{
    int parts[3] = {0, 0, 0};
    int start = 0;
    for (int k = 0; k < 3 && start <= m_version.GetLength(); ++k) {
        int dot = m_version.Find(L'.', start);
        CString part = dot < 0 ? m_version.Mid(start) : m_version.Mid(start, dot - start);
        parts[k] = _wtoi(part);
        if (dot < 0)
            break;
        start = dot + 1;
    }
    return parts[0] * 10000 + parts[1] * 100 + parts[2];
}

BOOL CDocApRecord::GetFileNames(CStringArray& names) const
{
    names.RemoveAll();
    auto add = [&](const CString& url) {
        if (url.IsEmpty())
            return true;
        CString name = AppFileNameFromUrl(url);
        if (name.IsEmpty())
            return false;
        names.Add(name);
        return true;
    };
    bool ok = add(m_urls[AP_URL_EXE]);
    for (const CString& dll : m_dllUrls)
        ok = ok && add(dll);
    ok = ok && add(m_urls[AP_URL_IMAGE_NORMAL]) && add(m_urls[AP_URL_IMAGE_PUSH]) &&
         add(m_urls[AP_URL_IMAGE_DISABLE]) && add(m_urls[AP_URL_REG]);
    return ok;
}

LONGLONG CDocApRecord::GetInstalledSize() const
{
    CStringArray names;
    if (m_installedFolder.IsEmpty() || !GetFileNames(names))
        return 0;
    CString folder = WithBackslash(m_installedFolder);
    LONGLONG total = 0;
    for (const CString& name : names) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(folder + name, GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return 0;
        total += (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) + data.nFileSizeLow;
    }
    return total;
}

BOOL CDocApRecord::DeleteFiles() const
{
    CStringArray names;
    if (m_installedFolder.IsEmpty() || !GetFileNames(names))
        return FALSE;
    CString folder = WithBackslash(m_installedFolder);
    for (const CString& name : names) {
        // A file that is already gone needs no deleting.
        if (!DeleteFileW(folder + name) && GetLastError() != ERROR_FILE_NOT_FOUND)
            return FALSE;
    }
    return TRUE;
}
