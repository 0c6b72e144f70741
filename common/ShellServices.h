#pragma once
// Shell namespace services for the folder tree and the picture browser: the
// program-wide shell objects, item-identifier-list holders, drive lists,
// classification and enumeration of folders, and item lists as bytes.
#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "classlib/CArray.h"
#include "classlib/CString.h"

// An absolute item-identifier list with its change-notification registration.
// A plain record: copies share the list; whoever owns it calls Release.
struct CPidl {
    LPITEMIDLIST pidl;
    ULONG changeNotifyId;

    // Ends the registration, frees the list and keeps a copy of source.
    void Assign(LPCITEMIDLIST source);
    // Ends the registration and frees the list; TRUE when there was a list.
    BOOL Release();
};
using CPidlArray = CArray<CPidl>;

// Program-wide shell objects, made by InitShell and released by TermShell.
extern IShellFolder* theDesktopFolder;
extern CPidl theDesktopPidl;
extern CPidl theMyComputerPidl;
extern CPidlArray theExcludedFolders;
extern CPidlArray theVirtualRootFolders;
extern CArray<LPCWSTR> theDriveRoots;
extern CArray<LPCWSTR> theRemovableDriveRoots;
extern IShellLinkW* theShellLink;
extern IPersistFile* thePersistFile;
// The main window once it exists: the shell may ask the user about a removable
// drive through it while it is enabled.
extern HWND theShellOwnerWindow;

BOOL InitShell();
void TermShell();

HIMAGELIST GetSmallSystemImageList();
void EnumLogicalDrives();
BOOL IsRemovableDrivePidl(LPCITEMIDLIST pidl);
BOOL IsDriveRootPidl(LPCITEMIDLIST pidl);
// 0 local or no drive, 1 network drive, 2 disconnected network drive.
int IsNetDrivePidl(LPCITEMIDLIST pidl);
BOOL IsExcludedShellItem(LPCITEMIDLIST pidl);
BOOL ResolveFolderShortcut(WCHAR path[MAX_PATH], LPCITEMIDLIST pidl);
// One reference for the caller; the desktop folder when the item cannot be bound.
IShellFolder* GetShellFolder(LPCITEMIDLIST pidl);
// A new record the caller deletes.
SHFILEINFOW* GetShellFileInfo(UINT flags, LPCITEMIDLIST pidl);
CString GetPidlPath(LPCITEMIDLIST pidl);
CString GetPidlExtension(LPCITEMIDLIST pidl);
BOOL HasSubFoldersPidl(const CPidl& item);
BOOL IsFolderPidl(const CPidl& item);

// Appends the folder's visible sub-folders; -1 when it cannot be enumerated.
int EnumShellFolder(const CPidl& folder, CPidlArray& out);
// What an enumeration learnt of one item from its folder, so that its users
// need not ask the shell again (each question about a full item list makes
// the shell walk the whole path).
struct ShellFileFacts {
    CString path;         // file-system path; empty when it has none
    CString displayName;  // as SHGetFileInfo's SHGFI_DISPLAYNAME gives it
    ULONG attributes;     // SFGAO_FILESYSTEM, CANMOVE, FOLDER, HASSUBFOLDER and LINK
};

// Appends the folder's items for the picture browser, sorted by key
// (0 name, 1 size, 2 type, 3 last write). With facts: one record per
// appended item, in the same order.
int EnumShellFiles(const CPidl& folder, CPidlArray& out, int sortKey, std::vector<ShellFileFacts>* facts = nullptr);
// 0 hidden or archive, 1 folder, 2 other file or music, 3 picture, 4 ".R00", 5 gone.
int ClassifyShellFile(const CPidl& item);
// The same from what the enumeration learnt of the item.
int ClassifyShellFile(const CPidl& item, const ShellFileFacts& facts);

BOOL PidlToBytes(const CPidl& item, CByteArray& bytes);
BOOL PidlFromBytes(CPidl& item, const CByteArray& bytes);

// > 0 when A must come after B.
int CompareShellItems(const SHFILEINFOW* a, const SHFILEINFOW* b, const WIN32_FIND_DATAW* findA,
                      const WIN32_FIND_DATAW* findB, int sortKey);
