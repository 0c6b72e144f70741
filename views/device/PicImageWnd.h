#pragma once
// The picture editor's right pane: the picture shown in a rectangle shaped
// like the unit's screen or icon, the crop frame over it with marching ants
// (dragged, sized and nudged with the arrow keys), the icon preview in icon
// mode, and the edit buttons whose commands the view carries out.
#include "classlib/Afx.h"
#include "classlib/CToolTipCtrl.h"
#include "common/DibImage.h"
#include "controls/CustomButton.h"
#include "frame/SplitDrag.h"

class CPicImageWnd : public CWnd {
public:
    enum { AntsTimer = 8086, AntsPeriod = 125 };
    CPicImageWnd();
    ~CPicImageWnd() override;

    // Recomputes the display rectangle and places the buttons.
    void Layout();
    RECT PictureRectToScreen(const RECT& picture) const;
    // FALSE (frame unchanged) when the rectangle is not inside the display rectangle.
    BOOL SetFrameFromScreenRect(const RECT& client);
    void ResetFrame();
    BOOL HasPicture() const { return m_picture.bitmap != nullptr; }
    BOOL PreTranslateMessage(MSG* msg) override;

    CCustomButton m_btnFitWidth, m_btnFitHeight, m_btnRotateRight, m_btnRotateLeft, m_btnCrop, m_btnCancel, m_btnIconEdit;
    DIB_IMAGE m_picture;  // the canvas the view copies in
    RECT m_display{};
    int m_targetWidth = 1, m_targetHeight = 1;
    CToolTipCtrl m_tips[4];
    int m_frameShown = 1;
    RECT m_frame{};
    int m_antsPhase = 0;
    int m_dragging = 0;
    int m_dragRectDrawn = 0;
    int m_dragHit = 0;
    POINT m_grab{};
    RECT m_lastDragRect{};

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    void OnLButtonDblClk(UINT flags, CPoint pt);
    void OnRButtonDown(UINT flags, CPoint pt);
    void OnSetFocus(CWnd* old);
    void OnKillFocus(CWnd* next);
    BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message);
    BOOL OnNotify(WPARAM wp, LPARAM lp, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()

private:
    RECT FrameOnScreen() const;
    int HitAt(POINT pt) const;
    void DrawFrame(HDC dc) const;
    void DrawRubberBand(const RECT& r);
    int IconSide() const;
    bool IconMode() const;
};

// The icon side of the user's model type: 24 for types 1, 4 and 6, else 32.
int PicIconSide();
