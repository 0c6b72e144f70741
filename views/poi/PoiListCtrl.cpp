#include "views/poi/PoiListCtrl.h"

#include <algorithm>

void CPoiListCtrl::DrawSubItem(CDC* dc, RECT* cell, int row, int column)
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
