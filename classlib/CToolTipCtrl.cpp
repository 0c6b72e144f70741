#include "classlib/CToolTipCtrl.h"

#include "classlib/CWinApp.h"

BOOL CToolTipCtrl::Create(CWnd* owner, DWORD style)
{
    // Version 5 of the info struct: the size the tooltip of every comctl32 accepts.
    return CWnd::CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | style,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner ? owner->m_hWnd : nullptr,
                          nullptr);
}

TOOLINFOW CToolTipCtrl::MakeInfo(CWnd* wnd, UINT_PTR id)
{
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = wnd ? wnd->m_hWnd : nullptr;
    ti.uId = id ? id : reinterpret_cast<UINT_PTR>(ti.hwnd);
    ti.uFlags = id ? 0 : TTF_IDISHWND;
    ti.hinst = AfxGetResourceHandle();
    return ti;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const wchar_t* text, const RECT* rect, UINT_PTR id)
{
    TOOLINFOW ti = MakeInfo(wnd, id);
    if (rect)
        ti.rect = *rect;
    else if (wnd && id)
        wnd->GetClientRect(&ti.rect);
    ti.lpszText = const_cast<wchar_t*>(text ? text : LPSTR_TEXTCALLBACKW);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id)
{
    TOOLINFOW ti = MakeInfo(wnd, id);
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR id)
{
    TOOLINFOW ti = MakeInfo(wnd, id);
    ti.lpszText = const_cast<wchar_t*>(text);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR id, const RECT* rect)
{
    TOOLINFOW ti = MakeInfo(wnd, id);
    ti.rect = *rect;
    SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& text, CWnd* wnd, UINT_PTR id) const
{
    wchar_t buffer[1024] = {};
    TOOLINFOW ti = MakeInfo(wnd, id);
    ti.lpszText = buffer;
    SendMessage(TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&ti));
    text = ti.lpszText == LPSTR_TEXTCALLBACKW ? L"" : buffer;
}
