#include "frame/AboutDlg.h"

#include "common/ThemeLibrary.h"
#include "common/Utility.h"
#include "controls/CustomDialog.h"
#include "core/Global.h"
#include "frame/OwnVersion.h"
#include "res/dialog_ids.h"

namespace {
bool ZoomWanted()
{
    return theGlobal.m_animation && theGlobal.m_appActive;
}
}  // namespace

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT, nullptr)
{
    InitDibImage(&m_image);
}

CAboutDlg::~CAboutDlg()
{
    if (m_hWnd)
        DestroyWindow();
    LeaveDialogStack();
    FreeDibImage(&m_image);
    if (m_font)
        ::DeleteObject(m_font);
}

void CAboutDlg::LeaveDialogStack()
{
    // A box whose start stopped early never pushed an entry.
    RemoveFromDialogStack(this, m_onStack);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!CreateTahomaFont(FALSE, &m_font, 100, FALSE))
        return TRUE;
    SetFont(m_font, FALSE);
    FreeDibImage(&m_image);
    if (!LoadDibFromPack(SplashPictureName(theGlobal.m_areaCode), &m_image))
        return TRUE;
    m_label.m_rightRoom = kVersionLabelRoom;
    if (!m_label.Create(VersionLabelText(), WS_VISIBLE | SS_RIGHT | SS_CENTERIMAGE,
                        kVersionLabelWindow, this))
        return TRUE;
    m_label.SetFont(m_font, FALSE);
    SetWindowPos(static_cast<HWND>(nullptr), 0, 0, m_image.width, m_image.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow(AfxGetMainWnd());
    if (ZoomWanted()) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        const RECT from{cursor.x, cursor.y, cursor.x, cursor.y};
        CRect to;
        GetWindowRect(&to);
        CWnd* main = AfxGetMainWnd();
        AnimateZoomRect(&from, &to, 12, main ? main->m_hWnd : nullptr);
    }
    ShowWindow(SW_SHOW);
    theGlobal.m_dialogStack.Add(static_cast<CWnd*>(this));
    m_onStack = TRUE;
    return TRUE;
}

void CAboutDlg::OnLButtonDown(UINT, CPoint)
{
    Default();
    EndDialog(IDOK);
}

void CAboutDlg::OnRButtonDown(UINT, CPoint)
{
    Default();
    EndDialog(IDCANCEL);
}

void CAboutDlg::OnPaint()
{
    CPaintDC dc(this);
    DrawDib(&m_image, dc.GetSafeHdc(), 0, 0);
}

void CAboutDlg::OnDestroy()
{
    ShowWindow(SW_HIDE);
    if (CWnd* owner = GetOwner())
        owner->UpdateWindow();
    if (ZoomWanted()) {
        CRect from;
        GetWindowRect(&from);
        POINT cursor{};
        ::GetCursorPos(&cursor);
        const RECT to{cursor.x, cursor.y, cursor.x, cursor.y};
        CWnd* main = AfxGetMainWnd();
        AnimateZoomRect(&from, &to, 12, main ? main->m_hWnd : nullptr);
    }
    if (m_label.m_hWnd)
        m_label.SendMessage(WM_SETFONT, 0, FALSE);
    SendMessage(WM_SETFONT, 0, FALSE);
    LeaveDialogStack();
    Default();
}
