#include "controls/CustomStatic.h"

#include "controls/WindowText.h"

BEGIN_MESSAGE_MAP(CCustomStatic, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

void CCustomStatic::LayoutText(HDC dc, const CString& text, RECT* rect, UINT* format) const
{
    const DWORD style = GetStyle();
    UINT flags = DT_WORDBREAK;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: flags |= DT_CENTER; break;
    case SS_RIGHT: flags |= DT_RIGHT; break;
    default: break;
    }
    if (style & SS_CENTERIMAGE) {
        int feeds = 0;
        for (int i = 0; i < text.GetLength(); ++i)
            if (text[i] == L'\n')
                ++feeds;
        if (feeds == 0) {
            flags |= DT_VCENTER | DT_SINGLELINE;
        } else {
            TEXTMETRICW tm{};
            ::GetTextMetricsW(dc, &tm);
            const int block = (feeds + 1) * tm.tmHeight;
            const int height = rect->bottom - rect->top;
            if (block < height) {
                const int margin = (height - block) / 2;
                rect->top += margin;
                rect->bottom -= margin;
            }
        }
    }
    *format = flags;
}

void CCustomStatic::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (m_transparent != 1)
        dc.FillSolidRect(&client, m_fillColor);
    HGDIOBJ oldFont = dc.SelectObject(GetFontHandle() ? static_cast<HGDIOBJ>(GetFontHandle())
                                                      : ::GetStockObject(DEFAULT_GUI_FONT));
    dc.SetTextColor(m_textColor);
    dc.SetBkMode(TRANSPARENT);
    const CString text = AfxGetWindowText(m_hWnd);
    UINT format = 0;
    client.right -= m_rightRoom;
    LayoutText(dc, text, &client, &format);
    if (m_rightRoom > 0)
        format |= DT_NOCLIP;  // the room is inside the window, which clips
    dc.DrawText(text, &client, format);
    dc.SelectObject(oldFont);
}

LRESULT CCustomStatic::OnSetText(WPARAM, LPARAM)
{
    return SetTextRepaintingParent(this);
}

void CCustomStatic::OnDestroy()
{
    // The font belongs to the dialog.
    SendMessage(WM_SETFONT, 0, FALSE);
    Default();
}
