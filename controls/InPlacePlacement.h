#pragma once
// Where an in-place popup goes: 3 pixels left of and 2 above the cell's
// top-left, moved left or up so that it stays inside both the nearest
// monitor's work area and the owner's client area. Returns the owner-client point.
#include <windows.h>

POINT PlaceInPlacePopup(HWND owner, const RECT& cell, SIZE size);
