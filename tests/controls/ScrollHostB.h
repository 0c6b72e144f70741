#pragma once
// A minimal window that hosts two skinned scroll bars by the host protocol and
// scrolls by one unit per line and ten per page.
#include <utility>
#include <vector>

#include "controls/CustomScrollBar.h"

namespace controlstest {

class CTestScrollHost : public CWnd {
public:
    CCustomScrollBar m_vbar, m_hbar;
    std::vector<std::pair<UINT, WPARAM>> scrolls;  // (message, wParam) as received
    const DIB_IMAGE* sizeBox = nullptr;             // the host's own corner picture

    BOOL CreateIn(CWnd* parent, const RECT& rc, bool withHorizontal = true)
    {
        if (!CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rc, parent, 1))
            return FALSE;
        if (!m_vbar.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), this, 59649))
            return FALSE;
        if (withHorizontal && !m_hbar.Create(WS_CHILD | SBS_HORZ, CRect(0, 0, 0, 0), this, 59648))
            return FALSE;
        return TRUE;
    }
    void SetRange(int bar, int maxPos, int page, int pos = 0)
    {
        SCROLLINFO si{sizeof(si), SIF_ALL, 0, maxPos, static_cast<UINT>(page), pos};
        SetScrollInfo(bar, &si, FALSE);
        FrameChanged();
    }
    void FrameChanged()
    {
        SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->hwnd == m_hWnd && (CCustomScrollBar::ForwardNCMouse(msg, &m_vbar) ||
                                    CCustomScrollBar::ForwardNCMouse(msg, &m_hbar)))
            return TRUE;
        return FALSE;
    }
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        switch (msg) {
        case WM_NCCALCSIZE: {
            auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
            CCustomScrollBar::UpdateFromHost(&m_vbar, params);
            CCustomScrollBar::UpdateFromHost(&m_hbar, params);
            return 0;
        }
        case WM_NCHITTEST: {
            LRESULT hit = CCustomScrollBar::HitTestNC(&m_vbar, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
            if (hit == -2)
                hit = CCustomScrollBar::HitTestNC(&m_hbar, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
            return hit != -2 ? hit : HTCLIENT;
        }
        case WM_NCPAINT:
            CCustomScrollBar::RedrawNC(&m_vbar);
            CCustomScrollBar::RedrawNC(&m_hbar);
            CCustomScrollBar::DrawSizeBox(this, sizeBox);
            return 0;
        case WM_ERASEBKGND: {
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            HBRUSH b = CreateSolidBrush(RGB(0x40, 0x50, 0x60));
            FillRect(reinterpret_cast<HDC>(wp), &rc, b);
            DeleteObject(b);
            return TRUE;
        }
        case WM_VSCROLL:
        case WM_HSCROLL: {
            scrolls.push_back({msg, wp});
            const int bar = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
            SCROLLINFO si{sizeof(si), SIF_ALL};
            GetScrollInfo(bar, &si);
            int p = si.nPos;
            switch (LOWORD(wp)) {
            case SB_LINEUP: p -= 1; break;
            case SB_LINEDOWN: p += 1; break;
            case SB_PAGEUP: p -= 10; break;
            case SB_PAGEDOWN: p += 10; break;
            case SB_THUMBTRACK: p = (msg == WM_VSCROLL ? m_vbar : m_hbar).m_trackPos; break;
            default: return 0;
            }
            SetScrollPos(bar, p, FALSE);
            return 0;
        }
        default:
            return CWnd::WindowProc(msg, wp, lp);
        }
    }
    int Count(UINT msg, WORD code) const
    {
        int n = 0;
        for (const auto& s : scrolls)
            if (s.first == msg && LOWORD(s.second) == code)
                ++n;
        return n;
    }
};

}  // namespace controlstest
