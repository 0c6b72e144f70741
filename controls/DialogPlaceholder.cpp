#include "controls/DialogPlaceholder.h"

HWND FindPlaceholder(CDialog* dialog, UINT id, CRect& rect)
{
    if (!dialog)
        return nullptr;
    HWND placeholder = ::GetDlgItem(dialog->m_hWnd, static_cast<int>(id));
    if (!placeholder)
        return nullptr;
    ::GetWindowRect(placeholder, &rect);
    dialog->ScreenToClient(&rect);
    return placeholder;
}
