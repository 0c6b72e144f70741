#pragma once
// The icon editor of a list cell: a rounded grid of the list's images on a
// "Static" window that the list creates. The highlighted cell is the value
// committed; Enter (posted to itself on a click) commits, Escape cancels.
#include <windows.h>
#include <commctrl.h>

#include "classlib/Afx.h"
#include "common/DibImage.h"

class CInPlaceIconList : public CWnd {
public:
    CInPlaceIconList();
    ~CInPlaceIconList() override;

    void SetImageList(HIMAGELIST list) { m_imageList = list; }
    void SetCurSel(int index);
    int GetCurSel() const { return m_hotIndex; }
    // Subclasses the window, adds a border, lays the grid out and loads the skin.
    BOOL AttachTo(HWND wnd);
    void Detach();
    virtual void DrawItem(int index);

    HIMAGELIST m_imageList = nullptr;
    int m_columns = 8;
    CArray<RECT> m_cellRects;
    int m_hotIndex = -1;
    BOOL m_pressed = FALSE;
    POINT m_lastPoint{0, 0};
    BOOL m_tracking = FALSE;
    RECT m_cellRect{0, 0, 0, 0};
    BOOL m_tabNavigation = FALSE;
    DIB_IMAGE m_bkNormal, m_bkSmall, m_selNormal, m_selSmall;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnMouseMove(UINT, CPoint pt);
    void OnMouseLeave();
    void OnLButtonDown(UINT, CPoint pt) { ButtonDown(pt); }
    void OnRButtonDown(UINT, CPoint pt) { ButtonDown(pt); }
    void OnLButtonUp(UINT, CPoint pt);
    void OnKeyDown(UINT key, UINT, UINT);
    void OnSysKeyDown(UINT key, UINT, UINT);
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS | DLGC_WANTARROWS; }
    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void ButtonDown(CPoint pt);
    int CellAt(CPoint pt) const;
    void SetHot(int index);
    void FreeSkin();
    void PaintAll(HDC dc);
    HDC m_paintDc = nullptr;
};
