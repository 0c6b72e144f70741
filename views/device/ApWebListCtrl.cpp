#include "views/device/ApWebListCtrl.h"

#include "core/Global.h"

namespace {

constexpr COLORREF kUpdateTag = 0x3D3DFC;
constexpr COLORREF kGrey = 0x808080;
constexpr COLORREF kPlainText = 0xFEFEFE;
constexpr COLORREF kSelectedText = 0x000000;
constexpr COLORREF kSelectedFill = 0x6CD1D0;
constexpr UINT kTextFlags = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;

void Fill(CDC* dc, const RECT& rect, COLORREF colour)
{
    dc->SetBkColor(colour);
    ::ExtTextOutW(dc->GetSafeHdc(), 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

}  // namespace

BEGIN_MESSAGE_MAP(CApWebListCtrl, CCustomListCtrl)
    ON_WM_CREATE()
END_MESSAGE_MAP()

CApWebListCtrl::~CApWebListCtrl()
{
    for (DIB_IMAGE* image : {&m_info, &m_delete, &m_barLeft, &m_barMid, &m_barRight})
        FreeDibImage(image);
}

int CApWebListCtrl::OnCreate(LPCREATESTRUCTW cs)
{
    if (CCustomListCtrl::OnCreate(cs) == -1)
        return -1;
    if (!LoadDibFromPack(L"btn_info_normal.bmp", &m_info) || !LoadDibFromPack(L"btn_delete_normal.bmp", &m_delete) ||
        !LoadDibFromPack(L"customlist_large_sel_l.bmp", &m_barLeft) ||
        !LoadDibFromPack(L"customlist_large_sel_c.bmp", &m_barMid) ||
        !LoadDibFromPack(L"customlist_large_sel_r.bmp", &m_barRight))
        return -1;
    m_rowHeight = m_minRowHeight;
    return 0;
}

void CApWebListCtrl::AttachImageList(CImageList* list, int which)
{
    SetImageList(list, which);
    const SIZE icon = which == LVSIL_SMALL ? m_iconSmall : m_iconSub;
    m_rowHeight = icon.cy + 1 > m_minRowHeight ? icon.cy + 1 : m_minRowHeight;
    if (m_hWnd) {
        UpdateScrollBars();
        Invalidate(FALSE);
    }
}

BOOL CApWebListCtrl::SplitAppText(const CString& text, CString& tags, CString& size, CString& name)
{
    const int close = text.Find(L'>');
    const int open = text.Find(L'<');
    if (close < 0 || open < 0 || open > close)
        return FALSE;
    tags = text.Left(open);
    size = text.Mid(open + 1, close - open - 1);
    name = text.Mid(close + 1);
    return TRUE;
}

void CApWebListCtrl::DrawItem(DRAWITEMSTRUCT* dis)
{
    CDC dc;
    dc.Attach(dis->hDC);
    const RECT& rc = dis->rcItem;
    const bool real = dis->itemID < static_cast<UINT>(GetItemCount());
    const int row = real ? static_cast<int>(dis->itemID) : -1;
    const bool selected = real && (m_items[row].item.state & LVIS_SELECTED);
    dc.SelectObject(selected ? &m_fontBold : &m_font);

    // Column edges.
    CArray<int> edges;
    int x = rc.left;
    edges.Add(x);
    for (int i = 0; i < GetColumnCount(); ++i) {
        HD_ITEMW hd{};
        hd.mask = HDI_WIDTH;
        m_header.GetItem(i, &hd);
        x += hd.cxy;
        edges.Add(x);
    }
    Fill(&dc, rc, m_bkColor);
    if (selected) {
        const int columns = GetColumnCount();
        const int first = m_barFirst < columns ? m_barFirst : columns - 1;
        const int last = m_barLast < 0 || m_barLast >= columns ? columns - 1 : m_barLast;
        const RECT bar = {edges[first], rc.top, last < 0 ? rc.right : edges[last + 1] - 3, rc.bottom - 1};
        if (m_useSelectionSkin) {
            RECT left = {bar.left, bar.top, bar.left + m_barLeft.width, bar.bottom};
            RECT right = {bar.right - m_barRight.width, bar.top, bar.right, bar.bottom};
            RECT mid = {left.right, bar.top, right.left, bar.bottom};
            FillRectWithDib(dc, &m_barLeft, &left, FALSE);
            if (mid.right > mid.left)
                FillRectWithDib(dc, &m_barMid, &mid, TRUE);
            FillRectWithDib(dc, &m_barRight, &right, FALSE);
        } else {
            Fill(&dc, rc, kSelectedFill);
        }
    }
    SetDCPenColor(dc, m_gridColor);
    HGDIOBJ oldPen = dc.SelectObject(static_cast<HPEN>(::GetStockObject(DC_PEN)));
    dc.MoveTo(rc.left, rc.bottom - 1);
    dc.LineTo(rc.right, rc.bottom - 1);
    for (INT_PTR i = 1; i < edges.GetSize(); ++i) {
        dc.MoveTo(edges[i] - 1, rc.top);
        dc.LineTo(edges[i] - 1, rc.bottom);
    }
    dc.SelectObject(oldPen);
    dc.SetTextColor(selected ? kSelectedText : kPlainText);
    dc.SetBkMode(TRANSPARENT);
    if (real)
        for (int i = 0; i < GetColumnCount() && i < m_columnProps.GetSize(); ++i) {
            RECT cell = {edges[i], rc.top, edges[i + 1], rc.bottom};
            DrawSubItem(&dc, &cell, row, i);
        }
    dc.SetBkMode(OPAQUE);
    dc.Detach();
}

void CApWebListCtrl::DrawSubItem(CDC* dc, RECT* cell, int row, int column)
{
    const int height = cell->bottom - cell->top;
    if (column == ButtonColumn()) {
        const DIB_IMAGE& button = m_mode == WebList ? m_info : m_delete;
        int left = cell->left + (cell->right - cell->left - button.width) / 2;
        if (left < cell->left + 2)
            left = cell->left + 2;
        DrawDib(&button, dc->GetSafeHdc(), left, cell->top + (height - button.height) / 2);
        return;
    }
    wchar_t buffer[TextBufferSize] = L"";
    LPCWSTR text = nullptr;
    int image = -1;
    UINT state = 0;
    if (!GetCellContent(row, column, buffer, TextBufferSize, text, image, state))
        return;
    if (state & BoldBit)
        dc->SelectObject(&m_fontBold);
    const bool appCell = column < m_columnProps.GetSize() && m_columnProps[column].type == EditIconOrTextNoIme;
    HIMAGELIST list = column == 0 ? m_imageListSmall : (m_imageListSub ? m_imageListSub : m_imageListSmall);
    RECT area = *cell;
    if (image >= 0 && list) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        int left;
        const int align = GetColumnAlignment(column);
        if (appCell)
            left = cell->left + 14;
        else if (align == LVCFMT_RIGHT)
            left = cell->right - cx;
        else if (align == LVCFMT_CENTER)
            left = cell->left + (cell->right - cell->left - cx) / 2;
        else
            left = cell->left;
        ImageList_Draw(list, image, dc->GetSafeHdc(), left, cell->top + (height - cy) / 2, ILD_TRANSPARENT);
        area.left = left + cx + (appCell ? 27 : 4);
    }
    if (!text || !*text)
        return;
    area.left += 11;
    area.right -= 11;
    if (area.right <= area.left)
        return;
    DrawAppText(dc, area, text, ::GetTextColor(dc->GetSafeHdc()));
}

void CApWebListCtrl::DrawAppText(CDC* dc, const RECT& area, const CString& text, COLORREF textColour) const
{
    HDC hdc = dc->GetSafeHdc();
    CString tags, size, name;
    if (!SplitAppText(text, tags, size, name)) {
        RECT r = area;
        ::DrawTextW(hdc, text, text.GetLength(), &r, kTextFlags | DT_VCENTER | DT_LEFT);
        return;
    }
    if (tags.GetLength() >= 1 && tags[0] == L'T') {
        const CString tag = theGlobal.m_uiStrings.GetSize() > 412 ? theGlobal.UiString(412) : CString();
        RECT r = {area.left, area.top + 12, area.right, area.bottom - 42};
        ::SetTextColor(hdc, kUpdateTag);
        ::DrawTextW(hdc, tag, tag.GetLength(), &r, kTextFlags | DT_TOP | DT_LEFT);
    }
    RECT sizeBox = {area.left, area.top + 46, area.right, area.bottom - 8};
    ::SetTextColor(hdc, kGrey);
    ::DrawTextW(hdc, size, size.GetLength(), &sizeBox, kTextFlags | DT_RIGHT | DT_BOTTOM);
    RECT nameBox = {area.left, area.top + 29, area.right, area.bottom - 25};
    const bool current = tags.GetLength() >= 2 && tags[1] == L'F';
    ::SetTextColor(hdc, current ? kGrey : textColour);
    ::DrawTextW(hdc, name, name.GetLength(), &nameBox, kTextFlags | DT_VCENTER | DT_LEFT);
    ::SetTextColor(hdc, textColour);
}
