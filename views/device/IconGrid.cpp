#include "views/device/IconGrid.h"

#include <commctrl.h>

#include "common/DibImage.h"
#include "core/Global.h"
#include "doc/DocIcon.h"

BOOL CreateIconGrid(CCustomThumbCtrl& grid, CWnd* parent, const RECT& rect, UINT id)
{
    if (!grid.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id))
        return FALSE;
    grid.m_cellWidth = grid.m_cellHeight = 48;
    grid.m_gapX = grid.m_gapY = 22;
    grid.m_marginLeft = grid.m_marginTop = 16;
    grid.m_noLabels = TRUE;  // also the light background
    grid.m_useShellIcon = FALSE;
    return TRUE;
}

CIconGridFill::CIconGridFill(CCustomThumbCtrl& grid, CCustomThumbCtrl* other)
    : m_mem(::CreateCompatibleDC(nullptr)), m_grids{&grid, other}
{
    theGlobal.m_docIcon.GetIconSize(&m_size);
}

CIconGridFill::~CIconGridFill()
{
    if (m_mem)
        ::DeleteDC(m_mem);
    for (CCustomThumbCtrl* grid : m_grids)
        if (grid) {
            grid->UpdateScrollBars();
            grid->Invalidate(FALSE);
        }
}

void CIconGridFill::Add(CCustomThumbCtrl& grid, int position, int image)
{
    grid.InsertItem(position);
    const CDocIcon& icons = theGlobal.m_docIcon;
    DIB_IMAGE dib;
    InitDibImage(&dib);
    if (!m_mem || !icons.m_allIcons || !CreateDib(&dib, m_size.cx, m_size.cy))
        return;
    HGDIOBJ old = ::SelectObject(m_mem, dib.bitmap);
    ImageList_Draw(icons.m_allIcons, image, m_mem, 0, 0, ILD_NORMAL);
    ::SelectObject(m_mem, old);
    grid.SetItemBitmap(position, &dib);
    FreeDibImage(&dib);
}

BOOL PassKeyToGrid(CCustomThumbCtrl& grid, const MSG* msg)
{
    if (!grid.m_hWnd || msg->hwnd == grid.m_hWnd)
        return FALSE;
    grid.SetFocus();
    grid.SendMessage(WM_KEYDOWN, msg->wParam, msg->lParam);
    switch (msg->wParam) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
        return TRUE;
    default: return FALSE;
    }
}
