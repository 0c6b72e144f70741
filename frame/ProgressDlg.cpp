#include "frame/ProgressDlg.h"

#include <commctrl.h>

#include <algorithm>

#include "common/ButtonStrips.h"
#include "core/Global.h"
#include "res/dialog_ids.h"

namespace {

const int kWidth = 420, kHeight = 241;
const COLORREF kPanelColour = RGB(168, 171, 176);

}  // namespace

BEGIN_MESSAGE_MAP(CProgressDlg, CCustomDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg() : CCustomDialog(IDD_PROGRESS, nullptr)
{
    m_cancelEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CProgressDlg::~CProgressDlg()
{
    if (m_hWnd)
        DestroyWindow();
    PutQuitBack();
    if (m_cancelEvent)
        ::CloseHandle(m_cancelEvent);
}

BOOL CProgressDlg::Start(CWnd* parent)
{
    m_owner = GetSafeOwner(parent);
    m_ownerDisabled = 0;
    if (m_owner && m_owner->IsWindowEnabled()) {
        m_owner->EnableWindow(FALSE);
        m_ownerDisabled = 1;
    }
    if (!Create(IDD_PROGRESS, parent) || !m_hWnd) {
        if (m_ownerDisabled && m_owner && ::IsWindow(m_owner->m_hWnd))
            m_owner->EnableWindow(TRUE);
        m_ownerDisabled = 0;
        return FALSE;
    }
    if (m_cancelEvent)
        ::ResetEvent(m_cancelEvent);
    m_min = 0;
    m_max = 100;
    m_progress.SendMessage(PBM_SETRANGE32, m_min, m_max);
    if (m_static1003.m_hWnd)
        m_static1003.ShowWindow(SW_HIDE);
    return TRUE;
}

void CProgressDlg::SetRange(int n)
{
    m_min = 0;
    m_max = std::max(n, 1);
    if (m_progress.m_hWnd)
        m_progress.SendMessage(PBM_SETRANGE32, m_min, m_max);
}

void CProgressDlg::PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            m_quitSeen = TRUE;
            m_quitCode = static_cast<int>(msg.wParam);
            m_cancel = 1;
            return;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

int CProgressDlg::PercentOf(int minimum, int maximum, int position)
{
    if (maximum <= minimum)
        return 0;
    const long long percent = (static_cast<long long>(position) - minimum) * 100 / (maximum - minimum);
    return static_cast<int>(std::clamp<long long>(percent, 0, 100));
}

void CProgressDlg::UpdatePercent(int position)
{
    if (!m_percent.m_hWnd)
        return;
    CString text;
    text.Format(L"%d %%", PercentOf(m_min, m_max, position));
    CString shown;
    m_percent.GetWindowText(shown);
    if (text == shown)
        return;
    m_percent.SetWindowText(text);
    RepaintChild(&m_percent);
}

BOOL CProgressDlg::DestroyWindow()
{
    if (m_ownerDisabled) {
        m_ownerDisabled = 0;
        if (m_owner && ::IsWindow(m_owner->m_hWnd))
            m_owner->EnableWindow(TRUE);
    }
    const BOOL destroyed = m_hWnd ? CCustomDialog::DestroyWindow() : FALSE;
    PutQuitBack();
    return destroyed;
}

void CProgressDlg::PutQuitBack()
{
    // The program still ends once the caller's work is over.
    if (m_quitSeen) {
        m_quitSeen = FALSE;
        ::PostQuitMessage(m_quitCode);
    }
}

BOOL CProgressDlg::OnInitDialog()
{
    PlaceOnMainWindow(kWidth, kHeight);
    m_showClose = FALSE;
    m_showMinimize = TRUE;
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;

    if (HWND bar = ::GetDlgItem(m_hWnd, IDC_PROGRESS_BAR)) {
        m_unbordered.erase(std::remove(m_unbordered.begin(), m_unbordered.end(), bar), m_unbordered.end());
        if (m_progress.SubclassWindow(bar)) {
            m_progress.ModifyStyleEx(WS_EX_STATICEDGE, 0, SWP_FRAMECHANGED);
            m_progress.SendMessage(PBM_SETRANGE32, m_min, m_max);
            m_progress.SendMessage(PBM_SETSTEP, m_step, 0);
            m_progress.SendMessage(PBM_SETPOS, m_min, 0);
            m_progress.MoveWindow(33, 113, 353, 16);
        }
    }
    if (HWND text = ::GetDlgItem(m_hWnd, IDC_PROGRESS_TEXT); text && m_message.SubclassWindow(text)) {
        m_message.m_text.SetTextColor(RGB(0, 0, 0));
        m_message.m_fillColor = kPanelColour;
        m_message.SetFont(m_fontNormal, FALSE);
        m_message.m_percent = 150;
        m_message.MoveWindow(33, 70, 353, 20);
    }
    if (m_percent.Create(L"", WS_VISIBLE | SS_RIGHT, CRect(336, 140, 336 + 50, 140 + 16), this)) {
        m_percent.m_text.SetTextColor(RGB(0, 0, 0));
        m_percent.m_fillColor = kPanelColour;
        m_percent.SetFont(m_fontNormal, FALSE);
    }
    if (BuildButtonImage(&m_btnCancel.m_strip, UiText(136), 146, 38, 100, FALSE) &&
        m_btnCancel.CreateFromDlgItem(IDCANCEL, this)) {
        m_btnCancel.SetWindowPos(static_cast<HWND>(nullptr), 135, 196, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_btnCancel.SetRoundRegion();
    }
    if (HWND s = ::GetDlgItem(m_hWnd, IDC_PROGRESS_1003); s && m_static1003.SubclassWindow(s)) {
        m_static1003.MoveWindow(33, 140, 50, 12);
        m_static1003.ShowWindow(SW_HIDE);
    }
    if (HWND s = ::GetDlgItem(m_hWnd, IDC_PROGRESS_1004))
        ::ShowWindow(s, SW_HIDE);
    if (HWND s = ::GetDlgItem(m_hWnd, IDC_PROGRESS_1007); s && m_static1007.SubclassWindow(s)) {
        m_static1007.SetWindowText(L"");
        m_static1007.MoveWindow(33, 160, 353, 12);
    }
    SetCaption(UiText(235));
    return TRUE;
}

void CProgressDlg::OnCancel()
{
    m_cancel = 1;
    if (m_btnCancel.m_hWnd && m_btnCancel.GetState() != kStateChecked) {
        m_btnCancel.m_checked = TRUE;
        m_btnCancel.ChangeState(kStateChecked);
        m_btnCancel.UpdateWindow();
    }
}

void CProgressDlg::OnDestroy()
{
    if (m_message.m_hWnd)
        m_message.SendMessage(WM_SETFONT, 0, FALSE);
    CCustomDialog::OnDestroy();
}
