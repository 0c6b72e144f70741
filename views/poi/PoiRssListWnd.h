#pragma once
// The feed reader's lower pane: the feed title list on the left and the item
// list on the right with a vertical splitter between them, a button bar under
// each, and the item view order (which shown item of the feed document stands
// in which row). Every notification of both lists goes on to the reader view,
// and every button posts its command to the main window.
#include "common/DibImage.h"
#include "controls/CustomButton.h"
#include "core/Global.h"
#include "doc/DocRssPoi.h"
#include "views/poi/FeedSplitter.h"
#include "views/poi/FeedTitleListCtrl.h"
#include "views/poi/RssItemListCtrl.h"

class CPoiRssListWnd : public CWnd {
public:
    enum { kNoSortKey = 7, kMaxRows = RSS_MAX_SHOWN };

    CPoiRssListWnd();
    ~CPoiRssListWnd() override;

    // Rebuilds the view order when the number of shown items changed, then the item rows.
    void RefreshItemList();
    // Sorts the first count entries of the view order; FALSE when there is nothing to sort.
    BOOL SortItems(int count, int key, BOOL ascending);
    // The split position after the pane's rules (at least 200, and room for
    // the item list, which wins in a narrow pane).
    static int ClampSplit(int split, int width, int barWidth);
    // The shown item of a row, -1 outside the order.
    int ItemOfRow(int row) const;
    void PlaceChildren();

    CFeedTitleListCtrl m_titleList;
    CRssItemListCtrl m_itemList;
    CCustomButton m_btnAdd, m_btnDelete, m_btnLink, m_btnCheckAll, m_btnCheckNew, m_btnCheckOld, m_btnUncheckAll;
    CWordArray m_order;
    int m_sortKey = kNoSortKey;
    int m_sortAscending = 1;
    CFeedSplitter m_splitter{FALSE, theGlobal.m_rssListSplit, 0.3f, ClampSplit};

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    void OnMouseMove(UINT flags, CPoint pt);
    BOOL OnNotify(WPARAM wp, LPARAM lp, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()

    BOOL CreateButtons();

    HIMAGELIST m_images = nullptr;
    DIB_IMAGE m_checkMark{};
    HFONT m_captionFont = nullptr;
};
