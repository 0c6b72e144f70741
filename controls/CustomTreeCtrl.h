#pragma once
// The program's self-drawn tree: the calls and notifications of the system
// tree view (TVITEMW, HTREEITEM, TVGN_*, TVN_*) on nodes of its own, skinned
// scroll bars in the non-client area, an in-place label editor and a tooltip
// that shows labels cut off by the window's edges.
//
// Painting is double-buffered (CMemDC). Layout (the flattened list of shown nodes and their rectangles) is made
// when it is next needed, so a burst of inserts costs one layout.
#include <string>

#include "classlib/Afx.h"
#include "common/DibImage.h"
#include "controls/ScrollHostWnd.h"
#include "controls/InPlaceEdit.h"

class CCustomTreeCtrl : public CScrollHostWnd {
public:
    struct _treeitem {
        TVITEMW item;
        int level;
        RECT rect;
        _treeitem* parent;
        _treeitem* nextSibling;
        _treeitem* firstChild;
        int textWidth;  // measured once per text, -1 until then
    };

    // A tooltip that stays where the tree puts it.
    class CCustomToolTipCtrl : public CToolTipCtrl {
    public:
        POINT m_tipPos{0, 0};
    protected:
        void OnWindowPosChanging(WINDOWPOS* pos);
        DECLARE_MESSAGE_MAP()
    };

    enum { HorzBarId = 59649, VertBarId = 59650, TimerEdit = 101, DefaultRowHeight = 16, Indent = 12, Top = 4 };

    CCustomTreeCtrl();
    ~CCustomTreeCtrl() override;

    virtual void DrawTree(CDC* dc);
    using CWnd::Create;
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, void* context = nullptr);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    HTREEITEM InsertItem(const TVINSERTSTRUCTW* insert);
    HTREEITEM InsertItem(const wchar_t* text, HTREEITEM parent = TVI_ROOT, int image = -1, LPARAM param = 0);
    HTREEITEM AddChild(HTREEITEM node);
    // The node and everything under it; nothing left pointing at them.
    BOOL DeleteItem(HTREEITEM node);
    void DeleteAllItems();
    HTREEITEM GetNextItem(HTREEITEM node, UINT code);
    HTREEITEM GetRootItem() { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetSelectedItem() { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetChildItem(HTREEITEM node) { return GetNextItem(node, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM node) { return GetNextItem(node, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM node) { return GetNextItem(node, TVGN_PARENT); }
    BOOL SelectItem(HTREEITEM node);
    CString GetItemText(HTREEITEM node) const;
    BOOL SetItemText(HTREEITEM node, const wchar_t* text);
    // The node's record (NULL for NULL).
    TVITEMW* GetItem(HTREEITEM node) const;
    BOOL ItemHasChildren(HTREEITEM node) const;
    BOOL IsExpanded(HTREEITEM node) const;
    // Expands (TVE_EXPAND), collapses or toggles with both expansion notifications.
    BOOL Expand(HTREEITEM node, UINT action);
    CImageList* SetImageList(CImageList* list);
    BOOL EnsureVisible(HTREEITEM node);
    HWND EditLabel(HTREEITEM node);
    HWND GetEditControl() const { return m_editorWnd; }
    HTREEITEM HitTest(int x, int y);
    // The node's rectangle on screen (client coordinates); FALSE when above the top.
    BOOL GetItemRect(HTREEITEM node, RECT* rect, BOOL textOnly);
    void UpdateScrollBars();
    void RecalcLayout();

    int GetCount() const { return m_count; }
    int GetVisibleCount();
    int GetTopIndex() const { return m_topIndex; }
    int GetRowsPerPage() const { return m_rowsPerPage; }
    int GetRowHeight() const { return m_rowHeight; }
    BOOL IsEditing() const { return m_editing; }

    CCustomScrollBar m_hScroll, m_vScroll;
    CCustomToolTipCtrl m_toolTip;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    void OnLButtonDblClk(UINT flags, CPoint pt);
    void OnRButtonDown(UINT flags, CPoint pt);
    void OnRButtonUp(UINT flags, CPoint pt);
    void OnMButtonDown(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    UINT OnGetDlgCode() { return DLGC_WANTARROWS; }
    void OnTimer(UINT_PTR id);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnSetFocus(CWnd* old);
    void OnKillFocus(CWnd* next);
    LRESULT OnEndEditLabel(WPARAM cancel, LPARAM node);
    DECLARE_MESSAGE_MAP()

    // Sends a tree notification to the parent; its answer.
    LRESULT Notify(int code, UINT action, _treeitem* oldNode, _treeitem* newNode, POINT drag = {0, 0});
    void Toggle(_treeitem* node, UINT action);
    static _treeitem* Node(HTREEITEM h) { return reinterpret_cast<_treeitem*>(h); }
    static HTREEITEM Handle(_treeitem* n) { return reinterpret_cast<HTREEITEM>(n); }

    _treeitem m_root{};
    int m_count = 0;
    CArray<_treeitem*> m_visible;
    _treeitem* m_caret = nullptr;
    _treeitem* m_dropHilite = nullptr;
    int m_selAction = 0;

private:
    void EnsureLayout();
    void Layout();
    int TextWidth(_treeitem* node);
    int VisibleIndex(const _treeitem* node);
    int HorzPos() const;
    void FreeSubtree(_treeitem* node);
    bool Contains(const _treeitem* top, const _treeitem* node) const;
    void UpdateToolTip(CPoint pt);
    void UpdateToolTipForCursor();
    void KeySelect(_treeitem* node);
    void ScrollRows(int code);
    void CancelEdit();
    static LRESULT CALLBACK EditorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    HIMAGELIST m_imageList = nullptr;
    SIZE m_iconSize{0, 0};
    int m_rowHeight = DefaultRowHeight;
    int m_topIndex = 0;
    int m_rowsPerPage = 1;
    HFONT m_font = nullptr;
    HDC m_measureDC = nullptr;
    BOOL m_hasFocus = FALSE;
    BOOL m_clickEditPending = FALSE;
    BOOL m_dragArmed = FALSE;
    CPoint m_downPoint;
    BOOL m_editing = FALSE;
    HWND m_editorWnd = nullptr;
    WNDPROC m_editorOldProc = nullptr;
    _treeitem* m_editNode = nullptr;
    CInPlaceEdit m_edit;
    CString m_tipText;
    bool m_layoutDirty = false;
    bool m_inLayout = false;
};
