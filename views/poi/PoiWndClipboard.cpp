// The view's own one-record clipboard: copy, cut and paste.
#include "core/Global.h"
#include "frame/CmdUIText.h"
#include "frame/MessageDlg.h"
#include "res/frame_ids.h"
#include "views/poi/PoiWnd.h"

void CPoiWnd::OnCopy()
{
    if (ListHasFocus())
        CopyRow(m_list.GetCurSel());
}

void CPoiWnd::OnCut()
{
    if (!ListHasFocus() || !CopyRow(m_list.GetCurSel()))
        return;
    DeleteSelected();
}

void CPoiWnd::OnPaste()
{
    if (!ListHasFocus())
        return;
    const int current = m_list.GetCurSel();
    const int pasted = Paste(current);
    if (pasted < 0) {
        ShowMessage(theGlobal.UiString(19), 0);
        return;
    }
    if (pasted > 0)
        theGlobal.UpdateAllViews();
}

void CPoiWnd::OnUpdateCopy(CCmdUI* ui)
{
    ui->Enable(ListHasFocus() && IsCurrent() && m_list.GetSelectedCount() == 1);
    if (ui->m_pMenu) {
        const bool cut = ui->m_nID == ID_EDIT_CUT;
        SetCmdUIText(ui, theGlobal.UiString(cut ? 267 : 268) + (cut ? L"\tCtrl+X" : L"\tCtrl+C"));
    }
}

void CPoiWnd::OnUpdatePaste(CCmdUI* ui)
{
    ui->Enable(ListHasFocus() && IsCurrent() && HasClipboard());
    if (ui->m_pMenu)
        SetCmdUIText(ui, theGlobal.UiString(269) + L"\tCtrl+V");
}
