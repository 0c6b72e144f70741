#include "common/ShellServices.h"

#include <knownfolders.h>
#include <shlwapi.h>

#include <cstring>
#include <vector>

IShellFolder* theDesktopFolder = nullptr;
CPidl theDesktopPidl = {};
CPidl theMyComputerPidl = {};
CPidlArray theExcludedFolders;
CPidlArray theVirtualRootFolders;
CArray<LPCWSTR> theDriveRoots;
CArray<LPCWSTR> theRemovableDriveRoots;
IShellLinkW* theShellLink = nullptr;
IPersistFile* thePersistFile = nullptr;
HWND theShellOwnerWindow = nullptr;

namespace {

using LoadFromStreamFn = HRESULT(WINAPI*)(IStream*, LPITEMIDLIST*);
using KnownFolderIdListFn = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, LPITEMIDLIST*);
using IsNetDriveFn = int(WINAPI*)(int);
using FileIconInitFn = BOOL(WINAPI*)(BOOL);

HMODULE theShellLibrary = nullptr;
LoadFromStreamFn theLoadFromStream = nullptr;
KnownFolderIdListFn theKnownFolderIdList = nullptr;
IsNetDriveFn theIsNetDrive = nullptr;
// An export of the shell library by name or ordinal.
template <typename Fn>
Fn ShellProc(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(theShellLibrary, name)));
}

// The drive root strings of both drive lists.
wchar_t theDriveStrings[521];

ULONG Attributes(LPCITEMIDLIST pidl, ULONG mask)
{
    if (!pidl)
        return 0;
    IShellFolder* parent = nullptr;
    LPCITEMIDLIST child = nullptr;
    if (FAILED(SHBindToParent(pidl, IID_IShellFolder, reinterpret_cast<void**>(&parent), &child)) || !parent)
        return 0;
    ULONG attributes = mask;
    if (FAILED(parent->GetAttributesOf(1, &child, &attributes)))
        attributes = 0;
    parent->Release();
    return attributes & mask;
}

bool ExtensionIn(const CString& extension, std::initializer_list<const wchar_t*> list)
{
    for (const wchar_t* e : list)
        if (_wcsicmp(extension, e) == 0)
            return true;
    return false;
}

bool IsArchiveExtension(const CString& extension)
{
    return ExtensionIn(extension, {L".zip", L".cab", L".lzh"});
}

bool InList(LPCITEMIDLIST pidl, const CPidlArray& list)
{
    for (const CPidl& item : list)
        if (item.pidl && ILIsEqual(item.pidl, pidl))
            return true;
    return false;
}

bool PathIn(const CString& path, const CArray<LPCWSTR>& roots)
{
    if (path.IsEmpty())
        return false;
    for (LPCWSTR root : roots)
        if (_wcsicmp(path, root) == 0)
            return true;
    return false;
}

bool PathInList(LPCITEMIDLIST pidl, const CArray<LPCWSTR>& roots)
{
    return PathIn(GetPidlPath(pidl), roots);
}

CString ExtensionOf(const CString& path)
{
    return path.IsEmpty() ? CString() : CString(PathFindExtensionW(path));
}

int NetDriveOf(const CString& path)
{
    if (path.GetLength() < 2 || path[1] != L':' || !theIsNetDrive)
        return 0;
    const wchar_t letter = static_cast<wchar_t>(towupper(path[0]));
    if (letter < L'A' || letter > L'Z')
        return 0;
    return theIsNetDrive(letter - L'A');
}

// One answer per drive letter for the items of one folder.
class NetDriveCache {
public:
    int Of(const CString& path)
    {
        const wchar_t letter = path.GetLength() >= 2 && path[1] == L':' ? static_cast<wchar_t>(towupper(path[0])) : 0;
        if (letter < L'A' || letter > L'Z')
            return NetDriveOf(path);
        int& known = m_known[letter - L'A'];
        if (known < 0)
            known = NetDriveOf(path);
        return known;
    }

private:
    int m_known[26] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                       -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

// The excluded folders are all folders: a file is never compared with them.
bool IsExcluded(LPCITEMIDLIST pidl, const CString& path, bool mayBeFolder)
{
    if (mayBeFolder && InList(pidl, theExcludedFolders))
        return true;
    if (!path.IsEmpty())
        return false;
    if (InList(pidl, theVirtualRootFolders))
        return false;
    return !(Attributes(pidl, SFGAO_FILESYSANCESTOR) & SFGAO_FILESYSANCESTOR);
}

bool IsExcluded(LPCITEMIDLIST pidl, const ShellFileFacts& facts)
{
    const bool file = (facts.attributes & SFGAO_FILESYSTEM) && !(facts.attributes & SFGAO_FOLDER);
    return IsExcluded(pidl, facts.path, !file);
}

constexpr ULONG kFactAttributes = SFGAO_FILESYSTEM | SFGAO_CANMOVE | SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_LINK;

CString NameOf(IShellFolder* parent, LPCITEMIDLIST child, SHGDNF flags)
{
    STRRET text{};
    WCHAR name[MAX_PATH] = L"";
    if (FAILED(parent->GetDisplayNameOf(child, flags, &text)) || FAILED(StrRetToBufW(&text, child, name, MAX_PATH)))
        return CString();
    return CString(name);
}

// Asked of the item's own folder object, which is cheap; the same questions
// about the full list rebind every folder of the path each time.
ShellFileFacts ChildFacts(IShellFolder* parent, LPCITEMIDLIST child, LPCITEMIDLIST full, const CString& folderPath)
{
    ShellFileFacts facts{CString(), NameOf(parent, child, SHGDN_INFOLDER), kFactAttributes};
    if (FAILED(parent->GetAttributesOf(1, &child, &facts.attributes)))
        facts.attributes = 0;
    facts.attributes &= kFactAttributes;
    CString name;
    if ((facts.attributes & SFGAO_FILESYSTEM) && !folderPath.IsEmpty())
        name = NameOf(parent, child, SHGDN_INFOLDER | SHGDN_FORPARSING);
    WCHAR path[MAX_PATH];
    if (!name.IsEmpty() && PathCombineW(path, folderPath, name))
        facts.path = path;
    else
        facts.path = GetPidlPath(full);
    return facts;
}

void AddSpecialFolder(CPidlArray& list, int csidl)
{
    LPITEMIDLIST pidl = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) && pidl)
        list.Add(CPidl{pidl, 0});
}

void AddKnownFolder(CPidlArray& list, REFKNOWNFOLDERID id)
{
    LPITEMIDLIST pidl = nullptr;
    if (theKnownFolderIdList && SUCCEEDED(theKnownFolderIdList(id, 0, nullptr, &pidl)) && pidl)
        list.Add(CPidl{pidl, 0});
}

void FreeAll(CPidlArray& list)
{
    for (CPidl& item : list)
        item.Release();
    list.RemoveAll();
}

bool IsSortable(LPCITEMIDLIST folder)
{
    return IsDriveRootPidl(folder) || (Attributes(folder, SFGAO_FILESYSTEM) & SFGAO_FILESYSTEM);
}

HWND EnumOwner(LPCITEMIDLIST folder)
{
    if (theShellOwnerWindow && IsWindowEnabled(theShellOwnerWindow) && IsRemovableDrivePidl(folder))
        return theShellOwnerWindow;
    return nullptr;
}

// Sorts out[first...] in place, keeping the facts (one per item from first)
// and the information records beside the items.
void SortItems(CPidlArray& out, std::vector<ShellFileFacts>& facts, INT_PTR first, int sortKey)
{
    const size_t count = facts.size();
    std::vector<SHFILEINFOW> info(count);
    std::vector<WIN32_FIND_DATAW> find(count);
    for (size_t i = 0; i < count; ++i) {
        info[i].dwAttributes = facts[i].attributes;
        wcsncpy_s(info[i].szDisplayName, facts[i].displayName, _TRUNCATE);
        // Type names and find data are read only for the keys that compare them.
        if (sortKey == 2) {
            SHFILEINFOW type{};
            SHGetFileInfoW(reinterpret_cast<LPCWSTR>(out[first + i].pidl), 0, &type, sizeof type,
                           SHGFI_PIDL | SHGFI_TYPENAME);
            wcscpy_s(info[i].szTypeName, type.szTypeName);
        }
        if ((sortKey == 1 || sortKey == 3) && !facts[i].path.IsEmpty()) {
            HANDLE h = FindFirstFileW(facts[i].path, &find[i]);
            if (h != INVALID_HANDLE_VALUE)
                FindClose(h);
            else
                memset(&find[i], 0, sizeof find[i]);
        }
    }
    for (size_t i = 0; i < count; ++i)
        for (size_t j = i + 1; j < count; ++j)
            if (CompareShellItems(&info[i], &info[j], &find[i], &find[j], sortKey) > 0) {
                std::swap(out[first + i], out[first + j]);
                std::swap(info[i], info[j]);
                std::swap(find[i], find[j]);
                std::swap(facts[i], facts[j]);
            }
}

// The shell's stream form of an item list: a 16-bit length, then the list of
// items, each starting with its own 16-bit size, ending with a zero size.
bool IsWellFormedListBytes(const BYTE* data, size_t size)
{
    if (size < 4)
        return false;
    const size_t length = data[0] | data[1] << 8;
    if (length < 2 || length + 2 > size)
        return false;
    size_t at = 2;
    const size_t end = 2 + length;
    while (at + 2 <= end) {
        const size_t cb = data[at] | data[at + 1] << 8;
        if (cb == 0)
            return true;
        if (cb < 2 || at + cb > end)
            return false;
        at += cb;
    }
    return false;
}

}  // namespace

void CPidl::Assign(LPCITEMIDLIST source)
{
    Release();
    pidl = source ? ILClone(source) : nullptr;
}

BOOL CPidl::Release()
{
    if (changeNotifyId) {
        SHChangeNotifyDeregister(changeNotifyId);
        changeNotifyId = 0;
    }
    if (!pidl)
        return FALSE;
    ILFree(pidl);
    pidl = nullptr;
    return TRUE;
}

BOOL InitShell()
{
    if (FAILED(SHGetDesktopFolder(&theDesktopFolder)) || !theDesktopFolder)
        return FALSE;
    theShellLibrary = LoadLibraryW(L"shell32.dll");
    if (!theShellLibrary)
        return FALSE;
    theLoadFromStream = ShellProc<LoadFromStreamFn>("ILLoadFromStream");
    if (!theLoadFromStream)
        theLoadFromStream = ShellProc<LoadFromStreamFn>("ILLoadFromStreamEx");
    if (!theLoadFromStream)
        theLoadFromStream = ShellProc<LoadFromStreamFn>(MAKEINTRESOURCEA(26));
    if (!theLoadFromStream)
        return FALSE;
    theKnownFolderIdList =
        ShellProc<KnownFolderIdListFn>("SHGetKnownFolderIDList");
    theIsNetDrive = ShellProc<IsNetDriveFn>("IsNetDrive");
    if (!theIsNetDrive)
        theIsNetDrive = ShellProc<IsNetDriveFn>(MAKEINTRESOURCEA(66));
    if (auto fileIconInit = ShellProc<FileIconInitFn>(MAKEINTRESOURCEA(660)))
        fileIconInit(FALSE);

    theDesktopPidl.Release();
    theMyComputerPidl.Release();
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &theDesktopPidl.pidl)) ||
        FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &theMyComputerPidl.pidl)))
        return FALSE;

    FreeAll(theExcludedFolders);
    for (int csidl : {CSIDL_CONTROLS, CSIDL_BITBUCKET, CSIDL_FONTS, CSIDL_PRINTERS, CSIDL_INTERNET, CSIDL_FONTS,
                      CSIDL_DESKTOP})
        AddSpecialFolder(theExcludedFolders, csidl);
    for (const KNOWNFOLDERID* id : {&FOLDERID_SavedGames, &FOLDERID_SavedSearches, &FOLDERID_SyncManagerFolder,
                                    &FOLDERID_SyncResultsFolder, &FOLDERID_SyncSetupFolder, &FOLDERID_Links,
                                    &FOLDERID_SearchHome, &FOLDERID_CDBurning, &FOLDERID_ConflictFolder,
                                    &FOLDERID_NetworkFolder})
        AddKnownFolder(theExcludedFolders, *id);
    FreeAll(theVirtualRootFolders);
    AddSpecialFolder(theVirtualRootFolders, CSIDL_DRIVES);
    AddSpecialFolder(theVirtualRootFolders, CSIDL_NETWORK);

    EnumLogicalDrives();

    if (!theShellLink &&
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_ALL, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&theShellLink))))
        theShellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&thePersistFile));
    return TRUE;
}

void TermShell()
{
    if (thePersistFile) {
        thePersistFile->Release();
        thePersistFile = nullptr;
    }
    if (theShellLink) {
        theShellLink->Release();
        theShellLink = nullptr;
    }
    FreeAll(theExcludedFolders);
    FreeAll(theVirtualRootFolders);
    theRemovableDriveRoots.RemoveAll();
    theDriveRoots.RemoveAll();
    theDesktopPidl.Release();
    theMyComputerPidl.Release();
    if (theDesktopFolder) {
        theDesktopFolder->Release();
        theDesktopFolder = nullptr;
    }
    if (theShellLibrary) {
        FreeLibrary(theShellLibrary);
        theShellLibrary = nullptr;
    }
    theLoadFromStream = nullptr;
    theKnownFolderIdList = nullptr;
    theIsNetDrive = nullptr;
}

HIMAGELIST GetSmallSystemImageList()
{
    if (!theDesktopPidl.pidl)
        return nullptr;
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(reinterpret_cast<LPCWSTR>(theDesktopPidl.pidl), 0, &info,
                                                       sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_PIDL));
}

void EnumLogicalDrives()
{
    theDriveRoots.RemoveAll();
    theRemovableDriveRoots.RemoveAll();
    memset(theDriveStrings, 0, sizeof theDriveStrings);
    const DWORD length = GetLogicalDriveStringsW(520, theDriveStrings);
    if (length == 0 || length > 520)
        return;
    for (const wchar_t* root = theDriveStrings; *root; root += wcslen(root) + 1) {
        theDriveRoots.Add(root);
        const UINT type = GetDriveTypeW(root);
        if (type == DRIVE_REMOVABLE || type == DRIVE_CDROM)
            theRemovableDriveRoots.Add(root);
    }
}

BOOL IsRemovableDrivePidl(LPCITEMIDLIST pidl)
{
    return PathInList(pidl, theRemovableDriveRoots);
}

BOOL IsDriveRootPidl(LPCITEMIDLIST pidl)
{
    return PathInList(pidl, theDriveRoots);
}

int IsNetDrivePidl(LPCITEMIDLIST pidl)
{
    return NetDriveOf(GetPidlPath(pidl));
}

BOOL IsExcludedShellItem(LPCITEMIDLIST pidl)
{
    return IsExcluded(pidl, GetPidlPath(pidl), true);
}

BOOL ResolveFolderShortcut(WCHAR path[MAX_PATH], LPCITEMIDLIST pidl)
{
    if (!thePersistFile || !theShellLink || !(Attributes(pidl, SFGAO_LINK) & SFGAO_LINK))
        return FALSE;
    const CString linkPath = GetPidlPath(pidl);
    if (linkPath.IsEmpty() || FAILED(thePersistFile->Load(linkPath, STGM_READ)))
        return FALSE;
    LPITEMIDLIST target = nullptr;
    if (FAILED(theShellLink->GetIDList(&target)) || !target)
        return FALSE;
    BOOL ok = FALSE;
    if (Attributes(target, SFGAO_HASSUBFOLDER | SFGAO_FOLDER)) {
        const CString targetPath = GetPidlPath(target);
        if (!targetPath.IsEmpty() && wcsncmp(targetPath, L"\\\\", 2) != 0 && targetPath.GetLength() < MAX_PATH) {
            wcscpy_s(path, MAX_PATH, targetPath);
            ok = TRUE;
        }
    }
    ILFree(target);
    return ok;
}

IShellFolder* GetShellFolder(LPCITEMIDLIST pidl)
{
    IShellFolder* folder = nullptr;
    if (!theDesktopFolder)
        return nullptr;
    if (pidl && pidl->mkid.cb &&
        SUCCEEDED(theDesktopFolder->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder))) &&
        folder)
        return folder;
    theDesktopFolder->AddRef();
    return theDesktopFolder;
}

SHFILEINFOW* GetShellFileInfo(UINT flags, LPCITEMIDLIST pidl)
{
    auto* info = new SHFILEINFOW{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, info, sizeof *info, flags | SHGFI_PIDL);
    return info;
}

CString GetPidlPath(LPCITEMIDLIST pidl)
{
    WCHAR path[MAX_PATH] = {};
    if (!pidl || !SHGetPathFromIDListW(pidl, path))
        return CString();
    return CString(path);
}

CString GetPidlExtension(LPCITEMIDLIST pidl)
{
    return ExtensionOf(GetPidlPath(pidl));
}

BOOL HasSubFoldersPidl(const CPidl& item)
{
    if (IsRemovableDrivePidl(item.pidl))
        return TRUE;
    return (Attributes(item.pidl, SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER) != 0;
}

BOOL IsFolderPidl(const CPidl& item)
{
    if (IsRemovableDrivePidl(item.pidl))
        return TRUE;
    return (Attributes(item.pidl, SFGAO_FOLDER) & SFGAO_FOLDER) != 0;
}

int EnumShellFolder(const CPidl& folder, CPidlArray& out)
{
    EnumLogicalDrives();
    const bool sortable = IsSortable(folder.pidl);
    IShellFolder* shellFolder = GetShellFolder(folder.pidl);
    if (!shellFolder)
        return -1;
    IEnumIDList* items = nullptr;
    HRESULT hr = shellFolder->EnumObjects(EnumOwner(folder.pidl), SHCONTF_FOLDERS | SHCONTF_FASTITEMS, &items);
    if (FAILED(hr) || !items) {
        shellFolder->Release();
        return items ? 0 : -1;
    }
    const CString folderPath = GetPidlPath(folder.pidl);
    const INT_PTR first = out.GetSize();
    std::vector<ShellFileFacts> facts;
    LPITEMIDLIST child = nullptr;
    while (items->Next(1, &child, nullptr) == S_OK) {
        LPITEMIDLIST full = ILCombine(folder.pidl, child);
        if (!full) {
            CoTaskMemFree(child);
            continue;
        }
        ShellFileFacts item = ChildFacts(shellFolder, child, full, folderPath);
        CoTaskMemFree(child);
        if (IsExcluded(full, item) || IsArchiveExtension(ExtensionOf(item.path))) {
            ILFree(full);
        } else {
            out.Add(CPidl{full, 0});
            facts.push_back(item);
        }
    }
    items->Release();
    shellFolder->Release();
    if (sortable)
        SortItems(out, facts, first, 0);
    return static_cast<int>(out.GetSize() - first);
}

int EnumShellFiles(const CPidl& folder, CPidlArray& out, int sortKey, std::vector<ShellFileFacts>* factsOut)
{
    const CString folderPath = GetPidlPath(folder.pidl);
    if (folderPath.GetLength() > 259)
        return 0;
    EnumLogicalDrives();
    const bool sortable = IsSortable(folder.pidl);
    IShellFolder* shellFolder = GetShellFolder(folder.pidl);
    if (!shellFolder)
        return 0;
    IEnumIDList* items = nullptr;
    HRESULT hr = shellFolder->EnumObjects(EnumOwner(folder.pidl), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_FASTITEMS,
                                          &items);
    if (FAILED(hr) || !items) {
        shellFolder->Release();
        return 0;
    }
    const INT_PTR first = out.GetSize();
    std::vector<ShellFileFacts> facts;
    NetDriveCache netDrives;
    LPITEMIDLIST child = nullptr;
    while (items->Next(1, &child, nullptr) == S_OK) {
        LPITEMIDLIST full = ILCombine(folder.pidl, child);
        if (!full) {
            CoTaskMemFree(child);
            continue;
        }
        ShellFileFacts item = ChildFacts(shellFolder, child, full, folderPath);
        CoTaskMemFree(child);
        bool keep = false;
        if (!IsExcluded(full, item)) {
            if (netDrives.Of(item.path) == 2 || PathIn(item.path, theRemovableDriveRoots)) {
                keep = true;
            } else {
                const CString extension = ExtensionOf(item.path);
                if (ExtensionIn(extension, {L".wma", L".mp3", L".jpg", L".bmp", L".jfif", L".jpeg", L".jpe", L".R00",
                                            L".png", L".gif"})) {
                    keep = true;
                } else if (!IsArchiveExtension(extension)) {
                    WCHAR target[MAX_PATH];
                    keep = (item.attributes & (SFGAO_HASSUBFOLDER | SFGAO_FOLDER)) != 0 ||
                           ResolveFolderShortcut(target, full);
                }
            }
        }
        if (keep) {
            out.Add(CPidl{full, 0});
            facts.push_back(item);
        } else {
            ILFree(full);
        }
    }
    items->Release();
    shellFolder->Release();
    if (sortable)
        SortItems(out, facts, first, sortKey);
    if (factsOut)
        factsOut->insert(factsOut->end(), facts.begin(), facts.end());
    return static_cast<int>(out.GetSize() - first);
}

namespace {

// attributesOf(mask) answers the item's attributes; asked only when the
// extension does not decide.
template <typename AttributesOf>
int Classify(LPCITEMIDLIST pidl, const CString& path, AttributesOf attributesOf)
{
    const CString extension = ExtensionOf(path);
    if (IsArchiveExtension(extension))
        return 0;
    if (ExtensionIn(extension, {L".wma", L".mp3"}))
        return 2;
    if (ExtensionIn(extension, {L".jpg", L".bmp", L".jpeg", L".jpe", L".jfif", L".png", L".gif"}))
        return 3;
    const ULONG attributes = attributesOf(SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER | SFGAO_FOLDER | SFGAO_LINK);
    if (ExtensionIn(extension, {L".R00"}) && !(attributes & SFGAO_FOLDER))
        return 4;
    if (!pidl || !pidl->mkid.cb || (theDesktopPidl.pidl && ILIsEqual(pidl, theDesktopPidl.pidl)) ||
        !(attributes & SFGAO_FILESYSTEM))
        return 0;
    if (!path.IsEmpty() && GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        return 5;
    if (attributes & (SFGAO_HASSUBFOLDER | SFGAO_FOLDER))
        return 1;
    if (attributes & SFGAO_LINK)
        return 0;
    return 2;
}

}  // namespace

int ClassifyShellFile(const CPidl& item)
{
    return Classify(item.pidl, GetPidlPath(item.pidl), [&](ULONG mask) { return Attributes(item.pidl, mask); });
}

int ClassifyShellFile(const CPidl& item, const ShellFileFacts& facts)
{
    return Classify(item.pidl, facts.path, [&](ULONG mask) { return facts.attributes & mask; });
}

BOOL PidlToBytes(const CPidl& item, CByteArray& bytes)
{
    bytes.RemoveAll();
    if (!item.pidl)
        return FALSE;
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return FALSE;
    if (SUCCEEDED(ILSaveToStream(stream, item.pidl))) {
        HGLOBAL block = nullptr;
        STATSTG stat{};
        if (SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(GetHGlobalFromStream(stream, &block))) {
            const BYTE* data = static_cast<const BYTE*>(GlobalLock(block));
            if (data) {
                bytes.SetSize(static_cast<INT_PTR>(stat.cbSize.QuadPart));
                memcpy(bytes.GetData(), data, static_cast<size_t>(stat.cbSize.QuadPart));
                GlobalUnlock(block);
            }
        }
    }
    stream->Release();
    return !bytes.IsEmpty();
}

BOOL PidlFromBytes(CPidl& item, const CByteArray& bytes)
{
    item.Release();
    // The bytes come from the settings file: a damaged list is refused before the
    // shell sees it.
    if (!theLoadFromStream || !IsWellFormedListBytes(bytes.GetData(), static_cast<size_t>(bytes.GetSize())))
        return FALSE;
    IStream* stream = SHCreateMemStream(bytes.GetData(), static_cast<UINT>(bytes.GetSize()));
    if (!stream)
        return FALSE;
    LPITEMIDLIST pidl = nullptr;
    if (SUCCEEDED(theLoadFromStream(stream, &pidl)))
        item.pidl = pidl;
    stream->Release();
    return item.pidl != nullptr;
}

int CompareShellItems(const SHFILEINFOW* a, const SHFILEINFOW* b, const WIN32_FIND_DATAW* findA,
                      const WIN32_FIND_DATAW* findB, int sortKey)
{
    auto firstWithout = [&](ULONG flag) -> int {
        const bool hasA = (a->dwAttributes & flag) != 0, hasB = (b->dwAttributes & flag) != 0;
        return hasA == hasB ? 0 : hasA ? 1 : -1;
    };
    if (int r = firstWithout(SFGAO_FILESYSTEM))
        return r;
    if (int r = firstWithout(SFGAO_CANMOVE))
        return r;
    if (int r = -firstWithout(SFGAO_FOLDER))
        return r;
    auto compareText = [](const wchar_t* x, const wchar_t* y) {
        const int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x, -1, y, -1);
        return r == 0 ? 0 : r - CSTR_EQUAL;
    };
    switch (sortKey) {
    case 0:
        return compareText(a->szDisplayName, b->szDisplayName);
    case 1: {
        const ULONGLONG sizeA = (static_cast<ULONGLONG>(findA->nFileSizeHigh) << 32) | findA->nFileSizeLow;
        const ULONGLONG sizeB = (static_cast<ULONGLONG>(findB->nFileSizeHigh) << 32) | findB->nFileSizeLow;
        return sizeA < sizeB ? -1 : sizeA > sizeB ? 1 : 0;
    }
    case 2:
        return compareText(a->szTypeName, b->szTypeName);
    case 3:
        return CompareFileTime(&findA->ftLastWriteTime, &findB->ftLastWriteTime);
    default:
        return 0;
    }
}
