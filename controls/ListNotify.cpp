#include "controls/ListNotify.h"

LRESULT SendNotifyToParent(HWND from, NMHDR* nm, UINT code)
{
    nm->hwndFrom = from;
    nm->idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(from));
    nm->code = code;
    HWND parent = ::GetParent(from);
    return parent ? ::SendMessageW(parent, WM_NOTIFY, nm->idFrom, reinterpret_cast<LPARAM>(nm)) : 0;
}

NMLISTVIEW ListViewNotify(int row, int column, POINT action)
{
    NMLISTVIEW nm{};
    nm.iItem = row;
    nm.iSubItem = column;
    nm.ptAction = action;
    return nm;
}

void SendItemChanged(HWND from, int row, UINT newState, UINT oldState, UINT changed, POINT action)
{
    NMLISTVIEW nm = ListViewNotify(row, 0, action);
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = changed;
    SendNotifyToParent(from, &nm.hdr, LVN_ITEMCHANGED);
}

NMLVDISPINFOW CellDispInfo(int row, int column, wchar_t* buffer, int size)
{
    NMLVDISPINFOW info{};
    info.item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    info.item.iItem = row;
    info.item.iSubItem = column;
    info.item.stateMask = static_cast<UINT>(-1);
    info.item.pszText = buffer;
    info.item.cchTextMax = size;
    return info;
}
