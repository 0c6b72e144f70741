#include "controls/ShellTreeCtrl.h"

BEGIN_MESSAGE_MAP(CShellTreeCtrl, CCustomTreeCtrl)
    ON_NOTIFY_REFLECT_EX(TVN_ITEMEXPANDINGW, OnItemExpanding)
    ON_NOTIFY_REFLECT_EX(TVN_SELCHANGEDW, OnSelChanged)
    ON_WM_TIMER()
    ON_WM_SHOWWINDOW()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CShellTreeCtrl::~CShellTreeCtrl()
{
    if (m_hWnd && m_createdHere)
        DestroyWindow();
    ClearHistory();
}

CPidl* CShellTreeCtrl::GetNodePidl(HTREEITEM node) const
{
    const TVITEMW* item = GetItem(node);
    return item ? reinterpret_cast<CPidl*>(item->lParam) : nullptr;
}

void CShellTreeCtrl::ClearHistory()
{
    for (INT_PTR i = 0; i < m_history.GetSize(); ++i)
        m_history[i].Release();
    m_history.RemoveAll();
}

void CShellTreeCtrl::AddHistory(LPCITEMIDLIST pidl)
{
    const INT_PTR n = m_history.GetSize();
    if (n && ILIsEqual(m_history[n - 1].pidl, pidl))
        return;
    // A fresh copy: the history never holds a node's change registration.
    m_history.Add(CPidl{ILClone(pidl), 0});
}

void CShellTreeCtrl::Watch(CPidl& folder)
{
    if (folder.changeNotifyId) {
        SHChangeNotifyDeregister(folder.changeNotifyId);
        folder.changeNotifyId = 0;
    }
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->m_hWnd)
        return;
    SHChangeNotifyEntry entry{folder.pidl, FALSE};
    folder.changeNotifyId = SHChangeNotifyRegister(main->m_hWnd, SHCNRF_ShellLevel, kWatchedEvents,
                                                   WM_SHELL_CHANGE_NOTIFY, 1, &entry);
}

void CShellTreeCtrl::Initialize()
{
    if (m_initialized) {
        SelectItem(nullptr);
        if (HTREEITEM root = GetRootItem())
            DeleteShellItem(root);
        m_initialized = FALSE;
    }
    m_caret = nullptr;
    DeleteAllItems();
    RecalcLayout();
    m_initialized = TRUE;
    SetImageList(CImageList::FromHandle(GetSmallSystemImageList()));

    LPITEMIDLIST desktop = nullptr;
    if (theDesktopPidl.pidl)
        desktop = ILClone(theDesktopPidl.pidl);
    else
        SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop);
    if (!desktop)
        return;
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(desktop), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX);
    auto* pidl = new CPidl{desktop, 0};
    HTREEITEM root = InsertItem(info.szDisplayName, TVI_ROOT, info.iIcon, reinterpret_cast<LPARAM>(pidl));
    if (!root) {
        pidl->Release();
        delete pidl;
        return;
    }
    Populate(root);
    Expand(root, TVE_EXPAND);
    RecalcLayout();
    SelectItem(root);
    SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CShellTreeCtrl::Populate(HTREEITEM node)
{
    CPidl* folder = GetNodePidl(node);
    if (!folder || !folder->pidl)
        return TRUE;
    CWaitCursor wait;
    EnumLogicalDrives();
    if (!IsDriveRootPidl(folder->pidl)) {
        SHFILEINFOW info{};
        info.dwAttributes = SFGAO_FOLDER;
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(folder->pidl), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_ATTRIBUTES | SHGFI_ATTR_SPECIFIED);
        if (!(info.dwAttributes & SFGAO_FOLDER))
            return TRUE;
    }
    while (HTREEITEM child = GetChildItem(node))
        DeleteShellItem(child);
    BOOL ok = TRUE;
    CPidlArray folders;
    if (EnumShellFolder(*folder, folders) < 0) {
        ok = FALSE;
    } else {
        for (INT_PTR i = 0; i < folders.GetSize(); ++i) {
            CPidl& sub = folders[i];
            SHFILEINFOW names{};
            SHGetFileInfoW(reinterpret_cast<LPCWSTR>(sub.pidl), 0, &names, sizeof names,
                           SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX);
            SHFILEINFOW marks{};
            SHGetFileInfoW(reinterpret_cast<LPCWSTR>(sub.pidl), 0, &marks, sizeof marks,
                           SHGFI_PIDL | SHGFI_ATTRIBUTES | SHGFI_ICON | SHGFI_OVERLAYINDEX | SHGFI_SMALLICON);
            if (marks.hIcon)
                DestroyIcon(marks.hIcon);
            const bool faint = (marks.dwAttributes & (SFGAO_HIDDEN | SFGAO_GHOSTED)) != 0;
            TVINSERTSTRUCTW insert{};
            insert.hParent = node;
            insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_SELECTEDIMAGE | TVIF_STATE;
            insert.item.pszText = names.szDisplayName;
            insert.item.iImage = insert.item.iSelectedImage = names.iIcon;
            insert.item.state = (((static_cast<UINT>(marks.iIcon) >> 24) & 0x0F) << 8) | (faint ? TVIS_CUT : 0);
            insert.item.stateMask = faint ? 0xF04 : 0xF00;
            auto* pidl = new CPidl{sub.pidl, 0};
            sub.pidl = nullptr;  // the node owns it now
            insert.item.lParam = reinterpret_cast<LPARAM>(pidl);
            HTREEITEM child = InsertItem(&insert);
            if (!child) {
                pidl->Release();
                delete pidl;
                continue;
            }
            if (HasSubFoldersPidl(*pidl))
                AddChild(child);
        }
    }
    for (INT_PTR i = 0; i < folders.GetSize(); ++i)
        folders[i].Release();
    UpdateWindow();
    Watch(*folder);
    return ok;
}

void CShellTreeCtrl::DeleteShellItem(HTREEITEM node)
{
    if (!node)
        return;
    while (HTREEITEM child = GetChildItem(node))
        DeleteShellItem(child);
    if (CPidl* pidl = GetNodePidl(node)) {
        pidl->Release();  // ends its watch too
        delete pidl;
        GetItem(node)->lParam = 0;
    }
    if (m_caret == Node(node))
        m_caret = nullptr;
    DeleteItem(node);
    RecalcLayout();
}

HTREEITEM CShellTreeCtrl::FindVisible(LPCITEMIDLIST pidl)
{
    for (HTREEITEM node = GetRootItem(); node; node = GetNextItem(node, TVGN_NEXTVISIBLE)) {
        CPidl* p = GetNodePidl(node);
        if (p && p->pidl && ILIsEqual(p->pidl, pidl))
            return node;
    }
    return nullptr;
}

CShellTreeCtrl::Pass CShellTreeCtrl::SearchPass(LPCITEMIDLIST pidl, int& removed)
{
    removed = 0;
    LPITEMIDLIST work = ILClone(pidl);
    if (!work)
        return Pass::Failed;
    for (;;) {
        if (HTREEITEM node = FindVisible(work)) {
            ILFree(work);
            if (!GetChildItem(node))
                Populate(node);
            Expand(node, TVE_EXPAND);
            RecalcLayout();
            SelectItem(node);
            return removed == 0 ? Pass::Found : Pass::Ancestor;
        }
        if (ILIsEmpty(work) || !ILRemoveLastID(work)) {
            ILFree(work);
            return Pass::Failed;
        }
        ++removed;
    }
}

BOOL CShellTreeCtrl::SearchPasses(LPCITEMIDLIST pidl, bool& stuck)
{
    stuck = false;
    int previous = -1;
    for (;;) {
        int removed = 0;
        switch (SearchPass(pidl, removed)) {
        case Pass::Found: return TRUE;
        case Pass::Failed: return FALSE;
        case Pass::Ancestor: break;
        }
        if (removed == previous) {
            stuck = true;
            return FALSE;
        }
        previous = removed;
    }
}

BOOL CShellTreeCtrl::SelectPidl(LPCITEMIDLIST pidl)
{
    if (!pidl)
        return FALSE;
    LPITEMIDLIST copy = ILClone(pidl);
    bool stuck = false;
    m_searching = true;
    BOOL found = SearchPasses(copy, stuck);
    if (!found && stuck) {
        // Once more from the item rebuilt from its path; a second time would
        // only repeat itself. A virtual folder has no path: not found.
        WCHAR path[MAX_PATH] = {};
        LPITEMIDLIST rebuilt = SHGetPathFromIDListW(copy, path) ? ILCreateFromPathW(path) : nullptr;
        if (rebuilt) {
            found = SearchPasses(rebuilt, stuck);
            ILFree(rebuilt);
        }
    }
    m_searching = false;
    if (found && m_initialized)
        AddHistory(copy);
    ILFree(copy);
    return found;
}

void CShellTreeCtrl::GoBack()
{
    if (!m_initialized || m_history.GetSize() == 0)
        return;
    if (m_history.GetSize() >= 2) {
        m_history[m_history.GetSize() - 1].Release();
        m_history.RemoveAt(m_history.GetSize() - 1);
    }
    LPITEMIDLIST target = ILClone(m_history[m_history.GetSize() - 1].pidl);
    SelectPidl(target);
    ILFree(target);
    if (HTREEITEM caret = GetSelectedItem())
        EnsureVisible(caret);
}

BOOL CShellTreeCtrl::GoUp()
{
    if (!m_initialized)
        return FALSE;
    HTREEITEM caret = GetSelectedItem();
    HTREEITEM parent = caret ? GetParentItem(caret) : nullptr;
    CPidl* up = parent ? GetNodePidl(parent) : nullptr;
    if (!up || !up->pidl)
        return FALSE;
    LPITEMIDLIST target = ILClone(up->pidl);
    SelectPidl(target);
    ILFree(target);
    if (HTREEITEM now = GetSelectedItem())
        EnsureVisible(now);
    return TRUE;
}

BOOL CShellTreeCtrl::OnItemExpanding(NMHDR* nm, LRESULT*)
{
    auto* tv = reinterpret_cast<NMTREEVIEWW*>(nm);
    if (m_initialized && tv->action == TVE_EXPAND) {
        if (Populate(tv->itemNew.hItem))
            SelectItem(tv->itemNew.hItem);
        UpdateScrollBars();
    }
    return FALSE;  // the parent hears of it too
}

BOOL CShellTreeCtrl::OnSelChanged(NMHDR* nm, LRESULT*)
{
    if (!m_initialized)
        return FALSE;
    auto* tv = reinterpret_cast<NMTREEVIEWW*>(nm);
    if (tv->action == TVC_BYKEYBOARD) {
        // A run of moves reaches the parent once, when the keys rest.
        m_pendingSelChange = *tv;
        KillTimer(TimerKeySelect);
        SetTimer(TimerKeySelect, KeySelectDelay);
        return TRUE;
    }
    CPidl* pidl = GetNodePidl(tv->itemNew.hItem);
    if (pidl && pidl->pidl && !m_searching)
        AddHistory(pidl->pidl);
    return FALSE;
}

bool CShellTreeCtrl::NodeExists(HTREEITEM node)
{
    // Depth first over every node, opened or not.
    for (HTREEITEM top = GetRootItem(); top; top = GetNextSiblingItem(top)) {
        HTREEITEM stack[256];
        int depth = 0;
        stack[depth++] = top;
        while (depth) {
            HTREEITEM n = stack[--depth];
            if (n == node)
                return true;
            for (HTREEITEM c = GetChildItem(n); c && depth < 256; c = GetNextSiblingItem(c))
                stack[depth++] = c;
        }
    }
    return false;
}

void CShellTreeCtrl::OnTimer(UINT_PTR id)
{
    if (id != TimerKeySelect) {
        CCustomTreeCtrl::OnTimer(id);
        return;
    }
    KillTimer(TimerKeySelect);
    // The nodes may have gone since the keys were pressed: tell what is there now.
    NMTREEVIEWW nm = m_pendingSelChange;
    nm.action = TVC_BYMOUSE;
    if (nm.itemOld.hItem && !NodeExists(nm.itemOld.hItem))
        nm.itemOld = TVITEMW{};
    if (const TVITEMW* caret = GetItem(GetSelectedItem()))
        nm.itemNew = *caret;
    else
        nm.itemNew = TVITEMW{};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nm.hdr.code = TVN_SELCHANGEDW;
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void CShellTreeCtrl::OnShowWindow(BOOL show, UINT)
{
    Default();
    if (show)
        UpdateScrollBars();
}

void CShellTreeCtrl::OnDestroy()
{
    KillTimer(TimerKeySelect);
    if (m_initialized) {
        SelectItem(nullptr);
        if (HTREEITEM root = GetRootItem())
            DeleteShellItem(root);
        m_initialized = FALSE;
    }
    CCustomTreeCtrl::OnDestroy();
}
