#pragma once
// The choice editor of a list cell: a drop-down of the column's choices on a
// "Static" window that the list creates. The highlighted choice is the value
// committed; Enter (posted to itself on a click) commits and Escape cancels
// through the list's editor procedure below it.
#include "classlib/Afx.h"

class CInPlaceList : public CWnd {
public:
    CInPlaceList() = default;

    void ResetContent();
    int AddString(const wchar_t* text) { return static_cast<int>(m_choices.Add(text)); }
    int GetCount() const { return static_cast<int>(m_choices.GetSize()); }
    // An index outside the choices means none.
    void SetCurSel(int index);
    int GetCurSel() const { return m_hotIndex; }
    void SetFont(CFont* font);
    // Subclasses the window, adds a border and lays the choices out under the cell.
    BOOL AttachTo(HWND wnd);
    void Detach();

    CStringArray m_choices;
    CArray<RECT> m_itemRects;
    int m_hotIndex = -1;
    int m_selIndex = -1;
    BOOL m_pressed = FALSE;
    BOOL m_tabNavigation = FALSE;
    int m_align = 0;
    RECT m_cellRect{0, 0, 0, 0};
    CFont* m_pFont = nullptr;
    POINT m_lastPoint{0, 0};
    BOOL m_tracking = FALSE;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnMouseMove(UINT, CPoint pt);
    void OnMouseLeave();
    void OnLButtonDown(UINT, CPoint pt) { ButtonDown(pt); }
    void OnRButtonDown(UINT, CPoint pt) { ButtonDown(pt); }
    void OnLButtonUp(UINT, CPoint pt) { ButtonUp(pt); }
    void OnRButtonUp(UINT, CPoint pt) { ButtonUp(pt); }
    void OnKeyDown(UINT key, UINT, UINT);
    void OnSysKeyDown(UINT key, UINT, UINT);
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS | DLGC_WANTARROWS; }
    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void ButtonDown(CPoint pt);
    void ButtonUp(CPoint pt);
    int ChoiceAt(CPoint pt) const;
    void SetHot(int index);
};
