#pragma once
// The feed reader's left list: row 0 the new items, row 1 the favourites,
// then one row per feed. A one-column self-drawn list with the report list's
// row records, its texts asked from the parent (owner data), a skinned scroll
// bar in the non-client area, a tooltip with the full title of the row under
// the mouse, and a disabled mark (state 0x80) that keeps a row from being
// chosen with either mouse button or the keyboard.
#include <windows.h>
#include <commctrl.h>

#include "classlib/Afx.h"
#include "classlib/CToolTipCtrl.h"
#include "common/DibImage.h"
#include "controls/CustomListCtrl.h"
#include "controls/ScrollHostWnd.h"

class CFeedTitleListCtrl : public CScrollHostWnd {
public:
    using _listitem = CCustomListCtrl::_listitem;
    enum : UINT { DisabledBit = 0x80 };
    enum { ScrollId = 59648, TooltipTimer = 10000, TooltipDelay = 500, TextBufferSize = 2049 };

    CFeedTitleListCtrl();
    ~CFeedTitleListCtrl() override;

    virtual void DrawItem(DRAWITEMSTRUCT* dis);
    virtual void DrawList(CDC* dc);
    virtual void DrawSubItem(CDC* dc, RECT* cell, int row, int column);

    int GetItemCount() const { return static_cast<int>(m_items.GetSize()); }
    BOOL IsRow(int row) const { return row >= 0 && row < GetItemCount(); }
    // Rows made empty (texts asked from the parent), or removed from the end.
    void SetItemCount(int count);
    int GetCurSel() const;
    int GetSelectedCount() const;
    BOOL SetItemState(int row, UINT mask, UINT value);
    UINT GetItemState(int row, UINT mask) const;
    void ClearSelection();
    BOOL GetItem(LVITEMW* item) const;
    BOOL GetItemRect(int row, int column, RECT* rc, int which) const;
    int HitTest(CPoint pt) const;
    BOOL EnsureVisible(int row);
    void UpdateScrollBars();
    void SetImageList(HIMAGELIST list);
    int GetRowHeight() const { return m_rowHeight; }
    int GetTopIndex() const { return m_topIndex; }
    // The row whose title is under a client point (the tooltip's rule), -1 for none.
    int TitleHitTest(CPoint pt);
    const CString& GetTooltipText() const { return m_tipText; }

    BOOL PreTranslateMessage(MSG* msg) override;

    CArray<_listitem> m_items;
    CCustomScrollBar m_vScroll;
    CToolTipCtrl m_tooltip;
    BOOL m_hasFocus = FALSE;
    BOOL m_useSelectionSkin = TRUE;
    COLORREF m_bkColor = RGB(30, 30, 35);
    int m_focusItem = -1;
    int m_tipRow = -1;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnSize(UINT type, int cx, int cy);
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnRButtonDown(UINT flags, CPoint pt);
    void OnRButtonUp(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    UINT OnGetDlgCode() { return DLGC_WANTARROWS; }
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);
    void OnTimer(UINT_PTR id);
    void OnSetFocus(CWnd* old);
    void OnKillFocus(CWnd* next);
    BOOL OnNotify(WPARAM wp, LPARAM lp, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()

    void NotifyItemChanged(int row, UINT newState, UINT oldState, UINT changed);
    void MoveFocusTo(int row);
    void ScrollTo(int pos);
    void RowText(int row, CString& text, int& image, UINT& state) const;

    CFont m_font, m_fontBold, m_fontUnderline, m_fontBoldUnderline;
    DIB_IMAGE m_selSkinMid{}, m_selSkinLeft{}, m_selSkinRight{};
    HIMAGELIST m_imageList = nullptr;
    BOOL m_ownImageList = FALSE;
    SIZE m_iconSize{0, 0};
    int m_rowHeight = 36;
    int m_topIndex = 0;
    int m_rowsPerPage = 1;
    int m_leftMargin = 1;
    CPoint m_lastMouse{-1, -1};
    CString m_tipText;
};
