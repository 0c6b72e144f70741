#include "views/device/AbListCtrl.h"

namespace {

const COLORREF kSelectedBack = RGB(208, 209, 108);
const COLORREF kSelectedText = RGB(0, 0, 0);
const COLORREF kPlainText = RGB(254, 254, 254);
const COLORREF kReadOnlyText = RGB(128, 128, 128);
constexpr int kFirstTextColumn = 2;

void FillSolid(CDC& dc, const RECT& rc, COLORREF colour)
{
    SetDCPenColor(dc, colour);
    SetDCBrushColor(dc, colour);
    dc.Rectangle(&rc);
}

}  // namespace

void CAbListCtrl::DrawItem(DRAWITEMSTRUCT* dis)
{
    CDC dc;
    dc.Attach(dis->hDC);
    const RECT& rc = dis->rcItem;
    const bool real = dis->itemID < static_cast<UINT>(GetItemCount());
    const int row = real ? static_cast<int>(dis->itemID) : -1;
    const bool selected = real && (m_items[row].item.state & LVIS_SELECTED);
    const COLORREF back = selected ? kSelectedBack : m_bkColor;
    const COLORREF textColour = selected ? kSelectedText : kPlainText;
    dc.SelectObject(selected ? &m_fontBold : &m_font);

    // Where the text columns start: the selection skin begins there.
    int textLeft = rc.left;
    for (int i = 0; i < kFirstTextColumn && i < GetColumnCount(); ++i) {
        HD_ITEMW hd{};
        hd.mask = HDI_WIDTH;
        m_header.GetItem(i, &hd);
        const int width = hd.cxy - (i == 0 ? m_indent : 0);
        if (width > 0)
            textLeft += width;
    }
    const bool skin = selected && m_useSelectionSkin && m_selSkinMid.bitmap;
    if (!selected) {
        FillSolid(dc, rc, back);
    } else if (skin) {
        FillSolid(dc, CRect(rc.left, rc.top, textLeft, rc.bottom), m_bkColor);
        CRect left(textLeft, rc.top, textLeft + m_selSkinLeft.width, rc.bottom);
        CRect right(rc.right - m_selSkinRight.width, rc.top, rc.right, rc.bottom);
        CRect mid(left.right, rc.top, right.left, rc.bottom);
        FillRectWithDib(dc, &m_selSkinLeft, &left, FALSE);
        FillRectWithDib(dc, &m_selSkinRight, &right, FALSE);
        if (!mid.IsRectEmpty())
            FillRectWithDib(dc, &m_selSkinMid, &mid, FALSE);
    } else {
        FillSolid(dc, rc, kSelectedBack);
    }
    dc.SetTextColor(textColour);
    dc.SetBkColor(back);
    if (skin)
        dc.SetBkMode(TRANSPARENT);

    int x = rc.left;
    for (int i = 0; i < GetColumnCount(); ++i) {
        HD_ITEMW hd{};
        hd.mask = HDI_WIDTH;
        m_header.GetItem(i, &hd);
        const int width = hd.cxy - (i == 0 ? m_indent : 0);
        if (width <= 0)
            continue;
        CRect cell(x, rc.top, x + width, rc.bottom);
        x += width;
        if (real) {
            if (i >= m_columnProps.GetSize())
                break;
            if (m_cellMode && row == m_curRow && i == m_curCol) {
                if (m_editing) {
                    dc.SetTextColor(back);  // the text hides under the editor
                } else if (i >= kFirstTextColumn) {
                    CRect focus(cell.left + 1, cell.top + 9, cell.right - 2, cell.bottom - 10);
                    dc.DrawFocusRect(&focus);
                    dc.SetBkMode(TRANSPARENT);
                }
            } else {
                dc.SetTextColor(textColour);
            }
            if (m_columnProps[i].type == EditReadOnly)
                dc.SetTextColor(kReadOnlyText);
            RECT sub = cell;
            DrawSubItem(&dc, &sub, row, i);
            dc.SetTextColor(textColour);
        }
        SetDCPenColor(dc, m_gridColor);
        dc.MoveTo(cell.right - 1, cell.top);
        dc.LineTo(cell.right - 1, cell.bottom);
    }
    dc.SetBkMode(OPAQUE);
    dc.Detach();
}
