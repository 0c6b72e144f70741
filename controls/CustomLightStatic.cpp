#include "controls/CustomLightStatic.h"

#include "controls/WindowText.h"

BEGIN_MESSAGE_MAP(CCustomLightStatic, CCustomStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CCustomLightStatic::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const DWORD style = GetStyle();
    int align = Gdiplus::StringAlignmentNear;
    if ((style & SS_TYPEMASK) == SS_RIGHT)
        align = Gdiplus::StringAlignmentFar;
    else if ((style & SS_TYPEMASK) == SS_CENTER)
        align = Gdiplus::StringAlignmentCenter;
    const int lineAlign = (style & SS_CENTERIMAGE) ? Gdiplus::StringAlignmentCenter : Gdiplus::StringAlignmentNear;
    m_text.DrawTextFit(dc, AfxGetWindowText(m_hWnd), m_percent, m_bold, align, lineAlign, client);
}
