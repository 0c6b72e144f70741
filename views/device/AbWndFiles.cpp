// The book's files (open and save on the PC, export to the card), the import
// views, leaving with Back or Top, and the context menu.
#include <shlwapi.h>

#include "common/FileUtil.h"
#include "common/LogWriter.h"
#include "core/Global.h"
#include "doc/DocPi.h"
#include "frame/MessageDlg.h"
#include "frame/RemovableDlg.h"
#include "res/device_ids.h"
#include "res/frame_ids.h"
#include "views/device/AbWnd.h"

namespace {

// The file dialog for *.L00 files, preset with the last name.
BOOL AskBookPath(CWnd* owner, BOOL open, CString& path)
{
    wchar_t buffer[MAX_PATH] = L"";
    lstrcpynW(buffer, theGlobal.m_abFileSpec.Left(259), MAX_PATH);
    if (!CAbWnd::s_fileDialog(owner ? owner->GetSafeHwnd() : nullptr, theGlobal.m_abIniFolder, 5, open, buffer))
        return FALSE;
    path = buffer;
    return !path.IsEmpty();
}

void RememberBookPath(const CString& path)
{
    const int slash = path.ReverseFind(L'\\');
    theGlobal.m_abFileSpec = path.Mid(slash + 1);
    theGlobal.m_abIniFolder = slash >= 0 ? path.Left(slash) : CString();
}

}  // namespace

CAbWnd::FileDialogFn CAbWnd::s_fileDialog = &ShowFileDialog;

void CAbWnd::OnOpen()
{
    if (!IsCurrent())
        return;
    CString path;
    if (!AskBookPath(AfxGetMainWnd(), TRUE, path))
        return;
    CDocAb& book = Document();
    const int wasModified = book.IsModified();
    if (book.Load(path)) {
        // Entries the book held before the file came are still unsaved.
        book.SetModified(wasModified);
        RememberBookPath(path);
        ClearUndo();
        ClearRedo();
        RefreshList();
        return;
    }
    ShowMessage(ErrorText(book), 0);
    if (book.GetErrorCode() == PIERR_TOO_MANY) {
        // The entries added so far are in the book, outside the history: an
        // undo could now write over them.
        book.SetModified(1);
        ClearUndo();
        ClearRedo();
        RefreshList();
    }
}

void CAbWnd::OnSaveToPc()
{
    if (!IsCurrent())
        return;
    CDocAb& book = Document();
    if (!book.CheckNames()) {
        ShowMessage(ErrorText(book), 0);
        return;
    }
    CString path;
    if (!AskBookPath(AfxGetMainWnd(), FALSE, path))
        return;
    if (!book.Save(path)) {
        ShowMessage(ErrorText(book), 0);
        return;
    }
    book.SetModified(0);
    RememberBookPath(path);
}

BOOL CAbWnd::Export()
{
    CDocAb& book = Document();
    if (!book.CheckNames()) {
        ShowMessage(ErrorText(book), 0);
        return FALSE;
    }
    CRemovableDlg chooser;
    if (chooser.DoModal() != IDOK)
        return FALSE;
    const CString root = chooser.GetDrivePath();
    if (root.IsEmpty())
        return FALSE;
    wchar_t path[MAX_PATH];
    lstrcpynW(path, root, MAX_PATH);
    for (const wchar_t* part : {L"PC", L"POINT", L"TONAVI", L"POINTREG.L00"})
        ::PathAppendW(path, part);
    WriteLog(L"Export Address Book Start");
    if (!book.CreateFolderAndSave(path)) {
        ShowMessage(ErrorText(book), 0);
        return FALSE;
    }
    WriteLog(L"Export Address Book End");
    book.SetModified(0);
    ShowMessage(theGlobal.UiString(16), 0);
    return TRUE;
}

void CAbWnd::OnExport()
{
    if (IsCurrent())
        Export();
}

void CAbWnd::OnImport()
{
    if (!IsCurrent())
        return;
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, ID_ADDRESS_BOOK_IMPORT, 0);
}

// Any change, the home entry's included, is asked about.
BOOL CAbWnd::HasUnsavedWork() const { return Document().IsModified() != 0; }

BOOL CAbWnd::CanLeave()
{
    if (!HasUnsavedWork())
        return TRUE;
    switch (ShowMessage(theGlobal.UiString(23), 3)) {
    case IDYES:
        Export();
        return !HasUnsavedWork();
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

void CAbWnd::ResetView()
{
    ResetAll();
    m_list.SetCurSel(-1);
    RefreshList();
}

void CAbWnd::OnBack()
{
    if (!IsCurrent())
        return;
    if (!CanLeave())
        return;
    ResetView();
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, ID_MAIN_MENU, 0);
}

void CAbWnd::OnTop()
{
    if (!IsCurrent())
        return;
    if (!CanLeave())
        return;
    ResetView();
    CWnd* main = AfxGetMainWnd();
    if (!main)
        return;
    main->SendMessage(WM_COMMAND, ID_MENU_REFRESH, 0);
    main->SendMessage(WM_COMMAND, ID_MAIN_MENU, 0);
}

void CAbWnd::OnContextMenu(CWnd*, CPoint pt)
{
    ShowContextMenu(IsBrazilRegion() ? IDR_AB_MENU_BR : IDR_AB_MENU, pt);
}
