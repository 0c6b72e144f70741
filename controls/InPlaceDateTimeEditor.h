#pragma once
// What the date and time editors of a list cell share: a common-controls
// window over the cell with a one-pixel frame in its non-client area. Enter
// or Tab commits and Escape or Alt cancels, both by closing the window; a
// button-down outside it commits or cancels, as the editor chooses. m_text is
// the value the list reads, m_cancelled set only by Escape.
#include "classlib/Afx.h"

template <class Base>
class CInPlaceDateTimeEditor : public Base {
public:
    // The list's closing routine: reads the value into m_text and hands the window back.
    void Close()
    {
        if (!this->m_hWnd)
            return;
        Accept();
        this->UnsubclassWindow();
    }

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if ((msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN) && !IsOverWindow(msg)) {
            this->PostMessage(WM_CHAR, m_outsideClickCommits ? L'\r' : 0x1B, 0);
            return TRUE;
        }
        return Base::PreTranslateMessage(msg);
    }

    CString m_text;
    BOOL m_cancelled = FALSE;

protected:
    explicit CInPlaceDateTimeEditor(BOOL outsideClickCommits) : m_outsideClickCommits(outsideClickCommits) {}

    // Starts an edit: no value and no cancel yet, the window subclassed and its frame ours.
    BOOL AttachWindow(HWND wnd)
    {
        m_cancelled = FALSE;
        m_text.Empty();
        if (!this->SubclassWindow(wnd))
            return FALSE;
        this->SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 0, 0,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
        return TRUE;
    }
    // Reads the window's value into m_text; FALSE when it cannot be taken (the editor stays open).
    virtual BOOL Accept() = 0;
    // At WM_DESTROY, before the window goes.
    virtual void Destroying() {}

    // Whether a mouse message's point lies on this window.
    BOOL IsOverWindow(const MSG* msg) const
    {
        POINT pt{static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
        ::ClientToScreen(msg->hwnd, &pt);
        CRect own;
        this->GetWindowRect(&own);
        return own.PtInRect(pt);
    }

    void OnChar(UINT ch, UINT, UINT)
    {
        if (ch == L'\r' || ch == L'\t')
            Finish(FALSE);
        else if (ch == 0x1B)
            Finish(TRUE);
        else
            this->Default();
    }
    void OnSysKeyDown(UINT key, UINT, UINT)
    {
        if (key == VK_MENU)
            this->PostMessage(WM_CHAR, 0x1B, 0);
        else
            this->Default();
    }
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
    {
        ::InflateRect(&params->rgrc[0], -GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER));
    }
    void OnNcPaint()
    {
        HDC dc = ::GetWindowDC(this->m_hWnd);
        CRect rc;
        this->GetWindowRect(&rc);
        rc.OffsetRect(-rc.left, -rc.top);
        FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
        ::ReleaseDC(this->m_hWnd, dc);
    }
    void OnDestroy()
    {
        if (::GetCapture() == this->m_hWnd)
            ReleaseCapture();
        Destroying();
        this->Default();
    }
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; }
    DECLARE_MESSAGE_MAP()

private:
    void Finish(BOOL cancel)
    {
        if (cancel)
            m_cancelled = TRUE;
        else if (!Accept())
            return;
        if (CWnd* main = AfxGetMainWnd())
            main->BringWindowToTop();
        this->DestroyWindow();
    }

    BOOL m_outsideClickCommits;
};

BEGIN_TEMPLATE_MESSAGE_MAP(class Base, CInPlaceDateTimeEditor<Base>, Base)
    ON_WM_CHAR()
    ON_WM_SYSKEYDOWN()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_DESTROY()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()
