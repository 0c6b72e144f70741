#include "views/device/IconEditDlg.h"

#include <commctrl.h>

#include "common/DibImage.h"
#include "core/Global.h"
#include "doc/DocIcon.h"
#include "frame/DialogButton.h"
#include "frame/MessageDlg.h"
#include "res/device_ids.h"
#include "views/device/IconGridKeys.h"

namespace {

const int kWidth = 420, kHeight = 471;

}  // namespace

const RECT CIconEditDlg::kGridRect{21, 45, 399, 407};

BEGIN_MESSAGE_MAP(CIconEditDlg, CCustomDialog)
    ON_COMMAND(IDC_ICON_DELETE, OnDelete)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CIconEditDlg::CIconEditDlg() : CCustomDialog(IDD_ICON_EDIT, nullptr) {}

CIconEditDlg::~CIconEditDlg()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CIconEditDlg::OnInitDialog()
{
    PlaceOnMainWindow(kWidth, kHeight);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;
    if (HWND placeholder = ::GetDlgItem(m_hWnd, 0xFFFF))
        ::ShowWindow(placeholder, SW_HIDE);
    if (!m_grid.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, kGridRect, this, IDC_ICON_EDIT_GRID)) {
        EndDialog(-1);
        return FALSE;
    }
    m_grid.m_cellWidth = m_grid.m_cellHeight = 48;
    m_grid.m_gapX = m_grid.m_gapY = 22;
    m_grid.m_marginLeft = m_grid.m_marginTop = 16;
    m_grid.m_noLabels = TRUE;  // also the light background
    m_grid.m_useShellIcon = FALSE;
    FillThumbnails();

    MakeDialogButton(m_btnDelete, this, IDC_ICON_DELETE, UiText(130), 20, 428, 100);
    MakeDialogButton(m_btnOK, this, IDOK, UiText(135), 254, 428, 100);
    SetCaption(UiText(240));
    return TRUE;
}

void CIconEditDlg::FillThumbnails()
{
    CDocIcon& icons = theGlobal.m_docIcon;
    if (!icons.m_allIcons)
        icons.LoadIcons();
    m_grid.DeleteAllItems();
    SIZE size{};
    icons.GetIconSize(&size);
    const int stock = icons.GetStockCount();
    HDC mem = ::CreateCompatibleDC(nullptr);
    for (int j = 0; j < icons.GetUserCount(); ++j) {
        m_grid.InsertItem(j);
        DIB_IMAGE dib;
        InitDibImage(&dib);
        if (!mem || !icons.m_allIcons || !CreateDib(&dib, size.cx, size.cy))
            continue;
        HGDIOBJ old = ::SelectObject(mem, dib.bitmap);
        ImageList_Draw(icons.m_allIcons, stock + j, mem, 0, 0, ILD_NORMAL);
        ::SelectObject(mem, old);
        m_grid.SetItemBitmap(j, &dib);
        FreeDibImage(&dib);
    }
    if (mem)
        ::DeleteDC(mem);
    m_grid.UpdateScrollBars();
    m_grid.Invalidate(FALSE);
}

void CIconEditDlg::OnDelete()
{
    CDocIcon& icons = theGlobal.m_docIcon;
    const int k = m_grid.GetCurSel();
    if (k < 0 || k >= icons.GetUserCount())
        return;
    if (!icons.DeleteUserIcon(k)) {
        CString text;
        MessageDlgWithParent(icons.GetErrorString(text), this);
        return;
    }
    icons.LoadIcons();
    FillThumbnails();
    const int count = m_grid.GetItemCount();
    const int next = k < count ? k : count - 1;
    m_grid.SetCurSel(next);
    if (next >= 0)
        m_grid.EnsureVisible(next);
}

BOOL CIconEditDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && m_hWnd && (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        if (msg->wParam == VK_DELETE) {
            OnDelete();
            return TRUE;
        }
        if (PassKeyToGrid(m_grid, msg))
            return TRUE;
    }
    return CCustomDialog::PreTranslateMessage(msg);
}

BOOL CIconEditDlg::OnEraseBkgnd(CDC* dc)
{
    // The grid paints its own area; erasing it too would make it flicker.
    ::ExcludeClipRect(dc->GetSafeHdc(), kGridRect.left, kGridRect.top, kGridRect.right, kGridRect.bottom);
    return CCustomDialog::OnEraseBkgnd(dc);
}

void CIconEditDlg::OnPaint()
{
    CPaintDC paint(this);
    HDC dc = paint.m_hDC;
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(203, 204, 207));
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(HOLLOW_BRUSH));
    ::Rectangle(dc, kGridRect.left - 1, kGridRect.top - 1, kGridRect.right + 1, kGridRect.bottom + 1);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}
