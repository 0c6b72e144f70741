#include "common/FileUtil.h"

#include "common/UiTextSource.h"

#include <commdlg.h>

#include <atomic>
#include <vector>

namespace {

struct FileKind {
    int kind;
    const wchar_t* description;
    const wchar_t* pattern;
    const wchar_t* extension;
};

const FileKind kFileKinds[] = {
    {1, L"(*.BMP)(*.JPG)(*.JPEG)(*.JPE)(*.JFIF)(*.PNG)(*.GIF)", L"*.BMP;*.JPG;*.JPEG;*.JPE;*.JFIF;*.PNG;*.GIF", L"JPG"},
    {2, L"(*.CSV)", L"*.CSV", L"CSV"},
    {3, L"(*.KML)", L"*.KML", L"KML"},
    {4, L"(*.XML)", L"*.XML", L"XML"},
    {5, L"(*.L00)", L"*.L00", L"L00"},
    {6, L"(*.CSV)", L"*.CSV", L"CSV"},
    {7, L"(*.CSV)(*.DAT)", L"*.CSV;*.DAT", L"DAT"},
    {11, L"(*.jpg)", L"*.jpg", L"jpg"},
};

const FileKind* FindKind(int kind)
{
    for (const FileKind& k : kFileKinds)
        if (k.kind == kind)
            return &k;
    return nullptr;
}

// TRUE when the file name's extension is one the kind's filter offers.
bool ExtensionInFilter(const wchar_t* path, const FileKind& k)
{
    const wchar_t* name = wcsrchr(path, L'\\');
    name = name ? name + 1 : path;
    const wchar_t* dot = wcsrchr(name, L'.');
    if (!dot)
        return false;
    CString patterns(k.pattern);
    int pos = 0;
    for (CString p = patterns.Tokenize(L";", pos); pos >= 0; p = patterns.Tokenize(L";", pos))
        if (p.GetLength() > 1 && _wcsicmp(p.Mid(1), dot) == 0)  // "*.CSV" against ".csv"
            return true;
    return false;
}

std::wstring FullPath(const wchar_t* path)
{
    DWORD n = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (n == 0)
        return {};
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(path, n, full.data(), nullptr);
    full.resize(n);
    return full;
}

// A drive root ("C:\"), a share root ("\\server\share\") or less.
bool IsRootOrLess(const std::wstring& full)
{
    std::wstring p = full;
    while (!p.empty() && p.back() == L'\\')
        p.pop_back();
    if (p.size() <= 2)
        return true;  // "" or "C:"
    if (p.compare(0, 2, L"\\\\") == 0) {
        // \\server\share: at most one backslash after the server name.
        size_t slashes = 0;
        for (size_t i = 2; i < p.size(); ++i)
            slashes += p[i] == L'\\';
        return slashes <= 1;
    }
    return false;
}

bool HasDotDotPart(const wchar_t* path)
{
    std::wstring p(path);
    size_t start = 0;
    while (start <= p.size()) {
        size_t end = p.find_first_of(L"\\/", start);
        if (end == std::wstring::npos)
            end = p.size();
        if (p.compare(start, end - start, L"..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

bool IsAbsolutePath(const wchar_t* p)
{
    return (iswalpha(p[0]) && p[1] == L':' && (p[2] == L'\\' || p[2] == L'/')) ||
           (p[0] == L'\\' && p[1] == L'\\');
}

// Removes a link to a folder without touching what it points to.
BOOL RemoveFolderLink(const std::wstring& link)
{
    if (RemoveDirectoryW(link.c_str()))
        return TRUE;
    // Wine shows host symbolic links as reparse points but removes them only as
    // the link object itself, opened without following it.
    HANDLE h = CreateFileW(link.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_DELETE_ON_CLOSE,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return FALSE;
    CloseHandle(h);
    return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES;
}

// Removes everything in folder (ending in a backslash) and the folder itself.
BOOL DeleteTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    std::vector<std::wstring> folders, links;
    BOOL ok = TRUE;
    do {
        if (wcscmp(fd.cFileName, L".") == 0 || wcscmp(fd.cFileName, L"..") == 0)
            continue;
        std::wstring path = folder + fd.cFileName;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A junction or link to a folder: remove the link only.
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                links.push_back(path);
            else
                folders.push_back(path + L"\\");
        } else if (!DeleteFileW(path.c_str())) {
            ok = FALSE;
            break;
        }
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    if (!ok)
        return FALSE;
    for (const auto& link : links)
        if (!RemoveFolderLink(link))
            return FALSE;
    for (const auto& sub : folders)
        if (!DeleteTree(sub))
            return FALSE;
    return RemoveDirectoryW(folder.c_str());
}

}  // namespace

BOOL ShowFileDialog(HWND owner, const wchar_t* initialFolder, int kind, BOOL open, wchar_t* path)
{
    const FileKind* k = FindKind(kind);
    if (!owner || !path || !k)
        return FALSE;

    // Description NUL pattern NUL NUL.
    std::wstring filter = std::wstring(k->description) + L'\0' + k->pattern + L'\0' + L'\0';
    wchar_t file[MAX_PATH];
    lstrcpynW(file, path, MAX_PATH);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = initialFolder;
    ofn.lpstrDefExt = k->extension;
    ofn.lpstrTitle = UiTextOrNull(open ? 233 : 234);
    ofn.Flags = OFN_EXPLORER | (open ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING
                                     : OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY);

    wchar_t savedDir[MAX_PATH];
    DWORD savedLen = GetCurrentDirectoryW(MAX_PATH, savedDir);
    BOOL ok = open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (savedLen > 0 && savedLen < MAX_PATH)
        SetCurrentDirectoryW(savedDir);
    if (!ok)
        return FALSE;

    std::wstring chosen(file);
    // The dialog adds the default extension only to names without one; a name
    // with another extension gets it too, unless the filter offers that extension.
    // (Wine never reports OFN_EXTENSIONDIFFERENT, so the name is looked at too.)
    const wchar_t* typedExt = ofn.nFileExtension > 0 && ofn.nFileExtension < wcslen(file)
                                  ? file + ofn.nFileExtension : nullptr;
    bool different = (ofn.Flags & OFN_EXTENSIONDIFFERENT) || (typedExt && _wcsicmp(typedExt, k->extension) != 0);
    if (!open && different && !ExtensionInFilter(file, *k))
        chosen += std::wstring(L".") + k->extension;
    if (chosen.size() >= MAX_PATH)
        return FALSE;
    wcscpy(path, chosen.c_str());
    return TRUE;
}

BOOL DeleteFolderTree(const wchar_t* folder)
{
    if (!folder || !*folder || !IsAbsolutePath(folder) || HasDotDotPart(folder))
        return FALSE;
    std::wstring full = FullPath(folder);
    if (full.empty() || IsRootOrLess(full))
        return FALSE;
    while (!full.empty() && full.back() == L'\\')
        full.pop_back();
    // Looked at without a trailing backslash, which would follow a link.
    DWORD attr = GetFileAttributesW(full.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    // The folder itself being a link: remove the link, not what it points to.
    if (attr & FILE_ATTRIBUTE_REPARSE_POINT)
        return RemoveFolderLink(full);
    return DeleteTree(full + L'\\');
}

void ListFiles(const wchar_t* pattern, CStringArray& files)
{
    if (!pattern || !*pattern)
        return;
    CFileFind finder;
    BOOL more = finder.FindFile(pattern);
    while (more) {
        more = finder.FindNextFile();
        if (!finder.IsDirectory())
            files.Add(finder.GetFilePath());
    }
}

namespace {

template <class Bytes>
bool ReadWholeFileInto(const wchar_t* path, Bytes& bytes, long long maxBytes)
{
    bytes.clear();
    if (!path || !*path)
        return false;
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bool ok = false;
    LARGE_INTEGER size;
    if (GetFileSizeEx(h, &size) && size.QuadPart <= maxBytes) {
        try {
            bytes.resize(static_cast<size_t>(size.QuadPart));
            DWORD done = 0;
            ok = true;
            while (done < bytes.size()) {
                DWORD got = 0;
                char* at = reinterpret_cast<char*>(bytes.data()) + done;
                if (!ReadFile(h, at, static_cast<DWORD>(bytes.size() - done), &got, nullptr)) {
                    ok = false;
                    break;
                }
                if (got == 0)
                    break;
                done += got;
            }
            bytes.resize(done);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    CloseHandle(h);
    if (!ok)
        bytes.clear();
    return ok;
}

}  // namespace

bool ReadWholeFile(const wchar_t* path, std::string& bytes, long long maxBytes)
{
    return ReadWholeFileInto(path, bytes, maxBytes);
}

bool ReadWholeFile(const wchar_t* path, std::vector<BYTE>& bytes, long long maxBytes)
{
    return ReadWholeFileInto(path, bytes, maxBytes);
}

std::wstring MakeSiblingTempName(const wchar_t* path)
{
    static std::atomic<unsigned> counter{0};
    wchar_t suffix[32];
    swprintf(suffix, 32, L".~%lx%x", GetCurrentProcessId(), counter++);
    return std::wstring(path) + suffix;
}
