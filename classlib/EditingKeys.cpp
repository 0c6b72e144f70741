#include "classlib/EditingKeys.h"

#include <cwchar>

namespace {

constexpr wchar_t kCellEditorProp[] = L"AfxCellEditor";

bool IsEditField(HWND wnd)
{
    wchar_t name[16] = L"";
    return ::GetClassNameW(wnd, name, 16) > 0 && _wcsicmp(name, L"Edit") == 0;
}

bool IsEditingKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN)
        return false;  // Alt chords arrive as WM_SYSKEYDOWN and stay shortcuts
    if (msg.wParam == VK_DELETE)
        return true;
    if (::GetKeyState(VK_CONTROL) >= 0)
        return false;
    switch (msg.wParam) {
    case 'A': case 'C': case 'V': case 'X': case 'Z': case 'Y': return true;
    default: return false;
    }
}

}  // namespace

void AfxSetCellEditor(HWND wnd, BOOL editor)
{
    if (!wnd)
        return;
    if (editor)
        ::SetPropW(wnd, kCellEditorProp, reinterpret_cast<HANDLE>(1));
    else
        ::RemovePropW(wnd, kCellEditorProp);
}

bool afx::IsOwnEditingKey(const MSG& msg)
{
    return msg.hwnd && IsEditingKey(msg) && (IsEditField(msg.hwnd) || ::GetPropW(msg.hwnd, kCellEditorProp));
}

BOOL afx::CarryOutEditingKey(const MSG& msg)
{
    if (msg.wParam != 'A' || !IsEditField(msg.hwnd))
        return FALSE;
    ::SendMessageW(msg.hwnd, EM_SETSEL, 0, -1);
    ::SendMessageW(msg.hwnd, EM_SCROLLCARET, 0, 0);
    return TRUE;
}
