#include "views/poi/PoiRssListWnd.h"

#include <algorithm>

#include "classlib/CMemDC.h"
#include "common/ButtonStrips.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "frame/ListPagePaint.h"
#include "res/feeds_ids.h"

namespace {

constexpr COLORREF kBack = RGB(5, 5, 10);
constexpr COLORREF kBand = RGB(30, 30, 35);
constexpr COLORREF kFrame = RGB(150, 150, 152);
constexpr int kTextButtonWidth = 143, kButtonHeight = 26;
// Headings of columns 4 to 6: name, description, date.
constexpr int kHeadings[7] = {-1, -1, -1, -1, 178, 181, 192};
constexpr int kEditors[7] = {CCustomListCtrl::EditNone,  CCustomListCtrl::EditNone,  CCustomListCtrl::EditCheck,
                             CCustomListCtrl::EditCheck, CCustomListCtrl::EditNone,  CCustomListCtrl::EditNone,
                             CCustomListCtrl::EditNone};

// Compares two shown items by a sort key: <0, 0 or >0.
int CompareItems(const DOCPI_RSS_ITEM& a, const DOCPI_RSS_ITEM& b, int key)
{
    auto text = [](const wchar_t* x, const wchar_t* y) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x, -1, y, -1) - CSTR_EQUAL;
    };
    switch (key) {
    case 0: return (a.newItem > b.newItem) - (a.newItem < b.newItem);
    case 2: return (a.check > b.check) - (a.check < b.check);
    case 3: return (a.favorite > b.favorite) - (a.favorite < b.favorite);
    case 4: return text(a.poi.name, b.poi.name);
    case 5: return text(a.poi.description, b.poi.description);
    case 6: return (a.pubDate > b.pubDate) - (a.pubDate < b.pubDate);
    default: return 0;
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CPoiRssListWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CPoiRssListWnd::CPoiRssListWnd()
{
    InitDibImage(&m_checkMark);
}

CPoiRssListWnd::~CPoiRssListWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    FreeDibImage(&m_checkMark);
    if (m_images)
        ImageList_Destroy(m_images);
    if (m_captionFont)
        DeleteObject(m_captionFont);
}

int CPoiRssListWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    const CRect none(0, 0, 0, 0);
    if (!m_titleList.Create(nullptr, nullptr,
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA | LVS_NOSORTHEADER, none,
                            this, IDC_FEED_TITLE_LIST))
        return -1;
    // The check and star cells toggle through the list's click editor.
    if (!m_itemList.Create(nullptr, nullptr,
                           WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA | LVS_EDITLABELS, none,
                           this, IDC_RSS_ITEM_LIST))
        return -1;
    m_itemList.m_cellMode = TRUE;
    const CDWordArray& widths = theGlobal.m_piRssColumns;
    for (int i = 0; i < 7 && i < widths.GetSize(); ++i) {
        m_itemList.InsertColumn(i, kHeadings[i] < 0 ? L"" : theGlobal.UiString(kHeadings[i]).GetString(), LVCFMT_LEFT,
                                static_cast<int>(widths[i]));
        m_itemList.m_columnProps[i].type = kEditors[i];
    }
    // Every column sorts but the row number.
    for (int i = 0; i < m_itemList.GetColumnCount(); ++i)
        m_itemList.m_header.SetSortable(i, i != 1);
    m_sortKey = kNoSortKey;
    m_sortAscending = 1;
    m_itemList.SetSortArrow(kNoSortKey, TRUE);

    m_images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 0);
    HBITMAP strip = static_cast<HBITMAP>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_FEED_IMAGES),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (m_images && strip)
        ImageList_AddMasked(m_images, strip, RGB(255, 0, 255));
    if (strip)
        DeleteObject(strip);
    if (m_images) {
        CImageList wrapper;
        wrapper.Attach(m_images);
        m_itemList.SetImageList(&wrapper, LVSIL_SMALL);
        wrapper.Detach();
        m_titleList.SetImageList(m_images);
    }
    m_splitter.LoadPictures();
    LoadDibFromPack(L"bk_check_mark.bmp", &m_checkMark);
    if (!CreateButtons())
        return -1;
    if (!CreateTahomaFont(TRUE, &m_captionFont, 120, FALSE))
        return -1;
    return 0;
}

BOOL CPoiRssListWnd::CreateButtons()
{
    const CRect none(0, 0, 0, 0);
    struct Picture {
        CCustomButton* button;
        UINT id;
        const wchar_t* format;
        const wchar_t* base;
    } const pictures[] = {
        {&m_btnAdd, ID_ENTRY, L"btn_feed_add_%s.bmp", L"btn_feed_add_normal.bmp"},
        {&m_btnDelete, ID_URL_DELETE, L"btn_feed_delete_%s.bmp", L"btn_feed_delete_normal.bmp"},
        {&m_btnLink, ID_LINK_BROWSE, L"btn_browser_%s.bmp", L"btn_browser_normal.bmp"},
    };
    for (const Picture& p : pictures) {
        if (!p.button->Create(none, this, p.id, FALSE) ||
            !p.button->LoadBitmaps(p.format, p.base, L"normal", L"pressed", L"pressed", L"hot", L"disable"))
            return FALSE;
        p.button->SetRoundRegion();
    }
    struct Text {
        CCustomButton* button;
        UINT id;
        int caption;
    } const texts[] = {{&m_btnCheckAll, ID_CHECK_ALL, 149},
                       {&m_btnCheckNew, ID_CHECK_NEW, 151},
                       {&m_btnCheckOld, ID_CHECK_OLD, 152},
                       {&m_btnUncheckAll, ID_UNCHECK_ALL, 150}};
    for (const Text& t : texts) {
        if (!t.button->Create(none, this, t.id, FALSE) ||
            !BuildButtonImage(&t.button->m_strip, theGlobal.UiString(t.caption), kTextButtonWidth, kButtonHeight, 100,
                              FALSE))
            return FALSE;
        t.button->SetRoundRegion();
    }
    return TRUE;
}

int CPoiRssListWnd::ClampSplit(int split, int width, int barWidth)
{
    split = std::max(split, 200);
    return std::min(split, width - barWidth - 700);
}

void CPoiRssListWnd::OnSize(UINT type, int cx, int cy)
{
    if (type == SIZE_MINIMIZED || cx == 0 || cy == 0)
        return;
    m_splitter.FollowSize(cx);
    PlaceChildren();
}

void CPoiRssListWnd::PlaceChildren()
{
    CRect c;
    GetClientRect(&c);
    const int W = c.Width(), H = c.Height();
    CWnd* main = AfxGetMainWnd();
    if (W <= 0 || H <= 0 || (main && main->IsIconic()))
        return;
    const int b = m_splitter.Thickness();
    m_splitter.Place(W, 0, H);
    m_titleList.MoveWindow(1, 25, m_splitter.split - 2, H - 62);
    m_itemList.MoveWindow(m_splitter.split + b + 1, 1, W - m_splitter.split - b - 2, H - 38);
    const int h = m_btnAdd.GetFrameHeight() ? m_btnAdd.GetFrameHeight() : kButtonHeight;
    const int y = H - h - 5;
    const int addWidth = m_btnAdd.m_strip.width ? m_btnAdd.m_strip.width : 40;
    m_btnAdd.MoveWindow(9, y, addWidth, h);
    m_btnDelete.MoveWindow(addWidth + 17, y, addWidth, h);
    const int r = m_splitter.bar.right;
    const int w = kTextButtonWidth;
    m_btnCheckAll.MoveWindow(r + 37, y, w, kButtonHeight);
    m_btnCheckNew.MoveWindow(r + w + 45, y, w, kButtonHeight);
    m_btnCheckOld.MoveWindow(r + 2 * w + 53, y, w, kButtonHeight);
    m_btnUncheckAll.MoveWindow(r + 3 * w + 72, y, w, kButtonHeight);
    const int linkWidth = m_btnLink.m_strip.width ? m_btnLink.m_strip.width : 40;
    m_btnLink.MoveWindow(W - linkWidth - 9, y, linkWidth, h);
    Invalidate(FALSE);
}

void CPoiRssListWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CMemDC dc(&paint, client);
    const int W = client.Width(), H = client.Height();
    dc.FillSolidRect(&client, kBack);
    m_splitter.Paint(dc);
    CBrush frameBrush(kFrame);
    if (m_titleList.GetSafeHwnd()) {
        FrameChild(dc, m_titleList, *this);
        FrameChild(dc, m_itemList, *this);
        // Caption band above the feed list.
        CRect list;
        m_titleList.GetWindowRect(&list);
        ScreenToClient(&list);
        list.InflateRect(1, 1);
        CRect band(list.left, 0, list.right, list.top);
        dc.FillSolidRect(&band, kBand);
        CPen pen(PS_SOLID, 1, kFrame);
        HGDIOBJ oldPen = dc.SelectObject(&pen);
        dc.MoveTo(band.left, band.bottom);
        dc.LineTo(band.left, band.top);
        dc.LineTo(band.right - 1, band.top);
        dc.LineTo(band.right - 1, band.bottom);
        dc.SelectObject(oldPen);
        CRect text(band.left + 13, band.top, band.right - 4, band.bottom);
        HGDIOBJ oldFont = ::SelectObject(dc, m_captionFont);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(m_titleList.m_hasFocus ? RGB(230, 232, 232) : RGB(200, 200, 200));
        dc.DrawText(theGlobal.UiString(175), &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        ::SelectObject(dc, oldFont);
    }
    // Button bars.
    CRect left(0, H - 37, m_splitter.bar.left, H);
    CRect right(m_splitter.bar.right, H - 37, W, H);
    for (CRect* bar : {&left, &right}) {
        dc.FillSolidRect(bar, kBand);
        dc.FrameRect(bar, frameBrush);
    }
    if (m_checkMark.bitmap)
        DrawDib(&m_checkMark, dc, m_splitter.bar.right + 9, H - 26);
    if (m_btnCheckOld.GetSafeHwnd()) {
        CRect old;
        m_btnCheckOld.GetWindowRect(&old);
        ScreenToClient(&old);
        const int x = old.right + 9;
        dc.FillSolidRect(x, old.top - 2, 1, old.Height() + 4, RGB(156, 156, 158));
        dc.FillSolidRect(x, old.top - 2, 1, 1, RGB(141, 141, 144));
    }
}

void CPoiRssListWnd::OnDestroy()
{
    CDWordArray& widths = theGlobal.m_piRssColumns;
    for (int i = 0; i < m_itemList.GetColumnCount(); ++i) {
        HD_ITEMW hd{};
        hd.mask = HDI_WIDTH;
        if (!m_itemList.m_header.GetItem(i, &hd))
            continue;
        if (i >= widths.GetSize())
            widths.SetSize(i + 1);
        widths[i] = static_cast<DWORD>(hd.cxy);
    }
    Default();
}

// ---------------------------------------------------------------------------
// Splitter

void CPoiRssListWnd::OnLButtonDown(UINT, CPoint pt)
{
    m_splitter.MouseDown(*this, pt);
}

void CPoiRssListWnd::OnMouseMove(UINT, CPoint pt)
{
    m_splitter.MouseMove(*this, pt);
}

void CPoiRssListWnd::OnLButtonUp(UINT, CPoint)
{
    if (m_splitter.MouseUp(*this))
        PlaceChildren();
}

// ---------------------------------------------------------------------------
// Lists

BOOL CPoiRssListWnd::OnNotify(WPARAM wp, LPARAM lp, LRESULT* result)
{
    CWnd* parent = GetParent();
    if (!parent)
        return FALSE;
    const LRESULT answer = parent->SendMessage(WM_NOTIFY, wp, lp);
    if (result)
        *result = answer;
    return TRUE;
}

int CPoiRssListWnd::ItemOfRow(int row) const
{
    return row >= 0 && row < m_order.GetSize() ? static_cast<int>(m_order[row]) : -1;
}

void CPoiRssListWnd::RefreshItemList()
{
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    const int n = std::min(doc.GetShownItemCount(), static_cast<int>(kMaxRows));
    if (n != m_order.GetSize()) {
        m_order.RemoveAll();
        DOCPI_RSS_ITEM item;
        for (int i = 0; i < n; ++i)
            if (doc.GetItem(i, &item))
                m_order.Add(static_cast<WORD>(i));
    }
    if (!m_itemList.GetSafeHwnd())
        return;
    m_itemList.m_items.RemoveAll();
    m_itemList.UpdateScrollBars();
    for (INT_PTR i = 0; i < m_order.GetSize(); ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = LPSTR_TEXTCALLBACKW;
        m_itemList.InsertItem(&item);
    }
    m_itemList.UpdateScrollBars();
    m_itemList.Invalidate(FALSE);
}

BOOL CPoiRssListWnd::SortItems(int count, int key, BOOL ascending)
{
    if (count > m_order.GetSize() || count < 2)
        return FALSE;
    if (key != 0 && (key < 2 || key > 6))
        return TRUE;
    CDocRssPoi& doc = theGlobal.m_docRssPoi;
    // One copy of the items, so the comparisons do not take the lock each time.
    std::vector<DOCPI_RSS_ITEM> items(static_cast<size_t>(count));
    std::vector<bool> have(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        have[i] = doc.GetItem(m_order[i], &items[i]) != FALSE;
    std::vector<int> positions(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        positions[i] = i;
    // The exchange sort: each position against every later one, swapped when
    // out of order. Its order of equal items is what users have seen.
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j) {
            const int a = positions[i], b = positions[j];
            if (!have[a] || !have[b])
                continue;
            const int c = CompareItems(items[a], items[b], key);
            if (ascending ? c > 0 : c < 0)
                std::swap(positions[i], positions[j]);
        }
    CWordArray sorted;
    for (int p : positions)
        sorted.Add(m_order[p]);
    for (int i = 0; i < count; ++i)
        m_order[i] = sorted[i];
    return TRUE;
}
