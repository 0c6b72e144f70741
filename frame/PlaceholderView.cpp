#include "frame/PlaceholderView.h"

#include "common/GdiplusText.h"
#include "core/Global.h"
#include "classlib/CMemDC.h"
#include "frame/PaneImages.h"
#include "res/frame_ids.h"

BEGIN_MESSAGE_MAP(CPlaceholderView, CViewWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_COMMAND(ID_UPDATE, OnUpdate)
    ON_COMMAND(ID_BACK, OnBack)
    ON_COMMAND(ID_TOP, OnTop)
END_MESSAGE_MAP()

int CPlaceholderView::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    if (m_registered)
        RegisterForUpdates();
    return 0;
}

void CPlaceholderView::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(&paint, client);
    dc.FillSolidRect(&client, kPaneBack);
    CString title;
    if (m_titleString >= 0 && m_titleString < theGlobal.m_uiStrings.GetSize())
        title = theGlobal.UiString(m_titleString);
    CUtilGdiplus text;
    text.SetTextColor(RGB(157, 156, 162));
    text.DrawTextFit(dc, title, 200, TRUE, Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, client);
}

// Nothing to save: back to the start menu.
void CPlaceholderView::OnBack()
{
    // Only the page on show leaves; a hidden one reached by the routing refuses.
    if (!IsWindowVisible())
        return;
    ::SendMessageW(AfxGetMainWnd()->GetSafeHwnd(), WM_COMMAND, ID_MAIN_MENU, 0);
}

void CPlaceholderView::OnTop()
{
    if (!IsWindowVisible())
        return;
    HWND main = AfxGetMainWnd()->GetSafeHwnd();
    ::SendMessageW(main, WM_COMMAND, ID_MENU_REFRESH, 0);
    ::SendMessageW(main, WM_COMMAND, ID_MAIN_MENU, 0);
}
