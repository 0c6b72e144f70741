#pragma once
// The list-view notifications our lists and the thumbnail grid send their
// parent (NMLISTVIEW, NMLVDISPINFOW), built and sent in one place.
#include <windows.h>
#include <commctrl.h>

// Fills the header (the window, its id and the code) and sends the
// notification to the window's parent; 0 when it has none.
LRESULT SendNotifyToParent(HWND from, NMHDR* nm, UINT code);

// A notification about a row and column, with the point of the action.
NMLISTVIEW ListViewNotify(int row, int column = 0, POINT action = {0, 0});

// LVN_ITEMCHANGED about a row to the parent.
void SendItemChanged(HWND from, int row, UINT newState, UINT oldState, UINT changed, POINT action = {0, 0});

// A display-info record for the whole of a cell: its text into buffer (size
// characters), image, data and every state bit.
NMLVDISPINFOW CellDispInfo(int row, int column, wchar_t* buffer, int size);
