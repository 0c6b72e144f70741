// Undo and redo, and what the history needs of the view's window.
#include "core/Global.h"
#include "views/poi/PoiWnd.h"

void CPoiWnd::OnUndo()
{
    Undo();
}

void CPoiWnd::OnRedo()
{
    Redo();
}

// Only the shown list answers Ctrl+Z and Ctrl+Y.
void CPoiWnd::OnUpdateUndo(CCmdUI* ui)
{
    ui->Enable(IsCurrent() && CanUndo());
}

void CPoiWnd::OnUpdateRedo(CCmdUI* ui)
{
    ui->Enable(IsCurrent() && CanRedo());
}

void CPoiWnd::HistorySetSort(int key, int order)
{
    CPoiListModel::HistorySetSort(key, order);
    if (m_list.GetSafeHwnd())
        m_list.SetSortArrow(key, order);
}

// The other views see the records once the whole group is replayed.
void CPoiWnd::HistoryDocumentChanged()
{
    m_replayChangedRecords = TRUE;
}

void CPoiWnd::HistoryRefresh()
{
    const BOOL changed = m_replayChangedRecords;
    m_replayChangedRecords = FALSE;
    RefreshList();
    if (changed)
        theGlobal.UpdateAllViews();
}
