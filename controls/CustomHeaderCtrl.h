#pragma once
// The column header of the custom list. Its window sits in the list's
// non-client band above the client area, where the system never shows it: the
// list reserves the band (PlaceAboveParent in WM_NCCALCSIZE), paints the header
// through its own window DC (RedrawNC) and hands it its non-client mouse
// messages (ForwardNCMouse). Clicks, divider drags and divider double-clicks
// reach the list as HDN_* notifications (wParam = the header's id).
#include <windows.h>
#include <commctrl.h>

#include "classlib/Afx.h"
#include "common/DibImage.h"

// DrawText flags of a header or list text: single line, centred vertically,
// no prefix, ellipsis at the end, then horizontal alignment from a column
// format whose low bits are 0 left, 1 right, 2 centre (HDF_/LVCFMT_ order).
// DT_CENTER is 1 and DT_RIGHT 2, so the format is mapped, never added.
UINT ColumnTextFlags(int format);

class CCustomHeaderCtrl : public CWnd {
public:
    enum { MaxTotalWidth = 0x7FFF, PressedBit = 0x10, ArrowRoom = 18, TextInset = 7 };
    enum { TrackNone = 0, TrackDivider = 1, TrackItem = 2 };

    CCustomHeaderCtrl();
    ~CCustomHeaderCtrl() override;

    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual BOOL CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual void DrawItem(DRAWITEMSTRUCT* dis);
    virtual void DrawHeader(CDC* dc);

    int GetItemCount() const { return static_cast<int>(m_hdItems.GetSize()); }
    // Appends when index is past the end; returns the index used.
    int InsertItem(int index, const HD_ITEMW* item);
    // HDI_TEXT hands out the header's own text: callers must not free or write it.
    BOOL GetItem(int index, HD_ITEMW* item) const;
    BOOL SetItem(int index, const HD_ITEMW* item);
    BOOL GetItemRect(int index, RECT* rc) const;
    // Dividers: the last item whose right edge is within 2 pixels of pt.x;
    // items: the first item holding pt; -1 when none.
    int HitTest(POINT pt, BOOL dividersOnly) const;
    BOOL IsSortable(int index) const;
    void SetSortable(int index, BOOL sortable);

    // Non-client hosting by the list.
    LRESULT PlaceAboveParent(NCCALCSIZE_PARAMS* params);
    void RedrawNC();
    LRESULT HitTestNC(int x, int y) const;
    BOOL ForwardNCMouse(MSG* msg);

    // One cell: fill, bottom line, sort arrows (sortable cells wider than 18
    // pixels), text. Also used by lists that paint header-like cells.
    static void DrawHeaderItem(const RECT* rect, BOOL focused, COLORREF fill, HDC dc, LPCWSTR text, int format,
                               COLORREF lineColor, BOOL sortable);

    CArray<HD_ITEMW> m_hdItems;
    CWordArray m_sortable;
    DIB_IMAGE m_image;
    HFONT m_font = nullptr;
    BOOL m_tracking = FALSE;
    int m_trackMode = TrackNone;
    int m_trackItem = -1;
    int m_trackStartWidth = 0;
    POINT m_trackStart{0, 0};
    COLORREF m_bkColor = 0x231E1E;
    COLORREF m_lineColor = 0x807E7E;
    COLORREF m_dividerColor = 0x817E7E;

    // Mouse handling in header client coordinates (direct or forwarded).
    void HeaderButtonDown(CPoint pt);
    void HeaderMouseMove(CPoint pt);
    void HeaderButtonUp(CPoint pt);
    void HeaderDoubleClick(CPoint pt);

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT, CPoint pt) { HeaderButtonDown(pt); }
    void OnLButtonUp(UINT, CPoint pt) { HeaderButtonUp(pt); }
    void OnLButtonDblClk(UINT, CPoint pt) { HeaderDoubleClick(pt); }
    void OnMouseMove(UINT, CPoint pt) { HeaderMouseMove(pt); }
    BOOL OnSetCursor(CWnd*, UINT, UINT);
    DECLARE_MESSAGE_MAP()

private:
    void ClampWidth(int changed);
    void FreeTexts();
    void Notify(int code, int item);
    void SetSplitCursor();
    void CheckIndex(int index) const;
};
