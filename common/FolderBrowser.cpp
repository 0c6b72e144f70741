#include "common/FolderBrowser.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>

#include "classlib/CString.h"
#include "common/ShellServices.h"

namespace {

struct BrowseState {
    LPCWSTR title;
    LPCWSTR initialPath;  // NULL when the given path does not exist
    LPCWSTR freeSpace;
    const RECT* keepClear;
};

// Shows the selected folder's free space and allows OK only for folders that
// have a file-system path with readable free space.
void OnSelectionChanged(HWND dialog, LPCITEMIDLIST pidl, LPCWSTR freeSpace)
{
    SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(L""));
    WCHAR path[MAX_PATH] = {};
    ULARGE_INTEGER available, total, totalFree;
    if (pidl && SHGetPathFromIDListW(pidl, path) && path[0] &&
        GetDiskFreeSpaceExW(path, &available, &total, &totalFree)) {
        if (freeSpace) {
            const CString status = FreeSpaceText(freeSpace, totalFree.QuadPart / 1048576);
            SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(status.GetString()));
        }
        SendMessageW(dialog, BFFM_ENABLEOK, 0, TRUE);
    } else {
        SendMessageW(dialog, BFFM_ENABLEOK, 0, FALSE);
    }
}

void MoveClearOf(HWND dialog, const RECT& keepClear)
{
    RECT window;
    ::GetWindowRect(dialog, &window);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!::GetMonitorInfoW(::MonitorFromRect(&keepClear, MONITOR_DEFAULTTONEAREST), &mi))
        return;
    const RECT r = PlaceClearOf(window, keepClear, mi.rcWork);
    ::SetWindowPos(dialog, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM param, LPARAM data)
{
    const BrowseState* state = reinterpret_cast<const BrowseState*>(data);
    switch (message) {
    case BFFM_INITIALIZED:
        if (state->title)
            SetWindowTextW(dialog, state->title);
        if (state->keepClear)
            MoveClearOf(dialog, *state->keepClear);
        if (state->initialPath)
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state->initialPath));
        break;
    case BFFM_SELCHANGED:
        OnSelectionChanged(dialog, reinterpret_cast<LPCITEMIDLIST>(param), state->freeSpace);
        break;
    }
    return 0;
}

}  // namespace

CString FreeSpaceText(LPCWSTR format, ULONGLONG megabytes)
{
    CString text = format ? format : L"";
    text.Replace(L"%d", std::to_wstring(megabytes).c_str());
    return text;
}

RECT PlaceClearOf(const RECT& window, const RECT& keepClear, const RECT& workArea)
{
    const LONG w = window.right - window.left, h = window.bottom - window.top;
    // Along one edge: as near to start as the work area allows.
    auto along = [](LONG start, LONG size, LONG low, LONG high) { return std::max(low, std::min(start, high - size)); };
    const LONG x = along(keepClear.left, w, workArea.left, workArea.right);
    const LONG y = along(keepClear.top, h, workArea.top, workArea.bottom);
    const RECT candidates[] = {
        {x, keepClear.bottom, x + w, keepClear.bottom + h},
        {x, keepClear.top - h, x + w, keepClear.top},
        {keepClear.right, y, keepClear.right + w, y + h},
        {keepClear.left - w, y, keepClear.left, y + h},
    };
    for (const RECT& r : candidates)
        if (r.left >= workArea.left && r.top >= workArea.top && r.right <= workArea.right && r.bottom <= workArea.bottom)
            return r;
    return window;
}

BOOL BrowseForFolder(WCHAR path[MAX_PATH], HWND owner, LPCWSTR title, LPCWSTR freeSpace, const RECT* keepClear)
{
    WCHAR initial[MAX_PATH] = {};
    wcsncpy_s(initial, path, _TRUNCATE);
    const BrowseState state{title, initial[0] && PathFileExistsW(initial) ? initial : nullptr, freeSpace, keepClear};

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
