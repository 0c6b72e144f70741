#include "common/FolderBrowser.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <climits>

#include "classlib/CString.h"
#include "common/ShellServices.h"

namespace {

struct BrowseState {
    LPCWSTR title;
    LPCWSTR initialPath;  // NULL when the given path does not exist
};

// Shows the selected folder's free space and allows OK only for folders that
// have a file-system path with readable free space.
void OnSelectionChanged(HWND dialog, LPCITEMIDLIST pidl)
{
    SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(L""));
    WCHAR path[MAX_PATH] = {};
    ULARGE_INTEGER available, total, totalFree;
    if (pidl && SHGetPathFromIDListW(pidl, path) && path[0] &&
        GetDiskFreeSpaceExW(path, &available, &total, &totalFree)) {
        const ULONGLONG megabytes = totalFree.QuadPart / 1048576;
        CString status;
        status.Format(L"\u7A7A\u304D\u5BB9\u91CF %d MBytes", static_cast<int>(megabytes > INT_MAX ? INT_MAX : megabytes));
        SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(status.GetString()));
        SendMessageW(dialog, BFFM_ENABLEOK, 0, TRUE);
    } else {
        SendMessageW(dialog, BFFM_ENABLEOK, 0, FALSE);
    }
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM param, LPARAM data)
{
    const BrowseState* state = reinterpret_cast<const BrowseState*>(data);
    switch (message) {
    case BFFM_INITIALIZED:
        if (state->title)
            SetWindowTextW(dialog, state->title);
        if (state->initialPath)
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state->initialPath));
        break;
    case BFFM_SELCHANGED:
        OnSelectionChanged(dialog, reinterpret_cast<LPCITEMIDLIST>(param));
        break;
    }
    return 0;
}

}  // namespace

BOOL BrowseForFolder(WCHAR path[MAX_PATH], HWND owner, LPCWSTR title)
{
    WCHAR initial[MAX_PATH] = {};
    wcsncpy_s(initial, path, _TRUNCATE);
    const BrowseState state{title, initial[0] && PathFileExistsW(initial) ? initial : nullptr};

    // The tree shares the system image list; its icons are drawn on the
    // window colour while the dialog shows.
    HIMAGELIST images = GetSmallSystemImageList();
    const COLORREF oldBackground = images ? ImageList_GetBkColor(images) : CLR_NONE;
    if (images)
        ImageList_SetBkColor(images, GetSysColor(COLOR_WINDOW));

    BROWSEINFOW info{};
    info.hwndOwner = owner;
    // No BIF_NEWDIALOGSTYLE: the new-style dialog has no visible status line,
    // and the free space would never be seen.
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&state);
    LPITEMIDLIST chosen = SHBrowseForFolderW(&info);

    if (images)
        ImageList_SetBkColor(images, oldBackground);

    path[0] = L'\0';
    if (!chosen)
        return FALSE;
    // A choice without a file-system path is no folder the caller can use.
    const BOOL ok = SHGetPathFromIDListW(chosen, path) && path[0] && PathAddBackslashW(path);
    if (!ok)
        path[0] = L'\0';
    ILFree(chosen);
    return ok;
}
