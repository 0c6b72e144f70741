#pragma once
// A grid of 94 x 94 thumbnails with labels: the pictures and sub-folders of a
// shell folder, or pictures the owner inserts. Behaves towards its parent like
// a list view (LVN_ITEMCHANGED, NM_DBLCLK, LVN_BEGINDRAG, WM_CONTEXTMENU) and
// tells the front window when it gains or loses the focus (ID_FOCUSCHANGED).
// Picture files are decoded on a worker thread (CThumbLoader) and picked up
// by a 10 ms timer, so a big folder shows at once and fills in. A skinned
// vertical bar in the non-client area scrolls it.
#include <memory>

#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "common/ShellServices.h"
#include "controls/ScrollHostWnd.h"
#include "controls/ThumbLoader.h"

#ifndef ID_FOCUSCHANGED
#define ID_FOCUSCHANGED 32804
#endif

class CCustomThumbCtrl : public CScrollHostWnd {
public:
    struct THUMB {
        CPidl* item;            // owned; NULL for inserted items
        DIB_IMAGE* thumbnail;   // owned; NULL until loaded or set
        int isIconItem;         // made from the shell icon
        RECT labelRect;         // measured label size
        CString name;
        int loadId = 0;         // names the item to the background decoder; 0 none
    };
    enum {
        CellWidth = 94, CellHeight = 94, PitchX = 124, PitchY = 138, MarginLeft = 10, MarginTop = 5,
        LabelTop = 104, LabelHeight = 36, TimerLoad = 6809, HorzBarId = 59649, VertBarId = 59650,
        MaxLoadIndex = 32767
    };

    CCustomThumbCtrl();
    ~CCustomThumbCtrl() override;

    BOOL SetFolder(const CPidl* folder);
    void DeleteAllItems();
    int InsertItem(int index);
    // A copy of bitmap becomes the thumbnail; NULL clears it. FALSE for a bad
    // index or a failed copy.
    BOOL SetItemBitmap(int index, const DIB_IMAGE* bitmap);
    void SetCurSel(int index);
    int GetCurSel() const { return m_selItem; }
    int GetCaretItem() const { return m_caretItem; }
    BOOL EnsureVisible(int index);
    void GetItemRect(RECT* rect, int index) const;
    void GetItemPath(int index, CString& path) const;
    // A new list (the caller deletes it) with one image of the item as it looks
    // dragged: thumbnail and label on a transparent (black) background.
    CImageList* CreateDragImage(int index, POINT* cellOrigin);
    void UpdateScrollBars();

    int GetItemCount() const { return static_cast<int>(m_items.GetSize()); }
    const THUMB& GetItem(int index) const { return m_items[index]; }
    int GetColumns() const;
    int HitTest(CPoint pt) const;
    // Thumbnails still being decoded.
    int GetPendingLoads() const { return m_pendingLoads; }

    BOOL m_noLabels = FALSE;
    BOOL m_useShellIcon = TRUE;
    // Cell layout; the icon dialogs use small cells. Set before filling.
    int m_cellWidth = CellWidth, m_cellHeight = CellHeight;
    int m_gapX = PitchX - CellWidth, m_gapY = PitchY - CellHeight;
    int m_marginLeft = MarginLeft, m_marginTop = MarginTop;
    CCustomScrollBar m_hScroll, m_vScroll;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnTimer(UINT_PTR id);
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    void OnLButtonDblClk(UINT flags, CPoint pt);
    void OnRButtonDown(UINT flags, CPoint pt);
    void OnRButtonUp(UINT flags, CPoint pt);
    void OnRButtonDblClk(UINT flags, CPoint pt);
    void OnMButtonDown(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    UINT OnGetDlgCode() { return DLGC_WANTARROWS; }
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnHScroll(UINT, UINT, CScrollBar*) {}
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);
    void OnSetFocus(CWnd* old);
    void OnKillFocus(CWnd* next);
    DECLARE_MESSAGE_MAP()

private:
    int ColumnPitch() const { return m_cellWidth + m_gapX; }
    int RowPitch() const { return m_cellHeight + m_gapY; }
    int RowTop(int index) const;
    CRect CellRect(int index) const;
    int ScrollPos() const;
    void SetScrollPosition(int pos);
    void FreeItem(THUMB& item);
    void MeasureLabel(THUMB& item);
    void SelectFromMouse(CPoint pt, bool armDrag);
    void NotifyItemChanged(int oldItem, int newItem, CPoint pt);
    void SendFocusChanged();
    void Paint(HDC dc, const CRect& client);
    void DrawLabel(HDC dc, const THUMB& item, const CRect& cell, UINT flags) const;
    CRect CenteredLabel(const THUMB& item, const CRect& cell) const;
    void Repaint() { Invalidate(FALSE); }

    CArray<THUMB> m_items;
    int m_selItem = -1;
    int m_caretItem = 0;
    int m_loadIndex = 0;  // where the next decoded picture is looked for first
    int m_nextLoadId = 0;
    int m_pendingLoads = 0;
    int m_extraLabel = 0;
    CImageList m_iconList;
    HDC m_memDC = nullptr;
    DIB_IMAGE m_backBuffer{};
    HFONT m_noImageFont = nullptr;
    BOOL m_dragArmed = FALSE;
    CPoint m_dragPoint;
    std::unique_ptr<CThumbLoader> m_loader;
    bool m_inSize = false;
};
