#pragma once
// File-system services: the open/save dialog, removing a folder tree, listing
// files, and reading a whole file (replacing one safely: common/FileReplace.h).
#include "classlib/Afx.h"

#include <string>
#include <vector>

// The open or save dialog for a kind of file (1-7, 11). path (260 characters)
// holds the proposed name on entry and the chosen full path on return. FALSE
// when cancelled, for an unknown kind, or when owner or path is NULL.
BOOL ShowFileDialog(HWND owner, const wchar_t* initialFolder, int kind, BOOL open, wchar_t* path);

// Removes the folder (a full path, ending in a backslash) and everything in it.
// Refuses empty and relative paths, drive roots and paths with ".." parts;
// links inside the folder are removed as links, their targets are not entered.
// TRUE when the folder is gone.
BOOL DeleteFolderTree(const wchar_t* folder);

// Appends the full paths of the files (not folders) matching pattern.
void ListFiles(const wchar_t* pattern, CStringArray& files);

// Reads a whole file; false when it cannot be opened or read, is larger than
// maxBytes, or does not fit in memory.
bool ReadWholeFile(const wchar_t* path, std::string& bytes, long long maxBytes = 1LL << 30);
bool ReadWholeFile(const wchar_t* path, std::vector<BYTE>& bytes, long long maxBytes = 1LL << 30);

// A name beside path for a file being written ("path.~1a2b").
std::wstring MakeSiblingTempName(const wchar_t* path);
