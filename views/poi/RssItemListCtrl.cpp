#include "views/poi/RssItemListCtrl.h"

#include <algorithm>

void CRssItemListCtrl::DrawItem(DRAWITEMSTRUCT* dis)
{
    CDC dc;
    dc.Attach(dis->hDC);
    const RECT& rc = dis->rcItem;
    const RowLook look = BeginRowDraw(dc, dis);
    const bool real = look.row >= 0;
    const int row = look.row;
    const COLORREF back = look.back, textColour = look.text;
    DrawRowBack(dc, rc, look);
    dc.SetTextColor(textColour);
    dc.SetBkColor(back);

    int x = rc.left;
    for (int i = 0; i < GetColumnCount(); ++i) {
        const int width = GetColumnWidth(i);
        if (width <= 0)
            continue;
        CRect cell(x, rc.top, x + width, rc.bottom);
        x += width;
        if (real) {
            if (i >= m_columnProps.GetSize())
                break;
            if (m_cellMode && row == m_curRow && i == m_curCol && i != ColCheck && i != ColStar && !m_editing)
                DrawCellFocus(dc, cell);
            dc.SetTextColor(m_columnProps[i].type == EditReadOnly ? ReadOnlyText : textColour);
            RECT sub = cell;
            DrawSubItem(&dc, &sub, row, i);
            dc.SetTextColor(textColour);
        }
        DrawGridLine(dc, cell);
    }
    dc.SetBkMode(OPAQUE);
    dc.Detach();
}

void CRssItemListCtrl::DrawSubItem(CDC* dc, RECT* cell, int row, int column)
{
    const int format = GetColumnAlignment(column);
    wchar_t buffer[TextBufferSize + 1] = L"";
    LPCWSTR text = nullptr;
    int image = -1;
    UINT state = 0;
    if (!GetCellContent(row, column, buffer, TextBufferSize + 1, text, image, state))
        return;
    const bool sub = column > 0 && m_imageListSub;
    HIMAGELIST list = sub ? m_imageListSub : m_imageListSmall;
    const SIZE icon = sub ? m_iconSub : m_iconSmall;
    RECT rc = *cell;
    const bool selected = (state & LVIS_SELECTED) != 0;
    if (image >= 0 && list) {
        const int w = rc.right - rc.left;
        const int y = rc.top + (GetRowHeight() - icon.cy) / 2;
        UINT style = ILD_NORMAL;
        if (column == 0)
            style |= state & LVIS_OVERLAYMASK;
        // A selected row's images are tinted with the selection colour.
        if (selected)
            style |= ILD_BLEND25;
        ImageList_DrawEx(list, image, *dc, rc.left + 2, y, std::min<int>(icon.cx, w - 2), icon.cy, CLR_NONE,
                         selected ? CLR_DEFAULT : CLR_NONE, style);
        rc.left += icon.cx + 4;
    }
    if (!text || !*text)
        return;
    rc.left += 11;
    rc.right -= 11;
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS |
                       ((format & 3) == LVCFMT_RIGHT ? DT_RIGHT : (format & 3) == LVCFMT_CENTER ? DT_CENTER : DT_LEFT);
    if (column == ColNumber) {
        // The number sits on the plain background, in the plain font.
        const COLORREF oldText = dc->SetTextColor(PlainText);
        const COLORREF oldBack = dc->SetBkColor(m_bkColor);
        HGDIOBJ old = dc->SelectObject(&m_font);
        dc->DrawText(text, &rc, flags);
        dc->SelectObject(old);
        dc->SetTextColor(oldText);
        dc->SetBkColor(oldBack);
        return;
    }
    HGDIOBJ old = nullptr;
    if (state & BoldBit)
        old = dc->SelectObject(&m_fontBold);
    dc->DrawText(text, &rc, flags);
    if (old)
        dc->SelectObject(old);
}
