#pragma once
// The text editor of an in-place edit: an edit window over a list cell or a
// tree label that grows with its text (to the right, to the left or both ways
// by the cell's alignment, never past the owner's client area), with an
// insert/overwrite mode on the Insert key and input-method composition shown
// while it is typed. The owner creates the window, sets the members, then
// AttachTo's it; Detach hands the window back.
#include "classlib/CEdit.h"

class CInPlaceEdit : public CEdit {
public:
    CInPlaceEdit() = default;
    ~CInPlaceEdit() override;

    // Takes the window's text and the alignment, then subclasses it.
    BOOL AttachTo(HWND edit);
    void Detach();

    BOOL PreTranslateMessage(MSG* msg) override;

    RECT m_cellRect{0, 0, 0, 0};  // owner client coordinates
    int m_align = 0;              // 0 left, 1 right, 2 centre
    BOOL m_insertMode = TRUE;
    BOOL m_tabNavigation = FALSE;
    CString m_text;
    CString m_composition;

protected:
    void OnReflectedChange();
    void OnWindowPosChanging(WINDOWPOS* pos);
    DECLARE_MESSAGE_MAP()

private:
    void Replace();
    void DeleteAfterCaret(int count);
};
