#pragma once
// The base of every skinned dialog. From a plain popup template it makes a
// window with cut corners, an eight-piece skin frame, a caption band with
// skinned minimize and close buttons, restyled children and styled labels
// (texts starting "&b", "&n", "&m", "&c"), optional translucency and a zoom
// animation, and it keeps theGlobal.m_dialogStack, the program-wide list of
// open skinned dialogs that message boxes take their parent from.
//
// A derived dialog: construct with (template id, parent); set m_showClose /
// m_showMinimize; in OnInitDialog call this one first, then create its own
// skinned controls. The close button sends SC_CLOSE, which ends in OnCancel.
#include <vector>

#include "classlib/CDialog.h"
#include "common/DibImage.h"
#include "common/GdiplusText.h"
#include "controls/CustomButton.h"
#include "controls/CustomStatic.h"

// Takes a dialog's own entry off the program-wide dialog stack, if it put one
// there (onStack), and only that: one that never got on the stack must not
// take another dialog's entry with it.
void RemoveFromDialogStack(CWnd* dialog, BOOL& onStack);

class CCustomDialog : public CDialog {
public:
    CCustomDialog(UINT templateId, CWnd* parent);
    ~CCustomDialog() override;

    // TRUE; FALSE when a skin piece is missing; -1 when a font or caption
    // button cannot be made. Only a dialog that returned TRUE is on the stack.
    BOOL OnInitDialog() override;
    // NULL gives an empty caption.
    void SetCaption(LPCWSTR text);
    // Sizes the dialog and centres it on the main window (a dialog's start,
    // before the base's OnInitDialog, which keeps that place).
    void PlaceOnMainWindow(int width, int height);
    // Repaints a transparent child over the skin (NULL: every styled label).
    void RepaintChild(CWnd* child);
    // Paints the skin frame, the body and the caption; returns 0.
    BOOL OnEraseBkgnd(CDC* dc);
    void OnDestroy();

    const CString& GetCaption() const { return m_caption; }
    int GetTopHeight() const { return m_topHeight; }
    BOOL IsOnDialogStack() const { return m_onStack; }

    CCustomButton m_btnMinimize, m_btnClose;
    BOOL m_showClose = TRUE;
    BOOL m_showMinimize = FALSE;
    // The dialog stays hidden at the end of its start (no zoom either); the
    // derived dialog shows it when it is ready.
    BOOL m_startHidden = FALSE;
    BOOL ShowAtModalStart() const override { return !m_startHidden; }

protected:
    enum Piece { kTopLeft, kTop, kTopRight, kLeft, kRight, kBottomLeft, kBottom, kBottomRight, kPieceCount };

    void BuildRegion(int width, int height);
    void RestyleChildren();
    void PlaceCaptionButtons();
    void DeleteFonts();
    void LeaveDialogStack();
    // Animation on and the program active: the zoom outlines are drawn.
    static bool ZoomWanted();

    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    LRESULT OnNcHitTest(CPoint pt);
    void OnNcDestroy();
    void OnSysCommand(UINT id, LPARAM lp);
    DECLARE_MESSAGE_MAP()

    UINT m_templateId;
    CString m_caption;
    DIB_IMAGE m_pieces[kPieceCount];
    int m_topHeight = 25;
    HFONT m_fontTitle = nullptr, m_fontNote = nullptr, m_fontNormal = nullptr;
    std::vector<CCustomStatic*> m_labels;  // owned
    std::vector<HWND> m_unbordered;
    HRGN m_region = nullptr;  // owned by the window once set
    CUtilGdiplus m_text;
    BOOL m_onStack = FALSE;
};
