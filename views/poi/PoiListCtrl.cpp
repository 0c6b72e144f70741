#include "views/poi/PoiListCtrl.h"

void CPoiListCtrl::DrawSubItem(CDC* dc, RECT* cell, int row, int column)
{
    const int format = GetColumnAlignment(column);
    wchar_t buffer[TextBufferSize + 1] = L"";
    LPCWSTR text = nullptr;
    int image = -1;
    UINT state = 0;
    if (!GetCellContent(row, column, buffer, TextBufferSize + 1, text, image, state))
        return;
    RECT rc = *cell;
    DrawCellImageAtLeft(dc, rc, column, image, state);
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
