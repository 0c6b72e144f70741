#include "controls/InPlaceEdit.h"

#include <windows.h>
#include <imm.h>

#include <algorithm>

#include "controls/EditMessages.h"

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
    ON_CONTROL_REFLECT(EN_CHANGE, OnReflectedChange)
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

CInPlaceEdit::~CInPlaceEdit()
{
    Detach();
}

BOOL CInPlaceEdit::AttachTo(HWND edit)
{
    if (!edit)
        return FALSE;
    const int length = ::GetWindowTextLengthW(edit);
    CString text;
    ::GetWindowTextW(edit, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer();
    m_text = text;
    m_composition.Empty();
    DWORD style = static_cast<DWORD>(::GetWindowLongW(edit, GWL_STYLE)) & ~static_cast<DWORD>(ES_CENTER | ES_RIGHT);
    style |= m_align == 1 ? ES_RIGHT : m_align == 2 ? ES_CENTER : ES_LEFT;
    ::SetWindowLongW(edit, GWL_STYLE, static_cast<LONG>(style));
    return SubclassWindow(edit);
}

void CInPlaceEdit::Detach()
{
    if (m_hWnd)
        UnsubclassWindow();
}

void CInPlaceEdit::Replace()
{
    SetWindowPos(static_cast<HWND>(nullptr), m_cellRect.left, m_cellRect.top, m_cellRect.right - m_cellRect.left,
                 m_cellRect.bottom - m_cellRect.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CInPlaceEdit::OnReflectedChange()
{
    GetWindowText(m_text);
    Replace();
}

void CInPlaceEdit::OnWindowPosChanging(WINDOWPOS* pos)
{
    Default();
    const CRect cell(m_cellRect);
    int w = cell.Width();
    if (HDC dc = ::GetDC(m_hWnd)) {
        HGDIOBJ old = SelectObject(dc, GetFontHandle());
        const CString all = m_text + m_composition;
        SIZE extent{0, 0};
        GetTextExtentPoint32W(dc, all, all.GetLength(), &extent);
        SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
        w = std::max<int>(extent.cx + 12, cell.Width());
    }
    int x = cell.left;
    if (m_align == 1)
        x = cell.right - w;
    else if (m_align == 2)
        x = (cell.left + cell.right) / 2 - w / 2 + 4;
    CRect rc(x, cell.top, x + w, cell.bottom);
    // Never past the owner's client area.
    CRect client;
    ::GetClientRect(::GetParent(m_hWnd), &client);
    rc.IntersectRect(&rc, &client);
    pos->x = rc.left;
    pos->y = rc.top;
    pos->cx = rc.Width();
    pos->cy = rc.Height();
    pos->flags &= ~static_cast<UINT>(SWP_NOMOVE | SWP_NOSIZE);
}

void CInPlaceEdit::DeleteAfterCaret(int count)
{
    int start = 0, end = 0;
    GetSel(start, end);
    if (start == end)
        SendMessage(EM_SETSEL, start, start + count);
    ReplaceSel(L"");
}

BOOL CInPlaceEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd != m_hWnd)
        return CEdit::PreTranslateMessage(msg);
    if (msg->message == WM_KEYDOWN) {
        const UINT key = static_cast<UINT>(msg->wParam);
        if (key == VK_TAB && m_tabNavigation) {
            PostEditorColumnMove(m_hWnd, GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
            return TRUE;
        }
        if (key == VK_INSERT) {
            m_insertMode = !m_insertMode;
            CreateCaret(m_hWnd, m_insertMode ? nullptr : reinterpret_cast<HBITMAP>(1), 1, 12);
            ShowCaret(m_hWnd);
        } else if (!m_insertMode && GetKeyState(VK_CONTROL) >= 0 &&
                   (key == VK_SPACE || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
                    (key >= 0x60 && key <= 0x6F) || key == 0x92 || (key >= 0xBA && key <= 0xC0) ||
                    (key >= 0xDB && key <= 0xDF))) {
            DeleteAfterCaret(1);  // the typed character takes its place
        }
    } else if (msg->message == WM_IME_COMPOSITION) {
        if (HIMC imc = ImmGetContext(m_hWnd)) {
            if (msg->lParam & GCS_RESULTSTR) {
                if (!m_insertMode) {
                    wchar_t result[1024] = L"";
                    const LONG bytes = ImmGetCompositionStringW(imc, GCS_RESULTSTR, result, sizeof(result) - sizeof(wchar_t));
                    const int length = bytes > 0 ? static_cast<int>(bytes / sizeof(wchar_t)) : 0;
                    if (length > 1)
                        DeleteAfterCaret(length - 1);
                }
                m_composition.Empty();
            } else if (msg->lParam & GCS_COMPSTR) {
                wchar_t comp[512] = L"";
                const LONG bytes = ImmGetCompositionStringW(imc, GCS_COMPSTR, comp, sizeof(comp) - sizeof(wchar_t));
                comp[bytes > 0 ? bytes / sizeof(wchar_t) : 0] = L'\0';
                m_composition = comp;
                GetWindowText(m_text);
                Replace();
            }
            ImmReleaseContext(m_hWnd, imc);
        }
    }
    return CEdit::PreTranslateMessage(msg);
}
