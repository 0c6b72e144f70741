#include "common/AddedFiles.h"

#include <algorithm>

namespace {

std::wstring WithSlash(std::wstring path)
{
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    return path;
}

}  // namespace

std::wstring CAddedFiles::Key(const std::wstring& path)
{
    std::wstring key = path;
    if (!key.empty())
        ::CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

void CAddedFiles::List(const std::wstring& folder, std::vector<std::wstring>& files, std::vector<std::wstring>& folders)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((folder + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // Links are not followed: what they lead to is not ours.
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                continue;
            folders.push_back(folder + name + L"\\");
            List(folder + name + L"\\", files, folders);
        } else {
            files.push_back(folder + name);
        }
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
}

void CAddedFiles::Watch(const CString& folder)
{
    const std::wstring root = WithSlash(folder.GetString());
    if (root.empty())
        return;
    m_roots.push_back(root);
    if (::GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    m_before.insert(Key(root));
    std::vector<std::wstring> files, folders;
    List(root, files, folders);
    for (const auto& f : files)
        m_before.insert(Key(f));
    for (const auto& f : folders)
        m_before.insert(Key(f));
}

void CAddedFiles::TakeBack() const
{
    std::vector<std::wstring> newFolders;
    for (const std::wstring& root : m_roots) {
        std::vector<std::wstring> files, folders;
        List(root, files, folders);
        for (const auto& f : files) {
            if (m_before.count(Key(f)))
                continue;
            ::SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(f.c_str());
        }
        for (const auto& f : folders)
            if (!m_before.count(Key(f)))
                newFolders.push_back(f);
        if (!m_before.count(Key(root)))
            newFolders.push_back(root);
    }
    // Deepest first; a folder that still holds something stays.
    std::sort(newFolders.begin(), newFolders.end(),
              [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
    for (const auto& f : newFolders)
        ::RemoveDirectoryW(f.c_str());
}
