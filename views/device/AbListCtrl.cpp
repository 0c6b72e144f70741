#include "views/device/AbListCtrl.h"

#include "controls/SelectionBar.h"

namespace {

constexpr int kFirstTextColumn = 2;

}  // namespace

void CAbListCtrl::DrawItem(DRAWITEMSTRUCT* dis)
{
    CDC dc;
    dc.Attach(dis->hDC);
    const RECT& rc = dis->rcItem;
    const RowLook look = BeginRowDraw(dc, dis);

    // Where the text columns start: the selection skin begins there.
    int textLeft = rc.left;
    for (int i = 0; i < kFirstTextColumn && i < GetColumnCount(); ++i) {
        const int width = GetColumnWidth(i);
        if (width > 0)
            textLeft += width;
    }
    const bool skin = look.selected && m_useSelectionSkin && m_selSkinMid.bitmap;
    if (skin) {
        FillWithDcColour(dc, CRect(rc.left, rc.top, textLeft, rc.bottom), m_bkColor);
        DrawSelectionBar(dc, CRect(textLeft, rc.top, rc.right, rc.bottom), m_selSkinLeft, m_selSkinMid, m_selSkinRight);
    } else {
        FillWithDcColour(dc, rc, look.back);
    }
    dc.SetTextColor(look.text);
    dc.SetBkColor(look.back);
    if (skin)
        dc.SetBkMode(TRANSPARENT);

    int x = rc.left;
    for (int i = 0; i < GetColumnCount(); ++i) {
        const int width = GetColumnWidth(i);
        if (width <= 0)
            continue;
        CRect cell(x, rc.top, x + width, rc.bottom);
        x += width;
        if (look.row >= 0) {
            if (i >= m_columnProps.GetSize())
                break;
            if (m_cellMode && look.row == m_curRow && i == m_curCol) {
                if (m_editing)
                    dc.SetTextColor(look.back);  // the text hides under the editor
                else if (i >= kFirstTextColumn)
                    DrawCellFocus(dc, cell);
            } else {
                dc.SetTextColor(look.text);
            }
            if (m_columnProps[i].type == EditReadOnly)
                dc.SetTextColor(ReadOnlyText);
            RECT sub = cell;
            DrawSubItem(&dc, &sub, look.row, i);
            dc.SetTextColor(look.text);
        }
        DrawGridLine(dc, cell);
    }
    dc.SetBkMode(OPAQUE);
    dc.Detach();
}
