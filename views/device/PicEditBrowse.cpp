// The picture editor's browsing: the folder tree and its last folder, the
// listing of the chosen folder, Back and Up, and opening a picture by a
// double-click, the send-to-editor button or a drag onto the picture.
#include <shlobj.h>
#include <shlwapi.h>

#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/picture_ids.h"
#include "views/device/PicEditWnd.h"

namespace {

bool HasAttributes(LPCITEMIDLIST pidl)
{
    SHFILEINFOW info{};
    return ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_ATTRIBUTES) &&
           info.dwAttributes != 0;
}

bool IsMissing(LPCITEMIDLIST pidl)
{
    CPidl item{const_cast<LPITEMIDLIST>(pidl), 0};
    return ClassifyShellFile(item) == 5;
}

// "%02x" per byte; FALSE for a character that is no hexadecimal digit.
BOOL HexToBytes(const CString& text, CByteArray& bytes)
{
    const int pairs = text.GetLength() / 2;
    bytes.SetSize(pairs);
    for (int i = 0; i < pairs; ++i) {
        int value = 0;
        for (int k = 0; k < 2; ++k) {
            const wchar_t c = text[2 * i + k];
            int digit;
            if (c >= L'0' && c <= L'9')
                digit = c - L'0';
            else if (c >= L'a' && c <= L'f')
                digit = c - L'a' + 10;
            else if (c >= L'A' && c <= L'F')
                digit = c - L'A' + 10;
            else
                return FALSE;
            value = value * 16 + digit;
        }
        bytes[i] = static_cast<BYTE>(value);
    }
    return pairs > 0;
}

void ReplacePidl(LPITEMIDLIST& slot, LPCITEMIDLIST pidl)
{
    if (slot)
        ::ILFree(slot);
    slot = pidl ? ::ILClone(pidl) : nullptr;
}

bool IsPictureItem(const CCustomThumbCtrl& thumbs, int index)
{
    if (index < 0 || index >= thumbs.GetItemCount())
        return false;
    const CPidl* item = thumbs.GetItem(index).item;
    return item && item->pidl && ClassifyShellFile(*item) == 3;
}

BOOL ListInThumbs(CCustomThumbCtrl& thumbs, const CPidl* folder) { return thumbs.SetFolder(folder); }

}  // namespace

CPicEditWnd::ListFolderFn CPicEditWnd::s_listFolder = &ListInThumbs;

void CPicEditWnd::OnInitFolder()
{
    CShellTreeCtrl& tree = m_filePane.m_tree;
    tree.Initialize();
    const CString stored = theGlobal.m_igIniFolder;
    if (stored.IsEmpty())
        return;
    CByteArray bytes;
    if (!HexToBytes(stored, bytes))
        return;
    CPidl folder{nullptr, 0};
    if (!PidlFromBytes(folder, bytes) || !folder.pidl)
        return;
    LPITEMIDLIST pidl = ::ILClone(folder.pidl);
    folder.Release();
    if (!pidl)
        return;
    // The nearest folder that still exists, else the Computer folder. The
    // shell may report attributes for a folder that is gone: ask both.
    while (!HasAttributes(pidl) || IsMissing(pidl)) {
        if (pidl->mkid.cb == 0 || !::ILRemoveLastID(pidl)) {
            ::ILFree(pidl);
            pidl = ::ILClone(theMyComputerPidl.pidl);
            break;
        }
    }
    if (!pidl)
        return;
    tree.SelectPidl(pidl);
    ::ILFree(pidl);
    if (HTREEITEM caret = tree.GetSelectedItem())
        tree.EnsureVisible(caret);
}

void CPicEditWnd::OnTreeSelChanged(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    KillTimer(FolderTimer);
    auto* tv = reinterpret_cast<NMTREEVIEWW*>(nm);
    CShellTreeCtrl& tree = m_filePane.m_tree;
    const CPidl* now = tree.GetNodePidl(tv->itemNew.hItem);
    const CPidl* before = tree.GetNodePidl(tv->itemOld.hItem);
    ReplacePidl(m_newFolder, now ? now->pidl : nullptr);
    ReplacePidl(m_oldFolder, before ? before->pidl : nullptr);
    m_fallingBack = m_selectingFallback;
    if (m_asked)
        SetTimer(FolderTimer, tv->action == TVC_BYMOUSE ? 0 : 300, nullptr);
    m_filePane.Invalidate(FALSE);
}

void CPicEditWnd::OnTreeFocus(NMHDR*, LRESULT* result)
{
    *result = 0;
    m_filePane.Invalidate(FALSE);
}

void CPicEditWnd::OnTimer(UINT_PTR id)
{
    if (id != FolderTimer) {
        Default();
        return;
    }
    KillTimer(FolderTimer);
    ListFolder();
}

void CPicEditWnd::ListFolder()
{
    if (!m_newFolder)
        return;
    CCustomThumbCtrl& thumbs = m_filePane.m_thumbs;
    CPidl folder{m_newFolder, 0};
    if (s_listFolder(thumbs, &folder)) {
        RememberFolder(m_newFolder);
        m_fallingBack = false;
    } else if (!m_fallingBack) {
        // The previous folder again, or the Computer folder; their listing
        // comes with the new selection.
        LPITEMIDLIST back = nullptr;
        if (m_oldFolder && HasAttributes(m_oldFolder) && !IsMissing(m_oldFolder))
            back = ::ILClone(m_oldFolder);
        else
            back = ::ILClone(theMyComputerPidl.pidl);
        if (back) {
            m_selectingFallback = true;
            m_filePane.m_tree.SelectPidl(back);
            m_selectingFallback = false;
            ::ILFree(back);
        }
    } else {
        // The fallback cannot be listed either: stop here, the grid keeps
        // what it showed.
        m_fallingBack = false;
    }
    if (thumbs.GetSafeHwnd())
        thumbs.SetWindowPos(HWND{}, 0, 0, 0, 0,
                            SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CString CPicEditWnd::FolderSetting(LPCITEMIDLIST pidl)
{
    CPidl item{const_cast<LPITEMIDLIST>(pidl), 0};
    CByteArray bytes;
    CString text;
    if (pidl && PidlToBytes(item, bytes))
        for (INT_PTR i = 0; i < bytes.GetSize(); ++i) {
            CString pair;
            pair.Format(L"%02x", bytes[i]);
            text += pair;
        }
    return text;
}

void CPicEditWnd::RememberFolder(LPCITEMIDLIST pidl)
{
    const CString text = FolderSetting(pidl);
    if (!text.IsEmpty())
        theGlobal.m_igIniFolder = text;
}

void CPicEditWnd::OnThumbDblClk(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    CCustomThumbCtrl& thumbs = m_filePane.m_thumbs;
    const int index = reinterpret_cast<NMLISTVIEW*>(nm)->iItem;
    if (index < 0 || index >= thumbs.GetItemCount())
        return;
    if (IsPictureItem(thumbs, index)) {
        CString path;
        thumbs.GetItemPath(index, path);
        OpenPicture(path);
        return;
    }
    const CPidl* item = thumbs.GetItem(index).item;
    if (!item || !item->pidl)
        return;
    LPITEMIDLIST target = ::ILClone(item->pidl);
    if (!target)
        return;
    CPidl probe{target, 0};
    const int net = IsNetDrivePidl(target);
    bool listed = false;
    if (IsFolderPidl(probe) || net == 1 || net == 2) {
        listed = thumbs.SetFolder(&probe) != FALSE;
    } else {
        SHFILEINFOW info{};
        info.dwAttributes = SFGAO_LINK;
        ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(target), 0, &info, sizeof info,
                         SHGFI_PIDL | SHGFI_ATTRIBUTES | SHGFI_ATTR_SPECIFIED);
        WCHAR path[MAX_PATH] = L"";
        ::ILFree(target);
        target = nullptr;
        if ((info.dwAttributes & SFGAO_LINK) && ResolveFolderShortcut(path, item->pidl) && path[0] &&
            !::PathIsNetworkPathW(path) && (::GetFileAttributesW(path) & FILE_ATTRIBUTE_DIRECTORY) &&
            ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
            target = ::ILCreateFromPathW(path);
            if (target) {
                CPidl linked{target, 0};
                listed = thumbs.SetFolder(&linked) != FALSE;
            }
        }
    }
    if (listed) {
        CShellTreeCtrl& tree = m_filePane.m_tree;
        tree.SelectPidl(target);
        KillTimer(FolderTimer);  // listed already
        if (HTREEITEM caret = tree.GetSelectedItem())
            tree.EnsureVisible(caret);
        RememberFolder(target);
    }
    if (target)
        ::ILFree(target);
}

void CPicEditWnd::OnShellBack() { m_filePane.m_tree.GoBack(); }

void CPicEditWnd::OnShellUp() { m_filePane.m_tree.GoUp(); }

void CPicEditWnd::OnUpdateShellBack(CCmdUI* ui)
{
    if (!PassOn(ui))
        ui->Enable(m_filePane.m_tree.GetSafeHwnd() && m_filePane.m_tree.GetHistory().GetSize() > 1);
}

void CPicEditWnd::OnUpdateShellUp(CCmdUI* ui)
{
    if (PassOn(ui))
        return;
    CShellTreeCtrl& tree = m_filePane.m_tree;
    HTREEITEM caret = tree.GetSafeHwnd() ? tree.GetSelectedItem() : nullptr;
    ui->Enable(caret && caret != tree.GetRootItem());
}

void CPicEditWnd::OnSelectImage()
{
    CCustomThumbCtrl& thumbs = m_filePane.m_thumbs;
    const int index = thumbs.GetCurSel();
    if (index < 0)
        return;
    CString path;
    thumbs.GetItemPath(index, path);
    OpenPicture(path);
}

void CPicEditWnd::OnUpdateSelectImage(CCmdUI* ui)
{
    if (PassOn(ui))
        return;
    CCustomThumbCtrl& thumbs = m_filePane.m_thumbs;
    ui->Enable(thumbs.GetSafeHwnd() && ::GetFocus() == thumbs.GetSafeHwnd() && IsPictureItem(thumbs, thumbs.GetCurSel()));
}

BOOL CPicEditWnd::OpenPicture(const CString& path)
{
    CDocIg& doc = theGlobal.m_docIg;
    if (doc.HasPicture()) {
        CMessageDlg box(theGlobal.UiString(237), nullptr);
        if (box.DoMessage(theGlobal.UiString(22), 11) != IDYES)
            return FALSE;
    }
    if (!doc.Load(path)) {
        ShowMessage(ErrorText(doc), 0);
        return FALSE;
    }
    // A new picture has no edits yet, whatever the one it replaced had.
    doc.SetModified(0);
    theGlobal.UpdateAllViews();
    m_imagePane.ResetFrame();
    m_imagePane.Invalidate(FALSE);
    return TRUE;
}

void CPicEditWnd::OnThumbBeginDrag(NMHDR* nm, LRESULT* result)
{
    *result = 0;
    CCustomThumbCtrl& thumbs = m_filePane.m_thumbs;
    const int index = thumbs.GetCurSel();
    if (::GetCapture() || index < 0)
        return;
    delete m_dragImages;
    m_dragImages = nullptr;
    if (!IsPictureItem(thumbs, index)) {
        m_dragKind = 1;
    } else {
        m_dragKind = 16;
        thumbs.GetItemPath(index, m_dragPath);
        POINT origin{0, 0};
        m_dragImages = thumbs.CreateDragImage(index, &origin);
        const POINT at = reinterpret_cast<NMLISTVIEW*>(nm)->ptAction;
        if (m_dragImages) {
            ImageList_BeginDrag(m_dragImages->GetSafeHandle(), 0, at.x - origin.x, at.y - origin.y);
            POINT screen = at;
            thumbs.ClientToScreen(&screen);
            ImageList_DragEnter(nullptr, screen.x, screen.y);
        }
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_NO));
    m_thumbDragging = 1;
    SetCapture();
}

void CPicEditWnd::EndThumbDrag(bool drop)
{
    if (m_dragImages) {
        ImageList_EndDrag();
        ImageList_DragLeave(nullptr);
        delete m_dragImages;
        m_dragImages = nullptr;
    }
    m_thumbDragging = 0;
    ::ReleaseCapture();
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    const bool open = drop && m_dragKind != 1 && m_overTarget;
    m_overTarget = 0;
    if (open)
        OpenPicture(m_dragPath);
}
