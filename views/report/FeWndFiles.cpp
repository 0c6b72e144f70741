// Opening and saving fuel files, the master file, New, and leaving the view.
#include "classlib/CWaitCursor.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/frame_ids.h"
#include "views/report/FeWnd.h"

namespace {

HWND MainHwnd()
{
    CWnd* main = AfxGetMainWnd();
    return main ? main->GetSafeHwnd() : nullptr;
}

// The chosen file becomes the last fuel file and folder.
void RememberFile(const wchar_t* path)
{
    CString full(path);
    const int slash = full.ReverseFind(L'\\');
    theGlobal.m_feFileSpec = full.Mid(slash + 1);
    theGlobal.m_feIniFolder = full.Left(slash > 0 ? slash : 0);
}

}  // namespace

void CFeWnd::ShowDocumentError()
{
    CString text;
    ShowMessage(m_doc->GetErrorString(text), 0);
}

BOOL CFeWnd::AskSaveFirst()
{
    if (!m_doc->IsModified() || m_doc->GetCount() == 0)
        return TRUE;
    switch (ShowMessage(theGlobal.UiString(23), 3)) {
    case IDYES:
        OnFileSave();
        return !m_doc->IsModified();
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

void CFeWnd::OnUpdateHasRecords(CCmdUI* ui)
{
    if (Declines(ui))
        return;
    ui->Enable(m_doc->GetCount() > 0);
}

void CFeWnd::OnFileOpen()
{
    if (!IsCurrent())
        return;
    if (!AskSaveFirst())
        return;
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, theGlobal.m_feFileSpec, MAX_PATH);
    const int kind = theGlobal.m_modelType == 0 || theGlobal.m_modelType == 2 ? 2 : 7;
    if (!s_fileDialog(MainHwnd(), theGlobal.m_feIniFolder, kind, TRUE, path))
        return;
    CWaitCursor wait;
    // The file replaces the log; a file that cannot be read leaves the log as it was.
    CArray<DOCFUEL_DATA> previous;
    previous.Copy(m_doc->m_records);
    const int wasModified = m_doc->IsModified();
    m_doc->RemoveAll();
    m_doc->m_overLimit = 0;
    if (m_doc->Load(path) || m_doc->m_overLimit) {
        RememberFile(path);
        ResetRows();
        m_sortColumn = kFuelNoSort;
        m_doc->SetModified(0);
        if (m_doc->m_overLimit) {
            ShowDocumentError();
            m_doc->m_overLimit = 0;
        }
    } else {
        ShowDocumentError();
        m_doc->m_records.Copy(previous);
        m_doc->SetModified(wasModified);
    }
    RefreshList();
    Invalidate(FALSE);
}

void CFeWnd::OnFileSave()
{
    if (!IsCurrent())
        return;
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, theGlobal.m_feFileSpec, MAX_PATH);
    if (!s_fileDialog(MainHwnd(), theGlobal.m_feIniFolder, 6, FALSE, path))
        return;
    if (m_doc->Save(path))
        RememberFile(path);
    else
        ShowDocumentError();
    RefreshList();
}

void CFeWnd::OnSaveSelected()
{
    if (!IsCurrent())
        return;
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, theGlobal.m_feFileSpec, MAX_PATH);
    if (!s_fileDialog(MainHwnd(), theGlobal.m_feIniFolder, 6, FALSE, path))
        return;
    CArray<int> indices;
    for (int row : SelectedRows())
        if (RecordOfRow(row) >= 0)
            indices.Add(RecordOfRow(row));
    if (m_doc->ExportRecordsCsv(path, indices))
        RememberFile(path);
    else
        ShowDocumentError();
    RefreshList();
}

void CFeWnd::OnFileNew()
{
    if (!IsCurrent())
        return;
    // Yes saves first, as everywhere else this question is asked.
    if (!AskSaveFirst())
        return;
    m_doc->m_records.RemoveAll();
    m_doc->SetModified(0);
    m_statistics.Clear();
    m_list.m_items.RemoveAll();
    ResetRows();
    RefreshList();
    m_sortColumn = kFuelNoSort;
    SortChanged();
}

void CFeWnd::OnSaveMaster()
{
    if (!IsCurrent())
        return;
    if (ShowMessage(theGlobal.UiString(65), 4) == IDYES)
        OnWriteMaster();
}

void CFeWnd::OnWriteMaster()
{
    if (!IsCurrent())
        return;
    // The master file written is the one the start menu loaded.
    if (!m_doc->Save(GetFuelMasterPath()))
        ShowDocumentError();
}

void CFeWnd::LeaveView()
{
    m_list.m_items.RemoveAll();
    m_list.SetCurSel(-1);
    m_doc->RemoveAll();
    m_doc->SetModified(0);
    ResetRows();
    RefreshList();
}

void CFeWnd::OnBack()
{
    if (!IsCurrent())
        return;
    if (!AskSaveFirst())
        return;
    LeaveView();
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, ID_MAIN_MENU, 0);
}

void CFeWnd::OnTop()
{
    if (!IsCurrent())
        return;
    if (!AskSaveFirst())
        return;
    LeaveView();
    CWnd* main = AfxGetMainWnd();
    if (!main)
        return;
    main->SendMessage(WM_COMMAND, ID_MENU_REFRESH, 0);
    main->SendMessage(WM_COMMAND, ID_MAIN_MENU, 0);
}
