#pragma once
// The icon dialogs' keys: a key pressed anywhere in the dialog goes to the
// icon grid, which moves its selection on the arrow and page keys.
#include "controls/CustomThumbCtrl.h"

// TRUE when the grid took the key as a move: the dialog must not move the
// focus on it as well.
BOOL PassKeyToGrid(CCustomThumbCtrl& grid, const MSG* msg);
