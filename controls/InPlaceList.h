#pragma once
// The choice editor of a list cell: a drop-down of the column's choices on a
// "Static" window that the list creates. The highlighted choice is the value
// committed; Enter (posted to itself on a click) commits and Escape cancels
// through the list's editor procedure below it.
#include "controls/InPlacePicker.h"

class CInPlaceList : public CInPlacePicker {
public:
    CInPlaceList() = default;

    void ResetContent();
    int AddString(const wchar_t* text) { return static_cast<int>(m_choices.Add(text)); }
    int GetCount() const { return static_cast<int>(m_choices.GetSize()); }
    // An index outside the choices means none.
    void SetCurSel(int index);
    void SetFont(CFont* font);
    // Subclasses the window, adds a border and lays the choices out under the cell.
    BOOL AttachTo(HWND wnd);

    CStringArray m_choices;
    CArray<RECT> m_itemRects;
    int m_selIndex = -1;
    int m_align = 0;
    CFont* m_pFont = nullptr;

protected:
    int ItemCount() const override { return GetCount(); }
    const CArray<RECT>& ItemRects() const override { return m_itemRects; }
    void HotChanged(int) override { Invalidate(FALSE); }
    BOOL MoveKey(UINT key) override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnRButtonUp(UINT, CPoint pt) { ButtonUp(pt); }
    DECLARE_MESSAGE_MAP()

private:
    void Layout();
};
