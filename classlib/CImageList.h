#pragma once
// An image list (common controls). Owns the list it created or attached;
// FromHandle wrappers own nothing and last until the next idle pass.
#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    virtual ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    static CImageList* FromHandle(HIMAGELIST list);
    static void DeleteTempMap();

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow) { return Attach(ImageList_Create(cx, cy, flags, initial, grow)); }
    BOOL DeleteImageList();

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL GetIconSize(int* cx, int* cy) const { return ImageList_GetIconSize(m_hImageList, cx, cy); }
    int Add(HBITMAP image, HBITMAP mask) { return ImageList_Add(m_hImageList, image, mask); }
    int Add(HBITMAP image, COLORREF maskColor) { return ImageList_AddMasked(m_hImageList, image, maskColor); }
    int Add(HICON icon) { return ImageList_ReplaceIcon(m_hImageList, -1, icon); }
    BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
    BOOL Draw(HDC dc, int index, POINT pt, UINT style) const { return ImageList_Draw(m_hImageList, index, dc, pt.x, pt.y, style); }
    BOOL DrawEx(HDC dc, int index, POINT pt, SIZE sz, COLORREF bk, COLORREF fg, UINT style) const
    {
        return ImageList_DrawEx(m_hImageList, index, dc, pt.x, pt.y, sz.cx, sz.cy, bk, fg, style);
    }
    HICON ExtractIcon(int index) const { return ImageList_GetIcon(m_hImageList, index, ILD_NORMAL); }
    COLORREF SetBkColor(COLORREF c) { return ImageList_SetBkColor(m_hImageList, c); }
    BOOL SetOverlayImage(int image, int overlay) { return ImageList_SetOverlayImage(m_hImageList, image, overlay); }

    // Dragging one of the list's images over windows (one drag at a time per
    // thread): BeginDrag with the hot spot in the image, DragEnter the window
    // the pointer is over (its window coordinates), DragMove as it moves,
    // DragLeave and EndDrag when it ends. DragShowNolock hides the image while
    // the window under it repaints.
    BOOL BeginDrag(int image, POINT hotSpot) { return ImageList_BeginDrag(m_hImageList, image, hotSpot.x, hotSpot.y); }
    static BOOL DragEnter(HWND lock, POINT pt) { return ImageList_DragEnter(lock, pt.x, pt.y); }
    static BOOL DragMove(POINT pt) { return ImageList_DragMove(pt.x, pt.y); }
    static BOOL DragLeave(HWND lock) { return ImageList_DragLeave(lock); }
    static void EndDrag() { ImageList_EndDrag(); }
    static BOOL DragShowNolock(BOOL show) { return ImageList_DragShowNolock(show); }

    HIMAGELIST m_hImageList = nullptr;
};
