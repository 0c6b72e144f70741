#include "frame/OptionDlg.h"

#include "core/Global.h"
#include "frame/DialogButton.h"
#include "res/dialog_ids.h"

namespace {

const int kWidth = 429, kHeight = 517;
const RECT kPageRect{21, 39, 409, 454};

}  // namespace

BEGIN_MESSAGE_MAP(COptionDlg, CCustomDialog)
    ON_COMMAND_RANGE(ID_OPTION_TAB_CSV, ID_OPTION_TAB_ECO, OnTab)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

COptionDlg::COptionDlg() : CCustomDialog(IDD_OPTIONS, nullptr) {}

COptionDlg::~COptionDlg()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL COptionDlg::CreatePage(int index)
{
    COptDlgBaseWnd* page = m_pages[index];
    if (!page->CreatePage(this, kPageRect))
        return FALSE;
    page->Load();
    return TRUE;
}

BOOL COptionDlg::OnInitDialog()
{
    PlaceOnMainWindow(kWidth, kHeight);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;
    SetCaption(UiText(281));

    MakeDialogButton(m_btnOK, this, IDOK, UiText(135), 97, 474, 200);
    MakeDialogButton(m_btnCancel, this, IDCANCEL, UiText(136), 263, 474, 200);

    m_current = 0;
    for (int i = 0; i < 4; ++i)
        if (!CreatePage(i))
            return TRUE;  // opens without pages; OK copies only what loaded
    if (theGlobal.m_modelType != 0) {
        m_time.Lock();
        for (COptDlgBaseWnd* page : m_pages)
            page->m_tabs[2].EnableWindow(FALSE);
    }
    m_pages[m_current]->ShowWindow(SW_SHOW);
    Invalidate();
    return TRUE;
}

void COptionDlg::OnTab(UINT id)
{
    const int index = static_cast<int>(id - ID_OPTION_TAB_CSV);
    if (index == m_current || index < 0 || index > 3 || !m_pages[index]->m_hWnd)
        return;
    // A tab disabled for the model type may still have a command in the queue.
    if (index == 2 && theGlobal.m_modelType != 0)
        return;
    m_current = index;
    for (COptDlgBaseWnd* page : m_pages)
        if (page->m_hWnd)
            page->ShowWindow(SW_HIDE);
    m_pages[index]->ShowWindow(SW_SHOW);
    Invalidate();
}

void COptionDlg::OnOK()
{
    // A page that never loaded holds zeros, not the user's settings.
    for (COptDlgBaseWnd* page : m_pages)
        if (page->IsLoaded())
            page->Store();
    EndDialog(IDOK);
}

BOOL COptionDlg::OnEraseBkgnd(CDC* dc)
{
    // The page paints its own rectangle; erasing it would flicker.
    if (m_pages[m_current]->m_hWnd && m_pages[m_current]->IsWindowVisible())
        ::ExcludeClipRect(dc->GetSafeHdc(), kPageRect.left, kPageRect.top, kPageRect.right, kPageRect.bottom);
    return CCustomDialog::OnEraseBkgnd(dc);
}

void COptionDlg::OnPaint()
{
    CPaintDC dc(this);
}
