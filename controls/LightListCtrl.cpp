#include "controls/LightListCtrl.h"

#include <cwchar>

namespace {

// "yyyy/mm/dd" as the user's short date; FALSE when the text is no date.
bool ShortDate(const wchar_t* text, wchar_t* out, int size)
{
    int y = 0, m = 0, d = 0;
    if (!text || swscanf(text, L"%d/%d/%d", &y, &m, &d) != 3)
        return false;
    SYSTEMTIME st{static_cast<WORD>(y), static_cast<WORD>(m), 0, static_cast<WORD>(d), 0, 0, 0, 0};
    return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE | LOCALE_NOUSEROVERRIDE, &st, nullptr, out, size) > 0;
}

}  // namespace

void CLightListCtrl::DrawSubItem(CDC* dc, RECT* cell, int row, int column)
{
    const int format = GetColumnAlignment(column);
    wchar_t buffer[261] = L"";
    LPCWSTR text = nullptr;
    int image = -1;
    UINT state = 0;
    if (!GetCellContent(row, column, buffer, 261, text, image, state))
        return;
    RECT rc = *cell;
    DrawCellImageAtLeft(dc, rc, column, image, state);
    if (!text || !*text)
        return;
    // A date column shows the user's short date; the cell keeps its own text.
    wchar_t date[40];
    const int type = column < m_columnProps.GetSize() ? m_columnProps[column].type : EditNone;
    if (type == EditDate && ShortDate(text, date, 40))
        text = date;
    const bool red = column == 5 && wcscmp(text, L"0.00") == 0;
    const COLORREF oldColour = red ? dc->SetTextColor(0x0000FF) : 0;
    rc.left += 6;
    rc.right -= 6;
    HGDIOBJ old = nullptr;
    if (state & BoldBit)
        old = dc->SelectObject(&m_fontBold);
    dc->DrawText(text, &rc, ColumnTextFlags(format));
    if (old)
        dc->SelectObject(&m_font);
    if (red)
        dc->SetTextColor(oldColour);
}
