#pragma once
// The icon editor of a list cell: a rounded grid of the list's images on a
// "Static" window that the list creates. The highlighted cell is the value
// committed; Enter (posted to itself on a click) commits, Escape cancels.
#include <windows.h>
#include <commctrl.h>

#include "common/DibImage.h"
#include "controls/InPlacePicker.h"

class CInPlaceIconList : public CInPlacePicker {
public:
    CInPlaceIconList();
    ~CInPlaceIconList() override;

    void SetImageList(HIMAGELIST list) { m_imageList = list; }
    // Subclasses the window, adds a border, lays the grid out and loads the skin.
    BOOL AttachTo(HWND wnd);
    void Detach();
    virtual void DrawItem(int index);

    HIMAGELIST m_imageList = nullptr;
    int m_columns = 8;
    CArray<RECT> m_cellRects;
    DIB_IMAGE m_bkNormal, m_bkSmall, m_selNormal, m_selSmall;

protected:
    int ItemCount() const override { return m_imageList ? ImageList_GetImageCount(m_imageList) : 0; }
    const CArray<RECT>& ItemRects() const override { return m_cellRects; }
    void HotChanged(int old) override;
    BOOL MoveKey(UINT key) override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void FreeSkin();
    void PaintAll(HDC dc);
    HDC m_paintDc = nullptr;
};
