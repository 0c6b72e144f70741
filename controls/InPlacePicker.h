#pragma once
// What the choice and icon editors of a list cell share: a "Static" window the
// list creates, subclassed, whose hot item follows the mouse and is the value
// committed. A click on an item posts Enter to itself, a click outside or Alt
// posts Escape; Enter and Escape then reach the list's editor procedure below.
#include "classlib/Afx.h"

class CInPlacePicker : public CWnd {
public:
    // An index outside the items means none; without a window it is only stored.
    void SetCurSel(int index);
    int GetCurSel() const { return m_hotIndex; }
    void Detach();

    int m_hotIndex = -1;
    BOOL m_pressed = FALSE;
    BOOL m_tabNavigation = FALSE;
    RECT m_cellRect{0, 0, 0, 0};
    POINT m_lastPoint{0, 0};
    BOOL m_tracking = FALSE;

protected:
    // Subclasses the window, adds a border and starts from the mouse's place.
    BOOL AttachWindow(HWND wnd);
    virtual int ItemCount() const = 0;
    virtual const CArray<RECT>& ItemRects() const = 0;
    // The hot item changed from old to m_hotIndex while the window exists.
    virtual void HotChanged(int old) = 0;
    // Keys that move the hot item other than Home and End; FALSE for the rest.
    virtual BOOL MoveKey(UINT key) = 0;
    void SetHot(int index);
    int ItemAt(CPoint pt) const;

    void OnMouseMove(UINT, CPoint pt);
    void OnMouseLeave();
    void OnLButtonDown(UINT, CPoint pt) { ButtonDown(pt); }
    void OnRButtonDown(UINT, CPoint pt) { ButtonDown(pt); }
    void OnLButtonUp(UINT, CPoint pt) { ButtonUp(pt); }
    void OnKeyDown(UINT key, UINT, UINT);
    void OnSysKeyDown(UINT key, UINT, UINT);
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS | DLGC_WANTARROWS; }
    void ButtonDown(CPoint pt);
    void ButtonUp(CPoint pt);
    DECLARE_MESSAGE_MAP()
};
