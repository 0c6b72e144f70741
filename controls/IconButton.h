#pragma once
// The header button that shows the POI icon of the current view's document
// and opens the icon selection (command ID_ICON_SELECT to its parent).
#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "controls/SkinState.h"

// Where the icon comes from: by default the documents of theGlobal (tests put
// their own icons here). imageList gives the
// POI icon image list (loading it when needed; NULL when it cannot be had);
// iconIndex the icon for a body view kind (2 CSV POI, 3 KML POI, 4 map search,
// 5 feeds) or -1 when that document has nothing to show.
struct ICON_BUTTON_SOURCE {
    HIMAGELIST (*imageList)();
    int (*iconIndex)(int kind);
};
extern ICON_BUTTON_SOURCE theIconButtonSource;

class CIconButton : public CWnd {
public:
    CIconButton();
    ~CIconButton() override;

    using CWnd::Create;
    // A visible child of the library's default class; fails when a face is missing.
    BOOL Create(const RECT& rect, CWnd* parent, UINT id);
    // Cuts the four corner pixels off the normal face's rectangle.
    void SetRoundRegion();
    int GetState() const { return m_state; }

    // The body view whose document's icon is shown (2-5; others: none).
    int m_kind = 0;

protected:
    void ChangeState(int state);
    int OnCreate(LPCREATESTRUCTW cs);
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    void OnLButtonDblClk(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    void OnMouseLeave();
    void OnEnable(BOOL enable);
    DECLARE_MESSAGE_MAP()

    BOOL m_pressed = FALSE;
    BOOL m_tracking = FALSE;
    int m_state = kStateNormal;
    DIB_IMAGE m_faces[kStateCount];
};
