#include "controls/ScrlText.h"

#include <algorithm>
#include <string>

#include "classlib/CMemDC.h"
#include "common/Utility.h"

BEGIN_MESSAGE_MAP(CScrlText, CScrollHostWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CScrlText::~CScrlText()
{
    if (m_font)
        DeleteObject(m_font);
}

int CScrlText::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    if (!CreateTahomaFont(FALSE, &m_font, 117, FALSE))
        return -1;
    if (!m_scrollBar.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), this, BarId))
        return -1;
    return 0;
}

void CScrlText::OnDestroy()
{
    if (m_font) {
        DeleteObject(m_font);
        m_font = nullptr;
    }
    Default();
}

int CScrlText::GetContentHeight() const
{
    const int rows = static_cast<int>(m_lines.GetSize());
    return rows <= 10 ? MinContentHeight : rows * RowPitch - 2;
}

void CScrlText::SetText(LPCWSTR text)
{
    if (!text)
        return;
    m_text = text;
    FrameChanged();
    Wrap();
    UpdateScrollRange();
}

void CScrlText::Wrap()
{
    CRect client;
    GetClientRect(&client);
    auto wrapInto = [&](int rightInset) {
        CRect row(client.left + 5, client.top + 10, client.right - 5 - rightInset, client.top + 28);
        m_lines.RemoveAll();
        // Paragraph by paragraph, so that a blank line stays a blank row and
        // the paragraphs after it are kept.
        const std::wstring all(m_text.GetString());
        size_t start = 0;
        for (;;) {
            size_t end = all.find(L'\n', start);
            std::wstring para = all.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
            if (!para.empty() && para.back() == L'\r')
                para.pop_back();
            if (para.empty()) {
                m_lines.Add(L"");
            } else {
                CString wrapped = WrapTextToRect(&row, para.c_str(), -1, 117, FALSE, TRUE);
                const std::wstring w(wrapped.GetString());
                size_t s = 0;
                for (;;) {
                    size_t e = w.find(L'\n', s);
                    m_lines.Add(w.substr(s, e == std::wstring::npos ? std::wstring::npos : e - s).c_str());
                    if (e == std::wstring::npos)
                        break;
                    s = e + 1;
                }
            }
            if (end == std::wstring::npos)
                break;
            start = end + 1;
        }
        // Blank rows at the end carry nothing.
        while (m_lines.GetSize() > 0 && m_lines[m_lines.GetSize() - 1].IsEmpty())
            m_lines.RemoveAt(m_lines.GetSize() - 1);
    };
    wrapInto(0);
    if (m_lines.GetSize() > 10)
        wrapInto(18);  // room for the scroll bar
}

void CScrlText::UpdateScrollRange()
{
    if (!m_hWnd)
        return;
    SetVertContent(GetContentHeight());
}

void CScrlText::OnSize(UINT, int, int)
{
    // Placing the bar changes the client size, which comes back here.
    if (m_inSize)
        return;
    m_inSize = true;
    UpdateScrollRange();
    Invalidate(FALSE);
    m_inSize = false;
}

void CScrlText::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    int pos = GetScrollPos(SB_VERT);
    if (pos < 0 || !(GetStyle() & WS_VSCROLL))
        pos = 0;
    CMemDC mem(&dc, client);
    // The text is laid out from its top; the buffer shows the scrolled part.
    mem.SetViewportOrg(0, -pos);
    HBRUSH bk = CreateSolidBrush(m_bkColor);
    RECT all{0, pos, client.Width(), pos + client.Height()};
    FillRect(mem, &all, bk);
    DeleteObject(bk);
    HGDIOBJ oldFont = SelectObject(mem, m_font);
    SetTextColor(mem, m_textColor);
    SetBkColor(mem, m_bkColor);
    for (INT_PTR i = 0; i < m_lines.GetSize(); ++i) {
        RECT row{5, 10 + RowPitch * static_cast<int>(i), client.Width() - 5, 28 + RowPitch * static_cast<int>(i)};
        if (row.bottom <= pos || row.top >= pos + client.Height())
            continue;
        DrawTextW(mem, m_lines[i], -1, &row, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    SelectObject(mem, oldFont);
}

void CScrlText::OnVScroll(UINT code, UINT, CScrollBar*)
{
    SCROLLINFO si{sizeof(si), SIF_ALL};
    GetScrollInfo(SB_VERT, &si);
    int p = si.nPos;
    switch (code) {
    case SB_LINEUP: p -= LineStep; break;
    case SB_LINEDOWN: p += LineStep; break;
    case SB_PAGEUP: p -= PageStep; break;
    case SB_PAGEDOWN: p += PageStep; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: p = m_scrollBar.m_trackPos; break;  // the full value, not the 16-bit word
    default: return;
    }
    p = std::clamp(p, si.nMin, si.nMax);
    SetFocus();
    SetScrollPos(SB_VERT, p, FALSE);
    Invalidate(FALSE);
}

void CScrlText::ScrollTo(int p)
{
    SCROLLINFO si{sizeof(si), SIF_ALL};
    GetScrollInfo(SB_VERT, &si);
    p = std::clamp(p, si.nMin, std::max(si.nMin, si.nMax));
    m_scrollBar.m_trackPos = p;
    SetFocus();
    SetScrollPos(SB_VERT, p, FALSE);
    Invalidate(FALSE);
    FrameChanged();
}

BOOL CScrlText::OnMouseWheel(UINT, short delta, CPoint)
{
    if (!(GetStyle() & WS_VSCROLL))
        return static_cast<BOOL>(Default());  // nothing to scroll here: the parent may
    const int p = GetScrollPos(SB_VERT);
    ScrollTo(delta > 0 ? p - LineStep : p + LineStep);
    // Taken here: a scrollable parent must not move as well.
    return TRUE;
}

void CScrlText::OnLButtonDown(UINT, CPoint)
{
    SetFocus();
    Default();
}

BOOL CScrlText::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd != m_hWnd)
        return CWnd::PreTranslateMessage(msg);
    if (msg->message == WM_KEYDOWN) {
        SCROLLINFO si{sizeof(si), SIF_ALL};
        GetScrollInfo(SB_VERT, &si);
        const int p = si.nPos;
        switch (msg->wParam) {
        case VK_PRIOR: ScrollTo(p - PageStep); return TRUE;
        case VK_NEXT: ScrollTo(p + PageStep); return TRUE;
        case VK_HOME: ScrollTo(si.nMin); return TRUE;
        case VK_END: ScrollTo(si.nMax); return TRUE;
        case VK_UP: ScrollTo(p - LineStep); return TRUE;
        case VK_DOWN: ScrollTo(p + LineStep); return TRUE;
        case VK_LEFT:
        case VK_RIGHT: return TRUE;
        default: break;
        }
    }
    return CScrollHostWnd::PreTranslateMessage(msg);
}

