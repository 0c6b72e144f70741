#include "frame/CmdUIText.h"

void SetCmdUIText(CCmdUI* ui, const wchar_t* text)
{
    if (!ui)
        return;
    HMENU menu = ui->m_pMenu ? ui->m_pMenu->m_hMenu : nullptr;
    MENUITEMINFOW kept{sizeof(kept)};
    kept.fMask = MIIM_FTYPE | MIIM_DATA;
    const BOOL isItem = menu && ::GetMenuItemInfoW(menu, ui->m_nIndex, TRUE, &kept);
    ui->SetText(text);
    if (isItem) {
        MENUITEMINFOW now{sizeof(now)};
        now.fMask = MIIM_FTYPE | MIIM_DATA;
        ::GetMenuItemInfoW(menu, ui->m_nIndex, TRUE, &now);
        // Keep the drawing type; the text itself stays the new one.
        now.fType = (now.fType & ~(MFT_OWNERDRAW | MFT_BITMAP)) | (kept.fType & (MFT_OWNERDRAW | MFT_BITMAP));
        now.dwItemData = kept.dwItemData;
        ::SetMenuItemInfoW(menu, ui->m_nIndex, TRUE, &now);
    }
}

void FocusOnLButtonDown(CWnd* wnd)
{
    if (!wnd)
        return;
    wnd->SetFocus();
    wnd->Default();
}
