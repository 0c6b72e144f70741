// Leaving the view with Back or Top, and the context menu of the list.
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/frame_ids.h"
#include "res/poi_ids.h"
#include "views/poi/PoiWnd.h"

BOOL CPoiWnd::HasUnsavedWork() const
{
    const CDocPi& doc = *GetDocument();
    return doc.GetRecordCount() != 0 && doc.IsModified();
}

BOOL CPoiWnd::CanLeave()
{
    CDocPi& doc = *GetDocument();
    if (!HasUnsavedWork())
        return TRUE;
    switch (ShowMessage(theGlobal.UiString(23), 3)) {
    case IDYES:
        OnSave();
        return !doc.IsModified();
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

void CPoiWnd::ResetView()
{
    ResetAll();
    m_list.SetCurSel(-1);
    RefreshList();
}

void CPoiWnd::OnBack()
{
    // Only the page on show leaves; a hidden one reached by the routing refuses.
    if (!IsWindowVisible() || !CanLeave())
        return;
    ResetView();
    CWnd* main = AfxGetMainWnd();
    if (main)
        main->SendMessage(WM_COMMAND, m_mode == 2 ? ID_POI_FROM_CSV : ID_MAIN_MENU, 0);
}

void CPoiWnd::OnTop()
{
    if (!IsWindowVisible() || !CanLeave())
        return;
    ResetView();
    if (m_mode == 2)
        theGlobal.m_docImportPoi.m_table.RemoveAll();
    CWnd* main = AfxGetMainWnd();
    if (!main)
        return;
    main->SendMessage(WM_COMMAND, ID_MENU_REFRESH, 0);
    main->SendMessage(WM_COMMAND, ID_MAIN_MENU, 0);
}

void CPoiWnd::OnContextMenu(CWnd*, CPoint pt)
{
    ShowContextMenu(m_mode == 4 ? IDR_POI_MAP_MENU : IDR_POI_MENU, pt);
}
