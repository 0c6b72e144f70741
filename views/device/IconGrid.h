#pragma once
// The icon dialogs' thumbnail grids: made alike, filled with pictures of the
// icon document's all-icons list, and given the keys pressed anywhere in the
// dialog (the grid moves its selection on the arrow and page keys).
#include "controls/CustomThumbCtrl.h"

// Makes grid at rect in parent: 48-pixel cells, no labels, light background.
BOOL CreateIconGrid(CCustomThumbCtrl& grid, CWnd* parent, const RECT& rect, UINT id);

// Adds pictures of the all-icons list as grid items; the grids named here
// are shown anew when it ends.
class CIconGridFill {
public:
    explicit CIconGridFill(CCustomThumbCtrl& grid, CCustomThumbCtrl* other = nullptr);
    ~CIconGridFill();
    CIconGridFill(const CIconGridFill&) = delete;
    CIconGridFill& operator=(const CIconGridFill&) = delete;

    // Image image of the list as item position of grid (an empty item when
    // the picture cannot be made).
    void Add(CCustomThumbCtrl& grid, int position, int image);

private:
    HDC m_mem;
    SIZE m_size{};
    CCustomThumbCtrl* m_grids[2]{};
};

// TRUE when the grid took the key as a move: the dialog must not move the
// focus on it as well.
BOOL PassKeyToGrid(CCustomThumbCtrl& grid, const MSG* msg);
