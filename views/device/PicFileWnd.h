#pragma once
// The picture editor's left pane: the shell folder tree over a caption strip
// with Back and Up, a splitter, and the chosen folder's pictures as
// thumbnails. It places and paints its children; their notifications go on
// to the view, which drives the browsing.
#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "controls/CustomButton.h"
#include "controls/CustomThumbCtrl.h"
#include "controls/ShellTreeCtrl.h"
#include "frame/SplitDrag.h"

class CPicFileWnd : public CWnd {
public:
    CPicFileWnd();
    ~CPicFileWnd() override;

    // Clamps the tree width and places the children.
    void Layout();

    CShellTreeCtrl m_tree;
    CCustomThumbCtrl m_thumbs;
    CCustomButton m_btnBack, m_btnUp;
    DIB_IMAGE m_splitTop, m_splitTile, m_splitBottom;
    int m_treeWidth = 0;
    RECT m_bar{};
    CSplitDrag m_drag{FALSE};

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message);
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    BOOL OnNotify(WPARAM wp, LPARAM lp, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()

private:
    void Clamp();
    void DrawDragFeedback();
};

// The splitter's pictures: top, tile and bottom, drawn down a bar.
void DrawSplitterBar(HDC dc, const RECT& bar, const DIB_IMAGE& top, const DIB_IMAGE& tile, const DIB_IMAGE& bottom);
// Two inverted lines at a bar's edges, one pixel longer at each end.
void InvertSplitterEdges(HWND wnd, const RECT& bar);
