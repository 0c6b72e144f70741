#include "controls/ScrollHostWnd.h"

BEGIN_MESSAGE_MAP(CScrollHostWnd, CWnd)
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

BOOL CScrollHostWnd::PreTranslateMessage(MSG* msg)
{
    if (ForwardToBars(msg))
        return TRUE;
    return CWnd::PreTranslateMessage(msg);
}

BOOL CScrollHostWnd::ForwardToBars(MSG* msg)
{
    return CCustomScrollBar::ForwardNCMouse(msg, m_hostedHorz) || CCustomScrollBar::ForwardNCMouse(msg, m_hostedVert);
}

void CScrollHostWnd::SetVertContent(int content)
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    SCROLLINFO si{sizeof(si)};
    const bool fits = client.Height() >= content;
    if (fits) {
        // No range and no stale position left to offset the content.
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    } else {
        si.fMask = SIF_RANGE | SIF_PAGE;
        si.nMin = 0;
        si.nMax = content;
        si.nPage = static_cast<UINT>(client.Height());
    }
    SetScrollInfo(SB_VERT, &si, FALSE);
    if (((GetStyle() & WS_VSCROLL) != 0) == fits) {
        ModifyStyle(fits ? WS_VSCROLL : 0, fits ? 0 : WS_VSCROLL);
        FrameChanged();
        UpdateWindow();
    }
    FrameChanged();
}

void CScrollHostWnd::FrameChanged()
{
    if (m_hWnd)
        SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The vertical bar first: it leaves the bottom row and the corner to the horizontal one.
void CScrollHostWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    CCustomScrollBar::UpdateFromHost(m_hostedVert, params);
    CCustomScrollBar::UpdateFromHost(m_hostedHorz, params);
}

LRESULT CScrollHostWnd::OnNcHitTest(CPoint pt)
{
    LRESULT hit = CCustomScrollBar::HitTestNC(m_hostedHorz, pt.x, pt.y);
    if (hit == -2)
        hit = CCustomScrollBar::HitTestNC(m_hostedVert, pt.x, pt.y);
    if (hit != -2)
        return hit;
    // Where the system would put its own bars ours are: that is client area.
    hit = Default();
    return hit == HTVSCROLL || hit == HTHSCROLL ? HTCLIENT : hit;
}

void CScrollHostWnd::OnNcPaint()
{
    CCustomScrollBar::RedrawNC(m_hostedHorz);
    CCustomScrollBar::RedrawNC(m_hostedVert);
    CCustomScrollBar::DrawSizeBox(this, m_sizeBoxPicture);
}
