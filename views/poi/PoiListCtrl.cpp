#include "views/poi/PoiListCtrl.h"

#include <algorithm>

void CPoiListCtrl::DrawSubItem(CDC* dc, RECT* cell, int row, int column)
{
    const int format = GetColumnAlignment(column);
    wchar_t buffer[TextBufferSize + 1] = L"";
    LPCWSTR text = nullptr;
    int image = -1;
    UINT state = 0;
    if (GetStyle() & LVS_OWNERDATA) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = TextBufferSize + 1;
        item.iImage = -1;
        item.stateMask = static_cast<UINT>(-1);
        if (!GetItem(&item))
            return;
        text = buffer;
        image = item.iImage;
        state = item.state;
    } else {
        const _listitem& r = m_items[row];
        text = _listitem::IsTextAllocated(r.text[column]) ? r.text[column] : nullptr;
        image = r.image[column];
        state = r.item.state;
    }
    const bool sub = column > 0 && m_imageListSub;
    HIMAGELIST list = sub ? m_imageListSub : m_imageListSmall;
    const SIZE icon = sub ? m_iconSub : m_iconSmall;
    RECT rc = *cell;
    if (image >= 0 && list) {
        if (image != INT_MAX) {
            const int w = rc.right - rc.left;
            const int y = rc.top + (GetRowHeight() - icon.cy) / 2;
            UINT style = ILD_NORMAL;
            if (column == 0)
                style |= state & LVIS_OVERLAYMASK;
            if (state & LVIS_CUT)
                style |= ILD_BLEND25;
            ImageList_DrawEx(list, image, *dc, rc.left + 2, y, std::min<int>(icon.cx, w - 2), icon.cy, CLR_NONE,
                             CLR_NONE, style);
        }
        rc.left += icon.cx + 4;
    }
    if (!text || !*text)
        return;
    rc.left += 11;
    rc.right -= 11;
    HGDIOBJ old = nullptr;
    if (state & BoldBit)
        old = dc->SelectObject(&m_fontBold);
    dc->DrawText(text, &rc, ColumnTextFlags(format));
    if (old)
        dc->SelectObject(&m_font);
}
