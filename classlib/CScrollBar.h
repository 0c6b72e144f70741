#pragma once
// A scroll-bar control (class "SCROLLBAR", SBS_HORZ or SBS_VERT).
#include "classlib/CWnd.h"

class CScrollBar : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::CreateEx(0, L"SCROLLBAR", nullptr, style | WS_CHILD, rect, parent, id);
    }
    // The permanent CScrollBar object of a bar window, or null (a window's own
    // bars, or a bar no CScrollBar owns).
    static CScrollBar* FromHandleBar(HWND bar) { return dynamic_cast<CScrollBar*>(FromHandlePermanent(bar)); }
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw); }
    void GetScrollRange(int* minPos, int* maxPos) const { ::GetScrollRange(m_hWnd, SB_CTL, minPos, maxPos); }
    BOOL SetScrollInfo(SCROLLINFO* si, BOOL redraw = TRUE) { si->cbSize = sizeof(SCROLLINFO); return ::SetScrollInfo(m_hWnd, SB_CTL, si, redraw); }
    BOOL GetScrollInfo(SCROLLINFO* si, UINT mask = SIF_ALL) const
    {
        si->cbSize = sizeof(SCROLLINFO);
        si->fMask = mask;
        return ::GetScrollInfo(m_hWnd, SB_CTL, si);
    }
};
