#pragma once
// Takes back what a failed operation added under some folders: every file and
// folder that was not there when the folders were noted. Files the operation
// replaced stay as they are now.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "classlib/CString.h"

class CAddedFiles {
public:
    // Notes what the folder and its sub-folders hold now (a missing folder
    // holds nothing, and goes again if the operation made it).
    void Watch(const CString& folder);
    // Removes what appeared since, files first, then emptied new folders.
    void TakeBack() const;

private:
    static std::wstring Key(const std::wstring& path);
    static void List(const std::wstring& folder, std::vector<std::wstring>& files, std::vector<std::wstring>& folders);
    std::vector<std::wstring> m_roots;
    std::set<std::wstring> m_before;  // full paths, upper case
};
