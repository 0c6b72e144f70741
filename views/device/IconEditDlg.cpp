#include "views/device/IconEditDlg.h"

#include "core/Global.h"
#include "doc/DocIcon.h"
#include "frame/DialogButton.h"
#include "frame/MessageDlg.h"
#include "res/device_ids.h"
#include "views/device/IconGrid.h"

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
    if (!CreateIconGrid(m_grid, this, kGridRect, IDC_ICON_EDIT_GRID)) {
        EndDialog(-1);
        return FALSE;
    }
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
    const int stock = icons.GetStockCount();
    CIconGridFill fill(m_grid);
    for (int j = 0; j < icons.GetUserCount(); ++j)
        fill.Add(m_grid, j, stock + j);
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
